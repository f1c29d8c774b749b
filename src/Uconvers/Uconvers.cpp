#include "Uconvers/Uconvers.h"

#include <span>

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
    {"millim\xE8tre", "mm", 0.001L, 1000.0L},
    {"centim\xE8tre", "cm", 0.01L, 100.0L},
    {"d\xE9"
     "cim\xE8tre",
     "dm", 0.1L, 10.0L},
    {"m\xE8tre", "m", 1.0L, 1.0L},
    {"d\xE9"
     "cam\xE8tre",
     "dam", 10.0L, 0.1L},
    {"hectom\xE8tre", "hm", 100.0L, 0.01L},
    {"kilom\xE8tre", "km", 1000.0L, 0.001L},
};

constexpr UnitRow kAreaUnits[] = {
    {"millim\xE8tre carr\xE9", "mm<sup>2</sup>", 0.000001L, 1000000.0L},
    {"centim\xE8tre carr\xE9", "cm<sup>2</sup>", 0.0001L, 10000.0L},
    {"d\xE9"
     "cim\xE8tre carr\xE9",
     "dm<sup>2</sup>", 0.01L, 100.0L},
    {"m\xE8tre carr\xE9", "m<sup>2</sup>", 1.0L, 1.0L},
    {"d\xE9"
     "cam\xE8tre carr\xE9",
     "dam<sup>2</sup>", 100.0L, 0.01L},
    {"hectom\xE8tre carr\xE9", "hm<sup>2</sup>", 10000.0L, 0.0001L},
    {"kilom\xE8tre carr\xE9", "km<sup>2</sup>", 1000000.0L, 0.000001L},
};

constexpr UnitRow kVolumeUnits[] = {
    {"millim\xE8tre cube", "mm<sup>3</sup>", 0.000000001L, 1000000000.0L},
    {"centim\xE8tre cube", "cm<sup>3</sup>", 0.000001L, 1000000.0L},
    {"d\xE9"
     "cim\xE8tre cube",
     "dm<sup>3</sup>", 0.001L, 1000.0L},
    {"m\xE8tre cube", "m<sup>3</sup>", 1.0L, 1.0L},
    {"d\xE9"
     "cam\xE8tre cube",
     "dam<sup>3</sup>", 1000.0L, 0.001L},
    {"hectom\xE8tre cube", "hm<sup>3</sup>", 1000000.0L, 0.000001L},
    {"kilom\xE8tre cube", "km<sup>3</sup>", 1000000000.0L, 0.000000001L},
};

// Litre units first, then the cubic units that capacity exercises mix in, from
// large to small, with their litre-based factors (1 dm3 is 1 L).
constexpr UnitRow kCapacityUnits[] = {
    {"millilitre", "mL", 0.001L, 1000.0L},
    {"centilitre", "cL", 0.01L, 100.0L},
    {"d\xE9"
     "cilitre",
     "dL", 0.1L, 10.0L},
    {"litre", "L", 1.0L, 1.0L},
    {"d\xE9"
     "calitre",
     "daL", 10.0L, 0.1L},
    {"hectolitre", "hL", 100.0L, 0.01L},
    {"kilolitre", "kL", 1000.0L, 0.001L},
    {"m\xE8tre cube", "m<sup>3</sup>", 1000.0L, 0.001L},
    {"d\xE9"
     "cim\xE8tre cube",
     "dm<sup>3</sup>", 1.0L, 1.0L},
    {"centim\xE8tre cube", "cm<sup>3</sup>", 0.001L, 1000.0L},
    {"millim\xE8tre cube", "mm<sup>3</sup>", 0.000001L, 1000000.0L},
};

// Grams step by 10 like metres, with the same constants.
constexpr UnitRow kMassUnits[] = {
    {"milligramme", "mg", 0.001L, 1000.0L},
    {"centigramme", "cg", 0.01L, 100.0L},
    {"d\xE9"
     "cigramme",
     "dg", 0.1L, 10.0L},
    {"gramme", "g", 1.0L, 1.0L},
    {"d\xE9"
     "cagramme",
     "dag", 10.0L, 0.1L},
    {"hectogramme", "hg", 100.0L, 0.01L},
    {"kilogramme", "kg", 1000.0L, 0.001L},
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
    return factor == 1.0L ? value : value * factor;
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
    return row ? Scale(value, row->factorToBase) : 0.0L;
}

extended Convert(QuantityKind kind, UnitIndex source, UnitIndex target, extended value) {
    const UnitRow* sourceRow = RowOf(kind, source);
    const UnitRow* targetRow = RowOf(kind, target);
    if (!sourceRow || !targetRow) {
        return 0.0L;
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
