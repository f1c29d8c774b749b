#include "platform/richedit/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <variant>

#include "TextDocumentProbe.h"
#include "platform/richedit/RtfReader.h"

namespace {

using platform::ReadRtf;
using platform::WritePlainText;
using platform::WriteRtf;
using testsupport::Cp1252;
using testsupport::ShownCharacters;
using testsupport::ShownText;

std::unique_ptr<QTextDocument> Read(std::string_view rtf) {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    ReadRtf(cursor, rtf);
    return document;
}

std::string WriteAll(const QTextDocument& document) {
    return WriteRtf(document, 0, document.characterCount() - 1, 1440);
}

const std::string kFormatted =
    "{\\rtf1\\ansi\\ansicpg1252\\deftab1440\\deff0"
    "{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}{\\f2\\fmodern Courier New;}"
    "{\\f3\\froman\\fcharset2 Symbol;}}"
    "{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"
    "\\viewkind4\\uc1\\pard\\f0\\fs18 Long_N1_37_05 - \\ul Titre\\ul0\\par\\par "
    "\\b Convertir en   m\\'e8tre\\b\\par\\par\\b0 "
    "1\\'b0/   250 dam = \\highlight3 2 500 m\\highlight0\\tab\\tab\\tab "
    "70 dm\\super 2\\nosupersub  = \\highlight3 7 m\\highlight0 \\par "
    "\\i\\strike x\\i0\\strike0\\sub y\\nosupersub\\cf2 z\\cf1 w\\cf0\\f1 t\\f2 c\\f3 s"
    "\\fs48 big\\line next\\par\\fs18\\par}";

TEST(RtfWriter, EscapesWhatRtfWouldOtherwiseReadAsSyntax) {
    struct Case {
        const char* utf8;
        std::string written;
    };
    const Case cases[] = {
        {"a\\b{c}d", "a\\\\b\\{c\\}d"},
        {"été°", "\\'e9t\\'e9\\'b0"},
        {"€œ’", "\\'80\\'9c\\'92"},
        {"Ω", "\\u937?"},
        {"\xEF\xBF\xBD", "\\u-3?"},                   // U+FFFD is written as a negative number
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},  // a surrogate pair
        {"a\tb", "a\\tab b"},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        QTextCursor(&document).insertText(QString::fromUtf8(c.utf8));
        const std::string rtf = WriteAll(document);
        EXPECT_NE(rtf.find(c.written), std::string::npos) << c.utf8 << "\n" << rtf;
        // ... and reading it back gives the text again.
        const auto again = Read(rtf);
        EXPECT_EQ(again->toPlainText(), QString::fromUtf8(c.utf8));
    }
}

TEST(RtfWriter, ReadingWhatItWroteGivesBackTheSameTextAndFormatting) {
    const auto first = Read(kFormatted);
    const auto second = Read(WriteAll(*first));
    EXPECT_EQ(ShownText(*second), ShownText(*first));
    EXPECT_EQ(ShownCharacters(*second), ShownCharacters(*first));
    EXPECT_EQ(second->blockCount(), first->blockCount());
    const auto third = Read(WriteAll(*second));
    EXPECT_EQ(WriteAll(*third), WriteAll(*second));  // stable from the first rewrite on
}

TEST(RtfWriter, KeepsTheTeachersEditsThroughARoundTrip) {
    const auto document = Read(kFormatted);
    QTextCursor cursor(document.get());
    // Types an accented line in bold at the start of the third paragraph.
    cursor.setPosition(document->findBlockByNumber(2).position());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontFamilies(QStringList{"Times New Roman"});
    bold.setFontPointSize(11);
    cursor.insertText(QString::fromUtf8("Élève : coût 5 € — sœur {x} \\ ok"), bold);
    cursor.insertBlock();
    // Deletes the fourth line whole, paragraph end included.
    QTextBlock fourth = document->findBlockByNumber(4);
    cursor.setPosition(fourth.position());
    cursor.setPosition(fourth.position() + fourth.length(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    // Types plain text with a character outside the code page at the end.
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromUtf8("fin Ω"));

    const auto again = Read(WriteAll(*document));
    EXPECT_EQ(again->toPlainText(), document->toPlainText());
    EXPECT_EQ(ShownCharacters(*again), ShownCharacters(*document));
}

TEST(RtfWriter, WeightsFromDemiBoldUpAreWrittenBold) {
    const struct {
        QFont::Weight weight;
        bool bold;
    } cases[] = {{QFont::Normal, false},
                 {QFont::Medium, false},
                 {QFont::DemiBold, true},
                 {QFont::Bold, true},
                 {QFont::Black, true}};
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const auto& c : cases) {
        QTextCharFormat format;
        format.setFontWeight(c.weight);
        cursor.insertText("x", format);
    }
    const auto shown = ShownCharacters(*Read(WriteAll(document)));
    ASSERT_EQ(shown.size(), std::size(cases));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].bold, cases[i].bold) << "weight " << cases[i].weight;
    }
}

