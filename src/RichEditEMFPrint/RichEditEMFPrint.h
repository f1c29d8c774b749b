#pragma once

#include <QRect>
#include <QString>

class QPrinter;

namespace platform {
class TRxRichEdit;
}

// Renders the first pages of a rich-text pane, laid out for the current
// printer's page, into Enhanced Metafile files: the preview's page pictures.
namespace RichEditEMFPrint {

inline constexpr int kMaxPages = 2;

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

// The page loop: at most two pages, for the current printer. Throws the
// printer layer's error when there is no printer.
void RenderPagesToEMF(platform::TRxRichEdit& control, const QString& prefix);

// Renders the control's first pages; writes nothing for an empty text.
void RichEditToEMF(platform::TRxRichEdit& control, const QString& prefix);

}  // namespace RichEditEMFPrint
