#include "config/ConfigRewriter.h"

#include <fcntl.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

constexpr std::size_t kBlockSize = 128 * 1024;

// Why a run failed, in the user's words, with the system's reason.
std::string Reason(int error) {
    switch (error) {
    case ENOSPC:
        return "на диске нет места";
#ifdef EDQUOT
    case EDQUOT:
        return "превышена дисковая квота";
#endif
    case EFBIG:
        return "файл превысил допустимый размер";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case EROFS:
        return "диск доступен только для чтения";
    case EISDIR:
        return "это каталог, а не файл";
    case ENOENT:
        return "файл не найден";
    case EIO:
        return "ошибка ввода-вывода";
    case EEXIST:
        return "файл с таким именем создан другой программой";
    case EBUSY:
        return "файл занят";
    default:
        return std::string("системная ошибка ") + std::to_string(error) + " (" +
               std::strerror(error) + ")";
    }
}

// Lines to replace, prepared for a fast scan. A line is tested only where its bytes start a
// key, against the keys that start there, earliest rule first.
class LineMatcher {
public:
    static constexpr std::size_t kVector = 16;
    using Bytes = unsigned char __attribute__((vector_size(kVector)));

    explicit LineMatcher(const std::vector<LineRule>& rules) : m_rules(rules) {
        m_written.reserve(rules.size());
        std::vector<std::pair<unsigned char, unsigned char>> pairs;
        std::vector<unsigned char> singles;
        for (int i = 0; i < static_cast<int>(rules.size()); ++i) {
            const std::string& key = rules[i].key;
            // The file receives the rule's line in the Windows text convention.
            std::string written;
            for (char c : rules[i].line) {
                if (c == '\n')
                    written += '\r';
                written += c;
            }
            m_written.push_back(std::move(written));

            if (key.empty()) {
                m_anyLine = std::min(m_anyLine, i);
            } else if (key.find_first_of("\r\n") != std::string::npos) {
                // Such a key can only meet the line's end; rare, tested on the whole text.
                m_keysWithLineEnd.push_back(i);
            } else {
                const auto first = static_cast<unsigned char>(key[0]);
                m_byFirstByte[first].push_back(i);
                if (key.size() == 1) {
                    if (std::find(singles.begin(), singles.end(), first) == singles.end())
                        singles.push_back(first);
                } else {
                    const std::pair pair{first, static_cast<unsigned char>(key[1])};
                    if (std::find(pairs.begin(), pairs.end(), pair) == pairs.end())
                        pairs.push_back(pair);
                }
            }
        }
        m_scansFast = m_anyLine == INT_MAX && m_keysWithLineEnd.empty() &&
                      pairs.size() + singles.size() <= kMaxScanned;
        for (const auto& [first, second] : pairs)
            m_pairs.push_back({Splat(first), Splat(second)});
        for (unsigned char first : singles)
            m_singles.push_back(Splat(first));
    }

    // Whether every key is found by Candidates, so that lines where it finds nothing can be
    // copied without a look.
    bool ScansFast() const { return m_scansFast; }

    // Of the sixteen positions at `at`, those where a key may start, and those that hold a line
    // feed with no carriage return before it. Reads the byte before `at` and 16 after.
    Bytes Candidates(const unsigned char* at) const {
        Bytes prev, here;
        std::memcpy(&prev, at - 1, kVector);
        std::memcpy(&here, at, kVector);
        return KeyStarts(at) | ((here == '\n') & (prev != '\r'));
    }

    static bool Any(const Bytes& hits) {
        std::uint64_t halves[2];
        std::memcpy(halves, &hits, kVector);
        return (halves[0] | halves[1]) != 0;
    }

    // The rule that decides a complete line (its bytes before the line end, and the line end as
    // read: '\n' or a lone '\r'), or -1 when no key occurs in it.
    int Match(std::string_view content, char lineEnd) const {
        int best = m_anyLine;
        for (int i : m_keysWithLineEnd) {
            if (i >= best)
                break;
            std::string text(content);
            text += lineEnd;
            if (text.find(m_rules[i].key) != std::string::npos)
                best = i;
        }
        for (std::size_t pos = 0; pos < content.size() && best > 0; ++pos)
            best = TestAt(content, pos, best);
        return best == INT_MAX ? -1 : best;
    }

