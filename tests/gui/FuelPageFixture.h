#pragma once

#include "common/NumberText.h"
#include "fuel/FuelPage.h"
#include "gui/GuiTest.h"
#include "support/TestSupport.h"
#include "ui/PropertySheet.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The fuel page on a sheet of its own, and the same over a scratch copy of the example
// Aircraft.cfg.

inline constexpr int kLevel10600 = 0;
inline constexpr int kLevel8100 = 5;
inline constexpr int kLevel6900 = 9;
inline constexpr int kLevel6600 = 10;

// Totals as the page shows them, range 3600 km and reserve 60 min: with no level, 2300 * 3600 /
// (540 - 6900 / 57 + 1.75) kg; at level 8100 with a head wind of 50 km/h, 2300 * 3600 /
// (1200 / 57 + 490 + 1.75) kg.
inline constexpr const char* kTotalAtLevelZero = "19681.6";
inline constexpr const char* kTotalAt8100HeadWind50 = "16146.6";

// Read as the C locale reads it, whatever the locale of the test.
inline double Number(const std::string& text) {
    return ParseLeadingNumber(text);
}

// What "%g" makes of the value in the C locale: the page must show a float that way.
inline std::string PrintfG(float value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
    return buffer;
}

class FuelPageTest : public PageOnItsOwnSheet<CFuelPage> {
protected:
    FuelPageTest() : PageOnItsOwnSheet("Топливо") {}
    void SetUp() override { Show(); }

    double Field(int id) { return Number(Driver().Read(id)); }
    // Each tank field holds its share; together (both wing halves) they hold the total.
    void ExpectTanksHold(double total) {
        const double aircraft =
            2 * (Field(IDC_GROUP1) + Field(IDC_TANK8) + Field(IDC_GROUP2)) + Field(IDC_TANK12);
        EXPECT_NEAR(aircraft, total, 0.05);
        EXPECT_NEAR(Field(IDC_FLOWMETER), total / 40, 0.005);
    }
};

inline const SeenMessage kLevelWarning{
    "Предупреждение", "Внимание!\nВыбранный эшелон ниже минимального.", MessageIcon::Information};
inline const SeenMessage kReserveWarning{
    "Предупреждение", "Внимание!\nАэронавигационный запас слишком мал.", MessageIcon::Information};
inline const SeenMessage kNotANumber{"Загрузчик самолета Ил-18Д", "Введите число.",
                                     MessageIcon::Stop};
inline const SeenMessage kOverflow{"Ошибка", "Количество топлива превышает емкость баков!",
                                   MessageIcon::Stop};
inline const SeenMessage kFuelled{"Сообщение", "Заправка окончена.\nСчастливого полета!",
                                  MessageIcon::Information};
inline const SeenMessage kNegativeFuel{"Ошибка", "Количество топлива не может быть отрицательным.",
                                       MessageIcon::Stop};

// The four quantities a fill writes, in US gallons, as the tank lines hold them.
struct TankGallons {
    double tank12, group1, tank8, group2;
};

inline constexpr TankGallons kEmptyTanks{0, 0, 0, 0};
// Range 3600 km, level 8100 m, no wind, 60 min: tank 12 empty, group I 3850 kg, tank 8 2590 kg,
// group II 916.04 kg.
inline constexpr TankGallons kTanksAt8100{0, 1271.329, 855.257, 302.491};

// The fourth number of a tank line: its quantity.
inline double Quantity(const std::string& line) {
    std::size_t at = line.find('=');
    for (int comma = 0; comma < 3 && at != std::string::npos; ++comma)
        at = line.find(',', at + 1);
    return at == std::string::npos ? -1.0 : Number(line.substr(at + 1));
}

class FuelPageFileTest : public FuelPageTest {
protected:
    void SetUp() override {
        m_original = ReadFileBytes(std::filesystem::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
        WriteFileBytes("Aircraft.cfg", m_original);
        FuelPageTest::SetUp();
    }

    // Every line without a tank key is unchanged; each tank line holds its quantity (the two
    // external tanks keep theirs, 800 kg each).
    void ExpectTankLines(const TankGallons& tanks) {
        const std::vector<std::string> keys = {"Center2",  "External1", "External2",
                                               "LeftAux",  "RightAux",  "LeftTip",
                                               "RightTip", "Center1",   "Center3"};
        const double gallons[] = {tanks.tank12, 264.172,      264.172,
                                  tanks.group1, tanks.group1, tanks.tank8,
                                  tanks.tank8,  tanks.group2, tanks.group2};
        const std::vector<KeyLine> changed =
            ExpectOtherLinesUnchanged(m_original, ReadFileBytes("Aircraft.cfg"), keys);
        for (const KeyLine& line : changed) {
            EXPECT_EQ(line.text.rfind(keys[line.key] + "=", 0), 0u) << line.text;
            // The last digit may differ by one: the page may hold a quantity to more digits than
            // its field shows.
            EXPECT_NEAR(Quantity(line.text), gallons[line.key], 0.0015) << line.text;
        }
        EXPECT_EQ(changed.size(), 9u);
        EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
    }

    ScratchDirectory m_scratch;
    std::string m_original;
};
