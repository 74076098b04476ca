// Generic-text mappings. WCHAR is char16_t under Winelib, so wide literals are
// u"..." literals; the wide C runtime the program calls is our own UTF-16 one
// (mfc/utf16crt.h), never glibc's 32-bit wchar_t functions.
#pragma once

#include <windows.h>

#ifndef _T
#define _T(x) u##x
#endif
#ifndef _TEXT
#define _TEXT(x) u##x
#endif
#ifndef TEXT
#define TEXT(x) u##x
#endif
#ifndef __T
#define __T(x) u##x
#endif

#ifndef _TCHAR_DEFINED
typedef WCHAR TCHAR;
#define _TCHAR_DEFINED
#endif
typedef WCHAR _TCHAR;
typedef WCHAR _TSCHAR;
typedef WCHAR _TUCHAR;
typedef WCHAR _TXCHAR;
typedef int _TINT;

#include "mfc/utf16crt.h"
