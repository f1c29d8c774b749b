#pragma once

#include <QColor>
#include <QWidget>

namespace Ufiche {

// A round light drawn in its brush colour, centred in its rectangle.
class StatusLight : public QWidget {
    Q_OBJECT

public:
    explicit StatusLight(QWidget* parent = nullptr);

    void SetBrushColor(const QColor& color);
    QColor BrushColor() const { return m_brushColor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_brushColor{0, 128, 0};
};

}  // namespace Ufiche
