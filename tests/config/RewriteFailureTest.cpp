// What the rewrite does when the file system is against it: the file is replaced whole or not
// at all, and the user is told which.
#include "RewriteFixture.h"
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <thread>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// Why a test of a situation that only POSIX systems have does not run on Windows.
constexpr const char* kNoLinks = "making a symbolic link needs a privilege on Windows, and a "
                                 "link under the name is replaced there, not followed";
constexpr const char* kOneFileWhateverTheCase =
    "the Windows file system ignores letter case: these names are one file";
#endif

TEST(RewriteFailure, MissingFileIsReportedAndNothingIsCreated) {
    ScratchDirectory dir;
    const auto messages = Rewrite();
    ExpectFailed(messages, "Unable to open the file.");
    EXPECT_EQ(messages[0].text, "Unable to open the file.");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RewriteFailure, DirectoryNamedLikeTheFile) {
    ScratchDirectory dir;
    fs::create_directory(kConfigFileName);
    ExpectFailed(Rewrite(), "Unable to open the file.");
    EXPECT_TRUE(fs::is_directory(kConfigFileName));
    EXPECT_FALSE(fs::exists(kTempFileName));
}

TEST(RewriteFailure, DanglingLinkIsNotFollowedIntoANewFile) {
#ifdef _WIN32
    GTEST_SKIP() << kNoLinks;
#else
    ScratchDirectory dir;
    fs::create_symlink("nowhere.cfg", kConfigFileName);
    ExpectFailed(Rewrite(), "Unable to open the file.");
    EXPECT_FALSE(fs::exists("nowhere.cfg"));
    EXPECT_TRUE(fs::is_symlink(kConfigFileName));
#endif
}

TEST(RewriteFailure, DeviceOrPipeUnderTheNameIsRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device or FIFO that could stand under the file's name";
#else
    ScratchDirectory dir;
    fs::create_symlink("/dev/full", kConfigFileName);
    ExpectFailed(Rewrite(), "Unable to open the file.");
    fs::remove(kConfigFileName);
    ASSERT_EQ(mkfifo(kConfigFileName, 0644), 0); // must not hang waiting for a writer
    ExpectFailed(Rewrite(), "Unable to open the file.");
#endif
}

TEST(RewriteFailure, DirectoryNamedLikeTheTemporaryFile) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    fs::create_directory(kTempFileName);
    ExpectFailed(Rewrite(), "TempFile.txt");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_TRUE(fs::is_directory(kTempFileName));
}

TEST(RewriteFailure, PlantedTemporaryLinkIsNotFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << kNoLinks;
#else
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    WriteFileBytes("victim.txt", "keep me");
    fs::create_symlink("victim.txt", kTempFileName);
    ExpectCompleted(Rewrite());
    EXPECT_EQ(ReadFileBytes("victim.txt"), "keep me");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kAfter);
    EXPECT_FALSE(fs::exists(fs::symlink_status(kTempFileName)));
#endif
}

TEST(RewriteFailure, LeftoverTemporaryFileIsNeverCopiedOver) {
    ScratchDirectory dir;
    // A run that was killed left its temporary file; the configuration file is gone.
    WriteFileBytes(kTempFileName, "stale content\r\n");
    ExpectFailed(Rewrite(), "Unable to open the file.");
    EXPECT_FALSE(fs::exists(kConfigFileName));
    // With the configuration file there, the stale file plays no part.
    WriteFileBytes(kConfigFileName, kBefore);
    ExpectCompleted(Rewrite());
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kAfter);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

TEST(RewriteFailure, LinkedFileKeepsItsLinkAndTheTargetChanges) {
#ifdef _WIN32
    GTEST_SKIP() << kNoLinks;
#else
    ScratchDirectory dir;
    fs::create_directory("sim");
    WriteFileBytes("sim/Aircraft.cfg", kBefore);
    fs::create_symlink("sim/Aircraft.cfg", kConfigFileName);
    ExpectCompleted(Rewrite());
    EXPECT_TRUE(fs::is_symlink(kConfigFileName));
    EXPECT_EQ(ReadFileBytes("sim/Aircraft.cfg"), kAfter);
    EXPECT_FALSE(fs::exists(kTempFileName));
    EXPECT_FALSE(fs::exists("sim/TempFile.txt"));
#endif
}

TEST(RewriteFailure, PermissionBitsAreKept) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no permission bits; RewriteWin32.AttributesAreKept checks what a "
                    "file keeps there";
