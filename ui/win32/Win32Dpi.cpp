// The program on screens of any DPI: the DPI of each window, the system's sizes at that DPI, the
// sheet's icons, and the sheet laid out again when it moves to a monitor of another scale.
// Windows before 10 has no DPI of each window, nor its functions: they are looked up in USER32
// when first needed, and without them the system's DPI serves.

#include "ui/Resources.h"
#include "ui/win32/Win32Window.h"

#include <map>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

template <class Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // The address of a function of the system, of the type it is documented with.
    return user32 != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);

UINT SystemDpi() {
    static const UINT dpi = [] {
        HDC dc = GetDC(nullptr);
        const int pixelsPerInch = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
        if (dc != nullptr)
            ReleaseDC(nullptr, dc);
        return pixelsPerInch > 0 ? static_cast<UINT>(pixelsPerInch) : 96u;
    }();
    return dpi;
}

constexpr wchar_t kSheetDpiProperty[] = L"il18-loader.dpi";

// The window's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

int Rescaled(int value, UINT to, UINT from) {
    return MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

// The sheet's own controls (the tabs, the buttons) at `dpi`, scaled from where they are, and the
// pages moved with the tabs; then each page laid out at `dpi`.
void LayOutSheet(HWND sheet, UINT dpi, UINT previous) {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT place = PlaceInParent(child);
        const bool page = PageOfWindow(child) != nullptr;
        const int x = Rescaled(place.left, dpi, previous);
        const int y = Rescaled(place.top, dpi, previous);
        const int w = Rescaled(place.right - place.left, dpi, previous);
        const int h = Rescaled(place.bottom - place.top, dpi, previous);
        SetWindowPos(child, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        if (page)
            pages.push_back(child);
        else
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(ShellDialogFont(dpi)), TRUE);
    }
    for (HWND page : pages)
        LayOutPage(page, dpi);
}

LRESULT CALLBACK SheetDpiProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_NCDESTROY)
        RemovePropW(window, kSheetDpiProperty);
    if (message != WM_DPICHANGED)
        return DefSubclassProc(window, message, wParam, lParam);
    const UINT dpi = HIWORD(wParam);
    const auto previous =
        static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropW(window, kSheetDpiProperty)));
    if (dpi == 0 || previous == 0 || dpi == previous)
        return 0;
    SetPropW(window, kSheetDpiProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutSheet(window, dpi, previous);
    SetSheetIcons(window, dpi);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

} // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (window != nullptr && getDpiForWindow != nullptr)
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    return SystemDpi();
}

int SystemMetricAt(int index, UINT dpi) {
    static const auto getSystemMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr)
        return getSystemMetricsForDpi(index, dpi);
    return MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    static const auto setBehavior =
        User32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1; // DDC_DISABLE_ALL
    if (setBehavior != nullptr)
        setBehavior(dialog, kDisableAll, kDisableAll);
}

void SetSheetIcons(HWND sheet, UINT dpi) {
    // Kept for the program's life, one for each size; the system picks the icon file's image of
    // that size, or scales down the next larger one.
    static std::map<int, Win32Icon> icons;
    const auto iconOfSize = [](int size) {
        auto [entry, added] = icons.try_emplace(size, nullptr);
        if (added)
            entry->second = static_cast<Win32Icon>(LoadImageW(
                ProgramInstance(), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, size, size, 0));
        return entry->second;
    };
    const Win32Icon large = iconOfSize(SystemMetricAt(SM_CXICON, dpi));
    const Win32Icon small = iconOfSize(SystemMetricAt(SM_CXSMICON, dpi));
    if (large != nullptr)
        SendMessageW(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (small != nullptr)
        SendMessageW(sheet, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void WatchSheetDpi(HWND sheet) {
    SetPropW(sheet, kSheetDpiProperty,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(WindowDpi(sheet))));
    KeepDialogLayoutOnDpiChange(sheet);
    SetWindowSubclass(sheet, SheetDpiProc, 2, 0);
}
