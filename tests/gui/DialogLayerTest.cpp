#include "fuel/FuelPage.h"
#include "gui/GuiTest.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "ui/Controls.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/WinApp.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

// A page on the payload template that records what reaches its message map and paints.
class RecordingPage : public CPropertyPage {
public:
    RecordingPage() : CPropertyPage(IDD_PAYLOAD_PAGE) {}

    CSliderCtrl m_sliderCabin1;
    CSliderCtrl m_sliderCabin2;
    int m_nCabin1 = 0;
    int m_nCabin2 = 0;
    std::string m_strPassengers = "нет";
    std::vector<std::pair<int, int>> reports; // slider id, position
    int changes = 0;
    int paints = 0;
    std::vector<std::uint32_t> paintedPixels; // blitted at every paint when not empty

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_SLIDER_CABIN2, m_sliderCabin2);
        DDX_Control(pDX, IDC_SLIDER_CABIN1, m_sliderCabin1);
        DDX_Text(pDX, IDC_PASSENGERS, m_strPassengers);
        DDX_Text(pDX, IDC_CABIN1, m_nCabin1);
        DDX_Text(pDX, IDC_CABIN2, m_nCabin2);
    }
    MessageMap GetMessageMap() const override {
        static const MessageMapEntry kMap[] = {
            OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN1, &RecordingPage::OnCustomDrawCabin1),
            OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN2, &RecordingPage::OnCustomDrawCabin2),
            OnCommand(EN_KILLFOCUS, IDC_CABIN1, &RecordingPage::OnKillFocusCabin1),
            OnCommand(EN_CHANGE, IDC_CABIN2, &RecordingPage::OnChangeCabin2),
        };
        return kMap;
    }
    bool OnInitDialog() override {
        CPropertyPage::OnInitDialog();
        m_sliderCabin1.SetRange(0, 22);
        m_sliderCabin2.SetRange(0, 65);
        return true;
    }
    void OnPaint() override {
        ++paints;
        if (!paintedPixels.empty())
            BlitToClient(98, 42, 2, 2, paintedPixels.data(), 2);
    }

    void OnCustomDrawCabin1(NMHDR* header, LRESULT* result) {
        reports.emplace_back(header->idFrom, m_sliderCabin1.GetPos());
        *result = 0;
    }
    void OnCustomDrawCabin2(NMHDR* header, LRESULT*) {
        reports.emplace_back(header->idFrom, m_sliderCabin2.GetPos());
    }
    void OnKillFocusCabin1() {
        UpdateData(true);
        m_sliderCabin1.SetPos(m_nCabin1);
    }
    void OnChangeCabin2() {
        ++changes;
        UpdateData(true);
    }
};

using DialogLayerTest = PageOnItsOwnSheet<RecordingPage>;

TEST_F(DialogLayerTest, TabVisitsTheStopsInTemplateOrder) {
    Show();
    const std::vector<int> stops = {
        IDC_SLIDER_CABIN1, IDC_SLIDER_CABIN2, IDC_SLIDER_CABIN3, IDC_CABIN1,      IDC_CABIN2,
        IDC_CABIN3,        IDC_SLIDER_HOLD1,  IDC_HOLD1_PERCENT, IDC_HOLD1_KG,    IDC_SLIDER_HOLD2,
        IDC_HOLD2_PERCENT, IDC_HOLD2_KG,      IDC_PASSENGERS,    IDC_CARGO,       IDC_MAX_LOAD,
        IDC_ACTUAL_LOAD,   IDC_BALANCE,       IDC_LOAD_PAYLOAD,  IDC_EMPTY_WEIGHT};
    m_driver->Focus(stops.front());
    for (std::size_t i = 1; i < stops.size(); ++i) {
        m_driver->LeaveField();
        EXPECT_TRUE(m_driver->HasFocus(stops[i])) << "after " << stops[i - 1];
    }
}

TEST_F(DialogLayerTest, SlidersReportWhenShownAndAfterEverySetPos) {
    Show();
    // Shown: each slider in template order, after the ranges of OnInitDialog (no report).
    EXPECT_EQ(m_page.reports,
              (std::vector<std::pair<int, int>>{{IDC_SLIDER_CABIN1, 0}, {IDC_SLIDER_CABIN2, 0}}));
    m_page.reports.clear();
    m_page.m_sliderCabin1.SetPos(30);
    m_page.m_sliderCabin1.SetPos(22);
    m_page.m_sliderCabin2.SetPos(-4);
    m_page.m_sliderCabin2.SetRange(0, 65, true);
    m_page.m_sliderCabin2.SetRange(0, 10);
    EXPECT_EQ(m_page.reports, (std::vector<std::pair<int, int>>{{IDC_SLIDER_CABIN1, 22},
                                                                {IDC_SLIDER_CABIN1, 22},
                                                                {IDC_SLIDER_CABIN2, 0},
                                                                {IDC_SLIDER_CABIN2, 0}}));
}

TEST_F(DialogLayerTest, SliderReportsEveryMoveOfTheUser) {
    Show();
    m_page.reports.clear();
    m_driver->PressKey(IDC_SLIDER_CABIN1, DriverKey::Right, 1);
    m_driver->PressKey(IDC_SLIDER_CABIN1, DriverKey::End, 2);
    EXPECT_EQ(m_page.reports,
              (std::vector<std::pair<int, int>>{{IDC_SLIDER_CABIN1, 1}, {IDC_SLIDER_CABIN1, 22}}));
}

TEST_F(DialogLayerTest, TypedCountReachesTheSliderWhichReportsItClamped) {
    Show();
    m_page.reports.clear();
    m_driver->TypeInto(IDC_CABIN1, "30");
    m_driver->LeaveField();
    EXPECT_EQ(m_page.m_nCabin1, 30);
    EXPECT_EQ(m_page.reports, (std::vector<std::pair<int, int>>{{IDC_SLIDER_CABIN1, 22}}));
}

