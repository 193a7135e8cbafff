#pragma once

#include "ui/Wnd.h"

#include <QIcon>
#include <QPixmap>

// The pictures of res/ (ui/Resources.h), embedded under :/res/ by their file names.

// A null pixmap when the program has no such bitmap.
QPixmap LoadBitmapResource(int id);
// The program's icon `id`, kept for the program's life; nullptr when there is none. Each of its
// pictures is decoded the first time a size asks for it.
HICON LoadIconResource(int id);
const QIcon* FromIconHandle(HICON icon);
