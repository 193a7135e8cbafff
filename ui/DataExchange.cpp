#include "ui/DataExchange.h"

#include "ui/PropertyPage.h"
#include "ui/WinApp.h"

#include <algorithm>
#include <optional>

void CDataExchange::Fail(int id, std::string_view message) {
    m_failed = true;
    AfxMessageBox(message, MessageIcon::Stop);
    m_pDlgWnd->GotoDlgCtrl(id);
}

namespace {

// Whether the exchange goes on for control `id`: not after a refusal, and only for a control
// the page has.
bool Exchanges(CDataExchange* pDX, int id) {
    return !pDX->Failed() && pDX->m_pDlgWnd->GetDlgItemHandle(id) != nullptr;
}

template <class T>
void ExchangeNumber(CDataExchange* pDX, int id, T& value,
                    std::optional<T> (*parse)(std::string_view), std::string (*format)(T),
                    std::string_view refusal) {
    if (!Exchanges(pDX, id))
        return;
    CPropertyPage& page = *pDX->m_pDlgWnd;
    if (!pDX->m_bSaveAndValidate) {
        page.SetDlgItemText(id, format(value));
        return;
    }
    if (const std::optional<T> parsed = parse(page.GetDlgItemText(id)))
        value = *parsed;
    else
        pDX->Fail(id, refusal);
}

// A desktop in Russian (and many another) writes "3600,5": one comma, where no point is, reads
// as the decimal point.
std::optional<float> ParseFieldFloatOrComma(std::string_view text) {
    if (std::count(text.begin(), text.end(), ',') != 1 || text.find('.') != std::string_view::npos)
        return ParseFieldFloat(text);
    std::string withPoint(text);
    withPoint[withPoint.find(',')] = '.';
    return ParseFieldFloat(withPoint);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, float& value) {
    ExchangeNumber(pDX, id, value, ParseFieldFloatOrComma, FormatFieldFloat, kParseRealMessage);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    ExchangeNumber(pDX, id, value, ParseFieldInt, FormatFieldInt, kParseIntMessage);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (!Exchanges(pDX, id))
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    CPropertyPage& page = *pDX->m_pDlgWnd;
    if (control.GetSafeHwnd() != nullptr || page.GetDlgItemHandle(id) == nullptr)
        return;
    control.Attach(page.GetDlgItemHandle(id));
    page.m_boundControls.push_back(&control);
}
