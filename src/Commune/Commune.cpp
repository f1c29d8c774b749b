#include "Commune/Commune.h"

#include <algorithm>

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

}  // namespace Commune
