#pragma once

#include <string>

namespace Ufiche {

// Translates worksheet markup into an RTF body fragment. Tags in angle
// brackets ("<b>", "<te=18>", "<cf=jaune>", "<br>", ...) become control words
// that each end in one space; unknown tags are dropped whole; characters
// below 32 are dropped; every other byte, "\", "{" and "}" included, is copied
// as it is. The markup ends at its first NUL. Nothing opened is closed.
std::string MarkupToRtf(const std::string& markup);

// The markup "<tab>" repeated `count` times; empty for 0 or less.
std::string MarkupTabs(int count);

}  // namespace Ufiche
