#pragma once

#include <QString>

#include <functional>

class QPrinter;

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

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

}  // namespace Ufiche
