#include "Ufiche/document/PupilAnswers.h"

#include <array>
#include <cstddef>

#include "Commune/Commune.h"

namespace Ufiche {
namespace {

// What may stand between groups of digits or around a number: the space, the
// tab, and the no-break, narrow no-break and thin spaces that phones and word
// processors put between groups (UTF-8).
constexpr std::array<std::string_view, 5> kBlanks = {" ", "\t", "\xC2\xA0", "\xE2\x80\xAF",
                                                     "\xE2\x80\x89"};
constexpr std::string_view kMinusSign = "\xE2\x88\x92";

std::size_t BlankAt(std::string_view text, std::size_t at) {
    for (const std::string_view blank : kBlanks) {
        if (text.substr(at, blank.size()) == blank) {
            return blank.size();
        }
    }
    return 0;
}

std::string_view Trimmed(std::string_view text) {
    for (bool cut = true; cut;) {
        cut = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                cut = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                cut = true;
            }
        }
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Runs of digits from `at`, each run after blanks that lead to more digits;
// `at` ends after the last digit read.
struct DigitGroups {
    std::string digits;
    std::vector<std::size_t> sizes;
};

DigitGroups ReadGroups(std::string_view text, std::size_t& at) {
    DigitGroups groups;
    while (at < text.size() && IsDigit(text[at])) {
        const std::size_t start = at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        groups.digits += text.substr(start, at - start);
        groups.sizes.push_back(at - start);
        std::size_t next = at;
        while (const std::size_t blank = BlankAt(text, next)) {
            next += blank;
        }
        if (next == at || next >= text.size() || !IsDigit(text[next])) {
            break;
        }
        at = next;
    }
    return groups;
}

// Grouped integer digits: the first group of one to three digits, the others
// of three ("1 250"); ungrouped digits of any length.
bool IntegerGroupsValid(const std::vector<std::size_t>& sizes) {
    if (sizes.size() == 1) {
        return true;
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i == 0 ? sizes[i] > 3 : sizes[i] != 3) {
            return false;
        }
    }
    return true;
}

// Grouped decimal digits from the mark: groups of three, the last of one to
// three ("0,123 45").
bool DecimalGroupsValid(const std::vector<std::size_t>& sizes) {
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
        if (sizes[i] != 3) {
            return false;
        }
    }
    return sizes.size() == 1 || sizes.back() <= 3;
}

}  // namespace

std::optional<std::string> ExactDecimal(std::string_view typed) {
    const std::string_view text = Trimmed(typed);
    std::size_t at = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        at = 1;
    } else if (text.starts_with(kMinusSign)) {
        negative = true;
        at = kMinusSign.size();
    }
    const DigitGroups integer = ReadGroups(text, at);
    if (integer.sizes.empty() || !IntegerGroupsValid(integer.sizes)) {
        return std::nullopt;
    }
    DigitGroups decimals;
    if (at < text.size() && (text[at] == ',' || text[at] == '.')) {
        ++at;
        decimals = ReadGroups(text, at);
        if (decimals.sizes.empty() || !DecimalGroupsValid(decimals.sizes)) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    const std::size_t firstDigit = integer.digits.find_first_not_of('0');
    std::string exact =
        firstDigit == std::string::npos ? std::string("0") : integer.digits.substr(firstDigit);
    const std::size_t lastDecimal = decimals.digits.find_last_not_of('0');
    if (lastDecimal != std::string::npos) {
        exact += '.';
        exact += decimals.digits.substr(0, lastDecimal + 1);
    }
    if (negative && exact != "0") {
        exact.insert(exact.begin(), '-');
    }
    return exact;
}

AnswerMark MarkAnswer(std::string_view typed, std::string_view exact) {
    if (Trimmed(typed).empty()) {
        return AnswerMark::Empty;
    }
    const std::optional<std::string> number = ExactDecimal(typed);
    if (!number) {
        return AnswerMark::NotANumber;
    }
    return number == ExactDecimal(exact) ? AnswerMark::Right : AnswerMark::Wrong;
}

SheetMarks MarkSheet(const std::vector<WorksheetExercise>& exercises,
                     const std::vector<std::string>& typed) {
    SheetMarks sheet;
    std::size_t blank = 0;
    for (const WorksheetExercise& exercise : exercises) {
        std::vector<AnswerMark>& marks = sheet.marks.emplace_back();
        bool allRight = true;
        for (const AnswerPart& part : exercise.answer) {
            const std::string_view answer =
                blank < typed.size() ? std::string_view(typed[blank]) : std::string_view();
            ++blank;
            marks.push_back(MarkAnswer(answer, part.number));
            allRight = allRight && marks.back() == AnswerMark::Right;
        }
        sheet.right += allRight ? 1 : 0;
        ++sheet.total;
    }
    return sheet;
}

std::string ScoreText(const SheetMarks& marks) {
    return std::to_string(marks.right) + " / " + std::to_string(marks.total);
}

std::string AnswerShown(const std::string& number, bool decimalComma) {
    const std::string grouped = Commune::GroupDigits(number);
    return decimalComma ? Commune::PointToComma(grouped) : grouped;
}

}  // namespace Ufiche
