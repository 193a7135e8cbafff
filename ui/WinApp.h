#pragma once

#include "common/MessageCallback.h"
#include "ui/Wnd.h"

#include <string_view>

// The application object. Exactly one exists at a time: the program's global `theApp`, built
// before the program's entry. AfxWinMain creates the toolkit application and calls InitInstance.
class CWinApp : public MessageCallback {
public:
    // Without a name the application is called by its title, kApplicationTitle.
    explicit CWinApp(const char* appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    ~CWinApp() override;

    // The program's start. True keeps the toolkit's event loop running after it; false ends the
    // program as soon as it returns.
    virtual bool InitInstance() { return true; }

    // Gives the controls the toolkit's native-looking three-dimensional desktop style.
    void Enable3dControls();
    // Icon resource `id`, shared for the program's life; nullptr when there is none.
    HICON LoadIcon(int id) const;

    // The application's message box, over the main window (or the active one before there is a
    // main window).
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;

    CWnd* m_pMainWnd = nullptr;
    const char* const m_pszAppName;
};

CWinApp* AfxGetApp();

// A message box with the application's name as caption, over the active window.
void AfxMessageBox(std::string_view text, MessageIcon icon);

// The program's entry: creates the toolkit application, pins the dialog font and runs
// InitInstance of the application object. Returns the program's exit code.
int AfxWinMain(int argc, char** argv);
