#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Windows-1252 is the code page of every document and setting; Qt has no
// codec for it, and Latin-1 differs from it on 0x80-0x9F ("€", "œ", "’"...).
// The five bytes that Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control characters of the same value, as Windows does,
// so that every byte survives a round trip.

// The Unicode character of one Windows-1252 byte.
QChar UnicodeFromWindows1252(unsigned char byte);

// The Windows-1252 byte of a character, or nothing when the code page cannot
// hold it.
std::optional<unsigned char> Windows1252FromUnicode(QChar character);

// A whole Windows-1252 string as Unicode.
QString FromWindows1252(std::string_view bytes);

// A whole string as Windows-1252; each UTF-16 unit that the code page cannot
// hold becomes `replacement` (a surrogate pair becomes a single replacement).
std::string ToWindows1252(const QString& text, char replacement = '?');

}  // namespace platform
