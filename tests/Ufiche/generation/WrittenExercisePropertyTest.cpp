#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ExactMeasure.h"
#include "PropertyCorpus.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"

// Durations, and measures in two units, read back from the documents: every
// answer is the given measure exactly, in the units the subject asks for.
namespace {

using testsupport::MeasurePart;
using testsupport::ReadDocument;
using testsupport::ReadExercise;
using Uconvers::QuantityKind;

constexpr int kSheetsPerCase = testsupport::kCorpusWorksheetsPerCase;

std::string Text(const std::vector<MeasurePart>& parts) {
    std::string text;
    for (const MeasurePart& part : parts) {
        text += part.number + " u" + std::to_string(part.unit) + " ";
    }
    return text;
}

class WrittenExerciseProperty : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(WrittenExerciseProperty, EveryAnswerIsTheGivenMeasureInTheUnitsAsked) {
    const auto kind = static_cast<QuantityKind>(std::get<0>(GetParam()));
    const int level = std::get<1>(GetParam());
    const bool durations = kind == QuantityKind::Duration;
    int exercises = 0;
    int written = 0;
    std::set<std::size_t> partCounts;
    bool decimalGiven = false;
    for (int seed = 0; seed < kSheetsPerCase; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(seed, level);
        settings.TwoUnitMeasures = true;
        settings.DecimalComma = seed % 2 == 1;
        Ufiche::MersenneRandomSource random(testsupport::CorpusSeed(seed, level));
        const auto sheet = Ufiche::BuildWorksheet(kind, settings, random);
        ReadDocument subject;
        ReadDocument key;
        try {
            subject = testsupport::ReadWorksheet(sheet.Subject, kind, settings, false);
            key = testsupport::ReadWorksheet(sheet.AnswerKey, kind, settings, true);
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
        ASSERT_EQ(key.questions.size(), static_cast<std::size_t>(settings.QuestionCount));
        // No exercise twice; only capacities may give the same one twice on a line.
        std::set<std::string> keys;
        for (int n = 0; n < 40; ++n) {
            const auto& left = sheet.DrawnExercises[static_cast<std::size_t>(n)];
            const auto& right = sheet.DrawnExercises[static_cast<std::size_t>(n + 40)];
            ASSERT_EQ(left.empty(), n >= settings.QuestionCount);
            ASSERT_EQ(right.empty(), n >= settings.QuestionCount);
            ASSERT_TRUE(left.empty() || (!keys.contains(left) && !keys.contains(right))) << left;
            ASSERT_TRUE(left.empty() || left != right || kind == QuantityKind::Capacity) << left;
            keys.insert({left, right});
        }
        for (std::size_t n = 0; n < key.questions.size(); ++n) {
            const auto& line = key.questions[n];
            const auto& subjectLine = subject.questions[n];
            for (const auto& [exercise, shown] : {std::pair{&line.left, &subjectLine.left},
                                                  std::pair{&line.right, &subjectLine.right}}) {
                const std::vector<MeasurePart>& given = exercise->given;
                const std::vector<MeasurePart>& answer = exercise->answered;
                ASSERT_EQ(Text(shown->given), Text(given));
                ++exercises;
                const bool ownUnits = exercise->Written() || !shown->asked.empty();
                written += ownUnits ? 1 : 0;
                partCounts.insert(std::max(given.size(), answer.size()));
                // The units asked: the subject's blanks, or the heading's.
                std::vector<int> asked;
                for (const MeasurePart& blank : shown->asked) {
                    asked.push_back(blank.unit);
                }
                if (asked.empty()) {
                    ASSERT_FALSE(durations);
                    asked.push_back(key.target);
                }
                std::vector<int> answered;
                for (const MeasurePart& part : answer) {
                    answered.push_back(part.unit);
                    ASSERT_TRUE(!ownUnits ||
                                std::count_if(part.number.begin(), part.number.end(),
                                              [](char c) { return c >= '0' && c <= '9'; }) <= 18)
                        << part.number;
                    ASSERT_EQ(part.number.find('-'), std::string::npos);
                    ASSERT_TRUE(level > 1 || !ownUnits ||
                                part.number.find_first_of(".,") == std::string::npos)
                        << part.number;
                }
                for (const MeasurePart& part : given) {
                    decimalGiven |=
                        part.number.find(settings.DecimalComma ? ',' : '.') != std::string::npos;
                }
                ASSERT_EQ(answered, asked) << Text(given);
                ASSERT_NE(exact::UnitsOf(given), exact::UnitsOf(answer)) << Text(given);
                ASSERT_TRUE(exact::SameQuantity(kind, given, answer))
                    << Text(given) << "= " << Text(answer);
            }
        }
    }
    // About one exercise in three in two units; every duration its own.
    if (durations) {
        EXPECT_EQ(written, exercises);
        EXPECT_EQ(partCounts.contains(3), level == 3);
        EXPECT_EQ(decimalGiven, level > 1);
    } else {
        EXPECT_GT(written * 100, exercises * 25);
        EXPECT_LT(written * 100, exercises * 42);
    }
}

std::string CaseName(const testing::TestParamInfo<std::tuple<int, int>>& info) {
    return testsupport::LayoutOf(static_cast<QuantityKind>(std::get<0>(info.param))).namePiece +
           std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllKindsAndLevels, WrittenExerciseProperty,
                         testing::Combine(testing::Range(0, 6), testing::Range(1, 4)), CaseName);

}  // namespace
