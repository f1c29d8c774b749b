#include "ExtendedComparison.h"

#if FICHE_X87_LONG_DOUBLE

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "Uconvers/SoftExtended.h"
#include "Uconvers/Uconvers.h"
#include "Uconvers/X87Precision.h"

namespace testsupport {

using Uconvers::ExtendedBits;
using Uconvers::SoftExtended;

ExtendedBits HardwareBits(long double value) {
    ExtendedBits bits{};
    std::memcpy(&bits.significand, &value, 8);
    std::memcpy(&bits.signAndExponent, reinterpret_cast<const char*>(&value) + 8, 2);
    return bits;
}

long double HardwareValue(ExtendedBits bits) {
    long double value = 0;
    std::memcpy(&value, &bits.significand, 8);
    std::memcpy(reinterpret_cast<char*>(&value) + 8, &bits.signAndExponent, 2);
    return value;
}

namespace {

constexpr std::uint64_t kLeadingBit = std::uint64_t{1} << 63;
constexpr int kBias = SoftExtended::kBias;

// Every factor and multiplier of the unit tables, as the core holds them.
std::vector<ExtendedBits> TableConstants() {
    std::vector<ExtendedBits> constants;
    for (const auto kind : {Uconvers::QuantityKind::Length, Uconvers::QuantityKind::Area,
                            Uconvers::QuantityKind::Volume, Uconvers::QuantityKind::Capacity,
                            Uconvers::QuantityKind::Mass}) {
        for (int index = 0; index < Uconvers::UnitCount(kind); ++index) {
            constants.push_back(Uconvers::BitsOf(Uconvers::ToBase(kind, index, 1)));
            constants.push_back(Uconvers::BitsOf(Uconvers::Convert(kind, 3, index, 1)));
        }
    }
    return constants;
}

class OperandSource {
public:
    explicit OperandSource(std::uint64_t seed) : m_random(seed), m_constants(TableConstants()) {}

    std::uint64_t Bits() { return m_random(); }
    int Below(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }

    ExtendedBits Normal(int low, int high) {
        const int exponent = low + Below(high - low + 1);
        return {static_cast<std::uint16_t>((Below(2) << 15) | exponent), Bits() | kLeadingBit};
    }

    ExtendedBits Constant() {
        return m_constants[static_cast<std::size_t>(Below(static_cast<int>(m_constants.size())))];
    }

    // One operand of a magnitude class chosen at random.
    ExtendedBits Any() {
        switch (Below(10)) {
            case 0: {  // what the draws give: integers, tenths, halves, quarters
                const long double drawn[] = {static_cast<long double>(Below(990000000) + 1),
                                             (Below(9) * 0.1L + Below(100)) + 0.1L,
                                             (Below(50) * 2 + 1) * 0.5L,
                                             (Below(100) * 2 + 1) * 0.25L};
                return HardwareBits(drawn[Below(4)]);
            }
            case 1:
            case 2:
            case 3:
                return Normal(kBias - 80, kBias + 80);
            case 4:
                return Normal(1, 0x7FFE);
            case 5:  // subnormal
                return {static_cast<std::uint16_t>(Below(2) << 15), (Bits() >> 1) >> Below(63)};
            case 6:  // near the smallest normal exponent, where products underflow
                return Normal(1, 40);
            case 7:  // near the largest, where products overflow
                return Normal(0x7FFE - 40, 0x7FFE);
            case 8: {  // significands of runs of ones or a single bit: carries
                const std::uint64_t run = ~std::uint64_t{0} << Below(64);
                const ExtendedBits normal = Normal(kBias - 80, kBias + 80);
                return {normal.signAndExponent, Below(2) == 0 ? run : kLeadingBit | (run >> 1)};
            }
            default: {  // zeros, infinities, NaNs quiet and signalling
                const auto sign = static_cast<std::uint16_t>(Below(2) << 15);
                switch (Below(4)) {
                    case 0:
                        return {sign, 0};
                    case 1:
                        return {static_cast<std::uint16_t>(sign | 0x7FFF), kLeadingBit};
                    default:
                        return {static_cast<std::uint16_t>(sign | 0x7FFF),
                                kLeadingBit | (Bits() >> Below(2)) | 1};
                }
            }
        }
    }

