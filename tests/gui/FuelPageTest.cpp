#include "gui/FuelPageFixture.h"

#include <cstdio>
#include <utility>

namespace {

TEST_F(FuelPageTest, OpensWithTheDefaultsAndNoLevelChosen) {
    EXPECT_EQ(Driver().Read(IDC_RANGE), "3600");
    EXPECT_EQ(Driver().Read(IDC_RESERVE), "60");
    for (int id :
         {IDC_WIND, IDC_TOTAL_FUEL, IDC_FLOWMETER, IDC_GROUP1, IDC_TANK8, IDC_GROUP2, IDC_TANK12})
        EXPECT_EQ(Driver().Read(id), "0") << id;
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), "");
    EXPECT_EQ(m_page.m_cbFlightLevel.GetCurSel(), CB_ERR);
    ASSERT_EQ(m_page.m_cbFlightLevel.GetCount(), static_cast<int>(std::size(kFlightLevels)));
    for (int i = 0; i < m_page.m_cbFlightLevel.GetCount(); ++i) {
        std::string entry;
        m_page.m_cbFlightLevel.GetLBText(i, entry);
        EXPECT_EQ(entry, kFlightLevels[i]);
    }
}

// The trip fuel and its split are the plan's (tests/fuel checks their arithmetic): the page takes
// every field into the plan and shows the plan's figures, each as "%g" writes it.
TEST_F(FuelPageTest, CalculationTakesEveryFieldAndShowsThePlan) {
    Driver().TypeInto(IDC_RANGE, "4800.5");
    Driver().TypeInto(IDC_WIND, "-50");
    Driver().LeaveField();
    Driver().TypeInto(IDC_RESERVE, "120");
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel6900);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});

    FuelPlan plan;
    plan.m_fRange = 4800.5f;
    plan.m_fWind = -50.0f;
    plan.m_fReserve = 120.0f;
    RecordingCallback owner;
    ASSERT_TRUE(ComputeTripFuel(plan, "6900", owner));
    DistributeFuel(plan, plan.m_fTotalFuel, owner);
    ASSERT_GT(plan.m_fTank12, 0.0f); // every tank takes a share
    EXPECT_EQ(m_page.m_fTotalFuel, plan.m_fTotalFuel);
    for (const auto& [id, value] : {std::pair{IDC_TOTAL_FUEL, plan.m_fTotalFuel},
                                    {IDC_GROUP1, plan.m_fGroup1},
                                    {IDC_TANK8, plan.m_fTank8},
                                    {IDC_GROUP2, plan.m_fGroup2},
                                    {IDC_TANK12, plan.m_fTank12},
                                    {IDC_FLOWMETER, plan.m_fFlowmeter}})
        EXPECT_EQ(Driver().Read(id), PrintfG(value)) << "field " << id;
}

TEST_F(FuelPageTest, ShowsEachTankGroupInItsOwnField) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "14712.1");
    EXPECT_EQ(Driver().Read(IDC_GROUP1), "3850");
    EXPECT_EQ(Driver().Read(IDC_TANK8), "2590");
    EXPECT_NEAR(Field(IDC_GROUP2), 916.04, 0.01);
    EXPECT_EQ(Driver().Read(IDC_TANK12), "0");
    EXPECT_NEAR(Field(IDC_FLOWMETER), 367.80, 0.01);
}

TEST_F(FuelPageTest, WarnsOfAMissingLevelAndComputesWithLevelZero) {
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600, 0, 0, 60), 0.05);
}

TEST_F(FuelPageTest, WarnsOfTheLevelFirstThenOfTheReserve) {
    Driver().TypeInto(IDC_RESERVE, "59.9");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), (std::vector<SeenMessage>{kLevelWarning, kReserveWarning}));
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600, 0, 0, 59.9), 0.05);
}

TEST_F(FuelPageTest, TypedLevelTextIsNoChoiceOfTheList) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().TypeInto(IDC_FLIGHT_LEVEL, "9999");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), "9999");
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600, 0, 0, 60), 0.05);
}

TEST_F(FuelPageTest, TakesRangeAtEveryKeyButWindOnlyWhenItsFieldIsLeft) {
    Driver().TypeInto(IDC_RANGE, "1800");
    EXPECT_EQ(m_page.m_fRange, 1800.0f);
    Driver().TypeInto(IDC_WIND, "-50");
    EXPECT_EQ(m_page.m_fWind, 0.0f);
    Driver().LeaveField();
    EXPECT_EQ(m_page.m_fWind, -50.0f);
}

TEST_F(FuelPageTest, LeavingTheWindForTheButtonTakesItBeforeCalculating) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().TypeInto(IDC_WIND, "-50");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600, 8100, -50, 60), 0.05);
}

TEST_F(FuelPageTest, EnterCalculatesWithTheWindJustTyped) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().TypeInto(IDC_WIND, "-50");
    Driver().PressEnter();
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600, 8100, -50, 60), 0.05);
    EXPECT_TRUE(Driver().HasFocus(IDC_CALCULATE_FUEL));
}

TEST_F(FuelPageTest, RefusedFieldStopsTheExchangeAndTakesTheFocusBack) {
    // A member that differs from its field shows whether the exchange went past the refusal.
    m_page.m_fReserve = 75.0f;
    Driver().TypeInto(IDC_RANGE, "x");
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNotANumber});
    EXPECT_TRUE(Driver().HasFocus(IDC_RANGE));
    EXPECT_EQ(m_page.m_fRange, 3600.0f);
    EXPECT_EQ(m_page.m_fReserve, 75.0f);

    Driver().TypeInto(IDC_RANGE, "2000");
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    EXPECT_EQ(m_page.m_fRange, 2000.0f);
    EXPECT_EQ(m_page.m_fReserve, 60.0f);
}

