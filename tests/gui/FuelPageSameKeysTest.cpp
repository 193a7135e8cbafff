// Keys and clicks on the fuel page that must plan alike on every backend: Enter in the level box,
// in its open list and on a button, the wheel over the closed list, the sheet's buttons and the
// button clicks around a refused field.

#include "gui/FuelPageFixture.h"

#include <string>

namespace {

TEST_F(FuelPageTest, EnterAfterTypingALevelChoosesNoEntryAndCalculates) {
    Driver().TypeInto(IDC_FLIGHT_LEVEL, "8100");
    Driver().PressEnter();
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), "8100");
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAtLevelZero);
}

TEST_F(FuelPageTest, EnterInTheOpenLevelListTakesTheHighlightedEntryOnly) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().PressKey(IDC_FLIGHT_LEVEL, DriverKey::F4, 1);
    Driver().PressKey(kFocusedControl, DriverKey::Down, 1);
    Driver().PressEnter();
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), std::string(kFlightLevels[kLevel8100 + 1]));
    EXPECT_EQ(m_page.m_cbFlightLevel.GetCurSel(), kLevel8100 + 1);
    EXPECT_EQ(Field(IDC_TOTAL_FUEL), 0.0) << "Enter pressed the default button too";
}

TEST_F(FuelPageTest, WheelOverTheClosedLevelListLeavesTheLevelWhileAnotherFieldHasTheFocus) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Focus(IDC_RANGE);
    Driver().TurnWheel(IDC_FLIGHT_LEVEL, -1);
    EXPECT_EQ(Driver().Read(IDC_FLIGHT_LEVEL), "8100");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "14712.1");
}

// A click on a sheet's button whose focus change the wind field refuses is lost: the sheet stays,
// and the refusal is told once.
class FuelPageSheetButtonTest : public FuelPageTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(FuelPageSheetButtonTest, ClickThatARefusedWindSwallowedKeepsTheSheet) {
    Driver().TypeInto(IDC_WIND, "abc");
    Driver().ClickSheetButton(GetParam());
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNotANumber});
    EXPECT_TRUE(Driver().ReadSheet().open);
    EXPECT_TRUE(Driver().HasFocus(IDC_WIND));
}

INSTANTIATE_TEST_SUITE_P(Buttons, FuelPageSheetButtonTest, ::testing::Values("ОК", "Отмена"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "ОК" ? "Ok" : "Cancel";
                         });

TEST_F(FuelPageFileTest, EnterOnAFocusedButtonPressesThatButton) {
    Driver().Focus(IDC_FILL_FUEL);
    Driver().PressEnter();
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    EXPECT_EQ(Field(IDC_TOTAL_FUEL), 0.0) << "Enter pressed the default button";
}

TEST_F(FuelPageFileTest, ClickAfterOneThatARefusedFieldSwallowedIsPressed) {
    Driver().TypeInto(IDC_WIND, "12abc");
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNotANumber});
    EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), m_original);

    Driver().TypeInto(IDC_WIND, "-50");
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
    // 2300 * 3600 / (540 - 6900 / 57 - 50 + 1.75) kg: tank 12 takes 3736.28 kg of it.
    EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), "22336.3");
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    ExpectTankLines({1233.776, 1271.329, 855.257, 944.416});
}

} // namespace
