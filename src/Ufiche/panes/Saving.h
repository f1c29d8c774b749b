#pragma once

#include <QString>

#include <string>

#include "platform/richedit/RtfWriter.h"

class QPageLayout;

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

struct SheetSet;

struct WorksheetFileNames {
    QString subject;
    QString answerKey;
};

// The two files of a chosen name: ".rtf" added when the last path component
// has no extension; the answer key at the name without its extension (from
// the last "." of the last component) followed by "_Cor.rtf". A "." in a
// folder name does not count.
WorksheetFileNames SaveFileNames(const QString& chosenName);

// The paper and margins that saved RTF files carry: those of the page
// layout, so that a word processor gives the lines the width they have on
// the program's printed pages.
platform::RtfPage SavedPage(const QPageLayout& layout);

// Writes the whole subject to the subject file (plain text when its
// extension is "txt"), then the whole answer key to its file, both on the
// current printer's page (A4 when there is none); the panes keep their
// selection, caret and scrolling. A file that cannot be created raises
// "Impossible de créer le fichier <name>"; when the subject fails, the answer
// key is not written.
void SaveWorksheet(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                   const QString& chosenName);

// The two files of a set of different sheets, beside those of the chosen
// name: the name without its extension (as for the answer key) followed by
// "_Sujets.rtf" for every subject and "_Corriges.rtf" for every answer key.
WorksheetFileNames SheetSetFileNames(const QString& chosenName);

// Writes a set of different sheets to the files of SheetSetFileNames(): every
// subject in the first, every answer key in the second, in the set's order,
// one sheet per page, on the current printer's page (A4 when there is none).
// A file that cannot be created raises "Impossible de créer le fichier
// <name>" and leaves an earlier file whole; when the subjects fail, the
// answer keys are not written.
void SaveSheetSet(const SheetSet& set, const QString& chosenName);

// The GIFT file of a chosen name: ".gift" added when the last path component
// has no extension.
QString GiftFileName(const QString& chosenName);

// Writes the GIFT file's content (UTF-8) whole at the chosen name, as the
// worksheets are written: a file that cannot be created raises
// "Impossible de créer le fichier <name>" and leaves an earlier file whole.
void SaveGiftFile(const QString& chosenName, const std::string& content);

}  // namespace Ufiche
