#include "RichText/RtfWriter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "RichText/Windows1252.h"

namespace RichText {
namespace {

struct FontKind {
    std::u16string_view family;
    std::string_view keywords;
};

// The family and character set that the font table gives the documents' own
// fonts; other fonts are written with no family.
constexpr std::array<FontKind, 4> kFontKinds = {{
    {u"Arial", "\\fswiss\\fcharset0"},
    {u"Times New Roman", "\\froman\\fcharset0"},
    {u"Courier New", "\\fmodern\\fcharset0"},
    {u"Symbol", "\\froman\\fcharset2"},
}};

constexpr char16_t kLineSeparator = 0x2028;

// The character properties as the body writes them: fonts and colours as
// entries of the tables. What "\plain" leaves is the default: font entry 0,
// 12 points, no style, automatic colour, no highlight.
struct WrittenFormat {
    int font = 0;
    int halfPoints = kRtfDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlignment alignment = RtfVerticalAlignment::Normal;
    int foreground = 0;
    int highlight = 0;
};

struct Piece {
    WrittenFormat format;
    std::u16string_view text;
    std::string before{};       // paragraph and table words, before the format's changes
    std::string_view end = {};  // the paragraph, cell or row end after the text
};

constexpr std::string_view kParagraphEnd = "\\par\r\n";
constexpr std::string_view kCellEnd = "\\cell\r\n";
constexpr std::string_view kRowEnd = "\\cell\\row\r\n";
constexpr std::string_view kCellBorders =
    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs"
    "\\brdrw10";

// The paragraph properties as the body has them written; "\pard" clears them.
struct WrittenParagraph {
    bool inTable = false;
    bool centred = false;
    bool keepWithNext = false;
};

void AppendNumber(std::string_view word, int value, std::string& out) {
    out += word;
    out += std::to_string(value);
}

void AppendEscaped(std::u16string_view text, std::string& out) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    for (const char16_t unit : text) {
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit == kLineSeparator) {
            out += "\\line ";
        } else if (const auto byte = Windows1252FromUnicode(unit)) {
            if (*byte >= 0x20 && *byte < 0x80) {
                out += static_cast<char>(*byte);
            } else {
                out += "\\'";
                out += kHexDigits[*byte >> 4];
                out += kHexDigits[*byte & 0x0F];
            }
        } else {
            // "\uN" takes a signed 16-bit number; "?" is the one fallback byte
            // that "\uc1" announces for readers without Unicode.
            AppendNumber("\\u", unit > 32767 ? unit - 65536 : unit, out);
            out += '?';
        }
    }
}

class RtfWriter {
public:
    explicit RtfWriter(const RtfDocument& document);

    std::string Write();

private:
    void AddTable(const RtfTable& table);
    // The words that a paragraph outside any table needs before it.
    std::string ParagraphWords(const RtfParagraph& paragraph);
    void AddParagraph(const RtfParagraph& paragraph, std::string before, std::string_view end);
    WrittenFormat Describe(const RtfFormat& format);
    int FontEntry(std::u16string_view family);
    int ColourEntry(const std::optional<RtfColour>& colour);
    void AppendHeader(std::string& out) const;
    static void AppendChanges(const WrittenFormat& from, const WrittenFormat& to, std::string& out);

    const RtfDocument& m_document;
    std::u16string_view m_defaultFamily;
    std::vector<Piece> m_pieces;
    std::vector<std::u16string_view> m_fonts;
    std::vector<RtfColour> m_colours;  // entries 1 and up
    WrittenParagraph m_paragraph;
};

RtfWriter::RtfWriter(const RtfDocument& document) : m_document(document) {
    if (const auto found = document.fonts.find(document.defaultFont);
        found != document.fonts.end()) {
        m_defaultFamily = found->second;
    }
}

