#include "ui/qt/QtWidgets.h"

#include "ui/PropertyPage.h"
#include "ui/qt/QtWindow.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <QWheelEvent>
#include <algorithm>
#include <qdrawutil.h>

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && onLeft)
        onLeft();
}

ReportingSlider::ReportingSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // Programmatic moves block the signal and report once themselves.
    connect(this, &QAbstractSlider::valueChanged, this, [this] { Report(); });
}

void ReportingSlider::SetRangeQuietly(int minimum, int maximum) {
    const QSignalBlocker quiet(this);
    setRange(minimum, maximum);
    setPageStep(std::max(1, (maximum - minimum) / 5));
}

void ReportingSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        triggerAction(SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        triggerAction(SliderPageStepAdd);
        break;
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QSlider::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ReportingSlider::mousePressEvent(QMouseEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || handle.contains(at)) {
        QSlider::mousePressEvent(event);
        return;
    }
    // A click anywhere beside the thumb moves it a page toward the click, and on while held.
    const SliderAction action =
        at.x() > handle.center().x() ? SliderPageStepAdd : SliderPageStepSub;
    setSliderDown(false);
    triggerAction(action);
    setRepeatAction(action);
    event->accept();
}

void ReportingSlider::mouseReleaseEvent(QMouseEvent* event) {
    setRepeatAction(SliderNoAction);
    QSlider::mouseReleaseEvent(event);
}

bool ClickWasRefused(const QAbstractButton* button) {
    return (button->focusPolicy() & Qt::ClickFocus) != 0 && !button->hasFocus();
}

void SunkenEdgeButton::paintEvent(QPaintEvent*) {
    constexpr int kEdge = 1;
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    painter.drawControl(QStyle::CE_PushButton, option);
    qDrawShadePanel(&painter, rect(), palette(), true, kEdge);
}

namespace {

// The one-pixel outline of `box`, its top edge left open over [gapLeft, gapRight). Filled rather
// than stroked, and without a clip: the cheapest way the raster engine draws it.
void FillOutline(QPainter& painter, const QRect& box, const QColor& color, int gapLeft,
                 int gapRight) {
    if (box.width() < 2 || box.height() < 2)
        return;
    const int end = box.right() + 1;
    const int openFrom = std::clamp(gapLeft, box.left(), end);
    const int openTo = std::clamp(gapRight, openFrom, end);
    if (openFrom > box.left())
        painter.fillRect(QRect(box.left(), box.top(), openFrom - box.left(), 1), color);
    if (openTo < end)
        painter.fillRect(QRect(openTo, box.top(), end - openTo, 1), color);
    painter.fillRect(QRect(box.left(), box.top() + 1, 1, box.height() - 2), color);
    painter.fillRect(QRect(box.right(), box.top() + 1, 1, box.height() - 2), color);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), color);
}

} // namespace

void EtchedGroupBox::paintEvent(QPaintEvent*) {
    // The title starts this far from the frame's left edge, with a gap either side of it.
    constexpr int kTitleIndent = 8;
    constexpr int kTitleGap = 2;
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QString text = title();
    QRect titleRect;
    if (!text.isEmpty()) {
        const QSize size = metrics.size(Qt::TextShowMnemonic, text);
        const int x = alignment() & Qt::AlignHCenter ? (width() - size.width()) / 2 : kTitleIndent;
        titleRect = QRect(QPoint(x, 0), size);
    }
    const int gapLeft = titleRect.isNull() ? 0 : titleRect.left() - kTitleGap;
    const int gapRight = titleRect.isNull() ? 0 : titleRect.right() + 1 + kTitleGap;
    // Sunken: the dark outline above and left of the light one, which shows below and right of
    // it. The top edge runs through the middle of the title's line.
    const QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
    const QRect dark = frame.adjusted(0, 0, -1, -1);
    FillOutline(painter, dark.translated(1, 1), palette().color(QPalette::Light), gapLeft,
                gapRight);
    FillOutline(painter, dark, palette().color(QPalette::Dark), gapLeft, gapRight);
    if (!titleRect.isNull())
        style()->drawItemText(&painter, titleRect,
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(),
                              isEnabled(), text, QPalette::WindowText);
}

