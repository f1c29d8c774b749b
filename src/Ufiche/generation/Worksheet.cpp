#include "Ufiche/generation/Worksheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "Uconvers/Extended.h"
#if FICHE_HARDWARE_EXTENDED
#include "Uconvers/X87Precision.h"
#endif
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/ConversionTable.h"
#include "Ufiche/generation/Durations.h"
#include "Ufiche/generation/ExerciseKey.h"
#include "Ufiche/generation/FormatNumber.h"
#include "Ufiche/generation/KindRules.h"
#include "Ufiche/generation/QuestionDraw.h"
#include "Ufiche/generation/SubjectGap.h"
#include "Ufiche/generation/TwoUnitMeasures.h"

namespace Ufiche {
namespace {

using Uconvers::UnitIndex;

constexpr int kMaxLineSpacing = 10;
// Windows-1252: "°" is \xB0, "é" is \xE9.
constexpr const char* kQuestionNumberEnd = "\xB0/   ";
constexpr const char* kAnswerKeyTitle = " - <b>Corrig\xE9</b> - <u>";
// Durations ask for units of their own on every line: the heading names none.
constexpr const char* kDurationUnitsAsked =
    "unit\xE9s demand\xE9"
    "es";

// Written between the base name and a sheet's code in the headings.
constexpr const char* kSheetCodeBefore = " - code ";

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
    if (!settings.SheetCode.empty()) {
        markup += kSheetCodeBefore;
        markup += settings.SheetCode;
    }
    markup += answerKey ? kAnswerKeyTitle : " - <u>";
    markup += TeacherTextToMarkup(settings.TitleLine);
    markup += "</u><br><br><b>";
    markup += TeacherTextToMarkup(settings.InstructionText);
    markup += "  ";
    markup += rules.kind == Uconvers::QuantityKind::Duration
                  ? std::string(kDurationUnitsAsked)
                  : Uconvers::UnitName(rules.kind, target);
    markup += rules.headingEnd;
    return MarkupToRtf(markup);
}

// A drawn question with the number texts of its two exercises as both
// documents show them; an exercise written with units of its own (a
// duration, a measure in two units) takes the place of its side's value.
struct DrawnLine {
    DrawnQuestion question;
    std::string leftNumber;
    std::string rightNumber;
    std::optional<WrittenExercise> leftWritten;
    std::optional<WrittenExercise> rightWritten;
};

// What a question's draw reads besides its table.
struct QuestionContext {
    const KindRules& rules;
    const QuestionTable& table;
    UnitIndex target;
    int level;
    DecimalMark mark;
    bool twoUnitMeasures;
};

// About one exercise in three becomes a measure in two units, when asked.
std::optional<WrittenExercise> MaybeTwoUnits(const QuestionContext& context, RandomSource& random) {
    if (!context.twoUnitMeasures || R(random, 3) != 0) {
        return std::nullopt;
    }
    return DrawTwoUnitExercise(context.rules.kind, context.level, context.target, context.mark,
                               random);
}

// Stores the keys of question `number`, unless one of them is already used
// (the two of the line included).
bool StoreKeys(DrawnExerciseSlots& drawnExercises, int number, std::string leftKey,
               std::string rightKey) {
    if (leftKey == rightKey || ExerciseKeyUsed(drawnExercises, leftKey) ||
        ExerciseKeyUsed(drawnExercises, rightKey)) {
        return false;
    }
    drawnExercises[static_cast<std::size_t>(number - 1)] = std::move(leftKey);
    drawnExercises[static_cast<std::size_t>(kMaxQuestions + number - 1)] = std::move(rightKey);
    return true;
}

// Durations: both exercises written by their own rules, drawn again while a
// key repeats.
DrawnLine DrawDurationLine(const QuestionContext& context, int number,
                           DrawnExerciseSlots& drawnExercises, RandomSource& random) {
    for (;;) {
        DrawnLine line{};
        line.leftWritten = DrawDurationExercise(context.level, context.mark, random);
        line.rightWritten = DrawDurationExercise(context.level, context.mark, random);
        if (StoreKeys(drawnExercises, number, line.leftWritten->key, line.rightWritten->key)) {
            return line;
        }
    }
}

// Draws a question until it passes every test, starting afresh each time;
// then stores its keys in the slots of question `number` (1-based).
DrawnLine DrawQuestion(const QuestionContext& context, int number,
                       DrawnExerciseSlots& drawnExercises, RandomSource& random) {
    const KindRules& rules = context.rules;
    if (rules.kind == Uconvers::QuantityKind::Duration) {
        return DrawDurationLine(context, number, drawnExercises, random);
    }
    for (;;) {
        const auto candidate = DrawCandidate(context.table, context.target, random);
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
        std::optional<WrittenExercise> leftWritten = MaybeTwoUnits(context, random);
        std::optional<WrittenExercise> rightWritten = MaybeTwoUnits(context, random);
        std::string leftKey =
            leftWritten ? leftWritten->key : ExerciseKeyOfText(leftNumber, q.leftUnit);
        std::string rightKey =
            rightWritten ? rightWritten->key : ExerciseKeyOfText(rightNumber, q.rightUnit);
        // Two one-unit exercises of a line that share a key are the same value
        // in the same unit, which the test above has already turned away.
        if (leftKey == rightKey && (leftWritten || rightWritten)) {
            continue;
        }
        if (ExerciseKeyUsed(drawnExercises, leftKey) || ExerciseKeyUsed(drawnExercises, rightKey)) {
            continue;
        }
        drawnExercises[static_cast<std::size_t>(number - 1)] = std::move(leftKey);
        drawnExercises[static_cast<std::size_t>(kMaxQuestions + number - 1)] = std::move(rightKey);
        // The keys keep the point whatever the documents show.
        return {q, WithDecimalMark(std::move(leftNumber), context.mark),
                WithDecimalMark(std::move(rightNumber), context.mark), std::move(leftWritten),
                std::move(rightWritten)};
    }
}

// Whether the document ends in a control word ("\\par", "\\fs18"), which a
// letter or a digit right after it would be read as part of.
bool EndsWithControlWord(const std::string& document) {
    std::size_t start = document.size();
    while (start > 0 && std::isalnum(static_cast<unsigned char>(document[start - 1]))) {
        --start;
    }
    return start > 0 && start < document.size() && document[start - 1] == '\\' &&
           std::isalpha(static_cast<unsigned char>(document[start]));
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
    if (EndsWithControlWord(document) && startsControlWordPart()) {
        document += ' ';
    }
    document += text;
}

std::string SeparatorPiece(const WorksheetSettings& settings) {
    return settings.SeparatorShown
               ? MarkupToRtf(TeacherTextToMarkup(settings.SeparatorLine) + "<br>")
               : MarkupToRtf(" ");
}

// The RTF of the markup that every question line repeats, translated once
// per worksheet: each unit symbol with the space before it, the tab runs and
// the highlight that marks an answer. The translation of a text is the
// translation of its pieces put end to end as long as no piece cuts a tag, so
// the lines are assembled from these pieces and the number texts, which hold
// only digits, spaces, points or commas and minus signs and pass through unchanged.
struct LinePieces {
    std::vector<std::string> spacedSymbols;   // by unit index
    std::vector<std::string> subjectTabRuns;  // by number of tabs
    std::string answerStart;
    std::string answerEnd;
};

LinePieces TranslatedLinePieces(const KindRules& rules) {
    LinePieces pieces;
    const int unitCount = Uconvers::UnitCount(rules.kind);
    pieces.spacedSymbols.reserve(static_cast<std::size_t>(unitCount));
    for (UnitIndex unit = 0; unit < unitCount; ++unit) {
        std::string spacedSymbol(1, ' ');
        spacedSymbol += Uconvers::UnitSymbol(rules.kind, unit);
        pieces.spacedSymbols.push_back(MarkupToRtf(spacedSymbol));
    }
    for (int tabs = 0; tabs <= rules.subjectTabs; ++tabs) {
        pieces.subjectTabRuns.push_back(MarkupToRtf(MarkupTabs(tabs)));
    }
    pieces.answerStart = MarkupToRtf(" = <cf=jaune>");
    pieces.answerEnd = MarkupToRtf("<cf=auto>");
    return pieces;
}

const std::string& SpacedSymbol(const LinePieces& pieces, UnitIndex unit) {
    return pieces.spacedSymbols[static_cast<std::size_t>(unit)];
}

// The subject line up to the left exercise's "=", as a word processor shows
// it. The blank that stands for a hidden separator shows before the first
// question only: after a paragraph mark it is the mark's delimiter.
// An exercise written with units of its own shows a blank for each unit it
// asks for.
std::string SubjectLeftMarkup(const KindRules& rules, const WorksheetSettings& settings, int number,
                              const DrawnLine& line, bool withBlanks = true) {
    std::string markup = !settings.SeparatorShown && number == 1 ? " " : "";
    markup += std::to_string(number);
    markup += kQuestionNumberEnd;
    if (line.leftWritten) {
        markup += line.leftWritten->given;
        markup += " =";
        if (withBlanks) {
            markup += line.leftWritten->blanks;
        }
        return markup;
    }
    markup += line.leftNumber;
    markup += ' ';
    markup += Uconvers::UnitSymbol(rules.kind, line.question.leftUnit);
    markup += " =";
    return markup;
}

// Appends the RTF of a generator's markup. Plain characters pass through
// the translation unchanged, so a text without a tag is appended as it is.
void AppendTranslated(std::string& document, const std::string& markup) {
    if (markup.find('<') == std::string::npos) {
        document += markup;
    } else {
        document += MarkupToRtf(markup);
    }
}

// A written exercise of the subject, up to its blanks.
void AppendWrittenSubject(std::string& document, const WrittenExercise& exercise) {
    AppendTranslated(document, exercise.given);
    document += " =";
    AppendTranslated(document, exercise.blanks);
}

// In the subject each exercise ends in an equals sign for the pupil; the
// right one stands at the kind's tab stop whatever the length of the left
// one. The line itself carries the raw "\par" that ends it.
void AppendSubjectLine(std::string& document, const LinePieces& pieces, const DrawnLine& line,
                       const SubjectGap& gap) {
    const auto appendSide = [&](const std::optional<WrittenExercise>& written,
                                const std::string& number, UnitIndex unit) {
        if (written) {
            AppendWrittenSubject(document, *written);
            return;
        }
        document += number;
        document += SpacedSymbol(pieces, unit);
        document += " =";
    };
    appendSide(line.leftWritten, line.leftNumber, line.question.leftUnit);
    document.append(static_cast<std::size_t>(gap.spaces), ' ');
    document += gap.tabs < static_cast<int>(pieces.subjectTabRuns.size())
                    ? pieces.subjectTabRuns[static_cast<std::size_t>(gap.tabs)]
                    : MarkupToRtf(MarkupTabs(gap.tabs));
    appendSide(line.rightWritten, line.rightNumber, line.question.rightUnit);
    document += " \\par";
}

// "= answer" with the answer highlighted, the measure converted into the
// target unit (its number text with the point).
void AppendAnswer(std::string& document, const LinePieces& pieces, const std::string& converted,
                  UnitIndex target, DecimalMark mark) {
    document += pieces.answerStart;
    if (mark == DecimalMark::Point) {
        document += converted;
    } else {
        document += WithDecimalMark(converted, mark);
    }
    document += SpacedSymbol(pieces, target);
    document += pieces.answerEnd;
}

// A number text as a quiz reads it, appended: the point, no group blanks.
void AppendUngrouped(std::string& lines, std::string_view text) {
    for (const char c : text) {
        if (c == ',') {
            lines += '.';
        } else if (c != ' ') {
            lines += c;
        }
    }
}

// A one-unit exercise's line of the exercise lines.
void AppendOneUnitExercise(std::string& lines, const KindRules& rules, const std::string& number,
                           UnitIndex unit, const std::string& converted,
                           const std::string& targetSymbol) {
    lines += number;
    lines += ' ';
    lines += Uconvers::UnitSymbol(rules.kind, unit);
    lines += " =\t";
    AppendUngrouped(lines, converted);
    lines += '\t';
    lines += targetSymbol;
    lines += '\n';
}

bool StartsNumber(std::string_view word) {
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0]));
}

