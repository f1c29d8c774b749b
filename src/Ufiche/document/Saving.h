#pragma once

#include <QString>

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

struct WorksheetFileNames {
    QString subject;
    QString answerKey;
};

// The two files of a chosen name: ".rtf" added when the last path component
// has no extension; the answer key at the name without its extension (from
// the last "." of the last component) followed by "_Cor.rtf". A "." in a
// folder name does not count.
WorksheetFileNames SaveFileNames(const QString& chosenName);

// Writes the whole subject to the subject file (plain text when its
// extension is "txt"), then the whole answer key to its file, leaving both
// panes with all content selected. A file that cannot be created raises
// "Impossible de créer le fichier <name>"; when the subject fails, the answer
// key is not written.
void SaveWorksheet(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                   const QString& chosenName);

}  // namespace Ufiche
