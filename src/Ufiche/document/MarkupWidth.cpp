#include "Ufiche/document/MarkupWidth.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace Ufiche {
namespace {

// How many markup units one design unit of the font takes at the full size
// and at the two thirds of a superscript or subscript.
constexpr std::int64_t kFullSizeUnits = kMarkupUnitsPerEm / 2048;
constexpr std::int64_t kScriptSizeUnits = kFullSizeUnits * 2 / 3;
static_assert(kFullSizeUnits * 2048 == kMarkupUnitsPerEm &&
                  kScriptSizeUnits * 3 == kFullSizeUnits * 2,
              "both sizes must measure in whole markup units");

// Advance widths of Arial for the Windows-1252 characters, in units of 1/2048
// em; 0 for the control characters and the unassigned codes.
// clang-format off
constexpr std::array<std::uint16_t, 256> kArialAdvances = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x00
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x10
    569, 569, 727, 1139, 1139, 1821, 1366, 391, 682, 682, 797, 1196, 569, 682, 569, 569,  // 0x20
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569, 569, 1196, 1196, 1196, 1139,  // 0x30
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569, 1024, 1366, 1139, 1706, 1479, 1593,  // 0x40
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569, 569, 569, 961, 1139,  // 0x50
    682, 1139, 1139, 1024, 1139, 1139, 569, 1139, 1139, 455, 455, 1024, 455, 1706, 1139, 1139,  // 0x60
    1139, 1139, 682, 1024, 569, 1139, 1024, 1479, 1024, 1024, 1024, 684, 532, 684, 1196, 0,  // 0x70
    1139, 0, 455, 1139, 682, 2048, 1139, 1139, 682, 2048, 1366, 682, 2048, 0, 1251, 0,  // 0x80
    0, 455, 455, 682, 682, 717, 1139, 2048, 682, 2048, 1024, 682, 1933, 0, 1024, 1366,  // 0x90
    569, 682, 1139, 1139, 1139, 1139, 532, 1139, 682, 1509, 758, 1139, 1196, 682, 1509, 1131,  // 0xA0
    819, 1124, 682, 682, 682, 1180, 1100, 682, 682, 682, 748, 1139, 1708, 1708, 1708, 1251,  // 0xB0
    1366, 1366, 1366, 1366, 1366, 1366, 2048, 1479, 1366, 1366, 1366, 1366, 569, 569, 569, 569,  // 0xC0
    1479, 1479, 1593, 1593, 1593, 1593, 1593, 1196, 1593, 1479, 1479, 1479, 1479, 1366, 1366, 1251,  // 0xD0
    1139, 1139, 1139, 1139, 1139, 1139, 1821, 1024, 1139, 1139, 1139, 1139, 569, 569, 569, 569,  // 0xE0
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1124, 1251, 1139, 1139, 1139, 1139, 1024, 1139, 1024,  // 0xF0
};
// clang-format on

// Tag names match with the ASCII capitals lowered, as the translation reads them.
bool IsTag(std::string_view name, std::string_view lowerCase) {
    return name.size() == lowerCase.size() &&
           std::equal(name.begin(), name.end(), lowerCase.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

}  // namespace

std::int64_t MarkupWidthUnits(std::string_view markup) {
    std::int64_t units = 0;
    std::int64_t scale = kFullSizeUnits;
    for (std::size_t i = 0; i < markup.size() && markup[i] != '\0'; ++i) {
        if (markup[i] != '<') {
            units += scale * kArialAdvances[static_cast<unsigned char>(markup[i])];
            continue;
        }
        const std::size_t end = markup.find('>', i);
        const std::string_view tag = markup.substr(i + 1, end == markup.npos ? end : end - i - 1);
        if (IsTag(tag, "sup") || IsTag(tag, "sub")) {
            scale = kScriptSizeUnits;
        } else if (IsTag(tag, "/sup") || IsTag(tag, "/sub")) {
            scale = kFullSizeUnits;
        }
        if (end == markup.npos) {
            break;
        }
        i = end;
    }
    return units;
}

}  // namespace Ufiche
