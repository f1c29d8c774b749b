#include "Ufiche/generation/TwoUnitMeasures.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Ufiche/generation/ConversionTable.h"
#include "Ufiche/generation/QuestionDraw.h"

namespace Ufiche {
namespace {

using Uconvers::QuantityKind;
using Uconvers::UnitIndex;

// A larger and a smaller unit of one series, and the power of ten between them.
struct UnitPair {
    UnitIndex large;
    UnitIndex small;
    int powers;
};

// The first cubic unit of capacities: litres and cubic units are two series.
constexpr UnitIndex kFirstCubicCapacity = 7;

bool SameSeries(QuantityKind kind, UnitIndex a, UnitIndex b) {
    return kind != QuantityKind::Capacity ||
           (a >= kFirstCubicCapacity) == (b >= kFirstCubicCapacity);
}

// Every pair of the kind that a pupil writes as one measure: neighbours, or
// up to a thousand apart for units that step by ten; a square or cubic unit's
// neighbour is already a hundred or a thousand times it.
std::vector<UnitPair> PairsOf(QuantityKind kind) {
    std::vector<UnitPair> pairs;
    const int count = Uconvers::UnitCount(kind);
    for (UnitIndex large = 0; large < count; ++large) {
        for (UnitIndex small = 0; small < count; ++small) {
            const int powers = UnitPower(kind, large) - UnitPower(kind, small);
            if (powers > 0 && powers <= 3 && SameSeries(kind, large, small)) {
                pairs.push_back({large, small, powers});
            }
        }
    }
    return pairs;
}

std::uint64_t PowerOfTen(int powers) {
    std::uint64_t value = 1;
    for (int i = 0; i < powers; ++i) {
        value *= 10;
    }
    return value;
}

// How far, in powers of ten, a unit of the measure may lie from the target.
int PowersAllowed(QuantityKind kind, int level) {
    const int perStep = kind == QuantityKind::Area ? 2 : (kind == QuantityKind::Volume ? 3 : 1);
    return level == 2 ? 3 * perStep : std::min(6 * perStep, 12);
}

bool NearTarget(QuantityKind kind, int level, UnitIndex unit, UnitIndex target) {
    return std::abs(UnitPower(kind, unit) - UnitPower(kind, target)) <= PowersAllowed(kind, level);
}

std::string Symbol(QuantityKind kind, UnitIndex unit) {
    return Uconvers::UnitSymbol(kind, unit);
}

std::string Measure(const std::string& number, QuantityKind kind, UnitIndex unit) {
    return number + " " + Symbol(kind, unit);
}

}  // namespace

WrittenExercise DrawTwoUnitExercise(QuantityKind kind, int level, UnitIndex target,
                                    DecimalMark mark, RandomSource& random) {
    std::vector<UnitPair> together;  // two units into the target
    std::vector<UnitPair> apart;     // one unit into the target and a larger one
    for (const UnitPair& pair : PairsOf(kind)) {
        if (level <= 1 ? pair.small == target
                       : NearTarget(kind, level, pair.large, target) &&
                             NearTarget(kind, level, pair.small, target)) {
            together.push_back(pair);
        }
        if (pair.small == target) {
            apart.push_back(pair);
        }
    }
    const bool split = !apart.empty() && R(random, 2) == 0;
    const std::vector<UnitPair>& pairs = split ? apart : together;
    const UnitPair pair =
        pairs[static_cast<std::size_t>(R(random, static_cast<int>(pairs.size())))];
    const std::uint64_t factor = PowerOfTen(pair.powers);
    const auto large = static_cast<std::uint64_t>(R(random, level <= 1 ? 9 : 99) + 1);
    const auto small = static_cast<std::uint64_t>(R(random, static_cast<int>(factor) - 1) + 1);
    const std::uint64_t total = large * factor + small;  // in the smaller unit

    const std::string twoUnits = Measure(GroupedDecimal(large, 0, mark), kind, pair.large) + " " +
                                 Measure(GroupedDecimal(small, 0, mark), kind, pair.small);
    WrittenExercise exercise;
    if (split) {
        // Given in the smaller unit, or at levels 2 and 3 as a decimal of the larger.
        const bool inLarge = level > 1 && R(random, 2) == 0;
        exercise.tableUnit = inLarge ? pair.large : pair.small;
        exercise.tableNumber = GroupedDecimal(total, inLarge ? -pair.powers : 0, mark);
        exercise.given = Measure(exercise.tableNumber, kind, exercise.tableUnit);
        exercise.blanks = std::string(" ") + kAnswerBlank + " " + Symbol(kind, pair.large) + " " +
                          kAnswerBlank + " " + Symbol(kind, pair.small);
        exercise.answer = twoUnits;
    } else {
        exercise.tableUnit = pair.small;
        exercise.tableNumber = GroupedDecimal(total, 0, mark);
        exercise.given = twoUnits;
        exercise.answer = Measure(
            GroupedDecimal(total, UnitPower(kind, pair.small) - UnitPower(kind, target), mark),
            kind, target);
    }
    exercise.key = exercise.given + "=" + std::to_string(split ? pair.large : target);
    return exercise;
}

}  // namespace Ufiche
