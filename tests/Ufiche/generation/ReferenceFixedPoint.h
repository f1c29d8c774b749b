#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HostExtended.h"
#include "Uconvers/Extended.h"

// An independent reference: glibc's printf expands long doubles exactly and
// rounds ties to even. Below 10 it keeps 17 decimals; from 10 on, 18
// significant digits, widened here to fixed-point notation.
inline std::string ReferenceFixedPoint(extended exactValue) {
    // Exact: the host's long double holds every 80-bit value.
    const long double value = testsupport::ToHost(exactValue);
    char buffer[256];
    const long double magnitude = std::fabs(value);
    std::string sign = std::signbit(value) ? "-" : "";
    if (magnitude < 10.0L) {
        std::snprintf(buffer, sizeof buffer, "%.17Lf", magnitude);
        return sign + buffer + "0";
    }
    std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
    const std::string text = buffer;  // d.ddddddddddddddddde+XX
    const std::string digits = text.substr(0, 1) + text.substr(2, 17);
    const int exponent = std::atoi(text.c_str() + text.find('e') + 1);
    std::string integerPart = digits.substr(0, std::min<std::size_t>(exponent + 1, 18));
    integerPart.append(exponent + 1 - integerPart.size(), '0');
    std::string fraction = exponent + 1 < 18 ? digits.substr(exponent + 1) : "";
    fraction.append(18 - fraction.size(), '0');
    return sign + integerPart + "." + fraction;
}
