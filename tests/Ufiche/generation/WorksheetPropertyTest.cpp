#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Commune/Commune.h"
#include "ExactDecimal.h"
#include "PropertyCorpus.h"
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"

namespace {

using Uconvers::QuantityKind;

constexpr int kWorksheetsPerCase = testsupport::kCorpusWorksheetsPerCase;
constexpr int kQuestions = testsupport::kCorpusQuestions;

using testsupport::KindLayout;
using testsupport::kKindLayouts;
using testsupport::ReadDocument;
using testsupport::ReadExercise;
using testsupport::ReadQuestion;

class WorksheetProperty : public testing::TestWithParam<std::tuple<int, int>> {
protected:
    const KindLayout& Layout() const { return kKindLayouts[std::get<0>(GetParam())]; }
    int Level() const { return std::get<1>(GetParam()); }
};

bool IsBaseName(const std::string& name, const std::string& piece, int level) {
    const std::string start = piece + std::to_string(level) + "_";
    auto digit = [&](std::size_t i) { return name[i] >= '0' && name[i] <= '9'; };
    const std::size_t n = start.size();
    return name.size() == n + 5 && name.starts_with(start) && digit(n) && digit(n + 1) &&
           name[n + 2] == '_' && digit(n + 3) && digit(n + 4);
}

// The decimal points of a document's body, those between two digits and
// those in bold alone (a conversion table's), as commas.
std::string DecimalPointsAsCommas(std::string rtf, std::size_t body) {
    const auto digit = [&](std::size_t i) { return rtf[i] >= '0' && rtf[i] <= '9'; };
    for (auto at = rtf.find('.', body); at != std::string::npos; at = rtf.find('.', at + 1)) {
        const bool tableMark = rtf.compare(at - 3, 8, "\\b .\\b0 ") == 0;
        rtf[at] = (digit(at - 1) && digit(at + 1)) || tableMark ? ',' : '.';
    }
    return rtf;
}

// A lengths document in grams: the masses' names and symbols are the lengths'
// with "gramme" for "mètre" and "g" for "m". No control word of the body
// holds an "m": each there ends a symbol ("mm" holds two).
std::string InGrams(std::string rtf, std::size_t body) {
    rtf.replace(rtf.find("Long_N"), 6, "Mass_N");
    rtf.replace(rtf.rfind("m\xE8tre", body), 5, "gramme");
    for (auto at = rtf.find('m', body); at != std::string::npos; at = rtf.find('m', at + 1)) {
        rtf[at] = rtf[at + 1] == 'm' ? 'm' : 'g';
    }
    return rtf;
}

// A subject without the blanks and tabs between the two exercises of its lines.
std::string WithoutGaps(std::string rtf) {
    for (const std::string_view exerciseEnd : {" =", "\\highlight0 "}) {
        for (auto at = rtf.find(exerciseEnd); at != std::string::npos;
             at = rtf.find(exerciseEnd, at + 2)) {
            const auto start = at + exerciseEnd.size();
            const auto end = rtf.find_first_not_of(" \\tab", start);
            if (end != std::string::npos && end >= start + 5 &&
                rtf.compare(end - 5, 5, "\\tab ") == 0) {
                rtf.erase(start, end - start);
            }
        }
    }
    return rtf;
}

TEST_P(WorksheetProperty, EveryWorksheetKeepsThePromisesOfItsTables) {
    const KindLayout& kindLayout = Layout();
    const QuantityKind kind = kindLayout.kind;
    const bool capacity = kind == QuantityKind::Capacity;
    std::set<int> targetsSeen;

    for (int seed = 0; seed < kWorksheetsPerCase; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::uint32_t seedValue = testsupport::CorpusSeed(seed, Level());
        Ufiche::MersenneRandomSource random(seedValue);
        const Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(seed, Level());
        const int questions = settings.QuestionCount;
        const auto sheet = Ufiche::BuildWorksheet(kind, settings, random);
        ASSERT_TRUE(IsBaseName(sheet.DefaultFileName, kindLayout.namePiece, Level()))
            << sheet.DefaultFileName;

        ReadDocument subject;
        ReadDocument answers;
        try {
            subject = testsupport::ReadWorksheet(sheet.Subject, kind, settings, false);
            answers = testsupport::ReadWorksheet(sheet.AnswerKey, kind, settings, true);
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
        const std::size_t subjectBody = subject.bodyStart;
        const std::size_t answerBody = answers.bodyStart;
        const int target = answers.target;
        ASSERT_EQ(subject.target, target);
        const std::vector<ReadQuestion>& lines = answers.questions;
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(questions));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(subject.questions[i].left.Key(), lines[i].left.Key());
            ASSERT_EQ(subject.questions[i].right.Key(), lines[i].right.Key());
        }

        // Both headings name the target unit and end as the kind's do.
        const std::string headingTail =
            "\\b Convertir en   " + Uconvers::UnitName(kind, target) + kindLayout.headingEnd;
        ASSERT_EQ(sheet.Subject.substr(0, subjectBody),
                  std::string(Ufiche::RtfHeader) + "\\f0 \\fs18 " + sheet.DefaultFileName +
                      " - \\ul Titre\\ul0 \\par \\par " + headingTail);
        ASSERT_EQ(sheet.AnswerKey.substr(0, answerBody),
                  std::string(Ufiche::RtfHeader) + "\\f0 \\fs18 " + sheet.DefaultFileName +
                      " - \\b Corrig\xE9\\b0  - \\ul Titre\\ul0 \\par \\par " + headingTail);
        targetsSeen.insert(target);

        std::set<std::string> earlierKeys;
        for (int n = 1; n <= questions; ++n) {
            const ReadQuestion& line = lines[static_cast<std::size_t>(n - 1)];
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(n - 1)], line.left.Key());
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(39 + n)], line.right.Key());
            ASSERT_FALSE(earlierKeys.contains(line.left.Key())) << line.left.Key();
            ASSERT_FALSE(earlierKeys.contains(line.right.Key())) << line.right.Key();
            if (!capacity) {
                ASSERT_NE(line.left.Key(), line.right.Key());
            }
            earlierKeys.insert(line.left.Key());
            earlierKeys.insert(line.right.Key());

            for (const ReadExercise* exercise : {&line.left, &line.right}) {
                const int unit = exercise->unit;
                ASSERT_NE(unit, target);
                ASSERT_NE(exercise->value, "0");
                const exact::Decimal value = exact::Shift(exercise->Plain(), 0);
                // Every answer is the exact conversion wherever the number
                // text can hold it.
                const exact::Decimal answer = exact::Convert(kind, unit, target, exercise->Plain());
                if (answer.decimals <= 17 && answer.significantDigits <= 18) {
                    ASSERT_EQ(exercise->answer, Commune::GroupDigits(answer.text))
                        << exercise->value << " in unit " << unit << " to unit " << target;
                }
                if (Level() == 1 && kind != QuantityKind::Area && kind != QuantityKind::Volume) {
                    ASSERT_EQ(exercise->answer.find('.'), std::string::npos);
                }
                if (Level() == 2 && !capacity) {
                    ASSERT_GE(std::abs(unit - target), 1);
                    ASSERT_LE(std::abs(unit - target), 3);
                }
                if (Level() == 2 && capacity) {
                    ASSERT_LE(unit, 5);
                }
                if (Level() == 3 && !capacity && value.text.size() >= 8 &&
                    value.text.find('.') == std::string::npos) {
                    // Ten million and more: rows 12 and 13 only, in mm or cm
                    // (row 13 in mm alone but for volumes).
                    ASSERT_LE(unit, 1);
                    if (value.text.size() == 9 && kind != QuantityKind::Volume) {
                        ASSERT_EQ(unit, 0);
                    }
                }
            }
        }
        for (int n = questions + 1; n <= kQuestions; ++n) {
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(n - 1)], "") << n;
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(39 + n)], "") << n;
        }

        // The same draws with the comma: the numbers' points alone change.
        auto commaSettings = settings;
        commaSettings.DecimalComma = true;
        Ufiche::MersenneRandomSource again(seedValue);
        const auto comma = Ufiche::BuildWorksheet(kind, commaSettings, again);
        ASSERT_NO_THROW(testsupport::ReadWorksheet(comma.AnswerKey, kind, commaSettings, true));
        ASSERT_EQ(comma.DrawnExercises, sheet.DrawnExercises);
        ASSERT_EQ(comma.Subject, DecimalPointsAsCommas(sheet.Subject, subjectBody));
        ASSERT_EQ(comma.AnswerKey, DecimalPointsAsCommas(sheet.AnswerKey, answerBody));
        // The same draws in masses: the lengths worksheet in grams. The
        // gaps follow the printed width of the left exercises ("g" is narrower
        // than "m"); the gap's own tests and the paper test check them.
        if (kind == QuantityKind::Length) {
            Ufiche::MersenneRandomSource same(seedValue);
            const auto masses = Ufiche::BuildWorksheet(QuantityKind::Mass, settings, same);
            ASSERT_EQ(masses.DefaultFileName, "Mass" + sheet.DefaultFileName.substr(4));
            ASSERT_EQ(WithoutGaps(masses.AnswerKey),
                      WithoutGaps(InGrams(sheet.AnswerKey, answerBody)));
            ASSERT_EQ(WithoutGaps(masses.Subject),
                      WithoutGaps(InGrams(sheet.Subject, subjectBody)));
        }
    }

    // The targets each level can draw, and only those.
    std::set<int> expectedTargets;
    if (Level() == 1) {
        expectedTargets = {3};
    } else if (capacity) {
        expectedTargets = Level() == 2 ? std::set<int>{7, 8, 9, 10}
                                       : std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    } else if (Level() == 3 && kind == QuantityKind::Volume) {
        expectedTargets = {0, 1, 2, 3, 4};
    } else {
        expectedTargets = {0, 1, 2, 3, 4, 5, 6};
    }
    EXPECT_EQ(targetsSeen, expectedTargets);
}

std::string CaseName(const testing::TestParamInfo<std::tuple<int, int>>& info) {
    return kKindLayouts[std::get<0>(info.param)].namePiece +
           std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllKindsAndLevels, WorksheetProperty,
                         testing::Combine(testing::Range(0, 5), testing::Range(1, 4)), CaseName);

}  // namespace
