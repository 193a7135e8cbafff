#pragma once

#include <filesystem>
#include <string_view>

// The toolkit's own folder chooser over the active window, captioned `title`, showing `start`
// first. Returns the chosen folder, or an empty path when the user cancelled.
std::filesystem::path ChooseFolder(std::string_view title, const std::filesystem::path& start);

// A folder kept in the user's settings of the program under `key`, from one run to the next:
// the toolkit's settings store (on Windows the registry, HKCU\Software\il18-loader). Empty when
// none is kept; saving an empty path forgets it.
std::filesystem::path LoadFolderSetting(std::string_view key);
void SaveFolderSetting(std::string_view key, const std::filesystem::path& folder);
