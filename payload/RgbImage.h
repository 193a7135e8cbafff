#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour as 0xFFRRGGBB: opaque, the layout a 32-bit RGB image of any toolkit reads directly.
constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return 0xFF000000u | uint32_t{red} << 16 | uint32_t{green} << 8 | uint32_t{blue};
}

// An off-screen picture: width x height pixels, row by row from the top, each row left to
// right, without padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    RgbImage() = default;
    // A picture of the size (a negative size counts as 0), every pixel `color`.
    RgbImage(int w, int h, uint32_t color = Rgb(0, 0, 0));

    // Gives the picture the size; a picture that already has it keeps its buffer and pixels.
    void Resize(int w, int h);

    // The pixel at (x, y); the caller keeps (x, y) inside the picture.
    uint32_t Pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }

    // Fills the rectangle of w x h pixels whose top-left corner is (x, y). The part outside the
    // picture is left out; an empty or negative size fills nothing.
    void FillSolidRect(int x, int y, int w, int h, uint32_t color);
};
