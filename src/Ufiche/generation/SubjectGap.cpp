#include "Ufiche/generation/SubjectGap.h"

#include <algorithm>
#include <cmath>

#include "Ufiche/document/MarkupWidth.h"

namespace Ufiche {
namespace {

// Every heading sets the body in 9-point Arial ("<te=18>"); the documents'
// tab stops stand every inch ("\deftab1440").
constexpr double kBodyPoints = 9;
constexpr double kTabStopPoints = 72;
// How far from this measure a reader may lay the line out. LibreOffice gives a
// run of blanks more room (the three after the question number take 12 points
// rather than 7.5) and a superscript a little less (58 % of the size rather
// than two thirds); the panes and the printed pages measure as the table.
constexpr double kReaderWiderPoints = 4.5;
constexpr double kReaderNarrowerPoints = 0.5;
// And a little more, for each reader's rounding to its own units.
constexpr double kSafetyPoints = 1;

}  // namespace

SubjectGap SubjectLineGap(std::string_view leftMarkup, int column) {
    double end = MarkupWidthEm(leftMarkup) * kBodyPoints;
    // The last stop that some reader could lay the exercise's end past.
    const double stop =
        std::floor((end + kReaderWiderPoints + kSafetyPoints) / kTabStopPoints) * kTabStopPoints;
    int spaces = 0;
    if (stop > 0 && end - kReaderNarrowerPoints - kSafetyPoints < stop) {
        const double blank = MarkupWidthEm(" ") * kBodyPoints;
        spaces = static_cast<int>(
            std::ceil((stop + kReaderNarrowerPoints + kSafetyPoints - end) / blank));
        end += spaces * blank;
    }
    const int stopsPassed = static_cast<int>(std::floor(end / kTabStopPoints));
    return {spaces, std::max(1, column - stopsPassed)};
}

}  // namespace Ufiche
