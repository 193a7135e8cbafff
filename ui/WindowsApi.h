#pragma once

// On Windows the layer's handles, constants and notifications are the system's own: the pages
// see HICON, IDOK, NMHDR, BN_CLICKED, GetSystemMetrics and MulDiv from its headers. The W
// functions are the ones meant; the layer's texts are UTF-8 and become UTF-16 at the system.
#ifdef _WIN32
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include "config/Win32Api.h"

#include <commctrl.h>
#endif
