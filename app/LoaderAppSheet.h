#pragma once

#include "fuel/FuelPage.h"
#include "payload/PayloadPage.h"
#include "ui/PropertySheet.h"

#include <string_view>

// The loader sheet: the program's one window, a page per subsystem.
class CLoaderAppSheet : public CPropertySheet {
public:
    CLoaderAppSheet(std::string_view caption, CWnd* parent = nullptr, int selectPage = 0);

    CPayloadPage m_payloadPage; // page 0, "Пассажиры и груз"
    CFuelPage m_fuelPage;       // page 1, "Топливо"
};

inline constexpr std::string_view kLoaderSheetCaption = "Загрузчик самолета Ил-18Д";
