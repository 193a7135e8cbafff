#include "payload/SeatMap.h"

#include <algorithm>

const int32_t g_nCabin1SeatX[5] = {6, 18, 30, 42, 54};
const int32_t g_nCabin1SeatY[5] = {0, 9, 18, 35, 44};
const int32_t g_nCabin2SeatX[13] = {6, 18, 30, 42, 54, 66, 78, 90, 102, 114, 126, 138, 150};
const int32_t g_nCabin2SeatY[5] = {0, 9, 18, 35, 44};
const int32_t g_nCabin3SeatX[3] = {6, 18, 30};
const int32_t g_nCabin3SeatY[5] = {0, 9, 18, 35, 44};

namespace {

// Cabin 2's map lands one pixel higher than the others. Only the left 38 pixels of cabin 3's
// 50-pixel map are copied: up to the right edge of its last column (30 + 8).
const CabinSeatLayout kCabinLayouts[3] = {
    {g_nCabin1SeatX, g_nCabin1SeatY, 25, 3, 22, 63, 53, 63, 53, 98, 42},
    {g_nCabin2SeatX, g_nCabin2SeatY, 65, 0, 65, 159, 53, 159, 53, 234, 41},
    {g_nCabin3SeatX, g_nCabin3SeatY, 15, 0, 15, 50, 53, 38, 53, 443, 42},
};

// The number of cells, in fill order, that the absent cells and `count` passengers occupy,
// within the grid. In 64 bits, so that no count can overflow.
int32_t OccupiedCells(const CabinSeatLayout& layout, int32_t count) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{count} + layout.absentCells, 0, layout.cells));
}

// Calls paint(x, y) for the first `n` cells in fill order.
template <typename Paint>
void ForFirstCells(const CabinSeatMap& map, int32_t n, Paint paint) {
    const int32_t rowCount = static_cast<int32_t>(map.rows.size());
    for (int32_t k = 0; k < n; ++k)
        paint(map.columns[static_cast<size_t>(k / rowCount)],
              map.rows[static_cast<size_t>(k % rowCount)]);
}

// The aircraft picture's corner on the payload page at 100 %: the scaled map is placed over the
// scaled picture from there, which the dialog puts at MulDiv(9, dpi, 96), MulDiv(8, dpi, 96).
constexpr int64_t kPictureX = 9;
constexpr int64_t kPictureY = 8;

int64_t Scaled(int64_t value, int dpi) {
    // As MulDiv rounds, for values of either sign.
    const int64_t product = value * dpi;
    return product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96);
}

// A page coordinate at 100 % on the scaled page, in 96ths of its pixels.
struct Along {
    int64_t origin100; // the picture's corner at 100 %
    int dpi;
    int64_t NinetySixths(int64_t at) const {
        return Scaled(origin100, dpi) * 96 + (at - origin100) * dpi;
    }
    int64_t Floor(int64_t at) const { return NinetySixths(at) / 96; }
    int64_t Ceil(int64_t at) const { return (NinetySixths(at) + 95) / 96; }
};

// The positions of a map's seats along one axis, from the map's first whole pixel, and the room
// left for a seat before the next one and before the end of the copied area.
std::vector<int32_t> ScaledPositions(std::span<const int32_t> positions, const Along& along,
                                     int64_t dest, int64_t copied, int32_t& room) {
    std::vector<int32_t> scaled;
    const int64_t first = along.Ceil(dest);
    for (const int32_t at : positions)
        scaled.push_back(static_cast<int32_t>(along.Ceil(dest + at) - first));
    for (size_t i = 1; i < scaled.size(); ++i)
        room = std::min(room, scaled[i] - scaled[i - 1] - 1);
    if (!scaled.empty())
        room = std::min(room,
                        static_cast<int32_t>(along.Floor(dest + copied) - first) - scaled.back());
    return scaled;
}

} // namespace

const CabinSeatLayout* FindCabinSeatLayout(int cabin) {
    if (cabin < 1 || cabin > 3)
        return nullptr;
    return &kCabinLayouts[cabin - 1];
}

std::vector<SeatCell> ComputeSeatCells(const CabinSeatLayout& layout, int32_t count) {
    const int32_t occupied = OccupiedCells(layout, count);
    std::vector<SeatCell> cells(static_cast<size_t>(layout.cells));
    for (int32_t k = 0; k < layout.cells; ++k)
        cells[static_cast<size_t>(k)] = k < layout.absentCells ? SeatCell::Absent
                                        : k < occupied         ? SeatCell::Taken
                                                               : SeatCell::Free;
    return cells;
}

CabinSeatMap ScaleCabinSeatMap(const CabinSeatLayout& layout, int dpi) {
    dpi = std::max(dpi, 1);
    const Along alongX{kPictureX, dpi};
    const Along alongY{kPictureY, dpi};
    CabinSeatMap map{};
    int32_t room = static_cast<int32_t>(Scaled(kSeatSize, dpi));
    map.columns = ScaledPositions(layout.columns, alongX, layout.destX, layout.copyWidth, room);
    map.rows = ScaledPositions(layout.rows, alongY, layout.destY, layout.copyHeight, room);
    map.seatSize = std::max(room, 1);
    map.outline = static_cast<int32_t>(
        std::clamp<int64_t>(Scaled(1, dpi), 1, std::max(1, (map.seatSize - 1) / 2)));
    // The areas of whole pixels inside the scaled ones.
    const auto extent = [](const Along& along, int64_t dest, int64_t size) {
        return static_cast<int32_t>(along.Floor(dest + size) - along.Ceil(dest));
    };
    map.destX = static_cast<int32_t>(alongX.Ceil(layout.destX));
    map.destY = static_cast<int32_t>(alongY.Ceil(layout.destY));
    map.bitmapWidth = extent(alongX, layout.destX, layout.bitmapWidth);
    map.bitmapHeight = extent(alongY, layout.destY, layout.bitmapHeight);
    map.copyWidth = extent(alongX, layout.destX, layout.copyWidth);
    map.copyHeight = extent(alongY, layout.destY, layout.copyHeight);
    return map;
}

void RenderCabinBitmap(const CabinSeatLayout& layout, int32_t count, RgbImage& surface) {
    RenderCabinBitmap(layout, ScaleCabinSeatMap(layout, 96), count, surface);
}

void RenderCabinBitmap(const CabinSeatLayout& layout, const CabinSeatMap& map, int32_t count,
                       RgbImage& surface) {
    surface.Resize(map.bitmapWidth, map.bitmapHeight);
    surface.FillSolidRect(0, 0, map.bitmapWidth, map.bitmapHeight, kSeatMapBackground);

    // Every position first as an empty seat: a black square with a white inside.
    const int32_t side = map.seatSize;
    const int32_t line = map.outline;
    for (const int32_t x : map.columns) {
        for (const int32_t y : map.rows) {
            surface.FillSolidRect(x, y, side, side, kSeatOutline);
            surface.FillSolidRect(x + line, y + line, side - 2 * line, side - 2 * line,
                                  kFreeSeatInside);
        }
    }
    // The taken seats blue, counted from the first cell of the grid, the absent cells included.
    ForFirstCells(map, OccupiedCells(layout, count), [&](int32_t x, int32_t y) {
        surface.FillSolidRect(x, y, side, side, kTakenSeat);
    });
    // Then the positions without a seat blanked, whatever was painted on them.
    ForFirstCells(map, layout.absentCells, [&](int32_t x, int32_t y) {
        surface.FillSolidRect(x, y, side, side, kAbsentSeat);
    });
}
