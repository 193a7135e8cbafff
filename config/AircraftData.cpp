#include "config/AircraftData.h"

#include "config/ConfigFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>

namespace {

// A file larger than this is not an aircraft's; the rewrite refuses it too.
constexpr std::int64_t kMaxFileSize = std::int64_t{256} << 20;

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// The content as one byte a character: the text of a UTF-16 file with each unit beyond ASCII
// made '?' (every key and number of the file is ASCII), any other file as it is.
std::string AsciiText(std::string_view content) {
    const bool little = content.starts_with("\xFF\xFE");
    if (!little && !content.starts_with("\xFE\xFF")) {
        if (content.starts_with("\xEF\xBB\xBF"))
            content.remove_prefix(3);
        return std::string(content);
    }
    std::string text;
    text.reserve(content.size() / 2);
    for (std::size_t i = 2; i + 1 < content.size(); i += 2) {
        const auto low = static_cast<unsigned char>(content[little ? i : i + 1]);
        const auto high = static_cast<unsigned char>(content[little ? i + 1 : i]);
        text.push_back(high == 0 && low < 0x80 ? static_cast<char>(low) : '?');
    }
    return text;
}

// The comma-separated fields of a value, blanks around each taken off.
std::vector<std::string_view> Fields(std::string_view value) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = value.find(',');
        fields.push_back(Trim(value.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        value.remove_prefix(comma + 1);
    }
}

// The number a field starts with ("141096", "-2.6", "1.5e3 lbs"); absent when it starts with none
// or the number is not finite.
std::optional<double> Number(std::string_view field) {
    if (field.starts_with('+'))
        field.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end == field.data() || !(value - value == 0))
        return std::nullopt;
    return value;
}

std::optional<double> FieldNumber(std::string_view value, std::size_t index) {
    const std::vector<std::string_view> fields = Fields(value);
    return index < fields.size() ? Number(fields[index]) : std::nullopt;
}

constexpr std::string_view kTankNames[] = {
    "Center1",   "Center2",  "Center3",  "LeftMain",  "LeftAux",   "LeftTip",
    "RightMain", "RightAux", "RightTip", "External1", "External2",
};

enum class Section { Other, Weights, Fuel, Geometry };

// The keys of one number, the first of the value's fields.
struct Scalar {
    Section section;
    std::string_view key;
    std::optional<double> AircraftData::*slot;
};
constexpr Scalar kScalars[] = {
    {Section::Weights, "max_gross_weight", &AircraftData::maxGrossWeight},
    {Section::Weights, "empty_weight", &AircraftData::emptyWeight},
    {Section::Weights, "empty_weight_CG_position", &AircraftData::emptyWeightCg},
    {Section::Geometry, "wing_area", &AircraftData::wingArea},
    {Section::Geometry, "wing_span", &AircraftData::wingSpan},
    {Section::Geometry, "wing_root_chord", &AircraftData::wingRootChord},
    {Section::Geometry, "wing_sweep", &AircraftData::wingSweep},
    {Section::Geometry, "wing_pos_apex_lon", &AircraftData::wingApex},
};

// Reads the keys of the sections that hold the aircraft's weight and balance.
class Reader {
public:
    explicit Reader(AircraftData& data) : m_data(data) {}

    void StartSection(std::string_view name) {
        m_section = SameName(name, "WEIGHT_AND_BALANCE")  ? Section::Weights
                    : SameName(name, "fuel")              ? Section::Fuel
                    : SameName(name, "airplane_geometry") ? Section::Geometry
                                                          : Section::Other;
    }

    void Key(std::string_view key, std::string_view value) {
        for (const Scalar& scalar : kScalars) {
            if (scalar.section == m_section && SameName(key, scalar.key)) {
                if (!(m_data.*scalar.slot))
                    m_data.*scalar.slot = FieldNumber(value, 0);
                return;
            }
        }
        if (m_section == Section::Weights)
            Station(key, value);
        else if (m_section == Section::Fuel)
            Tank(key, value);
    }

private:
    // station_load.N = weight, longitudinal, lateral, vertical, name
    void Station(std::string_view key, std::string_view value) {
        constexpr std::string_view kPrefix = "station_load.";
        if (key.size() <= kPrefix.size() || !SameName(key.substr(0, kPrefix.size()), kPrefix))
            return;
        const std::string_view digits = key.substr(kPrefix.size());
        int index = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), index);
        const auto weight = FieldNumber(value, 0), position = FieldNumber(value, 1);
        const auto same = [index](const AircraftData::Station& station) {
            return station.index == index;
        };
        if (error == std::errc() && end == digits.data() + digits.size() && weight && position &&
            !std::ranges::any_of(m_data.stations, same))
            m_data.stations.push_back({index, *weight, *position});
    }

    // Tank = longitudinal, lateral, vertical, gallons, unusable gallons
    void Tank(std::string_view key, std::string_view value) {
        const auto name = std::ranges::find_if(
            kTankNames, [key](std::string_view tank) { return SameName(key, tank); });
        const auto same = [name](const AircraftData::Tank& tank) { return tank.name == *name; };
        const auto position = FieldNumber(value, 0), gallons = FieldNumber(value, 3);
        if (name != std::end(kTankNames) && !std::ranges::any_of(m_data.tanks, same) && position &&
            gallons)
            m_data.tanks.push_back({std::string(*name), *position, *gallons});
    }

    AircraftData& m_data;
    Section m_section = Section::Other;
};

} // namespace

AircraftData ParseAircraftData(std::string_view content) {
    AircraftData data;
    Reader reader(data);
    const std::string text = AsciiText(content);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        line = Trim(line.substr(0, std::min(line.find(';'), line.find("//"))));
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos)
                reader.StartSection(Trim(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            reader.Key(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return data;
}

AircraftData ReadAircraftData(FileOps& ops) {
    const ConfigFileSearch search = FindConfigFile(ops, "");
    if (!search.found())
        return {};
    FileInfo info;
    const int fd = ops.OpenToRead(search.name.c_str(), info);
    if (fd < 0)
        return {};
    std::string content;
    bool whole = info.regular && info.size <= kMaxFileSize;
    char buffer[65536];
    while (whole) {
        const ssize_t n = ops.Read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            whole = n == 0;
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
        whole = static_cast<std::int64_t>(content.size()) <= kMaxFileSize;
    }
    ops.Close(fd);
    return whole ? ParseAircraftData(content) : AircraftData{};
}
