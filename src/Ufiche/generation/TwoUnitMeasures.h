#pragma once

#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/generation/WrittenExercise.h"

namespace Ufiche {

// Draws a measure written with two units of a decimal kind, either to
// convert into the sheet's target ("6 m 65 cm = ... cm", "2 kg 350 g = ... kg")
// or given in one unit to write with the target and a larger unit of its
// series ("6,65 m = ... m ... cm"). The two units are neighbours, or for kinds
// whose units step by ten up to three steps apart, and lie near the target:
// at level 1 the smaller one is the target and every answer is whole; level
// 2 keeps both within three steps of the target, level 3 within six (and
// twelve powers of ten). Answers are exact decimals, shifted digits.
WrittenExercise DrawTwoUnitExercise(Uconvers::QuantityKind kind, int level,
                                    Uconvers::UnitIndex target, DecimalMark mark,
                                    RandomSource& random);

}  // namespace Ufiche
