#include "TableCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <variant>

#include "ExactDecimal.h"
#include "RichText/RtfReader.h"
#include "Ufiche/generation/ConversionTable.h"

namespace testsupport {

using RichText::RtfTable;
using RichText::RtfTableCell;
using Uconvers::QuantityKind;

namespace {

constexpr int kLitreUnits = 7;

// The unit a heading cell names, among those its row may hold.
int UnitNamed(QuantityKind kind, const std::string& text, bool cubicRow) {
    const int first = cubicRow ? kLitreUnits : 0;
    const int last =
        kind == QuantityKind::Capacity && !cubicRow ? kLitreUnits : Uconvers::UnitCount(kind);
    for (int unit = first; unit < last; ++unit) {
        const auto symbol = SymbolOf(kind, unit);
        if (text == symbol.letters + symbol.exponent) {
            return unit;
        }
    }
    return -1;
}

}  // namespace

std::string Text(const RtfTableCell& cell) {
    std::string text;
    for (const auto& paragraph : cell.paragraphs) {
        for (const auto& run : paragraph.runs) {
            text.append(run.text.begin(), run.text.end());
        }
    }
    return text;
}

std::vector<RtfTable> TablesOf(const std::string& rtf) {
    std::vector<RtfTable> tables;
    // A piece of a worksheet's body follows text at the body's 9 points.
    const std::string whole = rtf.starts_with("{\\rtf") ? rtf : "{\\rtf1\\fs18 " + rtf + "}";
    for (const auto& block : RichText::ReadRtf(whole).blocks) {
        if (const auto* table = std::get_if<RtfTable>(&block)) {
            tables.push_back(*table);
        }
    }
    return tables;
}

std::vector<int> ColumnPowers(QuantityKind kind, const RtfTable& table) {
    const auto& digits = table.rows.back().cells;
    std::vector<int> powers;
    const std::size_t headings = table.rows.size() - 1;
    for (std::size_t r = 0; r < headings; ++r) {
        const bool cubicRow = kind == QuantityKind::Capacity && headings == 2 && r == 0;
        for (const RtfTableCell& cell : table.rows[r].cells) {
            const int unit = UnitNamed(kind, Text(cell), cubicRow);
            if (unit < 0) {
                continue;
            }
            // The digit column whose right edge the heading cell's meets.
            const auto last = std::min_element(digits.begin(), digits.end(),
                                               [&](const RtfTableCell& a, const RtfTableCell& b) {
                                                   return std::abs(a.rightTwips - cell.rightTwips) <
                                                          std::abs(b.rightTwips - cell.rightTwips);
                                               });
            EXPECT_NEAR(last->rightTwips, cell.rightTwips, 2) << Text(cell);
            const int lastColumn = static_cast<int>(last - digits.begin());
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

void ExpectFilledTable(QuantityKind kind, const RtfTable& table, const ReadExercise& exercise,
                       int target, char mark) {
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
        // The given unit's units digit is bold; every digit at the body's 9 points.
        if (powers[c] == exact::PowerOfUnit(kind, exercise.unit)) {
            ASSERT_FALSE(digits[c].paragraphs.front().runs.empty());
            EXPECT_TRUE(digits[c].paragraphs.front().runs.front().format.bold);
        }
        for (const auto& run : digits[c].paragraphs.front().runs) {
            EXPECT_EQ(run.format.halfPoints, 18) << text;
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

}  // namespace testsupport
