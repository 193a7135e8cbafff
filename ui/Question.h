#pragma once

#include <string_view>

struct NativeWindow;

// A modal question over `owner` (nullptr: over the active window) with the buttons "Да" and
// "Нет" and the question icon; "Нет" is the default button and Escape answers it. "\r\n" in the
// text is a line break. True when the answer is "Да".
bool AskYesNo(NativeWindow* owner, std::string_view text, std::string_view caption);
