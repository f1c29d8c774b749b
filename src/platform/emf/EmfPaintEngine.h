#pragma once

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QRect>
#include <QSize>
#include <QTransform>

#include "platform/emf/EmfObjectTable.h"

#include <cstdint>
#include <optional>
#include <vector>

class QPaintDevice;

namespace platform {

// The paint engine of EmfWriter: turns what a QPainter draws into EMF
// records, in the device pixels that the painter sees. Pens, brushes and
// fonts become objects of the metafile's object table, created when a
// drawing first needs them and shared by every later drawing that uses the
// same one. The engine claims every paint engine feature, so that QPainter
// hands over text as text items and shapes as they are (never as paths or
// pixmaps of its own making), and applies the painter's transformation itself.
class EmfPaintEngine : public QPaintEngine {
public:
    // `hundredthsMmPerPixel` is the size of a device pixel on paper, which the
    // text records carry.
    EmfPaintEngine(const QPaintDevice* device, QSizeF hundredthsMmPerPixel);
    ~EmfPaintEngine() override;

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;

    void drawRects(const QRectF* rects, int count) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath& path) override;
    void drawTextItem(const QPointF& point, const QTextItem& item) override;
    // Pictures are not part of the pages this program draws: not recorded.
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;
    Type type() const override { return QPaintEngine::User; }

    // Stops recording and gives every record after the header, the end
    // record included, with the counts the header needs.
    struct Recording {
        QByteArray records;
        std::uint32_t recordCount = 0;
        std::uint16_t handleCount = 1;
        QRect bounds;  // device pixels; invalid when nothing was drawn
    };
    Recording Finish();

private:
    // The horizontal stretch of an underline or strike-out that a text
    // record already carries in its font, in device pixels.
    struct Decoration {
        qreal left;
        qreal right;
        qreal top;
        qreal bottom;
    };

    void Append(const QByteArray& record);
    void AddBounds(const QRect& rect);
    void UsePen();
    void UseBrush();
    void UseFont(const QFont& font, qreal pixelHeight);
    void UseTextColor(QColor color);
    void UseFillMode(Qt::FillRule rule);
    void Polyline(const QPolygon& points);
    void Polygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule);
    std::vector<std::pair<qreal, qreal>> UndecoratedParts(const QLineF& line) const;
    int PenMargin() const;

    const QPaintDevice* m_device;
    QSizeF m_scale;
    QByteArray m_records;
    std::uint32_t m_recordCount = 0;
    QRect m_bounds;
    bool m_finished = false;
    bool m_started = false;

    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;

    emf::ObjectTable m_objects;
    std::optional<QRgb> m_textColor;
    std::optional<Qt::FillRule> m_fillRule;
    std::vector<Decoration> m_decorations;
};

}  // namespace platform
