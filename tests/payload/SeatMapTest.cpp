#include "payload/SeatMap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kWhite = Rgb(255, 255, 255);
constexpr uint32_t kBlack = Rgb(0, 0, 0);
constexpr uint32_t kBlue = Rgb(0, 0, 255);

// The cabins as the aircraft has them: seat columns from x 6 every 12 pixels, rows at these y.
constexpr int kRowY[5] = {0, 9, 18, 35, 44};
struct Cabin {
    int columns;
    int absent; // positions without a seat at the top of the first column
    int mapWidth;
};
const Cabin kCabins[4] = {{}, {5, 3, 63}, {13, 0, 159}, {3, 0, 50}};
constexpr int kMapHeight = 53;

int ColumnX(int column) {
    return 6 + 12 * column;
}

// The picture the map should be, pixel by pixel: white, every seat an 8 x 8 square, blue when
// taken, else a black outline around a white inside; the absent positions white.
std::vector<uint32_t> ExpectedPixels(int cabin, int taken) {
    const Cabin& c = kCabins[cabin];
    std::vector<uint32_t> pixels(static_cast<size_t>(c.mapWidth * kMapHeight), kWhite);
    for (int column = 0; column < c.columns; ++column) {
        for (int row = 0; row < 5; ++row) {
            const int k = column * 5 + row;
            if (k < c.absent)
                continue;
            const bool isTaken = k < c.absent + taken;
            for (int dy = 0; dy < 8; ++dy) {
                for (int dx = 0; dx < 8; ++dx) {
                    const bool edge = dx == 0 || dy == 0 || dx == 7 || dy == 7;
                    const int at = (kRowY[row] + dy) * c.mapWidth + ColumnX(column) + dx;
                    pixels[static_cast<size_t>(at)] = isTaken ? kBlue : edge ? kBlack : kWhite;
                }
            }
        }
    }
    return pixels;
}

// The map as text, one character a pixel, for failure messages.
std::string Picture(const std::vector<uint32_t>& pixels, int width) {
    std::string text;
    for (size_t i = 0; i < pixels.size(); ++i) {
        text += pixels[i] == kWhite   ? '.'
                : pixels[i] == kBlack ? '#'
                : pixels[i] == kBlue  ? 'B'
                                      : '?';
        if ((i + 1) % static_cast<size_t>(width) == 0)
            text += '\n';
    }
    return text;
}

// Top-left corners of the blue squares.
std::set<std::pair<int, int>> BlueSquares(const RgbImage& image) {
    std::set<std::pair<int, int>> corners;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Pixel(x, y) == kBlue && (x == 0 || image.Pixel(x - 1, y) != kBlue) &&
                (y == 0 || image.Pixel(x, y - 1) != kBlue))
                corners.insert({x, y});
    return corners;
}

std::set<std::pair<int, int>> Squares(const std::vector<int>& xs, const std::vector<int>& ys) {
    std::set<std::pair<int, int>> corners;
    for (const int x : xs)
        for (const int y : ys)
            corners.insert({x, y});
    return corners;
}

RgbImage Render(int cabin, int32_t count) {
    RgbImage image;
    RenderCabinBitmap(*FindCabinSeatLayout(cabin), count, image);
    return image;
}

struct SeatCase {
    int cabin;
    int32_t count;
    int taken;
};

void PrintTo(const SeatCase& c, std::ostream* os) {
    *os << "cabin " << c.cabin << ", count " << c.count << ", " << c.taken << " taken";
}

// A number as a part of a test's name, which may hold letters, digits and '_' only.
std::string NamePart(int64_t n) {
    return n < 0 ? "Minus" + std::to_string(-n) : std::to_string(n);
}

class SeatTable : public ::testing::TestWithParam<SeatCase> {};

