#include "RichText/RtfReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "RichText/Windows1252.h"

namespace RichText {

// Failures name the run by its text and format.
void PrintTo(const RtfRun& run, std::ostream* out) {
    const RtfFormat& f = run.format;
    *out << ::testing::PrintToString(run.text) << " " << ::testing::PrintToString(f.font) << " "
         << f.halfPoints << "hp" << (f.bold ? " b" : "") << (f.italic ? " i" : "")
         << (f.underline ? " ul" : "") << (f.strike ? " strike" : "") << " align"
         << int(f.alignment) << (f.foreground ? " fg" : "") << (f.highlight ? " hl" : "");
}

}  // namespace RichText

namespace {

using RichText::ReadRtf;
using RichText::RtfColour;
using RichText::RtfDocument;
using RichText::RtfFormat;
using RichText::RtfParagraph;
using RichText::RtfRun;

// A prologue with the documents' fonts and a colour table whose entries differ
// from the generated documents' own, so that indexes must go through it.
const std::string kPrologue =
    "{\\rtf1\\ansi\\ansicpg1252\\deftab1440\\deff0"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}"
    "{\\f2\\fmodern Courier New;}}"
    "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}";

std::vector<RtfParagraph> Paragraphs(const RtfDocument& document) {
    std::vector<RtfParagraph> paragraphs;
    for (const auto& block : document.blocks) {
        paragraphs.push_back(std::get<RtfParagraph>(block));
    }
    return paragraphs;
}

// The runs of every paragraph, one after the other.
std::vector<RtfRun> Runs(std::string_view rtf) {
    std::vector<RtfRun> runs;
    for (const RtfParagraph& paragraph : Paragraphs(ReadRtf(rtf))) {
        runs.insert(runs.end(), paragraph.runs.begin(), paragraph.runs.end());
    }
    return runs;
}

// The text of a document, "\n" at each paragraph end.
std::u16string TextOf(const RtfDocument& document) {
    std::u16string text;
    for (const RtfParagraph& paragraph : Paragraphs(document)) {
        for (const RtfRun& run : paragraph.runs) {
            text += run.text;
        }
        text += paragraph.ended ? u"\n" : u"";
    }
    return text;
}

std::u16string TextOf(std::string_view rtf) {
    return TextOf(ReadRtf(rtf));
}

struct TextCase {
    std::string rtf;
    std::u16string text;
};

