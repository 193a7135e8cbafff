#include "app/LoaderAppSheet.h"

#include "ui/Question.h"

CLoaderAppSheet::CLoaderAppSheet(std::string_view caption, CWnd* parent, int selectPage)
    : CPropertySheet(caption, parent, selectPage) {
    m_load.Read(FileOps::System());
    m_payloadPage.m_pLoad = &m_load;
    m_fuelPage.m_pLoad = &m_load;
    AddPage(&m_payloadPage);
    AddPage(&m_fuelPage);
}

bool CLoaderAppSheet::CanClose() {
    if (!m_payloadPage.HoldsUnwrittenValues() && !m_fuelPage.HoldsUnwrittenValues())
        return true;
    return AskYesNo(GetSafeHwnd(), kUnwrittenQuestion, kApplicationTitle);
}
