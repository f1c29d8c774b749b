#include "Ufiche/generation/QuestionDraw.h"

#include <cstdlib>

#include "Uconvers/ExtendedConstants.h"

namespace Ufiche {

int R(RandomSource& random, int n) {
    const int drawn = random.Draw(n);
    return drawn < 0 ? 0 : (drawn >= n ? n - 1 : drawn);
}

namespace {

using Uconvers::UnitIndex;

UnitIndex DrawUnit(const UnitRule& rule, RandomSource& random) {
    return rule.count == 0 ? rule.offset : R(random, rule.count) + rule.offset;
}

extended DrawValue(const ValueRule& rule, RandomSource& random) {
    switch (rule.shape) {
        case ValueShape::Steps:
            return static_cast<extended>(R(random, rule.count) * rule.step + rule.first);
        case ValueShape::Tenths: {
            // 0.1 is the 80-bit value nearest one tenth; the sums are rounded
            // in 80 bits, and the number text shows a plain tenth.
            const int whole = R(random, rule.count);
            const int tenths = R(random, 9);
            return (tenths * Uconvers::kTenth + whole) + Uconvers::kTenth;
        }
        case ValueShape::OddHalves:
            return (R(random, rule.count) * 2 + 1) * Uconvers::kHalf;
        case ValueShape::OddQuarters:
            return (R(random, rule.count) * 2 + 1) * Uconvers::kQuarter;
    }
    return extended{};
}

bool NearTarget(UnitIndex unit, UnitIndex target) {
    const int distance = std::abs(unit - target);
    return distance >= 1 && distance <= 3;
}

}  // namespace

UnitIndex DrawTarget(const TargetRule& rule, RandomSource& random) {
    const int option = rule.choices > 0 ? R(random, rule.choices) : 0;
    return DrawUnit(rule.options[static_cast<std::size_t>(option)], random);
}

std::optional<DrawnQuestion> DrawCandidate(const QuestionTable& table, UnitIndex target,
                                           RandomSource& random) {
    const auto rowIndex = static_cast<std::size_t>(R(random, static_cast<int>(table.rows.size())));
    const DrawRow& row = table.rows[rowIndex];
    DrawnQuestion question{};
    question.leftValue = DrawValue(row.value, random);
    question.rightValue = DrawValue(row.value, random);

    auto drawPair = [&](const UnitRule& left, const UnitRule& right) {
        question.leftUnit = DrawUnit(left, random);
        question.rightUnit = DrawUnit(right, random);
    };
    auto avoidsTarget = [&] { return question.leftUnit != target && question.rightUnit != target; };

    switch (table.method) {
        case DrawMethod::RowUnitsAvoidTarget:
            do {
                drawPair(row.unit, row.unit);
            } while (!avoidsTarget());
            break;
        case DrawMethod::UnitsNearTarget:
            do {
                drawPair({7, 0}, {7, 0});
            } while (!NearTarget(question.leftUnit, target) ||
                     !NearTarget(question.rightUnit, target));
            break;
        case DrawMethod::RowUnitsOnce:
            drawPair(row.unit, row.unit);
            if (!avoidsTarget()) {
                return std::nullopt;
            }
            break;
        case DrawMethod::PatternAvoidTarget: {
            const auto patternIndex =
                static_cast<std::size_t>(R(random, static_cast<int>(table.patterns.size())));
            const UnitPattern& pattern = table.patterns[patternIndex];
            do {
                drawPair(pattern.left, pattern.right);
            } while (!avoidsTarget());
            break;
        }
    }
    return question;
}

}  // namespace Ufiche
