#include <string>

#include "Commune/Commune.h"
#include "Ufiche/generation/WrittenExercise.h"

namespace Ufiche {

std::string GroupedDecimal(std::uint64_t digits, int exponent, DecimalMark mark) {
    std::string text = std::to_string(digits);
    if (exponent >= 0) {
        if (digits != 0) {
            text.append(static_cast<std::size_t>(exponent), '0');
        }
    } else {
        const auto decimals = static_cast<std::size_t>(-exponent);
        if (text.size() <= decimals) {
            text.insert(0, decimals + 1 - text.size(), '0');
        }
        text.insert(text.size() - decimals, 1, '.');
        text = Commune::DropTrailingPoint(Commune::DropTrailingZeros(text));
    }
    return WithDecimalMark(Commune::GroupDigits(text), mark);
}

}  // namespace Ufiche
