#pragma once

#include "Uconvers/Extended.h"

namespace Uconvers {

// The fractions that the unit tables and the draws multiply by. The negative
// powers of ten are each the 80-bit value nearest its decimal, written once
// here as its fields, so that every backend starts from the same bits; the
// half and the quarter are exact.
namespace constant_bits {
inline constexpr ExtendedBits kTenth{0x3FFB, 0xCCCCCCCCCCCCCCCD};
inline constexpr ExtendedBits kHundredth{0x3FF8, 0xA3D70A3D70A3D70A};
inline constexpr ExtendedBits kThousandth{0x3FF5, 0x83126E978D4FDF3B};
inline constexpr ExtendedBits kTenThousandth{0x3FF1, 0xD1B71758E219652C};
inline constexpr ExtendedBits kMillionth{0x3FEB, 0x8637BD05AF6C69B6};
inline constexpr ExtendedBits kBillionth{0x3FE1, 0x89705F4136B4A597};
inline constexpr ExtendedBits kHalf{0x3FFE, 0x8000000000000000};
inline constexpr ExtendedBits kQuarter{0x3FFD, 0x8000000000000000};
}  // namespace constant_bits

#if FICHE_X87_LONG_DOUBLE
// Each pattern is the compiler's own rounding of the decimal.
static_assert(LiteralBits(0.1L) == constant_bits::kTenth);
static_assert(LiteralBits(0.01L) == constant_bits::kHundredth);
static_assert(LiteralBits(0.001L) == constant_bits::kThousandth);
static_assert(LiteralBits(0.0001L) == constant_bits::kTenThousandth);
static_assert(LiteralBits(0.000001L) == constant_bits::kMillionth);
static_assert(LiteralBits(0.000000001L) == constant_bits::kBillionth);
static_assert(LiteralBits(0.5L) == constant_bits::kHalf);
static_assert(LiteralBits(0.25L) == constant_bits::kQuarter);
#endif

inline constexpr extended kTenth = ExtendedFromBits(constant_bits::kTenth);
inline constexpr extended kHundredth = ExtendedFromBits(constant_bits::kHundredth);
inline constexpr extended kThousandth = ExtendedFromBits(constant_bits::kThousandth);
inline constexpr extended kTenThousandth = ExtendedFromBits(constant_bits::kTenThousandth);
inline constexpr extended kMillionth = ExtendedFromBits(constant_bits::kMillionth);
inline constexpr extended kBillionth = ExtendedFromBits(constant_bits::kBillionth);
inline constexpr extended kHalf = ExtendedFromBits(constant_bits::kHalf);
inline constexpr extended kQuarter = ExtendedFromBits(constant_bits::kQuarter);

}  // namespace Uconvers
