#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class AnchorLayout;
class QWidget;

namespace Ui {
class TForm1;
}

namespace Ufiche {

// The background of a text field while it has the focus.
inline const QColor kEntryColour{255, 255, 232};

// A font of `pixels` pixels high, whatever the screen's density.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

void SetBold(QWidget& widget, bool bold);

void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour);

// The background of a text field; an editable combo box's line edit takes it
// too.
void SetFieldColour(QWidget& field, const QColor& colour);

// The fonts and colours of the window's controls. Labels are then sized to
// their captions, and an anchored label keeps that size as its design size.
void ApplyFontsAndColours(QWidget& window, Ui::TForm1& ui, AnchorLayout& anchors);

// Shows the notice centred over the window and paints it and the window at
// once, so that it stands while the settings are written on a slow medium.
void ShowSaveNotice(QWidget& notice, QWidget& window);

}  // namespace Ufiche
