#include "payload/PayloadState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The running totals are one set for the whole program; every case starts as the program does.
class PayloadStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetPayloadTotals(); }
};

struct LoadCase {
    const char* name;
    int32_t cabin1, cabin2, cabin3, hold1Kg, hold2Kg;
    const char* passengers;
    const char* cargo;
    const char* actualLoad;
    int32_t hold1Percent, hold2Percent;
};

void PrintTo(const LoadCase& c, std::ostream* out) {
    *out << c.name;
}

class SummaryTable : public PayloadStateTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SummaryTable, SlidersReportingEveryValueGiveTheseSummaries) {
    const LoadCase& c = GetParam();
    PayloadState state;
    state.ApplyCabinCount(1, c.cabin1);
    state.ApplyCabinCount(2, c.cabin2);
    state.ApplyCabinCount(3, c.cabin3);
    state.ApplyHoldMass(1, c.hold1Kg);
    state.ApplyHoldMass(2, c.hold2Kg);

    EXPECT_EQ(state.m_strPassengers, c.passengers);
    EXPECT_EQ(state.m_strCargo, c.cargo);
    EXPECT_EQ(state.m_strActualLoad, c.actualLoad);
    EXPECT_EQ(state.m_nHold1Percent, c.hold1Percent);
    EXPECT_EQ(state.m_nHold2Percent, c.hold2Percent);
    // The fixed lines never change.
    EXPECT_EQ(state.m_strMaxLoad, "Предельная загрузка: ");
    EXPECT_EQ(state.m_strBalance, "Центровка 15,14% САХ");
    EXPECT_EQ(state.m_strEmptyWeight, "Вес пустого: 34929 кг");
}

// Sums and products beyond 32 bits keep their low 32 bits (a sanitizer build checks that
// computing them cannot fault).
INSTANTIATE_TEST_SUITE_P(
    Loads, SummaryTable,
    ::testing::Values(
        LoadCase{"Empty", 0, 0, 0, 0, 0, "0 пассажиров - 0 кг.", "В грузовых отсеках 0 кг.",
                 "Фактическая загрузка:   0 кг.", 0, 0},
        LoadCase{"Full", 22, 65, 15, 2000, 1500, "102 пассажиров - 7140 кг.",
                 "В грузовых отсеках 3500 кг.", "Фактическая загрузка:   10640 кг.", 100, 100},
        LoadCase{"OnePassengerNounUnchanged", 1, 0, 0, 0, 0, "1 пассажиров - 70 кг.",
                 "В грузовых отсеках 0 кг.", "Фактическая загрузка:   70 кг.", 0, 0},
        LoadCase{"TenInCabin2", 0, 10, 0, 0, 0, "10 пассажиров - 700 кг.",
                 "В грузовых отсеках 0 кг.", "Фактическая загрузка:   700 кг.", 0, 0},
        LoadCase{"PercentTruncated", 0, 0, 0, 1999, 14, "0 пассажиров - 0 кг.",
                 "В грузовых отсеках 2013 кг.", "Фактическая загрузка:   2013 кг.", 99, 0},
        LoadCase{"NegativeAsTyped", -5, 0, 0, -20, -19, "-5 пассажиров - -350 кг.",
                 "В грузовых отсеках -39 кг.", "Фактическая загрузка:   -389 кг.", -1, -1},
        LoadCase{"Int32Max", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX,
                 "2147483645 пассажиров - -210 кг.", "В грузовых отсеках -2 кг.",
                 "Фактическая загрузка:   -212 кг.", 107374182, 143165576},
        LoadCase{"Int32Min", INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN,
                 "-2147483648 пассажиров - 0 кг.", "В грузовых отсеках 0 кг.",
                 "Фактическая загрузка:   0 кг.", -107374182, -143165576}),
    NameOfCase());

struct ConversionCase {
    int hold;
    int32_t kg;
    int32_t percent;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << "hold " << c.hold << ": " << c.kg << " kg, " << c.percent << " %";
}

// "Hold1Kg1999Percent99": letters, digits and '_' only, as a test's name must be.
std::string ConversionName(const testing::TestParamInfo<ConversionCase>& info) {
    const auto part = [](int64_t n) {
        return n < 0 ? "Minus" + std::to_string(-n) : std::to_string(n);
    };
    return "Hold" + part(info.param.hold) + "Kg" + part(info.param.kg) + "Percent" +
           part(info.param.percent);
}

