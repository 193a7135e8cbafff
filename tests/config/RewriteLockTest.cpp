// Two rewrites of one file at once, as from two copies of the program: the second waits for the
// first, then applies its own lines to the file that the first left; one that cannot get the lock
// changes nothing.
#include "RewriteFixture.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What the runs did, in order, for the test to wait on.
struct Events {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> log;

    void Add(const std::string& event) {
        const std::lock_guard<std::mutex> hold(mutex);
        log.push_back(event);
        changed.notify_all();
    }
    // Returns as soon as `event` has happened; false if it has not within 30 s.
    bool WaitFor(const std::string& event) {
        std::unique_lock<std::mutex> hold(mutex);
        return changed.wait_for(hold, std::chrono::seconds(30),
                                [&] { return std::ranges::find(log, event) != log.end(); });
    }
};

// The system's operations; the first run stops at its first write until it is released.
class WatchedOps : public FileOps {
public:
    WatchedOps(Events& events, std::string run) : m_events(events), m_run(std::move(run)) {}

    int LockFolder(const char* folder, int waitMs) override {
        m_events.Add(m_run + " locks");
        return FileOps::LockFolder(folder, waitMs);
    }
    int OpenToRead(const char* path, FileInfo& info) override {
        m_events.Add(m_run + " reads");
        return FileOps::OpenToRead(path, info);
    }
    ssize_t Write(int fd, const void* buffer, size_t size) override {
        if (m_run == "first") {
            m_events.Add("first writes");
            m_events.WaitFor("released");
        }
        return FileOps::Write(fd, buffer, size);
    }
    int Rename(const char* from, const char* to) override {
        const int result = FileOps::Rename(from, to);
        m_events.Add(m_run + " renamed");
        return result;
    }

private:
    Events& m_events;
    std::string m_run;
};

TEST(RewriteLock, SecondRunWaitsAndAppliesItsLinesToTheFirstOnesFile) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, "[fuel]\r\nCenter1=1\r\nLeftTip=2\r\n");
    Events events;
    WatchedOps firstOps(events, "first"), secondOps(events, "second");
    RecordingCallback firstOwner, secondOwner;
    bool firstWritten = false, secondWritten = false;
    {
        std::jthread first([&] {
            firstWritten = ConfigRewriter(firstOps).RewriteConfigFile(
                {{"Center1", "Center1=fuel\n"}}, "fuel done", firstOwner);
        });
        ASSERT_TRUE(events.WaitFor("first writes"));
        std::jthread second([&] {
            secondWritten = ConfigRewriter(secondOps).RewriteConfigFile(
                {{"LeftTip", "LeftTip=payload\n"}}, "payload done", secondOwner);
        });
        EXPECT_TRUE(events.WaitFor("second locks"));
        events.Add("released");
    }
    EXPECT_TRUE(firstWritten);
    EXPECT_TRUE(secondWritten);
    ASSERT_EQ(firstOwner.messages.size(), 1u);
    ASSERT_EQ(secondOwner.messages.size(), 1u);
    EXPECT_EQ(firstOwner.messages[0].text, "fuel done");
    EXPECT_EQ(secondOwner.messages[0].text, "payload done");
    EXPECT_LT(std::ranges::find(events.log, "first renamed"),
              std::ranges::find(events.log, "second reads"));
    EXPECT_EQ(ReadFileBytes(kConfigFileName), "[fuel]\r\nCenter1=fuel\r\nLeftTip=payload\r\n");
    EXPECT_FALSE(fs::exists(kTempFileName));
}

// The lock still held after the wait, or none to be had on a file system that keeps no locks.
class WithoutTheLock : public testing::TestWithParam<int> {};

TEST_P(WithoutTheLock, TheRunChangesNothing) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    WriteFileBytes(kTempFileName, "being written by the other run");
    static int s_error;
    s_error = GetParam();
    struct Held : FileOps {
        int LockFolder(const char*, int) override {
            errno = s_error;
            return -1;
        }
    } ops;
    RecordingCallback owner;
    EXPECT_FALSE(ConfigRewriter(ops).RewriteConfigFile(kRules, "done", owner));
    ExpectFailed(owner.messages, "Не удалось заменить файл «" + FullPathOf(kConfigFileName) +
                                     "»: файл записывает другая программа");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_EQ(ReadFileBytes(kTempFileName), "being written by the other run");
}
INSTANTIATE_TEST_SUITE_P(RewriteLock, WithoutTheLock,
                         testing::Values(EWOULDBLOCK, ENOLCK, EOPNOTSUPP));

// The system's lock: held by one thread, another cannot take it until it is let go.
TEST(RewriteLock, FolderLockIsTakenByOneAtATime) {
    ScratchDirectory dir;
    FileOps& ops = FileOps::System();
    const int held = ops.LockFolder(".", 0);
    ASSERT_GE(held, 0);
    int lock = 0, error = 0;
    const auto takeElsewhere = [&] {
        std::thread([&] {
            lock = ops.LockFolder(".", 0);
            error = errno;
            if (lock >= 0)
                ops.Unlock(lock);
        }).join();
    };
    takeElsewhere();
    EXPECT_EQ(lock, -1);
    EXPECT_EQ(error, EWOULDBLOCK);
    ops.Unlock(held);
    takeElsewhere();
    EXPECT_GE(lock, 0);
}

} // namespace
