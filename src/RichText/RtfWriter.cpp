#include "RichText/RtfWriter.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
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
    bool endsParagraph = false;
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
    void AddParagraph(const RtfParagraph& paragraph, bool ended);
    WrittenFormat Describe(const RtfFormat& format);
    int FontEntry(std::u16string_view family);
    int ColourEntry(const std::optional<RtfColour>& colour);
    void AppendHeader(std::string& out) const;
    static void AppendPage(const RtfPage& page, std::string& out);
    static void AppendChanges(const WrittenFormat& from, const WrittenFormat& to, std::string& out);

    const RtfDocument& m_document;
    std::u16string_view m_defaultFamily;
    std::vector<Piece> m_pieces;
    std::vector<std::u16string_view> m_fonts;
    std::vector<RtfColour> m_colours;  // entries 1 and up
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
    for (const RtfBlock& block : m_document.blocks) {
        if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
            AddParagraph(*paragraph, paragraph->ended);
            continue;
        }
        // A cell's last paragraph is ended, so that the text of the next
        // cell starts a line of its own instead of running on.
        for (const RtfTableRow& row : std::get<RtfTable>(block).rows) {
            for (const RtfTableCell& cell : row.cells) {
                for (std::size_t i = 0; i < cell.paragraphs.size(); ++i) {
                    const RtfParagraph& paragraph = cell.paragraphs[i];
                    AddParagraph(paragraph, paragraph.ended || i + 1 == cell.paragraphs.size());
                }
            }
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
        AppendPage(*m_document.page, out);
    }
    out += "\\viewkind4\\uc1\\pard\\plain ";
    WrittenFormat current;
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

void RtfWriter::AddParagraph(const RtfParagraph& paragraph, bool ended) {
    if (paragraph.runs.empty()) {
        // An empty line keeps its size and style through its mark's format.
        m_pieces.push_back({Describe(paragraph.mark), {}, ended});
        return;
    }
    for (const RtfRun& run : paragraph.runs) {
        m_pieces.push_back({Describe(run.format), run.text, false});
    }
    m_pieces.back().endsParagraph = ended;
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

void RtfWriter::AppendPage(const RtfPage& page, std::string& out) {
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

void RtfWriter::AppendChanges(const WrittenFormat& from, const WrittenFormat& to,
                              std::string& out) {
    const std::size_t before = out.size();
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
    // The control words end with a space, which the text that follows does
    // not take as its own.
    if (out.size() != before) {
        out += ' ';
    }
}

}  // namespace

std::string WriteRtf(const RtfDocument& document) {
    return RtfWriter(document).Write();
}

}  // namespace RichText
