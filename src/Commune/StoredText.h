#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How a stored setting is spelled in the settings file and read back, in
// Windows-1252 bytes: the same rules for every setting of the table
// (SettingsTable.h) and for the file's own reading of a value.
namespace Commune {

// The longest value a read gives back, in characters.
inline constexpr std::size_t kStoredTextLimit = 2047;

// A list longer than this in a settings file is damage, not a teacher's list:
// reading it whole would hold the window for minutes.
inline constexpr int kMaxListEntries = 1000;

// A value as a reader receives it from the file: one outer pair of matching
// double or single quotes removed, then cut to kStoredTextLimit characters.
std::string ReadableValue(std::string_view stored);

// A text without the characters up to code 32 at either end.
std::string TrimControls(std::string_view text);

// A text as written: trimmed; a text that begins and ends with the same quote
// (double or single) goes inside one more pair of double quotes, since
// reading removes one outer pair.
std::string EncodeText(std::string_view text);

// A list entry as written: as it is, blanks included (reading drops those at
// either end), except that an entry whose text between those blanks begins
// and ends with the same quote gets one more pair of double quotes around
// that text.
std::string EncodeListEntry(std::string_view entry);

std::string_view EncodeBoolean(bool value);

// "True" or "False" in any letter case; anything else gives nothing.
std::optional<bool> DecodeBoolean(std::string_view text);

// A decimal integer (an optional sign, digits); 0 when the text is not one or
// does not fit an int.
int DecodeInteger(std::string_view text);

}  // namespace Commune
