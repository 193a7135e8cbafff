#pragma once

#include "common/MessageCallback.h"

#include <string_view>

// The fuel page's values, single precision, in kilograms unless said otherwise.
struct FuelPlan {
    float m_fRange = 3600.0f;  // flight range, km
    float m_fReserve = 60.0f;  // navigational reserve, minutes of flight
    float m_fTotalFuel = 0.0f; // fuel for the whole aircraft
    float m_fWind = 0.0f;      // wind component at the level, km/h, tail wind positive
    float m_fFlowmeter = 0.0f; // setting of each fuel-flow meter, tens of kg
    float m_fGroup1 = 0.0f;    // tank group I, per wing half
    float m_fGroup2 = 0.0f;    // tank group II, per wing half
    float m_fTank8 = 0.0f;     // tank 8, per wing half
    float m_fTank12 = 0.0f;    // tank 12, the single centre tank
};

// Flight levels of the level list, in metres, in the order the list shows them.
inline constexpr std::string_view kFlightLevels[] = {
    "10600", "10100", "9600", "9100", "8600", "8100", "7800", "7500", "7200", "6900", "6600"};

// Tank capacities, kg.
inline constexpr float kGroup1Capacity = 3850.0f; // per wing half
inline constexpr float kTank8Capacity = 2590.0f;  // per wing half
inline constexpr float kGroup2Capacity = 2860.0f; // per wing half
inline constexpr float kTank12Capacity = 4950.0f;
inline constexpr float kAircraftFuelCapacity = 23550.0f;

// Trip fuel from range, wind and reserve of the plan and the level text (the selected list
// entry, read as atof reads it; empty when none is selected). Stores it in m_fTotalFuel. A level
// below 900 m and a reserve below 60 min are warned about through `owner`, level first; the
// total is computed all the same. When the ground speed with the reserve leaves nothing to fly
// on (a head wind at or beyond the speed) or the total is beyond any number, the plan is left
// unchanged, the reason is reported through `owner` with the stop icon, and it returns false.
bool ComputeTripFuel(FuelPlan& plan, std::string_view levelText, MessageCallback& owner);

inline constexpr std::string_view kNoGroundSpeedMessage =
    "Встречный ветер не меньше скорости полета: расчет невозможен.";
inline constexpr std::string_view kTotalBeyondNumbersMessage =
    "Дальность слишком велика: расчет невозможен.";

// Splits `total` over the tank groups in their filling order and sets the flow-meter setting.
// Never writes m_fTotalFuel. A total above the tanks' capacity fills every tank and is reported
// through `owner` with the stop icon.
void DistributeFuel(FuelPlan& plan, float total, MessageCallback& owner);
