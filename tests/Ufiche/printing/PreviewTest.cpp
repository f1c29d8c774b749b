// The preview of the subject's first pages, through the window's "A" button,
// on the private scheduler's printer (see CupsPrintTest.cpp for the main).
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include "PrivateCups.h"
#include "Ufiche/window/TForm1.h"
#include "platform/emf/EmfPicture.h"
#include "platform/errors/ErrorReport.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"

extern PrivateCups* scheduler;
extern QString whyNoScheduler;

namespace {

class PreviewTest : public testing::Test {
protected:
    void SetUp() override {
        if (scheduler == nullptr) {
            GTEST_SKIP() << "no private CUPS scheduler here: " << whyNoScheduler.toStdString();
        }
        ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
        platform::CurrentPrinter::Instance().Reset();
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        m_form.SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        m_form.show();
    }
    void TearDown() override {
        QDir::setCurrent(m_previousFolder);
        platform::SetErrorPresenter(nullptr);
    }

    void Generate(int questions, int lineSpacing) {
        m_form.findChild<QSpinBox*>("spMaxLigne")->setValue(questions);
        m_form.findChild<QSpinBox*>("spinterligne")->setValue(lineSpacing);
        m_form.btnLongClick();
    }
    QStringList Files() const {
        QStringList files = QDir(m_folder.path()).entryList(QDir::Files);
        std::sort(files.begin(), files.end());  // by code point, whatever the locale
        return files;
    }
    QLabel& Picture(const char* name) { return *m_form.findChild<QLabel*>(name); }
    QScrollArea& Preview() { return *m_form.findChild<QScrollArea*>("ScrollBox1"); }

    // Dark pixels on a page picture: where text is drawn.
    static int Ink(const QImage& image) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return ink;
    }

    QTemporaryDir m_folder;
    QString m_previousFolder;
    Ufiche::TForm1 m_form;
    QStringList m_errors;
};

TEST_F(PreviewTest, AOnePageSubjectWritesOnlyTheFirstPage) {
    Generate(3, 0);
    m_form.findChild<QPushButton*>("btnApercu")->click();
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
    EXPECT_EQ(Files(), (QStringList{"TWFile.txt", "Temp0.emf"}));
    EXPECT_EQ(QFile(m_folder.filePath("TWFile.txt")).size(), 0);
    const auto page = platform::EmfPicture::Load(m_folder.filePath("Temp0.emf"));
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->Header().frame.left(), 0);
    EXPECT_GT(page->Header().frame.width(), 18000);  // a sheet, in hundredths of a mm
    EXPECT_GT(Ink(Picture("Image1").pixmap().toImage()), 100);
    EXPECT_TRUE(Picture("Image2").pixmap().isNull());
    EXPECT_TRUE(Preview().isVisible());
    EXPECT_TRUE(Preview().isWindow());
    EXPECT_EQ(Preview().size(), QSize(493, 497));
    EXPECT_EQ(Preview().verticalScrollBar()->value(), 0);
}

TEST_F(PreviewTest, ALongSubjectGivesTwoPagesAndAShorterOneRemovesTheSecond) {
    Generate(40, 4);
    m_form.findChild<QPushButton*>("btnApercu")->click();
    EXPECT_TRUE(QFile::exists(m_folder.filePath("Temp0.emf")));
    EXPECT_TRUE(QFile::exists(m_folder.filePath("Temp1.emf")));
    EXPECT_FALSE(QFile::exists(m_folder.filePath("Temp2.emf")));
    EXPECT_GT(Ink(Picture("Image2").pixmap().toImage()), 100);

    // A closed preview comes back where it was, without re-centring.
    Preview().close();
    Preview().move(10, 20);
    const QPoint where = Preview().pos();
    Generate(2, 0);
    EXPECT_FALSE(Preview().isVisible());
    m_form.findChild<QPushButton*>("btnApercu")->click();
    EXPECT_FALSE(QFile::exists(m_folder.filePath("Temp1.emf")));
    EXPECT_TRUE(Picture("Image2").pixmap().isNull());
    EXPECT_EQ(Preview().pos(), where);

    // The close of the window takes the preview's files away.
    m_form.close();
    EXPECT_EQ(Files(), QStringList{"fiches-conversions.ini"});
}

TEST_F(PreviewTest, WithoutAPrinterThePreviewStaysHiddenAndSaysWhy) {
    scheduler->RemoveQueue("salle_info");
    Generate(3, 0);
    m_form.findChild<QPushButton*>("btnApercu")->click();
    EXPECT_EQ(m_errors, QStringList{"Aucune imprimante par d\u00e9faut s\u00e9lectionn\u00e9e"});
    EXPECT_FALSE(Preview().isVisible());
    EXPECT_FALSE(QFile::exists(m_folder.filePath("Temp0.emf")));
}

TEST_F(PreviewTest, AFolderThatCannotBeWrittenLeavesEverythingAsItWas) {
    Generate(3, 0);
    // A current folder that no longer exists takes no file, whoever asks.
    QDir(m_folder.path()).mkdir("parti");
    QDir::setCurrent(m_folder.filePath("parti"));
    QDir(m_folder.path()).rmdir("parti");
    m_form.findChild<QPushButton*>("btnApercu")->click();
    EXPECT_FALSE(Preview().isVisible());
    EXPECT_TRUE(m_errors.isEmpty());
}

}  // namespace
