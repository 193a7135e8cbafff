#include "app/LoaderApp.h"

#include "app/AircraftFolder.h"
#include "app/LoaderAppSheet.h"
#include "config/FileOps.h"
#include "ui/Folders.h"

#include <algorithm>
#include <cstdio>

namespace {

// The usage for a box, whose font aligns no columns and which breaks long lines: each option
// ("  ПАПКА      папка самолета...") as one line "ПАПКА — папка самолета...", no empty line at
// the end.
std::string BoxText(std::string_view text) {
    std::string box;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (line.starts_with("  ")) {
            line.remove_prefix(2);
            const std::size_t gap = line.find("  ");
            box.append(line.substr(0, gap)).append(" — ");
            line.remove_prefix(line.find_first_not_of(' ', gap));
        }
        box.append(line).append("\n");
        start = end + 1;
    }
    box.erase(box.find_last_not_of('\n') + 1);
    return box;
}

// --help and --version: on standard output, or in a box where that is not seen.
int Answer(std::string_view text, ConsoleView console) {
    if (console.printsAnswers ||
        !ShowStartMessage(BoxText(text), kApplicationTitle, MessageIcon::Information))
        std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// A refused command line: on standard error always, and in a box where that is not seen.
int Refuse(const std::string& refusal, ConsoleView console) {
    const std::string text = "il18-loader: " + refusal + "\nСправка: il18-loader --help";
    std::fprintf(stderr, "%s\n", text.c_str());
    if (!console.showsErrors)
        ShowStartMessage(text, kCaptionError, MessageIcon::Stop);
    return 2;
}

} // namespace

std::optional<int> StartFromCommandLine(const std::vector<std::string>& arguments,
                                        ConsoleView console, CLoaderApp& app) {
    const LoaderCommand command = ReadCommandLine(arguments);
    switch (command.kind) {
    case LoaderCommand::Kind::Help:
        return Answer(LoaderUsage(), console);
    case LoaderCommand::Kind::Version:
        return Answer(LoaderVersion(), console);
    case LoaderCommand::Kind::Refused:
        return Refuse(command.refusal, console);
    case LoaderCommand::Kind::Run:
        break;
    }
    if (!command.folder.empty() && FileOps::System().EnterFolder(command.folder.c_str()) != 0)
        return Refuse("папка недоступна: " + command.folder, console);
    // The toolkit would end the program on a display it cannot reach (a stale DISPLAY of ssh -X,
    // or under sudo): say so instead, with a status of its own.
    if (const std::optional<std::string> display = UnreachableDisplay()) {
        std::fprintf(stderr, "il18-loader: %s\n",
                     display->empty() ? "Нет дисплея, на котором показать окно."
                                      : ("Нет связи с дисплеем «" + *display + "».").c_str());
        return 1;
    }
    app.m_bAskForFolder = command.folder.empty();
    return std::nullopt;
}

bool CLoaderApp::InitInstance() {
    Enable3dControls();
    if (m_bAskForFolder && !HoldsAircraftConfig(FileOps::System().CurrentFolder()))
        AskForAircraftFolder();
    const std::string folder = FileOps::System().CurrentFolder();
    if (HoldsAircraftConfig(folder))
        SaveFolderSetting(kAircraftFolderSetting, folder);

    CLoaderAppSheet sheet(kLoaderSheetCaption, nullptr, 0);
    m_pMainWnd = &sheet;
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

std::string CLoaderApp::ChooseAircraftFolder(const std::string& start) {
    return ChooseFolder("Папка самолета (с файлом Aircraft.cfg)", start);
}

void CLoaderApp::AskForAircraftFolder() {
    std::string start = LoadFolderSetting(kAircraftFolderSetting);
    if (FileOps::System().KindOfPath(start.c_str()) != PathKind::Folder)
        start = FileOps::System().CurrentFolder();
    for (;;) {
        const std::string chosen = ChooseAircraftFolder(start);
        if (chosen.empty())
            return;
        std::string problem = NoConfigFileIn(chosen);
        if (problem.empty() && FileOps::System().EnterFolder(chosen.c_str()) == 0)
            return;
        if (problem.empty())
            problem = "Папка недоступна:\n" + chosen;
        ShowMessage(problem, kCaptionError, MessageIcon::Stop);
        start = chosen;
    }
}
