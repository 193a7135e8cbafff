// The rewrite of real configuration files of other aircraft, and of the tank lines.
#include "RewriteFixture.h"
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct RealFile {
    const char* name;
    int tankLines;       // lines that hold one of the nine tank keys
    bool shared = false; // one of ../shared/testdata/aircraft-cfg, not of tests/data
};

void PrintTo(const RealFile& file, std::ostream* out) {
    *out << file.name;
}

class RewriteRealFile : public testing::TestWithParam<RealFile> {};

TEST_P(RewriteRealFile, ChangesOnlyTheTankLines) {
    const RealFile& file = GetParam();
    const auto path = file.shared ? SharedDataFile(std::string("aircraft-cfg/") + file.name)
                                  : DataFile(file.name);
    if (path.empty())
        GTEST_SKIP() << kNoSharedTestData;
    const std::string before = ReadFileBytes(path);
    ASSERT_FALSE(before.empty());
    const auto rules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);

    ScratchDirectory dir;
    // The lower-case name is found as it is, and keeps it.
    const char* name = std::string_view(file.name) == "aircraft.cfg" ? file.name : kConfigFileName;
    WriteFileBytes(name, before);
    RecordingCallback owner;
    ConfigRewriter().RewriteConfigFile(rules, "done", owner);
    ExpectCompleted(owner.messages);
    const std::string after = ReadFileBytes(name);

    EXPECT_TRUE(after == ExpectedRewrite(before, rules));
    // Line by line: a line with a key is its rule's line, any other the same bytes ending in
    // CR LF (a last line without line end stays without).
    std::vector<std::string> keys;
    keys.reserve(rules.size());
    for (const LineRule& rule : rules)
        keys.emplace_back(rule.key);
    const std::vector<KeyLine> replaced = ExpectOtherLinesUnchanged(before, after, keys);
    for (const KeyLine& line : replaced) {
        const std::string& expected = rules[line.key].line;
        EXPECT_EQ(line.text, expected.substr(0, expected.size() - 1)) << "line " << line.line + 1;
    }
    EXPECT_EQ(static_cast<int>(replaced.size()), GetParam().tankLines);
}

INSTANTIATE_TEST_SUITE_P(
    TestData, RewriteRealFile,
    testing::Values(RealFile{"il18-aircraft.cfg", 11}, RealFile{"aircraft.cfg", 9},
                    RealFile{"hampden.cfg", 4, true}, RealFile{"swift-fr5.cfg", 2, true},
                    RealFile{"a320-ai.cfg", 1, true},
                    RealFile{"b747-8i-flight_model.cfg", 25, true}),
    [](const auto& info) {
        // The file's name, '_' for each character a test's name may not hold.
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

// The UTF-16 copy of our file comes out as the rewrite of its text, in UTF-16 again.
TEST(RewriteRealFile, Utf16CopyIsRewrittenAsItsText) {
    const std::string text = ReadFileBytes(DataFile("il18-aircraft.cfg"));
    const std::string before = ReadFileBytes(DataFile("il18-aircraft-utf16.cfg"));
    const auto rules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    const auto utf16 = [](const std::string& ascii) {
        std::string bytes = "\xff\xfe";
        for (char c : ascii)
            bytes += std::string{c, '\0'};
        return bytes;
    };
    ASSERT_TRUE(before == utf16(text));

    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, before);
    RecordingCallback owner;
    ConfigRewriter().RewriteConfigFile(rules, "done", owner);
    ExpectCompleted(owner.messages);
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == utf16(ExpectedRewrite(text, rules)));
}

TEST(FuelTankRules, APlanGivesTheseNineLinesInThisOrder) {
    const auto rules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    const std::vector<LineRule> expected = {
        {"Center2", "Center2=-1.640, 0.0, 0.0, 462.301, 0.0   // Tank #12; max: 4950kg \n"},
        {"External1", "External1=-3.609, -19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak (#1, "
                      "#3); max:800kg \n"},
        {"LeftAux", "LeftAux=-0.656, -24.606, 2.950, 1271.329, 0.000\t  // I group of tanks (#2, "
                    "#4 to #7); max:3850kg \n"},
        {"LeftTip", "LeftTip=-1.640, -50.200, 3.100, 855.257, 0.000\t  // Tank # 8 (0 group); "
                    "max:2590kg \n"},
        {"Center1", "Center1=-1.122, -10.390, 1.960, 944.416, 0.000\t  // II  group of tanks (#9 "
                    "to #11); max:2860kg \n"},
        {"External2",
         "External2=-3.609, 19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak (#1, #3) \n"},
        {"RightAux", "RightAux=-0.656, 24.606, 2.950, 1271.329, 0.000\t  // I group of tanks (#2, "
                     "#4 to #7) \n"},
        {"RightTip", "RightTip=-1.640, 50.200, 3.100, 855.257, 0.000\t  // Tank # 8 (0 group) \n"},
        {"Center3",
         "Center3=-1.122, 10.390, 1.960, 944.416, 0.000\t  // II  group of tanks (#9 to #11) \n"},
    };
    ASSERT_EQ(rules.size(), expected.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        EXPECT_EQ(rules[i].key, expected[i].key);
        EXPECT_EQ(rules[i].line, expected[i].line);
    }
}

TEST(FuelTankRules, QuantitiesInGallons) {
    struct Case {
        float kg;
        const char* gallons;
    };
    for (const Case& c : {Case{0.0f, "0.000"}, Case{4950.0f, "1634.565"},
                          Case{-3000.0f, "-990.646"}, Case{1.0f, "0.330"}}) {
        const auto rules = MakeFuelTankRules(c.kg, c.kg, c.kg, c.kg);
        for (int i : {0, 2, 3, 4, 6, 7, 8}) {
            const std::string& line = rules[i].line;
            // prefix, quantity, suffix: the quantity follows the fourth ", " of the line
            std::size_t at = 0;
            for (int n = 0; n < 3; ++n)
                at = line.find(", ", at) + 2;
            EXPECT_EQ(line.substr(at, line.find(',', at) - at), c.gallons) << line;
        }
    }
}

TEST(FuelTankRules, NoLineHoldsAnotherRulesKey) {
    const auto rules = MakeFuelTankRules(1.0f, 2.0f, 3.0f, 4.0f);
    for (const auto& rule : rules)
        for (const auto& other : rules)
            if (&rule != &other) {
                EXPECT_EQ(rule.line.find(other.key), std::string::npos) << rule.line;
            }
}

} // namespace
