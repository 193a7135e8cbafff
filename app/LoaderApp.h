#pragma once

#include "ui/WinApp.h"

// The application: shows the loader sheet and ends when it is closed.
class CLoaderApp : public CWinApp {
public:
    CLoaderApp() : CWinApp(nullptr) {}

    // Runs the sheet modally and returns false, so that the program ends with it. Closing the
    // sheet, however it is closed, writes nothing.
    bool InitInstance() override;
};

// The program's one application object (in the executable).
extern CLoaderApp theApp;
