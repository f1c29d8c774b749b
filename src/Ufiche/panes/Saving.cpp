#include "Ufiche/panes/Saving.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>

#include <cmath>

#include "Ufiche/document/SheetSet.h"
#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/files/FileContent.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/units/PageUnits.h"

namespace Ufiche {
namespace {

// Position of the extension's "." in the last path component, or -1.
qsizetype ExtensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf('.');
    const qsizetype slash = name.lastIndexOf('/');
    return dot > slash ? dot : -1;
}

// Writes a pane's whole content whatever the teacher has selected, and leaves
// the selection, the caret and the scrolling as they were: a selection left
// over the whole worksheet would be replaced by the next key typed.
void WriteWholePane(platform::TRxRichEdit& pane, const QString& fileName,
                    const platform::RtfPage& page) {
    struct StreamModeGuard {
        platform::TRxRichEdit& pane;
        platform::TRxRichEdit::StreamMode mode = pane.CurrentStreamMode();
        ~StreamModeGuard() { pane.SetStreamMode(mode); }
    } guard{pane};
    pane.SetStreamMode(platform::TRxRichEdit::StreamMode::WholeContent);
    pane.SaveToFile(fileName, page);
}

// Writes bytes whole at a file name; an error names the file as the system
// writes paths.
void WriteWholeFile(const QString& fileName, const std::string& content) {
    if (!platform::ReplaceFileContent(fileName.toStdString(), content)) {
        throw platform::PlatformError(platform::messages::CannotCreateFile(
            QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())));
    }
}

int Twips(qreal millimetres) {
    return static_cast<int>(
        std::lround(millimetres * platform::kTwipsPerInch / platform::kMillimetresPerInch));
}

}  // namespace

WorksheetFileNames SaveFileNames(const QString& chosenName) {
    QString subject = chosenName;
    if (ExtensionDot(subject) < 0) {
        subject += ".rtf";
    }
    return {subject, subject.left(ExtensionDot(subject)) + "_Cor.rtf"};
}

platform::RtfPage SavedPage(const QPageLayout& layout) {
    // Millimetres: points would round an A4 sheet to whole points.
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QRectF text = layout.paintRect(QPageLayout::Millimeter);
    return {Twips(paper.width()),
            Twips(paper.height()),
            Twips(text.left() - paper.left()),
            Twips(paper.right() - text.right()),
            Twips(text.top() - paper.top()),
            Twips(paper.bottom() - text.bottom())};
}

void SaveWorksheet(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                   const QString& chosenName) {
    const WorksheetFileNames names = SaveFileNames(chosenName);
    const platform::RtfPage page = SavedPage(platform::CurrentPrinter::Instance().PageLayoutOrA4());
    WriteWholePane(subject, names.subject, page);
    WriteWholePane(answerKey, names.answerKey, page);
}

WorksheetFileNames SheetSetFileNames(const QString& chosenName) {
    const QString subject = SaveFileNames(chosenName).subject;
    const QString base = subject.left(ExtensionDot(subject));
    return {base + "_Sujets.rtf", base + "_Corriges.rtf"};
}

void SaveSheetSet(const SheetSet& set, const QString& chosenName) {
    const WorksheetFileNames names = SheetSetFileNames(chosenName);
    const platform::RtfPage page = SavedPage(platform::CurrentPrinter::Instance().PageLayoutOrA4());
    WriteWholeFile(names.subject, JoinSheetDocuments(set.Subjects, page));
    WriteWholeFile(names.answerKey, JoinSheetDocuments(set.AnswerKeys, page));
}

QString GiftFileName(const QString& chosenName) {
    return ExtensionDot(chosenName) < 0 ? chosenName + ".gift" : chosenName;
}

void SaveGiftFile(const QString& chosenName, const std::string& content) {
    WriteWholeFile(GiftFileName(chosenName), content);
}

}  // namespace Ufiche
