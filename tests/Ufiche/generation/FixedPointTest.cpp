#include "Ufiche/generation/FixedPoint.h"

#include <gtest/gtest.h>

#include "HostExtended.h"
#include "ReferenceFixedPoint.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using testsupport::FromFields;
using testsupport::Negated;
using testsupport::Neighbour;
using testsupport::ToExtended;
using testsupport::ToHost;
using Uconvers::ExtendedFromBits;
using Ufiche::FixedPointText;

TEST(FixedPoint, WorkedValuesGiveEighteenDecimalsWithoutExponent) {
    const struct {
        long double value;
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
        EXPECT_EQ(FixedPointText(ToExtended(c.value)), c.text);
    }
}

TEST(FixedPoint, AgreesWithAnExactReferenceAcrossAllMagnitudesUpToTenToThe36) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> exponents(-75, 119);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        extended value = FromFields(significand, exponents(random));
        if (i % 2 == 1) {
            value = Negated(value);
        }
        ASSERT_EQ(FixedPointText(value), ReferenceFixedPoint(value)) << "value " << ToHost(value);
    }
}

TEST(FixedPoint, ExtremeValuesNeitherCrashNorUseAnExponent) {
    constexpr std::uint64_t kLeadingBit = std::uint64_t{1} << 63;
    EXPECT_EQ(FixedPointText(ExtendedFromBits({0, 1})), "0.000000000000000000");  // denormal
    EXPECT_EQ(FixedPointText(ExtendedFromBits({0x7FFF, kLeadingBit})), "INF");
    EXPECT_EQ(FixedPointText(ExtendedFromBits({0xFFFF, kLeadingBit})), "-INF");
    EXPECT_EQ(FixedPointText(ExtendedFromBits({0x7FFF, kLeadingBit | kLeadingBit >> 1})), "NAN");
    const std::string largest = FixedPointText(ExtendedFromBits({0x7FFE, ~std::uint64_t{0}}));
    EXPECT_EQ(largest.size(), 4933u + 19u);
    EXPECT_EQ(largest.substr(0, 18), "118973149535723177");
    EXPECT_EQ(largest.find_first_not_of("0123456789."), std::string::npos);
}

// The integer path must write every value below 10^36 and give the text of
// the decimal expansion, byte for byte.
void ExpectIntegerPathMatchesExpansion(extended value) {
    char text[Ufiche::kFixedPointTextCapacity];
    const std::size_t length = Ufiche::WriteFixedPointText(value, text);
    const long double host = ToHost(value);
    if (std::fabs(host) < 1e36L) {
        ASSERT_NE(length, 0u) << "value " << host;
    }
    if (length != 0) {
        ASSERT_EQ(std::string(text, length), Ufiche::ExpandedFixedPointText(value))
            << "value " << host;
    }
    ASSERT_EQ(FixedPointText(value), Ufiche::ExpandedFixedPointText(value)) << "value " << host;
}

TEST(FixedPoint, IntegerPathAgreesWithTheExpansionAcrossAllMagnitudes) {
    std::mt19937_64 random(20261209);
    // From below 10^-21, where everything reads 0, to beyond 10^37, where the
    // expansion takes over.
    std::uniform_int_distribution<int> exponents(-72, 125);
    for (int i = 0; i < 50000; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        const extended value = FromFields(significand, exponents(random));
        ExpectIntegerPathMatchesExpansion(i % 8 == 7 ? Negated(value) : value);
        if (HasFatalFailure()) {
            return;
        }
    }
}

// The values exactly halfway between two texts, for every count of integer
// digits where the 64-bit significand can hold one: below 10, where 17
// decimals are kept, the odd multiples of 2^-18; with d integer digits up to
// 18, the odd multiples of 2^-(19-d); with 19 digits the odd multiples of 5.
// Beyond that no tie is representable. Their neighbours one unit of the last
// place away are checked with them.
TEST(FixedPoint, IntegerPathRoundsEveryKindOfTieToEvenLikeTheExpansion) {
    std::mt19937_64 random(20261210);
    for (int digits = 1; digits <= 19; ++digits) {
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        int exponent = 0;
        if (digits <= 18) {
            exponent = -(19 - digits);
            std::uint64_t power = 1;
            for (int i = 1; i < digits; ++i) {
                power *= 10;
            }
            first = digits == 1 ? 1 : power << -exponent;
            last = (power * 10 << -exponent) - 1;
        } else {
            first = 200000000000000001u;  // 5 * first = 10^18 + 5
            last = 1999999999999999999u;
        }
        std::uniform_int_distribution<std::uint64_t> multiples(first, last);
        std::vector<std::uint64_t> odd = {first | 1, last};
        for (int i = 0; i < 2000; ++i) {
            odd.push_back(multiples(random) | 1);
        }
        for (const std::uint64_t multiple : odd) {
            // Exact in the host's long double, whichever format it has.
            const extended tie =
                ToExtended(digits <= 18 ? std::ldexp(static_cast<long double>(multiple), exponent)
                                        : static_cast<long double>(multiple) * 5);
            ExpectIntegerPathMatchesExpansion(tie);
            ExpectIntegerPathMatchesExpansion(Neighbour(tie, -1));
            ExpectIntegerPathMatchesExpansion(Neighbour(tie, +1));
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

}  // namespace
