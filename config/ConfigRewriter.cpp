#include "config/ConfigRewriter.h"

#include "config/ConfigText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The largest file that is rewritten; real ones are a few dozen kilobytes.
constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;
constexpr const char* kTooLarge = "файл больше 256 МБ";
// How long a rewrite waits for another one in the same folder to finish.
constexpr int kLockWaitMs = 5000;

enum class Step { Open, Read, WriteTemp, Replace };

struct Failure {
    Step step;
    std::string reason;
};

Failure FailedWith(Step step, int error) {
    return {step, ReasonOf(error)};
}

// One rewrite: the textbook replacement of a file, under the folder's lock. The destructor
// closes what is open, removes the temporary file if it is still there, and lets go of the lock.
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
        if (m_lock >= 0)
            m_ops.Unlock(m_lock);
    }

    std::optional<Failure> Run() {
        const ConfigFileSearch search = FindConfigFile(m_ops, "");
        m_name = search.name;
        if (!search.found())
            return Failure{Step::Open, search.refusal};
        if (m_ops.ResolveLinks(m_name.c_str(), m_target) != 0)
            return FailedWith(Step::Open, errno);
        // The temporary file lies beside the file it replaces, so that the rename stays on one
        // disk; that folder is locked before anything is read.
        const std::size_t nameAt = m_target.rfind('/') + 1;
        const std::string folder = m_target.substr(0, nameAt);
        m_tempPath = folder + kTempFileName;
        // A link to a file of the temporary file's name: the temporary file would be the file
        // itself, removed as a leftover before it is written.
        if (SameNameInAnyCase(std::string_view(m_target).substr(nameAt), kTempFileName))
            return Failure{Step::Replace, "это ссылка на временный файл «" + m_tempPath + "»"};
        m_lock = m_ops.LockFolder(folder.empty() ? "." : folder.c_str(), kLockWaitMs);
        if (m_lock < 0 && errno == EWOULDBLOCK)
            return Failure{Step::Replace, "файл записывает другая программа"};
        // Without a lock a TempFile.txt there may be another run's, being written: the run cannot
        // tell, and changes nothing.
        if (m_lock < 0 && (errno == ENOLCK || errno == EOPNOTSUPP))
            return Failure{Step::Replace, "файл записывает другая программа, или этого не "
                                          "узнать: файловая система не блокирует папку"};
        if (m_lock < 0)
            return FailedWith(Step::Replace, errno);

        FileInfo info;
        m_in = m_ops.OpenToRead(m_target.c_str(), info);
        if (m_in < 0)
            return FailedWith(Step::Open, errno);
        if (!info.regular)
            return Failure{Step::Open, "это не обычный файл"};
        if (info.writeError != 0)
            return FailedWith(Step::Replace, info.writeError);
        if (info.size > static_cast<std::int64_t>(kMaxFileSize))
            return Failure{Step::Read, kTooLarge};
        std::string file;
        if (auto failure = ReadAll(info.size, file))
            return failure;
        const TextRewrite text = RewriteText(file, m_rules);
        if (!text.ok())
            return Failure{Step::Read, text.refusal};

        // Whatever an earlier run left under the temporary name is not ours (the lock says that
        // no run is making it now): remove it (a link itself, never its target).
        if (m_ops.Unlink(m_tempPath.c_str()) != 0 && errno != ENOENT)
            return FailedWith(Step::WriteTemp, errno);
        m_out = m_ops.CreateExclusive(m_tempPath.c_str());
        if (m_out < 0)
            return FailedWith(Step::WriteTemp, errno);
        m_tempCreated = true;
        if (m_ops.KeepMetadata(m_out, info) != 0 || WriteAll(text.text) != 0 ||
            m_ops.Fsync(m_out) != 0 || m_ops.Close(std::exchange(m_out, -1)) != 0)
            return FailedWith(Step::WriteTemp, errno);
        if (m_ops.Close(std::exchange(m_in, -1)) != 0)
            return FailedWith(Step::Read, errno);
        if (m_ops.Rename(m_tempPath.c_str(), m_target.c_str()) != 0)
            return FailedWith(Step::Replace, errno);
        m_tempCreated = false;
        // Makes the rename itself durable. The file is replaced by now: a failure here is not
        // one of the run.
        m_ops.FlushFolder(m_lock);
        return std::nullopt;
    }

    const std::string& name() const { return m_name; }
    const std::string& tempPath() const { return m_tempPath; }

private:
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

    // Writes all of `bytes` to the temporary file; -1 and errno on failure.
    int WriteAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = m_ops.Write(m_out, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n == 0 ? (errno = EIO, -1) : -1;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return 0;
    }

    FileOps& m_ops;
    const std::vector<LineRule>& m_rules;
    std::string m_name;
    std::string m_target;
    std::string m_tempPath;
    int m_lock = -1;
    int m_in = -1;
    int m_out = -1;
    bool m_tempCreated = false;
};

// What the user is told of a failed run, naming the file (and the temporary file) by its full
// path: "Unable to open the file." and why, or the step that failed, why, and that the file is
// as it was.
void ShowFailure(const Failure& failure, const std::string& file, const std::string& temp,
                 MessageCallback& owner) {
    if (failure.step == Step::Open) {
        owner.ShowMessage("Unable to open the file.\r\nНе удалось открыть файл " + file + ": " +
                              failure.reason + ".",
                          kApplicationTitle, MessageIcon::Stop);
        return;
    }
    const std::string what = failure.step == Step::Read ? "прочитать файл " + file
                             : failure.step == Step::WriteTemp ? "записать временный файл " + temp
                                                               : "заменить файл " + file;
    owner.ShowMessage("Не удалось " + what + ": " + failure.reason + ".\r\nФайл " + file +
                          " не изменен.",
                      kCaptionError, MessageIcon::Stop);
}

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
    } // files closed, the temporary file removed and the lock let go before the user is told

    if (failure) {
        ShowFailure(*failure, Quoted(m_ops.FullPath(name)), Quoted(m_ops.FullPath(tempPath)),
                    owner);
        return false;
    }
    owner.ShowMessage(completionText, kCaptionMessage, MessageIcon::Information);
    return true;
}
