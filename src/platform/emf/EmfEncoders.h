#pragma once

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

// The records that the writer produces, each built from what it shows; the
// layout of each is in EmfFormat.h.
namespace platform::emf {

// 0x00BBGGRR.
std::uint32_t ColorRef(const QColor& color);
// The colour a brush paints with: a gradient's first stop.
QColor BrushColor(const QBrush& brush);

// A record whose only field is `value`.
QByteArray ValueRecord(std::uint32_t type, std::uint32_t value);

// Creation records with the index left at 0 for the object table.
QByteArray PenRecord(const QPen& pen, int width);
QByteArray BrushRecord(const QBrush& brush);
// `pixelHeight` is the character (em) height in device pixels.
QByteArray FontRecord(const QFont& font, qreal pixelHeight);

QByteArray PolylineRecord(const QRect& bounds, const QPolygon& points);
// EMR_POLYGON for one polygon, EMR_POLYPOLYGON for several.
QByteArray PolygonsRecord(const QRect& bounds, const std::vector<QPolygon>& polygons);
// `box` as the record stores it: its right and bottom edges outside.
QByteArray RectangleRecord(const QRect& box);
// The text with the advance of each character, from `reference` on the
// baseline; `scale` is the size of a device pixel in hundredths of a
// millimetre.
QByteArray TextRecord(const QRect& bounds, const QSizeF& scale, const QPoint& reference,
                      const QString& text, const std::vector<int>& advances);
QByteArray EofRecord();

struct HeaderFields {
    QRect bounds;  // device pixels; (0, 0)-(-1, -1) when nothing was drawn
    QRect frame;   // hundredths of a millimetre
    std::uint32_t totalBytes = 0;
    std::uint32_t recordCount = 0;
    std::uint16_t handleCount = 1;
    QSize devicePixels;
    QSize deviceMillimetres;
};
QByteArray HeaderRecord(const HeaderFields& fields);

}  // namespace platform::emf
