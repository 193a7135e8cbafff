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

// The trip fuel as the aircraft's formula gives it, in double precision.
inline double TripFuel(double range, double level, double wind, double reserve) {
    return 2300.0 * range / ((level - 6900.0) / 57.0 + 540.0 + wind + (reserve + 45.0) / 60.0);
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

// The tank lines of the file: key, and the quantity in US gallons it must hold.
struct TankLine {
    const char* key;
    double gallons;
};

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

    // Every line without a tank key is unchanged; each tank line holds its quantity.
    void ExpectTankLines(const std::vector<TankLine>& tanks) {
        std::vector<std::string> keys;
        keys.reserve(tanks.size());
        for (const TankLine& tank : tanks)
            keys.emplace_back(tank.key);
        const std::vector<KeyLine> changed =
            ExpectOtherLinesUnchanged(m_original, ReadFileBytes("Aircraft.cfg"), keys);
        for (const KeyLine& line : changed) {
            EXPECT_EQ(line.text.rfind(keys[line.key] + "=", 0), 0u) << line.text;
            EXPECT_NEAR(Quantity(line.text), tanks[line.key].gallons, 0.0006) << line.text;
        }
        EXPECT_EQ(changed.size(), 9u);
        EXPECT_FALSE(std::filesystem::exists("TempFile.txt"));
    }

    // The nine lines for the four quantities, in kg (the two external tanks stay as they are).
    static std::vector<TankLine> TankLines(double tank12, double group1, double tank8,
                                           double group2) {
        const double gallonsPerKg = 1 / 3.028328;
        return {{"Center2", tank12 * gallonsPerKg},
                {"External1", 264.172},
                {"External2", 264.172},
                {"LeftAux", group1 * gallonsPerKg},
                {"RightAux", group1 * gallonsPerKg},
                {"LeftTip", tank8 * gallonsPerKg},
                {"RightTip", tank8 * gallonsPerKg},
                {"Center1", group2 * gallonsPerKg},
                {"Center3", group2 * gallonsPerKg}};
    }
    // As the tank fields show them.
    std::vector<TankLine> TanksShown() {
        return TankLines(Field(IDC_TANK12), Field(IDC_GROUP1), Field(IDC_TANK8), Field(IDC_GROUP2));
    }
    // As the page holds them, to the last digit.
    std::vector<TankLine> TanksHeld() const {
        return TankLines(m_page.m_fTank12, m_page.m_fGroup1, m_page.m_fTank8, m_page.m_fGroup2);
    }

    ScratchDirectory m_scratch;
    std::string m_original;
};
