#include "config/ConfigRewriter.h"

#include <fcntl.h>

#ifdef _WIN32
#include "common/Win32Api.h"
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace {

// The largest file that is rewritten; real ones are a few dozen kilobytes.
constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;
constexpr const char* kTooLarge = "файл больше 256 МБ";
// The new content goes to the temporary file in pieces of about this size.
constexpr std::size_t kWritePiece = std::size_t{1} << 20;

enum class Step { Open, Read, WriteTemp, Replace };

struct Failure {
    Step step;
    std::string reason;
};

Failure FailedWith(Step step, int error) {
    return {step, ReasonOf(error)};
}

// The lines of `text` (after the mark, if any) with each line that holds a rule's key replaced.
// `Unit` is char for bytes, char16_t for UTF-16; `emit` receives the new content in pieces.
template <typename Unit, typename Emit>
void RewriteLines(std::basic_string_view<Unit> text, const std::vector<LineRule>& rules,
                  Emit emit) {
    using Text = std::basic_string<Unit>;
    constexpr Unit kLf = '\n', kCr = '\r';
    // Keys and lines are ASCII, each byte one unit; a rule's line is written in the Windows text
    // convention.
    std::vector<Text> keys, written;
    for (const LineRule& rule : rules) {
        Text key, line;
        for (char c : rule.key)
            key += static_cast<Unit>(static_cast<unsigned char>(c));
        for (char c : rule.line) {
            if (c == '\n')
                line += kCr;
            line += static_cast<Unit>(static_cast<unsigned char>(c));
        }
        keys.push_back(std::move(key));
        written.push_back(std::move(line));
    }
    static constexpr Unit kCrLf[] = {kCr, kLf};
    const std::basic_string_view<Unit> crLf(kCrLf, 2), loneCr(kCrLf, 1);

    std::size_t pos = 0;
    while (pos < text.size()) {
        // The line ends at its first LF or CR (find is memchr for bytes).
        const std::size_t lf = std::min(text.find(kLf, pos), text.size());
        const std::size_t cr = text.substr(pos, lf - pos).find(kCr);
        const std::size_t end = cr == text.npos ? lf : pos + cr;
        if (end == text.size()) { // the last line, without line end, stays as it is
            emit(text.substr(pos));
            return;
        }
        // CR LF reads as one LF; a CR that no LF follows ends the line and stays.
        const bool crLfEnd = text[end] == kCr && end + 1 < text.size() && text[end + 1] == kLf;
        const Unit lineEnd = crLfEnd ? kLf : text[end];
        const std::basic_string_view<Unit> content = text.substr(pos, end - pos);
        pos = end + (crLfEnd ? 2 : 1);

        // The line as read (its end included) holds the key: the key is in its content, or the
        // key ends in the line end and the content ends with the rest of it.
        const auto holds = [&](const Text& key) {
            return key.empty() || content.find(key) != content.npos ||
                   (key.back() == lineEnd &&
                    content.ends_with(std::basic_string_view<Unit>(key).substr(0, key.size() - 1)));
        };
        const auto rule = std::find_if(keys.begin(), keys.end(), holds);
        if (rule != keys.end()) {
            emit(std::basic_string_view<Unit>(written[rule - keys.begin()]));
        } else {
            emit(content);
            emit(lineEnd == kLf ? crLf : loneCr);
        }
    }
}

// Writes the new content to the temporary file as it grows; the first failure is kept and what
// follows is not written.
class TempFileWriter {
public:
    // `size`: about how much there will be.
    TempFileWriter(FileOps& ops, int fd, std::size_t size) : m_ops(ops), m_fd(fd) {
        m_buffer.reserve(std::min(size + size / 8, kWritePiece));
    }

    void Append(std::string_view bytes) {
        m_buffer += bytes;
        if (m_buffer.size() >= kWritePiece)
            Flush();
    }

    // Writes what is left; the errno value of the first failure, or 0.
    int Flush() {
        std::size_t done = 0;
        while (m_error == 0 && done < m_buffer.size()) {
            const ssize_t n = m_ops.Write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EINTR)
                m_error = errno;
            else if (n == 0)
                m_error = EIO;
        }
        m_buffer.clear();
        return m_error;
    }

private:
    FileOps& m_ops;
    int m_fd;
    std::string m_buffer;
    int m_error = 0;
};

