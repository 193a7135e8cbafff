// The model's side of the rewrite fuzzer, built without the fuzzer's coverage: its comparisons
// would only slow the search and lead it nowhere.
#include "config/LineRule.h"
#include "config/RewriteModel.h" // in tests/

#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::optional<std::string> ExpectedFile(std::string_view file, const std::vector<LineRule>& rules) {
    const bool le = file.starts_with("\xff\xfe"), be = file.starts_with("\xfe\xff");
    if (!le && !be)
        return ExpectedRewrite(file, rules);
    if (file.size() % 2 != 0)
        return std::nullopt;
    std::u16string text;
    for (std::size_t i = 2; i < file.size(); i += 2) {
        const auto a = static_cast<unsigned char>(file[i]),
                   b = static_cast<unsigned char>(file[i + 1]);
        text += static_cast<char16_t>(le ? b << 8 | a : a << 8 | b);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool leading = text[i] >= 0xd800 && text[i] <= 0xdbff;
        const bool next = i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff;
        if ((text[i] >= 0xdc00 && text[i] <= 0xdfff) || (leading && !next))
            return std::nullopt;
        if (leading)
            ++i;
    }
    std::string out(file.substr(0, 2));
    for (char16_t unit : ExpectedRewriteOf<char16_t>(text, rules)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xff);
        out += le ? low : high;
        out += le ? high : low;
    }
    return out;
}
