#pragma once

#include <set>
#include <string>
#include <vector>

#include "ExactDecimal.h"
#include "WorksheetLayout.h"

// Measures in one or several units compared exactly, in integers: the
// decimal kinds by their units' powers of ten, durations in seconds (or in
// years, for years and centuries).
namespace exact {

// digits x 10^exponent of the base unit, of the second or of the year.
struct Amount {
    __int128 digits = 0;
    int exponent = 0;
};

inline Amount AmountOf(Uconvers::QuantityKind kind, const testsupport::MeasurePart& part) {
    Amount amount;
    bool decimals = false;
    for (const char c : part.number) {
        if (c >= '0' && c <= '9') {
            amount.digits = amount.digits * 10 + (c - '0');
            amount.exponent -= decimals ? 1 : 0;
        } else if (c == '.' || c == ',') {
            decimals = true;
        }
    }
    if (kind == Uconvers::QuantityKind::Duration) {
        constexpr int kSeconds[] = {1, 60, 3600, 86400, 604800, 1, 100};
        amount.digits *= kSeconds[part.unit];
    } else {
        amount.exponent += PowerOfUnit(kind, part.unit);
    }
    return amount;
}

// Whether both measures are the same quantity: the same total, and for
// durations both in years and centuries or both in the other units.
inline bool SameQuantity(Uconvers::QuantityKind kind,
                         const std::vector<testsupport::MeasurePart>& a,
                         const std::vector<testsupport::MeasurePart>& b) {
    int exponent = 0;
    bool years = false;
    bool others = false;
    for (const auto* parts : {&a, &b}) {
        for (const auto& part : *parts) {
            exponent = std::min(exponent, AmountOf(kind, part).exponent);
            (part.unit >= 5 ? years : others) = true;
        }
    }
    const auto total = [&](const std::vector<testsupport::MeasurePart>& parts) {
        __int128 sum = 0;
        for (const auto& part : parts) {
            Amount amount = AmountOf(kind, part);
            for (; amount.exponent > exponent; --amount.exponent) {
                amount.digits *= 10;
            }
            sum += amount.digits;
        }
        return sum;
    };
    return total(a) == total(b) && (kind != Uconvers::QuantityKind::Duration || !(years && others));
}

// The units a measure is written with.
inline std::set<int> UnitsOf(const std::vector<testsupport::MeasurePart>& parts) {
    std::set<int> units;
    for (const auto& part : parts) {
        units.insert(part.unit);
    }
    return units;
}

}  // namespace exact
