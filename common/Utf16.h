#pragma once

#include <string>
#include <string_view>

// UTF-8, the program's texts and paths, and UTF-16, as Windows takes them: one wchar_t a unit
// (on Windows wchar_t is 16 bits; elsewhere these are the same units in wider storage).

// The UTF-16 of `utf8`; false when it is not valid UTF-8 (a name Windows must not be given
// altered).
bool Widen(std::string_view utf8, std::wstring& wide);
// The UTF-16 of `utf8`, each byte that is not valid UTF-8 made U+FFFD.
std::wstring Widen(std::string_view utf8);
// The UTF-8 of `wide`, each unpaired surrogate made U+FFFD.
std::string Narrow(std::wstring_view wide);
