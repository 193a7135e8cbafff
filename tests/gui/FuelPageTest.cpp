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
    const std::vector<std::string> levels = {"10600", "10100", "9600", "9100", "8600", "8100",
                                             "7800",  "7500",  "7200", "6900", "6600"};
    std::vector<std::string> entries(static_cast<std::size_t>(m_page.m_cbFlightLevel.GetCount()));
    for (std::size_t i = 0; i < entries.size(); ++i)
        m_page.m_cbFlightLevel.GetLBText(static_cast<int>(i), entries[i]);
    EXPECT_EQ(entries, levels);
}

// Every field goes into the calculation (range 4800.5 km, level 6900 m, head wind 50 km/h,
// reserve 120 min give 2300 * 4800.5 / (490 + 2.75) kg), and every tank takes a share of the
// total, each in its own field, as "%g" writes it.
TEST_F(FuelPageTest, CalculationTakesEveryFieldAndShowsEachTankInItsField) {
    Driver().TypeInto(IDC_RANGE, "4800.5");
    Driver().TypeInto(IDC_WIND, "-50");
    Driver().LeaveField();
    Driver().TypeInto(IDC_RESERVE, "120");
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel6900);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    for (const auto& [id, shown] : {std::pair{IDC_TOTAL_FUEL, "22407.2"},
                                    {IDC_GROUP1, "3850"},
                                    {IDC_TANK8, "2590"},
                                    {IDC_GROUP2, "2860"},
                                    {IDC_TANK12, "3807.21"},
                                    {IDC_FLOWMETER, "560.18"}})
        EXPECT_EQ(Driver().Read(id), shown) << "field " << id;
}

TEST_F(FuelPageTest, WarnsOfAMissingLevelAndComputesWithLevelZero) {
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAtLevelZero);
}

TEST_F(FuelPageTest, TypedLevelTextIsNoChoiceOfTheList) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().TypeInto(IDC_FLIGHT_LEVEL, "9999");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), "9999");
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAtLevelZero);
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
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAt8100HeadWind50);
}

TEST_F(FuelPageTest, EnterCalculatesWithTheWindJustTyped) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().TypeInto(IDC_WIND, "-50");
    Driver().PressEnter();
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAt8100HeadWind50);
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

// Beyond the tanks' 23550 kg: all full, the flow meters set for 23550 kg, the total as typed.
TEST_F(FuelPageTest, TypedTotalIsSplitWhenItsFieldIsLeft) {
    Driver().TypeInto(IDC_TOTAL_FUEL, "30000");
    EXPECT_EQ(Driver().Read(IDC_TANK12), "0");
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    Driver().LeaveField();
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kOverflow});
    for (const auto& [id, shown] : {std::pair{IDC_TOTAL_FUEL, "30000"},
                                    {IDC_GROUP1, "3850"},
                                    {IDC_TANK8, "2590"},
                                    {IDC_GROUP2, "2860"},
                                    {IDC_TANK12, "4950"},
                                    {IDC_FLOWMETER, "588.75"}})
        EXPECT_EQ(Driver().Read(id), shown) << "field " << id;
}

TEST_F(FuelPageFileTest, FillWritesTheNineTankLines) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines(kTanksAt8100);
}

TEST_F(FuelPageFileTest, FillBeforeAnyCalculationWritesEmptyTanks) {
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines(kEmptyTanks);
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
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "14714.1");
    EXPECT_EQ(Driver().Read(IDC_GROUP2), "917.064");
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    // Group II 917.064 kg.
    ExpectTankLines({0, 1271.329, 855.257, 302.829});
}

} // namespace
