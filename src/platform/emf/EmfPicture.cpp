#include "platform/emf/EmfPicture.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfPlayer.h"
#include "platform/emf/EmfRecords.h"

#include <QFile>
#include <QPainter>

namespace platform {

using namespace emf;

namespace {

// Larger files are not pages of this program; reading them would only cost
// memory.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

std::optional<EmfHeader> ReadHeader(const QByteArray& data) {
    namespace at = emrHeader;
    if (data.size() < static_cast<qsizetype>(kMinimumHeaderSize)) {
        return std::nullopt;
    }
    const RecordView record(data.constData(), static_cast<std::uint32_t>(kMinimumHeaderSize));
    const std::uint32_t size = record.U32(emrRecord::kSize);
    if (record.Type() != EMR_HEADER || size < kMinimumHeaderSize || size % 4 != 0 ||
        size > static_cast<std::uint64_t>(data.size()) ||
        record.U32(at::kSignature) != kSignature) {
        return std::nullopt;
    }
    EmfHeader header;
    header.bounds = record.Rect(at::kBounds);
    header.frame = record.Rect(at::kFrame);
    header.bytes = record.U32(at::kBytes);
    header.records = record.U32(at::kRecords);
    header.handles = record.U16(at::kHandles);
    header.devicePixels = QSize(record.I32(at::kDevicePixels), record.I32(at::kDevicePixels + 4));
    header.deviceMillimetres =
        QSize(record.I32(at::kDeviceMillimetres), record.I32(at::kDeviceMillimetres + 4));
    if (header.bytes < size || header.bytes > static_cast<std::uint64_t>(data.size()) ||
        header.devicePixels.width() <= 0 || header.devicePixels.height() <= 0 ||
        header.deviceMillimetres.width() <= 0 || header.deviceMillimetres.height() <= 0 ||
        header.frame.left() >= header.frame.right() ||
        header.frame.top() >= header.frame.bottom()) {
        return std::nullopt;
    }
    return header;
}

// Whether the records after the header form a chain that stays inside the
// picture's bytes and ends with EMR_EOF.
bool RecordsAreWhole(const QByteArray& data, const EmfHeader& header) {
    std::uint64_t offset = ReadU32(data.constData() + emrRecord::kSize);
    while (offset + emrRecord::kMinimumSize <= header.bytes) {
        const std::uint32_t type = ReadU32(data.constData() + offset + emrRecord::kType);
        const std::uint32_t size = ReadU32(data.constData() + offset + emrRecord::kSize);
        if (size < emrRecord::kMinimumSize || size % 4 != 0 || size > header.bytes - offset) {
            return false;
        }
        if (type == EMR_EOF) {
            return true;
        }
        offset += size;
    }
    return false;
}

}  // namespace

EmfPicture::EmfPicture(QByteArray data, const EmfHeader& header)
    : m_data(std::move(data)), m_header(header) {}

std::optional<EmfPicture> EmfPicture::FromData(const QByteArray& data) {
    const std::optional<EmfHeader> header = ReadHeader(data);
    if (!header || !RecordsAreWhole(data, *header)) {
        return std::nullopt;
    }
    return EmfPicture(data, *header);
}

std::optional<EmfPicture> EmfPicture::Load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    return FromData(file.readAll());
}

void EmfPicture::Play(QPainter& painter, const QRectF& target) const {
    // Device pixels -> hundredths of a millimetre -> the frame stretched
    // over the target.
    const QRect& frame = m_header.frame;
    // In floating point: the corners of a damaged frame can be far enough
    // apart to overflow an int.
    const qreal frameWidth = qreal(frame.right()) - qreal(frame.left());
    const qreal frameHeight = qreal(frame.bottom()) - qreal(frame.top());
    QTransform mapping;
    mapping.translate(target.left(), target.top());
    mapping.scale(target.width() / frameWidth, target.height() / frameHeight);
    mapping.translate(-qreal(frame.left()), -qreal(frame.top()));
    mapping.scale(100.0 * m_header.deviceMillimetres.width() / m_header.devicePixels.width(),
                  100.0 * m_header.deviceMillimetres.height() / m_header.devicePixels.height());

    painter.save();
    painter.setTransform(mapping, true);
    Player player(painter, m_header.handles);
    std::uint64_t offset = ReadU32(m_data.constData() + emrRecord::kSize);
    while (offset + emrRecord::kMinimumSize <= m_header.bytes) {
        const std::uint32_t size = ReadU32(m_data.constData() + offset + emrRecord::kSize);
        const RecordView record(m_data.constData() + offset, size);
        if (record.Type() == EMR_EOF) {
            break;
        }
        player.Play(record);
        offset += size;
    }
    painter.restore();
}

QImage EmfPicture::ToImage(const QSize& size) const {
    if (size.isEmpty()) {
        return QImage();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage RenderEmfFile(const QString& fileName, const QSize& size) {
    const std::optional<EmfPicture> picture = EmfPicture::Load(fileName);
    return picture ? picture->ToImage(size) : QImage();
}

}  // namespace platform
