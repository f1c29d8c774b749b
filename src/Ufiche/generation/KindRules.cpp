#include "Ufiche/generation/KindRules.h"

namespace Ufiche {
namespace {

using Uconvers::QuantityKind;

constexpr ValueRule Steps(int count, int step, int first) {
    return {ValueShape::Steps, count, step, first};
}
constexpr UnitRule Draw(int count, int offset = 0) {
    return {count, offset};
}
constexpr UnitRule Fixed(int unit) {
    return {0, unit};
}
constexpr UnitRule kNoUnitRule = Fixed(0);

// Level 1, built for a step factor of 10: large units with small values and
// small units with multiples of 1000, so lengths, capacities and masses get
// whole answers in the base unit.
constexpr DrawRow kLevel1Rows[] = {
    {Steps(999, 1, 1), Draw(3, 4)},   {Steps(99, 10, 10), Draw(5, 2)},
    {Steps(9, 100, 100), Draw(6, 1)}, {Steps(9, 1000, 1000), Draw(6)},
    {Steps(99, 1000, 1000), Draw(5)}, {Steps(999, 1000, 1000), Draw(4)},
    {Steps(9, 1, 1), Draw(3, 4)},
};

constexpr DrawRow kLevel2Rows[] = {
    {Steps(999, 1, 1), kNoUnitRule},    {Steps(99, 10, 10), kNoUnitRule},
    {Steps(9, 100, 100), kNoUnitRule},  {Steps(9, 1, 1), kNoUnitRule},
    {Steps(99, 100, 100), kNoUnitRule}, {Steps(9, 1000, 1000), kNoUnitRule},
};

// The rows with the largest values allow only the smallest units.
constexpr std::array<DrawRow, 14> kLevel3Rows = {{
    {Steps(999, 1, 1), Draw(7)},
    {Steps(99, 10, 10), Draw(7)},
    {Steps(9, 100, 100), Draw(7)},
    {Steps(9, 1, 1), Draw(7)},
    {{ValueShape::Tenths, 10, 0, 0}, Draw(7)},
    {{ValueShape::Tenths, 100, 0, 0}, Draw(7)},
    {{ValueShape::OddHalves, 50, 0, 0}, Draw(7)},
    {{ValueShape::OddQuarters, 100, 0, 0}, Draw(7)},
    {Steps(99, 100, 100), Draw(6)},
    {Steps(99, 1000, 1000), Draw(4)},
    {Steps(99, 10000, 10000), Draw(4)},
    {Steps(99, 100000, 100000), Draw(3)},
    {Steps(99, 1000000, 1000000), Draw(2)},
    {Steps(99, 10000000, 10000000), Draw(1)},
}};

// Volumes give their largest values in mm3 or cm3.
constexpr std::array<DrawRow, 14> kVolumeLevel3Rows = [] {
    auto rows = kLevel3Rows;
    rows[13].unit = Draw(2);
    return rows;
}();

constexpr DrawRow kCapacityLevel2Rows[] = {
    {Steps(999, 1, 1), kNoUnitRule},   {Steps(99, 10, 10), kNoUnitRule},
    {Steps(9, 100, 100), kNoUnitRule}, {Steps(99, 100, 100), kNoUnitRule},
    {Steps(9, 10, 1), kNoUnitRule},    {Steps(9, 1, 1), kNoUnitRule},
};

constexpr DrawRow kCapacityLevel3Rows[] = {
    {Steps(999, 1, 1), kNoUnitRule},    {Steps(99, 10, 10), kNoUnitRule},
    {Steps(9, 100, 100), kNoUnitRule},  {Steps(9, 1000, 1000), kNoUnitRule},
    {Steps(99, 100, 100), kNoUnitRule}, {Steps(9, 10, 1), kNoUnitRule},
};

// Capacity units: 0 mL to 6 kL, then 7 m3, 8 dm3, 9 cm3, 10 mm3. Level 2
// converts litre units into cubic ones; level 3 mixes both ways.
constexpr UnitPattern kCapacityLevel2Patterns[] = {
    {Draw(3), Draw(3, 3)},
    {Draw(3, 3), Draw(3)},
    {Draw(5), Draw(4, 2)},
};

constexpr UnitPattern kCapacityLevel3Patterns[] = {
    {Draw(3, 8), Draw(4, 7)}, {Draw(4, 7), Draw(3, 8)}, {Draw(6), Draw(6)},
    {Draw(11), Draw(11)},     {Draw(3, 3), Draw(4, 7)}, {Draw(4, 7), Draw(3, 3)},
};

constexpr TargetRule kBaseUnitTarget = {0, {Fixed(3)}};
constexpr TargetRule kAnyOfSevenTarget = {0, {Draw(7)}};

constexpr QuestionTable kLevel1Table = {DrawMethod::RowUnitsAvoidTarget, kLevel1Rows, {}};
constexpr QuestionTable kLevel2Table = {DrawMethod::UnitsNearTarget, kLevel2Rows, {}};
constexpr QuestionTable kLevel3Table = {DrawMethod::RowUnitsOnce, kLevel3Rows, {}};

constexpr const char* kBoldHeadingEnd = "<b><br><br></b>";

// The rows name their fields, so that a reader sees what each number means.
const KindRules kRules[] = {
    {.kind = QuantityKind::Length,
     .fileNamePiece = "Long_N",
     .headingEnd = kBoldHeadingEnd,
     .subjectTabs = 6,
     .answerTabs = 3,
     .rejectsEqualPairsAndZeros = true,
     .targets = {kBaseUnitTarget, kAnyOfSevenTarget, kAnyOfSevenTarget},
     .questions = {kLevel1Table, kLevel2Table, kLevel3Table}},
    {.kind = QuantityKind::Area,
     .fileNamePiece = "Surf_N",
     .headingEnd = "</b><br><br>",
     .subjectTabs = 6,
     .answerTabs = 3,
     .rejectsEqualPairsAndZeros = true,
     .targets = {kBaseUnitTarget, kAnyOfSevenTarget, kAnyOfSevenTarget},
     .questions = {kLevel1Table, kLevel2Table, kLevel3Table}},
    // Volumes never take hm3 or km3 as the level-3 target.
    {.kind = QuantityKind::Volume,
     .fileNamePiece = "Vol_N",
     .headingEnd = kBoldHeadingEnd,
     .subjectTabs = 6,
     .answerTabs = 2,
     .rejectsEqualPairsAndZeros = true,
     .targets = {kBaseUnitTarget, kAnyOfSevenTarget,
                 TargetRule{.choices = 0, .options = {Draw(5)}}},
     .questions = {kLevel1Table, kLevel2Table, {DrawMethod::RowUnitsOnce, kVolumeLevel3Rows, {}}}},
    {.kind = QuantityKind::Capacity,
     .fileNamePiece = "Capa_N",
     .headingEnd = kBoldHeadingEnd,
     .subjectTabs = 6,
     .answerTabs = 3,
     .rejectsEqualPairsAndZeros = false,
     .targets = {kBaseUnitTarget,
                 TargetRule{.choices = 3, .options = {Draw(3, 8), Draw(2, 8), Fixed(7)}},
                 TargetRule{.choices = 3, .options = {Draw(4, 3), Draw(4), Draw(4, 7)}}},
     .questions = {kLevel1Table,
                   {DrawMethod::PatternAvoidTarget, kCapacityLevel2Rows, kCapacityLevel2Patterns},
                   {DrawMethod::PatternAvoidTarget, kCapacityLevel3Rows, kCapacityLevel3Patterns}}},
    // Grams step by 10 as metres do: masses are drawn and written as lengths.
    {.kind = QuantityKind::Mass,
     .fileNamePiece = "Mass_N",
     .headingEnd = kBoldHeadingEnd,
     .subjectTabs = 6,
     .answerTabs = 3,
     .rejectsEqualPairsAndZeros = true,
     .targets = {kBaseUnitTarget, kAnyOfSevenTarget, kAnyOfSevenTarget},
     .questions = {kLevel1Table, kLevel2Table, kLevel3Table}},
    // Durations draw and write their exercises by rules of their own; only
    // the base name and the heading's end are theirs here.
    {.kind = QuantityKind::Duration,
     .fileNamePiece = "Duree_N",
     .headingEnd = kBoldHeadingEnd,
     .subjectTabs = 6,
     .answerTabs = 3,
     .rejectsEqualPairsAndZeros = true,
     .targets = {kBaseUnitTarget, kBaseUnitTarget, kBaseUnitTarget},
     .questions = {kLevel1Table, kLevel1Table, kLevel1Table}},
};

}  // namespace

const KindRules& RulesOf(QuantityKind kind) {
    for (const auto& rules : kRules) {
        if (rules.kind == kind) {
            return rules;
        }
    }
    return kRules[0];
}

}  // namespace Ufiche
