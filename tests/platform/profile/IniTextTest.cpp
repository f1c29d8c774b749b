#include "platform/profile/IniText.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <utility>

namespace {

using namespace std::string_literals;
using platform::ini::CanStore;
using platform::ini::maxValueLength;
using platform::ini::ReadValue;
using platform::ini::WithoutSection;
using platform::ini::WithValue;

constexpr const char* missing = "<default>";

struct ReadCase {
    std::string content;
    std::string section;
    std::string key;
    std::string expected;
};

void ExpectReads(std::initializer_list<ReadCase> cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(ReadValue(c.content, c.section, c.key, missing), c.expected)
            << "reading [" << c.section << "] " << c.key << " from \"" << c.content << "\"";
    }
}

TEST(IniRead, HandEditedLayoutsReadTheSameValues) {
    ExpectReads({
        {"[TForm1]\r\nspMaxLigne_Value=12\r\n", "TForm1", "spMaxLigne_Value", "12"},
        {"[TForm1]\nspMaxLigne_Value=12\n", "TForm1", "spMaxLigne_Value", "12"},
        {"[TForm1]\nspMaxLigne_Value=12", "TForm1", "spMaxLigne_Value", "12"},
        {"\n\n  [ tform1 ]  \n\n\n  SPMAXLIGNE_VALUE   =   12  \n\n", "TForm1", "spMaxLigne_Value",
         "12"},
        {"[TFORM1]\r\n\tspmaxligne_value\t=\t12\t\r\n", "tForm1", "SpMaxLigne_Value", "12"},
        {"[TForm1]\r\nk=1\r\r\n", "TForm1", "k", "1"},
        {"[TForm1] ; comment after the header\nk=1\n", "TForm1", "k", "1"},
        {"[TForm1.Combo1_Items]\r\nCount=2\r\n", "TForm1.Combo1_Items", "Count", "2"},
        {"[TForm1]\nk=a=b\n", "TForm1", "k", "a=b"},
        {"[TForm1]\nk=\n", "TForm1", "k", ""},
        {"[TForm1]\nk=   \n", "TForm1", "k", ""},
        // The name runs to the last "]".
        {"[TForm1]Items]\nk=1\n", "TForm1]Items", "k", "1"},
        {"[TForm1]]\nk=1\n", "TForm1]", "k", "1"},
    });
}

TEST(IniRead, OnlyTheFirstSectionAndKeyOfANameCount) {
    ExpectReads({
        {"[A]\nk=1\nK=2\n", "A", "k", "1"},
        {"[A]\nk=1\n[a]\nk=2\n", "a", "k", "1"},
        {"[A]\nj=1\n[a]\nk=2\n", "A", "k", missing},
        {"[A]\nk=1\n[B]\nk=2\n", "B", "k", "2"},
    });
}

TEST(IniRead, KeysOutsideTheirSectionOrWithoutEqualsSignAreMissing) {
    ExpectReads({
        {"", "A", "k", missing},
        {"k=1\n[A]\n", "A", "k", missing},
        {"[A]\nj=1\n[B]\nk=1\n", "A", "k", missing},
        {"[B]\nk=1\n", "A", "k", missing},
        {"[A]\nk\n", "A", "k", missing},
        {"[A]\n=1\n", "A", "", missing},
        {"[A\nk=1\n", "A", "k", missing},
        {"A]\nk=1\n", "A", "k", missing},
        {"[A]\nkk=1\n", "A", "k", missing},
    });
}

TEST(IniRead, BytesBeyondAsciiAreKeptAsTheyAre) {
    ExpectReads({
        {"[A]\nk=\xE9t\xE9 \x80\x9F\n", "A", "k", "\xE9t\xE9 \x80\x9F"},
        {"[A]\nk=\xA0x\xA0\n", "A", "k", "\xA0x\xA0"},
        {"[A]\nk=a\0b\n"s, "A", "k", "a\0b"s},
        {"[\xC9t\xE9]\n\xE9=1\n", "\xC9t\xE9", "\xE9", "1"},
    });
}

TEST(IniRead, OneOuterPairOfMatchingQuotesIsRemoved) {
    ExpectReads({
        {"[A]\nk=\"Convertir en \"\n", "A", "k", "Convertir en "},
        {"[A]\nk='a b'\n", "A", "k", "a b"},
        {"[A]\nk=  \"  padded  \"  \n", "A", "k", "  padded  "},
        {"[A]\nk=\"\"quoted\"\"\n", "A", "k", "\"quoted\""},
        {"[A]\nk='\"x\"'\n", "A", "k", "\"x\""},
        {"[A]\nk=\"\"\n", "A", "k", ""},
        {"[A]\nk=\"\n", "A", "k", "\""},
        {"[A]\nk=\"a'\n", "A", "k", "\"a'"},
        {"[A]\nk=a\"\n", "A", "k", "a\""},
        {"[A]\nk=\"a\" b\n", "A", "k", "\"a\" b"},
    });
}

