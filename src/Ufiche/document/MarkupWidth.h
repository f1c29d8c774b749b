#pragma once

#include <string_view>

namespace Ufiche {

// The width of a worksheet markup text in the documents' font, Arial (whose
// advance widths Liberation Sans shares), in ems of the font size: what a
// word processor gives the text once the tags are translated. Superscript and
// subscript text takes two thirds of the size, as the panes and the printed
// pages draw it; other tags take no room; characters below 32 are dropped, as
// the translation drops them.
double MarkupWidthEm(std::string_view markup);

}  // namespace Ufiche
