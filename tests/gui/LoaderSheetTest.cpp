#include "app/LoaderApp.h"
#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <functional>
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
    ASSERT_EQ(static_cast<int>(view.pageTitles.size()), sheet.GetPageCount());
    for (int i = 0; i < sheet.GetPageCount(); ++i)
        EXPECT_EQ(view.pageTitles[static_cast<std::size_t>(i)],
                  sheet.GetPage(i)->GetTemplate()->caption);
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

struct Closing {
    const char* name;
    std::function<void(PageDriver&)> close;
    int result;
    bool asks; // whether the plan not written is asked about first
};

void PrintTo(const Closing& c, std::ostream* out) {
    *out << c.name;
}

class LoaderSheetClosingTest : public LoaderSheetTest,
                               public ::testing::WithParamInterface<Closing> {};

TEST_P(LoaderSheetClosingTest, ClosingWritesNothing) {
    ScratchDirectory scratch;
    const std::string original =
        ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
    WriteFileBytes("Aircraft.cfg", original);
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    AnswerQuestionsWith(true);
    WhenModal([&sheet](PageDriver& driver) {
        EXPECT_TRUE(driver.ShowPage(sheet.GetPageCount() - 1));
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
        GetParam().close(driver);
        EXPECT_EQ(driver.TakeMessages().size(), GetParam().asks ? 1u : 0u);
    });
    EXPECT_EQ(sheet.DoModal(), GetParam().result);
    EXPECT_EQ(sheet.GetSafeHwnd(), nullptr);
    EXPECT_NE(sheet.m_fuelPage.m_fTotalFuel, 0.0f);
    EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()),
                            std::filesystem::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LoaderSheetClosingTest,
    ::testing::Values(
        Closing{"Ok", [](PageDriver& d) { d.ClickSheetButton("ОК"); }, IDOK, true},
        Closing{"Cancel", [](PageDriver& d) { d.ClickSheetButton("Отмена"); }, IDCANCEL, false},
        Closing{"CloseBox", [](PageDriver& d) { d.CloseWindow(); }, IDCANCEL, true},
        Closing{"Escape", [](PageDriver& d) { d.PressKey(kFocusedControl, DriverKey::Escape, 1); },
                IDCANCEL, false}),
    NameOfCase());

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
