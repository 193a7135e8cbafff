#include "FuelPageFixture.h"

#include <map>

namespace {

const SeenMessage kNoGroundSpeed{
    "Ошибка", "Встречный ветер не меньше скорости полета: расчет невозможен.", MessageIcon::Stop};

const int kResultFields[] = {IDC_TOTAL_FUEL, IDC_GROUP1, IDC_TANK8,
                             IDC_GROUP2,     IDC_TANK12, IDC_FLOWMETER};

struct NoSpeed {
    const char* name;
    const char* range;
    const char* wind;
};

void PrintTo(const NoSpeed& c, std::ostream* out) {
    *out << c.name;
}

class FuelPageGuardTest : public FuelPageTest, public ::testing::WithParamInterface<NoSpeed> {};

// Level 6900 and 60 min: 540 km/h and 1.75 of reserve in the divisor; -541.75 leaves nothing.
TEST_P(FuelPageGuardTest, CalculationWithoutGroundSpeedKeepsThePlanShown) {
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel8100);
    Driver().Click(IDC_CALCULATE_FUEL);
    std::map<int, std::string> before;
    for (int id : kResultFields)
        before[id] = Driver().Read(id);

    Driver().TypeInto(IDC_RANGE, GetParam().range);
    Driver().TypeInto(IDC_WIND, GetParam().wind);
    Driver().LeaveField();
    Driver().ChooseEntry(IDC_FLIGHT_LEVEL, kLevel6900);
    Driver().Click(IDC_CALCULATE_FUEL);
    EXPECT_EQ(Driver().TakeMessages(), std::vector<SeenMessage>{kNoGroundSpeed});
    for (int id : kResultFields)
        EXPECT_EQ(Driver().Read(id), before[id]) << "field " << id;
    // The next field left finds every field a number: nothing is refused.
    Driver().TypeInto(IDC_RANGE, "3600");
    Driver().Click(IDC_TOTAL_FUEL);
    Driver().LeaveField();
    EXPECT_TRUE(Driver().TakeMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(Divisors, FuelPageGuardTest,
                         ::testing::Values(NoSpeed{"Zero", "3600", "-541.75"},
                                           NoSpeed{"ZeroOverZero", "0", "-541.75"},
                                           NoSpeed{"Negative", "3600", "-700"}),
                         NameOfCase());

} // namespace
