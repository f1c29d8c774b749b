#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>

namespace platform::emf {

// Builds one record, little-endian: its type, a size field filled in by
// finish(), then the fields. A record of fixed layout is made with its fixed
// size, all zero, and its fields are set at their offsets (EmfFormat.h);
// what varies in length (points, text) is appended after it.
class RecordBuilder {
public:
    explicit RecordBuilder(std::uint32_t type, std::uint32_t fixedSize = 8);

    RecordBuilder& u8(std::uint8_t value);
    RecordBuilder& u16(std::uint16_t value);
    RecordBuilder& u32(std::uint32_t value);
    RecordBuilder& i32(std::int32_t value);
    RecordBuilder& f32(float value);
    RecordBuilder& point(const QPoint& point);
    // A rectangle as left, top, right, bottom, both corners inside.
    RecordBuilder& rect(const QRect& rect);
    // `text` as UTF-16 code units, cut or padded with zeros to `units`.
    RecordBuilder& utf16(const QString& text, int units);
    // Zero bytes up to the next multiple of 4.
    RecordBuilder& align();

    // Fields at `offset`, which lies inside the fixed size.
    RecordBuilder& setU8(std::uint32_t offset, std::uint8_t value);
    RecordBuilder& setU16(std::uint32_t offset, std::uint16_t value);
    RecordBuilder& setU32(std::uint32_t offset, std::uint32_t value);
    RecordBuilder& setI32(std::uint32_t offset, std::int32_t value);
    RecordBuilder& setF32(std::uint32_t offset, float value);
    RecordBuilder& setPoint(std::uint32_t offset, const QPoint& point);
    RecordBuilder& setRect(std::uint32_t offset, const QRect& rect);
    RecordBuilder& setUtf16(std::uint32_t offset, const QString& text, int units);

    int size() const { return m_data.size(); }
    // Aligns, writes the size field and gives the record's bytes.
    QByteArray finish();

private:
    QByteArray m_data;
};

std::uint32_t readU32(const char* data);
std::int32_t readI32(const char* data);
std::uint16_t readU16(const char* data);

}  // namespace platform::emf
