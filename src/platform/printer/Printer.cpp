#include "platform/printer/Printer.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/errors/PlatformError.h"

namespace platform {
namespace {

const char* const kNoDefaultPrinter = "Aucune imprimante par d\u00e9faut s\u00e9lectionn\u00e9e";
const char* const kInvalidPrinter = "Imprimante s\u00e9lectionn\u00e9e incorrecte";

// A QPrinter without a system printer falls back to PDF output with no
// file: such a printer prints nothing anywhere.
bool IsSystemPrinter(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
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
    default_.reset();
}

QPrinter& CurrentPrinter::printer() {
    if (chosen_) {
        const bool fileOutput =
            chosen_->outputFormat() == QPrinter::PdfFormat && !chosen_->outputFileName().isEmpty();
        if (fileOutput) {
            return *chosen_;  // "print to file", as the teacher chose it
        }
        if (!IsSystemPrinter(*chosen_) ||
            QPrinterInfo::printerInfo(chosen_->printerName()).isNull()) {
            throw PlatformError(QString::fromUtf8(kInvalidPrinter));
        }
        return *chosen_;
    }
    // The system's default printer at this moment.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        throw PlatformError(QString::fromUtf8(kNoDefaultPrinter));
    }
    if (!default_ || default_->printerName() != info.printerName()) {
        default_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return *default_;
}

QPrinter& CurrentPrinter::printerForJob() {
    QPrinter& job = printer();
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
    QPrintDialog dialog(chosen_.get(), parent);
    dialog.exec();
}

int CurrentPrinter::pageWidthMillimetres() {
    return static_cast<int>(printer().pageLayout().paintRect(QPageLayout::Millimeter).width());
}

int CurrentPrinter::pageHeightMillimetres() {
    return static_cast<int>(printer().pageLayout().paintRect(QPageLayout::Millimeter).height());
}

}  // namespace platform
