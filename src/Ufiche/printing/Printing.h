#pragma once

#include <QString>

#include <functional>

class QPrinter;

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

inline const QString kSubjectJobTitle = QStringLiteral("Sujet");
inline const QString kAnswerKeyJobTitle = QStringLiteral("Corrig\u00e9");

// Prints a class set: nothing at all when the subject has no line; otherwise
// the subject `subjectCopies` times, then the answer key `answerKeyCopies`
// times, one job per copy. `printerForJob` gives the printer, ready for one
// job, before each copy. A failing job stops the remaining copies.
void PrintCopies(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                 int subjectCopies, int answerKeyCopies,
                 const std::function<QPrinter&()>& printerForJob);

}  // namespace Ufiche