    // Match for a line found by Candidates when ScansFast: the line's bytes may be read 16 past
    // its end, and only the positions where a key may start are tested.
    int MatchScanning(std::string_view content) const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
        int best = INT_MAX;
        for (std::size_t pos = 0; pos < content.size() && best > 0; pos += kVector) {
            const Bytes hits = KeyStarts(bytes + pos);
            if (!Any(hits))
                continue;
            for (std::size_t k = 0; k < kVector && pos + k < content.size() && best > 0; ++k)
                if (hits[k] != 0)
                    best = TestAt(content, pos + k, best);
        }
        return best == INT_MAX ? -1 : best;
    }

    // Whether a key starts at `pos` of `text`.
    bool KeyStartsAt(std::string_view text, std::size_t pos) const {
        return TestAt(text, pos, INT_MAX) != INT_MAX;
    }

    const std::string& Written(int rule) const { return m_written[rule]; }

private:
    static constexpr std::size_t kMaxScanned = 8;

    // `best`, or the earliest rule before it whose key starts at `pos`.
    int TestAt(std::string_view content, std::size_t pos, int best) const {
        for (int i : m_byFirstByte[static_cast<unsigned char>(content[pos])]) {
            if (i >= best)
                break;
            const std::string& key = m_rules[i].key;
            if (key.size() <= content.size() - pos &&
                std::memcmp(content.data() + pos, key.data(), key.size()) == 0)
                return i;
        }
        return best;
    }

    Bytes KeyStarts(const unsigned char* at) const {
        Bytes here, next;
        std::memcpy(&here, at, kVector);
        std::memcpy(&next, at + 1, kVector);
        Bytes hits = {};
        for (const auto& [first, second] : m_pairs)
            hits |= (here == first) & (next == second);
        for (const Bytes& first : m_singles)
            hits |= here == first;
        return hits;
    }

    static Bytes Splat(unsigned char byte) {
        Bytes v;
        for (std::size_t i = 0; i < kVector; ++i)
            v[i] = byte;
        return v;
    }

    const std::vector<LineRule>& m_rules;
    std::vector<std::string> m_written;
    std::array<std::vector<int>, 256> m_byFirstByte;
    std::vector<std::pair<Bytes, Bytes>> m_pairs;
    std::vector<Bytes> m_singles;
    std::vector<int> m_keysWithLineEnd;
    int m_anyLine = INT_MAX;
    bool m_scansFast = false;
};

enum class Step { Open, Read, WriteTemp, Replace };

struct Failure {
    Step step;
    int error;
};

// Buffered writing to the temporary file; the first failure is kept and later writes skipped.
class BlockWriter {
public:
    BlockWriter(FileOps& ops, int fd) : m_ops(ops), m_fd(fd) { m_buffer.reserve(kBlockSize); }

    void Append(std::string_view bytes) {
        if (m_buffer.size() + bytes.size() > kBlockSize) {
            Flush();
            if (bytes.size() >= kBlockSize / 2) {
                WriteAll(bytes); // a long run goes straight from the read buffer
                return;
            }
        }
        m_buffer.append(bytes);
    }
    bool Flush() {
        WriteAll(m_buffer);
        m_buffer.clear();
        return m_error == 0;
    }
    int error() const { return m_error; }

private:
    void WriteAll(std::string_view bytes) {
        std::size_t done = 0;
        while (m_error == 0 && done < bytes.size()) {
            const ssize_t n = m_ops.Write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else
                m_error = n < 0 ? errno : EIO;
        }
    }

    FileOps& m_ops;
    int m_fd;
    std::string m_buffer;
    int m_error = 0;
};

// The first pass over whole lines: `chunk` starts at the start of a line and, unless it is the
// end of the file, ends just after a line end. Writes the chunk with each line that holds a key
// replaced and each line end in the Windows convention.
class ChunkRewriter {
public:
    ChunkRewriter(const LineMatcher& matcher, BlockWriter& writer)
        : m_matcher(matcher), m_writer(writer) {}

    // `chunk` may be read 1 byte before and LineMatcher::kVector + 1 bytes after.
    void Rewrite(std::string_view chunk) {
        if (m_matcher.ScansFast())
            RewriteScanning(chunk);
        else
            RewriteLineByLine(chunk);
    }

private:
    struct Line {
        std::size_t start, end, next; // content [start, end), line end [end, next)
        char lineEnd;                 // as read: '\n' (LF or CR LF) or '\r'; 0 when none
    };

