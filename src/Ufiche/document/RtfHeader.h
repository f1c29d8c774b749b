#pragma once

#include <string_view>

namespace Ufiche {

// The prologue of every generated document: RTF 1, code page 1252, one-inch
// default tabs, French, the four fonts of the markup tags (and a second
// Arial), the sixteen colours of the markup after the automatic entry 0, then
// body text in font 0. It holds no "<" and no control character, so the
// markup translation passes it through unchanged; it ends in one space.
extern const std::string_view RtfHeader;

}  // namespace Ufiche
