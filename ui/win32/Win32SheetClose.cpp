// The sheet's question before it closes: OK (the button or Enter) and the close box ask the
// sheet (CanClose) once the page shown has taken its fields; Cancel and Escape close at once.

#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/win32/Win32Window.h"

namespace {

LRESULT CALLBACK SheetCloseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    auto* sheet = reinterpret_cast<CPropertySheet*>(data);
    const bool ok = message == WM_COMMAND && LOWORD(wParam) == IDOK;
    const bool closeBox = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
    if (ok || closeBox) {
        CPropertyPage* page = PageOfWindow(PropSheet_GetCurrentPageHwnd(window));
        // A field that holds no number keeps the sheet, as it would for OK anyway.
        if (ok && page != nullptr && !page->OnKillActive())
            return 0;
        if (!sheet->CanClose())
            return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void WatchSheetClosing(HWND window, CPropertySheet& sheet) {
    SetWindowSubclass(window, SheetCloseProc, 1, reinterpret_cast<DWORD_PTR>(&sheet));
}
