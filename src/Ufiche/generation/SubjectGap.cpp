#include "Ufiche/generation/SubjectGap.h"

#include <algorithm>
#include <cstdint>

#include "Ufiche/document/MarkupWidth.h"

namespace Ufiche {
namespace {

// Lengths along the line are counted in 1/2048 point, in integers: a markup
// unit of the body (9/6144 point) is three of them and the allowances below
// are whole, so the gap is exact and the same on every processor.
constexpr std::int64_t kUnitsPerPoint = 2048;
// Every heading sets the body in 9-point Arial ("<te=18>"); the documents'
// tab stops stand every inch ("\deftab1440").
constexpr std::int64_t kBodyPoints = 9;
constexpr std::int64_t kTabStop = 72 * kUnitsPerPoint;
// How far from this measure a reader may lay the line out. LibreOffice gives a
// run of blanks more room (the three after the question number take 12 points
// rather than 7.5) and a superscript a little less (58 % of the size rather
// than two thirds); the panes and the printed pages measure as the table.
constexpr std::int64_t kReaderWider = 9 * kUnitsPerPoint / 2;  // 4.5 points
constexpr std::int64_t kReaderNarrower = kUnitsPerPoint / 2;   // 0.5 point
// And a little more, for each reader's rounding to its own units.
constexpr std::int64_t kSafety = kUnitsPerPoint;  // 1 point

// The length of a markup text set in the body.
std::int64_t BodyLength(std::string_view markup) {
    static_assert(kBodyPoints * kUnitsPerPoint % kMarkupUnitsPerEm == 0,
                  "a markup unit of the body must be a whole number of length units");
    return MarkupWidthUnits(markup) * (kBodyPoints * kUnitsPerPoint / kMarkupUnitsPerEm);
}

}  // namespace

SubjectGap SubjectLineGap(std::string_view leftMarkup, int column) {
    // Lengths are never negative: the divisions below round down.
    std::int64_t end = BodyLength(leftMarkup);
    // The last stop that some reader could lay the exercise's end past.
    const std::int64_t stop = (end + kReaderWider + kSafety) / kTabStop * kTabStop;
    int spaces = 0;
    if (stop > 0 && end - kReaderNarrower - kSafety < stop) {
        // The fewest blanks that take the end that far past the stop.
        const std::int64_t blank = BodyLength(" ");
        const std::int64_t missing = stop + kReaderNarrower + kSafety - end;
        spaces = static_cast<int>((missing + blank - 1) / blank);
        end += spaces * blank;
    }
    const std::int64_t stopsPassed = end / kTabStop;
    return {spaces, static_cast<int>(std::max<std::int64_t>(1, column - stopsPassed))};
}

}  // namespace Ufiche
