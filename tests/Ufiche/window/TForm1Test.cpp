#include "Ufiche/window/TForm1.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/StatusRules.h"
#include "Ufiche/window/WindowLook.h"
#include "Ufiche/window/settings/SettingsRules.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using Uconvers::QuantityKind;

class TForm1Test : public testing::Test {
protected:
    void SetUp() override {
        // A settings file of the test's own, so no run sees another's.
        m_form.SetSettingsFileName(m_settingsFolder.filePath("fiches-conversions.ini"));
        m_form.SetSeedSource([] { return 42u; });
        m_form.show();
        QCoreApplication::processEvents();
    }

    template <class Widget>
    Widget& Control(const char* name) {
        auto* widget = m_form.findChild<Widget*>(name);
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }

    bool LightIsGreen() const { return m_form.LightColour() == Ufiche::kLightGreen; }
    bool LightIsRed() const { return m_form.LightColour() == Ufiche::kLightRed; }

    bool SubjectButtonsEnabled() {
        const bool print = Control<QPushButton>("btnImprime").isEnabled();
        EXPECT_EQ(Control<QPushButton>("btnEnregistre").isEnabled(), print);
        EXPECT_EQ(Control<QPushButton>("btnApercu").isEnabled(), print);
        return print;
    }

    QTemporaryDir m_settingsFolder;
    Ufiche::TForm1 m_form;
};

TEST_F(TForm1Test, ControlsStartAtTheirDesignDefaults) {
    EXPECT_EQ(m_form.size(), QSize(798, 420));
    EXPECT_EQ(Control<QSlider>("trbNiveau").value(), 1);
    EXPECT_EQ(Control<QSlider>("trbNiveau").toolTip(), Ufiche::texts::LevelHint(1));
    EXPECT_EQ(Control<QSpinBox>("spMaxLigne").value(), 25);
    EXPECT_EQ(Control<QSpinBox>("spMaxLigne").maximum(), 40);
    EXPECT_EQ(Control<QSpinBox>("spinterligne").value(), 1);
    EXPECT_EQ(Control<QSpinBox>("spSujets").maximum(), 999);
    EXPECT_EQ(Control<QLineEdit>("eTitre1").text().size(), 73);
    EXPECT_EQ(Control<QLineEdit>("eTitre1").maxLength(), 160);
    EXPECT_EQ(Control<QLineEdit>("eSepar").text(), QString(123, '-'));
    EXPECT_EQ(Control<QLineEdit>("eSepar").maxLength(), 230);
    EXPECT_EQ(Control<QLabel>("Label10").text(), "(123)");
    auto& combo = Control<QComboBox>("Combo1");
    // Restored from no file: the default text without its trailing blank.
    EXPECT_EQ(combo.currentText(), "Convertir en");
    EXPECT_EQ(combo.itemText(0), "Convertir en ");
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(3), "");
    EXPECT_TRUE(Control<QCheckBox>("CheckBox1").isChecked());
    EXPECT_FALSE(Control<QCheckBox>("ckbEdite").isChecked());
    EXPECT_EQ(m_form.SubjectPane().toPlainText(), "     ");
    EXPECT_TRUE(m_form.SubjectPane().isReadOnly());
    EXPECT_FALSE(SubjectButtonsEnabled());
    EXPECT_TRUE(LightIsGreen());
    EXPECT_EQ(m_form.CurrentLevel(), 1);
    EXPECT_EQ(m_form.windowTitle(), "Fiches de conversions d'unit\u00e9s");
    EXPECT_TRUE(m_form.SettingsFileName().endsWith(".ini"));
}

