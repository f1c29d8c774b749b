#include "platform/richedit/RtfReader.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "platform/codepage/Codepage.h"
#include "platform/richedit/RtfTokenizer.h"

namespace platform {
namespace {

// RTF's default size is 12 points; Windows' rich-edit control keeps sizes
// within 1638 points, which also spares the font engine absurd requests.
constexpr int kDefaultHalfPoints = 24;
constexpr int kLargestHalfPoints = 3276;
// Deeper groups are counted but share the state of the deepest one, so that a
// stream of opening braces cannot grow the state stack without limit.
constexpr std::size_t kDeepestGroup = 4096;

enum class Destination { Text, FontTable, ColourTable, Skip };

struct CharacterState {
    int font = -1;  // font-table entry; -1 is the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignNormal;
    int foreground = 0;  // colour-table entries; 0 is automatic
    int highlight = 0;

    bool operator==(const CharacterState&) const = default;
};

struct GroupState {
    CharacterState characters;
    Destination destination = Destination::Text;
    int unicodeFallback = 1;  // "\ucN": bytes that stand in for each "\uN"
};

// A colour-table entry being read; an entry with no component is automatic.
struct RtfColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool given = false;
};

bool SwitchValue(const RtfToken& token) {
    return !token.hasParameter || token.parameter != 0;
}

class RtfReader {
public:
    RtfReader(QTextCursor& cursor, std::string_view input) : m_cursor(cursor), m_tokens(input) {}

    RtfDocumentSettings read();

    // What the control-word handlers act on.
    CharacterState& characters() {
        m_formatDirty = true;
        return m_state.characters;
    }
    GroupState& group() { return m_state; }
    Destination destination() const { return m_state.destination; }
    void setDestination(Destination destination) { m_state.destination = destination; }
    RtfDocumentSettings& settings() { return m_settings; }
    void setDefaultFont(int font) {
        m_defaultFont = font;
        m_formatDirty = true;
        m_formats.clear();
    }
    void resetCharacters() { characters() = CharacterState{}; }

    void appendText(QChar character);
    void appendUnicode(int value);
    void endParagraph();
    void skipBinary(int count) {
        m_tokens.skipBytes(count > 0 ? static_cast<std::size_t>(count) : 0);
    }

    void beginFontEntry(int entry);
    void beginColourTable();
    void setColourComponent(int RtfColour::*component, int value);

private:
    void openGroup();
    void closeGroup();
    void text(std::string_view bytes);
    void byte(unsigned char value);
    void controlWord(const RtfToken& token);
    void controlSymbol(const RtfToken& token);
    void commitFontEntry();
    void flush();
    const QTextCharFormat& currentFormat();
    std::optional<QColor> colour(int entry) const;

    QTextCursor& m_cursor;
    RtfTokenizer m_tokens;
    RtfDocumentSettings m_settings;

    GroupState m_state;
    std::vector<GroupState> m_stack;
    std::size_t m_groupsBeyondDeepest = 0;
    int m_fallbackToSkip = 0;

    int m_defaultFont = 0;
    std::map<int, QString> m_fonts;
    int m_fontEntry = -1;
    QString m_fontName;

    std::vector<std::optional<QColor>> m_colours;
    RtfColour m_colour;

