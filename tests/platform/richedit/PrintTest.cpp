#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../emf/EmfFileReader.h"
#include "ErrorOf.h"
#include "TextDocumentProbe.h"
#include "platform/emf/EmfWriter.h"
#include "platform/richedit/RtfReader.h"
#include "platform/richedit/TRxRichEdit.h"
#include "platform/units/PageUnits.h"

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

std::string NumberedLines(int count) {
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    for (int line = 1; line <= count; ++line) {
        rtf += "Ligne" + std::to_string(1000 + line) + " texte\\par ";
    }
    return rtf + "}";
}

TEST_F(PrintJob, IsOneDocumentTitledWithTheJobTitleWithTheTextOnAsManyPagesAsItNeeds) {
    LoadStream(m_pane, NumberedLines(150));
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

// Question lines, each kept with the three-row table of conversions under it.
RichText::RtfDocument QuestionsWithTables(int count) {
    using namespace RichText;
    const auto text = [](const std::string& line) {
        return RtfParagraph{{{QString::fromStdString(line).toStdU16String(), {u"Arial", 24}}}};
    };
    RtfDocument document;
    for (int n = 1; n <= count; ++n) {
        RtfParagraph question = text("Question " + std::to_string(n));
        question.ended = question.keepWithNext = true;
        RtfTable table;
        for (const char* row : {"haut", "milieu", "bas"}) {
            const RtfParagraph line = text(row + std::string(" ") + std::to_string(n));
            table.rows.push_back({{{{line}, 2000, true}, {{line}, 3000, true}}, 100});
        }
        document.blocks.insert(document.blocks.end(), {question, table});
    }
    document.blocks.emplace_back(text("fin"));
    return document;
}

TEST_F(PrintJob, NoTableNorTheQuestionKeptWithItIsSplitAcrossPagesOnPaperOrInThePreview) {
    constexpr int kQuestions = 40;
    QTextCursor cursor(m_pane.document());
    platform::InsertRtfDocument(cursor, QuestionsWithTables(kQuestions));
    const QString file = Print("Sujet");
    const int pages = Info(file, "Pages").toInt();
    ASSERT_GE(pages, 3);

    // The preview's pages, drawn on metafiles for the same paper.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(m_folder.path()).filePath("reference.pdf"));
    const QRect frame(0, 0, 21000, 29700);
    const QRect page(0, 0, platform::HundredthsMmToTwips(frame.right()),
                     platform::HundredthsMmToTwips(frame.bottom()));
    std::vector<QString> preview;
    for (int start = 0; start < m_pane.TextLength() && preview.size() < 100;) {
        const QString name = QDir(m_folder.path()).filePath("page.emf");
        std::optional<int> next;
        {
            platform::EmfWriter metafile(name, &printer, frame);
            QPainter painter(&metafile);
            next = m_pane.FormatRange(metafile, page, start, &painter);
            m_pane.ReleaseFormatRange();
            painter.end();
            metafile.Close();
        }
        QFile written(name);
        const QByteArray data =
            written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
        QString text;
        for (const auto& run : emftest::TextRuns(data)) {
            text += run.text + " ";
        }
        preview.push_back(text);
        // Each table's twelve edges, at least, as black rectangles.
        const auto boxes = emftest::Boxes(data);
        EXPECT_GE(std::count_if(boxes.begin(), boxes.end(),
                                [](auto& box) { return box.brushColor == 0; }),
                  12 * text.count("haut"));
        ASSERT_TRUE(next.has_value());
        start = *next;
    }
    ASSERT_EQ(static_cast<int>(preview.size()), pages);

    // Every piece of question n on one page, the same on paper and in the preview.
    for (int number = 1; number <= pages; ++number) {
        const QString paper = PageText(file, number);
        for (int n = 1; n <= kQuestions; ++n) {
            const auto on = [n](const QString& text, const char* piece) {
                return text.contains(QRegularExpression(QString("%1 %2\\b").arg(piece).arg(n)));
            };
            for (const char* piece : {"haut", "milieu", "bas"}) {
                EXPECT_EQ(on(paper, piece), on(paper, "Question")) << number << piece << n;
                EXPECT_EQ(on(preview[number - 1], piece), on(paper, piece)) << number << piece << n;
            }
        }
    }
}

}  // namespace
