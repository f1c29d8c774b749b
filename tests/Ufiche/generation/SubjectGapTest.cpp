// The right exercise of a subject line stands at the six-inch stop whatever
// the length of the left one, measured in Arial's advance widths (1/2048 em).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Ufiche/generation/SubjectGap.h"

namespace {

constexpr double kPoints = 9;  // the documents' body size

// A left exercise ends at its widths summed as x86 sums doubles. Wherever that is, a
// reader measuring up to 0.5 point narrower or 4.5 points wider (plus 1 of
// rounding) finds the end between the same two stops once the blanks are
// added, and the tabs then reach the sixth stop; an exercise that ends well
// before the first stop keeps six tabs and no blank.
TEST(SubjectLineGap, TakesTheRightExerciseToTheSixthStopForEveryReader) {
    const std::string units[] = {"", " m<sup>2</sup> =", " M<SUP>2</SUP> ="};
    for (int n = 0; n < 30 * 15 * 3; ++n) {  // up to four "i" and two "." put ends every half point
        const int digits = 1 + n % 30;
        const std::string left = std::string(digits, '7') + std::string(n / 30 % 5, 'i') +
                                 std::string(n / 150 % 3, '.') + units[n / 450];
        const Ufiche::SubjectGap gap = Ufiche::SubjectLineGap(left, 6);
        const double sum =
            digits * 1139 + n / 30 % 5 * 455 + n / 150 % 3 * 569 + (n < 450 ? 0 : 2275);
        const double text = (n < 450 ? sum : sum + 2.0 / 3 * 1139 + 569 + 1196) / 2048 * kPoints;
        const double end = text + gap.spaces * 569.0 / 2048 * kPoints;
        const double stop = std::floor((text + 4.5 + 1) / 72) * 72;
        const double blanksInDoubles = std::ceil((stop + 1.5 - text) / (569.0 / 2048 * kPoints));
        EXPECT_EQ(gap.spaces, stop > 0 && text - 0.5 - 1 < stop ? blanksInDoubles : 0) << left;
        const double earliest = std::floor((end - 1.5) / 72);
        EXPECT_EQ(earliest, std::floor((end + 5.5) / 72)) << digits << " digits";
        EXPECT_EQ(gap.tabs + earliest, 6) << digits << " digits";
        if (text + 5.5 < 72) {
            EXPECT_EQ(gap.spaces, 0) << digits << " digits";
        }
        EXPECT_LE(gap.spaces, 3) << digits << " digits";
    }
}

}  // namespace
