#include "Uconvers/SoftExtended.h"

#include <gtest/gtest.h>

#include "ExtendedComparison.h"
#include "HostExtended.h"
#include "Uconvers/ExtendedConstants.h"
#include "Uconvers/Uconvers.h"
#if FICHE_X87_LONG_DOUBLE
#include "Uconvers/X87Precision.h"
#endif

namespace {

using Uconvers::SoftExtended;

Uconvers::ExtendedBits SoftBits(SoftExtended value) {
    return {value.SignAndExponent(), value.Significand()};
}

long double ToHost(SoftExtended value) {
    return testsupport::ToHost(Uconvers::ExtendedFromBits(SoftBits(value)));
}

// On every processor.
TEST(SoftExtended, IntegersAreExactAndANaNEqualsNothing) {
    for (const int value : {1, 7, 10, 990000000, -3, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(ToHost(SoftExtended(value)), static_cast<long double>(value)) << value;
    }
    EXPECT_TRUE(SoftExtended(0) == SoftExtended::FromBits(SoftExtended::kSignBit, 0));
    const SoftExtended nan = SoftExtended::FromBits(0x7FFF, 0xC000000000000000);
    EXPECT_FALSE(nan == nan);
}

#if FICHE_X87_LONG_DOUBLE

using testsupport::HardwareBits;
using testsupport::HardwareValue;

SoftExtended Soft(Uconvers::ExtendedBits bits) {
    return SoftExtended::FromBits(bits.signAndExponent, bits.significand);
}

void ExpectSameAsHardware(Uconvers::ExtendedBits left, Uconvers::ExtendedBits right) {
    const Uconvers::ExtendedPrecisionScope precision;
    const long double a = HardwareValue(left);
    const long double b = HardwareValue(right);
    EXPECT_EQ(SoftBits(Soft(left) * Soft(right)), HardwareBits(a * b)) << "product";
    EXPECT_EQ(SoftBits(Soft(left) + Soft(right)), HardwareBits(a + b)) << "sum";
    EXPECT_EQ(Soft(left) == Soft(right), a == b);
}

// The edges that a random sample meets rarely: results that cancel,
// underflow to a subnormal or to zero, round up into the next binade or to
// the smallest normal, overflow; and the invalid operations.
TEST(SoftExtended, EdgeCasesGiveTheBitsOfTheX87Unit) {
    constexpr std::uint64_t kOnes = ~std::uint64_t{0};
    constexpr std::uint64_t kLead = std::uint64_t{1} << 63;
    const struct {
        Uconvers::ExtendedBits left;
        Uconvers::ExtendedBits right;
    } cases[] = {
        {{0x3FFF, kLead}, {0xBFFF, kLead}},                   // 1 + -1: +0
        {{0x8000, 0}, {0x8000, 0}},                           // -0 + -0
        {{0x0001, kLead}, {0x3FFE, kLead}},                   // smallest normal halved
        {{0x0000, 1}, {0x3FFE, kLead}},                       // smallest subnormal halved: tie to 0
        {{0x0000, 3}, {0x3FFE, kLead}},                       // 1.5 units: tie to 2
        {{0x0001, kOnes}, {0x3FFF, kOnes}},                   // rounds up across the binade
        {{0x0000, kOnes >> 1}, {0x3FFF, kLead | 1}},          // subnormal up to the smallest normal
        {{0x7FFE, kOnes}, {0x4000, kLead}},                   // overflow
        {{0x7FFE, kOnes}, {0x7FFE, kOnes}},                   // overflow of the sum too
        {{0x3FFF, kOnes}, {0x3FBF, kLead}},                   // 2 - 2^-64: the sum ties to even
        {{0x3FFF, kLead}, {0x3FBF, kLead | 1}},               // 1 + 2^-64 + 2^-127: not a tie, up
        {{0x3FFF, kLead}, {0xBFBE, kLead | 1}},               // 1 - 2^-65 - 2^-128: not a tie
        {{0x7FFF, kLead}, {0x0000, 0}},                       // infinity * 0: invalid
        {{0x7FFF, kLead}, {0xFFFF, kLead}},                   // inf + -inf: invalid
        {{0x7FFF, kLead | 5}, {0xFFFF, kLead | 5}},           // two signalling NaNs, same payload
        {{0x7FFF, kLead | 5}, {0xFFFF, 0xC000000000000001}},  // signalling and quiet
        {{0x3FFF, kLead}, {0x7FFF, 0xC000000000000009}},      // number and NaN
        {{0x4030, kLead | 1}, {0xC030, kLead}},               // cancellation to one unit
        {{0x4030, kLead}, {0xBFCF, kOnes}},                   // cancellation that borrows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.left.signAndExponent << ":" << c.left.significand << " and "
                     << c.right.signAndExponent << ":" << c.right.significand);
        ExpectSameAsHardware(c.left, c.right);
        ExpectSameAsHardware(c.right, c.left);
    }
}

// A million pairs of every magnitude class, one operand in ten a factor or
// multiplier of a unit table, one in ten a tie (the hundred-million run is
// the benchmark's).
TEST(SoftExtended, AMillionProductsAndSumsGiveTheBitsOfTheX87Unit) {
    const auto result = testsupport::CompareWithHardware(20260523, 1000000);
    EXPECT_EQ(result.pairs, 1000000u);
    EXPECT_EQ(result.mismatches, 0u) << result.firstMismatch;
}

#endif

}  // namespace
