#pragma once

#include "config/LineRule.h"

#include <string>
#include <string_view>
#include <vector>

// What the rewrite must make of a file, computed the slow and obvious way, one character at a
// time: the file is read in the Windows text convention (CR LF as LF), a line ends at an LF or a
// CR, the first rule whose key the line holds gives its line, a last line without line end stays,
// and every LF is written as CR LF.
inline std::string ExpectedRewrite(std::string_view file, const std::vector<LineRule>& rules) {
    std::string text;
    for (std::size_t i = 0; i < file.size(); ++i)
        if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n'))
            text += file[i];

    std::string out;
    auto write = [&out](const std::string& line) {
        for (char c : line) {
            if (c == '\n')
                out += '\r';
            out += c;
        }
    };
    std::string line;
    for (char c : text) {
        line += c;
        if (c != '\n' && c != '\r')
            continue;
        for (const LineRule& rule : rules) {
            if (line.find(rule.key) != std::string::npos) {
                line = rule.line;
                break;
            }
        }
        write(line);
        line.clear();
    }
    write(line);
    return out;
}
