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
void ForFirstCells(const CabinSeatLayout& layout, int32_t n, Paint paint) {
    const int32_t rowCount = static_cast<int32_t>(layout.rows.size());
    for (int32_t k = 0; k < n; ++k)
        paint(layout.columns[static_cast<size_t>(k / rowCount)],
              layout.rows[static_cast<size_t>(k % rowCount)]);
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

void RenderCabinBitmap(const CabinSeatLayout& layout, int32_t count, RgbImage& surface) {
    surface.Resize(layout.bitmapWidth, layout.bitmapHeight);
    surface.FillSolidRect(0, 0, layout.bitmapWidth, layout.bitmapHeight, kSeatMapBackground);

    // Every position first as an empty seat: a black square with a white inside.
    for (const int32_t x : layout.columns) {
        for (const int32_t y : layout.rows) {
            surface.FillSolidRect(x, y, kSeatSize, kSeatSize, kSeatOutline);
            surface.FillSolidRect(x + 1, y + 1, kSeatSize - 2, kSeatSize - 2, kFreeSeatInside);
        }
    }
    // The taken seats blue, counted from the first cell of the grid, the absent cells included.
    ForFirstCells(layout, OccupiedCells(layout, count), [&](int32_t x, int32_t y) {
        surface.FillSolidRect(x, y, kSeatSize, kSeatSize, kTakenSeat);
    });
    // Then the positions without a seat blanked, whatever was painted on them.
    ForFirstCells(layout, layout.absentCells, [&](int32_t x, int32_t y) {
        surface.FillSolidRect(x, y, kSeatSize, kSeatSize, kAbsentSeat);
    });
}
