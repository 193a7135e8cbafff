#include "gui/win32/Win32PageDriver.h"

#include "gui/GuiTest.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <vector>

namespace {

HWND SheetOf(HWND window) {
    HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    return root != nullptr && FindWindowExW(root, nullptr, WC_TABCONTROLW, nullptr) != nullptr
               ? root
               : nullptr;
}

LPARAM Point(int x, int y) {
    return MAKELPARAM(x, y);
}

POINT CentreOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right / 2, client.bottom / 2};
}

// A left click at the window's point (client coordinates), as the system sends it: to the window
// that holds the mouse, if one does.
void PostClick(HWND window, POINT at) {
    HWND target = GetCapture() != nullptr ? GetCapture() : window;
    MapWindowPoints(window, target, &at, 1);
    PostMessageW(target, WM_MOUSEMOVE, 0, Point(at.x, at.y));
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, Point(at.x, at.y));
    PostMessageW(target, WM_LBUTTONUP, 0, Point(at.x, at.y));
}

// The edit field of a field: itself, or a combo box's own.
HWND EditOf(HWND control) {
    if (HasClass(control, WC_COMBOBOXW)) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        return GetComboBoxInfo(control, &info) ? info.hwndItem : nullptr;
    }
    return HasClass(control, WC_EDITW) ? control : nullptr;
}

