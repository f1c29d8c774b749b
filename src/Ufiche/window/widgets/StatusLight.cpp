#include "Ufiche/window/widgets/StatusLight.h"

#include <QPainter>

namespace Ufiche {

StatusLight::StatusLight(QWidget* parent) : QWidget(parent) {}

void StatusLight::SetBrushColor(const QColor& color) {
    if (color != m_brushColor) {
        m_brushColor = color;
        update();
    }
}

void StatusLight::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_brushColor);
    const int diameter = std::min(width(), height()) - 1;
    painter.drawEllipse(
        QRectF((width() - diameter) / 2.0, (height() - diameter) / 2.0, diameter, diameter));
}

}  // namespace Ufiche