TEST_P(SeatTable, CellsAndPixelsShowTheTakenSeatsInFillOrder) {
    const SeatCase& c = GetParam();
    const Cabin& cabin = kCabins[c.cabin];
    const CabinSeatLayout& layout = *FindCabinSeatLayout(c.cabin);

    std::vector<SeatCell> cells(static_cast<size_t>(cabin.columns * 5), SeatCell::Free);
    for (int k = 0; k < cabin.absent; ++k)
        cells[static_cast<size_t>(k)] = SeatCell::Absent;
    for (int k = cabin.absent; k < cabin.absent + c.taken; ++k)
        cells[static_cast<size_t>(k)] = SeatCell::Taken;
    EXPECT_EQ(ComputeSeatCells(layout, c.count), cells);

    const RgbImage image = Render(c.cabin, c.count);
    ASSERT_EQ(image.width, cabin.mapWidth);
    ASSERT_EQ(image.height, kMapHeight);
    const std::vector<uint32_t> expected = ExpectedPixels(c.cabin, c.taken);
    EXPECT_TRUE(image.pixels == expected) << "drawn:\n"
                                          << Picture(image.pixels, image.width) << "expected:\n"
                                          << Picture(expected, image.width);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, SeatTable,
    ::testing::Values(SeatCase{1, 0, 0}, SeatCase{1, 1, 1}, SeatCase{1, 21, 21},
                      SeatCase{1, 22, 22}, SeatCase{1, 30, 22}, SeatCase{1, -1, 0},
                      SeatCase{1, -2, 0}, SeatCase{1, -3, 0}, SeatCase{1, INT32_MAX, 22},
                      SeatCase{1, INT32_MIN, 0}, SeatCase{2, 0, 0}, SeatCase{2, 13, 13},
                      SeatCase{2, 65, 65}, SeatCase{2, INT32_MAX, 65}, SeatCase{3, 7, 7},
                      SeatCase{3, 15, 15}, SeatCase{3, INT32_MIN, 0}),
    [](const testing::TestParamInfo<SeatCase>& info) {
        return "Cabin" + NamePart(info.param.cabin) + "Count" + NamePart(info.param.count);
    });

TEST(SeatMap, BlueSquaresLieWhereThePassengersSit) {
    const std::vector<int> allRows(std::begin(kRowY), std::end(kRowY));
    EXPECT_EQ(BlueSquares(Render(1, 1)), Squares({6}, {35}));
    auto cabin1Three = Squares({6}, {35, 44});
    cabin1Three.insert({18, 0});
    EXPECT_EQ(BlueSquares(Render(1, 3)), cabin1Three);
    auto cabin2 = Squares({6, 18}, allRows);
    cabin2.merge(Squares({30}, {0, 9, 18}));
    EXPECT_EQ(BlueSquares(Render(2, 13)), cabin2);
    auto cabin1Full = Squares({6}, {35, 44});
    cabin1Full.merge(Squares({18, 30, 42, 54}, allRows));
    EXPECT_EQ(BlueSquares(Render(1, 30)), cabin1Full);
    EXPECT_TRUE(BlueSquares(Render(1, -1)).empty());
    EXPECT_TRUE(BlueSquares(Render(1, -2)).empty());
    EXPECT_EQ(BlueSquares(Render(3, 15)), Squares({6, 18, 30}, allRows));
}

// The aircraft picture lies at page pixel (9, 8); its white cabin panels span these pixels,
// both ends included.
struct Panel {
    int left, top, right, bottom;
};
const Panel kPanels[4] = {{}, {89, 32, 152, 86}, {225, 32, 383, 86}, {432, 33, 474, 86}};

