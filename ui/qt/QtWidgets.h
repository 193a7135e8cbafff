#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <functional>

class CPropertyPage;

// An edit field that tells when it has lost the focus to another control of its window (not
// when its window is deactivated or a popup opens, as for a message box: the focus comes back).
class FieldEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onLeft;

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A slider that reports its position after every change by the user and on request. It moves as
// the system's slider does: a page is a fifth of the range, and PageDown and Down move toward
// the maximum.
class ReportingSlider : public QSlider {
public:
    explicit ReportingSlider(QWidget* parent);
    std::function<void()> onReport;
    void Report() {
        if (onReport)
            onReport();
    }
    // Sets the range without a report, and the page that goes with it.
    void SetRangeQuietly(int minimum, int maximum);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Whether a click on the button was taken from it: a field being left refused its text and kept
// the focus for its message. Such a click presses nothing, as on the platform, whose message box
// takes the click.
bool ClickWasRefused(const QAbstractButton* button);

// A push button inside a sunken edge of one pixel.
class SunkenEdgeButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A group box as the platform draws one: an etched frame, a dark and a light line, whose top edge
// runs through the middle of the title, with the title over it (from the left, or centred) and
// the page showing behind the title.
class EtchedGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A bitmap centred in the control, clipped to it, with an optional one-pixel frame over its
// edge. Above 100 % it is drawn from `large`, the same picture at a higher resolution, when there
// is one.
class PictureWidget : public QWidget {
public:
    PictureWidget(QPixmap pixmap, QImage large, bool thinBorder, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
    QImage m_large;
    QPixmap m_scaled; // `large` at the last scale drawn
    bool m_thinBorder;
};

// What the page blits, kept above all its controls. It holds the pixels of the smallest rectangle
// around everything blitted so far, not of the whole page, in the screen's pixels (the widget's
// own times its device pixel ratio).
class BlitOverlay : public QWidget {
public:
    explicit BlitOverlay(QWidget* page);
    // Paints `image` at the screen's pixel (x, y) of the page; repaints only when a pixel changes.
    void Draw(int x, int y, const QImage& image);
    // Shows `icon` at (x, y) while the window is minimized; forgotten once it is shown again.
    void DrawIcon(int x, int y, const QImage& icon);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Makes m_image cover `area` of the page as well, keeping what it holds.
    void Cover(const QRect& area);

    QRect m_area; // of the page, that m_image holds
    QImage m_image;
    QPoint m_iconAt;
    QImage m_icon;
};

// The window of a CPropertyPage: routes its controls' notifications and its paints to the page,
// reports every slider when it is shown and presses the default button on Enter (also in a combo
// box's edit field, whose closed list takes no Enter and no wheel without the focus).
class PageWidget : public QWidget {
public:
    PageWidget(CPropertyPage* page, QWidget* parent);
    ~PageWidget() override;

    void Notify(unsigned code, int id);
    BlitOverlay* Overlay() const { return m_overlay; }
    void SetOverlay(BlitOverlay* overlay) { m_overlay = overlay; }
    void WatchComboBox(QComboBox* combo);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PressDefaultButton();

    CPropertyPage* m_page;
    BlitOverlay* m_overlay = nullptr;
};
