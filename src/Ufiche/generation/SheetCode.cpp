#include "Ufiche/generation/SheetCode.h"

#include "Ufiche/generation/PortableRandomSource.h"

namespace Ufiche {

namespace {

// Crockford's base 32: digits and capitals without I, L, O and U, which are
// read as 1, 1 and 0 or could make words.
constexpr std::string_view kSymbols = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int kBitsPerSymbol = 5;

std::optional<std::uint32_t> SymbolValue(char typed) {
    char symbol = typed >= 'a' && typed <= 'z' ? static_cast<char>(typed - 'a' + 'A') : typed;
    if (symbol == 'O') {
        symbol = '0';
    } else if (symbol == 'I' || symbol == 'L') {
        symbol = '1';
    }
    const std::size_t at = kSymbols.find(symbol);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(at);
}

}  // namespace

std::string SheetCodeText(std::uint32_t code) {
    std::string text(kSheetCodeLength, '0');
    for (std::size_t i = kSheetCodeLength; i-- > 0;) {
        text[i] = kSymbols[code & (kSymbols.size() - 1)];
        code >>= kBitsPerSymbol;
    }
    return text;
}

std::optional<std::uint32_t> ParseSheetCode(std::string_view typed) {
    std::uint32_t code = 0;
    std::size_t symbols = 0;
    for (const char character : typed) {
        if (character == ' ' || character == '-') {
            continue;
        }
        const std::optional<std::uint32_t> value = SymbolValue(character);
        if (!value || ++symbols > kSheetCodeLength) {
            return std::nullopt;
        }
        code = (code << kBitsPerSymbol) | *value;
    }
    if (symbols != kSheetCodeLength) {
        return std::nullopt;
    }
    return code;
}

std::uint32_t DrawSheetCode(RandomSource& random) {
    return static_cast<std::uint32_t>(random.Draw(static_cast<int>(kSheetCodeCount)));
}

std::uint32_t SheetCodeAfter(std::uint32_t code, std::uint32_t step) {
    return (code + step) % kSheetCodeCount;
}

GeneratedWorksheet BuildWorksheetOfCode(Uconvers::QuantityKind kind, WorksheetSettings settings,
                                        std::uint32_t code, bool codeShown) {
    code %= kSheetCodeCount;
    settings.SheetCode = codeShown ? SheetCodeText(code) : std::string();
    PortableRandomSource random(code);
    GeneratedWorksheet sheet = BuildWorksheet(kind, settings, random);
    sheet.Code = code;
    return sheet;
}

}  // namespace Ufiche
