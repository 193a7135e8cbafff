#include "fuel/FuelPlan.h"

#include "common/NumberText.h"

#include <cmath>

namespace {

constexpr float kHourlyFlow = 2300.0f;     // kg per hour
constexpr float kBaseSpeed = 540.0f;       // km/h at the reference level
constexpr float kReferenceLevel = 6900.0f; // m
constexpr float kLevelStep = 57.0f;        // m of level per km/h of speed gained
constexpr float kReserveAllowance = 45.0f; // min added to the reserve
constexpr float kMinutesPerHour = 60.0f;
constexpr float kLowestLevel = 900.0f;
constexpr float kLowestReserve = 60.0f;

} // namespace

bool ComputeTripFuel(FuelPlan& plan, std::string_view levelText, MessageCallback& owner) {
    const float level = static_cast<float>(ParseLeadingNumber(levelText));
    if (level < kLowestLevel)
        owner.ShowMessage("Внимание!\r\nВыбранный эшелон ниже минимального.", kCaptionWarning,
                          MessageIcon::Information);
    if (plan.m_fReserve < kLowestReserve)
        owner.ShowMessage("Внимание!\r\nАэронавигационный запас слишком мал.", kCaptionWarning,
                          MessageIcon::Information);

    const float speedTerm = (level - kReferenceLevel) / kLevelStep + kBaseSpeed + plan.m_fWind;
    const float reserveTerm = (plan.m_fReserve + kReserveAllowance) / kMinutesPerHour;
    const float divisor = speedTerm + reserveTerm;
    // A divisor of zero or below would give "inf", "nan" or a negative fuel that no field can
    // take back and no tank can hold.
    if (!(divisor > 0.0f)) {
        owner.ShowMessage(kNoGroundSpeedMessage, kCaptionError, MessageIcon::Stop);
        return false;
    }
    const float total = kHourlyFlow * plan.m_fRange / divisor;
    if (!std::isfinite(total)) {
        owner.ShowMessage(kTotalBeyondNumbersMessage, kCaptionError, MessageIcon::Stop);
        return false;
    }
    plan.m_fTotalFuel = total;
    return true;
}

void DistributeFuel(FuelPlan& plan, float total, MessageCallback& owner) {
    float& group1 = plan.m_fGroup1;
    float& tank8 = plan.m_fTank8;
    float& group2 = plan.m_fGroup2;
    float& tank12 = plan.m_fTank12;

    // Bands, tested from the top so that a total that is not a number falls into the lowest
    // one and spreads into group I instead of passing for an overflow.
    if (total > kAircraftFuelCapacity) {
        group1 = kGroup1Capacity;
        tank8 = kTank8Capacity;
        group2 = kGroup2Capacity;
        tank12 = kTank12Capacity;
        total = kAircraftFuelCapacity;
        owner.ShowMessage("Количество топлива превышает емкость баков!", kCaptionError,
                          MessageIcon::Stop);
    } else if (total > 18600.0f) {
        group1 = kGroup1Capacity;
        tank8 = kTank8Capacity;
        group2 = kGroup2Capacity;
        tank12 = total - 2.0f * tank8 - 2.0f * group1 - 2.0f * group2;
    } else if (total > 10000.0f) {
        tank8 = kTank8Capacity;
        tank12 = 0.0f;
        group1 = total / 2.0f - kTank8Capacity;
        if (group1 > kGroup1Capacity) {
            group1 = kGroup1Capacity;
            group2 = total / 2.0f - tank8 - group1;
        } else {
            group2 = 0.0f;
        }
    } else if (total > 6000.0f) {
        group1 = 2750.0f;
        tank8 = (total - 5500.0f) / 2.0f;
        group2 = 0.0f;
        tank12 = 0.0f;
    } else {
        group1 = total / 2.0f;
        tank8 = 0.0f;
        group2 = 0.0f;
        tank12 = 0.0f;
    }
    plan.m_fFlowmeter = total / 40.0f;
}
