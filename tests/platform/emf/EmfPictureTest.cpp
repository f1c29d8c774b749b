#include "platform/emf/EmfPicture.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"
#include "platform/emf/EmfWriter.h"

#include "EmfFileReader.h"
#include "EmfTestPage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using namespace emftest;
using platform::EmfPicture;
using platform::emf::RecordBuilder;

// Device pixels of the test page to pixels of an image that shows its frame.
QRect ToImage(const QRect& device, const QSize& image) {
    const double sx = image.width() / 4960.0;
    const double sy = image.height() / 7016.0;
    return QRect(QPoint(qRound(device.left() * sx), qRound(device.top() * sy)),
                 QPoint(qRound(device.right() * sx), qRound(device.bottom() * sy)));
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool Ink(QRgb pixel) {
    return qGray(pixel) < 128;
}
bool Yellow(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) < 80;
}
bool White(QRgb pixel) {
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

// Keeps Qt's messages out of the test output while damaged pictures are
// played: their text is random characters that no font supports.
class QuietQt {
public:
    QuietQt()
        : m_previous(
              qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {
    }
    ~QuietQt() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

// The areas of the test page, in its device pixels.
const QRect kTitleArea(600, 480, 700, 120);
const QRect kBodyArea(600, 1110, 1000, 90);
const QRect kHighlightEnd(1800, 1820, 150, 100);  // right of the word on it
const QRect kEmptyArea(2500, 4000, 2000, 2000);

class EmfPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_name = m_folder.filePath("Temp0.emf");
        ReferenceDevice printer;
        platform::EmfWriter writer(m_name, &printer, kA4Frame);
        DrawTestPage(writer);
        ASSERT_TRUE(writer.Close());
        m_data = ReadAll(m_name);
    }

    QTemporaryDir m_folder;
    QString m_name;
    QByteArray m_data;
};

TEST_F(EmfPictureTest, ThePreviewPictureShowsTheTextAndTheHighlightWhereTheyWereDrawn) {
    const QSize size(420, 594);
    const QImage image = platform::RenderEmfFile(m_name, size);
    ASSERT_EQ(image.size(), size);
    EXPECT_GT(CountPixels(image, ToImage(kTitleArea, size), Ink), 40);
    EXPECT_GT(CountPixels(image, ToImage(kBodyArea, size), Ink), 30);
    const QRect highlightEnd = ToImage(kHighlightEnd, size);
    EXPECT_EQ(CountPixels(image, highlightEnd, Yellow),
              highlightEnd.width() * highlightEnd.height());
    const QRect empty = ToImage(kEmptyArea, size);
    EXPECT_EQ(CountPixels(image, empty, White), empty.width() * empty.height());
    // The blue line across the page and the green triangle.
    EXPECT_GT(CountPixels(image, ToImage(QRect(1000, 2480, 3000, 40), size),
                          [](QRgb p) { return qBlue(p) > qRed(p) + 60; }),
              100);
    EXPECT_GT(CountPixels(image, ToImage(QRect(1900, 3000, 200, 150), size),
                          [](QRgb p) { return qGreen(p) > 100 && qRed(p) < 80 && qBlue(p) < 80; }),
              4);
}

TEST_F(EmfPictureTest, TheFrameIsStretchedOntoTheTargetRectangle) {
    const std::optional<EmfPicture> picture = EmfPicture::FromData(m_data);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Header().frame, kA4Frame);
    EXPECT_EQ(picture->Header().devicePixels, QSize(4960, 7016));

    // Drawn at 300, 100 in a larger image, twice as wide as A4 proportions.
    QImage image(1200, 800, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QRectF target(300, 100, 840, 594);
    {
        QPainter painter(&image);
        painter.setPen(Qt::red);  // the painter's own state must come back unchanged
        picture->Play(painter, target);
        EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
        EXPECT_TRUE(painter.transform().isIdentity());
    }
    const QRect highlightEnd = ToImage(kHighlightEnd, QSize(840, 594)).translated(300, 100);
    EXPECT_EQ(CountPixels(image, highlightEnd, Yellow),
              highlightEnd.width() * highlightEnd.height());
    EXPECT_EQ(CountPixels(image, QRect(0, 0, 300, 800), White), 300 * 800);
}

TEST_F(EmfPictureTest, AFileTruncatedAtAnyLengthIsRefused) {
    for (qsizetype length = 0; length < m_data.size(); ++length) {
        ASSERT_FALSE(EmfPicture::FromData(m_data.left(length))) << "length " << length;
    }
}

// Structural faults, each made in a copy of a good page.
struct Fault {
    const char* name;
    std::function<void(QByteArray&)> make;
    bool accepted;
};

void PutU32(QByteArray& data, std::uint32_t offset, std::uint32_t value) {
    qToLittleEndian(value, data.data() + offset);
}

TEST_F(EmfPictureTest, StructuralFaultsAreRefusedAndHarmlessOddsAreAccepted) {
    const std::uint32_t second = Records(m_data)[1].offset;
    const Fault faults[] = {
        {"no bytes", [](QByteArray& d) { d.clear(); }, false},
        {"wrong first record", [](QByteArray& d) { PutU32(d, 0, 2); }, false},
        {"wrong signature", [](QByteArray& d) { PutU32(d, 40, 0x464D4521); }, false},
        {"header shorter than its fields", [](QByteArray& d) { PutU32(d, 4, 40); }, false},
        {"header longer than the file", [](QByteArray& d) { PutU32(d, 4, 0x7FFFFFF0); }, false},
        {"file size beyond the data", [](QByteArray& d) { PutU32(d, 48, d.size() + 4); }, false},
        {"no device size", [](QByteArray& d) { PutU32(d, 72, 0); }, false},
        {"no millimetre size", [](QByteArray& d) { PutU32(d, 84, 0); }, false},
        {"empty frame", [](QByteArray& d) { PutU32(d, 32, 0); }, false},
        {"record of size 0", [=](QByteArray& d) { PutU32(d, second + 4, 0); }, false},
        {"record of size 4", [=](QByteArray& d) { PutU32(d, second + 4, 4); }, false},
        {"record size not a multiple of 4", [=](QByteArray& d) { PutU32(d, second + 4, 14); },
         false},
        {"record size past the end", [=](QByteArray& d) { PutU32(d, second + 4, 0xFFFFFFF0); },
         false},
        {"no end record",
         [](QByteArray& d) { PutU32(d, static_cast<std::uint32_t>(d.size()) - 20, 70); }, false},
        {"unknown record type", [=](QByteArray& d) { PutU32(d, second, 0x7777); }, true},
        {"bytes after the metafile", [](QByteArray& d) { d.append(64, '\x55'); }, true},
    };
    for (const Fault& fault : faults) {
        QByteArray data = m_data;
        fault.make(data);
        const std::optional<EmfPicture> picture = EmfPicture::FromData(data);
        EXPECT_EQ(picture.has_value(), fault.accepted) << fault.name;
        if (picture) {
            EXPECT_FALSE(picture->ToImage(QSize(42, 59)).isNull()) << fault.name;
        }
    }
}

// A metafile made of `records` behind a header with `handles` table entries.
QByteArray Assemble(const std::vector<QByteArray>& records, std::uint16_t handles) {
    using namespace platform::emf;
    QByteArray body;
    for (const QByteArray& record : records) {
        body.append(record);
    }
    body.append(RecordBuilder(EMR_EOF).U32(0).U32(16).U32(20).Finish());
    RecordBuilder header(EMR_HEADER);
    header.Rect(QRect(0, 0, 100, 100)).Rect(QRect(QPoint(0, 0), QPoint(2540, 2540)));
    header.U32(kSignature).U32(kVersion).U32(108 + static_cast<std::uint32_t>(body.size()));
    header.U32(static_cast<std::uint32_t>(records.size()) + 2).U16(handles).U16(0);
    header.U32(0).U32(0).U32(0).I32(100).I32(100).I32(25).I32(25);
    header.U32(0).U32(0).U32(0).I32(25000).I32(25000);
    QByteArray data = header.Finish();
    data.append(body);
    return data;
}

TEST(EmfPicture, RecordsWhoseFieldsDoNotFitOrPointOutsideTheTableArePassedOver) {
    using namespace platform::emf;
    const QByteArray red =
        RecordBuilder(EMR_CREATEBRUSHINDIRECT).U32(1).U32(BS_SOLID).U32(0xFF).U32(0).Finish();
    const QByteArray blue =
        RecordBuilder(EMR_CREATEBRUSHINDIRECT).U32(9).U32(BS_SOLID).U32(0xFF0000).U32(0).Finish();
    const std::vector<QByteArray> records = {
        red,
        blue,  // index 9 is outside a table of 2
        RecordBuilder(EMR_SELECTOBJECT).U32(9).Finish(),
        RecordBuilder(EMR_SELECTOBJECT).U32(0x7FFFFFFF).Finish(),
        RecordBuilder(EMR_SELECTOBJECT).U32(kStockObject | NULL_PEN).Finish(),
        RecordBuilder(EMR_DELETEOBJECT).U32(0xFFFFFFFF).Finish(),
        RecordBuilder(EMR_RESTOREDC).I32(-5).Finish(),
        RecordBuilder(EMR_SELECTOBJECT).Finish(),               // no index field
        RecordBuilder(EMR_RECTANGLE).I32(10).I32(10).Finish(),  // no corners
        // Text claiming far more characters and advances than it holds.
        RecordBuilder(EMR_EXTTEXTOUTW)
            .Rect(QRect(0, 0, 1, 1))
            .U32(1)
            .F32(1)
            .F32(1)
            .I32(10)
            .I32(50)
            .U32(0x7FFFFFFF)
            .U32(76)
            .U32(0)
            .Rect(QRect(0, 0, 1, 1))
            .U32(80)
            .Utf16(QStringLiteral("AB"), 2)
            .Finish(),
        RecordBuilder(EMR_EXTTEXTOUTW)
            .Rect(QRect(0, 0, 1, 1))
            .U32(1)
            .F32(1)
            .F32(1)
            .I32(10)
            .I32(50)
            .U32(2)
            .U32(0xFFFFFFF0)
            .U32(0)
            .Rect(QRect(0, 0, 1, 1))
            .U32(0xFFFFFFF0)
            .Finish(),
        // Polygons whose counts go past their points.
        RecordBuilder(EMR_POLYGON).Rect(QRect(0, 0, 1, 1)).U32(0x40000000).I32(0).I32(0).Finish(),
        RecordBuilder(EMR_POLYPOLYGON)
            .Rect(QRect(0, 0, 1, 1))
            .U32(2)
            .U32(3)
            .U32(3)
            .U32(0xFFFFFFFF)
            .I32(0)
            .I32(0)
            .I32(50)
            .I32(0)
            .I32(0)
            .I32(50)
            .Finish(),
        RecordBuilder(EMR_POLYPOLYLINE).Rect(QRect(0, 0, 1, 1)).U32(0xFFFFFFFF).U32(1).Finish(),
        RecordBuilder(EMR_EXTCREATEFONTINDIRECTW).U32(1).I32(-20).Finish(),  // LOGFONT cut short
        RecordBuilder(EMR_SELECTOBJECT).U32(1).Finish(),
        RecordBuilder(EMR_RECTANGLE).I32(0).I32(0).I32(101).I32(101).Finish(),
    };
    const std::optional<EmfPicture> picture = EmfPicture::FromData(Assemble(records, 2));
    ASSERT_TRUE(picture);
    const QImage image = picture->ToImage(QSize(100, 100));
    // The red brush in the table fills the square; the blue one outside the
    // table was never selected.
    EXPECT_EQ(CountPixels(image, QRect(5, 5, 90, 90),
                          [](QRgb p) { return qRed(p) > 200 && qBlue(p) < 50; }),
              90 * 90);
}

TEST_F(EmfPictureTest, EveryFieldOfEveryRecordSetToExtremesPlaysWithoutHarm) {
    const QuietQt quiet;
    const std::vector<Record> records = Records(m_data);
    for (std::size_t r = 1; r + 1 < records.size(); ++r) {
        for (std::uint32_t field = 8; field < records[r].size; field += 4) {
            for (const std::uint32_t value : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0u}) {
                QByteArray data = m_data;
                PutU32(data, records[r].offset + field, value);
                const std::optional<EmfPicture> picture = EmfPicture::FromData(data);
                ASSERT_TRUE(picture) << "record " << r << " field " << field;
                picture->ToImage(QSize(21, 30));
            }
        }
    }
}

