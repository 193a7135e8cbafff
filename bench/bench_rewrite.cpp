// The rewrite of Aircraft.cfg against a plain copy of the same file and against a copy that is
// flushed to the disk, measured in the same run so that the ratios show.
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "config/PayloadStationRules.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

class SilentCallback : public MessageCallback {
public:
    void ShowMessage(std::string_view, std::string_view, MessageIcon icon) override {
        if (icon == MessageIcon::Stop)
            failed = true;
    }
    bool failed = false;
};

// One aircraft's configuration, about 2 KB: every section a real one has, with the tank and
// station lines among ordinary ones.
std::string AircraftSection(int n) {
    std::string s;
    s += "[fltsim." + std::to_string(n) + "]\r\n";
    s += "title=Il-18D Aeroflot CCCP-75" + std::to_string(n % 1000) + "\r\n";
    s += "sim=il18\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=" + std::to_string(n) + "\r\n";
    s += "atc_airline=Aeroflot\r\natc_flight_number=" + std::to_string(1000 + n % 9000) + "\r\n";
    s += "ui_manufacturer=Ilyushin\r\nui_type=Il-18D\r\nui_variation=Aeroflot\r\n";
    s += "description=Four-engined turboprop airliner. Range 6500 km, 110 passengers.\r\n\r\n";
    s += "[weight_and_balance]\r\nmax_gross_weight = 141096\r\nempty_weight = 77003\r\n";
    s += "reference_datum_position = 0.0, 0.0, 0.0\r\nempty_weight_CG_position = -2.6, 0, 0\r\n";
    s += "max_number_of_stations = 50\r\n";
    s += "station_load.0=0.000, 29.856, 0.000, 3.937, Front \r\n";
    s += "station_load.1=0.000, -5.742, 0.000, 3.937, Center \r\n";
    s += "station_load.2=0.000, -34.941, 0.000, 3.937, Rear \r\n";
    s += "station_load.3=0.000, 22.474, 0.000, -0.328, Front_Cargo \r\n";
    s += "station_load.4=0.000, -25.427, 0.000, -0.246, Rear_Cargo \r\n\r\n";
    s += "[fuel]\r\n";
    s += "Center2=-1.640, 0.0, 0.0, 0.000, 0.0   // Tank #12; max: 4950kg \r\n";
    s += "External1=-3.609, -19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak (#1, #3) \r\n";
    s += "LeftAux=-0.656, -24.606, 2.950, 0.000, 0.000\t  // I group of tanks \r\n";
    s += "LeftTip=-1.640, -50.200, 3.100, 0.000, 0.000\t  // Tank # 8 (0 group) \r\n";
    s += "Center1=-1.122, -10.390, 1.960, 0.000, 0.000\t  // II  group of tanks \r\n";
    s += "External2=-3.609, 19.193, 2.950, 264.172, 0.000  // Raskhodnyi Bak (#1, #3) \r\n";
    s += "RightAux=-0.656, 24.606, 2.950, 0.000, 0.000\t  // I group of tanks \r\n";
    s += "RightTip=-1.640, 50.200, 3.100, 0.000, 0.000\t  // Tank # 8 (0 group) \r\n";
    s += "Center3=-1.122, 10.390, 1.960, 0.000, 0.000\t  // II  group of tanks \r\n";
    s += "fuel_type = 2\r\nnumber_of_tank_selectors = 1\r\nelectric_pump=1\r\n\r\n";
    s += "[GeneralEngineData]\r\nengine_type = 5\r\nfuel_flow_scalar = 1.0\r\n";
    s += "min_throttle_limit = -0.25\r\nEngine.0 = -4.0, -28.5, 1.8\r\n";
    s += "Engine.1 = -2.3, -15.2, 1.2\r\nEngine.2 = -2.3, 15.2, 1.2\r\n";
    s += "Engine.3 = -4.0, 28.5, 1.8\r\n\r\n[contact_points]\r\n";
    s += "point.0 = 1, 40.2, 0.0, -10.6, 1600, 0, 0.5, 45.0, 0.35, 2.5, 0.9, 6.0, 6.0, 0, 0, 0\r\n";
    s += "point.1 = 1, -5.1, -15.4, -10.4, 1600, 1, 0.5, 0.0, 0.5, 2.5, 0.9, 8.0, 8.0, 2, 0, 0\r\n";
    s += "point.2 = 1, -5.1, 15.4, -10.4, 1600, 2, 0.5, 0.0, 0.5, 2.5, 0.9, 8.0, 8.0, 3, 0, 0\r\n";
    s += "static_pitch = 0.0\r\nstatic_cg_height = 10.5\r\n\r\n";
    return s;
}

