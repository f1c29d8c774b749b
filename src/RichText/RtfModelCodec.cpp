#include "RichText/RtfModelCodec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace RichText {
namespace {

constexpr char16_t kVersion = 2;

enum FormatFlag : char16_t {
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
    kStrike = 8,
    kSuperscript = 16,
    kSubscript = 32,
};

enum ParagraphFlag : char16_t {
    kEnded = 1,
    kCentred = 2,
    kKeepWithNext = 4,
};

constexpr char16_t kKeepTogether = 1;  // a row's flag
constexpr char16_t kBordered = 1;      // a cell's flag

class Encoder {
public:
    std::u16string Encode(const RtfDocument& document) {
        Unit(kVersion);
        Unit(document.defaultTabTwips.has_value());
        Number(document.defaultTabTwips.value_or(0));
        Unit(document.page.has_value());
        const RtfPage page = document.page.value_or(RtfPage{});
        for (const int twips : {page.widthTwips, page.heightTwips, page.leftTwips, page.rightTwips,
                                page.topTwips, page.bottomTwips}) {
            Number(twips);
        }
        Number(document.defaultFont);
        Count(document.fonts.size());
        for (const auto& [entry, name] : document.fonts) {
            Number(entry);
            Text(name);
        }
        Count(document.colours.size());
        for (const auto& colour : document.colours) {
            Colour(colour);
        }
        // The blocks are written apart first, so that the formats they meet
        // are numbered in order; then the table goes before them.
        std::u16string header;
        header.swap(m_out);
        for (const RtfBlock& block : document.blocks) {
            Block(block);
        }
        std::u16string blocks;
        blocks.swap(m_out);
        m_out = std::move(header);
        Count(m_formats.size());
        for (const RtfFormat* format : m_formats) {
            Format(*format);
        }
        Count(document.blocks.size());
        m_out += blocks;
        return std::move(m_out);
    }

private:
    void Unit(char16_t unit) { m_out += unit; }
    void Number(int value) {
        const auto bits = static_cast<std::uint32_t>(value);
        Unit(static_cast<char16_t>(bits >> 16));
        Unit(static_cast<char16_t>(bits & 0xFFFF));
    }
    void Count(std::size_t count) { Number(static_cast<int>(count)); }
    void Text(const std::u16string& text) {
        Count(text.size());
        m_out += text;
    }
    void Colour(const std::optional<RtfColour>& colour) {
        Unit(colour.has_value());
        const RtfColour value = colour.value_or(RtfColour{});
        Unit(value.red);
        Unit(value.green);
        Unit(value.blue);
    }
    void Format(const RtfFormat& format) {
        Text(format.font);
        Number(format.halfPoints);
        char16_t flags = 0;
        flags |= format.bold ? kBold : 0;
        flags |= format.italic ? kItalic : 0;
        flags |= format.underline ? kUnderline : 0;
        flags |= format.strike ? kStrike : 0;
        flags |= format.alignment == RtfVerticalAlignment::Superscript ? kSuperscript : 0;
        flags |= format.alignment == RtfVerticalAlignment::Subscript ? kSubscript : 0;
        Unit(flags);
        Colour(format.foreground);
        Colour(format.highlight);
    }
    // A document uses a handful of formats: a short search finds them.
    int FormatIndex(const RtfFormat& format) {
        for (std::size_t i = 0; i < m_formats.size(); ++i) {
            if (*m_formats[i] == format) {
                return static_cast<int>(i);
            }
        }
        m_formats.push_back(&format);
        return static_cast<int>(m_formats.size()) - 1;
    }
    void Paragraph(const RtfParagraph& paragraph) {
        char16_t flags = 0;
        flags |= paragraph.ended ? kEnded : 0;
        flags |= paragraph.centred ? kCentred : 0;
        flags |= paragraph.keepWithNext ? kKeepWithNext : 0;
        Unit(flags);
        Number(FormatIndex(paragraph.mark));
        Count(paragraph.runs.size());
        for (const RtfRun& run : paragraph.runs) {
            Number(FormatIndex(run.format));
            Text(run.text);
        }
    }
    void Block(const RtfBlock& block) {
        if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
            Unit(0);
            Paragraph(*paragraph);
            return;
        }
        const auto& table = std::get<RtfTable>(block);
        Unit(1);
        Count(table.rows.size());
        for (const RtfTableRow& row : table.rows) {
            Number(row.gapTwips);
            Unit(row.keepTogether ? kKeepTogether : 0);
            Count(row.cells.size());
            for (const RtfTableCell& cell : row.cells) {
                Number(cell.rightTwips);
                Unit(cell.bordered ? kBordered : 0);
                Count(cell.paragraphs.size());
                for (const RtfParagraph& paragraph : cell.paragraphs) {
                    Paragraph(paragraph);
                }
            }
        }
    }

    std::u16string m_out;
    std::vector<const RtfFormat*> m_formats;
};

// Reads the units back; the first shortfall or inconsistency marks the whole
// document as unreadable, and every later read then gives zeros.
class Decoder {
public:
    explicit Decoder(std::u16string_view units) : m_units(units) {}

