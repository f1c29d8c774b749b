#include "EmfFileReader.h"

#include <QtEndian>

#include "platform/emf/EmfFormat.h"

#include <map>
#include <optional>

namespace emftest {

using namespace platform::emf;

std::uint32_t U32(const QByteArray& data, std::uint32_t offset) {
    return qFromLittleEndian<std::uint32_t>(data.constData() + offset);
}

std::int32_t I32(const QByteArray& data, std::uint32_t offset) {
    return static_cast<std::int32_t>(U32(data, offset));
}

std::vector<Record> Records(const QByteArray& data) {
    std::vector<Record> records;
    std::uint64_t offset = 0;
    while (offset + emrRecord::kMinimumSize <= static_cast<std::uint64_t>(data.size())) {
        const Record record{U32(data, offset + emrRecord::kType),
                            static_cast<std::uint32_t>(offset),
                            U32(data, offset + emrRecord::kSize)};
        if (record.size < emrRecord::kMinimumSize || record.size % 4 != 0 ||
            offset + record.size > static_cast<std::uint64_t>(data.size())) {
            break;
        }
        records.push_back(record);
        offset += record.size;
    }
    return records;
}

namespace {

struct Object {
    enum Kind { Pen, NullPen, Brush, Font } kind;
    std::uint32_t color = 0;
    emftest::Font font;
};

// Follows the object table and the selections of `data`, calling `visit`
// for each record with the objects selected at that point.
template <typename Visit>
void Walk(const QByteArray& data, Visit visit) {
    std::map<std::uint32_t, Object> table;
    std::optional<Object> pen, brush, font;
    std::uint32_t textColor = 0;
    for (const Record& record : Records(data)) {
        const std::uint32_t at = record.offset;
        // The one field of a selection, deletion or colour record.
        const auto value = [&] { return U32(data, at + emrRecord::kValue); };
        switch (record.type) {
            case EMR_CREATEPEN:
                table[U32(data, at + emrObject::kIndex)] = {
                    (U32(data, at + emrCreatePen::kStyle) & PS_STYLE_MASK) == PS_NULL
                        ? Object::NullPen
                        : Object::Pen,
                    U32(data, at + emrCreatePen::kColor),
                    {}};
                break;
            case EMR_EXTCREATEPEN:
                table[U32(data, at + emrObject::kIndex)] = {
                    (U32(data, at + emrExtCreatePen::kStyle) & PS_STYLE_MASK) == PS_NULL
                        ? Object::NullPen
                        : Object::Pen,
                    U32(data, at + emrExtCreatePen::kColor),
                    {}};
                break;
            case EMR_CREATEBRUSHINDIRECT:
                table[U32(data, at + emrObject::kIndex)] = {
                    Object::Brush, U32(data, at + emrCreateBrush::kColor), {}};
                break;
            case EMR_EXTCREATEFONTINDIRECTW: {
                using namespace emrCreateFont;
                const std::uint32_t logFont = at + kLogFont;
                Font f;
                f.height = I32(data, logFont + kHeight);
                f.weight = I32(data, logFont + kWeight);
                f.italic = data.at(logFont + kItalic) != 0;
                f.underline = data.at(logFont + kUnderline) != 0;
                f.strikeOut = data.at(logFont + kStrikeOut) != 0;
                for (std::uint32_t i = 0; i < kFaceNameChars; ++i) {
                    const auto unit = qFromLittleEndian<std::uint16_t>(data.constData() + logFont +
                                                                       kFaceName + 2 * i);
                    if (unit == 0) {
                        break;
                    }
                    f.family.append(QChar(unit));
                }
                table[U32(data, at + emrObject::kIndex)] = {Object::Font, 0, f};
                break;
            }
            case EMR_SELECTOBJECT: {
                const std::uint32_t index = value();
                if (index == (kStockObject | NULL_PEN)) {
                    pen = Object{Object::NullPen, 0, {}};
                } else if (index == (kStockObject | NULL_BRUSH)) {
                    brush.reset();
                } else if (table.count(index)) {
                    const Object& object = table[index];
                    (object.kind == Object::Brush  ? brush
                     : object.kind == Object::Font ? font
                                                   : pen) = object;
                }
                break;
            }
            case EMR_DELETEOBJECT:
                table.erase(value());
                break;
            case EMR_SETTEXTCOLOR:
                textColor = value();
                break;
            default:
                break;
        }
        visit(record, pen, brush, font, textColor);
    }
}

}  // namespace

std::vector<TextRun> TextRuns(const QByteArray& data) {
    std::vector<TextRun> runs;
    Walk(data, [&](const Record& record, const auto&, const auto&, const auto& font,
                   std::uint32_t color) {
        using namespace emrText;
        if (record.type != EMR_EXTTEXTOUTW) {
            return;
        }
        TextRun run;
        const std::uint32_t at = record.offset;
        run.reference = QPoint(I32(data, at + kReference), I32(data, at + kReference + 4));
        const std::uint32_t count = U32(data, at + kChars);
        const std::uint32_t offString = U32(data, at + kStringOffset);
        const std::uint32_t offDx = U32(data, at + kAdvancesOffset);
        for (std::uint32_t i = 0; i < count; ++i) {
            run.text.append(
                QChar(qFromLittleEndian<std::uint16_t>(data.constData() + at + offString + 2 * i)));
            if (offDx != 0) {
                run.advances.push_back(I32(data, at + offDx + 4 * i));
            }
        }
        if (font) {
            run.font = font->font;
        }
        run.color = color;
        runs.push_back(run);
    });
    return runs;
}

std::vector<FilledBox> Boxes(const QByteArray& data) {
    std::vector<FilledBox> boxes;
    Walk(data,
         [&](const Record& record, const auto& pen, const auto& brush, const auto&, std::uint32_t) {
             if (record.type != EMR_RECTANGLE || !brush) {
                 return;
             }
             const std::uint32_t at = record.offset + emrBox::kBox;
             boxes.push_back({QRect(QPoint(I32(data, at), I32(data, at + 4)),
                                    QPoint(I32(data, at + 8), I32(data, at + 12))),
                              brush->color, pen && pen->kind == Object::NullPen});
         });
    return boxes;
}

}  // namespace emftest
