#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "FuzzTargets.h"
#include "platform/emf/EmfPicture.h"

// A page file read back from disk, as the preview loads it: refused when it is
// not a well-formed metafile, played into a picture otherwise.
int FuzzEmfPlayer(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto picture = platform::EmfPicture::FromData(bytes)) {
        picture->ToImage(QSize(42, 59));
    }
    return 0;
}
