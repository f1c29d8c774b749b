#pragma once

#include <cstdint>
#include <string>

#include "Uconvers/Uconvers.h"
#include "Ufiche/generation/FormatNumber.h"

namespace Ufiche {

// An exercise that is written rather than drawn as one value in one unit: a
// duration, or a measure in two units. Its texts are worksheet markup with
// the sheet's decimal mark.
struct WrittenExercise {
    std::string given;   // "6 m 65 cm", "34 990 s"
    std::string blanks;  // after the subject's " =": empty when the heading's
                         // unit is asked, else a blank and a symbol per unit
    std::string answer;  // "665 cm", "9 h 43 min 10 s"
    std::string key;     // never equal to a one-unit exercise's key
    // The one-unit measure its conversion table starts from; no table when
    // the unit is negative (durations).
    Uconvers::UnitIndex tableUnit = -1;
    std::string tableNumber;
};

// Where the pupil writes one number: a dotted run as wide as a few digits.
inline constexpr const char* kAnswerBlank = "..........";

// digits x 10^exponent as the worksheets write numbers: grouped by three on
// both sides of the mark, no superfluous zero ("0,000 1", "1 250").
std::string GroupedDecimal(std::uint64_t digits, int exponent, DecimalMark mark);

}  // namespace Ufiche
