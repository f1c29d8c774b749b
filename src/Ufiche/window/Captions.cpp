#include "Ufiche/window/Captions.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace Ufiche {
namespace {

// A title bar's icon and three buttons at the 46 pixels that Windows 10 and
// 11 give each, the widest among the common desktops.
constexpr int kTitleBarRoom = 4 * 46;

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

int TitleBarWidth(const QString& title) {
    // The window system shows a title followed by the application's display
    // name. Where none was set, Qt gives the application's name instead, and
    // the width comes out larger than needed, which does no harm.
    QString shown = title;
    const QString application = QGuiApplication::applicationDisplayName();
    if (!application.isEmpty() && !shown.endsWith(application)) {
        shown += QStringLiteral(" \u2014 ") + application;
    }
    // Desktops without a title font of their own draw titles in their
    // interface font, which the application's font follows; many draw them
    // bold.
    int widest = 0;
    for (QFont font : {QFontDatabase::systemFont(QFontDatabase::TitleFont), QApplication::font()}) {
        font.setBold(true);
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(shown));
    }
    return widest + kTitleBarRoom;
}

QString SeparatorLengthCaption(const QString& separatorLine) {
    return "(" + QString::number(separatorLine.size()) + ")";
}

}  // namespace Ufiche
