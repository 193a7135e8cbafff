// The property sheet on the common controls' PropertySheetW: a tab per page and the sheet's
// buttons. The sheet is always modeless to the system; DoModal runs its loop here, so that the
// page keys (Enter to a page's default button) work in both.

#include "ui/PropertyPage.h"
#include "ui/PropertySheet.h"
#include "ui/Resources.h"
#include "ui/WinApp.h"
#include "ui/win32/Win32Window.h"

#include <vector>

namespace {

// The sheet's buttons in the pages' language, whatever the system's.
void NameButtons(HWND sheet) {
    SetDlgItemTextW(sheet, IDOK, L"ОК");
    SetDlgItemTextW(sheet, IDCANCEL, L"Отмена");
    SetDlgItemTextW(sheet, 0x3021 /* the Apply button */, L"Применить");
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED)
        NameButtons(sheet);
    return 0;
}

// Whether the sheet has been closed (OK, Cancel, the close box): a modeless sheet then has no
// current page and waits to be destroyed.
bool SheetClosed(HWND sheet) {
    return !IsWindow(sheet) || PropSheet_GetCurrentPageHwnd(sheet) == nullptr;
}

constexpr wchar_t kModalProperty[] = L"il18-loader.modal";

} // namespace

bool SheetRunsModally(HWND sheet) {
    return GetPropW(sheet, kModalProperty) != nullptr;
}

CPropertySheet::~CPropertySheet() {
    // The pages may be gone already (members of a derived sheet); their windows went with them.
    DestroyWindow();
}

bool CPropertySheet::Create() {
    if (!BuildWindow())
        return false;
    ShowWindow(ToHwnd(m_hWnd), SW_SHOW);
    return true;
}

bool CPropertySheet::BuildWindow() {
    // The system destroys a sheet with its owner: the handle left is no window's.
    if (m_hWnd != nullptr && !IsWindow(ToHwnd(m_hWnd)))
        Detach();
    if (m_hWnd != nullptr)
        return true;
    std::vector<std::wstring> titles;
    titles.reserve(m_pages.size());
    std::vector<PROPSHEETPAGEW> pages;
    HWND parent = m_parent != nullptr ? ToHwnd(m_parent->GetSafeHwnd()) : nullptr;
    // The sheet is made at its owner's DPI, or the system's.
    const UINT dpi = WindowDpi(parent);
    for (CPropertyPage* page : m_pages) {
        const DLGTEMPLATE* dialog = PageDialogTemplate(*page, false, dpi);
        if (dialog == nullptr)
            return false;
        titles.push_back(Widen(page->GetTemplate()->caption));
        PROPSHEETPAGEW setup{};
        setup.dwSize = sizeof(setup);
        setup.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
        setup.hInstance = ProgramInstance();
        setup.pResource = dialog;
        setup.pszTitle = titles.back().c_str();
        setup.pfnDlgProc = PageDialogProc;
        setup.lParam = reinterpret_cast<LPARAM>(page);
        pages.push_back(setup);
    }
    const std::wstring caption = Widen(m_caption);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOCONTEXTHELP | PSH_USECALLBACK;
    header.hwndParent = parent;
    header.hInstance = ProgramInstance();
    if (CWinApp* app = AfxGetApp()) {
        header.dwFlags |= PSH_USEHICON;
        header.hIcon = ToWin32Icon(app->LoadIcon(kProgramIcon));
    }
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = GetPage(m_startPage) != nullptr ? static_cast<UINT>(m_startPage) : 0;
    header.ppsp = pages.data();
    header.pfnCallback = SheetCallback;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    if (sheet == nullptr || sheet == reinterpret_cast<HWND>(-1))
        return false;
    m_hWnd = ToHandle(sheet);
    WatchSheetClosing(sheet, *this);
    WatchSheetDpi(sheet);
    // Above 100 % the icons of the larger sizes the system asks for, each from its own image.
    if (WindowDpi(sheet) != 96)
        SetSheetIcons(sheet, WindowDpi(sheet));
    return true;
}

int CPropertySheet::DoModal() {
    if (!BuildWindow())
        return IDCANCEL;
    HWND sheet = ToHwnd(m_hWnd);
    HWND owner = GetWindow(sheet, GW_OWNER);
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    ForgetSheetAcceptance(sheet);
    ShowWindow(sheet, SW_SHOW);
    SetPropW(sheet, kModalProperty, reinterpret_cast<HANDLE>(1));
    MSG message;
    bool quit = false;
    while (!SheetClosed(sheet)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true; // the program ends: the sheet goes, and the loop above hears of it too
            break;
        }
        if (got == -1)
            break;
        DispatchSheetMessage(sheet, message);
    }
    if (IsWindow(sheet))
        RemovePropW(sheet, kModalProperty);
    const int result = !quit && SheetWasAccepted(sheet) ? IDOK : IDCANCEL;
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    DestroyWindow();
    if (quit)
        PostQuitMessage(static_cast<int>(message.wParam));
    return result;
}

void CPropertySheet::DestroyWindow() {
    if (m_hWnd == nullptr)
        return;
    HWND sheet = ToHwnd(Detach());
    if (!IsWindow(sheet))
        return;
    ForgetSheetAcceptance(sheet);
    // Destroying the sheet destroys its pages' windows, which forget them (WM_DESTROY).
    ::DestroyWindow(sheet);
}
