#pragma once

#include "common/MessageCallback.h"

#include <string_view>

struct NativeWindow;

// What a toolkit backend of the layer defines (ui/qt/, ui/win32/), and nothing else that the
// rest of the program sees: the function below, then the functions and members the other headers
// of the layer declare, named here with their headers. Everything else of the layer is written
// once, on top of these; what a backend shares among its own files is in its own headers. A
// member of a window without a window does nothing and reads as empty (0, "", CB_ERR, nullptr).

// A modal message box over `owner` (nullptr: over the active window), "\r\n" a line break, the
// stop or the information icon; returns once dismissed.
void ShowModalMessage(NativeWindow* owner, std::string_view text, std::string_view caption,
                      MessageIcon icon);

// WinApp.h: int AfxWinMain(int, char**): starts the toolkit, runs theApp's InitInstance and, when
//     it returns true, the toolkit's loop; returns the exit code. CWinApp::Enable3dControls: the
//     toolkit's own desktop look. CWinApp::LoadIcon: icon resource `id` of res/ (ui/Resources.h),
//     shared for the program's life, nullptr when there is none.
// ProgramArguments.h: ProgramArguments (the arguments in UTF-8).
// Folders.h: ChooseFolder (the toolkit's chooser), LoadFolderSetting and SaveFolderSetting (its
//     settings store).
// StartMessage.h: ProgramConsole (whether what the program prints reaches whoever started it),
//     ShowStartMessage (a message box before the toolkit has started) and UnreachableDisplay.
// Question.h: AskYesNo (the question box, "Нет" its default).
//
// Wnd.h: int GetSystemMetrics(SystemMetric): 32 on Qt for both; on Windows the system's.
// CWnd (Wnd.h): GetWindowText and SetWindowText (an edit's text set again unchanged is no change,
// and
//     no text set by the program notifies the page); GetDpi (the screen's scale times 96: the
//     window's DPI on Windows, the device pixel ratio on Qt); IsIconic (the top-level window is
//     minimized); GetClientRect (from 0, 0); GetDlgItemHandle, GetDlgItemText, SetDlgItemText
//     (the child control of that id); GotoDlgCtrl (focus on the control, its text selected).
// CComboBox (Controls.h): GetCount; GetCurSel (typing selects no entry, nor does leaving the field
// with text
//     that matches one); GetLBText.
// CSliderCtrl (Controls.h): SetRange (the page a fifth of the range; reports only with redraw),
// SetTicFreq,
//     GetPos, SetPos (clamps, then reports even when the position is unchanged). A slider
//     reports (NM_CUSTOMDRAW through OnControlNotify) after every move by the user and whenever
//     its page is shown; PageDown and Down move it toward the maximum, a click beside the thumb
//     a page toward the click. Nothing but a slider reports.
// CPropertyPage (PropertyPage.h): Create (the template's controls at DialogUnitsToPixels, a combo
// box's entries
//     in order and none selected, then OnInitDialog), DestroyWindow (and ForgetWindow when the
//     window goes), BlitToClient and DrawIcon (above every control; the icon only while minimized).
//     The page window reports BN_CLICKED, CBN_SELENDOK, EN_CHANGE (the user's changes only) and
//     EN_KILLFOCUS (the focus gone to another control of the same window) to OnControlNotify,
//     calls OnPaint before its controls paint, and presses the default button on Enter unless a
//     push button has the focus (that one is pressed) or an open list takes it. A click whose
//     focus change a field refused presses nothing, and the next click is not lost.
// CPropertySheet (PropertySheet.h): Create, DoModal, DestroyWindow, the destructor and
//     BuildWindow; a window the system destroyed (with its owner) is forgotten.
