#pragma once

#include <array>
#include <span>
#include <string_view>

#include "Uconvers/Uconvers.h"

namespace Ufiche {

// R(count) + offset; a count of 0 means the offset itself, with no draw.
struct UnitRule {
    int count;
    int offset;
};

enum class ValueShape {
    Steps,        // R(count) * step + first, in 32-bit integers
    Tenths,       // a = R(count), b = R(9); (b * 0.1 + a) + 0.1 in 80 bits
    OddHalves,    // (R(count) * 2 + 1) * 0.5
    OddQuarters,  // (R(count) * 2 + 1) * 0.25
};

struct ValueRule {
    ValueShape shape;
    int count;
    int step;
    int first;
};

// One row of a level's table: how both values are drawn and, where the row
// has one, how each unit is drawn.
struct DrawRow {
    ValueRule value;
    UnitRule unit;
};

// A unit pattern of the capacity tables: left and right unit rules.
struct UnitPattern {
    UnitRule left;
    UnitRule right;
};

// How a level's table turns into a question.
enum class DrawMethod {
    // Row, both values, then the row's unit pair drawn again while either
    // unit is the target.
    RowUnitsAvoidTarget,
    // Row, both values, then R(7) pairs drawn again until both units lie one
    // to three steps from the target.
    UnitsNearTarget,
    // Row, both values, the row's units once each; a unit equal to the
    // target rejects the whole question.
    RowUnitsOnce,
    // Row, both values, a unit pattern, then the pattern's pair drawn again
    // while either unit is the target.
    PatternAvoidTarget,
};

struct QuestionTable {
    DrawMethod method;
    std::span<const DrawRow> rows;
    std::span<const UnitPattern> patterns;
};

// How the target unit is drawn at one level: with `choices` above 0, an
// option is drawn by R(choices) first; otherwise the first option applies.
struct TargetRule {
    int choices;
    std::array<UnitRule, 3> options;
};

// Everything in which the quantity kinds differ.
struct KindRules {
    Uconvers::QuantityKind kind;
    std::string_view fileNamePiece;
    std::string_view headingEnd;
    int subjectTabs;
    int answerTabs;
    bool rejectsEqualPairsAndZeros;
    std::array<TargetRule, 3> targets;       // levels 1 to 3
    std::array<QuestionTable, 3> questions;  // levels 1 to 3
};

const KindRules& RulesOf(Uconvers::QuantityKind kind);

}  // namespace Ufiche
