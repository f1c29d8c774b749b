#pragma once

#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/generation/WrittenExercise.h"

// Durations, the one kind that is not decimal: a minute is 60 seconds, an
// hour 60 minutes, a day 24 hours, a week 7 days and a century 100 years; a
// year is never turned into days, its length varies. Every exercise is drawn
// and answered in integers.
namespace Ufiche {

// Draws one exercise of the level: at level 1 one step between neighbouring
// units, whole ("3 h = ... min", "240 s = ... min"); at level 2 two units to
// one and back, and halves, quarters and tenths of hours and minutes
// ("2 h 15 min = ... min", "135 min = ... h ... min", "1,5 h = ... h ... min");
// at level 3 three units to one and back ("34 990 s = ... h ... min ... s")
// and the forms of level 2 with larger numbers.
WrittenExercise DrawDurationExercise(int level, DecimalMark mark, RandomSource& random);

}  // namespace Ufiche