    QString m_run;
    QTextCharFormat m_format;
    std::optional<QTextCharFormat> m_formatAtDocumentEnd;
    bool m_formatDirty = true;
    // The formats built so far for the character states met, while the font
    // and colour tables stay as they are: a document switches back and forth
    // between a few states, and a shared format is also hashed only once
    // when the text is inserted.
    std::vector<std::pair<CharacterState, QTextCharFormat>> m_formats;
};

using Handler = void (*)(RtfReader&, const RtfToken&);

struct ControlWord {
    std::string_view name;
    Handler handler;
};

void SkipGroup(RtfReader& reader, const RtfToken&) {
    reader.setDestination(Destination::Skip);
}
void Underline(RtfReader& reader, const RtfToken& token) {
    reader.characters().underline = SwitchValue(token);
}

// Control words that the reader understands, sorted by name. Any other word
// is ignored, along with the "\ansicpg" code page: text is always read as
// Windows-1252, the code page of every document of the program.
constexpr auto kControlWords = std::to_array<ControlWord>({
    {"b", [](RtfReader& r, const RtfToken& t) { r.characters().bold = SwitchValue(t); }},
    {"bin", [](RtfReader& r, const RtfToken& t) { r.skipBinary(t.parameter); }},
    {"blue",
     [](RtfReader& r, const RtfToken& t) { r.setColourComponent(&RtfColour::blue, t.parameter); }},
    {"bullet", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x2022)); }},
    {"cf", [](RtfReader& r, const RtfToken& t) { r.characters().foreground = t.parameter; }},
    {"colortbl", [](RtfReader& r, const RtfToken&) { r.beginColourTable(); }},
    {"deff", [](RtfReader& r, const RtfToken& t) { r.setDefaultFont(t.parameter); }},
    {"deftab",
     [](RtfReader& r, const RtfToken& t) {
         if (t.parameter > 0) {
             r.settings().defaultTabTwips = t.parameter;
         }
     }},
    {"emdash", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x2014)); }},
    {"endash", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x2013)); }},
    {"f",
     [](RtfReader& r, const RtfToken& t) {
         if (r.destination() == Destination::FontTable) {
             r.beginFontEntry(t.parameter);
         } else {
             r.characters().font = t.parameter;
         }
     }},
    {"filetbl", SkipGroup},
    {"fonttbl", [](RtfReader& r, const RtfToken&) { r.setDestination(Destination::FontTable); }},
    {"footer", SkipGroup},
    {"footerf", SkipGroup},
    {"footerl", SkipGroup},
    {"footerr", SkipGroup},
    {"footnote", SkipGroup},
    {"fs",
     [](RtfReader& r, const RtfToken& t) {
         const int size = t.hasParameter ? t.parameter : kDefaultHalfPoints;
         if (size > 0) {  // a size of zero or less leaves the size as it was
             r.characters().halfPoints = std::min(size, kLargestHalfPoints);
         }
     }},
    {"green",
     [](RtfReader& r, const RtfToken& t) { r.setColourComponent(&RtfColour::green, t.parameter); }},
    {"header", SkipGroup},
    {"headerf", SkipGroup},
    {"headerl", SkipGroup},
    {"headerr", SkipGroup},
    {"highlight", [](RtfReader& r, const RtfToken& t) { r.characters().highlight = t.parameter; }},
    {"i", [](RtfReader& r, const RtfToken& t) { r.characters().italic = SwitchValue(t); }},
    {"info", SkipGroup},
    {"ldblquote", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x201C)); }},
    {"line", [](RtfReader& r, const RtfToken&) { r.appendText(QChar::LineSeparator); }},
    {"listoverridetable", SkipGroup},
    {"listtable", SkipGroup},
    {"lquote", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x2018)); }},
    {"nosupersub",
     [](RtfReader& r,
        const RtfToken&) { r.characters().alignment = QTextCharFormat::AlignNormal; }},
    {"object", SkipGroup},
    {"par", [](RtfReader& r, const RtfToken&) { r.endParagraph(); }},
    {"pard", nullptr},  // paragraph properties are not kept
    {"pict", SkipGroup},
    {"plain", [](RtfReader& r, const RtfToken&) { r.resetCharacters(); }},
    {"rdblquote", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x201D)); }},
    {"red",
     [](RtfReader& r, const RtfToken& t) { r.setColourComponent(&RtfColour::red, t.parameter); }},
    {"revtbl", SkipGroup},
    {"rquote", [](RtfReader& r, const RtfToken&) { r.appendText(QChar(0x2019)); }},
    {"rtf", nullptr},
    {"strike", [](RtfReader& r, const RtfToken& t) { r.characters().strike = SwitchValue(t); }},
    {"strikedl", [](RtfReader& r, const RtfToken& t) { r.characters().strike = SwitchValue(t); }},
    {"stylesheet", SkipGroup},
    {"sub", [](RtfReader& r,
               const RtfToken&) { r.characters().alignment = QTextCharFormat::AlignSubScript; }},
    {"super",
     [](RtfReader& r,
        const RtfToken&) { r.characters().alignment = QTextCharFormat::AlignSuperScript; }},
    {"tab", [](RtfReader& r, const RtfToken&) { r.appendText(QChar('\t')); }},
    {"u", [](RtfReader& r, const RtfToken& t) { r.appendUnicode(t.parameter); }},
    {"uc",
     [](RtfReader& r, const RtfToken& t) { r.group().unicodeFallback = std::max(0, t.parameter); }},
    {"ul", Underline},
    {"uld", Underline},
    {"uldash", Underline},
    {"uldb", Underline},
    {"ulnone", [](RtfReader& r, const RtfToken&) { r.characters().underline = false; }},
    {"ulth", Underline},
    {"ulw", Underline},
    {"ulwave", Underline},
    {"xe", SkipGroup},
});

