#include "Ufiche/panes/LoadRtfIntoPane.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TextDocumentProbe.h"
#include "Uconvers/Uconvers.h"
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"
#include "platform/codepage/Codepage.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using platform::FromWindows1252;
using platform::TRxRichEdit;
using testsupport::Cp1252;
using testsupport::ShownCharacter;
using testsupport::ShownCharacters;
using Uconvers::QuantityKind;
using Ufiche::EmptyPane;
using Ufiche::GeneratedWorksheet;
using Ufiche::LoadRtfIntoPane;
using Ufiche::WorksheetSettings;

// One paragraph of a pane as the teacher sees it.
struct Paragraph {
    QString text;
    std::vector<ShownCharacter> characters;  // the paragraph end's alone when empty
};

std::vector<Paragraph> Paragraphs(const QTextDocument& document) {
    std::vector<Paragraph> paragraphs(1);
    for (const ShownCharacter& shown : ShownCharacters(document)) {
        if (shown.character == QChar::ParagraphSeparator) {
            if (paragraphs.back().characters.empty()) {
                paragraphs.back().characters.push_back(shown);
            }
            paragraphs.emplace_back();
        } else {
            paragraphs.back().text += shown.character;
            paragraphs.back().characters.push_back(shown);
        }
    }
    return paragraphs;
}

const QuantityKind kKinds[] = {QuantityKind::Length, QuantityKind::Area, QuantityKind::Volume,
                               QuantityKind::Capacity, QuantityKind::Mass};

// Checks one generated document, paragraph by paragraph and character by
// character, against the settings and the exercises the generation recorded.
class WorksheetChecker {
public:
    WorksheetChecker(QuantityKind kind, const WorksheetSettings& settings,
                     const GeneratedWorksheet& sheet, bool answerKey)
        : m_kind(kind), m_settings(settings), m_sheet(sheet), m_answerKey(answerKey) {}

    void Check(const QTextDocument& document) {
        // The questions as the generation wrote them, read from the RTF.
        try {
            m_read = testsupport::ReadWorksheet(m_answerKey ? m_sheet.AnswerKey : m_sheet.Subject,
                                                m_kind, m_settings, m_answerKey);
        } catch (const std::exception& error) {
            FAIL() << error.what();
        }
        const std::vector<Paragraph> paragraphs = Paragraphs(document);
        for (const Paragraph& paragraph : paragraphs) {
            for (const ShownCharacter& shown : paragraph.characters) {
                ASSERT_EQ(shown.family, "Arial") << shown;
                ASSERT_EQ(shown.points, 9) << shown;
                ASSERT_FALSE(shown.italic || shown.strike || shown.foreground) << shown;
            }
        }
        const int questions = static_cast<int>(m_read.questions.size());
        ASSERT_EQ(questions, m_settings.QuestionCount);
        const int spacing = m_answerKey ? 0 : m_settings.LineSpacing;
        const std::size_t expectedCount =
            4 + questions * (m_settings.SeparatorShown ? 2 : 1) + (questions - 1) * spacing + 1;
        ASSERT_EQ(paragraphs.size(), expectedCount);

        CheckTitle(paragraphs[0]);
        EXPECT_TRUE(paragraphs[1].text.isEmpty());
        CheckInstruction(paragraphs[2]);
        EXPECT_TRUE(paragraphs[3].text.isEmpty());
        std::size_t next = 4;
        for (int n = 1; n <= questions; ++n) {
            if (m_settings.SeparatorShown) {
                CheckPlain(paragraphs[next++], FromWindows1252(m_settings.SeparatorLine));
            }
            CheckQuestion(paragraphs[next++], n);
            for (int empty = 0; n < questions && empty < spacing; ++empty) {
                EXPECT_TRUE(paragraphs[next++].text.isEmpty()) << "spacing after " << n;
            }
        }
        EXPECT_TRUE(paragraphs[next].text.isEmpty());  // the last line, after the last "\par"
    }

private:
    void CheckTitle(const Paragraph& title) {
        const QString prefix = QString::fromLatin1(m_sheet.DefaultFileName) + " - " +
                               (m_answerKey ? QString::fromUtf8("Corrigé - ") : QString());
        ASSERT_EQ(title.text, prefix + FromWindows1252(m_settings.TitleLine));
        for (qsizetype i = 0; i < title.text.size(); ++i) {
            const ShownCharacter& shown = title.characters[i];
            EXPECT_EQ(shown.underline, i >= prefix.size()) << i << shown;
            const bool corrige = m_answerKey && i >= prefix.size() - 10 && i < prefix.size() - 3;
            EXPECT_EQ(shown.bold, corrige) << i << shown;
            EXPECT_FALSE(shown.background) << shown;
        }
    }

