#include "platform/emf/EmfPlayer.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <optional>

namespace platform::emf {

namespace {

// Deeper EMR_SAVEDC nesting is ignored.
constexpr std::size_t kMaxSavedStates = 256;

QPen PenFrom(std::uint32_t style, std::int32_t width, std::uint32_t color) {
    QPen pen(FromColorRef(color));
    // Wider than any page: a damaged width field.
    pen.setWidth(std::clamp(width, 1, 1 << 20));
    switch (style & PS_STYLE_MASK) {
        case PS_NULL:
            return QPen(Qt::NoPen);
        case PS_DASH:
            pen.setStyle(Qt::DashLine);
            break;
        case PS_DOT:
            pen.setStyle(Qt::DotLine);
            break;
        case PS_DASHDOT:
            pen.setStyle(Qt::DashDotLine);
            break;
        case PS_DASHDOTDOT:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
    }
    if (style & PS_GEOMETRIC) {
        pen.setCapStyle((style & PS_ENDCAP_FLAT)     ? Qt::FlatCap
                        : (style & PS_ENDCAP_SQUARE) ? Qt::SquareCap
                                                     : Qt::RoundCap);
        pen.setJoinStyle((style & PS_JOIN_MITER)   ? Qt::MiterJoin
                         : (style & PS_JOIN_BEVEL) ? Qt::BevelJoin
                                                   : Qt::RoundJoin);
    }
    return pen;
}

// The LOGFONTW of an EMR_EXTCREATEFONTINDIRECTW, which holds it whole.
FontObject FontFrom(const RecordView& record) {
    using namespace emrCreateFont;
    QString family;
    for (std::uint32_t i = 0; i < kFaceNameChars; ++i) {
        const std::uint16_t unit = record.U16(kLogFont + kFaceName + 2 * i);
        if (unit == 0) {
            break;
        }
        family.append(QChar(unit));
    }
    QFont font(family.isEmpty() ? QStringLiteral("Arial") : family);
    const std::int32_t height = record.I32(kLogFont + kHeight);
    // A negative height is the character (em) height; a positive one is the
    // whole cell, ascent plus descent.
    qreal em = 12;
    if (height < 0) {
        em = -static_cast<qreal>(height);
    } else if (height > 0) {
        QFont probe(font);
        probe.setPixelSize(1000);
        const QFontMetricsF metrics(probe);
        em = height * 1000.0 / std::max<qreal>(1, metrics.ascent() + metrics.descent());
    }
    font.setPixelSize(std::clamp(qRound(em), 1, 100000));
    const std::int32_t weight = record.I32(kLogFont + kWeight);
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : std::min(weight, 1000)));
    font.setItalic(record.U8(kLogFont + kItalic) != 0);
    font.setUnderline(record.U8(kLogFont + kUnderline) != 0);
    font.setStrikeOut(record.U8(kLogFont + kStrikeOut) != 0);
    return {font, QRawFont::fromFont(font)};
}

// Reads `count` points from `at`, 32-bit or 16-bit coordinates; nothing when
// the record does not hold them.
std::optional<QPolygonF> Points(const RecordView& record, std::uint32_t at, std::uint64_t count,
                                bool small) {
    const std::uint64_t pointSize = small ? 4 : 8;
    if (!record.Holds(at + count * pointSize)) {
        return std::nullopt;
    }
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t offset = at + static_cast<std::uint32_t>(i * pointSize);
        if (small) {
            polygon.append(QPointF(record.I16(offset), record.I16(offset + 2)));
        } else {
            polygon.append(record.Point(offset));
        }
    }
    return polygon;
}

}  // namespace