static_assert(std::is_sorted(kControlWords.begin(), kControlWords.end(),
                             [](const ControlWord& a, const ControlWord& b) {
                                 return a.name < b.name;
                             }));

Handler FindHandler(std::string_view name) {
    const auto found = std::lower_bound(
        kControlWords.begin(), kControlWords.end(), name,
        [](const ControlWord& word, std::string_view key) { return word.name < key; });
    return found != kControlWords.end() && found->name == name ? found->handler : nullptr;
}

RtfDocumentSettings RtfReader::read() {
    for (RtfToken token = m_tokens.next(); token.kind != RtfToken::Kind::End;
         token = m_tokens.next()) {
        switch (token.kind) {
            case RtfToken::Kind::GroupOpen:
                openGroup();
                break;
            case RtfToken::Kind::GroupClose:
                closeGroup();
                break;
            case RtfToken::Kind::Text:
                text(token.text);
                break;
            case RtfToken::Kind::HexByte:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    byte(token.byte);
                }
                break;
            case RtfToken::Kind::ControlWord:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    controlWord(token);
                }
                break;
            case RtfToken::Kind::ControlSymbol:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    controlSymbol(token);
                }
                break;
            case RtfToken::Kind::End:
                break;
        }
    }
    if (m_state.destination == Destination::FontTable) {
        commitFontEntry();
    }
    flush();
    if (m_cursor.block().length() == 1) {
        // An empty last line keeps the size in force at the end of the
        // document, before its closing brace restored the defaults.
        m_cursor.setBlockCharFormat(m_formatAtDocumentEnd ? *m_formatAtDocumentEnd
                                                          : currentFormat());
    }
    return m_settings;
}

void RtfReader::openGroup() {
    m_fallbackToSkip = 0;
    if (m_stack.size() >= kDeepestGroup) {
        ++m_groupsBeyondDeepest;
        return;
    }
    m_stack.push_back(m_state);
}

void RtfReader::closeGroup() {
    m_fallbackToSkip = 0;
    if (m_groupsBeyondDeepest > 0) {
        --m_groupsBeyondDeepest;
        return;
    }
    if (m_stack.empty()) {
        return;  // more "}" than "{": ignored, the text after it is still read
    }
    if (m_state.destination == Destination::FontTable) {
        commitFontEntry();
    }
    if (m_stack.size() == 1) {
        m_formatAtDocumentEnd = currentFormat();
    }
    m_state = m_stack.back();
    m_stack.pop_back();
    m_formatDirty = true;
}

void RtfReader::text(std::string_view bytes) {
    if (m_fallbackToSkip > 0) {
        const auto skipped = std::min<std::size_t>(bytes.size(), m_fallbackToSkip);
        m_fallbackToSkip -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
    }
    for (const char c : bytes) {
        byte(static_cast<unsigned char>(c));
    }
}

void RtfReader::byte(unsigned char value) {
    switch (m_state.destination) {
        case Destination::Text:
            // Control characters other than the tab carry no text in RTF.
            if (value >= 0x20 || value == '\t') {
                appendText(UnicodeFromWindows1252(value));
            }
            break;
        case Destination::FontTable:
            if (value == ';') {
                commitFontEntry();
            } else if (m_fontEntry >= 0 && value >= 0x20) {
                m_fontName += UnicodeFromWindows1252(value);
            }
            break;
        case Destination::ColourTable:
            if (value == ';') {
                m_formats.clear();
                m_colours.push_back(
                    m_colour.given
                        ? std::optional<QColor>(QColor(m_colour.red, m_colour.green, m_colour.blue))
                        : std::nullopt);
                m_colour = RtfColour{};
            }
            break;
        case Destination::Skip:
            break;
    }
}

void RtfReader::controlWord(const RtfToken& token) {
    if (m_state.destination == Destination::Skip) {
        return;
    }
    if (const Handler handler = FindHandler(token.text)) {
        handler(*this, token);
    }
}

