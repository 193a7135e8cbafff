#pragma once

#include "fuel/FuelPage.h"
#include "payload/PayloadPage.h"
#include "ui/PropertySheet.h"

#include <string_view>

// The loader sheet: the program's one window, a page per subsystem.
class CLoaderAppSheet : public CPropertySheet {
public:
    CLoaderAppSheet(std::string_view caption, CWnd* parent = nullptr, int selectPage = 0);

    // A plan not written into Aircraft.cfg is not dropped without asking.
    bool CanClose() override;

    // The aircraft as its Aircraft.cfg describes it, read when the sheet is made, and the plan
    // that both pages feed: the payload page shows its figures.
    AircraftLoad m_load;
    CPayloadPage m_payloadPage; // page 0, "Пассажиры и груз"
    CFuelPage m_fuelPage;       // page 1, "Топливо"
};

inline constexpr std::string_view kLoaderSheetCaption = kApplicationTitle;
inline constexpr std::string_view kUnwrittenQuestion =
    "Изменения не записаны в Aircraft.cfg. Закрыть без записи?";
