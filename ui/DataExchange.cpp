#include "ui/DataExchange.h"

#include "ui/PropertyPage.h"
#include "ui/WinApp.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits off one leading sign; false when the text has no digits left or a second sign.
bool TakeSign(std::string_view& text, bool& negative) {
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return !text.empty() && text.front() != '+' && text.front() != '-';
}

} // namespace

std::string FormatFieldFloat(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string FormatFieldInt(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<float> ParseFieldFloat(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(text, negative))
        return std::nullopt;
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != end)
        return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(negative ? -value : value);
}

std::optional<int> ParseFieldInt(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!TakeSign(text, negative))
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, magnitude);
    if (result.ec != std::errc{} || result.ptr != end)
        return std::nullopt;
    const std::uint64_t limit =
        std::uint64_t{std::numeric_limits<int>::max()} + (negative ? 1u : 0u);
    if (magnitude > limit)
        return std::nullopt;
    const auto signedValue = static_cast<std::int64_t>(magnitude);
    return static_cast<int>(negative ? -signedValue : signedValue);
}

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

} // namespace

void DDX_Text(CDataExchange* pDX, int id, float& value) {
    ExchangeNumber(pDX, id, value, ParseFieldFloat, FormatFieldFloat, kParseRealMessage);
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
