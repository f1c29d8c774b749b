#include "Ufiche/window/Captions.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace Ufiche {
namespace {

QString ShownCaption(const QAbstractButton& button) {
    QString caption = button.text();
    return caption.remove(QLatin1Char('&'));  // a mnemonic's marker is not drawn
}

}  // namespace

int CaptionRoom(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool checkBox = qobject_cast<const QCheckBox*>(&button) != nullptr;
    const QStyle::SubElement inside =
        checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents;
    return button.style()->subElementRect(inside, &option, &button).width();
}

int CaptionFontPixels(const QWidget& form, QFont font, int largestPixels, int smallestPixels) {
    const auto buttons = form.findChildren<QAbstractButton*>();
    for (int pixels = largestPixels; pixels > smallestPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        const bool allFit = std::all_of(buttons.begin(), buttons.end(), [&](QAbstractButton* b) {
            const bool ownFont = b->testAttribute(Qt::WA_SetFont);
            return ownFont || metrics.horizontalAdvance(ShownCaption(*b)) <= CaptionRoom(*b);
        });
        if (allFit) {
            return pixels;
        }
    }
    return smallestPixels;
}

}  // namespace Ufiche
