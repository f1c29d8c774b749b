#include "Ufiche/window/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QWindow>

#include <chrono>
#include <vector>

#include "RichEditEMFPrint/RichEditEMFPrint.h"
#include "Ufiche/document/LoadRtfIntoPane.h"
#include "Ufiche/document/Saving.h"
#include "Ufiche/printing/Printing.h"
#include "Ufiche/window/Anchors.h"
#include "Ufiche/window/Captions.h"
#include "Ufiche/window/FormStorage.h"
#include "Ufiche/window/OuterGeometry.h"
#include "Ufiche/window/WindowRules.h"
#include "platform/codepage/Codepage.h"
#include "platform/emf/EmfPicture.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/system/System.h"
#include "ui_TForm1.h"

namespace {

using Uconvers::QuantityKind;

const QSize kDesignClientSize{798, 420};
const QSize kMinimumOuterSize{680, 400};
const QSize kSaveNoticeSize{505, 217};
const QUrl kCatalogueUrl{QStringLiteral("https://www.editions-orvandiere.fr/mathematiques")};
const QString kCompileStampFile = QStringLiteral("_DatCompil.txt");
// The preview's page files and its write probe, matched in any letter case.
const QStringList kTemporaryFiles = {"temp0.emf", "temp1.emf", "twfile.txt"};
const QString kPreviewPrefix = QStringLiteral("Temp");
const QString kWriteTestFile = QStringLiteral("TWFile.txt");
const QSize kPreviewSize{493, 497};
const QSize kPagePictureSize{420, 594};

const char* const kDesignGeometry = "designGeometry";

// The settings that survive a restart, in the order the file keeps them.
const QStringList kStoredProps = {
    "spMaxLigne.Value", "spinterligne.Value", "eTitre1.Text",           "eSepar.Text",
    "spCorriges.Value", "spSujets.Value",     "SaveDialog1.InitialDir", "Combo1.Text",
    "Combo1.Items",     "CheckBox1.Checked",  "trbNiveau.Position",     "ckbEdite.Checked",
};

struct AnchoredControl {
    const char* name;
    int anchors;
};

const AnchoredControl kAnchoredControls[] = {
    {"eTitre1", AnchorLeft | AnchorTop | AnchorRight},
    {"Combo1", AnchorLeft | AnchorTop | AnchorRight},
    {"btnNouvTexte", AnchorTop | AnchorRight},
    {"btnEffaceTexte", AnchorTop | AnchorRight},
    {"eSepar", AnchorLeft | AnchorTop | AnchorRight},
    {"ckbEdite", AnchorTop | AnchorRight},
    {"RxE1", AnchorLeft | AnchorTop | AnchorRight | AnchorBottom},
    {"RxE2", AnchorLeft | AnchorRight | AnchorBottom},
    {"Label9", AnchorLeft | AnchorRight | AnchorBottom},
    {"btnLong", AnchorLeft | AnchorBottom},
    {"btnSurf", AnchorLeft | AnchorBottom},
    {"btnVol", AnchorLeft | AnchorBottom},
    {"btnCapa", AnchorLeft | AnchorBottom},
    {"btnChoixImp", AnchorRight | AnchorBottom},
    {"btnApercu", AnchorRight | AnchorBottom},
    {"Label7", AnchorRight | AnchorBottom},
    {"spSujets", AnchorRight | AnchorBottom},
    {"Label8", AnchorRight | AnchorBottom},
    {"spCorriges", AnchorRight | AnchorBottom},
    {"btnImprime", AnchorRight | AnchorBottom},
    {"btnEnregistre", AnchorRight | AnchorBottom},
    {"Shape1", AnchorRight | AnchorBottom},
};

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void SetColours(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

// Sets a flag for the length of a scope, whatever happens in it.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

// The busy cursor over the whole application, restored whatever happens.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::optional<QString> AskNewText(QWidget* parent) {
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, platform::messages::kNewTextTitle,
                                               platform::messages::kNewTextPrompt,
                                               QLineEdit::Normal, QString(), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return text;
}

// No filter, no default extension, no title of its own, no question before
// overwriting a file.
std::optional<QString> ChooseSaveName(QWidget* parent, const QString& initialDir,
                                      const QString& proposedName) {
    QFileDialog dialog(parent);
    // Qt's own dialog, in French: a desktop's native one follows the
    // system's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(initialDir.isEmpty() ? QDir::currentPath() : initialDir);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TForm1>()),
      seedSource_(ClockSeed),
      inputBox_(AskNewText),
      saveDialog_(ChooseSaveName),
      paneLoader_(Ufiche::LoadRtfIntoPane) {
    ui_->setupUi(this);
    for (const auto& control : kAnchoredControls) {
        if (auto* widget = findChild<QWidget*>(control.name)) {
            widget->setProperty(kDesignGeometry, widget->geometry());
        }
    }
    // Arial 12 pixels high, or smaller where a button's caption would not fit
    // its width in the Arial that this system has.
    setFont(PixelFont("Arial", Ufiche::CaptionFontPixels(*this, PixelFont("Arial", 12), 12, 8)));
    setMouseTracking(true);

    for (auto* pane : {ui_->RxE1, ui_->RxE2}) {
        pane->setFont(PixelFont("Courier New", 11));
        pane->setPlainText("     ");
        pane->setReadOnly(true);
        pane->setWantTabs(false);
        pane->viewport()->installEventFilter(this);
        pane->installEventFilter(this);
    }
    ui_->RxE2->viewport()->setMouseTracking(true);

    ui_->Label9->setFont(PixelFont("MS Sans Serif", 16));
    ui_->Label9->setCursor(Qt::PointingHandCursor);
    ui_->Label9->setMouseTracking(true);
    SetColours(ui_->Label9, QPalette::WindowText, QColor(0, 0, 255));
    SetColours(ui_->Label9, QPalette::Window, QColor(255, 128, 0));
    ui_->Label9->installEventFilter(this);

    ui_->Label10->setFont(PixelFont("Arial", 9));
    SetColours(ui_->Label10, QPalette::WindowText, QColor(128, 0, 0));

    SetColours(ui_->Panel3, QPalette::Window, QColor(255, 0, 0));
    SetColours(ui_->Panel4, QPalette::Window, QColor(255, 255, 255));
    ui_->Label6->setFont(PixelFont("Arial", 19));
    // Labels take the size of their caption from their top-left corner, as the
    // original toolkit's do; the banner spans the window.
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label != ui_->Label9 && !label->text().isEmpty()) {
            label->adjustSize();
            if (label->property(kDesignGeometry).isValid()) {
                label->setProperty(kDesignGeometry, label->geometry());
            }
        }
    }

