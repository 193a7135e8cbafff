// The rewrite of each real Aircraft.cfg beside the atomic durable replace of the same file (read,
// write a temporary file, fsync, rename, fsync the folder; in this process), in interleaved
// pairs, and of a 64 MiB file against `sed -i` with the same fourteen replacements, measured in
// the same run so that the ratios show. The real
// files are ours (tests/data) and, when they are there, those of ../shared/testdata.
#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "config/PayloadStationRules.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

// The files the benchmarks rewrite, each in a folder of its own, by size or by name.
std::map<std::string, fs::path> files;

const fs::path& ConfigOfSize(std::size_t bytes) {
    auto& path = files["size " + std::to_string(bytes)];
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
    }
    return path;
}

// A real file, copied once into a folder of its own as Aircraft.cfg and rewritten once there.
const fs::path& RealConfig(const fs::path& source) {
    auto& path = files[source.string()];
    if (path.empty()) {
        std::string pattern = (fs::temp_directory_path() / "il18-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = fs::path(pattern) / kConfigFileName;
        fs::copy_file(source, path);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        fs::current_path(path.parent_path());
        SilentCallback callback;
        ConfigRewriter().RewriteConfigFile(BenchRules(), "done", callback);
    }
    return path;
}

// The floor of a rewrite that promises the old file or the new one after any failure: the
// textbook atomic durable replace of the same file with the same bytes, in this process. Read it
// whole, write the bytes to a temporary file beside it, fsync that, rename it over the file,
// fsync the folder.
void DurableReplace(const fs::path& file) {
    const fs::path temp = file.parent_path() / "replace.tmp";
    const int in = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (in < 0 || ::fstat(in, &info) != 0)
        std::abort();
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    if (::read(in, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0 || ::write(out, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(out) != 0 || ::close(out) != 0 || ::close(in) != 0 ||
        ::rename(temp.c_str(), file.c_str()) != 0)
        std::abort();
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0 || ::fsync(folder) != 0 || ::close(folder) != 0)
        std::abort();
}

void SetBytes(benchmark::State& state, const fs::path& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fs::file_size(file)));
}

// The largest resident set of one rewrite of `file`, made in a child process, in MiB.
double PeakMemoryOfOneRewrite(const fs::path& file, const std::vector<LineRule>& rules) {
    const pid_t child = fork();
    if (child == 0) {
        fs::current_path(file.parent_path());
        SilentCallback callback;
        ConfigRewriter().RewriteConfigFile(rules, "done", callback);
        _exit(callback.failed ? 1 : 0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One iteration is a pair, the rewrite of the nine tank lines and the durable replace of the
// same file, in turns (the order alternating), so that both see the same disk; the iteration's
// time is the rewrite's. The counters are medians over the pairs: each one's time in ms, and the
// ratio of the two within a pair.
void RewriteBesideDurableReplace(benchmark::State& state, const fs::path& file) {
    using Clock = std::chrono::steady_clock;
    fs::current_path(file.parent_path());
    ConfigRewriter rewriter;
    SilentCallback callback;
    const std::vector<LineRule> rules =
        BenchRules(); // the rules are the page's work, not the rewrite's
    std::vector<double> rewrites, replaces, ratios;
    bool rewriteFirst = true;
    for (auto _ : state) {
        double rewrite = 0, replace = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const auto started = Clock::now();
            if ((turn == 0) == rewriteFirst)
                rewriter.RewriteConfigFile(rules, "done", callback);
            else
                DurableReplace(file);
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            ((turn == 0) == rewriteFirst ? rewrite : replace) = ms;
        }
        rewriteFirst = !rewriteFirst;
        state.SetIterationTime(rewrite / 1000.0);
        rewrites.push_back(rewrite);
        replaces.push_back(replace);
        ratios.push_back(rewrite / replace);
    }
    if (callback.failed)
        state.SkipWithError("the rewrite failed");
    SetBytes(state, file);
    state.counters["rewrite_ms"] = Median(rewrites);
    state.counters["replace_ms"] = Median(replaces);
    state.counters["ratio"] = Median(ratios);
    state.counters["peak_MiB"] = PeakMemoryOfOneRewrite(file, BenchRules());
}

void RewriteFile(benchmark::State& state, const fs::path& file,
                 const std::vector<LineRule>& rules) {
    fs::current_path(file.parent_path());
    ConfigRewriter rewriter;
    SilentCallback callback;
    for (auto _ : state)
        rewriter.RewriteConfigFile(rules, "done", callback);
    if (callback.failed)
        state.SkipWithError("the rewrite failed");
    SetBytes(state, file);
    state.counters["peak_MiB"] = PeakMemoryOfOneRewrite(file, rules);
}

// The same fourteen replacements by sed, in place (sed too writes a new file and renames it).
void Sed(benchmark::State& state, const fs::path& file) {
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

// Pairs of a rewrite and a durable replace for each real file.
constexpr benchmark::IterationCount kPairs = 300;

template <typename Function, typename... Args>
void Register(const std::string& name, Function function, Args... args) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [=](benchmark::State& state) { function(state, args...); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Each real file: the rewrite of the nine tank lines beside its durable copy.
    std::vector<fs::path> real = {fs::path(LOADER_DATA_DIR) / "il18-aircraft.cfg",
                                  fs::path(LOADER_DATA_DIR) / "il18-aircraft-utf16.cfg"};
    const fs::path shared = fs::path(LOADER_TESTDATA_DIR) / "aircraft-cfg";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(shared, error))
        if (entry.path().extension() == ".cfg")
            real.push_back(entry.path());
    if (error)
        std::fprintf(stderr, "%s is not there: only the files of tests/data are measured\n",
                     shared.string().c_str());
    for (const fs::path& source : real) {
        const std::string name = "RewriteBesideDurableReplace/" + source.filename().string();
        benchmark::RegisterBenchmark(name.c_str(), RewriteBesideDurableReplace, RealConfig(source))
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kPairs);
    }
    // 64 MiB of realistic sections, far denser in keys than a real file.
    const fs::path& large = ConfigOfSize(std::size_t{64} << 20);
    Register("Rewrite/64MiB", RewriteFile, large, BenchRules());
    Register("RewriteFourteen/64MiB", RewriteFile, large, AllRules());
    Register("Sed/64MiB", Sed, large);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    for (const auto& [key, file] : files)
        fs::remove_all(file.parent_path(), ignored);
}
