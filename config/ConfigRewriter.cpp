#include "config/ConfigRewriter.h"

#include <fcntl.h>
#include <pthread.h>

#ifdef _WIN32
#include "config/Win32Api.h"
#else
#include <dirent.h>
#include <unistd.h>
#endif

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace {

// The file is read in blocks of this size, and the new content is written in blocks of it.
constexpr std::size_t kBlockSize = 512 * 1024;
// The least that is read at once, however small the file says it is.
constexpr std::size_t kLeastRead = 4096;
// Blocks of new content that the scan may fill before they are written.
constexpr std::size_t kOutputBlocks = 4;
// Each time this much more of the temporary file is written, it is sent on its way to the disk,
// so that the flush at the end finds little left to write.
constexpr std::int64_t kWritebackWindow = 4 * 1024 * 1024;

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

// The scan reads 16 bytes at a time and turns comparisons into one bit per byte.
constexpr std::size_t kVector = 16;
using Bytes = unsigned char __attribute__((vector_size(kVector)));

Bytes Load(const unsigned char* at) {
    Bytes bytes;
    std::memcpy(&bytes, at, kVector);
    return bytes;
}

Bytes Splat(unsigned char byte) {
    Bytes bytes;
    for (std::size_t i = 0; i < kVector; ++i)
        bytes[i] = byte;
    return bytes;
}

// One bit for each byte of a comparison's result that is true, the first byte's lowest.
std::uint32_t BitsOf(Bytes result) {
#if defined(__SSE2__)
    return static_cast<std::uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(result)));
#else
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < kVector; ++i)
        bits |= static_cast<std::uint32_t>(result[i] >> 7) << i;
    return bits;
#endif
}

// Of the 16 bytes at `at`, those that end a line (LF or CR).
std::uint32_t LineEndsAt(const unsigned char* at) {
    const Bytes here = Load(at);
    return BitsOf((here == '\n') | (here == '\r'));
}

// Lines to replace, prepared for a fast scan. A line is tested only where its bytes start a
// key, against the keys that start there, earliest rule first.
class LineMatcher {
public:
    // The positions that Events looks at in one go.
    static constexpr std::size_t kSpan = 4 * kVector;

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
                m_byFirstByte[first].push_back(KeyOf(i, key));
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

    // Whether every key is found by Events, so that lines where it finds nothing can be copied
    // without a look.
    bool ScansFast() const { return m_scansFast; }

    // Of the kSpan positions from `at`, those where a key may start (its first two bytes are
    // there) and those that hold a line feed with no carriage return before it, one bit each, the
    // first position's lowest. Reads the byte before `at` and 80 after it.
    std::uint64_t Events(const unsigned char* at) const {
        constexpr std::size_t kParts = kSpan / kVector;
        Bytes here[kParts], next[kParts], hits[kParts];
        for (std::size_t j = 0; j < kParts; ++j) {
            here[j] = Load(at + j * kVector);
            next[j] = Load(at + j * kVector + 1);
            hits[j] = (here[j] == '\n') & (Load(at + j * kVector - 1) != '\r');
        }
        for (const auto& [first, second] : m_pairs)
            for (std::size_t j = 0; j < kParts; ++j)
                hits[j] |= (here[j] == first) & (next[j] == second);
        for (const Bytes& first : m_singles)
            for (std::size_t j = 0; j < kParts; ++j)
                hits[j] |= here[j] == first;
        std::uint64_t bits = 0;
        for (std::size_t j = 0; j < kParts; ++j)
            bits |= std::uint64_t{BitsOf(hits[j])} << (j * kVector);
        return bits;
    }

    // The earliest rule whose key starts at `pos` of `text`, or -1.
    int RuleAt(std::string_view text, std::size_t pos) const {
        const int rule = TestAt(text, pos, INT_MAX);
        return rule == INT_MAX ? -1 : rule;
    }

    // Where the line that holds the key of rule `best` at `at` ends: the position of its LF or
    // CR, or the end of `chunk` when it has none. `best` becomes the earliest rule whose key
    // starts anywhere in the line from `at` on. Reads 17 bytes past the end of `chunk`.
    std::size_t LineEndFrom(std::string_view chunk, std::size_t at, int& best) const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(chunk.data());
        for (std::size_t pos = at + 1; pos < chunk.size(); pos += kVector) {
            const std::uint32_t ends = LineEndsAt(bytes + pos);
            const std::size_t length = std::min<std::size_t>(
                ends != 0 ? std::countr_zero(ends) : kVector, chunk.size() - pos);
            if (best > 0) {
                std::uint32_t keys = KeyStarts(bytes + pos) & ((1u << length) - 1);
                for (; keys != 0 && best > 0; keys &= keys - 1)
                    best =
                        TestAt(chunk, pos + static_cast<std::size_t>(std::countr_zero(keys)), best);
            }
            if (length < kVector)
                return pos + length;
        }
        return chunk.size();
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