std::string RtfWriter::Write() {
    // The tables come first in the file but hold what the text uses, in the
    // order of its first use: the pieces are described before anything is
    // written.
    for (std::size_t b = 0; b < m_document.blocks.size(); ++b) {
        const RtfBlock& block = m_document.blocks[b];
        if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
            AddParagraph(*paragraph, ParagraphWords(*paragraph),
                         paragraph->ended ? kParagraphEnd : std::string_view());
            // LibreOffice takes a paragraph ended in a superscript or other
            // run's format into the table that follows it: the mark's own
            // format is given back before its "\par".
            const bool tableNext = b + 1 < m_document.blocks.size() &&
                                   std::holds_alternative<RtfTable>(m_document.blocks[b + 1]);
            if (tableNext && paragraph->ended && !paragraph->runs.empty() &&
                paragraph->runs.back().format != paragraph->mark) {
                m_pieces.back().end = {};
                m_pieces.push_back({Describe(paragraph->mark), {}, {}, kParagraphEnd});
            }
        } else {
            AddTable(std::get<RtfTable>(block));
        }
    }
    if (m_fonts.empty()) {
        FontEntry(m_defaultFamily);  // the table needs entry 0
    }
    std::size_t textUnits = 0;
    for (const Piece& piece : m_pieces) {
        textUnits += piece.text.size();
    }

    std::string out;
    out.reserve(512 + textUnits + 16 * m_pieces.size());
    AppendHeader(out);
    if (m_document.page) {
        AppendPageWords(*m_document.page, out);
    }
    out += "\\viewkind4\\uc1\\pard\\plain ";
    WrittenFormat current;
    for (const Piece& piece : m_pieces) {
        const std::size_t before = out.size();
        out += piece.before;
        AppendChanges(current, piece.format, out);
        // The control words end with a space, which the text that follows
        // does not take as its own.
        if (out.size() != before) {
            out += ' ';
        }
        current = piece.format;
        AppendEscaped(piece.text, out);
        out += piece.end;
    }
    out += "}\r\n";
    return out;
}

// Each row defines its cells, then gives their paragraphs, each with its
// own properties; "\par" parts the paragraphs of a cell, whose last one
// "\cell" ends, whatever the model says of its mark.
void RtfWriter::AddTable(const RtfTable& table) {
    for (const RtfTableRow& row : table.rows) {
        if (row.cells.empty()) {
            continue;  // no reader keeps a row without cells
        }
        std::string definition = "\\trowd";
        AppendNumber("\\trgaph", row.gapTwips, definition);
        if (row.keepTogether) {
            definition += "\\trkeep";
        }
        for (const RtfTableCell& cell : row.cells) {
            if (cell.bordered) {
                definition += kCellBorders;
            }
            AppendNumber("\\cellx", cell.rightTwips, definition);
        }
        definition += "\r\n";
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const std::string_view cellEnd = c + 1 == row.cells.size() ? kRowEnd : kCellEnd;
            const auto& paragraphs = row.cells[c].paragraphs;
            if (paragraphs.empty()) {
                const WrittenFormat unchanged =
                    m_pieces.empty() ? WrittenFormat{} : m_pieces.back().format;
                m_pieces.push_back(
                    {unchanged, {}, std::exchange(definition, {}) + "\\pard\\intbl", cellEnd});
            }
            for (std::size_t i = 0; i < paragraphs.size(); ++i) {
                const RtfParagraph& paragraph = paragraphs[i];
                std::string words = std::exchange(definition, {}) + "\\pard\\intbl";
                words += paragraph.centred ? "\\qc" : "";
                words += paragraph.keepWithNext ? "\\keepn" : "";
                AddParagraph(paragraph, std::move(words),
                             i + 1 == paragraphs.size() ? cellEnd : kParagraphEnd);
            }
        }
        m_paragraph = {true, false, false};
    }
}

std::string RtfWriter::ParagraphWords(const RtfParagraph& paragraph) {
    const WrittenParagraph was = m_paragraph;
    m_paragraph = {false, paragraph.centred, paragraph.keepWithNext};
    std::string words;
    const bool cleared = was.inTable || (was.centred && !paragraph.centred) ||
                         (was.keepWithNext && !paragraph.keepWithNext);
    if (cleared) {
        words += "\\pard";
    }
    if (paragraph.centred && (cleared || !was.centred)) {
        words += "\\qc";
    }
    if (paragraph.keepWithNext && (cleared || !was.keepWithNext)) {
        words += "\\keepn";
    }
    return words;
}

void RtfWriter::AddParagraph(const RtfParagraph& paragraph, std::string before,
                             std::string_view end) {
    if (paragraph.runs.empty()) {
        // An empty line keeps its size and style through its mark's format.
        m_pieces.push_back({Describe(paragraph.mark), {}, std::move(before), end});
        return;
    }
    for (const RtfRun& run : paragraph.runs) {
        m_pieces.push_back({Describe(run.format), run.text});
    }
    const std::size_t first = m_pieces.size() - paragraph.runs.size();
    m_pieces[first].before = std::move(before);
    m_pieces.back().end = end;
}

