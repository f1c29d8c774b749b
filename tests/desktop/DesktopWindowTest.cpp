// The window on a real desktop: focus coming back to it, drags onto the
// panes, the printer chosen with "CI", the preview's failures, a scaled
// screen.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "Desktop.h"
#include "ExactDecimal.h"
#include "ExactMeasure.h"
#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

class DesktopWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(desktop, nullptr);
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
        platform::CurrentPrinter::Instance().Reset();
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        m_form = std::make_unique<Ufiche::TForm1>();
        m_form->SetSeedSource([this] {
            ++m_activations;
            return 42u;
        });
        m_form->SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        m_form->show();
        ASSERT_TRUE(XDesktop::WaitFor([this] { return HasFocus(m_form.get()); }))
            << "the window never got the focus";
    }
    void TearDown() override {
        m_form.reset();
        QDir::setCurrent(m_previousFolder);
        platform::SetErrorPresenter(nullptr);
    }

    static bool HasFocus(const QWidget* window) {
        return QGuiApplication::focusWindow() != nullptr &&
               QGuiApplication::focusWindow() == window->windowHandle();
    }
    template <class Widget>
    Widget& Control(const char* name) {
        return *m_form->findChild<Widget*>(name);
    }
    QScrollArea& Preview() { return Control<QScrollArea>("ScrollBox1"); }
    bool Red() const { return m_form->LightColour() == QColor(255, 0, 0); }
    void TurnLightRed() {
        auto& level = Control<QSlider>("trbNiveau");
        level.setValue(level.value() == 1 ? 2 : 1);
    }
    void Generate(int questions, int lineSpacing) {
        Control<QSpinBox>("spMaxLigne").setValue(questions);
        Control<QSpinBox>("spinterligne").setValue(lineSpacing);
        m_form->btnLongClick();
    }
    void ShowPreview() {
        Control<QPushButton>("btnApercu").click();
        ASSERT_TRUE(XDesktop::WaitFor(
            [this] { return Preview().windowHandle() && Preview().windowHandle()->isExposed(); }));
    }
    QPixmap Picture(const char* name) { return Control<QLabel>(name).pixmap(); }

    // A drag of `text` from another program that ends over the pane: the
    // events that the window system's drag and drop delivers. Answers
    // whether the drop was taken.
    static bool DropOn(QTextEdit& pane, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint middle = pane.viewport()->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.viewport(), &enter);
        QDragMoveEvent move(middle, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.viewport(), &move);
        QDropEvent drop(QPointF(middle), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.viewport(), &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

    QTemporaryDir m_folder;
    QString m_previousFolder;
    std::unique_ptr<Ufiche::TForm1> m_form;
    QStringList m_errors;
    int m_activations = 0;
};

TEST_F(DesktopWindowTest, MassesWorksheetsOfEveryLevelHaveEveryAnswerRight) {
    // Each answer read back from the answer-key pane, value and answer as the
    // teacher sees them (group blanks, decimal comma), against the exact
    // decimal shift between the two units.
    const QStringList symbols = {"mg", "cg", "dg", "g", "dag", "hg", "kg"};
    const QString number = QStringLiteral("([0-9 \u00a0]+(?:,[0-9 \u00a0]+)?)");
    const QString unit = QStringLiteral("(mg|cg|dg|g|dag|hg|kg)");
    const QRegularExpression exercise(number + " " + unit + " = " + number + " " + unit);
    auto plain = [](QString text) {
        return text.remove(' ').remove(QChar(0xa0)).replace(',', '.').toStdString();
    };
    Control<QCheckBox>("ckbVirgule").setChecked(true);
    Control<QSpinBox>("spMaxLigne").setValue(40);
    for (int level = 1; level <= 3; ++level) {
        Control<QSlider>("trbNiveau").setValue(level);
        Control<QPushButton>("btnMasse").click();
        EXPECT_TRUE(QString::fromStdString(m_form->DefaultFileName())
                        .startsWith(QStringLiteral("Mass_N%1_").arg(level)));
        const QString answerKey = m_form->AnswerKeyPane().toPlainText();
        int answers = 0;
        for (auto found = exercise.globalMatch(answerKey); found.hasNext(); ++answers) {
            const QRegularExpressionMatch match = found.next();
            const exact::Decimal expected =
                exact::Convert(Uconvers::QuantityKind::Mass, symbols.indexOf(match.captured(2)),
                               symbols.indexOf(match.captured(4)), plain(match.captured(1)));
            EXPECT_EQ(plain(match.captured(3)), expected.text) << match.captured(0).toStdString();
        }
        EXPECT_GT(answers, 40) << "level " << level;
        EXPECT_EQ(answers, answerKey.count(" = ")) << "an answer the pattern missed";
    }
}