// The file's new content, in its own encoding, to `out`. Fails only for UTF-16 that is not.
std::optional<Failure> WriteNewContent(std::string_view file, const std::vector<LineRule>& rules,
                                       TempFileWriter& out) {
    const bool littleEndian = file.starts_with("\xff\xfe");
    if (!littleEndian && !file.starts_with("\xfe\xff")) {
        RewriteLines<char>(file, rules, [&](std::string_view bytes) { out.Append(bytes); });
        return std::nullopt;
    }

    // UTF-16 after its byte-order mark.
    const int high = littleEndian ? 1 : 0; // the byte of a unit's high half
    if (file.size() % 2 != 0)
        return Failure{Step::Read, "файл в кодировке UTF-16 поврежден (нечетное число байтов)"};
    std::u16string text((file.size() - 2) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto at = reinterpret_cast<const unsigned char*>(file.data()) + 2 + 2 * i;
        text[i] = static_cast<char16_t>(at[high] << 8 | at[1 - high]);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool leading = text[i] >= 0xd800 && text[i] < 0xdc00;
        const bool trailing = text[i] >= 0xdc00 && text[i] < 0xe000;
        if (trailing ||
            (leading && (i + 1 == text.size() || text[i + 1] < 0xdc00 || text[i + 1] >= 0xe000)))
            return Failure{Step::Read, "файл в кодировке UTF-16 поврежден (непарный суррогат)"};
        i += leading ? 1 : 0;
    }

    out.Append(file.substr(0, 2)); // the mark, as it was
    std::string bytes;
    RewriteLines<char16_t>(text, rules, [&](std::u16string_view units) {
        bytes.resize(2 * units.size());
        for (std::size_t i = 0; i < units.size(); ++i) {
            bytes[2 * i + high] = static_cast<char>(units[i] >> 8);
            bytes[2 * i + 1 - high] = static_cast<char>(units[i] & 0xff);
        }
        out.Append(bytes);
    });
    return std::nullopt;
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
        if (auto failure = FindConfigFile())
            return failure;
#ifdef _WIN32
        // A symbolic link under the name is replaced by the new file, as Windows programs save.
        m_target = m_name;
        m_in = m_ops.Open(m_target.c_str(), O_RDONLY, 0);
        if (m_in < 0)
            return FailedWith(Step::Open, errno);
        FileAttributes kept;
        if (m_ops.GetAttributes(m_in, &kept) != 0)
            return FailedWith(Step::Open, errno);
        if ((kept.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return FailedWith(Step::Open, EISDIR);
        const std::int64_t size = kept.size;
        if ((kept.attributes & FILE_ATTRIBUTE_READONLY) != 0)
            return FailedWith(Step::Replace, EACCES);
#else
        // A symbolic link stays, and its final target receives the new content.
        struct stat info;
        if (m_ops.Lstat(m_name.c_str(), &info) != 0)
            return FailedWith(Step::Open, errno);
        m_target = m_name;
        if (S_ISLNK(info.st_mode) && m_ops.RealPath(m_name.c_str(), m_target) != 0)
            return FailedWith(Step::Open, errno);
        // O_NONBLOCK: a FIFO under the file's name must not hang the program.
        m_in = m_ops.Open(m_target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
        if (m_in < 0)
            return FailedWith(Step::Open, errno);
        if (m_ops.Fstat(m_in, &info) != 0)
            return FailedWith(Step::Open, errno);
        if (S_ISDIR(info.st_mode))
            return FailedWith(Step::Open, EISDIR);
        if (!S_ISREG(info.st_mode))
            return Failure{Step::Open, "это не обычный файл"};
        const std::int64_t size = info.st_size;
        // A file that is marked read-only stays as it is, even where the directory would let
        // the rename replace it.
        if ((info.st_mode & 0222) == 0)
            return FailedWith(Step::Replace, EACCES);
        if (m_ops.Access(m_target.c_str(), W_OK) != 0)
            return FailedWith(Step::Replace, errno);
#endif
        if (size > static_cast<std::int64_t>(kMaxFileSize))
            return Failure{Step::Read, kTooLarge};
        std::string file;
        if (auto failure = ReadAll(size, file))
            return failure;

        // Whatever an earlier run left under the temporary name is not ours: remove it (a link
        // itself, never its target), then create the file afresh beside the one it replaces, so
        // that the rename stays on one disk.
        const auto slash = m_target.rfind('/');
        m_tempPath = (slash == std::string::npos ? "" : m_target.substr(0, slash + 1)) +
                     std::string(kTempFileName);
        if (m_ops.Unlink(m_tempPath.c_str()) != 0 && errno != ENOENT)
            return FailedWith(Step::WriteTemp, errno);
#ifdef _WIN32
        m_out = m_ops.Open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (m_out < 0)
            return FailedWith(Step::WriteTemp, errno);
        m_tempCreated = true;
        // The new file keeps the old one's creation time and its attributes: hidden, system,
        // not indexed. It is marked as changed since the last backup, as any file written is.
        kept.attributes &=
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        kept.attributes |= FILE_ATTRIBUTE_ARCHIVE;
        if (m_ops.SetAttributes(m_out, kept) != 0)
            return FailedWith(Step::WriteTemp, errno);
#else
        m_out = m_ops.Open(m_tempPath.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (m_out < 0)
            return FailedWith(Step::WriteTemp, errno);
        m_tempCreated = true;
        // The new file keeps the old one's owner where we may set it, and its permission bits.
        if (m_ops.Fchown(m_out, info.st_uid, info.st_gid) != 0 && errno != EPERM)
            return FailedWith(Step::WriteTemp, errno);
        if (m_ops.Fchmod(m_out, info.st_mode & 07777) != 0)
            return FailedWith(Step::WriteTemp, errno);
#endif

        TempFileWriter writer(m_ops, m_out, file.size());
        if (auto failure = WriteNewContent(file, m_rules, writer))
            return failure;
        if (const int error = writer.Flush())
            return FailedWith(Step::WriteTemp, error);
        if (m_ops.Fsync(m_out) != 0)
            return FailedWith(Step::WriteTemp, errno);
        if (m_ops.Close(std::exchange(m_out, -1)) != 0)
            return FailedWith(Step::WriteTemp, errno);
        if (m_ops.Close(std::exchange(m_in, -1)) != 0)
            return FailedWith(Step::Read, errno);

        if (m_ops.Rename(m_tempPath.c_str(), m_target.c_str()) != 0)
            return FailedWith(Step::Replace, errno);
        m_tempCreated = false;
#ifndef _WIN32
        // Makes the rename itself durable (Windows's rename writes through already). The file is
        // replaced by now: a failure here is not one of the run.
        const std::string dir = m_target.substr(0, slash == std::string::npos ? 0 : slash + 1);
        const int dirFd =
            m_ops.Open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (dirFd >= 0) {
            m_ops.Fsync(dirFd);
            m_ops.Close(dirFd);
        }
#endif
        return std::nullopt;
    }

    const std::string& name() const {
        return m_name;
    }
    const std::string& tempPath() const {
        return m_tempPath;
    }

private:
    // The file of the current folder, by the rule the start shares.
    std::optional<Failure> FindConfigFile() {
        const ConfigFileSearch search = ::FindConfigFile(m_ops, "");
        m_name = search.name;
        if (!search.found())
            return Failure{Step::Open, search.refusal};
        return std::nullopt;
    }

    // The whole file, which says it is `size` bytes long.
    std::optional<Failure> ReadAll(std::int64_t size, std::string& file) {
        file.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)) + 4096);
        std::size_t have = 0;
        for (;;) {
            if (have == file.size()) {
                if (have > kMaxFileSize)
                    return Failure{Step::Read, kTooLarge};
                file.resize(2 * have);
            }
            const ssize_t n = m_ops.Read(m_in, file.data() + have, file.size() - have);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return FailedWith(Step::Read, errno);
            if (n == 0)
                break;
            have += static_cast<std::size_t>(n);
        }
        if (have > kMaxFileSize)
            return Failure{Step::Read, kTooLarge};
        file.resize(have);
        return std::nullopt;
    }

    FileOps& m_ops;
    const std::vector<LineRule>& m_rules;
    std::string m_name;
    std::string m_target;
    std::string m_tempPath;
    int m_in = -1;
    int m_out = -1;
    bool m_tempCreated = false;
};

