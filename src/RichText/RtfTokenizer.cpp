#include "RichText/RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace RichText {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool EndsTextRun(char c) {
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

}  // namespace

RtfToken RtfTokenizer::Next() {
    while (m_position < m_input.size()) {
        const char c = m_input[m_position];
        if (c == '\r' || c == '\n') {
            ++m_position;
            continue;
        }
        if (c == '{' || c == '}') {
            ++m_position;
            RtfToken token;
            token.kind = c == '{' ? RtfToken::Kind::GroupOpen : RtfToken::Kind::GroupClose;
            return token;
        }
        if (c == '\\') {
            RtfToken token = ControlSequence();
            if (token.kind != RtfToken::Kind::End) {
                return token;
            }
            continue;  // a lone backslash at the very end
        }
        const std::size_t start = m_position;
        while (m_position < m_input.size() && !EndsTextRun(m_input[m_position])) {
            ++m_position;
        }
        RtfToken token;
        token.kind = RtfToken::Kind::Text;
        token.text = m_input.substr(start, m_position - start);
        return token;
    }
    return RtfToken{};
}

void RtfTokenizer::SkipBytes(std::size_t count) {
    m_position += std::min(count, m_input.size() - m_position);
}

// At a backslash.
RtfToken RtfTokenizer::ControlSequence() {
    RtfToken token;
    ++m_position;
    if (m_position >= m_input.size()) {
        return token;
    }
    const char first = m_input[m_position];
    if (IsLetter(first)) {
        const std::size_t start = m_position;
        while (m_position < m_input.size() && IsLetter(m_input[m_position])) {
            ++m_position;
        }
        token.kind = RtfToken::Kind::ControlWord;
        token.text = m_input.substr(start, m_position - start);
        // A hyphen is a sign only before a digit: "\par-" is "\par" then "-".
        const bool negative = m_position + 1 < m_input.size() && m_input[m_position] == '-' &&
                              IsDigit(m_input[m_position + 1]);
        if (negative) {
            ++m_position;
        }
        if (m_position < m_input.size() && IsDigit(m_input[m_position])) {
            long long value = 0;
            while (m_position < m_input.size() && IsDigit(m_input[m_position])) {
                value = std::min<long long>(value * 10 + (m_input[m_position] - '0'),
                                            static_cast<long long>(INT_MAX) + 1);
                ++m_position;
            }
            token.hasParameter = true;
            token.parameter = negative ? static_cast<int>(-value)
                                       : static_cast<int>(std::min<long long>(value, INT_MAX));
        }
        if (m_position < m_input.size() && m_input[m_position] == ' ') {
            ++m_position;  // the delimiter
        }
        return token;
    }
    ++m_position;
    switch (first) {
        case '\\':
        case '{':
        case '}':
            token.kind = RtfToken::Kind::Text;
            token.text = m_input.substr(m_position - 1, 1);
            return token;
        case '\r':
        case '\n':
            token.kind = RtfToken::Kind::ControlWord;
            token.text = "par";
            return token;
        case '\'': {
            const int high = m_position < m_input.size() ? HexValue(m_input[m_position]) : -1;
            const int low =
                m_position + 1 < m_input.size() ? HexValue(m_input[m_position + 1]) : -1;
            if (high >= 0 && low >= 0) {
                m_position += 2;
                token.kind = RtfToken::Kind::HexByte;
                token.byte = static_cast<unsigned char>(high * 16 + low);
                return token;
            }
            break;  // malformed: an ignorable symbol, the following bytes stay text
        }
        default:
            break;
    }
    token.kind = RtfToken::Kind::ControlSymbol;
    token.text = m_input.substr(m_position - 1, 1);
    return token;
}

}  // namespace RichText
