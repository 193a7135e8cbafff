// What the pages' message loops do with a message before the dialog manager sees it.

#include "ui/PropertyPage.h"
#include "ui/win32/Win32Window.h"

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
        if (control.kind != ControlKind::PushButton || (control.style & kStyleDefault) == 0)
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
