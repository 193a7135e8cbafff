// What the rewrite makes of the file's bytes.
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::vector<LineRule> kTwoRules = {{"Center1", "Center1=new\n"}, {"LeftTip", "LeftTip=x\n"}};

std::string RewriteBytes(std::string_view before, const std::vector<LineRule>& rules) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, before);
    RecordingCallback owner;
    ConfigRewriter().RewriteConfigFile(rules, "done", owner);
    EXPECT_EQ(owner.messages.size(), 1u);
    if (!owner.messages.empty()) {
        EXPECT_EQ(owner.messages[0].text, "done");
        EXPECT_EQ(owner.messages[0].caption, "Сообщение");
        EXPECT_EQ(owner.messages[0].icon, MessageIcon::Information);
    }
    EXPECT_FALSE(std::filesystem::exists(kTempFileName));
    return ReadFileBytes(kConfigFileName);
}

struct ContentCase {
    const char* name;
    std::string before;
    std::string after;
    std::vector<LineRule> rules = kTwoRules;
};

void PrintTo(const ContentCase& c, std::ostream* out) {
    *out << c.name;
}

class RewriteContent : public testing::TestWithParam<ContentCase> {};

TEST_P(RewriteContent, GivesTheExpectedBytes) {
    const ContentCase& c = GetParam();
    EXPECT_EQ(RewriteBytes(c.before, c.rules), c.after);
    // The independent model agrees, so the randomised comparison below means something.
    EXPECT_EQ(ExpectedRewrite(c.before, c.rules), c.after);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Lines, RewriteContent,
    testing::Values(
        ContentCase{"crlf_lines_stay", "a=1\r\nb=2\r\n", "a=1\r\nb=2\r\n"},
        ContentCase{"bare_lf_becomes_crlf", "a=1\nb=2\n", "a=1\r\nb=2\r\n"},
        ContentCase{"lone_cr_ends_a_line_and_stays", "a\rCenter1=0\rb\r\n",
                    "a\rCenter1=new\r\nb\r\n"},
        ContentCase{"cr_cr_lf", "a\r\r\nb", "a\r\r\nb"},
        ContentCase{"key_anywhere_in_the_line", "; see xCenter1y\r\n", "Center1=new\r\n"},
        ContentCase{"other_letter_case_does_not_match", "center1=5\r\nCENTER1=5\r\n",
                    "center1=5\r\nCENTER1=5\r\n"},
        ContentCase{"every_line_with_the_key", "Center1=1\nCenter1=2\n",
                    "Center1=new\r\nCenter1=new\r\n"},
        ContentCase{"earlier_rule_wins", "LeftTip Center1\r\n", "Center1=new\r\n"},
        ContentCase{"later_rule_alone", "xLeftTip\r\n", "LeftTip=x\r\n"},
        ContentCase{"last_line_without_end_stays", "a\r\nCenter1=5", "a\r\nCenter1=5"},
        ContentCase{"last_line_ending_in_cr_is_replaced", "Center1=5\r", "Center1=new\r\n"},
        ContentCase{"percent_signs_are_plain", "%s %d %n 100%\r\n", "%s %d %n 100%\r\n"},
        ContentCase{"any_byte_is_ordinary", "\x00\x1a\xff\xa9\r\nCenter1\x1a\r\n\xff"s,
                    "\x00\x1a\xff\xa9\r\nCenter1=new\r\n\xff"s},
        ContentCase{"empty_file_stays_empty", "", ""},
        ContentCase{"blank_lines", "\r\n\n\r", "\r\n\r\n\r"},
        ContentCase{"key_split_by_a_line_end_does_not_match", "Cent\r\ner1\r\n", "Cent\r\ner1\r\n"},
        ContentCase{"no_rules", "a\nb", "a\r\nb", {}},
        ContentCase{"one_letter_key", "xyz\nabc\n", "xyz\r\nQ\r\n", {{"b", "Q\n"}}},
        ContentCase{
            "empty_key_takes_every_complete_line", "a\nb\r\nc", "E\r\nE\r\nc", {{"", "E\n"}}},
        ContentCase{
            "key_holding_the_line_end", "a=1\nb=1\r\nc=1\r", "X\r\nX\r\nc=1\r", {{"1\n", "X\n"}}},
        ContentCase{"rule_line_with_cr_lf_inside", "k\n", "1\r\r\n2\r\n", {{"k", "1\r\n2\n"}}},
        ContentCase{"many_keys",
                    "k1\nk9\nk5\nq\n",
                    "1\r\n9\r\n5\r\nq\r\n",
                    {{"k1", "1\n"},
                     {"k2", "2\n"},
                     {"k3", "3\n"},
                     {"k4", "4\n"},
                     {"k5", "5\n"},
                     {"k6", "6\n"},
                     {"k7", "7\n"},
                     {"k8", "8\n"},
                     {"k9", "9\n"},
                     {"xa", "a\n"},
                     {"ya", "a\n"},
                     {"za", "a\n"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Files of random lines, large enough to cross the rewrite's block boundaries many times, with
// keys near every position and every kind of line end, against the model.
TEST(RewriteContentRandom, AgreesWithTheModel) {
    const auto fuelRules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    const std::vector<std::vector<LineRule>> ruleSets = {
        fuelRules, {{"", "all\n"}}, {{"C", "c\n"}, {"Left", "left\n"}}};
    const std::string pieces[] = {
        "Center2", "External1", "LeftAux", "LeftTip", "RightTip", "Center", "C",    "=",
        " ",       "0.000",     "\r",      "\n",      "\r\n",     "\t",     "\xff", "%"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 12; ++round) {
        std::string file;
        // Small files, files of a few blocks, and one that is sent to the disk while written.
        const std::size_t sizes[] = {300, 400000, 1200000, 5000000};
        const std::size_t size = sizes[round < 4 ? 0 : round < 10 ? 1 : round < 11 ? 2 : 3];
        while (file.size() < size) {
            if (random() % 50000 == 0) // now and then a line longer than a block
                file.append(600000 + random() % 600000, 'x');
            file += pieces[random() % std::size(pieces)];
        }
        for (const auto& rules : ruleSets) {
            SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(rules.size()) +
                         " rules");
            const std::string expected = ExpectedRewrite(file, rules);
            const std::string actual = RewriteBytes(file, rules);
            ASSERT_EQ(actual.size(), expected.size());
            ASSERT_TRUE(actual == expected);
        }
    }
}

TEST(RewriteContentRandom, CrLfAcrossEveryBlockBoundaryOffset) {
    // A CR LF pair and a key placed across the place where one read ends and the next begins.
    const std::vector<LineRule> rules = {{"Center1", "C\n"}};
    for (std::size_t shift : {0u, 1u, 2u, 3u, 7u, 8u}) {
        for (std::size_t block : {128u * 1024, 256u * 1024, 512u * 1024, 1024u * 1024}) {
            std::string file(block - shift, 'a');
            file += "\r\nCenter1\r\nxCenter1\rCenter1\nend";
            SCOPED_TRACE(std::to_string(block) + "-" + std::to_string(shift));
            ASSERT_TRUE(RewriteBytes(file, rules) == ExpectedRewrite(file, rules));
        }
    }
}

TEST(Rewrite, SecondRunLeavesTheFileAsTheFirstMadeIt) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, ReadFileBytes(TestDataFile("aircraft-cfg/a320-ai.cfg")));
    const auto rules = MakeFuelTankRules(462.0f, 3850.0f, 944.0f, 855.0f);
    RecordingCallback owner;
    ConfigRewriter rewriter;
    rewriter.RewriteConfigFile(rules, "done", owner);
    const std::string first = ReadFileBytes(kConfigFileName);
    rewriter.RewriteConfigFile(rules, "done", owner);
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == first);
}

} // namespace
