#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// A rich-text document as the RTF reader gives it and the RTF writer takes
// it, with no toolkit's types: paragraphs of runs, each run in one format.
// Text is UTF-16, since RTF's "\uN" may carry any 16-bit unit; the desktop's
// panes and the page's HTML are UTF-16 too. Both editions build their own
// view (a QTextDocument, HTML) from it and fill it back from that view.
namespace RichText {

// RTF's default size is 12 points.
inline constexpr int kRtfDefaultHalfPoints = 24;

enum class RtfVerticalAlignment : std::uint8_t { Normal, Superscript, Subscript };

struct RtfColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const RtfColour&) const = default;
};

// How a stretch of text looks. The font and the colours are resolved from the
// tables in force when the text was read: a run keeps its look whatever the
// document's tables become after it.
struct RtfFormat {
    std::u16string font{};  // family name; empty where the document names none
    int halfPoints = kRtfDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlignment alignment = RtfVerticalAlignment::Normal;
    std::optional<RtfColour> foreground{};  // none: the automatic colour
    std::optional<RtfColour> highlight{};   // none: no highlight

    bool operator==(const RtfFormat&) const = default;
};

// The longest stretch of text in one format.
struct RtfRun {
    std::u16string text{};  // tabs as U+0009, line breaks ("\line") as U+2028
    RtfFormat format{};

    bool operator==(const RtfRun&) const = default;
};

struct RtfParagraph {
    std::vector<RtfRun> runs{};
    // The format of the paragraph mark, which an empty line takes its height
    // from: the format in force at its "\par", or for the last paragraph at
    // the end of the document.
    RtfFormat mark{};
    // Whether a paragraph mark ends it; the last paragraph of a document has
    // none, nor has the last paragraph of a table cell, which "\cell" ends.
    bool ended = false;
    bool centred = false;       // "\qc"; otherwise flush left
    bool keepWithNext = false;  // "\keepn": on the same page as what follows

    bool operator==(const RtfParagraph&) const = default;
};

// Tables: rows of cells, each cell a list of paragraphs. As in RTF, each row
// sets its own cell boundaries, so that a heading cell may stand over several
// cells of the next row; a view with a grid (a QTextTable, an HTML table)
// spans its cells over the columns between the boundaries of all rows.
struct RtfTableCell {
    std::vector<RtfParagraph> paragraphs{};
    int rightTwips = 0;     // "\cellxN": the cell's right edge from the row's left edge
    bool bordered = false;  // a single thin line on all four sides

    bool operator==(const RtfTableCell&) const = default;
};

struct RtfTableRow {
    std::vector<RtfTableCell> cells{};
    int gapTwips = 0;           // "\trgaphN": half the space between two cells' texts
    bool keepTogether = false;  // "\trkeep": never split across two pages

    bool operator==(const RtfTableRow&) const = default;
};

struct RtfTable {
    std::vector<RtfTableRow> rows{};

    bool operator==(const RtfTable&) const = default;
};

using RtfBlock = std::variant<RtfParagraph, RtfTable>;

// A sheet of paper and the margins that frame the text on it, in twips.
struct RtfPage {
    int widthTwips = 0;
    int heightTwips = 0;
    int leftTwips = 0;
    int rightTwips = 0;
    int topTwips = 0;
    int bottomTwips = 0;

    bool operator==(const RtfPage&) const = default;
};

struct RtfDocument {
    std::vector<RtfBlock> blocks{};
    // The tables as the stream declared them, last declaration kept: the
    // runs carry what they resolved to.
    int defaultFont = 0;                            // "\deffN"
    std::map<int, std::u16string> fonts;            // "\fonttbl" entries
    std::vector<std::optional<RtfColour>> colours;  // "\colortbl": entry 0 first; none is automatic
    std::optional<int> defaultTabTwips;             // "\deftabN"
    std::optional<RtfPage> page;                    // "\paperw" ... when written with one

    bool operator==(const RtfDocument&) const = default;
};

}  // namespace RichText
