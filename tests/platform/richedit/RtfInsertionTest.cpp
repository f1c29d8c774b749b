#include "platform/richedit/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TextDocumentProbe.h"
#include "platform/richedit/TextProperties.h"

namespace {

using platform::ReadRtf;
using testsupport::ShownCharacter;
using testsupport::ShownCharacters;
using testsupport::ShownText;

std::unique_ptr<QTextDocument> Read(std::string_view rtf) {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    ReadRtf(cursor, rtf);
    return document;
}

TEST(RtfInsertion, GivesEachRunTheCharacterFormatOfItsLook) {
    const auto document = Read(
        "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"
        "a{\\fonttbl{\\f0 Arial;}}\\fs1\\b\\i\\ul\\strike\\super\\cf1\\highlight2 b"
        "\\plain\\sub c\\par\\fs40\\par\\fs18 }");
    ShownCharacter a;  // no font is named before it: the pane's own
    a.character = QChar('a');
    a.points = 12;
    ShownCharacter c = a;
    c.character = QChar('c');
    c.family = "Arial";
    c.alignment = QTextCharFormat::AlignSubScript;
    ShownCharacter b = c;
    b.character = QChar('b');
    b.points = 0.5;
    b.bold = b.italic = b.underline = b.strike = true;
    b.alignment = QTextCharFormat::AlignSuperScript;
    b.foreground = qRgb(0, 0, 255);
    b.background = qRgb(255, 255, 0);
    ShownCharacter end;
    end.character = QChar::ParagraphSeparator;
    // An empty line keeps the size of its mark; the last one that of the end.
    ShownCharacter emptyLine = c;
    emptyLine.character = QChar::ParagraphSeparator;
    emptyLine.points = 20;
    EXPECT_EQ(ShownCharacters(*document), (std::vector{a, b, c, end, emptyLine}));
    EXPECT_EQ(document->lastBlock().charFormat().fontPointSize(), 9);
}

TEST(RtfInsertion, GoesOnInTheBlockAtTheCursor) {
    QTextDocument document("avant apr\u00E8s");
    QTextCursor cursor(&document);
    cursor.setPosition(6);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    ReadRtf(cursor, "{\\rtf1 (x\\par\\par y)}");
    EXPECT_EQ(ShownText(document), "avant(x\n\ny)apr\xE8s");
}

TEST(RtfInsertion, ShowsATableOnTheGridOfEveryRowsEdgesWithItsCellsSpanningTheirColumns) {
    using namespace RichText;
    const auto cell = [](const char16_t* text, int right, bool bordered = true) {
        return RtfTableCell{{RtfParagraph{{{text, {}}}, {}, false, true}}, right, bordered};
    };
    // "m²" over the two digit cells below it; the first row stops short of
    // the second's last cell, whose edge is out of order in the document.
    const RtfTable table{
        {RtfTableRow{{cell(u"km", 600), cell(u"m\u00B2", 1500)}, 60, true},
         RtfTableRow{{cell(u"1", 600, false), cell(u"2", 1050), cell(u"3", 1050), cell(u"4", 2100)},
                     90}}};
    RtfDocument model;
    model.blocks = {RtfParagraph{{{u"Question", {}}}, {}, true, false, true}, table,
                    RtfParagraph{{{u"fin", {}}}, {}, false}};
    QTextDocument shown;
    QTextCursor end(&shown);
    platform::InsertRtfDocument(end, model);

    // The question line, the table right under it, the line after it.
    const auto* grid = qobject_cast<QTextTable*>(shown.rootFrame()->childFrames().value(0));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(ShownText(shown), "Question\nkm\nm\xB2\n\n1\n2\n3\n4\nfin");
    // Edges 0, 600, 1050, 1051, 1500, 2100: five columns of fixed widths.
    ASSERT_EQ(grid->columns(), 5);
    const int edges[] = {0, 600, 1050, 1051, 1500, 2100};
    for (int c = 0; c < 5; ++c) {
        const QTextLength width = grid->format().columnWidthConstraints().value(c);
        EXPECT_EQ(width.type(), QTextLength::FixedLength);
        EXPECT_NEAR(width.rawValue(), platform::TwipsToDocumentPixels(edges[c + 1] - edges[c]),
                    1e-9);
    }
    // (row, column, span) of each cell.
    const int cells[][3] = {{0, 0, 1}, {0, 1, 3}, {0, 4, 1}, {1, 0, 1},
                            {1, 1, 1}, {1, 2, 1}, {1, 3, 2}};
    for (const auto& [row, column, span] : cells) {
        const QTextTableCell at = grid->cellAt(row, column);
        EXPECT_EQ(at.column() * 10 + at.columnSpan(), column * 10 + span) << row << column;
    }
}

// Where the second character of a document's first line starts, once laid
// out: the advance of the first one, after any kerning of the pair.
qreal SecondCharacterX(const std::string& rtf) {
    const auto document = Read(rtf);
    document->size();  // lays the document out
    return document->begin().layout()->lineAt(0).cursorToX(1);
}

TEST(RtfInsertion, LaysTextOutUnkernedAsWordProcessorsShowIt) {
    // Arial (and its metric twin) kerns "11", "AV" and "To" when asked to;
    // RTF text is kerned only where "\kerning" says so, which a worksheet
    // never does, so the second character of each pair starts where the
    // first one alone ends.
    for (const std::string font : {"Arial", "Times New Roman"}) {
        const std::string start = "{\\rtf1{\\fonttbl{\\f0 " + font + ";}}\\f0\\fs18 ";
        for (const std::string pair : {"11", "AV", "To"}) {
            EXPECT_DOUBLE_EQ(SecondCharacterX(start + pair + "}"),
                             SecondCharacterX(start + pair.substr(0, 1) + "}"))
                << font << " " << pair;
        }
    }
}

}  // namespace