    const std::string& Written(int rule) const { return m_written[rule]; }

private:
    static constexpr std::size_t kMaxScanned = 8;

    // A key, with its first and last eight bytes as numbers for a quick comparison.
    struct Key {
        int rule;
        std::size_t size;
        const char* bytes;
        std::uint64_t head, headMask, tail;
    };

    static std::uint64_t Load8(const char* at) {
        std::uint64_t bytes;
        std::memcpy(&bytes, at, sizeof bytes);
        return bytes;
    }

    static Key KeyOf(int rule, const std::string& key) {
        Key k{rule, key.size(), key.data(), 0, 0, 0};
        char head[8] = {}, mask[8] = {};
        for (std::size_t i = 0; i < std::min<std::size_t>(8, key.size()); ++i) {
            head[i] = key[i];
            mask[i] = '\xff';
        }
        std::memcpy(&k.head, head, 8);
        std::memcpy(&k.headMask, mask, 8);
        if (key.size() > 8)
            k.tail = Load8(key.data() + std::min<std::size_t>(key.size(), 16) - 8);
        return k;
    }

    // `best`, or the earliest rule before it whose key starts at `pos`. Reads up to 8 bytes past
    // the end of `content`.
    int TestAt(std::string_view content, std::size_t pos, int best) const {
        const char* at = content.data() + pos;
        for (const Key& key : m_byFirstByte[static_cast<unsigned char>(*at)]) {
            if (key.rule >= best)
                break;
            if (key.size > content.size() - pos || (Load8(at) & key.headMask) != key.head)
                continue;
            if (key.size <= 8)
                return key.rule;
            if (key.size <= 16 ? Load8(at + key.size - 8) == key.tail
                               : std::memcmp(at + 8, key.bytes + 8, key.size - 8) == 0)
                return key.rule;
        }
        return best;
    }

    // Of the 16 positions at `at`, those where a key may start.
    std::uint32_t KeyStarts(const unsigned char* at) const {
        const Bytes here = Load(at);
        const Bytes next = Load(at + 1);
        Bytes hits = {};
        for (const auto& [first, second] : m_pairs)
            hits |= (here == first) & (next == second);
        for (const Bytes& first : m_singles)
            hits |= here == first;
        return BitsOf(hits);
    }

    const std::vector<LineRule>& m_rules;
    std::vector<std::string> m_written;
    std::array<std::vector<Key>, 256> m_byFirstByte; // by the key's first byte, in rule order
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

// Writes the temporary file; the first failure is kept and later writes skipped.
class TempFileWriter {
public:
    TempFileWriter(FileOps& ops, int fd) : m_ops(ops), m_fd(fd) {}

    void Write(const char* bytes, std::size_t size) {
        std::size_t done = 0;
        while (m_error == 0 && done < size) {
            const ssize_t n = m_ops.Write(m_fd, bytes + done, size - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno == EINTR)
                continue;
            else
                m_error = n < 0 ? errno : EIO;
        }
#ifndef _WIN32
        m_written += static_cast<std::int64_t>(done);
        if (m_error == 0 && m_writeback && m_written - m_sent >= kWritebackWindow) {
            if (m_ops.SyncFileRange(m_fd, static_cast<off_t>(m_sent),
                                    static_cast<off_t>(m_written - m_sent)) != 0)
                WritebackFailed(errno);
            m_sent = m_written;
        }
#endif
    }

    int error() const {
        return m_error;
    }

private:
#ifndef _WIN32
    // The disk's own failure is the temporary file's; any other says that this system or file
    // system does not start the writing early, and the flush at the end does it all.
    void WritebackFailed(int error) {
        if (error == EIO || error == ENOSPC
#ifdef EDQUOT
            || error == EDQUOT
#endif
        )
            m_error = error;
        else
            m_writeback = false;
    }
#endif