// The first word of `text`, taken off it.
std::string_view TakeWord(std::string_view& text) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    return word;
}

// A written exercise's line of the exercise lines. Its answer's numbers are
// the runs of words that start with a digit, as no unit symbol does; each is
// written before the unit that follows its blank, or before the heading's
// unit when the exercise has no blanks of its own.
void AppendWrittenExercise(std::string& lines, const WrittenExercise& written,
                           const std::string& targetSymbol) {
    lines += written.given;
    lines += " =";
    std::string_view answer = written.answer;
    std::string_view blanks = written.blanks;
    bool inNumber = false;
    while (!answer.empty()) {
        const std::string_view word = TakeWord(answer);
        if (StartsNumber(word)) {
            if (!inNumber) {
                lines += '\t';
            }
            AppendUngrouped(lines, word);
            inNumber = true;
            continue;
        }
        if (inNumber) {
            lines += '\t';
            if (blanks.empty()) {
                lines += targetSymbol;
            } else {
                blanks.remove_prefix(std::min(blanks.find(kAnswerBlank), blanks.size()));
                TakeWord(blanks);
                lines += TakeWord(blanks);
            }
        }
        inNumber = false;
    }
    lines += '\n';
}

// A written exercise of the answer key: the exercise, "=" and its answer
// highlighted.
void AppendWrittenAnswer(std::string& document, const LinePieces& pieces,
                         const WrittenExercise& exercise) {
    AppendTranslated(document, exercise.given);
    document += pieces.answerStart;
    AppendTranslated(document, exercise.answer);
    document += pieces.answerEnd;
}

