#pragma once

#include <string>

#include "Uconvers/Extended.h"

namespace Uconvers {

// Durations are the one kind that is not decimal: their units (0 the second
// to 4 the week, then 5 the year and 6 the century) have names and symbols
// here, and the generation converts them in integers by rules of its own; the
// numeric operations below give 0 for them.
enum class QuantityKind { Length, Area, Volume, Capacity, Mass, Duration };

// A unit's index within its kind's table: 0 to 6 (milli unit 0, base unit 3,
// kilo unit 6; for masses the milligram to the kilogram), or 0 to 10 for capacities (litre units 0
// to 6, then the cubic metre 7 down to the cubic millimetre 10).
using UnitIndex = int;

// Number of units in a kind's table.
int UnitCount(QuantityKind kind);

// Names and symbols are Windows-1252 text; symbols hold the worksheet markup
// "<sup>" and "</sup>" around exponents. An index outside the kind's table
// gives an empty text, and 0 for the numeric operations.
std::string UnitName(QuantityKind kind, UnitIndex index);
std::string UnitSymbol(QuantityKind kind, UnitIndex index);
extended ToBase(QuantityKind kind, UnitIndex index, extended value);
extended Convert(QuantityKind kind, UnitIndex source, UnitIndex target, extended value);

std::string UnitNameLong(UnitIndex index);
std::string UnitSymbolLong(UnitIndex index);
extended ToBaseLong(UnitIndex index, extended value);
extended ConvertLong(UnitIndex source, UnitIndex target, extended value);

std::string UnitNameSurf(UnitIndex index);
std::string UnitSymbolSurf(UnitIndex index);
extended ToBaseSurf(UnitIndex index, extended value);
extended ConvertSurf(UnitIndex source, UnitIndex target, extended value);

std::string UnitNameVol(UnitIndex index);
std::string UnitSymbolVol(UnitIndex index);
extended ToBaseVol(UnitIndex index, extended value);
extended ConvertVol(UnitIndex source, UnitIndex target, extended value);

std::string UnitNameCapa(UnitIndex index);
std::string UnitSymbolCapa(UnitIndex index);
extended ToBaseCapa(UnitIndex index, extended value);
extended ConvertCapa(UnitIndex source, UnitIndex target, extended value);

std::string UnitNameMass(UnitIndex index);
std::string UnitSymbolMass(UnitIndex index);
extended ToBaseMass(UnitIndex index, extended value);
extended ConvertMass(UnitIndex source, UnitIndex target, extended value);

}  // namespace Uconvers