PictureWidget::PictureWidget(QPixmap pixmap, QImage large, bool thinBorder, QWidget* parent)
    : QWidget(parent), m_pixmap(std::move(pixmap)), m_large(std::move(large)),
      m_thinBorder(thinBorder) {}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_pixmap.isNull()) {
        const QSize size = m_pixmap.deviceIndependentSize().toSize();
        // As the platform centres an image: the quotient truncated toward zero.
        const QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
        const qreal ratio = devicePixelRatioF();
        if (ratio == 1.0 || m_large.isNull()) {
            painter.drawPixmap(at, m_pixmap);
        } else {
            // Above 100 % the larger picture, scaled smoothly to the screen's pixels once per
            // scale.
            if (m_scaled.isNull() || m_scaled.devicePixelRatio() != ratio) {
                const int dpi = DpiOf(*this);
                m_scaled = QPixmap::fromImage(m_large.scaled(
                    MulDiv(size.width(), dpi, kDefaultDpi), MulDiv(size.height(), dpi, kDefaultDpi),
                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
                m_scaled.setDevicePixelRatio(ratio);
            }
            painter.drawPixmap(at, m_scaled);
        }
    }
    if (m_thinBorder) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

BlitOverlay::BlitOverlay(QWidget* page) : QWidget(page) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(page->rect());
}

void BlitOverlay::Cover(const QRect& area) {
    if (m_area.contains(area))
        return;
    const QRect covered = m_area.united(area);
    QImage image(covered.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!m_image.isNull()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(m_area.topLeft() - covered.topLeft(), m_image);
    }
    m_area = covered;
    m_image = std::move(image);
}

void BlitOverlay::Draw(int x, int y, const QImage& image) {
    // The overlay's own pixels are the screen's: m_area and m_image count them.
    const qreal ratio = devicePixelRatioF();
    const QRect pixels(QPoint(0, 0), (QSizeF(size()) * ratio).toSize());
    const QRect target = QRect(x, y, image.width(), image.height()).intersected(pixels);
    if (target.isEmpty())
        return;
    Cover(target);
    const QRect inImage = target.translated(-m_area.topLeft());
    QImage before = m_image.copy(inImage);
    {
        QPainter painter(&m_image);
        painter.drawImage(QPoint(x, y) - m_area.topLeft(), image);
    }
    if (m_image.copy(inImage) != before)
        update(QRectF(QPointF(target.topLeft()) / ratio, QSizeF(target.size()) / ratio)
                   .toAlignedRect());
}

void BlitOverlay::DrawIcon(int x, int y, const QImage& icon) {
    m_iconAt = QPoint(x, y);
    m_icon = icon;
    update(QRect(m_iconAt, m_icon.size()));
}

void BlitOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    // One image pixel to one pixel of the screen, never smoothed.
    if (ratio == 1.0) {
        const QRect shown = event->rect().intersected(m_area);
        if (!shown.isEmpty())
            painter.drawImage(shown, m_image, shown.translated(-m_area.topLeft()));
    } else if (!m_image.isNull()) {
        QImage onScreen = m_image;
        onScreen.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(m_area.topLeft()) / ratio, onScreen);
    }
    if (m_icon.isNull())
        return;
    if (window()->isMinimized())
        painter.drawImage(m_iconAt, m_icon);
    else
        m_icon = QImage();
}

PageWidget::PageWidget(CPropertyPage* page, QWidget* parent) : QWidget(parent), m_page(page) {}

PageWidget::~PageWidget() {
    if (m_page != nullptr)
        m_page->ForgetWindow();
    m_page = nullptr;
}

void PageWidget::Notify(unsigned code, int id) {
    if (m_page != nullptr)
        m_page->OnControlNotify(code, id);
}

void PageWidget::paintEvent(QPaintEvent*) {
    if (m_page != nullptr)
        m_page->OnPaint();
}

void PageWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    for (ReportingSlider* slider : findChildren<ReportingSlider*>(Qt::FindDirectChildrenOnly))
        slider->Report();
}

namespace {

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool PageWidget::PressDefaultButton() {
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
            // As a click would: the field being left hears of it before the button acts.
            button->setFocus(Qt::OtherFocusReason);
            if (button->hasFocus())
                button->click();
            return true;
        }
    }
    return false;
}

void PageWidget::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event) && PressDefaultButton()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PageWidget::WatchComboBox(QComboBox* combo) {
    combo->installEventFilter(this);
    if (combo->lineEdit() != nullptr)
        combo->lineEdit()->installEventFilter(this);
}

bool PageWidget::eventFilter(QObject* watched, QEvent* event) {
    // Qt's editable combo box would take Enter itself, choosing the entry that matches the text
    // typed; the platform's chooses none and leaves Enter to the page. An open list has the
    // keyboard itself and takes its highlighted entry.
    if (IsEnter(event) && qobject_cast<QLineEdit*>(watched) != nullptr)
        return PressDefaultButton();
    // The platform gives the wheel to the control with the focus only.
    if (event->type() == QEvent::Wheel) {
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo != nullptr && !combo->hasFocus()) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