#else
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    ASSERT_EQ(chmod(kConfigFileName, 0640), 0);
    ExpectCompleted(Rewrite());
    struct stat info;
    ASSERT_EQ(stat(kConfigFileName, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
}

TEST(RewriteFailure, ReadOnlyFileIsLeftAlone) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    ASSERT_EQ(chmod(kConfigFileName, 0444), 0);
    ExpectFailed(Rewrite(), "нет доступа");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

TEST(RewriteFailure, FileFoundRegardlessOfLetterCaseKeepsItsName) {
    ScratchDirectory dir;
    WriteFileBytes("aircraft.CFG", kBefore);
    ExpectCompleted(Rewrite());
    EXPECT_EQ(ReadFileBytes("aircraft.CFG"), kAfter);
    ASSERT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::directory_iterator(".")->path().filename(), "aircraft.CFG");
#ifndef _WIN32
    EXPECT_FALSE(fs::exists(fs::symlink_status(kConfigFileName)));
#endif
}

TEST(RewriteFailure, ExactNameWinsOverOtherLetterCase) {
#ifdef _WIN32
    GTEST_SKIP() << kOneFileWhateverTheCase;
#else
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    WriteFileBytes("aircraft.cfg", "other");
    ExpectCompleted(Rewrite());
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kAfter);
    EXPECT_EQ(ReadFileBytes("aircraft.cfg"), "other");
#endif
}

TEST(RewriteFailure, TwoNamesOfOtherLetterCaseAreNotGuessedBetween) {
#ifdef _WIN32
    GTEST_SKIP() << kOneFileWhateverTheCase;
#else
    ScratchDirectory dir;
    WriteFileBytes("aircraft.cfg", kBefore);
    WriteFileBytes("AIRCRAFT.CFG", kBefore);
    ExpectFailed(Rewrite(), "Unable to open the file.");
    EXPECT_EQ(ReadFileBytes("aircraft.cfg"), kBefore);
    EXPECT_EQ(ReadFileBytes("AIRCRAFT.CFG"), kBefore);
#endif
}

// A child process whose files may not grow beyond `limit` bytes rewrites a file that must grow.
TEST(RewriteFailure, WriteBeyondTheFileSizeLimit) {
#ifdef _WIN32
    GTEST_SKIP()
        << "Windows has no limit on the size of the files a process writes (setrlimit) to run into";
#else
    ScratchDirectory dir;
    std::string before;
    while (before.size() < 200000)
        before += "Center1=1\n"; // every line grows by its replacement and its CR
    WriteFileBytes(kConfigFileName, before);

    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{220000, 220000}; // the new content is 260000 bytes
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto messages = Rewrite();
        const std::string report = messages.size() == 1 && messages[0].icon == MessageIcon::Stop
                                       ? messages[0].text
                                       : "unexpected";
        [[maybe_unused]] auto n = write(pipefd[1], report.data(), report.size());
        _exit(0);
    }
    close(pipefd[1]);
    std::string report;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipefd[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(n));
    close(pipefd[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(report.find("TempFile.txt"), std::string::npos) << report;
    EXPECT_NE(report.find("допустимый размер"), std::string::npos) << report;
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == before);
    EXPECT_FALSE(fs::exists(kTempFileName));
#endif
}

// Every file operation of a run, made to fail in turn. Records which operations were called,
// in order, and from which thread.
class FailingOps : public FileOps {
public:
    explicit FailingOps(int failAt, int error) : m_failAt(failAt), m_error(error) {}
    int calls = 0;
    std::string sequence; // one letter per call
    bool allOnTheCallingThread = true;

    int Open(const char* p, int f, mode_t m) override {
        return Fail('o') ? -1 : FileOps::Open(p, f, m);
    }
    ssize_t Read(int fd, void* b, size_t n) override {
        return Fail('r') ? -1 : FileOps::Read(fd, b, n);
    }
    ssize_t Write(int fd, const void* b, size_t n) override {
        return Fail('w') ? -1 : FileOps::Write(fd, b, n);
    }
#ifdef _WIN32
    int GetAttributes(int fd, FileAttributes* a) override {
        return Fail('g') ? -1 : FileOps::GetAttributes(fd, a);
    }
    int SetAttributes(int fd, const FileAttributes& a) override {
        return Fail('s') ? -1 : FileOps::SetAttributes(fd, a);
    }
#else
    int Fstat(int fd, struct stat* s) override {
        return Fail('t') ? -1 : FileOps::Fstat(fd, s);
    }
    int Fchmod(int fd, mode_t m) override {
        return Fail('m') ? -1 : FileOps::Fchmod(fd, m);
    }
    int SyncFileRange(int fd, off_t offset, off_t length) override {
        return Fail('b') ? -1 : FileOps::SyncFileRange(fd, offset, length);
    }
#endif
    int Fsync(int fd) override {
        return Fail('f') ? -1 : FileOps::Fsync(fd);
    }
    int Close(int fd) override {
        const bool fail = Fail('c');
        FileOps::Close(fd); // the descriptor is gone either way, as with close(2)
        return fail ? -1 : 0;
    }
    int Rename(const char* a, const char* b) override {
        return Fail('n') ? -1 : FileOps::Rename(a, b);
    }
    int Unlink(const char* p) override {
        return Fail('u') ? -1 : FileOps::Unlink(p);
    }

private:
    bool Fail(char what) {
        sequence += what;
        if (std::this_thread::get_id() != m_thread)
            allOnTheCallingThread = false;
        if (++calls != m_failAt)
            return false;
        errno = m_error;
        return true;
    }
    int m_failAt;
    int m_error;
    std::thread::id m_thread = std::this_thread::get_id();
};

