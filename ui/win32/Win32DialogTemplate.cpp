// The in-memory dialog templates of the pages (DLGTEMPLATEEX), built from res/, and the fonts
// they are drawn in.

#include "ui/PropertyPage.h"
#include "ui/win32/Win32Window.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The dialog font of every page, the one the pages were drawn with: MS Sans Serif at 8 points.
// The controls are placed in pixels of the layer's own base units (6 x 13, DialogUnitsToPixels)
// whatever the font's, so that the seat maps fall on the picture and every text has the room
// it was given.
constexpr wchar_t kDialogFont[] = L"MS Sans Serif";
constexpr WORD kDialogFontPoints = 8;

// The face at the dialog font's 8 points for a screen of `dpi`, as the dialog manager makes a
// template's font; kept for the program's life, one for each face and DPI.
HFONT FontAt(const wchar_t* face, UINT dpi, BYTE quality) {
    static std::map<std::pair<std::wstring, UINT>, HFONT> fonts;
    auto [entry, added] = fonts.try_emplace({face, dpi}, nullptr);
    if (added)
        entry->second =
            CreateFontW(-MulDiv(kDialogFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL,
                        FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH | FF_DONTCARE, face);
    return entry->second;
}

} // namespace

// The shell's dialog font, "MS Shell Dlg" at 8 points, as the system makes it for a dialog.
HFONT ShellDialogFont(UINT dpi) {
    return FontAt(L"MS Shell Dlg", dpi, DEFAULT_QUALITY);
}

HFONT DialogFontAt(UINT dpi) {
    return FontAt(kDialogFont, dpi, PROOF_QUALITY);
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

namespace {

// The base units of the sheet's own font, the shell's dialog font, by which the sheet sizes the
// room for its pages from their templates; computed as the system computes them.
SIZE SheetBaseUnits(UINT dpi) {
    SIZE units{kBaseUnitX, kBaseUnitY};
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return units;
    HGDIOBJ old = SelectObject(dc, ShellDialogFont(dpi));
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
// it makes holds the page's pixels at `dpi` (a unit more for rounding).
SIZE TemplateSize(const DialogTemplate& page, bool standalone, UINT dpi) {
    if (standalone)
        return {page.w, page.h};
    const PixelRect pixels = DialogUnitsToPixels(0, 0, page.w, page.h, static_cast<int>(dpi));
    const SIZE units = SheetBaseUnits(dpi);
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
    // Every control that takes the focus is a tab stop.
    constexpr DWORD tabStop = WS_TABSTOP;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (control.kind) {
    case ControlKind::Static:
        style |= WS_GROUP | (control.Has(kStyleCentered) ? SS_CENTER : SS_LEFT);
        if (control.Has(kStyleTransparent))
            exStyle |= WS_EX_TRANSPARENT;
        break;
    case ControlKind::GroupBox:
        style |= BS_GROUPBOX | (control.Has(kStyleCentered) ? BS_CENTER : 0);
        break;
    case ControlKind::Edit:
        style |= ES_LEFT | ES_AUTOHSCROLL | tabStop;
        if (control.Has(kStyleReadOnly))
            style |= ES_READONLY;
        if (!control.Has(kStyleNoBorder))
            style |= WS_BORDER;
        break;
    case ControlKind::ComboBox:
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop;
        break;
    case ControlKind::PushButton:
        style |= (control.Has(kStyleDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | tabStop;
        if (control.Has(kStyleSunkenEdge))
            exStyle |= WS_EX_STATICEDGE;
        break;
    case ControlKind::Slider:
        style |= TBS_HORZ | TBS_AUTOTICKS | (control.Has(kStyleTicksOnTop) ? TBS_TOP : TBS_BOTTOM) |
                 tabStop;
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

const DLGTEMPLATE* BuildTemplate(const DialogTemplate& page, bool standalone, UINT dpi,
                                 TemplateWriter& out) {
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
    const SIZE size = TemplateSize(page, standalone, dpi);
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

} // namespace

const DLGTEMPLATE* PageDialogTemplate(const CPropertyPage& page, bool standalone, UINT dpi) {
    const DialogTemplate* source = page.GetTemplate();
    if (source == nullptr)
        return nullptr;
    struct Built {
        TemplateWriter writer;
        const DLGTEMPLATE* dialog = nullptr;
    };
    static std::map<std::tuple<int, bool, UINT>, Built> built;
    auto [entry, added] = built.try_emplace({source->id, standalone, dpi});
    if (added)
        entry->second.dialog = BuildTemplate(*source, standalone, dpi, entry->second.writer);
    return entry->second.dialog;
}
