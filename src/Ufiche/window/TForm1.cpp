#include "Ufiche/window/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "Ufiche/document/GiftExport.h"
#include "Ufiche/document/SheetSet.h"
#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/panes/Saving.h"
#include "Ufiche/printing/Preview.h"
#include "Ufiche/printing/Printing.h"
#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/ActivationWatcher.h"
#include "Ufiche/window/Captions.h"
#include "Ufiche/window/DefaultServices.h"
#include "Ufiche/window/FieldFocus.h"
#include "Ufiche/window/Guards.h"
#include "Ufiche/window/InstructionList.h"
#include "Ufiche/window/OuterGeometry.h"
#include "Ufiche/window/StatusRules.h"
#include "Ufiche/window/StoredControls.h"
#include "Ufiche/window/WindowLook.h"
#include "Ufiche/window/settings/FormStorage.h"
#include "Ufiche/window/settings/SettingsFileLocation.h"
#include "Ufiche/window/widgets/AnchorLayout.h"
#include "Ufiche/window/widgets/LinkFilter.h"
#include "Ufiche/window/widgets/ViewModeFilter.h"
#include "platform/codepage/Codepage.h"
#include "platform/errors/ErrorReport.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/system/System.h"
#include "ui_TForm1.h"

namespace Ufiche {

namespace {

const QSize kMinimumOuterSize{680, 400};
const QUrl kCatalogueUrl{QStringLiteral("https://www.editions-orvandiere.fr/mathematiques")};

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::TForm1>()),
      m_seedSource(ClockSeed),
      m_inputBox(AskNewText),
      m_saveDialog(ChooseSaveName),
      m_paneLoader(LoadRtfIntoPane),
      m_printerForJob([](const QString& fileSuffix) -> QPrinter& {
          return platform::CurrentPrinter::Instance().PrinterForJob(fileSuffix);
      }) {
    m_ui->setupUi(this);
    // A code's five letters and digits, in either case; "O", "I" and "L" read
    // as digits. Enter and leaving the field report only a whole code.
    m_ui->eCode->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-TV-Za-tv-z]{5}")), m_ui->eCode));
    // The stored settings' controls take their limits and starting values
    // from the settings table; what follows from those values follows them.
    std::vector<StoredSetting> stored = BindStoredControls(*this, m_saveDialogInitialDir);
    m_currentLevel = m_ui->trbNiveau->value();
    m_ui->trbNiveau->setToolTip(texts::LevelHint(m_currentLevel));
    m_ui->Label10->setText(SeparatorLengthCaption(m_ui->eSepar->text()));
    m_anchors = std::make_unique<AnchorLayout>(*this);
    ApplyFontsAndColours(*this, *m_ui, *m_anchors);
    setMouseTracking(true);

    for (auto* pane : {m_ui->RxE1, m_ui->RxE2}) {
        pane->setPlainText("     ");
        pane->setReadOnly(true);
        pane->SetWantTabs(false);
    }
    auto editMode = [this] { return m_editMode; };
    m_subjectViewMode = new ViewModeFilter(*m_ui->RxE1, *this, editMode);
    m_answerKeyViewMode = new ViewModeFilter(*m_ui->RxE2, *this, editMode);
    m_answerKeyViewMode->SetMouseMoveHandler([this] { FormMouseMove(); });
    m_ui->RxE2->viewport()->setMouseTracking(true);

    new LinkFilter(
        *m_ui->Label9, [this] { Label9MouseMove(); },
        [this] { platform::RunReportingErrors([this] { Label9Click(); }); });
    PaintFieldsOnFocus(*this, {m_ui->eTitre1, m_ui->eSepar, m_ui->Combo1});
    m_preview =
        std::make_unique<Preview>(*this, *m_ui->ScrollBox1, *m_ui->Image1, *m_ui->Image2,
                                  [this]() -> QPrinter& { return m_printerForJob(QString()); });

    m_outer = new OuterGeometry(*this);
    m_formStorage = std::make_unique<TFormStorage>(*this, *m_outer, std::move(stored));

    // Enter presses the focused button as Space does, as on the teachers'
    // other systems (Qt's buttons take Enter only in dialogs).
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }

    ConnectHandlers();
    new ActivationWatcher(*this,
                          [this] { platform::RunReportingErrors([this] { FormActivate(); }); });
    FormCreate();
}