// A press draws a code from the window's source and loads that code's sheet;
// a code typed in "Code" loads its sheet again, the code in its headings.
TEST_F(TForm1Test, EachQuantityButtonLoadsTheWorksheetOfTheSameDraws) {
    const auto expectPanes = [this](const Ufiche::GeneratedWorksheet& expected) {
        EXPECT_EQ(m_form.DefaultFileName(), expected.DefaultFileName);
        EXPECT_EQ(m_form.DrawnExercises(), expected.DrawnExercises);
        EXPECT_EQ(Control<QLineEdit>("eCode").text().toStdString(),
                  Ufiche::SheetCodeText(expected.Code));
        platform::TRxRichEdit subject;
        platform::TRxRichEdit answerKey;
        subject.setFont(m_form.SubjectPane().font());
        answerKey.setFont(m_form.AnswerKeyPane().font());
        Ufiche::LoadRtfIntoPane(subject, expected.Subject);
        Ufiche::LoadRtfIntoPane(answerKey, expected.AnswerKey);
        EXPECT_EQ(m_form.SubjectPane().toHtml(), subject.toHtml());
        EXPECT_EQ(m_form.AnswerKeyPane().toHtml(), answerKey.toHtml());
        EXPECT_TRUE(m_form.SubjectPane().toPlainText().startsWith(
            QString::fromStdString(expected.DefaultFileName)));
    };
    const struct {
        const char* button;
        QuantityKind kind;
        bool comma;
    } buttons[] = {
        {"btnLong", QuantityKind::Length, false}, {"btnSurf", QuantityKind::Area, false},
        {"btnVol", QuantityKind::Volume, true},   {"btnCapa", QuantityKind::Capacity, false},
        {"btnMasse", QuantityKind::Mass, true},   {"btnDuree", QuantityKind::Duration, false}};
    Control<QSlider>("trbNiveau").setValue(3);
    Control<QSpinBox>("spMaxLigne").setValue(40);
    for (const auto& button : buttons) {
        Control<QCheckBox>("ckbVirgule").setChecked(button.comma);
        Control<QCheckBox>("ckbDeuxUnites").setChecked(!button.comma);  // the other way round
        ASSERT_EQ(m_form.ReadWorksheetSettings().DecimalComma, button.comma);
        ASSERT_EQ(m_form.ReadWorksheetSettings().TwoUnitMeasures, !button.comma);
        m_form.FormActivate();  // seeds 42 again
        QTest::mouseClick(&Control<QPushButton>(button.button), Qt::LeftButton);

        Ufiche::MersenneRandomSource random(42);
        expectPanes(Ufiche::BuildWorksheetOfCode(button.kind, m_form.ReadWorksheetSettings(),
                                                 Ufiche::DrawSheetCode(random), false));
        EXPECT_TRUE(SubjectButtonsEnabled());
        EXPECT_TRUE(LightIsGreen());
        EXPECT_EQ(m_form.SubjectPane().textCursor().position(), 0);
    }

    // The last kind's sheet of a typed code, whatever its case and with "O"
    // for zero; the field then shows the code as it is written.
    auto& code = Control<QLineEdit>("eCode");
    code.clear();
    QTest::keyClicks(&code, "3oxk");
    QTest::keyClick(&code, Qt::Key_Return);  // not a whole code: nothing made
    EXPECT_EQ(code.text(), "3oxk");
    QTest::keyClicks(&code, "q");
    QTest::keyClick(&code, Qt::Key_Return);
    const auto typed =
        Ufiche::BuildWorksheetOfCode(QuantityKind::Duration, m_form.ReadWorksheetSettings(),
                                     *Ufiche::ParseSheetCode("30XKQ"), true);
    expectPanes(typed);
    EXPECT_TRUE(m_form.SubjectPane().toPlainText().contains(" - code 30XKQ"));
    EXPECT_TRUE(m_form.AnswerKeyPane().toPlainText().contains(" - code 30XKQ"));
}

TEST_F(TForm1Test, TheStatusLightFollowsItsTransitionTable) {
    // Panes in their first state (five blanks): a question count change is red.
    Control<QSpinBox>("spMaxLigne").setValue(10);
    EXPECT_TRUE(LightIsRed());
    m_form.FormActivate();
    EXPECT_TRUE(LightIsGreen());

    QTest::mouseClick(&Control<QPushButton>("btnLong"), Qt::LeftButton);
    EXPECT_TRUE(LightIsGreen());
    Control<QSlider>("trbNiveau").setValue(2);
    EXPECT_TRUE(LightIsRed());
    EXPECT_EQ(m_form.CurrentLevel(), 2);
    EXPECT_EQ(Control<QSlider>("trbNiveau").toolTip(), Ufiche::texts::LevelHint(2));
    m_form.FormActivate();
    EXPECT_TRUE(LightIsGreen());

    // Neither copy counts, edit mode nor the list buttons change the light.
    Control<QSpinBox>("spSujets").setValue(30);
    Control<QSpinBox>("spCorriges").setValue(3);
    Control<QCheckBox>("ckbEdite").setChecked(true);
    Control<QCheckBox>("ckbEdite").setChecked(false);
    EXPECT_TRUE(LightIsGreen());

    Control<QCheckBox>("CheckBox1").setChecked(false);
    EXPECT_TRUE(LightIsRed());
    EXPECT_FALSE(Control<QLineEdit>("eSepar").isEnabled());
    m_form.FormActivate();

    for (auto change : std::initializer_list<std::function<void()>>{
             [&] { Control<QSpinBox>("spinterligne").setValue(3); },
             [&] { Control<QLineEdit>("eTitre1").setText("Classe de 6e"); },
             [&] { Control<QLineEdit>("eSepar").setText("***"); },
             [&] { Control<QCheckBox>("ckbVirgule").toggle(); },
             [&] { Control<QCheckBox>("ckbDeuxUnites").toggle(); },
             [&] {
                 Control<QComboBox>("Combo1").setFocus();
                 QTest::keyClicks(&Control<QComboBox>("Combo1"), "x");
             }}) {
        m_form.FormActivate();
        change();
        EXPECT_TRUE(LightIsRed());
    }
    EXPECT_EQ(Control<QLabel>("Label10").text(), "(3)");

    // A subject of exactly one blank keeps the light as it is.
    m_form.SubjectPane().setPlainText(" ");
    m_form.FormActivate();
    Control<QSpinBox>("spMaxLigne").setValue(12);
    EXPECT_TRUE(LightIsGreen());
    Control<QLineEdit>("eSepar").setText("");
    EXPECT_EQ(Control<QLabel>("Label10").text(), "(0)");
}

