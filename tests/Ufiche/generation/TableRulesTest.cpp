// Quick examples of the rules that every level's table must keep, one per
// kind and level, with scripted draws.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "ScriptedRandomSource.h"
#include "Ufiche/generation/ExerciseKey.h"
#include "Ufiche/generation/KindRules.h"
#include "Ufiche/generation/QuestionDraw.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

using Uconvers::QuantityKind;
using enum Uconvers::QuantityKind;
using Step = ScriptedRandomSource::Step;
using Units = std::pair<int, int>;

const Ufiche::QuestionTable& TableOf(QuantityKind kind, int level) {
    return Ufiche::RulesOf(kind).questions[static_cast<std::size_t>(level - 1)];
}

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
    std::vector<Step> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A candidate whose first unit draws give the target (or, at level 2, a unit
// too far from it) is drawn again, or rejected whole where the table draws
// its units once.
TEST(TableRules, AUnitEqualToTheTargetIsNeverKept) {
    const struct {
        QuantityKind kind;
        int level;
        int target;
        std::vector<Step> draws;  // row, values, then units (and patterns)
        std::optional<Units> kept;
    } cases[] = {
        // clang-format off
        // Level 1, row 4 (units 0 to 5): the right unit is the base unit.
        {Length, 1, 3, {{7, 3}, {9, 0}, {9, 1}, {6, 1}, {6, 3}, {6, 2}, {6, 4}}, Units{2, 4}},
        {Area, 1, 3, {{7, 3}, {9, 0}, {9, 1}, {6, 3}, {6, 1}, {6, 2}, {6, 4}}, Units{2, 4}},
        {Volume, 1, 3, {{7, 3}, {9, 0}, {9, 1}, {6, 3}, {6, 3}, {6, 0}, {6, 5}}, Units{0, 5}},
        {Capacity, 1, 3, {{7, 3}, {9, 0}, {9, 1}, {6, 5}, {6, 3}, {6, 5}, {6, 4}}, Units{5, 4}},
        // Level 2: the target itself is not "near" it, nor four steps away.
        {Length, 2, 3, {{6, 0}, {999, 5}, {999, 6}, {7, 3}, {7, 4}, {7, 0}, {7, 6}}, Units{0, 6}},
        {Area, 2, 3, {{6, 0}, {999, 5}, {999, 6}, {7, 4}, {7, 3}, {7, 6}, {7, 0}}, Units{6, 0}},
        {Volume, 2, 0, {{6, 0}, {999, 5}, {999, 6}, {7, 4}, {7, 1}, {7, 3}, {7, 1}}, Units{3, 1}},
        // Capacities at level 2: litre units only, for cubic targets; the
        // largest draw of each pattern stays a litre unit.
        {Capacity, 2, 7, {{6, 0}, {999, 5}, {999, 6}, {3, 2}, {5, 4}, {4, 3}}, Units{4, 5}},
        // Level 3 draws each unit once: a target rejects the question.
        {Length, 3, 2, {{14, 0}, {999, 5}, {999, 6}, {7, 2}, {7, 5}}, std::nullopt},
        {Area, 3, 2, {{14, 0}, {999, 5}, {999, 6}, {7, 5}, {7, 2}}, std::nullopt},
        {Volume, 3, 4, {{14, 0}, {999, 5}, {999, 6}, {7, 4}, {7, 5}}, std::nullopt},
        {Volume, 3, 4, {{14, 0}, {999, 5}, {999, 6}, {7, 1}, {7, 5}}, Units{1, 5}},
        // Capacities at level 3: pattern 4 draws any of the eleven units.
        {Capacity, 3, 8, {{6, 0}, {999, 5}, {999, 6}, {6, 3},
                          {11, 8}, {11, 2}, {11, 9}, {11, 8}, {11, 0}, {11, 10}}, Units{0, 10}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.kind) << " level "
                                        << c.level << " target " << c.target);
        ScriptedRandomSource random(c.draws);
        const auto candidate = Ufiche::DrawCandidate(TableOf(c.kind, c.level), c.target, random);
        EXPECT_TRUE(random.AllUsed());
        ASSERT_EQ(candidate.has_value(), c.kept.has_value());
        if (candidate) {
            EXPECT_EQ(Units(candidate->leftUnit, candidate->rightUnit), *c.kept);
        }
    }
}

