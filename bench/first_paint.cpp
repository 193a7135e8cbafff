// Watches the start of a program for bench_start, which runs it as a child process. Linked into
// both programs that bench_start compares, so that they are watched in exactly the same way.
//
// bench_start passes a pipe in BENCH_START_FD and a time to idle in BENCH_START_IDLE_MS. The
// watcher writes to the pipe, one line each, with CLOCK_MONOTONIC in nanoseconds:
//   app <ns>              the application object is being made: the libraries are loaded, the
//                         statics built, the platform plugin loaded
//   loop <ns>             the event loop turns for the first time (the window is built and shown)
//   painted <ns> <title>  the first window has painted and its paint is flushed
//   idle <VmHWM> <VmRSS>  after the idle time, both in KiB from /proc/self/status
//   closing <ns>          the window is closed now, as by its close box; the program then ends
// Without BENCH_START_FD the program runs as it would on its own.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

int g_reportFd = -1;

long long Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void Report(const std::string& line) {
    const std::string text = line + '\n';
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(g_reportFd, text.data() + written, text.size() - written);
        if (n <= 0)
            return;
        written += static_cast<std::size_t>(n);
    }
}

// A field of /proc/self/status in KiB ("VmHWM:   51234 kB"), -1 when it is not there.
long StatusKiB(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    long value = -1;
    char line[256];
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

class FirstPaintWatcher : public QObject {
public:
    explicit FirstPaintWatcher(int idleMs) : m_idleMs(idleMs) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_window == nullptr && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            // A window paints itself first, then its children, then flushes the lot; a zero
            // timer fires once all of that is done.
            if (widget->isWindow()) {
                m_window = widget;
                QTimer::singleShot(0, this, [this] { Painted(); });
            }
        }
        return false;
    }

private:
    void Painted() {
        Report("painted " + std::to_string(Now()) + ' ' + m_window->windowTitle().toStdString());
        QTimer::singleShot(m_idleMs, this, [this] { Idled(); });
    }

    void Idled() {
        Report("idle " + std::to_string(StatusKiB("VmHWM")) + ' ' +
               std::to_string(StatusKiB("VmRSS")));
        Report("closing " + std::to_string(Now()));
        m_window->close();
    }

    int m_idleMs;
    QWidget* m_window = nullptr;
};

void WatchStart() {
    const char* fd = std::getenv("BENCH_START_FD");
    if (fd == nullptr)
        return;
    g_reportFd = std::atoi(fd);
    Report("app " + std::to_string(Now()));
    const char* idle = std::getenv("BENCH_START_IDLE_MS");
    auto* watcher = new FirstPaintWatcher(idle != nullptr ? std::atoi(idle) : 0);
    watcher->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(watcher);
    QTimer::singleShot(0, watcher, [] { Report("loop " + std::to_string(Now())); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchStart)