std::string Quoted(const std::string& name) {
    return "«" + name + "»";
}

} // namespace

bool ConfigRewriter::RewriteConfigFile(const std::vector<LineRule>& rules,
                                       std::string_view completionText, MessageCallback& owner) {
    std::optional<Failure> failure;
    std::string name, tempPath;
    {
        Rewrite rewrite(m_ops, rules);
        failure = rewrite.Run();
        name = rewrite.name();
        tempPath = rewrite.tempPath().empty() ? kTempFileName : rewrite.tempPath();
    } // files closed and the temporary file removed before the user is told

    if (!failure) {
        owner.ShowMessage(completionText, kCaptionMessage, MessageIcon::Information);
        return true;
    }
    const std::string file = Quoted(m_ops.FullPath(name)), temp = Quoted(m_ops.FullPath(tempPath));
    if (failure->step == Step::Open) {
        owner.ShowMessage("Unable to open the file.\r\nНе удалось открыть файл " + file + ": " +
                              failure->reason + ".",
                          kApplicationTitle, MessageIcon::Stop);
        return false;
    }
    const std::string what = failure->step == Step::Read ? "прочитать файл " + file
                             : failure->step == Step::WriteTemp ? "записать временный файл " + temp
                                                                : "заменить файл " + file;
    owner.ShowMessage("Не удалось " + what + ": " + failure->reason + ".\r\nФайл " + file +
                          " не изменен.",
                      kCaptionError, MessageIcon::Stop);
    return false;
}