QColor FromColorRef(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Player::Player(QPainter& painter, std::uint16_t handles) : m_painter(painter), m_objects(handles) {
    m_state.font = {QFont(QStringLiteral("Arial")), QRawFont()};
    m_state.font.font.setPixelSize(12);
}

void Player::Play(const RecordView& record) {
    const std::uint32_t value = emrRecord::kValue;
    const std::uint32_t index = emrObject::kIndex;
    switch (record.Type()) {
        case EMR_CREATEPEN:
            if (record.Holds(emrCreatePen::kSize)) {
                using namespace emrCreatePen;
                Store(record.U32(index), PenObject{PenFrom(record.U32(kStyle), record.I32(kWidth),
                                                           record.U32(kColor))});
            }
            break;
        case EMR_EXTCREATEPEN:
            if (record.Holds(emrExtCreatePen::kMinimumSize)) {
                using namespace emrExtCreatePen;
                Store(record.U32(index), PenObject{PenFrom(record.U32(kStyle), record.I32(kWidth),
                                                           record.U32(kColor))});
            }
            break;
        case EMR_CREATEBRUSHINDIRECT:
            if (record.Holds(emrCreateBrush::kSize)) {
                using namespace emrCreateBrush;
                Store(record.U32(index),
                      BrushObject{record.U32(kStyle) == BS_NULL
                                      ? QBrush(Qt::NoBrush)
                                      : QBrush(FromColorRef(record.U32(kColor)))});
            }
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            if (record.Holds(emrCreateFont::kLogFont + kLogFontSize)) {
                Store(record.U32(index), FontFrom(record));
            }
            break;
        case EMR_SELECTOBJECT:
            if (record.Holds(emrRecord::kValueSize)) {
                Select(record.U32(value));
            }
            break;
        case EMR_DELETEOBJECT:
            if (record.Holds(emrRecord::kValueSize) && record.U32(value) < m_objects.size()) {
                m_objects[record.U32(value)] = std::monostate{};
            }
            break;
        case EMR_SETTEXTCOLOR:
            if (record.Holds(emrRecord::kValueSize)) {
                m_state.textColor = FromColorRef(record.U32(value));
            }
            break;
        case EMR_SETTEXTALIGN:
            if (record.Holds(emrRecord::kValueSize)) {
                m_state.textAlign = record.U32(value);
            }
            break;
        case EMR_SETPOLYFILLMODE:
            if (record.Holds(emrRecord::kValueSize)) {
                m_state.fillRule = record.U32(value) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
            }
            break;
        case EMR_SAVEDC:
            if (m_saved.size() < kMaxSavedStates) {
                m_saved.push_back(m_state);
            }
            break;
        case EMR_RESTOREDC:
            if (record.Holds(emrRecord::kValueSize)) {
                Restore(record.I32(value));
            }
            break;
        case EMR_MOVETOEX:
            if (record.Holds(emrPoint::kSize)) {
                m_state.position = record.Point(emrPoint::kX);
            }
            break;
        case EMR_LINETO:
            if (record.Holds(emrPoint::kSize)) {
                const QPointF to = record.Point(emrPoint::kX);
                UsePenAndBrush();
                m_painter.drawLine(m_state.position, to);
                m_state.position = to;
            }
            break;
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
            if (record.Holds(emrBox::kSize)) {
                Box(record);
            }
            break;
        case EMR_POLYGON:
        case EMR_POLYLINE:
        case EMR_POLYGON16:
        case EMR_POLYLINE16:
            Poly(record);
            break;
        case EMR_POLYPOLYGON:
        case EMR_POLYPOLYLINE:
            PolyPoly(record);
            break;
        case EMR_EXTTEXTOUTW:
            PlayText(m_painter, m_state, record);
            break;
        default:
            break;  // not drawn: header, end, states this player does not follow
    }
}

void Player::Store(std::uint32_t index, Object object) {
    // Index 0 stands for the metafile itself.
    if (index == 0 || index >= m_objects.size()) {
        return;
    }
    m_objects[index] = std::move(object);
}

void Player::Select(std::uint32_t index) {
    if (index & kStockObject) {
        switch (index & ~kStockObject) {
            case WHITE_BRUSH:
                m_state.brush = QBrush(Qt::white);
                break;
            case BLACK_BRUSH:
                m_state.brush = QBrush(Qt::black);
                break;
            case NULL_BRUSH:
                m_state.brush = QBrush(Qt::NoBrush);
                break;
            case WHITE_PEN:
                m_state.pen = QPen(Qt::white, 1);
                break;
            case BLACK_PEN:
                m_state.pen = QPen(Qt::black, 1);
                break;
            case NULL_PEN:
                m_state.pen = QPen(Qt::NoPen);
                break;
            default:
                break;  // stock fonts and palettes: the current one stays
        }
        return;
    }
    if (index >= m_objects.size()) {
        return;
    }
    const Object& object = m_objects[index];
    if (const auto* pen = std::get_if<PenObject>(&object)) {
        m_state.pen = pen->pen;
    } else if (const auto* brush = std::get_if<BrushObject>(&object)) {
        m_state.brush = brush->brush;
    } else if (const auto* font = std::get_if<FontObject>(&object)) {
        m_state.font = *font;
    }
}

void Player::Restore(std::int32_t which) {
    // Negative: that many states back; positive: the state saved at that
    // depth, counted from 1.
    std::size_t keep;
    if (which < 0) {
        const std::size_t back = static_cast<std::size_t>(-static_cast<std::int64_t>(which));
        if (back > m_saved.size()) {
            return;
        }
        keep = m_saved.size() - back;
    } else if (which > 0 && static_cast<std::size_t>(which) <= m_saved.size()) {
        keep = static_cast<std::size_t>(which) - 1;
    } else {
        return;
    }
    m_state = m_saved[keep];
    m_saved.resize(keep);
}

void Player::UsePenAndBrush() {
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
}

void Player::Box(const RecordView& record) {
    const QPointF topLeft = record.Point(emrBox::kBox);
    const QPointF bottomRight = record.Point(emrBox::kBox + 8);
    // The right and bottom edges are outside the box.
    const QRectF rect = QRectF(topLeft, bottomRight - QPointF(1, 1)).normalized();
    UsePenAndBrush();
    if (record.Type() == EMR_ELLIPSE) {
        m_painter.drawEllipse(rect);
    } else {
        m_painter.drawRect(rect);
    }
}

void Player::Poly(const RecordView& record) {
    if (!record.Holds(emrPoly::kPoints)) {
        return;
    }
    const bool small = record.Type() == EMR_POLYGON16 || record.Type() == EMR_POLYLINE16;
    const auto polygon = Points(record, emrPoly::kPoints, record.U32(emrPoly::kCount), small);
    if (!polygon) {
        return;
    }
    UsePenAndBrush();
    if (record.Type() == EMR_POLYGON || record.Type() == EMR_POLYGON16) {
        m_painter.drawPolygon(*polygon, m_state.fillRule);
    } else {
        m_painter.drawPolyline(*polygon);
    }
}

void Player::PolyPoly(const RecordView& record) {
    using namespace emrPolyPoly;
    if (!record.Holds(kCounts)) {
        return;
    }
    const std::uint64_t polygons = record.U32(kPolygons);
    const std::uint64_t total = record.U32(kTotal);
    const std::uint64_t countsEnd = kCounts + polygons * 4;
    if (!record.Holds(countsEnd)) {
        return;
    }
    const auto all = Points(record, static_cast<std::uint32_t>(countsEnd), total, false);
    if (!all) {
        return;
    }
    UsePenAndBrush();
    QPainterPath path;
    path.setFillRule(m_state.fillRule);
    std::uint64_t next = 0;
    for (std::uint64_t i = 0; i < polygons; ++i) {
        const std::uint64_t count = record.U32(kCounts + static_cast<std::uint32_t>(i * 4));
        if (count > total - next) {
            return;  // the counts claim more points than the record has
        }
        const QPolygonF polygon =
            all->mid(static_cast<qsizetype>(next), static_cast<qsizetype>(count));
        next += count;
        if (record.Type() == EMR_POLYPOLYGON) {
            path.addPolygon(polygon);
            path.closeSubpath();
        } else {
            m_painter.drawPolyline(polygon);
        }
    }
    if (record.Type() == EMR_POLYPOLYGON) {
        m_painter.drawPath(path);
    }
}

}  // namespace platform::emf
