// The preview on a printer handed to it: PDF printers of chosen paper sizes,
// so that no print service is needed.
#include "Ufiche/printing/Preview.h"

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QScrollArea>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "platform/emf/EmfPicture.h"
#include "platform/errors/PlatformError.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

class PreviewPagesTest : public testing::Test {
protected:
    void SetUp() override {
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("unused.pdf"));
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    void Generate(int questions) {
        Ufiche::MersenneRandomSource random(7);
        const auto sheet = Ufiche::BuildWorksheet(
            Uconvers::QuantityKind::Length,
            {2, questions, 4, "Titre", "Convertir en ", true, std::string(60, '-')}, random);
        Ufiche::LoadRtfIntoPane(subject, sheet.Subject);
    }
    QRect FirstPageFrame() const {
        const auto page = platform::EmfPicture::load(folder.filePath("Temp0.emf"));
        return page ? page->header().frame : QRect();
    }
    bool Exists(const char* name) const { return QFile::exists(folder.filePath(name)); }

    QTemporaryDir folder;
    QString previousFolder;
    QPrinter printer{QPrinter::HighResolution};
    bool printerMissing = false;
    QWidget owner;
    QScrollArea area{&owner};
    QLabel firstPage;
    QLabel secondPage;
    platform::TRxRichEdit subject;
    Ufiche::Preview preview{owner, area, firstPage, secondPage, [this]() -> QPrinter& {
                                if (printerMissing) {
                                    throw platform::PlatformError("Aucune imprimante");
                                }
                                return printer;
                            }};
};

TEST_F(PreviewPagesTest, PagesAreLaidOutForThePaperOfThePrinterHandedIn) {
    Generate(3);
    struct Paper {
        QPageSize::PageSizeId size;
        int minWidth, maxWidth;  // the frame, in hundredths of a millimetre
    };
    for (const Paper paper :
         {Paper{QPageSize::A4, 18000, 21001}, Paper{QPageSize::A5, 12000, 14801}}) {
        printer.setPageSize(QPageSize(paper.size));
        preview.Show(subject);
        EXPECT_EQ(FirstPageFrame(), RichEditEMFPrint::PageFrame(printer));
        EXPECT_GE(FirstPageFrame().width(), paper.minWidth);
        EXPECT_LE(FirstPageFrame().width(), paper.maxWidth);
    }
    EXPECT_FALSE(Exists("Temp1.emf"));
    EXPECT_FALSE(firstPage.pixmap().isNull());
    EXPECT_TRUE(secondPage.pixmap().isNull());
    EXPECT_TRUE(area.isVisible());
    EXPECT_TRUE(area.isWindow());
    EXPECT_EQ(area.size(), QSize(493, 497));
}

TEST_F(PreviewPagesTest, ALongSubjectGivesTwoPagesAndNoMore) {
    Generate(40);
    preview.Show(subject);
    EXPECT_TRUE(Exists("Temp0.emf"));
    EXPECT_TRUE(Exists("Temp1.emf"));
    EXPECT_FALSE(Exists("Temp2.emf"));
    EXPECT_FALSE(secondPage.pixmap().isNull());
}

TEST_F(PreviewPagesTest, WithoutAPrinterTheErrorGoesOutAndThePicturesStayEmpty) {
    Generate(40);
    preview.Show(subject);
    ASSERT_TRUE(area.isVisible());

    // An earlier preview stays on screen, emptied; its files are gone.
    printerMissing = true;
    EXPECT_THROW(preview.Show(subject), platform::PlatformError);
    EXPECT_TRUE(firstPage.pixmap().isNull());
    EXPECT_TRUE(secondPage.pixmap().isNull());
    EXPECT_FALSE(Exists("Temp0.emf"));
    EXPECT_FALSE(Exists("Temp1.emf"));
    EXPECT_TRUE(area.isVisible());

    // A hidden preview stays hidden, also for an empty subject: the printer
    // is asked for before anything else.
    preview.Hide();
    subject.clear();
    EXPECT_THROW(preview.Show(subject), platform::PlatformError);
    EXPECT_FALSE(area.isVisible());
}

}  // namespace
