#pragma once

#include "config/LineRule.h"

#include <string>
#include <string_view>
#include <vector>

// What the rewrite of Aircraft.cfg makes of the file's content, without touching any file.
struct TextRewrite {
    std::string text;    // the new content
    std::string refusal; // why the content is not rewritten, in the user's words; "" when it is
    bool ok() const { return refusal.empty(); }
};

// The content `file` line by line: a line that contains the key of a rule is replaced whole by
// the line of the first such rule in order; every other line is copied unchanged.
//
// The content is read and written in the Windows text convention, byte for byte otherwise: CR LF
// reads as one LF, every LF is written as CR LF, and a CR that no LF follows ends a line and stays
// as it is. Every other byte value is an ordinary character. A last line without line end is
// copied unchanged, without testing the rules. A content that starts with a UTF-16 byte-order
// mark (FF FE or FE FF) is rewritten in UTF-16 of its own byte order, by the same rules applied to
// its text, its mark kept; one that is not valid UTF-16 after the mark is refused.
TextRewrite RewriteText(std::string_view file, const std::vector<LineRule>& rules);
