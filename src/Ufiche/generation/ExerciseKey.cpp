#include "Ufiche/generation/ExerciseKey.h"

#include <algorithm>

#include "Ufiche/generation/FormatNumber.h"

namespace Ufiche {

std::string ExerciseKey(extended value, Uconvers::UnitIndex unit) {
    return ExerciseKeyOfText(FormatNumber(value), unit);
}

std::string ExerciseKeyOfText(const std::string& numberText, Uconvers::UnitIndex unit) {
    return numberText + std::to_string(unit);
}

bool ExerciseKeyUsed(const DrawnExerciseSlots& drawnExercises, const std::string& key) {
    return std::find(drawnExercises.begin(), drawnExercises.end(), key) != drawnExercises.end();
}

}  // namespace Ufiche
