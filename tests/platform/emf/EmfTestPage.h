#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include "A4Device.h"

// What the metafile tests share: a printer-like reference device and a
// page drawn with several fonts, a highlight and lines.
namespace emftest {

// The printer that metafiles are made for.
using ReferenceDevice = testsupport::A4Device;
inline constexpr int kDpi = ReferenceDevice::kDpi;
// The description's frame for a 210 x 297 mm page.
inline const QRect kA4Frame(QPoint(0, 0), QPoint(21000, 29700));

// Where the test page puts things, in device pixels of ReferenceDevice.
inline const QRect kHighlight(600, 1800, 1400, 150);
inline const QPoint kTitleBaseline(600, 600);
inline const QPoint kBodyBaseline(600, 1200);

// Draws the test page on `device`: a bold title, an italic line in another
// family, an underlined and a struck-out word, a yellow highlight with a
// word on it, a frame of lines and a filled triangle.
void DrawTestPage(QPaintDevice& device);

QByteArray ReadAll(const QString& fileName);

}  // namespace emftest
