// Every text of both pages fits its control, measured in the font the backend draws it with.

#include "gui/GuiTest.h"
#include "res/DialogTemplates.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"

#include <memory>

namespace {

class PageTextFitTest : public GuiTest,
                        public ::testing::WithParamInterface<const DialogTemplate*> {};

TEST_P(PageTextFitTest, EveryTextFitsItsControl) {
    CPropertyPage page(GetParam()->id);
    CPropertySheet sheet("Страница");
    sheet.AddPage(&page);
    std::unique_ptr<PageDriver> driver = DriveSheet(sheet);
    ASSERT_NE(driver, nullptr);
    const auto& controls = GetParam()->controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& control = controls[i];
        const bool hasText = control.kind == ControlKind::Static ||
                             control.kind == ControlKind::GroupBox ||
                             control.kind == ControlKind::PushButton;
        if (!hasText || control.text.empty())
            continue;
        const TextFit fit = driver->MeasureText(i);
        EXPECT_LE(fit.width, fit.roomWidth) << "control " << i;
        EXPECT_LE(fit.height, fit.roomHeight) << "control " << i;
    }
    driver.reset();
    sheet.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Pages, PageTextFitTest,
                         ::testing::Values(&g_payloadPageTemplate, &g_fuelPageTemplate),
                         [](const auto& info) {
                             return info.param->id == 102 ? "Payload" : "Fuel";
                         });

} // namespace
