#include "platform/richedit/RtfReader.h"

#include <QFont>
#include <QStringView>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextTable>

#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

#include "RichText/RtfReader.h"
#include "platform/codepage/Codepage.h"
#include "platform/richedit/TextProperties.h"

namespace platform {
namespace {

QColor ColourOf(const RichText::RtfColour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QTextCharFormat::VerticalAlignment AlignmentOf(RichText::RtfVerticalAlignment alignment) {
    switch (alignment) {
        case RichText::RtfVerticalAlignment::Superscript:
            return QTextCharFormat::AlignSuperScript;
        case RichText::RtfVerticalAlignment::Subscript:
            return QTextCharFormat::AlignSubScript;
        case RichText::RtfVerticalAlignment::Normal:
            break;
    }
    return QTextCharFormat::AlignNormal;
}

QTextCharFormat CharFormatOf(const RichText::RtfFormat& format) {
    QTextCharFormat converted;
    if (!format.font.empty()) {
        converted.setFontFamilies(QStringList{QStringView(format.font).toString()});
    }
    converted.setFontPointSize(format.halfPoints / 2.0);
    converted.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    converted.setFontItalic(format.italic);
    converted.setFontUnderline(format.underline);
    converted.setFontStrikeOut(format.strike);
    converted.setVerticalAlignment(AlignmentOf(format.alignment));
    // RTF kerns character pairs only where "\kerningN" asks for it, which the
    // reader does not follow: text is laid out unkerned, as word processors
    // show such documents ("11" in Arial is wider than kerned). With no pair
    // to adjust, Latin text also needs no shaping, which spares most of the
    // time a pane takes to lay a worksheet out.
    converted.setFontStyleStrategy(QFont::PreferNoShaping);
    if (format.foreground) {
        converted.setForeground(ColourOf(*format.foreground));
    }
    if (format.highlight) {
        converted.setBackground(ColourOf(*format.highlight));
    }
    return converted;
}

// The block format that a paragraph's centring and keeping give to the
// format a block already has.
QTextBlockFormat BlockFormatOf(const RichText::RtfParagraph& paragraph, QTextBlockFormat format) {
    format.setAlignment(paragraph.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    if (paragraph.keepWithNext) {
        format.setProperty(kKeepWithNextProperty, true);
    } else {
        format.clearProperty(kKeepWithNextProperty);
    }
    return format;
}

// Whether a block already shows a paragraph as its block format would: a
// plain paragraph leaves a block with no centring and no keeping untouched.
bool ShowsParagraphFormat(const QTextBlockFormat& format, const RichText::RtfParagraph& paragraph) {
    const bool centred = (format.alignment() & Qt::AlignHCenter) != 0;
    return centred == paragraph.centred &&
           format.boolProperty(kKeepWithNextProperty) == paragraph.keepWithNext;
}

// Inserts paragraphs through a cursor, converting each format once: a
// document switches back and forth between a few formats, and a shared
// character format is also hashed only once when the text is inserted.
class ParagraphInserter {
public:
    explicit ParagraphInserter(QTextCursor& cursor) : m_cursor(cursor) {}

    // `ended`: whether a new block follows the paragraph; `cellStart`: whether
    // it goes into the first block of a table cell.
    void Insert(const RichText::RtfParagraph& paragraph, bool ended, bool cellStart = false) {
        if (!ShowsParagraphFormat(m_cursor.blockFormat(), paragraph)) {
            m_cursor.setBlockFormat(BlockFormatOf(paragraph, m_cursor.blockFormat()));
        }
        for (const RichText::RtfRun& run : paragraph.runs) {
            m_cursor.insertText(QStringView(run.text).toString(), CharFormat(run.format));
        }
        const QTextCharFormat mark = CharFormat(paragraph.mark);
        if (m_cursor.block().length() == 1) {
            // An empty line keeps its size. The first block of a table cell
            // has its mark in the cell's own format, which also holds the
            // cell's span, padding and borders: the mark is added to it.
            if (cellStart) {
                m_cursor.mergeBlockCharFormat(mark);
            } else {
                m_cursor.setBlockCharFormat(mark);
            }
        }
        if (ended) {
            m_cursor.insertBlock(QTextBlockFormat(), mark);
        }
    }

private:
    const QTextCharFormat& CharFormat(const RichText::RtfFormat& format) {
        for (const auto& [known, converted] : m_formats) {
            if (known == format) {
                return converted;
            }
        }
        // A document with many distinct formats (a damaged or hostile one)
        // keeps the first ones only, so that the search stays short.
        constexpr std::size_t kMostFormats = 32;
        if (m_formats.size() < kMostFormats) {
            m_formats.reserve(kMostFormats);  // what is handed out never moves
            return m_formats.emplace_back(format, CharFormatOf(format)).second;
        }
        m_uncached = CharFormatOf(format);
        return m_uncached;
    }

    QTextCursor& m_cursor;
    std::vector<std::pair<RichText::RtfFormat, QTextCharFormat>> m_formats;
    QTextCharFormat m_uncached;
};

// A thin solid line, as word processors draw a single cell border.
constexpr qreal kBorderPoints = 0.5;

qreal BorderPixels() {
    return kBorderPoints * DocumentPixelsPerInch() / 72;
}

// Each row's cell edges, from the row's left edge, rising: a cell that does
// not reach past the previous edge (a damaged document) gets one twip.
std::vector<std::vector<int>> RowEdges(const RichText::RtfTable& table) {
    std::vector<std::vector<int>> rows;
    for (const RichText::RtfTableRow& row : table.rows) {
        std::vector<int> edges{0};
        for (const RichText::RtfTableCell& cell : row.cells) {
            edges.push_back(std::max(cell.rightTwips, edges.back() + 1));
        }
        rows.push_back(std::move(edges));
    }
    return rows;
}

QTextTableCellFormat CellFormatOf(const RichText::RtfTableRow& row, bool bordered) {
    QTextTableCellFormat format;
    const qreal gap = TwipsToDocumentPixels(std::max(row.gapTwips, 0));
    format.setLeftPadding(gap);
    format.setRightPadding(gap);
    format.setTopPadding(0);
    format.setBottomPadding(0);
    format.setBorder(bordered ? BorderPixels() : 0);
    format.setBorderStyle(bordered ? QTextFrameFormat::BorderStyle_Solid
                                   : QTextFrameFormat::BorderStyle_None);
    format.setBorderBrush(QBrush(Qt::black));
    if (row.keepTogether) {
        format.setProperty(kRowKeepTogetherProperty, true);
    }
    return format;
}

// Inserts a table at the cursor as a QTextTable whose grid has a column
// between each two neighbouring edges of all rows: a cell spans the columns
// between its own edges, and a row narrower than the table ends with a
// borderless filler cell. Leaves the cursor in the block after the table.
void InsertTable(QTextCursor& cursor, ParagraphInserter& inserter,
                 const RichText::RtfTable& table) {
    const std::vector<std::vector<int>> rowEdges = RowEdges(table);
    std::vector<int> grid;
    for (const auto& edges : rowEdges) {
        grid.insert(grid.end(), edges.begin(), edges.end());
    }
    std::sort(grid.begin(), grid.end());
    grid.erase(std::unique(grid.begin(), grid.end()), grid.end());
    const auto column = [&grid](int edge) {
        return static_cast<int>(std::lower_bound(grid.begin(), grid.end(), edge) - grid.begin());
    };
    const int columns = static_cast<int>(grid.size()) - 1;
    const int rows = static_cast<int>(table.rows.size());
    if (rows == 0 || columns <= 0) {
        return;  // nothing a grid could show
    }

    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setBorder(0);  // the cells draw their own
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QBrush(Qt::black));
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setMargin(0);
    format.setAlignment(Qt::AlignLeft);
    QList<QTextLength> widths;
    for (int i = 0; i < columns; ++i) {
        widths.append(QTextLength(QTextLength::FixedLength, TwipsToDocumentPixels(grid[i + 1]) -
                                                                TwipsToDocumentPixels(grid[i])));
    }
    format.setColumnWidthConstraints(widths);
    QTextTable* shown = cursor.insertTable(rows, columns, format);

    for (int r = 0; r < rows; ++r) {
        const RichText::RtfTableRow& row = table.rows[r];
        const std::vector<int>& edges = rowEdges[r];
        const QTextTableCellFormat formats[2] = {CellFormatOf(row, false), CellFormatOf(row, true)};
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const int first = column(edges[c]);
            const int span = column(edges[c + 1]) - first;
            if (span > 1) {
                shown->mergeCells(r, first, 1, span);
            }
            QTextTableCell cell = shown->cellAt(r, first);
            cell.setFormat(formats[row.cells[c].bordered ? 1 : 0]);
            cursor = cell.firstCursorPosition();
            const auto& paragraphs = row.cells[c].paragraphs;
            for (std::size_t p = 0; p < paragraphs.size(); ++p) {
                inserter.Insert(paragraphs[p], p + 1 < paragraphs.size(), p == 0);
            }
        }
        const int filled = column(edges.back());
        if (filled < columns) {
            shown->mergeCells(r, filled, 1, columns - filled);
            QTextTableCellFormat filler = CellFormatOf(row, false);
            filler.setProperty(kGridFillerProperty, true);
            shown->cellAt(r, filled).setFormat(filler);
        }
    }
    cursor.setPosition(shown->lastPosition() + 1);
}

}  // namespace

void InsertRtfDocument(QTextCursor& cursor, const RichText::RtfDocument& document) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    ParagraphInserter inserter(cursor);
    const auto& blocks = document.blocks;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (const auto* paragraph = std::get_if<RichText::RtfParagraph>(&blocks[i])) {
            // A table's start ends the block before it, as a paragraph mark would.
            const bool tableNext =
                i + 1 < blocks.size() && std::holds_alternative<RichText::RtfTable>(blocks[i + 1]);
            inserter.Insert(*paragraph, paragraph->ended && !tableNext);
            continue;
        }
        if ((i == 0 || std::holds_alternative<RichText::RtfTable>(blocks[i - 1])) &&
            cursor.block().length() == 1) {
            QTextBlockFormat placeholder = cursor.blockFormat();
            placeholder.setProperty(kTablePlaceholderProperty, true);
            cursor.setBlockFormat(placeholder);
        }
        InsertTable(cursor, inserter, std::get<RichText::RtfTable>(blocks[i]));
    }
    cursor.endEditBlock();
}

RichText::RtfDocument ReadRtf(QTextCursor& cursor, std::string_view rtf) {
    RichText::RtfDocument document = RichText::ReadRtf(rtf);
    InsertRtfDocument(cursor, document);
    return document;
}

void ReadPlainText(QTextCursor& cursor, std::string_view text) {
    QString unicode;
    unicode.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            unicode += QChar('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c != '\0') {
            unicode += UnicodeFromWindows1252(static_cast<unsigned char>(c));
        }
    }
    cursor.beginEditBlock();
    cursor.insertText(unicode);  // each "\n" becomes a paragraph break
    cursor.endEditBlock();
}

}  // namespace platform
