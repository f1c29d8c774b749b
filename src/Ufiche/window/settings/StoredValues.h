#pragma once

#include <QString>

#include <array>

#include "Commune/StoredText.h"

// How the window's placement is written to the settings file and read back;
// the stored settings' own values follow Commune/StoredText.h.
namespace Ufiche {

// The first four words of a text split at blanks and commas, as decimal
// integers; 0 for a missing or unreadable word.
std::array<int, 4> DecodeFourIntegers(std::string_view text);
QString EncodeFourIntegers(const std::array<int, 4>& values);

// The window state that a stored "ShowCmd" stands for.
enum class StoredShowState { Normal, Minimized, Maximized };
StoredShowState DecodeShowCmd(int showCmd);

// The key of a screen-size variant: "NormPos(1024x768)".
QString ScreenSizeKey(const QString& key, int width, int height);

}  // namespace Ufiche
