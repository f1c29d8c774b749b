#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <utility>

#include "PropertyCorpus.h"
#include "Ufiche/generation/SheetCode.h"

namespace {

using Ufiche::kSheetCodeCount;
using Ufiche::ParseSheetCode;
using Ufiche::SheetCodeText;

TEST(SheetCode, EveryCodeIsReadBackFromItsTextInEitherCase) {
    for (std::uint32_t code = 0; code < kSheetCodeCount; code += 97) {
        const std::string text = SheetCodeText(code);
        ASSERT_EQ(text.size(), Ufiche::kSheetCodeLength);
        ASSERT_EQ(text.find_first_of("ILOU"), std::string::npos) << text;
        std::string lower = text;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        ASSERT_EQ(ParseSheetCode(text), code) << text;
        ASSERT_EQ(ParseSheetCode(lower), code) << lower;
    }
    EXPECT_EQ(SheetCodeText(kSheetCodeCount - 1), "ZZZZZ");
    EXPECT_EQ(Ufiche::SheetCodeAfter(kSheetCodeCount - 1, 2), 1u);
}

TEST(SheetCode, TypedCodesReadConfusablesAsDigitsAndRefuseTheRest) {
    const std::optional<std::uint32_t> code = ParseSheetCode("10A0Z");
    ASSERT_TRUE(code);
    for (const char* same : {"IOaoz", "lOA0z", "1-0A 0Z", " 10a0z "}) {
        EXPECT_EQ(ParseSheetCode(same), code) << same;
    }
    for (const char* refused : {"", "10A0", "10A0ZZ", "10U0Z", "10A0\xC9", "1_0A0Z", "10A0Z\n"}) {
        EXPECT_EQ(ParseSheetCode(refused), std::nullopt) << refused;
    }
}

// A code makes the same sheet each time, and naming it in the headings
// changes nothing else in either document.
TEST(SheetCode, ACodeMakesOneSheetAndNamingItChangesOnlyTheHeadings) {
    for (int kind = 0; kind <= static_cast<int>(Uconvers::QuantityKind::Duration); ++kind) {
        for (int index = 0; index < 6; ++index) {
            const int level = 1 + index % 3;
            Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(index, level);
            settings.TwoUnitMeasures = index % 2 == 1;
            const auto quantity = static_cast<Uconvers::QuantityKind>(kind);
            const std::uint32_t code = testsupport::CorpusSeed(index, level) % kSheetCodeCount;
            const auto plain = Ufiche::BuildWorksheetOfCode(quantity, settings, code, false);
            const auto again = Ufiche::BuildWorksheetOfCode(quantity, settings, code, false);
            const auto named = Ufiche::BuildWorksheetOfCode(quantity, settings, code, true);
            ASSERT_EQ(plain.Subject, again.Subject);
            ASSERT_EQ(plain.AnswerKey, again.AnswerKey);
            ASSERT_EQ(named.Code, code);
            const std::string mention = " - code " + SheetCodeText(code);
            for (auto [withCode, without] : {std::pair{named.Subject, plain.Subject},
                                             std::pair{named.AnswerKey, plain.AnswerKey}}) {
                const std::size_t at = withCode.find(mention);
                ASSERT_NE(at, std::string::npos);
                ASSERT_EQ(withCode.erase(at, mention.size()), without);
            }
            const auto next = Ufiche::BuildWorksheetOfCode(quantity, settings,
                                                           Ufiche::SheetCodeAfter(code, 1), false);
            EXPECT_NE(next.AnswerKey, plain.AnswerKey);
        }
    }
}

// Codes give the same bytes on every processor, compiler and standard
// library: this digest of a sheet of each kind and level, with and without
// two units, was taken on x86-64 Linux, and the Windows, aarch64 and software
// arithmetic builds run this test too (the page's core is compared in full).
TEST(SheetCode, CodesMakeTheSameBytesOnEveryBuild) {
    std::uint32_t digest = 2166136261u;
    for (int kind = 0; kind <= static_cast<int>(Uconvers::QuantityKind::Duration); ++kind) {
        for (int level = 1; level <= 3; ++level) {
            for (const bool twoUnits : {false, true}) {
                Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(kind, level);
                settings.TwoUnitMeasures = twoUnits;
                settings.DecimalComma = twoUnits;
                const std::uint32_t code = Ufiche::SheetCodeAfter(0x1ABCDEF, kind * 6 + level);
                const auto sheet = Ufiche::BuildWorksheetOfCode(
                    static_cast<Uconvers::QuantityKind>(kind), settings, code, twoUnits);
                for (const char byte : sheet.Subject + sheet.AnswerKey) {
                    digest = (digest ^ static_cast<unsigned char>(byte)) * 16777619u;
                }
            }
        }
    }
    EXPECT_EQ(digest, 2970998663u);
}

}  // namespace
