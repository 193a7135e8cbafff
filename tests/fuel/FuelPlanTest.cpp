#include "fuel/FuelPlan.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const char* kLowLevel = "Внимание!\r\nВыбранный эшелон ниже минимального.";
const char* kLowReserve = "Внимание!\r\nАэронавигационный запас слишком мал.";
const char* kOverflow = "Количество топлива превышает емкость баков!";

struct TripCase {
    const char* name;
    float range, wind, reserve;
    const char* level;
    float total;
    std::vector<const char*> warnings;
};

void PrintTo(const TripCase& c, std::ostream* out) {
    *out << c.name;
}

class TripFuel : public testing::TestWithParam<TripCase> {};

TEST_P(TripFuel, TotalAndWarnings) {
    const TripCase& c = GetParam();
    FuelPlan plan;
    plan.m_fRange = c.range;
    plan.m_fWind = c.wind;
    plan.m_fReserve = c.reserve;
    RecordingCallback owner;
    ComputeTripFuel(plan, c.level, owner);
    EXPECT_NEAR(plan.m_fTotalFuel, c.total, 0.01f);
    ASSERT_EQ(owner.messages.size(), c.warnings.size());
    for (std::size_t i = 0; i < c.warnings.size(); ++i) {
        EXPECT_EQ(owner.messages[i].text, c.warnings[i]);
        EXPECT_EQ(owner.messages[i].caption, "Предупреждение");
        EXPECT_EQ(owner.messages[i].icon, MessageIcon::Information);
    }
    // The calculation leaves everything but the total alone.
    EXPECT_EQ(plan.m_fGroup1, 0.0f);
    EXPECT_EQ(plan.m_fFlowmeter, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TripFuel,
    testing::Values(
        TripCase{"level_8100", 3600, 0, 60, "8100", 14712.08f, {}},
        TripCase{"level_10600", 3600, 0, 60, "10600", 13648.45f, {}},
        TripCase{"level_6600", 3600, 0, 60, "6600", 15433.74f, {}},
        TripCase{"head_wind_long_reserve", 3600, -50, 120, "8100", 16115.14f, {}},
        // With no level chosen it counts as 0: 2300 * 3600 / (540 - 6900 / 57 + 1.75)
        TripCase{"no_level", 3600, 0, 60, "", 19681.61f, {kLowLevel}},
        TripCase{"level_below_900", 3600, 0, 60, "899", 18970.41f, {kLowLevel}},
        TripCase{"level_900", 3600, 0, 60, "900", 18969.64f, {}},
        TripCase{"reserve_59_9", 3600, 0, 59.9f, "8100", 14712.12f, {kLowReserve}},
        TripCase{"both_warnings_level_first", 3600, 0, 30, "", 19705.03f, {kLowLevel, kLowReserve}},
        TripCase{"no_range", 0, 0, 60, "8100", 0.0f, {}}),
    NameOfCase());

struct RefusedTrip {
    const char* name;
    float range, wind, reserve;
    const char* message;
};

void PrintTo(const RefusedTrip& c, std::ostream* out) {
    *out << c.name;
}

class RefusedTripFuel : public testing::TestWithParam<RefusedTrip> {};

// Level 8100: the speed term is 540 + 1200 / 57, the reserve term 1.75 for 60 min.
constexpr float kNoSpeedLeft = -(540.0f + 1200.0f / 57.0f + 1.75f);

TEST_P(RefusedTripFuel, LeavesThePlanAndSaysWhy) {
    const RefusedTrip& c = GetParam();
    FuelPlan plan;
    plan.m_fRange = c.range;
    plan.m_fWind = c.wind;
    plan.m_fReserve = c.reserve;
    plan.m_fTotalFuel = 1234.0f;
    RecordingCallback owner;
    EXPECT_FALSE(ComputeTripFuel(plan, "8100", owner));
    EXPECT_EQ(plan.m_fTotalFuel, 1234.0f);
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].text, c.message);
    EXPECT_EQ(owner.messages[0].caption, "Ошибка");
    EXPECT_EQ(owner.messages[0].icon, MessageIcon::Stop);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTripFuel,
    testing::Values(
        RefusedTrip{"zero_divisor", 3600, kNoSpeedLeft, 60, kNoGroundSpeedMessage.data()},
        RefusedTrip{"zero_over_zero", 0, kNoSpeedLeft, 60, kNoGroundSpeedMessage.data()},
        RefusedTrip{"head_wind_beyond_speed", 3600, -700, 60, kNoGroundSpeedMessage.data()},
        RefusedTrip{"range_beyond_floats", 3e38f, 0, 60, kTotalBeyondNumbersMessage.data()}),
    NameOfCase());

