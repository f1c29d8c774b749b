#pragma once

#include <cstdint>

#include "Uconvers/Extended.h"

// The core's extended next to the host's long double, for tests that write
// values as long double literals or read them with the C library's exact
// printf. Where long double is the x87 format the fields are copied; where
// it is the 128-bit IEEE format (aarch64) a value is rounded once to 64
// significant bits, to nearest with ties to even, and widened back exactly.
namespace testsupport {

extended ToExtended(long double value);
long double ToHost(extended value);

// significand * 2^(exponent - 63), the leading bit of the significand set:
// the value with these fields, exactly.
extended FromFields(std::uint64_t significand, int exponent);

extended Negated(extended value);

// The neighbour of a positive normal value one unit of the last place
// towards zero (-1) or away from it (+1).
extended Neighbour(extended value, int direction);

}  // namespace testsupport