    FileOps& m_ops;
    int m_fd;
    int m_error = 0;
#ifndef _WIN32
    std::int64_t m_written = 0;
    std::int64_t m_sent = 0; // bytes already sent on their way to the disk
    bool m_writeback = true;
#endif
};

// Where the new content goes: blocks of kBlockSize bytes, each handed on as soon as it is full,
// the last one when the content ends.
class OutputBlocks {
public:
    virtual ~OutputBlocks() = default;

    void Append(std::string_view bytes) {
        while (bytes.size() > kBlockSize - m_used) {
            const std::size_t part = kBlockSize - m_used;
            std::memcpy(m_block + m_used, bytes.data(), part);
            bytes.remove_prefix(part);
            m_block = Full(m_block);
            m_used = 0;
        }
        std::memcpy(m_block + m_used, bytes.data(), bytes.size());
        m_used += bytes.size();
    }

    // The content has ended: hands on what the block holds.
    void Finish() {
        if (m_used > 0)
            Last(m_block, m_used);
        m_used = 0;
    }

protected:
    // Hands on a full block; gives the block to fill next.
    virtual char* Full(char* block) = 0;
    virtual void Last(char* block, std::size_t size) = 0;

    char* m_block = nullptr;

private:
    std::size_t m_used = 0;
};

// Whole lines to new content: `chunk` starts at the start of a line and, unless it is the end of
// the file, ends just after a line end. Each line that holds a key is replaced and each line end
// written in the Windows convention.
class ChunkRewriter {
public:
    ChunkRewriter(const LineMatcher& matcher, OutputBlocks& out) : m_matcher(matcher), m_out(out) {}

    // `chunk` may be read 1 byte before and 80 bytes after.
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

    // The line that starts at `from`.
    static Line LineAt(std::string_view chunk, std::size_t from) {
        Line line{from, from, 0, 0};
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

    // Runs of lines that need no change are copied as they stand; the scan stops only where a
    // key may start or a line feed lacks its carriage return.
    void RewriteScanning(std::string_view chunk) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(chunk.data());
        const std::size_t size = chunk.size();
        std::size_t copied = 0; // [copied, pos) is still to be copied as it stands
        std::size_t pos = 0;
        while (pos < size) {
            std::uint64_t events = m_matcher.Events(bytes + pos);
            if (size - pos < LineMatcher::kSpan)
                events &= (std::uint64_t{1} << (size - pos)) - 1;
            std::size_t resume = pos + LineMatcher::kSpan;
            for (; events != 0; events &= events - 1) {
                const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(events));
                if (bytes[at] == '\n') {
                    m_out.Append(chunk.substr(copied, at - copied));
                    m_out.Append("\r\n");
                    copied = at + 1;
                    continue;
                }
                int rule = m_matcher.RuleAt(chunk, at);
                if (rule < 0)
                    continue; // only the first two bytes of a key
                const std::size_t end = m_matcher.LineEndFrom(chunk, at, rule);
                if (end == size) {
                    resume = size; // the file's last line, without line end: it stays
                    break;
                }
                std::size_t start = at;
                while (start > copied && bytes[start - 1] != '\n' && bytes[start - 1] != '\r')
                    --start;
                m_out.Append(chunk.substr(copied, start - copied));
                m_out.Append(m_matcher.Written(rule));
                // CR LF reads as one line end; a CR at the end of a chunk stands alone.
                copied = end + 1;
                if (bytes[end] == '\r' && copied < size && bytes[copied] == '\n')
                    ++copied;
                resume = copied;
                break;
            }
            pos = resume;
        }
        if (copied < size)
            m_out.Append(chunk.substr(copied));
    }

    void RewriteLineByLine(std::string_view chunk) {
        std::size_t pos = 0;
        while (pos < chunk.size()) {
            const Line line = LineAt(chunk, pos);
            // A line without line end is never replaced.
            const int rule = line.lineEnd == 0
                                 ? -1
                                 : m_matcher.Match(chunk.substr(line.start, line.end - line.start),
                                                   line.lineEnd);
            if (rule >= 0) {
                m_out.Append(m_matcher.Written(rule));
            } else {
                m_out.Append(chunk.substr(line.start, line.end - line.start));
                if (line.lineEnd == '\n')
                    m_out.Append("\r\n");
                else if (line.lineEnd == '\r')
                    m_out.Append("\r");
            }
            pos = line.next;
        }
    }

