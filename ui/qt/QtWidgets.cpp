#include "ui/qt/QtWidgets.h"

#include "ui/PropertyPage.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
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

void SunkenEdgeButton::paintEvent(QPaintEvent*) {
    constexpr int kEdge = 1;
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = rect().adjusted(kEdge, kEdge, -kEdge, -kEdge);
    painter.drawControl(QStyle::CE_PushButton, option);
    qDrawShadePanel(&painter, rect(), palette(), true, kEdge);
}

PictureWidget::PictureWidget(QPixmap pixmap, bool thinBorder, QWidget* parent)
    : QWidget(parent), m_pixmap(std::move(pixmap)), m_thinBorder(thinBorder) {}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_pixmap.isNull()) {
        const QSize size = m_pixmap.deviceIndependentSize().toSize();
        // As the platform centres an image: the quotient truncated toward zero.
        painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, m_pixmap);
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
    m_image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
}

void BlitOverlay::Draw(int x, int y, const QImage& image) {
    const QRect target = QRect(x, y, image.width(), image.height()).intersected(m_image.rect());
    if (target.isEmpty())
        return;
    QImage before = m_image.copy(target);
    {
        QPainter painter(&m_image);
        painter.drawImage(QPoint(x, y), image);
    }
    if (m_image.copy(target) != before)
        update(target);
}

void BlitOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // One image pixel to one page pixel, never smoothed.
    painter.drawImage(event->rect(), m_image, event->rect());
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

void PageWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
            if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                // As a click would: the field being left hears of it before the button acts.
                button->setFocus(Qt::OtherFocusReason);
                button->click();
                event->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}
