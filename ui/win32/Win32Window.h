#pragma once

#include "common/Utf16.h"
#include "common/Win32Api.h"
#include "ui/Controls.h"
#include "ui/PropertyPage.h"

#include <string>
#include <string_view>

class CPropertyPage;
class CPropertySheet;
struct NativeWindow;

// A NativeWindow of the Win32 backend is an HWND.
inline HWND ToHwnd(NativeWindow* window) {
    return reinterpret_cast<HWND>(window);
}
inline NativeWindow* ToHandle(HWND window) {
    return reinterpret_cast<NativeWindow*>(window);
}

// The layer's icon of the Win32 backend is the system's.
inline Win32Icon ToWin32Icon(HICON icon) {
    return reinterpret_cast<Win32Icon>(const_cast<NativeIcon*>(icon));
}

// The window's text as UTF-8 ("" for no window).
std::string WindowText(HWND window);

// While one lives, a change of a field's text made by the program sends the page no EN_CHANGE:
// only the user's changes do.
class QuietChanges {
public:
    QuietChanges();
    ~QuietChanges();
    QuietChanges(const QuietChanges&) = delete;
    QuietChanges& operator=(const QuietChanges&) = delete;
    static bool Active();
};

// Whether the window is of the class `name`.
bool HasClass(HWND window, const wchar_t* name);

// The shell's dialog font at 8 points and the pages' dialog font (MS Sans Serif, 8 points), each
// made for a screen of `dpi` dots per inch, and the shell's face at `height` pixels; kept for the
// program's life (Win32DialogTemplate.cpp).
HFONT ShellDialogFont(UINT dpi);
HFONT DialogFontAt(UINT dpi);
HFONT ShellFontOfHeight(int height);

// The program scales itself to each monitor's DPI (its manifest says so); Windows does not
// stretch its windows (Win32Dpi.cpp). WindowDpi: the DPI of the monitor the window is on, as the
// system tells a program that is aware of it; the system's for nullptr, or where the system has
// no DPI of each window (then the screen's LOGPIXELSY).
UINT WindowDpi(HWND window);
// A system metric (SM_CXICON…) at `dpi`.
int SystemMetricAt(int index, UINT dpi);
// Keeps the dialog manager from scaling the dialog's controls by itself when the DPI changes:
// the pages place their controls in pixels of their own (LayOutPage).
void KeepDialogLayoutOnDpiChange(HWND dialog);
// Gives the sheet its program icon at the sizes the system asks for at `dpi` (the title bar's,
// the task switcher's), from the icon file's larger images.
void SetSheetIcons(HWND sheet, UINT dpi);
// Makes the sheet follow a change of its monitor's DPI (WM_DPICHANGED): it takes the rectangle
// the system suggests, and its tabs, buttons and pages are laid out again at the new DPI; the
// fields keep their values, the sliders their positions and the focus its control.
void WatchSheetDpi(HWND sheet);

// Lays the page's window out at `dpi` (Win32PageProc.cpp): its size and its controls at
// DialogUnitsToPixels, its fonts, the texts fitted to their controls, the picture and the blits
// (PageState) at that scale. The page is painted again.
void LayOutPage(HWND window, UINT dpi);

// What is kept of a page's window (Win32PageState.cpp): made when its dialog starts, gone with its
// window. PageOfWindow gives the page whose window `window` is, or nullptr when it is no page's.
// The page's DPI is the one it was laid out at (SetPageDpi), which sizes what is kept of the blits
// and scales the picture.
void CreatePageState(HWND window, CPropertyPage* page, UINT dpi);
UINT PageDpi(HWND window);
void SetPageDpi(HWND window, UINT dpi);
void DestroyPageState(HWND window);
CPropertyPage* PageOfWindow(HWND window);
// Paints what has been blitted onto `area` of the page (page pixels).
void PaintPageBlits(HWND window, HDC dc, const RECT& area);
// Draws the page's picture control (WM_DRAWITEM): its bitmap, its frame, the blits over it.
void DrawPagePicture(HWND window, const DRAWITEMSTRUCT& item);

// A slider reports its position in its paint (NM_CUSTOMDRAW) when the position has changed since
// its last report, or when a report was asked for (SetPos, SetRange with redraw, the page shown);
// a paint for anything else (the focus, a window over it) reports nothing.
void AskSliderReport(HWND slider);

// The in-memory dialog template of a page (DLGTEMPLATEEX), built once from res/ and kept for
// the program's life; nullptr for a page without a template.
// `standalone`: for a page created on its own (CPropertyPage::Create), not in a sheet; `dpi`: that
// of the screen the sheet is made for.
const DLGTEMPLATE* PageDialogTemplate(const CPropertyPage& page, bool standalone, UINT dpi);
// The dialog procedure of every page; its WM_INITDIALOG takes a PROPSHEETPAGEW whose lParam is
// the CPropertyPage.
INT_PTR CALLBACK PageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether OK has been pressed on the sheet (its pages were told to apply); forgotten when the
// sheet is shown again.
bool SheetWasAccepted(HWND sheet);
// Whether the sheet's DoModal runs its loop now.
bool SheetRunsModally(HWND sheet);
void ForgetSheetAcceptance(HWND sheet);

// What a window's message loop does with a message before the dialog manager sees it: Enter in
// a page that has a default button moves the focus to that button and clicks it (so that the
// field left hears of it first). True when the message was handled.
bool PreTranslatePageMessage(const MSG& message);
// One message of a property sheet's loop: the page keys, the dialog keys, then the window.
void DispatchSheetMessage(HWND sheet, MSG& message);

// Makes the sheet's window ask `sheet` (CanClose) before OK or the close box closes it.
void WatchSheetClosing(HWND window, CPropertySheet& sheet);

// The program's instance (its resources).
HINSTANCE ProgramInstance();
