#pragma once

#include <cstdint>
#include <string_view>

namespace Ufiche {

// Markup widths are counted in 1/6144 em: three of the font's 1/2048-em
// design units, so that text at two thirds of the size measures in whole
// units too. Integers make the measure, and every layout decided from it, the
// same on every processor and compiler.
inline constexpr std::int64_t kMarkupUnitsPerEm = 6144;

// The width of a worksheet markup text in the documents' font, Arial (whose
// advance widths Liberation Sans shares), in units of 1/kMarkupUnitsPerEm of
// the font size: what a word processor gives the text once the tags are
// translated. Superscript and subscript text takes two thirds of the size, as
// the panes and the printed pages draw it; other tags take no room;
// characters below 32 are dropped, as the translation drops them.
std::int64_t MarkupWidthUnits(std::string_view markup);

}  // namespace Ufiche
