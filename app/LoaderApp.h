#pragma once

#include "ui/StartMessage.h"
#include "ui/WinApp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The application: shows the loader sheet and ends when it is closed.
class CLoaderApp : public CWinApp {
public:
    CLoaderApp() : CWinApp(nullptr) {}

    // Runs the sheet modally and returns false, so that the program ends with it. Before the
    // sheet, when m_bAskForFolder is set and the current folder holds no Aircraft.cfg, it asks
    // for the aircraft's folder and makes the chosen one current (cancelled: the current folder
    // stays). A folder chosen without an Aircraft.cfg is answered in a box and the chooser comes
    // again, at that folder. The folder worked on, when it holds an Aircraft.cfg, is offered
    // first next time.
    bool InitInstance() override;

    // Set by the program's entry when the command line names no folder.
    bool m_bAskForFolder = false;

protected:
    // The aircraft's folder from the toolkit's folder chooser, `start` shown first; empty when
    // cancelled.
    virtual std::string ChooseAircraftFolder(const std::string& start);

private:
    void AskForAircraftFolder();
};

// The program's entry before any window: reads the command line (the arguments after the
// program's name), answers --help and --version (exit code 0), refuses a wrong one (exit code 2),
// makes the named folder current and ends with exit code 1, naming the display, where the toolkit
// could not reach its display (UnreachableDisplay). What it has to say is printed, and shown in a
// box where `console` says that print would not be seen. Nothing when the sheet is to run: `app`
// then asks for the folder if none was named.
std::optional<int> StartFromCommandLine(const std::vector<std::string>& arguments,
                                        ConsoleView console, CLoaderApp& app);

// The program's one application object (in the executable).
extern CLoaderApp theApp;

// The settings key of the folder last worked on.
inline constexpr std::string_view kAircraftFolderSetting = "AircraftFolder";
