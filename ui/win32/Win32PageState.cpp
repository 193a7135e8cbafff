// What the Win32 backend keeps of a page's window: what has been blitted onto it, so that it can
// be painted again, and the picture's bitmap.

#include "ui/PropertyPage.h"
#include "ui/Resources.h"
#include "ui/win32/Win32Window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// What the Win32 backend keeps for a page's window: what has been blitted onto it, so that it
// can be painted again, and the picture's bitmap.
struct PageState {
    CPropertyPage* page;
    UINT dpi;
    int width, height;
    std::vector<std::uint32_t> blitted; // width x height, row by row from the top
    std::vector<RECT> covered;          // where `blitted` holds what was blitted
    HBITMAP picture = nullptr;          // at the page's DPI
};

constexpr wchar_t kPageProperty[] = L"il18-loader.page";

PageState* StateOf(HWND window) {
    return window != nullptr ? static_cast<PageState*>(GetPropW(window, kPageProperty)) : nullptr;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

void Cover(PageState& state, const RECT& area) {
    for (const RECT& known : state.covered)
        if (Contains(known, area))
            return;
    std::erase_if(state.covered, [&area](const RECT& known) { return Contains(area, known); });
    state.covered.push_back(area);
}

// The header of a top-down bitmap of 0xFFRRGGBB pixels, `width` x `height`.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Copies the blitted pixels of `area` (page pixels) onto `dc` whose origin is the page's
// `origin`.
void PaintBlitted(const PageState& state, HDC dc, const RECT& area, POINT origin = {0, 0}) {
    for (const RECT& known : state.covered) {
        RECT part;
        if (!IntersectRect(&part, &known, &area))
            continue;
        BITMAPINFO info = TopDown32(state.width, state.height);
        // Rows part.top to part.bottom of the buffer; the source y counts from the first of them.
        const int rows = part.bottom - part.top;
        const std::uint32_t* first =
            state.blitted.data() + static_cast<std::size_t>(part.top) * state.width;
        info.bmiHeader.biHeight = -rows;
        SetDIBitsToDevice(dc, part.left - origin.x, part.top - origin.y,
                          static_cast<DWORD>(part.right - part.left), static_cast<DWORD>(rows),
                          part.left, 0, 0, static_cast<UINT>(rows), first, &info, DIB_RGB_COLORS);
    }
}

// The picture control: its bitmap centred and clipped, the thin frame, then what was blitted.
void DrawPicture(const PageState& state, const DRAWITEMSTRUCT& item) {
    const RECT& box = item.rcItem;
    HDC dc = item.hDC;
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    const ControlTemplate* control = nullptr;
    for (const ControlTemplate& candidate : state.page->GetTemplate()->controls)
        if (candidate.kind == ControlKind::Picture)
            control = &candidate;
    if (state.picture != nullptr) {
        BITMAP bitmap{};
        GetObjectW(state.picture, sizeof(bitmap), &bitmap);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, state.picture);
        // As the system centres an image: the quotient truncated toward zero.
        const int x = (box.right - box.left - bitmap.bmWidth) / 2;
        const int y = (box.bottom - box.top - bitmap.bmHeight) / 2;
        BitBlt(dc, x, y, bitmap.bmWidth, bitmap.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    if (control != nullptr && control->Has(kStyleThinBorder))
        FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));
    // The control's own coordinates are the page's, moved by the control's place.
    RECT onPage = box;
    MapWindowPoints(item.hwndItem, GetParent(item.hwndItem), reinterpret_cast<POINT*>(&onPage), 2);
    PaintBlitted(state, dc, onPage, POINT{onPage.left - box.left, onPage.top - box.top});
}

