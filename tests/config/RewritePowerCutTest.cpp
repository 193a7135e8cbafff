// A rewrite cut short by a power cut after any of its file operations leaves the old file or the
// new one, and the next rewrite succeeds: checked against a folder in memory that keeps only what
// the disk would.
#include "RewriteFixture.h"
#include "config/ConfigRewriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// A file's content as the program sees it, and as far as it is on the disk.
struct Data {
    std::string now, flushed;
};
using Folder = std::map<std::string, std::shared_ptr<Data>>;

// One folder in memory. After operation number `cutAfter` the power is cut: nothing happens any
// more (every call fails). What the disk keeps then: of the folder, its state at its last flush,
// with perhaps the first few of the creations, renames and removals made since, in order; of each
// file, its data at its last Fsync, with perhaps part of what was written after.
class PowerCutFolder : public FileOps {
public:
    PowerCutFolder(const Folder& files, int cutAfter)
        : m_now(files), m_flushed(files), m_cutAfter(cutAfter) {}

    int calls = 0;
    std::size_t changes() const { return m_changes.size(); }

    // What the disk holds: the flushed folder with the first `changes` made since, and of each
    // file's data written since its flush none (`kept` 0), half (1) or all (2).
    Folder AfterTheCut(std::size_t changes, int kept) const {
        Folder folder = m_flushed;
        for (std::size_t i = 0; i < changes; ++i)
            m_changes[i](folder);
        for (auto& [name, data] : folder) {
            const std::string unflushed = data->now.substr(data->flushed.size());
            const std::string content =
                data->flushed + unflushed.substr(0, unflushed.size() * kept / 2);
            data = std::make_shared<Data>(Data{content, content});
        }
        return folder;
    }

    PathKind KindOfPath(const char* path) override { // "./" and a name
        return m_now.contains(path + 2) ? PathKind::File : PathKind::Missing;
    }
    int ListDirectory(const char*, std::vector<std::string>& names) override {
        if (Cut())
            return -1;
        names.clear();
        for (const auto& entry : m_now)
            names.push_back(entry.first);
        return 0;
    }
    int ResolveLinks(const char* path, std::string& target) override {
        target = path;
        return Cut() ? -1 : 0;
    }
    int LockFolder(const char*, int) override { return Cut() ? -1 : 0; }
    void Unlock(int) override {}
    int OpenToRead(const char* path, FileInfo& info) override {
        if (Cut() || !Has(path))
            return -1;
        info.size = static_cast<std::int64_t>(m_now[path]->now.size());
        return Opened(m_now[path]);
    }
    ssize_t Read(int fd, void* buffer, size_t size) override {
        if (Cut())
            return -1;
        auto& [data, at] = m_open.at(fd);
        const std::size_t n = data->now.copy(static_cast<char*>(buffer), size, at);
        at += n;
        return static_cast<ssize_t>(n);
    }
    int CreateExclusive(const char* path) override {
        if (Cut())
            return -1;
        if (m_now.contains(path))
            return errno = EEXIST, -1;
        auto data = std::make_shared<Data>();
        Change([name = std::string(path), data](Folder& folder) { folder[name] = data; });
        return Opened(data);
    }
    int KeepMetadata(int, const FileInfo&) override { return Cut() ? -1 : 0; }
    ssize_t Write(int fd, const void* buffer, size_t size) override {
        if (Cut())
            return -1;
        m_open.at(fd).first->now.append(static_cast<const char*>(buffer), size);
        return static_cast<ssize_t>(size);
    }
    int Fsync(int fd) override {
        const auto& data = m_open.at(fd).first;
        return Cut() ? -1 : (data->flushed = data->now, 0);
    }
    int Close(int fd) override {
        m_open.erase(fd);
        return Cut() ? -1 : 0;
    }
    int Rename(const char* from, const char* to) override {
        if (Cut() || !Has(from))
            return -1;
        Change(
            [from = std::string(from), to = std::string(to), data = m_now[from]](Folder& folder) {
                folder.erase(from);
                folder[to] = data;
            });
        return 0;
    }
    int Unlink(const char* path) override {
        if (Cut() || !Has(path))
            return -1;
        Change([name = std::string(path)](Folder& folder) { folder.erase(name); });
        return 0;
    }
    int FlushFolder(int) override {
        if (Cut())
            return -1;
        m_flushed = m_now;
        m_changes.clear();
        return 0;
    }

private:
    bool Cut() {
        errno = EIO;
        return ++calls > m_cutAfter;
    }
    bool Has(const char* name) {
        errno = ENOENT;
        return m_now.contains(name);
    }
    // Makes a change of the folder, which reaches the disk at the next flush of the folder.
    void Change(const std::function<void(Folder&)>& change) {
        change(m_now);
        m_changes.push_back(change);
    }
    int Opened(const std::shared_ptr<Data>& data) {
        m_open[++m_lastFd] = {data, 0};
        return m_lastFd;
    }

    Folder m_now, m_flushed;
    std::vector<std::function<void(Folder&)>> m_changes;
    std::map<int, std::pair<std::shared_ptr<Data>, std::size_t>> m_open;
    int m_lastFd = 2;
    int m_cutAfter;
};

TEST(RewritePowerCut, AfterEachFileOperationTheFileIsOldOrNewAndTheNextRunSucceeds) {
    const Folder before = {{kConfigFileName, std::make_shared<Data>(Data{kBefore, kBefore})}};
    PowerCutFolder whole(before, INT_MAX);
    ExpectCompleted(Rewrite(whole));

    for (int cut = 0; cut <= whole.calls; ++cut) {
        PowerCutFolder folder(before, cut);
        Rewrite(folder);
        for (std::size_t changes = 0; changes <= folder.changes(); ++changes) {
            for (int kept = 0; kept <= 2; ++kept) {
                SCOPED_TRACE("cut after operation " + std::to_string(cut) + ", " +
                             std::to_string(changes) + " changes of the folder and " +
                             std::to_string(kept) + " halves of the unflushed data kept");
                const Folder after = folder.AfterTheCut(changes, kept);
                ASSERT_TRUE(after.contains(kConfigFileName));
                const std::string& file = after.at(kConfigFileName)->now;
                ASSERT_TRUE(file == kBefore || file == kAfter) << file;

                PowerCutFolder next(after, INT_MAX);
                ExpectCompleted(Rewrite(next));
                const Folder done = next.AfterTheCut(0, 0);
                ASSERT_EQ(done.size(), 1u);
                ASSERT_EQ(done.at(kConfigFileName)->now, kAfter);
            }
        }
    }
    std::printf("a power cut after each of %d file operations\n", whole.calls);
}

} // namespace