// A file of one block, read and rewritten in one go, and one of many blocks, which is scanned
// beside the reading and writing and is sent on its way to the disk while it is written.
class EveryFileOperation : public testing::TestWithParam<std::size_t> {};

TEST_P(EveryFileOperation, ThatFailsLeavesTheFileAsItWas) {
    ScratchDirectory dir;
    std::string before;
    while (before.size() < GetParam())
        before += "[fuel]\r\nCenter1=1, 2, 3\r\nplain line with some text in it\n";
    WriteFileBytes(kConfigFileName, before);
    const std::string after = ExpectedRewrite(before, kRules);

    FailingOps counting(0, 0);
    RecordingCallback owner;
    ConfigRewriter(counting).RewriteConfigFile(kRules, "done", owner);
    ExpectCompleted(owner.messages);
    ASSERT_TRUE(ReadFileBytes(kConfigFileName) == after);
    ASSERT_GT(counting.calls, 10);
    // However the threads meet, the operations come in the same order, and from the caller.
    EXPECT_TRUE(counting.allOnTheCallingThread);
    FailingOps again(0, 0);
    WriteFileBytes(kConfigFileName, before);
    ConfigRewriter(again).RewriteConfigFile(kRules, "done", owner);
    EXPECT_EQ(again.sequence, counting.sequence);
#ifdef __linux__
    if (GetParam() > 8 * 1024 * 1024) {
        EXPECT_NE(counting.sequence.find('b'), std::string::npos) << counting.sequence;
    }
#endif

    WriteFileBytes(kConfigFileName, before);
    for (int failAt = 1; failAt <= counting.calls; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt) + " of " + counting.sequence);
        FailingOps ops(failAt, EIO);
        RecordingCallback failed;
        ConfigRewriter(ops).RewriteConfigFile(kRules, "done", failed);
        ExpectFailed(failed.messages, "");
        ASSERT_TRUE(ReadFileBytes(kConfigFileName) == before);
        ASSERT_FALSE(fs::exists(kTempFileName));
    }
    std::printf("%d file operations failed one at a time: %s\n", counting.calls,
                counting.sequence.c_str());
}

INSTANTIATE_TEST_SUITE_P(RewriteFailure, EveryFileOperation,
                         testing::Values(std::size_t{60000}, std::size_t{9} << 20),
                         [](const auto& info) {
                             return info.param < (std::size_t{1} << 20) ? "OneBlock" : "ManyBlocks";
                         });

#ifndef _WIN32
TEST(RewriteFailure, WritingEarlyIsOnlyAHelp) {
    ScratchDirectory dir;
    std::string before;
    while (before.size() < (std::size_t{9} << 20))
        before += "Center1=1, 2, 3\r\nplain line with some text in it\r\n";
    WriteFileBytes(kConfigFileName, before);
    // A system or file system that cannot start writing early: the flush at the end does it.
    struct NoEarlyWriting : FileOps {
        int SyncFileRange(int, off_t, off_t) override {
            ++calls;
            errno = ENOSYS;
            return -1;
        }
        int calls = 0;
    } ops;
    RecordingCallback owner;
    ConfigRewriter(ops).RewriteConfigFile(kRules, "done", owner);
    ExpectCompleted(owner.messages);
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == ExpectedRewrite(before, kRules));
    EXPECT_LE(ops.calls, 1); // not asked again
}
#endif

TEST(RewriteFailure, FullDiskIsNamed) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    struct FullDisk : FileOps {
        ssize_t Write(int, const void*, size_t) override {
            errno = ENOSPC;
            return -1;
        }
    } ops;
    RecordingCallback owner;
    ConfigRewriter(ops).RewriteConfigFile(kRules, "done", owner);
    ExpectFailed(owner.messages, "на диске нет места");
    EXPECT_EQ(owner.messages[0].caption, "Ошибка");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

} // namespace
