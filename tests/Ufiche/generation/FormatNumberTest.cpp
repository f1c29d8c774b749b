#include "Ufiche/generation/FormatNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "Commune/Commune.h"
#include "Ufiche/generation/FixedPoint.h"

namespace {

using Ufiche::FormatNumber;

TEST(FormatNumber, WritesPlainGroupedDecimalsWithoutSuperfluousZeros) {
    const struct {
        extended value;
        const char* text;
    } cases[] = {
        {1234567.891L, "1 234 567.891"},
        {12345.6789L, "12 345.678 9"},
        {1000.0L, "1 000"},
        {100.0L, "100"},
        {999.0L, "999"},
        {123.456L, "123.456"},
        {12.5L, "12.5"},
        {12.3456L, "12.345 6"},
        {0.5L, "0.5"},
        {0.0001L, "0.000 1"},
        {0.000037L, "0.000 037"},
        {0.000000007L, "0.000 000 007"},
        {2500000.0L, "2 500 000"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {-1e-20L, "0"},
        {4.9e-18L, "0"},
        {7e-18L, "0.000 000 000 000 000 01"},
        {(3.0L * 0.1L + 7.0L) + 0.1L, "7.4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value), c.text) << "value " << c.value;
    }
}

TEST(FormatNumber, ConvertedValuesReadAsTheirExactDecimalInTheTargetUnit) {
    using Ufiche::FormatConvertedCapa;
    using Ufiche::FormatConvertedLong;
    using Ufiche::FormatConvertedSurf;
    using Ufiche::FormatConvertedVol;
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {FormatConvertedLong(6, 0, 2.5L), "2 500 000"},
        {FormatConvertedLong(0, 6, 5.0L), "0.000 005"},
        {FormatConvertedLong(3, 4, 3.0L), "0.3"},
        {FormatConvertedLong(0, 0, 7.0L), "7"},
        {FormatConvertedLong(4, 3, 250.0L), "2 500"},
        {FormatConvertedLong(2, 3, 70.0L), "7"},
        {FormatConvertedSurf(2, 5, 37.0L), "0.000 037"},
        {FormatConvertedSurf(6, 0, 1.0L), "1 000 000 000 000"},
        {FormatConvertedSurf(0, 3, 5000.0L), "0.005"},
        {FormatConvertedVol(2, 1, 2.5L), "2 500"},
        {FormatConvertedVol(6, 0, 999.0L), "999 000 000 000 000 000 000"},
        {FormatConvertedVol(0, 6, 5.0L), "0"},
        {FormatConvertedVol(0, 6, 7.0L), "0.000 000 000 000 000 01"},
        {FormatConvertedVol(0, 6, 35.0L), "0.000 000 000 000 000 03"},
        {FormatConvertedVol(1, 3, 9000.0L), "0.009"},
        {FormatConvertedCapa(7, 3, 1.2L), "1 200"},
        {FormatConvertedCapa(9, 0, 5.0L), "5"},
        {FormatConvertedCapa(10, 0, 1.0L), "0.001"},
        {FormatConvertedCapa(8, 3, 42.0L), "42"},
        {FormatConvertedCapa(7, 3, 1.0L), "1 000"},
        {FormatConvertedCapa(3, 7, 1.0L), "0.001"},
        {FormatConvertedCapa(8, 3, 1.0L), "1"},
        {FormatConvertedCapa(6, 10, 999.0L), "999 000 000 000"},
        {FormatConvertedCapa(1, 8, 250.0L), "2.5"},
        {FormatConvertedCapa(4, 8, 40.0L), "400"},
        {Ufiche::FormatConverted(Uconvers::QuantityKind::Capacity, 4, 8, 40.0L), "400"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.expected);
    }
}

TEST(FormatNumber, ReadsAsTheCleanedAndGroupedExpansionOfTheValue) {
    std::mt19937_64 random(20261211);
    std::uniform_int_distribution<int> exponents(-72, 125);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
        extended value = std::ldexp(static_cast<extended>(significand), exponents(random) - 63);
        if (i % 4 == 3) {
            value = -value;  // the sign counts as a character of the integer part
        }
        ASSERT_EQ(
            FormatNumber(value),
            Commune::GroupDigits(Commune::NormalizeNumber(Ufiche::ExpandedFixedPointText(value))))
            << "value " << value;
    }
}

}  // namespace
