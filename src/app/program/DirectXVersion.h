// The installed DirectX version, for diagnostics: a text such as "9.0c" and
// its packed form ((major * 256 + minor) * 256 + letter number).
#pragma once

#include <afx.h>

// S_OK when a version was found; E_FAIL when it cannot be told.
HRESULT AFXAPI GetDirectXVersion(CString& strVersion, DWORD& dwPacked);
