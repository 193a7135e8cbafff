// A rewrite killed at any moment leaves the old file or the new one, never a mixture, and the
// next rewrite finishes the job.
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

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

TEST(RewriteKill, FileIsAlwaysOldOrNew) {
    ScratchDirectory dir;
    std::string original;
    while (original.size() < 16u * 1024 * 1024)
        original += "[fuel]\r\nCenter2=0, 0, 0, 100, 0\r\nLeftAux=1, 2, 3, 4, 5\n"
                    "station_load.0=170, 1, 2, 3, Pilot\r\nsome ordinary line of the file\r\n";
    const std::vector<LineRule> rulesA = MakeFuelTankRules(100.0f, 200.0f, 300.0f, 400.0f);
    const std::vector<LineRule> rulesB = MakeFuelTankRules(4950.0f, 3850.0f, 2860.0f, 2590.0f);
    const std::string formA = ExpectedRewrite(original, rulesA);
    const std::string formB = ExpectedRewrite(formA, rulesB);
    ASSERT_EQ(ExpectedRewrite(formB, rulesA), formA);
    WriteFileBytes(kConfigFileName, original);

    // How long one whole run takes here.
    const auto started = Clock::now();
    int status = 0;
    waitpid(RewriteInChild(rulesA), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto runTime = Clock::now() - started;
    ASSERT_TRUE(ReadFileBytes(kConfigFileName) == formA);

    std::mt19937 random(75);
    std::string current = formA;
    int kills = 0, killedBeforeReplacing = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(150);
    int rounds = 0;
    for (; kills < 100 && rounds < 150 && Clock::now() < deadline; ++rounds) {
        const int round = rounds;
        const bool toB = round % 2 == 0;
        const auto& rules = toB ? rulesB : rulesA;
        const std::string& target = toB ? formB : formA;

        // Kill at a moment spread evenly over the run's whole duration, and beyond, as a run may take longer than the first.
        const auto delay = runTime * (std::uniform_real_distribution<double>(0.0, 1.5)(random));
        const pid_t child = RewriteInChild(rules);
        std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status))
            ++kills;

        const std::string after = ReadFileBytes(kConfigFileName);
        const bool old = after == current;
        ASSERT_TRUE(old || after == target)
            << "round " << round << ": a mixture of " << after.size() << " bytes";
        if (old && WIFSIGNALED(status))
            ++killedBeforeReplacing;

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
    EXPECT_GE(kills, 100);
}

} // namespace
