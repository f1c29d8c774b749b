#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Windows-1252 (the core's table, RichText/Windows1252.h) for Qt's strings,
// since Qt has no codec for it.

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