    const LineMatcher& m_matcher;
    OutputBlocks& m_out;
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

// A block of the configuration file as read: [0, have) holds bytes, of which the complete lines
// [0, complete) go to the scan. There is room before the bytes and after them for its wide reads.
class InputBlock {
public:
    explicit InputBlock(std::size_t capacity)
        : m_capacity(capacity), m_bytes(kBefore + capacity + kAfter) {}

    char* data() { return m_bytes.data() + kBefore; }
    std::size_t capacity() const { return m_capacity; }
    std::string_view Lines() { return {data(), complete}; }

    void Grow() {
        m_capacity *= 2;
        m_bytes.resize(kBefore + m_capacity + kAfter);
    }

    // Starts with what follows the complete lines of `previous`.
    void StartAfter(InputBlock& previous) {
        const std::size_t rest = previous.have - previous.complete;
        while (m_capacity < rest)
            Grow();
        std::memcpy(data(), previous.data() + previous.complete, rest);
        have = rest;
        complete = 0;
    }

    std::size_t have = 0;
    std::size_t complete = 0;

private:
    static constexpr std::size_t kBefore = kVector;
    static constexpr std::size_t kAfter = 6 * kVector;

    std::size_t m_capacity;
    std::vector<char> m_bytes;
};

// The first pass: the configuration file to the temporary file. Reads blocks, hands on the
// complete lines of each and keeps the incomplete last one for the next block; a block grows
// only for a line longer than it.
//
// A file of more than one block is scanned on a second thread while this one reads and writes:
// the scan of a block overlaps the reading of the next one and the writing of what the scan made
// of the one before. Every file operation stays on this thread, in an order that does not depend
// on how fast either thread is: the reads of block k+2 follow the writes of the new content that
// filled while block k was scanned.
class FirstPass : private OutputBlocks {
public:
    FirstPass(FileOps& ops, int in, int out, const std::vector<LineRule>& rules)
        : m_ops(ops), m_in(in), m_writer(ops, out), m_matcher(rules), m_rewriter(m_matcher, *this) {
        m_inputs.reserve(2);
    }
    ~FirstPass() override { StopScanning(); }

    // `size`: what the file's size is said to be.
    std::optional<Failure> Run(std::int64_t size) {
        const std::size_t capacity = static_cast<std::size_t>(
            std::clamp<std::int64_t>(size + 1, kLeastRead, static_cast<std::int64_t>(kBlockSize)));
        m_inputs.emplace_back(capacity);
        m_block = NewBlock();
        if (size > static_cast<std::int64_t>(capacity))
            StartScanning();

        if (auto failure = ReadLines(m_inputs[0]))
            return failure;
        Scan(m_inputs[0].Lines());
        int scanned = 1; // blocks handed to the scan
        while (!m_eof && m_writer.error() == 0) {
            if (scanned >= 2 && !WriteScanned(scanned - 2))
                break;
            if (m_inputs.size() < 2)
                m_inputs.emplace_back(capacity);
            InputBlock& block = m_inputs[scanned % 2];
            block.StartAfter(m_inputs[(scanned + 1) % 2]);
            if (auto failure = ReadLines(block))
                return failure;
            Scan(block.Lines());
            ++scanned;
        }
        if (m_eof && m_writer.error() == 0 && (scanned < 2 || WriteScanned(scanned - 2)))
            WriteScanned(scanned - 1);
        StopScanning();
        if (m_writer.error() != 0)
            return Failure{Step::WriteTemp, m_writer.error()};
        return std::nullopt;
    }

private:
    // New content that the scan handed on, and the block of the file whose scan filled it.
    struct Filled {
        char* bytes;
        std::size_t size;
        int block;
    };

    char* NewBlock() {
        m_storage.emplace_back(new char[kBlockSize]);
        return m_storage.back().get();
    }

    // Reads into `block` until it holds a complete line or the file ends.
    std::optional<Failure> ReadLines(InputBlock& block) {
        for (;;) {
            if (block.have == block.capacity()) {
                block.complete = EndOfCompleteLines(block.data(), block.have);
                if (block.complete > 0)
                    return std::nullopt;
                block.Grow();
            }
            const ssize_t n =
                m_ops.Read(m_in, block.data() + block.have, block.capacity() - block.have);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return Failure{Step::Read, errno};
            }
            if (n == 0) {
                m_eof = true;
                block.complete = block.have;
                return std::nullopt;
            }
            block.have += static_cast<std::size_t>(n);
            block.complete = EndOfCompleteLines(block.data(), block.have);
            if (block.complete > 0)
                return std::nullopt;
        }
    }

