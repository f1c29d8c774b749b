#pragma once

#include <QPageLayout>
#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace platform {

// The printer of every print job and of the preview: the one chosen last in
// the printer dialog, or else the system's default printer. Jobs go through
// the system's print service (CUPS), never to a file of our own.
class CurrentPrinter {
public:
    static CurrentPrinter& Instance();

    // The printer, ready for a job: one copy of the whole document, whatever
    // the dialog left in it. When the dialog chose to print to a file, the job
    // goes to the chosen file with `fileSuffix` added before its extension.
    // Throws PlatformError "Aucune imprimante par défaut sélectionnée" when
    // there is no printer to print on, and "Imprimante sélectionnée incorrecte"
    // when the chosen one is gone.
    QPrinter& PrinterForJob(const QString& fileSuffix = QString());

    // Shows the printer dialog; the printer chosen there, with its settings,
    // serves every later job. How the dialog was closed is of no interest.
    void Choose(QWidget* parent);

    // Forgets the choice made in the dialog (a new run starts without one).
    void Reset();

    // The paper that jobs are laid out on, with the printer's unprintable edge
    // as margins; an A4 sheet with a 5 mm edge when there is no printer to
    // print on. Never throws.
    QPageLayout PageLayoutOrA4();

    CurrentPrinter(const CurrentPrinter&) = delete;
    CurrentPrinter& operator=(const CurrentPrinter&) = delete;

private:
    CurrentPrinter();
    ~CurrentPrinter();

    QPrinter& Printer();
    // The printer that Printer() returns, or null where it would throw.
    QPrinter* UsablePrinter();

    std::unique_ptr<QPrinter> m_chosen;
    QString m_chosenFile;  // the file the dialog chose to print to, if any
    std::unique_ptr<QPrinter> m_default;
};

}  // namespace platform
