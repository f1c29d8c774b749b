#include "platform/emf/EmfPaintEngine.h"

#include "platform/emf/EmfEncoders.h"
#include "platform/emf/EmfFormat.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygon>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace platform {

using namespace emf;

namespace {

// How far, in device pixels, a painter's underline may reach past the text
// that it underlines (it is drawn from whole pixels).
constexpr qreal kDecorationSlack = 1.5;

bool IsNull(const QBrush& brush) {
    return brush.style() == Qt::NoBrush || brush.style() == Qt::TexturePattern ||
           BrushColor(brush).alpha() == 0;
}

bool IsNull(const QPen& pen) {
    return pen.style() == Qt::NoPen || IsNull(pen.brush());
}

qreal AxisScale(const QTransform& transform, const QPointF& unit) {
    return QLineF(transform.map(QPointF(0, 0)), transform.map(unit)).length();
}

QRect BoundsOf(const QPolygon& points) {
    return points.boundingRect();
}

}  // namespace

EmfPaintEngine::EmfPaintEngine(const QPaintDevice* device, QSizeF hundredthsMmPerPixel)
    : QPaintEngine(QPaintEngine::AllFeatures),
      m_device(device),
      m_scale(hundredthsMmPerPixel),
      m_objects([this](const QByteArray& record) { Append(record); }) {}

EmfPaintEngine::~EmfPaintEngine() = default;

bool EmfPaintEngine::begin(QPaintDevice*) {
    if (m_finished) {
        return false;
    }
    if (!m_started) {
        // Text is placed by its baseline and never paints its background:
        // the highlights are rectangles of their own.
        m_started = true;
        Append(ValueRecord(EMR_SETBKMODE, TRANSPARENT));
        Append(ValueRecord(EMR_SETTEXTALIGN, TA_BASELINE));
    }
    m_pen = QPen();
    m_brush = QBrush();
    m_transform = QTransform();
    return true;
}

bool EmfPaintEngine::end() {
    return true;
}

void EmfPaintEngine::updateState(const QPaintEngineState& state) {
    const QPaintEngine::DirtyFlags dirty = state.state();
    if (dirty & DirtyPen) {
        m_pen = state.pen();
    }
    if (dirty & DirtyBrush) {
        m_brush = state.brush();
    }
    if (dirty & DirtyTransform) {
        m_transform = state.transform();
    }
}

void EmfPaintEngine::Append(const QByteArray& record) {
    if (m_finished) {
        return;
    }
    m_records.append(record);
    ++m_recordCount;
}

void EmfPaintEngine::AddBounds(const QRect& rect) {
    m_bounds = m_bounds.isValid() ? m_bounds.united(rect) : rect;
}

int EmfPaintEngine::PenMargin() const {
    if (IsNull(m_pen)) {
        return 0;
    }
    const qreal scale = std::sqrt(std::abs(m_transform.determinant()));
    return m_pen.isCosmetic() ? 1 : qCeil(m_pen.widthF() * scale / 2) + 1;
}

void EmfPaintEngine::UsePen() {
    using Slot = ObjectTable::Slot;
    if (IsNull(m_pen)) {
        m_objects.UseStock(Slot::Pen, kStockObject | NULL_PEN);
        return;
    }
    const qreal scale = std::sqrt(std::abs(m_transform.determinant()));
    const int width = m_pen.isCosmetic() ? 1 : std::max(1, qRound(m_pen.widthF() * scale));
    m_objects.Use(Slot::Pen, PenRecord(m_pen, width));
}

void EmfPaintEngine::UseBrush() {
    using Slot = ObjectTable::Slot;
    if (IsNull(m_brush)) {
        m_objects.UseStock(Slot::Brush, kStockObject | NULL_BRUSH);
        return;
    }
    m_objects.Use(Slot::Brush, BrushRecord(m_brush));
}

void EmfPaintEngine::UseFont(const QFont& font, qreal pixelHeight) {
    m_objects.Use(ObjectTable::Slot::Font, FontRecord(font, pixelHeight));
}

void EmfPaintEngine::UseTextColor(QColor color) {
    const QRgb rgb = color.rgb();
    if (m_textColor == rgb) {
        return;
    }
    Append(ValueRecord(EMR_SETTEXTCOLOR, ColorRef(color)));
    m_textColor = rgb;
}

