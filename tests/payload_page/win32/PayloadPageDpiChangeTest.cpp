// The sheet dragged to a monitor of another scale: Windows sends it WM_DPICHANGED with the
// rectangle it suggests, and the sheet is laid out again at the new DPI.

#include "PayloadPageFixture.h"

#include "ui/win32/Win32Window.h"

namespace {

// Tells the sheet that its monitor is now at `dpi`, suggesting its rectangle scaled from 96.
void MoveToMonitorAt(HWND sheet, int dpi, const RECT& at96) {
    RECT suggested{at96.left, at96.top, at96.left + (at96.right - at96.left) * dpi / 96,
                   at96.top + (at96.bottom - at96.top) * dpi / 96};
    SendMessageW(sheet, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
}

TEST_F(PayloadPageTest, OnAMonitorAt150PercentThePageIsLaidOutAgainAndKeepsItsValues) {
    if (ScreenDpi() != 96)
        GTEST_SKIP() << "the screen is not at 100 %";
    Enter(IDC_CABIN2, "13");
    Enter(IDC_HOLD1_PERCENT, "60");
    Driver().Focus(IDC_HOLD2_KG);
    const RgbImage before = Driver().Grab();
    const std::map<int, std::string> fields = Fields();
    HWND sheet = ToHwnd(Driver().Window());
    RECT at96{};
    GetWindowRect(sheet, &at96);

    MoveToMonitorAt(sheet, 144, at96);
    const RgbImage page = Driver().Grab();
    EXPECT_EQ(page.width, 968);
    EXPECT_EQ(page.height, 561);
    EXPECT_EQ(Fields(), fields);
    EXPECT_EQ(Driver().ReadSlider(IDC_SLIDER_CABIN2).position, 13);
    EXPECT_TRUE(Driver().HasFocus(IDC_HOLD2_KG));
    // Cabin 2's map in its place at 150 %: 13 seats of 12 x 12.
    int blue = 0;
    for (int y = 62; y < 62 + 79; ++y)
        for (int x = 352; x < 352 + 238; ++x)
            blue += page.Pixel(x, y) == kBlue ? 1 : 0;
    EXPECT_EQ(blue, 13 * 12 * 12);

    // Back at 100 %, the page is as it was.
    MoveToMonitorAt(sheet, 96, at96);
    const RgbImage again = Driver().Grab();
    EXPECT_EQ(again.width, 645);
    EXPECT_TRUE(again.pixels == before.pixels);
    EXPECT_TRUE(Driver().HasFocus(IDC_HOLD2_KG));
}

} // namespace