// A picture as 0x00RRGGBB pixels, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Where the source pixels of each pixel of a row of `to` pixels come from, when `from` pixels are
// spread evenly over it: the first source pixel and the share each one has in the pixel.
struct Taps {
    int first = 0;
    std::vector<double> shares;
};
std::vector<Taps> SpreadOver(int from, int to) {
    std::vector<Taps> taps(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step;
        const double end = (i + 1) * step;
        Taps& tap = taps[static_cast<std::size_t>(i)];
        tap.first = static_cast<int>(begin);
        const int last = std::min(from - 1, static_cast<int>(std::ceil(end)) - 1);
        for (int j = tap.first; j <= last; ++j)
            tap.shares.push_back((std::min(end, j + 1.0) - std::max(begin, 1.0 * j)) / step);
    }
    return taps;
}

// The picture at width x height, each pixel the average of the source pixels it covers, as much
// as it covers each: smooth, and the same whatever the system's own stretching does.
Pixels ScaleSmoothly(const Pixels& source, int width, int height) {
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0)
        return {};
    using Colour = std::array<double, 3>;
    const auto channels = [](std::uint32_t pixel) {
        return Colour{1.0 * ((pixel >> 16) & 0xFF), 1.0 * ((pixel >> 8) & 0xFF),
                      1.0 * (pixel & 0xFF)};
    };
    // Across first, then down.
    const std::vector<Taps> across = SpreadOver(source.width, width);
    std::vector<Colour> rows(static_cast<std::size_t>(width) * source.height);
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Taps& tap = across[static_cast<std::size_t>(x)];
            Colour sum{};
            for (std::size_t k = 0; k < tap.shares.size(); ++k) {
                const Colour c = channels(
                    source.pixels[static_cast<std::size_t>(y) * source.width + tap.first + k]);
                for (int i = 0; i < 3; ++i)
                    sum[i] += c[i] * tap.shares[k];
            }
            rows[static_cast<std::size_t>(y) * width + x] = sum;
        }
    }
    const std::vector<Taps> down = SpreadOver(source.height, height);
    Pixels scaled{width, height,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const Taps& tap = down[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            Colour sum{};
            for (std::size_t k = 0; k < tap.shares.size(); ++k)
                for (int i = 0; i < 3; ++i)
                    sum[i] += rows[(tap.first + k) * width + x][i] * tap.shares[k];
            std::uint32_t pixel = 0;
            for (int i = 0; i < 3; ++i)
                pixel = pixel << 8 |
                        static_cast<std::uint32_t>(std::clamp(std::lround(sum[i]), 0L, 255L));
            scaled.pixels[static_cast<std::size_t>(y) * width + x] = pixel;
        }
    }
    return scaled;
}

// The pixels of a bitmap, top row first.
Pixels PixelsOf(HBITMAP bitmap) {
    BITMAP size{};
    if (GetObjectW(bitmap, sizeof(size), &size) == 0 || size.bmWidth <= 0 || size.bmHeight <= 0)
        return {};
    Pixels image{
        size.bmWidth, size.bmHeight,
        std::vector<std::uint32_t>(static_cast<std::size_t>(size.bmWidth) * size.bmHeight)};
    BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.bmHeight), image.pixels.data(),
                               &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != size.bmHeight)
        return {};
    return image;
}

// A bitmap of the picture's pixels.
HBITMAP BitmapOf(const Pixels& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr)
        std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

// `compressed`: a bitmap of runs (BI_RLE8), which the system loads only as a device bitmap.
HBITMAP LoadBitmapResource(int id, bool compressed = false) {
    return static_cast<HBITMAP>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0,
                                           0, compressed ? 0 : LR_CREATEDIBSECTION));
}

// The page's picture at `dpi`: at 96 the bitmap itself; above, its larger image scaled smoothly to
// the bitmap's size times dpi / 96.
HBITMAP PictureAt(int id, UINT dpi) {
    HBITMAP bitmap = LoadBitmapResource(id);
    const int large = LargeBitmap(id);
    if (dpi == 96 || bitmap == nullptr || large == 0)
        return bitmap;
    BITMAP size{};
    GetObjectW(bitmap, sizeof(size), &size);
    HBITMAP source = LoadBitmapResource(large, true);
    const Pixels pixels = source != nullptr ? PixelsOf(source) : Pixels();
    if (source != nullptr)
        DeleteObject(source);
    if (pixels.pixels.empty())
        return bitmap;
    const int scale = static_cast<int>(dpi);
    HBITMAP scaled = BitmapOf(
        ScaleSmoothly(pixels, MulDiv(size.bmWidth, scale, 96), MulDiv(size.bmHeight, scale, 96)));
    if (scaled == nullptr)
        return bitmap;
    DeleteObject(bitmap);
    return scaled;
}

} // namespace

