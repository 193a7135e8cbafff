#pragma once

#include "config/MessageCallback.h"

#include <string_view>

struct NativeWindow;

// What the layer asks of its toolkit backend besides the members of its classes.

// A modal message box over `owner` (nullptr: over the active window); returns once dismissed.
void ShowModalMessage(NativeWindow* owner, std::string_view text, std::string_view caption,
                      MessageIcon icon);
