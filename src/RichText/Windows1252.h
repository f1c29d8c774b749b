#pragma once

#include <optional>

// Windows-1252, the code page of every document and setting. It differs from
// Latin-1 on 0x80-0x9F ("€", "œ", "’"...). The five bytes that it leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters
// of the same value, as Windows does, so that every byte survives a round trip.
namespace RichText {

// The UTF-16 unit of one Windows-1252 byte.
char16_t UnicodeFromWindows1252(unsigned char byte);

// The Windows-1252 byte of a UTF-16 unit, or nothing when the code page
// cannot hold it.
std::optional<unsigned char> Windows1252FromUnicode(char16_t unit);

}  // namespace RichText
