#pragma once

#include "common/MessageCallback.h"

#include <string>
#include <string_view>

// The toolkit's own window; only the backend knows what it is.
struct NativeWindow;

// The toolkit's own icon.
struct NativeIcon;
using HICON = const NativeIcon*;

// A message box's or a sheet's answer.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// The system's sizes that pages ask for: a program icon's width and height.
enum SystemMetric : int { SM_CXICON = 11, SM_CYICON = 12 };
int GetSystemMetrics(SystemMetric index);

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A window: the sheet, a page or one of a page's controls. A CWnd without a window (before the
// page is created, after it is destroyed) ignores every call and reads as empty.
//
// As a MessageCallback a window owns the message boxes it shows: they stay on top of it and keep
// it from input until dismissed.
class CWnd : public MessageCallback {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override = default;

    NativeWindow* GetSafeHwnd() const { return m_hWnd; }
    void Attach(NativeWindow* window) { m_hWnd = window; }
    NativeWindow* Detach();

    std::string GetWindowText() const;
    void SetWindowText(std::string_view text);
    // Whether the top-level window this one belongs to is minimized.
    bool IsIconic() const;
    // The client area, from (0, 0).
    void GetClientRect(CRect* rect) const;
    // The dots per inch of the screen the window is shown on: 96 at 100 %, 144 at 150 %. A
    // page's controls lie at DialogUnitsToPixels at this DPI, and what it blits is in the
    // screen's pixels (BlitToClient); 96 without a window.
    int GetDpi() const;

    // The text of the child control `id`, "" when there is none.
    std::string GetDlgItemText(int id) const;
    // Sets the text of the child control `id` without sending a change notification.
    void SetDlgItemText(int id, std::string_view text);
    // Puts the focus on the child control `id` and selects its text, as a dialog does when it
    // moves the focus to a field.
    void GotoDlgCtrl(int id);
    NativeWindow* GetDlgItemHandle(int id) const;

    // A modal message box owned by this window; "\r\n" in the text is a line break. Returns
    // IDOK when the user has dismissed it.
    int MessageBox(std::string_view text, std::string_view caption, MessageIcon icon);
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override {
        MessageBox(text, caption, icon);
    }

protected:
    NativeWindow* m_hWnd = nullptr;
};
