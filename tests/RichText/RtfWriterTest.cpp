#include "RichText/RtfWriter.h"

#include "RichText/RtfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using RichText::RtfColour;
using RichText::RtfDocument;
using RichText::RtfFormat;
using RichText::RtfParagraph;
using RichText::WriteRtf;

constexpr RtfColour kRed{255, 0, 0};
constexpr RtfColour kBlack{0, 0, 0};
constexpr RtfColour kYellow{255, 255, 0};

const std::string kArialPrologue =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\plain ";

RtfDocument InArial(std::vector<RichText::RtfBlock> blocks) {
    RtfDocument document;
    document.blocks = std::move(blocks);
    document.fonts = {{0, u"Arial"}};
    return document;
}

TEST(RtfWriter, WritesTheTablesInOrderOfFirstUseThePageAndOnlyTheChangesFromRunToRun) {
    const RtfFormat small{.halfPoints = 18};
    RtfDocument document = InArial({
        RtfParagraph{
            {{u"Titre", {.halfPoints = 18, .underline = true}}, {u" - 1", small}}, small, true},
        RtfParagraph{{}, {.halfPoints = 18, .bold = true}, true},  // an empty line's own format
        RtfParagraph{
            {{u"Convertir", {.font = u"Times New Roman", .bold = true}},
             {u"x", {.font = u"Times New Roman", .italic = true, .strike = true}},
             {u"2", {.alignment = RichText::RtfVerticalAlignment::Superscript}},
             {u"y", {.alignment = RichText::RtfVerticalAlignment::Subscript, .foreground = kRed}},
             {u"z", {.foreground = kBlack, .highlight = kYellow}},
             {u"w", {.font = u"Courier New", .highlight = kRed}},
             {u"s", {.font = u"Symbol"}},
             {u"big\u2028next", {.font = u"Comic Sans MS", .halfPoints = 48}}},
            {},
            true},
        RtfParagraph{{}, small, false},
    });
    document.defaultTabTwips = 1440;
    document.page = RichText::RtfPage{16838, 11906, 567, 567, 850, 850};
    EXPECT_EQ(
        WriteRtf(document),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab1440{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fmodern\\fcharset0 Courier New;}"
        "{\\f3\\froman\\fcharset2 Symbol;}{\\f4\\fnil\\fcharset0 Comic Sans MS;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue0;\\red255\\green255\\blue0;}"
        "\r\n\\paperw16838\\paperh11906\\margl567\\margr567\\margt850\\margb850\\landscape\r\n"
        "\\viewkind4\\uc1\\pard\\plain \\fs18\\ul Titre\\ulnone  - 1\\par\r\n"
        "\\b \\par\r\n"
        "\\f1\\fs24 Convertir\\b0\\i\\strike x\\f0\\i0\\strike0\\super 2\\sub\\cf1 y"
        "\\nosupersub\\cf2\\highlight3 z\\f2\\cf0\\highlight1 w\\f3\\highlight0 s"
        "\\f4\\fs48 big\\line next\\par\r\n"
        "\\f0\\fs18 }\r\n");
}

TEST(RtfWriter, EscapesWhatRtfWouldOtherwiseReadAsSyntaxAndWhatTheCodePageCannotHold) {
    const struct {
        std::u16string text;
        std::string written;
    } cases[] = {
        {u"a\\b{c}d", "a\\\\b\\{c\\}d"},
        {u"\u00e9t\u00e9\u00b0", "\\'e9t\\'e9\\'b0"},
        {u"\u20ac\u0153\u2019", "\\'80\\'9c\\'92"},
        {u"\u03a9", "\\u937?"},
        {u"\ufffd", "\\u-3?"},                   // above 32767: a negative number
        {u"\U0001F600", "\\u-10179?\\u-8704?"},  // a surrogate pair, unit by unit
        {u"a\tb\u2028c\x01\x7f", "a\\tab b\\line c\\'01\x7f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteRtf(InArial({RtfParagraph{{{c.text, {}}}, {}, false}})),
                  kArialPrologue + c.written + "}\r\n")
            << c.written;
    }
    // With no text, the table still has entry 0: the default font, its name escaped.
    RtfDocument empty = InArial({});
    empty.fonts[0] = u"Caf\u00e9 {Sans}";
    empty.page = RichText::RtfPage{11906, 16838, 283, 283, 283, 283};
    EXPECT_EQ(
        WriteRtf(empty),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Caf\\'e9 \\{Sans\\};}}"
        "\r\n{\\colortbl ;}\r\n\\paperw11906\\paperh16838\\margl283\\margr283\\margt283"
        "\\margb283\r\n\\viewkind4\\uc1\\pard\\plain }\r\n");
}