TForm1::~TForm1() {
    // A window destroyed without a completed save since the restore saves once
    // more, marking the file as written while the window was destroyed.
    if (m_formStorage->Restored() && !m_formStorage->Saved()) {
        platform::RunReportingErrors([this] { m_formStorage->SaveSettings(true); });
    }
}

void TForm1::SetSettingsFileName(const QString& fileName) {
    m_settingsFileName = fileName;
    m_formStorage->SetIniFileName(fileName);
}

void TForm1::ConnectHandlers() {
    auto on = [this](auto handler) {
        return [this, handler](auto&&...) {
            platform::RunReportingErrors([&] { (this->*handler)(); });
        };
    };
    connect(m_ui->spMaxLigne, &QSpinBox::valueChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(m_ui->spinterligne, &QSpinBox::valueChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(m_ui->eTitre1, &QLineEdit::textChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(m_ui->eSepar, &QLineEdit::textChanged, this, on(&TForm1::spmaxvaleurChange));
    // Only the teacher's typing or choice: text set by code is guarded.
    connect(m_ui->Combo1, &QComboBox::editTextChanged, this, on(&TForm1::spmaxvaleurChange));
    connect(m_ui->trbNiveau, &QSlider::valueChanged, this, on(&TForm1::trbNiveauChange));
    connect(m_ui->CheckBox1, &QCheckBox::toggled, this, on(&TForm1::CheckBox1Click));
    connect(m_ui->ckbEdite, &QCheckBox::toggled, this, on(&TForm1::ckbEditeClick));
    connect(m_ui->btnLong, &QPushButton::clicked, this, on(&TForm1::btnLongClick));
    connect(m_ui->btnSurf, &QPushButton::clicked, this, on(&TForm1::btnSurfClick));
    connect(m_ui->btnVol, &QPushButton::clicked, this, on(&TForm1::btnVolClick));
    connect(m_ui->btnCapa, &QPushButton::clicked, this, on(&TForm1::btnCapaClick));
    connect(m_ui->btnMasse, &QPushButton::clicked, this, on(&TForm1::btnMasseClick));
    connect(m_ui->btnDuree, &QPushButton::clicked, this, on(&TForm1::btnDureeClick));
    connect(m_ui->ckbVirgule, &QCheckBox::toggled, this, on(&TForm1::ckbVirguleClick));
    connect(m_ui->ckbTableau, &QCheckBox::toggled, this, on(&TForm1::ckbVirguleClick));
    connect(m_ui->ckbDeuxUnites, &QCheckBox::toggled, this, on(&TForm1::ckbVirguleClick));
    connect(m_ui->btnEnregistre, &QPushButton::clicked, this, on(&TForm1::btnEnregistreClick));
    connect(m_ui->btnMoodle, &QPushButton::clicked, this, on(&TForm1::btnMoodleClick));
    connect(m_ui->btnImprime, &QPushButton::clicked, this, on(&TForm1::btnImprimeClick));
    connect(m_ui->btnChoixImp, &QPushButton::clicked, this, on(&TForm1::btnChoixImpClick));
    connect(m_ui->btnApercu, &QPushButton::clicked, this, on(&TForm1::btnApercuClick));
    connect(m_ui->btnNouvTexte, &QPushButton::clicked, this, on(&TForm1::btnNouvTexteClick));
    connect(m_ui->btnEffaceTexte, &QPushButton::clicked, this, on(&TForm1::btnEffaceTexteClick));
    connect(m_ui->RxE1, &QTextEdit::textChanged, this, on(&TForm1::RxE1Change));
    connect(m_ui->eCode, &QLineEdit::editingFinished, this, on(&TForm1::eCodeEditingFinished));
}

platform::TRxRichEdit& TForm1::SubjectPane() const {
    return *m_ui->RxE1;
}
platform::TRxRichEdit& TForm1::AnswerKeyPane() const {
    return *m_ui->RxE2;
}

QColor TForm1::LightColour() const {
    return m_ui->Shape1->BrushColor();
}

void TForm1::SetLight(const QColor& colour) {
    m_ui->Shape1->SetBrushColor(colour);
}

WorksheetSettings TForm1::ReadWorksheetSettings() const {
    return WorksheetSettingsOf(m_formStorage->Settings());
}

// ---- Start-up, activation, close ----

void TForm1::FormCreate() {
    SetSettingsFileName(LocateSettingsFile());
    if (platform::IsDebuggerAttached()) {
        WriteCompileStamp();
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce) {
        return;
    }
    m_shownOnce = true;
    // The minimum is an outer size, kept so once the frame is known.
    m_outer->SetMinimumOuterSize(kMinimumOuterSize);
    // The stored settings, before the first activation; each restored value
    // runs its control's change handler.
    platform::RunReportingErrors([this] { m_formStorage->RestoreSettings(); });
    // Focus reports may never come (offscreen, focus-stealing prevention):
    // the first activation runs here, so no generation draws unseeded.
    platform::RunReportingErrors([this] { FormActivate(); });
}

void TForm1::FormActivate() {
    m_random.Seed(m_seedSource());
    setWindowTitle(texts::kWindowTitle);
    SetLight(kLightGreen);
}

bool TForm1::IsOnRemovableDrive() const {
    return platform::IsOnRemovableDrive(platform::ExecutablePath());
}

bool TForm1::FormCloseQuery() {
    m_preview->HideAndRemoveFiles();
    if (IsOnRemovableDrive()) {
        ShowSaveNotice(*m_ui->Panel3, *this);
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        // The generation or preview under way still needs the window: close
        // after it.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    bool allowed = true;
    platform::RunReportingErrors([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    // A save that fails is reported; the close goes on all the same.
    platform::RunReportingErrors([this] { m_formStorage->SaveSettings(false); });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_anchors->Place(size());
}

// ---- Settings reactions ----

void TForm1::spmaxvaleurChange() {
    if (SettingChangeTurnsLightRed(m_ui->RxE1->toPlainText())) {
        SetLight(kLightRed);
    }
    m_ui->Label10->setText(SeparatorLengthCaption(m_ui->eSepar->text()));
    m_ui->Label10->adjustSize();
}

void TForm1::trbNiveauChange() {
    m_currentLevel = m_ui->trbNiveau->value();
    m_ui->trbNiveau->setToolTip(texts::LevelHint(m_currentLevel));
    SetLight(kLightRed);
}

void TForm1::CheckBox1Click() {
    m_ui->eSepar->setEnabled(m_ui->CheckBox1->isChecked());
    SetLight(kLightRed);
}

void TForm1::ckbVirguleClick() {
    SetLight(kLightRed);
}

void TForm1::Label9Click() {
    platform::OpenUrl(kCatalogueUrl);
}

void TForm1::Label9MouseMove() {
    SetBold(*m_ui->Label9, true);
}

void TForm1::FormMouseMove() {
    SetBold(*m_ui->Label9, false);
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    FormMouseMove();
}

// ---- Generation ----

void TForm1::GenerateWorksheet(Uconvers::QuantityKind kind,
                               std::optional<std::uint32_t> typedCode) {
    if (Busy()) {
        return;  // pressed from the events that a generation or a preview processes
    }
    LongOperationScope generation(m_operation, LongOperation::Generation, m_closeRequested, *this);

    m_preview->Hide();
    SetLight(kLightGreen);
    BusyCursor busy;
    EmptyPane(*m_ui->RxE1);
    EmptyPane(*m_ui->RxE2);

    // The settings as they stand after the events that the emptying let run.
    const WorksheetSettings settings = ReadWorksheetSettings();
    const std::uint32_t code = typedCode ? *typedCode : DrawSheetCode(m_random);
    GeneratedWorksheet sheet = BuildWorksheetOfCode(kind, settings, code, typedCode.has_value());
    m_defaultFileName = sheet.DefaultFileName;
    m_drawnExercises = std::move(sheet.DrawnExercises);
    m_paneLoader(*m_ui->RxE1, sheet.Subject);
    m_paneLoader(*m_ui->RxE2, sheet.AnswerKey);
    // The quiz needs the exercises only; the documents live in the panes.
    sheet.Subject = {};
    sheet.AnswerKey = {};
    m_quizSheet = std::move(sheet);
    m_sheetSettings = settings;
    m_ui->eCode->setText(QString::fromLatin1(SheetCodeText(code)));
    m_ui->eCode->setModified(false);
    m_ui->btnMoodle->setEnabled(!m_quizSheet.ExerciseLines.empty());
}

void TForm1::eCodeEditingFinished() {
    // Leaving the field unchanged, or the code just shown, makes nothing.
    if (!m_ui->eCode->isModified()) {
        return;
    }
    m_ui->eCode->setModified(false);
    const std::optional<std::uint32_t> code =
        ParseSheetCode(m_ui->eCode->text().toLatin1().toStdString());
    if (code) {
        GenerateWorksheet(m_quizSheet.Kind, code);
    }
}

// ---- Saving, printing and preview ----

// Each command is dropped when it comes from the events that a generation or
// a preview processes part-way: it would work on an answer key not loaded yet,
// or draw pages that the operation under way then replaces or leaves behind.

void TForm1::btnEnregistreClick() {
    if (Busy()) {
        return;
    }
    const std::optional<QString> chosen = m_saveDialog(
        this, m_saveDialogInitialDir, platform::FromWindows1252(m_defaultFileName) + ".rtf");
    if (!chosen) {
        return;
    }
    SaveWorksheet(*m_ui->RxE1, *m_ui->RxE2, *chosen);
    if (DifferentSheetsAsked()) {
        BusyCursor busy;
        SaveSheetSet(LastSheetSet(), *chosen);
    }
}

void TForm1::btnMoodleClick() {
    if (Busy() || m_quizSheet.ExerciseLines.empty()) {
        return;
    }
    const std::optional<QString> chosen =
        m_saveDialog(this, m_saveDialogInitialDir,
                     platform::FromWindows1252(m_quizSheet.DefaultFileName) + ".gift");
    if (chosen) {
        SaveGiftFile(*chosen, GiftFile(m_quizSheet, m_sheetSettings.TitleLine));
    }
}

void TForm1::btnImprimeClick() {
    if (Busy()) {
        return;
    }
    if (!DifferentSheetsAsked()) {
        PrintCopies(*m_ui->RxE1, *m_ui->RxE2, m_ui->spSujets->value(), m_ui->spCorriges->value(),
                    m_printerForJob);
        return;
    }
    // Each sheet's load lets events run: a command that they bring is dropped,
    // and a close waits for the last job.
    LongOperationScope printing(m_operation, LongOperation::Printing, m_closeRequested, *this);
    BusyCursor busy;
    const SheetSet set = LastSheetSet();
    platform::TRxRichEdit sheetPane;  // never shown
    sheetPane.setFont(m_ui->RxE1->font());
    PrintSheetSet(set, m_ui->spCorriges->value(), sheetPane, m_paneLoader, m_printerForJob);
}

bool TForm1::DifferentSheetsAsked() const {
    // Before the first worksheet there is no code to start from, and with no
    // subject there is no sheet to make: the panes (typed in edit mode, or
    // their answer key alone) print and save as they are.
    return m_ui->ckbSujetsDiff->isChecked() && !m_quizSheet.DefaultFileName.empty() &&
           m_ui->spSujets->value() > 0;
}

SheetSet TForm1::LastSheetSet() const {
    return BuildSheetSet(m_quizSheet.Kind, m_sheetSettings, m_quizSheet.Code,
                         m_ui->spSujets->value());
}

void TForm1::btnChoixImpClick() {
    if (Busy()) {
        return;
    }
    platform::CurrentPrinter::Instance().Choose(this);
}

void TForm1::btnApercuClick() {
    if (Busy()) {
        return;
    }
    LongOperationScope preview(m_operation, LongOperation::Preview, m_closeRequested, *this);
    m_preview->Show(*m_ui->RxE1);
}

// ---- Panes ----

void TForm1::RxE1Change() {
    const bool enabled = SubjectButtonsEnabled(m_ui->RxE1->PlainText());
    m_ui->btnImprime->setEnabled(enabled);
    m_ui->btnEnregistre->setEnabled(enabled);
    m_ui->btnApercu->setEnabled(enabled);
    QCoreApplication::processEvents();
}

void TForm1::ckbEditeClick() {
    m_editMode = m_ui->ckbEdite->isChecked();
    for (auto* pane : {m_ui->RxE1, m_ui->RxE2}) {
        pane->setReadOnly(!m_editMode);
        pane->SetWantTabs(m_editMode);
    }
    if (!m_editMode) {
        m_subjectViewMode->CollapseSelection();
        m_answerKeyViewMode->CollapseSelection();
    }
    QCoreApplication::processEvents();
}

// ---- Instruction-text list ----

int TForm1::Combo1SelectedIndex() const {
    return SelectedEntry(*m_ui->Combo1);
}

void TForm1::btnNouvTexteClick() {
    const std::optional<QString> text = m_inputBox(this);
    if (text && !text->isEmpty()) {
        AppendEntry(*m_ui->Combo1, *text);
    }
    // The box gave the focus back to the window: that is an activation.
    FormActivate();
}

void TForm1::btnEffaceTexteClick() {
    RemoveSelectedEntry(*m_ui->Combo1);
}

}  // namespace Ufiche