WrittenFormat RtfWriter::Describe(const RtfFormat& format) {
    WrittenFormat written;
    written.font = FontEntry(format.font.empty() ? m_defaultFamily : format.font);
    written.halfPoints = format.halfPoints;
    written.bold = format.bold;
    written.italic = format.italic;
    written.underline = format.underline;
    written.strike = format.strike;
    written.alignment = format.alignment;
    written.foreground = ColourEntry(format.foreground);
    written.highlight = ColourEntry(format.highlight);
    return written;
}

int RtfWriter::FontEntry(std::u16string_view family) {
    const auto found = std::find(m_fonts.begin(), m_fonts.end(), family);
    if (found != m_fonts.end()) {
        return static_cast<int>(found - m_fonts.begin());
    }
    m_fonts.push_back(family);
    return static_cast<int>(m_fonts.size()) - 1;
}

int RtfWriter::ColourEntry(const std::optional<RtfColour>& colour) {
    if (!colour) {
        return 0;
    }
    const auto found = std::find(m_colours.begin(), m_colours.end(), *colour);
    if (found != m_colours.end()) {
        return static_cast<int>(found - m_colours.begin()) + 1;
    }
    m_colours.push_back(*colour);
    return static_cast<int>(m_colours.size());
}

void RtfWriter::AppendHeader(std::string& out) const {
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    if (m_document.defaultTabTwips) {
        AppendNumber("\\deftab", *m_document.defaultTabTwips, out);
    }
    out += "{\\fonttbl";
    for (std::size_t entry = 0; entry < m_fonts.size(); ++entry) {
        AppendNumber("{\\f", static_cast<int>(entry), out);
        const auto kind =
            std::find_if(kFontKinds.begin(), kFontKinds.end(),
                         [&](const FontKind& k) { return k.family == m_fonts[entry]; });
        out += kind != kFontKinds.end() ? kind->keywords : "\\fnil\\fcharset0";
        out += ' ';
        AppendEscaped(m_fonts[entry], out);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const RtfColour& colour : m_colours) {
        AppendNumber("\\red", colour.red, out);
        AppendNumber("\\green", colour.green, out);
        AppendNumber("\\blue", colour.blue, out);
        out += ';';
    }
    out += "}\r\n";
}

void RtfWriter::AppendChanges(const WrittenFormat& from, const WrittenFormat& to,
                              std::string& out) {
    auto toggle = [&](bool was, bool is, std::string_view on, std::string_view off) {
        if (was != is) {
            out += is ? on : off;
        }
    };
    if (from.font != to.font) {
        AppendNumber("\\f", to.font, out);
    }
    if (from.halfPoints != to.halfPoints) {
        AppendNumber("\\fs", to.halfPoints, out);
    }
    toggle(from.bold, to.bold, "\\b", "\\b0");
    toggle(from.italic, to.italic, "\\i", "\\i0");
    toggle(from.underline, to.underline, "\\ul", "\\ulnone");
    toggle(from.strike, to.strike, "\\strike", "\\strike0");
    if (from.alignment != to.alignment) {
        out += to.alignment == RtfVerticalAlignment::Superscript ? "\\super"
               : to.alignment == RtfVerticalAlignment::Subscript ? "\\sub"
                                                                 : "\\nosupersub";
    }
    if (from.foreground != to.foreground) {
        AppendNumber("\\cf", to.foreground, out);
    }
    if (from.highlight != to.highlight) {
        AppendNumber("\\highlight", to.highlight, out);
    }
}

}  // namespace

void AppendPageWords(const RtfPage& page, std::string& out) {
    AppendNumber("\\paperw", page.widthTwips, out);
    AppendNumber("\\paperh", page.heightTwips, out);
    AppendNumber("\\margl", page.leftTwips, out);
    AppendNumber("\\margr", page.rightTwips, out);
    AppendNumber("\\margt", page.topTwips, out);
    AppendNumber("\\margb", page.bottomTwips, out);
    if (page.widthTwips > page.heightTwips) {
        out += "\\landscape";
    }
    out += "\r\n";
}

std::string WriteRtf(const RtfDocument& document) {
    return RtfWriter(document).Write();
}

}  // namespace RichText
