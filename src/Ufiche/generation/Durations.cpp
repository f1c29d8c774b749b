#include "Ufiche/generation/Durations.h"

#include <array>
#include <cstdint>
#include <span>

#include "Ufiche/generation/QuestionDraw.h"

namespace Ufiche {
namespace {

using Uconvers::QuantityKind;
using Uconvers::UnitIndex;

enum DurationUnit : UnitIndex { Second, Minute, Hour, Day, Week, Year, Century };

// Neighbouring units, smaller first, with how many of the smaller make one of
// the larger.
struct UnitStep {
    UnitIndex small;
    UnitIndex large;
    std::uint64_t factor;
};

constexpr std::array<UnitStep, 5> kSteps = {{
    {Second, Minute, 60},
    {Minute, Hour, 60},
    {Hour, Day, 24},
    {Day, Week, 7},
    {Year, Century, 100},
}};
// The steps whose factor 60 takes halves, quarters and tenths to whole units.
constexpr std::span<const UnitStep> kSixtySteps{kSteps.data(), 2};

// One amount of one unit within a measure.
struct Part {
    std::uint64_t amount;
    UnitIndex unit;
};

// Years and centuries take the plural from two on ("1 an", "2 ans"); the
// other symbols never change.
std::string Symbol(UnitIndex unit, bool plural) {
    std::string symbol = Uconvers::UnitSymbol(QuantityKind::Duration, unit);
    if (plural && (unit == Year || unit == Century)) {
        symbol += 's';
    }
    return symbol;
}

std::string Whole(std::uint64_t amount) {
    return GroupedDecimal(amount, 0, DecimalMark::Point);
}

std::string MeasureText(std::span<const Part> parts) {
    std::string text;
    for (const Part& part : parts) {
        if (!text.empty()) {
            text += ' ';
        }
        text += Whole(part.amount);
        text += ' ';
        text += Symbol(part.unit, part.amount >= 2);
    }
    return text;
}

// A number of hundredths of a unit, with the sheet's mark ("1,5 h").
std::string HundredthsText(std::uint64_t hundredths, UnitIndex unit, DecimalMark mark) {
    return GroupedDecimal(hundredths, -2, mark) + " " + Symbol(unit, hundredths >= 200);
}

std::string BlanksFor(std::span<const UnitIndex> units) {
    std::string blanks;
    for (const UnitIndex unit : units) {
        blanks += ' ';
        blanks += kAnswerBlank;
        blanks += ' ';
        blanks += Symbol(unit, true);
    }
    return blanks;
}

WrittenExercise Exercise(std::string given, std::span<const UnitIndex> asked, std::string answer) {
    WrittenExercise exercise;
    exercise.blanks = BlanksFor(asked);
    exercise.key = given + "=";
    for (const UnitIndex unit : asked) {
        exercise.key += Symbol(unit, true) + ";";
    }
    exercise.given = std::move(given);
    exercise.answer = std::move(answer);
    return exercise;
}

const UnitStep& DrawStep(std::span<const UnitStep> steps, RandomSource& random) {
    return steps[static_cast<std::size_t>(R(random, static_cast<int>(steps.size())))];
}

// "3 h = ... min" or "180 min = ... h": whole numbers, one step.
WrittenExercise OneStep(RandomSource& random) {
    const UnitStep& step = DrawStep(kSteps, random);
    const bool down = R(random, 2) == 0;
    const auto count = static_cast<std::uint64_t>(R(random, 20) + 1);
    const Part large{count, step.large};
    const Part small{count * step.factor, step.small};
    const Part& given = down ? large : small;
    const Part& answer = down ? small : large;
    return Exercise(MeasureText({&given, 1}), std::array{answer.unit}, MeasureText({&answer, 1}));
}

// "2 h 15 min = ... min" or "135 min = ... h ... min".
WrittenExercise TwoUnits(int largest, RandomSource& random) {
    const UnitStep& step = DrawStep(kSteps, random);
    const bool together = R(random, 2) == 0;
    const auto large = static_cast<std::uint64_t>(R(random, largest) + 1);
    const auto small = static_cast<std::uint64_t>(R(random, static_cast<int>(step.factor) - 1) + 1);
    const std::array parts{Part{large, step.large}, Part{small, step.small}};
    const Part total{large * step.factor + small, step.small};
    if (together) {
        return Exercise(MeasureText(parts), std::array{step.small}, MeasureText({&total, 1}));
    }
    return Exercise(MeasureText({&total, 1}), std::array{step.large, step.small},
                    MeasureText(parts));
}

// "1,5 h = ... h ... min" or "2 h 45 min = ... h": halves, quarters and
// tenths of an hour or a minute, which are whole minutes or seconds.
WrittenExercise DecimalUnits(int largest, DecimalMark mark, RandomSource& random) {
    constexpr std::array<int, 3> kParts = {2, 4, 10};
    const UnitStep& step = DrawStep(kSixtySteps, random);
    const bool fromDecimal = R(random, 2) == 0;
    const auto whole = static_cast<std::uint64_t>(R(random, largest) + 1);
    const int parts = kParts[static_cast<std::size_t>(R(random, 3))];
    const auto share = static_cast<std::uint64_t>(R(random, parts - 1) + 1);
    const std::uint64_t hundredths = whole * 100 + share * 100 / static_cast<std::uint64_t>(parts);
    const std::array split{
        Part{whole, step.large},
        Part{share * step.factor / static_cast<std::uint64_t>(parts), step.small}};
    const std::string decimal = HundredthsText(hundredths, step.large, mark);
    if (fromDecimal) {
        return Exercise(decimal, std::array{step.large, step.small}, MeasureText(split));
    }
    return Exercise(MeasureText(split), std::array{step.large}, decimal);
}

// "34 990 s = ... h ... min ... s" or "9 h 43 min 10 s = ... s": three
// neighbouring units; the middle one may be zero, as pupils write it.
WrittenExercise ThreeUnits(RandomSource& random) {
    const auto first = static_cast<std::size_t>(R(random, 3));
    const UnitStep& lower = kSteps[first];
    const UnitStep& upper = kSteps[first + 1];
    const bool together = R(random, 2) == 0;
    const auto large = static_cast<std::uint64_t>(R(random, 9) + 1);
    const auto middle = static_cast<std::uint64_t>(R(random, static_cast<int>(upper.factor)));
    const auto small =
        static_cast<std::uint64_t>(R(random, static_cast<int>(lower.factor) - 1) + 1);
    const std::array parts{Part{large, upper.large}, Part{middle, lower.large},
                           Part{small, lower.small}};
    const Part total{(large * upper.factor + middle) * lower.factor + small, lower.small};
    if (together) {
        return Exercise(MeasureText(parts), std::array{lower.small}, MeasureText({&total, 1}));
    }
    return Exercise(MeasureText({&total, 1}), std::array{upper.large, lower.large, lower.small},
                    MeasureText(parts));
}

}  // namespace

WrittenExercise DrawDurationExercise(int level, DecimalMark mark, RandomSource& random) {
    if (level <= 1) {
        return OneStep(random);
    }
    if (level == 2) {
        return R(random, 3) == 0 ? DecimalUnits(9, mark, random) : TwoUnits(9, random);
    }
    switch (R(random, 4)) {
        case 0:
        case 1:
            return ThreeUnits(random);
        case 2:
            return TwoUnits(99, random);
        default:
            return DecimalUnits(99, mark, random);
    }
}

}  // namespace Ufiche