TEST(RtfWriter, WritesOnlyTheRangeItIsGiven) {
    const auto document = Read("{\\rtf1 abc\\par \\b def\\par ghi}");
    struct Case {
        int start;
        int end;
        std::string text;
    };
    const Case cases[] = {
        {0, 11, "abc\ndef\nghi"}, {1, 2, "b"}, {2, 5, "c\nd"}, {4, 8, "def\n"}, {3, 3, ""},
    };
    for (const Case& c : cases) {
        const auto part = Read(WriteRtf(*document, c.start, c.end, 720));
        EXPECT_EQ(ShownText(*part), c.text) << c.start << "-" << c.end;
    }
    const auto bold = Read(WriteRtf(*document, 5, 6, 720));
    EXPECT_TRUE(ShownCharacters(*bold).at(0).bold);
}

TEST(RtfWriter, CollectsTheBlocksThatTheRangeReachesAndTheFormatOfEachEmptyLine) {
    const auto document = Read("{\\rtf1 abc\\par \\fs40\\par x\\fs30\\par}");
    document->setDefaultFont(QFont("Arial", 11));  // the size of what sets none
    // Each paragraph as its text, or its mark's size when it has none; "/" when ended.
    const struct {
        int start;
        int end;
        std::string paragraphs;
    } cases[] = {
        {0, 7, "abc/ (40)/ x/ (30)"}, {3, 4, "(22)/ (40)"}, {4, 5, "(40)/"}, {5, 5, ""},
        {2, 6, "c/ (40)/ x"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& block : platform::CollectRtf(*document, c.start, c.end).blocks) {
            const auto& paragraph = std::get<RichText::RtfParagraph>(block);
            shown += shown.empty() ? "" : " ";
            for (const auto& run : paragraph.runs) {
                shown += QString::fromStdU16String(run.text).toStdString();
            }
            if (paragraph.runs.empty()) {
                shown += "(" + std::to_string(paragraph.mark.halfPoints) + ")";
            }
            shown += paragraph.ended ? "/" : "";
        }
        EXPECT_EQ(shown, c.paragraphs) << c.start << "-" << c.end;
    }
}

TEST(RtfWriter, WritesPlainTextInCodePage1252WithCrLfLineEnds) {
    const auto document = Read(kFormatted);
    const std::string text = WritePlainText(*document, 0, document->characterCount() - 1);
    EXPECT_EQ(text, Cp1252("Long_N1_37_05 - Titre\r\n\r\nConvertir en   mètre\r\n\r\n"
                           "1°/   250 dam = 2 500 m\t\t\t70 dm2 = 7 m\r\n"
                           "xyzwtcsbig\r\nnext\r\n\r\n"));
    QTextDocument outside;
    QTextCursor(&outside).insertText(QString::fromUtf8("Ω€\nx"));
    EXPECT_EQ(WritePlainText(outside, 0, 4), "?\x80\r\nx");
}