// The answer key line up to its left answer's end, as a word processor shows
// it: the line of the subject with the answer after the equals sign.
std::string AnswerKeyLeftMarkup(const KindRules& rules, const WorksheetSettings& settings,
                                int number, const DrawnLine& line, UnitIndex target,
                                DecimalMark mark) {
    const DrawnQuestion& q = line.question;
    std::string markup = SubjectLeftMarkup(rules, settings, number, line, false);
    markup += ' ';
    if (line.leftWritten) {
        markup += line.leftWritten->answer;
        return markup;
    }
    markup += WithDecimalMark(FormatConverted(rules.kind, q.leftUnit, target, q.leftValue), mark);
    markup += ' ';
    markup += Uconvers::UnitSymbol(rules.kind, target);
    return markup;
}

// Measured against a stop far out, a gap's tabs tell the stops its line
// passes.
constexpr int kFarStop = 100;

std::vector<SubjectGap> FarGaps(const std::vector<std::string>& lefts) {
    std::vector<SubjectGap> gaps;
    gaps.reserve(lefts.size());
    for (const std::string& left : lefts) {
        gaps.push_back(SubjectLineGap(left, kFarStop));
    }
    return gaps;
}

// The first tab stop that every one of the lines ends clearly before.
int CommonStop(const std::vector<SubjectGap>& farGaps) {
    int fewestTabs = kFarStop;
    for (const SubjectGap& gap : farGaps) {
        fewestTabs = std::min(fewestTabs, gap.tabs);
    }
    return kFarStop - fewestTabs + 1;
}

