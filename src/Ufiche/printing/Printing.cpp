#include "Ufiche/printing/Printing.h"

#include "Ufiche/texts/AppTexts.h"
#include "platform/richedit/TRxRichEdit.h"

namespace Ufiche {

QString PrintFileSuffix(bool answerKey, int copy) {
    if (answerKey) {
        return QStringLiteral("_Corrige%1").arg(copy);
    }
    return copy == 1 ? QString() : QStringLiteral("_Sujet%1").arg(copy);
}

void PrintCopies(platform::TRxRichEdit& subject, platform::TRxRichEdit& answerKey,
                 int subjectCopies, int answerKeyCopies,
                 const std::function<QPrinter&(const QString& fileSuffix)>& printerForJob) {
    if (subject.LineCount() < 1) {
        return;
    }
    for (int copy = 1; copy <= subjectCopies; ++copy) {
        subject.PrintAsJob(printerForJob(PrintFileSuffix(false, copy)),
                           texts::kSubjectJobTitle);
    }
    for (int copy = 1; copy <= answerKeyCopies; ++copy) {
        answerKey.PrintAsJob(printerForJob(PrintFileSuffix(true, copy)),
                             texts::kAnswerKeyJobTitle);
    }
}

}  // namespace Ufiche
