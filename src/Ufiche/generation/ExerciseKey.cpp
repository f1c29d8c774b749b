#include "Ufiche/generation/ExerciseKey.h"

#include <algorithm>

#include "Ufiche/generation/FormatNumber.h"

namespace Ufiche {

std::string ExerciseKey(extended value, Uconvers::UnitIndex unit) {
    return FormatNumber(value) + std::to_string(unit);
}

bool ExerciseKeyUsed(const DrawnExerciseSlots& drawnExercises, const std::string& key) {
    return std::find(drawnExercises.begin(), drawnExercises.end(), key) != drawnExercises.end();
}

}  // namespace Ufiche
