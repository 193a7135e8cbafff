// What the rewrite does when the file system is against it: the file is replaced whole or not
// at all, and the user is told which.
#include "CountingOps.h"
#include "RewriteFixture.h"
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
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
    ExpectCannotOpen(messages, "");
    EXPECT_EQ(messages[0].text, "Unable to open the file.\r\nНе удалось открыть файл «" +
                                    FullPathOf(kConfigFileName) + "»: файл не найден.");
    EXPECT_EQ(messages[0].caption, kApplicationTitle);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RewriteFailure, DirectoryNamedLikeTheFile) {
    ScratchDirectory dir;
    fs::create_directory(kConfigFileName);
    ExpectCannotOpen(Rewrite(), "это каталог, а не файл");
    EXPECT_TRUE(fs::is_directory(kConfigFileName));
    EXPECT_FALSE(fs::exists(kTempFileName));
}

TEST(RewriteFailure, DanglingLinkIsNotFollowedIntoANewFile) {
#ifdef _WIN32
    GTEST_SKIP() << kNoLinks;
#else
    ScratchDirectory dir;
    fs::create_symlink("nowhere.cfg", kConfigFileName);
    ExpectCannotOpen(Rewrite(), "файл не найден");
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
    ExpectCannotOpen(Rewrite(), "это не обычный файл");
    fs::remove(kConfigFileName);
    ASSERT_EQ(mkfifo(kConfigFileName, 0644), 0); // must not hang waiting for a writer
    ExpectCannotOpen(Rewrite(), "это не обычный файл");
#endif
}

TEST(RewriteFailure, DirectoryNamedLikeTheTemporaryFile) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    fs::create_directory(kTempFileName);
    ExpectFailed(Rewrite(), "Не удалось записать временный файл «" + FullPathOf(kTempFileName) +
                                "»: это каталог, а не файл.\r\nФайл «" +
                                FullPathOf(kConfigFileName) + "» не изменен.");
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
    ExpectCannotOpen(Rewrite(), "файл не найден");
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
    // A target named like the temporary file would be removed as a leftover: refused.
    fs::rename("sim/Aircraft.cfg", "sim/TempFile.txt");
    fs::remove(kConfigFileName);
    fs::create_symlink("sim/TempFile.txt", kConfigFileName);
    ExpectFailed(Rewrite(), "»: это ссылка на временный файл «" + fs::canonical("sim").string());
    EXPECT_EQ(ReadFileBytes("sim/TempFile.txt"), kAfter);
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
    ExpectFailed(Rewrite(),
                 "Не удалось заменить файл «" + FullPathOf(kConfigFileName) + "»: нет доступа.");
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
    ExpectCannotOpen(Rewrite(), "несколько файлов с этим именем");
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

// Every file operation of a run, made to fail in turn.
class FailingOps : public CountingOps {
public:
    FailingOps(int failAt, int error) : m_failAt(failAt), m_error(error) {}

private:
    bool Before() override {
        if (calls != m_failAt)
            return false;
        errno = m_error;
        return true;
    }
    int m_failAt;
    int m_error;
};

// A real file whose name is found in other letter case and that is reached through a link, so
// that every operation of the lookup takes part.
TEST(RewriteFailure, EveryFileOperationThatFailsLeavesTheFileAsItWas) {
    ScratchDirectory dir;
    const std::string before = ReadFileBytes(DataFile("il18-aircraft.cfg"));
    const std::string after = ExpectedRewrite(before, kRules);
    const char* name = "aircraft.cfg";
#ifdef _WIN32
    const char* file = name;
#else
    const char* file = "real.cfg";
    fs::create_symlink(file, name);
#endif
    WriteFileBytes(file, before);

    FailingOps counting(0, 0);
    ExpectCompleted(Rewrite(counting));
    ASSERT_TRUE(ReadFileBytes(file) == after);
    ASSERT_GT(counting.renamedAt, 0);
    EXPECT_EQ(counting.locked, "hh"); // replaced and its folder flushed under the lock

    for (int failAt = 1; failAt <= counting.calls; ++failAt) {
        SCOPED_TRACE("failing call " + std::to_string(failAt) + " of " + counting.sequence);
        WriteFileBytes(file, before);
        FailingOps ops(failAt, EIO);
        const auto messages = Rewrite(ops);
        ASSERT_FALSE(fs::exists(kTempFileName));
        if (failAt > counting.renamedAt) {
            // Only the folder's flush is left once the file is replaced: not a failure of the run.
            ExpectCompleted(messages);
            ASSERT_TRUE(ReadFileBytes(file) == after);
            continue;
        }
        ExpectFailed(messages, "ошибка ввода-вывода");
        ASSERT_TRUE(ReadFileBytes(file) == before);
    }
    std::printf("%d file operations failed one at a time: %s\n", counting.calls,
                counting.sequence.c_str());
}

// Real files are a few dozen kilobytes; one of more than 256 MiB is not read at all.
TEST(RewriteFailure, FileBeyondTheSizeLimitIsRefused) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, kBefore);
    struct SaysHuge : FileOps {
        int OpenToRead(const char* path, FileInfo& info) override {
            const int fd = FileOps::OpenToRead(path, info);
            info.size = std::int64_t{257} << 20;
            return fd;
        }
        ssize_t Read(int, void*, size_t) override {
            ADD_FAILURE() << "read";
            return 0;
        }
    } ops;
    ExpectFailed(Rewrite(ops), "«" + FullPathOf(kConfigFileName) + "»: файл больше 256 МБ.");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

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
    ExpectFailed(owner.messages, "»: на диске нет места.");
    EXPECT_EQ(owner.messages[0].caption, "Ошибка");
    EXPECT_EQ(ReadFileBytes(kConfigFileName), kBefore);
    EXPECT_FALSE(fs::exists(kTempFileName));
}

} // namespace
