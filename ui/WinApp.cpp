#include "ui/WinApp.h"

#include "ui/Backend.h"

namespace {

CWinApp* g_app = nullptr;

} // namespace

CWinApp::CWinApp(const char* appName)
    : m_pszAppName(appName != nullptr ? appName : kApplicationTitle.data()) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    ShowModalMessage(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr, text, caption,
                     icon);
}

CWinApp* AfxGetApp() {
    return g_app;
}

void AfxMessageBox(std::string_view text, MessageIcon icon) {
    if (g_app != nullptr)
        g_app->ShowMessage(text, g_app->m_pszAppName, icon);
    else
        ShowModalMessage(nullptr, text, kApplicationTitle, icon);
}
