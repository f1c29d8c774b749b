#include "platform/richedit/RtfReader.h"

#include <QFont>
#include <QStringView>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

#include <utility>
#include <variant>
#include <vector>

#include "RichText/RtfReader.h"
#include "platform/codepage/Codepage.h"

namespace platform {
namespace {

QColor ColourOf(const RichText::RtfColour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QTextCharFormat::VerticalAlignment AlignmentOf(RichText::RtfVerticalAlignment alignment) {
    switch (alignment) {
        case RichText::RtfVerticalAlignment::Superscript:
            return QTextCharFormat::AlignSuperScript;
        case RichText::RtfVerticalAlignment::Subscript:
            return QTextCharFormat::AlignSubScript;
        case RichText::RtfVerticalAlignment::Normal:
            break;
    }
    return QTextCharFormat::AlignNormal;
}

QTextCharFormat CharFormatOf(const RichText::RtfFormat& format) {
    QTextCharFormat converted;
    if (!format.font.empty()) {
        converted.setFontFamilies(QStringList{QStringView(format.font).toString()});
    }
    converted.setFontPointSize(format.halfPoints / 2.0);
    converted.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    converted.setFontItalic(format.italic);
    converted.setFontUnderline(format.underline);
    converted.setFontStrikeOut(format.strike);
    converted.setVerticalAlignment(AlignmentOf(format.alignment));
    // RTF kerns character pairs only where "\kerningN" asks for it, which the
    // reader does not follow: text is laid out unkerned, as word processors
    // show such documents ("11" in Arial is wider than kerned). With no pair
    // to adjust, Latin text also needs no shaping, which spares most of the
    // time a pane takes to lay a worksheet out.
    converted.setFontStyleStrategy(QFont::PreferNoShaping);
    if (format.foreground) {
        converted.setForeground(ColourOf(*format.foreground));
    }
    if (format.highlight) {
        converted.setBackground(ColourOf(*format.highlight));
    }
    return converted;
}

// Inserts paragraphs through a cursor, converting each format once: a
// document switches back and forth between a few formats, and a shared
// character format is also hashed only once when the text is inserted.
class ParagraphInserter {
public:
    explicit ParagraphInserter(QTextCursor& cursor) : m_cursor(cursor) {}

    // `ended`: whether a new block follows the paragraph.
    void Insert(const RichText::RtfParagraph& paragraph, bool ended) {
        for (const RichText::RtfRun& run : paragraph.runs) {
            m_cursor.insertText(QStringView(run.text).toString(), CharFormat(run.format));
        }
        const QTextCharFormat mark = CharFormat(paragraph.mark);
        if (m_cursor.block().length() == 1) {
            m_cursor.setBlockCharFormat(mark);  // an empty line keeps its size
        }
        if (ended) {
            m_cursor.insertBlock(QTextBlockFormat(), mark);
        }
    }

private:
    const QTextCharFormat& CharFormat(const RichText::RtfFormat& format) {
        for (const auto& [known, converted] : m_formats) {
            if (known == format) {
                return converted;
            }
        }
        // A document with many distinct formats (a damaged or hostile one)
        // keeps the first ones only, so that the search stays short.
        constexpr std::size_t kMostFormats = 32;
        if (m_formats.size() < kMostFormats) {
            m_formats.reserve(kMostFormats);  // what is handed out never moves
            return m_formats.emplace_back(format, CharFormatOf(format)).second;
        }
        m_uncached = CharFormatOf(format);
        return m_uncached;
    }

    QTextCursor& m_cursor;
    std::vector<std::pair<RichText::RtfFormat, QTextCharFormat>> m_formats;
    QTextCharFormat m_uncached;
};

}  // namespace

void InsertRtfDocument(QTextCursor& cursor, const RichText::RtfDocument& document) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    ParagraphInserter inserter(cursor);
    const auto& blocks = document.blocks;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const bool last = i + 1 == blocks.size();
        if (const auto* paragraph = std::get_if<RichText::RtfParagraph>(&blocks[i])) {
            inserter.Insert(*paragraph, paragraph->ended);
            continue;
        }
        // A pane shows a table's cells one paragraph after the other, row by
        // row, so that none of its text is lost.
        const auto& table = std::get<RichText::RtfTable>(blocks[i]);
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            const auto& cells = table.rows[row].cells;
            for (std::size_t cell = 0; cell < cells.size(); ++cell) {
                const auto& paragraphs = cells[cell].paragraphs;
                for (std::size_t p = 0; p < paragraphs.size(); ++p) {
                    const bool lastOfTable = row + 1 == table.rows.size() &&
                                             cell + 1 == cells.size() && p + 1 == paragraphs.size();
                    inserter.Insert(paragraphs[p], !(last && lastOfTable));
                }
            }
        }
    }
    cursor.endEditBlock();
}

RichText::RtfDocument ReadRtf(QTextCursor& cursor, std::string_view rtf) {
    RichText::RtfDocument document = RichText::ReadRtf(rtf);
    InsertRtfDocument(cursor, document);
    return document;
}

void ReadPlainText(QTextCursor& cursor, std::string_view text) {
    QString unicode;
    unicode.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            unicode += QChar('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c != '\0') {
            unicode += UnicodeFromWindows1252(static_cast<unsigned char>(c));
        }
    }
    cursor.beginEditBlock();
    cursor.insertText(unicode);  // each "\n" becomes a paragraph break
    cursor.endEditBlock();
}

}  // namespace platform
