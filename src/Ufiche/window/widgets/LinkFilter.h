#pragma once

#include <QObject>

#include <functional>

class QLabel;

namespace Ufiche {

// Makes a label behave as a link: a hand-shaped pointer, a reaction to the
// mouse moving over it (with or without a button) and to a click, that is a
// release of the button over the label.
class LinkFilter : public QObject {
    Q_OBJECT

public:
    LinkFilter(QLabel& label, std::function<void()> onHover, std::function<void()> onClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel& m_label;
    std::function<void()> m_onHover;
    std::function<void()> m_onClick;
};

}  // namespace Ufiche
