#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Ufiche/generation/ExerciseKey.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/window/Guards.h"
#include "Ufiche/window/ViewModeFilter.h"

class AnchorLayout;
class QPrinter;
class TFormStorage;
struct StoredSetting;

namespace Ui {
class TForm1;
}

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {
class Preview;
}

// The program's one window: the generation settings, the subject pane RxE1
// and the answer-key pane RxE2, the action buttons and the status light.
// Its controls carry the object names of the form (trbNiveau, spMaxLigne,
// RxE1, Shape1, ...); its handlers carry the names of their events.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // State that lives from start-up to the end of the program.
    int CurrentLevel() const { return m_currentLevel; }
    bool EditMode() const { return m_editMode; }
    const std::string& DefaultFileName() const { return m_defaultFileName; }
    const Ufiche::DrawnExerciseSlots& DrawnExercises() const { return m_drawnExercises; }
    const QString& SettingsFileName() const { return m_settingsFileName; }
    // Another settings file than the one FormCreate names (tests);
    // takes effect for the restore at the first showing and the saves.
    void setSettingsFileName(const QString& fileName);
    TFormStorage& FormStorage1() const { return *m_formStorage; }
    QColor LightColour() const;
    bool IsGenerating() const { return m_operation == Ufiche::LongOperation::Generation; }

    // What a generation reads from the controls.
    Ufiche::WorksheetSettings ReadWorksheetSettings() const;

    // Empties both panes, draws a worksheet of the kind with the window's
    // settings and random source, and loads its subject and answer key. A
    // call while a generation or a preview runs (from the events they
    // process) does nothing.
    void GenerateWorksheet(Uconvers::QuantityKind kind);

    // Where the random seed of each activation comes from (the clock unless
    // replaced), and the input box of "A" (a modal dialog unless replaced):
    // tests replace both.
    void setSeedSource(std::function<std::uint32_t()> seedSource) {
        m_seedSource = std::move(seedSource);
    }
    using InputBox = std::function<std::optional<QString>(QWidget* parent)>;
    void setInputBox(InputBox inputBox) { m_inputBox = std::move(inputBox); }
    // The save dialog: given the starting folder and the proposed name, the
    // full name chosen, or nothing when cancelled. A file dialog unless
    // replaced (tests).
    using SaveDialog = std::function<std::optional<QString>(
        QWidget* parent, const QString& initialDir, const QString& proposedName)>;
    void setSaveDialog(SaveDialog saveDialog) { m_saveDialog = std::move(saveDialog); }
    // The save dialog's starting folder, a stored setting that nothing in the
    // program changes (tests set it).
    void setSaveDialogInitialDir(const QString& folder) { m_saveDialogInitialDir = folder; }
    // How a finished document gets into its pane (LoadRtfIntoPane unless
    // replaced: tests make it fail).
    using PaneLoader =
        std::function<void(platform::TRxRichEdit& pane, const std::string& document)>;
    void setPaneLoader(PaneLoader paneLoader) { m_paneLoader = std::move(paneLoader); }
    // The printer of print jobs and of the preview, ready for one job, given
    // the copy's file suffix (the current printer unless replaced: tests
    // print to PDF files).
    using PrinterForJob = std::function<QPrinter&(const QString& fileSuffix)>;
    void setPrinterForJob(PrinterForJob printerForJob) {
        m_printerForJob = std::move(printerForJob);
    }

    platform::TRxRichEdit& subjectPane() const;
    platform::TRxRichEdit& answerKeyPane() const;

    // Event handlers.
    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    void spmaxvaleurChange();
    void trbNiveauChange();
    void CheckBox1Click();
    void Label9Click();
    void Label9MouseMove();
    void FormMouseMove();
    bool IsOnRemovableDrive() const;
    void btnLongClick() { GenerateWorksheet(Uconvers::QuantityKind::Length); }
    void btnSurfClick() { GenerateWorksheet(Uconvers::QuantityKind::Area); }
    void btnVolClick() { GenerateWorksheet(Uconvers::QuantityKind::Volume); }
    void btnCapaClick() { GenerateWorksheet(Uconvers::QuantityKind::Capacity); }
    void RxE1Change();
    void RxE2Change();
    void RxE1KeyDown();
    void ckbEditeClick();
    // The panes' view-mode filters run these reactions on the events
    // themselves.
    void RxE1MouseDown() { m_subjectViewMode->CollapseSelectionLater(); }
    void RxE1MouseUp() { m_subjectViewMode->CollapseSelectionLater(); }
    void RxE1DragOver(QEvent* event) { m_subjectViewMode->RefuseDrop(event); }
    void RxE1DragDrop(QEvent* event) { m_subjectViewMode->RefuseDrop(event); }
    void RxE1EndDrag() { m_subjectViewMode->CollapseSelectionLater(); }
    void RxE2MouseDown() { m_answerKeyViewMode->CollapseSelectionLater(); }
    void RxE2MouseUp() { m_answerKeyViewMode->CollapseSelectionLater(); }
    void RxE2DragOver(QEvent* event) { m_answerKeyViewMode->RefuseDrop(event); }
    void RxE2EndDrag() { m_answerKeyViewMode->CollapseSelectionLater(); }
    void btnEnregistreClick();
    void btnImprimeClick();
    void btnChoixImpClick();
    void btnApercuClick();
    bool CanWriteTestFile();
    void btnNouvTexteClick();
    void btnEffaceTexteClick();
    void eTitre1Enter(QWidget* field);
    void eTitre1Exit(QWidget* field);
    void Combo1Enter();
    void Combo1Exit();

    // The list entry that "E" removes: the index of the chosen entry while the
    // instruction text still is that entry's text, -1 otherwise.
    int Combo1SelectedIndex() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    void SetLight(const QColor& colour);
    // A generation or a preview is under way: the commands that its events
    // bring are dropped.
    bool Busy() const { return m_operation != Ufiche::LongOperation::None; }
    // The control properties that the settings file keeps, in its order.
    std::vector<StoredSetting> StoredSettings();

    std::unique_ptr<Ui::TForm1> m_ui;
    std::unique_ptr<TFormStorage> m_formStorage;
    std::unique_ptr<AnchorLayout> m_anchors;
    std::unique_ptr<Ufiche::Preview> m_preview;
    ViewModeFilter* m_subjectViewMode = nullptr;    // owned by its pane
    ViewModeFilter* m_answerKeyViewMode = nullptr;  // owned by its pane
    Ufiche::MersenneRandomSource m_random;
    std::function<std::uint32_t()> m_seedSource;
    InputBox m_inputBox;
    SaveDialog m_saveDialog;
    PaneLoader m_paneLoader;
    PrinterForJob m_printerForJob;

    int m_currentLevel = 1;
    bool m_editMode = false;
    std::string m_defaultFileName;
    Ufiche::DrawnExerciseSlots m_drawnExercises{};
    QString m_settingsFileName;
    QString m_saveDialogInitialDir;

    Ufiche::LongOperation m_operation = Ufiche::LongOperation::None;
    bool m_closeRequested = false;
    bool m_shownOnce = false;
};
