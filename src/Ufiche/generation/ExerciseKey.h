#pragma once

#include <array>
#include <string>

#include "Uconvers/Uconvers.h"

namespace Ufiche {

inline constexpr int kMaxQuestions = 40;
using DrawnExerciseSlots = std::array<std::string, 2 * kMaxQuestions>;

// The number text of the value immediately followed by the unit index: 250
// in unit 4 is "2504". Different exercises may share a key ("5" in unit 10
// and "51" in unit 0 are both "510"); such pairs count as repeats.
std::string ExerciseKey(extended value, Uconvers::UnitIndex unit);
// The same key from the number text that FormatNumber gave for the value.
std::string ExerciseKeyOfText(const std::string& numberText, Uconvers::UnitIndex unit);

// True when any of the slots holds exactly this key.
bool ExerciseKeyUsed(const DrawnExerciseSlots& drawnExercises, const std::string& key);

}  // namespace Ufiche
