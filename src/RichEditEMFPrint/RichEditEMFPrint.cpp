#include "RichEditEMFPrint/RichEditEMFPrint.h"

#include <QPainter>
#include <QPrinter>

#include "platform/emf/EmfWriter.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/units/PageUnits.h"

namespace RichEditEMFPrint {

using platform::HundredthsMmToTwips;

int RichTextLength(const platform::TRxRichEdit& control) {
    return control.textLength();
}

QString PageFileName(const QString& prefix, int page) {
    return QStringLiteral("%1%2.emf").arg(prefix).arg(page);
}

RenderedPage RenderPageToEMF(QPrinter& printer, platform::TRxRichEdit& control,
                             const QString& fileName, const QRect& frame, int start) {
    platform::EmfWriter metafile(fileName, &printer, frame);
    if (!metafile.isValid()) {
        return {false, start};
    }
    // The layout and the page rectangles are both the whole page, in twips.
    const QRect page(0, 0, HundredthsMmToTwips(frame.right()), HundredthsMmToTwips(frame.bottom()));
    std::optional<int> next;
    {
        QPainter painter(&metafile);
        next = control.formatRange(metafile, page, start, &painter);
    }
    control.releaseFormatRange();
    metafile.close();
    // A page on which not even one line fits ends the pages here.
    return {true, next.value_or(RichTextLength(control))};
}

void RenderPagesToEMF(platform::TRxRichEdit& control, const QString& prefix) {
    const int length = RichTextLength(control);
    auto& currentPrinter = platform::CurrentPrinter::instance();
    QPrinter& printer = currentPrinter.printerForJob();
    // (0, 0) to (width, height) in hundredths of a millimetre, both corners
    // stored as they are.
    const QRect frame(QPoint(0, 0), QPoint(currentPrinter.pageWidthMillimetres() * 100,
                                           currentPrinter.pageHeightMillimetres() * 100));
    int start = 0;
    for (int page = 0; start < length && page < kMaxPages; ++page) {
        start = RenderPageToEMF(printer, control, PageFileName(prefix, page), frame, start)
                    .nextPosition;
        if (start == 0) {
            break;
        }
    }
}

void RichEditToEMF(platform::TRxRichEdit& control, const QString& prefix) {
    RenderPagesToEMF(control, prefix);
}

}  // namespace RichEditEMFPrint