    // Has `lines` rewritten: here and now, or by the scanning thread. After the file's end the
    // new content is complete.
    void Scan(std::string_view lines) {
        if (!m_threaded) {
            m_rewriter.Rewrite(lines);
            if (m_eof)
                Finish();
            return;
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_pending || m_stopped; });
        m_pending = Pending{lines, m_eof};
        m_changed.notify_all();
    }

    // Writes what filled while file block `block` was scanned, as it fills, until that scan has
    // ended. False when the writing failed.
    bool WriteScanned(int block) {
        if (!m_threaded)
            return m_writer.error() == 0;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [&] {
                return (!m_filled.empty() && m_filled.front().block == block) || m_scanned > block;
            });
            if (m_filled.empty() || m_filled.front().block != block)
                return true;
            const Filled filled = m_filled.front();
            m_filled.pop_front();
            lock.unlock();
            m_writer.Write(filled.bytes, filled.size);
            lock.lock();
            m_free.push_back(filled.bytes);
            m_changed.notify_all();
            if (m_writer.error() != 0)
                return false;
        }
    }

    char* Full(char* block) override {
        if (!m_threaded) {
            m_writer.Write(block, kBlockSize);
            return block;
        }
        std::unique_lock lock(m_mutex);
        m_filled.push_back({block, kBlockSize, m_scanned});
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_free.empty() || m_stopped; });
        if (m_stopped)
            return block; // nothing more is written: the rest of the scan goes nowhere
        char* next = m_free.back();
        m_free.pop_back();
        return next;
    }

    void Last(char* block, std::size_t size) override {
        if (!m_threaded) {
            m_writer.Write(block, size);
            return;
        }
        std::lock_guard lock(m_mutex);
        m_filled.push_back({block, size, m_scanned});
        m_changed.notify_all();
    }

    // Scanning on a second thread; where none can be started, the scan runs here.
    void StartScanning() {
        for (std::size_t i = 1; i < kOutputBlocks; ++i)
            m_free.push_back(NewBlock());
        m_threaded = true;
        if (pthread_create(&m_thread, nullptr, &FirstPass::ScanThread, this) != 0)
            m_threaded = false;
    }

    void StopScanning() {
        if (!m_threaded)
            return;
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
        pthread_join(m_thread, nullptr);
        m_threaded = false;
    }

    static void* ScanThread(void* pass) {
        static_cast<FirstPass*>(pass)->ScanBlocks();
        return nullptr;
    }

    void ScanBlocks() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_pending || m_stopped; });
            if (m_stopped)
                return;
            const Pending pending = *std::exchange(m_pending, std::nullopt);
            m_changed.notify_all();
            lock.unlock();
            m_rewriter.Rewrite(pending.lines);
            if (pending.last)
                Finish();
            lock.lock();
            ++m_scanned;
            m_changed.notify_all();
            if (pending.last)
                return;
        }
    }

    FileOps& m_ops;
    int m_in;
    TempFileWriter m_writer;
    const LineMatcher m_matcher;
    ChunkRewriter m_rewriter;
    std::vector<InputBlock> m_inputs;
    std::vector<std::unique_ptr<char[]>> m_storage;
    bool m_eof = false;

    // Shared with the scanning thread, under m_mutex.
    struct Pending {
        std::string_view lines;
        bool last;
    };
    bool m_threaded = false;
    pthread_t m_thread{};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Pending> m_pending; // lines handed to the scan and not yet taken
    int m_scanned = 0;                // file blocks whose scan has ended
    std::deque<Filled> m_filled;      // to be written, in order
    std::vector<char*> m_free;        // to be filled
    bool m_stopped = false;
};

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

        std::int64_t size = 0; // as the file says
#ifdef _WIN32
        m_in = m_ops.Open(target.c_str(), O_RDONLY, 0);
        if (m_in < 0)
            return Failure{Step::Open, errno};
        FileAttributes kept;
        if (m_ops.GetAttributes(m_in, &kept) != 0)
            return Failure{Step::Open, errno};
        if ((kept.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Failure{Step::Open, EISDIR};
        size = kept.size;
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
        size = info.st_size;
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

        if (auto failure = FirstPass(m_ops, m_in, m_out, m_rules).Run(size))
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
