#include "support/TestSupport.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The GUI tests' entry: the offscreen platform (set here, because test discovery runs the program
// without the tests' environment), the program's own font and style, and a settings store of the
// program's own, so that a test neither sees nor changes the user's and test programs run side by
// side do not share one. Every case starts with the payload totals at zero.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QTemporaryDir settings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    UseDialogFont();
    UseDesktopStyle();
    ::testing::InitGoogleTest(&argc, argv);
    StartEveryCaseWithThePayloadTotalsAtZero();
    return RUN_ALL_TESTS();
}
