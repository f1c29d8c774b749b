#pragma once

#include <QPointF>
#include <QRect>
#include <QTextBlock>

#include <memory>
#include <optional>

#include "platform/units/PageUnits.h"

class QPaintDevice;
class QPainter;
class QTextDocument;
class QTextTable;

namespace platform {

// A copy of a document laid out for one paint device at one width, with no
// margin of its own and the device's font metrics, from which pages are
// drawn line by line. Widths and rectangles are in twips, the unit of the
// page rectangles that printing and the preview hand to the rich-text pane.
// Pages break between lines, around tables and between the rows of a table
// taller than what is left of the page, so a page ends at the last line or
// rows that fit whole and the next page starts with what follows; a
// paragraph or row kept with the next goes to the next page with it.
class RangeLayout {
public:
    RangeLayout(const QTextDocument& source, QPaintDevice& device, int widthTwips,
                int defaultTabTwips);
    ~RangeLayout();

    // Whether this layout serves pages of `widthTwips` on `device`.
    bool Serves(const QPaintDevice& device, int widthTwips) const;

    // Lays out, from the line that holds `start`, the lines that fit into the
    // height of `rectTwips`, and draws them at its top left with `painter`
    // when one is given. Returns the position of the first character not
    // drawn, which is the text length once the last line is in; returns
    // nothing when not even the first line fits.
    std::optional<int> Format(int start, const QRect& rectTwips, QPainter* painter) const;

    int TextLength() const;

private:
    struct Unit;
    QRectF TableRect(const QTextTable& table) const;
    Unit UnitAt(QTextBlock block, int line) const;
    Unit RowsAt(const QTextTable& table, const QTextBlock& block) const;
    Unit NextUnit(const Unit& unit) const;
    qreal KeptBottom(const Unit& unit) const;
    void DrawTable(const Unit& unit, QPainter& painter, const QPointF& offset) const;

    std::unique_ptr<QTextDocument> m_document;
    const QPaintDevice* m_device;
    int m_dpiX;
    int m_dpiY;
    int m_widthTwips;
};

}  // namespace platform
