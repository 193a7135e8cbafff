#include "config/ConfigText.h"

#include <algorithm>

namespace {

// The lines of `text` (after the mark, if any) with each line that holds a rule's key replaced.
// `Unit` is char for bytes, char16_t for UTF-16; `emit` receives the new content in pieces.
template <typename Unit, typename Emit>
void RewriteLines(std::basic_string_view<Unit> text, const std::vector<LineRule>& rules,
                  Emit emit) {
    using Text = std::basic_string<Unit>;
    constexpr Unit kLf = '\n', kCr = '\r';
    // Keys and lines are ASCII, each byte one unit; a rule's line is written in the Windows text
    // convention.
    std::vector<Text> keys, written;
    for (const LineRule& rule : rules) {
        Text key, line;
        for (char c : rule.key)
            key += static_cast<Unit>(static_cast<unsigned char>(c));
        for (char c : rule.line) {
            if (c == '\n')
                line += kCr;
            line += static_cast<Unit>(static_cast<unsigned char>(c));
        }
        keys.push_back(std::move(key));
        written.push_back(std::move(line));
    }
    static constexpr Unit kCrLf[] = {kCr, kLf};
    const std::basic_string_view<Unit> crLf(kCrLf, 2), loneCr(kCrLf, 1);

    std::size_t pos = 0;
    while (pos < text.size()) {
        // The line ends at its first LF or CR (find is memchr for bytes).
        const std::size_t lf = std::min(text.find(kLf, pos), text.size());
        const std::size_t cr = text.substr(pos, lf - pos).find(kCr);
        const std::size_t end = cr == text.npos ? lf : pos + cr;
        if (end == text.size()) { // the last line, without line end, stays as it is
            emit(text.substr(pos));
            return;
        }
        // CR LF reads as one LF; a CR that no LF follows ends the line and stays.
        const bool crLfEnd = text[end] == kCr && end + 1 < text.size() && text[end + 1] == kLf;
        const Unit lineEnd = crLfEnd ? kLf : text[end];
        const std::basic_string_view<Unit> content = text.substr(pos, end - pos);
        pos = end + (crLfEnd ? 2 : 1);

        // The line as read (its end included) holds the key: the key is in its content, or the
        // key ends in the line end and the content ends with the rest of it.
        const auto holds = [&](const Text& key) {
            return key.empty() || content.find(key) != content.npos ||
                   (key.back() == lineEnd &&
                    content.ends_with(std::basic_string_view<Unit>(key).substr(0, key.size() - 1)));
        };
        const auto rule = std::find_if(keys.begin(), keys.end(), holds);
        if (rule != keys.end()) {
            emit(std::basic_string_view<Unit>(written[rule - keys.begin()]));
        } else {
            emit(content);
            emit(lineEnd == kLf ? crLf : loneCr);
        }
    }
}

} // namespace

TextRewrite RewriteText(std::string_view file, const std::vector<LineRule>& rules) {
    TextRewrite out;
    out.text.reserve(file.size() + file.size() / 8);
    const bool littleEndian = file.starts_with("\xff\xfe");
    if (!littleEndian && !file.starts_with("\xfe\xff")) {
        RewriteLines<char>(file, rules, [&](std::string_view bytes) { out.text += bytes; });
        return out;
    }

    // UTF-16 after its byte-order mark.
    const int high = littleEndian ? 1 : 0; // the byte of a unit's high half
    if (file.size() % 2 != 0)
        return {{}, "файл в кодировке UTF-16 поврежден (нечетное число байтов)"};
    std::u16string text((file.size() - 2) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto at = reinterpret_cast<const unsigned char*>(file.data()) + 2 + 2 * i;
        text[i] = static_cast<char16_t>(at[high] << 8 | at[1 - high]);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool leading = text[i] >= 0xd800 && text[i] < 0xdc00;
        const bool trailing = text[i] >= 0xdc00 && text[i] < 0xe000;
        if (trailing ||
            (leading && (i + 1 == text.size() || text[i + 1] < 0xdc00 || text[i + 1] >= 0xe000)))
            return {{}, "файл в кодировке UTF-16 поврежден (непарный суррогат)"};
        i += leading ? 1 : 0;
    }

    out.text.assign(file.substr(0, 2)); // the mark, as it was
    RewriteLines<char16_t>(text, rules, [&](std::u16string_view units) {
        for (const char16_t unit : units) {
            const char bytes[2] = {static_cast<char>(unit >> (8 * (1 - high)) & 0xff),
                                   static_cast<char>(unit >> (8 * high) & 0xff)};
            out.text.append(bytes, 2);
        }
    });
    return out;
}
