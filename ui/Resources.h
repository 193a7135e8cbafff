#pragma once

#include <span>
#include <string_view>

// The program's resources as the layer finds them, defined in res/ beside them (as are its dialog
// templates, FindDialogTemplate in ui/DialogTemplate.h): the layer knows them only by id.

// The icon of the program's windows.
extern const int kProgramIcon;

// The picture files of res/ (PNG) that draw resource `id`, as the Qt build embeds them: a bitmap's
// one file; an icon's, one a size. Empty for no such resource. The Windows build has the same
// pictures in its resource script.
std::string_view BitmapFile(int id);
std::span<const std::string_view> IconFiles(int id);
