#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class QPrinter;

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

struct SheetSet;

// What a copy's file adds to the name chosen for printing to a file, so that
// no copy overwrites another and each file says what it holds: nothing for
// the first subject, "_Sujet2", "_Sujet3"... for the other subjects,
// "_Corrige1", "_Corrige2"... for the answer keys. `copy` counts from 1.
QString PrintFileSuffix(bool answerKey, int copy);

// Prints a class set: nothing at all when the subject has no line; otherwise
// the subject `subjectCopies` times, then the answer key `answerKeyCopies`
// times, one job per copy. `printerForJob` gives the printer, ready for one
// job, before each copy, given the copy's PrintFileSuffix(). A failing job
// stops the remaining copies.
void PrintCopies(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                 int subjectCopies, int answerKeyCopies,
                 const std::function<QPrinter&(const QString& fileSuffix)>& printerForJob);

// What a file of a set of different sheets adds to the name chosen for
// printing to a file: the sheet's code, then what the copy's file adds, so
// that a sheet's subject and answer keys sort together and no file overwrites
// another: "_4K7QX", "_4K7QX_Corrige1", "_4K7QX_Corrige2".
QString SheetSetPrintFileSuffix(std::uint32_t code, bool answerKey, int copy);

// Prints a set of different sheets: each subject once, in the set's order,
// then the answer key of each, `answerKeyCopies` times, one job per copy with
// the titles of PrintCopies. Each document is loaded into `pane` by
// `loadPane` (the panes' loader) and printed from there; every page after a
// document's first names the sheet's code at its top. `printerForJob` is
// given the copy's SheetSetPrintFileSuffix(). A failing job stops the
// remaining copies.
void PrintSheetSet(const SheetSet& set, int answerKeyCopies, platform::TRxRichEdit& pane,
                   const std::function<void(platform::TRxRichEdit&, const std::string&)>& loadPane,
                   const std::function<QPrinter&(const QString& fileSuffix)>& printerForJob);

}  // namespace Ufiche
