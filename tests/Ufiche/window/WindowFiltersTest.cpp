// The event filters that give the window's controls their behaviour.
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "Ufiche/window/widgets/LinkFilter.h"
#include "Ufiche/window/widgets/ViewModeFilter.h"

namespace {

void SelectAll(QTextEdit& pane) {
    QTextCursor cursor = pane.textCursor();
    cursor.select(QTextCursor::Document);
    pane.setTextCursor(cursor);
}

// A move with the button held, which the pane itself takes for no
// selection of its own.
void DragOver(QTextEdit& pane) {
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, pane.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane.viewport(), &move);
    QCoreApplication::processEvents();
}

TEST(ViewModeFilter, AnEventOnOnePaneCollapsesOnlyItsSelectionAndOnlyOutsideEditMode) {
    QWidget window;
    window.setWindowTitle("abc");
    QTextEdit subject("0123456789", &window);
    QTextEdit answerKey("0123456789", &window);
    bool editMode = false;
    for (QTextEdit* pane : {&subject, &answerKey}) {
        new Ufiche::ViewModeFilter(*pane, window, [&] { return editMode; });  // owned by the pane
        SelectAll(*pane);
    }

    DragOver(subject);
    EXPECT_FALSE(subject.textCursor().hasSelection());
    EXPECT_EQ(subject.textCursor().position(), 3);  // the title's length
    EXPECT_TRUE(answerKey.textCursor().hasSelection());

    editMode = true;
    SelectAll(subject);
    DragOver(subject);
    EXPECT_TRUE(subject.textCursor().hasSelection());
}

TEST(LinkFilter, AMoveOverTheLinkHoversAndOnlyAReleaseOverItClicks) {
    QLabel link("Consultez");
    link.resize(100, 20);
    int hovers = 0;
    int clicks = 0;
    new Ufiche::LinkFilter(
        link, [&] { ++hovers; }, [&] { ++clicks; });  // owned by the label
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(link.hasMouseTracking());

    struct Case {
        QEvent::Type type;
        QPointF at;
        int hovers;
        int clicks;
    };
    const Case cases[] = {
        {QEvent::MouseMove, {5, 5}, 1, 0},
        {QEvent::MouseButtonPress, {5, 5}, 1, 0},
        {QEvent::MouseButtonRelease, {5, 5}, 1, 1},
        {QEvent::MouseButtonRelease, {150, 5}, 1, 1},  // released beside the link
        {QEvent::MouseMove, {99, 19}, 2, 1},
    };
    for (const Case& c : cases) {
        const Qt::MouseButton button = c.type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = c.type == QEvent::MouseButtonPress ? button : Qt::NoButton;
        QMouseEvent event(c.type, c.at, link.mapToGlobal(c.at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&link, &event);
        EXPECT_EQ(hovers, c.hovers);
        EXPECT_EQ(clicks, c.clicks);
    }
}

}  // namespace
