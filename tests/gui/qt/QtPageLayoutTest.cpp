// How the Qt backend lays out both pages of the program, built from their templates: the font it
// pins, where the controls go, the room of the fields (whether each text fits its control is
// measured on every backend, in PageTextFitTest).

#include "gui/GuiTest.h"
#include "res/DialogTemplates.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/qt/QtWindow.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>

namespace {

// Both pages of the program, built from their templates.
class QtPageLayoutTest : public GuiTest,
                         public ::testing::WithParamInterface<const DialogTemplate*> {
protected:
    void SetUp() override {
        m_sheet.AddPage(&m_page);
        ASSERT_TRUE(m_sheet.Create());
        m_window = ToWidget(m_page.GetSafeHwnd());
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override {
        m_sheet.DestroyWindow();
        GuiTest::TearDown();
    }

    CPropertyPage m_page{GetParam()->id};
    CPropertySheet m_sheet{"Страница"};
    QWidget* m_window = nullptr;
};

TEST_P(QtPageLayoutTest, UsesThePinnedFont) {
    const QFontInfo font(m_window->font());
    EXPECT_EQ(font.family().toStdString(), kDialogFontFamily)
        << "the font is not installed: scripts/project.sh installs it";
    EXPECT_EQ(font.pixelSize(), kDialogFontPixelSize);
    EXPECT_LE(QFontMetrics(m_window->font()).height(), 13) << "a line must fit 8 dialog units";
}

TEST_P(QtPageLayoutTest, ControlsNeitherOverlapNorLeaveThePage) {
    std::vector<QWidget*> controls;
    for (QWidget* child : m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->objectName().isEmpty())
            controls.push_back(child);
    ASSERT_EQ(controls.size(), GetParam()->controls.size());
    for (QWidget* control : controls) {
        EXPECT_TRUE(m_window->rect().contains(control->geometry()))
            << control->objectName().toStdString();
        if (qobject_cast<QGroupBox*>(control) != nullptr)
            continue;
        for (QWidget* other : controls) {
            if (other == control || qobject_cast<QGroupBox*>(other) != nullptr)
                continue;
            EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                << control->objectName().toStdString() << " " << control->metaObject()->className()
                << " and " << other->objectName().toStdString() << " "
                << other->metaObject()->className();
        }
    }
}

TEST_P(QtPageLayoutTest, FieldsShowTheirLongestNumbers) {
    for (QLineEdit* edit : m_window->findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr)
            continue;
        // A tank quantity or a total with its six digits, or a hold's mass.
        const QString longest =
            edit->width() > 50 ? QStringLiteral("-14712.1") : QStringLiteral("100");
        const int room =
            edit->width() - 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
        EXPECT_LE(QFontMetrics(edit->font()).horizontalAdvance(longest), room)
            << edit->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, QtPageLayoutTest,
                         ::testing::Values(&g_payloadPageTemplate, &g_fuelPageTemplate),
                         [](const auto& info) {
                             return info.param->id == 102 ? "Payload" : "Fuel";
                         });

} // namespace
