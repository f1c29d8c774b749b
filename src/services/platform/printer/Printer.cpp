#include "platform/printer/Printer.h"

#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"

namespace platform {
namespace {

// A QPrinter without a system printer falls back to PDF output with no
// file: such a printer prints nothing anywhere.
bool IsSystemPrinter(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
}

// The file name with `suffix` before the extension of its last component
// ("/d/fiche.pdf" and "_Sujet2" give "/d/fiche_Sujet2.pdf").
QString WithSuffix(const QString& fileName, const QString& suffix) {
    const qsizetype dot = fileName.lastIndexOf('.');
    const qsizetype slash = fileName.lastIndexOf('/');
    const qsizetype at = dot > slash ? dot : fileName.size();
    return fileName.left(at) + suffix + fileName.mid(at);
}

bool PrintsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

}  // namespace

CurrentPrinter& CurrentPrinter::instance() {
    static CurrentPrinter printer;
    return printer;
}

CurrentPrinter::CurrentPrinter() = default;
CurrentPrinter::~CurrentPrinter() = default;

void CurrentPrinter::reset() {
    chosen_.reset();
    chosenFile_.clear();
    default_.reset();
}

QPrinter* CurrentPrinter::usablePrinter() {
    if (chosen_) {
        if (PrintsToFile(*chosen_)) {
            return chosen_.get();  // "print to file", as the teacher chose it
        }
        if (!IsSystemPrinter(*chosen_) ||
            QPrinterInfo::printerInfo(chosen_->printerName()).isNull()) {
            return nullptr;
        }
        return chosen_.get();
    }
    // The system's default printer at this moment.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    if (!default_ || default_->printerName() != info.printerName()) {
        default_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return default_.get();
}

QPrinter& CurrentPrinter::printer() {
    if (QPrinter* usable = usablePrinter()) {
        return *usable;
    }
    throw PlatformError(chosen_ ? messages::kInvalidPrinter : messages::kNoDefaultPrinter);
}

QPageLayout CurrentPrinter::pageLayoutOrA4() {
    if (QPrinter* usable = usablePrinter()) {
        return usable->pageLayout();
    }
    // Pages are laid out with no margin of their own: without a printer, no
    // unprintable edge either.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
}

QPrinter& CurrentPrinter::printerForJob(const QString& fileSuffix) {
    QPrinter& job = printer();
    if (&job == chosen_.get() && PrintsToFile(job)) {
        job.setOutputFileName(WithSuffix(chosenFile_, fileSuffix));
    }
    job.setCopyCount(1);
    job.setCollateCopies(false);
    job.setPrintRange(QPrinter::AllPages);
    job.setFromTo(0, 0);
    job.setPageOrder(QPrinter::FirstPageFirst);
    return job;
}

void CurrentPrinter::choose(QWidget* parent) {
    if (!chosen_) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        chosen_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    if (PrintsToFile(*chosen_)) {
        chosen_->setOutputFileName(chosenFile_);  // not the last copy's name
    }
    QPrintDialog dialog(chosen_.get(), parent);
    // The dialog only chooses: its confirming button must not promise a print.
    dialog.setWindowTitle(messages::kPrinterChoiceTitle);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok)) {
            confirm->setText(messages::kPrinterChoiceConfirm);
        }
    }
    dialog.exec();
    chosenFile_ = PrintsToFile(*chosen_) ? chosen_->outputFileName() : QString();
}

}  // namespace platform