TEST(SeatMap, EveryCopiedMapHoldsAllItsSeatsAndLiesInsideItsCabinPanel) {
    for (int cabin = 1; cabin <= 3; ++cabin) {
        SCOPED_TRACE("cabin " + std::to_string(cabin));
        const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
        const RgbImage full = Render(cabin, INT32_MAX);
        // Nothing but white beyond the copied area: no seat is cut off.
        for (int y = 0; y < full.height; ++y) {
            for (int x = 0; x < full.width; ++x) {
                if (x >= layout.copyWidth || y >= layout.copyHeight) {
                    ASSERT_EQ(full.Pixel(x, y), kWhite) << x << ", " << y;
                }
            }
        }

        const Panel& panel = kPanels[cabin];
        EXPECT_GE(layout.destX - 9, panel.left);
        EXPECT_GE(layout.destY - 8, panel.top);
        EXPECT_LE(layout.destX - 9 + layout.copyWidth - 1, panel.right);
        EXPECT_LE(layout.destY - 8 + layout.copyHeight - 1, panel.bottom);
    }
    // Cabin 3's map is 50 pixels wide; its copy ends at the right edge of the last column.
    const CabinSeatLayout& cabin3 = *FindCabinSeatLayout(3);
    EXPECT_EQ(cabin3.copyWidth, 38);
    EXPECT_EQ(Render(3, 15).Pixel(37, 44), kBlue);
    // Cabin 1's first passenger sits at (6, 35) of its map, page pixel (104, 77).
    const CabinSeatLayout& cabin1 = *FindCabinSeatLayout(1);
    EXPECT_EQ(std::make_pair(cabin1.destX + 6, cabin1.destY + 35), std::make_pair(104, 77));
}

TEST(SeatMap, ASurfaceUsedBeforeIsSizedAndRepaintedWhole) {
    RgbImage surface;
    RenderCabinBitmap(*FindCabinSeatLayout(2), 65, surface);
    RenderCabinBitmap(*FindCabinSeatLayout(1), 0, surface);
    EXPECT_EQ(surface.width, 63);
    EXPECT_EQ(surface.height, 53);
    EXPECT_TRUE(surface.pixels == ExpectedPixels(1, 0)) << Picture(surface.pixels, 63);
}

// The maps on screens above 100 %: where they land and how large their seats are at 125 %, 150 %
// and 200 %, and at every scale square seats, one pixel apart at least, inside the copied area and
// the cabin's panel of the scaled picture.
struct ScaledCase {
    int cabin, dpi;
    int seat, outline, destX, destY, copyWidth, copyHeight;
};

class ScaledSeatMap : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledSeatMap, LandsWhereThePictureScalesItsPanel) {
    const ScaledCase& c = GetParam();
    const CabinSeatMap map = ScaleCabinSeatMap(*FindCabinSeatLayout(c.cabin), c.dpi);
    EXPECT_EQ(map.seatSize, c.seat);
    EXPECT_EQ(map.outline, c.outline);
    EXPECT_EQ(std::make_pair(map.destX, map.destY), std::make_pair(c.destX, c.destY));
    EXPECT_EQ(std::make_pair(map.copyWidth, map.copyHeight),
              std::make_pair(c.copyWidth, c.copyHeight));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledSeatMap,
                         ::testing::Values(ScaledCase{1, 120, 10, 1, 123, 53, 78, 65},
                                           ScaledCase{1, 144, 12, 2, 148, 63, 94, 79},
                                           ScaledCase{2, 144, 12, 2, 352, 62, 238, 79},
                                           ScaledCase{3, 144, 12, 2, 665, 63, 57, 79},
                                           ScaledCase{2, 192, 16, 2, 468, 82, 318, 106}));

