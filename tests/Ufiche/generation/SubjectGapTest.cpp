// The right exercise of a subject line stands at the six-inch stop whatever
// the length of the left one, measured in Arial's advance widths (1/2048 em).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Ufiche/generation/SubjectGap.h"

namespace {

constexpr double kDigit = 1139.0 / 2048;  // every digit of Arial
constexpr double kPoints = 9;             // the documents' body size

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
