#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

class QPainter;

namespace platform {

// What the first record of an Enhanced Metafile says about the picture.
struct EmfHeader {
    QRect bounds;  // device units, both corners inside
    QRect frame;   // hundredths of a millimetre, as stored
    std::uint32_t bytes = 0;
    std::uint32_t records = 0;
    std::uint16_t handles = 0;
    QSize devicePixels;
    QSize deviceMillimetres;
};

// An Enhanced Metafile read into memory and checked: a header that makes
// sense and a chain of records, each inside the data and a multiple of 4
// bytes long, that ends with EMR_EOF. Only such a picture can be made, so
// that playing it never reads past its data; a record whose fields do not
// fit in it, an unknown record or an object that is not in the table is
// passed over when the picture is played.
class EmfPicture {
public:
    // Nothing when the data is not a well-formed metafile.
    static std::optional<EmfPicture> FromData(const QByteArray& data);
    // Nothing when the file cannot be read or is not a well-formed metafile.
    static std::optional<EmfPicture> Load(const QString& fileName);

    const EmfHeader& Header() const { return m_header; }

    // Draws the picture with its frame mapped onto `target`, in the
    // painter's current coordinates. The painter's state is left as it was.
    void Play(QPainter& painter, const QRectF& target) const;

    // The picture stretched over a white image of `size`.
    QImage ToImage(const QSize& size) const;

private:
    EmfPicture(QByteArray data, const EmfHeader& header);

    QByteArray m_data;
    EmfHeader m_header;
};

// The metafile `fileName` drawn into a white image of `size`; a null image
// when the file cannot be read or is not a well-formed metafile.
QImage RenderEmfFile(const QString& fileName, const QSize& size);

}  // namespace platform