    // A pair whose exact product or sum lies halfway between two 80-bit values.
    std::pair<ExtendedBits, ExtendedBits> Tie() {
        if (Below(2) == 0) {
            // a * 1.5: the bits below the kept 64 are 2^63 exactly when a is
            // odd (product below 2^127) or 2 modulo 4 (above).
            std::uint64_t a = Bits() | kLeadingBit;
            const bool high = a >= 0xAAAAAAAAAAAAAAABu;
            a = high ? (a & ~std::uint64_t{3}) | 2 : a | 1;
            const ExtendedBits left = Normal(kBias - 60, kBias + 60);
            return {{left.signAndExponent, a},
                    {static_cast<std::uint16_t>(kBias), 0xC000000000000000}};
        }
        // a + half a unit of its last place.
        const ExtendedBits left = Normal(kBias - 60, kBias + 60);
        const int exponent = (left.signAndExponent & 0x7FFF) - 64;
        return {
            left,
            {static_cast<std::uint16_t>((left.signAndExponent & 0x8000) | exponent), kLeadingBit}};
    }

private:
    std::mt19937_64 m_random;
    std::vector<ExtendedBits> m_constants;
};

// Equal bits; the two backends must agree on NaN payloads too.
bool Same(ExtendedBits hardware, SoftExtended software) {
    return hardware.signAndExponent == software.SignAndExponent() &&
           hardware.significand == software.Significand();
}

std::string Describe(const char* operation, ExtendedBits left, ExtendedBits right,
                     ExtendedBits hardware, SoftExtended software) {
    char text[200];
    std::snprintf(
        text, sizeof text, "%04X:%016llX %s %04X:%016llX: x87 %04X:%016llX, software %04X:%016llX",
        left.signAndExponent, static_cast<unsigned long long>(left.significand), operation,
        right.signAndExponent, static_cast<unsigned long long>(right.significand),
        hardware.signAndExponent, static_cast<unsigned long long>(hardware.significand),
        software.SignAndExponent(), static_cast<unsigned long long>(software.Significand()));
    return text;
}

}  // namespace

ComparisonResult CompareWithHardware(std::uint64_t seed, std::uint64_t pairs) {
    const Uconvers::ExtendedPrecisionScope precision;
    OperandSource source(seed);
    ComparisonResult result;
    for (; result.pairs < pairs; ++result.pairs) {
        std::pair<ExtendedBits, ExtendedBits> operands;
        const int shape = static_cast<int>(result.pairs % 10);
        if (shape == 0) {
            operands = {source.Any(), source.Constant()};
            if (source.Below(2) == 0) {
                std::swap(operands.first, operands.second);
            }
        } else if (shape == 5) {
            operands = source.Tie();
        } else {
            operands = {source.Any(), source.Any()};
        }
        const auto [left, right] = operands;
        const long double hardLeft = HardwareValue(left);
        const long double hardRight = HardwareValue(right);
        const SoftExtended softLeft =
            SoftExtended::FromBits(left.signAndExponent, left.significand);
        const SoftExtended softRight =
            SoftExtended::FromBits(right.signAndExponent, right.significand);

        const ExtendedBits product = HardwareBits(hardLeft * hardRight);
        const SoftExtended softProduct = softLeft * softRight;
        const ExtendedBits sum = HardwareBits(hardLeft + hardRight);
        const SoftExtended softSum = softLeft + softRight;
        const bool equal = (hardLeft == hardRight) == (softLeft == softRight);
        if (!Same(product, softProduct) || !Same(sum, softSum) || !equal) {
            if (result.mismatches++ == 0) {
                result.firstMismatch =
                    !Same(product, softProduct) ? Describe("*", left, right, product, softProduct)
                    : !Same(sum, softSum)       ? Describe("+", left, right, sum, softSum)
                                                : Describe("==", left, right, {}, {});
            }
        }
    }
    return result;
}

}  // namespace testsupport

#endif
