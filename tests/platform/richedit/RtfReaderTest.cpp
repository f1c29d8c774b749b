#include "platform/richedit/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "TextDocumentProbe.h"

namespace {

using platform::ReadRtf;
using testsupport::Cp1252;
using testsupport::ShownCharacter;
using testsupport::ShownCharacters;
using testsupport::ShownText;

// A prologue with the documents' fonts and a colour table whose entries differ
// from the generated documents' own, so that indexes must go through it.
const std::string kPrologue =
    "{\\rtf1\\ansi\\ansicpg1252\\deftab1440\\deff0"
    "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}"
    "{\\f2\\fmodern Courier New;}}"
    "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}";

struct ReadDocument {
    std::unique_ptr<QTextDocument> document = std::make_unique<QTextDocument>();
    platform::RtfDocumentSettings settings;
};

ReadDocument Read(std::string_view rtf) {
    ReadDocument read;
    QTextCursor cursor(read.document.get());
    read.settings = ReadRtf(cursor, rtf);
    return read;
}

std::string TextOf(std::string_view rtf) {
    return ShownText(*Read(rtf).document);
}

TEST(RtfReader, ReadsTextControlSymbolsAndCharacterEscapes) {
    struct Case {
        std::string rtf;
        std::string text;
    };
    const Case cases[] = {
        {"{\\rtf1 Hello}", "Hello"},
        {"{\\rtf1 a\\\\b\\{c\\}d}", "a\\b{c}d"},
        {"{\\rtf1 a\\par b\\par}", "a\nb\n"},
        {"{\\rtf1 a\\line b\\tab c}", Cp1252("a\xE2\x80\xA8"
                                             "b\tc")},
        {"{\\rtf1 \\'e9t\\'e9 \\'80 \\'9c\\'b0}", Cp1252("été € œ°")},
        {"{\\rtf1 \\u8364?\\u339?}", Cp1252("€œ")},
        {"{\\rtf1\\uc2 \\u8364xy z}", Cp1252("€ z")},
        {"{\\rtf1\\uc0 \\u8364 z}", Cp1252("€z")},
        {"{\\rtf1 {\\uc3 \\u8364 abcd}\\u8364?}", Cp1252("€d€")},
        {"{\\rtf1 \\u937?}", "?"},  // Ω is outside the code page
        {"{\\rtf1 a\\~b\\-c\\_d}", Cp1252("a\xC2\xA0"
                                          "bc?d")},
        {"{\\rtf1 \\lquote x\\rquote  \\emdash}", Cp1252("‘x’ —")},
        // RTF ignores raw line ends; other raw control characters carry no text.
        {"{\\rtf1 a\r\nb\x01"
         "c\td}",
         "abc\td"},
        {"{\\rtf1 \\par-----}", "\n-----"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

TEST(RtfReader, SkipsDestinationsAndControlWordsItDoesNotKnow) {
    struct Case {
        std::string rtf;
        std::string text;
    };
    const Case cases[] = {
        {"{\\rtf1{\\*\\generator Riched20 10.0;}a}", "a"},
        {"{\\rtf1{\\*\\unknowndest {nested} text}b}", "b"},
        {"{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}c}", "c"},
        {"{\\rtf1\\viewkind4\\lang1036\\foo12 \\bar d}", "d"},
        {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt lien}}}", "lien"},
        {"{\\rtf1 {\\pict\\wmetafile8 0102ff}e}", "e"},
        {"{\\rtf1 \\bin4 {}\\}f}", "f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

TEST(RtfReader, UnbalancedBracesNeitherCrashNorLoseTheRestOfTheText) {
    struct Case {
        std::string rtf;
        std::string text;
    };
    const Case cases[] = {
        // A teacher's "}" closes the document group early: the text goes on.
        {kPrologue + "\\f0 Titre } suite\\par fin}", "Titre  suite\nfin"},
        {kPrologue + "a}}}}b}", "ab"},
        // A teacher's "{" is never closed.
        {kPrologue + "Titre { suite\\par fin}", "Titre  suite\nfin"},
        {kPrologue + "{{{{a", "a"},
        // Cut short anywhere.
        {kPrologue + "a\\", "a"},
        {kPrologue + "a\\'e", "ae"},
        {kPrologue + "a\\u", "a"},
        {"{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        {"{\\rtf1{\\colortbl ;\\red25", ""},
        {"}{\\rtf1 x", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextOf(c.rtf), c.text) << c.rtf;
    }
}

TEST(RtfReader, AppliesEveryCharacterPropertyAndRestoresItAtTheEndOfAGroup) {
    const auto read = Read(kPrologue +
                           "\\f0\\fs18 a\\b b\\b0 c\\i d\\i0\\ul e\\ulnone f\\ul g\\ul0 "
                           "\\strike h\\strike0\\super i\\nosupersub\\sub j\\nosupersub "
                           "\\cf1 k\\cf0\\highlight2 l\\highlight0 \\f1 m\\f2\\fs30 n"
                           "{\\b\\i\\f0\\fs18 o}p\\plain q}");
    ShownCharacter plain9;
    plain9.character = QChar('a');
    plain9.family = "Arial";
    plain9.points = 9;
    auto with = [&](char c, auto change) {
        ShownCharacter shown = plain9;
        shown.character = QChar(c);
        change(shown);
        return shown;
    };
    const std::vector<ShownCharacter> expected = {
        plain9,
        with('b', [](auto& s) { s.bold = true; }),
        with('c', [](auto&) {}),
        with('d', [](auto& s) { s.italic = true; }),
        with('e', [](auto& s) { s.underline = true; }),
        with('f', [](auto&) {}),
        with('g', [](auto& s) { s.underline = true; }),
        with('h', [](auto& s) { s.strike = true; }),
        with('i', [](auto& s) { s.alignment = QTextCharFormat::AlignSuperScript; }),
        with('j', [](auto& s) { s.alignment = QTextCharFormat::AlignSubScript; }),
        with('k', [](auto& s) { s.foreground = qRgb(0, 0, 255); }),  // entry 1 of this table
        with('l', [](auto& s) { s.background = qRgb(255, 255, 0); }),
        with('m', [](auto& s) { s.family = "Times New Roman"; }),
        with('n',
             [](auto& s) {
                 s.family = "Courier New";
                 s.points = 15;
             }),
        with('o', [](auto& s) { s.bold = s.italic = true; }),
        with('p',
             [](auto& s) {
                 s.family = "Courier New";
                 s.points = 15;
             }),
        with('q', [](auto& s) { s.points = 12; }),  // "\plain": default font, 12 points
    };
    EXPECT_EQ(ShownCharacters(*read.document), expected);
}

TEST(RtfReader, ColourAndFontIndexesOutsideTheTablesFallBackToTheDefaults) {
    const auto read = Read(kPrologue + "\\deff1 \\cf9 a\\highlight7 b\\cf-3 c\\f9 d\\f0 e}");
    const auto shown = ShownCharacters(*read.document);
    ASSERT_EQ(shown.size(), 5u);
    for (const auto& character : shown) {
        EXPECT_FALSE(character.foreground.has_value()) << character;
        EXPECT_FALSE(character.background.has_value()) << character;
    }
    EXPECT_EQ(shown[3].family, "Times New Roman");  // "\f9" does not exist: "\deff1"
    EXPECT_EQ(shown[4].family, "Arial");

    // Entry 0 is automatic even where the table gives it a colour.
    const auto zero = ShownCharacters(*Read("{\\rtf1{\\colortbl\\red255\\green0\\blue0;"
                                            "\\red0\\green0\\blue255;}"
                                            "\\cf1\\highlight1 a\\cf0\\highlight0 b}")
                                           .document);
    ASSERT_EQ(zero.size(), 2u);
    EXPECT_EQ(zero[0].foreground, qRgb(0, 0, 255)) << zero[0];
    EXPECT_EQ(zero[0].background, qRgb(0, 0, 255)) << zero[0];
    EXPECT_FALSE(zero[1].foreground || zero[1].background) << zero[1];
}

TEST(RtfReader, ColourComponentsAndFontSizesOutsideTheirRangesAreKeptWithinThem) {
    const auto colours = ShownCharacters(
        *Read("{\\rtf1{\\colortbl ;\\red256\\green-1\\blue255;\\red0\\green255\\blue1000;}"
              "\\cf1 a\\cf2 b}")
             .document);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].foreground, qRgb(255, 0, 255)) << colours[0];
    EXPECT_EQ(colours[1].foreground, qRgb(0, 255, 255)) << colours[1];

    const auto sizes =
        ShownCharacters(*Read("{\\rtf1 \\fs18 a\\fs0 b\\fs-4 c\\fs99999 d\\fs e\\fs1 f}").document);
    const double expected[] = {9, 9, 9, 1638, 12, 0.5};
    ASSERT_EQ(sizes.size(), std::size(expected));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i].points, expected[i]) << sizes[i];
    }
}

TEST(RtfReader, ReadsFontTablesWithAndWithoutEntryGroups) {
    const auto flat = Read(
        "{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\fmodern Courier New;}"
        "\\f1 x}");
    EXPECT_EQ(ShownCharacters(*flat.document).at(0).family, "Courier New");
    const auto panose = Read(
        "{\\rtf1{\\fonttbl{\\f3{\\*\\panose 02020603}Times New Roman;}}"
        "\\f3 x}");
    EXPECT_EQ(ShownCharacters(*panose.document).at(0).family, "Times New Roman");
}

TEST(RtfReader, EmptyParagraphsKeepTheSizeInForceWhereTheyEnd) {
    struct Case {
        std::string rtf;
        std::vector<double> emptyLinePoints;  // of each empty paragraph, in order
    };
    const Case cases[] = {
        {"{\\rtf1 \\fs18 a\\par\\par\\fs40 b\\par}", {9, 20}},
        {"{\\rtf1 \\fs18 a\\par\\fs40 }", {20}},
        {"{\\rtf1 \\fs18 a\\par{\\fs40 \\par}\\par}", {20, 9, 9}},
        {"{\\rtf1 \\fs18 \\par \\fs16 \\par b}", {9, 8}},
    };
    for (const Case& c : cases) {
        const auto read = Read(c.rtf);
        std::vector<double> points;
        for (QTextBlock block = read.document->begin(); block.isValid(); block = block.next()) {
            if (block.length() == 1) {
                points.push_back(block.charFormat().fontPointSize());
            }
        }
        EXPECT_EQ(points, c.emptyLinePoints) << c.rtf;
    }
}

TEST(RtfReader, ReportsTheDefaultTabStops) {
    EXPECT_EQ(Read(kPrologue + "}").settings.defaultTabTwips, 1440);
    EXPECT_FALSE(Read("{\\rtf1 x}").settings.defaultTabTwips.has_value());
}

// Where the second character of a document's first line starts, once laid
// out: the advance of the first one, after any kerning of the pair.
qreal SecondCharacterX(const std::string& rtf) {
    const ReadDocument read = Read(rtf);
    read.document->size();  // lays the document out
    return read.document->begin().layout()->lineAt(0).cursorToX(1);
}

TEST(RtfReader, LaysTextOutUnkernedAsWordProcessorsShowIt) {
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

TEST(RtfReader, ShowsEveryByteValueAsItsWindows1252Character) {
    std::string raw = "{\\rtf1 ";
    std::string escaped = "{\\rtf1 ";
    std::string expectedRaw;
    std::string expectedEscaped;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", byte);
        escaped += hex;
        if (byte >= 0x20 || byte == '\t') {
            expectedEscaped += c;  // control characters other than the tab are dropped
        }
        if (c == '\\' || c == '{' || c == '}') {
            continue;
        }
        raw += c;
        if (byte >= 0x20 || byte == '\t') {
            expectedRaw += c;
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
        const auto read = Read(c.rtf);
        // A bound against hanging, far above the real time; not a timing test.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30)) << c.name;
        EXPECT_EQ(static_cast<std::size_t>(read.document->blockCount()), c.paragraphs) << c.name;
        EXPECT_EQ(ShownText(*read.document).size(), c.characters) << c.name;
    }
}

}  // namespace
