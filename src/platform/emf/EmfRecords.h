#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>

namespace platform::emf {

// Builds one record, little-endian: its type, a size field filled in by
// Finish(), then the fields. A record of fixed layout is made with its fixed
// size, all zero, and its fields are set at their offsets (EmfFormat.h);
// what varies in length (points, text) is appended after it.
class RecordBuilder {
public:
    explicit RecordBuilder(std::uint32_t type, std::uint32_t fixedSize = 8);

    RecordBuilder& U8(std::uint8_t value);
    RecordBuilder& U16(std::uint16_t value);
    RecordBuilder& U32(std::uint32_t value);
    RecordBuilder& I32(std::int32_t value);
    RecordBuilder& F32(float value);
    RecordBuilder& Point(const QPoint& point);
    // A rectangle as left, top, right, bottom, both corners inside.
    RecordBuilder& Rect(const QRect& rect);
    // `text` as UTF-16 code units, cut or padded with zeros to `units`.
    RecordBuilder& Utf16(const QString& text, int units);
    // Zero bytes up to the next multiple of 4.
    RecordBuilder& Align();

    // Fields at `offset`, which lies inside the fixed size.
    RecordBuilder& SetU8(std::uint32_t offset, std::uint8_t value);
    RecordBuilder& SetU16(std::uint32_t offset, std::uint16_t value);
    RecordBuilder& SetU32(std::uint32_t offset, std::uint32_t value);
    RecordBuilder& SetI32(std::uint32_t offset, std::int32_t value);
    RecordBuilder& SetF32(std::uint32_t offset, float value);
    RecordBuilder& SetPoint(std::uint32_t offset, const QPoint& point);
    RecordBuilder& SetRect(std::uint32_t offset, const QRect& rect);
    RecordBuilder& SetUtf16(std::uint32_t offset, const QString& text, int units);

    int Size() const { return m_data.size(); }
    // Aligns, writes the size field and gives the record's bytes.
    QByteArray Finish();

private:
    QByteArray m_data;
};

std::uint32_t ReadU32(const char* data);
std::int32_t ReadI32(const char* data);
std::uint16_t ReadU16(const char* data);

}  // namespace platform::emf
