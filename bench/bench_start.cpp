// Two programs started as child processes on the offscreen platform, in turns, in one run: the
// loader (start_loader: its application object, its sheet, its resources) and the smallest
// dialog program of the toolkit (start_dialog). For each, the time from the spawn to its first
// window painted, where that time goes, and its memory once it has painted and idled.
//
// first_paint.cpp, linked into both, reports the moments on a pipe (see there). Every figure is
// the median over the runs of its row. The exit, from the window's close to the parent reaping
// the process, is not part of the start time; it is reported on its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The child's end of the report pipe.
constexpr int kReportFd = 3;
// A child that has not ended by then is stuck; it is killed and the row fails.
constexpr int kDeadlineMs = 20'000;
// How long a child idles after its first paint before its memory is read.
constexpr int kIdleMs = 300;

struct Program {
    const char* name;
    const char* file;
    // The title of the window that must paint first: the run fails on any other (a message box,
    // say).
    const char* title;
};

const Program kDialog{"dialog", "start_dialog", ""};
const Program kLoader{"loader", "start_loader", "Загрузчик самолета Ил-18Д"};

long long Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string OwnDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/'));
}

// One start of one program, all times in milliseconds from the spawn.
struct Run {
    std::string error;  // empty when the program started, painted, idled and ended as it should
    double app = 0;     // the application object is being made
    double loop = 0;    // the event loop turns for the first time
    double painted = 0; // the first window has painted
    double exit = 0;    // from the window's close until the process is reaped
    double cpu = 0;     // user and system time of the whole process, its exit included
    double maxRssKiB = 0;
    double hwmKiB = 0; // after the idle
    double rssKiB = 0; // after the idle
};

// The environment of the parent, with the offscreen platform and the report pipe.
std::vector<std::string> ChildEnvironment(int idleMs) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (!variable.starts_with("QT_QPA_PLATFORM=") && !variable.starts_with("BENCH_START_"))
            environment.emplace_back(variable);
    }
    environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    environment.emplace_back("BENCH_START_FD=" + std::to_string(kReportFd));
    environment.emplace_back("BENCH_START_IDLE_MS=" + std::to_string(idleMs));
    return environment;
}

// What the child wrote, until it closes the pipe by ending; false when it is past the deadline.
bool ReadReport(int fd, long long deadline, std::string& report) {
    char buffer[4096];
    for (;;) {
        const long long left = (deadline - Now()) / 1'000'000;
        if (left <= 0)
            return false;
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        report.append(buffer, static_cast<std::size_t>(n));
    }
}

// What a child wrote to its standard output and error, closed when it goes out of scope.
class MessagesFile {
public:
    explicit MessagesFile(int fd) : m_fd(fd) {}
    MessagesFile(const MessagesFile&) = delete;
    MessagesFile& operator=(const MessagesFile&) = delete;
    ~MessagesFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // The last lines, to follow an error message.
    std::string Text() const {
        std::string text;
        char buffer[4096];
        for (off_t offset = 0;;) {
            const ssize_t n = ::pread(m_fd, buffer, sizeof buffer, offset);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
            offset += n;
        }
        constexpr std::size_t kShown = 2000;
        if (text.size() > kShown)
            text.erase(0, text.size() - kShown);
        return text.empty() ? std::string() : "; its messages:\n" + text;
    }

private:
    int m_fd;
};

