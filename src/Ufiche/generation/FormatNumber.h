#pragma once

#include <string>

#include "Uconvers/Uconvers.h"

namespace Ufiche {

// Worksheet number text: plain decimals with a point, no exponent, no
// superfluous zeros, digits grouped by three on both sides of the point
// ("1 234 567.891", "0.000 1").
std::string FormatNumber(extended value);

// The grouped text of a value converted from the source unit into the target
// unit of its kind.
std::string FormatConverted(Uconvers::QuantityKind kind, Uconvers::UnitIndex source,
                            Uconvers::UnitIndex target, extended value);
std::string FormatConvertedLong(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value);
std::string FormatConvertedSurf(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value);
std::string FormatConvertedVol(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                               extended value);
std::string FormatConvertedCapa(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value);
std::string FormatConvertedMass(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value);

// The decimal separator a worksheet shows its numbers with. The texts above
// always hold the point, and so do the exercise keys made from them.
enum class DecimalMark { Point, Comma };

// A number text of the operations above as a worksheet shows it: with a
// comma in place of the point when asked, the groups unchanged ("0,000 037").
std::string WithDecimalMark(std::string numberText, DecimalMark mark);

}  // namespace Ufiche
