#include "Commune/Commune.h"

#include <algorithm>
#include <cstring>

namespace Commune {

std::string GroupIntDigits(const std::string& digits) {
    if (digits.size() <= 3) {
        return digits;
    }
    std::string result;
    std::size_t end = digits.size();  // one past the last character of the next group
    while (end > 3) {
        // Two inserts rather than " " + group: GCC 12 at -O2 warns falsely
        // (-Wrestrict) about the temporary string's copy.
        result.insert(0, digits, end - 3, 3);
        result.insert(0, 1, ' ');
        end -= 3;
    }
    return digits.substr(0, end) + result;
}

std::string GroupDecDigits(const std::string& digits) {
    if (digits.size() <= 3) {
        return digits;
    }
    std::string result;
    std::size_t start = 0;
    // Full groups are taken while more than three characters remain, so the
    // last group always holds one to three digits.
    while (digits.size() - start > 3) {
        result += digits.substr(start, 3);
        result += ' ';
        start += 3;
    }
    return result + digits.substr(start);
}

std::string GroupDigits(const std::string& number) {
    const auto point = number.find('.');
    if (point == std::string::npos) {
        return GroupIntDigits(number);
    }
    return GroupIntDigits(number.substr(0, point)) + "." + GroupDecDigits(number.substr(point + 1));
}

std::string DropTrailingPoint(const std::string& text) {
    if (!text.empty() && text.back() == '.') {
        return text.substr(0, text.size() - 1);
    }
    return text;
}

std::string CommaToPoint(const std::string& text) {
    std::string result = text;
    std::replace(result.begin(), result.end(), ',', '.');
    return result;
}

std::string PointToComma(const std::string& text) {
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

std::string DropTrailingZeros(const std::string& text) {
    if (text.find('.') == std::string::npos) {
        return text;
    }
    return text.substr(0, text.find_last_not_of('0') + 1);
}

std::string NormalizeNumber(const std::string& text) {
    std::string result = DropTrailingPoint(DropTrailingZeros(CommaToPoint(text)));
    if (result == "-0") {
        result = "0";
    }
    return result;
}

std::string NormalizeAndGroup(std::string_view text) {
    constexpr std::size_t kShortText = 64;
    if (text.size() > kShortText) {
        return GroupDigits(NormalizeNumber(std::string(text)));
    }
    char cleaned[kShortText];
    std::size_t length = text.size();
    std::memcpy(cleaned, text.data(), length);
    char* const end = cleaned + length;
    for (char* comma = cleaned; (comma = std::find(comma, end, ',')) != end;) {
        *comma = '.';
    }
    auto integerLength = static_cast<std::size_t>(std::find(cleaned, end, '.') - cleaned);
    if (integerLength < length) {
        while (cleaned[length - 1] == '0') {  // the point stops the removal
            --length;
        }
        if (cleaned[length - 1] == '.') {
            --length;
        }
    }
    if (length == 2 && cleaned[0] == '-' && cleaned[1] == '0') {
        cleaned[0] = '0';
        length = 1;
        integerLength = 1;
    }

    // The integer part's first group holds one to three characters, the
    // decimal part's last group one to three digits; every other group three.
    char grouped[2 * kShortText];
    char* out = grouped;
    const auto appendGroup = [&out](const char* first, std::size_t count) {
        std::memcpy(out, first, count);
        out += count;
    };
    if (integerLength > 0) {
        std::size_t taken = (integerLength - 1) % 3 + 1;
        appendGroup(cleaned, taken);
        for (; taken < integerLength; taken += 3) {
            *out++ = ' ';
            appendGroup(cleaned + taken, 3);
        }
    }
    if (integerLength < length) {
        *out++ = '.';
        const char* const decimals = cleaned + integerLength + 1;
        const std::size_t decimalLength = length - integerLength - 1;
        for (std::size_t taken = 0; taken < decimalLength; taken += 3) {
            if (taken > 0) {
                *out++ = ' ';
            }
            appendGroup(decimals + taken, std::min<std::size_t>(3, decimalLength - taken));
        }
    }
    return std::string(grouped, static_cast<std::size_t>(out - grouped));
}

}  // namespace Commune
