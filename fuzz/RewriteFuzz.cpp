// Feeds the rewrite arbitrary files, rule sets and read sizes, entirely in memory through the
// rewriter's file operations, and checks the result against the plain one-character-at-a-time
// model of the tests.
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "config/PayloadStationRules.h"
#include "config/RewriteModel.h" // in tests/

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kConfigFd = 1000;
constexpr int kTempFd = 1001;

// The configuration file is `input`, read in pieces of varying size; the temporary file is kept
// in `written`. Half the time the file says it is large, so that it is scanned beside the reading
// and writing, block by block as the short reads hand it on.
class MemoryFiles : public FileOps {
public:
    MemoryFiles(std::string_view input, std::uint32_t seed)
        : m_input(input), m_seed(seed | 1), m_saysLarge((seed & 2) != 0) {}

    std::string written;
    bool replaced = false;

    int Open(const char* path, int flags, mode_t) override {
        return (flags & O_ACCMODE) == O_RDONLY         ? kConfigFd
               : std::strcmp(path, kTempFileName) == 0 ? kTempFd
                                                       : (errno = EACCES, -1);
    }
    ssize_t Read(int fd, void* buffer, size_t size) override {
        if (fd != kConfigFd)
            return errno = EBADF, -1;
        // Short reads of every size, small ones most often.
        m_seed ^= m_seed << 13;
        m_seed ^= m_seed >> 17;
        m_seed ^= m_seed << 5;
        const std::size_t want = m_seed % 4 == 0 ? m_seed % 300000 + 1 : m_seed % 64 + 1;
        const std::size_t n = std::min({want, size, m_input.size() - m_offset});
        std::memcpy(buffer, m_input.data() + m_offset, n);
        m_offset += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t Write(int fd, const void* buffer, size_t size) override {
        if (fd != kTempFd)
            return errno = EBADF, -1;
        written.append(static_cast<const char*>(buffer), size);
        return static_cast<ssize_t>(size);
    }
    int Fstat(int, struct stat* info) override {
        *info = {};
        info->st_mode = S_IFREG | 0644;
        info->st_size = m_saysLarge ? off_t{1} << 30 : static_cast<off_t>(m_input.size());
        return 0;
    }
    int Fchmod(int, mode_t) override { return 0; }
    int SyncFileRange(int fd, off_t, off_t) override {
        return fd == kTempFd ? 0 : (errno = EBADF, -1);
    }
    int Fsync(int) override { return 0; }
    int Close(int) override { return 0; }
    int Rename(const char*, const char*) override { return replaced = true, 0; }
    int Unlink(const char*) override { return errno = ENOENT, -1; }

private:
    std::string_view m_input;
    std::size_t m_offset = 0;
    std::uint32_t m_seed;
    bool m_saysLarge;
};

struct Silent : MessageCallback {
    void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The rewrite looks for the file by name in the current directory before it opens it.
    char pattern[] = "/tmp/il18-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0)
        std::abort();
    std::FILE* placeholder = std::fopen(kConfigFileName, "wb");
    if (placeholder == nullptr)
        std::abort();
    std::fclose(placeholder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view data(reinterpret_cast<const char*>(bytes), size);
    std::uint32_t seed = static_cast<std::uint32_t>(size) * 2654435761u;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 8); ++i)
        seed = seed * 31 + bytes[i];

    std::vector<LineRule> rules;
    switch (size == 0 ? 0 : bytes[0] % 4) {
    case 0:
        rules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
        break;
    case 1:
        rules = MakePayloadStationRules(22, 65, 15, 2000, 1500);
        break;
    case 2:
        rules = {{"", "all\n"}, {"Center", "c\n"}};
        break;
    default:
        data.remove_prefix(1);
        rules = ParseRules(data);
        break;
    }

    MemoryFiles files(data, seed);
    Silent silent;
    ConfigRewriter(files).RewriteConfigFile(rules, "done", silent);
    if (!files.replaced || files.written != ExpectedRewrite(data, rules)) {
        std::fprintf(stderr, "rewrite differs from the model (%zu rules, %zu bytes)\n",
                     rules.size(), data.size());
        std::abort();
    }
    return 0;
}
