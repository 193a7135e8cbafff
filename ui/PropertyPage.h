#pragma once

#include "ui/DataExchange.h"
#include "ui/DialogTemplate.h"
#include "ui/Wnd.h"

#include <cstdint>
#include <span>
#include <vector>

// Control notifications a page's message map can name (the values are the Windows ones).
enum : unsigned {
    BN_CLICKED = 0,              // a push button was clicked
    CBN_SELENDOK = 9,            // the user chose an entry of a combo box's list
    EN_KILLFOCUS = 0x0200,       // an edit field lost the focus to another control of the sheet
    EN_CHANGE = 0x0300,          // the user changed an edit field's text (never the exchange)
    NM_CUSTOMDRAW = 0xFFFFFFF4u, // a slider's position report (see CSliderCtrl)
};

// A notification's result; as wide as a pointer, as the system's.
using LRESULT = std::intptr_t;
// Who sends a notification, and which.
struct NMHDR {
    NativeWindow* hwndFrom;
    int idFrom;
    unsigned code;
};

class CPropertyPage;

// One entry of a message map: the notification, the control and the page's handler.
struct MessageMapEntry {
    unsigned code;
    int id;
    void (CPropertyPage::*command)();
    void (CPropertyPage::*notify)(NMHDR*, LRESULT*);
};
using MessageMap = std::span<const MessageMapEntry>;

// A page of a property sheet, built from a dialog template when the sheet first shows it.
class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(int templateId);
    ~CPropertyPage() override;

    // The template; never null for a page of the program.
    const DialogTemplate* GetTemplate() const { return m_template; }

    // Runs DoDataExchange in one direction; false when a field was refused.
    bool UpdateData(bool saveAndValidate = true);

    // The page's window: its controls from the template as children of `parent`, then
    // OnInitDialog. False when the template is unknown. DestroyWindow unbinds every control.
    bool Create(NativeWindow* parent);
    void DestroyWindow();

    // Called once the controls exist. The base shows the members in the controls.
    virtual bool OnInitDialog();
    // Called before the sheet leaves the page (another page, OK); false keeps the page. The base
    // takes the fields into the members.
    virtual bool OnKillActive();
    // Called at every paint of the page, before the controls are painted over it; what is
    // blitted lies on top of every control.
    virtual void OnPaint() {}

    // Copies w x h pixels (0xFFRRGGBB, rows `stride` pixels apart, from the top-left of
    // `pixels`) onto the page at its pixel (x, y), above every control. The pixels are the
    // screen's: at GetDpi() above 96 each is smaller than a pixel at 100 %. What a later blit does
    // not cover stays on the page.
    void BlitToClient(int x, int y, int w, int h, const std::uint32_t* pixels, int stride);
    // Draws the icon at its own size with its top-left corner at (x, y), as BlitToClient does.
    void DrawIcon(int x, int y, HICON icon);

    // The backend reports a control's notification here. It reaches the first matching entry
    // of the message map, unless the page has no window or is in the middle of an exchange
    // (writing a field must not run a handler that reads the fields).
    void OnControlNotify(unsigned code, int id);
    // The backend calls this when the page's window is gone: every bound control is unbound.
    void ForgetWindow();

    template <class Page>
    static constexpr MessageMapEntry OnCommand(unsigned code, int id, void (Page::*handler)()) {
        return {code, id, static_cast<void (CPropertyPage::*)()>(handler), nullptr};
    }
    template <class Page>
    static constexpr MessageMapEntry OnNotify(unsigned code, int id,
                                              void (Page::*handler)(NMHDR*, LRESULT*)) {
        return {code, id, nullptr, static_cast<void (CPropertyPage::*)(NMHDR*, LRESULT*)>(handler)};
    }

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual MessageMap GetMessageMap() const { return {}; }

private:
    friend void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

    const DialogTemplate* m_template;
    bool m_inExchange = false;
    std::vector<CWnd*> m_boundControls;
};