    // The line around position `at`, which lies after `from`, a line start.
    static Line LineAround(std::string_view chunk, std::size_t from, std::size_t at) {
        Line line{at, at, 0, 0};
        while (line.start > from && chunk[line.start - 1] != '\n' && chunk[line.start - 1] != '\r')
            --line.start;
        while (line.end < chunk.size() && chunk[line.end] != '\n' && chunk[line.end] != '\r')
            ++line.end;
        if (line.end == chunk.size()) {
            line.next = line.end; // the file's last line, without line end
        } else if (chunk[line.end] == '\r' && line.end + 1 < chunk.size() &&
                   chunk[line.end + 1] == '\n') {
            line.lineEnd = '\n'; // CR LF reads as one LF
            line.next = line.end + 2;
        } else {
            line.lineEnd = chunk[line.end];
            line.next = line.end + 1;
        }
        return line;
    }

    // The line's rule, or -1. A line without line end is never replaced.
    int RuleOf(std::string_view chunk, const Line& line) const {
        if (line.lineEnd == 0)
            return -1;
        const std::string_view content = chunk.substr(line.start, line.end - line.start);
        return m_matcher.ScansFast() ? m_matcher.MatchScanning(content)
                                     : m_matcher.Match(content, line.lineEnd);
    }

    // Runs of lines that need no change are copied as they stand; the scan stops only where a
    // key may start or a line feed lacks its carriage return.
    void RewriteScanning(std::string_view chunk) {
        constexpr std::size_t kVector = LineMatcher::kVector;
        const auto* bytes = reinterpret_cast<const unsigned char*>(chunk.data());
        const std::size_t size = chunk.size();
        std::size_t copied = 0; // [copied, pos) is still to be copied as it stands
        std::size_t pos = 0;
        while (pos < size) {
            const LineMatcher::Bytes hits = m_matcher.Candidates(bytes + pos);
            if (!LineMatcher::Any(hits)) {
                pos += kVector;
                continue;
            }
            std::size_t resume = pos + kVector;
            for (std::size_t k = 0; k < kVector && pos + k < size; ++k) {
                if (hits[k] == 0)
                    continue;
                const std::size_t at = pos + k;
                if (chunk[at] == '\n') {
                    m_writer.Append(chunk.substr(copied, at - copied));
                    m_writer.Append("\r\n");
                    copied = at + 1;
                    continue;
                }
                if (!m_matcher.KeyStartsAt(chunk, at))
                    continue; // only the first two bytes of a key
                const Line line = LineAround(chunk, copied, at);
                const int rule = RuleOf(chunk, line);
                if (rule >= 0) {
                    m_writer.Append(chunk.substr(copied, line.start - copied));
                    m_writer.Append(m_matcher.Written(rule));
                    copied = line.next;
                    resume = line.next;
                } else {
                    resume = line.end; // its line end still needs the scan
                }
                break;
            }
            pos = resume;
        }
        if (copied < size)
            m_writer.Append(chunk.substr(copied));
    }

    void RewriteLineByLine(std::string_view chunk) {
        std::size_t pos = 0;
        while (pos < chunk.size()) {
            const Line line = LineAround(chunk, pos, pos);
            const int rule = RuleOf(chunk, line);
            if (rule >= 0) {
                m_writer.Append(m_matcher.Written(rule));
            } else {
                m_writer.Append(chunk.substr(line.start, line.end - line.start));
                if (line.lineEnd == '\n')
                    m_writer.Append("\r\n");
                else if (line.lineEnd == '\r')
                    m_writer.Append("\r");
            }
            pos = line.next;
        }
    }

    const LineMatcher& m_matcher;
    BlockWriter& m_writer;
};

#ifdef _WIN32
// The C library here has no memrchr: the last `byte` among the `size` bytes at `data`, or null.
const void* memrchr(const void* data, int byte, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        if (bytes[--size] == static_cast<unsigned char>(byte))
            return bytes + size;
    }
    return nullptr;
}
#endif

// Where the last complete line of `data` ends: after its last LF, or after a later CR that is
// known to stand alone (a byte other than LF follows it). 0 when no line is complete yet.
std::size_t EndOfCompleteLines(const char* data, std::size_t size) {
    const void* lf = memrchr(data, '\n', size);
    const std::size_t afterLf = lf == nullptr ? 0 : static_cast<const char*>(lf) - data + 1;
    if (size - afterLf >= 2) {
        if (const void* cr = memrchr(data + afterLf, '\r', size - afterLf - 1))
            return static_cast<const char*>(cr) - data + 1;
    }
    return afterLf;
}

