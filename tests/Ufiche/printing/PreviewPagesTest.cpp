// The preview on a printer handed to it: PDF printers of chosen paper sizes,
// so that no print service is needed.
#include "Ufiche/printing/Preview.h"

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QScrollArea>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/window/WindowLook.h"
#include "platform/emf/EmfPicture.h"
#include "platform/errors/PlatformError.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

class PreviewPagesTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_folder.filePath("unused.pdf"));
    }
    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    void Generate(int questions) {
        Ufiche::MersenneRandomSource random(7);
        const auto sheet = Ufiche::BuildWorksheet(
            Uconvers::QuantityKind::Length,
            {2, questions, 4, "Titre", "Convertir en ", true, std::string(60, '-')}, random);
        Ufiche::LoadRtfIntoPane(m_subject, sheet.Subject);
    }
    QRect FirstPageFrame() const {
        const auto page = platform::EmfPicture::Load(m_folder.filePath("Temp0.emf"));
        return page ? page->Header().frame : QRect();
    }
    bool Exists(const char* name) const { return QFile::exists(m_folder.filePath(name)); }

    QTemporaryDir m_folder;
    QString m_previousFolder;
    QPrinter m_printer{QPrinter::HighResolution};
    bool m_printerMissing = false;
    QWidget m_owner;
    QScrollArea m_area{&m_owner};
    QLabel m_firstPage;
    QLabel m_secondPage;
    platform::TRxRichEdit m_subject;
    Ufiche::Preview m_preview{m_owner, m_area, m_firstPage, m_secondPage, [this]() -> QPrinter& {
                                  if (m_printerMissing) {
                                      throw platform::PlatformError("Aucune imprimante");
                                  }
                                  return m_printer;
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
        m_printer.setPageSize(QPageSize(paper.size));
        m_preview.Show(m_subject);
        EXPECT_EQ(FirstPageFrame(), RichEditEMFPrint::PageFrame(m_printer));
        EXPECT_GE(FirstPageFrame().width(), paper.minWidth);
        EXPECT_LE(FirstPageFrame().width(), paper.maxWidth);
    }
    EXPECT_FALSE(Exists("Temp1.emf"));
    EXPECT_FALSE(m_firstPage.pixmap().isNull());
    EXPECT_TRUE(m_secondPage.pixmap().isNull());
    EXPECT_TRUE(m_area.isVisible());
    EXPECT_TRUE(m_area.isWindow());
    EXPECT_EQ(m_area.size(), QSize(493, 497));
}

TEST_F(PreviewPagesTest, ALongSubjectGivesTwoPagesAndNoMore) {
    Generate(40);
    m_preview.Show(m_subject);
    EXPECT_TRUE(Exists("Temp0.emf"));
    EXPECT_TRUE(Exists("Temp1.emf"));
    EXPECT_FALSE(Exists("Temp2.emf"));
    EXPECT_FALSE(m_secondPage.pixmap().isNull());
}

TEST_F(PreviewPagesTest, WithoutAPrinterTheErrorGoesOutAndThePicturesStayEmpty) {
    Generate(40);
    m_preview.Show(m_subject);
    ASSERT_TRUE(m_area.isVisible());

    // An earlier preview stays on screen, emptied; its files are gone.
    m_printerMissing = true;
    EXPECT_THROW(m_preview.Show(m_subject), platform::PlatformError);
    EXPECT_TRUE(m_firstPage.pixmap().isNull());
    EXPECT_TRUE(m_secondPage.pixmap().isNull());
    EXPECT_FALSE(Exists("Temp0.emf"));
    EXPECT_FALSE(Exists("Temp1.emf"));
    EXPECT_TRUE(m_area.isVisible());

    // A hidden preview stays hidden, also for an empty subject: the printer
    // is asked for before anything else.
    m_preview.Hide();
    m_subject.clear();
    EXPECT_THROW(m_preview.Show(m_subject), platform::PlatformError);
    EXPECT_FALSE(m_area.isVisible());
}

// Floated, the area keeps the window's font, which its captions are sized for.
TEST_F(PreviewPagesTest, AFloatedPageCaptionKeepsItsWholeText) {
    m_owner.setFont(Ufiche::PixelFont("Arial", 8));
    QLabel caption("Page 1", &m_area);
    caption.adjustSize();
    m_preview.Show(m_subject);
    EXPECT_LE(QFontMetrics(caption.font()).horizontalAdvance(caption.text()), caption.width());
}

}  // namespace
