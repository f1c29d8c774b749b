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
// character, against the lines that the worksheet's layout gives for the
// settings and the exercises the generation recorded.
void CheckShown(const QTextDocument& document, QuantityKind kind, const WorksheetSettings& settings,
                const GeneratedWorksheet& sheet, bool answerKey) {
    testsupport::ReadDocument read;
    ASSERT_NO_THROW(read = testsupport::ReadWorksheet(answerKey ? sheet.AnswerKey : sheet.Subject,
                                                      kind, settings, answerKey));
    ASSERT_EQ(static_cast<int>(read.questions.size()), settings.QuestionCount);
    for (std::size_t i = 0; i < read.questions.size(); ++i) {
        EXPECT_EQ(read.questions[i].left.Key(), sheet.DrawnExercises[i]);
        EXPECT_EQ(read.questions[i].right.Key(), sheet.DrawnExercises[40 + i]);
    }
    const std::vector<testsupport::ShownLine> lines =
        testsupport::ShownLines(read, kind, settings, sheet.DefaultFileName, answerKey);
    const std::vector<Paragraph> paragraphs = Paragraphs(document);
    ASSERT_EQ(paragraphs.size(), lines.size());
    for (std::size_t p = 0; p < lines.size(); ++p) {
        const Paragraph& paragraph = paragraphs[p];
        ASSERT_EQ(paragraph.text, FromWindows1252(lines[p].text)) << "paragraph " << p;
        for (std::size_t i = 0; i < paragraph.characters.size(); ++i) {
            const ShownCharacter& shown = paragraph.characters[i];
            ASSERT_EQ(shown.family, "Arial") << shown;
            ASSERT_EQ(shown.points, 9) << shown;
            ASSERT_FALSE(shown.italic || shown.strike || shown.foreground) << shown;
            if (i < lines[p].styles.size()) {
                const testsupport::ShownStyle& style = lines[p].styles[i];
                const auto background =
                    style.yellow ? std::optional<QRgb>(qRgb(255, 255, 0)) : std::nullopt;
                EXPECT_TRUE(shown.bold == style.bold && shown.underline == style.underline &&
                            (shown.alignment == QTextCharFormat::AlignSuperScript) ==
                                style.raised &&
                            shown.background == background)
                    << paragraph.text.toStdString() << " at " << i << ": " << shown;
            }
        }
    }
}

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
                    CheckShown(*panes.subject.document(), kind, settings, sheet, false);
                    CheckShown(*panes.answerKey.document(), kind, settings, sheet, true);
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