TEST_F(FuelPageTest, RefusedWindIsReportedWhenItsFieldIsLeft) {
    Driver().TypeInto(IDC_WIND, "1e40");
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    Driver().LeaveField();
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNotANumber});
    EXPECT_TRUE(Driver().HasFocus(IDC_WIND));
    EXPECT_EQ(m_page.m_fWind, 0.0f);
}

TEST_F(FuelPageTest, TotalBeyondTheTanksFillsThemAllAndKeepsTheTotal) {
    Driver().TypeInto(IDC_TOTAL_FUEL, "30000");
    Driver().LeaveField();
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kOverflow});
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "30000");
    EXPECT_EQ(Driver().Read(IDC_GROUP1), "3850");
    EXPECT_EQ(Driver().Read(IDC_TANK8), "2590");
    EXPECT_EQ(Driver().Read(IDC_GROUP2), "2860");
    EXPECT_EQ(Driver().Read(IDC_TANK12), "4950");
    EXPECT_EQ(Driver().Read(IDC_FLOWMETER), "588.75");
}

TEST_F(FuelPageTest, TypedTotalIsSplitWhenItsFieldIsLeft) {
    Driver().TypeInto(IDC_TOTAL_FUEL, "20000");
    EXPECT_EQ(Driver().Read(IDC_TANK12), "0");
    Driver().LeaveField();
    EXPECT_EQ(Driver().Read(IDC_TANK12), "1400");
    EXPECT_EQ(Driver().Read(IDC_FLOWMETER), "500");
}

TEST_F(FuelPageFileTest, FillWritesTheNineTankLines) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines(TanksShown());
}

TEST_F(FuelPageFileTest, FillBeforeAnyCalculationWritesEmptyTanks) {
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines({{"Center2", 0},
                     {"External1", 264.172},
                     {"External2", 264.172},
                     {"LeftAux", 0},
                     {"RightAux", 0},
                     {"LeftTip", 0},
                     {"RightTip", 0},
                     {"Center1", 0},
                     {"Center3", 0}});
}

// Why a rewrite fails is the rewriter's (tests/config); the page shows its message as a box, the
// line break as the box breaks it, and keeps every field as it was.
TEST_F(FuelPageFileTest, FillThatFailsShowsWhyAndKeepsTheFields) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    const int fields[] = {IDC_RANGE,     IDC_WIND,   IDC_RESERVE, IDC_FLIGHT_LEVEL, IDC_TOTAL_FUEL,
                          IDC_FLOWMETER, IDC_GROUP1, IDC_TANK8,   IDC_GROUP2,       IDC_TANK12};
    std::vector<std::string> before;
    for (int id : fields)
        before.push_back(Driver().Read(id));
    std::filesystem::remove("Aircraft.cfg");
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(),
              (std::vector<SeenMessage>{{"Загрузчик самолета Ил-18Д",
                                         "Unable to open the file.\nНе удалось открыть файл «" +
                                             FullPathOf("Aircraft.cfg") + "»: файл не найден.",
                                         MessageIcon::Stop}}));
    for (std::size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(Driver().Read(fields[i]), before[i]) << "field " << fields[i];
}

struct Refusal {
    const char* name;
    int level;
    const char* range;
    const char* wind;
    const char* reserve;
    const char* total; // typed into the total field afterwards; nullptr: none
    std::vector<SeenMessage> messages;
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class FuelPageRefusalTest : public FuelPageFileTest,
                            public ::testing::WithParamInterface<Refusal> {};

TEST_P(FuelPageRefusalTest, FillRefusesQuantitiesNoTankCanHold) {
    const Refusal& refusal = GetParam();
    Driver().TypeInto(IDC_RANGE, refusal.range);
    Driver().TypeInto(IDC_RESERVE, refusal.reserve);
    Driver().TypeInto(IDC_WIND, refusal.wind);
    Driver().LeaveField();
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, refusal.level);
    Driver().Click(IDC_CALCULATE_FUEL);
    if (refusal.total != nullptr) {
        Driver().TypeInto(IDC_TOTAL_FUEL, refusal.total);
        Driver().LeaveField();
    }
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), refusal.messages);
    EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), m_original);
    EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Quantities, FuelPageRefusalTest,
    ::testing::Values(Refusal{
        "NegativeTotalTyped", kLevel8100, "3600", "0", "60", "-100", {kNegativeFuel}}),
    NameOfCase());

// A desktop in Russian writes numbers with a decimal comma; the page never does.
TEST_F(FuelPageFileTest, RussianDesktopGivesTheSameNumbers) {
    RussianDesktop desktop;
    ASSERT_TRUE(desktop.Active()) << "the ru_RU.UTF-8 locale is missing (scripts/project.sh "
                                     "generates it)";
    char decimal[8];
    std::snprintf(decimal, sizeof decimal, "%.1f", 0.5);
    ASSERT_STREQ(decimal, "0,5") << "the C library does not write Russian numbers";

    Driver().TypeInto(IDC_RANGE, "3600.5");
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_NEAR(Field(IDC_TOTAL_FUEL), TripFuel(3600.5, 8100, 0, 60), 0.05);
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "14714.1");
    EXPECT_NEAR(Field(IDC_GROUP2), 917.06, 0.01);
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines(TanksShown());
}

} // namespace
