#pragma once

#include "fuel/FuelPage.h"
#include "ui/PropertySheet.h"

#include <string_view>

// The loader sheet: the program's one window, a page per subsystem.
class CLoaderAppSheet : public CPropertySheet {
public:
    CLoaderAppSheet(std::string_view caption, CWnd* parent = nullptr, int selectPage = 0);

    // The payload page, "Пассажиры и груз", comes here, before the fuel page, as page 0:
    //     CPayloadPage m_payloadPage;
    CFuelPage m_fuelPage;
};

inline constexpr std::string_view kLoaderSheetCaption = "Загрузчик самолета Ил-18Д";
