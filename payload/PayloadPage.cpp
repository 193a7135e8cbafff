#include "payload/PayloadPage.h"

#include "config/ConfigRewriter.h"
#include "config/PayloadStationRules.h"
#include "payload/RgbImage.h"
#include "payload/SeatMap.h"
#include "ui/Question.h"
#include "ui/WinApp.h"

#include <algorithm>

CPayloadPage::CPayloadPage()
    : CPropertyPage(IDD),
      m_hIcon(AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr) {}

// The icon belongs to the application; the window goes with the base page.
CPayloadPage::~CPayloadPage() = default;

void CPayloadPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SLIDER_HOLD2, m_sliderHold2);
    DDX_Control(pDX, IDC_SLIDER_HOLD1, m_sliderHold1);
    DDX_Control(pDX, IDC_SLIDER_CABIN3, m_sliderCabin3);
    DDX_Control(pDX, IDC_SLIDER_CABIN2, m_sliderCabin2);
    DDX_Control(pDX, IDC_SLIDER_CABIN1, m_sliderCabin1);
    DDX_Text(pDX, IDC_PASSENGERS, m_strPassengers);
    DDX_Text(pDX, IDC_CARGO, m_strCargo);
    DDX_Text(pDX, IDC_MAX_LOAD, m_strMaxLoad);
    DDX_Text(pDX, IDC_ACTUAL_LOAD, m_strActualLoad);
    DDX_Text(pDX, IDC_CABIN1, m_nCabin1);
    DDX_Text(pDX, IDC_CABIN2, m_nCabin2);
    DDX_Text(pDX, IDC_CABIN3, m_nCabin3);
    DDX_Text(pDX, IDC_HOLD2_PERCENT, m_nHold2Percent);
    DDX_Text(pDX, IDC_HOLD2_KG, m_nHold2Kg);
    DDX_Text(pDX, IDC_HOLD1_KG, m_nHold1Kg);
    DDX_Text(pDX, IDC_HOLD1_PERCENT, m_nHold1Percent);
    DDX_Text(pDX, IDC_BALANCE, m_strBalance);
    DDX_Text(pDX, IDC_EMPTY_WEIGHT, m_strEmptyWeight);
}

MessageMap CPayloadPage::GetMessageMap() const {
    // The page's paints reach OnPaint, which the window calls itself.
    static const MessageMapEntry kMessageMap[] = {
        OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN1, &CPayloadPage::OnCustomDrawCabin1),
        OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN2, &CPayloadPage::OnCustomDrawCabin2),
        OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN3, &CPayloadPage::OnCustomDrawCabin3),
        OnCommand(EN_KILLFOCUS, IDC_CABIN1, &CPayloadPage::OnKillFocusCabin1),
        OnCommand(EN_KILLFOCUS, IDC_CABIN2, &CPayloadPage::OnKillFocusCabin2),
        OnCommand(EN_KILLFOCUS, IDC_CABIN3, &CPayloadPage::OnKillFocusCabin3),
        OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_HOLD1, &CPayloadPage::OnCustomDrawHold1),
        OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_HOLD2, &CPayloadPage::OnCustomDrawHold2),
        OnCommand(EN_KILLFOCUS, IDC_HOLD1_PERCENT, &CPayloadPage::OnKillFocusHold1Percent),
        OnCommand(EN_KILLFOCUS, IDC_HOLD1_KG, &CPayloadPage::OnKillFocusHold1Kg),
        OnCommand(EN_KILLFOCUS, IDC_HOLD2_KG, &CPayloadPage::OnKillFocusHold2Kg),
        OnCommand(EN_KILLFOCUS, IDC_HOLD2_PERCENT, &CPayloadPage::OnKillFocusHold2Percent),
        OnCommand(EN_CHANGE, IDC_HOLD1_PERCENT, &CPayloadPage::OnChangeHold1Percent),
        OnCommand(EN_CHANGE, IDC_HOLD1_KG, &CPayloadPage::OnChangeHold1Kg),
        OnCommand(EN_CHANGE, IDC_HOLD2_KG, &CPayloadPage::OnChangeHold2Kg),
        OnCommand(EN_CHANGE, IDC_HOLD2_PERCENT, &CPayloadPage::OnChangeHold2Percent),
        OnCommand(BN_CLICKED, IDC_LOAD_PAYLOAD, &CPayloadPage::OnLoadPayload),
    };
    return kMessageMap;
}

