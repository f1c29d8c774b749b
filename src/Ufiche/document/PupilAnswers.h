#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// What a pupil's typed answer is worth against the exact answer.
enum class AnswerMark {
    Right,       // the same number
    Wrong,       // another number
    NotANumber,  // no number a pupil could mean: letters, two marks, misplaced groups
    Empty,       // nothing typed (blanks only): not answered, which counts as wrong
};

// A typed number (UTF-8) as an exact decimal, "-" then the integer digits
// without leading zeros, "." and the decimal digits without trailing zeros
// ("1250.5", "0", "-0.25"); none when the text is no number. Blanks at either
// end are dropped; the decimal mark is a comma or a point; the digits may be
// grouped by three with spaces (also no-break and thin spaces), integer
// groups counted from the mark, decimal ones from it too ("1 250,5",
// "0,123 45"); a sign may lead. Zero has no sign.
std::optional<std::string> ExactDecimal(std::string_view typed);

// A typed answer against the exact answer of a blank ("1250.5", as
// AnswerPart::number writes it). Compared as decimals, never as floating
// point: "1 250,50" and "1250.5" are both right for "1250.5".
AnswerMark MarkAnswer(std::string_view typed, std::string_view exact);

// Each blank's mark, exercise by exercise, and the score: the exercises
// all of whose blanks are right, out of all the exercises (a duration with
// its hours right and its minutes wrong is not right). `typed` holds the
// answers in the blanks' order; a missing one is empty.
struct SheetMarks {
    std::vector<std::vector<AnswerMark>> marks;
    int right = 0;
    int total = 0;
};
SheetMarks MarkSheet(const std::vector<WorksheetExercise>& exercises,
                     const std::vector<std::string>& typed);

// The score as the pupil reads it: "17 / 20".
std::string ScoreText(const SheetMarks& marks);

// An exact answer as the answer key writes it: digits grouped by three and
// the sheet's decimal mark ("2 500", "0,665").
std::string AnswerShown(const std::string& number, bool decimalComma);

}  // namespace Ufiche
