#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Uconvers/Uconvers.h"

namespace Ufiche {

// What a generation reads from the window.
struct WorksheetSettings {
    int Level;          // 1 to 3
    int QuestionCount;  // 1 to 40
    int LineSpacing;    // 0 to 10
    std::string TitleLine;
    std::string InstructionText;
    bool SeparatorShown;
    std::string SeparatorLine;
    // The numbers of both documents written with a decimal comma rather
    // than the point; exercise keys, titles and the base name stay as they are.
    bool DecimalComma = false;
    // A conversion table under each exercise of the answer key, and an empty
    // one for the pupils' own work on the subject.
    bool ConversionTables = false;
    // About one exercise in three of a decimal kind written with two units
    // ("6 m 65 cm = ... cm", "6,65 m = ... m ... cm").
    bool TwoUnitMeasures = false;
    // A sheet's code, named in both headings after the base name when not
    // empty, so that a pupil's sheet and its answer key are found together.
    std::string SheetCode{};
};

// The pseudo-random source of the generation: Draw(n) is uniform in 0 .. n-1.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Draw(int n) = 0;
};

struct GeneratedWorksheet {
    std::string DefaultFileName;
    std::string Subject;  // whole RTF documents, closing "}" included
    std::string AnswerKey;
    std::array<std::string, 80> DrawnExercises;  // slot i at index i-1
    Uconvers::QuantityKind Kind = Uconvers::QuantityKind::Length;
    int Level = 1;  // as the worksheet was drawn, 1 to 3
    std::uint32_t Code = 0;  // the sheet's code when it was made from one
    // Every exercise with its answer, line by line, the left one first: one
    // text line each, its question's markup up to its "=", then for each
    // blank a tab, the answer's number (the point, no group blanks), a tab
    // and the blank's unit symbol markup. One text, so that generation makes
    // it for almost nothing; ExercisesOf reads it.
    std::string ExerciseLines;
};

// One number that a pupil writes, and the unit written after its blank.
struct AnswerPart {
    std::string number;  // with the point and no group blanks: "2500", "0.665"
    std::string unit;    // the unit symbol's markup: "m", "m<sup>2</sup>"
};

// One exercise as the subject asks it, with its answer, for other uses of a
// worksheet than its documents (a quiz of the same exercises).
struct WorksheetExercise {
    std::string question;            // markup up to its "=": "250 dam =", "135 min ="
    std::vector<AnswerPart> answer;  // a part per blank, in the subject's order
};

// The worksheet's exercises, line by line, the left one first.
std::vector<WorksheetExercise> ExercisesOf(const GeneratedWorksheet& sheet);

// Draws one worksheet of the kind and writes its subject and answer key. The
// draws follow a fixed order (base name, target unit, then each question's
// values before its units, left before right, a rejected question drawn again
// from the start), so a scripted source reproduces a worksheet byte for byte.
// Settings the window never supplies are brought into range: the level to 1
// to 3, the question count to at most 40 (0 or less gives the headings
// alone), the line spacing to 0 to 10.
GeneratedWorksheet BuildWorksheet(Uconvers::QuantityKind kind, const WorksheetSettings& settings,
                                  RandomSource& random);

}  // namespace Ufiche
