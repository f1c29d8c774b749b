#include "Ufiche/window/settings/StoredValues.h"

#include <gtest/gtest.h>

namespace {

using namespace Commune;
using namespace Ufiche;

TEST(StoredValues, TextsAreTrimmedAndQuotedTextsWrappedInOneMorePair) {
    EXPECT_EQ(EncodeText("Convertir en "), "Convertir en");
    EXPECT_EQ(EncodeText("\t  Titre \r\n"), "Titre");
    EXPECT_EQ(EncodeText(""), "");
    EXPECT_EQ(EncodeText("\"Bonjour\""), "\"\"Bonjour\"\"");
    EXPECT_EQ(EncodeText("'a'"), "\"'a'\"");
    EXPECT_EQ(EncodeText("\"a'"), "\"a'");
    EXPECT_EQ(EncodeText("\""), "\"");
    EXPECT_EQ(TrimControls("\x01 x \x1f"), "x");
    EXPECT_EQ(EncodeListEntry("\"Bonjour\""), "\"\"Bonjour\"\"");
    EXPECT_EQ(EncodeListEntry(" 'x'\t"), " \"'x'\"\t");
    EXPECT_EQ(EncodeListEntry("\x01'x'"), "\x01'x'");
    EXPECT_EQ(EncodeListEntry("'x'\x01"), "'x'\x01");
}

TEST(StoredValues, NumbersAndFlagsAreReadLeniently) {
    EXPECT_EQ(DecodeInteger("40"), 40);
    EXPECT_EQ(DecodeInteger("-1"), -1);
    EXPECT_EQ(DecodeInteger("abc"), 0);
    EXPECT_EQ(DecodeInteger("12abc"), 0);
    EXPECT_EQ(DecodeInteger(""), 0);
    EXPECT_EQ(DecodeInteger("99999999999999"), 0);
    EXPECT_EQ(DecodeBoolean("true"), true);
    EXPECT_EQ(DecodeBoolean("FALSE"), false);
    EXPECT_EQ(DecodeBoolean("yes"), std::nullopt);
    EXPECT_EQ(EncodeBoolean(true), "True");
}

TEST(StoredValues, PositionsAreFourIntegersSplitAtBlanksAndCommas) {
    EXPECT_EQ(DecodeFourIntegers("10,20,830,480"), (std::array<int, 4>{10, 20, 830, 480}));
    EXPECT_EQ(DecodeFourIntegers(" 10 , 20,30"), (std::array<int, 4>{10, 20, 30, 0}));
    EXPECT_EQ(DecodeFourIntegers("a,-5,x,7,9"), (std::array<int, 4>{0, -5, 0, 7}));
    EXPECT_EQ(EncodeFourIntegers({-1, -1, 2, 3}), "-1,-1,2,3");
    EXPECT_EQ(ScreenSizeKey("NormPos", 1024, 768), "NormPos(1024x768)");
    EXPECT_EQ(DecodeShowCmd(1), StoredShowState::Normal);
    EXPECT_EQ(DecodeShowCmd(6), StoredShowState::Minimized);
    EXPECT_EQ(DecodeShowCmd(3), StoredShowState::Maximized);
    EXPECT_EQ(DecodeShowCmd(0), StoredShowState::Normal);
}

}  // namespace
