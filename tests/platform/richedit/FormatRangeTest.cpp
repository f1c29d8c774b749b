#include <QBuffer>

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <algorithm>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "A4Device.h"
#include "TextDocumentProbe.h"
#include "Ufiche/document/MarkupWidth.h"
#include "platform/codepage/Codepage.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using platform::TRxRichEdit;
using testsupport::LoadStream;

// An A4 sheet that records the text that is drawn on it, page by page.
class RecordingDevice : public testsupport::A4Device {
public:
    struct Drawn {
        int page;
        QPointF position;
        QString text;
    };

    QPaintEngine* paintEngine() const override { return &m_engine; }
    void StartPage(int page) { m_engine.page = page; }
    const std::vector<Drawn>& DrawnText() const { return m_engine.drawn; }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& position, const QTextItem& item) override {
            drawn.push_back({page, position, item.text()});
        }
        Type type() const override { return QPaintEngine::User; }

        int page = 0;
        std::vector<Drawn> drawn;
    };
    mutable Engine m_engine;
};

const QRect kA4Twips(0, 0, 11906, 16838);

// `count` numbered 12-point lines, then an empty last line.
std::string NumberedLines(int count) {
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int line = 1; line <= count; ++line) {
        char text[64];
        std::snprintf(text, sizeof text, "Ligne%03d abc\\tab def\\par ", line);
        rtf += text;
    }
    return rtf + "}";
}

QString WithoutSpaces(const QString& text) {
    QString kept;
    for (const QChar c : text) {
        if (!c.isSpace() && c != QChar::ParagraphSeparator && c != QChar::LineSeparator) {
            kept += c;
        }
    }
    return kept;
}

// Pages through the whole pane as printing does, one painter per page;
// returns the position that each call gave back.
std::vector<std::optional<int>> PageThrough(TRxRichEdit& pane, RecordingDevice& device,
                                            const QRect& rect, bool draw) {
    std::vector<std::optional<int>> positions;
    int position = 0;
    for (int page = 0; page < 1000; ++page) {
        device.StartPage(page);
        QPainter painter(&device);
        const auto next = pane.FormatRange(device, rect, position, draw ? &painter : nullptr);
        positions.push_back(next);
        if (!next || *next >= pane.TextLength()) {
            break;
        }
        position = *next;
    }
    pane.ReleaseFormatRange();
    return positions;
}

TEST(FormatRange, PagesThroughALongDocumentDrawingEveryCharacterExactlyOnce) {
    TRxRichEdit pane;
    LoadStream(pane, NumberedLines(160));
    RecordingDevice device;
    const auto positions = PageThrough(pane, device, kA4Twips, true);

    ASSERT_GE(positions.size(), 3u);
    int previous = 0;
    for (const auto& position : positions) {
        ASSERT_TRUE(position.has_value());
        EXPECT_GT(*position, previous);
        previous = *position;
    }
    EXPECT_EQ(positions.back(), pane.TextLength());

    QString drawn;
    int lastPage = -1;
    for (const auto& item : device.DrawnText()) {
        drawn += item.text;
        EXPECT_GE(item.page, lastPage);  // in order, page after page
        lastPage = item.page;
    }
    EXPECT_EQ(WithoutSpaces(drawn), WithoutSpaces(pane.toPlainText()));
    EXPECT_EQ(lastPage + 1, static_cast<int>(positions.size()));
}

TEST(FormatRange, EachPageStartsWithTheLineAfterThePreviousPageAtTheTopOfTheRectangle) {
    TRxRichEdit pane;
    LoadStream(pane, NumberedLines(100));
    RecordingDevice device;
    const QRect rect(1440, 720, 8000, 14000);  // one inch in, half an inch down
    const auto positions = PageThrough(pane, device, rect, true);
    ASSERT_GE(positions.size(), 2u);
    for (std::size_t page = 0; page < positions.size(); ++page) {
        const auto first = std::find_if(device.DrawnText().begin(), device.DrawnText().end(),
                                        [&](const auto& d) { return d.page == int(page); });
        ASSERT_NE(first, device.DrawnText().end());
        const int start = page == 0 ? 0 : *positions[page - 1];
        EXPECT_TRUE(pane.toPlainText().mid(start).startsWith(first->text)) << page;
        EXPECT_GE(first->position.x(), 600.0);  // 1440 twips at 600 dpi
        EXPECT_GT(first->position.y(), 300.0);  // the baseline, below the top at 300
        EXPECT_LT(first->position.y(), 300.0 + 200);
    }
}

TEST(FormatRange, MeasuringGivesTheSamePositionsAsDrawingAndANarrowerRectangleMorePages) {
    TRxRichEdit pane;
    std::string long_lines = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < 60; ++i) {
        long_lines += "des mots et encore des mots qui remplissent la ligne et la suivante \\par ";
    }
    LoadStream(pane, long_lines + "}");
    RecordingDevice device;
    const auto drawn = PageThrough(pane, device, kA4Twips, true);
    const auto measured = PageThrough(pane, device, kA4Twips, false);
    EXPECT_EQ(measured, drawn);
    const auto narrow = PageThrough(pane, device, QRect(0, 0, 4000, 16838), false);
    EXPECT_GT(narrow.size(), drawn.size());
    EXPECT_EQ(narrow.back(), pane.TextLength());
}

