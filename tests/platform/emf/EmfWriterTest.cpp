#include "platform/emf/EmfWriter.h"

#include "EmfFileReader.h"
#include "EmfTestPage.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

using namespace emftest;

class EmfWriterTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_folder.filePath(name); }

    // The test page written with the 600 dpi reference device.
    QByteArray WriteTestPage(const QString& name) {
        ReferenceDevice printer;
        platform::EmfWriter writer(Path(name), &printer, kA4Frame);
        EXPECT_TRUE(writer.IsValid());
        DrawTestPage(writer);
        EXPECT_TRUE(writer.Close());
        return ReadAll(Path(name));
    }

    QTemporaryDir m_folder;
};

std::vector<std::uint32_t> TypesOf(const std::vector<Record>& records) {
    std::vector<std::uint32_t> types;
    for (const Record& record : records) {
        types.push_back(record.type);
    }
    return types;
}

TEST_F(EmfWriterTest, APageIsAMetafileWhoseHeaderDescribesTheFileAndTheReferenceDevice) {
    const QByteArray data = WriteTestPage("Temp0.emf");
    ASSERT_GE(data.size(), 108);
    const std::vector<Record> records = Records(data);
    ASSERT_FALSE(records.empty());

    EXPECT_EQ(records.front().type, 1u);  // EMR_HEADER
    EXPECT_EQ(records.front().offset, 0u);
    EXPECT_EQ(U32(data, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(U32(data, 44), 0x10000u);
    EXPECT_EQ(U32(data, 48), static_cast<std::uint32_t>(data.size()));
    EXPECT_EQ(U32(data, 52), records.size());
    // The frame as given, the device in pixels and millimetres (and
    // micrometres) as the printer reports them.
    EXPECT_EQ(QRect(QPoint(I32(data, 24), I32(data, 28)), QPoint(I32(data, 32), I32(data, 36))),
              kA4Frame);
    EXPECT_EQ(I32(data, 72), 4960);
    EXPECT_EQ(I32(data, 76), 7016);
    EXPECT_EQ(I32(data, 80), 210);
    EXPECT_EQ(I32(data, 84), 297);
    EXPECT_EQ(I32(data, 100), 210000);
    EXPECT_EQ(I32(data, 104), 297000);

    // Every record lies whole inside the file, which ends with the one end
    // record.
    std::uint64_t covered = 0;
    for (const Record& record : records) {
        EXPECT_EQ(record.size % 4, 0u);
        covered += record.size;
    }
    EXPECT_EQ(covered, static_cast<std::uint64_t>(data.size()));
    EXPECT_EQ(records.back().type, 14u);  // EMR_EOF
    const std::vector<std::uint32_t> types = TypesOf(records);
    EXPECT_EQ(std::count(types.begin(), types.end(), 14u), 1);

    // The handle count covers every object index used.
    std::uint32_t highest = 0;
    for (const Record& record : records) {
        if (record.type == 38 || record.type == 39 || record.type == 82 || record.type == 95) {
            highest = std::max(highest, U32(data, record.offset + 8));
        }
    }
    EXPECT_GT(highest, 0u);
    EXPECT_GT(qFromLittleEndian<std::uint16_t>(data.constData() + 56), highest);

    // The bounds hold what was drawn: from the title down to the triangle.
    const QRect bounds(QPoint(I32(data, 8), I32(data, 12)), QPoint(I32(data, 16), I32(data, 20)));
    EXPECT_TRUE(bounds.contains(kTitleBaseline));
    EXPECT_TRUE(bounds.contains(kHighlight));
    EXPECT_GE(bounds.bottom(), 3200);
    EXPECT_LE(bounds.top(), kTitleBaseline.y() - 100);
}

TEST_F(EmfWriterTest, TextRecordsHoldTheStringsInOrderWithTheirFontsAndColours) {
    const std::vector<TextRun> runs = TextRuns(WriteTestPage("page.emf"));
    ASSERT_EQ(runs.size(), 5u);

    struct Expected {
        const char* text;
        const char* family;
        int points;
        int weight;
        bool italic, underline, strikeOut;
        std::uint32_t color;
    };
    const Expected expected[] = {
        {"Conversions", "Arial", 14, 700, false, false, false, 0},
        {"Convertir en mètre", "Times New Roman", 12, 400, true, false, false, 0},
        {"Nom :", "Arial", 9, 400, false, true, false, 0},
        {"barré", "Arial", 9, 400, false, false, true, 0x0000C0},
        {"2 500 m", "Arial", 9, 400, false, false, false, 0},
    };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        const TextRun& run = runs[i];
        EXPECT_EQ(run.text, QString::fromUtf8(expected[i].text));
        EXPECT_EQ(run.font.family, QString::fromLatin1(expected[i].family));
        // A negative height: the character height in device pixels.
        EXPECT_EQ(run.font.height, -qRound(expected[i].points * kDpi / 72.0));
        EXPECT_EQ(run.font.weight, expected[i].weight);
        EXPECT_EQ(run.font.italic, expected[i].italic);
        EXPECT_EQ(run.font.underline, expected[i].underline);
        EXPECT_EQ(run.font.strikeOut, expected[i].strikeOut);
        EXPECT_EQ(run.color, expected[i].color);
        // One advance per character, that add up to the run's width as Qt
        // measured it.
        ASSERT_EQ(run.advances.size(), static_cast<std::size_t>(run.text.size()));
        QFont font(QString::fromLatin1(expected[i].family));
        font.setPixelSize(qRound(expected[i].points * kDpi / 72.0));
        font.setBold(expected[i].weight == 700);
        font.setItalic(expected[i].italic);
        const int total = std::accumulate(run.advances.begin(), run.advances.end(), 0);
        EXPECT_NEAR(total, QFontMetricsF(font).horizontalAdvance(run.text), run.text.size());
        EXPECT_TRUE(std::all_of(run.advances.begin(), run.advances.end(),
                                [](int advance) { return advance > 0; }));
    }
    EXPECT_EQ(runs[0].reference, kTitleBaseline);
    EXPECT_EQ(runs[1].reference, kBodyBaseline);
}

TEST_F(EmfWriterTest, TheHighlightIsAYellowBoxWithoutOutline) {
    const std::vector<FilledBox> boxes = Boxes(WriteTestPage("page.emf"));
    const auto highlight = std::find_if(boxes.begin(), boxes.end(), [](const FilledBox& box) {
        return box.brushColor == 0x00FFFF;  // yellow as 0x00BBGGRR
    });
    ASSERT_NE(highlight, boxes.end());
    EXPECT_TRUE(highlight->nullPen);
    // The box's right and bottom edges lie just outside the filled area.
    EXPECT_EQ(highlight->box, QRect(kHighlight.topLeft(), kHighlight.bottomRight() + QPoint(2, 2)));
}

TEST_F(EmfWriterTest, UnderlinesAreDrawnByTheFontOnlyWhileOtherLinesAreKept) {
    const QByteArray data = WriteTestPage("page.emf");
    int linesNearTheUnderlinedWord = 0;
    int pageLines = 0;
    for (const Record& record : Records(data)) {
        if (record.type != 4) {  // EMR_POLYLINE
            continue;
        }
        const int y = I32(data, record.offset + 32);
        if (y > 1400 && y < 1560) {
            ++linesNearTheUnderlinedWord;
        }
        if (y == 2500) {
            ++pageLines;
        }
    }
    EXPECT_EQ(linesNearTheUnderlinedWord, 0);
    EXPECT_EQ(pageLines, 1);
}

TEST_F(EmfWriterTest, ThePaintersTransformationIsAppliedToTextAndShapes) {
    struct Case {
        const char* name;
        QTransform transform;
        QPoint reference;
        int height;
        QRect box;  // as recorded: right and bottom one past the area
    };
    const Case cases[] = {
        {"none", QTransform(), QPoint(10, 40), -20, QRect(QPoint(10, 50), QPoint(31, 61))},
        {"moved", QTransform::fromTranslate(100, 200), QPoint(110, 240), -20,
         QRect(QPoint(110, 250), QPoint(131, 261))},
        {"moved and doubled", QTransform(2, 0, 0, 2, 100, 200), QPoint(120, 280), -40,
         QRect(QPoint(120, 300), QPoint(161, 321))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReferenceDevice printer;
        const QString name = Path("transformed.emf");
        {
            platform::EmfWriter writer(name, &printer, kA4Frame);
            QPainter painter(&writer);
            painter.setTransform(c.transform);
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(20);
            painter.setFont(font);
            painter.drawText(QPoint(10, 40), QStringLiteral("m²"));
            painter.fillRect(QRect(10, 50, 20, 10), Qt::red);
        }
        const QByteArray data = ReadAll(name);
        const std::vector<TextRun> runs = TextRuns(data);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].text, QString::fromUtf8("m²"));
        EXPECT_EQ(runs[0].reference, c.reference);
        EXPECT_EQ(runs[0].font.height, c.height);
        const std::vector<FilledBox> boxes = Boxes(data);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].box, c.box);
        EXPECT_EQ(boxes[0].brushColor, 0x0000FFu);
    }
}

