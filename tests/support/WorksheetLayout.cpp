#include "WorksheetLayout.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>

#include "Ufiche/document/Markup.h"

namespace testsupport {

using Uconvers::QuantityKind;

const KindLayout kKindLayouts[5] = {
    {QuantityKind::Length, "Long_N", "\\b \\par \\par \\b0 "},
    {QuantityKind::Area, "Surf_N", "\\b0 \\par \\par "},
    {QuantityKind::Volume, "Vol_N", "\\b \\par \\par \\b0 "},
    {QuantityKind::Capacity, "Capa_N", "\\b \\par \\par \\b0 "},
    {QuantityKind::Mass, "Mass_N", "\\b \\par \\par \\b0 "},
};

const KindLayout kDurationLayout = {QuantityKind::Duration, "Duree_N", "\\b \\par \\par \\b0 "};

const KindLayout& LayoutOf(QuantityKind kind) {
    if (kind == QuantityKind::Duration) {
        return kDurationLayout;
    }
    return *std::find_if(std::begin(kKindLayouts), std::end(kKindLayouts),
                         [&](const KindLayout& layout) { return layout.kind == kind; });
}

std::string ReadExercise::Plain() const {
    std::string plain;
    for (char c : value) {
        if (c != ' ') {
            plain += c;
        }
    }
    return plain;
}

namespace {

constexpr int kSubjectTabs = 6;
constexpr std::string_view kBlank = " ..........";

// A cursor over the document that fails on the first byte out of layout.
class Cursor {
public:
    Cursor(const std::string& text, std::size_t position, QuantityKind kind)
        : m_text(text), m_position(position), m_kind(kind) {
        for (int unit = 0; unit < Uconvers::UnitCount(kind); ++unit) {
            m_symbols.push_back(Ufiche::MarkupToRtf(Uconvers::UnitSymbol(kind, unit)));
        }
    }

    std::size_t Position() const { return m_position; }
    bool AtEnd() const { return m_position == m_text.size(); }
    bool Next(std::string_view expected) const {
        return m_text.compare(m_position, expected.size(), expected) == 0;
    }

    void Expect(std::string_view expected) {
        if (!Next(expected)) {
            Fail("\"" + std::string(expected) + "\" expected");
        }
        m_position += expected.size();
    }

    // Digits, a decimal point or comma, and single spaces between digit groups.
    std::string Number() {
        const std::size_t start = m_position;
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        while (m_position < m_text.size() &&
               (isDigit(m_text[m_position]) || m_text[m_position] == '.' ||
                m_text[m_position] == ',' ||
                (m_text[m_position] == ' ' && m_position + 1 < m_text.size() &&
                 isDigit(m_text[m_position + 1])))) {
            ++m_position;
        }
        if (m_position == start) {
            Fail("number expected");
        }
        return m_text.substr(start, m_position - start);
    }

    // The unit whose symbol stands here; the longest wins ("dam" before "dm").
    int Symbol() {
        int found = -1;
        for (int unit = 0; unit < static_cast<int>(m_symbols.size()); ++unit) {
            const std::string& symbol = m_symbols[static_cast<std::size_t>(unit)];
            if (Next(symbol) &&
                (found < 0 || symbol.size() > m_symbols[static_cast<std::size_t>(found)].size())) {
                found = unit;
            }
        }
        if (found < 0) {
            Fail("unit symbol expected");
        }
        m_position += m_symbols[static_cast<std::size_t>(found)].size();
        return found;
    }

    // A unit's symbol, in the plural where durations take one.
    MeasurePart Unit() {
        MeasurePart part;
        part.unit = Symbol();
        if (m_kind == QuantityKind::Duration && part.unit >= 5 && Next("s")) {
            part.plural = true;
            ++m_position;
        }
        return part;
    }

    // Numbers, each with its unit, one blank apart.
    std::vector<MeasurePart> Measure() {
        std::vector<MeasurePart> parts;
        do {
            if (!parts.empty()) {
                Expect(" ");
            }
            std::string number = Number();
            Expect(" ");
            parts.push_back(Unit());
            parts.back().number = std::move(number);
        } while (Next(" ") && m_position + 1 < m_text.size() && m_text[m_position + 1] >= '0' &&
                 m_text[m_position + 1] <= '9');
        return parts;
    }

    ReadExercise ValueAndUnit() {
        ReadExercise exercise;
        exercise.given = Measure();
        exercise.value = exercise.given.front().number;
        exercise.unit = exercise.given.front().unit;
        return exercise;
    }

