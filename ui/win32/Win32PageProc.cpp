// The dialog procedure of every page: its controls set up and placed, their notifications, the
// sliders' reports, the paints.

#include "ui/PropertyPage.h"
#include "ui/win32/Win32Window.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The controls' fonts at `dpi`: the dialog font, and the shell's for the fields. What the user
// types is shown in the shell's dialog font: under Wine, its own MS Sans Serif makes the text
// shaping of an edit field crash on Cyrillic letters. At the DPI the dialog was made at, the
// others keep the font the dialog manager gave them.
void SetFonts(HWND window, const DialogTemplate& page, UINT dpi, bool dialogFont) {
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : page.controls) {
        if (child == nullptr)
            break;
        const bool field =
            control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox;
        if (field || dialogFont) {
            HFONT font = field ? ShellDialogFont(dpi) : DialogFontAt(dpi);
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

// The controls' setup the template cannot hold: the combo boxes' entries.
void FillControls(HWND window, const DialogTemplate& page) {
    const QuietChanges quiet;
    for (const ControlTemplate& control : page.controls) {
        if (control.kind != ControlKind::ComboBox)
            continue;
        HWND combo = GetDlgItem(window, control.id);
        for (std::string_view entry : control.items) {
            const std::wstring text = Widen(entry);
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
}

// Whether the control's text fits it in `font`: a static's lines broken at blanks within its
// width, a group box's title clear of the frame's corners, a button's text clear of its edge
// (as the GUI tests' driver measures them), the margins at `dpi`.
bool TextFits(HWND control, ControlKind kind, HFONT font, UINT dpi) {
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    const std::wstring text = Widen(WindowText(control));
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    bool fits = false;
    if (kind == ControlKind::Static) {
        RECT needed{0, 0, client.right, 0};
        const UINT centred =
            (GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : 0;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | centred);
        // A pixel either side for a glyph that reaches beyond its advance.
        fits = needed.right - needed.left + scaled(2) <= client.right &&
               needed.bottom <= client.bottom;
    } else {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        // The title starts past the frame's corner and stops as far before the other.
        const int margin = scaled(kind == ControlKind::GroupBox ? 24 : 8);
        fits = size.cx + margin <= client.right && size.cy <= client.bottom;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fits;
}

// Every text in the dialog font where it fits, else in the shell's face at the largest size that
// fits (the fonts differ from system to system; the template's places do not).
void FitTexts(HWND window, const DialogTemplate& page, UINT dpi) {
    const int smallestHeight = MulDiv(7, static_cast<int>(dpi), 96);
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : page.controls) {
        if (child == nullptr)
            break;
        const bool hasText = control.kind == ControlKind::Static ||
                             control.kind == ControlKind::GroupBox ||
                             control.kind == ControlKind::PushButton;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (hasText && !control.text.empty() && !TextFits(child, control.kind, font, dpi)) {
            LOGFONTW metrics{};
            GetObjectW(font, sizeof(metrics), &metrics);
            for (int height = std::abs(metrics.lfHeight) - 1; height >= smallestHeight; --height) {
                if (TextFits(child, control.kind, ShellFontOfHeight(height), dpi) ||
                    height == smallestHeight) {
                    SendMessageW(child, WM_SETFONT,
                                 reinterpret_cast<WPARAM>(ShellFontOfHeight(height)), FALSE);
                    break;
                }
            }
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

// The page and its controls at their pixels at `dpi` (DialogUnitsToPixels), in template order,
// which is the order of the page's child windows.
void PlaceControls(HWND window, const DialogTemplate& page, UINT dpi) {
    const int scale = static_cast<int>(dpi);
    const PixelRect size = DialogUnitsToPixels(0, 0, page.w, page.h, scale);
    SetWindowPos(window, nullptr, 0, 0, size.w, size.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : page.controls) {
        if (child == nullptr)
            break;
        const PixelRect rect =
            DialogUnitsToPixels(control.x, control.y, control.w, control.h, scale);
        SetWindowPos(child, nullptr, rect.x, rect.y, rect.w, rect.h, SWP_NOZORDER | SWP_NOACTIVATE);
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

// Whether the focus has gone to another control of the same top-level window (not to a
// message box, not away from a deactivated window).
bool FocusStaysInWindow(HWND page) {
    HWND focus = GetFocus();
    return focus != nullptr && GetAncestor(focus, GA_ROOT) == GetAncestor(page, GA_ROOT);
}

void SetResult(HWND window, LONG_PTR result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
}

constexpr wchar_t kAcceptedProperty[] = L"il18-loader.accepted";
constexpr wchar_t kReportAskedProperty[] = L"il18-loader.report-asked";
constexpr wchar_t kReportedProperty[] = L"il18-loader.reported"; // the position reported, + 1

// Whether the slider's paint is to report, and if so remembers the position reported.
bool TakeSliderReport(HWND slider) {
    const auto position = static_cast<std::intptr_t>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const bool asked = RemovePropW(slider, kReportAskedProperty) != nullptr;
    const auto reported = reinterpret_cast<std::intptr_t>(GetPropW(slider, kReportedProperty));
    if (!asked && reported == position + 1)
        return false;
    SetPropW(slider, kReportedProperty, reinterpret_cast<HANDLE>(position + 1));
    return true;
}

bool IsSlider(HWND window) {
    return HasClass(window, TRACKBAR_CLASSW);
}

void AskEverySliderReport(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (IsSlider(child))
            AskSliderReport(child);
}

// Posted to a page when a field refused to give up the focus. A button whose press was refused
// so takes the mouse once its message box has gone, and the button's release came during the box:
// it would keep the mouse, and the next click anywhere would reach it instead.
constexpr UINT kReleaseButtonMessage = WM_APP + 1;

} // namespace

void LayOutPage(HWND window, UINT dpi) {
    CPropertyPage* page = PageOfWindow(window);
    if (page == nullptr)
        return;
    const DialogTemplate& source = *page->GetTemplate();
    SetPageDpi(window, dpi); // the page's size follows it (WM_WINDOWPOSCHANGING)
    PlaceControls(window, source, dpi);
    SetPageDpi(window, dpi); // what is kept of the blits, at the page's new size
    SetFonts(window, source, dpi, true);
    FitTexts(window, source, dpi);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void AskSliderReport(HWND slider) {
    SetPropW(slider, kReportAskedProperty, reinterpret_cast<HANDLE>(1));
}

bool SheetWasAccepted(HWND sheet) {
    return GetPropW(sheet, kAcceptedProperty) != nullptr;
}

void ForgetSheetAcceptance(HWND sheet) {
    RemovePropW(sheet, kAcceptedProperty);
}

INT_PTR CALLBACK PageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<CPropertyPage*>(
            reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        const UINT dpi = WindowDpi(window);
        KeepDialogLayoutOnDpiChange(window);
        PlaceControls(window, *page->GetTemplate(), dpi);
        CreatePageState(window, page, dpi);
        page->Attach(ToHandle(window));
        SetFonts(window, *page->GetTemplate(), dpi, false);
        FillControls(window, *page->GetTemplate());
        FitTexts(window, *page->GetTemplate(), dpi);
        page->OnInitDialog();
        return TRUE;
    }
    CPropertyPage* page = PageOfWindow(window);
    if (page == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND: {
        if (lParam == 0)
            return FALSE; // a menu or an accelerator, no control
        const unsigned code = HIWORD(wParam);
        const int id = LOWORD(wParam);
        if (code == EN_CHANGE && QuietChanges::Active())
            return TRUE;
        if (code == EN_KILLFOCUS && !FocusStaysInWindow(window))
            return TRUE;
        if (code == BN_CLICKED || code == CBN_SELENDOK || code == EN_CHANGE || code == EN_KILLFOCUS)
            page->OnControlNotify(code, id);
        // A refusal kept the focus in the field.
        if (code == EN_KILLFOCUS && GetFocus() == reinterpret_cast<HWND>(lParam))
            PostMessageW(window, kReleaseButtonMessage, 0, 0);
        return TRUE;
    }
    case kReleaseButtonMessage: {
        // A button that holds the mouse without the focus was pressed in vain.
        HWND button = GetCapture();
        if (button != nullptr && button != GetFocus() && HasClass(button, WC_BUTTONW)) {
            ReleaseCapture();
            SendMessageW(button, BM_SETSTATE, FALSE, 0);
        }
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const Win32Nmhdr*>(lParam);
        switch (header->code) {
        case NM_CUSTOMDRAW:
            // Buttons and group boxes of the visual style send it too: only a slider reports.
            if (!IsSlider(header->hwndFrom))
                return FALSE;
            // The slider's report: once per paint, before anything of it is drawn.
            if (reinterpret_cast<const NMCUSTOMDRAW*>(lParam)->dwDrawStage == CDDS_PREPAINT &&
                TakeSliderReport(header->hwndFrom))
                page->OnControlNotify(NM_CUSTOMDRAW, static_cast<int>(header->idFrom));
            SetResult(window, CDRF_DODEFAULT);
            return TRUE;
        case PSN_KILLACTIVE:
            // TRUE keeps the page: a field holds no number.
            SetResult(window, page->OnKillActive() ? FALSE : TRUE);
            return TRUE;
        case PSN_APPLY:
            SetPropW(GetParent(window), kAcceptedProperty, reinterpret_cast<HANDLE>(1));
            SetResult(window, PSNRET_NOERROR);
            return TRUE;
        default:
            return FALSE;
        }
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_STATIC)
            return FALSE;
        DrawPagePicture(window, *item);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintPageBlits(window, dc, paint.rcPaint);
        EndPaint(window, &paint);
        // The controls paint after their page, each in its own window.
        page->OnPaint();
        return TRUE;
    }
    case WM_SHOWWINDOW:
        if (wParam != FALSE)
            AskEverySliderReport(window);
        return FALSE;
    case WM_WINDOWPOSCHANGING: {
        // The sheet may make more room than the page needs; the page keeps its size.
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((position->flags & SWP_NOSIZE) == 0) {
            const PixelRect size =
                DialogUnitsToPixels(0, 0, page->GetTemplate()->w, page->GetTemplate()->h,
                                    static_cast<int>(PageDpi(window)));
            position->cx = size.w;
            position->cy = size.h;
        }
        return FALSE;
    }
    case WM_DESTROY:
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RemovePropW(child, kReportAskedProperty);
            RemovePropW(child, kReportedProperty);
        }
        DestroyPageState(window);
        page->ForgetWindow();
        return FALSE;
    default:
        return FALSE;
    }
}

bool CPropertyPage::Create(NativeWindow* parent) {
    if (m_hWnd != nullptr)
        return true;
    const DLGTEMPLATE* dialog = PageDialogTemplate(*this, true, WindowDpi(ToHwnd(parent)));
    if (dialog == nullptr)
        return false;
    PROPSHEETPAGEW setup{};
    setup.dwSize = sizeof(setup);
    setup.lParam = reinterpret_cast<LPARAM>(this);
    return CreateDialogIndirectParamW(ProgramInstance(), dialog, ToHwnd(parent), PageDialogProc,
                                      reinterpret_cast<LPARAM>(&setup)) != nullptr;
}

void CPropertyPage::DestroyWindow() {
    // The window's WM_DESTROY unbinds the controls and forgets the window (ForgetWindow).
    if (m_hWnd != nullptr)
        ::DestroyWindow(ToHwnd(m_hWnd));
}
