// What the rewrite makes of the file's bytes: the text rewrite itself, and a few cases through the
// files.
#include "config/ConfigText.h"
#include "RewriteFixture.h"
#include "RewriteModel.h"
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

namespace {

const std::vector<LineRule> kTwoRules = {{"Center1", "Center1=new\n"}, {"LeftTip", "LeftTip=x\n"}};

// The new content, or "refused: " and why.
std::string RewriteBytes(std::string_view before, const std::vector<LineRule>& rules) {
    const TextRewrite rewrite = RewriteText(before, rules);
    return rewrite.ok() ? rewrite.text : "refused: " + rewrite.refusal;
}

// The same through the file: Aircraft.cfg of a folder of its own.
std::string RewriteFile(std::string_view before, const std::vector<LineRule>& rules) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, before);
    RecordingCallback owner;
    EXPECT_TRUE(ConfigRewriter().RewriteConfigFile(rules, "done", owner));
    ExpectCompleted(owner.messages);
    EXPECT_EQ(owner.messages.at(0).caption, "Сообщение");
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
        ContentCase{"utf8_mark_is_bytes", "\xef\xbb\xbf[fuel]\nCenter1=1\n",
                    "\xef\xbb\xbf[fuel]\r\nCenter1=new\r\n"},
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
    NameOfCase());

// A few of the cases through the file: what RewriteText makes is what the file becomes.
class RewriteFileContent : public RewriteContent {};

TEST_P(RewriteFileContent, GivesTheExpectedBytes) {
    EXPECT_EQ(RewriteFile(GetParam().before, GetParam().rules), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RewriteFileContent,
    testing::Values(ContentCase{"lone_cr_ends_a_line_and_stays", "a\rCenter1=0\rb\r\n",
                                "a\rCenter1=new\r\nb\r\n"},
                    ContentCase{"any_byte_is_ordinary", "\x00\x1a\xff\r\nCenter1\x1a\r\n\xff"s,
                                "\x00\x1a\xff\r\nCenter1=new\r\n\xff"s},
                    ContentCase{"empty_file_stays_empty", "", ""}),
    NameOfCase());

// Files of random lines, with keys near every position and every kind of line end, against the
// model.
TEST(RewriteContentRandom, AgreesWithTheModel) {
    const auto fuelRules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    const std::vector<std::vector<LineRule>> ruleSets = {
        fuelRules, {{"", "all\n"}}, {{"C", "c\n"}, {"Left", "left\n"}}};
    // Every other file has only CR LF line ends (the last two pieces left out).
    const std::string pieces[] = {
        "Center2", "External1", "LeftAux", "LeftTip", "RightTip", "Center", "C",  "=",
        " ",       "0.000",     "\r\n",    "\t",      "\xff",     "%",      "\r", "\n"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 12; ++round) {
        std::string file;
        const std::size_t size = round < 8 ? 300 : 200000;
        while (file.size() < size) {
            if (random() % 5000 == 0) // now and then a long line
                file.append(random() % 100000, 'x');
            file += pieces[random() % (std::size(pieces) - (round % 2 == 0 ? 2 : 0))];
        }
        for (const auto& rules : ruleSets) {
            SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(rules.size()) +
                         " rules");
            ASSERT_TRUE(RewriteBytes(file, rules) == ExpectedRewrite(file, rules));
        }
    }
}

// `text` in UTF-16 of either byte order, after its mark.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : std::u16string(u"\ufeff") + std::u16string(text)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xff);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

struct Utf16Case {
    const char* name;
    std::u16string before;
    std::u16string after;
};

void PrintTo(const Utf16Case& c, std::ostream* out) {
    *out << c.name;
}

class RewriteUtf16 : public testing::TestWithParam<std::tuple<Utf16Case, bool>> {};

