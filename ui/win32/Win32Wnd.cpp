// CWnd, the controls and the message box on the Win32 API.

#include "ui/Backend.h"
#include "ui/Controls.h"
#include "ui/win32/Win32Window.h"

#include <vector>

std::string WindowText(HWND window) {
    if (window == nullptr)
        return {};
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t className[32];
    return GetClassNameW(window, className, 32) > 0 && lstrcmpiW(className, name) == 0;
}

namespace {

int g_quietChanges = 0;

} // namespace

QuietChanges::QuietChanges() {
    ++g_quietChanges;
}
QuietChanges::~QuietChanges() {
    --g_quietChanges;
}
bool QuietChanges::Active() {
    return g_quietChanges > 0;
}

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

int GetSystemMetrics(SystemMetric index) {
    return ::GetSystemMetrics(static_cast<int>(index));
}

std::string CWnd::GetWindowText() const {
    return WindowText(ToHwnd(m_hWnd));
}

void CWnd::SetWindowText(std::string_view text) {
    HWND window = ToHwnd(m_hWnd);
    if (window == nullptr)
        return;
    const bool edit = HasClass(window, WC_EDITW);
    // The same text again is no change: it is neither set nor repainted (every slider step
    // shows all the page's fields), and the caret stays where the user has it.
    if (edit && WindowText(window) == text)
        return;
    const QuietChanges quiet;
    ::SetWindowTextW(window, Widen(text).c_str());
    if (edit)
        SendMessageW(window, EM_SETSEL, 0, 0);
}

bool CWnd::IsIconic() const {
    return m_hWnd != nullptr && ::IsIconic(GetAncestor(ToHwnd(m_hWnd), GA_ROOT)) != FALSE;
}

void CWnd::GetClientRect(CRect* rect) const {
    RECT client{};
    if (m_hWnd == nullptr || !::GetClientRect(ToHwnd(m_hWnd), &client)) {
        *rect = CRect{};
        return;
    }
    *rect = CRect{client.left, client.top, client.right, client.bottom};
}

NativeWindow* CWnd::GetDlgItemHandle(int id) const {
    return m_hWnd != nullptr ? ToHandle(GetDlgItem(ToHwnd(m_hWnd), id)) : nullptr;
}

std::string CWnd::GetDlgItemText(int id) const {
    return WindowText(ToHwnd(GetDlgItemHandle(id)));
}

void CWnd::SetDlgItemText(int id, std::string_view text) {
    CWnd item;
    item.Attach(GetDlgItemHandle(id));
    item.SetWindowText(text);
}

void CWnd::GotoDlgCtrl(int id) {
    HWND control = ToHwnd(GetDlgItemHandle(id));
    if (control == nullptr)
        return;
    ::SetFocus(control);
    if (HasClass(control, WC_EDITW))
        SendMessageW(control, EM_SETSEL, 0, -1);
    else if (HasClass(control, WC_COMBOBOXW))
        SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void ShowModalMessage(NativeWindow* owner, std::string_view text, std::string_view caption,
                      MessageIcon icon) {
    HWND parent = owner != nullptr ? GetAncestor(ToHwnd(owner), GA_ROOT) : GetActiveWindow();
    const UINT style = MB_OK | (icon == MessageIcon::Stop ? MB_ICONHAND : MB_ICONINFORMATION);
    MessageBoxW(parent, Widen(text).c_str(), Widen(caption).c_str(), style);
}

// The controls.

int CComboBox::GetCount() const {
    if (m_hWnd == nullptr)
        return 0;
    const LRESULT count = SendMessageW(ToHwnd(m_hWnd), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

int CComboBox::GetCurSel() const {
    if (m_hWnd == nullptr)
        return CB_ERR;
    const auto selected = static_cast<int>(SendMessageW(ToHwnd(m_hWnd), CB_GETCURSEL, 0, 0));
    if (selected < 0)
        return CB_ERR;
    // Typing selects no entry: text that is not the selected entry's leaves none selected.
    std::string entry;
    GetLBText(selected, entry);
    return entry == GetWindowText() ? selected : CB_ERR;
}

void CComboBox::GetLBText(int index, std::string& text) const {
    text.clear();
    if (m_hWnd == nullptr || index < 0)
        return;
    HWND combo = ToHwnd(m_hWnd);
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(buffer.data()));
    if (copied > 0)
        text = Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

namespace {

// The slider reports in its paint (NM_CUSTOMDRAW): painting it now makes the report come before
// the caller goes on, as a change's report must. A hidden slider reports when it is shown.
void ReportNow(HWND slider) {
    AskSliderReport(slider);
    InvalidateRect(slider, nullptr, TRUE);
    UpdateWindow(slider);
}

} // namespace

void CSliderCtrl::SetRange(int minimum, int maximum, bool redraw) {
    if (m_hWnd == nullptr)
        return;
    HWND slider = ToHwnd(m_hWnd);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
    if (redraw)
        ReportNow(slider);
}

void CSliderCtrl::SetTicFreq(int frequency) {
    if (m_hWnd != nullptr)
        SendMessageW(ToHwnd(m_hWnd), TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

int CSliderCtrl::GetPos() const {
    return m_hWnd != nullptr ? static_cast<int>(SendMessageW(ToHwnd(m_hWnd), TBM_GETPOS, 0, 0)) : 0;
}

void CSliderCtrl::SetPos(int position) {
    if (m_hWnd == nullptr)
        return;
    HWND slider = ToHwnd(m_hWnd);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    ReportNow(slider);
}
