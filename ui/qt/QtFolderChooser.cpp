// The folder chooser, the settings and the question on Qt.

#include "ui/FolderChooser.h"
#include "ui/Question.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace {

QString PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

std::filesystem::path ToPath(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
}

QSettings Settings() {
    return QSettings(QStringLiteral("il18-loader"), QStringLiteral("il18-loader"));
}

} // namespace

std::filesystem::path ChooseFolder(std::string_view title, const std::filesystem::path& start) {
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                             ToQString(title), PathText(start));
    return chosen.isEmpty() ? std::filesystem::path() : ToPath(chosen);
}

std::filesystem::path LoadFolderSetting(std::string_view key) {
    return ToPath(Settings().value(ToQString(key)).toString());
}

void SaveFolderSetting(std::string_view key, const std::filesystem::path& folder) {
    QSettings settings = Settings();
    if (folder.empty())
        settings.remove(ToQString(key));
    else
        settings.setValue(ToQString(key), PathText(folder));
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