TEST(FormatRange, ALineTallerThanThePageReportsFailureInsteadOfStandingStill) {
    TRxRichEdit pane;
    LoadStream(pane, "{\\rtf1 petit\\par \\fs3276 G\\par \\fs24 fin}");
    RecordingDevice device;
    const auto first = pane.FormatRange(device, kA4Twips, 0);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, 6);  // the big line does not fit after the first one
    EXPECT_FALSE(pane.FormatRange(device, kA4Twips, *first).has_value());
    const auto positions = PageThrough(pane, device, kA4Twips, true);
    EXPECT_EQ(positions.size(), 2u);  // the page loop ends
}

TEST(FormatRange, ADocumentThatFitsOnOnePageNeedsNoSecondPage) {
    struct Case {
        const char* rtf;
        int length;
    };
    const Case cases[] = {
        {"{\\rtf1 }", 0},
        {"{\\rtf1 a}", 1},
        {"{\\rtf1 a\\par}", 2},
        {"{\\rtf1 a\\par\\par\\par}", 4},
    };
    RecordingDevice device;
    for (const Case& c : cases) {
        TRxRichEdit pane;
        LoadStream(pane, c.rtf);
        EXPECT_EQ(pane.TextLength(), c.length) << c.rtf;
        const auto positions = PageThrough(pane, device, kA4Twips, true);
        ASSERT_EQ(positions.size(), 1u) << c.rtf;
        EXPECT_EQ(positions.front(), c.length) << c.rtf;
    }
}

TEST(FormatRange, EmptyLinesTakeTheHeightOfTheSizeInForceWhereTheyStand) {
    auto pages = [](const std::string& line) {
        std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 ";
        for (int i = 0; i < 300; ++i) {
            rtf += line;
        }
        TRxRichEdit pane;
        LoadStream(pane, rtf + "}");
        RecordingDevice device;
        return PageThrough(pane, device, kA4Twips, false).size();
    };
    const std::size_t written9 = pages("\\fs18 x\\par ");
    EXPECT_EQ(pages("\\fs18\\par "), written9);
    EXPECT_GT(pages("\\fs48\\par "), written9);
    EXPECT_GE(written9, 2u);
}

TEST(FormatRange, FollowsChangesOfTheContent) {
    TRxRichEdit pane;
    LoadStream(pane, NumberedLines(160));
    RecordingDevice device;
    ASSERT_TRUE(pane.FormatRange(device, kA4Twips, 0).value() < pane.TextLength());
    // The layout kept for the next page must not outlive an edit.
    QTextCursor cursor(pane.document());
    cursor.select(QTextCursor::Document);
    cursor.insertText("court");
    EXPECT_EQ(pane.FormatRange(device, kA4Twips, 0), 5);
}

TEST(FormatRange, DrawsHighlightsAndColoursOntoThePage) {
    TRxRichEdit pane;
    LoadStream(pane,
               "{\\rtf1{\\colortbl ;\\red255\\green255\\blue0;\\red255\\green0\\blue0;}"
               "\\fs48 1\\'b0/ 250 dam = \\highlight1 2 500 m\\highlight0  \\cf2 rouge}");
    QImage page(1240, 1754, QImage::Format_RGB32);  // A4 at 150 dpi
    page.setDotsPerMeterX(5906);
    page.setDotsPerMeterY(5906);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        EXPECT_EQ(pane.FormatRange(page, kA4Twips, 0, &painter), pane.TextLength());
    }
    int yellow = 0;
    int red = 0;
    int black = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            yellow += pixel == qRgb(255, 255, 0);
            red += qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
            black += qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
        }
    }
    EXPECT_GT(yellow, 500);
    EXPECT_GT(red, 50);
    EXPECT_GT(black, 50);
}

}  // namespace

TEST(FormatRange, TabStopsOnPaperStandOneInchApartAsOnScreen) {
    TRxRichEdit pane;
    LoadStream(pane,
               "{\\rtf1\\ansi\\deftab1440{\\fonttbl{\\f0 Arial;}}\\f0\\fs18 1\\'b0/   8 hm ="
               "\\tab\\tab\\tab\\tab\\tab\\tab 2 km = \\par}");
    RecordingDevice device;
    PageThrough(pane, device, kA4Twips, true);
    const auto& drawn = device.DrawnText();
    const auto right = std::find_if(drawn.begin(), drawn.end(),
                                    [](const auto& item) { return item.text.startsWith("2"); });
    ASSERT_NE(right, drawn.end());
    // Six default stops after a short exercise: six inches at 600 dpi, on the
    // line of the left exercise.
    EXPECT_NEAR(right->position.x(), 6 * 600, 2);
    EXPECT_DOUBLE_EQ(right->position.y(), drawn.front().position.y());
}

// The widths by which worksheets place their columns are those of the font
// that the pages are drawn in, character by character.
TEST(MarkupWidth, IsTheWidthOfTheFontThePagesAreDrawnIn) {
    QFont arial("Arial");
    arial.setPixelSize(2048);
    arial.setHintingPreference(QFont::PreferNoHinting);
    const QRawFont font = QRawFont::fromFont(arial);
    for (int byte = ' '; byte <= 0xFF; ++byte) {
        const std::string character(1, static_cast<char>(byte));
        const auto glyphs = font.glyphIndexesForString(platform::FromWindows1252(character));
        if (byte == '<' || glyphs.isEmpty() || glyphs[0] == 0) {
            continue;  // a tag's start, or no glyph to measure
        }
        const auto advance = font.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
        EXPECT_NEAR(Ufiche::MarkupWidthUnits(character), 3 * advance[0].x(), 1.5)
            << "byte " << byte;
    }
}
