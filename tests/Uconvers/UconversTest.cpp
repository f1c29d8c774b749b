#include "Uconvers/Uconvers.h"

#include <gtest/gtest.h>

#include "HostExtended.h"

namespace {

using testsupport::ToExtended;
using Uconvers::QuantityKind;

struct UnitCase {
    QuantityKind kind;
    Uconvers::UnitIndex index;
    const char* name;
    const char* symbol;
};

TEST(Uconvers, EveryKindNamesItsUnitsInFrenchWithMarkupSymbols) {
    const UnitCase cases[] = {
        {QuantityKind::Length, 0, "millim\xE8tre", "mm"},
        {QuantityKind::Length, 2,
         "d\xE9"
         "cim\xE8tre",
         "dm"},
        {QuantityKind::Length, 3, "m\xE8tre", "m"},
        {QuantityKind::Length, 4,
         "d\xE9"
         "cam\xE8tre",
         "dam"},
        {QuantityKind::Length, 6, "kilom\xE8tre", "km"},
        {QuantityKind::Area, 0, "millim\xE8tre carr\xE9", "mm<sup>2</sup>"},
        {QuantityKind::Area, 3, "m\xE8tre carr\xE9", "m<sup>2</sup>"},
        {QuantityKind::Area, 5, "hectom\xE8tre carr\xE9", "hm<sup>2</sup>"},
        {QuantityKind::Volume, 1, "centim\xE8tre cube", "cm<sup>3</sup>"},
        {QuantityKind::Volume, 3, "m\xE8tre cube", "m<sup>3</sup>"},
        {QuantityKind::Volume, 6, "kilom\xE8tre cube", "km<sup>3</sup>"},
        {QuantityKind::Capacity, 0, "millilitre", "mL"},
        {QuantityKind::Capacity, 2,
         "d\xE9"
         "cilitre",
         "dL"},
        {QuantityKind::Capacity, 3, "litre", "L"},
        {QuantityKind::Capacity, 4,
         "d\xE9"
         "calitre",
         "daL"},
        {QuantityKind::Capacity, 6, "kilolitre", "kL"},
        {QuantityKind::Capacity, 7, "m\xE8tre cube", "m<sup>3</sup>"},
        {QuantityKind::Capacity, 8,
         "d\xE9"
         "cim\xE8tre cube",
         "dm<sup>3</sup>"},
        {QuantityKind::Capacity, 10, "millim\xE8tre cube", "mm<sup>3</sup>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Uconvers::UnitName(c.kind, c.index), c.name);
        EXPECT_EQ(Uconvers::UnitSymbol(c.kind, c.index), c.symbol);
    }
    EXPECT_EQ(Uconvers::UnitNameLong(6), "kilom\xE8tre");
    EXPECT_EQ(Uconvers::UnitSymbolSurf(6), "km<sup>2</sup>");
    EXPECT_EQ(Uconvers::UnitNameVol(0), "millim\xE8tre cube");
    EXPECT_EQ(Uconvers::UnitSymbolCapa(9), "cm<sup>3</sup>");
}

TEST(Uconvers, IndexesOutsideAKindsTableGiveEmptyTextAndZero) {
    const struct {
        QuantityKind kind;
        Uconvers::UnitIndex index;
    } cases[] = {{QuantityKind::Length, -1},   {QuantityKind::Length, 7},
                 {QuantityKind::Area, 7},      {QuantityKind::Volume, 100},
                 {QuantityKind::Capacity, 11}, {QuantityKind::Capacity, -5},
                 {QuantityKind::Mass, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(Uconvers::UnitName(c.kind, c.index), "");
        EXPECT_EQ(Uconvers::UnitSymbol(c.kind, c.index), "");
        EXPECT_EQ(Uconvers::ToBase(c.kind, c.index, 5), 0);
        EXPECT_EQ(Uconvers::Convert(c.kind, c.index, 3, 5), 0);
        EXPECT_EQ(Uconvers::Convert(c.kind, 3, c.index, 5), 0);
    }
    EXPECT_EQ(Uconvers::UnitCount(QuantityKind::Length), 7);
    EXPECT_EQ(Uconvers::UnitCount(QuantityKind::Capacity), 11);
}

TEST(Uconvers, ConversionsMultiplyByTheNearestEightyBitPowersOfTenAndNeverDivide) {
    // To its own unit, a millimetre value goes through 0.001 then 1000.
    const extended value = ToExtended(7.3L);
    EXPECT_EQ(Uconvers::ConvertLong(0, 0, value), (value * ToExtended(0.001L)) * 1000);
    // The negative powers of ten are the nearest 80-bit values, not doubles
    // widened to 80 bits: a double 0.1 would give another product.
    EXPECT_EQ(Uconvers::ToBaseLong(2, 3), 3 * ToExtended(0.1L));
    EXPECT_NE(Uconvers::ToBaseLong(2, 3), 3 * ToExtended(static_cast<long double>(0.1)));
    EXPECT_EQ(Uconvers::ConvertVol(3, 6, 5), 5 * ToExtended(0.000000001L));
    // Exact factors keep exact results.
    EXPECT_EQ(Uconvers::ConvertLong(6, 0, ToExtended(2.5L)), 2500000);
    EXPECT_EQ(Uconvers::ConvertSurf(6, 0, 1), ToExtended(1000000000000.0L));
    EXPECT_EQ(Uconvers::ConvertVol(6, 0, 999), ToExtended(999000000000000000000.0L));
    EXPECT_EQ(Uconvers::ConvertCapa(7, 3, 1), 1000);
    EXPECT_EQ(Uconvers::ConvertCapa(8, 3, 42), 42);
    EXPECT_EQ(Uconvers::ConvertCapa(6, 10, 999), ToExtended(999000000000.0L));
    EXPECT_EQ(Uconvers::ToBaseCapa(3, ToExtended(4.25L)), ToExtended(4.25L));
}

}  // namespace
