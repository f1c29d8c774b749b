#include "Ufiche/window/settings/StoredValues.h"

#include <algorithm>

namespace Ufiche {

std::array<int, 4> DecodeFourIntegers(std::string_view text) {
    std::array<int, 4> values{};
    std::size_t word = 0;
    std::size_t at = 0;
    while (word < values.size()) {
        at = text.find_first_not_of(" ,", at);
        if (at == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" ,", at), text.size());
        values[word++] = Commune::DecodeInteger(text.substr(at, end - at));
        at = end;
    }
    return values;
}

QString EncodeFourIntegers(const std::array<int, 4>& values) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(values[0])
        .arg(values[1])
        .arg(values[2])
        .arg(values[3]);
}

StoredShowState DecodeShowCmd(int showCmd) {
    switch (showCmd) {
        case 2:
        case 6:
        case 7:
            return StoredShowState::Minimized;
        case 3:
            return StoredShowState::Maximized;
        default:
            return StoredShowState::Normal;
    }
}

QString ScreenSizeKey(const QString& key, int width, int height) {
    return QStringLiteral("%1(%2x%3)").arg(key).arg(width).arg(height);
}

}  // namespace Ufiche
