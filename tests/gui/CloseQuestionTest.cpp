#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"

namespace {

const SeenMessage kQuestion{"Загрузчик самолета Ил-18Д",
                            "Изменения не записаны в Aircraft.cfg. Закрыть без записи?",
                            MessageIcon::Information};

// What the pages hold when the sheet is closed.
enum class Plan { Untouched, PassengersTyped, FuelCalculated, FuelFilled, PassengersLoaded };
enum class Way { Ok, Enter, CloseBox, Cancel, Escape };

struct CloseCase {
    const char* name;
    Plan plan;
    Way way;
    bool yes; // the answer to the question, if it comes
    bool asks;
    bool closes;
};

void MakePlan(PageDriver& driver, Plan plan) {
    switch (plan) {
    case Plan::Untouched:
        break;
    case Plan::PassengersTyped:
    case Plan::PassengersLoaded:
        driver.TypeInto(IDC_CABIN2, "13");
        driver.LeaveField();
        if (plan == Plan::PassengersLoaded)
            driver.Click(IDC_LOAD_PAYLOAD);
        break;
    case Plan::FuelCalculated:
    case Plan::FuelFilled:
        driver.ShowPage(1);
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
        if (plan == Plan::FuelFilled)
            driver.Click(IDC_FILL_FUEL);
        driver.ShowPage(0);
        break;
    }
}

void Close(PageDriver& driver, Way way) {
    switch (way) {
    case Way::Ok:
        driver.ClickSheetButton("ОК");
        break;
    case Way::Enter:
        // The payload page has no default button of its own: Enter is the sheet's ОК.
        driver.Focus(IDC_CABIN3);
        driver.PressEnter();
        break;
    case Way::CloseBox:
        driver.CloseWindow();
        break;
    case Way::Cancel:
        driver.ClickSheetButton("Отмена");
        break;
    case Way::Escape:
        driver.PressKey(IDC_CABIN3, DriverKey::Escape, 1);
        break;
    }
}

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class CloseQuestionTest : public GuiTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestionTest, AsksOnlyBeforeDroppingAnUnwrittenPlan) {
    const CloseCase& c = GetParam();
    ScratchDirectory scratch;
    WriteFileBytes("Aircraft.cfg",
                   ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg"));
    CLoaderAppSheet sheet(kLoaderSheetCaption);
    AnswerQuestionsWith(c.yes);
    bool open = false;
    std::vector<SeenMessage> seen;
    std::string kept;
    WhenModal([&](PageDriver& driver) {
        MakePlan(driver, c.plan);
        TakeMessages();
        Close(driver, c.way);
        seen = TakeMessages();
        open = driver.ReadSheet().open;
        if (open) {
            kept = driver.Read(IDC_CABIN2);
            driver.ClickSheetButton("Отмена");
        }
    });
    sheet.DoModal();
    EXPECT_EQ(seen, c.asks ? std::vector<SeenMessage>{kQuestion} : std::vector<SeenMessage>{});
    EXPECT_EQ(open, !c.closes);
    if (open && c.plan == Plan::PassengersTyped) {
        EXPECT_EQ(kept, "13");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CloseQuestionTest,
    ::testing::Values(
        CloseCase{"UntouchedOk", Plan::Untouched, Way::Ok, false, false, true},
        CloseCase{"UntouchedCloseBox", Plan::Untouched, Way::CloseBox, false, false, true},
        CloseCase{"UntouchedEnter", Plan::Untouched, Way::Enter, false, false, true},
        CloseCase{"TypedOkNo", Plan::PassengersTyped, Way::Ok, false, true, false},
        CloseCase{"TypedOkYes", Plan::PassengersTyped, Way::Ok, true, true, true},
        CloseCase{"TypedEnterNo", Plan::PassengersTyped, Way::Enter, false, true, false},
        CloseCase{"TypedEnterYes", Plan::PassengersTyped, Way::Enter, true, true, true},
        CloseCase{"TypedCloseBoxNo", Plan::PassengersTyped, Way::CloseBox, false, true, false},
        CloseCase{"TypedCloseBoxYes", Plan::PassengersTyped, Way::CloseBox, true, true, true},
        CloseCase{"TypedCancel", Plan::PassengersTyped, Way::Cancel, false, false, true},
        CloseCase{"TypedEscape", Plan::PassengersTyped, Way::Escape, false, false, true},
        CloseCase{"CalculatedOkNo", Plan::FuelCalculated, Way::Ok, false, true, false},
        CloseCase{"FilledOk", Plan::FuelFilled, Way::Ok, false, false, true},
        CloseCase{"LoadedCloseBox", Plan::PassengersLoaded, Way::CloseBox, false, false, true}),
    NameOfCase());

} // namespace
