// The installed DirectX version, for diagnostics: a text such as "9.0c" and
// its packed form ((major * 256 + minor) * 256 + letter number).
#pragma once

#include <afx.h>

#include <array>
#include <functional>

// The diagnostics provider first, the system files' versions when it fails:
// S_OK when a version was found (0.0 included); E_FAIL when neither can tell.
HRESULT AFXAPI GetDirectXVersion(CString& strVersion, DWORD& dwPacked);
// The platform's DirectX diagnostics provider; E_FAIL at any failing step or
// when a version part is missing.
HRESULT AFXAPI GetDirectXVersionViaDxDiag(DWORD& dwMajor, DWORD& dwMinor, TCHAR& chLetter);
// The versions of DirectX's system files, newest passing check last; always
// S_OK, 0.0 when nothing of DirectX is there.
HRESULT AFXAPI GetDirectXVersionViaFileVersions(DWORD& dwMajor, DWORD& dwMinor, TCHAR& chLetter);
// "%u.%u" with the lower-cased letter when it is not blank; the letter
// counts 1 for "a" to 26 for "z" in the packed form, 0 otherwise.
void AFXAPI FormatDirectXVersion(DWORD dwMajor, DWORD dwMinor, TCHAR chLetter, CString& strVersion,
                                 DWORD& dwPacked);

// Reads a system file's fixed version (major, minor, build, revision);
// FALSE when the file is missing or has none.
typedef std::function<BOOL(LPCTSTR lpszFile, std::array<WORD, 4>& version)> DirectXFileVersionQuery;
// Puts another reading of the system files' versions in place of the
// system's own (tests: under Wine its d3d9.dll always answers 9.0); an empty
// query gives the system's back.
void AFXAPI SetDirectXFileVersionQuery(DirectXFileVersionQuery query);
