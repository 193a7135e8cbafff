#pragma once

// What a toolkit backend of the GUI tests provides (tests/gui/qt/, tests/gui/win32/) to the
// toolkit-neutral GuiTest, besides WaitFor of GuiTest.h and its test programs' main(). That
// main() starts the toolkit as the program does (its dialog font and style), runs the tests of
// the program it is linked into and returns RUN_ALL_TESTS()'s result; on a toolkit whose
// platform can be chosen, it chooses the offscreen one before the toolkit starts, because the
// discovery of the tests runs the program without the tests' environment.

#include "gui/PageDriver.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct NativeWindow;

// Answers every message box of the program as soon as it is shown, with its OK button, a
// question with Yes or No as told (one with neither is closed as Escape closes it), and remembers
// what it showed: the caption, the text with "\n" for each line break, and the icon (the stop icon
// as MessageIcon::Stop, any other as Information). Answers from its construction to its
// destruction; only one exists at a time.
class MessageAnswerer {
public:
    virtual ~MessageAnswerer() = default;
    // The boxes answered since the last call, oldest first.
    virtual std::vector<SeenMessage> Take() = 0;
    // How a question (a box with Yes and No) is answered from now on: Yes when `yes`, No
    // otherwise (No at first).
    virtual void AnswerQuestionsWith(bool yes) = 0;
};

std::unique_ptr<MessageAnswerer> StartAnsweringMessages();

// A driver of the top-level window `window` (a sheet's). It shows the window and makes it the
// active one before it returns (a test fails if the window is not active within 10 s); its
// TakeMessages takes from `answerer`, which outlives it.
std::unique_ptr<PageDriver> MakePageDriver(NativeWindow* window, MessageAnswerer& answerer);

// Once the toolkit has done the deletions still pending: one line for each top-level window of
// the program that still exists, shown or hidden, message boxes included, saying what it is
// (its kind and name or caption). Empty when every window is gone.
std::vector<std::string> TopLevelWindowsLeft();

// Returns at once. As soon as the next modal loop runs, calls `act` from inside it with the modal
// window. If no window runs modally within 10 s, fails the test and closes every dialog as Cancel
// does instead. If the modal window is still open 10 s after `act` has returned, fails the test
// and closes it as Cancel does. The wait is over once its modal window has closed (DoModal has
// returned): a test may call this again right after, for its next DoModal, as the next test may.
void CallWhenModal(std::function<void(NativeWindow*)> act);

// Makes the toolkit's own number conventions those of a Russian desktop (decimal comma) while
// `russian`, those of the C locale otherwise. Does nothing on a toolkit that has none beside the
// C library's.
void UseToolkitNumberLocale(bool russian);
