#include "RichText/RtfModelCodec.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace RichText;

// A document with every kind of thing the form holds comes back whole; every
// damaged form is refused or read, never a crash.
TEST(RtfModelCodec, ADocumentComesBackWholeAndAnyDamagedFormIsRefused) {
    const RtfFormat plain{u"Arial"};
    const RtfFormat answer{
        u"Arial", 24, false, false, false, false, {}, {}, RtfColour{255, 255, 0}};
    const RtfFormat styled{
        u"Times New Roman",  48, true, true, true, true, RtfVerticalAlignment::Subscript,
        RtfColour{128, 0, 0}};
    RtfTable table;
    table.rows.resize(2);
    table.rows[0].cells.resize(2);
    table.rows[0].cells[0].paragraphs = {
        RtfParagraph{{{u"\tx\u2028\xd800", styled}}, answer, true, false, true},
        RtfParagraph{{}, plain, false, true}};
    table.rows[0].cells[1] = {{}, -1, true};
    table.rows[1] = {{{{}, 31680}}, 108, true};
    RtfDocument document{
        {RtfParagraph{{{u"1\u00b0/   3 m", plain}, {u"0,003 km", answer}}, plain, true},
         RtfParagraph{{}, styled, true}, table, RtfParagraph{{{u"fin", answer}}, plain}},
        2,
        {{0, u"Arial"}, {2, u"Courier New"}, {-5, u""}},
        {std::nullopt, RtfColour{0, 0, 255}},
        1440,
        RtfPage{11906, 16838, 283, 283, 283, 0}};
    document.blocks.emplace_back(RtfParagraph{{}, plain, false, true, true});
    const std::u16string units = EncodeRtfDocument(document);
    EXPECT_EQ(DecodeRtfDocument(units), document);
    EXPECT_EQ(DecodeRtfDocument(EncodeRtfDocument(RtfDocument{})), RtfDocument{});
    EXPECT_EQ(DecodeRtfDocument(units + u'\0'), std::nullopt);
    for (std::size_t i = 0; i < units.size(); ++i) {
        EXPECT_EQ(DecodeRtfDocument(units.substr(0, i)), std::nullopt) << i;
        std::u16string damaged = units;
        damaged[i] = 0xFFFF;
        (void)DecodeRtfDocument(damaged);
    }
}

// The units of a small document, as the page's reader of the form expects them.
TEST(RtfModelCodec, WritesTablesAndParagraphPropertiesInTheGrammarsOrder) {
    const RtfTableRow row{
        {{{RtfParagraph{{{u"ab", {}}}, {}, false, true, true}}, 70000, true}}, 108, true};
    RtfDocument document;
    document.blocks = {RtfTable{{row}}, RtfParagraph{{}, {}, true}};
    // clang-format off
    const std::vector<int> expected = {
        2,                                          // version
        0, 0, 0,                                    // no default tab
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      // no page
        0, 0,  0, 0,  0, 0,                         // default font, no fonts, no colours
        0, 1,  0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // one format
        0, 2,                                       // two blocks
        1, 0, 1,                                    // a table of one row
        0, 108, 1, 0, 1,                            // gap, kept together, one cell
        1, 4464, 1, 0, 1,                           // right edge 70000, bordered, one paragraph
        6, 0, 0, 0, 1, 0, 0, 0, 2, 'a', 'b',        // centred, kept with the next, one run
        0, 1, 0, 0, 0, 0,                           // an ended empty paragraph
    };
    // clang-format on
    EXPECT_EQ(EncodeRtfDocument(document), std::u16string(expected.begin(), expected.end()));
}

}  // namespace
