#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Commune/Commune.h"
#include "ReferenceFixedPoint.h"
#include "Ufiche/generation/FormatNumber.h"

namespace {

using Uconvers::QuantityKind;

// A value that a generator can draw: the 80-bit value it computes, and the
// decimal it stands for as numerator / 10^decimals.
struct DrawnValue {
    extended value;
    long long numerator;
    int decimals;
};

std::vector<DrawnValue> EveryDrawableValue() {
    std::set<long long> wholes;
    auto addSteps = [&](int count, long long step, long long first) {
        for (int r = 0; r < count; ++r) {
            wholes.insert(r * step + first);
        }
    };
    addSteps(999, 1, 1);
    addSteps(99, 10, 10);
    addSteps(9, 100, 100);
    addSteps(9, 1000, 1000);
    addSteps(99, 100, 100);
    addSteps(99, 1000, 1000);
    addSteps(999, 1000, 1000);
    addSteps(99, 10000, 10000);
    addSteps(99, 100000, 100000);
    addSteps(99, 1000000, 1000000);
    addSteps(99, 10000000, 10000000);
    addSteps(9, 10, 1);

    std::vector<DrawnValue> values;
    for (long long whole : wholes) {
        values.push_back({static_cast<extended>(whole), whole, 0});
    }
    // Tenths as the level-3 rows compute them: (b * 0.1 + a) + 0.1.
    for (int a = 0; a < 100; ++a) {
        for (int b = 0; b < 9; ++b) {
            const extended tenth = (b * 0.1L + a) + 0.1L;
            values.push_back({tenth, 10LL * a + b + 1, 1});
        }
    }
    for (int r = 0; r < 50; ++r) {
        values.push_back({(r * 2 + 1) * 0.5L, (r * 2 + 1) * 5LL, 1});
    }
    for (int r = 0; r < 100; ++r) {
        values.push_back({(r * 2 + 1) * 0.25L, (r * 2 + 1) * 25LL, 2});
    }
    return values;
}

// The power of ten that takes a unit to its kind's base unit.
int PowerOfUnit(QuantityKind kind, int index) {
    switch (kind) {
        case QuantityKind::Length:
            return index - 3;
        case QuantityKind::Area:
            return 2 * (index - 3);
        case QuantityKind::Volume:
            return 3 * (index - 3);
        case QuantityKind::Capacity:
            return index <= 6 ? index - 3 : 3 * (8 - index);
    }
    return 0;
}

struct ExactText {
    std::string text;  // plain decimal, no superfluous zeros
    int decimals;
    int significantDigits;
};

// numerator * 10^shift written out exactly, in integer arithmetic on digits.
ExactText ExactDecimal(long long numerator, int shift) {
    std::string digits = std::to_string(numerator);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        ++shift;
    }
    const int significant = static_cast<int>(digits.size());
    if (shift >= 0) {
        return {digits + std::string(shift, '0'), 0, significant};
    }
    const int decimals = -shift;
    if (static_cast<int>(digits.size()) <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - decimals, ".");
    return {digits, decimals, significant};
}

TEST(FormatConvertedProperty, EveryDrawableValueInEveryUnitPairReadsAsItsExactConversion) {
    const auto values = EveryDrawableValue();
    int exactCases = 0;
    int roundedCases = 0;
    for (const auto kind : {QuantityKind::Length, QuantityKind::Area, QuantityKind::Volume,
                            QuantityKind::Capacity}) {
        const int units = Uconvers::UnitCount(kind);
        for (int source = 0; source < units; ++source) {
            for (int target = 0; target < units; ++target) {
                const int shift = PowerOfUnit(kind, source) - PowerOfUnit(kind, target);
                for (const auto& drawn : values) {
                    const std::string text =
                        Ufiche::FormatConverted(kind, source, target, drawn.value);
                    const ExactText exact = ExactDecimal(drawn.numerator, shift - drawn.decimals);
                    std::string expected;
                    if (exact.decimals <= 17 && exact.significantDigits <= 18) {
                        expected = Commune::GroupDigits(exact.text);
                        ++exactCases;
                    } else {
                        // Beyond 17 decimals the 80-bit product is rounded, not
                        // the exact decimal: compare with the product's own
                        // exact expansion.
                        const extended product =
                            Uconvers::Convert(kind, source, target, drawn.value);
                        expected = Commune::GroupDigits(
                            Commune::NormalizeNumber(ReferenceFixedPoint(product)));
                        ++roundedCases;
                    }
                    ASSERT_EQ(text, expected)
                        << "kind " << static_cast<int>(kind) << ", " << exact.text << " from unit "
                        << source << " to unit " << target;
                }
            }
        }
    }
    EXPECT_GT(exactCases, 500000);
    EXPECT_GT(roundedCases, 0);
}

TEST(FormatConvertedProperty, DrawnValuesReadAsTheDecimalTheyStandFor) {
    for (const auto& drawn : EveryDrawableValue()) {
        const ExactText exact = ExactDecimal(drawn.numerator, -drawn.decimals);
        ASSERT_EQ(Ufiche::FormatNumber(drawn.value), Commune::GroupDigits(exact.text));
    }
}

}  // namespace