// The measure a pane shows, "2 h 15 min", "6,65 m2": numbers with group
// blanks and the comma, each followed by its unit's symbol.
std::vector<testsupport::MeasurePart> ShownMeasure(Uconvers::QuantityKind kind,
                                                   const QString& text) {
    std::vector<testsupport::MeasurePart> parts;
    std::string number;
    for (const QString& word : text.split(QRegularExpression("[ \u00a0]+"), Qt::SkipEmptyParts)) {
        if (word.contains(QRegularExpression("^[0-9,]+$"))) {
            number += word.toStdString();
            continue;
        }
        int unit = -1;
        for (int u = 0; u < Uconvers::UnitCount(kind); ++u) {
            const QString symbol =
                QString::fromLatin1(Uconvers::UnitSymbol(kind, u)).remove("<sup>").remove("</sup>");
            if (word == symbol ||
                (kind == Uconvers::QuantityKind::Duration && u >= 5 && word == symbol + "s")) {
                unit = u;
            }
        }
        EXPECT_GE(unit, 0) << "unknown unit in " << text.toStdString();
        parts.push_back({number, unit});
        number.clear();
    }
    return parts;
}

TEST_F(DesktopWindowTest, DurationsAndMeasuresInTwoUnitsHaveEveryAnswerRight) {
    // Every exercise of the answer-key pane, read back as the teacher sees
    // it: its answer is its measure exactly, in other units.
    Control<QCheckBox>("ckbVirgule").setChecked(true);
    Control<QCheckBox>("ckbDeuxUnites").setChecked(true);
    Control<QSpinBox>("spMaxLigne").setValue(40);
    const std::pair<const char*, Uconvers::QuantityKind> buttons[] = {
        {"btnDuree", Uconvers::QuantityKind::Duration}, {"btnLong", Uconvers::QuantityKind::Length},
        {"btnSurf", Uconvers::QuantityKind::Area},      {"btnVol", Uconvers::QuantityKind::Volume},
        {"btnCapa", Uconvers::QuantityKind::Capacity},  {"btnMasse", Uconvers::QuantityKind::Mass}};
    for (const auto& [button, kind] : buttons) {
        for (int level = 1; level <= 3; ++level) {
            Control<QSlider>("trbNiveau").setValue(level);
            Control<QPushButton>(button).click();
            const QString answerKey = m_form->AnswerKeyPane().toPlainText();
            int exercises = 0;
            int written = 0;
            for (const QString& line : answerKey.split('\n')) {
                const auto start = line.indexOf(QString::fromUtf8("°/"));
                for (const QString& exercise :
                     line.mid(start + 2).split('\t', Qt::SkipEmptyParts)) {
                    if (start < 0 || exercise.trimmed().isEmpty()) {
                        continue;
                    }
                    const QStringList sides = exercise.split(" = ");
                    ASSERT_EQ(sides.size(), 2) << exercise.toStdString();
                    const auto given = ShownMeasure(kind, sides[0]);
                    const auto answer = ShownMeasure(kind, sides[1]);
                    ++exercises;
                    written += given.size() > 1 || answer.size() > 1 ? 1 : 0;
                    EXPECT_TRUE(exact::SameQuantity(kind, given, answer)) << exercise.toStdString();
                    EXPECT_NE(exact::UnitsOf(given), exact::UnitsOf(answer))
                        << exercise.toStdString();
                }
            }
            EXPECT_EQ(exercises, 80) << button << " level " << level;
            EXPECT_EQ(exercises, answerKey.count(" = ")) << "an answer the reading missed";
            // Durations convert one unit into one at level 1.
            EXPECT_GT(written, kind == Uconvers::QuantityKind::Duration && level == 1 ? -1 : 8)
                << button << " level " << level;
        }
    }
}