    void CheckInstruction(const Paragraph& line) {
        EXPECT_EQ(line.text, FromWindows1252(m_settings.InstructionText) + "  " +
                                 FromWindows1252(Uconvers::UnitName(m_kind, m_read.target)));
        for (const ShownCharacter& shown : line.characters) {
            EXPECT_TRUE(shown.bold && !shown.underline && !shown.background) << shown;
        }
    }

    void CheckPlain(const Paragraph& line, const QString& text) {
        EXPECT_EQ(line.text, text);
        for (const ShownCharacter& shown : line.characters) {
            EXPECT_FALSE(shown.bold || shown.underline || shown.background) << shown;
        }
    }

    // "n°/   v u =", its gap, "v u = " in the subject; in the answer key each
    // exercise is followed by " = ", its answer in the target unit on yellow,
    // and tabs between the two. Each unit shows with its exponent raised.
    void CheckQuestion(const Paragraph& line, int n) {
        const testsupport::ReadQuestion& question =
            m_read.questions[static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(question.left.Key(), m_sheet.DrawnExercises[static_cast<std::size_t>(n - 1)]);
        EXPECT_EQ(question.right.Key(), m_sheet.DrawnExercises[static_cast<std::size_t>(39 + n)]);
        // The space that starts a question without separator delimits the
        // preceding "\par" from the second question on.
        const QString lead = !m_settings.SeparatorShown && n == 1 ? " " : "";
        QString expected = lead + QString::number(n) + QString::fromUtf8("°/   ");
        std::vector<std::pair<qsizetype, int>> symbols;       // where each unit starts
        std::vector<std::pair<qsizetype, qsizetype>> yellow;  // each answer, from and to
        const auto appendSymbol = [&](int unit) {
            symbols.emplace_back(expected.size(), unit);
            const testsupport::PrintedSymbol symbol = testsupport::SymbolOf(m_kind, unit);
            expected += FromWindows1252(symbol.letters + symbol.exponent);
        };
        for (const testsupport::ReadExercise* exercise : {&question.left, &question.right}) {
            const bool left = exercise == &question.left;
            expected += FromWindows1252(exercise->value) + " ";
            appendSymbol(exercise->unit);
            if (!m_answerKey) {
                expected += left ? " =" + QString(question.gap.spaces, ' ') +
                                       QString(question.gap.tabs, '\t')
                                 : QString(" = ");
                continue;
            }
            expected += " = ";
            const qsizetype start = expected.size();
            expected += FromWindows1252(exercise->answer) + " ";
            appendSymbol(m_read.target);
            yellow.emplace_back(start, expected.size());
            if (left) {
                // Volumes, whose answers are the longest, have one tab less.
                expected += QString(testsupport::LayoutOf(m_kind).answerTabs, '\t');
            }
        }
        ASSERT_EQ(line.text, expected);
        for (const auto& [at, unit] : symbols) {
            const testsupport::PrintedSymbol symbol = testsupport::SymbolOf(m_kind, unit);
            const auto letters = static_cast<qsizetype>(symbol.letters.size());
            for (qsizetype i = 0; i < letters + static_cast<qsizetype>(symbol.exponent.size());
                 ++i) {
                EXPECT_EQ(line.characters[at + i].alignment == QTextCharFormat::AlignSuperScript,
                          i >= letters)
                    << line.text.toStdString() << " at " << at + i;
            }
        }
        for (const auto& [from, to] : yellow) {
            for (qsizetype i = from - 1; i <= to && i < line.text.size(); ++i) {
                const bool inside = i >= from && i < to;
                EXPECT_EQ(line.characters[i].background,
                          inside ? std::optional<QRgb>(qRgb(255, 255, 0)) : std::nullopt)
                    << line.text.toStdString() << " at " << i;
            }
        }
        for (qsizetype i = 0; i < line.text.size(); ++i) {
            EXPECT_FALSE(line.characters[i].bold || line.characters[i].underline);
        }
    }

    QuantityKind m_kind;
    const WorksheetSettings& m_settings;
    const GeneratedWorksheet& m_sheet;
    bool m_answerKey;
    testsupport::ReadDocument m_read;
};

WorksheetSettings DefaultSettings() {
    return {1,
            40,
            1,
            Cp1252("Nom :                       Prénom :                             Classe :"),
            Cp1252("Convertir en "),
            true,
            std::string(123, '-')};
}

// The two panes of the window, filled as a generation fills them.
struct Panes {
    TRxRichEdit subject;
    TRxRichEdit answerKey;

