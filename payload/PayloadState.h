#pragma once

#include "payload/LoadSheet.h"

#include <cstdint>
#include <string>
#include <string_view>

// Seats of the three passenger cabins (102 in all) and the mass of one passenger.
inline constexpr int32_t kCabin1Seats = 22;
inline constexpr int32_t kCabin2Seats = 65;
inline constexpr int32_t kCabin3Seats = 15;
inline constexpr int32_t kPassengerKg = 70;

// Capacities of the two cargo holds, kg: the upper end of each hold's mass and the base of its
// percentage.
inline constexpr int32_t g_nHold1Capacity = 2000;
inline constexpr int32_t g_nHold2Capacity = 1500;

// Running totals of the payload summaries, one set for the whole program, zero at start. Only
// the three Update...Summary operations write them; the actual load is summed from the totals as
// they were last stored, not from the fields.
extern int32_t g_nCargoTotal;     // hold 2 + hold 1, kg
extern int32_t g_nPassengerCount; // cabin 1 + cabin 2 + cabin 3
extern int32_t g_nPassengerMass;  // passengers x 70, kg
extern int32_t g_nActualLoad;     // cargo + passenger mass, kg

// Sets the four running totals back to zero, as at program start.
void ResetPayloadTotals();

// The figure lines as they read where the file lacks the figure's data.
inline constexpr std::string_view kMaxLoadText = "Предельная загрузка: ";
inline constexpr std::string_view kBalanceText = "Центровка 15,14% САХ";
inline constexpr std::string_view kEmptyWeightText = "Вес пустого: 34929 кг";

// The payload page's values: passengers per cabin, cargo per hold in kg and in whole percent of
// the hold's capacity, and the summary and fixed texts (UTF-8) the page shows as they stand.
//
// Arithmetic is that of 32-bit signed integers: conversions multiply first and truncate toward
// zero. No input can fault: every sum and product is formed exactly in 64 bits, and a result
// outside the 32-bit range is narrowed by dropping the high bits (two's complement wrap). Such
// results come only from absurd typed numbers, which the page's sliders replace right after.
struct PayloadState {
    std::string m_strPassengers = "0 пассажиров - 0 кг.";
    std::string m_strCargo = "В грузовых отсеках 0 кг.";
    std::string m_strMaxLoad{kMaxLoadText};
    std::string m_strActualLoad = "Фактическая загрузка:";
    int32_t m_nCabin1 = 0;
    int32_t m_nCabin2 = 0;
    int32_t m_nCabin3 = 0;
    int32_t m_nHold2Percent = 0;
    int32_t m_nHold2Kg = 0;
    int32_t m_nHold1Kg = 0;
    int32_t m_nHold1Percent = 0;
    std::string m_strBalance{kBalanceText};
    std::string m_strEmptyWeight{kEmptyWeightText};

    // The aircraft and the plan of the sheet, when the page belongs to one: the actual-load
    // summary then hands it the payload and shows its figures in the empty-weight, load-limit,
    // balance and actual-load lines. Where it is missing, or the file lacks a figure's data, the
    // line keeps the text above.
    AircraftLoad* m_pLoad = nullptr;

    // Passenger count and mass totals from the three cabins, and m_strPassengers
    // ("10 пассажиров - 700 кг."; the noun stays as it is for every number).
    void UpdatePassengerSummary();
    // Cargo total from the two holds, and m_strCargo ("В грузовых отсеках 750 кг.").
    void UpdateCargoSummary();
    // Actual load from the stored cargo and passenger-mass totals, and m_strActualLoad
    // ("Фактическая загрузка:   700 кг."). Refresh the side that changed first. Then the
    // figures of the aircraft so loaded: "Вес пустого: 34929 кг", "Предельная загрузка: 17541
    // кг.", "Центровка 21,37% САХ", and beyond the limit the excess after the actual load.
    void UpdateActualLoadSummary();

    // Stores the count of cabin 1..3, then refreshes the passenger summary and after it the
    // actual load. Any other cabin number changes nothing.
    void ApplyCabinCount(int cabin, int32_t count);
    // The count of cabin 1..3; 0 for any other cabin number.
    int32_t CabinCount(int cabin) const;
    // Stores the mass of hold 1..2 and its percentage (mass x 100 / capacity), then refreshes
    // the cargo summary and after it the actual load. Any other hold number changes nothing.
    void ApplyHoldMass(int hold, int32_t kg);
    // Sets the mass of hold 1..2 from its percentage (percentage x capacity / 100) and returns
    // it; refreshes no summary. Any other hold number changes nothing and returns 0.
    int32_t HoldMassFromPercent(int hold);

    bool operator==(const PayloadState&) const = default;
};
