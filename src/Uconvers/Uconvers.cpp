#include "Uconvers/Uconvers.h"

#include <span>

#include "Uconvers/ExtendedConstants.h"

namespace Uconvers {
namespace {

// One unit of a kind. The factor takes a value to the kind's base unit and the
// multiplier takes it back; both are written out as their own constants (the
// negative powers of ten as the nearest 80-bit values) so that no conversion
// ever divides or derives one constant from the other.
struct UnitRow {
    const char* name;
    const char* symbol;
    extended factorToBase;
    extended multiplierFromBase;
};

// Windows-1252: \xE8 is "è", \xE9 is "é". Literals are split after an escape
// whenever a hexadecimal letter follows it.
constexpr UnitRow kLengthUnits[] = {
    {"millim\xE8tre", "mm", kThousandth, 1000},
    {"centim\xE8tre", "cm", kHundredth, 100},
    {"d\xE9"
     "cim\xE8tre",
     "dm", kTenth, 10},
    {"m\xE8tre", "m", 1, 1},
    {"d\xE9"
     "cam\xE8tre",
     "dam", 10, kTenth},
    {"hectom\xE8tre", "hm", 100, kHundredth},
    {"kilom\xE8tre", "km", 1000, kThousandth},
};

constexpr UnitRow kAreaUnits[] = {
    {"millim\xE8tre carr\xE9", "mm<sup>2</sup>", kMillionth, 1000000},
    {"centim\xE8tre carr\xE9", "cm<sup>2</sup>", kTenThousandth, 10000},
    {"d\xE9"
     "cim\xE8tre carr\xE9",
     "dm<sup>2</sup>", kHundredth, 100},
    {"m\xE8tre carr\xE9", "m<sup>2</sup>", 1, 1},
    {"d\xE9"
     "cam\xE8tre carr\xE9",
     "dam<sup>2</sup>", 100, kHundredth},
    {"hectom\xE8tre carr\xE9", "hm<sup>2</sup>", 10000, kTenThousandth},
    {"kilom\xE8tre carr\xE9", "km<sup>2</sup>", 1000000, kMillionth},
};

constexpr UnitRow kVolumeUnits[] = {
    {"millim\xE8tre cube", "mm<sup>3</sup>", kBillionth, 1000000000},
    {"centim\xE8tre cube", "cm<sup>3</sup>", kMillionth, 1000000},
    {"d\xE9"
     "cim\xE8tre cube",
     "dm<sup>3</sup>", kThousandth, 1000},
    {"m\xE8tre cube", "m<sup>3</sup>", 1, 1},
    {"d\xE9"
     "cam\xE8tre cube",
     "dam<sup>3</sup>", 1000, kThousandth},
    {"hectom\xE8tre cube", "hm<sup>3</sup>", 1000000, kMillionth},
    {"kilom\xE8tre cube", "km<sup>3</sup>", 1000000000, kBillionth},
};

// Litre units first, then the cubic units that capacity exercises mix in, from
// large to small, with their litre-based factors (1 dm3 is 1 L).
constexpr UnitRow kCapacityUnits[] = {
    {"millilitre", "mL", kThousandth, 1000},
    {"centilitre", "cL", kHundredth, 100},
    {"d\xE9"
     "cilitre",
     "dL", kTenth, 10},
    {"litre", "L", 1, 1},
    {"d\xE9"
     "calitre",
     "daL", 10, kTenth},
    {"hectolitre", "hL", 100, kHundredth},
    {"kilolitre", "kL", 1000, kThousandth},
    {"m\xE8tre cube", "m<sup>3</sup>", 1000, kThousandth},
    {"d\xE9"
     "cim\xE8tre cube",
     "dm<sup>3</sup>", 1, 1},
    {"centim\xE8tre cube", "cm<sup>3</sup>", kThousandth, 1000},
    {"millim\xE8tre cube", "mm<sup>3</sup>", kMillionth, 1000000},
};

// Grams step by 10 like metres, with the same constants.
constexpr UnitRow kMassUnits[] = {
    {"milligramme", "mg", kThousandth, 1000},
    {"centigramme", "cg", kHundredth, 100},
    {"d\xE9"
     "cigramme",
     "dg", kTenth, 10},
    {"gramme", "g", 1, 1},
    {"d\xE9"
     "cagramme",
     "dag", 10, kTenth},
    {"hectogramme", "hg", 100, kHundredth},
    {"kilogramme", "kg", 1000, kThousandth},
};

// Durations: names and symbols only. A factor of 0 makes every numeric
// operation give 0, since neither a month nor a year has a fixed length in
// days and the generation converts durations in integers by rules of its own.
constexpr UnitRow kDurationUnits[] = {
    {"seconde", "s", 0, 0},
    {"minute", "min", 0, 0},
    {"heure", "h", 0, 0},
    {"jour", "j", 0, 0},
    {"semaine", "sem.", 0, 0},
    {"ann\xE9"
     "e",
     "an", 0, 0},
    {"si\xE8"
     "cle",
     "si\xE8"
     "cle",
     0, 0},
};

std::span<const UnitRow> TableOf(QuantityKind kind) {
    switch (kind) {
        case QuantityKind::Length:
            return kLengthUnits;
        case QuantityKind::Area:
            return kAreaUnits;
        case QuantityKind::Volume:
            return kVolumeUnits;
        case QuantityKind::Capacity:
            return kCapacityUnits;
        case QuantityKind::Mass:
            return kMassUnits;
        case QuantityKind::Duration:
            return kDurationUnits;
    }
    return {};
}

const UnitRow* RowOf(QuantityKind kind, UnitIndex index) {
    const auto table = TableOf(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(index)];
}

// A factor of exactly 1 means no multiplication at all; any other factor is
// one multiplication rounded once to the 80-bit format.
extended Scale(extended value, extended factor) {
    return factor == extended{1} ? value : value * factor;
}

}  // namespace

int UnitCount(QuantityKind kind) {
    return static_cast<int>(TableOf(kind).size());
}

std::string UnitName(QuantityKind kind, UnitIndex index) {
    const UnitRow* row = RowOf(kind, index);
    return row ? row->name : "";
}

std::string UnitSymbol(QuantityKind kind, UnitIndex index) {
    const UnitRow* row = RowOf(kind, index);
    return row ? row->symbol : "";
}

extended ToBase(QuantityKind kind, UnitIndex index, extended value) {
    const UnitRow* row = RowOf(kind, index);
    return row ? Scale(value, row->factorToBase) : extended{};
}

extended Convert(QuantityKind kind, UnitIndex source, UnitIndex target, extended value) {
    const UnitRow* sourceRow = RowOf(kind, source);
    const UnitRow* targetRow = RowOf(kind, target);
    if (!sourceRow || !targetRow) {
        return extended{};
    }
    return Scale(ToBase(kind, source, value), targetRow->multiplierFromBase);
}

std::string UnitNameLong(UnitIndex index) {
    return UnitName(QuantityKind::Length, index);
}
std::string UnitSymbolLong(UnitIndex index) {
    return UnitSymbol(QuantityKind::Length, index);
}
extended ToBaseLong(UnitIndex index, extended value) {
    return ToBase(QuantityKind::Length, index, value);
}
extended ConvertLong(UnitIndex source, UnitIndex target, extended value) {
    return Convert(QuantityKind::Length, source, target, value);
}

std::string UnitNameSurf(UnitIndex index) {
    return UnitName(QuantityKind::Area, index);
}
std::string UnitSymbolSurf(UnitIndex index) {
    return UnitSymbol(QuantityKind::Area, index);
}
extended ToBaseSurf(UnitIndex index, extended value) {
    return ToBase(QuantityKind::Area, index, value);
}
extended ConvertSurf(UnitIndex source, UnitIndex target, extended value) {
    return Convert(QuantityKind::Area, source, target, value);
}

std::string UnitNameVol(UnitIndex index) {
    return UnitName(QuantityKind::Volume, index);
}
std::string UnitSymbolVol(UnitIndex index) {
    return UnitSymbol(QuantityKind::Volume, index);
}
extended ToBaseVol(UnitIndex index, extended value) {
    return ToBase(QuantityKind::Volume, index, value);
}
extended ConvertVol(UnitIndex source, UnitIndex target, extended value) {
    return Convert(QuantityKind::Volume, source, target, value);
}

std::string UnitNameCapa(UnitIndex index) {
    return UnitName(QuantityKind::Capacity, index);
}
std::string UnitSymbolCapa(UnitIndex index) {
    return UnitSymbol(QuantityKind::Capacity, index);
}
extended ToBaseCapa(UnitIndex index, extended value) {
    return ToBase(QuantityKind::Capacity, index, value);
}
extended ConvertCapa(UnitIndex source, UnitIndex target, extended value) {
    return Convert(QuantityKind::Capacity, source, target, value);
}

std::string UnitNameMass(UnitIndex index) {
    return UnitName(QuantityKind::Mass, index);
}
std::string UnitSymbolMass(UnitIndex index) {
    return UnitSymbol(QuantityKind::Mass, index);
}
extended ToBaseMass(UnitIndex index, extended value) {
    return ToBase(QuantityKind::Mass, index, value);
}
extended ConvertMass(UnitIndex source, UnitIndex target, extended value) {
    return Convert(QuantityKind::Mass, source, target, value);
}

}  // namespace Uconvers
