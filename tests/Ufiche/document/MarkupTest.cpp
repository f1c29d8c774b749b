#include "Ufiche/document/Markup.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Ufiche::MarkupToRtf;

struct MarkupCase {
    std::string markup;
    std::string rtf;
};

void ExpectTranslations(std::initializer_list<MarkupCase> cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(MarkupToRtf(c.markup), c.rtf) << "markup \"" << c.markup << "\"";
    }
}

TEST(MarkupToRtf, StyleFontAndBreakTagsBecomeControlWordsEndingInOneSpace) {
    ExpectTranslations({
        {"<b>x</b>", "\\b x\\b0 "},
        {"<i>x</i>", "\\i x\\i0 "},
        {"<u>x</u>", "\\ul x\\ul0 "},
        {"<s>x</s>", "\\strike x\\strike0 "},
        {"m<sup>2</sup>", "m\\super 2\\nosupersub "},
        {"H<sub>2</sub>O", "H\\sub 2\\nosupersub O"},
        {"<arial><times><courier><symbol>", "\\f0 \\f1 \\f2 \\f3 "},
        {"a<br>b<tab>c", "a\\par b\\tab c"},
        {"<B><SuP><BR><TAB>", "\\b \\super \\par \\tab "},
        {"</b></sup>", "\\b0 \\nosupersub "},
    });
}

TEST(MarkupToRtf, SizeTagsCopyTheirTextWithEveryPrefixRemoved) {
    ExpectTranslations({
        {"<te=18>", "\\fs18 "},
        {"<TE=24>", "\\fs24 "},
        {"<te=>", "\\fs "},
        {"<te=1te=8>", "\\fs18 "},
        {"<te=abc>", "\\fsabc "},
    });
}

TEST(MarkupToRtf, ColourTagsSelectTheirColourTableEntry) {
    ExpectTranslations({
        {"<ce=auto>", "\\cf0 "},
        {"<ce=automatique>", "\\cf0 "},
        {"<ce=noir>", "\\cf1 "},
        {"<ce=rouge>", "\\cf10 "},
        {"<ce=bleu fonc\xE9>", "\\cf5 "},
        {"<ce=blanc>", "\\cf16 "},
        {"<cf=auto>", "\\highlight0 "},
        {"<cf=automatique>", "\\highlight0 "},
        {"<cf=jaune>", "\\highlight12 "},
        {"<cf=bleu ciel>", "\\highlight15 "},
        {"<CF=JAUNE>", "\\highlight12 "},
        {"<CE=BLEU FONC\xC9>", ""},
        {"<ce=bleu  fonc\xE9>", ""},
        {"<ce= rouge>", ""},
        {"<ce=orange>", ""},
        {"<cf=>", ""},
    });
}

TEST(MarkupToRtf, UnknownEmptyAndStrayTagsLeaveNoTrace) {
    ExpectTranslations({
        {"", ""},
        {"a<>b", "ab"},
        {"a< b>b", "ab"},
        {"a<inconnu>b", "ab"},
        {"a<<b>c", "ac"},
        {"a>b", "a>b"},
    });
}

TEST(MarkupToRtf, TextIsCopiedByteForByteButControlCharactersAreDropped) {
    ExpectTranslations({
        {"Convertir en ", "Convertir en "},
        {"\\par {x} \\tab ", "\\par {x} \\tab "},
        {"a\r\nb\tc\x01"
         "d",
         "abcd"},
        {"\xE9\xB0\x80\xFF", "\xE9\xB0\x80\xFF"},
        {std::string("ab\0<b>cd", 8), "ab"},
    });
}

TEST(MarkupToRtf, AMarkupEndingInsideATagStillLooksTheNameUp) {
    ExpectTranslations({
        {"texte<b", "texte\\b "},
        {"texte<cf=jaune", "texte\\highlight12 "},
        {"texte<xyz", "texte"},
        {"texte<", "texte"},
        {"<", ""},
    });
}

TEST(MarkupToRtf, AnyByteSequenceIsTranslatedWithoutReadingPastTheInput) {
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte += static_cast<char>(c);
    }
    const std::string rtf = MarkupToRtf(everyByte);
    // Bytes 1 to 31 are dropped, 32 to 59 copied; "<=>" is an unknown tag;
    // 63 to 255 are copied.
    EXPECT_EQ(rtf, everyByte.substr(31, 28) + everyByte.substr(62));

    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string markup(100000, '\0');
        for (auto& c : markup) {
            c = static_cast<char>(byte(random) % (round % 2 ? 256 : 64) + (round % 2 ? 0 : 40));
        }
        const std::string output = MarkupToRtf(markup);
        EXPECT_LE(output.size(), markup.size() * 16);
    }
}

TEST(MarkupTabs, RepeatsTheTabTagCountTimes) {
    EXPECT_EQ(Ufiche::MarkupTabs(3), "<tab><tab><tab>");
    EXPECT_EQ(Ufiche::MarkupTabs(1), "<tab>");
    EXPECT_EQ(Ufiche::MarkupTabs(0), "");
    EXPECT_EQ(Ufiche::MarkupTabs(-4), "");
    EXPECT_EQ(MarkupToRtf(Ufiche::MarkupTabs(6)), "\\tab \\tab \\tab \\tab \\tab \\tab ");
}

}  // namespace
