#include "Ufiche/generation/FixedPoint.h"

#include <gtest/gtest.h>

#include "ReferenceFixedPoint.h"

#include <cmath>
#include <limits>
#include <random>

namespace {

using Ufiche::FixedPointText;

TEST(FixedPoint, WorkedValuesGiveEighteenDecimalsWithoutExponent) {
    const struct {
        extended value;
        const char* text;
    } cases[] = {
        {1234567.891L, "1234567.891000000000000000"},
        {12345.6789L, "12345.678900000000000000"},
        {1000.0L, "1000.000000000000000000"},
        {100.0L, "100.000000000000000000"},
        {12.5L, "12.500000000000000000"},
        {0.5L, "0.500000000000000000"},
        {0.0001L, "0.000100000000000000"},
        {0.000000007L, "0.000000007000000000"},
        {0.0L, "0.000000000000000000"},
        {-0.0L, "-0.000000000000000000"},
        {7e-18L, "0.000000000000000010"},
        {4.9e-18L, "0.000000000000000000"},
        {999000000000000000000.0L, "999000000000000000000.000000000000000000"},
        {9.999999999999999999L, "10.000000000000000000"},
        // Ties on the exact binary value go to the even digit.
        {std::ldexp(1.0L, -18), "0.000003814697265620"},
        {std::ldexp(3.0L, -18), "0.000011444091796880"},
        {10000.0L + std::ldexp(1.0L, -14), "10000.000061035156200000"},
        {10000.0L + std::ldexp(3.0L, -14), "10000.000183105468800000"},
        {1152921504606846975.0L, "1152921504606846980.000000000000000000"},
        {1152921504606846965.0L, "1152921504606846960.000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FixedPointText(c.value), c.text);
    }
}

TEST(FixedPoint, AgreesWithAnExactReferenceAcrossAllMagnitudesUpToTenToThe36) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> exponents(-75, 119);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        extended value = std::ldexp(static_cast<extended>(significand), exponents(random) - 63);
        if (i % 2 == 1) {
            value = -value;
        }
        ASSERT_EQ(FixedPointText(value), ReferenceFixedPoint(value)) << "value " << value;
    }
}

TEST(FixedPoint, ExtremeValuesNeitherCrashNorUseAnExponent) {
    EXPECT_EQ(FixedPointText(std::numeric_limits<extended>::denorm_min()), "0.000000000000000000");
    EXPECT_EQ(FixedPointText(std::numeric_limits<extended>::infinity()), "INF");
    EXPECT_EQ(FixedPointText(-std::numeric_limits<extended>::infinity()), "-INF");
    EXPECT_EQ(FixedPointText(std::numeric_limits<extended>::quiet_NaN()), "NAN");
    const std::string largest = FixedPointText(std::numeric_limits<extended>::max());
    EXPECT_EQ(largest.size(), 4933u + 19u);
    EXPECT_EQ(largest.substr(0, 18), "118973149535723177");
    EXPECT_EQ(largest.find_first_not_of("0123456789."), std::string::npos);
}

}  // namespace
