#pragma once

#include <string>

#include "Uconvers/Uconvers.h"

// Exact decimal arithmetic on digit strings, for checking conversions
// without any floating point.
namespace exact {

// The power of ten that takes a unit to its kind's base unit.
inline int PowerOfUnit(Uconvers::QuantityKind kind, int index) {
    switch (kind) {
        case Uconvers::QuantityKind::Length:
        case Uconvers::QuantityKind::Mass:
            return index - 3;
        case Uconvers::QuantityKind::Area:
            return 2 * (index - 3);
        case Uconvers::QuantityKind::Volume:
            return 3 * (index - 3);
        case Uconvers::QuantityKind::Capacity:
            return index <= 6 ? index - 3 : 3 * (8 - index);
        case Uconvers::QuantityKind::Duration:
            break;
    }
    return 0;
}

struct Decimal {
    std::string text;  // plain decimal, no superfluous zeros
    int decimals;
    int significantDigits;
};

// A plain decimal text ("2500", "0.25") multiplied by 10^shift, exactly.
inline Decimal Shift(const std::string& plain, int shift) {
    std::string digits;
    for (char c : plain) {
        if (c == '.') {
            shift -= static_cast<int>(plain.size() - plain.find('.') - 1);
        } else {
            digits += c;
        }
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        ++shift;
    }
    const int significant = digits == "0" ? 0 : static_cast<int>(digits.size());
    if (shift >= 0) {
        return {digits == "0" ? digits : digits + std::string(shift, '0'), 0, significant};
    }
    const int decimals = -shift;
    if (static_cast<int>(digits.size()) <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - decimals, 1, '.');  // GCC 12 warns falsely on "."
    return {digits, decimals, significant};
}

// The plain decimal of `plain` given in unit `source`, expressed in `target`.
inline Decimal Convert(Uconvers::QuantityKind kind, int source, int target,
                       const std::string& plain) {
    return Shift(plain, PowerOfUnit(kind, source) - PowerOfUnit(kind, target));
}

}  // namespace exact
