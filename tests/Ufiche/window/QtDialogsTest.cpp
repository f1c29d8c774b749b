// Qt's own dialogs as the teacher meets them: in French whatever the
// system's language, and the printer choice of "CI" printing to a file, where
// every copy keeps a file of its own.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "PdfTools.h"
#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/TForm1.h"
#include "Ufiche/window/settings/SettingsRules.h"
#include "platform/errors/ErrorReport.h"
#include "platform/printer/Printer.h"
#include "platform/system/QtFrench.h"

namespace {

// Runs `inspect` on the dialog of type Dialog once it shows (from inside the
// modal loop that `open` starts); `inspect` closes it.
template <class Dialog>
void WhenShown(const std::function<void()>& open, const std::function<void(Dialog&)>& inspect) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<Dialog*>(window);
            if (dialog && dialog->isVisible() && !seen) {
                seen = true;
                poll.stop();
                inspect(*dialog);
                return;
            }
        }
    });
    poll.start();
    open();
    EXPECT_TRUE(seen) << "the dialog did not show";
}

QStringList ButtonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible()) {
            texts << button->text();
        }
    }
    return texts;
}

// Room for the prompt, and for the title as shown beside an icon and 3 buttons.
void ExpectWholeTitleAndPrompt(const QInputDialog& box) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QString shown = box.windowTitle() + " \u2014 " + qApp->applicationDisplayName();
    EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(shown) + 32 + 3 * 46);
    const auto* prompt = box.findChild<QLabel*>();
    EXPECT_GE(prompt->width(), QFontMetrics(prompt->font()).horizontalAdvance(prompt->text()));
}

class QtDialogsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(platform::InstallQtFrench(*qApp)); }
    void SetUp() override {
        m_form.SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
        m_form.show();
    }
    void TearDown() override {
        platform::SetErrorPresenter(nullptr);
        platform::CurrentPrinter::Instance().Reset();
    }

    QTemporaryDir m_folder;
    Ufiche::TForm1 m_form;
    QStringList m_errors;
};

