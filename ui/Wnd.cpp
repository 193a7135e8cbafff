#include "ui/Wnd.h"

#include "ui/Backend.h"

int CWnd::MessageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    ShowModalMessage(m_hWnd, text, caption, icon);
    return IDOK;
}

NativeWindow* CWnd::Detach() {
    NativeWindow* window = m_hWnd;
    m_hWnd = nullptr;
    return window;
}
