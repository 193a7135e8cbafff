#include "payload/PayloadState.h"

#include <charconv>
#include <cmath>

int32_t g_nCargoTotal = 0;
int32_t g_nPassengerCount = 0;
int32_t g_nPassengerMass = 0;
int32_t g_nActualLoad = 0;

namespace {

// Keeps the low 32 bits, as a 32-bit machine would; well defined for every value since C++20.
int32_t Narrow(int64_t value) {
    return static_cast<int32_t>(value);
}

int32_t PercentOf(int32_t kg, int32_t capacity) {
    return Narrow(int64_t{kg} * 100 / capacity);
}

int32_t MassOf(int32_t percent, int32_t capacity) {
    return Narrow(int64_t{percent} * capacity / 100);
}

std::string WholeKg(double kg) {
    return std::to_string(std::llround(kg));
}

// Two decimals and a decimal comma, whatever the locale: "15,14".
std::string Hundredths(double value) {
    char text[32];
    const double rounded = std::round(value * 100) / 100;
    const auto end = std::to_chars(text, text + sizeof text, rounded == 0 ? 0.0 : rounded,
                                   std::chars_format::fixed, 2)
                         .ptr;
    std::string result(text, end);
    result[result.find('.')] = ',';
    return result;
}

} // namespace

void ResetPayloadTotals() {
    g_nCargoTotal = 0;
    g_nPassengerCount = 0;
    g_nPassengerMass = 0;
    g_nActualLoad = 0;
}

void PayloadState::UpdatePassengerSummary() {
    g_nPassengerCount = Narrow(int64_t{m_nCabin1} + m_nCabin2 + m_nCabin3);
    g_nPassengerMass = Narrow(int64_t{g_nPassengerCount} * kPassengerKg);
    m_strPassengers = std::to_string(g_nPassengerCount) + " пассажиров - " +
                      std::to_string(g_nPassengerMass) + " кг.";
}

void PayloadState::UpdateCargoSummary() {
    g_nCargoTotal = Narrow(int64_t{m_nHold2Kg} + m_nHold1Kg);
    m_strCargo = "В грузовых отсеках " + std::to_string(g_nCargoTotal) + " кг.";
}

void PayloadState::UpdateActualLoadSummary() {
    g_nActualLoad = Narrow(int64_t{g_nCargoTotal} + g_nPassengerMass);
    m_strActualLoad = "Фактическая загрузка:   " + std::to_string(g_nActualLoad) + " кг.";
    if (m_pLoad == nullptr)
        return;
    m_pLoad->plan.payload = {m_nCabin1, m_nCabin2, m_nCabin3, m_nHold1Kg, m_nHold2Kg};
    const LoadFigures figures = m_pLoad->Figures();
    m_strEmptyWeight = figures.emptyKg ? "Вес пустого: " + WholeKg(*figures.emptyKg) + " кг"
                                       : std::string(kEmptyWeightText);
    m_strMaxLoad = figures.loadLimitKg
                       ? std::string(kMaxLoadText) + WholeKg(*figures.loadLimitKg) + " кг."
                       : std::string(kMaxLoadText);
    m_strBalance = figures.balancePercentMac
                       ? "Центровка " + Hundredths(*figures.balancePercentMac) + "% САХ"
                       : std::string(kBalanceText);
    if (figures.loadLimitKg && g_nActualLoad > std::llround(*figures.loadLimitKg))
        m_strActualLoad +=
            " +" + std::to_string(g_nActualLoad - std::llround(*figures.loadLimitKg)) + " кг";
}

int32_t PayloadState::CabinCount(int cabin) const {
    return cabin == 1 ? m_nCabin1 : cabin == 2 ? m_nCabin2 : cabin == 3 ? m_nCabin3 : 0;
}

void PayloadState::ApplyCabinCount(int cabin, int32_t count) {
    switch (cabin) {
    case 1:
        m_nCabin1 = count;
        break;
    case 2:
        m_nCabin2 = count;
        break;
    case 3:
        m_nCabin3 = count;
        break;
    default:
        return;
    }
    UpdatePassengerSummary();
    UpdateActualLoadSummary();
}

void PayloadState::ApplyHoldMass(int hold, int32_t kg) {
    switch (hold) {
    case 1:
        m_nHold1Kg = kg;
        m_nHold1Percent = PercentOf(kg, g_nHold1Capacity);
        break;
    case 2:
        m_nHold2Kg = kg;
        m_nHold2Percent = PercentOf(kg, g_nHold2Capacity);
        break;
    default:
        return;
    }
    UpdateCargoSummary();
    UpdateActualLoadSummary();
}

int32_t PayloadState::HoldMassFromPercent(int hold) {
    switch (hold) {
    case 1:
        return m_nHold1Kg = MassOf(m_nHold1Percent, g_nHold1Capacity);
    case 2:
        return m_nHold2Kg = MassOf(m_nHold2Percent, g_nHold2Capacity);
    default:
        return 0;
    }
}
