#pragma once

#include "config/LineRule.h"

#include <string>
#include <string_view>
#include <vector>

// What the rewrite must make of a file's text, computed the slow and obvious way, one character
// at a time: the text is read in the Windows text convention (CR LF as LF), a line ends at an LF
// or a CR, the first rule whose key the line holds gives its line, a last line without line end
// stays, and every LF is written as CR LF. `Unit` is char for a file of bytes, char16_t for the
// text of a UTF-16 file (the rules' ASCII widened unit for unit).
template <typename Unit>
std::basic_string<Unit> ExpectedRewriteOf(std::basic_string_view<Unit> file,
                                          const std::vector<LineRule>& rules) {
    using Text = std::basic_string<Unit>;
    const auto widened = [](const std::string& bytes) {
        Text text;
        for (char c : bytes)
            text += static_cast<Unit>(static_cast<unsigned char>(c));
        return text;
    };
    std::vector<Text> keys, lines;
    for (const LineRule& rule : rules) {
        keys.push_back(widened(rule.key));
        lines.push_back(widened(rule.line));
    }

    Text text;
    text.reserve(file.size());
    for (std::size_t i = 0; i < file.size(); ++i)
        if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n'))
            text += file[i];

    Text out;
    out.reserve(file.size() + file.size() / 4);
    auto write = [&out](const Text& line) {
        for (Unit c : line) {
            if (c == '\n')
                out += '\r';
            out += c;
        }
    };
    Text line;
    for (Unit c : text) {
        line += c;
        if (c != '\n' && c != '\r')
            continue;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (line.find(keys[i]) != Text::npos) {
                line = lines[i];
                break;
            }
        }
        write(line);
        line.clear();
    }
    write(line);
    return out;
}

inline std::string ExpectedRewrite(std::string_view file, const std::vector<LineRule>& rules) {
    return ExpectedRewriteOf<char>(file, rules);
}
