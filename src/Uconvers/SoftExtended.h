#pragma once

#include <bit>
#include <cstdint>

namespace Uconvers {

// The x87 80-bit format and its arithmetic at 64-bit precision, rounded to
// nearest with ties to even, in integer arithmetic alone: the worksheets'
// answers come out the same on processors without an x87 unit. It holds the
// two fields of the format as the x87 stores them: a 64-bit significand with
// its leading bit written out, and the sign bit above a 15-bit biased
// exponent. Only what the generation computes is offered: exact integers,
// products and sums, equality and the fields.
class SoftExtended {
public:
    constexpr SoftExtended() = default;

    // Exact: every int fits in 64 bits of significand.
    constexpr SoftExtended(int value) {  // NOLINT(google-explicit-constructor)
        if (value == 0) {
            return;
        }
        const bool negative = value < 0;
        const std::uint64_t magnitude =
            negative ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
        const int shift = std::countl_zero(magnitude);
        m_significand = magnitude << shift;
        m_signAndExponent =
            static_cast<std::uint16_t>((negative ? kSignBit : 0) | (kBias + 63 - shift));
    }

    // The value whose fields are these, as the x87 stores them; the encoding
    // is taken as it is (an unnormal one is the caller's fault).
    static constexpr SoftExtended FromBits(std::uint16_t signAndExponent,
                                           std::uint64_t significand) {
        SoftExtended value;
        value.m_signAndExponent = signAndExponent;
        value.m_significand = significand;
        return value;
    }

    constexpr std::uint64_t Significand() const { return m_significand; }
    constexpr std::uint16_t SignAndExponent() const { return m_signAndExponent; }

    // As the x87 unit computes them with its precision control at 64 bits:
    // one rounding of the exact result, subnormal results and overflow to
    // infinity included; NaN and the invalid operations give the NaNs the
    // unit gives.
    friend SoftExtended operator*(SoftExtended left, SoftExtended right);
    friend SoftExtended operator+(SoftExtended left, SoftExtended right);

    // Equal values: the two zeros are equal, a NaN equals nothing.
    friend bool operator==(SoftExtended left, SoftExtended right);

    static constexpr std::uint16_t kSignBit = 0x8000;
    static constexpr int kMaxExponent = 0x7FFF;  // infinities and NaN
    static constexpr int kBias = 16383;

private:
    std::uint64_t m_significand = 0;
    std::uint16_t m_signAndExponent = 0;
};

}  // namespace Uconvers
