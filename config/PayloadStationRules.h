#pragma once

#include "config/LineRule.h"

#include <cstdint>
#include <vector>

// Pounds per kilogram; the file takes station loads in pounds.
inline constexpr double kPoundsPerKg = 2.20462233;
// One passenger, 70 kg, in pounds.
inline constexpr double kPassengerPounds = 154.3235631;

// The five payload station lines, in the order they are tested: station_load.0 to .2 take the
// passengers of cabins 1 to 3 (Front, Center, Rear), station_load.3 and .4 the cargo of holds 1
// and 2 in kg (Front_Cargo, Rear_Cargo). Loads are written in pounds with three decimals.
//
// The keys are plain substrings, so the lines of stations 10 to 49 (station_load.12 begins with
// station_load.1) are replaced by the line of station 1 to 4 as well.
std::vector<LineRule> MakePayloadStationRules(int32_t cabin1, int32_t cabin2, int32_t cabin3,
                                              int32_t hold1, int32_t hold2);
