// The README's pictures of the two pages: each page on the sheet its GUI tests show it on,
// filled in as a user fills it, saved as the window shows it (payload-page.png, fuel-page.png).
//
// A GoogleTest program built on the GUI tests' driver and entry, so that the pages run here
// exactly as they do under test (the dialog font and style, the offscreen platform on Qt) and a
// message box or a field that refuses its text fails the picture. CTest does not run it:
// scripts/pictures does. The pictures go into the folder $PICTURES_DIR names, or the current one.
#include "gui/FuelPageFixture.h"
#include "gui/SheetOverAFile.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace {

std::filesystem::path PictureFile(const char* name) {
    const char* folder = std::getenv("PICTURES_DIR");
    return (folder != nullptr && *folder != '\0' ? std::filesystem::path(folder)
                                                 : std::filesystem::current_path()) /
           name;
}

using PayloadPagePicture = SheetOverAFileTest;
using FuelPagePicture = FuelPageTest;

// The loader's sheet over the example aircraft with its tanks full: every cabin and hold loaded
// within the aircraft's limit, cabin 2 moved on with its slider's keys.
TEST_F(PayloadPagePicture, Saved) {
    WhenModal([](PageDriver& driver) {
        for (const auto& [id, text] :
             {std::pair{IDC_CABIN1, "12"}, std::pair{IDC_CABIN2, "25"}, std::pair{IDC_CABIN3, "10"},
              std::pair{IDC_HOLD1_PERCENT, "10"}, std::pair{IDC_HOLD2_KG, "100"}}) {
            driver.TypeInto(id, text);
            driver.LeaveField();
        }
        driver.PressKey(IDC_SLIDER_CABIN2, DriverKey::Right, 3);
        EXPECT_TRUE(driver.SavePicture(PictureFile("payload-page.png")));
        driver.ClickSheetButton("Отмена");
    });
    m_sheet.DoModal();
}

// The default route at 8100 m, calculated.
TEST_F(FuelPagePicture, Saved) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_TRUE(Driver().SavePicture(PictureFile("fuel-page.png")));
}

} // namespace
