#include "app/LoaderApp.h"

#include "app/LoaderAppSheet.h"

bool CLoaderApp::InitInstance() {
    Enable3dControls();
    CLoaderAppSheet sheet(kLoaderSheetCaption, nullptr, 0);
    m_pMainWnd = &sheet;
    sheet.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