// Question 2 first draws, as its right exercise, question 1's left one: the
// whole question is drawn again.
TEST(TableRules, ARightExerciseRepeatingAnEarlierOneIsDrawnAgain) {
    // Units of question 1, of question 2's rejected draw, then of its kept
    // one; the values are 10 and 20, then 30 and 10, then 30 and 40.
    struct Units3 {
        std::vector<Step> first, repeat, kept;
        Units firstUnits, keptUnits;
    };
    // Level 1, row 1: units 4 to 6.
    const Units3 rowUnits{{{3, 0}, {3, 1}}, {{3, 2}, {3, 0}}, {{3, 2}, {3, 1}}, {4, 5}, {6, 5}};
    // Levels 2 and 3: any of the seven units, none the target (3).
    const Units3 anyUnit{{{7, 1}, {7, 2}}, {{7, 4}, {7, 1}}, {{7, 4}, {7, 5}}, {1, 2}, {4, 5}};
    // Capacities, target cm3: pattern 1 draws the smaller litre units left,
    // pattern 2 right.
    const Units3 litreUnits{{{3, 0}, {3, 0}, {3, 1}},
                            {{3, 1}, {3, 1}, {3, 0}},
                            {{3, 1}, {3, 1}, {3, 2}},
                            {0, 4},
                            {4, 2}};
    // Capacities, target dL: pattern 4 draws any of the eleven units.
    const Units3 elevenUnits{{{6, 3}, {11, 0}, {11, 1}},
                             {{6, 3}, {11, 4}, {11, 0}},
                             {{6, 3}, {11, 4}, {11, 5}},
                             {0, 1},
                             {4, 5}};
    const struct {
        QuantityKind kind;
        int level;
        std::vector<Step> target;
        std::vector<Step> row;
        const Units3& units;
    } cases[] = {
        {Length, 1, {}, {{7, 0}}, rowUnits},
        {Area, 1, {}, {{7, 0}}, rowUnits},
        {Volume, 1, {}, {{7, 0}}, rowUnits},
        {Capacity, 1, {}, {{7, 0}}, rowUnits},
        {Length, 2, {{7, 3}}, {{6, 0}}, anyUnit},
        {Area, 2, {{7, 3}}, {{6, 0}}, anyUnit},
        {Volume, 2, {{7, 3}}, {{6, 0}}, anyUnit},
        {Capacity, 2, {{3, 0}, {3, 1}}, {{6, 0}}, litreUnits},
        {Length, 3, {{7, 3}}, {{14, 0}}, anyUnit},
        {Area, 3, {{7, 3}}, {{14, 0}}, anyUnit},
        {Volume, 3, {{5, 3}}, {{14, 0}}, anyUnit},
        {Capacity, 3, {{3, 1}, {4, 2}}, {{6, 0}}, elevenUnits},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << static_cast<int>(c.kind) << " level " << c.level);
        const auto values = [](int left, int right) {
            return std::vector<Step>{{999, left - 1}, {999, right - 1}};
        };
        // The base name, the target, then three candidates.
        // clang-format off
        ScriptedRandomSource random(Join({{{100, 1}, {100, 2}}, c.target,
                                          c.row, values(10, 20), c.units.first,
                                          c.row, values(30, 10), c.units.repeat,
                                          c.row, values(30, 40), c.units.kept}));
        // clang-format on
        const Ufiche::WorksheetSettings settings{c.level,         2,    0,      "Titre",
                                                 "Convertir en ", true, "-----"};
        const auto sheet = Ufiche::BuildWorksheet(c.kind, settings, random);
        EXPECT_TRUE(random.AllUsed());
        EXPECT_EQ(sheet.DrawnExercises[0], Ufiche::ExerciseKey(10, c.units.firstUnits.first));
        EXPECT_EQ(sheet.DrawnExercises[40], Ufiche::ExerciseKey(20, c.units.firstUnits.second));
        EXPECT_EQ(sheet.DrawnExercises[1], Ufiche::ExerciseKey(30, c.units.keptUnits.first));
        EXPECT_EQ(sheet.DrawnExercises[41], Ufiche::ExerciseKey(40, c.units.keptUnits.second));
    }
}

// R(n) keeps a source that breaks its promise inside 0 .. n-1.
TEST(TableRules, ADrawOutsideItsRangeIsBroughtToTheNearestEnd) {
    class Fixed : public Ufiche::RandomSource {
    public:
        explicit Fixed(int value) : m_value(value) {}
        int Draw(int) override { return m_value; }

    private:
        int m_value;
    };
    const struct {
        int n;
        int drawn;
        int kept;
    } cases[] = {{7, 7, 6}, {7, -1, 0}, {7, 6, 6}, {7, 0, 0}, {1, 1, 0}, {100, 1000, 99}};
    for (const auto& c : cases) {
        Fixed random(c.drawn);
        EXPECT_EQ(Ufiche::R(random, c.n), c.kept) << c.n << " " << c.drawn;
    }
}

}  // namespace
