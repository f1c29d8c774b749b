#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace Ufiche {

// The anchored controls of a window with their design rectangles: on each
// resize of the window every control keeps its distance to the edges it is
// anchored to (Qt's layouts would move controls away from their positions).
class AnchorLayout {
public:
    struct Anchoring {
        const char* name;  // the control's object name
        int anchors;       // Anchor flags
    };

    // The main window's anchored controls, at its design client size.
    explicit AnchorLayout(QWidget& window);

    // Records the current rectangle of each named child of `window` as its
    // design rectangle; names without a child are skipped.
    AnchorLayout(QWidget& window, const QSize& designClientSize,
                 const std::vector<Anchoring>& controls);

    // Takes the control's current rectangle as its design rectangle, when it
    // is one of the anchored controls (a label sized to its caption).
    void Redesign(const QWidget& control);

    // Places every anchored control for the window's client size.
    void Place(const QSize& clientSize) const;

private:
    struct Entry {
        QPointer<QWidget> control;
        int anchors;
        QRect design;
    };
    QSize m_designClientSize;
    std::vector<Entry> m_entries;
};

}  // namespace Ufiche
