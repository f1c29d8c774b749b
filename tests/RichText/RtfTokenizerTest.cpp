#include "RichText/RtfTokenizer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using RichText::RtfToken;
using RichText::RtfTokenizer;

// The tokens of an input written one after the other in a compact notation:
// "{" "}", "\name" or "\name=N", "\'hh", "sym:c", and text in brackets.
std::string Describe(std::string_view input) {
    RtfTokenizer tokenizer(input);
    std::ostringstream out;
    for (RtfToken token = tokenizer.Next(); token.kind != RtfToken::Kind::End;
         token = tokenizer.Next()) {
        switch (token.kind) {
            case RtfToken::Kind::GroupOpen:
                out << "{ ";
                break;
            case RtfToken::Kind::GroupClose:
                out << "} ";
                break;
            case RtfToken::Kind::ControlWord:
                out << "\\" << token.text;
                if (token.hasParameter) {
                    out << "=" << token.parameter;
                }
                out << " ";
                break;
            case RtfToken::Kind::ControlSymbol:
                out << "sym:" << token.text << " ";
                break;
            case RtfToken::Kind::HexByte:
                out << "\\'" << std::hex << int(token.byte) << std::dec << " ";
                break;
            case RtfToken::Kind::Text:
                out << "[" << token.text << "] ";
                break;
            case RtfToken::Kind::End:
                break;
        }
    }
    return out.str();
}

TEST(RtfTokenizer, CutsTheInputIntoGroupsControlWordsSymbolsAndText) {
    struct Case {
        std::string input;
        std::string tokens;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi Hello}", "{ \\rtf=1 \\ansi [Hello] } "},
        // The one space after a control word delimits it; a second one is text.
        {"\\b  x", "\\b [ x] "},
        {"\\fs18 Long", "\\fs=18 [Long] "},
        {"\\li-360x", "\\li=-360 [x] "},
        // A hyphen not followed by a digit is text, as in a separator line of dashes.
        {"\\par-----", "\\par [-----] "},
        {"\\par1234", "\\par=1234 "},
        {"a\\\\b\\{c\\}", "[a] [\\] [b] [{] [c] [}] "},
        {"\\'e9\\'E9\\'zz", "\\'e9 \\'e9 sym:' [zz] "},
        {"\\'4", "sym:' [4] "},
        {"{\\*\\generator x;}", "{ sym:* \\generator [x;] } "},
        {"\\~\\-\\_", "sym:~ sym:- sym:_ "},
        // Line ends between tokens are dropped; after a backslash they are "\par".
        {"ab\r\ncd\\\nef", "[ab] [cd] \\par [ef] "},
        {"\\u8364?\\u-4064?", "\\u=8364 [?] \\u=-4064 [?] "},
        {"x\\", "[x] "},
        {"\\fs99999999999999", "\\fs=2147483647 "},
        {"\\fs-99999999999999", "\\fs=-2147483648 "},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(c.input), c.tokens) << c.input;
    }
}

TEST(RtfTokenizer, SkipsTheBytesOfBinaryData) {
    RtfTokenizer tokenizer("\\bin3 {}\\x}");
    const RtfToken bin = tokenizer.Next();
    ASSERT_EQ(bin.text, "bin");
    tokenizer.SkipBytes(static_cast<std::size_t>(bin.parameter));
    const RtfToken text = tokenizer.Next();
    EXPECT_EQ(text.kind, RtfToken::Kind::Text);
    EXPECT_EQ(text.text, "x");
    EXPECT_EQ(tokenizer.Next().kind, RtfToken::Kind::GroupClose);
    tokenizer.SkipBytes(1000);
    EXPECT_EQ(tokenizer.Next().kind, RtfToken::Kind::End);
}

}  // namespace
