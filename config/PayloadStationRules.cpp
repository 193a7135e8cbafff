#include "config/PayloadStationRules.h"

#include "common/NumberText.h"

#include <string>

namespace {

std::string StationLine(const char* prefix, double pounds, const char* suffix) {
    return prefix + FormatFixed3(pounds) + suffix;
}

} // namespace

std::vector<LineRule> MakePayloadStationRules(int32_t cabin1, int32_t cabin2, int32_t cabin3,
                                              int32_t hold1, int32_t hold2) {
    return {
        {"station_load.0", StationLine("station_load.0=", cabin1 * kPassengerPounds,
                                       ", 29.856, 0.000, 3.937, Front \n")},
        {"station_load.1", StationLine("station_load.1=", cabin2 * kPassengerPounds,
                                       ", -5.742, 0.000, 3.937, Center \n")},
        {"station_load.2", StationLine("station_load.2=", cabin3 * kPassengerPounds,
                                       ", -34.941, 0.000, 3.937, Rear \n")},
        {"station_load.3", StationLine("station_load.3=", hold1 * kPoundsPerKg,
                                       ", 22.474, 0.000, -0.328, Front_Cargo \n")},
        {"station_load.4", StationLine("station_load.4=", hold2 * kPoundsPerKg,
                                       ", -25.427, 0.000, -0.246, Rear_Cargo \n")},
    };
}