// The UTF-16 units of the text's characters, one character at a time.
std::vector<std::wstring> Characters(std::string_view text) {
    std::vector<std::wstring> characters;
    const std::wstring wide = Widen(text);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size();
        characters.push_back(wide.substr(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
    return characters;
}

std::string WithoutMnemonic(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

RgbImage Capture(HWND window, bool wholeWindow) {
    RECT box{};
    if (wholeWindow)
        GetWindowRect(window, &box);
    else
        GetClientRect(window, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0)
        return {};
    HDC source = wholeWindow ? GetWindowDC(window) : GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    RgbImage image;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        image = RgbImage(width, height);
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = 0xFF000000u | (pixels[i] & 0x00FFFFFFu);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

} // namespace

void PumpMessages() {
    // A few rounds: what one message causes (a paint, a posted message) is handled too.
    for (int round = 0; round < 3; ++round) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            DispatchSheetMessage(SheetOf(message.hwnd), message);
        }
    }
}

Win32PageDriver::Win32PageDriver(HWND sheet, MessageAnswerer& answerer)
    : m_sheet(sheet), m_answerer(answerer) {
    ShowWindow(m_sheet, SW_SHOW);
    SetForegroundWindow(m_sheet);
    SetActiveWindow(m_sheet);
    Settle();
    EXPECT_TRUE(WaitFor([this] { return GetActiveWindow() == m_sheet; }))
        << "the window never became active";
}

void Win32PageDriver::Settle() {
    PumpMessages();
    // A closed message box gives the activation back to its owner, the sheet.
    if (IsWindow(m_sheet) && IsWindowVisible(m_sheet) && GetActiveWindow() != m_sheet &&
        IsWindowEnabled(m_sheet)) {
        SetActiveWindow(m_sheet);
        PumpMessages();
    }
}

HWND Win32PageDriver::Page() const {
    return IsWindow(m_sheet) ? PropSheet_GetCurrentPageHwnd(m_sheet) : nullptr;
}

HWND Win32PageDriver::Control(int id) {
    HWND control = GetDlgItem(Page(), id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

bool Win32PageDriver::ShowPage(int index) {
    HWND tabs = PropSheet_GetTabControl(m_sheet);
    RECT item{};
    if (tabs == nullptr || !TabCtrl_GetItemRect(tabs, index, &item)) {
        ADD_FAILURE() << "the window has no tab " << index;
        return false;
    }
    PostClick(tabs, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Settle();
    return TabCtrl_GetCurSel(tabs) == index;
}

void Win32PageDriver::TypeInto(int id, std::string_view text) {
    HWND control = Control(id);
    HWND edit = EditOf(control);
    ASSERT_NE(edit, nullptr) << "control " << id << " is no field";
    PostClick(edit, CentreOf(edit));
    Settle();
    ASSERT_EQ(GetFocus(), edit) << "control " << id << " did not take the focus";
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        PressVirtualKey(edit, VK_DELETE);
        return;
    }
    // Key by key, as typed: each goes to the field that has the focus then.
    for (const std::wstring& character : Characters(text)) {
        HWND target = GetFocus() != nullptr ? GetFocus() : edit;
        for (wchar_t unit : character)
            PostMessageW(target, WM_CHAR, unit, 1);
        Settle();
    }
}

void Win32PageDriver::PressVirtualKey(HWND target, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | static_cast<LPARAM>(scan) << 16);
    PostMessageW(target, WM_KEYUP, key, 1 | static_cast<LPARAM>(scan) << 16 | 0xC0000000);
    Settle();
}

void Win32PageDriver::LeaveField() {
    HWND focus = GetFocus();
    PressVirtualKey(focus != nullptr ? focus : m_sheet, VK_TAB);
}

void Win32PageDriver::Focus(int id) {
    HWND control = Control(id);
    if (control == nullptr || HasFocus(id))
        return;
    SendMessageW(Page(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    Settle();
}

void Win32PageDriver::Click(int id) {
    HWND control = Control(id);
    if (control == nullptr)
        return;
    PostClick(control, CentreOf(control));
    Settle();
}

void Win32PageDriver::PressEnter() {
    HWND focus = GetFocus();
    PressVirtualKey(focus != nullptr ? focus : m_sheet, VK_RETURN);
}

void Win32PageDriver::PressKey(int id, DriverKey key, int times) {
    if (id != kFocusedControl)
        Focus(id);
    static constexpr std::array<WPARAM, 10> kKeys = {VK_LEFT, VK_RIGHT,  VK_HOME, VK_END,  VK_PRIOR,
                                                     VK_NEXT, VK_ESCAPE, VK_UP,   VK_DOWN, VK_F4};
    for (int i = 0; i < times; ++i) {
        HWND focus = GetFocus();
        PressVirtualKey(focus != nullptr ? focus : m_sheet, kKeys[static_cast<std::size_t>(key)]);
    }
}

void Win32PageDriver::ChooseEntry(int id, int index) {
    HWND combo = Control(id);
    if (combo == nullptr)
        return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo, &info)) << "control " << id << " is no combo box";
    // Opens the list with a click on its button, then clicks the entry.
    const RECT& button = info.rcButton;
    PostClick(combo, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    Settle();
    ASSERT_TRUE(WaitFor([combo] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
        << "the list did not open";
    RECT entry{};
    ASSERT_NE(SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&entry)),
              LB_ERR)
        << "no entry " << index;
    SendMessageW(info.hwndList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&entry));
    PostClick(info.hwndList, {(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2});
    Settle();
}

void Win32PageDriver::TurnWheel(int id, int notches) {
    HWND control = Control(id);
    if (control == nullptr)
        return;
    // The system gives the wheel to the window that has the focus, the pointer's place in screen
    // coordinates.
    POINT at = CentreOf(control);
    ClientToScreen(control, &at);
    HWND focus = GetFocus();
    PostMessageW(focus != nullptr ? focus : m_sheet, WM_MOUSEWHEEL,
                 MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(notches * WHEEL_DELTA))),
                 Point(at.x, at.y));
    Settle();
}

void Win32PageDriver::Minimize(bool minimized) {
    ShowWindow(m_sheet, minimized ? SW_MINIMIZE : SW_RESTORE);
    if (minimized)
        PumpMessages();
    else
        Settle();
}

std::string Win32PageDriver::Read(int id) {
    HWND control = Control(id);
    if (control == nullptr || HasClass(control, TRACKBAR_CLASSW))
        return {};
    return WindowText(control);
}

TextFit Win32PageDriver::MeasureText(std::size_t index) {
    HWND control = GetWindow(Page(), GW_CHILD);
    for (std::size_t i = 0; i < index && control != nullptr; ++i)
        control = GetWindow(control, GW_HWNDNEXT);
    if (control == nullptr) {
        ADD_FAILURE() << "the page has no control " << index;
        return {};
    }
    const std::wstring text = Widen(WindowText(control));
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TextFit fit;
    if (HasClass(control, WC_STATICW)) {
        // As the static draws it: broken at blanks within its width.
        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        RECT needed{0, 0, client.right, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX |
                      ((style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER : DT_LEFT));
        // A pixel either side for a glyph that reaches beyond its advance.
        fit = {needed.right - needed.left, needed.bottom - needed.top, client.right - 2,
               client.bottom};
    } else if (HasClass(control, WC_EDITW)) {
        // One line, within the edit's formatting rectangle.
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT room{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        fit = {size.cx, size.cy, room.right - room.left, client.bottom};
    } else {
        // A group box's title and a button's text: one line, clear of the frame.
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const bool group = (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        // A title starts past the frame's corner, about 12 pixels in, and must stop as far
        // before the other.
        fit = {size.cx, size.cy, client.right - (group ? 24 : 8), client.bottom};
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fit;
}

SliderView Win32PageDriver::ReadSlider(int id) {
    HWND slider = Control(id);
    if (slider == nullptr || !HasClass(slider, TRACKBAR_CLASSW)) {
        ADD_FAILURE() << "control " << id << " is no slider";
        return {};
    }
    SliderView view;
    view.minimum = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    view.maximum = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    view.position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    // The ticks between the ends lie `tickEvery` apart from the minimum on; with none between,
    // only the ends carry one.
    const LRESULT inner = SendMessageW(slider, TBM_GETNUMTICS, 0, 0) - 2;
    if (inner > 0)
        view.tickEvery = static_cast<int>(SendMessageW(slider, TBM_GETTIC, 0, 0)) - view.minimum;
    else if (view.maximum > view.minimum)
        view.tickEvery = view.maximum - view.minimum;
    return view;
}

bool Win32PageDriver::HasFocus(int id) {
    HWND control = GetDlgItem(Page(), id);
    HWND focus = GetFocus();
    return control != nullptr && focus != nullptr && (focus == control || IsChild(control, focus));
}

SheetView Win32PageDriver::ReadSheet() {
    SheetView view;
    if (!IsWindow(m_sheet))
        return view;
    view.caption = WindowText(m_sheet);
    HWND tabs = PropSheet_GetTabControl(m_sheet);
    const int count = tabs != nullptr ? TabCtrl_GetItemCount(tabs) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t title[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = 128;
        TabCtrl_GetItem(tabs, i, &item);
        view.pageTitles.push_back(Narrow(title));
    }
    view.currentPage = Page() != nullptr && tabs != nullptr ? TabCtrl_GetCurSel(tabs) : -1;
    view.open = IsWindowVisible(m_sheet) && Page() != nullptr;
    for (HWND child = GetWindow(m_sheet, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
        if (!HasClass(child, WC_BUTTONW) || !IsWindowVisible(child) ||
            (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON))
            continue;
        view.buttons.push_back({WithoutMnemonic(WindowText(child)), IsWindowEnabled(child) != 0});
    }
    return view;
}

void Win32PageDriver::ClickSheetButton(std::string_view text) {
    for (HWND child = GetWindow(m_sheet, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HasClass(child, WC_BUTTONW) && IsWindowVisible(child) &&
            WithoutMnemonic(WindowText(child)) == text) {
            PostClick(child, CentreOf(child));
            Settle();
            return;
        }
    }
    ADD_FAILURE() << "the sheet has no button \"" << text << "\"";
}

void Win32PageDriver::CloseWindow() {
    PostMessageW(m_sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
}

RgbImage Win32PageDriver::Grab() {
    HWND page = Page();
    if (page == nullptr) {
        ADD_FAILURE() << "the sheet shows no page";
        return {};
    }
    RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle();
    return Capture(page, false);
}

bool Win32PageDriver::SavePicture(const std::filesystem::path& file) {
    RedrawWindow(m_sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle();
    return WritePng(Capture(m_sheet, true), file);
}

// PNG.

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    PutBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig(out, Crc32(out.data() + start, out.size() - start));
}

} // namespace

bool WritePng(const RgbImage& image, const std::filesystem::path& file) {
    if (image.width <= 0 || image.height <= 0)
        return false;
    // The rows, each after its filter byte (none), in stored deflate blocks of a zlib stream.
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.Pixel(x, y);
            raw.push_back(static_cast<std::uint8_t>(pixel >> 16));
            raw.push_back(static_cast<std::uint8_t>(pixel >> 8));
            raw.push_back(static_cast<std::uint8_t>(pixel));
        }
    }
    std::vector<std::uint8_t> zlib{0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
        zlib.push_back(at + size >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(size));
        zlib.push_back(static_cast<std::uint8_t>(size >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~size));
        zlib.push_back(static_cast<std::uint8_t>(~size >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                    raw.begin() + static_cast<std::ptrdiff_t>(at + size));
        if (raw.empty())
            break;
    }
    PutBig(zlib, b << 16 | a);

    std::vector<std::uint8_t> header;
    PutBig(header, static_cast<std::uint32_t>(image.width));
    PutBig(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    FILE* out = _wfopen(file.wstring().c_str(), L"wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    return std::fclose(out) == 0 && written;
}