bool CPayloadPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    // No position is set: every slider starts at 0, as the members do.
    m_sliderCabin1.SetRange(0, kCabin1Seats);
    m_sliderCabin1.SetTicFreq(2);
    m_sliderCabin2.SetRange(0, kCabin2Seats);
    m_sliderCabin2.SetTicFreq(5);
    m_sliderCabin3.SetRange(0, kCabin3Seats);
    m_sliderCabin3.SetTicFreq(2);
    m_sliderHold1.SetRange(0, g_nHold1Capacity);
    m_sliderHold1.SetTicFreq(100);
    m_sliderHold2.SetRange(0, g_nHold2Capacity);
    m_sliderHold2.SetTicFreq(100);
    return true;
}

void CPayloadPage::OnPaint() {
    if (IsIconic()) {
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        DrawIcon(x, y, m_hIcon);
        return;
    }
    // The maps go over the picture; the window paints the controls after this.
    DrawCabin1Seats(m_nCabin1);
    DrawCabin2Seats(m_nCabin2);
    DrawCabin3Seats(m_nCabin3);
}

void CPayloadPage::DrawCabin1Seats(int count) {
    DrawCabinSeats(1, count);
}
void CPayloadPage::DrawCabin2Seats(int count) {
    DrawCabinSeats(2, count);
}
void CPayloadPage::DrawCabin3Seats(int count) {
    DrawCabinSeats(3, count);
}

void CPayloadPage::DrawCabinSeats(int cabin, int count) {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    // Composed off-screen and copied whole, so that the map never shows half drawn. Only the
    // copied area reaches the page: cabin 3's map is wider than its panel. Drawn in the screen's
    // pixels, so that the squares stay sharp at every scale.
    const CabinSeatMap map = ScaleCabinSeatMap(layout, GetDpi());
    RgbImage bitmap;
    RenderCabinBitmap(layout, map, count, bitmap);
    BlitToClient(map.destX, map.destY, map.copyWidth, map.copyHeight, bitmap.pixels.data(),
                 bitmap.width);
}

// Cabins.

void CPayloadPage::TakeCabinReport(int cabin, const CSliderCtrl& slider) {
    ApplyCabinCount(cabin, slider.GetPos());
    DrawCabinSeats(cabin, CabinCount(cabin));
    UpdateData(false);
}

void CPayloadPage::MoveCabinSlider(int cabin, CSliderCtrl& slider) {
    // A refused field leaves the members as they were; the slider then goes back to its count.
    UpdateData(true);
    // The slider clamps the count into the cabin's seats, and its report puts that count in the
    // member, the summaries, the seat map and the field. The member is read again after it: it
    // holds the clamped count once the slider has reported.
    slider.SetPos(CabinCount(cabin));
    UpdatePassengerSummary();
    UpdateActualLoadSummary();
    DrawCabinSeats(cabin, CabinCount(cabin));
    UpdateData(false);
}

void CPayloadPage::OnCustomDrawCabin1(NMHDR*, LRESULT* pResult) {
    TakeCabinReport(1, m_sliderCabin1);
    *pResult = 0;
}

void CPayloadPage::OnCustomDrawCabin2(NMHDR*, LRESULT* pResult) {
    TakeCabinReport(2, m_sliderCabin2);
    *pResult = 0;
}

void CPayloadPage::OnCustomDrawCabin3(NMHDR*, LRESULT* pResult) {
    TakeCabinReport(3, m_sliderCabin3);
    *pResult = 0;
}

