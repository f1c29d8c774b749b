#include <gtest/gtest.h>

#include <vector>

#include "Uconvers/Extended.h"

// The guard of the x87 precision control, where the x87 unit computes.
#if FICHE_HARDWARE_EXTENDED

#include "Uconvers/X87Precision.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

using Uconvers::X87Precision;

// Restores the x87 unit after a test that changes it.
class PrecisionTest : public testing::Test {
protected:
    void TearDown() override { Uconvers::WriteX87ControlWord(m_saved); }

private:
    std::uint16_t m_saved = Uconvers::ReadX87ControlWord();
};

std::vector<Ufiche::GeneratedWorksheet> Worksheets() {
    std::vector<Ufiche::GeneratedWorksheet> sheets;
    Ufiche::MersenneRandomSource random(2024);
    for (int round = 0; round < 40; ++round) {
        const Ufiche::WorksheetSettings settings{round % 3 + 1,   40,   1,  "T",
                                                 "Convertir en ", true, "-"};
        sheets.push_back(Ufiche::BuildWorksheet(static_cast<Uconvers::QuantityKind>(round % 5),
                                                settings, random));
    }
    return sheets;
}

TEST_F(PrecisionTest, WorksheetsAreTheSameWhateverPrecisionTheUnitWasLeftAt) {
    Uconvers::SetX87Precision(X87Precision::Extended);
    const auto reference = Worksheets();
    // At 53 bits a plain extended sum already rounds otherwise: the setting is
    // in force, so the worksheets below would show it without the guard.
    volatile long double third = 1.0L;
    Uconvers::SetX87Precision(X87Precision::Double);
    third = third / 3.0L;
    EXPECT_NE(third, 1.0L / 3.0L) << "precision control had no effect";

    for (X87Precision found : {X87Precision::Double, X87Precision::Single}) {
        Uconvers::SetX87Precision(found);
        const auto sheets = Worksheets();
        // Left as it was found.
        EXPECT_EQ(Uconvers::CurrentX87Precision(), found);
        Uconvers::SetX87Precision(X87Precision::Extended);
        ASSERT_EQ(sheets.size(), reference.size());
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            // Whole worksheets are too long to print: the index says which.
            ASSERT_TRUE(sheets[i].AnswerKey == reference[i].AnswerKey) << "answer key " << i;
            ASSERT_TRUE(sheets[i].DrawnExercises == reference[i].DrawnExercises)
                << "exercise keys " << i;
        }
    }
}

}  // namespace

#endif
