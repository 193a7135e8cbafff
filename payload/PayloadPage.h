#pragma once

#include "payload/PayloadState.h"
#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/PropertyPage.h"

#include <array>
#include <cstdint>

// The payload page, "Пассажиры и груз": passengers of the three cabins, shown seat by seat over
// the picture of the aircraft, cargo of the two holds in kg and in percent, the summaries, and
// the button that loads them into Aircraft.cfg. The values are the page's own members
// (PayloadState); they keep their values while the sheet exists.
//
// The sliders lead. A number typed into a field is handed to the field's slider, which clamps it
// into its range; the slider's position report then sets the member, the summaries, the seat map
// and every field. So whatever is typed, what is shown, counted and written is a position of a
// slider: 0 to 22, 65 and 15 passengers, 0 to 2000 and 1500 kg.
class CPayloadPage : public CPropertyPage, public PayloadState {
public:
    enum { IDD = IDD_PAYLOAD_PAGE };

    CPayloadPage();
    ~CPayloadPage() override;

    CSliderCtrl m_sliderHold2;
    CSliderCtrl m_sliderHold1;
    CSliderCtrl m_sliderCabin3;
    CSliderCtrl m_sliderCabin2;
    CSliderCtrl m_sliderCabin1;
    // The program icon, shown in place of the page while the sheet is minimized. Shared with the
    // application; nullptr when there is no application object.
    HICON m_hIcon;

    // Whether the passengers or the cargo differ from those last written into Aircraft.cfg
    // (from the empty cabins and holds of the start when none were).
    bool HoldsUnwrittenValues() const;

    // Each draws the cabin's seat map for `count` passengers off-screen and copies it onto the
    // page in one block, over the cabin's white panel of the aircraft picture.
    void DrawCabin1Seats(int count);
    void DrawCabin2Seats(int count);
    void DrawCabin3Seats(int count);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    MessageMap GetMessageMap() const override;
    // The sliders' ranges (the seats of each cabin, the capacity of each hold) and ticks.
    bool OnInitDialog() override;
    // All three seat maps at every paint; the icon alone while the sheet is minimized.
    void OnPaint() override;

    // A cabin slider's report: the count from its position, the summaries, the seat map, every
    // field.
    void OnCustomDrawCabin1(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCustomDrawCabin2(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCustomDrawCabin3(NMHDR* pNMHDR, LRESULT* pResult);
    // A cabin field left: the typed count goes to the slider.
    void OnKillFocusCabin1();
    void OnKillFocusCabin2();
    void OnKillFocusCabin3();
    // A hold slider's report: the mass from its position, the percentage, the summaries, every
    // field.
    void OnCustomDrawHold1(NMHDR* pNMHDR, LRESULT* pResult);
    void OnCustomDrawHold2(NMHDR* pNMHDR, LRESULT* pResult);
    // A hold field left: the typed percentage, as a mass, or the typed mass goes to the slider.
    // A field left as it was changes nothing: the whole percent shown for 14 kg is 0.
    void OnKillFocusHold1Percent();
    void OnKillFocusHold1Kg();
    void OnKillFocusHold2Kg();
    void OnKillFocusHold2Percent();
    // The user changed a hold field's text.
    void OnChangeHold1Percent() { m_hold1PercentEdited = true; }
    void OnChangeHold1Kg() { m_hold1KgEdited = true; }
    void OnChangeHold2Kg() { m_hold2KgEdited = true; }
    void OnChangeHold2Percent() { m_hold2PercentEdited = true; }
    // "Загрузить": writes the passengers and the cargo into the payload stations of
    // Aircraft.cfg.
    void OnLoadPayload();

private:
    // Takes the fields into the members when the field's text was edited since it was last
    // left; false, changing nothing, when it was not. A refused text counts as still edited.
    bool TakeEditedField(bool& edited);
    void TakeCabinReport(int cabin, const CSliderCtrl& slider);
    void MoveCabinSlider(int cabin, CSliderCtrl& slider);
    void TakeHoldReport(int hold, const CSliderCtrl& slider);
    void MoveHoldSliderToPercent(int hold, CSliderCtrl& slider);
    void DrawCabinSeats(int cabin, int count);

    // The stations of the last write: three cabins' passengers, two holds' kg.
    std::array<int32_t, 5> m_written{};

    bool m_hold1PercentEdited = false;
    bool m_hold1KgEdited = false;
    bool m_hold2KgEdited = false;
    bool m_hold2PercentEdited = false;
};
