// Whatever a teacher types into the text fields, the documents load and the
// settings come back after a restart.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/printing/Printing.h"
#include "Ufiche/window/TForm1.h"
#include "Ufiche/window/settings/StoredValues.h"
#include "platform/codepage/Codepage.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using Uconvers::QuantityKind;

struct FieldTexts {
    const char* what;
    QString title;
    QString instruction;
    QString separator;
};

QString Repeat(const QString& piece, int length) {
    QString text;
    while (text.size() < length) {
        text += piece;
    }
    return text.left(length);
}

class HardeningTest : public testing::Test {
protected:
    void SetUp() override {
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
    }
    void TearDown() override { platform::SetErrorPresenter(nullptr); }

    std::unique_ptr<Ufiche::TForm1> Open() {
        auto form = std::make_unique<Ufiche::TForm1>();
        form->SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        form->show();
        return form;
    }

    QTemporaryDir m_folder;
    QStringList m_errors;
};

TEST_F(HardeningTest, AnyTextInTheFieldsGivesDocumentsThatLoadAndSettingsThatComeBack) {
    const FieldTexts cases[] = {
        {"longest texts", Repeat("Nom : ", 160), Repeat("Convertir en ", 10000), Repeat("-=", 230)},
        {"RTF syntax", "{\\b titre", "}}}\\par\\", "\\'zz{\\*\\x}"},
        {"unclosed tags", "<b", "<ce=rouge>rouge<", "<<>>"},
        {"outside the code page", "\u6f22\u5b57 \u20ac \u0153", "\U0001F600 convertir",
         "\u2014\u2014\u2014"},
        {"control characters", QString("a\u0001b\u001fc"), QString("x\ty"), QString("\u007f")},
    };
    for (const auto& texts : cases) {
        SCOPED_TRACE(texts.what);
        {
            auto form = Open();
            form->findChild<QLineEdit*>("eTitre1")->setText(texts.title);
            form->findChild<QComboBox*>("Combo1")->setEditText(texts.instruction);
            form->findChild<QLineEdit*>("eSepar")->setText(texts.separator);
            for (const auto kind : {QuantityKind::Length, QuantityKind::Area, QuantityKind::Volume,
                                    QuantityKind::Capacity}) {
                form->GenerateWorksheet(kind);
                EXPECT_TRUE(form->SubjectPane().toPlainText().contains("1\u00b0/"));
                EXPECT_TRUE(form->AnswerKeyPane().toPlainText().contains("40\u00b0/") ||
                            form->AnswerKeyPane().toPlainText().contains("25\u00b0/"));
            }
            form->close();
        }
        auto form = Open();
        // The fields keep what Windows-1252 can hold ("?" for the rest), the
        // lengths of their limits, their text without blanks at the ends.
        auto stored = [](const QString& typed, int limit) {
            return platform::FromWindows1252(
                Commune::TrimControls(platform::ToWindows1252(typed.left(limit))));
        };
        EXPECT_EQ(form->findChild<QLineEdit*>("eTitre1")->text(), stored(texts.title, 160));
        EXPECT_EQ(form->findChild<QLineEdit*>("eSepar")->text(), stored(texts.separator, 230));
        EXPECT_FALSE(form->findChild<QComboBox*>("Combo1")->currentText().isEmpty());
        EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
    }
}

TEST_F(HardeningTest, ASeparatorLineOfWordsOrDigitsShowsBeforeEveryQuestion) {
    auto form = Open();
    for (const QString separator : {"Exercice", "2024"}) {
        form->findChild<QLineEdit*>("eSepar")->setText(separator);
        form->GenerateWorksheet(QuantityKind::Volume);
        for (const auto* pane : {&form->SubjectPane(), &form->AnswerKeyPane()}) {
            EXPECT_EQ(pane->toPlainText().count(separator + "\n"), 25) << separator.toStdString();
        }
    }
}

TEST_F(HardeningTest, AGenerationInterruptedByThePaneLeavesTheWindowWorking) {
    auto form = Open();
    form->SetPaneLoader([](platform::TRxRichEdit& pane, const std::string& document) {
        if (pane.objectName() == "RxE2") {
            throw platform::PlatformError(platform::messages::kStreamLoadError);
        }
        Ufiche::LoadRtfIntoPane(pane, document);
    });
    form->findChild<QPushButton*>("btnLong")->click();
    EXPECT_EQ(m_errors, QStringList{platform::messages::kStreamLoadError});
    // What was done stays done; the cursor and the generation flag are back.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form->IsGenerating());
    EXPECT_TRUE(QString::fromStdString(form->DefaultFileName()).startsWith("Long_N1_"));
    EXPECT_TRUE(form->SubjectPane().toPlainText().contains("1\u00b0/"));
    EXPECT_TRUE(form->AnswerKeyPane().toPlainText().isEmpty());
    EXPECT_EQ(form->LightColour(), QColor(0, 128, 0));

    form->SetPaneLoader(Ufiche::LoadRtfIntoPane);
    form->findChild<QPushButton*>("btnSurf")->click();
    EXPECT_TRUE(form->AnswerKeyPane().toPlainText().contains("Corrig\u00e9"));
    EXPECT_EQ(m_errors.size(), 1);
}

TEST_F(HardeningTest, TheLongestFieldsComeBackWhole) {
    {
        auto form = Open();
        form->findChild<QLineEdit*>("eTitre1")->setText(Repeat("Nom ", 160));
        form->findChild<QComboBox*>("Combo1")->setEditText(Repeat("convertir ", 10000));
        form->findChild<QLineEdit*>("eSepar")->setText(Repeat("*", 230));
        form->close();
    }
    auto form = Open();
    EXPECT_EQ(form->findChild<QLineEdit*>("eTitre1")->text(), Repeat("Nom ", 160).trimmed());
    // Values are read back at most 2047 characters long.
    EXPECT_EQ(form->findChild<QComboBox*>("Combo1")->currentText(),
              Repeat("convertir ", 10000).left(2047).trimmed());
    EXPECT_EQ(form->findChild<QLineEdit*>("eSepar")->text(), Repeat("*", 230));
}

TEST_F(HardeningTest, APrinterThatFailsInTheMiddleStopsTheRemainingCopies) {
    platform::TRxRichEdit subject;
    platform::TRxRichEdit answerKey;
    subject.setPlainText("Interrogation");
    answerKey.setPlainText("Corrig\u00e9");
    std::deque<QPrinter> printers;
    int calls = 0;
    auto printerForJob = [&](const QString&) -> QPrinter& {
        auto& printer = printers.emplace_back(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        // The second job's output cannot be opened.
        printer.setOutputFileName(++calls == 2
                                      ? m_folder.filePath("absent/job.pdf")
                                      : m_folder.filePath(QString("job%1.pdf").arg(calls)));
        return printer;
    };
    platform::RunReportingErrors(
        [&] { Ufiche::PrintCopies(subject, answerKey, 3, 1, printerForJob); });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(m_errors, QStringList{platform::messages::kInvalidPrinter});
}

}  // namespace
