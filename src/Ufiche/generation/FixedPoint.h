#pragma once

#include <string>

#include "Uconvers/Extended.h"

namespace Ufiche {

// The value in fixed-point notation with exactly 18 decimals and no exponent:
// a "-" for a negative value (negative zero included), the integer digits,
// ".", 18 decimal digits. The digits are those of the exact binary value
// rounded to nearest, ties to even, at 18 significant digits when the
// magnitude is 10 or more and at 17 decimals below 10; every place after the
// rounding position is "0". Infinities and NaN give "INF", "-INF" and "NAN".
std::string FixedPointText(extended value);

}  // namespace Ufiche
