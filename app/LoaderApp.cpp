#include "app/LoaderApp.h"

#include "app/AircraftFolder.h"
#include "app/LoaderAppSheet.h"
#include "ui/FolderChooser.h"

#include <system_error>

bool CLoaderApp::InitInstance() {
    Enable3dControls();
    std::error_code error;
    if (m_bAskForFolder && !HoldsAircraftConfig(std::filesystem::current_path(error)))
        AskForAircraftFolder();
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (!error && HoldsAircraftConfig(folder))
        SaveFolderSetting(kAircraftFolderSetting, folder);

    CLoaderAppSheet sheet(kLoaderSheetCaption, nullptr, 0);
    m_pMainWnd = &sheet;
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

std::filesystem::path CLoaderApp::ChooseAircraftFolder(const std::filesystem::path& start) {
    return ChooseFolder("Папка самолета (с файлом Aircraft.cfg)", start);
}

void CLoaderApp::AskForAircraftFolder() {
    std::error_code error;
    std::filesystem::path start = LoadFolderSetting(kAircraftFolderSetting);
    if (start.empty() || !std::filesystem::is_directory(start, error))
        start = std::filesystem::current_path(error);
    const std::filesystem::path chosen = ChooseAircraftFolder(start);
    if (chosen.empty())
        return;
    std::filesystem::current_path(chosen, error);
    if (error) {
        const std::u8string shown = chosen.u8string();
        AfxMessageBox("Папка недоступна:\r\n" + std::string(shown.begin(), shown.end()),
                      MessageIcon::Stop);
    }
}
