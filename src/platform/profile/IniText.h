#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Commune/StoredText.h"

// The content of an INI file, read and edited as text the way the Windows
// profile functions see it. Lines end at LF; a CR just before it belongs to the
// line end. "[name]" opens a section, "key=value" is a value line, and any
// other line (blank, comment, garbage) means nothing but is kept as it is.
// Section and key names match regardless of ASCII letter case and of the
// blanks around them; only the first section of a name and the first key of a
// name in it count. Bytes are Windows-1252 and never converted.
//
// Every function here runs in time proportional to the content.
namespace platform::ini {

// The longest value a read returns, in characters: the stored settings'
// limit, which the page reads by too.
inline constexpr std::size_t maxValueLength = Commune::kStoredTextLimit;

// The value of the key as it stands in the file, without the blanks around it;
// nothing when the section or the key is missing.
std::optional<std::string_view> FindValue(std::string_view content, std::string_view section,
                                          std::string_view key);

// The key's value as a reader receives it (Commune::ReadableValue: one outer
// pair of matching quotes removed, cut to maxValueLength characters), or the
// default, as given, when the key is missing.
std::string ReadValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view defaultValue);

// Whether the key and its value fit on one value line that reads back under
// that key: no CR, LF or NUL anywhere, and a key that is not blank, holds no
// "=" and does not start with "[".
bool CanStore(std::string_view section, std::string_view key, std::string_view value);

// The content with the key set to the value. An existing key's line is
// rewritten in its place; a new key goes after the last non-blank line of its
// section; a new section goes at the end of the content. Every other byte stays
// as it was; the lines written end in CRLF. Requires canStore.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

// The content without any section of that name: each such header and every
// line up to the next header are removed.
std::string WithoutSection(std::string_view content, std::string_view section);

}  // namespace platform::ini
