#include "ui/DialogTemplate.h"

#include <cstdint>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t{number} * numerator;
    std::int64_t magnitude = product < 0 ? -product : product;
    std::int64_t divisor = denominator < 0 ? -std::int64_t{denominator} : denominator;
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t result = negative ? -quotient : quotient;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int>(result);
}

PixelRect DialogUnitsToPixels(int x, int y, int w, int h, int dpi) {
    const PixelRect pixels{MulDiv(x, kBaseUnitX, 4), MulDiv(y, kBaseUnitY, 8),
                           MulDiv(w, kBaseUnitX, 4), MulDiv(h, kBaseUnitY, 8)};
    if (dpi == kDefaultDpi)
        return pixels;
    // The edges scaled, so that controls that meet at 100 % still meet and never overlap.
    const auto scaled = [dpi](int at) { return MulDiv(at, dpi, kDefaultDpi); };
    const int left = scaled(pixels.x);
    const int top = scaled(pixels.y);
    return {left, top, scaled(pixels.x + pixels.w) - left, scaled(pixels.y + pixels.h) - top};
}
