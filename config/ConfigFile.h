#pragma once

#include "config/FileOps.h"

#include <string>
#include <string_view>

// File names, relative to the aircraft's folder.
inline constexpr const char* kConfigFileName = "Aircraft.cfg";
inline constexpr const char* kTempFileName = "TempFile.txt";

// The Aircraft.cfg of a folder, by the one rule that the start, the folder chooser and the
// rewrite share: the entry named exactly "Aircraft.cfg", or else the one entry whose name is that
// in other letter case (as Windows finds files). A symbolic link counts as what it points to.
struct ConfigFileSearch {
    // The entry's name as the folder spells it; "Aircraft.cfg" when there is none to use.
    std::string name = kConfigFileName;
    // Why there is none to use, in the user's words ("файл не найден", two names that differ only
    // in letter case, a folder of that name, a folder that cannot be read); "" when found.
    std::string refusal;
    bool found() const { return refusal.empty(); }
};
ConfigFileSearch FindConfigFile(FileOps& ops, std::string_view folder);
// Whether the two names are the same but for the letter case of A to Z, as Windows and the
// simulator compare file, section and key names.
bool SameNameInAnyCase(std::string_view a, std::string_view b);
// Whether `name` is "Aircraft.cfg" in any letter case.
inline bool IsConfigFileName(std::string_view name) {
    return SameNameInAnyCase(name, kConfigFileName);
}

// Why a file operation failed, in the user's words, for the errno value `error`.
std::string ReasonOf(int error);
