#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTextFormat>

#include "platform/units/PageUnits.h"

// What the panes keep of the document model beyond Qt's own formats, and the
// unit in which a QTextDocument measures tables.
namespace platform {

// Block format: the paragraph stays on the page of what follows it.
inline constexpr int kKeepWithNextProperty = QTextFormat::UserProperty + 1;
// Table cell format: the cell's row is never split across two pages.
inline constexpr int kRowKeepTogetherProperty = QTextFormat::UserProperty + 2;
// Table cell format: a cell that only fills the grid to the right of a row
// narrower than the table, with no counterpart in the document.
inline constexpr int kGridFillerProperty = QTextFormat::UserProperty + 3;
// Block format: the empty block that Qt keeps before a table which starts a
// document or a cell, or follows another table; no paragraph of the document.
inline constexpr int kTablePlaceholderProperty = QTextFormat::UserProperty + 4;

// The pixels in which a QTextDocument takes fixed lengths (column widths,
// paddings, borders): the screen's logical ones, which the layout scales to
// the resolution of the device it lays out for, as it does font sizes.
inline qreal DocumentPixelsPerInch() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) {
        return 96;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        return qRound(screen->logicalDotsPerInchY());
    }
    return 100;
}

inline qreal TwipsToDocumentPixels(int twips) {
    return static_cast<qreal>(twips) * DocumentPixelsPerInch() / kTwipsPerInch;
}

inline int DocumentPixelsToTwips(qreal pixels) {
    return qRound(pixels * kTwipsPerInch / DocumentPixelsPerInch());
}

}  // namespace platform
