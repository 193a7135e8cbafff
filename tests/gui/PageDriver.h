#pragma once

#include "config/MessageCallback.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A message box as the user saw it before answering it.
struct SeenMessage {
    std::string caption;
    std::string text; // "\n" for each line break
    MessageIcon icon;
    friend bool operator==(const SeenMessage&, const SeenMessage&) = default;
};

// Drives a page the way a user does, by control id, whatever the toolkit: keys typed into a
// field, the focus moved on, clicks, list entries chosen. Every message box that appears while
// the driver acts is answered at once with its OK button and kept for TakeMessages, so that a
// modal box never stops a test.
class PageDriver {
public:
    virtual ~PageDriver() = default;

    // Clicks the sheet's tab of page `index`; whether the sheet shows that page then.
    virtual bool ShowPage(int index) = 0;
    // Clicks into the field, selects its text and types `text` key by key.
    virtual void TypeInto(int id, std::string_view text) = 0;
    // Moves the focus on to the next control, as the Tab key does.
    virtual void LeaveField() = 0;
    // Clicks the control with the mouse (the focus moves to it first, as it does for a user).
    virtual void Click(int id) = 0;
    // Presses Enter in the control that has the focus.
    virtual void PressEnter() = 0;
    // Opens the combo box's list and clicks its entry `index`.
    virtual void ChooseEntry(int id, int index) = 0;
    // The text the control shows.
    virtual std::string Read(int id) = 0;
    virtual bool HasFocus(int id) = 0;
    // The message boxes answered since the last call, oldest first.
    virtual std::vector<SeenMessage> TakeMessages() = 0;
    // Saves what the window shows as a PNG file.
    virtual bool SavePicture(const std::filesystem::path& file) = 0;
};
