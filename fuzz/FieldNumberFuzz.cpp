// The numbers typed into the dialog fields: whatever the text, the field reads a number only
// when the whole text is one (blanks around it allowed) that its member can hold, and then the
// one the C library reads from it in the C locale.
#include "common/NumberText.h"

#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

std::optional<int> ExpectedInt(const std::string& t) {
    std::size_t i = t.empty() || (t[0] != '+' && t[0] != '-') ? 0 : 1;
    if (i == t.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        magnitude = std::min<std::int64_t>(magnitude * 10 + (t[i] - '0'), std::int64_t{1} << 40);
    }
    const std::int64_t value = t[0] == '-' ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<float> ExpectedFloat(const std::string& t) {
    // No hexadecimal, no "inf" or "nan": only the decimal form of a number.
    if (t.empty() || t.find_first_not_of("+-.0123456789eE") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const double value = strtod_l(t.c_str(), &end, CLocale());
    if (end != t.c_str() + t.size() || !std::isfinite(value) ||
        std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes),
                                std::min<std::size_t>(size, 512));
    const std::string trimmed = Trimmed(text);

    const std::optional<int> asInt = ParseFieldInt(text);
    if (asInt != ExpectedInt(trimmed))
        Fail("integer field", text);
    if (asInt && ParseFieldInt(FormatFieldInt(*asInt)) != asInt)
        Fail("integer does not read back", text);

    const std::optional<float> asFloat = ParseFieldFloat(text);
    const std::optional<float> expected = ExpectedFloat(trimmed);
    if (asFloat.has_value() != expected.has_value() ||
        (asFloat && std::memcmp(&*asFloat, &*expected, sizeof(float)) != 0))
        Fail("number field", text);
    if (asFloat) {
        // What the field shows reads back as a number, within the six digits it shows.
        const std::optional<float> shown = ParseFieldFloat(FormatFieldFloat(*asFloat));
        if (!shown || std::fabs(*shown - *asFloat) > 1e-5f * std::fabs(*asFloat))
            Fail("number does not read back", text);
    }
    return 0;
}
