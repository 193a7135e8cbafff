// Feeds the rewrite arbitrary files, rule sets, read sizes and failing file operations, entirely
// in memory through the rewriter's file operations, and checks the outcome: without a failure the
// new content is the plain one-character-at-a-time model's (for UTF-16 files in UTF-16), with one
// the file is not replaced unless only the folder's flush was left, and no temporary file stays.
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "config/PayloadStationRules.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr int kConfigFd = 1000;
constexpr int kTempFd = 1001;
constexpr int kFolderFd = 1002; // the lock

// One directory holding Aircraft.cfg, whose content is `input`, read in pieces of varying size.
// The temporary file exists from its creation to its removal or rename. Operation number
// `failAt` (from 1; 0 for none) fails with EIO.
class MemoryFiles : public FileOps {
public:
    MemoryFiles(std::string_view input, std::uint32_t seed, int failAt)
        : m_input(input), m_seed(seed | 1), m_failAt(failAt) {}

    std::string written; // the temporary file's content
    bool tempExists = false;
    bool replaced = false;
    int calls = 0;
    int renamedAt = 0;
    bool unlinkFailed = false; // the removal of the temporary file, if that was the one to fail

    int ListDirectory(const char*, std::vector<std::string>& names) override {
        if (Fails())
            return -1;
        names = {kConfigFileName};
        return 0;
    }
    PathKind KindOfPath(const char*) override { return PathKind::File; }
    int ResolveLinks(const char* path, std::string& resolved) override {
        resolved = path;
        return Fails() ? -1 : 0;
    }
    int LockFolder(const char*, int) override { return Fails() ? -1 : kFolderFd; }
    void Unlock(int) override {}
    int OpenToRead(const char* path, FileInfo& info) override {
        if (Fails())
            return -1;
        // What the file says of its size need not be right.
        info.size = static_cast<std::int64_t>(m_seed % 5 == 0 ? 7 : m_input.size());
        return std::strcmp(path, kConfigFileName) == 0 ? kConfigFd : (errno = ENOENT, -1);
    }
    int CreateExclusive(const char* path) override {
        if (Fails())
            return -1;
        if (std::strcmp(path, kTempFileName) != 0 || tempExists)
            return errno = EEXIST, -1;
        tempExists = true;
        written.clear();
        return kTempFd;
    }
    int KeepMetadata(int, const FileInfo&) override { return Fails() ? -1 : 0; }
    ssize_t Read(int fd, void* buffer, size_t size) override {
        if (Fails())
            return -1;
        if (fd != kConfigFd)
            return errno = EBADF, -1;
        // Short reads of every size, small ones most often.
        m_seed ^= m_seed << 13;
        m_seed ^= m_seed >> 17;
        m_seed ^= m_seed << 5;
        const std::size_t want = m_seed % 4 == 0 ? m_seed % 9000 + 1 : m_seed % 64 + 1;
        const std::size_t n = std::min({want, size, m_input.size() - m_offset});
        std::memcpy(buffer, m_input.data() + m_offset, n);
        m_offset += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t Write(int fd, const void* buffer, size_t size) override {
        if (Fails())
            return -1;
        if (fd != kTempFd)
            return errno = EBADF, -1;
        // Short writes now and then.
        const std::size_t n = size > 1 && m_seed % 3 == 0 ? size / 2 : size;
        written.append(static_cast<const char*>(buffer), n);
        return static_cast<ssize_t>(n);
    }
    int Fsync(int) override { return Fails() ? -1 : 0; }
    int Close(int) override { return Fails() ? -1 : 0; }
    int FlushFolder(int) override { return Fails() ? -1 : 0; }
    int Rename(const char* from, const char* to) override {
        if (Fails())
            return -1;
        if (!tempExists || std::strcmp(from, kTempFileName) != 0 ||
            std::strcmp(to, kConfigFileName) != 0)
            std::abort();
        tempExists = false;
        replaced = true;
        renamedAt = calls;
        return 0;
    }
    int Unlink(const char* path) override {
        if (Fails())
            return unlinkFailed = true, -1;
        if (std::strcmp(path, kTempFileName) != 0 || !tempExists)
            return errno = ENOENT, -1;
        tempExists = false;
        return 0;
    }

private:
    bool Fails() {
        if (++calls != m_failAt)
            return false;
        errno = EIO;
        return true;
    }

    std::string_view m_input;
    std::size_t m_offset = 0;
    std::uint32_t m_seed;
    int m_failAt;
};

struct Shown : MessageCallback {
    void ShowMessage(std::string_view, std::string_view, MessageIcon shown) override {
        ++count;
        icon = shown;
    }
    int count = 0;
    MessageIcon icon = MessageIcon::Information;
};

// Rules of the fuzzer's own: a count, then per rule a key and a line, each length-prefixed.
std::vector<LineRule> ParseRules(std::string_view& data) {
    std::vector<LineRule> rules;
    auto take = [&data](std::size_t limit) {
        if (data.empty())
            return std::string();
        const std::size_t n =
            std::min<std::size_t>(static_cast<unsigned char>(data[0]) % limit, data.size() - 1);
        std::string piece(data.substr(1, n));
        data.remove_prefix(n + 1);
        return piece;
    };
    const int count = data.empty() ? 0 : static_cast<unsigned char>(data[0]) % 12;
    if (!data.empty())
        data.remove_prefix(1);
    for (int i = 0; i < count; ++i) {
        std::string key = take(6);
        std::string line = take(12);
        rules.push_back({std::move(key), std::move(line)});
    }
    return rules;
}

[[noreturn]] void Fault(const char* what, std::size_t rules, std::size_t bytes, int failAt) {
    std::fprintf(stderr, "%s (%zu rules, %zu bytes, operation %d failing)\n", what, rules, bytes,
                 failAt);
    std::abort();
}

} // namespace

