// A rewrite killed at any of its file operations leaves the old file or the new one, never a
// mixture, and the next rewrite finishes the job.
#include "CountingOps.h"
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/Win32Api.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::vector<LineRule> kRulesA = MakeFuelTankRules(100.0f, 200.0f, 300.0f, 400.0f);
const std::vector<LineRule> kRulesB = MakeFuelTankRules(4950.0f, 3850.0f, 2860.0f, 2590.0f);

// Ends the process, as a kill would, as its file operation number `killAt` begins.
class KillingOps : public CountingOps {
public:
    explicit KillingOps(int killAt) : m_killAt(killAt) {}

private:
    bool Before() override {
        if (calls == m_killAt) {
#ifdef _WIN32
            TerminateProcess(GetCurrentProcess(), 0xDEAD);
#else
            raise(SIGKILL);
#endif
        }
        return false;
    }
    int m_killAt;
};

// Rewrites once with the rules `which` names ('A' or 'B'), killed at file operation `killAt`
// (0: at no operation); true when it completed.
bool RewriteOnce(char which, int killAt) {
    KillingOps ops(killAt);
    RecordingCallback owner;
    ConfigRewriter(ops).RewriteConfigFile(which == 'B' ? kRulesB : kRulesA, "done", owner);
    return owner.messages.size() == 1 && owner.messages[0].text == "done";
}

#ifdef _WIN32
// Windows has no fork: the child is this program again, which runs only the test below with what
// to do named in the environment.
constexpr const char* kChildTask = "IL18_REWRITE_CHILD";

TEST(RewriteKillChild, DISABLED_RewritesOnce) {
    const char* task = std::getenv(kChildTask);
    if (task == nullptr)
        GTEST_SKIP() << "runs only as the child of RewriteKill";
    ASSERT_TRUE(RewriteOnce(task[0], std::atoi(task + 1)));
}

using Child = HANDLE;

Child RewriteInChild(char which, int killAt) {
    SetEnvironmentVariableA(kChildTask, (which + std::to_string(killAt)).c_str());
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
// True when the child completed its rewrite.
bool Wait(Child child) {
    WaitForSingleObject(child, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    return code == 0;
}
#else
using Child = pid_t;

Child RewriteInChild(char which, int killAt) {
    const pid_t child = fork();
    if (child == 0)
        _exit(RewriteOnce(which, killAt) ? 0 : 1);
    return child;
}
bool Wait(Child child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

class RewriteKill : public testing::Test {
protected:
    void SetUp() override {
        m_current = ReadFileBytes(DataFile("il18-aircraft.cfg"));
        m_forms[0] = ExpectedRewrite(m_current, kRulesA);
        m_forms[1] = ExpectedRewrite(m_forms[0], kRulesB);
        ASSERT_EQ(ExpectedRewrite(m_forms[1], kRulesA), m_forms[0]);
        WriteFileBytes(kConfigFileName, m_current);
    }

    // One round: a child rewrites towards the other form and is killed at its file operation
    // `killAt`; the file is then the old form or the new one, and a run here completes the
    // rewrite.
    void Round(int killAt) {
        const char which = m_round % 2 == 0 ? 'A' : 'B';
        const std::string& target = m_forms[m_round % 2];
        ++m_round;
        ASSERT_FALSE(Wait(RewriteInChild(which, killAt)));
        const std::string after = ReadFileBytes(kConfigFileName);
        ASSERT_TRUE(after == m_current || after == target)
            << "a mixture of " << after.size() << " bytes";

        ASSERT_TRUE(RewriteOnce(which, 0));
        ASSERT_TRUE(ReadFileBytes(kConfigFileName) == target);
        ASSERT_FALSE(fs::exists(fs::symlink_status(kTempFileName)));
        m_current = target;
    }

    ScratchDirectory m_dir;
    std::string m_current;
    std::string m_forms[2]; // after rules A, after rules B
    int m_round = 0;
};

TEST_F(RewriteKill, AtEachFileOperationTheFileIsOldOrNew) {
    CountingOps counting;
    RecordingCallback owner;
    ConfigRewriter(counting).RewriteConfigFile(kRulesA, "done", owner);
    ASSERT_EQ(owner.messages.at(0).text, "done");
    m_current = m_forms[0];
    m_round = 1;

    for (int killAt = 1; killAt <= counting.calls; ++killAt) {
        SCOPED_TRACE("killed at operation " + std::to_string(killAt) + " of " + counting.sequence);
        Round(killAt);
        if (HasFatalFailure())
            return;
    }
    std::printf("killed at each of %d file operations: %s\n", counting.calls,
                counting.sequence.c_str());
}

} // namespace
