#include "Ufiche/document/PupilAnswers.h"

#include <gtest/gtest.h>

#include "Ufiche/document/PupilLink.h"

namespace {

using Ufiche::AnswerMark;

TEST(PupilAnswers, AnAnswerIsRightWhateverMarkGroupsOrZerosItIsWrittenWith) {
    const struct {
        const char* typed;
        const char* exact;
        AnswerMark mark;
    } cases[] = {
        {" 1 250,5 ", "1250.5", AnswerMark::Right},
        {"1250.5", "1250.5", AnswerMark::Right},
        {"1 250,50", "1250.5", AnswerMark::Right},
        {"1\xC2\xA0"
         "250,5",
         "1250.5", AnswerMark::Right},
        {"1\xE2\x80\xAF"
         "250.500",
         "1250.5", AnswerMark::Right},
        {"0,123 45", "0.12345", AnswerMark::Right},
        {"+2500", "2500", AnswerMark::Right},
        {"002500,000", "2500", AnswerMark::Right},
        {"-0", "0", AnswerMark::Right},
        {"1250,6", "1250.5", AnswerMark::Wrong},
        {"-2500", "2500", AnswerMark::Wrong},
        {"\xE2\x88\x92"
         "3",
         "3", AnswerMark::Wrong},
        {"12500", "1250.5", AnswerMark::Wrong},
        {"", "7", AnswerMark::Empty},
        {" \xC2\xA0 ", "7", AnswerMark::Empty},
        {"12 50", "1250", AnswerMark::NotANumber},
        {"1 2500", "12500", AnswerMark::NotANumber},
        {"1,250.5", "1250.5", AnswerMark::NotANumber},
        {",5", "0.5", AnswerMark::NotANumber},
        {"5,", "5", AnswerMark::NotANumber},
        {"1e3", "1000", AnswerMark::NotANumber},
        {"deux", "2", AnswerMark::NotANumber},
        {"2 m", "2", AnswerMark::NotANumber},
        {"+-2", "2", AnswerMark::NotANumber},
        {"<script>", "2", AnswerMark::NotANumber},
        {"0,1234 5", "0.12345", AnswerMark::NotANumber},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ufiche::MarkAnswer(c.typed, c.exact), c.mark) << c.typed;
    }
}

TEST(PupilAnswers, AnExerciseCountsWhenAllItsBlanksAreRightAndAnswersShowAsTheKeyWritesThem) {
    const std::vector<Ufiche::WorksheetExercise> exercises = {
        {"250 dam =", {{"2500", "m"}}}, {"135 min =", {{"2", "h"}, {"15", "min"}}}};
    const auto marks = Ufiche::MarkSheet(exercises, {"2 500", "2", "16"});
    EXPECT_EQ(marks.marks[1], (std::vector{AnswerMark::Right, AnswerMark::Wrong}));
    EXPECT_EQ(Ufiche::ScoreText(marks), "1 / 2");
    EXPECT_EQ(Ufiche::AnswerShown("12345.6789", true), "12 345,678 9");
}

TEST(PupilLink, ALinkOutOfRangeShowsTheNearestSheetAndSaysWhatChanged) {
    const auto link = Ufiche::ReadPupilLink(
        "?eleve=1&type=9&niveau=7&lignes=99999999999&virgule=0&deuxunites=1&code=4k7-qx&code="
        "ZZZZZ");
    EXPECT_EQ(Ufiche::PupilLinkQuery(link),
              "?eleve=1&type=0&niveau=3&lignes=40&virgule=0&deuxunites=1&code=4K7QX");
    EXPECT_EQ(link.Changes,
              (std::vector<std::string>{
                  "Le type d'exercices 9 n'existe pas : longueurs.",
                  "Le niveau 7 n'existe pas : niveau 3.",
                  "Le nombre de questions demand\xE9 n'est pas possible : 40 questions."}));
    const auto hostile =
        Ufiche::ReadPupilLink("type=%3Cscript%3E&niveau=-2&lignes=20&virgule=1&deuxunites=0");
    EXPECT_EQ(Ufiche::PupilLinkQuery(hostile),
              "?eleve=1&type=0&niveau=1&lignes=20&virgule=1&deuxunites=0&code=00000");
    EXPECT_EQ(hostile.Changes.back(), "Le code de la fiche n'est pas valide : fiche 00000.");
}

}  // namespace
