#include "app/LoaderAppSheet.h"

CLoaderAppSheet::CLoaderAppSheet(std::string_view caption, CWnd* parent, int selectPage)
    : CPropertySheet(caption, parent, selectPage) {
    // The payload page is added first, as page 0, once it exists: AddPage(&m_payloadPage);
    AddPage(&m_fuelPage);
}