class MassToPercent : public PayloadStateTest,
                      public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(MassToPercent, MultipliesFirstAndTruncatesTowardZero) {
    const ConversionCase& c = GetParam();
    PayloadState state;
    state.ApplyHoldMass(c.hold, c.kg);
    EXPECT_EQ(c.hold == 1 ? state.m_nHold1Percent : state.m_nHold2Percent, c.percent);
    EXPECT_EQ(c.hold == 1 ? state.m_nHold1Kg : state.m_nHold2Kg, c.kg);
}

INSTANTIATE_TEST_SUITE_P(Holds, MassToPercent,
                         ::testing::Values(ConversionCase{1, 1999, 99}, ConversionCase{1, 19, 0},
                                           ConversionCase{1, 20, 1}, ConversionCase{1, -19, 0},
                                           ConversionCase{2, 1499, 99}, ConversionCase{2, 14, 0},
                                           ConversionCase{2, 15, 1}, ConversionCase{2, -29, -1}),
                         ConversionName);

class PercentToMass : public PayloadStateTest,
                      public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(PercentToMass, SetsAndReturnsTheMassWithoutRefreshingSummaries) {
    const ConversionCase& c = GetParam();
    PayloadState state;
    (c.hold == 1 ? state.m_nHold1Percent : state.m_nHold2Percent) = c.percent;
    EXPECT_EQ(state.HoldMassFromPercent(c.hold), c.kg);
    EXPECT_EQ(c.hold == 1 ? state.m_nHold1Kg : state.m_nHold2Kg, c.kg);
    EXPECT_EQ(state.m_strCargo, PayloadState().m_strCargo);
    EXPECT_EQ(g_nCargoTotal, 0);
}

INSTANTIATE_TEST_SUITE_P(Holds, PercentToMass,
                         ::testing::Values(ConversionCase{2, 495, 33}, ConversionCase{1, 1000, 50},
                                           ConversionCase{1, 3000, 150}, ConversionCase{2, -15, -1},
                                           ConversionCase{1, -20, INT32_MAX},
                                           ConversionCase{2, 2147483633, INT32_MAX},
                                           ConversionCase{1, 0, INT32_MIN}),
                         ConversionName);

TEST_F(PayloadStateTest, EveryWholePercentComesBackFromItsMass) {
    for (int hold = 1; hold <= 2; ++hold) {
        for (int32_t percent = 0; percent <= 100; ++percent) {
            PayloadState state;
            (hold == 1 ? state.m_nHold1Percent : state.m_nHold2Percent) = percent;
            state.ApplyHoldMass(hold, state.HoldMassFromPercent(hold));
            EXPECT_EQ(hold == 1 ? state.m_nHold1Percent : state.m_nHold2Percent, percent)
                << "hold " << hold;
        }
    }
}

TEST_F(PayloadStateTest, ActualLoadSumsTheStoredTotalsNotTheFields) {
    PayloadState state;
    state.m_nCabin1 = 10;
    state.m_nHold1Kg = 300;
    state.UpdateActualLoadSummary();
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   0 кг.");

    state.UpdatePassengerSummary();
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   0 кг.");
    state.UpdateActualLoadSummary();
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   700 кг.");

    state.UpdateCargoSummary();
    state.UpdateActualLoadSummary();
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   1000 кг.");

    // The totals belong to the program, not to one set of values.
    PayloadState other;
    other.ApplyHoldMass(2, 750);
    EXPECT_EQ(other.m_strActualLoad, "Фактическая загрузка:   1450 кг.");
    EXPECT_EQ(g_nActualLoad, 1450);
}

TEST_F(PayloadStateTest, CabinOrHoldOutsideTheAircraftChangesNothing) {
    PayloadState state;
    state.ApplyCabinCount(2, 13);
    state.ApplyHoldMass(1, 400);
    const PayloadState before = state;
    const int32_t totals[] = {g_nCargoTotal, g_nPassengerCount, g_nPassengerMass, g_nActualLoad};

    for (const int cabin : {0, 4, -1, INT_MIN, INT_MAX})
        state.ApplyCabinCount(cabin, 7);
    for (const int hold : {0, 3, -1, INT_MIN, INT_MAX}) {
        state.ApplyHoldMass(hold, 7);
        EXPECT_EQ(state.HoldMassFromPercent(hold), 0);
    }

    EXPECT_TRUE(state == before);
    const int32_t after[] = {g_nCargoTotal, g_nPassengerCount, g_nPassengerMass, g_nActualLoad};
    EXPECT_TRUE(std::equal(std::begin(totals), std::end(totals), std::begin(after)));
}

} // namespace
