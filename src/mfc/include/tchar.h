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

// Generic-text names over the UTF-16 runtime. The build is always Unicode, so
// each _t name is the wide function.
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcsicoll _wcsicoll
#define _tcsdup _wcsdup
#define _tsetlocale _wsetlocale
#define _tcslwr_s _wcslwr_s
#define _tcsupr_s _wcsupr_s
#define _tcslwr _wcslwr
#define _tcsupr _wcsupr
#define _tcsrev _wcsrev
#define _tcsclen _tcslen
#define _tcsncicmp _wcsnicmp
#define _tcsnccmp _tcsncmp

#define _stprintf_s swprintf_s
#define _sntprintf_s _snwprintf_s
#define _vstprintf_s vswprintf_s
#define _vsntprintf_s _vsnwprintf_s
#define _vsctprintf _vscwprintf
#define _sctprintf _scwprintf

#define _ttoi _wtoi
#define _ttol _wtol
#define _ttoi64 _wtoi64
#define _tstoi _wtoi
#define _tstol _wtol
#define _tstoi64 _wtoi64
#define _ttof _wtof
#define _tstof _wtof
#define _tcstoi64 _wcstoi64
#define _tcstoui64 _wcstoui64
#define _itot_s _itow_s
#define _ltot_s _ltow_s
#define _ultot_s _ultow_s
#define _i64tot_s _i64tow_s
#define _ui64tot_s _ui64tow_s

#define _tsplitpath_s _wsplitpath_s
#define _tsplitpath _wsplitpath
#define _tmakepath_s _wmakepath_s
#define _tfullpath _wfullpath

#define _tfinddata_t _wfinddata_t
#define _tfinddatai64_t _wfinddatai64_t
#define _tfindfirst _wfindfirst
#define _tfindnext _wfindnext
#define _tfindfirsti64 _wfindfirsti64
#define _tfindnexti64 _wfindnexti64