void CPayloadPage::OnKillFocusCabin1() {
    MoveCabinSlider(1, m_sliderCabin1);
}
void CPayloadPage::OnKillFocusCabin2() {
    MoveCabinSlider(2, m_sliderCabin2);
}
void CPayloadPage::OnKillFocusCabin3() {
    MoveCabinSlider(3, m_sliderCabin3);
}

// Holds.

void CPayloadPage::TakeHoldReport(int hold, const CSliderCtrl& slider) {
    ApplyHoldMass(hold, slider.GetPos());
    UpdateData(false);
}

bool CPayloadPage::TakeEditedField(bool& edited) {
    if (!edited)
        return false;
    edited = !UpdateData(true);
    return true;
}

void CPayloadPage::MoveHoldSliderToPercent(int hold, CSliderCtrl& slider) {
    // Beyond 0 to 100 % the slider ends at an end of its range anyway: an empty or a full hold.
    // Taken there first, a huge percentage cannot wrap around in the conversion to kg and empty a
    // hold that was asked to be full.
    int32_t& percent = hold == 1 ? m_nHold1Percent : m_nHold2Percent;
    percent = std::clamp(percent, 0, 100);
    slider.SetPos(HoldMassFromPercent(hold));
}

void CPayloadPage::OnCustomDrawHold1(NMHDR*, LRESULT* pResult) {
    TakeHoldReport(1, m_sliderHold1);
    *pResult = 0;
}

void CPayloadPage::OnCustomDrawHold2(NMHDR*, LRESULT* pResult) {
    TakeHoldReport(2, m_sliderHold2);
    *pResult = 0;
}

void CPayloadPage::OnKillFocusHold1Percent() {
    if (TakeEditedField(m_hold1PercentEdited))
        MoveHoldSliderToPercent(1, m_sliderHold1);
}
void CPayloadPage::OnKillFocusHold2Percent() {
    if (TakeEditedField(m_hold2PercentEdited))
        MoveHoldSliderToPercent(2, m_sliderHold2);
}

// The slider clamps the typed mass into the hold's capacity; its report sets the percentage.
void CPayloadPage::OnKillFocusHold1Kg() {
    if (TakeEditedField(m_hold1KgEdited))
        m_sliderHold1.SetPos(m_nHold1Kg);
}

void CPayloadPage::OnKillFocusHold2Kg() {
    if (TakeEditedField(m_hold2KgEdited))
        m_sliderHold2.SetPos(m_nHold2Kg);
}

namespace {

constexpr std::string_view kLoadedText = "Пассажиры и груз на борту";

} // namespace

bool CPayloadPage::HoldsUnwrittenValues() const {
    return m_written !=
           std::array<int32_t, 5>{m_nCabin1, m_nCabin2, m_nCabin3, m_nHold1Kg, m_nHold2Kg};
}

// The members are current: every field hands its number to its slider when it is left, and
// pressing the button leaves the field first.
void CPayloadPage::OnLoadPayload() {
    const std::array<int32_t, 5> loaded{m_nCabin1, m_nCabin2, m_nCabin3, m_nHold1Kg, m_nHold2Kg};
    if (m_pLoad != nullptr) {
        LoadPlan plan = m_pLoad->plan;
        plan.payload = loaded;
        const auto question = OverweightQuestion(m_pLoad->aircraft, plan);
        if (question && !AskYesNo(GetSafeHwnd(), *question, kCaptionWarning))
            return;
    }
    if (!ConfigRewriter().RewriteConfigFile(
            MakePayloadStationRules(m_nCabin1, m_nCabin2, m_nCabin3, m_nHold1Kg, m_nHold2Kg),
            kLoadedText, *this))
        return;
    m_written = loaded;
    // The file as it is now: stations 10 to 49 may have become lines of stations 1 to 4.
    if (m_pLoad != nullptr) {
        m_pLoad->Read(FileOps::System());
        UpdateActualLoadSummary();
        UpdateData(false);
    }
}
