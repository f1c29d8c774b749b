// Masses and the decimal comma bring nothing of their own into a worksheet:
// each is another worksheet with some texts replaced, the same draws giving
// the same questions. Whole documents are compared over many seeds.
#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <string>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"

namespace {

using Uconvers::QuantityKind;

constexpr int kSeeds = 400;

// A title and an instruction with decimal points of their own, which the
// comma must leave alone.
Ufiche::WorksheetSettings Settings(int level, int seed, bool decimalComma) {
    return {level,         40,      seed % 3,    "Fiche 2.5", "Convertir (v1.2) en ",
            seed % 2 == 0, "- - -", decimalComma};
}

Ufiche::GeneratedWorksheet Build(QuantityKind kind, const Ufiche::WorksheetSettings& settings,
                                 int seed) {
    Ufiche::MersenneRandomSource random(static_cast<std::uint32_t>(seed * 104729 + settings.Level));
    return Ufiche::BuildWorksheet(kind, settings, random);
}

testsupport::ReadDocument Read(const std::string& rtf, QuantityKind kind,
                               const Ufiche::WorksheetSettings& settings, bool answerKey) {
    try {
        return testsupport::ReadWorksheet(rtf, kind, settings, answerKey);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
        return {};
    }
}

// A lengths document as masses would have it: the base name's piece, the
// target's name at the end of the heading and, in the body, every word that
// is a length symbol (the body's other words are control words, after a
// backslash) replaced by the mass unit of the same index.
std::string AsMasses(const std::string& rtf, std::size_t bodyStart, int target) {
    std::string heading = rtf.substr(0, bodyStart);
    heading.replace(heading.find("Long_N"), 6, "Mass_N");
    const std::string end = testsupport::LayoutOf(QuantityKind::Length).headingEnd;
    const std::string lengthName = "  " + Uconvers::UnitName(QuantityKind::Length, target) + end;
    EXPECT_TRUE(heading.ends_with(lengthName));
    heading.replace(heading.size() - lengthName.size(), lengthName.size(),
                    "  " + Uconvers::UnitName(QuantityKind::Mass, target) + end);

    std::string result = heading;
    const auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t i = bodyStart; i < rtf.size();) {
        std::size_t wordEnd = i;
        while (wordEnd < rtf.size() && isLetter(rtf[wordEnd])) {
            ++wordEnd;
        }
        if (wordEnd == i) {
            result += rtf[i++];
            continue;
        }
        std::string word = rtf.substr(i, wordEnd - i);
        for (int unit = 0; rtf[i - 1] != '\\' && unit < 7; ++unit) {
            if (word == Uconvers::UnitSymbol(QuantityKind::Length, unit)) {
                word = Uconvers::UnitSymbol(QuantityKind::Mass, unit);
                break;
            }
        }
        result += word;
        i = wordEnd;
    }
    return result;
}

// A subject with the gap of each line (blanks after the left exercise's "=",
// then tabs) cut out.
std::string WithoutGaps(const std::string& subject) {
    const std::string tab = "\\tab ";
    std::string result;
    for (std::size_t i = 0; i < subject.size();) {
        if (subject.compare(i, 2, " =") == 0) {
            std::size_t end = i + 2;
            while (end < subject.size() && subject[end] == ' ') {
                ++end;
            }
            if (subject.compare(end, tab.size(), tab) == 0) {
                while (subject.compare(end, tab.size(), tab) == 0) {
                    end += tab.size();
                }
                result += " =";
                i = end;
                continue;
            }
        }
        result += subject[i++];
    }
    return result;
}

class MassesProperty : public testing::TestWithParam<int> {};

// Answer keys are compared byte for byte. Subjects are compared without the
// gap before each right exercise: the gap follows the printed width of the
// left exercise, and "g" is narrower than "m", so the same exercise may need
// one blank or one tab less in grams than in metres. Whether a gap puts the
// right exercise in its column is the gap's own tests' and the paper test's
// business, for masses as for every kind.
TEST_P(MassesProperty, AMassesWorksheetIsTheLengthsWorksheetInGrams) {
    const int level = GetParam();
    for (int seed = 0; seed < kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const auto settings = Settings(level, seed, seed % 4 == 3);
        const auto lengths = Build(QuantityKind::Length, settings, seed);
        const auto masses = Build(QuantityKind::Mass, settings, seed);
        const auto subject = Read(lengths.Subject, QuantityKind::Length, settings, false);
        const auto answers = Read(lengths.AnswerKey, QuantityKind::Length, settings, true);
        ASSERT_EQ(masses.DefaultFileName, "Mass" + lengths.DefaultFileName.substr(4));
        ASSERT_EQ(masses.DrawnExercises, lengths.DrawnExercises);
        ASSERT_EQ(masses.AnswerKey, AsMasses(lengths.AnswerKey, answers.bodyStart, answers.target));
        ASSERT_EQ(WithoutGaps(masses.Subject),
                  WithoutGaps(AsMasses(lengths.Subject, subject.bodyStart, subject.target)));
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, MassesProperty, testing::Range(1, 4));

// Every point between two digits of the body, that is every decimal point
// of a number, replaced by a comma.
std::string DecimalPointsAsCommas(std::string rtf, std::size_t bodyStart, int& replaced) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = bodyStart + 1; i + 1 < rtf.size(); ++i) {
        if (rtf[i] == '.' && isDigit(rtf[i - 1]) && isDigit(rtf[i + 1])) {
            rtf[i] = ',';
            ++replaced;
        }
    }
    return rtf;
}

class CommaProperty : public testing::TestWithParam<int> {};

TEST_P(CommaProperty, TheCommaWorksheetDiffersFromThePointOneInItsDecimalPointsAlone) {
    const auto kind = testsupport::kKindLayouts[GetParam()].kind;
    int replaced = 0;
    for (int level = 1; level <= 3; ++level) {
        for (int seed = 0; seed < kSeeds; ++seed) {
            SCOPED_TRACE("level " + std::to_string(level) + ", seed " + std::to_string(seed));
            const auto pointSettings = Settings(level, seed, false);
            const auto commaSettings = Settings(level, seed, true);
            const auto point = Build(kind, pointSettings, seed);
            const auto comma = Build(kind, commaSettings, seed);
            ASSERT_EQ(comma.DefaultFileName, point.DefaultFileName);
            ASSERT_EQ(comma.DrawnExercises, point.DrawnExercises);
            // The reader takes commas only where the settings ask for them.
            const auto subject = Read(comma.Subject, kind, commaSettings, false);
            const auto answers = Read(comma.AnswerKey, kind, commaSettings, true);
            ASSERT_EQ(comma.Subject,
                      DecimalPointsAsCommas(point.Subject, subject.bodyStart, replaced));
            ASSERT_EQ(comma.AnswerKey,
                      DecimalPointsAsCommas(point.AnswerKey, answers.bodyStart, replaced));
        }
    }
    EXPECT_GT(replaced, 1000);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, CommaProperty,
                         testing::Range(0, static_cast<int>(std::size(testsupport::kKindLayouts))));

}  // namespace