// A document as the core's reader gives one: paragraphs and tables in any
// order, the last block a paragraph with no mark; in a cell, every paragraph
// but the last ended; a mark's format only where a paragraph has no text.
RichText::RtfDocument RandomModel(std::mt19937& random) {
    using namespace RichText;
    const auto pick = [&random](int count) { return static_cast<int>(random() % count); };
    const RtfFormat formats[] = {
        {u"Arial", 18},
        {u"Times New Roman", 24, true},
        {u"Arial", 20, false, true, false, false, RtfVerticalAlignment::Normal, std::nullopt,
         RtfColour{255, 255, 0}}};
    const auto paragraph = [&](bool ended) {
        RtfParagraph made{{}, {}, ended, pick(2) == 1, pick(2) == 1};
        for (int run = pick(3), last = -1; run > 0; --run) {
            last = (last + 1 + pick(2)) % 3;  // never the previous run's format
            made.runs.push_back(
                {std::u16string(1 + pick(3), u"ab\u00E9 "[pick(4)]), formats[last]});
        }
        if (made.runs.empty()) {
            made.mark = formats[pick(3)];
        }
        return made;
    };
    RtfDocument model;
    for (int block = pick(5); block >= 0; --block) {
        if (block == 0 || pick(2) == 0) {
            model.blocks.emplace_back(paragraph(block > 0));
            continue;
        }
        RtfTable table;
        for (int row = 1 + pick(3); row > 0; --row) {
            RtfTableRow made{{}, 15 * pick(10), pick(2) == 1};
            for (int cell = 1 + pick(4), right = 0; cell > 0; --cell) {
                right += 1 + pick(1500);
                made.cells.push_back({{}, right, pick(2) == 1});
                for (int p = pick(2); p >= 0; --p) {
                    made.cells.back().paragraphs.push_back(paragraph(p > 0));
                }
            }
            table.rows.push_back(std::move(made));
        }
        model.blocks.emplace_back(std::move(table));
    }
    return model;
}

TEST(RtfWriter, CollectsBackTheDocumentThatThePaneWasGivenTablesIncluded) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 300; ++i) {
        const RichText::RtfDocument model = RandomModel(random);
        QTextDocument shown;
        QTextCursor cursor(&shown);
        platform::InsertRtfDocument(cursor, model);
        EXPECT_TRUE(platform::CollectRtf(shown, 0, shown.characterCount() - 1).blocks ==
                    model.blocks)
            << "document " << i << ": " << WriteAll(shown);
    }
}

TEST(RtfWriter, SavesATableTheTeacherReshapedAsItIsShown) {
    using namespace RichText;
    const auto cell = [](const char16_t* text, int right) {
        return RtfTableCell{{RtfParagraph{{{text, {}}}, {}, false}}, right, true};
    };
    RtfDocument model;
    model.blocks = {RtfTable{{RtfTableRow{{cell(u"a", 600), cell(u"b", 1200), cell(u"c", 1800)}},
                              RtfTableRow{{cell(u"d", 900), cell(u"e", 1800)}}}},
                    RtfParagraph{}};
    QTextDocument shown;
    QTextCursor cursor(&shown);
    platform::InsertRtfDocument(cursor, model);
    QTextTable* table = cursor.currentTable()
                            ? cursor.currentTable()
                            : qobject_cast<QTextTable*>(shown.rootFrame()->childFrames().front());
    table->insertColumns(4, 1);                                 // a column at the right,
    table->mergeCells(0, 4, 2, 1);                              // one cell down both rows,
    table->cellAt(0, 4).firstCursorPosition().insertText("x");  // typed in
    table->mergeCells(0, 0, 1, 3);                              // "a" and "b" made one
    std::string texts;  // each cell's text and "|", each row's end "/"
    int right = 0;
    const auto collected = platform::CollectRtf(shown, 0, shown.characterCount() - 1);
    for (const auto& row : std::get<RtfTable>(collected.blocks.at(0)).rows) {
        for (const auto& shownCell : row.cells) {
            EXPECT_GT(shownCell.rightTwips, std::exchange(right, shownCell.rightTwips));
            for (const auto& run : shownCell.paragraphs.at(0).runs) {
                texts += QString::fromStdU16String(run.text).toStdString();
            }
            texts += "|";
        }
        texts += "/";
        right = 0;
    }
    EXPECT_EQ(texts, "a b|c|x|/d|e||/");  // Qt joins merged text with a space
    // Text chosen within one cell is written as text, not as a table.
    const QTextTableCell b = table->cellAt(1, 2);
    const auto part = platform::CollectRtf(shown, b.firstPosition(), b.lastPosition());
    ASSERT_EQ(part.blocks.size(), 1U);
    EXPECT_EQ(std::get<RtfParagraph>(part.blocks[0]).runs.at(0).text, u"e");
}

}  // namespace
