// Property pages on the Win32 API: dialog templates built in memory from res/, the controls'
// notifications, the blits.

#include "ui/PropertyPage.h"
#include "ui/win32/Win32Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

bool Has(const ControlTemplate& control, std::uint32_t style) {
    return (control.style & style) != 0;
}

// The dialog font of every page, the one the pages were drawn with: MS Sans Serif at 8 points.
// The controls are placed in pixels of the layer's own base units (6 x 13, DialogUnitsToPixels)
// whatever the font's, so that the seat maps fall on the picture and every text has the room
// it was given.
constexpr wchar_t kDialogFont[] = L"MS Sans Serif";
constexpr WORD kDialogFontPoints = 8;

// The shell's dialog font, "MS Shell Dlg" at 8 points, as the system makes it for a dialog.
HFONT ShellDialogFont() {
    static HFONT font = [] {
        HDC dc = GetDC(nullptr);
        const int pixelsPerInch = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc != nullptr)
            ReleaseDC(nullptr, dc);
        return CreateFontW(-MulDiv(kDialogFontPoints, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
    }();
    return font;
}

// The shell's dialog face at `height` pixels (a character's height), for a text that the dialog
// font does not fit; kept for the program's life.
HFONT ShellFontOfHeight(int height) {
    static std::map<int, HFONT> fonts;
    auto [entry, added] = fonts.try_emplace(height, nullptr);
    if (added)
        entry->second = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
    return entry->second;
}

// The base units of the sheet's own font, the shell's dialog font, by which the sheet sizes the
// room for its pages from their templates; computed as the system computes them.
SIZE SheetBaseUnits() {
    SIZE units{kBaseUnitX, kBaseUnitY};
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return units;
    HGDIOBJ old = SelectObject(dc, ShellDialogFont());
    TEXTMETRICW metrics{};
    SIZE extent{};
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextMetricsW(dc, &metrics) && GetTextExtentPoint32W(dc, kAlphabet, 52, &extent)) {
        units.cx = std::max<LONG>(1, (extent.cx / 26 + 1) / 2);
        units.cy = std::max<LONG>(1, metrics.tmHeight);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return units;
}

// The page's size in the template: for a sheet, in the sheet's dialog units, so that the room
// it makes holds the page's pixels (a unit more for rounding).
SIZE TemplateSize(const DialogTemplate& page, bool standalone) {
    if (standalone)
        return {page.w, page.h};
    const PixelRect pixels = DialogUnitsToPixels(0, 0, page.w, page.h);
    const SIZE units = SheetBaseUnits();
    return {(pixels.w * 4 + units.cx - 1) / units.cx + 1,
            (pixels.h * 8 + units.cy - 1) / units.cy + 1};
}

// Writes a DLGTEMPLATEEX and its DLGITEMTEMPLATEEX entries, word by word, as the dialog
// manager reads them.
class TemplateWriter {
public:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Short(int value) { Word(static_cast<WORD>(static_cast<short>(value))); }
    void Text(std::wstring_view text) {
        m_words.insert(m_words.end(), text.begin(), text.end());
        Word(0);
    }
    void Ordinal(WORD value) {
        Word(0xFFFF);
        Word(value);
    }
    void AlignDword() {
        if (m_words.size() % 2 != 0)
            Word(0);
    }
    const DLGTEMPLATE* Finish() {
        // A template lies on a DWORD boundary; the vector of words is allocated for its words.
        m_data = std::make_unique<DWORD[]>(m_words.size() / 2 + 1);
        std::memcpy(m_data.get(), m_words.data(), m_words.size() * sizeof(WORD));
        return reinterpret_cast<const DLGTEMPLATE*>(m_data.get());
    }

private:
    std::vector<WORD> m_words;
    std::unique_ptr<DWORD[]> m_data;
};

// The system's predefined control classes by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

struct ItemStyle {
    DWORD style;
    DWORD exStyle;
};

ItemStyle StyleOf(const ControlTemplate& control) {
    const DWORD tabStop = Has(control, kStyleNotTabStop) ? 0 : WS_TABSTOP;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (control.kind) {
    case ControlKind::Static:
        style |= WS_GROUP | (Has(control, kStyleCentered) ? SS_CENTER : SS_LEFT);
        if (Has(control, kStyleTransparent))
            exStyle |= WS_EX_TRANSPARENT;
        break;
    case ControlKind::GroupBox:
        style |= BS_GROUPBOX | (Has(control, kStyleCentered) ? BS_CENTER : 0);
        break;
    case ControlKind::Edit:
        style |= ES_LEFT | ES_AUTOHSCROLL | tabStop;
        if (Has(control, kStyleReadOnly))
            style |= ES_READONLY;
        if (!Has(control, kStyleNoBorder))
            style |= WS_BORDER;
        break;
    case ControlKind::ComboBox:
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop;
        break;
    case ControlKind::PushButton:
        style |= (Has(control, kStyleDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tabStop;
        if (Has(control, kStyleSunkenEdge))
            exStyle |= WS_EX_STATICEDGE;
        break;
    case ControlKind::Slider:
        style |= TBS_HORZ | TBS_AUTOTICKS |
                 (Has(control, kStyleTicksOnTop) ? TBS_TOP : TBS_BOTTOM) | tabStop;
        break;
    case ControlKind::Picture:
        // Drawn by the page (WM_DRAWITEM), so that what is blitted stays above the picture.
        style |= SS_OWNERDRAW;
        break;
    }
    return {style, exStyle};
}

void WriteClass(TemplateWriter& out, ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Picture:
        out.Ordinal(kStaticClass);
        return;
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
        out.Ordinal(kButtonClass);
        return;
    case ControlKind::Edit:
        out.Ordinal(kEditClass);
        return;
    case ControlKind::ComboBox:
        out.Ordinal(kComboBoxClass);
        return;
    case ControlKind::Slider:
        out.Text(TRACKBAR_CLASSW);
        return;
    }
}

const DLGTEMPLATE* BuildTemplate(const DialogTemplate& page, bool standalone, TemplateWriter& out) {
    // A page of a sheet has a caption, its tab's title; a page on its own is a visible child
    // control of its parent.
    const DWORD style =
        WS_CHILD | DS_SETFONT | DS_3DLOOK | DS_CONTROL | (standalone ? WS_VISIBLE : WS_CAPTION);
    out.Word(1);      // dlgVer
    out.Word(0xFFFF); // signature: DLGTEMPLATEEX
    out.Dword(0);     // helpID
    out.Dword(WS_EX_CONTROLPARENT);
    out.Dword(style);
    out.Word(static_cast<WORD>(page.controls.size()));
    out.Short(0);
    out.Short(0);
    const SIZE size = TemplateSize(page, standalone);
    out.Short(size.cx);
    out.Short(size.cy);
    out.Word(0); // no menu
    out.Word(0); // the dialog class
    out.Text(Widen(page.caption));
    out.Word(kDialogFontPoints);
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET)); // italic, charset
    out.Text(kDialogFont);
    for (const ControlTemplate& control : page.controls) {
        out.AlignDword();
        const ItemStyle item = StyleOf(control);
        out.Dword(0); // helpID
        out.Dword(item.exStyle);
        out.Dword(item.style);
        out.Short(control.x);
        out.Short(control.y);
        out.Short(control.w);
        out.Short(control.h);
        out.Dword(static_cast<DWORD>(control.id));
        WriteClass(out, control.kind);
        out.Text(Widen(control.text));
        out.Word(0); // no creation data
    }
    return out.Finish();
}

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
    if (control != nullptr && Has(*control, kStyleThinBorder))
        FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));
    // The control's own coordinates are the page's, moved by the control's place.
    RECT onPage = box;
    MapWindowPoints(item.hwndItem, GetParent(item.hwndItem), reinterpret_cast<POINT*>(&onPage), 2);
    PaintBlitted(state, dc, onPage, POINT{onPage.left - box.left, onPage.top - box.top});
}

