#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RichText/RtfDocument.h"

namespace RichText {

// The character properties as the control words set them and the groups
// restore them: fonts and colours still as entries of the tables, which the
// builder resolves when text arrives.
struct RtfCharacterControls {
    int font = -1;  // font-table entry; -1 is the document's default font
    int halfPoints = kRtfDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlignment alignment = RtfVerticalAlignment::Normal;
    int foreground = 0;  // colour-table entries; 0 is automatic
    int highlight = 0;

    bool operator==(const RtfCharacterControls&) const = default;
};

// The paragraph properties as the control words set them and the groups
// restore them; "\pard" resets them. A paragraph takes the ones in force
// where it ends.
struct RtfParagraphControls {
    bool inTable = false;  // "\intbl"
    bool centred = false;  // "\qc"
    bool keepWithNext = false;

    bool operator==(const RtfParagraphControls&) const = default;
};

// Cell borders as "\clbrdrt" ... and the border style after each give them.
enum class RtfCellSide : std::uint8_t { Top, Left, Bottom, Right };

// Builds the document that an RTF stream carries: it keeps the font and
// colour tables, resolves the character controls into formats with the
// tables in force when the text arrives, and gathers the text into
// paragraphs of runs, a run being the longest stretch of text in one format.
//
// Tables: "\trowd" and the words after it define the row (its gap, keeping,
// and each cell's right edge and border); paragraphs in a table ("\intbl")
// gather in the current cell, "\cell" ends the cell and its last paragraph
// (which is not ended: no paragraph mark follows it), "\row" ends the row
// and gives its cells the row definition in force. Consecutive rows form one
// table, which the first paragraph outside the table closes; a cell or row
// left open is closed at the next such paragraph or at the end of the
// stream. Every cell has a paragraph, every row a cell, and the document
// always ends with a paragraph after its last table. Bounds, so that a
// hostile stream cannot make the document huge or a view's grid explode:
// - at most kMostCellsPerRow cells in a row: the content of further cells
//   goes into the row's last cell;
// - the right edges are kept within 0..kWidestRowTwips (22 inches) and made
//   strictly increasing within a row; cells beyond the definitions get edges
//   kExtraCellTwips apart after the last;
// - at most kMostRowsPerTable rows in a table: the next row starts a new one;
// - at most kMostCells cells in a document: further table content is read as
//   paragraphs outside any table.
class RtfDocumentBuilder {
public:
    void SetDefaultFont(int entry);
    void DefineFont(int entry, std::u16string_view name);
    // Starts a new colour table; the entries follow in order.
    void BeginColourTable();
    // An entry with no colour is the automatic colour.
    void AddColour(const std::optional<RtfColour>& colour);
    void SetDefaultTabTwips(int twips) { m_document.defaultTabTwips = twips; }

    static constexpr std::size_t kMostCellsPerRow = 63;
    static constexpr std::size_t kMostRowsPerTable = 10000;
    static constexpr std::size_t kMostCells = 100000;
    static constexpr int kWidestRowTwips = 31680;
    static constexpr int kExtraCellTwips = 1440;

    // The row definition: "\trowd" starts a new one.
    void BeginRowDefinition();
    void SetRowGap(int twips);
    void SetRowKeptTogether(bool kept);
    // "\clbrdrX": the border style words that follow describe that side of
    // the next cell; "\brdrnone" is no border, any other style a border.
    void BeginCellBorder(RtfCellSide side);
    void SetBorderStyle(bool none);
    // "\trbrdrX": a border of the row's, outer or between its cells; a row
    // with one has every cell bordered, as the word processors draw it.
    void BeginRowBorder() {
        m_borderSide.reset();
        m_rowBorderOpen = true;
    }
    // A border word of anything but a cell or a row (a paragraph's): the
    // style words that follow are neither the cell's nor the row's.
    void EndCellBorder() {
        m_borderSide.reset();
        m_rowBorderOpen = false;
    }
    // "\cellxN": the next cell's right edge; the borders given since the
    // last one are its own.
    void AddCellBoundary(int twips);

    void Append(char16_t character, const RtfCharacterControls& controls);
    void Append(std::u16string_view text, const RtfCharacterControls& controls);
    void EndParagraph(const RtfCharacterControls& controls, const RtfParagraphControls& paragraph);
    void EndCell(const RtfCharacterControls& controls, const RtfParagraphControls& paragraph);
    void EndRow(const RtfCharacterControls& controls, const RtfParagraphControls& paragraph);
    // The controls in force when the document's own group closed; the last
    // paragraph and its mark take them.
    void NoteDocumentEnd(const RtfCharacterControls& controls,
                         const RtfParagraphControls& paragraph);
    // The document read; the controls are the ones in force at the end of
    // the stream, for the last paragraph when the document's group never
    // closed.
    RtfDocument Finish(const RtfCharacterControls& controls, const RtfParagraphControls& paragraph);

private:
    // The paragraph being read, ended with `controls` as its mark.
    RtfParagraph TakeParagraph(const RtfCharacterControls& controls,
                               const RtfParagraphControls& paragraph, bool ended);
    bool TableRoomLeft() const { return m_cells < kMostCells; }
    // The pieces of the table being read closed and added to what holds
    // them: the cell to its row, the row to its table, the table to the
    // document.
    void CloseCell();
    void CloseRow();
    void CloseTable();
    // The run that text in `controls` goes on, a new one when its format
    // differs from the last run's.
    std::u16string& RunFor(const RtfCharacterControls& controls);
    // Forgets the formats resolved so far, after a change of the tables they
    // were resolved from.
    void TablesChanged();
    const RtfFormat& FormatOf(const RtfCharacterControls& controls);
    std::optional<RtfColour> Colour(int entry) const;

    RtfDocument m_document;
    RtfParagraph m_paragraph;  // the paragraph being read
    std::optional<RtfFormat> m_markAtDocumentEnd;
    std::optional<RtfParagraphControls> m_paragraphAtDocumentEnd;

    // The table being read: its rows, the cells of its current row, the
    // paragraphs of the current cell.
    std::optional<RtfTable> m_table;
    RtfTableRow m_row;
    RtfTableCell m_cell;
    std::size_t m_cells = 0;  // in the whole document
    // The row definition in force, as cells with no paragraphs, and the
    // borders given for the next cell.
    RtfTableRow m_definition;
    std::optional<RtfCellSide> m_borderSide;
    std::array<bool, 4> m_bordersGiven{};
    bool m_rowBorderOpen = false;
    bool m_rowBordered = false;

    // The controls of the text last appended, while the tables and the
    // paragraph stay as they are: more text in them goes on the same run
    // without resolving its format again.
    std::optional<RtfCharacterControls> m_lastControls;
    // The formats resolved so far for the controls met, while the tables stay
    // as they are: a document switches back and forth between a few.
    std::vector<std::pair<RtfCharacterControls, RtfFormat>> m_formats;
    RtfFormat m_uncached;  // the format of controls beyond the cache
};

}  // namespace RichText
