// Text that is no plain number, typed into every field of the fuel page that a user types into.

#include "gui/FuelPageFixture.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <utility>

namespace {

// The plan's members in the order of the page's exchange.
constexpr float FuelPlan::*kExchangeOrder[] = {
    &FuelPlan::m_fRange,  &FuelPlan::m_fReserve,   &FuelPlan::m_fTotalFuel,
    &FuelPlan::m_fWind,   &FuelPlan::m_fFlowmeter, &FuelPlan::m_fGroup1,
    &FuelPlan::m_fGroup2, &FuelPlan::m_fTank8,     &FuelPlan::m_fTank12};
constexpr std::size_t kMembers = std::size(kExchangeOrder);

std::array<float, kMembers> Members(const FuelPlan& plan) {
    std::array<float, kMembers> members{};
    for (std::size_t i = 0; i < kMembers; ++i)
        members[i] = plan.*kExchangeOrder[i];
    return members;
}

// The place of the field's member in the exchange.
std::size_t ExchangeIndex(int field) {
    switch (field) {
    case IDC_RANGE:
        return 0;
    case IDC_RESERVE:
        return 1;
    case IDC_TOTAL_FUEL:
        return 2;
    default:
        return 3; // IDC_WIND
    }
}

struct BadText {
    const char* name;
    std::string text;
    // Range and reserve are taken at every key. Each key after which the field holds no number
    // is refused, and the refusal selects the field's text, so that the next key starts it anew:
    // how many keys were refused, the text the field ends with, and the number the last key left
    // in it (none: the member keeps its value, and so do the members after it, since no key of
    // these texts was taken).
    int keysRefused;
    const char* keysEnd;
    std::optional<float> keysTaken;
    // Wind and total are taken when the field is left, whole; none: refused.
    std::optional<float> leftTaken;
    // A total taken goes to group I alone (it is below 6000 kg), half on each wing: group I's
    // quantity in the file, in US gallons.
    double group1Gallons;
};

const BadText kBadTexts[] = {
    {"Letters", "abc", 3, "c", {}, {}, 0},
    {"Empty", "", 1, "", {}, {}, 0},
    {"Minus", "-", 1, "-", {}, {}, 0},
    // "1" is taken, "1e" refused, then "4" and "40" taken.
    {"BeyondAFloat", "1e40", 1, "40", 40.0f, {}, 0},
    {"NotANumber", "nan", 3, "n", {}, {}, 0},
    {"Infinity", "inf", 3, "f", {}, {}, 0},
    // Every 39th nine makes more than a float holds; the last ten stay.
    {"Digits400", std::string(400, '9'), 10, "9999999999", 9999999999.0f, {}, 0},
    {"Cyrillic", "двенадцать", 10, "ь", {}, {}, 0},
    {"WideDigits", "１２", 2, "２", {}, {}, 0},
    {"Blanks", "  3600  ", 2, "3600  ", 3600.0f, 3600.0f, 594.387},
    // A decimal comma reads as the point; with a point beside it the text is no number.
    {"DecimalComma", "3600,5", 0, "3600,5", 3600.5f, 3600.5f, 594.470},
    {"CommaAndPoint", "3,600.5", 1, "5", 5.0f, {}, 0},
    // Too small for a float: read as 0 when whole; typed, "1e" and "-" are refused.
    {"TooSmall", "1e-50", 2, "50", 50.0f, 0.0f, 0},
    {"Hexadecimal", "0x10", 1, "10", 10.0f, {}, 0},
};

struct BadInput {
    int field;
    const BadText* text;
};

const char* FieldName(int field) {
    switch (field) {
    case IDC_RANGE:
        return "Range";
    case IDC_RESERVE:
        return "Reserve";
    case IDC_WIND:
        return "Wind";
    case IDC_TOTAL_FUEL:
        return "Total";
    default:
        return "Level";
    }
}

void PrintTo(const BadInput& input, std::ostream* out) {
    *out << FieldName(input.field) << ", " << input.text->name;
}

std::vector<BadInput> EveryFieldWithEveryText() {
    std::vector<BadInput> inputs;
    for (int field : {IDC_RANGE, IDC_RESERVE, IDC_WIND, IDC_TOTAL_FUEL, IDC_FLIGHT_LEVEL})
        for (const BadText& text : kBadTexts)
            inputs.push_back({field, &text});
    return inputs;
}

class FuelPageBadInputTest : public FuelPageFileTest,
                             public ::testing::WithParamInterface<BadInput> {
protected:
    // A plan on the page before the text is typed: level 8100 calculated, and every member as
    // its field shows it (six digits), as an exchange that takes the fields leaves it.
    void SetUp() override {
        FuelPageFileTest::SetUp();
        if (HasFatalFailure())
            return;
        Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
        Driver().Click(IDC_CALCULATE_FUEL);
        ASSERT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
        ASSERT_EQ(Driver().Read(IDC_TOTAL_FUEL), "14712.1");
        ASSERT_TRUE(m_page.UpdateData(true));
    }

    // The tank fields still show the plan calculated first.
    void ExpectTheFirstPlan() {
        EXPECT_EQ(Driver().Read(IDC_GROUP1), "3850");
        EXPECT_EQ(Driver().Read(IDC_TANK8), "2590");
        EXPECT_NEAR(Field(IDC_GROUP2), 916.04, 0.01);
        EXPECT_EQ(Driver().Read(IDC_TANK12), "0");
    }

    // The file holds `tanks`, the plan that the tank fields show.
    void ExpectThePlanShownInTheFile(const TankGallons& tanks) {
        for (const auto& [id, member] : {std::pair{IDC_GROUP1, &FuelPlan::m_fGroup1},
                                         std::pair{IDC_TANK8, &FuelPlan::m_fTank8},
                                         std::pair{IDC_GROUP2, &FuelPlan::m_fGroup2},
                                         std::pair{IDC_TANK12, &FuelPlan::m_fTank12}})
            EXPECT_EQ(Driver().Read(id), PrintfG(m_page.*member)) << id;
        ExpectTankLines(tanks);
    }
    // The flow meter and the tanks, which the total's handler splits anew (ExpectTanksHold checks
    // the split), as the page holds them.
    void KeepTheSplit(std::array<float, kMembers>& expected) const {
        const auto members = Members(m_page);
        std::copy(members.begin() + 4, members.end(), expected.begin() + 4);
    }
    void FillAndExpectThePlanShown(const TankGallons& tanks) {
        Driver().Click(IDC_FILL_FUEL);
        EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
        ExpectThePlanShownInTheFile(tanks);
    }
};

TEST_P(FuelPageBadInputTest, IsRefusedOrTakenAndTheFileGetsNothingButThePlanShown) {
    const int field = GetParam().field;
    const BadText& bad = *GetParam().text;

    if (field == IDC_FLIGHT_LEVEL) {
        // The typed level is no entry of the list: the page computes as with no level chosen.
        const auto before = Members(m_page);
        Driver().TypeInto(field, bad.text);
        EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
        EXPECT_EQ(Driver().Read(field), bad.text);
        EXPECT_EQ(m_page.m_cbFlightLevel.GetCurSel(), CB_ERR);
        EXPECT_EQ(Members(m_page), before);
        Driver().Click(IDC_CALCULATE_FUEL);
        EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kLevelWarning});
        EXPECT_EQ(Driver().Read(IDC_TOTAL_FUEL), kTotalAtLevelZero);
        ExpectTanksHold(Field(IDC_TOTAL_FUEL));
        // Every tank but 12 full; tank 12 takes 1081.61 kg.
        FillAndExpectThePlanShown({357.163, 1271.329, 855.257, 944.416});
        return;
    }

    // The member after the field differs from its own field: only an exchange that went on past
    // the field makes them equal again.
    const std::size_t at = ExchangeIndex(field);
    const auto before = Members(m_page);
    auto expected = before;
    m_page.*kExchangeOrder[at + 1] += 1.0f;

    if (field == IDC_RANGE || field == IDC_RESERVE) {
        Driver().TypeInto(field, bad.text);
        EXPECT_EQ(Driver().TakeMessages(),
                  std::vector<SeenMessage>(static_cast<std::size_t>(bad.keysRefused), kNotANumber));
        EXPECT_EQ(Driver().Read(field), bad.keysEnd);
        EXPECT_TRUE(Driver().HasFocus(field));
        if (bad.keysTaken)
            expected[at] = *bad.keysTaken;
        else
            expected[at + 1] += 1.0f;
        EXPECT_EQ(Members(m_page), expected);
        // Typing calculates nothing: the tanks are filled with the plan they show.
        ExpectTheFirstPlan();
        FillAndExpectThePlanShown(kTanksAt8100);
        return;
    }

    // Wind and total: typing takes nothing; leaving the field for the fill button does.
    Driver().TypeInto(field, bad.text);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{});
    EXPECT_EQ(Members(m_page)[at], before[at]);
    if (!bad.leftTaken) {
        Driver().Click(IDC_FILL_FUEL);
        const std::vector<SeenMessage> messages = Driver().TakeMessages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages[0], kNotANumber);
        EXPECT_TRUE(Driver().HasFocus(field));
        expected[at + 1] += 1.0f;
        if (field == IDC_TOTAL_FUEL) {
            // The total's handler splits the old total again and shows the plan, its total too.
            EXPECT_EQ(Driver().Read(field), PrintfG(before[at]));
            ExpectTanksHold(before[at]);
            KeepTheSplit(expected);
        } else {
            EXPECT_EQ(Driver().Read(field), bad.text);
        }
        EXPECT_EQ(Members(m_page), expected);
        ExpectTheFirstPlan();
        // The click whose focus change was refused presses nothing: the file stays as it was.
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), m_original);
        EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
        return;
    }
    Driver().Click(IDC_FILL_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kFuelled});
    expected[at] = *bad.leftTaken;
    if (field == IDC_TOTAL_FUEL) {
        // A total typed by hand is split over the tanks and shown as the page writes numbers.
        EXPECT_EQ(Driver().Read(field), PrintfG(*bad.leftTaken));
        ExpectTanksHold(*bad.leftTaken);
        KeepTheSplit(expected);
    } else {
        EXPECT_EQ(Driver().Read(field), bad.text);
        ExpectTheFirstPlan();
    }
    EXPECT_EQ(Members(m_page), expected);
    ExpectThePlanShownInTheFile(field == IDC_TOTAL_FUEL ? TankGallons{0, bad.group1Gallons, 0, 0}
                                                        : kTanksAt8100);
}

INSTANTIATE_TEST_SUITE_P(Fields, FuelPageBadInputTest,
                         ::testing::ValuesIn(EveryFieldWithEveryText()), [](const auto& info) {
                             return std::string(FieldName(info.param.field)) + "_" +
                                    info.param.text->name;
                         });

} // namespace
