#include "config/PayloadStationRules.h"
#include "config/ConfigRewriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
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

// What the rewrite must make of `input`, line by line: a line ends after a line feed (a carriage
// return before it belongs to it) or after a lone carriage return; a line holding a key becomes
// the first such rule's line, every other line stays as it is; every line feed goes out as CR LF.
// A last line without line end is kept as it is.
std::string ExpectedRewrite(std::string_view input, const std::vector<LineRule>& rules,
                            int& replaced) {
    std::string out;
    size_t start = 0;
    replaced = 0;
    while (start < input.size()) {
        const size_t end = input.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            out += input.substr(start);
            break;
        }
        const bool crlf = input[end] == '\r' && end + 1 < input.size() && input[end + 1] == '\n';
        const size_t next = end + (crlf ? 2 : 1);
        std::string_view line = input.substr(start, next - start);
        std::string text(line);
        for (const LineRule& rule : rules) {
            if (line.find(rule.key) != std::string_view::npos) {
                text.assign(rule.line, 0, rule.line.size() - 1);
                text += "\r\n";
                ++replaced;
                break;
            }
        }
        if (text.back() == '\n' && (text.size() < 2 || text[text.size() - 2] != '\r'))
            text.insert(text.size() - 1, "\r");
        out += text;
        start = next;
    }
    return out;
}

struct FileCase {
    const char* file;
    int stationLines;    // lines that hold one of the five keys, counted by hand
    bool shared = false; // one of ../shared/testdata/aircraft-cfg, not of tests/data
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.file;
}

class RealFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(RealFiles, OnlyStationLinesChangeAndASecondRunChangesNothing) {
    const FileCase& c = GetParam();
    const auto path =
        c.shared ? SharedDataFile(std::string("aircraft-cfg/") + c.file) : DataFile(c.file);
    if (path.empty())
        GTEST_SKIP() << kNoSharedTestData;
    const std::string original = ReadFileBytes(path);
    ASSERT_FALSE(original.empty());
    const auto rules = MakePayloadStationRules(10, 40, 7, 1250, 600);
    int replaced = 0;
    const std::string expected = ExpectedRewrite(original, rules, replaced);
    EXPECT_EQ(replaced, c.stationLines);

    ScratchDirectory scratch;
    WriteFileBytes("Aircraft.cfg", original);
    RecordingCallback owner;
    ConfigRewriter().RewriteConfigFile(rules, "Пассажиры и груз на борту", owner);
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].text, "Пассажиры и груз на борту");
    EXPECT_EQ(owner.messages[0].caption, kCaptionMessage);
    EXPECT_EQ(owner.messages[0].icon, MessageIcon::Information);
    const std::string once = ReadFileBytes("Aircraft.cfg");
    EXPECT_TRUE(once == expected) << "rewritten file differs from the expected one";

    ConfigRewriter().RewriteConfigFile(rules, "Пассажиры и груз на борту", owner);
    EXPECT_TRUE(ReadFileBytes("Aircraft.cfg") == once);
}

INSTANTIATE_TEST_SUITE_P(AircraftCfg, RealFiles,
                         ::testing::Values(FileCase{"il18-aircraft.cfg", 10},
                                           FileCase{"hampden.cfg", 4, true},
                                           FileCase{"swift-fr5.cfg", 0, true},
                                           FileCase{"a320-ai.cfg", 5, true},
                                           FileCase{"b747-8i-flight_model.cfg", 6, true}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find_first_of(".-"));
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