// The first pass: the configuration file to the temporary file. Reads blocks, hands on the
// complete lines of each and keeps the incomplete last one for the next block; the buffer grows
// only for a line longer than a block.
std::optional<Failure> CopyReplacingLines(FileOps& ops, int in, int out,
                                          const std::vector<LineRule>& rules) {
    const LineMatcher matcher(rules);
    BlockWriter writer(ops, out);
    ChunkRewriter rewriter(matcher, writer);

    // One byte before the data and room after it for the 16-byte scan.
    constexpr std::size_t kBefore = 1;
    constexpr std::size_t kAfter = 2 * LineMatcher::kVector;
    std::size_t capacity = kBlockSize;
    std::vector<char> buffer(kBefore + capacity + kAfter);
    std::size_t have = 0;
    for (;;) {
        if (have == capacity) {
            capacity *= 2;
            buffer.resize(kBefore + capacity + kAfter);
        }
        char* const data = buffer.data() + kBefore;
        const ssize_t n = ops.Read(in, data + have, capacity - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failure{Step::Read, errno};
        }
        if (n == 0) {
            rewriter.Rewrite({data, have});
            break;
        }
        have += static_cast<std::size_t>(n);
        const std::size_t complete = EndOfCompleteLines(data, have);
        if (complete == 0)
            continue;
        rewriter.Rewrite({data, complete});
        std::memmove(data, data + complete, have - complete);
        have -= complete;
        if (writer.error() != 0)
            return Failure{Step::WriteTemp, writer.error()};
    }
    if (!writer.Flush())
        return Failure{Step::WriteTemp, writer.error()};
    return std::nullopt;
}

#ifdef _WIN32

// The name under which the configuration file is found in the current directory, as the
// directory holds it: the file system ignores letter case, and the file that replaces
// "aircraft.CFG" must keep that name. Empty when there is none.
std::string FindConfigFile() {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(L"Aircraft.cfg", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    FindClose(search);
    char name[4 * MAX_PATH];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, name, sizeof name, nullptr, nullptr);
    return size > 1 ? std::string(name) : std::string(kConfigFileName);
}

// A symbolic link under the name is replaced by the new file, as Windows programs save files.
std::string ReplacedFile(const std::string& name) {
    return name;
}

#else

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(*a) != lower(*b))
            return false;
    }
    return *a == *b;
}

