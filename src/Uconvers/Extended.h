#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "Uconvers/SoftExtended.h"

// The numeric type of every exercise value and conversion: the x87 80-bit
// format with a 64-bit significand, rounded to nearest with ties to even. The
// worksheets' answers and exercise keys depend on its rounding. Where long
// double has that format (x86 with GCC, Clang or MinGW) the processor
// computes it, unless the build asks for the software type
// (FICHE_SOFTWARE_EXTENDED); everywhere else (ARM, MSVC, WebAssembly) the
// software type stands in.
#if LDBL_MANT_DIG == 64
#define FICHE_X87_LONG_DOUBLE 1
#else
#define FICHE_X87_LONG_DOUBLE 0
#endif

#if FICHE_X87_LONG_DOUBLE && !defined(FICHE_SOFTWARE_EXTENDED)
#define FICHE_HARDWARE_EXTENDED 1
using extended = long double;
#else
#define FICHE_HARDWARE_EXTENDED 0
using extended = Uconvers::SoftExtended;
#endif

namespace Uconvers {

// An extended as the x87 stores it: the sign bit above the 15-bit biased
// exponent, and the 64-bit significand with its leading bit written out.
struct ExtendedBits {
    std::uint16_t signAndExponent;
    std::uint64_t significand;
    friend constexpr bool operator==(const ExtendedBits&, const ExtendedBits&) = default;
};

#if FICHE_HARDWARE_EXTENDED

static_assert(sizeof(long double) >= 10);

inline ExtendedBits BitsOf(extended value) {
    // The x87 format in memory, on little-endian x86: the significand in the
    // first 8 bytes, then the sign and exponent.
    unsigned char bytes[10];
    std::memcpy(bytes, &value, sizeof bytes);
    ExtendedBits bits{};
    std::memcpy(&bits.significand, bytes, 8);
    std::memcpy(&bits.signAndExponent, bytes + 8, 2);
    return bits;
}

// The value of these fields. At compile time, for the constants, only
// finite normal values: the significand scaled by powers of two, which is
// exact.
constexpr extended ExtendedFromBits(ExtendedBits bits) {
    if (std::is_constant_evaluated()) {
        long double value = static_cast<long double>(bits.significand);
        int exponent = (bits.signAndExponent & 0x7FFF) - SoftExtended::kBias - 63;
        for (; exponent > 0; --exponent) {
            value *= 2;
        }
        for (; exponent < 0; ++exponent) {
            value *= 0.5L;
        }
        return (bits.signAndExponent & SoftExtended::kSignBit) != 0 ? -value : value;
    }
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &bits.significand, 8);
    std::memcpy(bytes + 8, &bits.signAndExponent, 2);
    long double value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

#else

constexpr ExtendedBits BitsOf(extended value) {
    return {value.SignAndExponent(), value.Significand()};
}

constexpr extended ExtendedFromBits(ExtendedBits bits) {
    return SoftExtended::FromBits(bits.signAndExponent, bits.significand);
}

#endif

#if FICHE_X87_LONG_DOUBLE
// The fields of a positive long double constant as the compiler rounded it,
// found by scaling with powers of two (exact), so that a bit pattern written
// in the code can be checked against the compiler's own literal.
consteval ExtendedBits LiteralBits(long double literal) {
    int exponent = SoftExtended::kBias + 63;
    while (literal < 9223372036854775808.0L) {  // 2^63
        literal *= 2;
        --exponent;
    }
    while (literal >= 18446744073709551616.0L) {  // 2^64
        literal *= 0.5L;
        ++exponent;
    }
    return {static_cast<std::uint16_t>(exponent), static_cast<std::uint64_t>(literal)};
}
#endif

}  // namespace Uconvers
