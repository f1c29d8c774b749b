#pragma once

#include <string_view>

namespace Ufiche {

// What stands between the two exercises of a subject line: `spaces` blanks
// after the left exercise's "=", then `tabs` tabs.
struct SubjectGap {
    int spaces;
    int tabs;
};

// The gap that puts the right exercise at the tab stop `column` inches from
// the start of the line, after a line that reads `leftMarkup` up to the left
// exercise's "=". The documents' tab stops stand every inch, so a left
// exercise that ends past one stop needs one tab fewer. One that ends so near
// a stop that a word processor may lay it out on either side of it is taken
// clearly past it by a few blanks first: on paper the right exercise could
// otherwise jump an inch, or past the edge of an A4 sheet. A left exercise
// that ends well before the first stop keeps `column` tabs and no blank. The
// measure counts in integers: the gap is the same on every processor.
SubjectGap SubjectLineGap(std::string_view leftMarkup, int column);

}  // namespace Ufiche
