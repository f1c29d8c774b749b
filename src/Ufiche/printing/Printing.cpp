#include "Ufiche/printing/Printing.h"

#include "Ufiche/document/SheetSet.h"
#include "Ufiche/generation/SheetCode.h"
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

QString SheetSetPrintFileSuffix(std::uint32_t code, bool answerKey, int copy) {
    return QLatin1Char('_') + QString::fromLatin1(SheetCodeText(code)) +
           PrintFileSuffix(answerKey, copy);
}

void PrintSheetSet(const SheetSet& set, int answerKeyCopies, platform::TRxRichEdit& pane,
                   const std::function<void(platform::TRxRichEdit&, const std::string&)>& loadPane,
                   const std::function<QPrinter&(const QString& fileSuffix)>& printerForJob) {
    const auto print = [&](const std::string& document, std::uint32_t code, bool answerKey,
                           int copies) {
        pane.ClearContent();
        loadPane(pane, document);
        const QString codeText = QString::fromLatin1(SheetCodeText(code));
        for (int copy = 1; copy <= copies; ++copy) {
            pane.PrintAsJob(printerForJob(SheetSetPrintFileSuffix(code, answerKey, copy)),
                            answerKey ? texts::kAnswerKeyJobTitle : texts::kSubjectJobTitle,
                            [&](int page) { return texts::SheetPageMark(codeText, page); });
        }
    };
    for (std::size_t i = 0; i < set.Subjects.size(); ++i) {
        print(set.Subjects[i], set.Codes[i], false, 1);
    }
    if (answerKeyCopies < 1) {
        return;
    }
    for (std::size_t i = 0; i < set.AnswerKeys.size(); ++i) {
        print(set.AnswerKeys[i], set.Codes[i], true, answerKeyCopies);
    }
}

}  // namespace Ufiche
