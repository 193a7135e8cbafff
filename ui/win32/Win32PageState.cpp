// What the Win32 backend keeps of a page's window: what has been blitted onto it, so that it can
// be painted again, and the picture's bitmap.

#include "ui/PropertyPage.h"
#include "ui/win32/Win32Window.h"

#include <algorithm>
#include <vector>

namespace {

// What the Win32 backend keeps for a page's window: what has been blitted onto it, so that it
// can be painted again, and the picture's bitmap.
struct PageState {
    CPropertyPage* page;
    int width, height;
    std::vector<std::uint32_t> blitted; // width x height, row by row from the top
    std::vector<RECT> covered;          // where `blitted` holds what was blitted
    HBITMAP picture = nullptr;
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

// Copies the blitted pixels of `area` (page pixels) onto `dc` whose origin is the page's
// `origin`.
void PaintBlitted(const PageState& state, HDC dc, const RECT& area, POINT origin = {0, 0}) {
    for (const RECT& known : state.covered) {
        RECT part;
        if (!IntersectRect(&part, &known, &area))
            continue;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = state.width;
        info.bmiHeader.biHeight = -state.height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
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

} // namespace

void CreatePageState(HWND window, CPropertyPage* page) {
    auto* state = new PageState{page, 0, 0, {}, {}, nullptr};
    RECT client{};
    GetClientRect(window, &client);
    state->width = client.right;
    state->height = client.bottom;
    state->blitted.assign(static_cast<std::size_t>(state->width) * state->height, 0);
    for (const ControlTemplate& control : page->GetTemplate()->controls) {
        if (control.kind == ControlKind::Picture && state->picture == nullptr)
            state->picture =
                static_cast<HBITMAP>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(control.image),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    SetPropW(window, kPageProperty, state);
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
