#include "app/LoaderApp.h"
#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// The sheet's button with the text, nullptr when there is none.
QPushButton* Button(QWidget* sheet, const QString& text) {
    for (QPushButton* button : sheet->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

class LoaderSheetTest : public GuiTest {
protected:
    // Runs `act` on the sheet's window once its modal loop runs.
    void WhenModal(std::function<void(QWidget*, PageDriver&)> act) {
        GuiTest::WhenModal([act](PageDriver& driver) { act(ToWidget(driver.Window()), driver); });
    }
};

TEST_F(LoaderSheetTest, ShowsTheAircraftsCaptionAndAPageTabEach) {
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    ASSERT_TRUE(sheet.Create());
    QWidget* window = ToWidget(sheet.GetSafeHwnd());
    EXPECT_EQ(window->windowTitle().toStdString(), "Загрузчик самолета Ил-18Д");
    auto* tabs = window->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), sheet.GetPageCount());
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_EQ(tabs->tabText(i).toStdString(), sheet.GetPage(i)->GetTemplate()->caption);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0).toStdString(), "Пассажиры и груз");
    EXPECT_EQ(tabs->tabText(1).toStdString(), "Топливо");
    EXPECT_EQ(sheet.GetPage(0), &sheet.m_payloadPage);
    EXPECT_EQ(sheet.GetPage(1), &sheet.m_fuelPage);
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (const char* text : {"ОК", "Отмена", "Применить"})
        EXPECT_NE(Button(window, QString::fromUtf8(text)), nullptr) << text;
    EXPECT_FALSE(Button(window, QStringLiteral("Применить"))->isEnabled());
    sheet.DestroyWindow();
}

struct Closing {
    const char* name;
    std::function<void(QWidget*)> close;
    int result;
};

class LoaderSheetClosingTest : public LoaderSheetTest,
                               public ::testing::WithParamInterface<Closing> {};

TEST_P(LoaderSheetClosingTest, ClosingWritesNothing) {
    ScratchDirectory scratch;
    const std::string original =
        ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
    WriteFileBytes("Aircraft.cfg", original);
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    WhenModal([&sheet](QWidget* window, PageDriver& driver) {
        EXPECT_TRUE(driver.ShowPage(sheet.GetPageCount() - 1));
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
        GetParam().close(window);
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
        Closing{"Ok", [](QWidget* w) { Button(w, QStringLiteral("ОК"))->click(); }, IDOK},
        Closing{"Cancel", [](QWidget* w) { Button(w, QStringLiteral("Отмена"))->click(); },
                IDCANCEL},
        Closing{"CloseBox", [](QWidget* w) { w->close(); }, IDCANCEL},
        Closing{"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoaderSheetTest, OkStaysWhileAFieldHoldsNoNumber) {
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    bool stayed = false;
    WhenModal([&](QWidget* window, PageDriver& driver) {
        EXPECT_TRUE(driver.ShowPage(sheet.GetPageCount() - 1));
        driver.TypeInto(IDC_RANGE, "x");
        Button(window, QStringLiteral("ОК"))->click();
        stayed = window->isVisible();
        EXPECT_EQ(driver.TakeMessages().size(), 2u);
        Button(window, QStringLiteral("Отмена"))->click();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayed);
}

TEST_F(LoaderSheetTest, ApplicationRunsTheSheetAndEnds) {
    CLoaderApp app;
    CWnd* mainWindow = nullptr;
    WhenModal([&](QWidget* window, PageDriver&) {
        mainWindow = app.m_pMainWnd;
        EXPECT_EQ(ToWidget(mainWindow->GetSafeHwnd()), window);
        Button(window, QStringLiteral("ОК"))->click();
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_NE(mainWindow, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(LoaderSheetTest, StartsQuickly) {
    QElapsedTimer timer;
    timer.start();
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    ASSERT_TRUE(sheet.Create());
    QWidget* window = ToWidget(sheet.GetSafeHwnd());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->grab();
    const qint64 elapsed = timer.nsecsElapsed() / 1000;
    RecordProperty("sheet_shown_us", static_cast<int>(elapsed));
    std::printf("sheet built, shown and painted in %lld us\n", static_cast<long long>(elapsed));
    sheet.DestroyWindow();
}

} // namespace
