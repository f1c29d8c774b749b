#include "Ufiche/document/GiftExport.h"

#include <gtest/gtest.h>

#include "../generation/ScriptedRandomSource.h"

namespace {

using Ufiche::GiftText;

TEST(GiftExport, TeachersTextsCanNeverActAsGiftOrHtmlSyntax) {
    const struct {
        std::string markup;
        std::string gift;
    } cases[] = {
        {"~ = # { } : \\", "\\~ \\= \\# \\{ \\} \\: \\\\"},
        {"C:\\dossier\\fiche {bonus}", "C\\:\\\\dossier\\\\fiche \\{bonus\\}"},
        {"<b>Fiche</b> <ce=rouge>1", "Fiche 1"},
        {"a & b <br", "a &amp; b "},
        {"x > 2", "x &gt; 2"},
        {"m<sup>2</sup> et cm<SUP>3</SUP>", "m\xB2 et cm\xB3"},
        {std::string("ligne\r\nsuite\0", 13), "ligne  suite"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GiftText(c.markup), c.gift) << c.markup;
    }
}

TEST(GiftExport, AWorksheetBecomesOneExactNumericalQuestionPerExerciseInUtf8) {
    // Base name 37 and 05; row 1 with 250 and 70; units dam and dm; into metres.
    ScriptedRandomSource random({{100, 37}, {100, 5}, {7, 1}, {99, 24}, {99, 6}, {5, 2}, {5, 0}});
    const Ufiche::WorksheetSettings settings{1, 1, 0, "", "", false, ""};
    const auto sheet = Ufiche::BuildWorksheet(Uconvers::QuantityKind::Length, settings, random);
    EXPECT_EQ(Ufiche::GiftFile(sheet, "Cl\xE9: {5e}"),
              "$CATEGORY: fiches-conversions/Longueurs/Niveau 1\n\n"
              "::Long_N1_37_05 00000 1a::[html]<p>Cl\xC3\xA9\\: \\{5e\\}</p><p>250 dam \\= ? m</p>"
              "{#2500:0}\n\n"
              "::Long_N1_37_05 00000 1b::[html]<p>Cl\xC3\xA9\\: \\{5e\\}</p><p>70 dm \\= ? m</p>"
              "{#7:0}\n\n");
}

}  // namespace