void EmfPaintEngine::UseFillMode(Qt::FillRule rule) {
    if (m_fillRule == rule) {
        return;
    }
    Append(ValueRecord(EMR_SETPOLYFILLMODE, rule == Qt::WindingFill ? WINDING : ALTERNATE));
    m_fillRule = rule;
}

void EmfPaintEngine::Polyline(const QPolygon& points) {
    if (points.size() < 2 || IsNull(m_pen)) {
        return;
    }
    UsePen();
    const int margin = PenMargin();
    const QRect bounds = BoundsOf(points).adjusted(-margin, -margin, margin, margin);
    Append(PolylineRecord(bounds, points));
    AddBounds(bounds);
}

void EmfPaintEngine::Polygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule) {
    std::vector<QPolygon> kept;
    std::copy_if(polygons.begin(), polygons.end(), std::back_inserter(kept),
                 [](const QPolygon& polygon) { return polygon.size() >= 2; });
    if (kept.empty() || (IsNull(m_pen) && IsNull(m_brush))) {
        return;
    }
    UseFillMode(rule);
    UsePen();
    UseBrush();
    const int margin = PenMargin();
    QRect bounds;
    for (const QPolygon& polygon : kept) {
        bounds = bounds.isValid() ? bounds.united(BoundsOf(polygon)) : BoundsOf(polygon);
    }
    bounds.adjust(-margin, -margin, margin, margin);
    Append(PolygonsRecord(bounds, kept));
    AddBounds(bounds);
}

void EmfPaintEngine::drawRects(const QRectF* rects, int count) {
    if (IsNull(m_pen) && IsNull(m_brush)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (m_transform.type() > QTransform::TxScale) {
            Polygons({m_transform.map(QPolygonF(rects[i])).toPolygon()}, Qt::OddEvenFill);
            continue;
        }
        const QRectF device = m_transform.mapRect(rects[i]).normalized();
        const int left = qRound(device.left());
        const int top = qRound(device.top());
        const int right = qRound(device.right());
        const int bottom = qRound(device.bottom());
        UsePen();
        UseBrush();
        // The rectangle of the record leaves out its right and bottom
        // edges, so it reaches one pixel further than the area it covers.
        Append(RectangleRecord(QRect(QPoint(left, top), QPoint(right + 1, bottom + 1))));
        const int margin = PenMargin();
        AddBounds(QRect(QPoint(left, top), QPoint(right, bottom))
                      .adjusted(-margin, -margin, margin, margin));
    }
}

std::vector<std::pair<qreal, qreal>> EmfPaintEngine::UndecoratedParts(const QLineF& line) const {
    std::vector<std::pair<qreal, qreal>> parts{
        {std::min(line.x1(), line.x2()), std::max(line.x1(), line.x2())}};
    if (std::abs(line.y1() - line.y2()) > 0.5 || m_pen.capStyle() != Qt::FlatCap) {
        return parts;
    }
    const qreal y = line.y1();
    for (const Decoration& decoration : m_decorations) {
        if (y < decoration.top || y > decoration.bottom) {
            continue;
        }
        const qreal cutLeft = decoration.left - kDecorationSlack;
        const qreal cutRight = decoration.right + kDecorationSlack;
        std::vector<std::pair<qreal, qreal>> rest;
        for (const auto& [from, to] : parts) {
            if (to <= cutLeft || from >= cutRight) {
                rest.emplace_back(from, to);
                continue;
            }
            if (from < cutLeft) {
                rest.emplace_back(from, cutLeft);
            }
            if (to > cutRight) {
                rest.emplace_back(cutRight, to);
            }
        }
        parts = std::move(rest);
    }
    return parts;
}

