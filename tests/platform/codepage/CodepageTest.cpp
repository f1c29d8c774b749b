#include "platform/codepage/Codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::FromWindows1252;
using platform::ToWindows1252;
using platform::UnicodeFromWindows1252;
using platform::Windows1252FromUnicode;

TEST(Codepage, EveryByteSurvivesARoundTripThroughUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const QString unicode = FromWindows1252(all);
    ASSERT_EQ(unicode.size(), 256);
    EXPECT_EQ(ToWindows1252(unicode), all);
    for (int byte = 0; byte < 256; ++byte) {
        const auto back = Windows1252FromUnicode(unicode[byte]);
        ASSERT_TRUE(back.has_value()) << byte;
        EXPECT_EQ(*back, byte);
    }
}

TEST(Codepage, TheRangeWhereWindows1252DiffersFromLatin1HoldsTypographicCharacters) {
    struct Case {
        unsigned char byte;
        char16_t unicode;
    };
    const Case cases[] = {
        {0x80, u'€'},
        {0x82, u'‚'},
        {0x83, u'ƒ'},
        {0x85, u'…'},
        {0x8C, u'Œ'},
        {0x92, u'’'},
        {0x93, u'“'},
        {0x94, u'”'},
        {0x96, u'–'},
        {0x97, u'—'},
        {0x99, u'™'},
        {0x9C, u'œ'},
        {0x9F, u'Ÿ'},
        {0xB0, u'°'},
        {0xE9, u'é'},
        {0xA0, u'\u00A0'},
        {0x41, u'A'},
        // Unassigned bytes keep the C1 control of the same value, as Windows does.
        {0x81, u'\u0081'},
        {0x8D, u'\u008D'},
        {0x8F, u'\u008F'},
        {0x90, u'\u0090'},
        {0x9D, u'\u009D'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnicodeFromWindows1252(c.byte), QChar(c.unicode)) << int(c.byte);
        EXPECT_EQ(Windows1252FromUnicode(QChar(c.unicode)), c.byte) << int(c.byte);
    }
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeOneReplacementEach) {
    EXPECT_FALSE(Windows1252FromUnicode(QChar(u'Ω')).has_value());
    EXPECT_FALSE(Windows1252FromUnicode(QChar(u'\u0080')).has_value());  // the byte 0x80 is "€"
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("a\xCE\xA9"
                                              "b")),
              "a?b");
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("\xF0\x9F\x98\x80!")), "?!");  // one emoji, one "?"
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("x\xE2\x82\xACy"), '_'), "x\x80y");
    EXPECT_EQ(ToWindows1252(QString::fromUtf8("\xE2\x84\xA2\xE2\x88\x9E"), '_'), "\x99_");
}

}  // namespace
