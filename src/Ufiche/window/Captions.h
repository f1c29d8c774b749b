#pragma once

#include <QString>

class QAbstractButton;
class QFont;
class QWidget;

namespace Ufiche {

// The width that a push button or a check box leaves its caption: the
// button's inside, or what the check box leaves beside its box.
int CaptionRoom(const QAbstractButton& button);

// The largest pixel size of `font`, from `largestPixels` down to
// `smallestPixels`, at which the caption of every push button and check box
// of `form` that takes the form's font fits in its room at its present
// width.
int CaptionFontPixels(const QWidget& form, QFont font, int largestPixels, int smallestPixels);

// The width a window needs for its whole title in the title bar: the title
// as the window system shows it (followed by the application's name), in
// the title font or the application's font, whichever is wider, bold, with
// room for the window's icon and three buttons.
int TitleBarWidth(const QString& title);

// "(" + the number of characters of the separator line + ")".
QString SeparatorLengthCaption(const QString& separatorLine);

}  // namespace Ufiche
