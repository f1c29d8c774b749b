#include "Ufiche/generation/Worksheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "Uconvers/X87Precision.h"
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/ExerciseKey.h"
#include "Ufiche/generation/FormatNumber.h"
#include "Ufiche/generation/KindRules.h"
#include "Ufiche/generation/QuestionDraw.h"

namespace Ufiche {
namespace {

using Uconvers::UnitIndex;

constexpr int kMaxLineSpacing = 10;
// Windows-1252: "°" is \xB0, "é" is \xE9.
constexpr const char* kQuestionNumberEnd = "\xB0/   ";
constexpr const char* kAnswerKeyTitle = " - <b>Corrig\xE9</b> - <u>";

std::string TwoDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

std::string Heading(const KindRules& rules, const std::string& defaultFileName,
                    const WorksheetSettings& settings, UnitIndex target, bool answerKey) {
    std::string markup(RtfHeader);
    markup += "<arial><te=18>";
    markup += defaultFileName;
    markup += answerKey ? kAnswerKeyTitle : " - <u>";
    markup += settings.TitleLine;
    markup += "</u><br><br><b>";
    markup += settings.InstructionText;
    markup += "  ";
    markup += Uconvers::UnitName(rules.kind, target);
    markup += rules.headingEnd;
    return MarkupToRtf(markup);
}

// A drawn question with the number texts of its two exercises, which its
// keys and both documents' lines are made of.
struct DrawnLine {
    DrawnQuestion question;
    std::string leftNumber;
    std::string rightNumber;
};

// Draws a question until it passes every test, starting afresh each time;
// then stores its keys in the slots of question `number` (1-based).
DrawnLine DrawQuestion(const KindRules& rules, const QuestionTable& table, UnitIndex target,
                       int number, DrawnExerciseSlots& drawnExercises, RandomSource& random) {
    for (;;) {
        const auto candidate = DrawCandidate(table, target, random);
        if (!candidate) {
            continue;
        }
        const DrawnQuestion& q = *candidate;
        if (rules.rejectsEqualPairsAndZeros && q.leftValue == q.rightValue &&
            q.leftUnit == q.rightUnit) {
            continue;
        }
        std::string leftNumber = FormatNumber(q.leftValue);
        std::string rightNumber = FormatNumber(q.rightValue);
        // No row can draw a value that reads "0"; the test guards the tables.
        if (rules.rejectsEqualPairsAndZeros && (leftNumber == "0" || rightNumber == "0")) {
            continue;
        }
        std::string leftKey = ExerciseKeyOfText(leftNumber, q.leftUnit);
        std::string rightKey = ExerciseKeyOfText(rightNumber, q.rightUnit);
        if (ExerciseKeyUsed(drawnExercises, leftKey) || ExerciseKeyUsed(drawnExercises, rightKey)) {
            continue;
        }
        drawnExercises[static_cast<std::size_t>(number - 1)] = std::move(leftKey);
        drawnExercises[static_cast<std::size_t>(kMaxQuestions + number - 1)] = std::move(rightKey);
        return {q, std::move(leftNumber), std::move(rightNumber)};
    }
}

// The raw "\par" that ends a line is a control word: a letter or a digit
// right after it would be read as part of it ("\parExercice", "\par2024"),
// and the teacher's separator line would vanish from the document. One space,
// the delimiter that readers consume, keeps it apart; nothing else changes.
void AppendAfterParagraphMark(std::string& document, const std::string& text) {
    const auto startsControlWordPart = [&] {
        if (text.empty()) {
            return false;
        }
        const auto first = static_cast<unsigned char>(text[0]);
        const bool digitNext = text.size() > 1 && std::isdigit(static_cast<unsigned char>(text[1]));
        return std::isalnum(first) || (first == '-' && digitNext);
    };
    if (document.ends_with("\\par") && startsControlWordPart()) {
        document += ' ';
    }
    document += text;
}

std::string SeparatorPiece(const WorksheetSettings& settings) {
    return settings.SeparatorShown ? MarkupToRtf(settings.SeparatorLine + "<br>")
                                   : MarkupToRtf(" ");
}

// The two exercises of a question as both documents show them: the number
// text is written once for the subject and the answer key.
struct QuestionTexts {
    std::string left;
    std::string right;
};

QuestionTexts ExerciseTexts(const KindRules& rules, const DrawnLine& line) {
    const DrawnQuestion& q = line.question;
    return {line.leftNumber + " " + Uconvers::UnitSymbol(rules.kind, q.leftUnit),
            line.rightNumber + " " + Uconvers::UnitSymbol(rules.kind, q.rightUnit)};
}

std::string HighlightedAnswer(const KindRules& rules, extended value, UnitIndex unit,
                              UnitIndex target) {
    return "<cf=jaune>" + FormatConverted(rules.kind, unit, target, value) + " " +
           Uconvers::UnitSymbol(rules.kind, target) + "<cf=auto>";
}

// In the subject each exercise ends in an equals sign for the pupil; the
// line itself carries the raw "\par" that ends it.
std::string SubjectLineMarkup(const KindRules& rules, const QuestionTexts& texts) {
    return texts.left + " =" + MarkupTabs(rules.subjectTabs) + texts.right + " = \\par";
}

std::string AnswerKeyLineMarkup(const KindRules& rules, const DrawnQuestion& q,
                                const QuestionTexts& texts, UnitIndex target) {
    return texts.left + " = " + HighlightedAnswer(rules, q.leftValue, q.leftUnit, target) +
           MarkupTabs(rules.answerTabs) + texts.right + " = " +
           HighlightedAnswer(rules, q.rightValue, q.rightUnit, target);
}

}  // namespace

GeneratedWorksheet BuildWorksheet(Uconvers::QuantityKind kind, const WorksheetSettings& settings,
                                  RandomSource& random) {
    // The answers are exact only at the x87's full precision.
    const Uconvers::ExtendedPrecisionScope precision;
    const KindRules& rules = RulesOf(kind);
    const int level = std::clamp(settings.Level, 1, 3);
    const int questionCount = std::min(settings.QuestionCount, kMaxQuestions);
    const int lineSpacing = std::clamp(settings.LineSpacing, 0, kMaxLineSpacing);

    GeneratedWorksheet sheet;
    const int firstNumber = R(random, 100);
    const int secondNumber = R(random, 100);
    sheet.DefaultFileName = std::string(rules.fileNamePiece) + std::to_string(level) + "_" +
                            TwoDigits(firstNumber) + "_" + TwoDigits(secondNumber);

    const auto levelIndex = static_cast<std::size_t>(level - 1);
    const UnitIndex target = DrawTarget(rules.targets[levelIndex], random);
    sheet.Subject = Heading(rules, sheet.DefaultFileName, settings, target, false);
    sheet.AnswerKey = Heading(rules, sheet.DefaultFileName, settings, target, true);

    std::vector<DrawnLine> questions;
    questions.reserve(static_cast<std::size_t>(std::max(questionCount, 0)));
    for (int number = 1; number <= questionCount; ++number) {
        questions.push_back(DrawQuestion(rules, rules.questions[levelIndex], target, number,
                                         sheet.DrawnExercises, random));
    }

    const std::string separator = SeparatorPiece(settings);
    for (int number = 1; number <= questionCount; ++number) {
        const DrawnLine& line = questions[static_cast<std::size_t>(number - 1)];
        const DrawnQuestion& q = line.question;
        const QuestionTexts texts = ExerciseTexts(rules, line);
        const std::string lineStart = separator + std::to_string(number) + kQuestionNumberEnd;
        // The line start decides alone whether a space must follow the "\par"
        // before it: it always holds the question number.
        AppendAfterParagraphMark(sheet.Subject, lineStart);
        sheet.Subject += MarkupToRtf(SubjectLineMarkup(rules, texts));
        if (number < questionCount) {
            for (int i = 0; i < lineSpacing; ++i) {
                sheet.Subject += "\\par";
            }
        }
        AppendAfterParagraphMark(sheet.AnswerKey, lineStart);
        sheet.AnswerKey += MarkupToRtf(AnswerKeyLineMarkup(rules, q, texts, target));
        sheet.AnswerKey += "\\par";
    }
    sheet.Subject += "}";
    sheet.AnswerKey += "}";
    return sheet;
}

}  // namespace Ufiche
