#include "payload/LoadSheet.h"
#include "payload/PayloadState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>

namespace {

// The simulator's default Boeing 737-800: its Aircraft.cfg as published, empty. The simulator's
// fuel and payload dialog shows its empty aircraft at 35.95 % MAC (fsdeveloper.com forum, thread
// "CG MAC formula", 433669).
constexpr std::string_view kBoeing737 = "[WEIGHT_AND_BALANCE]\n"
                                        "max_gross_weight=174200\n"
                                        "empty_weight=85710\n"
                                        "reference_datum_position=0.0, 0.0, 0.0\n"
                                        "empty_weight_CG_position=-9.0, 0.0, 0.0\n"
                                        "[airplane_geometry]\n"
                                        "wing_area=1344.0\n"
                                        "wing_span=117.42\n"
                                        "wing_root_chord=21.0\n"
                                        "wing_sweep=27.2\n"
                                        "wing_pos_apex_lon=6.96\n";

constexpr LoadPlan kNothingPlanned{};
constexpr LoadPlan kEverySeatAndTankFull{{22, 65, 15, 2000, 1500},
                                         TankPlan{3850, 2590, 2860, 4950}};

struct FiguresCase {
    const char* name;
    std::string file; // its content, or the name of one of our test files
    LoadPlan plan;
    std::optional<double> emptyKg, takeOffKg, loadLimitKg, balance;
};

void PrintTo(const FiguresCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Il18(std::string_view more = "") {
    return ReadFileBytes(DataFile("il18-aircraft.cfg")) + std::string(more);
}

class LoadFiguresTable : public ::testing::TestWithParam<FiguresCase> {};

TEST_P(LoadFiguresTable, TheFileAndThePlanGiveTheseFigures) {
    const FiguresCase& c = GetParam();
    const LoadFigures figures = ComputeLoadFigures(ParseAircraftData(c.file), c.plan);
    const auto expectNear = [](const char* what, std::optional<double> actual,
                               std::optional<double> expected, double tolerance) {
        ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
        if (expected) {
            EXPECT_NEAR(*actual, *expected, tolerance) << what;
        }
    };
    expectNear("empty", figures.emptyKg, c.emptyKg, 0.1);
    expectNear("take-off", figures.takeOffKg, c.takeOffKg, 0.1);
    expectNear("limit", figures.loadLimitKg, c.loadLimitKg, 0.1);
    expectNear("balance", figures.balancePercentMac, c.balance, 0.005);
}

INSTANTIATE_TEST_SUITE_P(
    LoadSheet, LoadFiguresTable,
    testing::Values(
        FiguresCase{"Boeing737AsTheSimulatorShowsIt", std::string(kBoeing737), kNothingPlanned,
                    38877.4, 38877.4, 40138.4, 35.95},
        // Every position is measured from the datum: moving it moves nothing against the wing.
        FiguresCase{"DatumElsewhere",
                    "[WEIGHT_AND_BALANCE]\nreference_datum_position=12.5, 0, 3\n" +
                        std::string(kBoeing737),
                    kNothingPlanned, 38877.4, 38877.4, 40138.4, 35.95},
        // The crew, galley and wardrobe stations and the file's full tanks; no passenger.
        FiguresCase{"Il18AsItsFileHoldsIt", Il18(), kNothingPlanned, 34928.9, 60609.6, 3390.5,
                    10.09},
        FiguresCase{"Il18WithTheRearCabinFull",
                    Il18(),
                    {{0, 0, 15, 0, 0}, std::nullopt},
                    34928.9,
                    61659.6,
                    3390.5,
                    14.08},
        FiguresCase{"Il18EverySeatHoldAndTankFull", Il18(), kEverySeatAndTankFull, 34928.9, 71249.6,
                    3390.5, 9.09},
        // The service tanks are always full.
        FiguresCase{"Il18WithEmptyTanksPlanned",
                    Il18(),
                    {{}, TankPlan{}},
                    34928.9,
                    37059.6,
                    26940.5,
                    13.22},
        // The empty aircraft alone is over this maximum: the limit is below 0.
        FiguresCase{"NegativeLimit", "[weight_and_balance]\nmax_gross_weight=50000\n" + Il18(),
                    kNothingPlanned, 34928.9, 60609.6, -37930.0, 10.09},
        FiguresCase{"NoEmptyWeight", "[WEIGHT_AND_BALANCE]\nmax_gross_weight=141096\n",
                    kEverySeatAndTankFull, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        FiguresCase{"NoMaximum", "[WEIGHT_AND_BALANCE]\nempty_weight=1000\n", kNothingPlanned,
                    453.6, 453.6, std::nullopt, std::nullopt},
        FiguresCase{"WingWithoutRootChord",
                    "[airplane_geometry]\nwing_root_chord=0\n" + std::string(kBoeing737),
                    kNothingPlanned, 38877.4, 38877.4, 40138.4, std::nullopt},
        FiguresCase{"AbsurdNumbers",
                    "[WEIGHT_AND_BALANCE]\nempty_weight=1e300\nmax_gross_weight=1\n"
                    "empty_weight_CG_position=1e300\n[airplane_geometry]\nwing_area=1e-300\n"
                    "wing_span=1\nwing_root_chord=1e-300\n",
                    kNothingPlanned, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        FiguresCase{"WingTooSmallForItsRootChord",
                    "[airplane_geometry]\nwing_area=100\n" + std::string(kBoeing737),
                    kNothingPlanned, 38877.4, 38877.4, 40138.4, std::nullopt}),
    [](const testing::TestParamInfo<FiguresCase>& info) { return info.param.name; });

TEST(LoadSheet, TheFiguresShowInTheSummaryLines) {
    ResetPayloadTotals();
    AircraftLoad load{ParseAircraftData(Il18()), {}};
    load.plan.fuel = kEverySeatAndTankFull.fuel;
    PayloadState state;
    state.m_pLoad = &load;
    state.ApplyCabinCount(3, 15);
    EXPECT_EQ(state.m_strEmptyWeight, "Вес пустого: 34929 кг");
    EXPECT_EQ(state.m_strMaxLoad, "Предельная загрузка: 3390 кг.");
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   1050 кг.");
    EXPECT_EQ(state.m_strBalance, "Центровка 14,08% САХ");
    EXPECT_EQ(OverweightQuestion(load.aircraft, load.plan), std::nullopt);

    state.ApplyCabinCount(1, 22);
    state.ApplyCabinCount(2, 65);
    state.ApplyHoldMass(1, 2000);
    state.ApplyHoldMass(2, 1500);
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   10640 кг. Перегруз 7250 кг");
    EXPECT_EQ(state.m_strBalance, "Центровка 9,09% САХ");
    EXPECT_EQ(OverweightQuestion(load.aircraft, load.plan),
              "Взлетная масса 71250 кг больше максимальной 64000 кг. Записать?");

    // A file without the data keeps the lines as they read without one.
    load.aircraft = {};
    state.ApplyCabinCount(1, 0);
    EXPECT_EQ(state.m_strEmptyWeight, "Вес пустого: 34929 кг");
    EXPECT_EQ(state.m_strMaxLoad, "Предельная загрузка: ");
    EXPECT_EQ(state.m_strActualLoad, "Фактическая загрузка:   9100 кг.");
    EXPECT_EQ(state.m_strBalance, "Центровка 15,14% САХ");
    EXPECT_EQ(OverweightQuestion(load.aircraft, load.plan), std::nullopt);
}

// One file in a folder in memory; any call that would change it fails the test.
class OneFileFolder : public FileOps {
public:
    explicit OneFileFolder(std::string content) : m_content(std::move(content)) {}
    PathKind KindOfPath(const char*) override { return PathKind::File; }
    int ListDirectory(const char*, std::vector<std::string>& names) override {
        names = {"AIRCRAFT.CFG"};
        return 0;
    }
    int OpenToRead(const char* path, FileInfo& info) override {
        EXPECT_STREQ(path, "AIRCRAFT.CFG");
        info.size = static_cast<std::int64_t>(m_content.size());
        return 3;
    }
    ssize_t Read(int, void* buffer, size_t size) override {
        const std::size_t n =
            m_content.copy(static_cast<char*>(buffer), std::min<size_t>(size, 7), m_at);
        m_at += n;
        return static_cast<ssize_t>(n);
    }
    int Close(int) override { return 0; }
    int CreateExclusive(const char*) override { return Changed(); }
    ssize_t Write(int, const void*, size_t) override { return Changed(); }
    int Rename(const char*, const char*) override { return Changed(); }
    int Unlink(const char*) override { return Changed(); }

private:
    int Changed() {
        ADD_FAILURE() << "reading changed the folder";
        errno = EPERM;
        return -1;
    }
    std::string m_content;
    std::size_t m_at = 0;
};

std::string Utf16(std::string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

// What real files hold: names in any letter case, tabs, comments, a line end of each kind, lines
// that are not the simulator's, a key given twice.
constexpr std::string_view kUntidy = "[Weight_And_Balance]  ; the aircraft\r\n"
                                     "  MAX_GROSS_WEIGHT\t=  1000.5   // lbs\r\n"
                                     "empty_weight=500;no blank\n"
                                     "Empty_Weight_CG_Position =\t-1.5 , 0, 0\r"
                                     "empty_weight=700\r\n"
                                     "station_load.7 = 100, 2.0, 0, 0, Crew // seat\r\n"
                                     "station_load.x = 5, 5\r\n"
                                     "station_load.8 = heavy, 2.0\r\n"
                                     "[fuel ]\r\n"
                                     "LeftMain = 1.0, -5, 0, 10, 0\r\n"
                                     "Center9 = 1.0, 0, 0, 10, 0\r\n"
                                     "[AIRPLANE_GEOMETRY]\r\n"
                                     "wing_area = 100\r\n"
                                     "wing_sweep\t= 5 // degrees, leading edge\r\n"
                                     "[lights]\r\n"
                                     "wing_span = 20\r\n";

TEST(AircraftData, IsReadFromTheFolderAsTheSimulatorReadsIt) {
    const AircraftData expected{
        1000.5,       500,          -1.5, {{7, 100, 2.0}}, {{"LeftMain", 1.0, 10}}, 100,
        std::nullopt, std::nullopt, 5,    std::nullopt};
    for (const std::string& file : {std::string(kUntidy), Utf16(kUntidy, false),
                                    Utf16(kUntidy, true), "\xEF\xBB\xBF" + std::string(kUntidy)}) {
        OneFileFolder folder(file);
        EXPECT_EQ(ReadAircraftData(folder), expected) << file.substr(0, 4);
    }
}

} // namespace
