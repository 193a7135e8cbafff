#include "support/TestSupport.h"

#include "payload/PayloadState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>

#include <chrono>
#include <string>
#endif

namespace fs = std::filesystem;

namespace {

class PayloadTotalsAtZero : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*test*/) override { ResetPayloadTotals(); }
};

} // namespace

void StartEveryCaseWithThePayloadTotalsAtZero() {
    // The listeners own what they are given.
    ::testing::UnitTest::GetInstance()->listeners().Append(new PayloadTotalsAtZero);
}

#ifdef _WIN32

// The C library here has no mkdtemp: a name made of the process, the time and a count, taken
// only if no directory has it yet.
ScratchDirectory::ScratchDirectory() : m_previous(fs::current_path()) {
    static unsigned count = 0;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; m_path.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("no new scratch directory");
        const fs::path path =
            fs::temp_directory_path() / ("il18-test-" + std::to_string(_getpid()) + "-" +
                                         std::to_string(now) + "-" + std::to_string(count++));
        if (fs::create_directory(path))
            m_path = path;
    }
    fs::current_path(m_path);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
    // A read-only file cannot be deleted there until it is writable again.
    for (fs::recursive_directory_iterator it(m_path, ignored), end; it != end;
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(m_path, ignored);
}

#else

ScratchDirectory::ScratchDirectory() : m_previous(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "il18-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    fs::current_path(m_path);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
    fs::remove_all(m_path, ignored);
}

#endif

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        ADD_FAILURE() << "cannot read " << path;
    std::string bytes;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        ADD_FAILURE() << "cannot write " << path;
}

fs::path DataFile(std::string_view name) {
    return fs::path(LOADER_DATA_DIR) / name;
}

fs::path SharedDataFile(std::string_view relative) {
    const fs::path path = fs::path(LOADER_TESTDATA_DIR) / relative;
    std::error_code error;
    return fs::exists(path, error) ? path : fs::path();
}

std::string FullPathOf(std::string_view name) {
    const std::u8string path = (fs::current_path() / name).u8string();
    return std::string(path.begin(), path.end());
}

std::string CaseName(std::string_view text) {
    if (text.empty())
        return "empty";
    std::string name;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            name += c;
        else
            name += c == '-' ? "minus" : c == '+' ? "plus" : c == '.' ? "dot" : "_";
    }
    // Digits alone would read as the index of a case that has no name.
    if (name.find_first_not_of("0123456789") == std::string::npos)
        name = "Number" + name;
    return name;
}

std::vector<std::string> Lines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size() - 1) + 1;
        lines.emplace_back(bytes.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::vector<KeyLine> ExpectOtherLinesUnchanged(std::string_view before, std::string_view after,
                                               const std::vector<std::string>& keys) {
    const std::vector<std::string> oldLines = Lines(before);
    const std::vector<std::string> newLines = Lines(after);
    EXPECT_EQ(newLines.size(), oldLines.size());
    std::vector<KeyLine> keyLines;
    for (std::size_t i = 0; i < oldLines.size() && i < newLines.size(); ++i) {
        std::string old = oldLines[i];
        const bool ended = old.ends_with('\n');
        if (ended)
            old.erase(old.size() - (old.ends_with("\r\n") ? 2 : 1));
        std::size_t key = 0;
        while (key < keys.size() && (!ended || old.find(keys[key]) == std::string::npos))
            ++key;
        if (key == keys.size()) {
            EXPECT_EQ(newLines[i], ended ? old + "\r\n" : old) << "line " << i + 1;
            continue;
        }
        std::string text = newLines[i];
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        keyLines.push_back({i, key, text});
    }
    return keyLines;
}