TEST_F(DesktopWindowTest, FocusBackFromThePreviewActivatesButNotFromAnotherProgram) {
    ASSERT_NE(scheduler, nullptr) << whyNoScheduler.toStdString();
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    Generate(3, 0);
    ShowPreview();
    desktop->Activate(Preview().winId());
    ASSERT_TRUE(XDesktop::WaitFor([this] { return HasFocus(&Preview()); }));
    TurnLightRed();
    const int before = m_activations;
    desktop->Activate(m_form->winId());
    ASSERT_TRUE(XDesktop::WaitFor([this] { return HasFocus(m_form.get()); }));
    EXPECT_EQ(m_activations, before + 1);
    EXPECT_FALSE(Red());

    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", desktop->Display());
    other.setProcessEnvironment(environment);
    other.start("xmessage", {"-name", "autre_programme", "Un autre programme"});
    ASSERT_TRUE(other.waitForStarted());
    QString otherWindow;
    ASSERT_TRUE(XDesktop::WaitFor([&] {
        otherWindow =
            desktop->Run("xdotool", {"search", "--onlyvisible", "--classname", "autre_programme"})
                .split('\n', Qt::SkipEmptyParts)
                .value(0);
        return !otherWindow.isEmpty();
    }));
    TurnLightRed();
    desktop->Activate(otherWindow.toULongLong());
    ASSERT_TRUE(XDesktop::WaitFor([] { return QGuiApplication::focusWindow() == nullptr; }));
    desktop->Activate(m_form->winId());
    ASSERT_TRUE(XDesktop::WaitFor([this] { return HasFocus(m_form.get()); }));
    EXPECT_EQ(m_activations, before + 1);
    EXPECT_TRUE(Red());
    other.kill();
    other.waitForFinished();
}

TEST_F(DesktopWindowTest, NothingCanBeDroppedOnEitherPaneInViewModeButInEditMode) {
    Generate(3, 0);
    for (QTextEdit* pane : {static_cast<QTextEdit*>(&m_form->SubjectPane()),
                            static_cast<QTextEdit*>(&m_form->AnswerKeyPane())}) {
        const QString before = pane->toPlainText();
        EXPECT_FALSE(DropOn(*pane, "GLISSE"));
        EXPECT_EQ(pane->toPlainText(), before);
        EXPECT_FALSE(pane->textCursor().hasSelection());
    }
    // In edit mode the same drop lands in the pane.
    Control<QCheckBox>("ckbEdite").setChecked(true);
    EXPECT_TRUE(DropOn(m_form->SubjectPane(), "GLISSE"));
    EXPECT_TRUE(m_form->SubjectPane().toPlainText().contains("GLISSE"));
}

TEST_F(DesktopWindowTest, ThePrinterChosenWithCIServesPrintingAndThePreview) {
    ASSERT_NE(scheduler, nullptr) << whyNoScheduler.toStdString();
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    ASSERT_TRUE(scheduler->AddQueue("salle_prof", false));
    Generate(3, 0);
    // The teacher picks the second printer in the dialog and confirms.
    bool chosen = false;
    QTimer pick;
    QObject::connect(&pick, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        for (auto* box : dialog->findChildren<QComboBox*>()) {
            const int index = box->findText("salle_prof");
            if (index >= 0) {
                box->setCurrentIndex(index);
                chosen = true;
                dialog->accept();
                return;
            }
        }
    });
    pick.start(100);
    Control<QPushButton>("btnChoixImp").click();
    pick.stop();
    ASSERT_TRUE(chosen);

    Control<QSpinBox>("spSujets").setValue(2);
    Control<QSpinBox>("spCorriges").setValue(1);
    Control<QPushButton>("btnImprime").click();
    EXPECT_EQ(scheduler->JobTitles("salle_prof"),
              (QStringList{Ufiche::texts::kSubjectJobTitle, Ufiche::texts::kSubjectJobTitle,
                           Ufiche::texts::kAnswerKeyJobTitle}));
    EXPECT_TRUE(scheduler->JobTitles("salle_info").isEmpty());

    ShowPreview();
    EXPECT_TRUE(QFile::exists("Temp0.emf"));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
    // The preview asks the chosen printer, not the default one: once it is
    // gone, the preview says so although the default printer is there.
    ASSERT_TRUE(scheduler->RemoveQueue("salle_prof"));
    Control<QPushButton>("btnApercu").click();
    EXPECT_EQ(m_errors, QStringList{platform::messages::kInvalidPrinter});
    scheduler->RemoveQueue("salle_info");
}

