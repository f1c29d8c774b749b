#pragma once

#include <cstdint>
#include <string>

#include "Uconvers/Extended.h"

// The software 80-bit type against the x87 unit, where long double is the
// x87 format: the same operand pairs, multiplied and added by both, compared
// bit for bit. Shared by the core's test (a sample) and the benchmark (the
// long run).
namespace testsupport {

#if FICHE_X87_LONG_DOUBLE

struct ComparisonResult {
    std::uint64_t pairs = 0;
    std::uint64_t mismatches = 0;
    std::string firstMismatch;  // operands and both results, in hexadecimal
};

// Compares products and sums of `pairs` pairs drawn from `seed`, with the
// x87 unit at 64-bit precision. Every tenth pair has a factor or multiplier
// of a unit table as one operand, every tenth a tie of the product or of
// the sum; the others spread over every magnitude class: the values the
// draws give, the middle range, the whole exponent range, subnormals, the
// edges of overflow and underflow, zeros, infinities and NaNs.
ComparisonResult CompareWithHardware(std::uint64_t seed, std::uint64_t pairs);

// The fields of a long double, and the long double of these fields.
Uconvers::ExtendedBits HardwareBits(long double value);
long double HardwareValue(Uconvers::ExtendedBits bits);

#endif

}  // namespace testsupport
