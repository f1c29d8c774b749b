#include "Ufiche/printing/Printing.h"

#include "platform/richedit/TRxRichEdit.h"

namespace Ufiche {

void PrintCopies(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                 int subjectCopies, int answerKeyCopies,
                 const std::function<QPrinter&()>& printerForJob) {
    if (subject.lineCount() < 1) {
        return;
    }
    for (int copy = 0; copy < subjectCopies; ++copy) {
        subject.print(printerForJob(), kSubjectJobTitle);
    }
    for (int copy = 0; copy < answerKeyCopies; ++copy) {
        answerKey.print(printerForJob(), kAnswerKeyJobTitle);
    }
}

}  // namespace Ufiche
