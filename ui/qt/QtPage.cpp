// Property pages on Qt widgets: the controls of a dialog template, the notifications, the blits.

#include "ui/PropertyPage.h"
#include "ui/Resources.h"
#include "ui/qt/QtResources.h"
#include "ui/qt/QtWidgets.h"
#include "ui/qt/QtWindow.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <vector>

namespace {

QLabel* MakeStatic(const ControlTemplate& control, QWidget* page) {
    auto* label = new QLabel(ToQString(control.text), page);
    label->setTextFormat(Qt::PlainText);
    // The platform's static text breaks lines at blanks and starts at the top. A label paints no
    // background of its own, so every static shows the page beneath, transparent or not.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop |
                        (control.Has(kStyleCentered) ? Qt::AlignHCenter : Qt::AlignLeft));
    return label;
}

QGroupBox* MakeGroupBox(const ControlTemplate& control, QWidget* page) {
    auto* group = new EtchedGroupBox(ToQString(control.text), page);
    if (control.Has(kStyleCentered))
        group->setAlignment(Qt::AlignHCenter);
    // A frame only: clicks reach the controls it frames, as the platform's group box lets them.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    return group;
}

FieldEdit* MakeEdit(const ControlTemplate& control, PageWidget* page) {
    auto* edit = new FieldEdit(page);
    if (control.Has(kStyleReadOnly)) {
        edit->setReadOnly(true);
        // Read-only fields show the page behind them, as they do on the platform (a tab page is
        // lighter than the dialog around it).
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        edit->setPalette(palette);
    }
    if (control.Has(kStyleNoBorder))
        edit->setFrame(false);
    const int id = control.id;
    edit->onLeft = [page, id] { page->Notify(EN_KILLFOCUS, id); };
    QObject::connect(edit, &QLineEdit::textEdited, page,
                     [page, id] { page->Notify(EN_CHANGE, id); });
    return edit;
}

QComboBox* MakeComboBox(const ControlTemplate& control, PageWidget* page) {
    auto* combo = new QComboBox(page);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (std::string_view item : control.items)
        combo->addItem(ToQString(item));
    combo->setCurrentIndex(-1);
    page->WatchComboBox(combo);
    const int id = control.id;
    QObject::connect(combo, &QComboBox::activated, page,
                     [page, id] { page->Notify(CBN_SELENDOK, id); });
    // Typing selects no entry: text that is not the selected entry's leaves none selected, and
    // text that matches an entry does not choose it when the field is left (Qt's combo box would).
    QLineEdit* edit = combo->lineEdit();
    QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
    QObject::connect(edit, &QLineEdit::textEdited, combo, [combo, edit](const QString& text) {
        const int selected = combo->currentIndex();
        if (selected < 0 || combo->itemText(selected) == text)
            return;
        const int cursor = edit->cursorPosition();
        {
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(-1);
        }
        edit->setText(text);
        edit->setCursorPosition(cursor);
    });
    return combo;
}

QPushButton* MakePushButton(const ControlTemplate& control, PageWidget* page) {
    QPushButton* button = control.Has(kStyleSunkenEdge)
                              ? new SunkenEdgeButton(ToQString(control.text), page)
                              : new QPushButton(ToQString(control.text), page);
    if (control.Has(kStyleDefault))
        button->setDefault(true);
    const int id = control.id;
    // A click whose focus change a field refused (it kept the focus for its message) presses
    // nothing, as the click that a message box takes does on the platform.
    QObject::connect(button, &QPushButton::clicked, page, [page, button, id] {
        if (!ClickWasRefused(button))
            page->Notify(BN_CLICKED, id);
    });
    return button;
}

ReportingSlider* MakeSlider(const ControlTemplate& control, PageWidget* page) {
    auto* slider = new ReportingSlider(page);
    // The platform's slider: 0 to 100, a tick at every step until told otherwise.
    slider->SetRangeQuietly(0, 100);
    slider->setTickInterval(1);
    slider->setTickPosition(control.Has(kStyleTicksOnTop) ? QSlider::TicksAbove
                                                          : QSlider::TicksBelow);
    const int id = control.id;
    slider->onReport = [page, id] { page->Notify(NM_CUSTOMDRAW, id); };
    return slider;
}

