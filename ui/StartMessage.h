#pragma once

#include "common/MessageCallback.h"

#include <optional>
#include <string>
#include <string_view>

// What the person who started the program sees of what it writes before its first window.
struct ConsoleView {
    // --help and --version printed on standard output reach them; else they are shown in a box.
    bool printsAnswers = true;
    // Standard error reaches them (a terminal); else a refusal is shown in a box as well, where a
    // box is seen (ShowStartMessage).
    bool showsErrors = true;
};

// On Qt: answers printed, errors seen when standard error is a terminal (not so from the menu, a
// file manager or a file dropped on the launcher). On Win32: neither, a windowed program has no
// console.
ConsoleView ProgramConsole();

// A message box before the toolkit has started, from the program's entry: the toolkit is started
// for it (and ended after it) when it is not running yet. False, and nothing shown, where nobody
// would see it: no display can be reached, or the toolkit's platform shows no window (Qt's
// offscreen and minimal); a box there would wait for ever. On Win32 it is always shown.
bool ShowStartMessage(std::string_view text, std::string_view caption, MessageIcon icon);

// Where the toolkit could not reach the display it would start on, and would end the program
// instead: that display's name as the system gives it (":0", "wayland-0"; empty when none is set).
// Nothing where it can, or where it needs none (Win32, Qt's offscreen).
std::optional<std::string> UnreachableDisplay();
