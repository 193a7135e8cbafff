#pragma once

#include "common/MessageCallback.h"
#include "config/ConfigFile.h"
#include "config/FileOps.h"
#include "config/LineRule.h"

#include <string_view>
#include <vector>

// Rewrites the simulator's Aircraft.cfg of the current folder by the rules, as RewriteText
// (config/ConfigText.h) rewrites its content.
//
// Which file: FindConfigFile in the current folder. A symbolic link is followed; the link stays
// and its target receives the new content (Windows: a link under the name is replaced). A file
// of more than 256 MiB is refused, and so is one marked read-only. On Windows a file that another
// program holds open is refused as busy (FileOps::OpenToRead shares it for reading only).
//
// One rewrite of a folder at a time: a run holds the folder's lock (FileOps::LockFolder) from
// before it reads the file until it has replaced it. A run that finds the lock held, by another
// copy of the program or another thread, waits up to 5 s for it, then reads the file that the
// other run left and applies its own rules to it; if it is still held then, the run refuses
// ("файл записывает другая программа") and changes nothing. So does a run where the folder cannot
// be locked at all (a file system without locks): another run may be writing it.
//
// Whole or not at all: the new content is written to TempFile.txt beside the file, flushed to
// the disk, given what the file keeps (FileOps::KeepMetadata), renamed over the file, and the
// folder is flushed after it, so that after a power cut as after a crash the file holds the old
// content or the new. A TempFile.txt found there under the lock, whatever it is, is left by a run
// that ended and is never copied anywhere: it is removed first (a link, not its target). A link
// whose target is itself named TempFile.txt (in any letter case) is refused before anything is
// written or removed.
//
// What the user is told, after the files are closed and the lock let go: after a successful run
// no TempFile.txt remains and `owner` is shown `completionText` ("Сообщение", information icon).
// After a failed run the file is byte for byte as before, the temporary file is removed, and
// `owner` is shown what failed with the stop icon, naming the file by its full path: "Unable to
// open the file." when the file cannot be found or opened, followed by a line that says why, or
// else the step that failed, why, and that the file was not changed; the completion text is not
// shown. Every file-system call goes through `FileOps`.
class ConfigRewriter {
public:
    ConfigRewriter() : m_ops(FileOps::System()) {}
    explicit ConfigRewriter(FileOps& ops) : m_ops(ops) {}

    // True when the file was written (its new lines are in it), and the completion text shown;
    // false when it was not changed, and the failure shown.
    bool RewriteConfigFile(const std::vector<LineRule>& rules, std::string_view completionText,
                           MessageCallback& owner);

private:
    FileOps& m_ops;
};