TEST_F(EmfWriterTest, TheDeviceIsTheReferenceDeviceOrA96DpiA4Page) {
    ReferenceDevice reference;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("unused.pdf"));
    for (const QPaintDevice* device : {static_cast<const QPaintDevice*>(&reference),
                                       static_cast<const QPaintDevice*>(&printer)}) {
        platform::EmfWriter writer(Path("device.emf"), device, kA4Frame);
        EXPECT_EQ(writer.logicalDpiX(), device->logicalDpiX());
        EXPECT_EQ(writer.logicalDpiY(), device->logicalDpiY());
        EXPECT_EQ(writer.physicalDpiY(), device->physicalDpiY());
        EXPECT_EQ(writer.width(), device->width());
        EXPECT_EQ(writer.heightMM(), device->heightMM());
    }
    platform::EmfWriter plain(Path("plain.emf"), nullptr, kA4Frame);
    EXPECT_EQ(plain.logicalDpiY(), 96);
    EXPECT_EQ(plain.DeviceSizePixels(), QSize(794, 1123));
    EXPECT_EQ(plain.DeviceSizeMillimetres(), QSize(210, 297));
    ASSERT_TRUE(plain.Close());
    const QByteArray data = ReadAll(Path("plain.emf"));
    EXPECT_EQ(I32(data, 72), 794);
    EXPECT_EQ(I32(data, 84), 297);

    // Without a frame the picture is the device's page.
    platform::EmfWriter unframed(Path("unframed.emf"), &reference, QRect());
    EXPECT_EQ(unframed.Frame(), kA4Frame);
}

