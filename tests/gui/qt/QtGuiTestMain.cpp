#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <gtest/gtest.h>

// The GUI tests' entry: the offscreen platform (set here, because test discovery runs the program
// without the tests' environment) and the program's own font and style.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    UseDialogFont();
    UseDesktopStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