TEST_F(TForm1Test, TheSubjectButtonsFollowTheSubjectPaneText) {
    QTest::mouseClick(&Control<QPushButton>("btnVol"), Qt::LeftButton);
    EXPECT_TRUE(SubjectButtonsEnabled());
    Control<QCheckBox>("ckbEdite").setChecked(true);
    auto& subject = m_form.SubjectPane();
    subject.selectAll();
    QTest::keyClick(&subject, Qt::Key_Delete);
    EXPECT_TRUE(subject.toPlainText().isEmpty());
    EXPECT_FALSE(SubjectButtonsEnabled());
    QTest::keyClicks(&subject, " ");
    EXPECT_TRUE(SubjectButtonsEnabled());
    // The answer key has no say.
    m_form.AnswerKeyPane().clear();
    EXPECT_TRUE(SubjectButtonsEnabled());
}

TEST_F(TForm1Test, EditModeUnlocksThePanesAndTabOnlyThen) {
    QTest::mouseClick(&Control<QPushButton>("btnSurf"), Qt::LeftButton);
    const QString subjectBefore = m_form.SubjectPane().toHtml();
    auto& subject = m_form.SubjectPane();

    // View mode: read-only, Tab moves on, a double click leaves no selection.
    const QPoint onText = subject.cursorRect(subject.textCursor()).center() + QPoint(8, 0);
    QTest::mouseDClick(subject.viewport(), Qt::LeftButton, {}, onText);
    QCoreApplication::processEvents();
    EXPECT_FALSE(subject.textCursor().hasSelection());
    subject.setFocus();
    QTest::keyClick(&subject, Qt::Key_Tab);
    EXPECT_EQ(subject.toHtml(), subjectBefore);

    Control<QCheckBox>("ckbEdite").setChecked(true);
    EXPECT_TRUE(m_form.EditMode());
    EXPECT_FALSE(subject.isReadOnly());
    EXPECT_EQ(subject.toHtml(), subjectBefore);
    EXPECT_TRUE(LightIsGreen());
    QTest::mouseDClick(subject.viewport(), Qt::LeftButton, {}, onText);
    QCoreApplication::processEvents();
    EXPECT_TRUE(subject.textCursor().hasSelection());
    QTextCursor cursor = subject.textCursor();
    cursor.setPosition(0);
    subject.setTextCursor(cursor);
    subject.setFocus();
    QTest::keyClick(&subject, Qt::Key_Tab);
    EXPECT_EQ(subject.toPlainText().at(0), QChar('\t'));

    Control<QCheckBox>("ckbEdite").setChecked(false);
    EXPECT_TRUE(subject.isReadOnly());
    EXPECT_TRUE(m_form.AnswerKeyPane().isReadOnly());
}