void CreatePageState(HWND window, CPropertyPage* page, UINT dpi) {
    auto* state = new PageState{page, 0, 0, 0, {}, {}, nullptr};
    SetPropW(window, kPageProperty, state);
    SetPageDpi(window, dpi);
}

UINT PageDpi(HWND window) {
    const PageState* state = StateOf(window);
    return state != nullptr ? state->dpi : WindowDpi(window);
}

void SetPageDpi(HWND window, UINT dpi) {
    PageState* state = StateOf(window);
    if (state == nullptr)
        return;
    // What was blitted is blitted again at the new scale when the page paints.
    RECT client{};
    GetClientRect(window, &client);
    state->width = client.right;
    state->height = client.bottom;
    state->blitted.assign(static_cast<std::size_t>(state->width) * state->height, 0);
    state->covered.clear();
    if (dpi == state->dpi)
        return;
    state->dpi = dpi;
    if (state->picture != nullptr)
        DeleteObject(state->picture);
    state->picture = nullptr;
    for (const ControlTemplate& control : state->page->GetTemplate()->controls)
        if (control.kind == ControlKind::Picture && state->picture == nullptr)
            state->picture = PictureAt(control.image, dpi);
}

void DestroyPageState(HWND window) {
    PageState* state = StateOf(window);
    RemovePropW(window, kPageProperty);
    if (state == nullptr)
        return;
    if (state->picture != nullptr)
        DeleteObject(state->picture);
    delete state;
}

int CWnd::GetDpi() const {
    if (m_hWnd == nullptr)
        return kDefaultDpi;
    return static_cast<int>(PageDpi(ToHwnd(m_hWnd)));
}

CPropertyPage* PageOfWindow(HWND window) {
    PageState* state = StateOf(window);
    return state != nullptr ? state->page : nullptr;
}

void PaintPageBlits(HWND window, HDC dc, const RECT& area) {
    if (const PageState* state = StateOf(window))
        PaintBlitted(*state, dc, area);
}

void DrawPagePicture(HWND window, const DRAWITEMSTRUCT& item) {
    if (const PageState* state = StateOf(window))
        DrawPicture(*state, item);
}

void CPropertyPage::BlitToClient(int x, int y, int w, int h, const std::uint32_t* pixels,
                                 int stride) {
    HWND window = ToHwnd(m_hWnd);
    PageState* state = StateOf(window);
    if (state == nullptr || pixels == nullptr || w <= 0 || h <= 0 || stride < w)
        return;
    RECT area{std::max(x, 0), std::max(y, 0), std::min(x + w, state->width),
              std::min(y + h, state->height)};
    if (area.left >= area.right || area.top >= area.bottom)
        return;
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint32_t* from =
            pixels + static_cast<std::size_t>(row - y) * stride + (area.left - x);
        std::copy(from, from + (area.right - area.left),
                  state->blitted.begin() + static_cast<std::ptrdiff_t>(row) * state->width +
                      area.left);
    }
    Cover(*state, area);
    // Straight onto the screen, over the controls, as a copy to the page's device context does.
    if (HDC dc = GetDC(window)) {
        PaintBlitted(*state, dc, area);
        ReleaseDC(window, dc);
    }
}

void CPropertyPage::DrawIcon(int x, int y, HICON icon) {
    HWND window = ToHwnd(m_hWnd);
    if (window == nullptr || icon == nullptr)
        return;
    if (HDC dc = GetDC(window)) {
        ::DrawIconEx(dc, x, y, ToWin32Icon(icon), GetSystemMetrics(SM_CXICON),
                     GetSystemMetrics(SM_CYICON), 0, nullptr, DI_NORMAL);
        ReleaseDC(window, dc);
    }
}
