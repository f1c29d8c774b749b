#include "platform/richedit/RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "RichText/RtfWriter.h"
#include "platform/codepage/Codepage.h"

namespace platform {
namespace {

std::u16string ToUtf16(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// A brush that the format sets and that paints, as an RGB colour; none for a
// brush left unset or set to paint nothing.
std::optional<RichText::RtfColour> BrushColour(const QTextCharFormat& format,
                                               QTextFormat::Property property) {
    if (!format.hasProperty(property)) {
        return std::nullopt;
    }
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush) {
        return std::nullopt;
    }
    const QColor colour = brush.color().toRgb();
    return RichText::RtfColour{static_cast<std::uint8_t>(colour.red()),
                               static_cast<std::uint8_t>(colour.green()),
                               static_cast<std::uint8_t>(colour.blue())};
}

// The properties of a character format that RTF carries. A size left unset
// is the document's default font's; a weight from DemiBold up is bold; of the
// vertical alignments only superscript and subscript are kept.
RichText::RtfFormat Describe(const QTextCharFormat& format, const QFont& defaultFont) {
    RichText::RtfFormat written;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty()) {
        written.font = ToUtf16(families.front());
    }
    qreal points = format.fontPointSize();
    if (points <= 0) {
        points = defaultFont.pointSizeF();
    }
    written.halfPoints = points > 0 ? qRound(points * 2) : RichText::kRtfDefaultHalfPoints;
    written.bold = format.fontWeight() > QFont::Medium;
    written.italic = format.fontItalic();
    written.underline = format.fontUnderline();
    written.strike = format.fontStrikeOut();
    switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            written.alignment = RichText::RtfVerticalAlignment::Superscript;
            break;
        case QTextCharFormat::AlignSubScript:
            written.alignment = RichText::RtfVerticalAlignment::Subscript;
            break;
        default:
            written.alignment = RichText::RtfVerticalAlignment::Normal;
            break;
    }
    written.foreground = BrushColour(format, QTextFormat::ForegroundBrush);
    written.highlight = BrushColour(format, QTextFormat::BackgroundBrush);
    return written;
}

}  // namespace

RichText::RtfDocument CollectRtf(const QTextDocument& document, int start, int end) {
    const QFont defaultFont = document.defaultFont();
    RichText::RtfDocument collected;
    collected.fonts[collected.defaultFont] = ToUtf16(defaultFont.family());
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        RichText::RtfParagraph paragraph;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const int from = std::max(piece.position(), start);
            const int to = std::min(piece.position() + piece.length(), end);
            if (from >= to) {
                continue;
            }
            const QString text = piece.text();
            const QStringView cut = QStringView(text).mid(from - piece.position(), to - from);
            RichText::RtfFormat format = Describe(piece.charFormat(), defaultFont);
            // Fragments that differ only in what RTF does not carry make one run.
            if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
                paragraph.runs.back().text += ToUtf16(cut);
            } else {
                paragraph.runs.push_back({ToUtf16(cut), std::move(format)});
            }
        }
        paragraph.ended = separator >= start && separator < end;
        // A block that the range reaches at its end, with none of its text
        // nor its paragraph end, is not part of it; an empty block always is,
        // with the format that gives the empty line its height.
        if (paragraph.runs.empty() && !paragraph.ended && block.length() > 1) {
            continue;
        }
        if (paragraph.runs.empty()) {
            paragraph.mark = Describe(block.charFormat(), defaultFont);
        }
        collected.blocks.emplace_back(std::move(paragraph));
    }
    return collected;
}

std::string WriteRtf(const QTextDocument& document, int start, int end, int defaultTabTwips,
                     const std::optional<RtfPage>& page) {
    RichText::RtfDocument collected = CollectRtf(document, start, end);
    collected.defaultTabTwips = defaultTabTwips;
    collected.page = page;
    return RichText::WriteRtf(collected);
}

std::string WritePlainText(const QTextDocument& document, int start, int end) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return ToWindows1252(text);
}

}  // namespace platform
