#include "RichText/RtfDocumentBuilder.h"

namespace RichText {
namespace {

// A document with many distinct controls (a damaged or hostile one) keeps the
// formats of the first ones only, so that the search stays short.
constexpr std::size_t kMostFormats = 32;

}  // namespace

void RtfDocumentBuilder::SetDefaultFont(int entry) {
    m_document.defaultFont = entry;
    TablesChanged();
}

void RtfDocumentBuilder::DefineFont(int entry, std::u16string_view name) {
    m_document.fonts[entry] = std::u16string(name);
    TablesChanged();
}

void RtfDocumentBuilder::BeginColourTable() {
    m_document.colours.clear();
    TablesChanged();
}

void RtfDocumentBuilder::AddColour(const std::optional<RtfColour>& colour) {
    m_document.colours.push_back(colour);
    TablesChanged();
}

void RtfDocumentBuilder::Append(char16_t character, const RtfCharacterControls& controls) {
    RunFor(controls) += character;
}

void RtfDocumentBuilder::Append(std::u16string_view text, const RtfCharacterControls& controls) {
    if (!text.empty()) {
        RunFor(controls) += text;
    }
}

void RtfDocumentBuilder::EndParagraph(const RtfCharacterControls& controls) {
    m_paragraph.mark = FormatOf(controls);
    m_paragraph.ended = true;
    m_document.blocks.emplace_back(std::move(m_paragraph));
    m_paragraph = RtfParagraph{};
    m_lastControls.reset();
}

void RtfDocumentBuilder::NoteDocumentEnd(const RtfCharacterControls& controls) {
    m_markAtDocumentEnd = FormatOf(controls);
}

RtfDocument RtfDocumentBuilder::Finish(const RtfCharacterControls& controls) {
    // The last paragraph's mark is the format in force at the end of the
    // document, before its closing brace restored the defaults.
    m_paragraph.mark = m_markAtDocumentEnd ? *m_markAtDocumentEnd : FormatOf(controls);
    m_paragraph.ended = false;
    m_document.blocks.emplace_back(std::move(m_paragraph));
    m_paragraph = RtfParagraph{};
    m_lastControls.reset();
    return std::move(m_document);
}

std::u16string& RtfDocumentBuilder::RunFor(const RtfCharacterControls& controls) {
    std::vector<RtfRun>& runs = m_paragraph.runs;
    if (m_lastControls == controls) {
        return runs.back().text;
    }
    const RtfFormat& format = FormatOf(controls);
    if (runs.empty() || runs.back().format != format) {
        runs.push_back(RtfRun{{}, format});
    }
    m_lastControls = controls;
    return runs.back().text;
}

void RtfDocumentBuilder::TablesChanged() {
    // The text already read keeps the format it was resolved to.
    m_formats.clear();
    m_lastControls.reset();
}

std::optional<RtfColour> RtfDocumentBuilder::Colour(int entry) const {
    if (entry <= 0 || static_cast<std::size_t>(entry) >= m_document.colours.size()) {
        return std::nullopt;  // automatic, or an entry the table lacks
    }
    return m_document.colours[static_cast<std::size_t>(entry)];
}

const RtfFormat& RtfDocumentBuilder::FormatOf(const RtfCharacterControls& controls) {
    for (const auto& [known, format] : m_formats) {
        if (known == controls) {
            return format;
        }
    }
    RtfFormat format;
    const auto& fonts = m_document.fonts;
    auto font = fonts.find(controls.font < 0 ? m_document.defaultFont : controls.font);
    if (font == fonts.end()) {
        font = fonts.find(m_document.defaultFont);
    }
    if (font != fonts.end()) {
        format.font = font->second;
    }
    format.halfPoints = controls.halfPoints;
    format.bold = controls.bold;
    format.italic = controls.italic;
    format.underline = controls.underline;
    format.strike = controls.strike;
    format.alignment = controls.alignment;
    format.foreground = Colour(controls.foreground);
    format.highlight = Colour(controls.highlight);
    if (m_formats.size() < kMostFormats) {
        // Reserved whole, so that adding one never moves those handed out.
        m_formats.reserve(kMostFormats);
        return m_formats.emplace_back(controls, std::move(format)).second;
    }
    m_uncached = std::move(format);
    return m_uncached;
}

}  // namespace RichText