    std::optional<RtfDocument> Decode() {
        RtfDocument document;
        if (Unit() != kVersion) {
            return std::nullopt;
        }
        const bool hasTab = Unit() != 0;
        const int tab = Number();
        if (hasTab) {
            document.defaultTabTwips = tab;
        }
        const bool hasPage = Unit() != 0;
        RtfPage page;
        for (int* twips : {&page.widthTwips, &page.heightTwips, &page.leftTwips, &page.rightTwips,
                           &page.topTwips, &page.bottomTwips}) {
            *twips = Number();
        }
        if (hasPage) {
            document.page = page;
        }
        document.defaultFont = Number();
        for (std::size_t i = Count(); i > 0 && m_good; --i) {
            const int entry = Number();
            document.fonts[entry] = Text();
        }
        for (std::size_t i = Count(); i > 0 && m_good; --i) {
            document.colours.push_back(Colour());
        }
        for (std::size_t i = Count(); i > 0 && m_good; --i) {
            m_formats.push_back(Format());
        }
        for (std::size_t i = Count(); i > 0 && m_good; --i) {
            Block(document);
        }
        if (!m_good || m_position != m_units.size()) {
            return std::nullopt;
        }
        return document;
    }

private:
    char16_t Unit() {
        if (m_position >= m_units.size()) {
            m_good = false;
            return 0;
        }
        return m_units[m_position++];
    }
    int Number() {
        const std::uint32_t high = Unit();
        const std::uint32_t low = Unit();
        return static_cast<int>((high << 16) | low);
    }
    // A count can never exceed the units left: a damaged one stops at once
    // rather than asking for room it could never fill.
    std::size_t Count() {
        const auto count = static_cast<std::uint32_t>(Number());
        if (count > m_units.size() - std::min(m_position, m_units.size())) {
            m_good = false;
            return 0;
        }
        return count;
    }
    std::u16string Text() {
        const std::size_t length = Count();
        std::u16string text(m_units.substr(std::min(m_position, m_units.size()), length));
        m_position += length;
        return text;
    }
    std::optional<RtfColour> Colour() {
        const bool given = Unit() != 0;
        RtfColour colour;
        colour.red = static_cast<std::uint8_t>(Unit());
        colour.green = static_cast<std::uint8_t>(Unit());
        colour.blue = static_cast<std::uint8_t>(Unit());
        return given ? std::optional<RtfColour>(colour) : std::nullopt;
    }
    RtfFormat Format() {
        RtfFormat format;
        format.font = Text();
        format.halfPoints = Number();
        const char16_t flags = Unit();
        format.bold = (flags & kBold) != 0;
        format.italic = (flags & kItalic) != 0;
        format.underline = (flags & kUnderline) != 0;
        format.strike = (flags & kStrike) != 0;
        format.alignment = (flags & kSuperscript) != 0 ? RtfVerticalAlignment::Superscript
                           : (flags & kSubscript) != 0 ? RtfVerticalAlignment::Subscript
                                                       : RtfVerticalAlignment::Normal;
        format.foreground = Colour();
        format.highlight = Colour();
        return format;
    }
    const RtfFormat& FormatAt(int index) {
        if (index < 0 || static_cast<std::size_t>(index) >= m_formats.size()) {
            m_good = false;
            static const RtfFormat kNone;
            return kNone;
        }
        return m_formats[static_cast<std::size_t>(index)];
    }
    RtfParagraph Paragraph() {
        RtfParagraph paragraph;
        const char16_t flags = Unit();
        paragraph.ended = (flags & kEnded) != 0;
        paragraph.centred = (flags & kCentred) != 0;
        paragraph.keepWithNext = (flags & kKeepWithNext) != 0;
        paragraph.mark = FormatAt(Number());
        for (std::size_t i = Count(); i > 0 && m_good; --i) {
            RtfRun run;
            run.format = FormatAt(Number());
            run.text = Text();
            paragraph.runs.push_back(std::move(run));
        }
        return paragraph;
    }
    void Block(RtfDocument& document) {
        const char16_t kind = Unit();
        if (kind == 0) {
            document.blocks.emplace_back(Paragraph());
            return;
        }
        if (kind != 1) {
            m_good = false;
            return;
        }
        RtfTable table;
        for (std::size_t rows = Count(); rows > 0 && m_good; --rows) {
            RtfTableRow& row = table.rows.emplace_back();
            row.gapTwips = Number();
            row.keepTogether = (Unit() & kKeepTogether) != 0;
            for (std::size_t cells = Count(); cells > 0 && m_good; --cells) {
                RtfTableCell& cell = row.cells.emplace_back();
                cell.rightTwips = Number();
                cell.bordered = (Unit() & kBordered) != 0;
                for (std::size_t paragraphs = Count(); paragraphs > 0 && m_good; --paragraphs) {
                    cell.paragraphs.push_back(Paragraph());
                }
            }
        }
        document.blocks.emplace_back(std::move(table));
    }

    std::u16string_view m_units;
    std::size_t m_position = 0;
    bool m_good = true;
    std::vector<RtfFormat> m_formats;
};

}  // namespace

std::u16string EncodeRtfDocument(const RtfDocument& document) {
    return Encoder().Encode(document);
}

std::optional<RtfDocument> DecodeRtfDocument(std::u16string_view units) {
    return Decoder(units).Decode();
}

}  // namespace RichText