TEST_F(EmfPictureTest, RandomBytesAndRandomDamageNeitherCrashNorHang) {
    const QuietQt quiet;
    std::mt19937 random(20261208);
    for (int i = 0; i < 300; ++i) {
        QByteArray noise(static_cast<qsizetype>(random() % 600), '\0');
        for (char& byte : noise) {
            byte = static_cast<char>(random());
        }
        if (i % 2 == 0 && noise.size() >= 44) {
            // Past the first checks, into the record chain.
            noise.replace(0, 44, m_data.left(44));
        }
        if (const auto picture = EmfPicture::FromData(noise)) {
            picture->ToImage(QSize(21, 30));
        }
    }
    for (int i = 0; i < 300; ++i) {
        QByteArray data = m_data;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int c = 0; c < changes; ++c) {
            data[static_cast<qsizetype>(random() % data.size())] = static_cast<char>(random());
        }
        if (const auto picture = EmfPicture::FromData(data)) {
            picture->ToImage(QSize(21, 30));
        }
    }
}

TEST(EmfPicture, AMissingOrUnreadableFileGivesANullImage) {
    QTemporaryDir folder;
    EXPECT_TRUE(platform::RenderEmfFile(folder.filePath("absent.emf"), QSize(42, 59)).isNull());
    QFile text(folder.filePath("TWFile.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    EXPECT_TRUE(platform::RenderEmfFile(text.fileName(), QSize(42, 59)).isNull());
    EXPECT_FALSE(EmfPicture::Load(folder.path()));  // a folder
}

TEST_F(EmfPictureTest, LibreOfficeReadsThePageWithTheTextWhereItWasDrawn) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: skipping the check that "
                        "another program reads the metafile";
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_folder.path());  // a profile of its own
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder.path());
    process.start(soffice,
                  {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("png"), QStringLiteral("--outdir"), m_folder.path(), m_name});
    ASSERT_TRUE(process.waitForFinished(180000)) << "soffice did not finish";
    const QImage png(m_folder.filePath("Temp0.png"));
    ASSERT_FALSE(png.isNull()) << process.readAllStandardError().toStdString();
    // LibreOffice sets the picture on a page of its own, within margins:
    // the highlight tells where the page went and at what scale, and the
    // text must be at the same place relative to it.
    QRect highlight;
    for (int y = 0; y < png.height(); ++y) {
        for (int x = 0; x < png.width(); ++x) {
            if (Yellow(png.pixel(x, y))) {
                highlight |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(highlight.isEmpty()) << "no highlight in LibreOffice's picture";
    const double scale = static_cast<double>(highlight.width()) / kHighlight.width();
    EXPECT_NEAR(static_cast<double>(highlight.height()) / kHighlight.height(), scale, scale * 0.2);
    EXPECT_LE(scale * 4960, png.width() + 2);
    const auto place = [&](const QRect& device) {
        const QPointF from = QPointF(device.topLeft() - kHighlight.topLeft()) * scale;
        return QRect(highlight.topLeft() + from.toPoint(),
                     (QSizeF(device.size()) * scale).toSize());
    };
    EXPECT_GT(CountPixels(png, place(kTitleArea), Ink), 20);
    EXPECT_GT(CountPixels(png, place(kBodyArea), Ink), 20);
    const QRect empty = place(kEmptyArea);
    EXPECT_EQ(CountPixels(png, empty, White), empty.width() * empty.height());
}

}  // namespace
