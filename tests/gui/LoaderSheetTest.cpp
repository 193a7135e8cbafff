#include "app/LoaderApp.h"
#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <memory>

namespace {

const SeenMessage kNotANumber{"Загрузчик самолета Ил-18Д", "Введите число.", MessageIcon::Stop};

using LoaderSheetTest = GuiTest;

TEST_F(LoaderSheetTest, ShowsTheAircraftsCaptionAndAPageTabEach) {
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    std::unique_ptr<PageDriver> driver = DriveSheet(sheet);
    ASSERT_NE(driver, nullptr);
    const SheetView view = driver->ReadSheet();
    EXPECT_EQ(view.caption, "Загрузчик самолета Ил-18Д");
    EXPECT_TRUE(view.open);
    EXPECT_EQ(view.pageTitles, (std::vector<std::string>{"Пассажиры и груз", "Топливо"}));
    EXPECT_EQ(sheet.GetPage(0), &sheet.m_payloadPage);
    EXPECT_EQ(sheet.GetPage(1), &sheet.m_fuelPage);
    EXPECT_EQ(view.currentPage, 0);
    ASSERT_EQ(view.buttons.size(), 3u);
    for (const char* text : {"ОК", "Отмена", "Применить"}) {
        const auto button =
            std::find_if(view.buttons.begin(), view.buttons.end(),
                         [text](const SheetView::Button& b) { return b.text == text; });
        ASSERT_NE(button, view.buttons.end()) << text;
        // Apply stays disabled: no page reports a change.
        EXPECT_EQ(button->enabled, std::string_view(text) != "Применить") << text;
    }
    driver.reset();
    sheet.DestroyWindow();
}

TEST_F(LoaderSheetTest, OkStaysWhileAFieldHoldsNoNumber) {
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    bool stayed = false;
    WhenModal([&](PageDriver& driver) {
        EXPECT_TRUE(driver.ShowPage(sheet.GetPageCount() - 1));
        driver.TypeInto(IDC_RANGE, "x");
        driver.ClickSheetButton("ОК");
        stayed = driver.ReadSheet().open;
        // Once for the text typed, once for OK.
        EXPECT_EQ(driver.TakeMessages(), (std::vector<SeenMessage>{kNotANumber, kNotANumber}));
        EXPECT_TRUE(driver.HasFocus(IDC_RANGE));
        driver.ClickSheetButton("Отмена");
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayed);
}

TEST_F(LoaderSheetTest, ApplicationRunsTheSheetAndEnds) {
    CLoaderApp app;
    CWnd* mainWindow = nullptr;
    WhenModal([&](PageDriver& driver) {
        mainWindow = app.m_pMainWnd;
        ASSERT_NE(mainWindow, nullptr);
        EXPECT_EQ(mainWindow->GetSafeHwnd(), driver.Window());
        EXPECT_EQ(driver.ReadSheet().caption, "Загрузчик самолета Ил-18Д");
        driver.ClickSheetButton("ОК");
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
