#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Uconvers/Uconvers.h"
#include "Ufiche/generation/Worksheet.h"

// Reads a generated subject or answer key back into its questions, following
// the layout that every worksheet shares: the heading, then per question the
// separator piece, "n°/   ", the two exercises (in the answer key each with
// its answer in the target unit on yellow), the kind's tabs, and in the
// subject the spacing paragraphs between questions. Windows-1252 RTF in,
// plain C++ out: the core's tests and the window's tests read worksheets the
// same way.
namespace testsupport {

// What tells the kinds' documents apart.
struct KindLayout {
    Uconvers::QuantityKind kind;
    std::string namePiece;   // of the default file name: "Long_N"
    std::string headingEnd;  // RTF after the target unit's name
};

extern const KindLayout kKindLayouts[5];  // the decimal kinds
extern const KindLayout kDurationLayout;
const KindLayout& LayoutOf(Uconvers::QuantityKind kind);

// What the heading of durations names in place of a target unit.
inline constexpr const char* kDurationUnitsAsked =
    "unit\xE9s demand\xE9"
    "es";

// A unit symbol as printed: its letters, then its exponent raised, if any
// ("m" and "2" for the square metre, "mL" and none for the millilitre).
struct PrintedSymbol {
    std::string letters;   // Windows-1252
    std::string exponent;  // empty when the unit has none
};
inline PrintedSymbol SymbolOf(Uconvers::QuantityKind kind, int unit) {
    const std::string markup = Uconvers::UnitSymbol(kind, unit);
    const std::size_t raised = markup.find("<sup>");
    const std::size_t end = markup.find("</sup>");
    if (raised == std::string::npos || end == std::string::npos) {
        return {markup, ""};
    }
    return {markup.substr(0, raised), markup.substr(raised + 5, end - raised - 5)};
}

// One number and its unit within a measure ("6" and "m" of "6 m 65 cm").
struct MeasurePart {
    std::string number;  // grouped number text, as printed
    int unit = -1;
    bool plural = false;  // "ans", "si\xE8cles"
};

struct ReadExercise {
    std::string value;  // grouped number text, as printed
    int unit = -1;
    std::string answer;  // grouped number text; empty in the subject
    // Every exercise's measure, value and unit as its first part; an exercise
    // written with units of its own (a duration, a measure in two units) may
    // have more parts, blanks for units of its own in the subject, and an
    // answer in several parts or in a unit of its own.
    std::vector<MeasurePart> given;
    std::vector<MeasurePart> asked;     // the units of the subject's blanks
    std::vector<MeasurePart> answered;  // in the answer key
    bool Written() const { return given.size() > 1 || answered.size() > 1 || !asked.empty(); }
    std::string Key() const { return value + std::to_string(unit); }
    // The value without its group spaces.
    std::string Plain() const;
};

// Between the two exercises of a subject line: blanks, then tabs.
struct SubjectGap {
    int spaces = 0;
    int tabs = 0;
};

struct ReadQuestion {
    ReadExercise left;
    ReadExercise right;
    SubjectGap gap;         // between the two exercises
    std::string tablesRtf;  // in an answer key with tables: the RTF of the line's two tables
};

struct ReadDocument {
    std::size_t bodyStart = 0;  // where the first question line begins
    int target = -1;            // the unit the heading names
    std::string tablesRtf;      // in a subject with tables: the empty table's RTF
    std::vector<ReadQuestion> questions;
};

// Reads `rtf`, written for `settings`. Throws std::runtime_error naming the
// position of the first byte that departs from the layout.
ReadDocument ReadWorksheet(const std::string& rtf, Uconvers::QuantityKind kind,
                           const Ufiche::WorksheetSettings& settings, bool answerKey);

// How a pane shows a character of a worksheet; every other formatting is off.
struct ShownStyle {
    bool bold = false;
    bool underline = false;
    bool raised = false;  // a unit's exponent
    bool yellow = false;  // an answer's background
};

// One paragraph as a pane shows it: Windows-1252 text, a style per character.
struct ShownLine {
    std::string text;
    std::vector<ShownStyle> styles;
};

// Every paragraph of the worksheet that `document` was read from, empty ones
// included, the last one the empty paragraph after the final "\par". The
// teacher's texts of `settings` are taken to show as typed (no tags).
std::vector<ShownLine> ShownLines(const ReadDocument& document, Uconvers::QuantityKind kind,
                                  const Ufiche::WorksheetSettings& settings,
                                  const std::string& defaultFileName, bool answerKey);

}  // namespace testsupport
