#pragma once

#include <span>
#include <string_view>

// The program's resources as the layer finds them, defined in res/ beside them (as are its dialog
// templates, FindDialogTemplate in ui/DialogTemplate.h): the layer knows them only by id.

// The icon of the program's windows.
extern const int kProgramIcon;

// The picture files of res/ (PNG) that draw icon `id`, one a size, as the Qt build embeds them;
// empty for no such icon. Bitmap `id` is the file bitmap<id>.png. The Windows build has the same
// pictures in its resource script.
std::span<const std::string_view> IconFiles(int id);

// The bitmap that draws bitmap `id` at twice its size, for screens above 100 %; 0 for none.
int LargeBitmap(int id);
