#pragma once

#include <optional>

#include "Ufiche/generation/KindRules.h"
#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

struct DrawnQuestion {
    extended leftValue;
    Uconvers::UnitIndex leftUnit;
    extended rightValue;
    Uconvers::UnitIndex rightUnit;
};

// R(n): one draw, kept inside 0 .. n-1 even if a source breaks its promise,
// so that no table is ever read outside its rows.
int R(RandomSource& random, int n);

Uconvers::UnitIndex DrawTarget(const TargetRule& rule, RandomSource& random);

// Draws one question by a level's table: the row, both values (left first,
// each value's draws complete before the next), then the units (left first).
// Gives nothing when the table rejects the draw outright, so that the
// caller starts afresh.
std::optional<DrawnQuestion> DrawCandidate(const QuestionTable& table, Uconvers::UnitIndex target,
                                           RandomSource& random);

}  // namespace Ufiche
