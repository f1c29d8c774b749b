#pragma once

#include <QFile>
#include <QPaintDevice>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

namespace platform {

class EmfPaintEngine;

// An Enhanced Metafile file that a QPainter draws on. The painter works in
// the pixels of the reference device (its resolution, size and font
// metrics), so that a document laid out for a printer lands on the page
// where the printer would put it; the file keeps those pixels as its logical
// units and records the reference device's size in pixels and millimetres,
// which tells every reader how large a pixel is. The frame, in hundredths of
// a millimetre, is the picture's extent on paper.
//
// The file is created at construction (check IsValid()); the drawing is
// written when Close() is called or the writer is destroyed.
class EmfWriter : public QPaintDevice {
public:
    // `reference` may be null: the device is then a 96 dpi A4 page. The
    // frame's left(), top(), right() and bottom() are stored as they are:
    // a page of W x H millimetres is QRect(QPoint(0, 0), QPoint(W * 100, H * 100)).
    // An empty frame stands for the device's whole page. Clipping, opacity
    // and pictures (pixmaps, images) are not recorded.
    EmfWriter(const QString& fileName, const QPaintDevice* reference, const QRect& frame01mm);
    ~EmfWriter() override;

    EmfWriter(const EmfWriter&) = delete;
    EmfWriter& operator=(const EmfWriter&) = delete;

    // Whether the file could be created and is still open for the drawing.
    bool IsValid() const;
    // Writes the header, the records and the end record, and closes the
    // file. Returns false when the file could not be created or written.
    // Drawing after Close() is not recorded.
    bool Close();

    QString FileName() const { return m_file.fileName(); }
    QRect Frame() const { return m_frame; }
    QSize DeviceSizePixels() const { return m_devicePixels; }
    QSize DeviceSizeMillimetres() const { return m_deviceMillimetres; }

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QFile m_file;
    QRect m_frame;
    QSize m_devicePixels;
    QSize m_deviceMillimetres;
    int m_dpiX;
    int m_dpiY;
    int m_physicalDpiX;
    int m_physicalDpiY;
    std::unique_ptr<EmfPaintEngine> m_engine;
    bool m_closed = false;
    bool m_written = false;
};

}  // namespace platform
