#pragma once

#include <cstddef>
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

// Room for the longest text that WriteFixedPointText writes: a sign, 37
// integer digits (36 and a carry of the rounding), the point and 18 decimals.
inline constexpr std::size_t kFixedPointTextCapacity = 64;

// Writes FixedPointText(value) into `text` with 64-bit and 128-bit integer
// arithmetic on the significand, and returns its length; returns 0 for
// infinities, NaN and magnitudes of 10^36 or more, which only the decimal
// expansion writes (what `text` holds then is meaningless).
std::size_t WriteFixedPointText(extended value, char (&text)[kFixedPointTextCapacity]);

// FixedPointText through the exact decimal expansion of the binary value, for
// every value: many times slower, and the reference that the integer
// arithmetic is checked against.
std::string ExpandedFixedPointText(extended value);

}  // namespace Ufiche
