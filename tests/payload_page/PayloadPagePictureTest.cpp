#include "PayloadPageFixture.h"

#include "payload/RgbImage.h"
#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"

namespace {

// Where the cabin's map lands on the page.
struct MapRect {
    int left, top, width, height;
    int right() const { return left + width - 1; }
    int bottom() const { return top + height - 1; }
};

MapRect MapOf(int cabin) {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    return {layout.destX, layout.destY, layout.copyWidth, layout.copyHeight};
}

int NumberField(int cabin) {
    return cabin == 1 ? IDC_CABIN1 : cabin == 2 ? IDC_CABIN2 : IDC_CABIN3;
}

class PayloadPagePictureTest : public PayloadPageTest {
protected:
    // The payload page's template alone, on a sheet of its own, without the page's code: the
    // aircraft picture with no seat map drawn over it.
    RgbImage BareTemplate() {
        CPropertyPage bare(IDD_PAYLOAD_PAGE);
        CPropertySheet sheet("Шаблон");
        sheet.AddPage(&bare);
        std::unique_ptr<PageDriver> driver = DriveSheet(sheet);
        RgbImage picture = driver != nullptr ? driver->Grab() : RgbImage();
        driver.reset();
        sheet.DestroyWindow();
        return picture;
    }
};

struct CabinCount {
    int cabin;
    const char* typed;
    int count; // as the slider leaves it
};

void PrintTo(const CabinCount& c, std::ostream* out) {
    *out << "cabin " << c.cabin << ", " << c.typed << " typed";
}

class PayloadPageSeatMapTest : public PayloadPagePictureTest,
                               public ::testing::WithParamInterface<CabinCount> {};

TEST_P(PayloadPageSeatMapTest, MapShowsTheTakenSeatsInsideTheCabinsPanel) {
    const auto [cabin, typed, count] = GetParam();
    const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
    Enter(NumberField(cabin), typed);
    const RgbImage page = Driver().Grab();
    ASSERT_EQ(page.width, 645);
    bool odd = false;
    EXPECT_EQ(SeatsShown(page, cabin, &odd), ComputeSeatCells(layout, count));
    EXPECT_FALSE(odd);

    // The map itself, pixel for pixel, over white panel pixels of the picture only.
    RgbImage map;
    RenderCabinBitmap(layout, count, map);
    const RgbImage bare = BareTemplate();
    ASSERT_EQ(bare.width, page.width);
    ASSERT_EQ(bare.height, page.height);
    const MapRect rect = MapOf(cabin);
    int wrong = 0;
    int offPanel = 0;
    for (int y = rect.top; y <= rect.bottom(); ++y) {
        for (int x = rect.left; x <= rect.right(); ++x) {
            if (page.Pixel(x, y) != map.Pixel(x - rect.left, y - rect.top))
                ++wrong;
            if (bare.Pixel(x, y) != kWhite)
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

// At the screen's scale (set outside the program): the page's size, and cabin 2's map for 13
// passengers, its seats squares of the scaled side, over the white of the cabin's panel.
TEST_F(PayloadPagePictureTest, AtTheScreensScaleTheMapLiesOnThePanelWithSquareSeats) {
    struct Scale {
        int dpi, width, height, seat, destX, destY, copyWidth, copyHeight;
    };
    const Scale scales[] = {{96, 645, 374, 8, 234, 41, 159, 53},
                            {144, 968, 561, 12, 352, 62, 238, 79},
                            {192, 1290, 748, 16, 468, 82, 318, 106}};
    const Scale* scale = nullptr;
    for (const Scale& candidate : scales)
        if (candidate.dpi == ScreenDpi())
            scale = &candidate;
    if (scale == nullptr)
        GTEST_SKIP() << "no figures for a screen of " << ScreenDpi() << " dpi";
    Enter(IDC_CABIN2, "13");
    const RgbImage page = Driver().Grab();
    EXPECT_NEAR(page.width, scale->width, 2);
    EXPECT_NEAR(page.height, scale->height, 2);
    const RgbImage bare = BareTemplate();
    ASSERT_EQ(bare.width, page.width);
    ASSERT_EQ(bare.height, page.height);
    int offPanel = 0;
    int blue = 0;
    for (int y = scale->destY; y < scale->destY + scale->copyHeight; ++y) {
        for (int x = scale->destX; x < scale->destX + scale->copyWidth; ++x) {
            offPanel += bare.Pixel(x, y) != kWhite ? 1 : 0;
            blue += page.Pixel(x, y) == kBlue ? 1 : 0;
        }
    }
    EXPECT_EQ(offPanel, 0);
    EXPECT_EQ(blue, 13 * scale->seat * scale->seat);
    // The first seat, three quarters of a seat in: a blue square of the scaled side.
    const int x = scale->destX + scale->seat * 3 / 4;
    EXPECT_EQ(page.Pixel(x + scale->seat - 1, scale->destY + scale->seat - 1), kBlue);
    EXPECT_NE(page.Pixel(x + scale->seat, scale->destY), kBlue);
    EXPECT_NE(page.Pixel(x, scale->destY + scale->seat), kBlue);
}

TEST_F(PayloadPageTest, OnePassengerInCabin1TakesTheSeatAtPagePixel104_77) {
    const RgbImage before = Driver().Grab();
    ASSERT_EQ(before.width, 645);
    EXPECT_EQ(before.Pixel(104, 77), kBlack);
    Enter(IDC_CABIN1, "1");
    const RgbImage page = Driver().Grab();
    ASSERT_EQ(page.width, 645);
    EXPECT_EQ(page.Pixel(104, 77), kBlue);
    EXPECT_EQ(page.Pixel(111, 84), kBlue);
    EXPECT_EQ(page.Pixel(104, 86), kBlack); // the next seat down, free
}

TEST_F(PayloadPagePictureTest, Cabin3sMapStopsAtItsLastColumn) {
    Enter(IDC_CABIN3, "15");
    const RgbImage page = Driver().Grab();
    const RgbImage bare = BareTemplate();
    ASSERT_EQ(page.width, 645);
    ASSERT_EQ(bare.width, 645);
    const MapRect rect = MapOf(3);
    // The 12 pixel columns of the map beyond its last seats show the aircraft, not the map.
    int changed = 0;
    for (int y = rect.top; y <= rect.bottom(); ++y)
        for (int x = rect.right() + 1; x < rect.left + 50; ++x)
            if (page.Pixel(x, y) != bare.Pixel(x, y))
                ++changed;
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(page.Pixel(rect.left + 30, rect.top), kBlue);
}

} // namespace
