#include "payload/RgbImage.h"

#include <algorithm>
#include <cstring>

RgbImage::RgbImage(int w, int h, uint32_t color) {
    Resize(w, h);
    std::fill(pixels.begin(), pixels.end(), color);
}

void RgbImage::Resize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == width && h == height)
        return;
    width = w;
    height = h;
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
}

void RgbImage::FillSolidRect(int x, int y, int w, int h, uint32_t color) {
    // In 64 bits, so that no corner of the rectangle can overflow.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + w, width);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + h, height);
    if (left >= right || top >= bottom)
        return;
    const auto count = static_cast<std::size_t>(right - left);
    // Four pixels a store: a map is mostly short rows of 6 and 8 pixels, where a loop of single
    // stores is what the drawing costs.
    const uint32_t quad[4] = {color, color, color, color};
    uint32_t* first = pixels.data() + top * width + left;
    for (int64_t row = top; row < bottom; ++row, first += width) {
        std::size_t i = 0;
        for (; i + 4 <= count; i += 4)
            std::memcpy(first + i, quad, sizeof quad);
        for (; i < count; ++i)
            first[i] = color;
    }
}
