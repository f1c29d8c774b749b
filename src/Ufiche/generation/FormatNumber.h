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

}  // namespace Ufiche
