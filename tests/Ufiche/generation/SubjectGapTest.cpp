// The right exercise of a subject line stands at the six-inch stop whatever
// the length of the left one, measured in Arial's advance widths (1/2048 em).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Ufiche/document/MarkupWidth.h"
#include "Ufiche/generation/SubjectGap.h"

namespace {

constexpr double kDigit = 1139.0 / 2048;  // every digit of Arial
constexpr double kPoints = 9;             // the documents' body size

TEST(MarkupWidth, MeasuresTheShownCharactersWithScriptsAtTwoThirds) {
    const struct {
        const char* markup;
        double units;
    } cases[] = {
        // "1", "°", "/", three blanks, "250", " ", "dam", " ", "=".
        {"1\xB0/   250 dam =", 1139 + 819 + 569 + 3 * 569 + 3 * 1139 + 569 + 3984 + 569 + 1196},
        {"m<sup>2</sup>", 1706 + 1139 * 2.0 / 3},
        {"m<SUP>3</SUP> =", 1706 + 1139 * 2.0 / 3 + 569 + 1196},
        {"<b><te=18>x</b>\t\r\n", 1024},  // other tags and control characters take no room
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Ufiche::MarkupWidthEm(c.markup) * 2048, c.units) << c.markup;
    }
}

// A left exercise of n digits ends at n digits' width. Wherever that is, a
// reader measuring up to 0.5 point narrower or 4.5 points wider (plus 1 of
// rounding) finds the end between the same two stops once the blanks are
// added, and the tabs then reach the sixth stop; an exercise that ends well
// before the first stop keeps six tabs and no blank.
TEST(SubjectLineGap, TakesTheRightExerciseToTheSixthStopForEveryReader) {
    for (int digits = 1; digits <= 30; ++digits) {
        const Ufiche::SubjectGap gap = Ufiche::SubjectLineGap(std::string(digits, '7'), 6);
        const double end = (digits * kDigit + gap.spaces * 569.0 / 2048) * kPoints;
        const double earliest = std::floor((end - 1.5) / 72);
        EXPECT_EQ(earliest, std::floor((end + 5.5) / 72)) << digits << " digits";
        EXPECT_EQ(gap.tabs + earliest, 6) << digits << " digits";
        if (digits * kDigit * kPoints + 5.5 < 72) {
            EXPECT_EQ(gap.spaces, 0) << digits << " digits";
        }
        EXPECT_LE(gap.spaces, 3) << digits << " digits";
    }
}

}  // namespace