    ui_->Shape1->setBrushColor(Ufiche::kLightGreen);
    SetColours(ui_->pnlImage1, QPalette::Window, Qt::white);
    SetColours(ui_->pnlImage2, QPalette::Window, Qt::white);
    for (QWidget* field : std::initializer_list<QWidget*>{ui_->eTitre1, ui_->eSepar, ui_->Combo1}) {
        field->installEventFilter(this);
    }
    SetFieldColour(ui_->eTitre1, Qt::white);
    SetFieldColour(ui_->Combo1, Qt::white);

    // The save dialog's starting folder is a stored setting of its own.
    auto* saveDialog = new QObject(this);
    saveDialog->setObjectName("SaveDialog1");
    saveDialog->setProperty("InitialDir", QString());
    formStorage_ = std::make_unique<TFormStorage>(*this, kStoredProps);

    // Enter presses the focused button as Space does, as on the teachers'
    // other systems (Qt's buttons take Enter only in dialogs).
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }

    ConnectHandlers();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TForm1::OnFocusWindowChanged);
    FormCreate();
}

TForm1::~TForm1() {
    // A window destroyed without a completed save since the restore saves once
    // more, marking the file as written while the window was destroyed.
    if (formStorage_->Restored() && !formStorage_->Saved()) {
        platform::runReportingErrors([this] { formStorage_->SaveSettings(true); });
    }
}

void TForm1::setSettingsFileName(const QString& fileName) {
    settingsFileName_ = fileName;
    formStorage_->setIniFileName(fileName);
}

