#include "payload/LoadSheet.h"

#include "config/FuelTankRules.h"
#include "config/PayloadStationRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kKgPerPound = 0.45359237;

// The stations and tanks of the plan, as the loader's lines would put them into the file.
AircraftData PlannedLines(const LoadPlan& plan) {
    std::string text = "[WEIGHT_AND_BALANCE]\n";
    const auto& [cabin1, cabin2, cabin3, hold1, hold2] = plan.payload;
    for (const LineRule& rule : MakePayloadStationRules(cabin1, cabin2, cabin3, hold1, hold2))
        text += rule.line;
    text += "[fuel]\n";
    if (plan.fuel) {
        const TankPlan& fuel = *plan.fuel;
        for (const LineRule& rule :
             MakeFuelTankRules(fuel.tank12, fuel.group1, fuel.group2, fuel.tank8))
            text += rule.line;
    }
    return ParseAircraftData(text);
}

// A mass and its moment about the reference datum.
struct Masses {
    double kg = 0;
    double moment = 0;
    void Add(double massKg, double position) {
        kg += massKg;
        moment += massKg * position;
    }
};

// The leading edge of the wing's MAC, measured as the apex is, and the MAC; none for a wing that
// is not a trapezoid.
struct Chord {
    double leadingEdge = 0;
    double length = 0;
};
std::optional<Chord> MeanAerodynamicChord(const AircraftData& aircraft) {
    const double area = aircraft.wingArea.value_or(0), span = aircraft.wingSpan.value_or(0),
                 root = aircraft.wingRootChord.value_or(0);
    if (!(area > 0 && span > 0 && root > 0))
        return std::nullopt;
    const double tip = 2 * area / span - root;
    if (tip < 0)
        return std::nullopt;
    const double taper = tip / root;
    const double length = 2.0 / 3.0 * root * (1 + taper + taper * taper) / (1 + taper);
    const double station = span / 6 * (1 + 2 * taper) / (1 + taper);
    const double sweep = aircraft.wingSweep.value_or(0) * std::numbers::pi / 180;
    return Chord{aircraft.wingApex.value_or(0) - station * std::tan(sweep), length};
}

// A figure that a real file can give; none for what an absurd one gives (a sum beyond any
// aircraft, a chord of almost nothing), which could not be shown or rounded.
std::optional<double> Sane(double value) {
    return std::abs(value) < 1e12 ? std::optional(value) : std::nullopt;
}

} // namespace

LoadFigures ComputeLoadFigures(const AircraftData& aircraft, const LoadPlan& plan) {
    LoadFigures figures;
    if (!aircraft.emptyWeight)
        return figures;
    const AircraftData planned = PlannedLines(plan);

    // The empty aircraft, the other stations and the fuel: all but the cabins and the holds.
    Masses base;
    base.Add(*aircraft.emptyWeight * kKgPerPound, aircraft.emptyWeightCg.value_or(0));
    for (const AircraftData::Station& station : aircraft.stations)
        if (station.index < 0 || station.index >= static_cast<int>(plan.payload.size()))
            base.Add(station.weight * kKgPerPound, station.position);
    for (const AircraftData::Tank& tank : aircraft.tanks)
        if (!std::ranges::any_of(planned.tanks,
                                 [&](const auto& own) { return own.name == tank.name; }))
            base.Add(tank.gallons * kKgPerGallon, tank.position);
    for (const AircraftData::Tank& tank : planned.tanks)
        base.Add(tank.gallons * kKgPerGallon, tank.position);

    Masses all = base;
    for (const AircraftData::Station& station : planned.stations)
        all.Add(station.weight * kKgPerPound, station.position);

    figures.emptyKg = Sane(*aircraft.emptyWeight * kKgPerPound);
    figures.takeOffKg = Sane(all.kg);
    if (aircraft.maxGrossWeight && figures.takeOffKg) {
        figures.maxTakeOffKg = Sane(*aircraft.maxGrossWeight * kKgPerPound);
        figures.loadLimitKg = Sane(*aircraft.maxGrossWeight * kKgPerPound - base.kg);
    }
    const std::optional<Chord> mac = MeanAerodynamicChord(aircraft);
    if (mac && aircraft.emptyWeightCg && all.kg > 0)
        figures.balancePercentMac =
            Sane((mac->leadingEdge - all.moment / all.kg) / mac->length * 100);
    return figures;
}

std::optional<std::string> OverweightQuestion(const AircraftData& aircraft, const LoadPlan& plan) {
    const LoadFigures figures = ComputeLoadFigures(aircraft, plan);
    if (!figures.takeOffKg || !figures.maxTakeOffKg)
        return std::nullopt;
    const long long takeOff = std::llround(*figures.takeOffKg);
    const long long maximum = std::llround(*figures.maxTakeOffKg);
    if (takeOff <= maximum)
        return std::nullopt;
    return "Взлетная масса " + std::to_string(takeOff) + " кг больше максимальной " +
           std::to_string(maximum) + " кг. Записать?";
}
