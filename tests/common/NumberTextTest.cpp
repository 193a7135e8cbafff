#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {

TEST(FormatFixed3, WritesThreeDecimalsRoundedToTheNearest) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c :
         {Case{0.0, "0.000"}, Case{462.30117, "462.301"}, Case{-990.6459, "-990.646"},
          Case{0.0005, "0.001"}, Case{1e9, "1000000000.000"}, Case{154.3235631, "154.324"},
          Case{-0.0001, "-0.000"}})
        EXPECT_EQ(FormatFixed3(c.value), c.text) << c.value;
    EXPECT_EQ(FormatFixed3(1e300).size(), 305u);
}

TEST(ParseLeadingNumber, ReadsAsAtofDoes) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c :
         {Case{"8100", 8100}, Case{"", 0}, Case{"  10600", 10600}, Case{"+5", 5},
          Case{"-6.5e2x", -650}, Case{"12abc", 12}, Case{"abc", 0}, Case{"3600.5", 3600.5},
          Case{"--1", 0}, Case{"+-1", 0}, Case{".5", 0.5}, Case{"1e-400", 0}})
        EXPECT_DOUBLE_EQ(ParseLeadingNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(ParseLeadingNumber("1e400")));
    EXPECT_TRUE(std::isnan(ParseLeadingNumber("nan")));
}

TEST(NumberText, TooSmallReadsAsZeroTooLargeDoesNot) {
    for (const char* tiny : {"2e-440", "0.000001e-320", "-123456e-400"}) {
        EXPECT_EQ(ParseLeadingNumber(tiny), 0.0) << tiny;
        const auto field = ParseFieldFloat(tiny);
        ASSERT_TRUE(field.has_value()) << tiny;
        EXPECT_EQ(*field, 0.0f) << tiny;
    }
    for (const char* huge : {"1e400", "123456e305", "0.001e312"}) {
        EXPECT_TRUE(std::isinf(ParseLeadingNumber(huge))) << huge;
        EXPECT_FALSE(ParseFieldFloat(huge).has_value()) << huge;
    }
    EXPECT_FALSE(ParseFieldFloat("1e40").has_value()); // a double, but no float
    EXPECT_EQ(ParseFieldFloat("1e-50"), 0.0f);         // a double, a float's 0
}

TEST(NumberText, DoesNotFollowTheDesktopLocale) {
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "Russian_Russia.1251") == nullptr) // the name on Windows
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(FormatFixed3(1.5), "1.500");
    EXPECT_DOUBLE_EQ(ParseLeadingNumber("3600.5"), 3600.5);
    std::setlocale(LC_ALL, "C");
}

} // namespace
