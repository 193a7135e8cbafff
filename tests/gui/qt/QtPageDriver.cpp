#include "gui/qt/QtPageDriver.h"

#include "gui/GuiTest.h"
#include "ui/DialogTemplate.h"
#include "ui/qt/QtWidgets.h"
#include "ui/qt/QtWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

namespace {

// How long a window may take to become active on a loaded machine, in ms; the wait ends as soon
// as it is.
constexpr int kWindowWait = 10000;

// Lets the windows finish what an action started, as the time between a user's actions does.
// A window system gives the activation back to the window under a closed message box; the
// offscreen platform does not, so it is done here (the window may be modal itself, as a sheet's
// DoModal makes it).
void Settle(QWidget* window) {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QWidget* modal = QApplication::activeModalWidget();
    if (window->isVisible() && (modal == nullptr || modal == window) &&
        QApplication::activeWindow() != window) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window, kWindowWait))
            << "the window never became active";
    }
}

QLineEdit* EditOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

Qt::Key QtKey(DriverKey key) {
    switch (key) {
    case DriverKey::Left:
        return Qt::Key_Left;
    case DriverKey::Right:
        return Qt::Key_Right;
    case DriverKey::Home:
        return Qt::Key_Home;
    case DriverKey::End:
        return Qt::Key_End;
    case DriverKey::PageUp:
        return Qt::Key_PageUp;
    case DriverKey::PageDown:
        return Qt::Key_PageDown;
    case DriverKey::Escape:
        return Qt::Key_Escape;
    case DriverKey::Up:
        return Qt::Key_Up;
    case DriverKey::Down:
        return Qt::Key_Down;
    case DriverKey::F4:
        return Qt::Key_F4;
    }
    return Qt::Key_unknown;
}

// Each character of the text as the keyboard delivers it, a code point at a time.
QStringList Characters(std::string_view text) {
    QStringList characters;
    for (const char32_t point : ToQString(text).toUcs4())
        characters << QString::fromUcs4(&point, 1);
    return characters;
}

// Where a key goes: to the focus, or to an open list, which has the keyboard.
QWidget* KeyboardTarget() {
    QWidget* popup = QApplication::activePopupWidget();
    return popup != nullptr && popup->focusWidget() != nullptr ? popup->focusWidget()
                                                               : QApplication::focusWidget();
}

} // namespace

QtPageDriver::QtPageDriver(QWidget* window, MessageAnswerer& answerer)
    : m_window(window), m_answerer(answerer) {
    m_window->show();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window, kWindowWait))
        << "the window never became active";
    Settle(m_window);
}

NativeWindow* QtPageDriver::Window() const {
    return ToHandle(m_window);
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
    QLineEdit* edit = EditOf(Control(id));
    ASSERT_NE(edit, nullptr) << "control " << id << " is no field";
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    Settle(m_window);
    ASSERT_TRUE(edit->hasFocus()) << "control " << id << " did not take the focus";
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.empty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
        Settle(m_window);
        return;
    }
    // Each key goes to the field that has the focus then.
    for (const QString& character : Characters(text)) {
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : edit;
        if (character.size() == 1 && character[0].unicode() < 0x80) {
            QTest::keyClicks(target, character);
        } else {
            // QTest names a key by its ASCII character only; any other character comes as the
            // text of a key event that names no key, as a keyboard layout delivers it.
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, character, Qt::NoModifier);
        }
        Settle(m_window);
    }
}

void QtPageDriver::LeaveField() {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "no control has the focus";
    QTest::keyClick(focused, Qt::Key_Tab);
    Settle(m_window);
}

void QtPageDriver::Focus(int id) {
    QWidget* control = Control(id);
    ASSERT_NE(control, nullptr);
    if (!HasFocus(id))
        control->setFocus(Qt::TabFocusReason);
    Settle(m_window);
}

void QtPageDriver::Click(int id) {
    QWidget* control = Control(id);
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    Settle(m_window);
}

void QtPageDriver::PressEnter() {
    QWidget* focused = KeyboardTarget();
    ASSERT_NE(focused, nullptr) << "no control has the focus";
    QTest::keyClick(focused, Qt::Key_Return);
    Settle(m_window);
}

