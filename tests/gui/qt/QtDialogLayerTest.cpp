// How the Qt backend builds a page's widgets and follows its window.

#include "gui/GuiTest.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/qt/QtWidgets.h"
#include "ui/qt/QtWindow.h"

#include <QWidget>
#include <memory>

namespace {

class QtDialogLayerTest : public GuiTest {
protected:
    void SetUp() override {
        m_sheet.AddPage(&m_page);
        m_driver = DriveSheet(m_sheet);
        ASSERT_NE(m_driver, nullptr);
    }
    void TearDown() override {
        m_driver.reset();
        m_sheet.DestroyWindow();
        GuiTest::TearDown();
    }
    QWidget* Page() { return ToWidget(m_page.GetSafeHwnd()); }

    CPropertyPage m_page{IDD_PAYLOAD_PAGE};
    CPropertySheet m_sheet{"Страница"};
    std::unique_ptr<PageDriver> m_driver;
};

TEST_F(QtDialogLayerTest, BuildsEveryControlOfTheTemplateWhereTheTemplatePutsIt) {
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->size(), QSize(645, 374));
    for (const ControlTemplate& control : g_payloadPageTemplate.controls) {
        if (control.id == kNoControlId)
            continue;
        auto* widget = Page()->findChild<QWidget*>(QString::number(control.id));
        ASSERT_NE(widget, nullptr) << control.id;
        const PixelRect rect = DialogUnitsToPixels(control.x, control.y, control.w, control.h);
        EXPECT_EQ(widget->geometry(), QRect(rect.x, rect.y, rect.w, rect.h)) << control.id;
    }
    QWidget* picture = nullptr;
    for (QWidget* child : Page()->findChildren<QWidget*>(QString::number(kNoControlId)))
        if (dynamic_cast<PictureWidget*>(child) != nullptr)
            picture = child;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(9, 8, 627, 119));
}

TEST_F(QtDialogLayerTest, PageKnowsWhenItsWindowIsMinimized) {
    EXPECT_FALSE(m_page.IsIconic());
    ToWidget(m_sheet.GetSafeHwnd())->showMinimized();
    EXPECT_TRUE(m_page.IsIconic());
    ToWidget(m_sheet.GetSafeHwnd())->showNormal();
    EXPECT_FALSE(m_page.IsIconic());
}

} // namespace