    // After a subject exercise's " =": a blank and a unit for each unit it
    // asks for in place of the heading's.
    void Blanks(ReadExercise& exercise) {
        while (Next(kBlank)) {
            m_position += kBlank.size();
            Expect(" ");
            exercise.asked.push_back(Unit());
        }
    }

    void Answer(ReadExercise& exercise, int target) {
        Expect(" = \\highlight12 ");
        const std::size_t answerAt = m_position;
        exercise.answered = Measure();
        exercise.answer = exercise.answered.front().number;
        if (m_kind != QuantityKind::Duration && !exercise.Written() &&
            exercise.answered.front().unit != target) {
            m_position = answerAt;
            Fail("answer in the target unit expected");
        }
        Expect("\\highlight0 ");
    }

    // Blanks, then one to `most` tabs.
    // The text up to the end of `end`, which must follow.
    std::string Through(const std::string& end) {
        const std::size_t found = m_text.find(end, m_position);
        if (found == std::string::npos) {
            Fail(end + " expected");
        }
        std::string text = m_text.substr(m_position, found + end.size() - m_position);
        m_position = found + end.size();
        return text;
    }
    SubjectGap Gap(int most) {
        SubjectGap gap;
        for (; Next(" "); ++m_position) {
            ++gap.spaces;
        }
        for (; Next("\\tab "); m_position += 5) {
            ++gap.tabs;
        }
        if (gap.tabs < 1 || gap.tabs > most) {
            Fail("one to " + std::to_string(most) + " tabs expected");
        }
        return gap;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error(what + " at " + std::to_string(m_position) + ": \"" +
                                 m_text.substr(m_position, 60) + "\"");
    }

private:
    const std::string& m_text;
    std::size_t m_position;
    QuantityKind m_kind;
    std::vector<std::string> m_symbols;
};

// The unit whose name ends the heading, just before the kind's heading end;
// the longest name wins.
int HeadingTarget(const std::string& heading, const KindLayout& layout) {
    int found = -1;
    std::size_t longest = 0;
    for (int unit = 0; unit < Uconvers::UnitCount(layout.kind); ++unit) {
        const std::string ending = "  " + Uconvers::UnitName(layout.kind, unit) + layout.headingEnd;
        if (heading.ends_with(ending) && ending.size() > longest) {
            found = unit;
            longest = ending.size();
        }
    }
    return found;
}

// The raw "\par" ending a line takes one space before a separator that would
// otherwise continue its control word.
bool ContinuesControlWord(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(text[0]);
    const bool digitNext = text.size() > 1 && text[1] >= '0' && text[1] <= '9';
    return std::isalnum(first) || (first == '-' && digitNext);
}

}  // namespace

ReadDocument ReadWorksheet(const std::string& rtf, QuantityKind kind,
                           const Ufiche::WorksheetSettings& settings, bool answerKey) {
    const KindLayout& layout = LayoutOf(kind);
    const std::string separator =
        settings.SeparatorShown
            ? Ufiche::MarkupToRtf(Ufiche::TeacherTextToMarkup(settings.SeparatorLine) + "<br>")
            : Ufiche::MarkupToRtf(" ");
    const std::string firstLine = separator + "1\xB0/   ";
    ReadDocument document;
    // The heading ends with a space or a "\par" that the first line follows
    // directly; the first line starts where the heading's end is found.
    const std::size_t headingEnd = rtf.find(layout.headingEnd);
    if (headingEnd == std::string::npos) {
        throw std::runtime_error("heading end not found");
    }
    document.bodyStart = headingEnd + layout.headingEnd.size();
    const bool durations = kind == QuantityKind::Duration;
    document.target = durations ? -1 : HeadingTarget(rtf.substr(0, document.bodyStart), layout);
    if (durations && !rtf.substr(0, document.bodyStart)
                          .ends_with(std::string("  ") + kDurationUnitsAsked + layout.headingEnd)) {
        throw std::runtime_error("durations' heading expected");
    }
    if (document.target < 0 && !durations) {
        throw std::runtime_error("no unit named at the end of the heading");
    }

    const int questions = std::clamp(settings.QuestionCount, 0, 40);
    const int spacing = answerKey ? 0 : std::clamp(settings.LineSpacing, 0, 10);
    Cursor cursor(rtf, document.bodyStart, kind);
    const bool tables = settings.ConversionTables && !durations;
    if (tables && !answerKey) {
        document.tablesRtf = cursor.Through("\\pard\\par ");
    }
    for (int n = 1; n <= questions; ++n) {
        const std::string lineStart = separator + std::to_string(n) + "\xB0/   ";
        if (n > 1 && ContinuesControlWord(lineStart)) {
            cursor.Expect(" ");
        }
        cursor.Expect(lineStart);
        ReadQuestion question;
        question.left = cursor.ValueAndUnit();
        if (answerKey) {
            cursor.Answer(question.left, document.target);
            question.gap = cursor.Gap(kSubjectTabs);
            question.right = cursor.ValueAndUnit();
            cursor.Answer(question.right, document.target);
            if (tables) {
                cursor.Expect("\\keepn\\par");
                question.tablesRtf = cursor.Through("\\pard\\fs8\\par\\fs18");
            } else {
                cursor.Expect("\\par");
            }
        } else {
            cursor.Expect(" =");
            cursor.Blanks(question.left);
            question.gap = cursor.Gap(kSubjectTabs);
            question.right = cursor.ValueAndUnit();
            cursor.Expect(" =");
            cursor.Blanks(question.right);
            cursor.Expect(" \\par");
            for (int i = 0; n < questions && i < spacing; ++i) {
                cursor.Expect("\\par");
            }
        }
        document.questions.push_back(question);
    }
    cursor.Expect("}");
    if (!cursor.AtEnd()) {
        cursor.Fail("end of the document expected");
    }
    return document;
}

std::vector<ShownLine> ShownLines(const ReadDocument& document, QuantityKind kind,
                                  const Ufiche::WorksheetSettings& settings,
                                  const std::string& defaultFileName, bool answerKey) {
    std::vector<ShownLine> lines(1);
    const auto add = [&](const std::string& text, ShownStyle style = {}) {
        lines.back().text += text;
        lines.back().styles.insert(lines.back().styles.end(), text.size(), style);
    };
    const auto addSymbol = [&](int unit, ShownStyle style = {}, bool plural = false) {
        const PrintedSymbol symbol = SymbolOf(kind, unit);
        add(symbol.letters + (plural ? "s" : ""), style);
        style.raised = true;
        add(symbol.exponent, style);
    };
    const auto addMeasure = [&](const std::vector<MeasurePart>& parts, ShownStyle style = {}) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            add((i > 0 ? " " : "") + parts[i].number + " ", style);
            addSymbol(parts[i].unit, style, parts[i].plural);
        }
    };
    const auto endLine = [&] { lines.emplace_back(); };
    const ShownStyle bold{.bold = true};
    const ShownStyle yellow{.yellow = true};

    add(defaultFileName + " - ");
    if (answerKey) {
        add("Corrig\xE9", bold);
        add(" - ");
    }
    add(settings.TitleLine, {.underline = true});
    endLine();
    endLine();
    add(settings.InstructionText + "  " +
            (kind == QuantityKind::Duration ? std::string(kDurationUnitsAsked)
                                            : Uconvers::UnitName(kind, document.target)),
        bold);
    endLine();
    endLine();
    const std::size_t questions = document.questions.size();
    const int spacing = answerKey ? 0 : std::clamp(settings.LineSpacing, 0, 10);
    for (std::size_t n = 1; n <= questions; ++n) {
        if (settings.SeparatorShown) {
            add(settings.SeparatorLine);
            endLine();
        }
        // Without a separator each question line starts with a space: shown
        // on the first, the delimiter of the preceding "\par" on the others.
        const bool lead = !settings.SeparatorShown && n == 1;
        add((lead ? " " : "") + std::to_string(n) + "\xB0/   ");
        const ReadQuestion& question = document.questions[n - 1];
        for (const ReadExercise* exercise : {&question.left, &question.right}) {
            const bool left = exercise == &question.left;
            addMeasure(exercise->given);
            if (!answerKey) {
                add(" =");
                for (const MeasurePart& blank : exercise->asked) {
                    add(std::string(kBlank) + " ");
                    addSymbol(blank.unit, {}, blank.plural);
                }
                const SubjectGap& gap = question.gap;
                add(left ? std::string(gap.spaces, ' ') + std::string(gap.tabs, '\t') : " ");
                continue;
            }
            add(" = ");
            addMeasure(exercise->answered, yellow);
            if (left) {
                add(std::string(question.gap.spaces, ' ') + std::string(question.gap.tabs, '\t'));
            }
        }
        endLine();
        for (int i = 0; n < questions && i < spacing; ++i) {
            endLine();
        }
    }
    return lines;
}

}  // namespace testsupport