TEST_F(TForm1Test, TheInstructionListGrowsWithAAndShrinksWithE) {
    auto& combo = Control<QComboBox>("Combo1");
    std::optional<QString> answer;
    m_form.SetInputBox([&](QWidget*) { return answer; });

    answer = std::nullopt;  // Cancel
    QTest::mouseClick(&Control<QPushButton>("btnNouvTexte"), Qt::LeftButton);
    answer = QString();  // OK with nothing typed
    QTest::mouseClick(&Control<QPushButton>("btnNouvTexte"), Qt::LeftButton);
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), "Convertir en");

    Control<QSlider>("trbNiveau").setValue(2);
    answer = QString("Convertir en ");
    QTest::mouseClick(&Control<QPushButton>("btnNouvTexte"), Qt::LeftButton);
    EXPECT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.itemText(4), "Convertir en ");
    EXPECT_EQ(combo.currentText(), "Convertir en ");
    // Closing the box gives the window back its focus: an activation.
    EXPECT_TRUE(LightIsGreen());

    // "E" removes the chosen entry, and nothing once the text is typed.
    EXPECT_EQ(m_form.Combo1SelectedIndex(), 4);
    QTest::mouseClick(&Control<QPushButton>("btnEffaceTexte"), Qt::LeftButton);
    EXPECT_EQ(combo.count(), 4);
    combo.setCurrentIndex(1);
    combo.setEditText("Mon texte");
    EXPECT_EQ(m_form.Combo1SelectedIndex(), -1);
    QTest::mouseClick(&Control<QPushButton>("btnEffaceTexte"), Qt::LeftButton);
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), "Mon texte");
}

TEST_F(TForm1Test, SpinBoxesChangeOnlyThroughTheirArrowsAndUpAndDown) {
    auto& spin = Control<QSpinBox>("spMaxLigne");
    spin.setFocus();
    QTest::keyClicks(&spin, "7");
    EXPECT_EQ(spin.value(), 25);
    QTest::keyClick(&spin, Qt::Key_Backspace);
    EXPECT_EQ(spin.value(), 25);
    QApplication::clipboard()->setText("9");
    QTest::keyClick(&spin, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(spin.value(), 25);
    QTest::keyClick(&spin, Qt::Key_PageUp);
    EXPECT_EQ(spin.value(), 25);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.value(), 26);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.value(), 24);
    spin.setValue(99);
    EXPECT_EQ(spin.value(), 40);
    EXPECT_EQ(spin.contextMenuPolicy(), Qt::NoContextMenu);
}

TEST_F(TForm1Test, ResizingMovesTheControlsWithTheirAnchors) {
    m_form.resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_form.SubjectPane().geometry(), QRect(4, 86, 890, 212));
    EXPECT_EQ(m_form.AnswerKeyPane().geometry(), QRect(4, 304, 892, 141));
    EXPECT_EQ(Control<QLineEdit>("eTitre1").geometry(), QRect(157, 4, 642, 22));
    EXPECT_EQ(Control<QPushButton>("btnLong").geometry(), QRect(3, 472, 59, 25));
    EXPECT_EQ(Control<QPushButton>("btnDuree").geometry(), QRect(270, 472, 41, 25));
    EXPECT_EQ(Control<QPushButton>("btnNouvTexte").geometry(), QRect(843, 29, 25, 25));
    EXPECT_EQ(Control<QWidget>("Shape1").geometry(), QRect(883, 473, 13, 22));
    EXPECT_EQ(Control<QLabel>("Label9").geometry(), QRect(1, 449, 777, 20));
    EXPECT_EQ(Control<QCheckBox>("ckbSujetsDiff").geometry(), QRect(506, 61, 116, 17));
    EXPECT_EQ(Control<QLineEdit>("eCode").geometry(), QRect(835, 4, 62, 22));
    EXPECT_EQ(Control<QPushButton>("btnMoodle").geometry(), QRect(782, 447, 114, 23));
    EXPECT_EQ(Control<QSlider>("trbNiveau").geometry(), QRect(40, 2, 80, 29));
    m_form.resize(10, 10);
    EXPECT_GE(m_form.width(), 680 - (m_form.frameGeometry().width() - m_form.width()));
    EXPECT_LT(Control<QWidget>("btnDuree").geometry().right(), Control<QWidget>("btnChoixImp").x());
    // The catalogue link keeps its whole text beside "Exporter pour Moodle".
    const auto& link = Control<QLabel>("Label9");
    EXPECT_LT(link.geometry().right(), Control<QWidget>("btnMoodle").x());
    EXPECT_LE(QFontMetrics(link.font()).horizontalAdvance(link.text()), link.width());
}

