// The Win32 half of the GUI tests: message boxes answered from a hook, the program's windows
// listed and waited for, modal sheets driven from inside their loop.

#include "gui/GuiBackend.h"
#include "gui/GuiTest.h"
#include "gui/win32/Win32PageDriver.h"

#include <chrono>
#include <cstdint>
#include <utility>

namespace {

// A sheet is a dialog window with a tab control; a message box is one with the text control
// (0xFFFF) and no tabs.
bool IsSheet(HWND window) {
    return window != nullptr && HasClass(window, L"#32770") &&
           FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr) != nullptr;
}

bool IsMessageBox(HWND window) {
    return HasClass(window, L"#32770") && GetDlgItem(window, 0xFFFF) != nullptr &&
           FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr) == nullptr;
}

// The stop icon is mostly red, the information icon mostly blue, at whatever size the system
// scaled them to (their handles differ from LoadIcon's on a scaled screen).
bool IsMostlyRed(Win32Icon icon) {
    constexpr int kSize = 32;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int red = 0, blue = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < kSize * kSize; ++i) {
        const auto r = static_cast<int>((pixels[i] >> 16) & 0xFF);
        const auto b = static_cast<int>(pixels[i] & 0xFF);
        red += r > b + 64 ? 1 : 0;
        blue += b > r + 64 ? 1 : 0;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return red > blue;
}

MessageIcon IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!HasClass(child, WC_STATICW) ||
            (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        if (IsMostlyRed(reinterpret_cast<Win32Icon>(SendMessageW(child, STM_GETICON, 0, 0))))
            return MessageIcon::Stop;
    }
    return MessageIcon::Information;
}

std::string LineBreaks(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

class HookAnswerer : public MessageAnswerer {
public:
    HookAnswerer() {
        s_current = this;
        m_hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
        EXPECT_NE(m_hook, nullptr) << "no hook for the message boxes";
    }
    ~HookAnswerer() override {
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
        s_current = nullptr;
    }
    std::vector<SeenMessage> Take() override { return std::exchange(m_seen, {}); }
    void AnswerQuestionsWith(bool yes) override { m_yes = yes; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && s_current != nullptr) {
            auto box = reinterpret_cast<HWND>(wParam);
            if (IsMessageBox(box)) {
                s_current->m_seen.push_back({LineBreaks(WindowText(box)),
                                             LineBreaks(WindowText(GetDlgItem(box, 0xFFFF))),
                                             IconOf(box)});
                const bool question = GetDlgItem(box, IDYES) != nullptr;
                const WPARAM answer = GetDlgItem(box, IDOK) != nullptr ? IDOK
                                      : question ? (s_current->m_yes ? IDYES : IDNO)
                                                 : IDCANCEL;
                PostMessageW(box, WM_COMMAND, answer, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static HookAnswerer* s_current;
    HHOOK m_hook = nullptr;
    std::vector<SeenMessage> m_seen;
    bool m_yes = false;
};

HookAnswerer* HookAnswerer::s_current = nullptr;

// Windows of the system's own that every windowed thread may have.
bool IsSystemWindow(HWND window) {
    return HasClass(window, L"IME") || HasClass(window, L"MSCTFIME UI") ||
           HasClass(window, L"OleMainThreadWndClass") || HasClass(window, L"tooltips_class32") ||
           HasClass(window, L"CicMarshalWndClass");
}

BOOL CALLBACK ListWindow(HWND window, LPARAM list) {
    if (IsSystemWindow(window))
        return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(
        Narrow(className) + " \"" + WindowText(window) + "\"" +
        (IsWindowVisible(window) ? "" : " (hidden)"));
    return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    if (HasClass(window, L"#32770") && IsWindowVisible(window))
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void CancelEveryDialog() {
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

BOOL CALLBACK FindShownSheet(HWND window, LPARAM found) {
    if (IsSheet(window) && SheetRunsModally(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// What CallWhenModal waits to do; one at a time.
struct ModalWait {
    std::function<void(NativeWindow*)> act;
    std::chrono::steady_clock::time_point deadline;
    HWND modal = nullptr; // once acted on
};
ModalWait* g_wait = nullptr;
UINT_PTR g_timer = 0;

void CALLBACK CheckModal(HWND, UINT, UINT_PTR, DWORD) {
    if (g_wait == nullptr)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (g_wait->modal != nullptr) {
        if (!IsWindow(g_wait->modal) || !IsWindowVisible(g_wait->modal)) {
            KillTimer(nullptr, g_timer);
            delete std::exchange(g_wait, nullptr);
        } else if (now > g_wait->deadline) {
            ADD_FAILURE() << "the modal window stayed open";
            PostMessageW(g_wait->modal, WM_COMMAND, IDCANCEL, 0);
            g_wait->deadline = now + std::chrono::seconds(10);
        }
        return;
    }
    HWND sheet = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownSheet, reinterpret_cast<LPARAM>(&sheet));
    if (sheet == nullptr) {
        if (now > g_wait->deadline) {
            ADD_FAILURE() << "no window ever ran modally";
            CancelEveryDialog();
            KillTimer(nullptr, g_timer);
            delete std::exchange(g_wait, nullptr);
        }
        return;
    }
    // The timer stays off while the test acts: its own waits must not run it again.
    g_wait->modal = sheet;
    auto act = std::move(g_wait->act);
    KillTimer(nullptr, g_timer);
    act(ToHandle(sheet));
    if (g_wait != nullptr) {
        g_wait->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        g_timer = SetTimer(nullptr, 0, 50, CheckModal);
    }
}

} // namespace

std::unique_ptr<MessageAnswerer> StartAnsweringMessages() {
    return std::make_unique<HookAnswerer>();
}

std::unique_ptr<PageDriver> MakePageDriver(NativeWindow* window, MessageAnswerer& answerer) {
    return std::make_unique<Win32PageDriver>(ToHwnd(window), answerer);
}

std::vector<std::string> TopLevelWindowsLeft() {
    PumpMessages();
    std::vector<std::string> left;
    EnumThreadWindows(GetCurrentThreadId(), ListWindow, reinterpret_cast<LPARAM>(&left));
    return left;
}

void CallWhenModal(std::function<void(NativeWindow*)> act) {
    // A wait whose window has closed since (its loop ended before the timer came again) is over.
    if (g_wait != nullptr && g_wait->modal != nullptr &&
        (!IsWindow(g_wait->modal) || !IsWindowVisible(g_wait->modal))) {
        KillTimer(nullptr, g_timer);
        delete std::exchange(g_wait, nullptr);
    }
    if (g_wait != nullptr) {
        ADD_FAILURE() << "a modal window is awaited already";
        return;
    }
    g_wait =
        new ModalWait{std::move(act), std::chrono::steady_clock::now() + std::chrono::seconds(10)};
    g_timer = SetTimer(nullptr, 0, 20, CheckModal);
}

void UseToolkitNumberLocale(bool) {
    // The Win32 controls show what they are given: the only number conventions are the C
    // library's, which RussianDesktop sets.
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
