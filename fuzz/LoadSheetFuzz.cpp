// The load sheet of any file: whatever Aircraft.cfg holds, reading it and computing its figures
// for a plan cannot fault, every figure it gives is a number, and the page's lines show it.
#include "payload/PayloadState.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    AircraftLoad load{ParseAircraftData(file), {}};
    for (const std::optional<TankPlan>& fuel :
         {std::optional<TankPlan>{}, std::optional(TankPlan{3850, 2590, 2860, 4950})}) {
        load.plan.fuel = fuel;
        const LoadFigures figures = load.Figures();
        for (const std::optional<double>& figure :
             {figures.emptyKg, figures.takeOffKg, figures.maxTakeOffKg, figures.loadLimitKg,
              figures.balancePercentMac})
            if (figure && !std::isfinite(*figure))
                std::abort();
        ResetPayloadTotals();
        PayloadState state;
        state.m_pLoad = &load;
        state.ApplyCabinCount(2, 65);
        if (state.m_strBalance.find("nan") != std::string::npos)
            std::abort();
        OverweightQuestion(load.aircraft, load.plan);
    }
    return 0;
}
