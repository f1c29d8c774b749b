#include "Ufiche/generation/FixedPoint.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Ufiche {
namespace {

constexpr int kDecimals = 18;
constexpr int kSignificantDigits = 18;
constexpr int kDecimalsBelowTen = 17;

// A non-negative integer in base 10^9, least significant limb first: just
// enough arithmetic to expand an 80-bit value exactly.
class BigDecimal {
public:
    explicit BigDecimal(std::uint64_t value) {
        do {
            m_limbs.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : m_limbs) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    // Multiplies by base^exponent in steps that keep every product in 64 bits.
    void MultiplyByPower(std::uint32_t base, std::uint32_t stepFactor, int stepExponent,
                         int exponent) {
        for (; exponent >= stepExponent; exponent -= stepExponent) {
            MultiplyBy(stepFactor);
        }
        for (; exponent > 0; --exponent) {
            MultiplyBy(base);
        }
    }

    std::string Digits() const {
        std::string text = std::to_string(m_limbs.back());
        for (auto it = m_limbs.rbegin() + 1; it != m_limbs.rend(); ++it) {
            const std::string limb = std::to_string(*it);
            text.append(9 - limb.size(), '0');
            text += limb;
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint32_t> m_limbs;
};

struct ExactDecimal {
    std::string integerDigits;   // no leading zeros; "0" below 1
    std::string fractionDigits;  // every digit of the exact binary fraction
};

// The exact decimal expansion of significand * 2^binaryExponent. A value
// m * 2^-k equals m * 5^k / 10^k, so the fraction has exactly k digits.
ExactDecimal ExpandExactly(std::uint64_t significand, int binaryExponent) {
    BigDecimal digits(significand);
    if (binaryExponent >= 0) {
        digits.MultiplyByPower(2, 1u << 29, 29, binaryExponent);
        return {digits.Digits(), ""};
    }
    const auto fractionLength = static_cast<std::size_t>(-binaryExponent);
    digits.MultiplyByPower(5, 1220703125u, 13, -binaryExponent);  // 5^13
    std::string all = digits.Digits();
    if (all.size() <= fractionLength) {
        all.insert(0, fractionLength + 1 - all.size(), '0');
    }
    const std::size_t integerLength = all.size() - fractionLength;
    std::string integerDigits = all.substr(0, integerLength);
    const auto firstNonZero = integerDigits.find_first_not_of('0');
    integerDigits = firstNonZero == std::string::npos ? "0" : integerDigits.substr(firstNonZero);
    return {integerDigits, all.substr(integerLength)};
}

// Rounds the digit string at `keep` digits, to nearest with ties to even, and
// returns the kept digits; a carry out of the first digit lengthens them.
std::string RoundDigits(const std::string& digits, std::size_t keep) {
    std::string kept = digits.substr(0, keep);
    const std::string rest = digits.substr(keep);
    bool roundUp = false;
    if (!rest.empty() && rest[0] >= '5') {
        const bool beyondHalf =
            rest[0] > '5' || rest.find_first_not_of('0', 1) != std::string::npos;
        const bool lastKeptOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
        roundUp = beyondHalf || lastKeptOdd;
    }
    if (roundUp) {
        std::size_t position = kept.size();
        while (position > 0 && kept[position - 1] == '9') {
            kept[--position] = '0';
        }
        if (position == 0) {
            kept.insert(0, 1, '1');
        } else {
            ++kept[position - 1];
        }
    }
    return kept;
}

// ---- The integer path ----

using Wide = unsigned __int128;

// 10^0 .. 10^38, the powers of ten that 128 bits hold.
constexpr std::array<Wide, 39> kPowersOfTen = [] {
    std::array<Wide, 39> powers{};
    Wide power = 1;
    for (auto& entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// 5^0 .. 5^17: a 64-bit significand times any of them fits in 128 bits.
constexpr std::array<std::uint64_t, 18> kPowersOfFive = [] {
    std::array<std::uint64_t, 18> powers{};
    std::uint64_t power = 1;
    for (auto& entry : powers) {
        entry = power;
        power *= 5;
    }
    return powers;
}();

// The largest magnitude the integer path writes has 36 integer digits, so
// that the divisor 10^(digits - 18) stays within 64 bits.
constexpr int kMaxIntegerDigits = 36;

// An extended as its fields (the x87 format stores the leading bit of the
// significand). A finite magnitude is significand * 2^exponent.
struct BinaryValue {
    std::uint64_t significand;
    int biasedExponent;
    bool negative;

    int Exponent() const { return biasedExponent - 16383 - 63; }
    // Orders finite magnitudes as their values, denormals included, as long
    // as the leading bit of a normal significand is set.
    Wide OrderKey() const {
        return Wide{static_cast<std::uint64_t>(biasedExponent)} << 64 | significand;
    }
};

BinaryValue Decompose(extended value) {
    const Uconvers::ExtendedBits bits = Uconvers::BitsOf(value);
    return {bits.significand, bits.signAndExponent & 0x7FFF, (bits.signAndExponent & 0x8000) != 0};
}

// Far below the last kept decimal every value rounds to zero: from 10^-19
// down, the text is written without any arithmetic (and the expansion is
// spared thousands of digits).
constexpr Uconvers::ExtendedBits kRoundsToZeroBits{0x3FBF, 0xEC1E4A7DB69561A5};  // 10^-19
#if FICHE_X87_LONG_DOUBLE
static_assert(Uconvers::LiteralBits(1e-19L) == kRoundsToZeroBits);
#endif
const Wide kRoundsToZero =
    Wide{kRoundsToZeroBits.signAndExponent} << 64 | kRoundsToZeroBits.significand;
const Wide kTen = Decompose(extended{10}).OrderKey();

// value / 2^shift rounded to nearest, ties to even; 0 < shift < 128.
std::uint64_t ShiftRoundingToEven(Wide value, int shift) {
    const Wide half = Wide{1} << (shift - 1);
    const Wide remainder = value & ((half << 1) - 1);
    auto quotient = static_cast<std::uint64_t>(value >> shift);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
        ++quotient;
    }
    return quotient;
}

// value / divisor rounded to nearest, ties to even.
std::uint64_t DivideRoundingToEven(Wide value, std::uint64_t divisor) {
    const Wide wideQuotient = value / divisor;
    const auto remainder = static_cast<std::uint64_t>(value - wideQuotient * divisor);
    auto quotient = static_cast<std::uint64_t>(wideQuotient);
    const std::uint64_t other = divisor - remainder;  // distance to the next multiple
    if (remainder > other || (remainder == other && (quotient & 1) != 0)) {
        ++quotient;
    }
    return quotient;
}

// The count of decimal digits of a value of 1 or more: its bit length times
// log10(2) (1233 / 4096) gives the count, or one less.
int DecimalDigitCount(Wide value) {
    const auto high = static_cast<std::uint64_t>(value >> 64);
    const int bits = high != 0 ? 128 - std::countl_zero(high)
                               : 64 - std::countl_zero(static_cast<std::uint64_t>(value));
    const int estimate = bits * 1233 >> 12;
    return estimate + (value >= kPowersOfTen[static_cast<std::size_t>(estimate)] ? 1 : 0);
}

// "00" to "99", so that digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the 8 digits of a value below 10^8 at `out`. The halves and
// quarters are independent, so the divisions do not wait on one another.
void WriteEightDigits(std::uint32_t value, char* out) {
    const std::uint32_t high = value / 10000;
    const std::uint32_t low = value % 10000;
    std::memcpy(out, &kDigitPairs[2 * (high / 100)], 2);
    std::memcpy(out + 2, &kDigitPairs[2 * (high % 100)], 2);
    std::memcpy(out + 4, &kDigitPairs[2 * (low / 100)], 2);
    std::memcpy(out + 6, &kDigitPairs[2 * (low % 100)], 2);
}

// Writes `value` so that its digits end just before `end`, with leading zeros
// up to `minimumDigits` digits; returns the first digit.
char* WriteDigitsBefore(char* end, std::uint64_t value, int minimumDigits) {
    char* first = end;
    while (value >= 100000000) {
        first -= 8;
        WriteEightDigits(static_cast<std::uint32_t>(value % 100000000), first);
        value /= 100000000;
    }
    while (value >= 100) {
        first -= 2;
        std::memcpy(first, &kDigitPairs[static_cast<std::size_t>(2 * (value % 100))], 2);
        value /= 100;
    }
    if (value >= 10) {
        first -= 2;
        std::memcpy(first, &kDigitPairs[static_cast<std::size_t>(2 * value)], 2);
    } else {
        *--first = static_cast<char>('0' + value);
    }
    while (end - first < minimumDigits) {
        *--first = '0';
    }
    return first;
}

}  // namespace

std::size_t WriteFixedPointText(extended value, char (&text)[kFixedPointTextCapacity]) {
    // The tests run on the fields of the value, which spares the x87 unit.
    const BinaryValue binary = Decompose(value);
    if (binary.biasedExponent == 0x7FFF) {
        return 0;  // infinities and NaN
    }
    if (binary.biasedExponent != 0 && (binary.significand >> 63) == 0) {
        return 0;  // an unnormal encoding, which arithmetic never yields
    }
    if (binary.Exponent() > 56) {
        return 0;  // 2^120 and beyond, above 10^36
    }
    char* out = text;
    if (binary.negative) {
        *out++ = '-';
    }
    if (binary.OrderKey() < kRoundsToZero) {
        *out++ = '0';
        *out++ = '.';
        std::memset(out, '0', kDecimals);
        return static_cast<std::size_t>(out + kDecimals - text);
    }
    const int exponent = binary.Exponent();

    // The value is rounded to an integer count of units of its last kept
    // place: `rounded` holds the kept digits, the last `keptDecimals` of them
    // after the point, followed by `integerZeros` zeros before the point.
    std::uint64_t rounded = 0;
    int keptDecimals = 0;
    int integerZeros = 0;
    if (binary.OrderKey() < kTen) {
        // significand * 2^exponent * 10^17 = significand * 5^17 * 2^(exponent + 17);
        // above 10^-19 the shift lies between 43 and 111.
        keptDecimals = kDecimalsBelowTen;
        rounded = ShiftRoundingToEven(Wide{binary.significand} * kPowersOfFive[17],
                                      -(exponent + kDecimalsBelowTen));
    } else {
        const Wide integer = exponent >= 0 ? Wide{binary.significand} << exponent
                                           : Wide{binary.significand >> -exponent};
        const int integerDigits = DecimalDigitCount(integer);
        if (integerDigits > kMaxIntegerDigits) {
            return 0;
        }
        if (integerDigits <= kSignificantDigits) {
            // Below 10^18 the exponent is at most -4, so the shift is positive.
            keptDecimals = kSignificantDigits - integerDigits;
            rounded = ShiftRoundingToEven(Wide{binary.significand} * kPowersOfFive[keptDecimals],
                                          -(exponent + keptDecimals));
        } else {
            // From 10^18 on, the value is divided by 10^integerZeros; below 2^64
            // the exponent is -4 to -1 and integerZeros at most 2, so the
            // divisor stays within 64 bits.
            integerZeros = integerDigits - kSignificantDigits;
            const Wide numerator = Wide{binary.significand} << std::max(exponent, 0);
            const auto divisor =
                static_cast<std::uint64_t>(kPowersOfTen[integerZeros] << std::max(-exponent, 0));
            rounded = DivideRoundingToEven(numerator, divisor);
        }
    }

    char digits[24];
    char* const digitsEnd = digits + sizeof digits;
    const char* const firstDigit = WriteDigitsBefore(digitsEnd, rounded, keptDecimals + 1);
    const auto integerLength = static_cast<std::size_t>(digitsEnd - firstDigit - keptDecimals);
    std::memcpy(out, firstDigit, integerLength);
    out += integerLength;
    std::memset(out, '0', static_cast<std::size_t>(integerZeros));
    out += integerZeros;
    *out++ = '.';
    std::memcpy(out, firstDigit + integerLength, static_cast<std::size_t>(keptDecimals));
    std::memset(out + keptDecimals, '0', static_cast<std::size_t>(kDecimals - keptDecimals));
    out += kDecimals;
    return static_cast<std::size_t>(out - text);
}

std::string FixedPointText(extended value) {
    char text[kFixedPointTextCapacity];
    const std::size_t length = WriteFixedPointText(value, text);
    return length != 0 ? std::string(text, length) : ExpandedFixedPointText(value);
}

std::string ExpandedFixedPointText(extended value) {
    const BinaryValue binary = Decompose(value);
    if (binary.biasedExponent == 0x7FFF) {
        return (binary.significand << 1) != 0 ? "NAN" : binary.negative ? "-INF" : "INF";
    }
    const std::string sign = binary.negative ? "-" : "";
    if (binary.OrderKey() < kRoundsToZero) {
        return sign + "0." + std::string(kDecimals, '0');
    }

    const ExactDecimal exact = ExpandExactly(binary.significand, binary.Exponent());
    const std::size_t integerLength = exact.integerDigits.size();
    std::string all = exact.integerDigits + exact.fractionDigits;

    std::size_t keptDecimals = kDecimalsBelowTen;
    std::size_t keep = integerLength + keptDecimals;
    if (binary.OrderKey() >= kTen) {
        keep = kSignificantDigits;
        keptDecimals = integerLength >= keep ? 0 : keep - integerLength;
    }
    if (all.size() < keep) {
        all.append(keep - all.size(), '0');
    }
    std::string kept = RoundDigits(all, keep);

    std::string integerPart;
    std::string fractionPart;
    if (keptDecimals == 0) {
        // Every digit past the 18th significant one is a zero of the integer.
        integerPart = kept + std::string(integerLength - keep, '0');
    } else {
        integerPart = kept.substr(0, kept.size() - keptDecimals);
        fractionPart = kept.substr(kept.size() - keptDecimals);
    }
    fractionPart.append(kDecimals - fractionPart.size(), '0');
    return sign + integerPart + "." + fractionPart;
}

}  // namespace Ufiche
