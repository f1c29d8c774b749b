#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "Ufiche/window/Captions.h"
#include "Ufiche/window/TForm1.h"

namespace {

// Every caption of the window is whole on the screen: a label is as large as
// its caption and leaves its neighbours alone; a button's caption fits inside
// its frame, a check box's beside its box. Measured in each control's own font
// (the Liberation fonts stand in for Arial).
TEST(Captions, EveryLabelAndButtonShowsItsWholeCaption) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    int checked = 0;
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) {
            continue;
        }
        ++checked;
        const std::string name = label->objectName().toStdString();
        const QSizeF caption = QFontMetricsF(label->font())
                                   .boundingRect(QRectF(), label->alignment(), label->text())
                                   .size();
        EXPECT_LE(caption.width(), label->contentsRect().width()) << name;
        EXPECT_LE(caption.height(), label->contentsRect().height()) << name;
        for (QObject* other : label->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(other);
            if (sibling && sibling != label && sibling->isVisible() && label->isVisible()) {
                EXPECT_FALSE(label->geometry().intersects(sibling->geometry()))
                    << name << " overlaps " << sibling->objectName().toStdString();
            }
        }
    }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        ++checked;
        const QStyle& style = *button->style();
        int room = button->width() - 2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth);
        if (qobject_cast<QCheckBox*>(button)) {
            room = button->width() - style.pixelMetric(QStyle::PM_IndicatorWidth) -
                   style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        }
        EXPECT_LE(QFontMetricsF(button->font()).horizontalAdvance(button->text()), room)
            << button->objectName().toStdString();
    }
    EXPECT_GE(checked, 20);
    // Still Arial-sized text, not shrunk to make room.
    EXPECT_GE(form.font().pixelSize(), 11);
}

// Buttons whose room is exactly as wide as their shown caption at a given
// pixel size (a mnemonic's "&" is not drawn): the caption font is the largest
// size at which every caption fits.
TEST(Captions, TheCaptionFontIsTheLargestSizeAtWhichEveryCaptionFits) {
    const struct {
        std::vector<std::tuple<QString, QString, int>> buttons;  // caption, shown, full at
        int expected;
    } cases[] = {
        {{{"Imprimer", "Imprimer", 14}}, 14},
        {{{"&Enregistrer", "Enregistrer", 14}}, 14},
        {{{"Imprimer", "Imprimer", 14}, {"Corrig\u00e9s", "Corrig\u00e9s", 12}}, 12},
    };
    for (const auto& c : cases) {
        QWidget form;
        for (const auto& [caption, shown, fullAt] : c.buttons) {
            auto* button = new QPushButton(caption, &form);
            QFont font = form.font();
            font.setPixelSize(fullAt);
            const int width = QFontMetrics(font).horizontalAdvance(shown);
            button->resize(200, 30);
            button->resize(width + 200 - Ufiche::CaptionRoom(*button), 30);
            ASSERT_EQ(Ufiche::CaptionRoom(*button), width);
        }
        EXPECT_EQ(Ufiche::CaptionFontPixels(form, form.font(), 20, 8), c.expected)
            << std::get<0>(c.buttons.front()).toStdString();
    }
}

}  // namespace
