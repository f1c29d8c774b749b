#include "Ufiche/window/widgets/Anchors.h"

namespace Ufiche {

QRect AnchoredGeometry(const QRect& design, int anchors, const QSize& designClient,
                       const QSize& clientSize) {
    const int dx = clientSize.width() - designClient.width();
    const int dy = clientSize.height() - designClient.height();
    QRect rect = design;
    if ((anchors & AnchorRight) != 0) {
        if ((anchors & AnchorLeft) != 0) {
            rect.setWidth(design.width() + dx);
        } else {
            rect.moveLeft(design.left() + dx);
        }
    }
    if ((anchors & AnchorBottom) != 0) {
        if ((anchors & AnchorTop) != 0) {
            rect.setHeight(design.height() + dy);
        } else {
            rect.moveTop(design.top() + dy);
        }
    }
    return rect;
}

}  // namespace Ufiche
