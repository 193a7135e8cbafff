// The folder chooser, the settings, the question and the messages of the start on Qt.

#include "ui/Backend.h"
#include "ui/Folders.h"
#include "ui/Question.h"
#include "ui/StartMessage.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>
#include <optional>

namespace {

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

QSettings Settings() {
    return QSettings(QStringLiteral("il18-loader"), QStringLiteral("il18-loader"));
}

} // namespace

std::string ChooseFolder(std::string_view title, std::string_view start) {
    return ToUtf8(QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(title),
                                                    ToQString(start)));
}

std::string LoadFolderSetting(std::string_view key) {
    return ToUtf8(Settings().value(ToQString(key)).toString());
}

void SaveFolderSetting(std::string_view key, std::string_view folder) {
    QSettings settings = Settings();
    if (folder.empty())
        settings.remove(ToQString(key));
    else
        settings.setValue(ToQString(key), ToQString(folder));
}

bool AskYesNo(NativeWindow* owner, std::string_view text, std::string_view caption) {
    QWidget* parent = owner != nullptr ? ToWidget(owner)->window() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, ToQString(caption),
                    ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {

// Whether the Wayland display `name` takes a connection: its socket, in XDG_RUNTIME_DIR unless
// the name is a path.
bool WaylandReachable(const QByteArray& name) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray path = name.startsWith('/') ? name : runtime + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if ((!name.startsWith('/') && runtime.isEmpty()) ||
        static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool reached =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return reached;
}

// The platform Qt starts on, and its display, found as Qt finds them: the platforms that
// QT_QPA_PLATFORM lists (by default Wayland in a Wayland session other than GNOME's, then X), the
// first that starts. X is reached as Qt reaches it (the server may also refuse us, as under sudo
// without its authority); a platform without a display of its own (offscreen, minimal) always
// starts. Where none starts, the first, unreached.
struct QtDisplay {
    QByteArray platform;
    QByteArray name;
    bool reached = true;
    // A window on it is seen by a person.
    bool windowing() const { return platform == "xcb" || platform.startsWith("wayland"); }
};

QtDisplay FindDisplay() {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        const QByteArray desktop =
            (qgetenv("XDG_CURRENT_DESKTOP") + qgetenv("XDG_SESSION_DESKTOP")).toLower();
        platforms = qgetenv("XDG_SESSION_TYPE") == "wayland" && !desktop.contains("gnome")
                        ? QByteArrayLiteral("wayland;xcb")
                        : QByteArrayLiteral("xcb");
    }
    std::optional<QtDisplay> first;
    for (const QByteArray& entry : platforms.split(';')) {
        QtDisplay display;
        display.platform = entry.indexOf(':') < 0 ? entry : entry.left(entry.indexOf(':'));
        if (display.platform == "xcb") {
            display.name = qgetenv("DISPLAY");
            xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
            display.reached = xcb_connection_has_error(connection) == 0;
            xcb_disconnect(connection);
        } else if (display.platform.startsWith("wayland")) {
            display.name =
                qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")).toUtf8();
            display.reached = WaylandReachable(display.name);
        }
        if (display.reached)
            return display;
        if (!first)
            first = display;
    }
    return first.value_or(QtDisplay{});
}

} // namespace

std::optional<std::string> UnreachableDisplay() {
    const QtDisplay display = FindDisplay();
    if (display.reached)
        return std::nullopt;
    return display.name.toStdString();
}

ConsoleView ProgramConsole() {
    return {true, isatty(STDERR_FILENO) != 0};
}

bool ShowStartMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    if (QApplication::instance() != nullptr) {
        ShowModalMessage(nullptr, text, caption, icon);
        return true;
    }
    if (const QtDisplay display = FindDisplay(); !display.reached || !display.windowing())
        return false;
    int argc = 1;
    char name[] = "il18-loader";
    char* argv[] = {name, nullptr};
    const QApplication application(argc, argv);
    UseDialogFont();
    UseDesktopStyle();
    ShowModalMessage(nullptr, text, caption, icon);
    return true;
}
