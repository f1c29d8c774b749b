#include "Ufiche/window/FieldFocus.h"

#include <QEvent>
#include <QWidget>

#include "Ufiche/window/WindowLook.h"

namespace Ufiche {
namespace {

class FocusColours : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
            SetFieldColour(*static_cast<QWidget*>(watched),
                           type == QEvent::FocusIn ? kEntryColour : QColor(Qt::white));
        }
        return false;
    }
};

}  // namespace

void PaintFieldsOnFocus(QWidget& owner, std::initializer_list<QWidget*> fields) {
    auto* colours = new FocusColours(&owner);
    for (QWidget* field : fields) {
        field->installEventFilter(colours);
    }
}

}  // namespace Ufiche
