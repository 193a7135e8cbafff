#pragma once

#include "common/MessageCallback.h"

#include <string_view>

// What the person who started the program sees of what it writes before its first window.
struct ConsoleView {
    // --help and --version printed on standard output reach them; else they are shown in a box.
    bool printsAnswers = true;
    // Standard error reaches them (a terminal); else a refusal is shown in a box as well.
    bool showsErrors = true;
};

// On Qt: answers printed, errors seen when standard error is a terminal (not so from the menu, a
// file manager or a file dropped on the launcher). On Win32: neither, a windowed program has no
// console.
ConsoleView ProgramConsole();

// A message box before the toolkit has started, from the program's entry: the toolkit is started
// for it (and ended after it) when it is not running yet. False, and nothing shown, when there is
// no display to show it on.
bool ShowStartMessage(std::string_view text, std::string_view caption, MessageIcon icon);
