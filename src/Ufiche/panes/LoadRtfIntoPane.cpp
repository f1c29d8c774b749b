#include "Ufiche/panes/LoadRtfIntoPane.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>

#include "platform/richedit/TRxRichEdit.h"

namespace Ufiche {

void LoadRtfIntoPane(platform::TRxRichEdit& pane, const std::string& document) {
    {
        QByteArray bytes =
            QByteArray::fromRawData(document.data(), static_cast<qsizetype>(document.size()));
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        pane.SetRichTextMode(true);
        // Saving relies on the selection mode staying set after the load.
        pane.SetStreamMode(platform::TRxRichEdit::StreamMode::Selection);
        pane.LoadFromStream(stream);
    }
    // The pane and the buttons its change handler has set repaint here.
    QCoreApplication::processEvents();
}

void EmptyPane(platform::TRxRichEdit& pane) {
    pane.ClearContent();
}

}  // namespace Ufiche
