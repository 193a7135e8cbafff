#include "PayloadPageFixture.h"

void PayloadPageTest::SetUp() {
    m_driver = DriveSheet(m_sheet);
    ASSERT_NE(m_driver, nullptr);
}

void PayloadPageTest::TearDown() {
    m_driver.reset();
    m_sheet.DestroyWindow();
    GuiTest::TearDown();
}

void PayloadPageTest::Enter(int id, std::string_view text) {
    Driver().TypeInto(id, text);
    Driver().LeaveField();
}

void PayloadPageTest::ShowPage(int index) {
    ASSERT_TRUE(Driver().ShowPage(index)) << "page " << index;
}

std::map<int, std::string> PayloadPageTest::Fields() {
    std::map<int, std::string> texts;
    for (int id : kPayloadFields)
        texts[id] = Driver().Read(id);
    return texts;
}

std::vector<SeatCell> PayloadPageTest::SeatsShown(const RgbImage& page, int cabin,
                                                  bool* odd) const {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    std::vector<SeatCell> seats;
    for (int32_t x : layout.columns) {
        for (int32_t y : layout.rows) {
            const int left = layout.destX + x;
            const int top = layout.destY + y;
            if (left + 3 >= page.width || top + 3 >= page.height) {
                ADD_FAILURE() << "the page is too small for cabin " << cabin << "'s map";
                return seats;
            }
            const uint32_t edge = page.Pixel(left, top);
            const uint32_t inside = page.Pixel(left + 3, top + 3);
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
