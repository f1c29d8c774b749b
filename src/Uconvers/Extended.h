#pragma once

#include <limits>

// The numeric type of every exercise value and conversion: the x87 80-bit
// format with a 64-bit significand. The worksheets' answers and exercise keys
// depend on its rounding, so a platform with another long double is refused.
using extended = long double;

static_assert(std::numeric_limits<extended>::digits == 64,
              "extended must be the 80-bit format with a 64-bit significand");
