#include "Ufiche/generation/Worksheet.h"

#include <gtest/gtest.h>

#include <random>

#include "ScriptedRandomSource.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/ExerciseKey.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "WorksheetLayout.h"

namespace {

using Uconvers::QuantityKind;
using Ufiche::BuildWorksheet;
using Ufiche::WorksheetSettings;

const std::string kHeader(Ufiche::RtfHeader);

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

WorksheetSettings Settings(int level, int questionCount, int lineSpacing = 1) {
    return {level, questionCount, lineSpacing, "Titre", "Convertir en ", true, "-----"};
}

TEST(BuildWorksheet, LengthsLevelOneWorkedExampleIsReproducedByteForByte) {
    // Base name 37 and 05; row 1 with 250 and 70; units dam and dm.
    ScriptedRandomSource random({{100, 37}, {100, 5}, {7, 1}, {99, 24}, {99, 6}, {5, 2}, {5, 0}});
    const auto sheet = BuildWorksheet(QuantityKind::Length, Settings(1, 1), random);
    EXPECT_TRUE(random.AllUsed());

    EXPECT_EQ(sheet.DefaultFileName, "Long_N1_37_05");
    const std::string secondLine =
        "\\ul0 \\par \\par \\b Convertir en   m\xE8tre\\b \\par \\par \\b0 ";
    EXPECT_EQ(sheet.Subject, kHeader + "\\f0 \\fs18 Long_N1_37_05 - \\ul Titre" + secondLine +
                                 "-----\\par 1\xB0/   250 dam =" + Repeat("\\tab ", 6) +
                                 "70 dm = \\par}");
    EXPECT_EQ(sheet.AnswerKey,
              kHeader + "\\f0 \\fs18 Long_N1_37_05 - \\b Corrig\xE9\\b0  - \\ul Titre" +
                  secondLine +
                  "-----\\par 1\xB0/   250 dam = \\highlight12 2 500 m\\highlight0 \\tab "
                  "70 dm = \\highlight12 7 m\\highlight0 \\par}");
    EXPECT_EQ(sheet.DrawnExercises[0], "2504");
    EXPECT_EQ(sheet.DrawnExercises[40], "702");
    for (std::size_t slot : {1u, 39u, 41u, 79u}) {
        EXPECT_EQ(sheet.DrawnExercises[slot], "");
    }
}

TEST(BuildWorksheet, LineSpacingParagraphsFollowEverySubjectLineButTheLast) {
    // Two questions at level 1, spacing 3, no separator line.
    ScriptedRandomSource random({{100, 0},
                                 {100, 99},
                                 {7, 1},
                                 {99, 24},
                                 {99, 6},
                                 {5, 2},
                                 {5, 0},
                                 {7, 6},
                                 {9, 2},
                                 {9, 4},
                                 {3, 2},
                                 {3, 0}});
    WorksheetSettings settings = Settings(1, 2, 3);
    settings.SeparatorShown = false;
    const auto sheet = BuildWorksheet(QuantityKind::Length, settings, random);
    EXPECT_TRUE(random.AllUsed());
    EXPECT_EQ(sheet.DefaultFileName, "Long_N1_00_99");
    const std::string subjectBody = sheet.Subject.substr(sheet.Subject.find(" 1\xB0/"));
    EXPECT_EQ(subjectBody, " 1\xB0/   250 dam =" + Repeat("\\tab ", 6) + "70 dm = \\par" +
                               "\\par\\par\\par" + " 2\xB0/   3 km =" + Repeat("\\tab ", 6) +
                               "5 dam = \\par}");
    const std::string answerBody = sheet.AnswerKey.substr(sheet.AnswerKey.find(" 1\xB0/"));
    EXPECT_EQ(answerBody, std::string(" 1\xB0/   250 dam = \\highlight12 2 500 m\\highlight0 \\tab "
                                      "70 dm = \\highlight12 7 m\\highlight0 \\par") +
                              " 2\xB0/   3 km = \\highlight12 3 000 m\\highlight0 \\tab "
                              "5 dam = \\highlight12 50 m\\highlight0 \\par}");
}

TEST(BuildWorksheet, CapacitiesLevelTwoWorkedExampleConvertsLitreUnitsIntoCubicOnes) {
    // Target c = 0 then R(3) = 0: dm3. Row 1: 250 and 40; pattern 0: cL, daL.
    ScriptedRandomSource random(
        {{100, 12}, {100, 34}, {3, 0}, {3, 0}, {6, 1}, {99, 24}, {99, 3}, {3, 0}, {3, 1}, {3, 1}});
    const auto sheet = BuildWorksheet(QuantityKind::Capacity, Settings(2, 1), random);
    EXPECT_TRUE(random.AllUsed());
    EXPECT_EQ(sheet.DefaultFileName, "Capa_N2_12_34");
    EXPECT_EQ(sheet.DrawnExercises[0], "2501");
    EXPECT_EQ(sheet.DrawnExercises[40], "404");
    EXPECT_NE(sheet.Subject.find("\\b Convertir en   d\xE9"
                                 "cim\xE8tre cube\\b \\par \\par \\b0 "),
              std::string::npos);
    EXPECT_TRUE(sheet.Subject.ends_with("-----\\par 1\xB0/   250 cL =" + Repeat("\\tab ", 6) +
                                        "40 daL = \\par}"));
    EXPECT_TRUE(sheet.AnswerKey.ends_with(
        "-----\\par 1\xB0/   250 cL = \\highlight12 2.5 dm\\super 3\\nosupersub \\highlight0 \\tab "
        "40 daL = \\highlight12 400 dm\\super 3\\nosupersub \\highlight0 \\par}"));
}

TEST(BuildWorksheet, RepeatedKeysAreDrawnAgainButAnIdenticalPairInOneCapacityLineStands) {
    // Capacities level 3, target L. Question 1: 5 mm3 on both sides (key
    // "510" twice, allowed within one line). Question 2 first draws 51 mL,
    // whose key "510" repeats, and is drawn again from its row.
    ScriptedRandomSource random({{100, 1}, {100, 2}, {3, 0},   {4, 0},   {6, 0}, {999, 4},
                                 {999, 4}, {6, 3},   {11, 10}, {11, 10}, {6, 0}, {999, 50},
                                 {999, 6}, {6, 3},   {11, 0},  {11, 1},  {6, 0}, {999, 1},
                                 {999, 2}, {6, 3},   {11, 1},  {11, 2}});
    const auto sheet = BuildWorksheet(QuantityKind::Capacity, Settings(3, 2), random);
    EXPECT_TRUE(random.AllUsed());
    EXPECT_EQ(sheet.DrawnExercises[0], "510");
    EXPECT_EQ(sheet.DrawnExercises[40], "510");
    EXPECT_EQ(sheet.DrawnExercises[1], "21");
    EXPECT_EQ(sheet.DrawnExercises[41], "32");
    EXPECT_NE(sheet.Subject.find("1\xB0/   5 mm\\super 3\\nosupersub  =" + Repeat("\\tab ", 6) +
                                 "5 mm\\super 3\\nosupersub  = \\par"),
              std::string::npos);
}

TEST(BuildWorksheet, LengthsRejectEqualPairsTargetUnitsAndTheirOwnLevelThreeRowThirteen) {
    // Level 3, target R(7) = 0 (mm). Row 13 always gives mm: rejected. Then
    // row 3 with 4 and 4 in cm and cm: an equal pair, rejected. Then row 6:
    // 1.5 cm and 2.5 dm.
    ScriptedRandomSource random({{100, 41},
                                 {100, 8},
                                 {7, 0},
                                 {14, 13},
                                 {99, 0},
                                 {99, 1},
                                 {1, 0},
                                 {1, 0},
                                 {14, 3},
                                 {9, 3},
                                 {9, 3},
                                 {7, 1},
                                 {7, 1},
                                 {14, 6},
                                 {50, 1},
                                 {50, 2},
                                 {7, 1},
                                 {7, 2}});
    const auto sheet = BuildWorksheet(QuantityKind::Length, Settings(3, 1), random);
    EXPECT_TRUE(random.AllUsed());
    EXPECT_EQ(sheet.DefaultFileName, "Long_N3_41_08");
    EXPECT_EQ(sheet.DrawnExercises[0], "1.51");
    EXPECT_EQ(sheet.DrawnExercises[40], "2.52");
    EXPECT_TRUE(
        sheet.AnswerKey.ends_with("1.5 cm = \\highlight12 15 mm\\highlight0 \\tab "
                                  "2.5 dm = \\highlight12 250 mm\\highlight0 \\par}"));
}

TEST(BuildWorksheet, VolumesLevelThreeDrawTheirTargetAmongFiveAndRowThirteenInTwoUnits) {
    // Target R(5) = 0; row 13 draws its units by R(2): cm3 and cm3 with two
    // different values stands; tenths are computed in 80 bits.
    ScriptedRandomSource random({{100, 3},
                                 {100, 4},
                                 {5, 0},
                                 {14, 13},
                                 {99, 0},
                                 {99, 1},
                                 {2, 1},
                                 {2, 1},
                                 {14, 4},
                                 {10, 7},
                                 {9, 3},
                                 {10, 0},
                                 {9, 0},
                                 {7, 2},
                                 {7, 6}});
    const auto sheet = BuildWorksheet(QuantityKind::Volume, Settings(3, 2), random);
    EXPECT_TRUE(random.AllUsed());
    EXPECT_EQ(sheet.DrawnExercises[0], "10 000 0001");
    EXPECT_EQ(sheet.DrawnExercises[40], "20 000 0001");
    EXPECT_EQ(sheet.DrawnExercises[1], "7.42");
    EXPECT_EQ(sheet.DrawnExercises[41], "0.16");
    // Volumes put two tabs between the left answer and the right exercise.
    EXPECT_TRUE(sheet.AnswerKey.ends_with(
        "7.4 dm\\super 3\\nosupersub  = \\highlight12 7 400 000 mm\\super 3\\nosupersub "
        "\\highlight0 \\tab \\tab 0.1 km\\super 3\\nosupersub  = \\highlight12 "
        "100 000 000 000 000 000 mm\\super 3\\nosupersub \\highlight0 \\par}"));
}

TEST(BuildWorksheet, SurfacesEndTheirHeadingBoldWhereTheOtherKindsReopenBold) {
    for (const testsupport::KindLayout& kind : testsupport::kKindLayouts) {
        for (int level = 1; level <= 3; ++level) {
            Ufiche::MersenneRandomSource random(static_cast<unsigned>(level * 17));
            // No questions: the documents hold the headings alone.
            const WorksheetSettings settings = Settings(level, 0);
            const auto sheet = BuildWorksheet(kind.kind, settings, random);
            const std::string name = sheet.DefaultFileName;
            ASSERT_TRUE(name.starts_with(kind.namePiece + std::to_string(level) + "_")) << name;
            const std::string subjectStart = kHeader + "\\f0 \\fs18 " + name +
                                             " - \\ul Titre\\ul0 \\par \\par \\b Convertir en   ";
            const std::string end = kind.headingEnd + "}";
            ASSERT_TRUE(sheet.Subject.starts_with(subjectStart));
            ASSERT_TRUE(sheet.Subject.ends_with(end)) << sheet.Subject;
            // The heading names a unit of the kind, and nothing follows it.
            testsupport::ReadDocument subject;
            ASSERT_NO_THROW(
                subject = testsupport::ReadWorksheet(sheet.Subject, kind.kind, settings, false));
            ASSERT_TRUE(subject.questions.empty());
            const std::string unitName = Uconvers::UnitName(kind.kind, subject.target);
            EXPECT_EQ(sheet.Subject, subjectStart + unitName + end);
            if (level == 1) {
                EXPECT_EQ(subject.target, 3);
            }
            EXPECT_EQ(sheet.AnswerKey, kHeader + "\\f0 \\fs18 " + name +
                                           " - \\b Corrig\xE9\\b0  - \\ul Titre\\ul0 \\par \\par "
                                           "\\b Convertir en   " +
                                           unitName + end);
        }
    }
}

TEST(BuildWorksheet, SettingsOutsideTheirRangesAreBroughtIntoRange) {
    Ufiche::MersenneRandomSource random(5);
    for (int count : {0, -3}) {
        const auto sheet = BuildWorksheet(QuantityKind::Length, Settings(2, count), random);
        EXPECT_EQ(sheet.Subject.find("\xB0/"), std::string::npos);
        EXPECT_EQ(sheet.DrawnExercises[0], "");
    }
    const auto many = BuildWorksheet(QuantityKind::Area, Settings(3, 1000), random);
    EXPECT_NE(many.AnswerKey.find("40\xB0/"), std::string::npos);
    EXPECT_EQ(many.AnswerKey.find("41\xB0/"), std::string::npos);
    EXPECT_NE(many.DrawnExercises[79], "");
    EXPECT_TRUE(BuildWorksheet(QuantityKind::Volume, Settings(0, 1), random)
                    .DefaultFileName.starts_with("Vol_N1_"));
    EXPECT_TRUE(BuildWorksheet(QuantityKind::Capacity, Settings(9, 1), random)
                    .DefaultFileName.starts_with("Capa_N3_"));
    const auto spaced = BuildWorksheet(QuantityKind::Length, Settings(1, 2, 1000000), random);
    // The line's own "\par", then ten empty paragraphs.
    EXPECT_NE(spaced.Subject.find(" = " + Repeat("\\par", 11) + "-----"), std::string::npos);
    EXPECT_EQ(spaced.Subject.find(Repeat("\\par", 12)), std::string::npos);
}

// The tags of the teacher's texts format; their braces and backslashes are
// text, written as RTF's escapes, so that no typed text can act as RTF.
TEST(BuildWorksheet, TeacherTextsFormatByTheirTagsAndKeepBracesAndBackslashesAsText) {
    Ufiche::MersenneRandomSource random(11);
    WorksheetSettings settings = Settings(1, 2, 0);
    settings.TitleLine = "<b>Fiche {1}</b> \\i";
    using namespace std::string_literals;
    settings.InstructionText = "<ce=rouge>Convertir}\0 en "s;  // a NUL ends nothing
    settings.SeparatorLine = "<i>*\\*</i>";
    const auto sheet = BuildWorksheet(QuantityKind::Length, settings, random);
    for (const std::string& document : {sheet.Subject, sheet.AnswerKey}) {
        EXPECT_NE(document.find("\\ul \\b Fiche \\{1\\}\\b0  \\\\i\\ul0 "), std::string::npos);
        EXPECT_NE(document.find("\\b \\cf10 Convertir\\} en   m\xE8tre"), std::string::npos);
        EXPECT_NE(document.find("\\i *\\\\*\\i0 \\par 1\xB0/   "), std::string::npos);
        EXPECT_NE(document.find("\\i *\\\\*\\i0 \\par 2\xB0/   "), std::string::npos);
    }
}

TEST(BuildWorksheet, ASeparatorThatBeginsWithALetterOrADigitStaysApartFromTheParagraphMark) {
    for (const std::string separator : {"Exercice", "2024", "-5 points"}) {
        Ufiche::MersenneRandomSource random(13);
        WorksheetSettings settings = Settings(2, 3, 0);
        settings.SeparatorLine = separator;
        const auto sheet = BuildWorksheet(QuantityKind::Length, settings, random);
        for (const std::string& document : {sheet.Subject, sheet.AnswerKey}) {
            // After the heading's own delimiter, then after each line's "\par".
            EXPECT_NE(document.find("\\b0 " + separator + "\\par 1\xB0/"), std::string::npos);
            EXPECT_NE(document.find("\\par " + separator + "\\par 2\xB0/"), std::string::npos);
            EXPECT_NE(document.find("\\par " + separator + "\\par 3\xB0/"), std::string::npos);
        }
    }
    // Dashes, as in the worked example, need no delimiter.
    Ufiche::MersenneRandomSource random(13);
    const auto sheet = BuildWorksheet(QuantityKind::Length, Settings(1, 2, 0), random);
    EXPECT_NE(sheet.Subject.find(" = \\par-----\\par 2\xB0/"), std::string::npos);
}

TEST(BuildWorksheet, AnyTeacherTextOfUpToTenThousandCharactersNeitherCrashesNorHangs) {
    std::mt19937 bytes(3);
    Ufiche::MersenneRandomSource random(3);
    for (int round = 0; round < 12; ++round) {
        auto text = [&](std::size_t size) {
            std::string result(size, ' ');
            for (auto& c : result) {
                c = static_cast<char>(bytes() % 256);
            }
            return result;
        };
        WorksheetSettings settings{round % 3 + 1,    40,          round % 4,
                                   text(10000),      text(10000), round % 2 == 0,
                                   text(round * 800)};
        const auto kind = static_cast<QuantityKind>(round % 5);
        const auto sheet = BuildWorksheet(kind, settings, random);
        EXPECT_TRUE(sheet.Subject.starts_with(kHeader));
        EXPECT_TRUE(sheet.AnswerKey.ends_with("\\par}"));
    }
}

TEST(ExerciseKeyUsed, ComparesExactBytesOverAllEightySlots) {
    Ufiche::DrawnExerciseSlots slots{};
    EXPECT_FALSE(Ufiche::ExerciseKeyUsed(slots, "2504"));
    EXPECT_TRUE(Ufiche::ExerciseKeyUsed(slots, ""));
    slots[79] = Ufiche::ExerciseKey(5, 10);
    EXPECT_EQ(slots[79], "510");
    EXPECT_TRUE(Ufiche::ExerciseKeyUsed(slots, Ufiche::ExerciseKey(51, 0)));
    EXPECT_FALSE(Ufiche::ExerciseKeyUsed(slots, "5100"));
    EXPECT_EQ(Ufiche::ExerciseKey(1500, 0), "1 5000");
    EXPECT_EQ(Ufiche::ExerciseKey(250, 4), "2504");
}

}  // namespace
