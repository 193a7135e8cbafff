#pragma once

#include "ui/Wnd.h"

#include <string>
#include <string_view>

// No entry of a combo box.
inline constexpr int CB_ERR = -1;

class CButton : public CWnd {};

// A combo box's list. Entries keep the order they are added in.
class CComboBox : public CWnd {
public:
    int GetCount() const;
    // The selected entry's index, CB_ERR when no entry is selected. Typing into the edit field
    // selects nothing: the entry is selected only when chosen from the list.
    int GetCurSel() const;
    // The entry's text; "" for an index out of range.
    void GetLBText(int index, std::string& text) const;
};

// A horizontal slider. Its page learns its position from the slider's position report (the
// NM_CUSTOMDRAW notification of the page's message map), which comes after every change of the
// position by the user, after every SetPos (even when the clamped position is the old one), after
// SetRange with redraw, and whenever the page is shown (each slider in template order).
class CSliderCtrl : public CWnd {
public:
    // The range, minimum to maximum inclusive; the position is clamped into it. Without redraw
    // the slider does not report.
    void SetRange(int minimum, int maximum, bool redraw = false);
    // A tick mark every `frequency` steps.
    void SetTicFreq(int frequency);
    int GetPos() const;
    // Moves the slider to the position clamped into its range and reports.
    void SetPos(int position);
};
