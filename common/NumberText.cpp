#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

std::string FormatFixed3(double value) {
    char buffer[400]; // a double in fixed notation needs at most 309 digits before the point
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

namespace {

// Whether a decimal number that a double cannot hold is too small for it, rather than too
// large: whether its first significant digit stands below the units.
bool Underflows(std::string_view number) {
    const auto e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 1000000000LL);
        if (negative)
            exponent = -exponent;
    }
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto significant = mantissa.find_first_of("123456789");
    if (significant == std::string_view::npos)
        return true;
    const long long position = significant < point ? static_cast<long long>(point - significant) - 1
                                                   : -static_cast<long long>(significant - point);
    return position + exponent < 0;
}

} // namespace

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
        const std::string_view number(first, static_cast<std::size_t>(result.ptr - first));
        value = Underflows(number) ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits off one leading sign; false when the text has no digits left or a second sign.
bool TakeSign(std::string_view& text, bool& negative) {
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return !text.empty() && text.front() != '+' && text.front() != '-';
}

} // namespace

std::string FormatFieldFloat(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string FormatFieldInt(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<float> ParseFieldFloat(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(text, negative))
        return std::nullopt;
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (result.ptr != end)
        return std::nullopt;
    // A number too small for a double reads as 0, as the C library reads it; too large is
    // refused below.
    if (result.ec == std::errc::result_out_of_range)
        value = Underflows(text) ? 0.0 : std::numeric_limits<double>::infinity();
    else if (result.ec != std::errc{})
        return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(negative ? -value : value);
}

std::optional<int> ParseFieldInt(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(text, negative))
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, magnitude);
    if (result.ec != std::errc{} || result.ptr != end)
        return std::nullopt;
    const std::uint64_t limit =
        std::uint64_t{std::numeric_limits<int>::max()} + (negative ? 1u : 0u);
    if (magnitude > limit)
        return std::nullopt;
    const auto signedValue = static_cast<std::int64_t>(magnitude);
    return static_cast<int>(negative ? -signedValue : signedValue);
}
