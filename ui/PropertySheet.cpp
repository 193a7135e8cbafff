#include "ui/PropertySheet.h"

CPropertySheet::CPropertySheet(std::string_view caption, CWnd* parent, int selectPage)
    : m_caption(caption), m_parent(parent), m_startPage(selectPage) {}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<std::size_t>(index)]
                                                : nullptr;
}