// The name under which the configuration file is found in the current directory: the exact
// name, or else the one entry that is the same regardless of letter case. Empty when there is
// none, or more than one.
std::string FindConfigFile() {
    struct stat info;
    if (::lstat(kConfigFileName, &info) == 0)
        return kConfigFileName;
    if (errno != ENOENT)
        return {};
    DIR* dir = ::opendir(".");
    if (dir == nullptr)
        return {};
    std::string found;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (SameNameIgnoringCase(entry->d_name, kConfigFileName)) {
            found = entry->d_name;
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? found : std::string();
}

// The file whose content is replaced: the configuration file itself, or the final target when
// it is a symbolic link (the link stays). Empty when a link leads nowhere.
std::string ReplacedFile(const std::string& name) {
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return name;
    char* resolved = ::realpath(name.c_str(), nullptr);
    if (resolved == nullptr)
        return {};
    std::string target(resolved);
    std::free(resolved);
    return target;
}

#endif

// The temporary file sits beside the file it replaces, so that the rename stays on one disk.
std::string TempFileBeside(const std::string& target) {
    const auto slash = target.rfind('/');
    if (slash == std::string::npos)
        return kTempFileName;
    return target.substr(0, slash + 1) + kTempFileName;
}

class Rewrite {
public:
    Rewrite(FileOps& ops, const std::vector<LineRule>& rules) : m_ops(ops), m_rules(rules) {}
    ~Rewrite() {
        if (m_in >= 0)
            m_ops.Close(m_in);
        if (m_out >= 0)
            m_ops.Close(m_out);
        if (m_tempCreated)
            m_ops.Unlink(m_tempPath.c_str());
    }

    std::optional<Failure> Run() {
        m_name = FindConfigFile();
        if (m_name.empty())
            return Failure{Step::Open, ENOENT};
        const std::string target = ReplacedFile(m_name);
        if (target.empty())
            return Failure{Step::Open, ENOENT};

#ifdef _WIN32
        m_in = m_ops.Open(target.c_str(), O_RDONLY, 0);
        if (m_in < 0)
            return Failure{Step::Open, errno};
        FileAttributes kept;
        if (m_ops.GetAttributes(m_in, &kept) != 0)
            return Failure{Step::Open, errno};
        if ((kept.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Failure{Step::Open, EISDIR};
        // A file that is marked read-only stays as it is.
        if ((kept.attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return Failure{Step::Replace, EACCES};
#else
        // O_NONBLOCK: a FIFO under the file's name must not hang the program.
        m_in = m_ops.Open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
        if (m_in < 0)
            return Failure{Step::Open, errno};
        struct stat info;
        if (m_ops.Fstat(m_in, &info) != 0)
            return Failure{Step::Open, errno};
        if (!S_ISREG(info.st_mode))
            return Failure{Step::Open, S_ISDIR(info.st_mode) ? EISDIR : EINVAL};
        // A file that is marked read-only stays as it is, even where the directory would let
        // the rename replace it.
        if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return Failure{Step::Replace, EACCES};
#endif

        // Whatever an earlier run left under the temporary name is not ours: remove it (a link
        // itself, never its target), then create the file afresh.
        m_tempPath = TempFileBeside(target);
        if (m_ops.Unlink(m_tempPath.c_str()) != 0 && errno != ENOENT)
            return Failure{Step::WriteTemp, errno};
#ifdef _WIN32
        m_out = m_ops.Open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (m_out < 0)
            return Failure{Step::WriteTemp, errno};
        m_tempCreated = true;
        // The new file keeps the old one's creation time and its attributes: hidden, system,
        // not indexed. It is marked as changed since the last backup, as any file written is.
        kept.attributes &=
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        kept.attributes |= FILE_ATTRIBUTE_ARCHIVE;
        if (m_ops.SetAttributes(m_out, kept) != 0)
            return Failure{Step::WriteTemp, errno};
#else
        m_out = m_ops.Open(m_tempPath.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (m_out < 0)
            return Failure{Step::WriteTemp, errno};
        m_tempCreated = true;
        // The new file keeps the old one's owner (where we may set it) and permission bits.
        [[maybe_unused]] const int ignored = ::fchown(m_out, info.st_uid, info.st_gid);
        if (m_ops.Fchmod(m_out, info.st_mode & 07777) != 0)
            return Failure{Step::WriteTemp, errno};
#endif

        if (auto failure = CopyReplacingLines(m_ops, m_in, m_out, m_rules))
            return failure;
        if (m_ops.Fsync(m_out) != 0)
            return Failure{Step::WriteTemp, errno};
        const int out = std::exchange(m_out, -1);
        if (m_ops.Close(out) != 0)
            return Failure{Step::WriteTemp, errno};
        const int in = std::exchange(m_in, -1);
        if (m_ops.Close(in) != 0)
            return Failure{Step::Read, errno};

        if (m_ops.Rename(m_tempPath.c_str(), target.c_str()) != 0)
            return Failure{Step::Replace, errno};
        m_tempCreated = false;
        SyncDirectoryOf(target);
        return std::nullopt;
    }

    const std::string& name() const {
        return m_name;
    }

private:
    // Makes the rename itself durable. The file is already replaced; a failure here is not one
    // of the run. (On Windows the rename has written itself through already.)
    static void SyncDirectoryOf([[maybe_unused]] const std::string& target) {
#ifndef _WIN32
        const auto slash = target.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
#endif
    }

    FileOps& m_ops;
    const std::vector<LineRule>& m_rules;
    std::string m_name;
    std::string m_tempPath;
    int m_in = -1;
    int m_out = -1;
    bool m_tempCreated = false;
};

std::string Quoted(const std::string& name) {
    return "«" + name + "»";
}

} // namespace

void ConfigRewriter::RewriteConfigFile(const std::vector<LineRule>& rules,
                                       std::string_view completionText, MessageCallback& owner) {
    std::optional<Failure> failure;
    std::string name;
    {
        Rewrite rewrite(m_ops, rules);
        failure = rewrite.Run();
        name = rewrite.name().empty() ? kConfigFileName : rewrite.name();
    } // files closed and the temporary file removed before the user is told

    if (!failure) {
        owner.ShowMessage(completionText, kCaptionMessage, MessageIcon::Information);
        return;
    }
    const std::string unchanged = "\r\nФайл " + Quoted(name) + " не изменен.";
    switch (failure->step) {
    case Step::Open:
        owner.ShowMessage("Unable to open the file.", kApplicationTitle, MessageIcon::Stop);
        break;
    case Step::Read:
        owner.ShowMessage("Не удалось прочитать файл " + Quoted(name) + ": " +
                              Reason(failure->error) + "." + unchanged,
                          kCaptionError, MessageIcon::Stop);
        break;
    case Step::WriteTemp:
        owner.ShowMessage("Не удалось записать временный файл " + Quoted(kTempFileName) + ": " +
                              Reason(failure->error) + "." + unchanged,
                          kCaptionError, MessageIcon::Stop);
        break;
    case Step::Replace:
        owner.ShowMessage("Не удалось заменить файл " + Quoted(name) + ": " +
                              Reason(failure->error) + "." + unchanged,
                          kCaptionError, MessageIcon::Stop);
        break;
    }
}
