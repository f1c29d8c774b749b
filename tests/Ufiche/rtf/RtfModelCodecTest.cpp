#include "Ufiche/rtf/RtfModelCodec.h"

#include <gtest/gtest.h>

namespace {

using namespace Ufiche;

// A document with every kind of thing the form holds: formats differing in
// each property, empty and unended paragraphs, a table, the tables and page
// a stream declares, and UTF-16 text with a lone surrogate.
RtfDocument EveryKindOfThing() {
    RtfFormat plain;
    plain.font = u"Arial";
    RtfFormat answer = plain;
    answer.highlight = RtfColour{255, 255, 0};
    RtfFormat power = plain;
    power.alignment = RtfVerticalAlignment::Superscript;
    RtfFormat styled{
        u"Times New Roman",   48,          true, true, true, true, RtfVerticalAlignment::Subscript,
        RtfColour{128, 0, 0}, std::nullopt};
    const RtfParagraph line{
        {{u"1\u00b0/   3 m", plain}, {u"2", power}, {u" = ", plain}, {u"0,003 km", answer}},
        plain,
        true};
    RtfTable table;
    table.rows.resize(2);
    table.rows[0].cells.resize(2);
    table.rows[0].cells[0].paragraphs = {
        RtfParagraph{{{u"\tx\u2028\xd800", styled}}, answer, false}};
    RtfDocument document;
    document.blocks = {line, RtfParagraph{{}, styled, true}, table,
                       RtfParagraph{{{u"fin", answer}}, power, false}};
    document.defaultFont = 2;
    document.fonts = {{0, u"Arial"}, {2, u"Courier New"}, {-5, u""}};
    document.colours = {std::nullopt, RtfColour{0, 0, 255}};
    document.defaultTabTwips = 1440;
    document.page = RtfPage{11906, 16838, 283, 283, 283, 0};
    return document;
}

TEST(RtfModelCodec, ADocumentComesBackWholeAndAnyDamagedFormIsRefused) {
    const RtfDocument document = EveryKindOfThing();
    const std::u16string units = EncodeRtfDocument(document);
    EXPECT_EQ(DecodeRtfDocument(units), document);
    EXPECT_EQ(DecodeRtfDocument(EncodeRtfDocument(RtfDocument{})), RtfDocument{});
    for (std::size_t cut = 0; cut < units.size(); ++cut) {
        EXPECT_EQ(DecodeRtfDocument(units.substr(0, cut)), std::nullopt) << cut;
    }
    std::u16string extended = units + u'\0';
    EXPECT_EQ(DecodeRtfDocument(extended), std::nullopt);
    // Each unit changed to its largest value: refused or read, never a crash.
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::u16string damaged = units;
        damaged[i] = 0xFFFF;
        (void)DecodeRtfDocument(damaged);
    }
}

}  // namespace
