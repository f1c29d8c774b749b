#include "platform/emf/EmfEncoders.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"

#include <algorithm>

namespace platform::emf {

namespace {

std::uint8_t PitchAndFamily(const QFont& font) {
    switch (font.styleHint()) {
        case QFont::SansSerif:
            return 0x20;  // FF_SWISS
        case QFont::Serif:
            return 0x10;  // FF_ROMAN
        case QFont::TypeWriter:
        case QFont::Monospace:
            return 0x31;  // FF_MODERN | FIXED_PITCH
        default:
            return 0;
    }
}

std::uint32_t PenStyle(const QPen& pen) {
    std::uint32_t style = PS_GEOMETRIC;
    switch (pen.style()) {
        case Qt::DashLine:
            style |= PS_DASH;
            break;
        case Qt::DotLine:
            style |= PS_DOT;
            break;
        case Qt::DashDotLine:
            style |= PS_DASHDOT;
            break;
        case Qt::DashDotDotLine:
            style |= PS_DASHDOTDOT;
            break;
        default:
            style |= PS_SOLID;
            break;
    }
    switch (pen.capStyle()) {
        case Qt::FlatCap:
            style |= PS_ENDCAP_FLAT;
            break;
        case Qt::SquareCap:
            style |= PS_ENDCAP_SQUARE;
            break;
        default:
            break;  // round
    }
    switch (pen.joinStyle()) {
        case Qt::MiterJoin:
        case Qt::SvgMiterJoin:
            style |= PS_JOIN_MITER;
            break;
        case Qt::BevelJoin:
            style |= PS_JOIN_BEVEL;
            break;
        default:
            break;  // round
    }
    return style;
}

}  // namespace

std::uint32_t ColorRef(const QColor& color) {
    const QRgb rgb = color.rgb();
    return static_cast<std::uint32_t>(qRed(rgb)) | (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
           (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

QColor BrushColor(const QBrush& brush) {
    if (brush.gradient() && !brush.gradient()->stops().isEmpty()) {
        return brush.gradient()->stops().first().second;
    }
    return brush.color();
}

QByteArray ValueRecord(std::uint32_t type, std::uint32_t value) {
    return RecordBuilder(type, emrRecord::kValueSize).SetU32(emrRecord::kValue, value).Finish();
}

QByteArray PenRecord(const QPen& pen, int width) {
    // No brush bitmap, no hatch and no dash entries; the one empty entry that
    // the structure declares is there, so that readers expecting its full
    // size find it.
    using namespace emrExtCreatePen;
    return RecordBuilder(EMR_EXTCREATEPEN, kSize)
        .SetU32(kStyle, PenStyle(pen))
        .SetU32(kWidth, static_cast<std::uint32_t>(width))
        .SetU32(kBrushStyle, BS_SOLID)
        .SetU32(kColor, ColorRef(pen.brush().gradient() ? BrushColor(pen.brush()) : pen.color()))
        .Finish();
}

QByteArray BrushRecord(const QBrush& brush) {
    using namespace emrCreateBrush;
    return RecordBuilder(EMR_CREATEBRUSHINDIRECT, kSize)
        .SetU32(kStyle, BS_SOLID)
        .SetU32(kColor, ColorRef(BrushColor(brush)))
        .Finish();
}

QByteArray FontRecord(const QFont& font, qreal pixelHeight) {
    using namespace emrCreateFont;
    const QString family = font.family().left(kFaceNameChars - 1);
    RecordBuilder record(EMR_EXTCREATEFONTINDIRECTW, kSize);
    // Negative: the character height, not the whole cell.
    record.SetI32(kLogFont + kHeight, -std::max(1, qRound(pixelHeight)));
    record.SetI32(kLogFont + kWeight, std::clamp(static_cast<int>(font.weight()), 1, 1000));
    record.SetU8(kLogFont + kItalic, font.italic() ? 1 : 0);
    record.SetU8(kLogFont + kUnderline, font.underline() ? 1 : 0);
    record.SetU8(kLogFont + kStrikeOut, font.strikeOut() ? 1 : 0);
    record.SetU8(kLogFont + kCharSet, DEFAULT_CHARSET);
    record.SetU8(kLogFont + kPitchAndFamily, PitchAndFamily(font));
    record.SetUtf16(kLogFont + kFaceName, family, kFaceNameChars);
    record.SetUtf16(kLogFont + kFullName, family.left(kFullNameChars - 1), kFullNameChars);
    return record.Finish();
}

QByteArray PolylineRecord(const QRect& bounds, const QPolygon& points) {
    RecordBuilder record(EMR_POLYLINE, emrPoly::kPoints);
    record.SetRect(emrPoly::kBounds, bounds);
    record.SetU32(emrPoly::kCount, static_cast<std::uint32_t>(points.size()));
    for (const QPoint& point : points) {
        record.Point(point);
    }
    return record.Finish();
}

QByteArray PolygonsRecord(const QRect& bounds, const std::vector<QPolygon>& polygons) {
    std::uint32_t total = 0;
    for (const QPolygon& polygon : polygons) {
        total += static_cast<std::uint32_t>(polygon.size());
    }
    const bool single = polygons.size() == 1;
    RecordBuilder record(single ? EMR_POLYGON : EMR_POLYPOLYGON,
                         single ? emrPoly::kPoints : emrPolyPoly::kCounts);
    if (single) {
        record.SetRect(emrPoly::kBounds, bounds).SetU32(emrPoly::kCount, total);
    } else {
        record.SetRect(emrPolyPoly::kBounds, bounds);
        record.SetU32(emrPolyPoly::kPolygons, static_cast<std::uint32_t>(polygons.size()));
        record.SetU32(emrPolyPoly::kTotal, total);
        for (const QPolygon& polygon : polygons) {
            record.U32(static_cast<std::uint32_t>(polygon.size()));
        }
    }
    for (const QPolygon& polygon : polygons) {
        for (const QPoint& point : polygon) {
            record.Point(point);
        }
    }
    return record.Finish();
}

QByteArray RectangleRecord(const QRect& box) {
    return RecordBuilder(EMR_RECTANGLE, emrBox::kSize).SetRect(emrBox::kBox, box).Finish();
}

QByteArray TextRecord(const QRect& bounds, const QSizeF& scale, const QPoint& reference,
                      const QString& text, const std::vector<int>& advances) {
    using namespace emrText;
    const std::uint32_t count = static_cast<std::uint32_t>(text.size());
    const std::uint32_t stringBytes = (count * 2 + 3) / 4 * 4;
    RecordBuilder record(EMR_EXTTEXTOUTW, kExtTextOutFixedSize);
    record.SetRect(kBounds, bounds).SetU32(kGraphicsMode, GM_COMPATIBLE);
    record.SetF32(kScaleX, static_cast<float>(scale.width()));
    record.SetF32(kScaleY, static_cast<float>(scale.height()));
    record.SetPoint(kReference, reference).SetU32(kChars, count);
    record.SetU32(kStringOffset, kExtTextOutFixedSize);
    record.SetU32(kOptions, 0);                                  // no clipping, no opaque box
    record.SetRect(kClip, QRect(QPoint(0, 0), QPoint(-1, -1)));  // no clipping rectangle
    record.SetU32(kAdvancesOffset, kExtTextOutFixedSize + stringBytes);
    record.Utf16(text, static_cast<int>(count)).Align();
    for (const int advance : advances) {
        record.I32(advance);
    }
    return record.Finish();
}

QByteArray EofRecord() {
    using namespace emrEof;
    return RecordBuilder(EMR_EOF, kEofSize)
        .SetU32(kPaletteEntries, 0)
        .SetU32(kPaletteOffset, kSizeLast)
        .SetU32(kSizeLast, kEofSize)
        .Finish();
}

QByteArray HeaderRecord(const HeaderFields& fields) {
    namespace at = emrHeader;
    // No description, no palette, no pixel format, no OpenGL.
    RecordBuilder record(EMR_HEADER, kHeaderSize);
    record.SetRect(at::kBounds, fields.bounds).SetRect(at::kFrame, fields.frame);
    record.SetU32(at::kSignature, kSignature).SetU32(at::kVersion, kVersion);
    record.SetU32(at::kBytes, fields.totalBytes).SetU32(at::kRecords, fields.recordCount);
    record.SetU16(at::kHandles, fields.handleCount);
    record.SetI32(at::kDevicePixels, fields.devicePixels.width());
    record.SetI32(at::kDevicePixels + 4, fields.devicePixels.height());
    record.SetI32(at::kDeviceMillimetres, fields.deviceMillimetres.width());
    record.SetI32(at::kDeviceMillimetres + 4, fields.deviceMillimetres.height());
    record.SetI32(at::kDeviceMicrometres, fields.deviceMillimetres.width() * 1000);
    record.SetI32(at::kDeviceMicrometres + 4, fields.deviceMillimetres.height() * 1000);
    return record.Finish();
}

}  // namespace platform::emf
