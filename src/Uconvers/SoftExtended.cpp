#include "Uconvers/SoftExtended.h"

#include <utility>

namespace Uconvers {
namespace {

using Wide = unsigned __int128;

constexpr std::uint64_t kLeadingBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
constexpr Wide kWideLeadingBit = Wide{1} << 127;

int ExponentField(SoftExtended value) {
    return value.SignAndExponent() & SoftExtended::kMaxExponent;
}

bool IsNegative(SoftExtended value) {
    return (value.SignAndExponent() & SoftExtended::kSignBit) != 0;
}

// Infinities carry the leading bit alone; every other significand under the
// largest exponent is a NaN.
bool IsNaN(SoftExtended value) {
    return ExponentField(value) == SoftExtended::kMaxExponent && (value.Significand() << 1) != 0;
}

bool IsInfinity(SoftExtended value) {
    return ExponentField(value) == SoftExtended::kMaxExponent && (value.Significand() << 1) == 0;
}

bool IsZero(SoftExtended value) {
    return ExponentField(value) == 0 && value.Significand() == 0;
}

std::uint16_t SignOf(bool negative) {
    return negative ? SoftExtended::kSignBit : 0;
}

SoftExtended Zero(bool negative) {
    return SoftExtended::FromBits(SignOf(negative), 0);
}

SoftExtended Infinity(bool negative) {
    return SoftExtended::FromBits(SignOf(negative) | SoftExtended::kMaxExponent, kLeadingBit);
}

// What the unit gives for an invalid operation (infinity times zero, the
// sum of opposite infinities): the negative quiet NaN it calls indefinite.
SoftExtended Indefinite() {
    return SoftExtended::FromBits(SoftExtended::kSignBit | SoftExtended::kMaxExponent,
                                  kLeadingBit | kQuietBit);
}

// With a NaN among the operands the unit gives that NaN made quiet; of two,
// a quiet one before a signalling one, then the larger significand, then
// the positive one: the same whichever operand comes first.
SoftExtended PropagateNaN(SoftExtended left, SoftExtended right) {
    SoftExtended chosen = left;
    if (!IsNaN(left)) {
        chosen = right;
    } else if (IsNaN(right)) {
        const bool leftQuiet = (left.Significand() & kQuietBit) != 0;
        const bool rightQuiet = (right.Significand() & kQuietBit) != 0;
        if (leftQuiet != rightQuiet) {
            chosen = rightQuiet ? right : left;
        } else if (right.Significand() > left.Significand() ||
                   (right.Significand() == left.Significand() && !IsNegative(right))) {
            chosen = right;
        }
    }
    return SoftExtended::FromBits(chosen.SignAndExponent(), chosen.Significand() | kQuietBit);
}

// A finite non-zero value as significand * 2^(exponent - bias - 63) with the
// leading bit of the significand set; a subnormal value gets an exponent
// below 1.
struct Unpacked {
    bool negative;
    int exponent;
    std::uint64_t significand;
};

Unpacked Unpack(SoftExtended value) {
    int exponent = ExponentField(value);
    std::uint64_t significand = value.Significand();
    if (exponent == 0) {
        const int shift = std::countl_zero(significand);
        significand <<= shift;
        exponent = 1 - shift;
    }
    return {IsNegative(value), exponent, significand};
}

int LeadingZeros(Wide bits) {
    const auto high = static_cast<std::uint64_t>(bits >> 64);
    return high != 0 ? std::countl_zero(high)
                     : 64 + std::countl_zero(static_cast<std::uint64_t>(bits));
}

// The exact value bits * 2^(exponent - bias - 127), the leading bit of `bits`
// at bit 127 (the lowest bit may stand for everything below it), rounded
// once to 64 significant bits, to nearest with ties to even. Below the
// smallest normal exponent the value is rounded to a multiple of the
// smallest subnormal, as the unit does with underflow masked; beyond the
// largest it becomes infinite.
SoftExtended RoundAndPack(bool negative, int exponent, Wide bits) {
    if (exponent >= SoftExtended::kMaxExponent) {
        return Infinity(negative);
    }
    const int shift = exponent >= 1 ? 64 : 65 - exponent;
    if (shift > 128) {
        return Zero(negative);  // below half the smallest subnormal
    }
    const Wide half = Wide{1} << (shift - 1);
    const Wide remainder = shift == 128 ? bits : bits & ((half << 1) - 1);
    Wide kept = shift == 128 ? 0 : bits >> shift;
    if (remainder > half || (remainder == half && (kept & 1) != 0)) {
        ++kept;
    }
    int field = exponent >= 1 ? exponent : 0;
    if (kept >> 64 != 0) {  // rounded up to the next power of two
        kept >>= 1;
        ++field;
        if (field >= SoftExtended::kMaxExponent) {
            return Infinity(negative);
        }
    } else if (field == 0 && (kept & kLeadingBit) != 0) {
        field = 1;  // a subnormal rounded up to the smallest normal
    }
    return SoftExtended::FromBits(static_cast<std::uint16_t>(SignOf(negative) | field),
                                  static_cast<std::uint64_t>(kept));
}

}  // namespace

SoftExtended operator*(SoftExtended left, SoftExtended right) {
    if (IsNaN(left) || IsNaN(right)) {
        return PropagateNaN(left, right);
    }
    const bool negative = IsNegative(left) != IsNegative(right);
    if (IsInfinity(left) || IsInfinity(right)) {
        return IsZero(left) || IsZero(right) ? Indefinite() : Infinity(negative);
    }
    if (IsZero(left) || IsZero(right)) {
        return Zero(negative);
    }
    const Unpacked a = Unpack(left);
    const Unpacked b = Unpack(right);
    // Two significands of [2^63, 2^64) give a product of [2^126, 2^128).
    Wide product = Wide{a.significand} * b.significand;
    int exponent = a.exponent + b.exponent - SoftExtended::kBias + 1;
    if ((product & kWideLeadingBit) == 0) {
        product <<= 1;
        --exponent;
    }
    return RoundAndPack(negative, exponent, product);
}

SoftExtended operator+(SoftExtended left, SoftExtended right) {
    if (IsNaN(left) || IsNaN(right)) {
        return PropagateNaN(left, right);
    }
    if (IsInfinity(left) || IsInfinity(right)) {
        if (IsInfinity(left) && IsInfinity(right) && IsNegative(left) != IsNegative(right)) {
            return Indefinite();
        }
        return IsInfinity(left) ? left : right;
    }
    if (IsZero(left) || IsZero(right)) {
        if (IsZero(left) && IsZero(right)) {
            return Zero(IsNegative(left) && IsNegative(right));
        }
        return IsZero(left) ? right : left;
    }
    Unpacked a = Unpack(left);
    Unpacked b = Unpack(right);
    if (b.exponent > a.exponent || (b.exponent == a.exponent && b.significand > a.significand)) {
        std::swap(a, b);
    }
    // Both significands at bits 63 to 126: 63 bits below the kept ones hold
    // the shifted-out part of the smaller one, and bit 0 notes whatever falls
    // out beyond, which is all that rounding to nearest needs to know.
    const Wide larger = Wide{a.significand} << 63;
    Wide smaller = Wide{b.significand} << 63;
    const int distance = a.exponent - b.exponent;
    if (distance >= 127) {
        smaller = 1;
    } else if (distance > 0) {
        const bool lost = (smaller & ((Wide{1} << distance) - 1)) != 0;
        smaller = (smaller >> distance) | (lost ? 1 : 0);
    }
    Wide sum = 0;
    int exponent = a.exponent + 1;
    if (a.negative == b.negative) {
        sum = larger + smaller;
        if ((sum & kWideLeadingBit) == 0) {
            sum <<= 1;
            --exponent;
        }
    } else {
        sum = larger - smaller;
        if (sum == 0) {
            return Zero(false);  // exact cancellation gives +0 when rounding to nearest
        }
        const int shift = LeadingZeros(sum);
        sum <<= shift;
        exponent -= shift;
    }
    return RoundAndPack(a.negative, exponent, sum);
}

bool operator==(SoftExtended left, SoftExtended right) {
    if (IsNaN(left) || IsNaN(right)) {
        return false;
    }
    if (IsZero(left) && IsZero(right)) {
        return true;
    }
    return left.SignAndExponent() == right.SignAndExponent() &&
           left.Significand() == right.Significand();
}

}  // namespace Uconvers