void QtPageDriver::PressKey(int id, DriverKey key, int times) {
    if (id != kFocusedControl)
        Focus(id);
    for (int i = 0; i < times; ++i) {
        QWidget* focused = KeyboardTarget();
        ASSERT_NE(focused, nullptr) << "no control has the focus";
        QTest::keyClick(focused, QtKey(key));
        Settle(m_window);
    }
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

void QtPageDriver::TurnWheel(int id, int notches) {
    QWidget* control = Control(id);
    ASSERT_NE(control, nullptr);
    // The window system gives a wheel event to the widget under the pointer.
    const QPointF at = QRectF(control->rect()).center();
    QWheelEvent wheel(at, control->mapToGlobal(at), QPoint(), QPoint(0, notches * 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(control, &wheel);
    Settle(m_window);
}

void QtPageDriver::Minimize(bool minimized) {
    if (minimized) {
        m_window->showMinimized();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return;
    }
    m_window->showNormal();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window, kWindowWait))
        << "the window never became active";
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

TextFit QtPageDriver::MeasureText(std::size_t index) {
    auto* tabs = m_window->findChild<QTabWidget*>();
    QWidget* holder = tabs != nullptr ? tabs->currentWidget() : nullptr;
    auto* page = holder != nullptr
                     ? holder->findChild<PageWidget*>(QString(), Qt::FindDirectChildrenOnly)
                     : nullptr;
    const DialogTemplate* dialog =
        page != nullptr ? FindDialogTemplate(page->objectName().toInt()) : nullptr;
    if (dialog == nullptr || index >= dialog->controls.size()) {
        ADD_FAILURE() << "the page has no control " << index;
        return {};
    }
    // The control at the template's place (the page's children are in stacking order, not in
    // template order).
    const ControlTemplate& wanted = dialog->controls[index];
    const PixelRect rect = DialogUnitsToPixels(wanted.x, wanted.y, wanted.w, wanted.h);
    QWidget* control = nullptr;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->geometry() == QRect(rect.x, rect.y, rect.w, rect.h) &&
            child->objectName() == QString::number(wanted.id))
            control = child;
    if (control == nullptr) {
        ADD_FAILURE() << "the page has no control " << index;
        return {};
    }
    const QFontMetrics metrics(control->font());
    if (auto* label = qobject_cast<QLabel*>(control)) {
        const QRect room = label->contentsRect();
        const QRect needed =
            metrics.boundingRect(QRect(QPoint(0, 0), room.size()),
                                 Qt::TextWordWrap | int(label->alignment()), label->text());
        return {needed.width(), needed.height(), room.width(), room.height()};
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        // One line, within the margins the edit keeps (2 pixels either side).
        const QRect room = edit->contentsRect().marginsRemoved(edit->textMargins());
        return {metrics.horizontalAdvance(edit->text()), metrics.height(), room.width() - 4,
                room.height()};
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        // The title keeps 8 pixels from either corner of the frame.
        return {metrics.horizontalAdvance(group->title()), metrics.height(), group->width() - 16,
                group->height()};
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
        const QSize needed =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, text, button);
        return {needed.width(), text.height(), button->width(), button->height()};
    }
    ADD_FAILURE() << "control " << index << " shows no text of its own";
    return {};
}

SliderView QtPageDriver::ReadSlider(int id) {
    auto* slider = qobject_cast<QSlider*>(Control(id));
    if (slider == nullptr) {
        ADD_FAILURE() << "control " << id << " is no slider";
        return {};
    }
    const int ticks = slider->tickPosition() == QSlider::NoTicks ? 0 : slider->tickInterval();
    return {slider->minimum(), slider->maximum(), slider->value(), ticks};
}

bool QtPageDriver::HasFocus(int id) {
    QWidget* control = Control(id);
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && (focused == control || focused == EditOf(control));
}

SheetView QtPageDriver::ReadSheet() {
    SheetView sheet;
    sheet.caption = m_window->windowTitle().toStdString();
    if (auto* tabs = m_window->findChild<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            sheet.pageTitles.push_back(tabs->tabText(i).toStdString());
        sheet.currentPage = tabs->currentIndex();
    }
    sheet.open = m_window->isVisible();
    if (auto* box = m_window->findChild<QDialogButtonBox*>())
        for (QAbstractButton* button : box->buttons())
            sheet.buttons.push_back(
                {button->text().remove(QLatin1Char('&')).toStdString(), button->isEnabled()});
    return sheet;
}

void QtPageDriver::ClickSheetButton(std::string_view text) {
    auto* box = m_window->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr) << "the window has no buttons of its own";
    for (QAbstractButton* button : box->buttons()) {
        if (button->text().remove(QLatin1Char('&')) == ToQString(text)) {
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            Settle(m_window);
            return;
        }
    }
    ADD_FAILURE() << "the window has no button \"" << text << '"';
}

void QtPageDriver::CloseWindow() {
    m_window->close();
    Settle(m_window);
}

RgbImage QtPageDriver::Grab() {
    auto* tabs = m_window->findChild<QTabWidget*>();
    QWidget* holder = tabs != nullptr ? tabs->currentWidget() : nullptr;
    PageWidget* page = holder != nullptr
                           ? holder->findChild<PageWidget*>(QString(), Qt::FindDirectChildrenOnly)
                           : nullptr;
    if (page == nullptr) {
        ADD_FAILURE() << "the window shows no page";
        return {};
    }
    // From the whole window, so that what lies behind the page (the tab's pane) shows too.
    QImage image = m_window->grab(QRect(page->mapTo(m_window, QPoint(0, 0)), page->size()))
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
    if (image.size() != page->size() * page->devicePixelRatioF()) {
        ADD_FAILURE() << "the page is not grabbed at one image pixel a pixel of the screen";
        return {};
    }
    RgbImage picture(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        std::copy(row, row + image.width(),
                  picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width());
    }
    return picture;
}

bool QtPageDriver::SavePicture(const std::filesystem::path& file) {
    return m_window->grab().save(QString::fromStdString(file.string()), "PNG");
}
