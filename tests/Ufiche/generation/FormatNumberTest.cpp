#include "Ufiche/generation/FormatNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "Commune/Commune.h"
#include "HostExtended.h"
#include "Uconvers/ExtendedConstants.h"
#include "Ufiche/generation/FixedPoint.h"

namespace {

using testsupport::FromFields;
using testsupport::Negated;
using testsupport::ToExtended;
using testsupport::ToHost;
using Ufiche::FormatNumber;

TEST(FormatNumber, WritesPlainGroupedDecimalsWithoutSuperfluousZeros) {
    const struct {
        extended value;
        const char* text;
    } cases[] = {
        {ToExtended(1234567.891L), "1 234 567.891"},
        {ToExtended(12345.6789L), "12 345.678 9"},
        {1000, "1 000"},
        {100, "100"},
        {999, "999"},
        {ToExtended(123.456L), "123.456"},
        {ToExtended(12.5L), "12.5"},
        {ToExtended(12.3456L), "12.345 6"},
        {ToExtended(0.5L), "0.5"},
        {ToExtended(0.0001L), "0.000 1"},
        {ToExtended(0.000037L), "0.000 037"},
        {ToExtended(0.000000007L), "0.000 000 007"},
        {2500000, "2 500 000"},
        {0, "0"},
        {ToExtended(-0.0L), "0"},
        {ToExtended(-1e-20L), "0"},
        {ToExtended(4.9e-18L), "0"},
        {ToExtended(7e-18L), "0.000 000 000 000 000 01"},
        {(3 * Uconvers::kTenth + 7) + Uconvers::kTenth, "7.4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(c.value), c.text) << "value " << ToHost(c.value);
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
        {FormatConvertedLong(6, 0, ToExtended(2.5L)), "2 500 000"},
        {FormatConvertedLong(0, 6, 5), "0.000 005"},
        {FormatConvertedLong(3, 4, 3), "0.3"},
        {FormatConvertedLong(0, 0, 7), "7"},
        {FormatConvertedLong(4, 3, 250), "2 500"},
        {FormatConvertedLong(2, 3, 70), "7"},
        {FormatConvertedSurf(2, 5, 37), "0.000 037"},
        {FormatConvertedSurf(6, 0, 1), "1 000 000 000 000"},
        {FormatConvertedSurf(0, 3, 5000), "0.005"},
        {FormatConvertedVol(2, 1, ToExtended(2.5L)), "2 500"},
        {FormatConvertedVol(6, 0, 999), "999 000 000 000 000 000 000"},
        {FormatConvertedVol(0, 6, 5), "0"},
        {FormatConvertedVol(0, 6, 7), "0.000 000 000 000 000 01"},
        {FormatConvertedVol(0, 6, 35), "0.000 000 000 000 000 03"},
        {FormatConvertedVol(1, 3, 9000), "0.009"},
        {FormatConvertedCapa(7, 3, ToExtended(1.2L)), "1 200"},
        {FormatConvertedCapa(9, 0, 5), "5"},
        {FormatConvertedCapa(10, 0, 1), "0.001"},
        {FormatConvertedCapa(8, 3, 42), "42"},
        {FormatConvertedCapa(7, 3, 1), "1 000"},
        {FormatConvertedCapa(3, 7, 1), "0.001"},
        {FormatConvertedCapa(8, 3, 1), "1"},
        {FormatConvertedCapa(6, 10, 999), "999 000 000 000"},
        {FormatConvertedCapa(1, 8, 250), "2.5"},
        {FormatConvertedCapa(4, 8, 40), "400"},
        {Ufiche::FormatConverted(Uconvers::QuantityKind::Capacity, 4, 8, 40), "400"},
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
        extended value = FromFields(significand, exponents(random));
        if (i % 4 == 3) {
            value = Negated(value);  // the sign counts as a character of the integer part
        }
        ASSERT_EQ(
            FormatNumber(value),
            Commune::GroupDigits(Commune::NormalizeNumber(Ufiche::ExpandedFixedPointText(value))))
            << "value " << ToHost(value);
    }
}

}  // namespace
