#include "PayloadPageFixture.h"

#include "payload/RgbImage.h"
#include "ui/qt/QtResources.h"

#include <QPainter>
#include <QRect>
#include <QWidget>
#include <filesystem>

namespace {

// The aircraft picture lies at page pixel (9, 8), at its own size.
constexpr QPoint kPictureAt(9, 8);

QImage AircraftPicture() {
    return QImage(QStringLiteral(":/res/bitmap140.png")).convertToFormat(QImage::Format_ARGB32);
}

// Where the cabin's map lands on the page.
QRect MapRect(int cabin) {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    return {layout.destX, layout.destY, layout.copyWidth, layout.copyHeight};
}

int NumberField(int cabin) {
    return cabin == 1 ? IDC_CABIN1 : cabin == 2 ? IDC_CABIN2 : IDC_CABIN3;
}

struct CabinCount {
    int cabin;
    const char* typed;
    int count; // as the slider leaves it
};

void PrintTo(const CabinCount& c, std::ostream* out) {
    *out << "cabin " << c.cabin << ", " << c.typed << " typed";
}

class PayloadPageSeatMapTest : public PayloadPageTest,
                               public ::testing::WithParamInterface<CabinCount> {};

TEST_P(PayloadPageSeatMapTest, MapShowsTheTakenSeatsInsideTheCabinsPanel) {
    const auto [cabin, typed, count] = GetParam();
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    Enter(NumberField(cabin), typed);
    const QImage page = Grab();
    bool odd = false;
    EXPECT_EQ(SeatsShown(page, cabin, &odd), ComputeSeatCells(layout, count));
    EXPECT_FALSE(odd);

    // The map itself, pixel for pixel, over white panel pixels of the picture only.
    RgbImage map;
    RenderCabinBitmap(layout, count, map);
    const QImage picture = AircraftPicture();
    ASSERT_FALSE(picture.isNull()) << "the aircraft picture is not embedded";
    const QRect rect = MapRect(cabin);
    int wrong = 0;
    int offPanel = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (page.pixel(x, y) != map.Pixel(x - rect.left(), y - rect.top()))
                ++wrong;
            if (picture.pixel(QPoint(x, y) - kPictureAt) != kWhite)
                ++offPanel;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(offPanel, 0);
}

INSTANTIATE_TEST_SUITE_P(Cabins, PayloadPageSeatMapTest,
                         ::testing::Values(CabinCount{1, "0", 0}, CabinCount{1, "1", 1},
                                           CabinCount{1, "3", 3}, CabinCount{1, "30", 22},
                                           CabinCount{1, "-2", 0}, CabinCount{2, "13", 13},
                                           CabinCount{2, "65", 65}, CabinCount{3, "15", 15},
                                           CabinCount{3, "7", 7}),
                         [](const auto& info) {
                             const std::string typed = info.param.typed;
                             return "Cabin" + std::to_string(info.param.cabin) + "_" +
                                    (typed[0] == '-' ? "minus" + typed.substr(1) : typed);
                         });

TEST_F(PayloadPageTest, OnePassengerInCabin1TakesTheSeatAtPagePixel104_77) {
    EXPECT_EQ(Grab().pixel(104, 77), kBlack);
    Enter(IDC_CABIN1, "1");
    const QImage page = Grab();
    EXPECT_EQ(page.pixel(104, 77), kBlue);
    EXPECT_EQ(page.pixel(111, 84), kBlue);
    EXPECT_EQ(page.pixel(104, 86), kBlack); // the next seat down, free
}

TEST_F(PayloadPageTest, Cabin3sMapStopsAtItsLastColumn) {
    Enter(IDC_CABIN3, "15");
    const QImage page = Grab();
    const QImage picture = AircraftPicture();
    const QRect rect = MapRect(3);
    // The 12 pixel columns of the map beyond its last seats show the aircraft, not the map.
    int changed = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.right() + 1; x < rect.left() + 50; ++x)
            if (page.pixel(x, y) != picture.pixel(QPoint(x, y) - kPictureAt))
                ++changed;
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(page.pixel(rect.left() + 30, rect.top()), kBlue);
}

TEST_F(PayloadPageTest, SeatSquaresStayCrispOnADenseScreen) {
    Enter(IDC_CABIN2, "13");
    const QImage page = Grab();
    // The page painted for a screen of two device pixels a page pixel.
    QImage dense(PageWindow()->size() * 2, QImage::Format_ARGB32);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::red);
    PageWindow()->render(&dense);
    for (int cabin = 1; cabin <= 3; ++cabin) {
        const QRect rect = MapRect(cabin);
        int blurred = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                for (const QPoint device : {QPoint(2 * x, 2 * y), QPoint(2 * x + 1, 2 * y),
                                            QPoint(2 * x, 2 * y + 1), QPoint(2 * x + 1, 2 * y + 1)})
                    if (dense.pixel(device) != page.pixel(x, y))
                        ++blurred;
        EXPECT_EQ(blurred, 0) << "cabin " << cabin;
    }
}

TEST_F(PayloadPageTest, MinimizedSheetPaintsTheIconInTheMiddleOfThePage) {
    Enter(IDC_CABIN1, "22");
    SheetWindow()->showMinimized();
    ASSERT_TRUE(m_page.IsIconic());
    const QImage page = Grab();
    const QIcon* icon = FromIconHandle(m_page.m_hIcon);
    ASSERT_NE(icon, nullptr);
    const QImage image = icon->pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    // (645 - 32 + 1) / 2, (374 - 32 + 1) / 2
    const QPoint at(307, 171);
    int opaque = 0;
    int wrong = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(image.pixel(x, y)) != 255)
                continue;
            ++opaque;
            if (page.pixel(at + QPoint(x, y)) != image.pixel(x, y))
                ++wrong;
        }
    }
    EXPECT_GT(opaque, 100);
    EXPECT_EQ(wrong, 0);
    SheetWindow()->showNormal();
}

TEST_F(PayloadPageTest, SavesAPictureOfThePage) {
    Enter(IDC_CABIN1, "12");
    Enter(IDC_CABIN2, "40");
    Enter(IDC_CABIN3, "15");
    Enter(IDC_HOLD1_PERCENT, "60");
    Enter(IDC_HOLD2_KG, "900");
    PressOnSlider(IDC_SLIDER_CABIN2, Qt::Key_Right, 3);
    EXPECT_TRUE(
        Driver().SavePicture(std::filesystem::path(LOADER_PICTURES_DIR) / "payload-page.png"));
}

} // namespace