// The far gaps turned into the gaps to `stop`: one tab at least.
std::vector<SubjectGap> GapsToStop(std::vector<SubjectGap> farGaps, int stop) {
    for (SubjectGap& gap : farGaps) {
        gap.tabs = std::max(1, stop - (kFarStop - gap.tabs));
    }
    return farGaps;
}

// The right exercise of the answer key stands at the same tab stop on every
// line: the first stop that every line's left exercise, answer included, ends
// clearly before. The gaps are measured as the subject's are.
std::vector<SubjectGap> AnswerKeyGaps(const KindRules& rules, const WorksheetSettings& settings,
                                      const std::vector<DrawnLine>& lines, UnitIndex target,
                                      DecimalMark mark) {
    std::vector<std::string> lefts;
    lefts.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lefts.push_back(
            AnswerKeyLeftMarkup(rules, settings, static_cast<int>(i) + 1, lines[i], target, mark));
    }
    std::vector<SubjectGap> gaps = FarGaps(lefts);
    const int stop = CommonStop(gaps);
    return GapsToStop(std::move(gaps), stop);
}

// With exercises written with units of their own, the subject's right
// exercises stand at the answer key's stop, or further when a left
// exercise's blanks need it, so that a pupil has the answer's room to write.
struct SheetGaps {
    std::vector<SubjectGap> subject;
    std::vector<SubjectGap> answerKey;
};

