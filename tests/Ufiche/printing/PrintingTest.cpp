#include "Ufiche/printing/Printing.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

// Each job goes to a PDF file of its own, whose title is the job title.
class PdfJobs {
public:
    QPrinter& NextPrinter() {
        auto& printer = m_printers.emplace_back(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_folder.filePath(QString("job%1.pdf").arg(m_printers.size())));
        return printer;
    }
    int Count() const { return static_cast<int>(m_printers.size()); }
    QString File(int job) const { return m_folder.filePath(QString("job%1.pdf").arg(job + 1)); }
    QStringList Titles() const {
        QStringList titles;
        for (const auto& printer : m_printers) {
            titles << printer.docName();
        }
        return titles;
    }

private:
    QTemporaryDir m_folder;
    std::deque<QPrinter> m_printers;
};

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PrintingTest : public testing::Test {
protected:
    void Generate(int questions) {
        Ufiche::MersenneRandomSource random(3);
        const auto sheet = Ufiche::BuildWorksheet(
            Uconvers::QuantityKind::Length,
            {2, questions, 3, "Titre", "Convertir en ", true, std::string(60, '-')}, random);
        Ufiche::LoadRtfIntoPane(m_subject, sheet.Subject);
        Ufiche::LoadRtfIntoPane(m_answerKey, sheet.AnswerKey);
    }
    void Print(int subjectCopies, int answerKeyCopies) {
        Ufiche::PrintCopies(m_subject, m_answerKey, subjectCopies, answerKeyCopies,
                            [this](const QString&) -> QPrinter& { return m_jobs.NextPrinter(); });
    }

    platform::TRxRichEdit m_subject;
    platform::TRxRichEdit m_answerKey;
    PdfJobs m_jobs;
};

TEST_F(PrintingTest, EachCopyIsAJobOfItsOwnSubjectsBeforeAnswerKeys) {
    Generate(5);
    Print(3, 1);
    EXPECT_EQ(m_jobs.Titles(), (QStringList{"Sujet", "Sujet", "Sujet", "Corrig\u00e9"}));
    Print(0, 2);
    EXPECT_EQ(m_jobs.Titles().mid(4), (QStringList{"Corrig\u00e9", "Corrig\u00e9"}));
    Print(0, 0);
    EXPECT_EQ(m_jobs.Count(), 6);
#ifndef _WIN32  // poppler's tools have no Windows build here
    // The job title is the PDF's title.
    EXPECT_TRUE(RunTool("pdfinfo", {m_jobs.File(3)}).contains("Corrig\u00e9"));
#endif
}

TEST_F(PrintingTest, ASubjectWithoutALinePrintsNothingAndAnEmptyAnswerKeyStillPrints) {
    Print(2, 2);
    m_subject.ClearContent();
    m_answerKey.ClearContent();
    Print(2, 2);
    EXPECT_EQ(m_jobs.Count(), 0);
    m_subject.setPlainText("Interrogation");
    Print(0, 1);
    EXPECT_EQ(m_jobs.Titles(), QStringList{"Corrig\u00e9"});
}

TEST_F(PrintingTest, ALongSubjectFillsSeveralPagesOfOneJobWithEveryLineOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "reads the PDF with poppler's tools, which have no Windows build here";
#endif
    Generate(40);
    Print(1, 0);
    ASSERT_EQ(m_jobs.Count(), 1);
    const QString info = RunTool("pdfinfo", {m_jobs.File(0)});
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    EXPECT_GE(pages.captured(1).toInt(), 2);
    const QString text = RunTool("pdftotext", {"-layout", m_jobs.File(0), "-"});
    for (int question = 1; question <= 40; ++question) {
        // At a line start, or after the form feed between pages.
        const QRegularExpression number(QString("(^|[\\n\\f])%1\u00b0/").arg(question));
        EXPECT_EQ(text.count(number), 1) << question;
    }
    EXPECT_TRUE(text.contains("Titre"));
    // Both exercises of a question stand on its line: six tabs fit the page.
    for (const QString& line : text.split('\n')) {
        if (line.contains("\u00b0/")) {
            EXPECT_EQ(line.count('='), 2) << line.toStdString();
        }
    }
}

}  // namespace
