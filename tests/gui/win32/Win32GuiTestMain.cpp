#include "support/TestSupport.h"
#include "ui/win32/Win32Window.h"

#include <gtest/gtest.h>

// The GUI tests' entry on Windows: the common controls the program uses, then the tests. The
// program's dialog font comes with each page's template. Every case starts with the payload totals
// at zero.
int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    StartEveryCaseWithThePayloadTotalsAtZero();
    return RUN_ALL_TESTS();
}