void CreateState(HWND window, CPropertyPage* page) {
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

void DestroyState(HWND window) {
    PageState* state = StateOf(window);
    RemovePropW(window, kPageProperty);
    if (state == nullptr)
        return;
    if (state->picture != nullptr)
        DeleteObject(state->picture);
    delete state;
}

// The controls' setup the template cannot hold: the fields' font and the combo boxes' entries.
void FillControls(HWND window, const DialogTemplate& page) {
    const QuietChanges quiet;
    for (const ControlTemplate& control : page.controls) {
        if (control.kind != ControlKind::Edit && control.kind != ControlKind::ComboBox)
            continue;
        // What the user types is shown in the shell's dialog font: under Wine, its own MS Sans
        // Serif makes the text shaping of an edit field crash on Cyrillic letters.
        SendMessageW(GetDlgItem(window, control.id), WM_SETFONT,
                     reinterpret_cast<WPARAM>(ShellDialogFont()), FALSE);
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
// (as the GUI tests' driver measures them).
bool TextFits(HWND control, ControlKind kind, HFONT font) {
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
        fits = needed.right - needed.left + 2 <= client.right && needed.bottom <= client.bottom;
    } else {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        // The title starts past the frame's corner and stops as far before the other.
        const int margin = kind == ControlKind::GroupBox ? 24 : 8;
        fits = size.cx + margin <= client.right && size.cy <= client.bottom;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fits;
}

// Every text in the dialog font where it fits, else in the shell's face at the largest size that
// fits (the fonts differ from system to system; the template's places do not).
void FitTexts(HWND window, const DialogTemplate& page) {
    constexpr int kSmallestHeight = 7;
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : page.controls) {
        if (child == nullptr)
            break;
        const bool hasText = control.kind == ControlKind::Static ||
                             control.kind == ControlKind::GroupBox ||
                             control.kind == ControlKind::PushButton;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (hasText && !control.text.empty() && !TextFits(child, control.kind, font)) {
            LOGFONTW metrics{};
            GetObjectW(font, sizeof(metrics), &metrics);
            for (int height = std::abs(metrics.lfHeight) - 1; height >= kSmallestHeight; --height) {
                if (TextFits(child, control.kind, ShellFontOfHeight(height)) ||
                    height == kSmallestHeight) {
                    SendMessageW(child, WM_SETFONT,
                                 reinterpret_cast<WPARAM>(ShellFontOfHeight(height)), FALSE);
                    break;
                }
            }
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
}

// The page and its controls at their pixels (DialogUnitsToPixels), in template order, which is
// the order of the page's child windows.
void PlaceControls(HWND window, const DialogTemplate& page) {
    const PixelRect size = DialogUnitsToPixels(0, 0, page.w, page.h);
    SetWindowPos(window, nullptr, 0, 0, size.w, size.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& control : page.controls) {
        if (child == nullptr)
            break;
        const PixelRect rect = DialogUnitsToPixels(control.x, control.y, control.w, control.h);
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

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t className[32];
    return GetClassNameW(window, className, 32) > 0 && lstrcmpiW(className, name) == 0;
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

// Posted to a page when a field refused its text while a button of the page held the mouse: the
// button's click is over, and it must not keep the mouse (its next click would be lost).
constexpr UINT kReleaseButtonMessage = WM_APP + 1;

} // namespace

void AskSliderReport(HWND slider) {
    SetPropW(slider, kReportAskedProperty, reinterpret_cast<HANDLE>(1));
}

const DLGTEMPLATE* PageDialogTemplate(const CPropertyPage& page, bool standalone) {
    const DialogTemplate* source = page.GetTemplate();
    if (source == nullptr)
        return nullptr;
    struct Built {
        TemplateWriter writer;
        const DLGTEMPLATE* dialog = nullptr;
    };
    static std::map<std::pair<int, bool>, Built> built;
    auto [entry, added] = built.try_emplace({source->id, standalone});
    if (added)
        entry->second.dialog = BuildTemplate(*source, standalone, entry->second.writer);
    return entry->second.dialog;
}

CPropertyPage* PageOfWindow(HWND window) {
    PageState* state = StateOf(window);
    return state != nullptr ? state->page : nullptr;
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
        PlaceControls(window, *page->GetTemplate());
        CreateState(window, page);
        page->Attach(ToHandle(window));
        FillControls(window, *page->GetTemplate());
        FitTexts(window, *page->GetTemplate());
        page->OnInitDialog();
        return TRUE;
    }
    PageState* state = StateOf(window);
    if (state == nullptr)
        return FALSE;
    CPropertyPage* page = state->page;
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
        // A refusal took the focus back from the button being clicked (a message box took the
        // click): that button lets the mouse go once its click has been handled.
        if (code == EN_KILLFOCUS && GetFocus() == reinterpret_cast<HWND>(lParam) &&
            GetCapture() != nullptr && HasClass(GetCapture(), WC_BUTTONW))
            PostMessageW(window, kReleaseButtonMessage, 0, reinterpret_cast<LPARAM>(GetCapture()));
        return TRUE;
    }
    case kReleaseButtonMessage:
        if (GetCapture() == reinterpret_cast<HWND>(lParam))
            ReleaseCapture();
        SendMessageW(reinterpret_cast<HWND>(lParam), BM_SETSTATE, FALSE, 0);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
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
        DrawPicture(*state, *item);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintBlitted(*state, dc, paint.rcPaint);
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
                DialogUnitsToPixels(0, 0, page->GetTemplate()->w, page->GetTemplate()->h);
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
        DestroyState(window);
        page->ForgetWindow();
        return FALSE;
    default:
        return FALSE;
    }
}

bool CPropertyPage::Create(NativeWindow* parent) {
    if (m_hWnd != nullptr)
        return true;
    const DLGTEMPLATE* dialog = PageDialogTemplate(*this, true);
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
        ::DrawIconEx(dc, x, y, icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0,
                     nullptr, DI_NORMAL);
        ReleaseDC(window, dc);
    }
}

bool PreTranslatePageMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN)
        return false;
    HWND focus = GetFocus();
    HWND page = focus;
    HWND control = nullptr; // the page's child that has the focus, or holds it
    while (page != nullptr && PageOfWindow(page) == nullptr) {
        control = page;
        page = GetParent(page);
    }
    if (page == nullptr)
        return false;
    // An open list takes Enter for its highlighted entry.
    if (control != nullptr && HasClass(control, WC_COMBOBOXW) &&
        SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) != FALSE)
        return false;
    // A push button with the focus is the one Enter presses.
    const LONG_PTR type =
        control != nullptr ? GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK : -1;
    if (control != nullptr && HasClass(control, WC_BUTTONW) &&
        (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
        SendMessageW(control, BM_CLICK, 0, 0);
        return true;
    }
    for (const ControlTemplate& control : PageOfWindow(page)->GetTemplate()->controls) {
        if (control.kind != ControlKind::PushButton || !Has(control, kStyleDefault))
            continue;
        HWND button = GetDlgItem(page, control.id);
        if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button))
            return false;
        // As a click would: the field being left hears of it before the button acts, and a
        // field that refuses its text keeps the focus and the button is not pressed.
        SetFocus(button);
        if (GetFocus() == button)
            SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

void DispatchSheetMessage(HWND sheet, MSG& message) {
    if (PreTranslatePageMessage(message))
        return;
    if (sheet != nullptr && PropSheet_IsDialogMessage(sheet, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
