#pragma once

#include <QString>

#include "PrivateCups.h"
#include "XDesktop.h"

// Started by the main of the desktop tests, for the whole run.
extern XDesktop* desktop;
extern PrivateCups* scheduler;  // null when this machine runs no scheduler
extern QString whyNoScheduler;

#include <QRect>

#include <ostream>

// Readable rectangles and texts in the failure messages.
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
}
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
