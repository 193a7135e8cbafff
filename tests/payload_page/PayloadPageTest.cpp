#include "PayloadPageFixture.h"

#include "support/TestSupport.h"

#include <utility>

namespace {

using FieldTexts = std::vector<std::pair<int, std::string>>;

void ExpectFields(PageDriver& driver, const FieldTexts& expected) {
    for (const auto& [id, text] : expected)
        EXPECT_EQ(driver.Read(id), text) << "field " << id;
}

const FieldTexts kFirstDisplay = {
    {IDC_PASSENGERS, "0 пассажиров - 0 кг."},
    {IDC_CARGO, "В грузовых отсеках 0 кг."},
    {IDC_MAX_LOAD, "Предельная загрузка: "},
    {IDC_ACTUAL_LOAD, "Фактическая загрузка:   0 кг."},
    {IDC_BALANCE, "Центровка 15,14% САХ"},
    {IDC_EMPTY_WEIGHT, "Вес пустого: 34929 кг"},
    {IDC_CABIN1, "0"},
    {IDC_CABIN2, "0"},
    {IDC_CABIN3, "0"},
    {IDC_HOLD1_PERCENT, "0"},
    {IDC_HOLD1_KG, "0"},
    {IDC_HOLD2_PERCENT, "0"},
    {IDC_HOLD2_KG, "0"},
};

TEST_F(PayloadPageTest, FirstDisplayShowsEmptyCabinsAndHolds) {
    const SheetView sheet = Driver().ReadSheet();
    EXPECT_EQ(sheet.currentPage, 0);
    ASSERT_FALSE(sheet.pageTitles.empty());
    EXPECT_EQ(sheet.pageTitles[0], "Пассажиры и груз");
    ExpectFields(Driver(), kFirstDisplay);
    const RgbImage page = Driver().Grab();
    for (int cabin = 1; cabin <= 3; ++cabin) {
        bool odd = false;
        EXPECT_EQ(SeatsShown(page, cabin, &odd), ComputeSeatCells(*FindCabinSeatLayout(cabin), 0))
            << "cabin " << cabin;
        EXPECT_FALSE(odd) << "cabin " << cabin;
    }
    EXPECT_NE(m_page.m_hIcon, nullptr);
    EXPECT_EQ(m_page.m_hIcon, m_app.LoadIcon(IDR_MAINFRAME));
}

struct SliderRange {
    int id;
    int maximum;
    int tickEvery;
};

TEST_F(PayloadPageTest, SlidersSpanTheSeatsAndTheHoldCapacities) {
    for (const SliderRange& range :
         {SliderRange{IDC_SLIDER_CABIN1, 22, 2}, SliderRange{IDC_SLIDER_CABIN2, 65, 5},
          SliderRange{IDC_SLIDER_CABIN3, 15, 2}, SliderRange{IDC_SLIDER_HOLD1, 2000, 100},
          SliderRange{IDC_SLIDER_HOLD2, 1500, 100}}) {
        const SliderView slider = Driver().ReadSlider(range.id);
        EXPECT_EQ(slider.minimum, 0) << range.id;
        EXPECT_EQ(slider.maximum, range.maximum) << range.id;
        EXPECT_EQ(slider.tickEvery, range.tickEvery) << range.id;
        EXPECT_EQ(slider.position, 0) << range.id;
    }
}

// What the user does, and what the page shows afterwards.
struct Step {
    int id;
    std::string text; // typed into the field, which is then left
};
struct Typing {
    const char* name;
    std::vector<Step> steps;
    FieldTexts shown;
};

void PrintTo(const Typing& typing, std::ostream* out) {
    *out << typing.name;
}

class PayloadPageTypingTest : public PayloadPageTest,
                              public ::testing::WithParamInterface<Typing> {};

TEST_P(PayloadPageTypingTest, TypedNumberEndsAsTheSliderPutsIt) {
    for (const Step& step : GetParam().steps)
        Enter(step.id, step.text);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    ExpectFields(Driver(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PayloadPageTypingTest,
    ::testing::Values(
        Typing{"CabinWithinItsSeats",
               {{IDC_CABIN2, "40"}},
               {{IDC_CABIN2, "40"},
                {IDC_PASSENGERS, "40 пассажиров - 2800 кг."},
                {IDC_ACTUAL_LOAD, "Фактическая загрузка:   2800 кг."}}},
        Typing{"CabinBeyondItsSeats",
               {{IDC_CABIN1, "30"}},
               {{IDC_CABIN1, "22"},
                {IDC_PASSENGERS, "22 пассажиров - 1540 кг."},
                {IDC_ACTUAL_LOAD, "Фактическая загрузка:   1540 кг."}}},
        Typing{"NegativeCount",
               {{IDC_CABIN3, "-5"}},
               {{IDC_CABIN3, "0"}, {IDC_PASSENGERS, "0 пассажиров - 0 кг."}}},
        Typing{"EveryCabinFull",
               {{IDC_CABIN1, "22"}, {IDC_CABIN2, "65"}, {IDC_CABIN3, "15"}},
               {{IDC_PASSENGERS, "102 пассажиров - 7140 кг."},
                {IDC_ACTUAL_LOAD, "Фактическая загрузка:   7140 кг."}}},
        Typing{"HalfOfHold2",
               {{IDC_HOLD2_PERCENT, "50"}},
               {{IDC_HOLD2_PERCENT, "50"},
                {IDC_HOLD2_KG, "750"},
                {IDC_CARGO, "В грузовых отсеках 750 кг."},
                {IDC_ACTUAL_LOAD, "Фактическая загрузка:   750 кг."}}},
        Typing{"JustBelowAFullHold1",
               {{IDC_HOLD1_KG, "1999"}},
               {{IDC_HOLD1_KG, "1999"}, {IDC_HOLD1_PERCENT, "99"}}},
        Typing{"PercentBeyondFull",
               {{IDC_HOLD1_PERCENT, "150"}},
               {{IDC_HOLD1_PERCENT, "100"},
                {IDC_HOLD1_KG, "2000"},
                {IDC_CARGO, "В грузовых отсеках 2000 кг."}}},
        // 107374183 % of 2000 kg is beyond what 32 bits hold: still a full hold, not an empty one.
        Typing{"PercentBeyond32Bits",
               {{IDC_HOLD1_PERCENT, "107374183"}},
               {{IDC_HOLD1_PERCENT, "100"}, {IDC_HOLD1_KG, "2000"}}},
        Typing{"LargestPercent",
               {{IDC_HOLD1_PERCENT, "2147483647"}},
               {{IDC_HOLD1_PERCENT, "100"}, {IDC_HOLD1_KG, "2000"}}},
        Typing{"NegativePercent",
               {{IDC_HOLD1_PERCENT, "-7"}},
               {{IDC_HOLD1_PERCENT, "0"}, {IDC_HOLD1_KG, "0"}}},
        Typing{"MassBeyondCapacity",
               {{IDC_HOLD2_KG, "-2147483648"}, {IDC_HOLD2_KG, "99999"}},
               {{IDC_HOLD2_KG, "1500"}, {IDC_HOLD2_PERCENT, "100"}}},
        Typing{"MassBeyondAFullHold",
               {{IDC_HOLD1_KG, "2000"}, {IDC_HOLD1_KG, "2500"}},
               {{IDC_HOLD1_KG, "2000"}, {IDC_HOLD1_PERCENT, "100"}}},
        // 14 kg is less than one percent of hold 2, 15 kg is one.
        Typing{"PercentRoundsDown",
               {{IDC_HOLD2_KG, "14"}, {IDC_HOLD1_KG, " 19 "}},
               {{IDC_HOLD2_PERCENT, "0"},
                {IDC_HOLD1_PERCENT, "0"},
                {IDC_HOLD1_KG, "19"},
                {IDC_CARGO, "В грузовых отсеках 33 кг."}}},
        Typing{"PassengersAndCargo",
               {{IDC_CABIN2, "10"}, {IDC_HOLD1_PERCENT, "50"}, {IDC_HOLD2_KG, "15"}},
               {{IDC_HOLD2_PERCENT, "1"},
                {IDC_PASSENGERS, "10 пассажиров - 700 кг."},
                {IDC_CARGO, "В грузовых отсеках 1015 кг."},
                {IDC_ACTUAL_LOAD, "Фактическая загрузка:   1715 кг."}}}),
    NameOfCase());

struct SliderMove {
    const char* name;
    int slider;
    DriverKey key;
    int times;
    FieldTexts shown;
};

void PrintTo(const SliderMove& move, std::ostream* out) {
    *out << move.name;
}

class PayloadPageSliderTest : public PayloadPageTest,
                              public ::testing::WithParamInterface<SliderMove> {};

TEST_P(PayloadPageSliderTest, MovedSliderSetsItsFieldsAndSummaries) {
    Driver().PressKey(GetParam().slider, GetParam().key, GetParam().times);
    ExpectFields(Driver(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PayloadPageSliderTest,
    ::testing::Values(
        SliderMove{"Cabin2To13",
                   IDC_SLIDER_CABIN2,
                   DriverKey::Right,
                   13,
                   {{IDC_CABIN2, "13"},
                    {IDC_PASSENGERS, "13 пассажиров - 910 кг."},
                    {IDC_ACTUAL_LOAD, "Фактическая загрузка:   910 кг."}}},
        SliderMove{"Cabin1ToItsEnd", IDC_SLIDER_CABIN1, DriverKey::End, 1, {{IDC_CABIN1, "22"}}},
        SliderMove{"Cabin3ToItsEnd",
                   IDC_SLIDER_CABIN3,
                   DriverKey::End,
                   1,
                   {{IDC_CABIN3, "15"}, {IDC_PASSENGERS, "15 пассажиров - 1050 кг."}}},
        SliderMove{"Hold1OneKg",
                   IDC_SLIDER_HOLD1,
                   DriverKey::Right,
                   1,
                   {{IDC_HOLD1_KG, "1"}, {IDC_HOLD1_PERCENT, "0"}}},
        SliderMove{"Hold2ToItsEnd",
                   IDC_SLIDER_HOLD2,
                   DriverKey::End,
                   1,
                   {{IDC_HOLD2_KG, "1500"},
                    {IDC_HOLD2_PERCENT, "100"},
                    {IDC_CARGO, "В грузовых отсеках 1500 кг."},
                    {IDC_ACTUAL_LOAD, "Фактическая загрузка:   1500 кг."}}}),
    NameOfCase());

// Text that is no integer, typed into each number field in turn.
struct NoInteger {
    const char* name;
    std::string text;
};

void PrintTo(const NoInteger& text, std::ostream* out) {
    *out << text.name;
}

class PayloadPageRefusalTest : public PayloadPageTest,
                               public ::testing::WithParamInterface<NoInteger> {};

TEST_P(PayloadPageRefusalTest, TextThatIsNoIntegerIsRefusedAndChangesNothing) {
    // Values other than the initial ones, so that a field put back shows which value it took.
    Enter(IDC_CABIN1, "5");
    Enter(IDC_CABIN2, "10");
    Enter(IDC_CABIN3, "3");
    Enter(IDC_HOLD1_KG, "1000");
    Enter(IDC_HOLD2_KG, "300");
    ASSERT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    const std::map<int, std::string> before = Fields();
    const PayloadState values = m_page;
    for (int id : kNumberFields) {
        Enter(id, GetParam().text);
        EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNotAnInteger}) << id;
        EXPECT_TRUE(Driver().HasFocus(id)) << id;
        EXPECT_EQ(Fields(), before) << id;
        EXPECT_TRUE(static_cast<const PayloadState&>(m_page) == values) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PayloadPageRefusalTest,
    ::testing::Values(NoInteger{"Letters", "abc"}, NoInteger{"Empty", ""}, NoInteger{"Minus", "-"},
                      NoInteger{"Plus", "+"}, NoInteger{"TwoSigns", "--1"},
                      NoInteger{"Exponent", "1e40"}, NoInteger{"Fraction", "3.5"},
                      NoInteger{"Hexadecimal", "0x10"}, NoInteger{"TrailingLetter", "12ф"},
                      NoInteger{"WideDigit", "２"}, NoInteger{"WideNumber", "１２"},
                      NoInteger{"Cyrillic", "двенадцать"}, NoInteger{"DecimalComma", "12,5"},
                      NoInteger{"Digits400", std::string(400, '9')},
                      NoInteger{"Beyond32Bits", "2147483648"}),
    NameOfCase());

TEST_F(PayloadPageTest, SwitchingPagesKeepsEveryValue) {
    Driver().PressKey(IDC_SLIDER_CABIN1, DriverKey::Right, 5);
    Enter(IDC_CABIN2, "40");
    Enter(IDC_CABIN3, "7");
    Enter(IDC_HOLD1_PERCENT, "25");
    Enter(IDC_HOLD2_KG, "300");
    const std::map<int, std::string> before = Fields();
    const PayloadState values = m_page;
    ASSERT_EQ(before.at(IDC_HOLD1_KG), "500");

    ShowPage(1);
    ShowPage(0);
    ShowPage(1);
    ShowPage(0);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    EXPECT_EQ(Fields(), before);
    EXPECT_TRUE(static_cast<const PayloadState&>(m_page) == values);
    const RgbImage page = Driver().Grab();
    EXPECT_EQ(SeatsShown(page, 1), ComputeSeatCells(*FindCabinSeatLayout(1), 5));
    EXPECT_EQ(SeatsShown(page, 2), ComputeSeatCells(*FindCabinSeatLayout(2), 40));
}

TEST_F(PayloadPageTest, ComingBackTakesEveryValueFromTheSliders) {
    Enter(IDC_CABIN2, "40");
    Enter(IDC_HOLD2_KG, "300");
    ShowPage(1);
    // Whatever became of the members meanwhile, the sliders report again when the page shows.
    m_page.m_nCabin2 = 50;
    m_page.m_nHold2Kg = 9999;
    ShowPage(0);
    EXPECT_EQ(m_page.m_nCabin2, 40);
    EXPECT_EQ(m_page.m_nHold2Kg, 300);
    ExpectFields(Driver(), {{IDC_CABIN2, "40"}, {IDC_HOLD2_KG, "300"}, {IDC_HOLD2_PERCENT, "20"}});
}

TEST_F(PayloadPageTest, NumberTypedJustBeforeTheTabIsChangedIsTakenClamped) {
    Driver().TypeInto(IDC_CABIN1, "30");
    ShowPage(1);
    ShowPage(0);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    EXPECT_EQ(m_page.m_nCabin1, 22);
    ExpectFields(Driver(), {{IDC_CABIN1, "22"}, {IDC_PASSENGERS, "22 пассажиров - 1540 кг."}});
}

TEST_F(PayloadPageTest, EverySeatAndHoldFullShowsTheLargestSummaries) {
    Enter(IDC_CABIN1, "22");
    Enter(IDC_CABIN2, "65");
    Enter(IDC_CABIN3, "15");
    Enter(IDC_HOLD1_PERCENT, "100");
    Enter(IDC_HOLD2_PERCENT, "100");
    ExpectFields(Driver(), {{IDC_PASSENGERS, "102 пассажиров - 7140 кг."},
                            {IDC_CARGO, "В грузовых отсеках 3500 кг."},
                            {IDC_ACTUAL_LOAD, "Фактическая загрузка:   10640 кг."}});
}

} // namespace