TEST(SeatMap, AtEveryScaleTheSeatsAreSquaresApartInsideThePanel) {
    const int seats[4] = {0, 22, 65, 15};
    for (const int dpi : {96, 108, 120, 132, 144, 168, 192, 216, 240, 288}) {
        // The picture's corner on the page, 9, 8 at 100 %, as the dialog rounds it.
        const int pictureX = (9 * dpi + 48) / 96;
        const int pictureY = (8 * dpi + 48) / 96;
        for (int cabin = 1; cabin <= 3; ++cabin) {
            SCOPED_TRACE("cabin " + std::to_string(cabin) + " at " + std::to_string(dpi));
            const CabinSeatLayout& layout = *FindCabinSeatLayout(cabin);
            const CabinSeatMap map = ScaleCabinSeatMap(layout, dpi);
            RgbImage full;
            RenderCabinBitmap(layout, map, INT32_MAX, full);
            const std::set<std::pair<int, int>> corners = BlueSquares(full);
            ASSERT_EQ(corners.size(), static_cast<size_t>(seats[cabin]));
            const int side = map.seatSize;
            int blue = 0;
            for (const uint32_t pixel : full.pixels)
                blue += pixel == kBlue ? 1 : 0;
            // Whole squares of the one side, and no blue besides: no two seats touch.
            EXPECT_EQ(blue, seats[cabin] * side * side);
            for (const auto& [x, y] : corners) {
                EXPECT_LE(x + side, map.copyWidth);
                EXPECT_LE(y + side, map.copyHeight);
                if (x + side < full.width) {
                    EXPECT_NE(full.Pixel(x + side, y), kBlue) << x << ", " << y;
                }
                if (y + side < full.height) {
                    EXPECT_NE(full.Pixel(x, y + side), kBlue) << x << ", " << y;
                }
            }
            // The copied area within the panel scaled as the picture is, in 96ths of a pixel.
            const Panel& panel = kPanels[cabin];
            EXPECT_GE((map.destX - pictureX) * 96, panel.left * dpi);
            EXPECT_GE((map.destY - pictureY) * 96, panel.top * dpi);
            EXPECT_LE((map.destX - pictureX + map.copyWidth) * 96, (panel.right + 1) * dpi);
            EXPECT_LE((map.destY - pictureY + map.copyHeight) * 96, (panel.bottom + 1) * dpi);
        }
    }
}

TEST(SeatMap, AFreeSeatAt150PercentHasAnOutlineTwoPixelsWide) {
    const CabinSeatLayout& layout = *FindCabinSeatLayout(2);
    RgbImage image;
    RenderCabinBitmap(layout, ScaleCabinSeatMap(layout, 144), 0, image);
    // The first seat, 12 x 12 at (9, 0): black at its edge and a pixel in, white inside and out.
    const std::vector<uint32_t> along = {image.Pixel(8, 0),   image.Pixel(9, 0),
                                         image.Pixel(10, 1),  image.Pixel(11, 2),
                                         image.Pixel(19, 10), image.Pixel(21, 11)};
    EXPECT_EQ(along, (std::vector<uint32_t>{kWhite, kBlack, kBlack, kWhite, kBlack, kWhite}));
}

TEST(SeatMap, OnlyCabinsOneToThreeHaveALayout) {
    for (const int cabin : {0, 4, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(FindCabinSeatLayout(cabin), nullptr) << cabin;
}

struct RectCase {
    int x, y, w, h;
};

void PrintTo(const RectCase& r, std::ostream* os) {
    *os << r.w << " x " << r.h << " at " << r.x << ", " << r.y;
}

class FillClipping : public ::testing::TestWithParam<RectCase> {};

TEST_P(FillClipping, FillsExactlyThePartInsideThePicture) {
    const RectCase& r = GetParam();
    RgbImage image(4, 3, kBlack);
    image.FillSolidRect(r.x, r.y, r.w, r.h, kWhite);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= r.x && int64_t{x} < int64_t{r.x} + r.w && y >= r.y &&
                                int64_t{y} < int64_t{r.y} + r.h;
            EXPECT_EQ(image.Pixel(x, y), inside ? kWhite : kBlack) << x << ", " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rects, FillClipping,
                         ::testing::Values(RectCase{1, 1, 2, 1}, RectCase{-2, -2, 3, 3},
                                           RectCase{-1, 1, 2, 2}, RectCase{3, 2, 5, 5},
                                           RectCase{1, 1, -1, 2}, RectCase{0, 0, 0, 3},
                                           RectCase{4, 0, 1, 1}, RectCase{0, 0, INT_MAX, INT_MAX},
                                           RectCase{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                                           RectCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                           RectCase{INT_MIN, 0, INT_MAX, 1}),
                         [](const testing::TestParamInfo<RectCase>& info) {
                             const RectCase& r = info.param;
                             return "X" + NamePart(r.x) + "Y" + NamePart(r.y) + "W" +
                                    NamePart(r.w) + "H" + NamePart(r.h);
                         });

} // namespace