TEST_F(DialogLayerTest, ExchangeWritingAFieldNotifiesNothing) {
    Show();
    m_page.m_nCabin2 = 12;
    m_page.UpdateData(false);
    EXPECT_EQ(m_driver->Read(IDC_CABIN2), "12");
    EXPECT_EQ(m_page.changes, 0);
    m_driver->TypeInto(IDC_CABIN2, "7");
    EXPECT_EQ(m_page.changes, 1);
    EXPECT_EQ(m_page.m_nCabin2, 7);
}

TEST_F(DialogLayerTest, RefusedIntegerStopsTheExchange) {
    Show();
    m_page.m_nCabin2 = 5;                // its field still shows 0
    m_page.m_strPassengers = "изменено"; // its field still shows "нет"
    m_driver->TypeInto(IDC_CABIN1, "2147483648");
    m_driver->LeaveField();
    EXPECT_EQ(m_driver->TakeMessages(),
              (std::vector<SeenMessage>{
                  {"Загрузчик самолета Ил-18Д", "Введите целое число.", MessageIcon::Stop}}));
    EXPECT_TRUE(m_driver->HasFocus(IDC_CABIN1));
    EXPECT_EQ(m_page.m_nCabin1, 0);
    EXPECT_EQ(m_page.m_nCabin2, 5);
    // The texts before the refused field were taken.
    EXPECT_EQ(m_page.m_strPassengers, "нет");
}

TEST_F(DialogLayerTest, BlitLandsOnTopOfThePictureAtDevicePixels) {
    m_page.paintedPixels = {0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0xFF0000FFu};
    Show();
    const RgbImage picture = m_driver->Grab();
    ASSERT_EQ(picture.width, 645);
    ASSERT_EQ(picture.height, 374);
    EXPECT_GT(m_page.paints, 0);
    EXPECT_EQ(picture.Pixel(98, 42), 0xFF0000FFu);
    EXPECT_EQ(picture.Pixel(99, 42), 0xFFFFFFFFu);
    EXPECT_EQ(picture.Pixel(98, 43), 0xFF000000u);
    EXPECT_EQ(picture.Pixel(99, 43), 0xFF0000FFu);
    // A blit outside a paint stays there too, over the picture, until blitted over.
    const std::uint32_t green = 0xFF00FF00u;
    const std::uint32_t rows[] = {green, 0, 0, green}; // rows 3 pixels apart
    m_page.BlitToClient(300, 60, 1, 2, rows, 3);
    const RgbImage after = m_driver->Grab();
    ASSERT_EQ(after.width, 645);
    EXPECT_EQ(after.Pixel(300, 60), green);
    EXPECT_EQ(after.Pixel(300, 61), green);
    EXPECT_NE(after.Pixel(301, 60), green);
    EXPECT_EQ(after.Pixel(98, 42), 0xFF0000FFu);
}

TEST_F(DialogLayerTest, PageKnowsItsSizeAndThatItIsNotMinimized) {
    Show();
    CRect client;
    m_page.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 645);
    EXPECT_EQ(client.Height(), 374);
    EXPECT_FALSE(m_page.IsIconic());
}

TEST_F(DialogLayerTest, ControlsAreUnboundWhenThePageWindowGoes) {
    Show();
    EXPECT_NE(m_page.m_sliderCabin1.GetSafeHwnd(), nullptr);
    m_driver.reset();
    m_sheet.DestroyWindow();
    EXPECT_EQ(m_page.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_page.m_sliderCabin1.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_page.m_sliderCabin1.GetPos(), 0);
    EXPECT_FALSE(m_page.UpdateData(true));
}

TEST_F(GuiTest, PagesAreCreatedWhenFirstShownAndKeepTheirValues) {
    CPropertyPage first(IDD_PAYLOAD_PAGE);
    CFuelPage fuel;
    CPropertySheet sheet("Страницы");
    sheet.AddPage(&first);
    sheet.AddPage(&fuel);
    {
        std::unique_ptr<PageDriver> driving = DriveSheet(sheet);
        ASSERT_NE(driving, nullptr);
        PageDriver& driver = *driving;
        EXPECT_NE(first.GetSafeHwnd(), nullptr);
        EXPECT_EQ(fuel.GetSafeHwnd(), nullptr);
        ASSERT_TRUE(driver.ShowPage(1));
        ASSERT_NE(fuel.GetSafeHwnd(), nullptr);
        driver.TypeInto(IDC_RANGE, "1800");
        EXPECT_TRUE(driver.ShowPage(0));
        EXPECT_TRUE(driver.ShowPage(1));
        EXPECT_EQ(driver.Read(IDC_RANGE), "1800");
        EXPECT_EQ(fuel.m_fRange, 1800.0f);

        // A page whose field holds no number is not left.
        driver.TypeInto(IDC_RANGE, "x");
        EXPECT_FALSE(driver.ShowPage(0));
        EXPECT_EQ(driver.TakeMessages().size(), 2u);
        EXPECT_TRUE(driver.HasFocus(IDC_RANGE));
    }
    sheet.DestroyWindow();
}

TEST(Application, ProgramIconIsThereAtItsSize) {
    CWinApp app;
    EXPECT_STREQ(app.m_pszAppName, "Загрузчик самолета Ил-18Д");
    EXPECT_EQ(AfxGetApp(), &app);
    HICON icon = app.LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr) << "res/icon32.png is not embedded";
    EXPECT_EQ(app.LoadIcon(IDR_MAINFRAME), icon);
    EXPECT_EQ(app.LoadIcon(999), nullptr);
}

} // namespace
