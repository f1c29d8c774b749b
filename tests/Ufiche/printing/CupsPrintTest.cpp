// Printing through a real CUPS scheduler: the program's own printer layer
// and the window's print button, against a private scheduler that this
// program starts before anything in it asks CUPS for a printer (libcups
// keeps the server it first talked to).
#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "PrivateCups.h"
#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"

// Shared with the preview tests of this program.
PrivateCups* scheduler = nullptr;
QString whyNoScheduler;

namespace {

class CupsPrintTest : public testing::Test {
protected:
    void SetUp() override {
        if (scheduler == nullptr) {
            GTEST_SKIP() << "no private CUPS scheduler here: " << whyNoScheduler.toStdString();
        }
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
        platform::CurrentPrinter::Instance().Reset();
        m_form.SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        m_form.show();
        m_form.btnLongClick();
        m_titlesBefore = scheduler->JobTitles().size();
    }
    void TearDown() override { platform::SetErrorPresenter(nullptr); }

    QStringList NewJobTitles() const { return scheduler->JobTitles().mid(m_titlesBefore); }

    void PrintWithCounts(int subjects, int answerKeys) {
        m_form.findChild<QSpinBox*>("spSujets")->setValue(subjects);
        m_form.findChild<QSpinBox*>("spCorriges")->setValue(answerKeys);
        m_form.findChild<QPushButton*>("btnImprime")->click();
    }

    QTemporaryDir m_folder;
    Ufiche::TForm1 m_form;
    QStringList m_errors;
    qsizetype m_titlesBefore = 0;
};

TEST_F(CupsPrintTest, ThePrintButtonSendsOneJobPerCopySubjectsFirst) {
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    PrintWithCounts(3, 1);
    EXPECT_EQ(NewJobTitles(),
              (QStringList{Ufiche::texts::kSubjectJobTitle, Ufiche::texts::kSubjectJobTitle,
                           Ufiche::texts::kSubjectJobTitle, Ufiche::texts::kAnswerKeyJobTitle}));
    PrintWithCounts(0, 2);
    EXPECT_EQ(NewJobTitles().mid(4),
              (QStringList{Ufiche::texts::kAnswerKeyJobTitle, Ufiche::texts::kAnswerKeyJobTitle}))
        << NewJobTitles().join("|").toStdString();
    PrintWithCounts(0, 0);
    EXPECT_EQ(NewJobTitles().size(), 6);
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
}

TEST_F(CupsPrintTest, AnEmptySubjectSendsNothing) {
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    m_form.SubjectPane().ClearContent();
    PrintWithCounts(2, 2);
    EXPECT_TRUE(NewJobTitles().isEmpty());
}

TEST_F(CupsPrintTest, WithoutAnyPrinterTheMessageSaysSoAndNothingIsSent) {
    scheduler->RemoveQueue("salle_info");
    PrintWithCounts(1, 1);
    EXPECT_EQ(m_errors, QStringList{platform::messages::kNoDefaultPrinter});
    EXPECT_TRUE(NewJobTitles().isEmpty());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    PrivateCups cups;
    if (cups.Start(whyNoScheduler)) {
        qputenv("CUPS_SERVER", cups.Server().toUtf8());
        scheduler = &cups;
    }
    // Run by hand, as under CTest: offscreen unless told otherwise.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
