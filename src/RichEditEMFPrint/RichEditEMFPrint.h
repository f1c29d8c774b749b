#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QPrinter;

namespace platform {
class TRxRichEdit;
}

// Renders the first pages of a rich-text pane, laid out for a printer's
// page, into Enhanced Metafile files: the preview's page pictures.
namespace RichEditEMFPrint {

inline constexpr int kMaxPages = 2;

// The printer the pages are laid out for and recorded on; it throws the
// printer layer's error when there is no printer to lay out for.
using PrinterProvider = std::function<QPrinter&()>;

// The pane's text length as the pane counts it: the positions that its
// layout returns count the same characters.
int RichTextLength(const platform::TRxRichEdit& control);

// The name of a page file: prefix, page number from 0, ".emf". The preview,
// its loader and the clean-up at close use this one spelling, which matters
// on a file system that tells letter case apart.
QString PageFileName(const QString& prefix, int page);

struct RenderedPage {
    bool created;      // false when the file could not be created
    int nextPosition;  // where the next page begins
};

// Draws one page, from `start`, into a new metafile file recorded on the
// printer with the frame in hundredths of a millimetre (its right and bottom
// are the page's width and height). When the file cannot
// be created, nothing is drawn and the start position comes back unchanged.
RenderedPage RenderPageToEMF(QPrinter& printer, platform::TRxRichEdit& control,
                             const QString& fileName, const QRect& frame, int start);

// The page frame of a printer: its printable page in whole millimetres, as
// (0, 0) to (width, height) in hundredths of a millimetre.
QRect PageFrame(const QPrinter& printer);

// The page loop: at most two pages, for the provider's printer, which it asks
// for before anything else, also for an empty text. What the provider throws
// goes through, before any file is written.
void RenderPagesToEMF(platform::TRxRichEdit& control, const QString& prefix,
                      const PrinterProvider& printerForJob);

// Renders the control's first pages; writes nothing for an empty text.
void RichEditToEMF(platform::TRxRichEdit& control, const QString& prefix,
                   const PrinterProvider& printerForJob);

}  // namespace RichEditEMFPrint
