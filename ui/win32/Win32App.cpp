// The application object and the program's entry on the Win32 API.

#include "ui/WinApp.h"
#include "ui/win32/Win32Window.h"

void CWinApp::Enable3dControls() {
    // The common controls of version 6 (the program's manifest) draw in the system's visual
    // style; nothing else is needed.
}

HICON CWinApp::LoadIcon(int id) const {
    // Shared: the system keeps it for the program's life.
    return static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                         LR_SHARED));
}

int AfxWinMain(int, char**) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    if (!app->InitInstance())
        return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslatePageMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
