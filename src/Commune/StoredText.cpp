#include "Commune/StoredText.h"

#include <charconv>
#include <limits>

namespace Commune {
namespace {

// The characters that the file's reading takes off both ends of a value.
bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Reading would take one outer pair of these quotes away.
bool IsQuoted(std::string_view text) {
    return text.size() >= 2 && text.front() == text.back() &&
           (text.front() == '"' || text.front() == '\'');
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lowerWord[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ReadableValue(std::string_view stored) {
    if (IsQuoted(stored)) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored.substr(0, kStoredTextLimit));
}

std::string TrimControls(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsControl(text[first])) {
        ++first;
    }
    while (last > first && IsControl(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string EncodeText(std::string_view text) {
    const std::string trimmed = TrimControls(text);
    return IsQuoted(trimmed) ? '"' + trimmed + '"' : trimmed;
}

std::string EncodeListEntry(std::string_view entry) {
    std::size_t first = 0;
    std::size_t last = entry.size();
    while (first < last && IsProfileBlank(entry[first])) {
        ++first;
    }
    while (last > first && IsProfileBlank(entry[last - 1])) {
        --last;
    }
    const std::string_view text = entry.substr(first, last - first);
    if (!IsQuoted(text)) {
        return std::string(entry);
    }
    // The blanks stay outside the added quotes, where reading drops them as
    // it does for every other entry.
    std::string encoded(entry.substr(0, first));
    encoded.append("\"").append(text).append("\"").append(entry.substr(last));
    return encoded;
}

std::string_view EncodeBoolean(bool value) {
    return value ? "True" : "False";
}

std::optional<bool> DecodeBoolean(std::string_view text) {
    if (SameWord(text, "true")) {
        return true;
    }
    if (SameWord(text, "false")) {
        return false;
    }
    return std::nullopt;
}

int DecodeInteger(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || negative)) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    // Digits only: from_chars would stop at the first other character.
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-') {
        return 0;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return 0;
    }
    return static_cast<int>(value);
}

}  // namespace Commune
