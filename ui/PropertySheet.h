#pragma once

#include "ui/Wnd.h"

#include <string>
#include <string_view>
#include <vector>

class CPropertyPage;

// A property sheet: the caption, one tab per page in the order added, and OK, Cancel and Apply
// (Apply stays disabled: no page reports a change). A page's window is created when its tab is
// first shown and keeps its values while the user switches tabs. OK, Cancel and the close box
// only close the sheet; OK and switching tabs first ask the page to take its fields
// (OnKillActive) and stay when it refuses.
class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(std::string_view caption, CWnd* parent = nullptr, int selectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    const std::string& GetCaption() const { return m_caption; }

    // Shows the sheet and returns IDOK or IDCANCEL once it is closed; the windows are gone then.
    int DoModal();
    // Shows the sheet without waiting (for tests and tools); DestroyWindow closes it.
    bool Create();
    void DestroyWindow();

    // Asked when the user closes the sheet with OK (or Enter) or the close box, once the page
    // shown has taken its fields; false keeps the sheet open as it is. Cancel and Escape close
    // without asking.
    virtual bool CanClose() { return true; }

private:
    bool BuildWindow(); // the window, hidden

    std::string m_caption;
    CWnd* m_parent;
    int m_startPage;
    std::vector<CPropertyPage*> m_pages;
};