SheetGaps SharedGaps(const KindRules& rules, const WorksheetSettings& settings,
                     const std::vector<DrawnLine>& lines, UnitIndex target, DecimalMark mark) {
    std::vector<std::string> subjectLefts;
    std::vector<std::string> keyLefts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        subjectLefts.push_back(SubjectLeftMarkup(rules, settings, number, lines[i]));
        keyLefts.push_back(AnswerKeyLeftMarkup(rules, settings, number, lines[i], target, mark));
    }
    std::vector<SubjectGap> subjectGaps = FarGaps(subjectLefts);
    std::vector<SubjectGap> keyGaps = FarGaps(keyLefts);
    const int stop = std::max(CommonStop(subjectGaps), CommonStop(keyGaps));
    return {GapsToStop(std::move(subjectGaps), stop), GapsToStop(std::move(keyGaps), stop)};
}

// Writes the answer key's line, and its two exercises' lines to `exerciseLines`.
void AppendAnswerKeyLine(std::string& document, const KindRules& rules, const LinePieces& pieces,
                         const DrawnLine& line, UnitIndex target, DecimalMark mark,
                         const SubjectGap& gap, std::string& exerciseLines,
                         const std::string& targetSymbol) {
    const DrawnQuestion& q = line.question;
    const auto appendSide = [&](const std::optional<WrittenExercise>& written,
                                const std::string& number, UnitIndex unit, extended value) {
        if (written) {
            AppendWrittenAnswer(document, pieces, *written);
            AppendWrittenExercise(exerciseLines, *written, targetSymbol);
            return;
        }
        const std::string converted = FormatConverted(rules.kind, unit, target, value);
        document += number;
        document += SpacedSymbol(pieces, unit);
        AppendAnswer(document, pieces, converted, target, mark);
        AppendOneUnitExercise(exerciseLines, rules, number, unit, converted, targetSymbol);
    };
    appendSide(line.leftWritten, line.leftNumber, q.leftUnit, q.leftValue);
    document.append(static_cast<std::size_t>(gap.spaces), ' ');
    document += MarkupToRtf(MarkupTabs(gap.tabs));
    appendSide(line.rightWritten, line.rightNumber, q.rightUnit, q.rightValue);
}

// The widths of a table's digit columns: as wide as a pupil writes, narrower
// where the columns would not fit the page otherwise.
int ColumnTwips(const ConversionTable& table, int widest) {
    return std::min(widest, kWidestTableTwips / std::max(table.columns, 1));
}