Run StartAndWatch(const Program& program, const std::string& path, int idleMs) {
    Run run;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        run.error = "no pipe";
        return run;
    }
    // Moved off the child's report descriptor, or dup2 onto itself would leave it close-on-exec.
    if (pipeFds[1] == kReportFd) {
        const int moved = ::fcntl(pipeFds[1], F_DUPFD_CLOEXEC, kReportFd + 1);
        ::close(pipeFds[1]);
        pipeFds[1] = moved;
    }
    // The child's messages are kept aside and shown only when it fails.
    const int messages = ::memfd_create("bench_start messages", MFD_CLOEXEC);
    const MessagesFile keep(messages);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], kReportFd);
    if (messages >= 0) {
        posix_spawn_file_actions_adddup2(&actions, messages, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, messages, STDERR_FILENO);
    }

    std::vector<std::string> environment = ChildEnvironment(idleMs);
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string file = path;
    char* argv[] = {file.data(), nullptr};

    const long long spawned = Now();
    pid_t pid = 0;
    const int failed = ::posix_spawn(&pid, file.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (failed != 0) {
        ::close(pipeFds[0]);
        run.error = "cannot start " + path + ": " + std::strerror(failed);
        return run;
    }

    std::string report;
    const bool ended = ReadReport(pipeFds[0], spawned + kDeadlineMs * 1'000'000LL, report);
    ::close(pipeFds[0]);
    if (!ended)
        ::kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const long long reaped = Now();
    if (!ended) {
        run.error = std::string(program.name) + " did not end within the deadline" + keep.Text();
        return run;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.error = std::string(program.name) + " ended with status " + std::to_string(status) +
                    keep.Text();
        return run;
    }

    std::map<std::string, std::vector<std::string>> lines;
    std::istringstream stream(report);
    std::string line;
    while (std::getline(stream, line)) {
        const std::size_t blank = line.find(' ');
        std::string key = line.substr(0, blank);
        std::vector<std::string>& fields = lines[key];
        // The title is the rest of the line, blanks and all.
        if (key == "painted" && blank != std::string::npos) {
            const std::size_t second = line.find(' ', blank + 1);
            fields.push_back(line.substr(blank + 1, second - blank - 1));
            fields.push_back(second != std::string::npos ? line.substr(second + 1) : "");
            continue;
        }
        std::istringstream words(blank != std::string::npos ? line.substr(blank + 1) : "");
        for (std::string word; words >> word;)
            fields.push_back(word);
    }
    const auto has = [&lines](const char* key, std::size_t count) {
        const auto found = lines.find(key);
        return found != lines.end() && found->second.size() >= count;
    };
    if (!has("app", 1) || !has("loop", 1) || !has("painted", 2) || !has("idle", 2) ||
        !has("closing", 1)) {
        run.error = std::string(program.name) + " reported only: " + report + keep.Text();
        return run;
    }
    if (lines["painted"][1] != program.title) {
        run.error = std::string(program.name) + " painted \"" + lines["painted"][1] +
                    "\" first, not its own window" + keep.Text();
        return run;
    }
    const auto since = [spawned](const std::string& ns) {
        return static_cast<double>(std::stoll(ns) - spawned) / 1e6;
    };
    run.app = since(lines["app"][0]);
    run.loop = since(lines["loop"][0]);
    run.painted = since(lines["painted"][0]);
    run.exit = static_cast<double>(reaped - std::stoll(lines["closing"][0])) / 1e6;
    run.hwmKiB = std::stod(lines["idle"][0]);
    run.rssKiB = std::stod(lines["idle"][1]);
    run.maxRssKiB = static_cast<double>(usage.ru_maxrss); // KiB on Linux
    const auto ms = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    run.cpu = ms(usage.ru_utime) + ms(usage.ru_stime);
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The runs of one program in one row.
struct Runs {
    std::vector<Run> runs;

    double MedianOf(double Run::*field) const {
        std::vector<double> values;
        for (const Run& run : runs)
            values.push_back(run.*field);
        return Median(values);
    }
};

struct SideBySide {
    Runs dialog;
    Runs loader;
};

// One iteration per pair of starts. The order alternates, so that neither program always finds
// the caches as the other one left them. One pair before the timed ones warms the page cache.
bool RunPairs(benchmark::State& state, int idleMs, SideBySide& both) {
    const std::string directory = OwnDirectory();
    const std::string dialogPath = directory + '/' + kDialog.file;
    const std::string loaderPath = directory + '/' + kLoader.file;
    for (const Run& warm :
         {StartAndWatch(kDialog, dialogPath, 0), StartAndWatch(kLoader, loaderPath, 0)}) {
        if (!warm.error.empty()) {
            state.SkipWithError(warm.error.c_str());
            return false;
        }
    }
    long long pair = 0;
    for (auto _ : state) {
        const bool loaderFirst = pair++ % 2 == 1;
        for (int turn = 0; turn < 2; ++turn) {
            const bool loader = (turn == 0) == loaderFirst;
            Run run = loader ? StartAndWatch(kLoader, loaderPath, idleMs)
                             : StartAndWatch(kDialog, dialogPath, idleMs);
            if (!run.error.empty()) {
                state.SkipWithError(run.error.c_str());
                return false;
            }
            (loader ? both.loader : both.dialog).runs.push_back(std::move(run));
        }
    }
    return true;
}

// The time to the first paint, the exit reported beside it. The processor time of each whole
// process is the steadier figure when other work shares the machine.
void BM_StartToFirstPaint(benchmark::State& state) {
    SideBySide both;
    if (!RunPairs(state, 0, both))
        return;
    const double dialog = both.dialog.MedianOf(&Run::painted);
    const double loader = both.loader.MedianOf(&Run::painted);
    state.counters["dialog_ms"] = dialog;
    state.counters["loader_ms"] = loader;
    state.counters["loader/dialog"] = dialog > 0 ? loader / dialog : 0;
    state.counters["dialog_exit_ms"] = both.dialog.MedianOf(&Run::exit);
    state.counters["loader_exit_ms"] = both.loader.MedianOf(&Run::exit);
    state.counters["dialog_cpu_ms"] = both.dialog.MedianOf(&Run::cpu);
    state.counters["loader_cpu_ms"] = both.loader.MedianOf(&Run::cpu);
}

// The start split where the two programs' own code begins and ends: loading (exec, the
// libraries, static objects, the toolkit's core and platform plugin, up to the application
// object); building (the rest of the application object, style, font, the window made and
// shown, up to the first turn of the event loop); painting (up to the first paint flushed).
void BM_StartPhases(benchmark::State& state) {
    SideBySide both;
    if (!RunPairs(state, 0, both))
        return;
    for (const auto& [name, runs] : {std::pair{"dialog", &both.dialog}, {"loader", &both.loader}}) {
        std::vector<double> load, build, paint;
        for (const Run& run : runs->runs) {
            load.push_back(run.app);
            build.push_back(run.loop - run.app);
            paint.push_back(run.painted - run.loop);
        }
        const std::string prefix(name);
        state.counters[prefix + "_load_ms"] = Median(load);
        state.counters[prefix + "_build_ms"] = Median(build);
        state.counters[prefix + "_paint_ms"] = Median(paint);
    }
}

// The memory after the first paint and an idle spell: the peak resident set over the process's
// life (wait4's ru_maxrss, the exit included), and the peak and the resident set at the end of
// the idle (VmHWM, VmRSS).
void BM_PeakMemoryAtIdle(benchmark::State& state) {
    SideBySide both;
    if (!RunPairs(state, kIdleMs, both))
        return;
    const auto bytes = [](double kib) {
        return benchmark::Counter(kib * 1024, benchmark::Counter::kDefaults,
                                  benchmark::Counter::kIs1024);
    };
    state.counters["dialog_maxrss"] = bytes(both.dialog.MedianOf(&Run::maxRssKiB));
    state.counters["loader_maxrss"] = bytes(both.loader.MedianOf(&Run::maxRssKiB));
    const double dialogHwm = both.dialog.MedianOf(&Run::hwmKiB);
    const double loaderHwm = both.loader.MedianOf(&Run::hwmKiB);
    state.counters["dialog_VmHWM"] = bytes(dialogHwm);
    state.counters["loader_VmHWM"] = bytes(loaderHwm);
    state.counters["loader/dialog"] = dialogHwm > 0 ? loaderHwm / dialogHwm : 0;
    state.counters["dialog_VmRSS"] = bytes(both.dialog.MedianOf(&Run::rssKiB));
    state.counters["loader_VmRSS"] = bytes(both.loader.MedianOf(&Run::rssKiB));
}

} // namespace

// A row's time is the wall time of one pair: both programs started and ended.
BENCHMARK(BM_StartToFirstPaint)->Iterations(16)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartPhases)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeakMemoryAtIdle)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    // The counters are the result: a table of them unless asked otherwise.
    std::vector<char*> arguments(argv, argv + argc);
    std::string tabular = "--benchmark_counters_tabular=true";
    arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), tabular.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
