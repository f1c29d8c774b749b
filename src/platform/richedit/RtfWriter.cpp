#include "platform/richedit/RtfWriter.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/codepage/Codepage.h"
#include "platform/richedit/RtfCharacterState.h"

namespace platform {
namespace {

struct Piece {
    RtfCharacterState format;
    QString text;
    bool endsParagraph = false;
};

struct FontKind {
    std::string_view family;
    std::string_view keywords;
};

// The family and character set that the font table gives the documents' own
// fonts; other fonts are written with no family.
constexpr std::array<FontKind, 4> kFontKinds = {{
    {"Arial", "\\fswiss\\fcharset0"},
    {"Times New Roman", "\\froman\\fcharset0"},
    {"Courier New", "\\fmodern\\fcharset0"},
    {"Symbol", "\\froman\\fcharset2"},
}};

void AppendEscaped(QStringView text, std::string& out) {
    char hex[8];
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit == '\\' || unit == '{' || unit == '}') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit == '\t') {
            out += "\\tab ";
        } else if (character == QChar::LineSeparator) {
            out += "\\line ";
        } else if (const auto byte = Windows1252FromUnicode(character)) {
            if (*byte >= 0x20 && *byte < 0x80) {
                out += static_cast<char>(*byte);
            } else {
                std::snprintf(hex, sizeof hex, "\\'%02x", *byte);
                out += hex;
            }
        } else {
            // "\uN" takes a signed 16-bit number; "?" is the one fallback byte
            // that "\uc1" announces for readers without Unicode.
            out += "\\u" + std::to_string(unit > 32767 ? unit - 65536 : unit) + "?";
        }
    }
}

class RtfWriter {
public:
    RtfWriter(const QTextDocument& document, int start, int end)
        : m_document(document), m_start(start), m_end(end) {}

    std::string Write(int defaultTabTwips, const std::optional<RtfPage>& page);

private:
    void Collect();
    RtfCharacterState Describe(const QTextCharFormat& format);
    int FontEntry(const QString& family);
    int ColourEntry(const QTextCharFormat& format, QTextFormat::Property property);
    void AppendHeader(int defaultTabTwips, std::string& out) const;
    static void AppendPage(const RtfPage& page, std::string& out);
    static void AppendChanges(const RtfCharacterState& from, const RtfCharacterState& to,
                              std::string& out);

    const QTextDocument& m_document;
    int m_start;
    int m_end;
    std::vector<Piece> m_pieces;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colours;  // entries 1 and up
};

std::string RtfWriter::Write(int defaultTabTwips, const std::optional<RtfPage>& page) {
    Collect();
    if (m_fonts.empty()) {
        FontEntry(m_document.defaultFont().family());  // the table needs entry 0
    }
    std::string out;
    AppendHeader(defaultTabTwips, out);
    if (page) {
        AppendPage(*page, out);
    }
    out += "\\viewkind4\\uc1\\pard\\plain ";
    // What "\plain" leaves: font entry 0, 12 points, no style.
    RtfCharacterState current{.font = 0};
    for (const Piece& piece : m_pieces) {
        AppendChanges(current, piece.format, out);
        current = piece.format;
        AppendEscaped(piece.text, out);
        if (piece.endsParagraph) {
            out += "\\par\r\n";
        }
    }
    out += "}\r\n";
    return out;
}

void RtfWriter::Collect() {
    for (QTextBlock block = m_document.findBlock(m_start);
         block.isValid() && block.position() <= m_end; block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        if (block.length() == 1) {
            // An empty line keeps its size and style through its own format.
            m_pieces.push_back({Describe(block.charFormat()), {}, false});
        }
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const int from = std::max(piece.position(), m_start);
            const int to = std::min(piece.position() + piece.length(), m_end);
            if (from < to) {
                m_pieces.push_back({Describe(piece.charFormat()),
                                    piece.text().mid(from - piece.position(), to - from), false});
            }
        }
        if (separator >= m_start && separator < m_end) {
            if (m_pieces.empty()) {
                m_pieces.push_back({Describe(block.charFormat()), {}, false});
            }
            m_pieces.back().endsParagraph = true;
        }
    }
}

