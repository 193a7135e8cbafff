// The numbers of the dialog fields, as they are read and shown.
#include "common/NumberText.h"
#include "support/TestSupport.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct FloatCase {
    const char* text;
    std::optional<float> value;
};

void PrintTo(const FloatCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(c.text));
}

class ParseFieldFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ParseFieldFloatTest, ReadsOnlyAWholeFiniteNumber) {
    const std::optional<float> value = ParseFieldFloat(GetParam().text);
    ASSERT_EQ(value.has_value(), GetParam().value.has_value()) << '"' << GetParam().text << '"';
    if (value) {
        EXPECT_EQ(*value, *GetParam().value) << '"' << GetParam().text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseFieldFloatTest,
    ::testing::Values(FloatCase{"3600", 3600.0f}, FloatCase{"  -50\t", -50.0f},
                      FloatCase{"+12.5", 12.5f}, FloatCase{".5", 0.5f}, FloatCase{"5.", 5.0f},
                      FloatCase{"-0", -0.0f}, FloatCase{"1e3", 1000.0f}, FloatCase{"1E-3", 0.001f},
                      FloatCase{"3.4e38", 3.4e38f}, FloatCase{"", std::nullopt},
                      FloatCase{"   ", std::nullopt}, FloatCase{"x", std::nullopt},
                      FloatCase{"12x", std::nullopt}, FloatCase{"1 2", std::nullopt},
                      FloatCase{"3600,5", std::nullopt}, FloatCase{"--1", std::nullopt},
                      FloatCase{"+-1", std::nullopt}, FloatCase{"-", std::nullopt},
                      FloatCase{"1e", std::nullopt}, FloatCase{"0x10", std::nullopt},
                      FloatCase{"1e40", std::nullopt}, FloatCase{"-1e40", std::nullopt},
                      FloatCase{"1e400", std::nullopt}, FloatCase{"inf", std::nullopt},
                      FloatCase{"-infinity", std::nullopt}, FloatCase{"nan", std::nullopt},
                      FloatCase{"\n5", std::nullopt}),
    NameOfText());

struct IntCase {
    const char* text;
    std::optional<int> value;
};

void PrintTo(const IntCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(c.text));
}

class ParseFieldIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseFieldIntTest, ReadsOnlyAWholeNumberThatFits32Bits) {
    EXPECT_EQ(ParseFieldInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseFieldIntTest,
    ::testing::Values(IntCase{"22", 22}, IntCase{" -5 ", -5}, IntCase{"+7", 7}, IntCase{"007", 7},
                      IntCase{"2147483647", INT_MAX}, IntCase{"-2147483648", INT_MIN},
                      IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
                      IntCase{"99999999999999999999", std::nullopt}, IntCase{"", std::nullopt},
                      IntCase{"1.5", std::nullopt}, IntCase{"1e3", std::nullopt},
                      IntCase{"x1", std::nullopt}, IntCase{"--1", std::nullopt},
                      IntCase{"- 1", std::nullopt}),
    NameOfText());

TEST(FormatFieldFloat, WritesSixSignificantDigitsLikePrintfG) {
    EXPECT_EQ(FormatFieldFloat(14712.08f), "14712.1");
    EXPECT_EQ(FormatFieldFloat(3600.0f), "3600");
    EXPECT_EQ(FormatFieldFloat(0.0f), "0");
    EXPECT_EQ(FormatFieldFloat(588.75f), "588.75");
    EXPECT_EQ(FormatFieldFloat(-0.000125f), "-0.000125");
    EXPECT_EQ(FormatFieldFloat(1234567.0f), "1.23457e+06");
    EXPECT_EQ(FormatFieldFloat(INFINITY), "inf");
    EXPECT_EQ(FormatFieldInt(INT_MIN), "-2147483648");
}

TEST(FormatFieldFloat, WhatItWritesReadsBackAsTheSameText) {
    for (float value : {14712.08f, 916.0391f, -60350.25f, 1.0e-7f, 3.0e38f}) {
        const std::string text = FormatFieldFloat(value);
        const std::optional<float> back = ParseFieldFloat(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(FormatFieldFloat(*back), text);
    }
}

} // namespace
