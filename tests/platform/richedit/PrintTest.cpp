#include <QBuffer>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "TextDocumentProbe.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using platform::TRxRichEdit;
using testsupport::LoadStream;

// Runs one of poppler's tools and gives back what it printed (UTF-8).
QString Poppler(const char* tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) {
        ADD_FAILURE() << tool << " is missing: scripts/test installs poppler-utils";
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class PrintJob : public ::testing::Test {
protected:
    // Prints the pane to a PDF file, as a printer at its high resolution does.
    QString Print(const QString& title, QPageSize::PageSizeId size = QPageSize::A4) {
        const QString file = QDir(m_folder.path()).filePath("job.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(size));
        m_pane.PrintAsJob(printer, title);
        return file;
    }

    QString Info(const QString& file, const char* field) {
        const QString output = Poppler("pdfinfo", {file});
        const auto match =
            QRegularExpression(QStringLiteral("^%1:\\s*(.*)$").arg(QLatin1String(field)),
                               QRegularExpression::MultilineOption)
                .match(output);
        return match.hasMatch() ? match.captured(1).trimmed() : QString();
    }

    QString PageText(const QString& file, int page) {
        const QString number = QString::number(page);
        return Poppler("pdftotext", {"-f", number, "-l", number, "-layout", file, "-"});
    }

    QTemporaryDir m_folder;
    TRxRichEdit m_pane;
};

// Numbered lines; from `firstRow` on, each line is a row of one table.
std::string NumberedLines(int count, int firstRow = 0) {
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    for (int line = 1; line <= count; ++line) {
        const std::string text = "Ligne" + std::to_string(1000 + line) + " texte";
        rtf += firstRow > 0 && line >= firstRow
                   ? "\\trowd\\clbrdrt\\brdrs\\cellx4000\\cellx6000\\intbl " + text +
                         "\\cell x\\cell\\row "
                   : text + "\\par ";
    }
    return rtf + "}";
}

// The last 110 lines are the rows of a table taller than a page: it goes on
// over the next pages, row by row.
TEST_F(PrintJob, IsOneDocumentTitledWithTheJobTitleWithTheTextOnAsManyPagesAsItNeeds) {
    LoadStream(m_pane, NumberedLines(150, 41));
    const QString file = Print(QString::fromUtf8("Corrigé"));
    EXPECT_EQ(Info(file, "Title"), QString::fromUtf8("Corrigé"));

    // The pages the layout makes on this printer: one per FormatRange call.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(m_folder.path()).filePath("measure.pdf"));
    const QRect page(0, 0, printer.width() * 1440 / printer.logicalDpiX(),
                     printer.height() * 1440 / printer.logicalDpiY());
    int pages = 0;
    for (std::optional<int> position = 0; position && *position < m_pane.TextLength(); ++pages) {
        position = m_pane.FormatRange(printer, page, *position);
    }
    m_pane.ReleaseFormatRange();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(Info(file, "Pages"), QString::number(pages));

    // Every line once, in order, and each page starts where the last one ended.
    int expected = 1001;
    for (int number = 1; number <= pages; ++number) {
        const QString text = PageText(file, number);
        const auto lines = QRegularExpression("Ligne(\\d+) texte").globalMatch(text);
        auto it = lines;
        ASSERT_TRUE(it.hasNext()) << "page " << number << " is empty";
        while (it.hasNext()) {
            EXPECT_EQ(it.next().captured(1).toInt(), expected) << "page " << number;
            ++expected;
        }
    }
    EXPECT_EQ(expected, 1151);
}

TEST_F(PrintJob, UsesTheWholePageOfTheChosenSize) {
    LoadStream(m_pane, NumberedLines(150));
    const QString a4 = Print("Sujet", QPageSize::A4);
    const int a4Pages = Info(a4, "Pages").toInt();
    const QString a3 = Print("Sujet", QPageSize::A3);
    EXPECT_LT(Info(a3, "Pages").toInt(), a4Pages);
    EXPECT_NE(Info(a3, "Page size").indexOf("842 x 1191"), -1)
        << Info(a3, "Page size").toStdString();
}

TEST_F(PrintJob, PrintsOneCopyOfEveryPageWhateverTheDialogLeftInThePrinter) {
    LoadStream(m_pane, NumberedLines(150));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(m_folder.path()).filePath("dialog.pdf"));
    printer.setCopyCount(3);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    m_pane.PrintAsJob(printer, "Sujet");
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
    EXPECT_EQ(Info(printer.outputFileName(), "Pages"), Info(Print("Sujet"), "Pages"));
}

TEST_F(PrintJob, AnEmptyPaneStillGivesOnePageWithNoText) {
    LoadStream(m_pane, "{\\rtf1 }");
    const QString file = Print("Sujet");
    EXPECT_EQ(Info(file, "Title"), "Sujet");
    EXPECT_EQ(Info(file, "Pages"), "1");
    EXPECT_TRUE(PageText(file, 1).trimmed().isEmpty());
}

TEST_F(PrintJob, AGiantLineThatFitsNoPageEndsTheJobInsteadOfLooping) {
    LoadStream(m_pane, "{\\rtf1 avant\\par \\fs3276 G\\par \\fs24 apr\\'e8s}");
    const QString file = Print("Sujet");
    EXPECT_EQ(Info(file, "Pages"), "1");
    EXPECT_NE(PageText(file, 1).indexOf("avant"), -1);
}

TEST_F(PrintJob, APrinterThatCannotBeOpenedRaisesThePrinterError) {
    LoadStream(m_pane, "{\\rtf1 x}");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(m_folder.path()).filePath("absent/job.pdf"));
    EXPECT_EQ(testsupport::ErrorOf([&] { m_pane.PrintAsJob(printer, "Sujet"); }),
              "Imprimante sélectionnée incorrecte");
}

}  // namespace
