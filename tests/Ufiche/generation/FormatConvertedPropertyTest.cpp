#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Commune/Commune.h"
#include "ExactDecimal.h"
#include "ReferenceFixedPoint.h"
#include "Uconvers/ExtendedConstants.h"
#include "Ufiche/generation/FormatNumber.h"

namespace {

using Uconvers::QuantityKind;

// A value that a generator can draw: the 80-bit value it computes, and the
// plain decimal it stands for.
struct DrawnValue {
    extended value;
    std::string plain;
};

DrawnValue Drawn(extended value, long long numerator, int decimals) {
    return {value, exact::Shift(std::to_string(numerator), -decimals).text};
}

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
        values.push_back(Drawn(static_cast<extended>(static_cast<int>(whole)), whole, 0));
    }
    // Tenths as the level-3 rows compute them: (b * 0.1 + a) + 0.1.
    for (int a = 0; a < 100; ++a) {
        for (int b = 0; b < 9; ++b) {
            const extended tenth = (b * Uconvers::kTenth + a) + Uconvers::kTenth;
            values.push_back(Drawn(tenth, 10LL * a + b + 1, 1));
        }
    }
    for (int r = 0; r < 50; ++r) {
        values.push_back(Drawn((r * 2 + 1) * Uconvers::kHalf, (r * 2 + 1) * 5LL, 1));
    }
    for (int r = 0; r < 100; ++r) {
        values.push_back(Drawn((r * 2 + 1) * Uconvers::kQuarter, (r * 2 + 1) * 25LL, 2));
    }
    return values;
}

TEST(FormatConvertedProperty, EveryDrawableValueInEveryUnitPairReadsAsItsExactConversion) {
    const auto values = EveryDrawableValue();
    int exactCases = 0;
    int roundedCases = 0;
    for (const auto kind : {QuantityKind::Length, QuantityKind::Area, QuantityKind::Volume,
                            QuantityKind::Capacity, QuantityKind::Mass}) {
        const int units = Uconvers::UnitCount(kind);
        for (int source = 0; source < units; ++source) {
            for (int target = 0; target < units; ++target) {
                for (const auto& drawn : values) {
                    const std::string text =
                        Ufiche::FormatConverted(kind, source, target, drawn.value);
                    const exact::Decimal exact = exact::Convert(kind, source, target, drawn.plain);
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
        const exact::Decimal exact = exact::Shift(drawn.plain, 0);
        ASSERT_EQ(Ufiche::FormatNumber(drawn.value), Commune::GroupDigits(exact.text));
    }
}

}  // namespace
