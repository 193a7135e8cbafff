#pragma once

#include "common/MessageCallback.h"
#include "payload/RgbImage.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct NativeWindow;

// A message box as the user saw it before answering it.
struct SeenMessage {
    std::string caption;
    std::string text; // "\n" for each line break
    MessageIcon icon;
    friend bool operator==(const SeenMessage&, const SeenMessage&) = default;
};

// The keys PressKey presses, each as the keyboard's key of that name.
enum class DriverKey { Left, Right, Home, End, PageUp, PageDown, Escape, Up, Down, F4 };

// For PressKey: the control that has the focus now, left where it is.
inline constexpr int kFocusedControl = 0;

// A slider as the user sees it.
struct SliderView {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
    int tickEvery = 0; // steps from one tick mark to the next, 0 when it shows none
    friend bool operator==(const SliderView&, const SliderView&) = default;
};

// A control's text as the control lays it out, in page pixels: the room its lines take (a static
// breaks them at blanks as it draws them; a word wider than the static widens it) and the room the
// control gives them (a group box's title and a button's text keep clear of the frame).
struct TextFit {
    int width = 0;
    int height = 0;
    int roomWidth = 0;
    int roomHeight = 0;
};

// What the sheet shows around its pages.
struct SheetView {
    struct Button {
        std::string text; // without any mnemonic marker
        bool enabled = false;
    };
    std::string caption;                 // the title bar's text
    std::vector<std::string> pageTitles; // the tabs, left to right
    int currentPage = -1;                // the tab shown, -1 when none is
    bool open = false;                   // the window is on the screen (shown, not closed)
    std::vector<Button> buttons;         // the sheet's own push buttons, not those of its pages
};

// Drives a sheet the way a user does, by control id, whatever the toolkit: keys typed into a
// field, the focus moved on, clicks, list entries chosen, keys on sliders. Every action lets the
// windows finish what it started (pending events handled, the sheet active again once a message
// box has closed) before it returns. Every message box that appears meanwhile is answered at once
// with its OK button and kept for TakeMessages, so that a modal box never stops a test.
//
// A control id names a control of the page the sheet shows; an action on an id that the page
// has no control for fails the test and does nothing. Texts are UTF-8.
class PageDriver {
public:
    virtual ~PageDriver() = default;

    // The sheet's window, as CPropertySheet::GetSafeHwnd gives it.
    virtual NativeWindow* Window() const = 0;

    // Clicks the sheet's tab of page `index`; whether the sheet shows that page then.
    virtual bool ShowPage(int index) = 0;
    // Clicks into the field (an edit, or the edit of a combo box), selects its whole text and
    // types `text` over it character by character, each as the user types it: every character
    // changes the text on its own (and notifies the page), and goes to the control that has the
    // focus at that moment (a refusal takes the focus elsewhere and back, with the field's text
    // selected). A character without a key of its own ("д", "２") arrives as typed text. An
    // empty `text` deletes the selected text with the Delete key: the field ends empty.
    virtual void TypeInto(int id, std::string_view text) = 0;
    // Moves the focus on to the next control, as the Tab key does.
    virtual void LeaveField() = 0;
    // Gives control `id` the focus as the Tab key brings it there (a field's text is selected);
    // nothing when the control has it already.
    virtual void Focus(int id) = 0;
    // Clicks the control with the mouse (the focus moves to it first, as it does for a user).
    virtual void Click(int id) = 0;
    // Presses Enter in the control that has the focus.
    virtual void PressEnter() = 0;
    // Focus(id) unless `id` is kFocusedControl, then presses `key` `times` times, letting the
    // windows settle after each press (on a slider: Left and Right move it one step, PageUp
    // and PageDown a page, Home and End to its ends).
    virtual void PressKey(int id, DriverKey key, int times) = 0;
    // Opens the combo box's list and clicks its entry `index`.
    virtual void ChooseEntry(int id, int index) = 0;
    // Turns the mouse wheel `notches` notches (positive: away from the user) with the pointer
    // over control `id`, wherever the focus is.
    virtual void TurnWheel(int id, int notches) = 0;
    // Minimizes the sheet (true) or restores it (false).
    virtual void Minimize(bool minimized) = 0;
    // The text the control shows ("" for a control without text, such as a slider).
    virtual std::string Read(int id) = 0;
    // The text of the shown page's control at `index` in the page's template (statics and group
    // boxes have no id), measured in the font the control draws it with; an edit's as one line.
    virtual TextFit MeasureText(std::size_t index) = 0;
    // The slider's range, position and ticks; a control that is no slider fails the test.
    virtual SliderView ReadSlider(int id) = 0;
    virtual bool HasFocus(int id) = 0;

    // The sheet's caption, tabs and buttons, and whether it is still open.
    virtual SheetView ReadSheet() = 0;
    // Clicks the sheet's own push button that shows `text` ("ОК", "Отмена", "Применить"); fails
    // the test when there is none.
    virtual void ClickSheetButton(std::string_view text) = 0;
    // Closes the sheet with its title bar's close box.
    virtual void CloseWindow() = 0;

    // What the page the sheet shows looks like now, as the sheet shows it (the sheet's own
    // background behind the page included): its client area from its top-left corner,
    // controls and blits included, one image pixel per pixel of the screen (645 x 374 for the
    // pages of the program at 100 %), each 0xFFRRGGBB. An empty image (and a failed test) when no
    // page is shown.
    virtual RgbImage Grab() = 0;
    // Saves what the whole window shows as a PNG file.
    virtual bool SavePicture(const std::filesystem::path& file) = 0;

    // The message boxes answered since the last call, oldest first.
    virtual std::vector<SeenMessage> TakeMessages() = 0;
};