TEST_F(DesktopWindowTest, ThePreviewShowsBlankPagesWhenItsFilesCannotBeWritten) {
    ASSERT_NE(scheduler, nullptr) << whyNoScheduler.toStdString();
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    Generate(40, 4);

    // The folder refuses the write probe between the two tests: something
    // takes its name while the window repaints.
    QTimer::singleShot(0, [] {
        QFile::remove("TWFile.txt");
        QDir().mkdir("TWFile.txt");
    });
    ShowPreview();
    EXPECT_FALSE(QFile::exists("Temp0.emf"));
    EXPECT_TRUE(Picture("Image1").isNull());
    EXPECT_TRUE(Picture("Image2").isNull());
    EXPECT_TRUE(Preview().isVisible());
    QDir().rmdir("TWFile.txt");

    // A first page file that cannot be created: no page at all.
    QDir().mkdir("Temp0.emf");
    ShowPreview();
    EXPECT_TRUE(Picture("Image1").isNull());
    EXPECT_TRUE(Picture("Image2").isNull());
    EXPECT_FALSE(QFile::exists("Temp1.emf"));
    QDir().rmdir("Temp0.emf");

    // A second one that cannot be: the first page alone.
    QDir().mkdir("Temp1.emf");
    ShowPreview();
    EXPECT_FALSE(Picture("Image1").isNull());
    EXPECT_TRUE(Picture("Image2").isNull());
    QDir().rmdir("Temp1.emf");
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join("; ").toStdString();
    scheduler->RemoveQueue("salle_info");
}

// Run at the screen's own scale and again with QT_SCALE_FACTOR=2.
using ScaledDesktopTest = DesktopWindowTest;

TEST_F(ScaledDesktopTest, TheWindowKeepsItsLayoutAndThePagesTheirSharpness) {
    ASSERT_NE(scheduler, nullptr) << whyNoScheduler.toStdString();
    ASSERT_TRUE(scheduler->AddQueue("salle_info", true));
    const qreal ratio = m_form->devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") {
        EXPECT_EQ(ratio, 2.0);
    }
    // The layout in logical pixels, enlarged on the screen.
    EXPECT_EQ(m_form->size(), QSize(798, 420));
    EXPECT_EQ(Control<QPushButton>("btnImprime").geometry(), QRect(661, 392, 54, 25));
    const QString info = desktop->Run("xwininfo", {"-id", QString::number(m_form->winId())});
    EXPECT_TRUE(info.contains(QString("Width: %1\n").arg(qRound(798 * ratio))))
        << info.toStdString();

    Generate(3, 0);
    ShowPreview();
    const QPixmap page = Picture("Image1");
    EXPECT_EQ(page.devicePixelRatio(), ratio);
    EXPECT_EQ(page.size(), QSize(qRound(420 * ratio), qRound(594 * ratio)));
    scheduler->RemoveQueue("salle_info");

    // The stored pixels per inch are those of the logical pixels that the
    // stored rectangle counts, the same whatever the scale: a file written
    // at one scale restores the window's place at the other.
    m_form->close();
    QFile settings(m_folder.filePath("fiches-conversions.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("\r\nPixelsPerInch=96\r\n"));
}

}  // namespace
