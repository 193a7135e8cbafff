#pragma once

#include "fuel/FuelPlan.h"
#include "payload/LoadSheet.h"
#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/PropertyPage.h"

#include <string>
#include <vector>

// The fuel page, "Топливо": route figures in, trip fuel and its split over the tanks out, and
// the button that fuels the aircraft in Aircraft.cfg. The nine values of the plan are the
// page's own members (FuelPlan); they keep their values while the sheet exists.
class CFuelPage : public CPropertyPage, public FuelPlan {
public:
    enum { IDD = IDD_FUEL_PAGE };

    CFuelPage();

    CComboBox m_cbFlightLevel;
    CButton m_btnCalculate;

    // Whether the tanks calculated last would give other lines than those last written into
    // Aircraft.cfg (than the empty tanks of the start when nothing was written).
    bool HoldsUnwrittenValues() const { return m_unwritten; }

    // The aircraft and the plan of the sheet, when the page belongs to one: each split of a
    // total becomes the plan's fuel, and a fill over the maximum take-off mass is asked first.
    AircraftLoad* m_pLoad = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    MessageMap GetMessageMap() const override;

    // Takes the fields into the members: range and reserve at every change of their text, the
    // wind when its field is left, the level list at every confirmed choice.
    void OnFieldChanged();
    // Trip fuel for the selected level, split over the tanks, shown. A calculation that cannot
    // be made (no ground speed left) changes no field.
    void OnCalculateFuel();
    // A total typed by hand is split over the tanks as soon as its field is left.
    void OnKillFocusTotalFuel();
    // Writes the tank quantities into Aircraft.cfg.
    void OnFillFuel();

private:
    void NoteTanksSet();
    // The tanks as the page holds them now, which a fill would write.
    TankPlan Tanks() const;

    std::vector<std::string> m_writtenLines;
    bool m_unwritten = false;
};
