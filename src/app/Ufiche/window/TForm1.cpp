#include "Ufiche/window/TForm1.h"

#include <QApplication>
#include <QCloseEvent>

#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/panes/Saving.h"
#include "Ufiche/printing/Preview.h"
#include "Ufiche/printing/Printing.h"
#include "Ufiche/window/ActivationWatcher.h"
#include "Ufiche/window/AnchorLayout.h"
#include "Ufiche/window/DefaultServices.h"
#include "Ufiche/window/FormStorage.h"
#include "Ufiche/window/Guards.h"
#include "Ufiche/window/InstructionList.h"
#include "Ufiche/window/LinkFilter.h"
#include "Ufiche/window/OuterGeometry.h"
#include "Ufiche/window/SettingsFileLocation.h"
#include "Ufiche/window/ViewModeFilter.h"
#include "Ufiche/window/WindowLook.h"
#include "Ufiche/window/WindowRules.h"
#include "platform/codepage/Codepage.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/system/System.h"
#include "ui_TForm1.h"

namespace {

const QSize kMinimumOuterSize{680, 400};
const QUrl kCatalogueUrl{QStringLiteral("https://www.editions-orvandiere.fr/mathematiques")};

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::TForm1>()),
      seedSource_(Ufiche::ClockSeed),
      inputBox_(Ufiche::AskNewText),
      saveDialog_(Ufiche::ChooseSaveName),
      paneLoader_(Ufiche::LoadRtfIntoPane) {
    ui_->setupUi(this);
    m_anchors = std::make_unique<AnchorLayout>(*this);
    Ufiche::ApplyFontsAndColours(*this, *ui_, *m_anchors);
    setMouseTracking(true);

    for (auto* pane : {ui_->RxE1, ui_->RxE2}) {
        pane->setPlainText("     ");
        pane->setReadOnly(true);
        pane->setWantTabs(false);
    }
    ui_->RxE1->installEventFilter(this);
    auto editMode = [this] { return editMode_; };
    m_subjectViewMode = new ViewModeFilter(*ui_->RxE1, *this, editMode);
    m_answerKeyViewMode = new ViewModeFilter(*ui_->RxE2, *this, editMode);
    m_answerKeyViewMode->setMouseMoveHandler([this] { FormMouseMove(); });
    ui_->RxE2->viewport()->setMouseTracking(true);

    new LinkFilter(
        *ui_->Label9, [this] { Label9MouseMove(); },
        [this] { platform::runReportingErrors([this] { Label9Click(); }); });
    for (QWidget* field : std::initializer_list<QWidget*>{ui_->eTitre1, ui_->eSepar, ui_->Combo1}) {
        field->installEventFilter(this);
    }
    m_preview = std::make_unique<Ufiche::Preview>(
        *this, *ui_->ScrollBox1, *ui_->Image1, *ui_->Image2,
        []() -> QPrinter& { return platform::CurrentPrinter::instance().printerForJob(); });

    formStorage_ = std::make_unique<TFormStorage>(*this, StoredSettings());

    // Enter presses the focused button as Space does, as on the teachers'
    // other systems (Qt's buttons take Enter only in dialogs).
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }

    ConnectHandlers();
    new ActivationWatcher(*this,
                          [this] { platform::runReportingErrors([this] { FormActivate(); }); });
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
    setSettingsFileName(Ufiche::LocateSettingsFile());
    if (platform::isDebuggerAttached()) {
        Ufiche::WriteCompileStamp();
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

void TForm1::FormActivate() {
    random_.Seed(seedSource_());
    setWindowTitle(platform::messages::kWindowTitle);
    SetLight(Ufiche::kLightGreen);
}

bool TForm1::IsOnRemovableDrive() const {
    return platform::isOnRemovableDrive(platform::executablePath());
}

bool TForm1::FormCloseQuery() {
    m_preview->HideAndRemoveFiles();
    if (IsOnRemovableDrive()) {
        Ufiche::ShowSaveNotice(*ui_->Panel3, *this);
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
    m_anchors->Place(size());
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
    Ufiche::SetBold(*ui_->Label9, true);
}

void TForm1::FormMouseMove() {
    Ufiche::SetBold(*ui_->Label9, false);
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    FormMouseMove();
}

// ---- Generation ----

void TForm1::GenerateWorksheet(Uconvers::QuantityKind kind) {
    if (generating_) {
        return;  // pressed again from the events that this generation processes
    }
    Ufiche::GenerationScope generation(generating_, closeRequested_, *this);

    m_preview->Hide();
    SetLight(Ufiche::kLightGreen);
    Ufiche::BusyCursor busy;
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

// ---- Saving, printing and preview ----

void TForm1::btnEnregistreClick() {
    const std::optional<QString> chosen = saveDialog_(
        this, m_saveDialogInitialDir, platform::FromWindows1252(defaultFileName_) + ".rtf");
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

bool TForm1::CanWriteTestFile() {
    return Ufiche::Preview::CanWriteTestFile();
}

void TForm1::btnApercuClick() {
    m_preview->Show(*ui_->RxE1);
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
    }
    if (!editMode_) {
        m_subjectViewMode->CollapseSelection();
        m_answerKeyViewMode->CollapseSelection();
    }
    QCoreApplication::processEvents();
}

// ---- Instruction-text list ----

int TForm1::Combo1SelectedIndex() const {
    return Ufiche::SelectedEntry(*ui_->Combo1);
}

void TForm1::btnNouvTexteClick() {
    const std::optional<QString> text = inputBox_(this);
    if (text && !text->isEmpty()) {
        Ufiche::AppendEntry(*ui_->Combo1, *text);
    }
    // The box gave the focus back to the window: that is an activation.
    FormActivate();
}

void TForm1::btnEffaceTexteClick() {
    Ufiche::RemoveSelectedEntry(*ui_->Combo1);
}

void TForm1::eTitre1Enter(QWidget* field) {
    Ufiche::SetFieldColour(*field, Ufiche::kEntryColour);
}
void TForm1::eTitre1Exit(QWidget* field) {
    Ufiche::SetFieldColour(*field, Qt::white);
}
void TForm1::Combo1Enter() {
    Ufiche::SetFieldColour(*ui_->Combo1, Ufiche::kEntryColour);
}
void TForm1::Combo1Exit() {
    Ufiche::SetFieldColour(*ui_->Combo1, Qt::white);
}

// ---- Events of the children ----

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        const bool in = type == QEvent::FocusIn;
        if (watched == ui_->eTitre1 || watched == ui_->eSepar) {
            auto* field = static_cast<QWidget*>(watched);
            in ? eTitre1Enter(field) : eTitre1Exit(field);
        } else if (watched == ui_->Combo1) {
            in ? Combo1Enter() : Combo1Exit();
        }
    }
    if (watched == ui_->RxE1 && type == QEvent::KeyPress) {
        RxE1KeyDown();
    }
    return QWidget::eventFilter(watched, event);
}
