#pragma once

#include "payload/RgbImage.h"

#include <cstdint>
#include <span>
#include <vector>

// Seat squares are 8 x 8 pixels, with their top-left corner at (column x, row y).
inline constexpr int kSeatSize = 8;

inline constexpr uint32_t kSeatMapBackground = Rgb(255, 255, 255);
inline constexpr uint32_t kSeatOutline = Rgb(0, 0, 0);
inline constexpr uint32_t kFreeSeatInside = Rgb(255, 255, 255);
inline constexpr uint32_t kTakenSeat = Rgb(0, 0, 255);
inline constexpr uint32_t kAbsentSeat = Rgb(255, 255, 255);

// Seat positions of the three cabins in pixels of their maps: the columns 12 pixels apart, the
// rows three seats 9 pixels apart, a wider gap of 17 and two seats more.
extern const int32_t g_nCabin1SeatX[5];
extern const int32_t g_nCabin1SeatY[5];
extern const int32_t g_nCabin2SeatX[13];
extern const int32_t g_nCabin2SeatY[5];
extern const int32_t g_nCabin3SeatX[3];
extern const int32_t g_nCabin3SeatY[5];

// One cabin's seat map. Cells are numbered in fill order, column by column from the left and
// within a column from the top: cell k of column c and row r is c x (number of rows) + r. The
// first `absentCells` cells are positions without a seat (cabin 1 has no seats at the top of its
// first column).
struct CabinSeatLayout {
    std::span<const int32_t> columns; // x of each column, left to right
    std::span<const int32_t> rows;    // y of each row, top to bottom
    int32_t cells;                    // columns x rows
    int32_t absentCells;
    int32_t seats; // cells - absentCells
    int32_t bitmapWidth;
    int32_t bitmapHeight;
    // The area from (0, 0) of the map that is copied onto the payload page, and where its
    // top-left corner lands in the page's client area, device pixels.
    int32_t copyWidth;
    int32_t copyHeight;
    int32_t destX;
    int32_t destY;
};

// The layout of cabin 1, 2 or 3; nullptr for any other number.
const CabinSeatLayout* FindCabinSeatLayout(int cabin);

enum class SeatCell { Absent, Free, Taken };

// The state of every cell of the layout in fill order for `count` passengers: the absent cells,
// then `count` taken seats, then the free ones. A count of 0 or less takes no seat, one at or
// above the number of seats takes all of them.
std::vector<SeatCell> ComputeSeatCells(const CabinSeatLayout& layout, int32_t count);

// A cabin's map on a screen of `dpi` dots per inch (96 at 100 %), in that screen's pixels: the
// layout's pixels times dpi / 96, placed over the aircraft picture as the picture is scaled (from
// its corner at page pixel 9, 8). The copied area is the largest one of whole pixels inside the
// scaled area, so the map stays inside its cabin's panel; every seat is a square of the same
// side, with at least one pixel between two seats and inside the copied area. At 96 it is the
// layout itself.
struct CabinSeatMap {
    std::vector<int32_t> columns; // x of each column, left to right
    std::vector<int32_t> rows;    // y of each row, top to bottom
    int32_t seatSize;             // the side of a seat's square
    int32_t outline;              // the width of a free seat's outline
    int32_t bitmapWidth;
    int32_t bitmapHeight;
    int32_t copyWidth;
    int32_t copyHeight;
    int32_t destX;
    int32_t destY;
};
CabinSeatMap ScaleCabinSeatMap(const CabinSeatLayout& layout, int dpi);

// Paints the map for `count` passengers into `surface`, which is first given the layout's bitmap
// size (a surface of that size keeps its buffer): white background, every seat outlined black
// and white inside, taken seats blue, absent cells white.
void RenderCabinBitmap(const CabinSeatLayout& layout, int32_t count, RgbImage& surface);
// The same at the map's scale (ScaleCabinSeatMap): the squares and the outlines of its size.
void RenderCabinBitmap(const CabinSeatLayout& layout, const CabinSeatMap& map, int32_t count,
                       RgbImage& surface);
