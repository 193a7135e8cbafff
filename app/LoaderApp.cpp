#include "app/LoaderApp.h"

#include "app/AircraftFolder.h"
#include "app/LoaderAppSheet.h"
#include "config/FileOps.h"
#include "ui/Folders.h"

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
    const std::string chosen = ChooseAircraftFolder(start);
    if (!chosen.empty() && FileOps::System().EnterFolder(chosen.c_str()) != 0)
        AfxMessageBox("Папка недоступна:\r\n" + chosen, MessageIcon::Stop);
}
