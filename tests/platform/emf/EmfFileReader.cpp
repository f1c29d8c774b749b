#include "EmfFileReader.h"

#include <QtEndian>

#include <map>
#include <optional>

namespace emftest {

std::uint32_t U32(const QByteArray& data, std::uint32_t offset) {
    return qFromLittleEndian<std::uint32_t>(data.constData() + offset);
}

std::int32_t I32(const QByteArray& data, std::uint32_t offset) {
    return static_cast<std::int32_t>(U32(data, offset));
}

std::vector<Record> Records(const QByteArray& data) {
    std::vector<Record> records;
    std::uint64_t offset = 0;
    while (offset + 8 <= static_cast<std::uint64_t>(data.size())) {
        const Record record{U32(data, offset), static_cast<std::uint32_t>(offset),
                            U32(data, offset + 4)};
        if (record.size < 8 || record.size % 4 != 0 ||
            offset + record.size > static_cast<std::uint64_t>(data.size())) {
            break;
        }
        records.push_back(record);
        offset += record.size;
    }
    return records;
}

namespace {

constexpr std::uint32_t kCreatePen = 38;
constexpr std::uint32_t kExtCreatePen = 95;
constexpr std::uint32_t kCreateBrush = 39;
constexpr std::uint32_t kCreateFont = 82;
constexpr std::uint32_t kSelect = 37;
constexpr std::uint32_t kDelete = 40;
constexpr std::uint32_t kTextColor = 24;
constexpr std::uint32_t kTextOut = 84;
constexpr std::uint32_t kRectangle = 43;

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
        switch (record.type) {
            case kCreatePen:
                table[U32(data, at + 8)] = {
                    (U32(data, at + 12) & 0xF) == 5 ? Object::NullPen : Object::Pen,
                    U32(data, at + 24),
                    {}};
                break;
            case kExtCreatePen:
                table[U32(data, at + 8)] = {
                    (U32(data, at + 28) & 0xF) == 5 ? Object::NullPen : Object::Pen,
                    U32(data, at + 40),
                    {}};
                break;
            case kCreateBrush:
                table[U32(data, at + 8)] = {Object::Brush, U32(data, at + 16), {}};
                break;
            case kCreateFont: {
                Font f;
                f.height = I32(data, at + 12);
                f.weight = I32(data, at + 28);
                f.italic = data.at(at + 32) != 0;
                f.underline = data.at(at + 33) != 0;
                f.strikeOut = data.at(at + 34) != 0;
                for (std::uint32_t i = 0; i < 32; ++i) {
                    const auto unit =
                        qFromLittleEndian<std::uint16_t>(data.constData() + at + 40 + 2 * i);
                    if (unit == 0) {
                        break;
                    }
                    f.family.append(QChar(unit));
                }
                table[U32(data, at + 8)] = {Object::Font, 0, f};
                break;
            }
            case kSelect: {
                const std::uint32_t index = U32(data, at + 8);
                if (index == 0x80000008) {
                    pen = Object{Object::NullPen, 0, {}};
                } else if (index == 0x80000005) {
                    brush.reset();
                } else if (table.count(index)) {
                    const Object& object = table[index];
                    (object.kind == Object::Brush  ? brush
                     : object.kind == Object::Font ? font
                                                   : pen) = object;
                }
                break;
            }
            case kDelete:
                table.erase(U32(data, at + 8));
                break;
            case kTextColor:
                textColor = U32(data, at + 8);
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
        if (record.type != kTextOut) {
            return;
        }
        TextRun run;
        const std::uint32_t at = record.offset;
        run.reference = QPoint(I32(data, at + 36), I32(data, at + 40));
        const std::uint32_t count = U32(data, at + 44);
        const std::uint32_t offString = U32(data, at + 48);
        const std::uint32_t offDx = U32(data, at + 72);
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
             if (record.type != kRectangle || !brush) {
                 return;
             }
             const std::uint32_t at = record.offset;
             boxes.push_back({QRect(QPoint(I32(data, at + 8), I32(data, at + 12)),
                                    QPoint(I32(data, at + 16), I32(data, at + 20))),
                              brush->color, pen && pen->kind == Object::NullPen});
         });
    return boxes;
}

}  // namespace emftest