std::vector<LineRule> BenchRules() {
    return MakeFuelTankRules(1400.0f, 3850.0f, 2860.0f, 2590.0f);
}

// The fourteen lines both write buttons replace, as one set.
std::vector<LineRule> AllRules() {
    auto rules = BenchRules();
    for (auto& rule : MakePayloadStationRules(22, 65, 15, 2000, 1500))
        rules.push_back(std::move(rule));
    return rules;
}

// A file of about `bytes` bytes, written once per size and reused.
std::map<std::size_t, fs::path> files;

const fs::path& ConfigOfSize(std::size_t bytes) {
    auto& path = files[bytes];
    if (path.empty()) {
        std::string pattern = (fs::temp_directory_path() / "il18-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = fs::path(pattern) / kConfigFileName;
        {
            std::ofstream out(path, std::ios::binary);
            std::size_t written = 0;
            for (int n = 0; written < bytes; ++n) {
                const std::string section = AircraftSection(n);
                out << section;
                written += section.size();
            }
        }
        // Once rewritten, the file stays as it is from run to run: every case sees the same.
        fs::current_path(path.parent_path());
        SilentCallback callback;
        ConfigRewriter().RewriteConfigFile(BenchRules(), "done", callback);
        std::atexit([] {
            for (const auto& [size, file] : files) {
                std::error_code ignored;
                fs::remove_all(file.parent_path(), ignored);
            }
        });
    }
    return path;
}

void CopyFile(const fs::path& from, const fs::path& to, bool durable) {
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto buffer = std::make_unique<char[]>(128 * 1024);
    ssize_t n;
    while ((n = ::read(in, buffer.get(), 128 * 1024)) > 0)
        if (::write(out, buffer.get(), static_cast<size_t>(n)) != n)
            std::abort();
    if (durable)
        ::fsync(out);
    ::close(out);
    ::close(in);
}

void SetBytes(benchmark::State& state, const fs::path& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fs::file_size(file)));
}

void RewriteWith(benchmark::State& state, const std::vector<LineRule>& rules) {
    const fs::path& file = ConfigOfSize(static_cast<std::size_t>(state.range(0)));
    fs::current_path(file.parent_path());
    ConfigRewriter rewriter;
    SilentCallback callback;
    for (auto _ : state)
        rewriter.RewriteConfigFile(rules, "done", callback);
    if (callback.failed)
        state.SkipWithError("the rewrite failed");
    SetBytes(state, file);
}

// The nine tank lines, as "Залить топливо" writes them.
void BM_Rewrite(benchmark::State& state) {
    RewriteWith(state, BenchRules());
}

// All fourteen lines at once, to compare with sed doing the same.
void BM_RewriteFourteen(benchmark::State& state) {
    RewriteWith(state, AllRules());
}

// The same fourteen replacements by sed, in place (sed too writes a new file and renames it).
void BM_Sed(benchmark::State& state) {
    const fs::path& file = ConfigOfSize(static_cast<std::size_t>(state.range(0)));
    const fs::path script = file.parent_path() / "replace.sed";
    {
        std::ofstream out(script, std::ios::binary);
        for (const LineRule& rule : AllRules()) {
            std::string key;
            for (char c : rule.key)
                key += c == '.' ? std::string("\\.") : std::string(1, c);
            std::string line = rule.line.substr(0, rule.line.size() - 1);
            out << "/" << key << "/c\\\n" << line << "\r\n";
        }
    }
    const std::string command = "sed -i -f '" + script.string() + "' '" + file.string() + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sed failed");
    SetBytes(state, file);
}

void BM_Copy(benchmark::State& state) {
    const fs::path& file = ConfigOfSize(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        CopyFile(file, file.parent_path() / "copy.cfg", false);
    SetBytes(state, file);
}

void BM_DurableCopy(benchmark::State& state) {
    const fs::path& file = ConfigOfSize(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        CopyFile(file, file.parent_path() / "copy.cfg", true);
    SetBytes(state, file);
}

constexpr int64_t kTypical = 20 * 1024;
constexpr int64_t kLarge = 64 * 1024 * 1024;

} // namespace

// Wall-clock time is what counts; the processor time shown is that of every thread of the
// process (the rewrite scans large files on a second one), not of sed's.
BENCHMARK(BM_Copy)
    ->Arg(kTypical)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_DurableCopy)
    ->Arg(kTypical)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Rewrite)
    ->Arg(kTypical)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_RewriteFourteen)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Sed)
    ->Arg(kLarge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