TEST_P(RewriteUtf16, KeepsItsEncodingAndItsMark) {
    const auto& [c, bigEndian] = GetParam();
    EXPECT_TRUE(RewriteBytes(Utf16(c.before, bigEndian), kTwoRules) == Utf16(c.after, bigEndian));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RewriteUtf16,
    testing::Combine(
        testing::Values(
            Utf16Case{"key_in_the_first_line", u"Center1=1\r\nb\r\n", u"Center1=new\r\nb\r\n"},
            Utf16Case{"other_lines_unit_for_unit",
                      u"; Ил-18Д \U0001F6EB\u0a0d\u0d0a\r\nLeftTip=1\r\n\u00ff\uffff",
                      u"; Ил-18Д \U0001F6EB\u0a0d\u0d0a\r\nLeftTip=x\r\n\u00ff\uffff"},
            Utf16Case{"line_ends", u"a\nb\rc\r\nCenter1", u"a\r\nb\rc\r\nCenter1"},
            Utf16Case{"key_split_by_a_wide_letter", u"Cent\u0400er1\r\n", u"Cent\u0400er1\r\n"},
            Utf16Case{"mark_alone", u"", u""}),
        testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) ? "_BE" : "_LE");
    });

// The same in UTF-16, with wide letters, pairs of surrogates and units that hold a CR's or an
// LF's byte, in both byte orders.
TEST(RewriteUtf16Random, AgreesWithTheModel) {
    const auto rules = MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
    const std::u16string pieces[] = {u"Center2", u"LeftTip", u"Center", u"C",          u"=",
                                     u"0.000",   u"\r\n",    u"Ил-18Д", u"\U0001F6EB", u"\u0d0a",
                                     u"\u430d",  u"\r",      u"\n"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 40; ++round) {
        std::u16string text;
        while (text.size() < 3000)
            text += pieces[random() % (std::size(pieces) - (round % 2 == 0 ? 2 : 0))];
        for (const bool bigEndian : {false, true})
            ASSERT_TRUE(RewriteBytes(Utf16(text, bigEndian), rules) ==
                        Utf16(ExpectedRewriteOf<char16_t>(text, rules), bigEndian))
                << "round " << round;
    }
}

TEST(RewriteUtf16, NotUtf16AfterTheMarkIsRefused) {
    const std::u16string line = u"Center1=1\r\n";
    const char16_t leading = 0xd83d, trailing = 0xde00; // the halves of a pair
    const std::string odd = "refused: файл в кодировке UTF-16 поврежден (нечетное число байтов)";
    const std::string unpaired = "refused: файл в кодировке UTF-16 поврежден (непарный суррогат)";
    const std::pair<std::string, std::string> cases[] = {
        {Utf16(line, false) + "x", odd},
        {Utf16(line, true) + "x", odd},
        {Utf16(line + leading + line, false), unpaired},
        {Utf16(trailing + line, true), unpaired},
        {Utf16(line + leading, false), unpaired},
        {Utf16(std::u16string(63, u'a') + leading + line, true), unpaired},
        {Utf16(std::u16string(64, u'a') + line + trailing, false), unpaired}};
    for (const auto& [bytes, refusal] : cases)
        EXPECT_EQ(RewriteBytes(bytes, kTwoRules), refusal);

    // The file is then left alone, and the user told why.
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, cases[2].first);
    RecordingCallback owner;
    EXPECT_FALSE(ConfigRewriter().RewriteConfigFile(kTwoRules, "done", owner));
    ExpectFailed(owner.messages, "»: файл в кодировке UTF-16 поврежден (непарный суррогат).");
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == cases[2].first);
    EXPECT_FALSE(std::filesystem::exists(kTempFileName));
}

TEST(Rewrite, SecondRunLeavesTheFileAsTheFirstMadeIt) {
    ScratchDirectory dir;
    WriteFileBytes(kConfigFileName, ReadFileBytes(DataFile("il18-aircraft.cfg")));
    const auto rules = MakeFuelTankRules(462.0f, 3850.0f, 944.0f, 855.0f);
    RecordingCallback owner;
    ConfigRewriter rewriter;
    rewriter.RewriteConfigFile(rules, "done", owner);
    const std::string first = ReadFileBytes(kConfigFileName);
    rewriter.RewriteConfigFile(rules, "done", owner);
    EXPECT_TRUE(ReadFileBytes(kConfigFileName) == first);
}

} // namespace