// What the file becomes by the model: its own rewrite for bytes, the rewrite of its text for
// UTF-16 after a byte-order mark; nothing when that is not UTF-16. (ExpectedFile.cpp)
std::optional<std::string> ExpectedFile(std::string_view file, const std::vector<LineRule>& rules);

// Input: a byte choosing the rules (three fixed sets, or the fuzzer's own that follow), a byte
// choosing the failing operation (most inputs none), then the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view data(reinterpret_cast<const char*>(bytes), size);
    std::uint32_t seed = static_cast<std::uint32_t>(size) * 2654435761u;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 8); ++i)
        seed = seed * 31 + bytes[i];
    const auto take = [&data] {
        const int byte = data.empty() ? 0 : static_cast<unsigned char>(data[0]);
        data.remove_prefix(data.empty() ? 0 : 1);
        return byte;
    };

    const int choice = take();
    const int failByte = take();
    const int failAt = failByte >= 192 ? failByte - 191 : 0;
    static const std::vector<LineRule> fuel = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    static const std::vector<LineRule> payload = MakePayloadStationRules(22, 65, 15, 2000, 1500);
    static const std::vector<LineRule> odd = {{"", "all\n"}, {"Center", "c\n"}, {"1\n", "one\n"}};
    std::vector<LineRule> own;
    if (choice % 4 == 3)
        own = ParseRules(data);
    const std::vector<LineRule>& rules = choice % 4 == 0   ? fuel
                                         : choice % 4 == 1 ? payload
                                         : choice % 4 == 2 ? odd
                                                           : own;

    MemoryFiles files(data, seed, failAt);
    Shown shown;
    ConfigRewriter(files).RewriteConfigFile(rules, "done", shown);
    if (shown.count != 1 || (files.tempExists && !files.unlinkFailed))
        Fault("not one message, or a temporary file left", rules.size(), data.size(), failAt);
    const bool injected = failAt > 0 && failAt <= files.calls;
    if (injected && !files.replaced) {
        if (shown.icon != MessageIcon::Stop)
            Fault("a failed run said it was done", rules.size(), data.size(), failAt);
        return 0;
    }
    const std::optional<std::string> expected = ExpectedFile(data, rules);
    if (files.replaced) {
        // Done, unless the failure came after the rename: only the folder's flush was left.
        if (shown.icon != MessageIcon::Information || !expected || files.written != *expected ||
            (injected && failAt < files.renamedAt))
            Fault("the file was replaced by other than the model's content", rules.size(),
                  data.size(), failAt);
    } else if (shown.icon != MessageIcon::Stop || (!injected && expected)) {
        Fault("the file was not replaced, and no failure says why", rules.size(), data.size(),
              failAt);
    }
    return 0;
}
