#pragma once

#include <QRect>
#include <QSize>

namespace Ufiche {

// Which window edges a control follows when the window is resized; a control
// keeps its distance to each edge it is anchored to.
enum Anchor { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };

// The control's rectangle in a client area of `clientSize`, from its design
// rectangle in the design client area.
QRect AnchoredGeometry(const QRect& design, int anchors, const QSize& designClient,
                       const QSize& clientSize);

}  // namespace Ufiche
