// The layer's windows as every backend must keep them: slider reports from sliders only, the
// modal sheet told from one shown before it, a sheet whose window went with its owner's.

#include "gui/GuiTest.h"
#include "res/resource.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"

#include <memory>
#include <vector>

namespace {

// The payload template, with a position report asked for of its button as well as of a slider.
class ReportPage : public CPropertyPage {
public:
    ReportPage() : CPropertyPage(IDD_PAYLOAD_PAGE) {}
    std::vector<int> reports; // the control ids

    MessageMap GetMessageMap() const override {
        static const MessageMapEntry kMap[] = {
            OnNotify(NM_CUSTOMDRAW, IDC_LOAD_PAYLOAD, &ReportPage::OnReport),
            OnNotify(NM_CUSTOMDRAW, IDC_SLIDER_CABIN1, &ReportPage::OnReport),
        };
        return kMap;
    }
    void OnReport(NMHDR* header, LRESULT*) { reports.push_back(static_cast<int>(header->idFrom)); }
};

TEST_F(GuiTest, OnlySlidersReportTheirPosition) {
    ReportPage page;
    CPropertySheet sheet("Отчеты");
    sheet.AddPage(&page);
    std::unique_ptr<PageDriver> driver = DriveSheet(sheet);
    ASSERT_NE(driver, nullptr);
    driver->Focus(IDC_LOAD_PAYLOAD);
    driver->Click(IDC_LOAD_PAYLOAD);
    driver->PressKey(IDC_SLIDER_CABIN1, DriverKey::Right, 1);
    EXPECT_FALSE(page.reports.empty());
    for (int id : page.reports)
        EXPECT_EQ(id, IDC_SLIDER_CABIN1);
    driver.reset();
    sheet.DestroyWindow();
}

TEST_F(GuiTest, ModalWaitActsOnTheModalSheetNotOnOneShownBefore) {
    CPropertyPage shownPage(IDD_FUEL_PAGE);
    CPropertySheet shown("Показан");
    shown.AddPage(&shownPage);
    std::unique_ptr<PageDriver> driver = DriveSheet(shown);
    ASSERT_NE(driver, nullptr);

    CPropertyPage modalPage(IDD_FUEL_PAGE);
    CPropertySheet modal("Модальный");
    modal.AddPage(&modalPage);
    std::string actedOn;
    WhenModal([&](PageDriver& modalDriver) {
        actedOn = modalDriver.ReadSheet().caption;
        modalDriver.ClickSheetButton("Отмена");
    });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    EXPECT_EQ(actedOn, "Модальный");
    EXPECT_TRUE(driver->ReadSheet().open);
    driver.reset();
    shown.DestroyWindow();
}

TEST_F(GuiTest, SheetWhoseWindowWentWithItsOwnersOpensAgain) {
    CPropertyPage ownerPage(IDD_FUEL_PAGE);
    CPropertySheet owner("Владелец");
    owner.AddPage(&ownerPage);
    ASSERT_TRUE(owner.Create());
    CPropertyPage ownedPage(IDD_FUEL_PAGE);
    CPropertySheet owned("Подчиненный", &owner);
    owned.AddPage(&ownedPage);
    ASSERT_TRUE(owned.Create());
    owner.DestroyWindow(); // and with it the owned sheet's window

    ASSERT_TRUE(owned.Create());
    std::unique_ptr<PageDriver> driver = DriveSheet(owned);
    ASSERT_NE(driver, nullptr);
    EXPECT_TRUE(driver->ReadSheet().open);
    EXPECT_EQ(driver->ReadSheet().caption, "Подчиненный");
    driver.reset();
    owned.DestroyWindow();
}

} // namespace