void EmfPaintEngine::drawLines(const QLineF* lines, int count) {
    if (IsNull(m_pen)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const QLineF line = m_transform.map(lines[i]);
        if (line.p1() == line.p2()) {
            Polyline(QPolygon({line.p1().toPoint(), line.p2().toPoint()}));
            continue;
        }
        // An underline or strike-out that the painter draws under text is
        // already in the text's font: drawn twice it would come out doubled
        // (or thicker) in other programs.
        const bool horizontal = std::abs(line.y1() - line.y2()) <= 0.5;
        for (const auto& [from, to] : UndecoratedParts(line)) {
            if (horizontal) {
                Polyline(QPolygon(
                    {QPointF(from, line.y1()).toPoint(), QPointF(to, line.y2()).toPoint()}));
            } else {
                Polyline(QPolygon({line.p1().toPoint(), line.p2().toPoint()}));
            }
        }
    }
}

void EmfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i) {
        polygon.append(points[i]);
    }
    const QPolygon device = m_transform.map(polygon).toPolygon();
    if (mode == PolylineMode) {
        Polyline(device);
    } else {
        Polygons({device}, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
}

void EmfPaintEngine::drawPath(const QPainterPath& path) {
    const QList<QPolygonF> subpaths = path.toSubpathPolygons(m_transform);
    std::vector<QPolygon> device;
    for (const QPolygonF& subpath : subpaths) {
        device.push_back(subpath.toPolygon());
    }
    if (IsNull(m_brush)) {
        for (const QPolygon& polygon : device) {
            Polyline(polygon);
        }
    } else {
        Polygons(device, path.fillRule());
    }
}

void EmfPaintEngine::drawPixmap(const QRectF&, const QPixmap&, const QRectF&) {}

void EmfPaintEngine::drawTextItem(const QPointF& point, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty() || m_pen.style() == Qt::NoPen || m_finished) {
        return;
    }
    // The item's font resolved for this device, so that point sizes become
    // the device's pixels.
    const QFont font(item.font(), m_device);
    const qreal emPixels = font.pixelSize() > 0
                               ? font.pixelSize()
                               : font.pointSizeF() * m_device->logicalDpiY() / 72.0;
    const qreal horizontal = AxisScale(m_transform, QPointF(1, 0));
    const qreal vertical = AxisScale(m_transform, QPointF(0, 1));
    const QPointF origin = m_transform.map(point);

    // Where each character starts, as Qt lays the run out, stretched to the
    // width that the painter gave the run (justification, letter spacing).
    QTextLayout layout(text, font, const_cast<QPaintDevice*>(m_device));
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6);
    }
    layout.endLayout();
    const int count = static_cast<int>(text.size());
    std::vector<qreal> starts(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        starts[static_cast<std::size_t>(i)] = line.isValid() ? line.cursorToX(i) : 0;
    }
    const qreal natural = starts.back() - starts.front();
    const qreal stretch = natural > 0 ? item.width() / natural : 1;
    std::vector<int> positions(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        positions[i] = qRound(origin.x() + (starts[i] - starts.front()) * stretch * horizontal);
    }

    UseFont(font, emPixels * vertical);
    UseTextColor(m_pen.color());

    const QPoint reference(positions.front(), qRound(origin.y()));
    const QRect bounds(QPoint(positions.front(), qFloor(origin.y() - item.ascent() * vertical)),
                       QPoint(std::max(positions.front(), positions.back()),
                              qCeil(origin.y() + item.descent() * vertical)));
    std::vector<int> advances(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < advances.size(); ++i) {
        advances[i] = positions[i + 1] - positions[i];
    }
    Append(TextRecord(bounds, m_scale, reference, text, advances));
    AddBounds(bounds);

    if ((font.underline() || font.strikeOut()) && m_transform.type() <= QTransform::TxScale) {
        const qreal baseline = origin.y();
        const qreal top = font.strikeOut() ? baseline - item.ascent() * vertical * 0.75 : baseline;
        const qreal bottom =
            font.underline() ? baseline + (item.descent() + 1) * vertical : baseline;
        m_decorations.push_back({origin.x(), origin.x() + item.width() * horizontal, top, bottom});
    }
}

EmfPaintEngine::Recording EmfPaintEngine::Finish() {
    Recording recording;
    if (!m_finished) {
        // Leave the table empty, as a tidy metafile does.
        m_objects.Clear();
        Append(EofRecord());
        m_finished = true;
    }
    recording.records = m_records;
    recording.recordCount = m_recordCount;
    recording.handleCount = m_objects.HandleCount();
    recording.bounds = m_bounds;
    return recording;
}

}  // namespace platform
