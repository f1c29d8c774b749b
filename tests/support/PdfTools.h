#pragma once

#include <QString>

#include <vector>

#include "PageLines.h"

// What poppler's tools read from a PDF file: its text laid out as on the page
// (pages separated by form feeds), and its document information (title,
// page count).
QString PdfText(const QString& pdf);
QString PdfInfo(const QString& pdf);

// The words of a PDF file, placed in points (pdftotext -bbox).
std::vector<testsupport::PlacedText> PdfWords(const QString& pdf);
