#include "PayloadPageFixture.h"

#include "support/TestSupport.h"

#include <array>
#include <filesystem>

namespace {

class PayloadPageFileTest : public PayloadPageTest {
protected:
    void SetUp() override {
        m_original = ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
        WriteFileBytes("Aircraft.cfg", m_original);
        PayloadPageTest::SetUp();
    }

    // Every line without a station key is as it was; station N holds loads[N], in pounds.
    void ExpectStations(const std::array<std::string, 5>& loads) {
        std::vector<std::string> keys;
        keys.reserve(5);
        for (int n = 0; n < 5; ++n)
            keys.push_back("station_load." + std::to_string(n));
        const std::vector<KeyLine> stations =
            ExpectOtherLinesUnchanged(m_original, ReadFileBytes("Aircraft.cfg"), keys);
        for (const KeyLine& line : stations) {
            const std::string start = keys[line.key] + "=" + loads[line.key] + ", ";
            EXPECT_EQ(line.text.rfind(start, 0), 0u) << line.text << " should start " << start;
        }
        EXPECT_EQ(stations.size(), 5u);
        EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
    }

    ScratchDirectory m_scratch;
    std::string m_original;
};

// Typed one after the other; the last field is left only by pressing "Загрузить".
struct Loading {
    const char* name;
    std::vector<std::pair<int, const char*>> typed;
    std::vector<SeenMessage> messages;
    std::array<std::string, 5> loads;
};

void PrintTo(const Loading& loading, std::ostream* out) {
    *out << loading.name;
}

class PayloadPageLoadingTest : public PayloadPageFileTest,
                               public ::testing::WithParamInterface<Loading> {};

TEST_P(PayloadPageLoadingTest, LoadWritesWhatThePageShows) {
    const Loading& loading = GetParam();
    for (std::size_t i = 0; i < loading.typed.size(); ++i) {
        const auto [id, text] = loading.typed[i];
        if (i + 1 < loading.typed.size())
            Enter(id, text);
        else
            Driver().TypeInto(id, text);
    }
    Driver().Click(IDC_LOAD_PAYLOAD);
    EXPECT_EQ(Driver().TakeMessages(), loading.messages);
    ExpectStations(loading.loads);
}

const std::string kNone = "0.000";

INSTANTIATE_TEST_SUITE_P(
    Loads, PayloadPageLoadingTest,
    ::testing::Values(Loading{"NothingTouched", {}, {kLoaded}, {kNone, kNone, kNone, kNone, kNone}},
                      Loading{"CabinTypedThenLoadAtOnce",
                              {{IDC_CABIN2, "40"}},
                              {kLoaded},
                              {kNone, "6172.943", kNone, kNone, kNone}},
                      Loading{"CabinBeyondItsSeats",
                              {{IDC_CABIN1, "30"}},
                              {kLoaded},
                              {"3395.118", kNone, kNone, kNone, kNone}},
                      Loading{"HoldMassTypedThenLoadAtOnce",
                              {{IDC_HOLD1_KG, "1999"}},
                              {kLoaded},
                              {kNone, kNone, kNone, "4407.040", kNone}},
                      Loading{"HoldPercentTypedThenLoadAtOnce",
                              {{IDC_HOLD2_PERCENT, "50"}},
                              {kLoaded},
                              {kNone, kNone, kNone, kNone, "1653.467"}},
                      Loading{"EverySeatAndHoldFull",
                              {{IDC_CABIN1, "22"},
                               {IDC_CABIN2, "65"},
                               {IDC_CABIN3, "15"},
                               {IDC_HOLD1_PERCENT, "100"},
                               {IDC_HOLD2_KG, "1500"}},
                              {kLoaded},
                              {"3395.118", "10031.032", "2314.853", "4409.245", "3306.933"}},
                      Loading{"AbsurdNumbers",
                              {{IDC_CABIN3, "-2147483648"},
                               {IDC_HOLD1_PERCENT, "2147483647"},
                               {IDC_HOLD2_KG, "2147483647"}},
                              {kLoaded},
                              {kNone, kNone, kNone, "4409.245", "3306.933"}}),
    NameOfCase());

TEST_F(PayloadPageFileTest, TextRefusedWhenLeftForTheButtonLoadsNothingButTheCountBefore) {
    Enter(IDC_CABIN2, "40");
    Driver().TypeInto(IDC_CABIN2, "4x");
    Driver().Click(IDC_LOAD_PAYLOAD);
    const std::vector<SeenMessage> messages = Driver().TakeMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages[0], kNotAnInteger);
    EXPECT_TRUE(Driver().HasFocus(IDC_CABIN2));
    EXPECT_EQ(m_page.m_nCabin2, 40);
    // The click whose focus change was refused presses nothing: the file stays as it was.
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes("Aircraft.cfg"), m_original);
    EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
}

} // namespace