TEST(RtfWriter, WritesTablesAsWordProcessorsReadThemAndParagraphPropertiesWhereTheyChange) {
    const RtfParagraph a{{{u"a", {}}}, {}, true, true};
    const RtfParagraph b{{{u"b", {}}}, {}, false, false, true};
    const RichText::RtfTable table{{{{{{a, b}, 1000, true}, {{a}, 2000}}, 108, true}}};
    EXPECT_EQ(WriteRtf(InArial({a, b, table, RtfParagraph{{}, {}, false, true}})),
              kArialPrologue +
                  "\\qc a\\par\r\n\\pard\\keepn b\\trowd\\trgaph108\\trkeep"
                  "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs"
                  "\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx1000\\cellx2000\r\n"
                  "\\pard\\intbl\\qc a\\par\r\n\\pard\\intbl\\keepn b\\cell\r\n"
                  "\\pard\\intbl\\qc a\\cell\\row\r\n\\pard\\qc }\r\n");
}

// Any document of the reader's own shape reads back as it was written.
TEST(RtfWriter, WrittenTablesAndParagraphsReadBackAsTheyWere) {
    std::mt19937 random(20240611);
    const auto chance = [&](int in) { return random() % in == 0; };
    const RtfFormat formats[] = {{u"Arial"},
                                 {u"Arial", 18, true},
                                 {u"Times New Roman", 24, false, true, true, false, {}, kRed},
                                 {u"Courier New", 30, false, false, false, true, {}, {}, kYellow}};
    const auto paragraph = [&](bool ended) {
        RtfParagraph p{{}, formats[random() % 4], ended, chance(3), chance(3)};
        for (int runs = random() % 4, r = 0; r < runs; ++r) {
            std::u16string text;
            for (int n = 1 + random() % 4; n > 0; --n) {
                text += u" a\t\u2028\u00e9\u20ac{}\\\u03a9"[random() % 10];
            }
            const RtfFormat& format = formats[(r + 1 + random() % 3) % 4];  // next to another
            if (p.runs.empty() || p.runs.back().format != format) {
                p.runs.push_back({text, format});
                p.mark = format;
            }
        }
        return p;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<RichText::RtfBlock> blocks;
        for (int n = random() % 4; n > 0; --n) {
            RichText::RtfTable table;
            for (int rows = 1 + random() % 3; rows > 0; --rows) {
                RichText::RtfTableRow& row = table.rows.emplace_back();
                row = {{}, static_cast<int>(random() % 300), chance(2)};
                for (int cells = 1 + random() % 4, right = 0; cells > 0; --cells) {
                    right += 1 + random() % 5000;
                    row.cells.push_back({{}, std::min(right, 31680 - cells), chance(2)});
                    for (int more = random() % 3; more >= 0; --more) {
                        row.cells.back().paragraphs.push_back(paragraph(more > 0));
                    }
                }
            }
            blocks.push_back(paragraph(true));
            blocks.push_back(table);
        }
        blocks.push_back(paragraph(false));
        const std::string written = WriteRtf(InArial(blocks));
        EXPECT_EQ(RichText::ReadRtf(written).blocks, blocks) << written;
    }
}

}  // namespace
