// The conversion tables read back from the documents by the core's reader:
// for every kind, level and decimal mark, each filled table's digits stand
// in the columns of their powers of ten, give the exact conversion with the
// comma in the target's column, and fit the page; the subject's empty table
// has every unit of its kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableCheck.h"
#include "Ufiche/generation/ConversionTable.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "WorksheetLayout.h"

namespace {

using testsupport::ExpectFilledTable;
using testsupport::TablesOf;
using testsupport::Text;
using Uconvers::QuantityKind;

constexpr int kSheets = 60;

TEST(ConversionTables, EveryTableReadBackHoldsTheExactConversionInItsColumns) {
    const QuantityKind kinds[] = {QuantityKind::Length, QuantityKind::Area, QuantityKind::Volume,
                                  QuantityKind::Capacity, QuantityKind::Mass};
    for (const QuantityKind kind : kinds) {
        for (int level = 1; level <= 3; ++level) {
            for (int sheet = 0; sheet < kSheets; ++sheet) {
                SCOPED_TRACE(testing::Message()
                             << static_cast<int>(kind) << " N" << level << " sheet " << sheet);
                Ufiche::WorksheetSettings settings{
                    level, 40, 1, "Nom :", "Convertir en ", true, "---"};
                settings.DecimalComma = sheet % 2 == 1;
                settings.ConversionTables = true;
                Ufiche::MersenneRandomSource random(static_cast<std::uint32_t>(sheet * 31 + level));
                const auto built = Ufiche::BuildWorksheet(kind, settings, random);
                const auto key = testsupport::ReadWorksheet(built.AnswerKey, kind, settings, true);
                for (const auto& question : key.questions) {
                    const auto tables = TablesOf(question.tablesRtf);
                    ASSERT_EQ(tables.size(), 2u);
                    const char mark = settings.DecimalComma ? ',' : '.';
                    ExpectFilledTable(kind, tables[0], question.left, key.target, mark);
                    ExpectFilledTable(kind, tables[1], question.right, key.target, mark);
                }
                const auto subject =
                    testsupport::ReadWorksheet(built.Subject, kind, settings, false);
                const auto empty = TablesOf(subject.tablesRtf);
                ASSERT_EQ(empty.size(), 1u);
                std::string symbols = " ";
                for (const auto& row : empty[0].rows) {
                    for (const auto& cell : row.cells) {
                        symbols += Text(cell) + " ";
                    }
                }
                for (int unit = 0; unit < Uconvers::UnitCount(kind); ++unit) {
                    const auto symbol = testsupport::SymbolOf(kind, unit);
                    EXPECT_NE(symbols.find(" " + symbol.letters + symbol.exponent + " "),
                              std::string::npos)
                        << symbols;
                }
                EXPECT_GE(empty[0].rows.size(), 7u);
                EXPECT_LE(empty[0].rows.back().cells.back().rightTwips, Ufiche::kWidestTableTwips);
            }
        }
    }
}

}  // namespace
