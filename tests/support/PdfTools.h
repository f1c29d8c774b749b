#pragma once

#include <QString>

// What poppler's tools read from a PDF file: its text laid out as on the page
// (pages separated by form feeds), and its document information (title,
// page count).
QString PdfText(const QString& pdf);
QString PdfInfo(const QString& pdf);
