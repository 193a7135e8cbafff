#include "config/NumberText.h"

#include <charconv>
#include <limits>
#include <system_error>

std::string FormatFixed3(double value) {
    char buffer[400]; // a double in fixed notation needs at most 309 digits before the point
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

double ParseLeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r')))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // from_chars takes no sign of its own after ours, so "+-1" and "--1" read as 0 like atof.
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        return 0.0;
    double value = 0.0;
    const char* first = text.data() + pos;
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    // Out of range: atof gives HUGE_VAL or 0 with the sign; from_chars leaves value untouched.
    if (result.ec == std::errc::result_out_of_range) {
        // Decide by the exponent part whether it overflowed or underflowed.
        std::string_view digits(first, static_cast<std::size_t>(result.ptr - first));
        const auto e = digits.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}
