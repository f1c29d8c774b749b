#include "platform/richedit/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TextDocumentProbe.h"

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

TEST(RtfInsertion, GoesOnInTheBlockAtTheCursorAndShowsTablesParagraphByParagraph) {
    QTextDocument document("avant apr\u00E8s");
    QTextCursor cursor(&document);
    cursor.setPosition(6);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    ReadRtf(cursor, "{\\rtf1 (x\\par\\par y)}");
    EXPECT_EQ(ShownText(document), "avant(x\n\ny)apr\xE8s");

    RichText::RtfDocument table;
    RichText::RtfTableCell cell{{RichText::RtfParagraph{{{u"a", {}}}, {}, false},
                                 RichText::RtfParagraph{{{u"b", {}}}, {}, false}}};
    table.blocks = {RichText::RtfParagraph{{{u"t", {}}}, {}, true},
                    RichText::RtfTable{{RichText::RtfTableRow{{cell, cell}}}}};
    QTextDocument shown;
    QTextCursor end(&shown);
    platform::InsertRtfDocument(end, table);
    EXPECT_EQ(ShownText(shown), "t\na\nb\na\nb");
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