// Under an answer key line: the table of each of its two exercises, all kept
// on the line's page; a sliver of a paragraph keeps the two apart.
void AppendAnswerKeyTables(std::string& document, const KindRules& rules, const DrawnLine& line,
                           UnitIndex target, DecimalMark mark) {
    // A unit over one column needs room for "dam" or "daL" with the cell's
    // margins (8.5 mm); units over two or three columns have it at 6 mm.
    const bool singleColumnUnits =
        rules.kind != Uconvers::QuantityKind::Area && rules.kind != Uconvers::QuantityKind::Volume;
    const int keyColumnTwips = singleColumnUnits ? 480 : 340;
    constexpr int kBodyHalfPoints = 18;
    const DrawnQuestion& q = line.question;
    // A measure in two units is tabled as the one-unit measure it comes to.
    const auto tableOf = [&](const std::optional<WrittenExercise>& written, UnitIndex unit,
                             const std::string& number) {
        return written ? FilledConversionTable(rules.kind, written->tableUnit, written->tableNumber,
                                               target, mark)
                       : FilledConversionTable(rules.kind, unit, number, target, mark);
    };
    const ConversionTable left = tableOf(line.leftWritten, q.leftUnit, line.leftNumber);
    AppendConversionTableRtf(document, left, ColumnTwips(left, keyColumnTwips), true,
                             kBodyHalfPoints);
    document += "\\pard\\keepn\\fs8\\par\\fs18 ";
    const ConversionTable right = tableOf(line.rightWritten, q.rightUnit, line.rightNumber);
    AppendConversionTableRtf(document, right, ColumnTwips(right, keyColumnTwips), false,
                             kBodyHalfPoints);
    document += "\\pard\\fs8\\par\\fs18";
}

// After the subject's instruction: the kind's whole table, empty, with rows
// as tall as a pupil's writing, and a line before the questions.
void AppendSubjectTable(std::string& document, const KindRules& rules) {
    constexpr int kEmptyRows = 6;
    constexpr int kSubjectColumnTwips = 680;  // 12 mm
    constexpr int kWritingHalfPoints = 32;
    const ConversionTable table = EmptyConversionTable(rules.kind, kEmptyRows);
    AppendConversionTableRtf(document, table, ColumnTwips(table, kSubjectColumnTwips), false,
                             kWritingHalfPoints);
    document += "\\pard\\par ";
}

}  // namespace