// "Exporter pour Moodle" writes the last worksheet's exercises, one question
// per blank, where the save dialog says; a file it cannot create is reported
// as a save's is.
TEST_F(TForm1Test, MoodleExportWritesTheLastWorksheetAsAGiftFile) {
    auto& button = Control<QPushButton>("btnMoodle");
    EXPECT_FALSE(button.isEnabled());
    Control<QLineEdit>("eTitre1").setText("Classe {5e}");
    Control<QSpinBox>("spMaxLigne").setValue(3);
    Control<QPushButton>("btnLong").click();
    ASSERT_TRUE(button.isEnabled());
    QString proposed;
    QString chosen = m_settingsFolder.filePath("classe");
    m_form.SetSaveDialog([&](QWidget*, const QString&, const QString& name) {
        proposed = name;
        return std::optional<QString>(chosen);
    });
    button.click();
    EXPECT_EQ(proposed, QString::fromStdString(m_form.DefaultFileName()) + ".gift");
    QFile file(chosen + ".gift");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString gift = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(gift.startsWith("$CATEGORY: fiches-conversions/Longueurs/Niveau 1\n\n"))
        << gift.toStdString();
    EXPECT_EQ(gift.count(":0}\n\n"), 6);
    EXPECT_EQ(gift.count("<p>Classe \\{5e\\}</p>"), 6);
    // Named after the sheet and its code, as the Code field shows it.
    EXPECT_TRUE(gift.contains(QStringLiteral("::%1 %2 1a::")
                                  .arg(QString::fromStdString(m_form.DefaultFileName()),
                                       Control<QLineEdit>("eCode").text())));

    QStringList shown;
    platform::SetErrorPresenter([&](const QString& message) { shown << message; });
    chosen = m_settingsFolder.filePath("absent/classe.gift");
    button.click();
    platform::SetErrorPresenter(nullptr);
    // The message names the file as the system writes paths ("\\" on Windows).
    EXPECT_EQ(shown, QStringList{platform::messages::CannotCreateFile(
                         QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()))});
}

TEST_F(TForm1Test, AButtonPressOrACloseDuringAGenerationWaitsForItsEnd) {
    int generations = 0;
    bool closeAsked = false;
    QObject::connect(&m_form.SubjectPane(), &QTextEdit::textChanged, [&] {
        if (m_form.IsGenerating() && m_form.SubjectPane().toPlainText().isEmpty()) {
            ++generations;
            // Pressed again and closed from the events the emptying lets run.
            Control<QPushButton>("btnCapa").click();
            closeAsked = m_form.close();
        }
    });
    Control<QPushButton>("btnLong").click();
    EXPECT_EQ(generations, 1);
    EXPECT_FALSE(closeAsked);
    EXPECT_TRUE(QString::fromStdString(m_form.DefaultFileName()).startsWith("Long_N1_"));
    EXPECT_TRUE(m_form.isVisible());
    EXPECT_TRUE(m_form.AnswerKeyPane().toPlainText().contains("25\u00b0/"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_form.isVisible());
}

// A press or a close posted before a generation or a preview runs at the
// operation's first event point; posted from there (`later`), at its second:
// once the subject is loaded but not the answer key, or once the pages are drawn.
TEST_F(TForm1Test, NothingThatArrivesDuringAGenerationOrAPreviewRunsInsideIt) {
    const QString startFolder = QDir::currentPath();
    QDir::setCurrent(m_settingsFolder.path());  // for the page files
    QPrinter pdf;
    pdf.setOutputFileName("printed.pdf");
    int halfMade = 0;  // printers or file names asked for before the answer key is in
    const auto ask = [&] { halfMade += m_form.AnswerKeyPane().toPlainText().isEmpty(); };
    m_form.SetPrinterForJob([&](const QString&) -> QPrinter& { return ask(), pdf; });
    m_form.SetSaveDialog([&](auto&&...) { return ask(), std::optional<QString>(); });
    // A dialog that opens (the printer choice's) is asked for too, and closed.
    QTimer dialogs;
    QObject::connect(&dialogs, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ask();
            dialog->reject();
        }
    });
    dialogs.start(10);
    Control<QPushButton>("btnLong").click();
    for (const auto& [operation, arriving, method, later] :
         std::initializer_list<std::tuple<const char*, QObject*, const char*, bool>>{
             {"btnLong", &Control<QPushButton>("btnImprime"), "click", true},
             {"btnLong", &Control<QPushButton>("btnEnregistre"), "click", true},
             {"btnLong", &Control<QPushButton>("btnApercu"), "click", true},
             {"btnLong", &Control<QPushButton>("btnChoixImp"), "click", true},
             {"btnApercu", &Control<QPushButton>("btnSurf"), "click", true},
             {"btnApercu", &m_form, "close", false}}) {
        SCOPED_TRACE(arriving->objectName().toStdString());
        const auto post = [to = arriving, slot = method] {
            QMetaObject::invokeMethod(to, slot, Qt::QueuedConnection);
        };
        later ? void(QMetaObject::invokeMethod(&m_form, post, Qt::QueuedConnection)) : post();
        const std::string sheet = m_form.DefaultFileName();
        Control<QPushButton>(operation).click();
        EXPECT_EQ(m_form.DefaultFileName() != sheet, operation == std::string("btnLong"));
        EXPECT_EQ(std::exchange(halfMade, 0), 0);
    }
    QCoreApplication::processEvents();  // the close, put off till the preview's end
    EXPECT_FALSE(m_form.isVisible() || QFile::exists("Temp0.emf"));
    QDir::setCurrent(startFolder);
}

