#include "app/LoaderAppSheet.h"

CLoaderAppSheet::CLoaderAppSheet(std::string_view caption, CWnd* parent, int selectPage)
    : CPropertySheet(caption, parent, selectPage) {
    AddPage(&m_payloadPage);
    AddPage(&m_fuelPage);
}
