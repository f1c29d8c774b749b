#include "HostExtended.h"

#include <bit>
#include <cstring>

namespace testsupport {

using Uconvers::BitsOf;
using Uconvers::ExtendedBits;
using Uconvers::ExtendedFromBits;

constexpr std::uint64_t kLeadingBit = std::uint64_t{1} << 63;

#if FICHE_X87_LONG_DOUBLE

extended ToExtended(long double value) {
    ExtendedBits bits{};
    std::memcpy(&bits.significand, &value, 8);
    std::memcpy(&bits.signAndExponent, reinterpret_cast<const char*>(&value) + 8, 2);
    return ExtendedFromBits(bits);
}

long double ToHost(extended value) {
    const ExtendedBits bits = BitsOf(value);
    long double host = 0;
    std::memcpy(&host, &bits.significand, 8);
    std::memcpy(reinterpret_cast<char*>(&host) + 8, &bits.signAndExponent, 2);
    return host;
}

#else

static_assert(LDBL_MANT_DIG == 113 && sizeof(long double) == 16,
              "a host long double of the x87 or the 128-bit IEEE format");

using Wide = unsigned __int128;
constexpr int kLostBits = 112 - 63;  // fraction bits beyond the 80-bit ones

extended ToExtended(long double value) {
    Wide bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto signAndExponent = static_cast<std::uint16_t>(bits >> 112);
    const Wide fraction = bits & ((Wide{1} << 112) - 1);
    const int exponent = signAndExponent & 0x7FFF;
    if (exponent == 0x7FFF) {
        std::uint64_t significand = kLeadingBit | static_cast<std::uint64_t>(fraction >> kLostBits);
        if (fraction != 0) {
            significand |= std::uint64_t{1} << 62;  // a NaN stays one
        }
        return ExtendedFromBits({signAndExponent, significand});
    }
    if (exponent == 0) {
        return ExtendedFromBits({signAndExponent, 0});  // no test goes below 2^-16382
    }
    // The kept 64 bits and the lost ones are each exact: their sum rounds once.
    const Wide whole = Wide{1} << 112 | fraction;
    const extended high =
        ExtendedFromBits({signAndExponent, static_cast<std::uint64_t>(whole >> kLostBits)});
    const auto low = static_cast<std::uint64_t>(whole & ((Wide{1} << kLostBits) - 1));
    if (low == 0) {
        return high;
    }
    const int shift = std::countl_zero(low);
    const int lowExponent = exponent - kLostBits - shift;
    const auto lowSign = static_cast<std::uint16_t>(signAndExponent & 0x8000);
    return high +
           ExtendedFromBits({static_cast<std::uint16_t>(lowSign | lowExponent), low << shift});
}

long double ToHost(extended value) {
    const ExtendedBits bits = BitsOf(value);
    // The leading bit is implicit in the wider format, and a subnormal 80-bit
    // value is a subnormal one there with the same bits.
    const Wide host = Wide{bits.signAndExponent} << 112 | Wide{bits.significand & ~kLeadingBit}
                                                              << kLostBits;
    long double result = 0;
    std::memcpy(&result, &host, sizeof result);
    return result;
}

#endif

extended FromFields(std::uint64_t significand, int exponent) {
    return ExtendedFromBits(
        {static_cast<std::uint16_t>(exponent + Uconvers::SoftExtended::kBias), significand});
}

extended Negated(extended value) {
    ExtendedBits bits = BitsOf(value);
    bits.signAndExponent ^= Uconvers::SoftExtended::kSignBit;
    return ExtendedFromBits(bits);
}

extended Neighbour(extended value, int direction) {
    ExtendedBits bits = BitsOf(value);
    if (direction > 0) {
        if (++bits.significand == 0) {
            bits.significand = kLeadingBit;
            ++bits.signAndExponent;
        }
    } else if (bits.significand-- == kLeadingBit) {
        bits.significand = ~std::uint64_t{0};
        --bits.signAndExponent;
    }
    return ExtendedFromBits(bits);
}

}  // namespace testsupport
