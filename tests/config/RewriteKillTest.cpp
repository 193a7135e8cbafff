// A rewrite killed at any moment leaves the old file or the new one, never a mixture, and the
// next rewrite finishes the job.
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

#ifdef _WIN32
// Under Wine a process takes long to start and end, and the rewrite is slower: a smaller file and
// fewer kills keep the test within half a minute. One run there may take twice as long as the
// next, so the moments of the kills follow what the runs take (see below).
constexpr std::size_t kFileSize = 4u * 1024 * 1024;
constexpr int kKills = 30;
constexpr int kMaxRounds = 120;
constexpr bool kFollowRunTime = true;
#else
// About a third of the rounds end before their kill would come (see below): the rounds leave
// room for that. A build with the address or thread checker runs several times slower, and a busy
// machine slower still: a smaller file, which still takes many blocks, and half the kills keep it
// within the deadline.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define REWRITE_KILL_CHECKED_BUILD
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define REWRITE_KILL_CHECKED_BUILD
#endif
#endif
#ifdef REWRITE_KILL_CHECKED_BUILD
constexpr std::size_t kFileSize = 6u * 1024 * 1024;
constexpr int kKills = 50;
#else
constexpr std::size_t kFileSize = 16u * 1024 * 1024;
constexpr int kKills = 100;
#endif
constexpr int kMaxRounds = 2 * kKills;
constexpr bool kFollowRunTime = false;
#endif

const std::vector<LineRule> kRulesA = MakeFuelTankRules(100.0f, 200.0f, 300.0f, 400.0f);
const std::vector<LineRule> kRulesB = MakeFuelTankRules(4950.0f, 3850.0f, 2860.0f, 2590.0f);

#ifdef _WIN32
// Windows has no fork: the child is this program again, which runs only the test below with the
// rules named in the environment, and is ended with TerminateProcess.
constexpr const char* kChildRules = "IL18_REWRITE_CHILD_RULES";
constexpr DWORD kKilledCode = 0xDEAD;

TEST(RewriteKillChild, DISABLED_RewritesOnce) {
    const char* which = std::getenv(kChildRules);
    if (which == nullptr)
        GTEST_SKIP() << "runs only as the child of RewriteKill";
    RecordingCallback owner;
    ConfigRewriter().RewriteConfigFile(which[0] == 'B' ? kRulesB : kRulesA, "done", owner);
    ASSERT_EQ(owner.messages.size(), 1u);
    ASSERT_EQ(owner.messages[0].text, "done");
}

using Child = HANDLE;

Child RewriteInChild(const std::vector<LineRule>& rules) {
    SetEnvironmentVariableA(kChildRules, &rules == &kRulesB ? "B" : "A");
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe +
                          "\" --gtest_filter=RewriteKillChild.* --gtest_also_run_disabled_tests";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES; // none: its test output would only be noise here
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}
void Kill(Child child) {
    TerminateProcess(child, kKilledCode);
}
struct Ended {
    bool killed, succeeded;
};
Ended Wait(Child child) {
    WaitForSingleObject(child, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    return {code == kKilledCode, code == 0};
}
#else
using Child = pid_t;

// Rewrites in a child process; returns the child's pid.
pid_t RewriteInChild(const std::vector<LineRule>& rules) {
    const pid_t child = fork();
    if (child == 0) {
        RecordingCallback owner;
        ConfigRewriter().RewriteConfigFile(rules, "done", owner);
        _exit(owner.messages.size() == 1 && owner.messages[0].text == "done" ? 0 : 1);
    }
    return child;
}
void Kill(Child child) {
    kill(child, SIGKILL);
}
struct Ended {
    bool killed, succeeded;
};
Ended Wait(Child child) {
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFSIGNALED(status), WIFEXITED(status) && WEXITSTATUS(status) == 0};
}
#endif

TEST(RewriteKill, FileIsAlwaysOldOrNew) {
    ScratchDirectory dir;
    std::string original;
    while (original.size() < kFileSize)
        original += "[fuel]\r\nCenter2=0, 0, 0, 100, 0\r\nLeftAux=1, 2, 3, 4, 5\n"
                    "station_load.0=170, 1, 2, 3, Pilot\r\nsome ordinary line of the file\r\n";
    const std::vector<LineRule>& rulesA = kRulesA;
    const std::vector<LineRule>& rulesB = kRulesB;
    const std::string formA = ExpectedRewrite(original, rulesA);
    const std::string formB = ExpectedRewrite(formA, rulesB);
    ASSERT_EQ(ExpectedRewrite(formB, rulesA), formA);
    WriteFileBytes(kConfigFileName, original);

    // How long one whole run takes here.
    const auto started = Clock::now();
    ASSERT_TRUE(Wait(RewriteInChild(rulesA)).succeeded);
    auto runTime = Clock::now() - started;
    ASSERT_TRUE(ReadFileBytes(kConfigFileName) == formA);

    std::mt19937 random(75);
    std::string current = formA;
    int kills = 0, killedBeforeReplacing = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(150);
    int rounds = 0;
    for (; kills < kKills && rounds < kMaxRounds && Clock::now() < deadline; ++rounds) {
        const int round = rounds;
        const bool toB = round % 2 == 0;
        const auto& rules = toB ? rulesB : rulesA;
        const std::string& target = toB ? formB : formA;

        // Kill at a moment spread evenly over the run's whole duration, and beyond, as a run may
        // take longer than the first.
        const auto delay = runTime * (std::uniform_real_distribution<double>(0.0, 1.5)(random));
        const Child child = RewriteInChild(rules);
        std::this_thread::sleep_for(delay);
        Kill(child);
        const Ended ended = Wait(child);
        if (ended.killed)
            ++kills;

        const std::string after = ReadFileBytes(kConfigFileName);
        const bool old = after == current;
        ASSERT_TRUE(old || after == target)
            << "round " << round << ": a mixture of " << after.size() << " bytes";
        if (old && ended.killed)
            ++killedBeforeReplacing;
        // A run that ended before its kill was shorter than thought, a killed one may have been
        // longer: the next kill comes somewhat earlier or later.
        if (kFollowRunTime)
            runTime = ended.killed ? runTime * 21 / 20 : runTime * 4 / 5;

        // The next run succeeds, whatever the killed one left behind.
        RecordingCallback owner;
        ConfigRewriter().RewriteConfigFile(rules, "done", owner);
        ASSERT_EQ(owner.messages.size(), 1u);
        ASSERT_EQ(owner.messages[0].text, "done");
        ASSERT_TRUE(ReadFileBytes(kConfigFileName) == target);
        ASSERT_FALSE(fs::exists(fs::symlink_status(kTempFileName)));
        current = target;
    }
    std::cout << kills << " kills, " << killedBeforeReplacing
              << " before the file was replaced, run "
              << std::chrono::duration_cast<std::chrono::milliseconds>(runTime).count() << " ms\n";
    EXPECT_GE(kills, kKills);
}

} // namespace
