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

// The payload page's template, without the page's code.
class TemplatePage : public CPropertyPage {
public:
    TemplatePage() : CPropertyPage(IDD_PAYLOAD_PAGE) {}
};

class QtDialogLayerTest : public PageOnItsOwnSheet<TemplatePage> {
protected:
    void SetUp() override { Show(); }
    QWidget* Page() { return ToWidget(m_page.GetSafeHwnd()); }
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
