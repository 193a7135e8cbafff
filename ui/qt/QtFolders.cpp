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

#include <unistd.h>

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

// Whether Qt can start its platform here: an X or Wayland display, or a platform that needs none.
// Without one it would end the program instead.
bool DisplayAvailable() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM")
                                 .section(QLatin1Char(';'), 0, 0)
                                 .section(QLatin1Char(':'), 0, 0);
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal") ||
           platform == QLatin1String("vnc");
}

} // namespace

ConsoleView ProgramConsole() {
    return {true, isatty(STDERR_FILENO) != 0};
}

bool ShowStartMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    if (QApplication::instance() != nullptr) {
        ShowModalMessage(nullptr, text, caption, icon);
        return true;
    }
    if (!DisplayAvailable())
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
