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

CurrentPrinter& CurrentPrinter::Instance() {
    static CurrentPrinter printer;
    return printer;
}

CurrentPrinter::CurrentPrinter() = default;
CurrentPrinter::~CurrentPrinter() = default;

void CurrentPrinter::Reset() {
    m_chosen.reset();
    m_chosenFile.clear();
    m_default.reset();
}

QPrinter* CurrentPrinter::UsablePrinter() {
    if (m_chosen) {
        if (PrintsToFile(*m_chosen)) {
            return m_chosen.get();  // "print to file", as the teacher chose it
        }
        if (!IsSystemPrinter(*m_chosen) ||
            QPrinterInfo::printerInfo(m_chosen->printerName()).isNull()) {
            return nullptr;
        }
        return m_chosen.get();
    }
    // The system's default printer at this moment.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    if (!m_default || m_default->printerName() != info.printerName()) {
        m_default = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return m_default.get();
}

QPrinter& CurrentPrinter::Printer() {
    if (QPrinter* usable = UsablePrinter()) {
        return *usable;
    }
    throw PlatformError(m_chosen ? messages::kInvalidPrinter : messages::kNoDefaultPrinter);
}

QPageLayout CurrentPrinter::PageLayoutOrA4() {
    if (QPrinter* usable = UsablePrinter()) {
        return usable->pageLayout();
    }
    // Without a printer, the edge that most printers leave unprinted: a word
    // processor that prints the saved files then keeps the page's edge, and
    // the question lines, which fit the 6 inches and more of any A4 page,
    // break as on the program's own pages.
    constexpr qreal kCommonEdgeMillimetres = 5;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kCommonEdgeMillimetres, kCommonEdgeMillimetres,
                                 kCommonEdgeMillimetres, kCommonEdgeMillimetres),
                       QPageLayout::Millimeter);
}

QPrinter& CurrentPrinter::PrinterForJob(const QString& fileSuffix) {
    QPrinter& job = Printer();
    if (&job == m_chosen.get() && PrintsToFile(job)) {
        job.setOutputFileName(WithSuffix(m_chosenFile, fileSuffix));
    }
    job.setCopyCount(1);
    job.setCollateCopies(false);
    job.setPrintRange(QPrinter::AllPages);
    job.setFromTo(0, 0);
    job.setPageOrder(QPrinter::FirstPageFirst);
    return job;
}

void CurrentPrinter::Choose(QWidget* parent) {
    if (!m_chosen) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        m_chosen = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    if (PrintsToFile(*m_chosen)) {
        m_chosen->setOutputFileName(m_chosenFile);  // not the last copy's name
    }
    QPrintDialog dialog(m_chosen.get(), parent);
    // The dialog only chooses: its confirming button must not promise a print.
    dialog.setWindowTitle(messages::kPrinterChoiceTitle);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok)) {
            confirm->setText(messages::kPrinterChoiceConfirm);
        }
    }
    dialog.exec();
    m_chosenFile = PrintsToFile(*m_chosen) ? m_chosen->outputFileName() : QString();
}

}  // namespace platform
