#pragma once

#include <array>
#include <string_view>

namespace Ufiche {

// The colours of the document's colour table, entries 1 to 16 in order (entry
// 0 is the automatic colour). The French word selects the entry in the
// "ce=" and "cf=" markup tags; Windows-1252 "\xE9" is "é".
struct NamedColour {
    std::string_view word;
    int red;
    int green;
    int blue;
};

inline constexpr std::array<NamedColour, 16> kDocumentColours = {{
    {"noir", 0, 0, 0},
    {"marron", 128, 0, 0},
    {"vert", 0, 128, 0},
    {"olive", 128, 128, 0},
    {"bleu fonc\xE9", 0, 0, 128},
    {"violet", 128, 0, 128},
    {"cyan", 0, 128, 128},
    {"gris fonc\xE9", 128, 128, 128},
    {"gris clair", 192, 192, 192},
    {"rouge", 255, 0, 0},
    {"vert clair", 0, 255, 0},
    {"jaune", 255, 255, 0},
    {"bleu", 0, 0, 255},
    {"fuchsia", 255, 0, 255},
    {"bleu ciel", 0, 255, 255},
    {"blanc", 255, 255, 255},
}};

}  // namespace Ufiche