RtfCharacterState RtfWriter::Describe(const QTextCharFormat& format) {
    RtfCharacterState written;
    const QStringList families = format.fontFamilies().toStringList();
    written.font =
        FontEntry(families.isEmpty() ? m_document.defaultFont().family() : families.front());
    qreal points = format.fontPointSize();
    if (points <= 0) {
        points = m_document.defaultFont().pointSizeF();
    }
    written.halfPoints = points > 0 ? qRound(points * 2) : kRtfDefaultHalfPoints;
    written.bold = format.fontWeight() > QFont::Medium;
    written.italic = format.fontItalic();
    written.underline = format.fontUnderline();
    written.strike = format.fontStrikeOut();
    written.alignment = format.verticalAlignment();
    if (written.alignment != QTextCharFormat::AlignSuperScript &&
        written.alignment != QTextCharFormat::AlignSubScript) {
        written.alignment = QTextCharFormat::AlignNormal;
    }
    written.foreground = ColourEntry(format, QTextFormat::ForegroundBrush);
    written.highlight = ColourEntry(format, QTextFormat::BackgroundBrush);
    return written;
}

int RtfWriter::FontEntry(const QString& family) {
    const auto found = std::find(m_fonts.begin(), m_fonts.end(), family);
    if (found != m_fonts.end()) {
        return static_cast<int>(found - m_fonts.begin());
    }
    m_fonts.push_back(family);
    return static_cast<int>(m_fonts.size()) - 1;
}

int RtfWriter::ColourEntry(const QTextCharFormat& format, QTextFormat::Property property) {
    const QBrush brush = format.brushProperty(property);
    if (!format.hasProperty(property) || brush.style() == Qt::NoBrush) {
        return 0;
    }
    const QColor colour = brush.color().toRgb();
    const auto found = std::find_if(m_colours.begin(), m_colours.end(),
                                    [&](const QColor& c) { return c.rgb() == colour.rgb(); });
    if (found != m_colours.end()) {
        return static_cast<int>(found - m_colours.begin()) + 1;
    }
    m_colours.push_back(colour);
    return static_cast<int>(m_colours.size());
}

void RtfWriter::AppendHeader(int defaultTabTwips, std::string& out) const {
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab" + std::to_string(defaultTabTwips);
    out += "{\\fonttbl";
    for (std::size_t entry = 0; entry < m_fonts.size(); ++entry) {
        out += "{\\f" + std::to_string(entry);
        const std::string name = ToWindows1252(m_fonts[entry]);
        const auto kind = std::find_if(kFontKinds.begin(), kFontKinds.end(),
                                       [&](const FontKind& k) { return k.family == name; });
        out += kind != kFontKinds.end() ? kind->keywords : "\\fnil\\fcharset0";
        out += ' ';
        AppendEscaped(m_fonts[entry], out);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor& colour : m_colours) {
        out += "\\red" + std::to_string(colour.red()) + "\\green" + std::to_string(colour.green()) +
               "\\blue" + std::to_string(colour.blue()) + ";";
    }
    out += "}\r\n";
}

void RtfWriter::AppendPage(const RtfPage& page, std::string& out) {
    out += "\\paperw" + std::to_string(page.widthTwips) + "\\paperh" +
           std::to_string(page.heightTwips) + "\\margl" + std::to_string(page.leftTwips) +
           "\\margr" + std::to_string(page.rightTwips) + "\\margt" + std::to_string(page.topTwips) +
           "\\margb" + std::to_string(page.bottomTwips);
    if (page.widthTwips > page.heightTwips) {
        out += "\\landscape";
    }
    out += "\r\n";
}

void RtfWriter::AppendChanges(const RtfCharacterState& from, const RtfCharacterState& to,
                              std::string& out) {
    std::string words;
    auto number = [&](const char* word, int value) {
        words += word;
        words += std::to_string(value);
    };
    auto toggle = [&](bool was, bool is, const char* on, const char* off) {
        if (was != is) {
            words += is ? on : off;
        }
    };
    if (from.font != to.font) {
        number("\\f", to.font);
    }
    if (from.halfPoints != to.halfPoints) {
        number("\\fs", to.halfPoints);
    }
    toggle(from.bold, to.bold, "\\b", "\\b0");
    toggle(from.italic, to.italic, "\\i", "\\i0");
    toggle(from.underline, to.underline, "\\ul", "\\ulnone");
    toggle(from.strike, to.strike, "\\strike", "\\strike0");
    if (from.alignment != to.alignment) {
        words += to.alignment == QTextCharFormat::AlignSuperScript ? "\\super"
                 : to.alignment == QTextCharFormat::AlignSubScript ? "\\sub"
                                                                   : "\\nosupersub";
    }
    if (from.foreground != to.foreground) {
        number("\\cf", to.foreground);
    }
    if (from.highlight != to.highlight) {
        number("\\highlight", to.highlight);
    }
    if (!words.empty()) {
        out += words;
        out += ' ';
    }
}

}  // namespace

std::string WriteRtf(const QTextDocument& document, int start, int end, int defaultTabTwips,
                     const std::optional<RtfPage>& page) {
    return RtfWriter(document, start, end).Write(defaultTabTwips, page);
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