TEST(RtfReader, ReadsTextControlSymbolsAndCharacterEscapes) {
    const TextCase cases[] = {
        {"{\\rtf1 Hello}", u"Hello"},
        {"{\\rtf1 a\\\\b\\{c\\}d}", u"a\\b{c}d"},
        {"{\\rtf1 a\\par b\\par}", u"a\nb\n"},
        {"{\\rtf1 a\\line b\\tab c}", u"a\u2028b\tc"},
        {"{\\rtf1 \\'e9t\\'e9 \\'80 \\'9c\\'b0}", u"été € œ°"},
        {"{\\rtf1 \\u8364?\\u339?}", u"€œ"},
        {"{\\rtf1\\uc2 \\u8364xy z}", u"€ z"},
        {"{\\rtf1\\uc0 \\u8364 z}", u"€z"},
        {"{\\rtf1 {\\uc3 \\u8364 abcd}\\u8364?}", u"€d€"},
        {"{\\rtf1 \\u937?\\u-4064?\\u0?\\u7?}", u"Ω\uF020"},  // beyond Windows-1252 too
        {"{\\rtf1 a\\~b\\-c\\_d}", u"a\u00A0bc\u2011d"},
        {"{\\rtf1 \\lquote x\\rquote  \\emdash\\endash\\ldblquote\\rdblquote\\bullet}",
         u"‘x’ —–“”•"},
        // RTF ignores raw line ends; other raw control characters carry no text.
        {"{\\rtf1 a\r\nb\x01"
         "c\td}",
         u"abc\td"},
        {"{\\rtf1 \\par-----}", u"\n-----"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

TEST(RtfReader, SkipsDestinationsAndControlWordsItDoesNotKnow) {
    const TextCase cases[] = {
        {"{\\rtf1{\\*\\generator Riched20 10.0;}a}", u"a"},
        {"{\\rtf1{\\*\\unknowndest {nested} text}b}", u"b"},
        {"{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}c}", u"c"},
        {"{\\rtf1\\viewkind4\\lang1036\\foo12 \\bar d}", u"d"},
        {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt lien}}}", u"lien"},
        {"{\\rtf1 {\\pict\\wmetafile8 0102ff}e}", u"e"},
        {"{\\rtf1 \\bin4 {}\\}f}", u"f"},
        {"{\\rtf1{\\header h}{\\footer f}{\\footnote n}{\\xe x}{\\object o}{\\listtable l}g}",
         u"g"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

TEST(RtfReader, UnbalancedBracesNeitherCrashNorLoseTheRestOfTheText) {
    const TextCase cases[] = {
        // A teacher's "}" closes the document group early: the text goes on.
        {kPrologue + "\\f0 Titre } suite\\par fin}", u"Titre  suite\nfin"},
        {kPrologue + "a}}}}b}", u"ab"},
        // A teacher's "{" is never closed.
        {kPrologue + "Titre { suite\\par fin}", u"Titre  suite\nfin"},
        {kPrologue + "{{{{a", u"a"},
        // Cut short anywhere.
        {kPrologue + "a\\", u"a"},
        {kPrologue + "a\\'e", u"ae"},
        {kPrologue + "a\\u", u"a"},
        {"{\\rtf1{\\fonttbl{\\f0 Ari", u""},
        {"{\\rtf1{\\colortbl ;\\red25", u""},
        {"}{\\rtf1 x", u"x"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

// A run of `text` in 9-point Arial, changed by `change`.
RtfRun Arial9(std::u16string text, const std::function<void(RtfFormat&)>& change = {}) {
    RtfRun run{std::move(text), {}};
    run.format.font = u"Arial";
    run.format.halfPoints = 18;
    if (change) {
        change(run.format);
    }
    return run;
}

TEST(RtfReader, AppliesEveryCharacterPropertyAndRestoresItAtTheEndOfAGroup) {
    const auto courier15 = [](RtfFormat& f) {
        f.font = u"Courier New";
        f.halfPoints = 30;
    };
    const std::vector<RtfRun> expected = {
        Arial9(u"a"),
        Arial9(u"b", [](RtfFormat& f) { f.bold = true; }),
        Arial9(u"c"),
        Arial9(u"d", [](RtfFormat& f) { f.italic = true; }),
        Arial9(u"e", [](RtfFormat& f) { f.underline = true; }),
        Arial9(u"f"),
        Arial9(u"g", [](RtfFormat& f) { f.underline = true; }),
        Arial9(u"h", [](RtfFormat& f) { f.strike = true; }),
        Arial9(u"i",
               [](RtfFormat& f) { f.alignment = RichText::RtfVerticalAlignment::Superscript; }),
        Arial9(u"j", [](RtfFormat& f) { f.alignment = RichText::RtfVerticalAlignment::Subscript; }),
        Arial9(u"k",
               [](RtfFormat& f) {
                   f.foreground = RtfColour{0, 0, 255};
               }),  // entry 1 here
        Arial9(u"l",
               [](RtfFormat& f) {
                   f.highlight = RtfColour{255, 255, 0};
               }),
        Arial9(u"m", [](RtfFormat& f) { f.font = u"Times New Roman"; }),
        Arial9(u"n", courier15),
        Arial9(u"o", [](RtfFormat& f) { f.bold = f.italic = true; }),
        Arial9(u"p", courier15),
        Arial9(u"q", [](RtfFormat& f) { f.halfPoints = 24; }),  // "\plain": default font, 12 points
        Arial9(u"r", [](RtfFormat& f) { f.strike = f.underline = true; }),
    };
    EXPECT_EQ(Runs(kPrologue + "\\f0\\fs18 a\\b b\\b0 c\\i d\\i0\\ul e\\ulnone f\\uldb g\\ul0 "
                               "\\strike h\\strike0\\super i\\nosupersub\\sub j\\nosupersub "
                               "\\cf1 k\\cf0\\highlight2 l\\highlight0 \\f1 m\\f2\\fs30 n"
                               "{\\b\\i\\f0\\fs18 o}p\\plain q\\f0\\fs18\\strikedl\\ulwave r}"),
              expected);
}

TEST(RtfReader, ColourAndFontIndexesOutsideTheTablesFallBackToTheDefaults) {
    // "\f9" does not exist: "\deff1"; no colour entry 9, 7 or -3.
    EXPECT_EQ(Runs(kPrologue + "\\deff1\\fs18 \\cf9 a\\highlight7 b\\cf-3 c\\f9 d\\f0 e}"),
              (std::vector{Arial9(u"abcd", [](RtfFormat& f) { f.font = u"Times New Roman"; }),
                           Arial9(u"e")}));

    // Entry 0 is automatic even where the table gives it a colour.
    RtfRun blue{u"a", {}};
    blue.format.foreground = blue.format.highlight = RtfColour{0, 0, 255};
    EXPECT_EQ(Runs("{\\rtf1{\\colortbl\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                   "\\cf1\\highlight1 a\\cf0\\highlight0 b}"),
              (std::vector{blue, RtfRun{u"b", {}}}));
}

TEST(RtfReader, ColourComponentsAndFontSizesOutsideTheirRangesAreKeptWithinThem) {
    const auto colours = Runs(
        "{\\rtf1{\\colortbl ;\\red256\\green-1\\blue255;\\red0\\green255\\blue1000;}"
        "\\cf1 a\\cf2 b}");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].format.foreground, (RtfColour{255, 0, 255}));
    EXPECT_EQ(colours[1].format.foreground, (RtfColour{0, 255, 255}));

    const auto sizes = Runs("{\\rtf1 \\fs18 a\\fs0 b\\fs-4 c\\fs99999 d\\fs e\\fs1 f}");
    const std::pair<std::u16string, int> expected[] = {
        {u"abc", 18}, {u"d", 3276}, {u"e", 24}, {u"f", 1}};
    ASSERT_EQ(sizes.size(), std::size(expected));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i].text, expected[i].first);
        EXPECT_EQ(sizes[i].format.halfPoints, expected[i].second) << i;
    }
}

TEST(RtfReader, ReadsFontTablesWithAndWithoutEntryGroups) {
    EXPECT_EQ(Runs("{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fmodern Courier New;}\\f1 x}")
                  .at(0)
                  .format.font,
              u"Courier New");
    EXPECT_EQ(Runs("{\\rtf1{\\fonttbl{\\f3{\\*\\panose 02020603}Times New Roman;}}\\f3 x}")
                  .at(0)
                  .format.font,
              u"Times New Roman");
    // Spaces around a name are not part of it; an entry with no name defines nothing.
    EXPECT_EQ(Runs("{\\rtf1{\\fonttbl{\\f0 \\'a0Arial \\'a0;}{\\f1  ;}}\\f1 x}").at(0).format.font,
              u"Arial");
}

TEST(RtfReader, TextKeepsTheLookOfTheTablesInForceWhenItWasRead) {
    const RtfDocument document = ReadRtf(
        "{\\rtf1\\deftab567{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
        "\\cf1 a{\\fonttbl{\\f0 Courier New;}{\\f4 Symbol;}}"
        "{\\colortbl ;\\red0\\green128\\blue0;}b\\deff4 c}");
    RtfRun a{u"a", {}};
    a.format.font = u"Arial";
    a.format.foreground = RtfColour{255, 0, 0};
    RtfRun b = a;
    b.text = u"b";
    b.format.font = u"Courier New";
    b.format.foreground = RtfColour{0, 128, 0};
    RtfRun c = b;
    c.text = u"c";
    c.format.font = u"Symbol";
    EXPECT_EQ(Paragraphs(document).at(0).runs, (std::vector{a, b, c}));
    // The document's tables as last declared.
    EXPECT_EQ(document.defaultFont, 4);
    EXPECT_EQ(document.fonts, (std::map<int, std::u16string>{{0, u"Courier New"}, {4, u"Symbol"}}));
    EXPECT_EQ(document.colours, (std::vector<std::optional<RtfColour>>{{}, RtfColour{0, 128, 0}}));
    EXPECT_EQ(document.defaultTabTwips, 567);
    EXPECT_FALSE(ReadRtf("{\\rtf1 x}").defaultTabTwips.has_value());
}

TEST(RtfReader, EmptyParagraphsKeepTheSizeInForceWhereTheyEnd) {
    struct Case {
        std::string rtf;
        std::vector<int> emptyLineHalfPoints;  // of each empty paragraph's mark, in order
    };
    const Case cases[] = {
        {"{\\rtf1 \\fs18 a\\par\\par\\fs40 b\\par}", {18, 40}},
        {"{\\rtf1 \\fs18 a\\par\\fs40 }", {40}},
        {"{\\rtf1 \\fs18 a\\par{\\fs40 \\par}\\par}", {40, 18, 18}},
        {"{\\rtf1 \\fs18 \\par \\fs16 \\par b}", {18, 16}},
        // The last one as the document's group closed, or as the stream ends.
        {"{\\rtf1 a\\par\\fs40 }\\fs10 ", {40}},
        {"{\\rtf1 a\\par{\\fs40 ", {40}},
    };
    for (const Case& c : cases) {
        std::vector<int> halfPoints;
        for (const RtfParagraph& paragraph : Paragraphs(ReadRtf(c.rtf))) {
            if (paragraph.runs.empty()) {
                halfPoints.push_back(paragraph.mark.halfPoints);
            }
        }
        EXPECT_EQ(halfPoints, c.emptyLineHalfPoints) << c.rtf;
    }
}

TEST(RtfReader, GroupsBeyondTheDeepestShareItsState) {
    const std::string rtf =
        "{\\rtf1 " + std::string(5000, '{') + "\\b a" + std::string(5000 - 4095, '}') + "b}c";
    RtfRun bold{u"ab", {}};
    bold.format.bold = true;
    EXPECT_EQ(Runs(rtf), (std::vector{bold, RtfRun{u"c", {}}}));
}

TEST(RtfReader, ReadsEveryByteValueAsItsWindows1252Character) {
    std::string raw = "{\\rtf1 ";
    std::string escaped = "{\\rtf1 ";
    std::u16string expectedRaw;
    std::u16string expectedEscaped;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", byte);
        escaped += hex;
        const char16_t unit = RichText::UnicodeFromWindows1252(static_cast<unsigned char>(byte));
        if (byte >= 0x20 || byte == '\t') {
            expectedEscaped += unit;  // control characters other than the tab are dropped
        }
        if (c == '\\' || c == '{' || c == '}') {
            continue;
        }
        raw += c;
        if (byte >= 0x20 || byte == '\t') {
            expectedRaw += unit;
        }
    }
    EXPECT_EQ(TextOf(raw + "}"), expectedRaw);
    EXPECT_EQ(TextOf(escaped + "}"), expectedEscaped);
    EXPECT_EQ(TextOf(raw), expectedRaw);  // and without its closing brace
}

// `piece` repeated up to a megabyte, and how many times it went in.
std::pair<std::string, std::size_t> Megabyte(const std::string& piece) {
    std::string text;
    std::size_t count = 0;
    while (text.size() < (1u << 20)) {
        text += piece;
        ++count;
    }
    return {text, count};
}

TEST(RtfReader, ReadsMegabyteDocumentsOfAnyShapeWithoutHanging) {
    const auto [lines, lineCount] =
        Megabyte("\\b 1\\'b0/ 250 dam =\\tab\\tab \\highlight2 2 500 m\\highlight0 \\b0\\par ");
    const auto [switches, switchCount] = Megabyte("\\b a\\b0 b");
    const auto [marks, markCount] = Megabyte("\\par");
    struct Case {
        const char* name;
        std::string rtf;
        std::size_t paragraphs;
        std::size_t characters;  // paragraph ends included
    };
    const Case cases[] = {
        {"question lines", kPrologue + lines + "}", lineCount + 1, lineCount * 23},
        {"opening braces", "{\\rtf1 " + std::string(1u << 20, '{') + "x", 1, 1},
        {"closing braces", "{\\rtf1 " + std::string(1u << 20, '}') + "x", 1, 1},
        {"bold switches", "{\\rtf1 " + switches + "}", 1, 2 * switchCount},
        {"paragraph marks", "{\\rtf1 " + marks + "}", markCount + 1, markCount},
    };
    for (const Case& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const RtfDocument document = ReadRtf(c.rtf);
        // A bound against hanging, far above the real time; not a timing test.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30)) << c.name;
        EXPECT_EQ(document.blocks.size(), c.paragraphs) << c.name;
        EXPECT_EQ(TextOf(document).size(), c.characters) << c.name;
    }
}

TEST(RtfReader, RecognisesAnRtfStreamByItsOpening) {
    EXPECT_TRUE(RichText::LooksLikeRtf(" \r\n\t{\\rtf1 x}"));
    EXPECT_TRUE(RichText::LooksLikeRtf("{\\rtf"));
    EXPECT_FALSE(RichText::LooksLikeRtf("x{\\rtf1}"));
    EXPECT_FALSE(RichText::LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(RichText::LooksLikeRtf("  "));
}

}  // namespace

namespace {

// A document's blocks in short: a paragraph is its text, then "/" when ended,
// "^" when centred, "~" when kept with the next; a table is "T{rows}", rows
// split by ";", a row "gap[k]:cells", a cell "right[b]=paragraphs".
std::string Shape(const RtfDocument& document) {
    const auto paragraph = [](const RtfParagraph& p) {
        std::string text;
        for (const RtfRun& run : p.runs) {
            text += std::string(run.text.begin(), run.text.end());
        }
        return text + (p.ended ? "/" : "") + (p.centred ? "^" : "") + (p.keepWithNext ? "~" : "");
    };
    std::string shape;
    for (const auto& block : document.blocks) {
        shape += shape.empty() ? "" : " ";
        if (const auto* p = std::get_if<RtfParagraph>(&block)) {
            shape += paragraph(*p);
            continue;
        }
        shape += "T{";
        for (const auto& row : std::get<RichText::RtfTable>(block).rows) {
            shape += (shape.back() == '{' ? "" : ";") + std::to_string(row.gapTwips) +
                     (row.keepTogether ? "k:" : ":");
            for (const auto& cell : row.cells) {
                shape += (shape.back() == ':' ? "" : ",") + std::to_string(cell.rightTwips) +
                         (cell.bordered ? "b=" : "=");
                for (const RtfParagraph& p : cell.paragraphs) {
                    shape += (shape.back() == '=' ? "" : "|") + paragraph(p);
                }
            }
        }
        shape += "}";
    }
    return shape;
}

TEST(RtfReader, ReadsTablesAndClosesOrFlattensWhatAStreamLeavesOpenOrNests) {
    const std::pair<std::string, std::string> cases[] = {
        {"\\trowd\\trgaph108\\trkeep\\clbrdrt\\brdrs\\brdrw10\\cellx1000\\clbrdrl\\brdrnone"
         "\\cellx2000\\pard\\intbl\\qc\\keepn a\\cell b\\par\\ql c\\cell\\row\\pard d\\par e",
         "T{108k:1000b=a^~,2000=b/^~|c~} d/ e"},
        // Rows in a row make one table; a definition repeated before "\row" is the one kept.
        {"\\trowd\\cellx100\\intbl a\\cell\\row\\intbl b\\cell{\\trowd\\trgaph9\\cellx50\\row}"
         "\\pard{\\qc c\\par}d",
         "T{0:100=a;9:50=b} c/^ d"},
        // Borders: a side with a style other than none, given before the cell's "\cellx".
        {"\\trowd\\clbrdrt\\brdrnone\\clbrdrb\\brdrdb\\cellx10\\brdrt\\brdrs\\cellx20"
         "\\clbrdrr\\brdrs\\brdrnil\\cellx30\\intbl a\\cell b\\cell c\\cell\\row",
         "T{0:10b=a,20=b,30=c} "},
        // A row's own borders border every cell; a paragraph's border word ends them.
        {"\\trowd\\trbrdrh\\brdrs\\cellx10\\cellx20\\intbl a\\cell b\\cell\\row"
         "\\trowd\\trbrdrv\\brdrt\\brdrs\\cellx10\\intbl c\\cell\\row",
         "T{0:10b=a,20b=b;0:10=c} "},
        // Edges kept in 0..31680 and increasing; cells beyond the definitions an inch apart.
        {"\\trowd\\trgaph-5\\cellx-99999999\\cellx2147483647\\cellx7\\intbl a\\cell\\cell\\cell"
         "\\cell\\row",
         "T{0:0=a,31678=,31679=,31680=} "},
        {"\\trowd\\cellx500\\cellx300\\intbl a\\cell b\\cell c\\cell\\row",
         "T{0:500=a,501=b,1941=c} "},
        // Left open: at a paragraph outside the table, at "\row", at the end.
        {"\\intbl a\\par b\\pard c\\par", "T{0:1440=a/} bc/ "},
        {"\\trowd\\cellx100\\intbl a\\cell b", "T{0:100=a,1540=b} "},
        {"\\intbl a\\cell b\\row", "T{0:1440=a,2880=b} "},
        {"\\intbl a\\par\\cell}", "T{0:1440=a/|} "},
        {"a\\row b\\cell\\row\\row\\pard\\par", "T{0:1440=ab} / "},
        // A nested table flattened into its cell.
        {"\\trowd\\cellx5000\\pard\\intbl\\itap1 x\\par\\pard\\intbl\\itap2 n1\\nestcell "
         "n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx10\\cellx20\\nestrow}{\\nonesttables\\par}"
         "\\pard\\intbl\\itap1 y\\cell\\row\\pard z",
         "T{0:5000=x/|n1/|n2/|y} z"},
        {"{\\fonttbl{\\f0\\cell\\trowd\\cellx9 Arial;}}\\nestrow a", "a"},
    };
    for (const auto& [body, shape] : cases) {
        EXPECT_EQ(Shape(ReadRtf("{\\rtf1 " + body + "}")), shape) << body;
    }
}

TEST(RtfReader, BoundsTheCellsOfARowTheRowsOfATableAndTheCellsOfADocument) {
    std::string wide = "{\\rtf1\\trowd";
    for (int i = 1; i <= 100; ++i) {
        wide += "\\cellx" + std::to_string(i * 300) + "\\intbl " + std::to_string(i) + "\\cell";
    }
    const RtfDocument row = ReadRtf(wide + "\\row}");
    const auto& cells = std::get<RichText::RtfTable>(row.blocks.at(0)).rows.at(0).cells;
    ASSERT_EQ(cells.size(), 63u);
    EXPECT_EQ(cells.back().rightTwips, 63 * 300);
    const auto& last = cells.back().paragraphs;  // the 63rd cell and all after it
    ASSERT_EQ(last.size(), 38u);
    EXPECT_EQ(last.front().runs.at(0).text + (last.front().ended ? u"/" : u""), u"63/");
    EXPECT_EQ(last.back().runs.at(0).text + (last.back().ended ? u"/" : u""), u"100");

    std::string rows = "{\\rtf1 ";
    for (int i = 0; i < 100010; ++i) {
        rows += "\\intbl x\\cell\\row";
    }
    const RtfDocument many = ReadRtf(rows + "}");
    std::size_t tables = 0;
    for (const auto& block : many.blocks) {
        if (const auto* table = std::get_if<RichText::RtfTable>(&block)) {
            EXPECT_EQ(table->rows.size(), 10000u);
            ++tables;
        }
    }
    EXPECT_EQ(tables, 10u);
    EXPECT_EQ(many.blocks.size(), 10 + 10 + 1u);  // the cells past the bound as paragraphs
    EXPECT_TRUE(Shape(many).ends_with("} x/ x/ x/ x/ x/ x/ x/ x/ x/ x/ "));
}

}  // namespace
