#include "fuel/FuelPage.h"

#include "config/ConfigRewriter.h"
#include "config/FuelTankRules.h"
#include "ui/Question.h"

#include <cmath>
#include <string>
#include <vector>

void CFuelPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_FLIGHT_LEVEL, m_cbFlightLevel);
    DDX_Control(pDX, IDC_CALCULATE_FUEL, m_btnCalculate);
    DDX_Text(pDX, IDC_RANGE, m_fRange);
    DDX_Text(pDX, IDC_RESERVE, m_fReserve);
    DDX_Text(pDX, IDC_TOTAL_FUEL, m_fTotalFuel);
    DDX_Text(pDX, IDC_WIND, m_fWind);
    DDX_Text(pDX, IDC_FLOWMETER, m_fFlowmeter);
    DDX_Text(pDX, IDC_GROUP1, m_fGroup1);
    DDX_Text(pDX, IDC_GROUP2, m_fGroup2);
    DDX_Text(pDX, IDC_TANK8, m_fTank8);
    DDX_Text(pDX, IDC_TANK12, m_fTank12);
}

MessageMap CFuelPage::GetMessageMap() const {
    static const MessageMapEntry kMessageMap[] = {
        OnCommand(BN_CLICKED, IDC_CALCULATE_FUEL, &CFuelPage::OnCalculateFuel),
        OnCommand(EN_CHANGE, IDC_RANGE, &CFuelPage::OnFieldChanged),
        OnCommand(EN_CHANGE, IDC_RESERVE, &CFuelPage::OnFieldChanged),
        OnCommand(CBN_SELENDOK, IDC_FLIGHT_LEVEL, &CFuelPage::OnFieldChanged),
        OnCommand(EN_KILLFOCUS, IDC_WIND, &CFuelPage::OnFieldChanged),
        OnCommand(BN_CLICKED, IDC_FILL_FUEL, &CFuelPage::OnFillFuel),
        OnCommand(EN_KILLFOCUS, IDC_TOTAL_FUEL, &CFuelPage::OnKillFocusTotalFuel),
    };
    return kMessageMap;
}

namespace {

constexpr std::string_view kFuelledText = "Заправка окончена.\r\nСчастливого полета!";

// The tank lines a fill writes.
std::vector<std::string> TankLines(const FuelPlan& plan) {
    std::vector<std::string> lines;
    for (const LineRule& rule :
         MakeFuelTankRules(plan.m_fTank12, plan.m_fGroup1, plan.m_fGroup2, plan.m_fTank8))
        lines.push_back(rule.line);
    return lines;
}

} // namespace

CFuelPage::CFuelPage() : CPropertyPage(IDD), m_writtenLines(TankLines(*this)) {}

// Judged when a calculation has set the tanks, not at every exchange: a page switch takes the
// quantities back from their six-digit fields, a change no user made.
void CFuelPage::NoteTanksSet() {
    m_unwritten = TankLines(*this) != m_writtenLines;
    if (m_pLoad != nullptr)
        m_pLoad->plan.fuel = Tanks();
}

TankPlan CFuelPage::Tanks() const {
    return {m_fGroup1, m_fTank8, m_fGroup2, m_fTank12};
}

void CFuelPage::OnFieldChanged() {
    UpdateData(true);
}

void CFuelPage::OnCalculateFuel() {
    std::string level;
    const int selected = m_cbFlightLevel.GetCurSel();
    if (selected != CB_ERR)
        m_cbFlightLevel.GetLBText(selected, level);
    if (!ComputeTripFuel(*this, level, *this))
        return;
    DistributeFuel(*this, m_fTotalFuel, *this);
    NoteTanksSet();
    UpdateData(false);
}

void CFuelPage::OnKillFocusTotalFuel() {
    UpdateData(true);
    DistributeFuel(*this, m_fTotalFuel, *this);
    NoteTanksSet();
    UpdateData(false);
}

void CFuelPage::OnFillFuel() {
    // A negative total (a head wind beyond the cruise speed) or a zero divisor reaches the tanks
    // as a negative or undefined quantity; the simulator must never be fuelled with it.
    for (const float quantity : {m_fTank12, m_fGroup1, m_fGroup2, m_fTank8}) {
        if (quantity < 0.0f) {
            MessageBox("Количество топлива не может быть отрицательным.", kCaptionError,
                       MessageIcon::Stop);
            return;
        }
        if (!std::isfinite(quantity)) {
            MessageBox("Количество топлива не определено.", kCaptionError, MessageIcon::Stop);
            return;
        }
    }
    if (m_pLoad != nullptr) {
        LoadPlan plan = m_pLoad->plan;
        plan.fuel = Tanks();
        const auto question = OverweightQuestion(m_pLoad->aircraft, plan);
        if (question && !AskYesNo(GetSafeHwnd(), *question, kCaptionWarning))
            return;
    }
    if (!ConfigRewriter().RewriteConfigFile(
            MakeFuelTankRules(m_fTank12, m_fGroup1, m_fGroup2, m_fTank8), kFuelledText, *this))
        return;
    m_writtenLines = TankLines(*this);
    m_unwritten = false;
    if (m_pLoad != nullptr)
        m_pLoad->Read(FileOps::System());
}