QWidget* MakeControl(const ControlTemplate& control, PageWidget* page) {
    switch (control.kind) {
    case ControlKind::Static:
        return MakeStatic(control, page);
    case ControlKind::GroupBox:
        return MakeGroupBox(control, page);
    case ControlKind::Edit:
        return MakeEdit(control, page);
    case ControlKind::ComboBox:
        return MakeComboBox(control, page);
    case ControlKind::PushButton:
        return MakePushButton(control, page);
    case ControlKind::Slider:
        return MakeSlider(control, page);
    case ControlKind::Picture:
        return new PictureWidget(LoadBitmapResource(control.image),
                                 LoadBitmapResource(LargeBitmap(control.image)).toImage(),
                                 control.Has(kStyleThinBorder), page);
    }
    return nullptr;
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::ComboBox ||
           kind == ControlKind::PushButton || kind == ControlKind::Slider;
}

void PlaceControl(const ControlTemplate& control, QWidget* widget) {
    const PixelRect rect = DialogUnitsToPixels(control.x, control.y, control.w, control.h);
    int height = rect.h;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The template's height includes the open list; the closed box is as high as the style
        // makes it, and the list shows as many entries as the rest of that height holds.
        height = std::min(rect.h, combo->sizeHint().height());
        const int entryHeight = QFontMetrics(combo->font()).height() + 2;
        combo->setMaxVisibleItems(std::max(1, (rect.h - height) / entryHeight));
    }
    widget->setGeometry(rect.x, rect.y, rect.w, height);
}

} // namespace

bool CPropertyPage::Create(NativeWindow* parent) {
    if (m_hWnd != nullptr)
        return true;
    if (m_template == nullptr)
        return false;
    auto* page = new PageWidget(this, ToWidget(parent));
    page->setObjectName(QString::number(m_template->id));
    page->setFont(DialogFont());
    const PixelRect size = DialogUnitsToPixels(0, 0, m_template->w, m_template->h);
    page->setFixedSize(size.w, size.h);

    std::vector<QWidget*> groupBoxes;
    QWidget* previousStop = nullptr;
    for (const ControlTemplate& control : m_template->controls) {
        QWidget* widget = MakeControl(control, page);
        widget->setObjectName(QString::number(control.id));
        PlaceControl(control, widget);
        if (!TakesFocus(control.kind)) {
            widget->setFocusPolicy(Qt::NoFocus);
        } else {
            if (previousStop != nullptr)
                QWidget::setTabOrder(previousStop, widget);
            previousStop = widget;
        }
        if (control.kind == ControlKind::GroupBox)
            groupBoxes.push_back(widget);
    }
    // A group box never covers a control, whatever its place in the template.
    for (QWidget* group : groupBoxes)
        group->lower();
    auto* overlay = new BlitOverlay(page);
    overlay->raise();
    page->SetOverlay(overlay);

    m_hWnd = ToHandle(page);
    OnInitDialog();
    page->show();
    return true;
}

void CPropertyPage::DestroyWindow() {
    // The window's destructor unbinds the controls and forgets the window (ForgetWindow).
    delete ToWidget(m_hWnd);
}

namespace {

BlitOverlay* OverlayOf(NativeWindow* page) {
    auto* widget = static_cast<PageWidget*>(ToWidget(page));
    return widget != nullptr ? widget->Overlay() : nullptr;
}

} // namespace

void CPropertyPage::BlitToClient(int x, int y, int w, int h, const std::uint32_t* pixels,
                                 int stride) {
    BlitOverlay* overlay = OverlayOf(m_hWnd);
    if (overlay == nullptr || pixels == nullptr || w <= 0 || h <= 0 || stride < w)
        return;
    const QImage image(reinterpret_cast<const uchar*>(pixels), w, h,
                       static_cast<qsizetype>(stride) * 4, QImage::Format_RGB32);
    overlay->Draw(x, y, image);
}

void CPropertyPage::DrawIcon(int x, int y, HICON icon) {
    BlitOverlay* overlay = OverlayOf(m_hWnd);
    const QIcon* qicon = FromIconHandle(icon);
    if (overlay == nullptr || qicon == nullptr)
        return;
    const int size = GetSystemMetrics(SM_CXICON);
    overlay->DrawIcon(x, y, qicon->pixmap(size, size).toImage());
}