TEST_F(EmfWriterTest, ADocumentLaidOutOnTheDeviceIsRecordedAsItsTextWhereTheLayoutPutIt) {
    ReferenceDevice printer;
    platform::EmfWriter writer(Path("document.emf"), &printer, kA4Frame);
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDocumentMargin(0);
    document.setHtml(QString::fromUtf8(
        "<p style=\"font-family:Arial; font-size:9pt\">Long_N1_37_05 - <u>Nom :   Prénom :</u></p>"
        "<p style=\"font-family:Arial; font-size:9pt\"><b>Convertir en   mètre</b></p>"
        "<p style=\"font-family:Arial; font-size:9pt\">1°/   250 dam =\t\t70 dm = "
        "<span style=\"background-color:#ffff00\">7 m</span></p>"));
    document.setTextWidth(4960);
    {
        QPainter painter(&writer);
        document.drawContents(&painter);
    }
    ASSERT_TRUE(writer.Close());
    const std::vector<TextRun> runs = TextRuns(ReadAll(Path("document.emf")));
    QString recorded;
    for (const TextRun& run : runs) {
        recorded += run.text;
    }
    // Every character of the document but the tabs and paragraph ends, in order.
    QString expected = document.toPlainText();
    expected.remove(QChar('\t')).remove(QChar('\n'));
    EXPECT_EQ(recorded, expected);

    // The first run starts where the layout put the first line.
    const QTextLayout* layout = document.firstBlock().layout();
    const QTextLine line = layout->lineAt(0);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.front().reference,
              QPoint(qRound(layout->position().x() + line.x()),
                     qRound(layout->position().y() + line.y() + line.ascent())));
    // The highlight of "7 m" is a yellow box.
    const std::vector<FilledBox> boxes = Boxes(ReadAll(Path("document.emf")));
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(),
                            [](const FilledBox& box) { return box.brushColor == 0x00FFFF; }));
}

TEST_F(EmfWriterTest, AFileThatCannotBeCreatedGivesAnInvalidDeviceThatAcceptsNoPainter) {
    const QString name = Path("missing-folder/Temp0.emf");
    platform::EmfWriter writer(name, nullptr, kA4Frame);
    EXPECT_FALSE(writer.IsValid());
    QPainter painter;
    EXPECT_FALSE(painter.begin(&writer));
    EXPECT_FALSE(writer.Close());
    EXPECT_FALSE(QFileInfo::exists(name));
}

TEST_F(EmfWriterTest, TheFileIsCompleteAfterCloseOrWhenTheWriterGoesAway) {
    {
        ReferenceDevice printer;
        platform::EmfWriter writer(Path("scoped.emf"), &printer, kA4Frame);
        EXPECT_TRUE(QFileInfo::exists(Path("scoped.emf")));  // created at once
        DrawTestPage(writer);
    }
    const QByteArray scoped = ReadAll(Path("scoped.emf"));
    ASSERT_FALSE(scoped.isEmpty());
    EXPECT_EQ(U32(scoped, 48), static_cast<std::uint32_t>(scoped.size()));
    EXPECT_EQ(Records(scoped).back().type, 14u);

    // Drawing after Close() changes nothing; a second Close() says the same.
    platform::EmfWriter writer(Path("closed.emf"), nullptr, kA4Frame);
    EXPECT_TRUE(writer.Close());
    const QByteArray closed = ReadAll(Path("closed.emf"));
    QPainter painter;
    EXPECT_FALSE(painter.begin(&writer));
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(ReadAll(Path("closed.emf")), closed);
    // An empty page: header and end record, empty bounds.
    EXPECT_EQ(TypesOf(Records(closed)), (std::vector<std::uint32_t>{1, 14}));
    EXPECT_GT(I32(closed, 8), I32(closed, 16));
}

}  // namespace