GeneratedWorksheet BuildWorksheet(Uconvers::QuantityKind kind, const WorksheetSettings& settings,
                                  RandomSource& random) {
#if FICHE_HARDWARE_EXTENDED
    // The answers are exact only at the x87's full precision.
    const Uconvers::ExtendedPrecisionScope precision;
#endif
    const KindRules& rules = RulesOf(kind);
    const int level = std::clamp(settings.Level, 1, 3);
    const int questionCount = std::min(settings.QuestionCount, kMaxQuestions);
    const int lineSpacing = std::clamp(settings.LineSpacing, 0, kMaxLineSpacing);
    const DecimalMark mark = settings.DecimalComma ? DecimalMark::Comma : DecimalMark::Point;

    GeneratedWorksheet sheet;
    sheet.Kind = kind;
    sheet.Level = level;
    const int firstNumber = R(random, 100);
    const int secondNumber = R(random, 100);
    sheet.DefaultFileName = std::string(rules.fileNamePiece) + std::to_string(level) + "_" +
                            TwoDigits(firstNumber) + "_" + TwoDigits(secondNumber);

    const auto levelIndex = static_cast<std::size_t>(level - 1);
    const UnitIndex target = DrawTarget(rules.targets[levelIndex], random);
    sheet.Subject = Heading(rules, sheet.DefaultFileName, settings, target, false);
    sheet.AnswerKey = Heading(rules, sheet.DefaultFileName, settings, target, true);
    // Durations have no decimal columns to table.
    const bool durations = kind == Uconvers::QuantityKind::Duration;
    const bool tables = settings.ConversionTables && !durations;
    if (tables) {
        AppendSubjectTable(sheet.Subject, rules);
    }

    const QuestionContext context{rules, rules.questions[levelIndex],           target, level,
                                  mark,  settings.TwoUnitMeasures && !durations};
    std::vector<DrawnLine> questions;
    questions.reserve(static_cast<std::size_t>(std::max(questionCount, 0)));
    for (int number = 1; number <= questionCount; ++number) {
        questions.push_back(DrawQuestion(context, number, sheet.DrawnExercises, random));
    }

    const std::string separator = SeparatorPiece(settings);
    const LinePieces pieces = TranslatedLinePieces(rules);
    // Room for the lines, so that the documents grow without copies.
    constexpr std::size_t kLineRoom = 160;
    const auto lineCount = static_cast<std::size_t>(std::max(questionCount, 0));
    const bool writtenExercises = durations || context.twoUnitMeasures;
    // Blanks and measures in several units make lines about twice as long.
    const std::size_t lineRoom = kLineRoom * (writtenExercises ? 2 : 1) + separator.size();
    sheet.Subject.reserve(sheet.Subject.size() +
                          lineCount * (lineRoom + 4 * static_cast<std::size_t>(lineSpacing)) + 1);
    // A line's two tables take up to some seven kilobytes (volumes at the
    // last level); the pages of the room left unused are never touched.
    const std::size_t tablesRoom = tables ? 8192 : 0;
    sheet.AnswerKey.reserve(sheet.AnswerKey.size() + lineCount * (lineRoom + 64 + tablesRoom) + 1);
    // Exercises with blanks of their own put both documents' right exercises
    // at one measured stop; otherwise the subject's stand at the kind's.
    const SheetGaps gaps =
        writtenExercises ? SharedGaps(rules, settings, questions, target, mark)
                         : SheetGaps{{}, AnswerKeyGaps(rules, settings, questions, target, mark)};
    // An exercise's line takes some thirty bytes, a written one some sixty.
    sheet.ExerciseLines.reserve(lineCount * 2 * (writtenExercises ? 80 : 40));
    const std::string targetSymbol = durations ? "" : Uconvers::UnitSymbol(kind, target);
    std::string lineStart;
    for (int number = 1; number <= questionCount; ++number) {
        const DrawnLine& line = questions[static_cast<std::size_t>(number - 1)];
        lineStart = separator;
        lineStart += std::to_string(number);
        lineStart += kQuestionNumberEnd;
        // The line start decides alone whether a space must follow the "\par"
        // before it: it always holds the question number.
        AppendAfterParagraphMark(sheet.Subject, lineStart);
        AppendSubjectLine(sheet.Subject, pieces, line,
                          writtenExercises
                              ? gaps.subject[static_cast<std::size_t>(number - 1)]
                              : SubjectLineGap(SubjectLeftMarkup(rules, settings, number, line),
                                               rules.subjectTabs));
        if (number < questionCount) {
            for (int i = 0; i < lineSpacing; ++i) {
                sheet.Subject += "\\par";
            }
        }
        AppendAfterParagraphMark(sheet.AnswerKey, lineStart);
        AppendAnswerKeyLine(sheet.AnswerKey, rules, pieces, line, target, mark,
                            gaps.answerKey[static_cast<std::size_t>(number - 1)],
                            sheet.ExerciseLines, targetSymbol);
        if (tables) {
            sheet.AnswerKey += "\\keepn\\par";
            AppendAnswerKeyTables(sheet.AnswerKey, rules, line, target, mark);
        } else {
            sheet.AnswerKey += "\\par";
        }
    }
    sheet.Subject += "}";
    sheet.AnswerKey += "}";
    return sheet;
}

std::vector<WorksheetExercise> ExercisesOf(const GeneratedWorksheet& sheet) {
    std::vector<WorksheetExercise> exercises;
    std::string_view lines = sheet.ExerciseLines;
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        const auto takeField = [&line] {
            const std::size_t tab = std::min(line.find('\t'), line.size());
            const std::string field(line.substr(0, tab));
            line.remove_prefix(std::min(tab + 1, line.size()));
            return field;
        };
        WorksheetExercise& exercise = exercises.emplace_back();
        exercise.question = takeField();
        while (!line.empty()) {
            std::string number = takeField();
            exercise.answer.push_back({std::move(number), takeField()});
        }
    }
    return exercises;
}

}  // namespace Ufiche
