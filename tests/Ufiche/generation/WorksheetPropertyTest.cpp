#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Commune/Commune.h"
#include "ExactDecimal.h"
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

using Uconvers::QuantityKind;

constexpr int kWorksheetsPerCase = 2000;
constexpr int kQuestions = 40;

struct Exercise {
    std::string value;  // grouped number text, as printed
    int unit = -1;
    std::string answer;
    std::string Key() const { return value + std::to_string(unit); }
    std::string Plain() const {
        std::string plain;
        for (char c : value) {
            if (c != ' ') {
                plain += c;
            }
        }
        return plain;
    }
};

struct Line {
    Exercise left;
    Exercise right;
};

// Reads a generated document back, failing on the first byte that does not
// follow the layout of a question line.
class DocumentReader {
public:
    DocumentReader(const std::string& text, std::size_t position, QuantityKind kind)
        : text_(text), position_(position) {
        for (int unit = 0; unit < Uconvers::UnitCount(kind); ++unit) {
            symbols_.push_back(Ufiche::MarkupToRtf(Uconvers::UnitSymbol(kind, unit)));
        }
    }

    void Expect(std::string_view expected) {
        if (text_.compare(position_, expected.size(), expected) != 0) {
            throw std::runtime_error("expected \"" + std::string(expected) + "\" at " +
                                     std::to_string(position_) + ": \"" +
                                     text_.substr(position_, 60) + "\"");
        }
        position_ += expected.size();
    }

    // Digits, points, and single spaces between digit groups.
    std::string Number() {
        const std::size_t start = position_;
        auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        while (position_ < text_.size() &&
               (isDigit(text_[position_]) || text_[position_] == '.' ||
                (text_[position_] == ' ' && position_ + 1 < text_.size() &&
                 isDigit(text_[position_ + 1])))) {
            ++position_;
        }
        if (position_ == start) {
            throw std::runtime_error("number expected at " + std::to_string(start));
        }
        return text_.substr(start, position_ - start);
    }

    int Symbol() {
        int found = -1;
        for (int unit = 0; unit < static_cast<int>(symbols_.size()); ++unit) {
            const auto& symbol = symbols_[static_cast<std::size_t>(unit)];
            if (text_.compare(position_, symbol.size(), symbol) == 0 &&
                (found < 0 || symbol.size() > symbols_[static_cast<std::size_t>(found)].size())) {
                found = unit;
            }
        }
        if (found < 0) {
            throw std::runtime_error("unit symbol expected at " + std::to_string(position_));
        }
        position_ += symbols_[static_cast<std::size_t>(found)].size();
        return found;
    }

    Exercise ValueAndUnit() {
        Exercise exercise;
        exercise.value = Number();
        Expect(" ");
        exercise.unit = Symbol();
        return exercise;
    }

    void Answer(Exercise& exercise, int target) {
        Expect(" = \\highlight12 ");
        exercise.answer = Number();
        Expect(" ");
        if (Symbol() != target) {
            throw std::runtime_error("answer not in the target unit");
        }
        Expect("\\highlight0 ");
    }

    void Tabs(int count) {
        for (int i = 0; i < count; ++i) {
            Expect("\\tab ");
        }
    }

    bool AtEnd() const { return position_ == text_.size(); }

private:
    const std::string& text_;
    std::size_t position_;
    std::vector<std::string> symbols_;
};

struct KindLayout {
    QuantityKind kind;
    std::string namePiece;
    std::string headingEnd;
    int answerTabs;
};

const KindLayout kLayouts[] = {
    {QuantityKind::Length, "Long_N", "\\b \\par \\par \\b0 ", 3},
    {QuantityKind::Area, "Surf_N", "\\b0 \\par \\par ", 3},
    {QuantityKind::Volume, "Vol_N", "\\b \\par \\par \\b0 ", 2},
    {QuantityKind::Capacity, "Capa_N", "\\b \\par \\par \\b0 ", 3},
};

class WorksheetProperty : public testing::TestWithParam<std::tuple<int, int>> {
protected:
    const KindLayout& layout() const { return kLayouts[std::get<0>(GetParam())]; }
    int level() const { return std::get<1>(GetParam()); }
};

bool IsBaseName(const std::string& name, const std::string& piece, int level) {
    const std::string start = piece + std::to_string(level) + "_";
    auto digit = [&](std::size_t i) { return name[i] >= '0' && name[i] <= '9'; };
    const std::size_t n = start.size();
    return name.size() == n + 5 && name.starts_with(start) && digit(n) && digit(n + 1) &&
           name[n + 2] == '_' && digit(n + 3) && digit(n + 4);
}