TEST(TripFuel, SlowestGroundSpeedStillComputes) {
    FuelPlan plan;
    plan.m_fWind = kNoSpeedLeft + 1.0f;
    RecordingCallback owner;
    EXPECT_TRUE(ComputeTripFuel(plan, "8100", owner));
    EXPECT_GT(plan.m_fTotalFuel, 1e6f);
    EXPECT_TRUE(owner.messages.empty());
}

struct DistributionCase {
    float total;
    float group1, tank8, group2, tank12, flowmeter;
    bool overflow;
};

void PrintTo(const DistributionCase& c, std::ostream* out) {
    *out << c.total;
}

class Distribution : public testing::TestWithParam<DistributionCase> {};

TEST_P(Distribution, FillsTheTanksInTheirOrder) {
    const DistributionCase& c = GetParam();
    FuelPlan plan;
    plan.m_fTotalFuel = 1234.0f;
    RecordingCallback owner;
    DistributeFuel(plan, c.total, owner);
    EXPECT_NEAR(plan.m_fGroup1, c.group1, 0.01f);
    EXPECT_NEAR(plan.m_fTank8, c.tank8, 0.01f);
    EXPECT_NEAR(plan.m_fGroup2, c.group2, 0.01f);
    EXPECT_NEAR(plan.m_fTank12, c.tank12, 0.01f);
    EXPECT_NEAR(plan.m_fFlowmeter, c.flowmeter, 0.001f);
    EXPECT_EQ(plan.m_fTotalFuel, 1234.0f); // never written here
    if (c.overflow) {
        ASSERT_EQ(owner.messages.size(), 1u);
        EXPECT_EQ(owner.messages[0].text, kOverflow);
        EXPECT_EQ(owner.messages[0].caption, "Ошибка");
        EXPECT_EQ(owner.messages[0].icon, MessageIcon::Stop);
    } else {
        EXPECT_TRUE(owner.messages.empty());
        // Below the overflow every kilogram is in some tank.
        EXPECT_NEAR(2 * (plan.m_fGroup1 + plan.m_fTank8 + plan.m_fGroup2) + plan.m_fTank12, c.total,
                    0.01f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, Distribution,
    testing::Values(DistributionCase{0, 0, 0, 0, 0, 0, false},
                    DistributionCase{-3000, -1500, 0, 0, 0, -75, false},
                    DistributionCase{6000, 3000, 0, 0, 0, 150, false},
                    DistributionCase{6001, 2750, 250.5f, 0, 0, 150.025f, false},
                    DistributionCase{10000, 2750, 2250, 0, 0, 250, false},
                    DistributionCase{10001, 2410.5f, 2590, 0, 0, 250.025f, false},
                    DistributionCase{14712.08f, 3850, 2590, 916.04f, 0, 367.802f, false},
                    DistributionCase{18600, 3850, 2590, 2860, 0, 465, false},
                    DistributionCase{20000, 3850, 2590, 2860, 1400, 500, false},
                    DistributionCase{23550, 3850, 2590, 2860, 4950, 588.75f, false},
                    DistributionCase{30000, 3850, 2590, 2860, 4950, 588.75f, true}),
    [](const auto& info) { return "Total" + CaseName(testing::PrintToString(info.param.total)); });

TEST(Distribution, TotalThatIsNotANumberIsNoOverflow) {
    FuelPlan plan;
    RecordingCallback owner;
    DistributeFuel(plan, std::nanf(""), owner);
    EXPECT_TRUE(owner.messages.empty());
    EXPECT_TRUE(std::isnan(plan.m_fGroup1));
    EXPECT_EQ(plan.m_fTank12, 0.0f);
}

TEST(FuelPlan, StartsWithTheDefaults) {
    const FuelPlan plan;
    EXPECT_EQ(plan.m_fRange, 3600.0f);
    EXPECT_EQ(plan.m_fReserve, 60.0f);
    EXPECT_EQ(plan.m_fTotalFuel + plan.m_fWind + plan.m_fFlowmeter + plan.m_fGroup1 +
                  plan.m_fGroup2 + plan.m_fTank8 + plan.m_fTank12,
              0.0f);
}

} // namespace
