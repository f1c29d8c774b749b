#pragma once

#include <array>
#include <string>

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
};

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