TEST_P(WorksheetProperty, EveryWorksheetKeepsThePromisesOfItsTables) {
    const KindLayout& kindLayout = layout();
    const QuantityKind kind = kindLayout.kind;
    const bool capacity = kind == QuantityKind::Capacity;
    std::set<int> targetsSeen;

    for (int seed = 0; seed < kWorksheetsPerCase; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Ufiche::MersenneRandomSource random(static_cast<std::uint32_t>(seed * 7919 + level()));
        const Ufiche::WorksheetSettings settings{level(),         kQuestions,    seed % 4, "Titre",
                                                 "Convertir en ", seed % 3 != 0, "- - -"};
        const auto sheet = Ufiche::BuildWorksheet(kind, settings, random);
        ASSERT_TRUE(IsBaseName(sheet.DefaultFileName, kindLayout.namePiece, level()))
            << sheet.DefaultFileName;

        const std::string separator = settings.SeparatorShown ? "- - -\\par " : " ";
        const std::string firstLine = separator + "1\xB0/   ";
        const std::size_t subjectBody = sheet.Subject.find(firstLine);
        const std::size_t answerBody = sheet.AnswerKey.find(firstLine);
        ASSERT_NE(subjectBody, std::string::npos);
        ASSERT_NE(answerBody, std::string::npos);

        std::vector<Line> lines(kQuestions);
        int target = -1;
        try {
            DocumentReader answers(sheet.AnswerKey, answerBody, kind);
            for (int n = 1; n <= kQuestions; ++n) {
                Line& line = lines[static_cast<std::size_t>(n - 1)];
                answers.Expect(separator + std::to_string(n) + "\xB0/   ");
                line.left = answers.ValueAndUnit();
                if (target < 0) {
                    // The first answer names the target unit; every other must agree.
                    const std::size_t at = sheet.AnswerKey.find("\\highlight12 ", answerBody);
                    DocumentReader targetReader(sheet.AnswerKey, at + 13, kind);
                    targetReader.Number();
                    targetReader.Expect(" ");
                    target = targetReader.Symbol();
                }
                answers.Answer(line.left, target);
                answers.Tabs(kindLayout.answerTabs);
                line.right = answers.ValueAndUnit();
                answers.Answer(line.right, target);
                answers.Expect("\\par");
            }
            answers.Expect("}");
            ASSERT_TRUE(answers.AtEnd());

            DocumentReader subject(sheet.Subject, subjectBody, kind);
            for (int n = 1; n <= kQuestions; ++n) {
                const Line& line = lines[static_cast<std::size_t>(n - 1)];
                subject.Expect(separator + std::to_string(n) + "\xB0/   ");
                const Exercise left = subject.ValueAndUnit();
                subject.Expect(" =");
                subject.Tabs(6);
                const Exercise right = subject.ValueAndUnit();
                subject.Expect(" = \\par");
                ASSERT_EQ(left.Key(), line.left.Key());
                ASSERT_EQ(right.Key(), line.right.Key());
                if (n < kQuestions) {
                    for (int i = 0; i < settings.LineSpacing; ++i) {
                        subject.Expect("\\par");
                    }
                }
            }
            subject.Expect("}");
            ASSERT_TRUE(subject.AtEnd());
        } catch (const std::exception& error) {
            FAIL() << error.what();
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
        for (int n = 1; n <= kQuestions; ++n) {
            const Line& line = lines[static_cast<std::size_t>(n - 1)];
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(n - 1)], line.left.Key());
            ASSERT_EQ(sheet.DrawnExercises[static_cast<std::size_t>(39 + n)], line.right.Key());
            ASSERT_FALSE(earlierKeys.contains(line.left.Key())) << line.left.Key();
            ASSERT_FALSE(earlierKeys.contains(line.right.Key())) << line.right.Key();
            if (!capacity) {
                ASSERT_NE(line.left.Key(), line.right.Key());
            }
            earlierKeys.insert(line.left.Key());
            earlierKeys.insert(line.right.Key());

            for (const Exercise* exercise : {&line.left, &line.right}) {
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
                if (level() == 1 && (kind == QuantityKind::Length || capacity)) {
                    ASSERT_EQ(exercise->answer.find('.'), std::string::npos);
                }
                if (level() == 2 && !capacity) {
                    ASSERT_GE(std::abs(unit - target), 1);
                    ASSERT_LE(std::abs(unit - target), 3);
                }
                if (level() == 2 && capacity) {
                    ASSERT_LE(unit, 5);
                }
                if (level() == 3 && !capacity && value.text.size() >= 8 &&
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
        for (std::size_t slot = kQuestions; slot < 40; ++slot) {
            ASSERT_EQ(sheet.DrawnExercises[slot], "");
        }
    }

    // The targets each level can draw, and only those.
    std::set<int> expectedTargets;
    if (level() == 1) {
        expectedTargets = {3};
    } else if (capacity) {
        expectedTargets = level() == 2 ? std::set<int>{7, 8, 9, 10}
                                       : std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    } else if (level() == 3 && kind == QuantityKind::Volume) {
        expectedTargets = {0, 1, 2, 3, 4};
    } else {
        expectedTargets = {0, 1, 2, 3, 4, 5, 6};
    }
    EXPECT_EQ(targetsSeen, expectedTargets);
}

std::string CaseName(const testing::TestParamInfo<std::tuple<int, int>>& info) {
    return kLayouts[std::get<0>(info.param)].namePiece + std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllKindsAndLevels, WorksheetProperty,
                         testing::Combine(testing::Range(0, 4), testing::Range(1, 4)), CaseName);

}  // namespace
