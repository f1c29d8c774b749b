#include "Ufiche/document/RtfHeader.h"

#include <gtest/gtest.h>

#include <string>

#include "Ufiche/document/ColourTable.h"
#include "Ufiche/document/Markup.h"

namespace {

using Ufiche::RtfHeader;

TEST(RtfHeader, IsTheFixedPrologueThatTheMarkupTranslationLeavesUnchanged) {
    EXPECT_EQ(RtfHeader.size(), 643u);
    EXPECT_TRUE(
        RtfHeader.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deftab1440\\deff0\\deflang1036"));
    EXPECT_TRUE(RtfHeader.ends_with("}\\viewkind4\\uc1\\pard\\f0 "));
    const std::string header(RtfHeader);
    EXPECT_EQ(Ufiche::MarkupToRtf(header), header);
}

TEST(RtfHeader, ColourTableAgreesEntryForEntryWithTheMarkupColourWords) {
    std::string expected = "{\\colortbl ;";
    for (const auto& colour : Ufiche::kDocumentColours) {
        expected += "\\red" + std::to_string(colour.red) + "\\green" +
                    std::to_string(colour.green) + "\\blue" + std::to_string(colour.blue) + ";";
    }
    expected += "}";
    EXPECT_NE(RtfHeader.find(expected), std::string_view::npos);
    EXPECT_EQ(Ufiche::kDocumentColours[11].word, "jaune");
    EXPECT_EQ(Ufiche::MarkupToRtf("<cf=jaune>"), "\\highlight12 ");
}

TEST(RtfHeader, FontTableDeclaresTheFourMarkupFontsThenASecondArial) {
    const std::string_view fonts[] = {
        "{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}",
        "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}",
        "{\\f2\\fmodern\\fprq1\\fcharset0 Courier New;}",
        "{\\f3\\froman\\fprq2\\fcharset2 Symbol;}",
        "{\\f4\\fswiss\\fcharset0 Arial;}}",
    };
    std::size_t position = 0;
    for (const auto font : fonts) {
        const auto found = RtfHeader.find(font, position);
        ASSERT_NE(found, std::string_view::npos) << font;
        position = found + font.size();
    }
}

}  // namespace
