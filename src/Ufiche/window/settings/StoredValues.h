#pragma once

#include <QRect>
#include <QString>

#include <array>
#include <optional>

// How settings values are written to the settings file and read back.
namespace Ufiche {

// A text without the characters up to code 32 at either end.
QString TrimControls(const QString& text);

// A text property as written: trimmed; a text that begins and ends with the
// same quote (double or single) goes inside one more pair of double quotes,
// since reading removes one outer pair.
QString EncodeText(const QString& text);

// A list entry as written: as it is, blanks included (reading drops those at
// either end), except that an entry whose text between those blanks begins
// and ends with the same quote gets one more pair of double quotes around
// that text.
QString EncodeListEntry(const QString& entry);

QString EncodeBoolean(bool value);

// "True" or "False" in any letter case; anything else gives nothing.
std::optional<bool> DecodeBoolean(const QString& text);

// A decimal integer (an optional "-", digits); 0 when the text is not one.
int DecodeInteger(const QString& text);

// The first four words of a text split at blanks and commas, as decimal
// integers; 0 for a missing or unreadable word.
std::array<int, 4> DecodeFourIntegers(const QString& text);
QString EncodeFourIntegers(const std::array<int, 4>& values);

// The window state that a stored "ShowCmd" stands for.
enum class StoredShowState { Normal, Minimized, Maximized };
StoredShowState DecodeShowCmd(int showCmd);

// The key of a screen-size variant: "NormPos(1024x768)".
QString ScreenSizeKey(const QString& key, int width, int height);

}  // namespace Ufiche
