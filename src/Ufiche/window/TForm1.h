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
#include "Ufiche/window/widgets/ViewModeFilter.h"

class QPrinter;

namespace Ui {
class TForm1;
}

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

class AnchorLayout;
struct SheetSet;
class OuterGeometry;
class TFormStorage;
class Preview;

// The program's one window. Its controls, made by the form (TForm1.ui), keep
// the names that the settings file and the team use:
//   trbNiveau       the level track bar (1 to 3), hint "Niveau n"
//   spMaxLigne      the number of question lines ("Max quest")
//   spinterligne    the line spacing ("Interligne")
//   eTitre1         the title line ("Titre1")
//   Combo1          the instruction text and its list ("Titre2")
//   btnNouvTexte    "A": adds an instruction text to the list
//   btnEffaceTexte  "E": removes the chosen text from the list
//   CheckBox1       "Separ": shows the separator line
//   eSepar          the separator line; Label10 shows its length
//   ckbEdite        "Edite": edit mode of both panes
//   RxE1, RxE2      the subject pane and the answer-key pane
//   btnLong ... btnDuree  the kind buttons, which generate a worksheet
//   ckbVirgule      "Virgule": decimal numbers written with a comma
//   ckbTableau      "Tableau": conversion tables in the documents
//   ckbDeuxUnites   "Deux unités": some measures written with two units
//   eCode           the sheet's code; a code typed there makes its sheet again
//   ckbSujetsDiff   "Sujets différents": a sheet of its own for each subject
//   btnChoixImp     "CI": the printer choice
//   btnApercu       "A": the preview of the subject's first two pages
//   spSujets, spCorriges  the number of copies of each document
//   btnImprime      "Imprimer"; btnEnregistre "Enregistrer"
//   btnMoodle       "Exporter pour Moodle": the exercises as a GIFT file
//   Shape1          the status light: green when the panes match the settings
//   Label9          the catalogue link
//   Panel3, Label6  the notice shown while the settings are saved
//   ScrollBox1, Image1, Image2  the preview's two pages
// Its handlers carry the names of the events they answer.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // State that lives from start-up to the end of the program.
    int CurrentLevel() const { return m_currentLevel; }
    bool EditMode() const { return m_editMode; }
    const std::string& DefaultFileName() const { return m_defaultFileName; }
    const DrawnExerciseSlots& DrawnExercises() const { return m_drawnExercises; }
    const QString& SettingsFileName() const { return m_settingsFileName; }
    // Another settings file than the one FormCreate names (tests);
    // takes effect for the restore at the first showing and the saves.
    void SetSettingsFileName(const QString& fileName);
    // The store of the window's placement and stored settings.
    TFormStorage& FormStorage1() const { return *m_formStorage; }
    // The status light's colour.
    QColor LightColour() const;
    bool IsGenerating() const { return m_operation == LongOperation::Generation; }

    // What a generation reads from the controls.
    WorksheetSettings ReadWorksheetSettings() const;

    // Empties both panes, makes a worksheet of the kind with the window's
    // settings, and loads its subject and answer key. A press draws a new code
    // from the window's random source and makes that code's sheet; a typed
    // code makes its own sheet, named in both headings. A call while a
    // generation or a preview runs (from the events they process) does nothing.
    void GenerateWorksheet(Uconvers::QuantityKind kind,
                           std::optional<std::uint32_t> typedCode = std::nullopt);

    // The last worksheet: its kind, level and code, and the settings it was
    // made with.
    const GeneratedWorksheet& LastSheet() const { return m_quizSheet; }
    const WorksheetSettings& LastSheetSettings() const { return m_sheetSettings; }

    // Where the random seed of each activation comes from (the clock unless
    // replaced), and the input box of "A" (a modal dialog unless replaced):
    // tests replace both.
    void SetSeedSource(std::function<std::uint32_t()> seedSource) {
        m_seedSource = std::move(seedSource);
    }
    using InputBox = std::function<std::optional<QString>(QWidget* parent)>;
    void SetInputBox(InputBox inputBox) { m_inputBox = std::move(inputBox); }
    // The save dialog: given the starting folder and the proposed name, the
    // full name chosen, or nothing when cancelled. A file dialog unless
    // replaced (tests).
    using SaveDialog = std::function<std::optional<QString>(
        QWidget* parent, const QString& initialDir, const QString& proposedName)>;
    void SetSaveDialog(SaveDialog saveDialog) { m_saveDialog = std::move(saveDialog); }
    // The save dialog's starting folder, a stored setting that nothing in the
    // program changes (tests set it).
    void SetSaveDialogInitialDir(const QString& folder) { m_saveDialogInitialDir = folder; }
    // How a finished document gets into its pane (LoadRtfIntoPane unless
    // replaced: tests make it fail).
    using PaneLoader =
        std::function<void(platform::TRxRichEdit& pane, const std::string& document)>;
    void SetPaneLoader(PaneLoader paneLoader) { m_paneLoader = std::move(paneLoader); }
    // The printer of print jobs and of the preview, ready for one job, given
    // the copy's file suffix (the current printer unless replaced: tests
    // print to PDF files).
    using PrinterForJob = std::function<QPrinter&(const QString& fileSuffix)>;
    void SetPrinterForJob(PrinterForJob printerForJob) {
        m_printerForJob = std::move(printerForJob);
    }

    // RxE1 and RxE2.
    platform::TRxRichEdit& SubjectPane() const;
    platform::TRxRichEdit& AnswerKeyPane() const;

    // Event handlers.
    void FormCreate();                // the window made: settings file, seed
    void FormActivate();              // the window active again: a new seed
    bool FormCloseQuery();            // the window closing: settings saved
    void spmaxvaleurChange();         // a generation setting changed
    void trbNiveauChange();           // the level track bar moved
    void CheckBox1Click();            // "Separ" ticked or unticked
    void ckbVirguleClick();           // "Virgule", "Tableau" or "Deux unités" ticked or unticked
    void Label9Click();               // the catalogue link clicked
    void Label9MouseMove();           // the mouse over the catalogue link
    void FormMouseMove();             // the mouse over the window, off the link
    bool IsOnRemovableDrive() const;  // the program started from a USB stick
    void btnLongClick() { GenerateWorksheet(Uconvers::QuantityKind::Length); }
    void btnSurfClick() { GenerateWorksheet(Uconvers::QuantityKind::Area); }
    void btnVolClick() { GenerateWorksheet(Uconvers::QuantityKind::Volume); }
    void btnCapaClick() { GenerateWorksheet(Uconvers::QuantityKind::Capacity); }
    void btnMasseClick() { GenerateWorksheet(Uconvers::QuantityKind::Mass); }
    void btnDureeClick() { GenerateWorksheet(Uconvers::QuantityKind::Duration); }
    void eCodeEditingFinished();  // a code typed: its sheet made again
    void RxE1Change();            // the subject pane's text changed
    void ckbEditeClick();         // "Edite" ticked or unticked
    void btnEnregistreClick();    // "Enregistrer": both documents saved
    void btnMoodleClick();        // "Exporter pour Moodle": the last worksheet's GIFT file
    void btnImprimeClick();       // "Imprimer": the copies printed
    void btnChoixImpClick();      // "CI": the printer chosen
    void btnApercuClick();        // "A" of the preview: pages drawn
    void btnNouvTexteClick();     // "A" of the list: a text added
    void btnEffaceTexteClick();   // "E": the chosen text removed

    // The list entry that "E" removes: the index of the chosen entry while the
    // instruction text still is that entry's text, -1 otherwise.
    int Combo1SelectedIndex() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ConnectHandlers();
    void SetLight(const QColor& colour);
    // A generation, a preview or the printing of a set of different sheets
    // is under way: the commands that its events bring are dropped.
    bool Busy() const { return m_operation != LongOperation::None; }
    // "Sujets différents" asked, with a worksheet to start from: printing and
    // saving make a different sheet for each subject.
    bool DifferentSheetsAsked() const;
    // The sheets of the codes in sequence from the last worksheet's, one per
    // subject, made with its kind and settings.
    SheetSet LastSheetSet() const;

    std::unique_ptr<Ui::TForm1> m_ui;
    OuterGeometry* m_outer = nullptr;  // a child of the window
    std::unique_ptr<TFormStorage> m_formStorage;
    std::unique_ptr<AnchorLayout> m_anchors;
    std::unique_ptr<Preview> m_preview;
    // The panes' behaviour outside edit mode; each is owned by its pane.
    ViewModeFilter* m_subjectViewMode = nullptr;
    ViewModeFilter* m_answerKeyViewMode = nullptr;
    MersenneRandomSource m_random;
    std::function<std::uint32_t()> m_seedSource;
    InputBox m_inputBox;
    SaveDialog m_saveDialog;
    PaneLoader m_paneLoader;
    PrinterForJob m_printerForJob;

    int m_currentLevel = 0;  // the level track bar's, from the settings table on
    bool m_editMode = false;
    std::string m_defaultFileName;
    // The last worksheet's exercises (its documents are in the panes), its
    // code, and the settings it was made with, from which "Exporter pour
    // Moodle" writes it out and a set of different sheets is drawn.
    GeneratedWorksheet m_quizSheet;
    WorksheetSettings m_sheetSettings{};
    DrawnExerciseSlots m_drawnExercises{};
    QString m_settingsFileName;
    QString m_saveDialogInitialDir;

    LongOperation m_operation = LongOperation::None;
    bool m_closeRequested = false;
    bool m_shownOnce = false;
};

}  // namespace Ufiche
