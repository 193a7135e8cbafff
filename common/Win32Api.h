#pragma once

// The Win32 API for the Windows build, without its min and max macros and its rarely used parts;
// the W functions are the ones meant (the program's texts are UTF-8 and become UTF-16 at the
// system). Included by the file code and by the dialog layer's Windows backend, never by a page.
//
// The layer has names of its own that the system spells alike: the system's NMHDR and HICON are
// Win32Nmhdr and Win32Icon here, its MulDiv (which rounds as the layer's does) is out of sight,
// and its macros that the layer's constants (IDOK, CB_ERR, BN_CLICKED…) and members (MessageBox,
// LoadIcon, Get/SetWindowText, Get/SetDlgItemText) are spelt as are undefined; the values are the
// same.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE // NOLINT(bugprone-reserved-identifier): the system headers' own switch
#endif
#define tagNMHDR Win32TagNmhdr
#define NMHDR Win32Nmhdr
#define HICON Win32Icon
#define MulDiv Win32MulDiv
#include <windows.h>

#include <commctrl.h>
#undef tagNMHDR
#undef NMHDR
#undef HICON
#undef MulDiv
#undef IDOK
#undef IDCANCEL
#undef SM_CXICON
#undef SM_CYICON
#undef CB_ERR
#undef BN_CLICKED
#undef CBN_SELENDOK
#undef EN_KILLFOCUS
#undef EN_CHANGE
#undef NM_CUSTOMDRAW
#undef MessageBox
#undef LoadIcon
#undef GetWindowText
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
#endif
