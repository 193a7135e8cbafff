#include "gui/SheetOverAFile.h"

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

const SeenMessage kQuestion{"Загрузчик самолета Ил-18Д",
                            "Изменения не записаны в Aircraft.cfg. Закрыть без записи?",
                            MessageIcon::Information};

// What the pages hold when the sheet is closed.
enum class Plan { Untouched, PassengersTyped, FuelCalculated };
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
        driver.TypeInto(IDC_CABIN2, "13");
        driver.LeaveField();
        break;
    case Plan::FuelCalculated:
        driver.ShowPage(1);
        driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
        driver.Click(IDC_CALCULATE_FUEL);
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

class CloseQuestionTest : public SheetOverAFileTest,
                          public ::testing::WithParamInterface<CloseCase> {};

// Closing writes nothing, whichever way and whatever the answer.
TEST_P(CloseQuestionTest, AsksOnlyBeforeDroppingAnUnwrittenPlan) {
    const CloseCase& c = GetParam();
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
    const bool ok = c.closes && (c.way == Way::Ok || c.way == Way::Enter);
    EXPECT_EQ(m_sheet.DoModal(), ok ? IDOK : IDCANCEL);
    EXPECT_EQ(m_sheet.GetSafeHwnd(), nullptr);
    EXPECT_EQ(seen, c.asks ? std::vector<SeenMessage>{kQuestion} : std::vector<SeenMessage>{});
    EXPECT_EQ(open, !c.closes);
    if (open && c.plan == Plan::PassengersTyped) {
        EXPECT_EQ(kept, "13");
    }
    // The pages keep their values when their windows have gone (the fuel page's as its field
    // showed it when the page was left).
    if (c.plan == Plan::FuelCalculated) {
        EXPECT_EQ(m_sheet.m_fuelPage.m_fTotalFuel, 14712.1f);
    }
    ExpectTheFileUntouched();
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
        CloseCase{"CalculatedOkYes", Plan::FuelCalculated, Way::Ok, true, true, true},
        CloseCase{"CalculatedCancel", Plan::FuelCalculated, Way::Cancel, false, false, true}),
    NameOfCase());

// A write on either page: the page's button pressed with a plan on it, the file there or gone.
struct WriteCase {
    const char* name;
    int page;
    bool fileGone;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

const std::vector<int> kFuelFields = {IDC_RANGE,      IDC_WIND,      IDC_RESERVE, IDC_FLIGHT_LEVEL,
                                      IDC_TOTAL_FUEL, IDC_FLOWMETER, IDC_GROUP1,  IDC_TANK8,
                                      IDC_GROUP2,     IDC_TANK12};
const std::vector<int> kPayloadFields = {
    IDC_CABIN1,        IDC_CABIN2,   IDC_CABIN3,     IDC_HOLD1_PERCENT, IDC_HOLD1_KG,
    IDC_HOLD2_PERCENT, IDC_HOLD2_KG, IDC_PASSENGERS, IDC_CARGO,         IDC_ACTUAL_LOAD};

class WriteOutcomeTest : public SheetOverAFileTest,
                         public ::testing::WithParamInterface<WriteCase> {};

// The pages learn from the rewrite whether it wrote: after a write that went through closing asks
// nothing; after one that failed the page shows why, keeps every field as it was and holds its
// plan as not written, so that closing asks.
TEST_P(WriteOutcomeTest, ClosingAsksOnlyAfterAWriteThatFailed) {
    const WriteCase& c = GetParam();
    const bool fuel = c.page == 1;
    const std::vector<int>& fields = fuel ? kFuelFields : kPayloadFields;
    std::vector<std::string> before, after;
    std::vector<SeenMessage> written, closing;
    bool open = false;
    WhenModal([&](PageDriver& driver) {
        if (fuel) {
            driver.ShowPage(1);
            driver.ChooseEntry(IDC_FLIGHT_LEVEL, 5);
            driver.Click(IDC_CALCULATE_FUEL);
        } else {
            driver.TypeInto(IDC_CABIN2, "40");
            driver.LeaveField();
            driver.TypeInto(IDC_HOLD1_KG, "900"); // within the aircraft's limit, 3921 kg
            driver.LeaveField();
        }
        for (int id : fields)
            before.push_back(driver.Read(id));
        if (c.fileGone)
            std::filesystem::remove("Aircraft.cfg");
        driver.Click(fuel ? IDC_FILL_FUEL : IDC_LOAD_PAYLOAD);
        written = TakeMessages();
        for (int id : fields)
            after.push_back(driver.Read(id));
        driver.ClickSheetButton("ОК");
        closing = TakeMessages();
        open = driver.ReadSheet().open;
        if (open)
            driver.ClickSheetButton("Отмена");
    });
    m_sheet.DoModal();

    const SeenMessage completed =
        fuel ? SeenMessage{"Сообщение", "Заправка окончена.\nСчастливого полета!",
                           MessageIcon::Information}
             : SeenMessage{"Сообщение", "Пассажиры и груз на борту", MessageIcon::Information};
    const SeenMessage failed{"Загрузчик самолета Ил-18Д",
                             "Unable to open the file.\nНе удалось открыть файл «" +
                                 FullPathOf("Aircraft.cfg") + "»: файл не найден.",
                             MessageIcon::Stop};
    EXPECT_EQ(written, std::vector<SeenMessage>{c.fileGone ? failed : completed});
    EXPECT_EQ(after, before);
    EXPECT_EQ(closing,
              c.fileGone ? std::vector<SeenMessage>{kQuestion} : std::vector<SeenMessage>{});
    EXPECT_EQ(open, c.fileGone); // the question answered Нет
}

INSTANTIATE_TEST_SUITE_P(Pages, WriteOutcomeTest,
                         ::testing::Values(WriteCase{"FuelFilled", 1, false},
                                           WriteCase{"FillFailed", 1, true},
                                           WriteCase{"PayloadLoaded", 0, false},
                                           WriteCase{"LoadFailed", 0, true}),
                         NameOfCase());

} // namespace
