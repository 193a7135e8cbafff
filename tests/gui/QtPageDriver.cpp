#include "gui/QtPageDriver.h"

#include "ui/qt/QtWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

namespace {

// Lets the windows finish what an action started, as the time between a user's actions does.
// A window system gives the activation back to the window under a closed message box; the
// offscreen platform does not, so it is done here.
void Settle(QWidget* window) {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    if (window->isVisible() && QApplication::activeModalWidget() == nullptr &&
        QApplication::activeWindow() != window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window, 1000)) << "the window never became active";
    }
}

QLineEdit* EditOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

} // namespace

QtPageDriver::QtPageDriver(QWidget* window, MessageBoxAnswerer& answerer)
    : m_window(window), m_answerer(answerer) {
    m_window->show();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window)) << "the window never became active";
    Settle(m_window);
}

QWidget* QtPageDriver::Control(int id) {
    auto* control = m_window->findChild<QWidget*>(QString::number(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

bool QtPageDriver::ShowPage(int index) {
    auto* tabs = m_window->findChild<QTabBar*>();
    if (tabs == nullptr || index >= tabs->count()) {
        ADD_FAILURE() << "the window has no tab " << index;
        return false;
    }
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    Settle(m_window);
    return tabs->currentIndex() == index;
}

void QtPageDriver::TypeInto(int id, std::string_view text) {
    QWidget* control = Control(id);
    QLineEdit* edit = EditOf(control);
    ASSERT_NE(edit, nullptr) << "control " << id << " is no field";
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    Settle(m_window);
    ASSERT_TRUE(edit->hasFocus()) << "control " << id << " did not take the focus";
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    // Key by key, as typed: every change notifies the page, and a refusal takes the focus
    // elsewhere for a moment; each key goes to the field that has the focus then.
    for (const QChar character : ToQString(text)) {
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : edit;
        QTest::keyClicks(target, QString(character));
        Settle(m_window);
    }
}

void QtPageDriver::LeaveField() {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "no control has the focus";
    QTest::keyClick(focused, Qt::Key_Tab);
    Settle(m_window);
}

void QtPageDriver::Click(int id) {
    QWidget* control = Control(id);
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    Settle(m_window);
}

void QtPageDriver::PressEnter() {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "no control has the focus";
    QTest::keyClick(focused, Qt::Key_Return);
    Settle(m_window);
}

void QtPageDriver::ChooseEntry(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(Control(id));
    ASSERT_NE(combo, nullptr) << "control " << id << " is no combo box";
    ASSERT_LT(index, combo->count());
    combo->setFocus(Qt::MouseFocusReason);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(WaitFor([list] { return list->isVisible(); })) << "the list never opened";
    const QRect entry = list->visualRect(combo->model()->index(index, 0));
    QTest::mouseMove(list->viewport(), entry.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_TRUE(WaitFor([list] { return !list->isVisible(); })) << "the list stayed open";
    Settle(m_window);
}

std::string QtPageDriver::Read(int id) {
    QWidget* control = Control(id);
    if (QLineEdit* edit = EditOf(control))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text().toStdString();
    return {};
}

bool QtPageDriver::HasFocus(int id) {
    QWidget* control = Control(id);
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && (focused == control || focused == EditOf(control));
}

bool QtPageDriver::SavePicture(const std::filesystem::path& file) {
    return m_window->grab().save(QString::fromStdString(file.string()), "PNG");
}
