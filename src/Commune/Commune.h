#pragma once

#include <string>
#include <string_view>

// Text routines for worksheet numbers. Each takes a text and returns a new one.
namespace Commune {

// Integer digits grouped by three from the right: "1234567" -> "1 234 567".
std::string GroupIntDigits(const std::string& digits);

// Decimal digits grouped by three from the left: "1234" -> "123 4".
std::string GroupDecDigits(const std::string& digits);

// A number text split at its first point, both sides grouped.
std::string GroupDigits(const std::string& number);

// The text without one trailing point.
std::string DropTrailingPoint(const std::string& text);

// The text with every comma replaced by a point.
std::string CommaToPoint(const std::string& text);

// The text with every point replaced by a comma: a number text as written
// with a decimal comma, its groups unchanged ("12 345,5").
std::string PointToComma(const std::string& text);

// The text without its trailing zeros, when it holds a point; the point stops
// the removal, so "0.000" gives "0.".
std::string DropTrailingZeros(const std::string& text);

// Comma to point, trailing zeros and point dropped, "-0" made "0".
std::string NormalizeNumber(const std::string& text);

// GroupDigits(NormalizeNumber(text)) in one pass, with no intermediate texts.
std::string NormalizeAndGroup(std::string_view text);

}  // namespace Commune
