#pragma once

#include "config/AircraftData.h"
#include "config/FileOps.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The fuel of a plan as the fuel page splits it, kg: group I, tank 8 and group II in each half of
// the wing, and tank 12.
struct TankPlan {
    float group1 = 0, tank8 = 0, group2 = 0, tank12 = 0;
};

// What the pilot plans to load. The aircraft then carries the payload stations 0 to 4 and the
// nine tanks of the loader as "Загрузить" and "Залить топливо" would write them, and every
// other station and tank as the file holds it.
struct LoadPlan {
    // Passengers of cabins 1 to 3, then the cargo of holds 1 and 2 in kg.
    std::array<int32_t, 5> payload{};
    // None before the fuel page has split a total: the tanks hold what the file says.
    std::optional<TankPlan> fuel;
};

// The load sheet's figures, in kg, and the balance in percent of the mean aerodynamic chord. A
// figure is absent where the file lacks what it needs: the empty weight (all of them), the
// maximum gross weight (the maximum and the limit), the empty aircraft's centre of gravity or a
// wing with an area, a span and a root chord above 0 that make a trapezoid (the balance); and
// where a file's absurd numbers give one beyond a trillion.
struct LoadFigures {
    std::optional<double> emptyKg;
    std::optional<double> takeOffKg;
    std::optional<double> maxTakeOffKg;
    // What the cabins and the holds may take: the maximum less the empty aircraft, the other
    // stations and the fuel. Below 0 when those alone are over the maximum.
    std::optional<double> loadLimitKg;
    std::optional<double> balancePercentMac;
};

// The figures of the aircraft that the file describes, loaded as planned. The simulator's way:
// every mass at its position along the aircraft; the wing a trapezoid with its root chord on the
// centre line and its tip chord 2 x area / span - root chord, whose mean aerodynamic chord
// (MAC) has its leading edge behind the apex by the MAC's spanwise station times the tangent of
// the sweep; the balance (leading edge of the MAC - centre of gravity) / MAC x 100.
LoadFigures ComputeLoadFigures(const AircraftData& aircraft, const LoadPlan& plan);

// The question asked before `plan` is written, when its take-off mass is over the maximum (both
// in whole kg): "Взлетная масса 70719 кг больше максимальной 64000 кг. Записать?". None within
// the maximum, or where the file lacks either figure.
std::optional<std::string> OverweightQuestion(const AircraftData& aircraft, const LoadPlan& plan);

// The aircraft's data and the one plan that both pages of the sheet feed.
struct AircraftLoad {
    AircraftData aircraft;
    LoadPlan plan;

    // The aircraft's data from the Aircraft.cfg of the current folder: at the start, and again
    // after each write that went through.
    void Read(FileOps& ops) { aircraft = ReadAircraftData(ops); }
    LoadFigures Figures() const { return ComputeLoadFigures(aircraft, plan); }
};
