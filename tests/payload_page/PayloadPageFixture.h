#pragma once

#include "app/LoaderAppSheet.h"
#include "gui/GuiTest.h"
#include "payload/RgbImage.h"
#include "payload/SeatMap.h"
#include "ui/WinApp.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every field of the payload page, in the order of the template.
inline const int kPayloadFields[] = {
    IDC_CABIN1,        IDC_CABIN2,   IDC_CABIN3,      IDC_HOLD1_PERCENT, IDC_HOLD1_KG,
    IDC_HOLD2_PERCENT, IDC_HOLD2_KG, IDC_PASSENGERS,  IDC_CARGO,         IDC_MAX_LOAD,
    IDC_ACTUAL_LOAD,   IDC_BALANCE,  IDC_EMPTY_WEIGHT};
// The fields a user types numbers into.
inline const int kNumberFields[] = {IDC_CABIN1,   IDC_CABIN2,        IDC_CABIN3,  IDC_HOLD1_PERCENT,
                                    IDC_HOLD1_KG, IDC_HOLD2_PERCENT, IDC_HOLD2_KG};

inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kBlack = 0xFF000000u;
inline constexpr uint32_t kBlue = 0xFF0000FFu;

inline const SeenMessage kNotAnInteger{"Загрузчик самолета Ил-18Д", "Введите целое число.",
                                       MessageIcon::Stop};
inline const SeenMessage kLoaded{"Сообщение", "Пассажиры и груз на борту",
                                 MessageIcon::Information};

// The loader's sheet on its first page, the payload page, with the application object the page
// takes its icon from. The payload totals are the program's: the test program's main() starts
// every case with them at zero.
class PayloadPageTest : public GuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    PageDriver& Driver() { return *m_driver; }

    // Types into the field and leaves it; an empty text clears the field.
    void Enter(int id, std::string_view text);
    // Clicks the sheet's tab of page `index`.
    void ShowPage(int index);
    // The texts of every field of the page.
    std::map<int, std::string> Fields();

    // The state of each seat of the cabin as the page shows it, in fill order; Absent for a
    // position without a seat, and Absent too for a cell that shows nothing a seat can look like
    // (then `odd` is set).
    std::vector<SeatCell> SeatsShown(const RgbImage& page, int cabin, bool* odd = nullptr) const;

    CWinApp m_app;
    CLoaderAppSheet m_sheet{kLoaderSheetCaption};
    CPayloadPage& m_page = m_sheet.m_payloadPage;
    std::unique_ptr<PageDriver> m_driver;
};
