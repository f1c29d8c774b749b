#pragma once

#include <QString>

#include "RichEditEMFPrint/RichEditEMFPrint.h"

class QLabel;
class QScrollArea;
class QWidget;

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

// The preview of the subject's first two pages. The pages are drawn into page
// files in the current folder ("Temp0.emf", "Temp1.emf"), laid out for the
// page of the printer that the provider gives, and shown as two pictures in a
// scrolling area that floats into a window of its own at its first use.
class Preview {
public:
    Preview(QWidget& owner, QScrollArea& area, QLabel& firstPage, QLabel& secondPage,
            RichEditEMFPrint::PrinterProvider printerForJob);

    // Writes an empty "TWFile.txt" in the current folder, where the page files
    // go, and leaves it there; false when that fails.
    static bool CanWriteTestFile();

    // The preview command: nothing at all when the current folder takes no
    // file. Otherwise the old page files and pictures go, the subject's pages
    // are drawn and loaded, and the area is shown, centred on the screen the
    // first time, where it was left afterwards. What the provider throws goes
    // through, leaving both pictures empty and the area as it was.
    void Show(platform::TRxRichEdit& subject);

    void Hide();

    // The clean-up at close: hides the area, then deletes the page files and
    // the write test's file in whatever letter case they are. A file that
    // stays is no error.
    void HideAndRemoveFiles();

private:
    void LoadPictures();
    void Float();

    QWidget& m_owner;
    QScrollArea& m_area;
    QLabel* m_pictures[RichEditEMFPrint::kMaxPages];
    RichEditEMFPrint::PrinterProvider m_printerForJob;
};

}  // namespace Ufiche