void TForm1::ConnectHandlers() {
    auto on = [this](auto handler) {
        return [this, handler](auto&&...) {
            platform::runReportingErrors([&] { (this->*handler)(); });
        };
    };
    connect(ui_->spMaxLigne, &QSpinBox::valueChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(ui_->spinterligne, &QSpinBox::valueChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(ui_->eTitre1, &QLineEdit::textChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(ui_->eSepar, &QLineEdit::textChanged, this, on(&TForm1::spmaxvaleurChange));
    // Only the teacher's typing or choice: text set by code is guarded.
    connect(ui_->Combo1, &QComboBox::editTextChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(ui_->trbNiveau, &QSlider::valueChanged, this, on(&TForm1::trbNiveauChange));
    connect(ui_->CheckBox1, &QCheckBox::toggled, this, on(&TForm1::CheckBox1Click));
    connect(ui_->ckbEdite, &QCheckBox::toggled, this, on(&TForm1::ckbEditeClick));
    connect(ui_->btnLong, &QPushButton::clicked, this, on(&TForm1::btnLongClick));
    connect(ui_->btnSurf, &QPushButton::clicked, this, on(&TForm1::btnSurfClick));
    connect(ui_->btnVol, &QPushButton::clicked, this, on(&TForm1::btnVolClick));
    connect(ui_->btnCapa, &QPushButton::clicked, this, on(&TForm1::btnCapaClick));
    connect(ui_->btnEnregistre, &QPushButton::clicked, this, on(&TForm1::btnEnregistreClick));
    connect(ui_->btnImprime, &QPushButton::clicked, this, on(&TForm1::btnImprimeClick));
    connect(ui_->btnChoixImp, &QPushButton::clicked, this, on(&TForm1::btnChoixImpClick));
    connect(ui_->btnApercu, &QPushButton::clicked, this, on(&TForm1::btnApercuClick));
    connect(ui_->btnNouvTexte, &QPushButton::clicked, this, on(&TForm1::btnNouvTexteClick));
    connect(ui_->btnEffaceTexte, &QPushButton::clicked, this, on(&TForm1::btnEffaceTexteClick));
    connect(ui_->RxE1, &QTextEdit::textChanged, this, on(&TForm1::RxE1Change));
    connect(ui_->RxE2, &QTextEdit::textChanged, this, on(&TForm1::RxE2Change));
}

platform::TRxRichEdit& TForm1::subjectPane() const {
    return *ui_->RxE1;
}
platform::TRxRichEdit& TForm1::answerKeyPane() const {
    return *ui_->RxE2;
}

QColor TForm1::LightColour() const {
    return ui_->Shape1->brushColor();
}

void TForm1::setSeedSource(std::function<std::uint32_t()> seedSource) {
    seedSource_ = std::move(seedSource);
}

void TForm1::setInputBox(InputBox inputBox) {
    inputBox_ = std::move(inputBox);
}

void TForm1::setSaveDialog(SaveDialog saveDialog) {
    saveDialog_ = std::move(saveDialog);
}

void TForm1::setPaneLoader(PaneLoader paneLoader) {
    paneLoader_ = std::move(paneLoader);
}

void TForm1::SetLight(const QColor& colour) {
    ui_->Shape1->setBrushColor(colour);
}

Ufiche::WorksheetSettings TForm1::ReadWorksheetSettings() const {
    return {currentLevel_,
            ui_->spMaxLigne->value(),
            ui_->spinterligne->value(),
            platform::ToWindows1252(ui_->eTitre1->text()),
            platform::ToWindows1252(ui_->Combo1->currentText()),
            ui_->CheckBox1->isChecked(),
            platform::ToWindows1252(ui_->eSepar->text())};
}

// ---- Start-up, activation, close ----

void TForm1::FormCreate() {
    const Ufiche::SettingsLocation location = Ufiche::BuiltSettingsLocation();
#ifdef _WIN32
    // %LOCALAPPDATA%: Windows' counterpart of the configuration folder.
    const QString configHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString home;
#else
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString home = qEnvironmentVariable("HOME");
#endif
    const QString settingsFile =
        Ufiche::SettingsFileName(location, platform::executablePath(), configHome, home);
    if (location == Ufiche::SettingsLocation::UserConfiguration) {
        // At a first run the folder is missing. When it cannot be created,
        // the save at close reports the file it could not write.
        platform::createPrivateFolder(QFileInfo(settingsFile).path());
    }
    setSettingsFileName(settingsFile);
    if (platform::isDebuggerAttached()) {
        // A trace of the build for whoever debugs; a failure to write it is
        // of no consequence.
        QFile stamp(QDir::current().filePath(kCompileStampFile));
        if (stamp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            stamp.write(Ufiche::CompileStampText(
                            platform::executablePath(),
                            QDateTime::currentDateTime().toString("dd/MM/yyyy hh:mm:ss"))
                            .toUtf8());
        }
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) {
        return;
    }
    shownOnce_ = true;
    // The minimum is an outer size, kept so once the frame is known.
    formStorage_->Outer().setMinimumOuterSize(kMinimumOuterSize);
    // The stored settings, before the first activation; each restored value
    // runs its control's change handler.
    platform::runReportingErrors([this] { formStorage_->RestoreSettings(); });
    // Focus reports may never come (offscreen, focus-stealing prevention):
    // the first activation runs here, so no generation draws unseeded.
    platform::runReportingErrors([this] { FormActivate(); });
}

void TForm1::OnFocusWindowChanged(QWindow* window) {
    QWindow* previous = lastFocusWindow_;
    if (window != nullptr) {
        lastFocusWindow_ = window;
    }
    // Only a return from another window of the program (the input box, the
    // preview) activates; coming back from another application does not.
    if (window != nullptr && window == windowHandle() && previous != nullptr &&
        previous != window) {
        platform::runReportingErrors([this] { FormActivate(); });
    }
}

void TForm1::FormActivate() {
    random_.Seed(seedSource_());
    setWindowTitle(platform::messages::kWindowTitle);
    SetLight(Ufiche::kLightGreen);
}

bool TForm1::IsOnRemovableDrive() const {
    return platform::isOnRemovableDrive(platform::executablePath());
}

bool TForm1::FormCloseQuery() {
    ui_->ScrollBox1->hide();
    const QDir current = QDir::current();
    for (const QString& name : current.entryList(QDir::Files | QDir::Hidden)) {
        if (kTemporaryFiles.contains(name.toLower())) {
            QFile::remove(current.filePath(name));  // a file that stays is no error
        }
    }
    if (IsOnRemovableDrive()) {
        ui_->Panel3->move(Ufiche::SaveNoticePosition(size(), kSaveNoticeSize));
        ui_->Panel3->show();
        ui_->Panel3->raise();
        ui_->Panel3->repaint();
        repaint();
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (generating_) {
        // The generation under way still needs the window: close after it.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    bool allowed = true;
    platform::runReportingErrors([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    // A save that fails is reported; the close goes on all the same.
    platform::runReportingErrors([this] { formStorage_->SaveSettings(false); });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const auto& control : kAnchoredControls) {
        if (auto* widget = findChild<QWidget*>(control.name)) {
            const QRect design = widget->property(kDesignGeometry).toRect();
            widget->setGeometry(
                AnchoredGeometry(design, control.anchors, kDesignClientSize, size()));
        }
    }
}

// ---- Settings reactions ----

void TForm1::spmaxvaleurChange() {
    if (Ufiche::SettingChangeTurnsLightRed(ui_->RxE1->toPlainText())) {
        SetLight(Ufiche::kLightRed);
    }
    ui_->Label10->setText(Ufiche::SeparatorLengthCaption(ui_->eSepar->text()));
    ui_->Label10->adjustSize();
}

void TForm1::trbNiveauChange() {
    currentLevel_ = ui_->trbNiveau->value();
    ui_->trbNiveau->setToolTip(Ufiche::LevelHint(currentLevel_));
    SetLight(Ufiche::kLightRed);
}

void TForm1::CheckBox1Click() {
    ui_->eSepar->setEnabled(ui_->CheckBox1->isChecked());
    SetLight(Ufiche::kLightRed);
}

void TForm1::Label9Click() {
    platform::openUrl(kCatalogueUrl);
}

void TForm1::Label9MouseMove() {
    QFont font = ui_->Label9->font();
    font.setBold(true);
    ui_->Label9->setFont(font);
}

void TForm1::FormMouseMove() {
    QFont font = ui_->Label9->font();
    font.setBold(false);
    ui_->Label9->setFont(font);
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    FormMouseMove();
}

// ---- Generation ----

void TForm1::btnLongClick() {
    GenerateWorksheet(QuantityKind::Length);
}
void TForm1::btnSurfClick() {
    GenerateWorksheet(QuantityKind::Area);
}
void TForm1::btnVolClick() {
    GenerateWorksheet(QuantityKind::Volume);
}
void TForm1::btnCapaClick() {
    GenerateWorksheet(QuantityKind::Capacity);
}

void TForm1::GenerateWorksheet(QuantityKind kind) {
    if (generating_) {
        return;  // pressed again from the events that this generation processes
    }
    struct CloseWhenDone {
        TForm1& form;
        ~CloseWhenDone() { form.FinishGeneration(); }
    } closeWhenDone{*this};
    FlagGuard generating(generating_);

    ui_->ScrollBox1->hide();
    SetLight(Ufiche::kLightGreen);
    BusyCursor busy;
    Ufiche::EmptyPane(*ui_->RxE1);
    Ufiche::EmptyPane(*ui_->RxE2);

    // The settings as they stand after the events that the emptying let run.
    const Ufiche::WorksheetSettings settings = ReadWorksheetSettings();
    Ufiche::GeneratedWorksheet sheet = Ufiche::BuildWorksheet(kind, settings, random_);
    defaultFileName_ = std::move(sheet.DefaultFileName);
    drawnExercises_ = std::move(sheet.DrawnExercises);
    paneLoader_(*ui_->RxE1, sheet.Subject);
    paneLoader_(*ui_->RxE2, sheet.AnswerKey);
}

void TForm1::FinishGeneration() {
    if (closeRequested_) {
        closeRequested_ = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

// ---- Saving and printing ----

void TForm1::btnEnregistreClick() {
    const QString initialDir =
        findChild<QObject*>("SaveDialog1")->property("InitialDir").toString();
    const std::optional<QString> chosen =
        saveDialog_(this, initialDir, platform::FromWindows1252(defaultFileName_) + ".rtf");
    if (chosen) {
        Ufiche::SaveWorksheet(*ui_->RxE1, *ui_->RxE2, *chosen);
    }
}

void TForm1::btnImprimeClick() {
    Ufiche::PrintCopies(*ui_->RxE1, *ui_->RxE2, ui_->spSujets->value(), ui_->spCorriges->value(),
                        [](const QString& fileSuffix) -> QPrinter& {
                            return platform::CurrentPrinter::instance().printerForJob(fileSuffix);
                        });
}

void TForm1::btnChoixImpClick() {
    platform::CurrentPrinter::instance().choose(this);
}

// ---- Preview ----

bool TForm1::CanWriteTestFile() {
    // An empty file written in the current folder, where the page files go.
    QFile probe(QDir::current().filePath(kWriteTestFile));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return probe.flush() && (probe.close(), probe.error() == QFileDevice::NoError);
}

void TForm1::btnApercuClick() {
    if (!CanWriteTestFile()) {
        return;  // a folder that cannot take the page files: no preview, no message
    }
    const QDir current = QDir::current();
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        QFile::remove(current.filePath(RichEditEMFPrint::PageFileName(kPreviewPrefix, page)));
    }
    ui_->Image1->setPixmap(QPixmap());
    ui_->Image2->setPixmap(QPixmap());
    QCoreApplication::processEvents();
    if (CanWriteTestFile()) {
        RichEditEMFPrint::RichEditToEMF(*ui_->RxE1, kPreviewPrefix);
    }
    QCoreApplication::processEvents();
    QLabel* const pictures[] = {ui_->Image1, ui_->Image2};
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        const QString file = current.filePath(RichEditEMFPrint::PageFileName(kPreviewPrefix, page));
        if (QFile::exists(file)) {
            // Drawn in device pixels, so that a scaled screen shows it sharp.
            const qreal ratio = pictures[page]->devicePixelRatioF();
            QImage picture = platform::renderEmfFile(file, kPagePictureSize * ratio);
            picture.setDevicePixelRatio(ratio);
            pictures[page]->setPixmap(QPixmap::fromImage(picture));
        }
    }
    ui_->ScrollBox1->verticalScrollBar()->setValue(0);
    if (!ui_->ScrollBox1->isWindow()) {
        // Floated into a window of its own, centred on the screen, the first
        // time; afterwards shown where the teacher left it.
        ui_->ScrollBox1->setParent(this, Qt::Tool);
        const QSize screen = this->screen() ? this->screen()->geometry().size() : QSize(1024, 768);
        ui_->ScrollBox1->setGeometry((screen.width() - kPreviewSize.width()) / 2,
                                     (screen.height() - kPreviewSize.height()) / 2,
                                     kPreviewSize.width(), kPreviewSize.height());
    }
    ui_->ScrollBox1->show();
}

// ---- Panes ----

void TForm1::RxE1Change() {
    const bool enabled = Ufiche::SubjectButtonsEnabled(ui_->RxE1->plainText());
    ui_->btnImprime->setEnabled(enabled);
    ui_->btnEnregistre->setEnabled(enabled);
    ui_->btnApercu->setEnabled(enabled);
    QCoreApplication::processEvents();
}

// Processing events here would let the teacher's next key run inside the
// change of the previous one; the panes repaint on their own.
void TForm1::RxE2Change() {}
void TForm1::RxE1KeyDown() {}

void TForm1::ckbEditeClick() {
    editMode_ = ui_->ckbEdite->isChecked();
    for (auto* pane : {ui_->RxE1, ui_->RxE2}) {
        pane->setReadOnly(!editMode_);
        pane->setWantTabs(editMode_);
        if (!editMode_) {
            CollapseSelection(*pane);
        }
    }
    QCoreApplication::processEvents();
}

void TForm1::CollapseSelection(QTextEdit& pane) {
    QTextCursor cursor = pane.textCursor();
    if (!cursor.hasSelection()) {
        return;
    }
    // The caret goes to the offset of the title's length, within the text.
    const int end = pane.document()->characterCount() - 1;
    cursor.setPosition(std::min(static_cast<int>(windowTitle().size()), end));
    pane.setTextCursor(cursor);
}

// The pane handles the mouse first: the collapse comes after its own
// selection, as a queued call.
void TForm1::CollapseSelectionLater(QTextEdit& pane) {
    if (!editMode_) {
        QMetaObject::invokeMethod(
            this, [this, &pane] { CollapseSelection(pane); }, Qt::QueuedConnection);
    }
}

// Nothing may be dropped on a pane in view mode.
void TForm1::RefuseDrop(QTextEdit& pane, QEvent* event) {
    if (!editMode_) {
        event->ignore();
        CollapseSelection(pane);
    }
}

void TForm1::RxE1MouseDown() {
    CollapseSelectionLater(*ui_->RxE1);
}
void TForm1::RxE1MouseUp() {
    CollapseSelectionLater(*ui_->RxE1);
}
void TForm1::RxE1EndDrag() {
    CollapseSelectionLater(*ui_->RxE1);
}
void TForm1::RxE2MouseDown() {
    CollapseSelectionLater(*ui_->RxE2);
}
void TForm1::RxE2MouseUp() {
    CollapseSelectionLater(*ui_->RxE2);
}
void TForm1::RxE2EndDrag() {
    CollapseSelectionLater(*ui_->RxE2);
}
void TForm1::RxE1DragOver(QEvent* event) {
    RefuseDrop(*ui_->RxE1, event);
}
void TForm1::RxE1DragDrop(QEvent* event) {
    RefuseDrop(*ui_->RxE1, event);
}
void TForm1::RxE2DragOver(QEvent* event) {
    RefuseDrop(*ui_->RxE2, event);
}

// ---- Instruction-text list ----

int TForm1::Combo1SelectedIndex() const {
    const int index = ui_->Combo1->currentIndex();
    if (index < 0 || ui_->Combo1->itemText(index) != ui_->Combo1->currentText()) {
        return -1;
    }
    return index;
}

void TForm1::btnNouvTexteClick() {
    const std::optional<QString> text = inputBox_(this);
    if (text && !text->isEmpty()) {
        QSignalBlocker noChangeEvent(ui_->Combo1);  // an assignment raises no event
        ui_->Combo1->addItem(*text);
        ui_->Combo1->setCurrentIndex(ui_->Combo1->count() - 1);
    }
    // The box gave the focus back to the window: that is an activation.
    FormActivate();
}

void TForm1::btnEffaceTexteClick() {
    const int index = Combo1SelectedIndex();
    if (index < 0) {
        return;
    }
    QSignalBlocker noChangeEvent(ui_->Combo1);
    const QString text = ui_->Combo1->currentText();
    ui_->Combo1->removeItem(index);
    ui_->Combo1->setCurrentIndex(-1);
    ui_->Combo1->setEditText(text);
}

void TForm1::SetFieldColour(QWidget* field, const QColor& colour) {
    SetColours(field, QPalette::Base, colour);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
        SetColours(combo->lineEdit(), QPalette::Base, colour);
    }
}

void TForm1::eTitre1Enter(QWidget* field) {
    SetFieldColour(field, Ufiche::kEntryColour);
}
void TForm1::eTitre1Exit(QWidget* field) {
    SetFieldColour(field, Qt::white);
}
void TForm1::Combo1Enter() {
    SetFieldColour(ui_->Combo1, Ufiche::kEntryColour);
}
void TForm1::Combo1Exit() {
    SetFieldColour(ui_->Combo1, Qt::white);
}

// ---- Events of the children ----

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == ui_->Label9) {
        if (type == QEvent::MouseMove) {
            Label9MouseMove();
        } else if (type == QEvent::MouseButtonRelease &&
                   ui_->Label9->rect().contains(static_cast<QMouseEvent*>(event)->pos())) {
            platform::runReportingErrors([this] { Label9Click(); });
        }
        return false;
    }
    if (watched == ui_->eTitre1 || watched == ui_->eSepar) {
        if (type == QEvent::FocusIn) {
            eTitre1Enter(static_cast<QWidget*>(watched));
        } else if (type == QEvent::FocusOut) {
            eTitre1Exit(static_cast<QWidget*>(watched));
        }
        return false;
    }
    if (watched == ui_->Combo1) {
        if (type == QEvent::FocusIn) {
            Combo1Enter();
        } else if (type == QEvent::FocusOut) {
            Combo1Exit();
        }
        return false;
    }
    const bool subject = watched == ui_->RxE1->viewport();
    const bool answerKey = watched == ui_->RxE2->viewport();
    if (subject || answerKey) {
        switch (type) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                subject ? RxE1MouseDown() : RxE2MouseDown();
                break;
            case QEvent::MouseButtonRelease:
                subject ? RxE1MouseUp() : RxE2MouseUp();
                break;
            case QEvent::MouseMove:
                if (answerKey) {
                    FormMouseMove();
                }
                if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
                    subject ? RxE1MouseDown() : RxE2MouseDown();
                }
                break;
            case QEvent::DragEnter:
            case QEvent::DragMove:
                if (!editMode_) {
                    subject ? RxE1DragOver(event) : RxE2DragOver(event);
                    return true;
                }
                break;
            case QEvent::Drop:
                if (!editMode_) {
                    subject ? RxE1DragDrop(event) : RxE2DragOver(event);
                    return true;
                }
                break;
            case QEvent::DragLeave:
                subject ? RxE1EndDrag() : RxE2EndDrag();
                break;
            default:
                break;
        }
        return false;
    }
    if (watched == ui_->RxE1 && type == QEvent::KeyPress) {
        RxE1KeyDown();
    }
    return QWidget::eventFilter(watched, event);
}
