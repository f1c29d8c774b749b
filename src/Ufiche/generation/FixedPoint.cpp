#include "Ufiche/generation/FixedPoint.h"

#include <cmath>
#include <cstdint>
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
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
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
        std::string text = std::to_string(limbs_.back());
        for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
            const std::string limb = std::to_string(*it);
            text.append(9 - limb.size(), '0');
            text += limb;
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs_;
};

struct ExactDecimal {
    std::string integerDigits;   // no leading zeros; "0" below 1
    std::string fractionDigits;  // every digit of the exact binary fraction
};

// The exact decimal expansion of a finite, non-negative value. A value
// m * 2^-k equals m * 5^k / 10^k, so the fraction has exactly k digits.
ExactDecimal ExpandExactly(extended magnitude) {
    int exponent = 0;
    const extended fraction = std::frexp(magnitude, &exponent);  // in [0.5, 1)
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    const int binaryExponent = exponent - 64;

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

}  // namespace

std::string FixedPointText(extended value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) {
        return sign + "INF";
    }
    const extended magnitude = std::fabs(value);
    // Far below the last kept decimal, the value rounds to zero; this spares
    // the expansion of very small numbers into thousands of digits.
    if (magnitude < 1e-19L) {
        return sign + "0." + std::string(kDecimals, '0');
    }

    const ExactDecimal exact = ExpandExactly(magnitude);
    const std::size_t integerLength = exact.integerDigits.size();
    std::string all = exact.integerDigits + exact.fractionDigits;

    std::size_t keptDecimals = kDecimalsBelowTen;
    std::size_t keep = integerLength + keptDecimals;
    if (magnitude >= 10.0L) {
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
