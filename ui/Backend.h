#pragma once

#include "common/MessageCallback.h"

#include <string_view>

struct NativeWindow;

// What a toolkit backend of the layer defines (ui/qt/, ui/win32/): the functions below and the
// members listed after them, which the class headers declare. Everything else of the layer is
// written once, on top of these. A member of a window without a window does nothing and reads
// as empty (0, "", CB_ERR, nullptr).

// A modal message box over `owner` (nullptr: over the active window), "\r\n" a line break, the
// stop or the information icon; returns once dismissed.
void ShowModalMessage(NativeWindow* owner, std::string_view text, std::string_view caption,
                      MessageIcon icon);

// int AfxWinMain(int, char**): starts the toolkit, runs theApp's InitInstance and, when it returns
//     true, the toolkit's loop; returns the exit code.
// CWinApp::Enable3dControls: the toolkit's own desktop look. CWinApp::LoadIcon: icon resource
//     `id`, shared for the program's life, nullptr when there is none.
// int GetSystemMetrics(int) (Qt): 32 for SM_CXICON and SM_CYICON, 0 otherwise; on Windows the
//     system's.
//
// CWnd: GetWindowText and SetWindowText (an edit's text set again unchanged is no change, and
//     no text set by the program notifies the page); IsIconic (the top-level window is
//     minimized); GetClientRect (from 0, 0); GetDlgItemHandle, GetDlgItemText, SetDlgItemText
//     (the child control of that id); GotoDlgCtrl (focus on the control, its text selected).
// CComboBox: GetCount; GetCurSel (typing selects no entry, nor does leaving the field with text
//     that matches one); GetLBText.
// CSliderCtrl: SetRange (the page a fifth of the range; reports only with redraw), SetTicFreq,
//     GetPos, SetPos (clamps, then reports even when the position is unchanged). A slider
//     reports (NM_CUSTOMDRAW through OnControlNotify) after every move by the user and whenever
//     its page is shown; PageDown and Down move it toward the maximum, a click beside the thumb
//     a page toward the click. Nothing but a slider reports.
// CPropertyPage: Create (the template's controls at DialogUnitsToPixels, a combo box's entries
//     in order and none selected, then OnInitDialog), DestroyWindow (and ForgetWindow when the
//     window goes), BlitToClient and DrawIcon (above every control; the icon only while minimized).
//     The page window reports BN_CLICKED, CBN_SELENDOK, EN_CHANGE (the user's changes only) and
//     EN_KILLFOCUS (the focus gone to another control of the same window) to OnControlNotify,
//     calls OnPaint before its controls paint, and presses the default button on Enter unless a
//     push button has the focus (that one is pressed) or an open list takes it. A click whose
//     focus change a field refused presses nothing, and the next click is not lost.
// CPropertySheet: Create, DoModal, DestroyWindow, the destructor and BuildWindow (see
//     PropertySheet.h); a window the system destroyed (with its owner) is forgotten.