TEST_F(QtDialogsTest, TheSaveDialogAndTheInputBoxSpeakFrench) {
    m_form.btnLongClick();
    // No folder stored: a copy that keeps its settings beside itself opens the
    // folder it was started from, an installed one the documents folder.
    const QString startFolder = QDir::currentPath();
    const QDir here(m_folder.path());
    QDir::setCurrent(here.path());
    const bool beside =
        Ufiche::BuiltSettingsLocation() == Ufiche::SettingsLocation::BesideExecutable;
    WhenShown<QFileDialog>([&] { m_form.btnEnregistreClick(); },
                           [&](QFileDialog& dialog) {
                               EXPECT_EQ(dialog.directory() == here, beside)
                                   << dialog.directory().path().toStdString();
                               EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
                               EXPECT_EQ(dialog.windowTitle(), "Enregistrer sous");
                               auto* lookIn = dialog.findChild<QLabel*>("lookInLabel");
                               auto* fileName = dialog.findChild<QLabel*>("fileNameLabel");
                               ASSERT_TRUE(lookIn && fileName);
                               EXPECT_EQ(lookIn->text(), "Voir dans :");
                               EXPECT_EQ(fileName->text(), "&Nom de fichier :");
                               const QStringList buttons = ButtonTexts(dialog);
                               EXPECT_TRUE(buttons.contains("&Enregistrer"))
                                   << buttons.join('|').toStdString();
                               EXPECT_TRUE(buttons.contains("Annuler"));
                               dialog.reject();
                           });
    QDir::setCurrent(startFolder);
    WhenShown<QInputDialog>([&] { m_form.btnNouvTexteClick(); },
                            [](QInputDialog& dialog) {
                                EXPECT_EQ(dialog.windowTitle(), "Nouveau texte");
                                EXPECT_EQ(dialog.labelText(), "Entrez votre texte");
                                ExpectWholeTitleAndPrompt(dialog);
                                const QStringList buttons = ButtonTexts(dialog);
                                EXPECT_TRUE(buttons.contains("OK"));
                                EXPECT_TRUE(buttons.contains("Annuler"))
                                    << buttons.join('|').toStdString();
                                dialog.reject();
                            });
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

// The printer dialog of "CI": its confirming button says "OK", since it
// prints nothing; with "print to file" chosen there, two subjects and one
// answer key give three files beside the chosen name; a copy's suffix goes
// into the file's name, never into a folder's that holds a dot.
// Windows shows its own printer dialog, not Qt's, and poppler's tools that
// read the files back are not there.
#if !defined(_WIN32)
TEST_F(QtDialogsTest, PrintingToAFileChosenWithCiKeepsEveryCopyInAFileOfItsOwn) {
    QString chosen = m_folder.filePath("classe.pdf");
    auto chooseFile = [&](QPrintDialog& dialog) {
        auto* printers = dialog.findChild<QComboBox*>("printers");
        auto* fileName = dialog.findChild<QLineEdit*>("filename");
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_TRUE(printers && fileName && buttons);
        EXPECT_EQ(dialog.windowTitle(), "Choix de l'imprimante");
        // Qt's own entry by its whole name: a print queue may be named "PDF".
        printers->setCurrentIndex(printers->findText(
            QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"), Qt::MatchExactly));
        fileName->setText(chosen);
        QPushButton* confirm = buttons->button(QDialogButtonBox::Ok);
        EXPECT_EQ(confirm->text(), "OK");
        EXPECT_EQ(ButtonTexts(dialog).filter(QRegularExpression("Imprimer|Print")), QStringList());
        confirm->click();
    };
    WhenShown<QPrintDialog>([&] { m_form.btnChoixImpClick(); }, chooseFile);

    m_form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
    m_form.btnSurfClick();
    m_form.findChild<QSpinBox*>("spSujets")->setValue(2);
    m_form.findChild<QSpinBox*>("spCorriges")->setValue(1);
    m_form.btnImprimeClick();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();

    EXPECT_EQ(QDir(m_folder.path()).entryList({"*.pdf"}, QDir::Files, QDir::Name),
              (QStringList{"classe.pdf", "classe_Corrige1.pdf", "classe_Sujet2.pdf"}));
    const struct {
        const char* file;
        QString title;
    } files[] = {{"classe.pdf", Ufiche::texts::kSubjectJobTitle},
                 {"classe_Sujet2.pdf", Ufiche::texts::kSubjectJobTitle},
                 {"classe_Corrige1.pdf", Ufiche::texts::kAnswerKeyJobTitle}};
    for (const auto& f : files) {
        const QString pdf = m_folder.filePath(f.file);
        const QString info = PdfInfo(pdf);
        EXPECT_TRUE(info.contains(QRegularExpression(QString("Title:\\s+%1\\n").arg(f.title))))
            << f.file << "\n"
            << info.toStdString();
        // Forty questions take more than a page: the whole job is in its file.
        const auto pages = QRegularExpression("Pages:\\s+(\\d+)\\n").match(info);
        EXPECT_GE(pages.captured(1).toInt(), 2) << f.file;
        const QString text = PdfText(pdf);
        EXPECT_EQ(text.count(QRegularExpression("(^|[\\n\\f])[ \\t]*\\d+\u00b0/")), 40) << f.file;
    }
    EXPECT_EQ(PdfText(m_folder.filePath("classe.pdf")),
              PdfText(m_folder.filePath("classe_Sujet2.pdf")));

    // Opened again, the dialog shows the name the teacher chose, not a copy's.
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("classe.v2"));
    WhenShown<QPrintDialog>([&] { m_form.btnChoixImpClick(); },
                            [&](QPrintDialog& dialog) {
                                auto* fileName = dialog.findChild<QLineEdit*>("filename");
                                ASSERT_TRUE(fileName);
                                EXPECT_EQ(fileName->text(), chosen);
                                chosen = m_folder.filePath("classe.v2/fiche");
                                chooseFile(dialog);
                            });
    EXPECT_EQ(platform::CurrentPrinter::Instance()
                  .PrinterForJob("_Sujet2")
                  .outputFileName()
                  .toStdString(),
              m_folder.filePath("classe.v2/fiche_Sujet2").toStdString());
}
#endif

}  // namespace