    void Show(const GeneratedWorksheet& sheet) {
        EmptyPane(subject);
        EmptyPane(answerKey);
        LoadRtfIntoPane(subject, sheet.Subject);
        LoadRtfIntoPane(answerKey, sheet.AnswerKey);
    }
};

TEST(LoadRtfIntoPane, ShowsEveryKindOfGeneratedWorksheetWithItsTextAndFormatting) {
    Ufiche::MersenneRandomSource random(20261208);
    Panes panes;
    int checked = 0;
    for (const QuantityKind kind : kKinds) {
        for (int level = 1; level <= 3; ++level) {
            for (const bool separator : {true, false}) {
                for (const auto& [questions, spacing] :
                     {std::pair{40, 1}, {1, 3}, {7, 0}, {12, 3}}) {
                    WorksheetSettings settings = DefaultSettings();
                    settings.Level = level;
                    settings.SeparatorShown = separator;
                    settings.QuestionCount = questions;
                    settings.LineSpacing = spacing;
                    const GeneratedWorksheet sheet = Ufiche::BuildWorksheet(kind, settings, random);
                    panes.Show(sheet);
                    SCOPED_TRACE(sheet.DefaultFileName);
                    WorksheetChecker(kind, settings, sheet, false).Check(*panes.subject.document());
                    WorksheetChecker(kind, settings, sheet, true)
                        .Check(*panes.answerKey.document());
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, static_cast<int>(std::size(kKinds)) * 3 * 2 * 4);
}

TEST(LoadRtfIntoPane, LeavesThePaneInSelectionModeWithTheCaretAtTheStart) {
    Ufiche::MersenneRandomSource random(7);
    Panes panes;
    panes.Show(Ufiche::BuildWorksheet(QuantityKind::Area, DefaultSettings(), random));
    for (TRxRichEdit* pane : {&panes.subject, &panes.answerKey}) {
        EXPECT_TRUE(pane->IsRichTextMode());
        EXPECT_EQ(pane->CurrentStreamMode(), TRxRichEdit::StreamMode::Selection);
        EXPECT_EQ(pane->textCursor().position(), 0);
        EXPECT_EQ(pane->DefaultTabTwips(), 1440);
        EXPECT_GT(pane->LineCount(), 40);
    }
}

TEST(LoadRtfIntoPane, TheWorkedExampleReadsAsItsPrintedLines) {
    // The first question of a one-question lengths worksheet, as written by hand.
    const std::string subject =
        std::string(Ufiche::RtfHeader) +
        Ufiche::MarkupToRtf(Cp1252("<arial><te=18>Long_N1_37_05 - <u>Titre</u><br><br><b>"
                                   "Convertir en   mètre<b><br><br></b>")) +
        "-----\\par 1\xB0/   250 dam =" + "\\tab \\tab \\tab \\tab \\tab \\tab " + "70 dm = \\par}";
    Panes panes;
    LoadRtfIntoPane(panes.subject, subject);
    EXPECT_EQ(panes.subject.PlainText(),
              QString::fromUtf8("Long_N1_37_05 - Titre\r\n\r\nConvertir en   mètre\r\n\r\n"
                                "-----\r\n1°/   250 dam =\t\t\t\t\t\t70 dm = \r\n"));
    EXPECT_EQ(panes.subject.LineCount(), 6);
}

TEST(LoadRtfIntoPane, EmptyingAPaneRemovesTheWorksheetAndClearsTheModifiedFlag) {
    Ufiche::MersenneRandomSource random(11);
    Panes panes;
    panes.Show(Ufiche::BuildWorksheet(QuantityKind::Volume, DefaultSettings(), random));
    panes.subject.document()->setModified(true);
    EmptyPane(panes.subject);
    EXPECT_TRUE(panes.subject.PlainText().isEmpty());
    EXPECT_EQ(panes.subject.LineCount(), 0);
    EXPECT_FALSE(panes.subject.document()->isModified());
}

// What the pane writes when the worksheet is saved, read back into a new pane.
std::vector<ShownCharacter> SavedAndReloaded(TRxRichEdit& pane) {
    pane.selectAll();
    const QByteArray rtf = pane.ContentForStream();
    TRxRichEdit again;
    LoadRtfIntoPane(again, rtf.toStdString());
    EXPECT_EQ(again.document()->blockCount(), pane.document()->blockCount());
    return ShownCharacters(*again.document());
}

TEST(LoadRtfIntoPane, GeneratedWorksheetsSurviveASaveAndAReload) {
    Ufiche::MersenneRandomSource random(99);
    Panes panes;
    for (const QuantityKind kind : kKinds) {
        for (int level = 1; level <= 3; ++level) {
            WorksheetSettings settings = DefaultSettings();
            settings.Level = level;
            settings.SeparatorShown = level != 2;
            panes.Show(Ufiche::BuildWorksheet(kind, settings, random));
            EXPECT_EQ(SavedAndReloaded(panes.subject), ShownCharacters(*panes.subject.document()));
            EXPECT_EQ(SavedAndReloaded(panes.answerKey),
                      ShownCharacters(*panes.answerKey.document()));
        }
    }
}

TEST(LoadRtfIntoPane, ATeachersEditsSurviveASaveAndAReload) {
    Ufiche::MersenneRandomSource random(5);
    Panes panes;
    panes.Show(Ufiche::BuildWorksheet(QuantityKind::Capacity, DefaultSettings(), random));
    TRxRichEdit& pane = panes.subject;
    QTextCursor cursor = pane.textCursor();
    // Types at the end of the title, in the title's own underlined format.
    cursor.setPosition(pane.document()->firstBlock().length() - 1);
    cursor.insertText(QString::fromUtf8(" Élève : 5 € — sœur, « déjà » ½ Ω"));
    // Deletes the fifth and sixth lines whole.
    QTextBlock fifth = pane.document()->findBlockByNumber(4);
    cursor.setPosition(fifth.position());
    cursor.setPosition(fifth.next().position() + fifth.next().length(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    // Types a new bold line before the last question.
    cursor.setPosition(pane.document()->lastBlock().previous().position());
    QTextCharFormat bold = cursor.charFormat();
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QString::fromUtf8("Bonus : { a } \\ b"), bold);
    cursor.insertBlock();
    pane.setTextCursor(cursor);

    const auto edited = ShownCharacters(*pane.document());
    EXPECT_EQ(SavedAndReloaded(pane), edited);
    const QString text = pane.PlainText();
    EXPECT_NE(text.indexOf(QString::fromUtf8("sœur, « déjà » ½ Ω")), -1);
    EXPECT_NE(text.indexOf(QString::fromUtf8("Bonus : { a } \\ b")), -1);
}

// The teacher's braces and backslashes are text: each text shows as typed,
// only its tags taken away, and no question is lost.
TEST(LoadRtfIntoPane, RawBracesAndBackslashesInTheTeachersTextsLoseNoQuestion) {
    struct Case {
        const char* title;
        const char* instruction;
        const char* separator;
    };
    const Case cases[] = {
        {"Titre } fermé trop tôt", "Convertir en ", "-----"},
        {"Titre { jamais fermé", "Convertir { en ", "--{--"},
        {"}}}}", "{{{{", "}{"},
        {"C:\\dossier\\fiche", "\\b gras \\", "\\"},
        {"<u>souligné</u> \\'e9 \\u8364?", "<te=99999>", "<b>-----"},
        {"Nom : }}}} {\\*\\x", "\\fs200 Nom", "C:\\dossier\\fiche {bonus}"},
    };
    const auto shown = [](const char* text) {
        return QString::fromUtf8(text).remove(QRegularExpression("<[^>]*>"));
    };
    Ufiche::MersenneRandomSource random(3);
    Panes panes;
    for (const Case& c : cases) {
        WorksheetSettings settings = DefaultSettings();
        settings.TitleLine = Cp1252(c.title);
        settings.InstructionText = Cp1252(c.instruction);
        settings.SeparatorLine = Cp1252(c.separator);
        const GeneratedWorksheet sheet =
            Ufiche::BuildWorksheet(QuantityKind::Length, settings, random);
        panes.Show(sheet);
        for (TRxRichEdit* pane : {&panes.subject, &panes.answerKey}) {
            const QString text = pane->PlainText();
            for (int n = 1; n <= settings.QuestionCount; ++n) {
                EXPECT_NE(text.indexOf(QString::number(n) + QString::fromUtf8("°/   ")), -1)
                    << c.title << " question " << n;
            }
            EXPECT_NE(text.indexOf(QString::fromLatin1(sheet.DefaultFileName)), -1) << c.title;
            EXPECT_NE(text.indexOf(shown(c.title) + "\r\n\r\n" + shown(c.instruction) + "  "), -1)
                << c.title;
            EXPECT_EQ(text.count(shown(c.separator) + "\r\n"), settings.QuestionCount) << c.title;
        }
    }
}

}  // namespace
