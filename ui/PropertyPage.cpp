#include "ui/PropertyPage.h"

CPropertyPage::CPropertyPage(int templateId) : m_template(FindDialogTemplate(templateId)) {}

CPropertyPage::~CPropertyPage() {
    // The page's own controls are gone already; only the window is left to destroy.
    m_boundControls.clear();
    DestroyWindow();
}

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    if (m_hWnd == nullptr)
        return false;
    CDataExchange dx(this, saveAndValidate);
    const bool wasInExchange = m_inExchange;
    m_inExchange = true;
    DoDataExchange(&dx);
    m_inExchange = wasInExchange;
    return !dx.Failed();
}

bool CPropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

void CPropertyPage::OnControlNotify(unsigned code, int id) {
    if (m_hWnd == nullptr || m_inExchange)
        return;
    for (const MessageMapEntry& entry : GetMessageMap()) {
        if (entry.code != code || entry.id != id)
            continue;
        if (entry.command != nullptr) {
            (this->*entry.command)();
        } else if (entry.notify != nullptr) {
            NMHDR header{};
            header.hwndFrom = GetDlgItemHandle(id);
            header.idFrom = id;
            header.code = code;
            LRESULT result = 0;
            (this->*entry.notify)(&header, &result);
        }
        return;
    }
}

void CPropertyPage::ForgetWindow() {
    for (CWnd* control : m_boundControls)
        control->Detach();
    m_boundControls.clear();
    m_hWnd = nullptr;
}
