// The folder chooser, the settings and the question on Qt.

#include "ui/Folders.h"
#include "ui/Question.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

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
