#include "Ufiche/document/Saving.h"

#include "platform/richedit/TRxRichEdit.h"

namespace Ufiche {
namespace {

// Position of the extension's "." in the last path component, or -1.
qsizetype ExtensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf('.');
    const qsizetype slash = name.lastIndexOf('/');
    return dot > slash ? dot : -1;
}

void WriteWholePane(platform::TRxRichEdit& pane, const QString& fileName) {
    // The pane writes its selection: select everything first.
    pane.setStreamMode(platform::TRxRichEdit::StreamMode::Selection);
    pane.selectAll();
    pane.saveToFile(fileName);
}

}  // namespace

WorksheetFileNames SaveFileNames(const QString& chosenName) {
    QString subject = chosenName;
    if (ExtensionDot(subject) < 0) {
        subject += ".rtf";
    }
    return {subject, subject.left(ExtensionDot(subject)) + "_Cor.rtf"};
}

void SaveWorksheet(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                   const QString& chosenName) {
    const WorksheetFileNames names = SaveFileNames(chosenName);
    WriteWholePane(subject, names.subject);
    WriteWholePane(answerKey, names.answerKey);
}

}  // namespace Ufiche
