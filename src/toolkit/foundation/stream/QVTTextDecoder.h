// Resource and file bytes in the usual encodings turned into UTF-16.
#pragma once

#include <afx.h>

// UTF-16LE after FF FE, UTF-8 after EF BB BF, UTF-16 when the bytes look like
// it, else the ANSI code page. The output is zero-terminated; *pnLength holds
// the buffer's size in characters on entry and the text's length on return.
// FALSE for a null argument, text that does not fit or bytes that give nothing.
BOOL AFXAPI DecodeTextToWide(const void* pBytes, DWORD nSize, LPWSTR pszWide, DWORD* pnLength);
