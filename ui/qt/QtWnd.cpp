// CWnd, the controls and the message box on Qt widgets.

#include "ui/Backend.h"
#include "ui/Controls.h"
#include "ui/DialogTemplate.h"
#include "ui/qt/QtWidgets.h"
#include "ui/qt/QtWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleFactory>

QFont DialogFont() {
    QFont font(QString::fromLatin1(kDialogFontFamily));
    font.setPixelSize(kDialogFontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int DpiOf(const QWidget& widget) {
    return qRound(widget.devicePixelRatioF() * kDefaultDpi);
}

void UseDialogFont() {
    QApplication::setFont(DialogFont());
}

void UseDesktopStyle() {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
}

int GetSystemMetrics(SystemMetric index) {
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

namespace {

QWidget* Child(NativeWindow* parent, int id) {
    if (parent == nullptr)
        return nullptr;
    return ToWidget(parent)->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

} // namespace

std::string CWnd::GetWindowText() const {
    QWidget* widget = ToWidget(m_hWnd);
    if (widget == nullptr)
        return {};
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        text = edit->text();
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        text = combo->currentText();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        text = group->title();
    else
        text = widget->windowTitle();
    return text.toStdString();
}

void CWnd::SetWindowText(std::string_view text) {
    QWidget* widget = ToWidget(m_hWnd);
    if (widget == nullptr)
        return;
    const QString value = ToQString(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // The same text again is no change: it is neither set nor repainted (every slider step
        // shows all the page's fields).
        if (edit->text() == value)
            return;
        // A programmatic change: textEdited, and so EN_CHANGE, stays silent.
        edit->setText(value);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(value);
    } else {
        widget->setWindowTitle(value);
    }
}

bool CWnd::IsIconic() const {
    QWidget* widget = ToWidget(m_hWnd);
    return widget != nullptr && widget->window()->isMinimized();
}

void CWnd::GetClientRect(CRect* rect) const {
    QWidget* widget = ToWidget(m_hWnd);
    *rect = widget != nullptr ? CRect{0, 0, widget->width(), widget->height()} : CRect{};
}

int CWnd::GetDpi() const {
    QWidget* widget = ToWidget(m_hWnd);
    return widget != nullptr ? DpiOf(*widget) : kDefaultDpi;
}

NativeWindow* CWnd::GetDlgItemHandle(int id) const {
    return ToHandle(Child(m_hWnd, id));
}

std::string CWnd::GetDlgItemText(int id) const {
    CWnd item;
    item.Attach(GetDlgItemHandle(id));
    return item.GetWindowText();
}

void CWnd::SetDlgItemText(int id, std::string_view text) {
    CWnd item;
    item.Attach(GetDlgItemHandle(id));
    item.SetWindowText(text);
}

void CWnd::GotoDlgCtrl(int id) {
    QWidget* widget = Child(m_hWnd, id);
    if (widget == nullptr)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
}

void ShowModalMessage(NativeWindow* owner, std::string_view text, std::string_view caption,
                      MessageIcon icon) {
    QWidget* parent = owner != nullptr ? ToWidget(owner)->window() : QApplication::activeWindow();
    QString body = ToQString(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(icon == MessageIcon::Stop ? QMessageBox::Critical : QMessageBox::Information,
                    ToQString(caption), body, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("ОК"));
    box.exec();
}

// The controls.

namespace {

QComboBox* Combo(NativeWindow* window) {
    return qobject_cast<QComboBox*>(ToWidget(window));
}
ReportingSlider* Slider(NativeWindow* window) {
    return dynamic_cast<ReportingSlider*>(ToWidget(window));
}

} // namespace

int CComboBox::GetCount() const {
    QComboBox* combo = Combo(m_hWnd);
    return combo != nullptr ? combo->count() : 0;
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = Combo(m_hWnd);
    return combo != nullptr && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

void CComboBox::GetLBText(int index, std::string& text) const {
    QComboBox* combo = Combo(m_hWnd);
    text = combo != nullptr && index >= 0 && index < combo->count()
               ? combo->itemText(index).toStdString()
               : std::string();
}

void CSliderCtrl::SetRange(int minimum, int maximum, bool redraw) {
    ReportingSlider* slider = Slider(m_hWnd);
    if (slider == nullptr)
        return;
    slider->SetRangeQuietly(minimum, maximum);
    if (redraw)
        slider->Report();
}

void CSliderCtrl::SetTicFreq(int frequency) {
    if (ReportingSlider* slider = Slider(m_hWnd))
        slider->setTickInterval(frequency);
}

int CSliderCtrl::GetPos() const {
    ReportingSlider* slider = Slider(m_hWnd);
    return slider != nullptr ? slider->value() : 0;
}

void CSliderCtrl::SetPos(int position) {
    ReportingSlider* slider = Slider(m_hWnd);
    if (slider == nullptr)
        return;
    {
        const QSignalBlocker quiet(slider);
        slider->setValue(position);
    }
    slider->Report();
}