TEST(IniRead, ValuesAreCutTo2047CharactersButDefaultsAreNot) {
    const std::string longValue(100000, 'v');
    const std::string content = "[A]\r\nk=" + longValue + "\r\nq=\"" + longValue + "\"\r\n";
    EXPECT_EQ(ReadValue(content, "A", "k", ""), std::string(maxValueLength, 'v'));
    EXPECT_EQ(ReadValue(content, "A", "q", ""), std::string(maxValueLength, 'v'));
    EXPECT_EQ(ReadValue("[A]\nk=" + std::string(2047, 'x') + "\n", "A", "k", ""),
              std::string(2047, 'x'));
    EXPECT_EQ(ReadValue("[A]\nk=" + std::string(2048, 'x') + "\n", "A", "k", ""),
              std::string(2047, 'x'));
    EXPECT_EQ(ReadValue(content, "A", "missing", longValue), longValue);
}

struct EditCase {
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

TEST(IniWrite, KeysAreRewrittenInPlaceOrAppendedToTheirSection) {
    const EditCase cases[] = {
        {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\r\nk=1\r\nj=2\r\n", "S", "k", "9", "[S]\r\nk=9\r\nj=2\r\n"},
        {"[S]\n  K = 1  \nj=2\n", "s", "k", "9", "[S]\nK=9\r\nj=2\n"},
        {"[S]\nSpMax=1", "S", "spmax", "2", "[S]\nSpMax=2\r\n"},
        {"[S]\nk=1\n\n[T]\nx=1\n", "S", "j", "2", "[S]\nk=1\nj=2\r\n\n[T]\nx=1\n"},
        {"[S]\n\n\n[T]\n", "S", "j", "2", "[S]\nj=2\r\n\n\n[T]\n"},
        {"[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\nk=1", "S", "j", "2", "[S]\nk=1\r\nj=2\r\n"},
        {"[S]\ngarbage\n", "S", "k", "v", "[S]\ngarbage\nk=v\r\n"},
        {"k=1\n[S]\n", "S", "k", "2", "k=1\n[S]\nk=2\r\n"},
        {"[S]\na=1\n[T]\n[s]\nb=1\n", "S", "b", "2", "[S]\na=1\nb=2\r\n[T]\n[s]\nb=1\n"},
        {"[ S ]\n", " s ", " k ", "v", "[ S ]\nk=v\r\n"},
        {"[S]\nk=1\n", "S", "k", "", "[S]\nk=\r\n"},
        {"[S]\nk=1\n", "S", "k", "  x  ", "[S]\nk=  x  \r\n"},
        {"[S]\nk=1\n", "S", "k", "\"\"x\"\"", "[S]\nk=\"\"x\"\"\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithValue(c.before, c.section, c.key, c.value), c.after)
            << "setting [" << c.section << "] " << c.key << " in \"" << c.before << "\"";
    }
}

TEST(IniWrite, NewSectionsGoAtTheEndOnALineOfTheirOwn) {
    const EditCase cases[] = {
        {"[S]\nk=1\n", "T", "x", "1", "[S]\nk=1\n[T]\r\nx=1\r\n"},
        {"[S]\r\nk=1", "T", "x", "1", "[S]\r\nk=1\r\n[T]\r\nx=1\r\n"},
        {"junk", "T", "x", "1", "junk\r\n[T]\r\nx=1\r\n"},
        {"\r\n", "T", "x", "1", "\r\n[T]\r\nx=1\r\n"},
        {"[TForm1]\r\nk=1\r\n", "TForm1.Combo1_Items", "Count", "1",
         "[TForm1]\r\nk=1\r\n[TForm1.Combo1_Items]\r\nCount=1\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithValue(c.before, c.section, c.key, c.value), c.after)
            << "setting [" << c.section << "] " << c.key << " in \"" << c.before << "\"";
    }
}

TEST(IniErase, EveryHeaderOfTheNameGoesWithAllItsLines) {
    const struct {
        std::string before;
        std::string section;
        std::string after;
    } cases[] = {
        {"[A]\r\na=1\r\n[B]\r\nb=1\r\n", "A", "[B]\r\nb=1\r\n"},
        {"[A]\r\na=1\r\n[B]\r\nb=1\r\n", "b", "[A]\r\na=1\r\n"},
        {"[A]\na=1\n\n[B]\nb=1\n[ a ]\na=2\n", "A", "[B]\nb=1\n"},
        {"[A]\na=1\n", "C", "[A]\na=1\n"},
        {"x=1\n; note\n[A]\na=1", "A", "x=1\n; note\n"},
        {"[TForm1]\r\nk=1\r\n[TForm1.Combo1_Items]\r\nCount=1\r\nItem0=x\r\n",
         "TForm1.Combo1_Items", "[TForm1]\r\nk=1\r\n"},
        {"", "A", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutSection(c.before, c.section), c.after)
            << "erasing [" << c.section << "] from \"" << c.before << "\"";
    }
}

TEST(IniWrite, OnlyNamesAndValuesThatReadBackUnderTheirKeyCanBeStored) {
    const struct {
        std::string section;
        std::string key;
        std::string value;
        bool storable;
    } cases[] = {
        {"TForm1", "eTitre1_Text", "  \"Titre\"  \xE9", true},
        {"TForm1.Combo1_Items", "Item0", "", true},
        {"a]b", "k", "=[]", true},
        {"S", "k", "line\nbreak", false},
        {"S", "k", "line\rbreak", false},
        {"S", "k", "nul\0byte"s, false},
        {"S\n[T]", "k", "v", false},
        {"S", "k\nj", "v", false},
        {"S", "", "v", false},
        {"S", "   ", "v", false},
        {"S", "a=b", "v", false},
        {"S", "[k]", "v", false},
        {"S", " [k", "v", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CanStore(c.section, c.key, c.value), c.storable)
            << "[" << c.section << "] " << c.key << "=" << c.value;
    }
}

// Random contents built from lines a person might write or a disk might garble,
// edited at random: each edit must change exactly the value it targets.
TEST(IniEdit, RandomEditsChangeOnlyTheirOwnValue) {
    const std::array<std::string, 18> lines = {
        "[A]", " [ a ] ", "[B] x", "[C", "[a b]", "k=1", " K = 2 ",   "j= 'q' ", "=x",
        "k",   "",        "  ",    "\r", "[",     "]",   "x y=\"3\"", "j=\xE9",  "; k=9",
    };
    const std::array<std::string, 4> ends = {"\n", "\r\n", "\r\r\n", "\n\n"};
    const std::array<std::string, 5> sections = {"A", "B", "C", "a b", "D"};
    const std::array<std::string, 4> keys = {"k", "j", "x y", "z"};
    const std::string valueBytes = " x\"'=[\xE9\t";

    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::string content;
        const int lineCount = static_cast<int>(random() % 12);
        for (int i = 0; i < lineCount; ++i) {
            content += lines[random() % lines.size()];
            if (i + 1 < lineCount || random() % 2 == 0) {
                content += ends[random() % ends.size()];
            }
        }
        for (int edit = 0; edit < 6; ++edit) {
            std::map<std::pair<std::string, std::string>, std::string> before;
            for (const auto& s : sections) {
                for (const auto& k : keys) {
                    before[{s, k}] = ReadValue(content, s, k, missing);
                }
            }
            const std::string section = sections[random() % sections.size()];
            const std::string key = keys[random() % keys.size()];
            const bool erase = random() % 5 == 0;
            std::string value;
            for (int n = static_cast<int>(random() % 6); n > 0; --n) {
                value += valueBytes[random() % valueBytes.size()];
            }
            const std::string edited =
                erase ? WithoutSection(content, section) : WithValue(content, section, key, value);
            const std::string expectedValue = ReadValue("[S]\nk=" + value, "S", "k", "");
            for (const auto& [name, old] : before) {
                const bool sameSection = name.first == section;
                const std::string expected = erase && sameSection ? missing
                                             : !erase && sameSection && name.second == key
                                                 ? expectedValue
                                                 : old;
                ASSERT_EQ(ReadValue(edited, name.first, name.second, missing), expected)
                    << (erase ? "erasing [" : "setting [") << section << "] " << key << "=" << value
                    << " in \"" << content << "\", then reading [" << name.first << "] "
                    << name.second;
            }
            content = edited;
        }
    }
}

TEST(IniEdit, ManyLinesAndHugeValuesAreHandledInOnePass) {
    std::string content = "[TForm1]\r\n";
    for (int i = 0; i < 200000; ++i) {
        content += "Item" + std::to_string(i) + "=x\n";
    }
    const std::string huge(100000, '\xE9');
    content = WithValue(content, "tform1", "Item199999", huge);
    content = WithValue(content, "TForm1", "Last", "y");
    EXPECT_EQ(ReadValue(content, "TForm1", "item199999", ""), huge.substr(0, maxValueLength));
    EXPECT_EQ(ReadValue(content, "TForm1", "Last", ""), "y");
    EXPECT_EQ(content.substr(content.size() - 8), "Last=y\r\n");
}

}  // namespace
