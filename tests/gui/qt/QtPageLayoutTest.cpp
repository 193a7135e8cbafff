#include "gui/GuiTest.h"
#include "res/DialogTemplates.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/qt/QtWindow.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>

namespace {

// Both pages of the program, built from their templates.
class TextFitTest : public GuiTest, public ::testing::WithParamInterface<const DialogTemplate*> {
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

TEST_P(TextFitTest, UsesThePinnedFont) {
    const QFontInfo font(m_window->font());
    EXPECT_EQ(font.family().toStdString(), kDialogFontFamily)
        << "the font is not installed: scripts/project.sh installs it";
    EXPECT_EQ(font.pixelSize(), kDialogFontPixelSize);
    EXPECT_LE(QFontMetrics(m_window->font()).height(), 13) << "a line must fit 8 dialog units";
}

TEST_P(TextFitTest, EveryStaticTextFitsItsRectangle) {
    const auto labels = m_window->findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    for (QLabel* label : labels) {
        const QFontMetrics metrics(label->font());
        const QRect needed =
            metrics.boundingRect(QRect(QPoint(0, 0), label->contentsRect().size()),
                                 Qt::TextWordWrap | int(label->alignment()), label->text());
        EXPECT_LE(needed.width(), label->contentsRect().width()) << label->text().toStdString();
        EXPECT_LE(needed.height(), label->contentsRect().height()) << label->text().toStdString();
    }
}

TEST_P(TextFitTest, EveryTitleFitsItsFrame) {
    for (QGroupBox* group : m_window->findChildren<QGroupBox*>()) {
        const int width = QFontMetrics(group->font()).horizontalAdvance(group->title());
        // The title leaves room for the frame's corners.
        EXPECT_LE(width + 16, group->width()) << group->title().toStdString();
    }
    for (QPushButton* button : m_window->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QSize text = QFontMetrics(button->font()).size(Qt::TextShowMnemonic, button->text());
        const QSize needed =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button);
        EXPECT_LE(needed.width(), button->width()) << button->text().toStdString();
        EXPECT_LE(text.height(), button->height()) << button->text().toStdString();
    }
}

TEST_P(TextFitTest, ControlsNeitherOverlapNorLeaveThePage) {
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

TEST_P(TextFitTest, FieldsShowTheirLongestNumbers) {
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

INSTANTIATE_TEST_SUITE_P(Pages, TextFitTest,
                         ::testing::Values(&g_payloadPageTemplate, &g_fuelPageTemplate),
                         [](const auto& info) {
                             return info.param->id == 102 ? "Payload" : "Fuel";
                         });

} // namespace
