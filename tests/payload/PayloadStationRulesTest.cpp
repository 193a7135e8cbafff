#include "config/PayloadStationRules.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kKeys[5] = {"station_load.0", "station_load.1", "station_load.2",
                              "station_load.3", "station_load.4"};

TEST(PayloadStationRules, EmptyAndFullAircraftGiveTheseLines) {
    const std::vector<std::string> empty = {
        "station_load.0=0.000, 29.856, 0.000, 3.937, Front \n",
        "station_load.1=0.000, -5.742, 0.000, 3.937, Center \n",
        "station_load.2=0.000, -34.941, 0.000, 3.937, Rear \n",
        "station_load.3=0.000, 22.474, 0.000, -0.328, Front_Cargo \n",
        "station_load.4=0.000, -25.427, 0.000, -0.246, Rear_Cargo \n",
    };
    const std::vector<std::string> full = {
        "station_load.0=3395.118, 29.856, 0.000, 3.937, Front \n",
        "station_load.1=10031.032, -5.742, 0.000, 3.937, Center \n",
        "station_load.2=2314.853, -34.941, 0.000, 3.937, Rear \n",
        "station_load.3=4409.245, 22.474, 0.000, -0.328, Front_Cargo \n",
        "station_load.4=3306.933, -25.427, 0.000, -0.246, Rear_Cargo \n",
    };
    for (const auto& [rules, lines] :
         {std::pair{MakePayloadStationRules(0, 0, 0, 0, 0), empty},
          std::pair{MakePayloadStationRules(22, 65, 15, 2000, 1500), full}}) {
        ASSERT_EQ(rules.size(), 5u);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(rules[i].key, kKeys[i]);
            EXPECT_EQ(rules[i].line, lines[i]);
        }
    }
}

struct LoadCase {
    int32_t cabin1, cabin2, cabin3, hold1, hold2;
    const char* loads[5];
};

void PrintTo(const LoadCase& c, std::ostream* out) {
    *out << "cabins " << c.cabin1 << ", " << c.cabin2 << ", " << c.cabin3 << "; holds " << c.hold1
         << ", " << c.hold2 << " kg";
}

class StationLoads : public ::testing::TestWithParam<LoadCase> {};

TEST_P(StationLoads, WritesPoundsWithThreeDecimals) {
    const LoadCase& c = GetParam();
    const auto rules = MakePayloadStationRules(c.cabin1, c.cabin2, c.cabin3, c.hold1, c.hold2);
    ASSERT_EQ(rules.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const std::string& line = rules[i].line;
        const size_t equals = line.find('=');
        EXPECT_EQ(line.substr(equals + 1, line.find(',') - equals - 1), c.loads[i]) << line;
        // The rewriter lets the first matching rule decide, so no line may carry another's key.
        for (size_t j = 0; j < 5; ++j) {
            if (j != i) {
                EXPECT_EQ(line.find(kKeys[j]), std::string::npos) << line;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, StationLoads,
    ::testing::Values(
        LoadCase{1, 2, 3, 1, 2, {"154.324", "308.647", "462.971", "2.205", "4.409"}},
        LoadCase{-3, -1, 0, -1, -2000, {"-462.971", "-154.324", "0.000", "-2.205", "-4409.245"}},
        LoadCase{INT32_MAX,
                 INT32_MIN,
                 0,
                 INT32_MAX,
                 INT32_MIN,
                 {"331407328104.023", "-331407328258.346", "0.000", "4734390401.486",
                  "-4734390403.691"}}),
    [](const testing::TestParamInfo<LoadCase>& info) {
        const LoadCase& c = info.param;
        return CaseName("Cabins_" + std::to_string(c.cabin1) + "_" + std::to_string(c.cabin2) +
                        "_" + std::to_string(c.cabin3) + "_Holds_" + std::to_string(c.hold1) + "_" +
                        std::to_string(c.hold2));
    });

// The keys are plain substrings: station 10's line begins with station 1's key and takes its
// line, so the file then holds station 1 twice.
TEST(PayloadStationRules, StationTenOfARealFileBecomesStationOne) {
    ScratchDirectory scratch;
    WriteFileBytes("Aircraft.cfg", ReadFileBytes(DataFile("il18-aircraft.cfg")));
    RecordingCallback owner;
    const auto rules = MakePayloadStationRules(0, 13, 0, 0, 0);
    ConfigRewriter().RewriteConfigFile(rules, "Пассажиры и груз на борту", owner);
    const std::string after = ReadFileBytes("Aircraft.cfg");
    const std::string station1 = "station_load.1=2006.206, -5.742, 0.000, 3.937, Center \r\n";
    const size_t first = after.find(station1);
    ASSERT_NE(first, std::string::npos);
    const size_t second = after.find(station1, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(after.find("station_load.10"), std::string::npos);
    // Station 9, between them, is not one of ours and is kept.
    EXPECT_NE(after.substr(first, second - first).find("station_load.9=170.000"),
              std::string::npos);
}

} // namespace
