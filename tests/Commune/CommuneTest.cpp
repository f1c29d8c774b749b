#include "Commune/Commune.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

void ExpectAll(const std::function<std::string(const std::string&)>& routine,
               std::initializer_list<TextCase> cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(routine(c.input), c.expected) << "input \"" << c.input << "\"";
    }
}

TEST(Commune, IntegerDigitsAreGroupedByThreeFromThePoint) {
    ExpectAll(Commune::GroupIntDigits, {{"", ""},
                                        {"7", "7"},
                                        {"999", "999"},
                                        {"1000", "1 000"},
                                        {"123456", "123 456"},
                                        {"1234567", "1 234 567"},
                                        {"12345678", "12 345 678"},
                                        {"-1234", "-1 234"}});
}

TEST(Commune, DecimalDigitsAreGroupedByThreeFromThePoint) {
    ExpectAll(Commune::GroupDecDigits, {{"", ""},
                                        {"5", "5"},
                                        {"456", "456"},
                                        {"1234", "123 4"},
                                        {"0001", "000 1"},
                                        {"123456", "123 456"},
                                        {"1234567", "123 456 7"},
                                        {"00000001", "000 000 01"}});
}

TEST(Commune, NumbersAreSplitAtTheirFirstPointAndBothSidesGrouped) {
    ExpectAll(Commune::GroupDigits, {{"123.456", "123.456"},
                                     {"999", "999"},
                                     {"2500000", "2 500 000"},
                                     {"0.000037", "0.000 037"},
                                     {"12.3456", "12.345 6"},
                                     {"1234567.891", "1 234 567.891"},
                                     {"12345.6789", "12 345.678 9"},
                                     {"1234.", "1 234."}});
}

TEST(Commune, CleaningRoutinesRemoveOnlyWhatTheyName) {
    ExpectAll(Commune::DropTrailingPoint,
              {{"12.", "12"}, {"12.5", "12.5"}, {"1..", "1."}, {"", ""}});
    ExpectAll(Commune::CommaToPoint, {{"12,500", "12.500"}, {"1,2,3", "1.2.3"}, {"", ""}});
    ExpectAll(Commune::DropTrailingZeros,
              {{"1000", "1000"}, {"10.100", "10.1"}, {"0.000", "0."}, {"100.", "100."}, {"", ""}});
}

TEST(Commune, NormalizingCleansCommaPointZerosAndNegativeZero) {
    ExpectAll(Commune::NormalizeNumber, {{"12,500", "12.5"},
                                         {"1000", "1000"},
                                         {"1000.000", "1000"},
                                         {"0.500000", "0.5"},
                                         {"-0", "0"},
                                         {"-0.000", "0"},
                                         {"-0,000000000000000000", "0"},
                                         {"-2.50", "-2.5"}});
}

TEST(Commune, OnePassNormalizeAndGroupMatchesTheRoutinesItJoins) {
    const char* const texts[] = {"",
                                 ".",
                                 ",5",
                                 "0",
                                 "-0",
                                 "-0.000",
                                 "-0,000000000000000000",
                                 "12,500",
                                 "12.",
                                 "1000",
                                 "10.100",
                                 "1.2.3",
                                 "-123.5",
                                 "-1234.56780",
                                 "INF",
                                 "-INF",
                                 "999000000000000000000.000000000000000000",
                                 "0.000000000000000010",
                                 "1234567.891000000000000000",
                                 "12345678901234567890123456789012345678901234567890123456789."
                                 "0123456789"};
    for (const std::string text : texts) {
        EXPECT_EQ(Commune::NormalizeAndGroup(text),
                  Commune::GroupDigits(Commune::NormalizeNumber(text)))
            << "text \"" << text << "\"";
    }
}

}  // namespace
