#pragma once

#include "common/MessageCallback.h"
#include "config/ConfigFile.h"
#include "config/FileOps.h"
#include "config/LineRule.h"

#include <string_view>
#include <vector>

// Rewrites the simulator's Aircraft.cfg in the current directory line by line: a line that
// contains the key of a rule is replaced whole by the line of the first such rule in order;
// every other line is copied unchanged.
//
// The file is read and written in the Windows text convention, byte for byte otherwise: CR LF
// reads as one LF, every LF is written as CR LF, and a CR that no LF follows ends a line and
// stays as it is. Every other byte value is an ordinary character. A last line without line end
// is copied unchanged, without testing the rules. A file that starts with a UTF-16 byte-order
// mark (FF FE or FE FF) is rewritten in UTF-16 of its own byte order, by the same rules applied
// to its text, its mark kept; one that is not valid UTF-16 after the mark is refused.
//
// Where the file is found: FindConfigFile in the current folder. A symbolic link is followed; the
// link stays and its target receives the new content. A file of more than 256 MiB is refused.
//
// What it guarantees: the file is replaced whole or not at all. The new content is written to
// TempFile.txt beside the file, flushed to the disk, given the file's owner and permission bits
// and then renamed over the file, and the directory is flushed after it. A TempFile.txt found
// there before the run, whatever it is, is never copied anywhere: it is removed first (a link,
// not its target). After a successful run no TempFile.txt remains and `owner` is shown
// `completionText` ("Сообщение", information icon). After a failed run the file is byte for byte
// as before, the temporary file is removed, and `owner` is shown what failed with the stop icon,
// naming the file by its full path: "Unable to open the file." when the file cannot be found or
// opened, followed by a line that says why, or else the step that failed and why; the completion
// text is not shown. A file marked read-only is left alone and reported. Every file-system call
// goes through `FileOps`.
//
// On Windows the file system ignores letter case itself, a link is not followed, the new file
// keeps the old one's attributes instead of owner and permission bits, and it is moved over the
// old one with MoveFileExW (replace, write through); a file another program holds open is
// reported as busy.
class ConfigRewriter {
public:
    ConfigRewriter() : m_ops(FileOps::System()) {}
    explicit ConfigRewriter(FileOps& ops) : m_ops(ops) {}

    // True when the file was written, and the completion text shown.
    bool RewriteConfigFile(const std::vector<LineRule>& rules, std::string_view completionText,
                           MessageCallback& owner);

private:
    FileOps& m_ops;
};
