#include "EmfTestPage.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace emftest {

void DrawTestPage(QPaintDevice& device) {
    QPainter painter(&device);
    QFont title(QStringLiteral("Arial"));
    title.setPointSize(14);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(kTitleBaseline, QStringLiteral("Conversions"));

    QFont body(QStringLiteral("Times New Roman"));
    body.setPointSize(12);
    body.setItalic(true);
    painter.setFont(body);
    painter.drawText(kBodyBaseline, QStringLiteral("Convertir en mètre"));

    QFont marked(QStringLiteral("Arial"));
    marked.setPointSize(9);
    marked.setUnderline(true);
    painter.setFont(marked);
    painter.drawText(QPoint(600, 1500), QStringLiteral("Nom :"));
    marked.setUnderline(false);
    marked.setStrikeOut(true);
    painter.setFont(marked);
    painter.setPen(QColor(0xC0, 0, 0));
    painter.drawText(QPoint(1600, 1500), QStringLiteral("barré"));

    painter.fillRect(kHighlight, Qt::yellow);
    painter.setPen(Qt::black);
    marked.setStrikeOut(false);
    painter.setFont(marked);
    painter.drawText(QPoint(kHighlight.left() + 20, kHighlight.bottom() - 30),
                     QStringLiteral("2 500 m"));

    painter.setPen(QPen(Qt::blue, 6));
    painter.drawLine(QPoint(500, 2500), QPoint(4400, 2500));
    painter.drawRect(QRect(500, 2700, 1000, 500));
    painter.setBrush(Qt::green);
    painter.drawPolygon(QPolygon({QPoint(2000, 2700), QPoint(2500, 3200), QPoint(1500, 3200)}));
}

QByteArray ReadAll(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

}  // namespace emftest
