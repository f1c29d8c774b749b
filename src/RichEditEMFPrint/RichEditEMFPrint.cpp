#include "RichEditEMFPrint/RichEditEMFPrint.h"

#include <QPainter>
#include <QPrinter>

#include "platform/emf/EmfWriter.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/units/PageUnits.h"

namespace RichEditEMFPrint {

using platform::HundredthsMmToTwips;

int RichTextLength(const platform::TRxRichEdit& control) {
    return control.TextLength();
}

QString PageFileName(const QString& prefix, int page) {
    return QStringLiteral("%1%2.emf").arg(prefix).arg(page);
}

RenderedPage RenderPageToEMF(QPrinter& printer, platform::TRxRichEdit& control,
                             const QString& fileName, const QRect& frame, int start) {
    platform::EmfWriter metafile(fileName, &printer, frame);
    if (!metafile.IsValid()) {
        return {false, start};
    }
    // The layout and the page rectangles are both the whole page, in twips.
    const QRect page(0, 0, HundredthsMmToTwips(frame.right()), HundredthsMmToTwips(frame.bottom()));
    std::optional<int> next;
    {
        QPainter painter(&metafile);
        next = control.FormatRange(metafile, page, start, &painter);
    }
    control.ReleaseFormatRange();
    metafile.Close();
    // A page on which not even one line fits ends the pages here.
    return {true, next.value_or(RichTextLength(control))};
}

QRect PageFrame(const QPrinter& printer) {
    const QRectF page = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    // Both corners stored as they are: the right and bottom are the width and
    // the height, not one less.
    return QRect(QPoint(0, 0), QPoint(static_cast<int>(page.width()) * 100,
                                      static_cast<int>(page.height()) * 100));
}

void RenderPagesToEMF(platform::TRxRichEdit& control, const QString& prefix,
                      const PrinterProvider& printerForJob) {
    const int length = RichTextLength(control);
    QPrinter& printer = printerForJob();
    const QRect frame = PageFrame(printer);
    int start = 0;
    for (int page = 0; start < length && page < kMaxPages; ++page) {
        start = RenderPageToEMF(printer, control, PageFileName(prefix, page), frame, start)
                    .nextPosition;
        if (start == 0) {
            break;
        }
    }
}

void RichEditToEMF(platform::TRxRichEdit& control, const QString& prefix,
                   const PrinterProvider& printerForJob) {
    RenderPagesToEMF(control, prefix, printerForJob);
}

}  // namespace RichEditEMFPrint
