// The conversion tables read back from the documents by the core's reader:
// for every kind, level and decimal mark, each filled table's digits stand
// in the columns of their powers of ten, give the exact conversion with the
// comma in the target's column, and fit the page; the subject's empty table
// has every unit of its kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExactDecimal.h"
#include "RichText/RtfReader.h"
#include "Ufiche/generation/ConversionTable.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "WorksheetLayout.h"

namespace {

using RichText::RtfTable;
using RichText::RtfTableCell;
using Uconvers::QuantityKind;

constexpr int kSheets = 60;
constexpr int kLitreUnits = 7;

std::string Text(const RtfTableCell& cell) {
    std::string text;
    for (const auto& paragraph : cell.paragraphs) {
        for (const auto& run : paragraph.runs) {
            text.append(run.text.begin(), run.text.end());  // digits and symbols: ASCII
        }
    }
    return text;
}

// The unit a heading cell names, among those its row may hold.
int UnitNamed(QuantityKind kind, const std::string& text, bool cubicRow) {
    const int first = cubicRow ? kLitreUnits : 0;
    const int last =
        kind == QuantityKind::Capacity && !cubicRow ? kLitreUnits : Uconvers::UnitCount(kind);
    for (int unit = first; unit < last; ++unit) {
        const auto symbol = testsupport::SymbolOf(kind, unit);
        if (text == symbol.letters + symbol.exponent) {
            return unit;
        }
    }
    return -1;
}

std::vector<RtfTable> TablesOf(const std::string& rtf) {
    std::vector<RtfTable> tables;
    for (const auto& block : RichText::ReadRtf("{\\rtf1 " + rtf + "}").blocks) {
        if (const auto* table = std::get_if<RtfTable>(&block)) {
            tables.push_back(*table);
        }
    }
    return tables;
}

// The power of ten of each column, from the heading rows: a unit's cell
// ends on its units digit, the columns step down by one from left to right.
std::vector<int> ColumnPowers(QuantityKind kind, const RtfTable& table) {
    const auto& digits = table.rows.back().cells;
    const int width = digits.front().rightTwips;
    std::vector<int> powers;
    const std::size_t headings = table.rows.size() - 1;
    for (std::size_t r = 0; r < headings; ++r) {
        const bool cubicRow = kind == QuantityKind::Capacity && headings == 2 && r == 0;
        for (const RtfTableCell& cell : table.rows[r].cells) {
            const int unit = UnitNamed(kind, Text(cell), cubicRow);
            if (unit < 0) {
                continue;
            }
            const int lastColumn = cell.rightTwips / width - 1;
            const int power = exact::PowerOfUnit(kind, unit);
            if (powers.empty()) {
                for (int c = 0; c < static_cast<int>(digits.size()); ++c) {
                    powers.push_back(power + lastColumn - c);
                }
            }
            EXPECT_EQ(powers.at(static_cast<std::size_t>(lastColumn)), power) << Text(cell);
        }
    }
    return powers;
}

void ExpectFilledTable(QuantityKind kind, const RtfTable& table,
                       const testsupport::ReadExercise& exercise, int target, char mark) {
    ASSERT_GE(table.rows.size(), 2u);
    const auto& digits = table.rows.back().cells;
    EXPECT_LE(digits.back().rightTwips, Ufiche::kWidestTableTwips);
    const std::vector<int> powers = ColumnPowers(kind, table);
    ASSERT_EQ(powers.size(), digits.size());
    std::string read;
    int markPower = 1000;
    for (std::size_t c = 0; c < digits.size(); ++c) {
        const std::string text = Text(digits[c]);
        for (const char ch : text) {
            if (ch == mark) {
                markPower = powers[c];
                read += '.';
            } else {
                read += ch;
            }
        }
        // The given unit's units digit is bold.
        if (powers[c] == exact::PowerOfUnit(kind, exercise.unit)) {
            ASSERT_FALSE(digits[c].paragraphs.front().runs.empty());
            EXPECT_TRUE(digits[c].paragraphs.front().runs.front().format.bold);
        }
    }
    std::string plain = exercise.Plain();
    std::replace(plain.begin(), plain.end(), ',', '.');
    const exact::Decimal expected = exact::Convert(kind, exercise.unit, target, plain);
    EXPECT_EQ(exact::Shift(read, 0).text, expected.text) << read;
    // The comma stands in the target's column whenever digits follow it
    // ("932,000": the zeros the pupil strikes out), and is there for decimals.
    if (markPower != 1000 || expected.decimals > 0) {
        EXPECT_EQ(markPower, exact::PowerOfUnit(kind, target)) << read;
    }
}

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
