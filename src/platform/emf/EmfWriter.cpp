#include "platform/emf/EmfWriter.h"

#include "platform/emf/EmfEncoders.h"
#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfPaintEngine.h"
#include "platform/units/PageUnits.h"

#include <climits>

namespace platform {

using namespace emf;

namespace {

// Without a reference device: a 96 dpi A4 sheet.
constexpr int kDefaultDpi = 96;
constexpr int kA4WidthMm = 210;
constexpr int kA4HeightMm = 297;

}  // namespace

EmfWriter::EmfWriter(const QString& fileName, const QPaintDevice* reference, const QRect& frame01mm)
    : m_file(fileName), m_frame(frame01mm) {
    if (reference) {
        m_devicePixels = QSize(reference->width(), reference->height());
        m_deviceMillimetres = QSize(reference->widthMM(), reference->heightMM());
        m_dpiX = reference->logicalDpiX();
        m_dpiY = reference->logicalDpiY();
        m_physicalDpiX = reference->physicalDpiX();
        m_physicalDpiY = reference->physicalDpiY();
    } else {
        m_devicePixels = QSize(MillimetresToPixels(kA4WidthMm, kDefaultDpi),
                               MillimetresToPixels(kA4HeightMm, kDefaultDpi));
        m_deviceMillimetres = QSize(kA4WidthMm, kA4HeightMm);
        m_dpiX = m_dpiY = m_physicalDpiX = m_physicalDpiY = kDefaultDpi;
    }
    // A device that reports no size in millimetres still needs a pixel
    // size on paper: take it from its resolution.
    if (m_deviceMillimetres.width() <= 0 || m_deviceMillimetres.height() <= 0) {
        m_deviceMillimetres = QSize(PixelsToMillimetres(m_devicePixels.width(), m_dpiX),
                                    PixelsToMillimetres(m_devicePixels.height(), m_dpiY));
    }
    // Without a frame of its own the picture is the device's whole page.
    if (m_frame.right() <= m_frame.left() || m_frame.bottom() <= m_frame.top()) {
        m_frame = QRect(QPoint(0, 0), QPoint(m_deviceMillimetres.width() * 100,
                                             m_deviceMillimetres.height() * 100));
    }
    const QSizeF hundredthsMmPerPixel(
        m_devicePixels.width() > 0 ? 100.0 * m_deviceMillimetres.width() / m_devicePixels.width()
                                   : HundredthsMmPerPixel(m_dpiX),
        m_devicePixels.height() > 0 ? 100.0 * m_deviceMillimetres.height() / m_devicePixels.height()
                                    : HundredthsMmPerPixel(m_dpiY));
    m_engine = std::make_unique<EmfPaintEngine>(this, hundredthsMmPerPixel);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Nothing will be recorded: a painter cannot even begin.
        m_engine->Finish();
        m_closed = true;
    }
}

EmfWriter::~EmfWriter() {
    Close();
}

bool EmfWriter::IsValid() const {
    return !m_closed;
}

bool EmfWriter::Close() {
    if (m_closed) {
        return m_written;
    }
    m_closed = true;
    const EmfPaintEngine::Recording recording = m_engine->Finish();
    const QRect bounds =
        recording.bounds.isValid() ? recording.bounds : QRect(QPoint(0, 0), QPoint(-1, -1));
    const std::uint32_t totalBytes =
        kHeaderSize + static_cast<std::uint32_t>(recording.records.size());
    QByteArray bytes = HeaderRecord({bounds, m_frame, totalBytes, recording.recordCount + 1,
                                     recording.handleCount, m_devicePixels, m_deviceMillimetres});
    bytes.append(recording.records);
    m_written = m_file.write(bytes) == bytes.size() && m_file.flush();
    m_file.close();
    m_written = m_written && m_file.error() == QFileDevice::NoError;
    return m_written;
}

QPaintEngine* EmfWriter::paintEngine() const {
    return m_engine.get();
}

int EmfWriter::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return m_devicePixels.width();
        case PdmHeight:
            return m_devicePixels.height();
        case PdmWidthMM:
            return m_deviceMillimetres.width();
        case PdmHeightMM:
            return m_deviceMillimetres.height();
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
            return m_dpiX;
        case PdmDpiY:
            return m_dpiY;
        case PdmPhysicalDpiX:
            return m_physicalDpiX;
        case PdmPhysicalDpiY:
            return m_physicalDpiY;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

}  // namespace platform