TEST_F(TForm1Test, ClosingDeletesThePreviewFilesInAnyLetterCase) {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    for (const char* name : {"Temp0.emf", "TEMP1.EMF", "TWFile.txt", "Temp2.emf"}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(m_form.close());
    QDir::setCurrent(previous);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"Temp2.emf"});
    EXPECT_FALSE(m_form.findChild<QWidget*>("Panel3")->isVisible());
}

TEST_F(TForm1Test, TheLinkIsBoldUnderTheMouseAndNormalAgainOverTheAnswerKeyOrTheWindow) {
    auto& link = Control<QLabel>("Label9");
    auto moveOver = [](QWidget* widget) {
        const QPointF at(3, 3);
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    };
    for (QWidget* away : {m_form.AnswerKeyPane().viewport(), static_cast<QWidget*>(&m_form)}) {
        moveOver(&link);
        EXPECT_TRUE(link.font().bold());
        moveOver(away);
        EXPECT_FALSE(link.font().bold());
    }
    moveOver(&link);
    moveOver(m_form.SubjectPane().viewport());
    EXPECT_TRUE(link.font().bold());
}

TEST_F(TForm1Test, FocusColoursMarkTheFieldBeingTyped) {
    auto& title = Control<QLineEdit>("eTitre1");
    title.setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(title.palette().color(QPalette::Base), Ufiche::kEntryColour);
    Control<QComboBox>("Combo1").setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(title.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(Control<QComboBox>("Combo1").palette().color(QPalette::Base), Ufiche::kEntryColour);
    // A disabled separator line cannot take the focus.
    Control<QCheckBox>("CheckBox1").setChecked(false);
    auto& separator = Control<QLineEdit>("eSepar");
    const QColor before = separator.palette().color(QPalette::Base);
    separator.setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(separator.hasFocus());
    EXPECT_EQ(separator.palette().color(QPalette::Base), before);
}

TEST(ErrorReport, AnErrorThatEscapesAHandlerIsShownWithItsFrenchText) {
    QStringList shown;
    platform::SetErrorPresenter([&](const QString& message) { shown << message; });
    platform::RunReportingErrors(
        [] { throw platform::PlatformError(platform::messages::CannotCreateFile("/x/y.rtf")); });
    platform::RunReportingErrors([] { throw std::runtime_error("autre"); });
    platform::RunReportingErrors([] { throw 42; });
    bool ranAfter = false;
    platform::RunReportingErrors([&] { ranAfter = true; });
    platform::SetErrorPresenter(nullptr);
    EXPECT_EQ(shown, (QStringList{platform::messages::CannotCreateFile("/x/y.rtf"), "autre",
                                  "Erreur inconnue"}));
    EXPECT_TRUE(ranAfter);
}

}  // namespace

namespace {

// Every button of the window, with the keyboard focus, is pressed by Enter,
// by the keypad's Enter and by Space; what the buttons then do is tested
// elsewhere, so their handlers are cut off here.
TEST_F(TForm1Test, EnterOrSpaceOnAFocusedButtonPressesIt) {
    const auto buttons = m_form.findChildren<QPushButton*>();
    ASSERT_GE(buttons.size(), 10);
    for (QPushButton* button : buttons) {
        SCOPED_TRACE(button->objectName().toStdString());
        QObject::disconnect(button, nullptr, &m_form, nullptr);
        button->setEnabled(true);
        int presses = 0;
        QObject::connect(button, &QPushButton::clicked, [&presses] { ++presses; });
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            QTest::keyClick(button, key);
        }
        EXPECT_EQ(presses, 3);
    }
}

}  // namespace
