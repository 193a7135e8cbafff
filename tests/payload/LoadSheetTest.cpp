#include "config/CountingOps.h"
#include "payload/PayloadState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

// The simulator's default Boeing 737-800, its published Aircraft.cfg, empty: the simulator shows
// it at 35.95 % MAC (fsdeveloper.com forum, thread 433669, "CG MAC formula").
const std::string kBoeing737 =
    "[WEIGHT_AND_BALANCE]\nmax_gross_weight=174200\nempty_weight=85710\n"
    "reference_datum_position=0.0, 0.0, 0.0\nempty_weight_CG_position=-9.0, 0.0, 0.0\n"
    "[airplane_geometry]\nwing_area=1344.0\nwing_span=117.42\nwing_root_chord=21.0\n"
    "wing_sweep=27.2\nwing_pos_apex_lon=6.96\n";
const LoadPlan kAllFull{{22, 65, 15, 2000, 1500}, TankPlan{3850, 2590, 2860, 4950}};

std::string Il18() {
    return ReadFileBytes(DataFile("il18-aircraft.cfg"));
}

// Empty weight, take-off mass and load limit in whole kg, balance in % MAC; "-" for none.
std::string Shown(const LoadFigures& figures) {
    std::string shown;
    for (const auto& [figure, format] :
         {std::pair{figures.emptyKg, "%.0f"}, std::pair{figures.takeOffKg, "%.0f"},
          std::pair{figures.loadLimitKg, "%.0f"}, std::pair{figures.balancePercentMac, "%.2f"}}) {
        char text[64] = "-";
        if (figure)
            std::snprintf(text, sizeof text, format, *figure);
        shown += (shown.empty() ? "" : " ") + std::string(text);
    }
    return shown;
}

struct FiguresCase {
    const char* name;
    std::string file;
    LoadPlan plan;
    const char* figures;
};

void PrintTo(const FiguresCase& c, std::ostream* out) {
    *out << c.name;
}

class LoadFiguresTable : public ::testing::TestWithParam<FiguresCase> {};

TEST_P(LoadFiguresTable, TheFileAndThePlanGiveTheseFigures) {
    const FiguresCase& c = GetParam();
    EXPECT_EQ(Shown(ComputeLoadFigures(ParseAircraftData(c.file), c.plan)), c.figures);
}

INSTANTIATE_TEST_SUITE_P(
    LoadSheet, LoadFiguresTable,
    testing::Values(
        FiguresCase{"Boeing737", kBoeing737, {}, "38877 38877 40138 35.95"},
        // Every position is measured from the datum: moving it moves nothing against the wing.
        FiguresCase{"DatumElsewhere",
                    "[WEIGHT_AND_BALANCE]\nreference_datum_position=12, 0, 3\n" + kBoeing737,
                    {},
                    "38877 38877 40138 35.95"},
        // The file's crew stations and full tanks; the plan's payload and tanks, whose service
        // tanks are always full.
        FiguresCase{"Il18AsItsFileHoldsIt", Il18(), {}, "34929 60610 3390 10.09"},
        FiguresCase{"Il18AllFull", Il18(), kAllFull, "34929 71250 3390 9.09"},
        FiguresCase{"Il18TanksPlannedEmpty", Il18(), {{}, TankPlan{}}, "34929 37060 26940 13.22"},
        FiguresCase{"NegativeLimit",
                    "[weight_and_balance]\nmax_gross_weight=50000\n" + Il18(),
                    {},
                    "34929 60610 -37930 10.09"},
        FiguresCase{"NoEmptyWeight", "[WEIGHT_AND_BALANCE]\nmax_gross_weight=141096\n", kAllFull,
                    "- - - -"},
        FiguresCase{"NoMaximum", "[WEIGHT_AND_BALANCE]\nempty_weight=1000\n", {}, "454 454 - -"},
        FiguresCase{"WingWithoutRootChord",
                    "[airplane_geometry]\nwing_root_chord=0\n" + kBoeing737,
                    {},
                    "38877 38877 40138 -"},
        FiguresCase{"WingTooSmallForItsRootChord",
                    "[airplane_geometry]\nwing_area=100\n" + kBoeing737,
                    {},
                    "38877 38877 40138 -"},
        FiguresCase{"AbsurdNumbers",
                    "[WEIGHT_AND_BALANCE]\nempty_weight=1e300\nmax_gross_weight=1\n"
                    "[airplane_geometry]\nwing_area=1e-300\nwing_span=1\nwing_root_chord=1e-300\n",
                    {},
                    "- - - -"}),
    [](const testing::TestParamInfo<FiguresCase>& info) { return info.param.name; });

// Where the file lacks the data, the lines keep their texts and nothing is asked.
TEST(LoadSheet, WithoutTheDataTheLinesStayAsTheyWere) {
    ResetPayloadTotals();
    AircraftLoad load{ParseAircraftData("[WEIGHT_AND_BALANCE]\nmax_gross_weight=1\n"), kAllFull};
    PayloadState state;
    state.m_pLoad = &load;
    state.ApplyCabinCount(2, 65);
    EXPECT_EQ(state.m_strEmptyWeight + "|" + state.m_strMaxLoad + "|" + state.m_strActualLoad +
                  "|" + state.m_strBalance,
              "Вес пустого: 34929 кг|Предельная загрузка: |Фактическая загрузка:   4550 кг.|"
              "Центровка 15,14% САХ");
    EXPECT_EQ(OverweightQuestion(load.aircraft, load.plan), std::nullopt);
}

std::string Utf16(std::string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

// Names in any letter case, tabs, comments, a line end of each kind, lines that are not the
// simulator's, a key given twice (the first counts).
constexpr std::string_view kUntidy = "[Weight_And_Balance]  ; the aircraft\r\n"
                                     "  MAX_GROSS_WEIGHT\t=  1000.5   // lbs\r\n"
                                     "empty_weight=500;no blank\n"
                                     "Empty_Weight_CG_Position =\t-1.5 , 0, 0\r"
                                     "empty_weight=700\r\n"
                                     "station_load.7 = 100, 2.0, 0, 0, Crew // seat\r\n"
                                     "station_load.x = 5, 5\r\nstation_load.8 = heavy, 2.0\r\n"
                                     "[fuel ]\r\nLeftMain = 1.0, -5, 0, 10, 0\r\n"
                                     "Center9 = 1.0, 0, 0, 10, 0\r\n"
                                     "[AIRPLANE_GEOMETRY]\r\nwing_area = 100\r\n"
                                     "wing_sweep\t= 5 // degrees\r\n[lights]\r\nwing_span = 20\r\n";

// Through the file operations, which only list, open, read and close, whatever the encoding.
TEST(AircraftData, IsReadAsTheSimulatorReadsIt) {
    const AircraftData expected{
        1000.5, 500, -1.5, {{7, 100, 2.0}}, {{"LeftMain", 1.0, 10}}, 100, {}, {}, 5, {}};
    for (const std::string& file : {std::string(kUntidy), Utf16(kUntidy, false),
                                    Utf16(kUntidy, true), "\xEF\xBB\xBF" + std::string(kUntidy)}) {
        ScratchDirectory folder;
        WriteFileBytes("AIRCRAFT.CFG", file);
        CountingOps ops;
        EXPECT_EQ(ReadAircraftData(ops), expected) << file.substr(0, 4);
        EXPECT_EQ(ops.sequence.find_first_not_of("lorc"), std::string::npos) << ops.sequence;
        EXPECT_TRUE(ReadFileBytes("AIRCRAFT.CFG") == file);
    }
}

} // namespace
