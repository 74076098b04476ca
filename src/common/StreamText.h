// Whole streams as text, and resources as streams.
#pragma once

#include <afx.h>
#include <objidl.h>

// The code page argument of ReadStreamText that looks at the byte-order mark.
constexpr UINT STREAM_TEXT_DETECT = static_cast<UINT>(-1);

// Reads the whole stream as text. Code page 0 or 1: the system's ANSI code
// page; 1200: UTF-16 as it stands; STREAM_TEXT_DETECT: a UTF-16 (FF FE, on
// an even number of bytes) or UTF-8 (EF BB BF) mark decides, else ANSI; any
// other: that code page. E_FAIL for a null stream or one that gives fewer
// bytes than it claims.
HRESULT AFXAPI ReadStreamText(IStream* pStream, UINT nCodePage, CString& strText);
HRESULT AFXAPI ReadStreamText(IStream* pStream, CString& strText);

// A copy of a resource's bytes as a stream that frees them when released.
// A null module searches the current resource module. E_FAIL when the
// resource or the memory is missing.
HRESULT AFXAPI LoadResourceStream(HMODULE hModule, LPCTSTR pszName, LPCTSTR pszType, IStream** ppStream);