void RtfReader::controlSymbol(const RtfToken& token) {
    if (m_state.destination == Destination::Skip || token.text.empty()) {
        return;
    }
    switch (token.text.front()) {
        case '*':  // a destination that a reader may ignore: none is needed here
            setDestination(Destination::Skip);
            break;
        case '~':
            appendText(QChar(0x00A0));
            break;
        case '_':
            appendText(QChar(0x2011));
            break;
        default:  // "\-" optional hyphen, "\|", "\:" and unknown symbols
            break;
    }
}

void RtfReader::appendText(QChar character) {
    if (m_state.destination != Destination::Text) {
        return;
    }
    if (m_formatDirty) {
        flush();
        currentFormat();
    }
    m_run += character;
}

void RtfReader::appendUnicode(int value) {
    // RTF writes characters above 32767 as negative numbers.
    const int unit = value < 0 ? value + 65536 : value;
    if (unit > 0 && unit <= 0xFFFF && (unit >= 0x20 || unit == '\t')) {
        appendText(QChar(static_cast<char16_t>(unit)));
    }
    m_fallbackToSkip = m_state.unicodeFallback;
}

void RtfReader::endParagraph() {
    if (m_state.destination != Destination::Text) {
        return;
    }
    flush();
    const QTextCharFormat& format = currentFormat();
    if (m_cursor.block().length() == 1) {
        m_cursor.setBlockCharFormat(format);  // an empty line keeps its size
    }
    m_cursor.insertBlock(QTextBlockFormat(), format);
}

void RtfReader::beginFontEntry(int entry) {
    commitFontEntry();
    m_fontEntry = entry;
}

void RtfReader::commitFontEntry() {
    if (m_fontEntry >= 0) {
        const QString name = m_fontName.trimmed();
        if (!name.isEmpty()) {
            m_fonts[m_fontEntry] = name;
            m_formats.clear();
        }
    }
    m_fontEntry = -1;
    m_fontName.clear();
    m_formatDirty = true;
}

void RtfReader::beginColourTable() {
    setDestination(Destination::ColourTable);
    m_colours.clear();
    m_formats.clear();
    m_colour = RtfColour{};
    m_formatDirty = true;
}

void RtfReader::setColourComponent(int RtfColour::*component, int value) {
    if (m_state.destination == Destination::ColourTable) {
        m_colour.*component = std::clamp(value, 0, 255);
        m_colour.given = true;
    }
}

std::optional<QColor> RtfReader::colour(int entry) const {
    if (entry <= 0 || static_cast<std::size_t>(entry) >= m_colours.size()) {
        return std::nullopt;  // automatic, or an entry the table lacks
    }
    return m_colours[static_cast<std::size_t>(entry)];
}

const QTextCharFormat& RtfReader::currentFormat() {
    if (!m_formatDirty) {
        return m_format;
    }
    const CharacterState& state = m_state.characters;
    for (const auto& [known, format] : m_formats) {
        if (known == state) {
            m_format = format;
            m_formatDirty = false;
            return m_format;
        }
    }
    QTextCharFormat format;
    auto font = m_fonts.find(state.font < 0 ? m_defaultFont : state.font);
    if (font == m_fonts.end()) {
        font = m_fonts.find(m_defaultFont);
    }
    if (font != m_fonts.end()) {
        format.setFontFamilies(QStringList{font->second});
    }
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    format.setVerticalAlignment(state.alignment);
    if (const auto text = colour(state.foreground)) {
        format.setForeground(*text);
    }
    if (const auto background = colour(state.highlight)) {
        format.setBackground(*background);
    }
    // A document with many distinct states (a damaged or hostile one) keeps
    // the first ones only, so that the search stays short.
    constexpr std::size_t kMostFormats = 32;
    if (m_formats.size() < kMostFormats) {
        m_formats.emplace_back(state, format);
    }
    m_format = format;
    m_formatDirty = false;
    return m_format;
}

void RtfReader::flush() {
    if (!m_run.isEmpty()) {
        m_cursor.insertText(m_run, m_format);
        m_run.clear();
    }
}

}  // namespace

bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start).starts_with("{\\rtf");
}

RtfDocumentSettings ReadRtf(QTextCursor& cursor, std::string_view rtf) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    RtfReader reader(cursor, rtf);
    const RtfDocumentSettings settings = reader.read();
    cursor.endEditBlock();
    return settings;
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
