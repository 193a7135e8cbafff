#include "PayloadPageFixture.h"

#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QTest>
#include <algorithm>

void PayloadPageTest::SetUp() {
    ResetPayloadTotals();
    m_driver.reset(static_cast<QtPageDriver*>(DriveSheet(m_sheet).release()));
    ASSERT_NE(m_driver, nullptr);
}

void PayloadPageTest::TearDown() {
    m_driver.reset();
    m_sheet.DestroyWindow();
    GuiTest::TearDown();
    ResetPayloadTotals();
}

QWidget* PayloadPageTest::SheetWindow() const {
    return ToWidget(m_sheet.GetSafeHwnd());
}

QWidget* PayloadPageTest::PageWindow() const {
    return ToWidget(m_page.GetSafeHwnd());
}

QImage PayloadPageTest::Grab() const {
    QImage image = PageWindow()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}

void PayloadPageTest::Type(int id, std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        Driver().TypeInto(id, text);
        return;
    }
    // The driver types ASCII only (QTest looks the key up by its character); any other
    // character arrives as a key event that carries the character but names no key.
    Driver().TypeInto(id, "");
    for (const QChar character : ToQString(text)) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                            QString(character), Qt::NoModifier);
        QCoreApplication::processEvents();
    }
}

void PayloadPageTest::Enter(int id, std::string_view text) {
    Type(id, text);
    if (text.empty())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    Driver().LeaveField();
}

void PayloadPageTest::PressOnSlider(int id, int key, int times) {
    QWidget* slider = m_driver->Control(id);
    ASSERT_NE(slider, nullptr);
    slider->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < times; ++i)
        QTest::keyClick(slider, static_cast<Qt::Key>(key));
    QCoreApplication::processEvents();
}

void PayloadPageTest::ShowPage(int index) {
    ASSERT_TRUE(Driver().ShowPage(index)) << "page " << index;
    QCoreApplication::processEvents();
}

std::map<int, std::string> PayloadPageTest::Fields() {
    std::map<int, std::string> texts;
    for (int id : kPayloadFields)
        texts[id] = Driver().Read(id);
    return texts;
}

std::vector<SeatCell> PayloadPageTest::SeatsShown(const QImage& page, int cabin, bool* odd) const {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    std::vector<SeatCell> seats;
    for (int32_t x : layout.columns) {
        for (int32_t y : layout.rows) {
            const QPoint corner(layout.destX + x, layout.destY + y);
            const uint32_t edge = page.pixel(corner);
            const uint32_t inside = page.pixel(corner + QPoint(3, 3));
            if (edge == kBlue && inside == kBlue) {
                seats.push_back(SeatCell::Taken);
            } else if (edge == kBlack && inside == kWhite) {
                seats.push_back(SeatCell::Free);
            } else {
                if (odd != nullptr && !(edge == kWhite && inside == kWhite))
                    *odd = true;
                seats.push_back(SeatCell::Absent);
            }
        }
    }
    return seats;
}
