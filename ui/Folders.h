#pragma once

#include <string>
#include <string_view>

// The toolkit's own folder chooser over the active window, captioned `title`, showing `start`
// first. Returns the chosen folder, or "" when the user cancelled.
std::string ChooseFolder(std::string_view title, std::string_view start);

// A folder kept in the user's settings of the program under `key`, from one run to the next:
// the toolkit's settings store (on Windows the registry, HKCU\Software\il18-loader). "" when
// none is kept; saving "" forgets it.
std::string LoadFolderSetting(std::string_view key);
void SaveFolderSetting(std::string_view key, std::string_view folder);
