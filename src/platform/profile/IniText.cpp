#include "platform/profile/IniText.h"

namespace platform::ini {

namespace {

constexpr std::string_view lineEnd = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Both names already trimmed.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// One line of the content: [begin, next) are its bytes with its line end.
struct Line {
    std::size_t begin = 0;
    std::size_t next = 0;
    std::string_view text;  // without the line end
    bool ended = false;     // false only for a last line with no LF
};

class LineReader {
public:
    explicit LineReader(std::string_view content) : m_content(content) {}

    bool Read(Line& line) {
        if (m_position >= m_content.size()) {
            return false;
        }
        line.begin = m_position;
        const std::size_t lf = m_content.find('\n', m_position);
        std::size_t end = lf == std::string_view::npos ? m_content.size() : lf;
        line.ended = lf != std::string_view::npos;
        line.next = line.ended ? lf + 1 : m_content.size();
        if (line.ended && end > m_position && m_content[end - 1] == '\r') {
            --end;
        }
        line.text = m_content.substr(m_position, end - m_position);
        m_position = line.next;
        return true;
    }

private:
    std::string_view m_content;
    std::size_t m_position = 0;
};

enum class LineKind { Other, Header, Value };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name of a header, key of a value line
    std::string_view value;  // trimmed value of a value line
};

ParsedLine Parse(std::string_view text) {
    const std::string_view line = Trimmed(text);
    if (!line.empty() && line.front() == '[') {
        // The name runs to the last "]", so that a name may itself hold one;
        // anything after it is ignored.
        const std::size_t close = line.rfind(']');
        if (close != std::string_view::npos) {
            return {LineKind::Header, Trimmed(line.substr(1, close - 1)), {}};
        }
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    const std::string_view key = Trimmed(line.substr(0, equals));
    if (key.empty()) {
        return {};
    }
    return {LineKind::Value, key, Trimmed(line.substr(equals + 1))};
}

std::string ValueLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(lineEnd);
    return line;
}

std::string Spliced(std::string_view content, std::size_t from, std::size_t to,
                    std::string_view insertion) {
    std::string result;
    result.reserve(content.size() - (to - from) + insertion.size());
    result.append(content.substr(0, from)).append(insertion).append(content.substr(to));
    return result;
}

}  // namespace

std::optional<std::string_view> FindValue(std::string_view content, std::string_view section,
                                          std::string_view key) {
    section = Trimmed(section);
    key = Trimmed(key);
    bool inSection = false;
    LineReader reader(content);
    Line line;
    while (reader.Read(line)) {
        const ParsedLine parsed = Parse(line.text);
        if (parsed.kind == LineKind::Header) {
            if (inSection) {
                return std::nullopt;  // only the first section of that name counts
            }
            inSection = SameName(parsed.name, section);
        } else if (inSection && parsed.kind == LineKind::Value && SameName(parsed.name, key)) {
            return parsed.value;
        }
    }
    return std::nullopt;
}

std::string ReadValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view defaultValue) {
    const std::optional<std::string_view> stored = FindValue(content, section, key);
    return stored ? Commune::ReadableValue(*stored) : std::string(defaultValue);
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view lineBreaking("\r\n\0", 3);
    const auto fitsOnOneLine = [&](std::string_view text) {
        return text.find_first_of(lineBreaking) == std::string_view::npos;
    };
    const std::string_view name = Trimmed(key);
    return fitsOnOneLine(section) && fitsOnOneLine(key) && fitsOnOneLine(value) && !name.empty() &&
           name.front() != '[' && name.find('=') == std::string_view::npos;
}

std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
    section = Trimmed(section);
    key = Trimmed(key);
    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAt = 0;  // just after the last non-blank line of the section
    bool insertAfterEndedLine = true;
    LineReader reader(content);
    Line line;
    while (reader.Read(line)) {
        const ParsedLine parsed = Parse(line.text);
        if (parsed.kind == LineKind::Header) {
            if (inSection) {
                break;
            }
            inSection = SameName(parsed.name, section);
            sectionFound = inSection;
        } else if (!inSection) {
            continue;
        } else if (parsed.kind == LineKind::Value && SameName(parsed.name, key)) {
            // The key keeps its spelling in the file; only its value changes.
            return Spliced(content, line.begin, line.next, ValueLine(parsed.name, value));
        } else if (Trimmed(line.text).empty()) {
            continue;
        }
        insertAt = line.next;
        insertAfterEndedLine = line.ended;
    }

    std::string insertion;
    if (!sectionFound) {
        insertAt = content.size();
        insertAfterEndedLine = content.empty() || content.back() == '\n';
    }
    if (!insertAfterEndedLine) {
        insertion.append(lineEnd);
    }
    if (!sectionFound) {
        insertion.append("[").append(section).append("]").append(lineEnd);
    }
    insertion.append(ValueLine(key, value));
    return Spliced(content, insertAt, insertAt, insertion);
}

std::string WithoutSection(std::string_view content, std::string_view section) {
    section = Trimmed(section);
    std::string result;
    result.reserve(content.size());
    bool kept = true;
    LineReader reader(content);
    Line line;
    while (reader.Read(line)) {
        const ParsedLine parsed = Parse(line.text);
        if (parsed.kind == LineKind::Header) {
            kept = !SameName(parsed.name, section);
        }
        if (kept) {
            result.append(content.substr(line.begin, line.next - line.begin));
        }
    }
    return result;
}

}  // namespace platform::ini
