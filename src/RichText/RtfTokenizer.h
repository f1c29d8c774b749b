#pragma once

#include <cstddef>
#include <string_view>

namespace RichText {

// One lexical piece of an RTF stream. The tokenizer only cuts the input; what
// a control word means is the reader's business.
struct RtfToken {
    enum class Kind {
        GroupOpen,      // "{"
        GroupClose,     // "}"
        ControlWord,    // "\name" with an optional signed parameter
        ControlSymbol,  // "\" and one character that is not a letter ("\*", "\~", ...)
        HexByte,        // "\'hh"
        Text,           // a run of plain bytes, or one escaped "\\", "\{", "\}"
        End,
    };

    Kind kind = Kind::End;
    std::string_view text;  // the word's letters, the text run, or the symbol character
    bool hasParameter = false;
    int parameter = 0;
    unsigned char byte = 0;  // the value of a HexByte
};

// Cuts an RTF stream into tokens. Carriage returns and line feeds between
// tokens are dropped, as RTF ignores them; a backslash before one of them is
// the paragraph mark "\par". A control word's parameter saturates at the
// limits of int; the space that delimits a control word belongs to it.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view input) : m_input(input) {}

    RtfToken Next();

    // Skips raw bytes, for the binary data that "\binN" announces.
    void SkipBytes(std::size_t count);

private:
    RtfToken ControlSequence();

    std::string_view m_input;
    std::size_t m_position = 0;
};

}  // namespace RichText
