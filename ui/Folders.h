#pragma once

#include <string>
#include <string_view>
#include <vector>

// The file system's folders as the program's start needs them, every path in UTF-8. (The
// standard library's filesystem would do the same, but statically linked for Windows it alone
// costs the program a megabyte.)

enum class PathKind { Missing, Folder, File };
PathKind KindOfPath(std::string_view path);
// The path made absolute against the current folder and cleaned (no "." or "..", no separator
// at the end except the root's).
std::string AbsolutePath(std::string_view path);
// The absolute path of the folder that holds `path`.
std::string ParentFolder(std::string_view path);
std::string CurrentFolder();
// Makes `folder` the current folder; false when it cannot be.
bool EnterFolder(std::string_view folder);
// The names of the plain files in `folder` (no folders), in no particular order.
std::vector<std::string> FileNamesIn(std::string_view folder);

// The toolkit's own folder chooser over the active window, captioned `title`, showing `start`
// first. Returns the chosen folder, or "" when the user cancelled.
std::string ChooseFolder(std::string_view title, std::string_view start);

// A folder kept in the user's settings of the program under `key`, from one run to the next:
// the toolkit's settings store (on Windows the registry, HKCU\Software\il18-loader). "" when
// none is kept; saving "" forgets it.
std::string LoadFolderSetting(std::string_view key);
void SaveFolderSetting(std::string_view key, std::string_view folder);
