#include "common/Utf16.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xfffd;

// The code point that starts at `at`, moving `at` past it; kReplacement and one byte on for a
// byte that starts no valid sequence (overlong forms, surrogates and values past U+10FFFF
// included).
char32_t NextCodePoint(std::string_view text, std::size_t& at, bool& valid) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    char32_t point = lead & (0x7f >> length);
    bool ok = length != 0 && at + length <= text.size();
    for (std::size_t i = 1; ok && i < length; ++i) {
        ok = (byte(at + i) & 0xc0) == 0x80;
        point = point << 6 | (byte(at + i) & 0x3f);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    ok =
        ok && point >= kSmallest[length] && point <= 0x10ffff && (point < 0xd800 || point > 0xdfff);
    if (!ok) {
        valid = false;
        ++at;
        return kReplacement;
    }
    at += length;
    return point;
}

} // namespace

bool Widen(std::string_view utf8, std::wstring& wide) {
    wide.clear();
    wide.reserve(utf8.size());
    bool valid = true;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t point = NextCodePoint(utf8, at, valid);
        if (point >= 0x10000) {
            wide += static_cast<wchar_t>(0xd800 + ((point - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xdc00 + ((point - 0x10000) & 0x3ff));
        } else {
            wide += static_cast<wchar_t>(point);
        }
    }
    return valid;
}

std::wstring Widen(std::string_view utf8) {
    std::wstring wide;
    Widen(utf8, wide);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t point = static_cast<std::uint32_t>(wide[i]) & 0xffff;
        const bool leading = point >= 0xd800 && point < 0xdc00;
        const char32_t next =
            i + 1 < wide.size() ? static_cast<std::uint32_t>(wide[i + 1]) & 0xffff : 0;
        if (leading && next >= 0xdc00 && next < 0xe000) {
            point = 0x10000 + ((point - 0xd800) << 10) + (next - 0xdc00);
            ++i;
        } else if (point >= 0xd800 && point < 0xe000) {
            point = kReplacement;
        }
        if (point < 0x80) {
            utf8 += static_cast<char>(point);
        } else if (point < 0x800) {
            utf8 += static_cast<char>(0xc0 | point >> 6);
            utf8 += static_cast<char>(0x80 | (point & 0x3f));
        } else if (point < 0x10000) {
            utf8 += static_cast<char>(0xe0 | point >> 12);
            utf8 += static_cast<char>(0x80 | (point >> 6 & 0x3f));
            utf8 += static_cast<char>(0x80 | (point & 0x3f));
        } else {
            utf8 += static_cast<char>(0xf0 | point >> 18);
            utf8 += static_cast<char>(0x80 | (point >> 12 & 0x3f));
            utf8 += static_cast<char>(0x80 | (point >> 6 & 0x3f));
            utf8 += static_cast<char>(0x80 | (point & 0x3f));
        }
    }
    return utf8;
}
