#include "Ufiche/window/WindowLook.h"

#include <QComboBox>
#include <QLineEdit>

#include "Ufiche/window/Captions.h"
#include "Ufiche/window/SaveRules.h"
#include "Ufiche/window/StatusRules.h"
#include "Ufiche/window/widgets/AnchorLayout.h"
#include "platform/richedit/TRxRichEdit.h"
#include "ui_TForm1.h"

namespace Ufiche {
namespace {

const QSize kSaveNoticeSize{505, 217};

}  // namespace

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void SetBold(QWidget& widget, bool bold) {
    QFont font = widget.font();
    font.setBold(bold);
    widget.setFont(font);
}

void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = widget.palette();
    colours.setColor(role, colour);
    widget.setPalette(colours);
}

void SetFieldColour(QWidget& field, const QColor& colour) {
    SetColour(field, QPalette::Base, colour);
    if (auto* combo = qobject_cast<QComboBox*>(&field); combo && combo->lineEdit()) {
        SetColour(*combo->lineEdit(), QPalette::Base, colour);
    }
}

void ApplyFontsAndColours(QWidget& window, Ui::TForm1& ui, AnchorLayout& anchors) {
    // Arial 12 pixels high, or smaller where a button's caption would not fit
    // its width in the Arial that this system has.
    window.setFont(PixelFont("Arial", CaptionFontPixels(window, PixelFont("Arial", 12), 12, 8)));
    for (auto* pane : {ui.RxE1, ui.RxE2}) {
        pane->setFont(PixelFont("Courier New", 11));
    }

    ui.Label9->setFont(PixelFont("MS Sans Serif", 16));
    SetColour(*ui.Label9, QPalette::WindowText, QColor(0, 0, 255));
    SetColour(*ui.Label9, QPalette::Window, QColor(255, 128, 0));
    ui.Label10->setFont(PixelFont("Arial", 9));
    SetColour(*ui.Label10, QPalette::WindowText, QColor(128, 0, 0));
    SetColour(*ui.Panel3, QPalette::Window, QColor(255, 0, 0));
    SetColour(*ui.Panel4, QPalette::Window, QColor(255, 255, 255));
    ui.Label6->setFont(PixelFont("Arial", 19));
    // Labels take the size of their caption from their top-left corner, as the
    // original toolkit's do; the banner spans the window.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label != ui.Label9 && !label->text().isEmpty()) {
            label->adjustSize();
            anchors.Redesign(*label);
        }
    }

    ui.Shape1->SetBrushColor(kLightGreen);
    SetColour(*ui.pnlImage1, QPalette::Window, Qt::white);
    SetColour(*ui.pnlImage2, QPalette::Window, Qt::white);
    SetFieldColour(*ui.eTitre1, Qt::white);
    SetFieldColour(*ui.Combo1, Qt::white);
}

void ShowSaveNotice(QWidget& notice, QWidget& window) {
    notice.move(SaveNoticePosition(window.size(), kSaveNoticeSize));
    notice.show();
    notice.raise();
    notice.repaint();
    window.repaint();
}

}  // namespace Ufiche
