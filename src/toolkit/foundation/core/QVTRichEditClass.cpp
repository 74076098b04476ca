#include "toolkit/foundation/core/QVTRichEditClass.h"

#include <tchar.h>

namespace {
struct RichEditModule
{
    LPCWSTR lpszFileName;
    HMODULE hModule;
    BOOL bTried;
};

struct RichEditRow
{
    int nVersion;
    LPCWSTR lpszClassName;
    RichEditModule* pModule;
};

RichEditModule g_riched32 = {_T("riched32.dll"), nullptr, FALSE};
RichEditModule g_riched20 = {_T("riched20.dll"), nullptr, FALSE};
RichEditModule g_msftedit = {_T("msftedit.dll"), nullptr, FALSE};

const RichEditRow g_rows[QVT_RICHEDIT_ROWS] = {
    {10, _T("RichEdit10W"), &g_riched32}, {20, _T("RichEdit20W"), &g_riched20},
    {30, _T("RichEdit30W"), &g_riched20}, {31, _T("RichEdit31W"), &g_riched20},
    {40, _T("RichEdit40W"), &g_riched20}, {41, _T("RichEdit41W"), &g_msftedit},
    {50, _T("RichEdit50W"), &g_msftedit}, {60, _T("RichEdit60W"), &g_msftedit},
    {70, _T("RichEdit70W"), &g_msftedit},
};

std::mutex g_loadLock;

// Loaded at most once per process; a DLL that failed is not tried again.
HMODULE LoadRowModule(RichEditModule& module)
{
    std::lock_guard<std::mutex> lock(g_loadLock);
    if (!module.bTried)
    {
        module.hModule = ::LoadLibraryW(module.lpszFileName);
        module.bTried = TRUE;
    }
    return module.hModule;
}

BOOL TryRow(int nRow, int& nIndex, WNDCLASSW* pWndClass)
{
    const RichEditRow& row = g_rows[nRow];
    HMODULE hModule = LoadRowModule(*row.pModule);
    if (!hModule)
        return FALSE;
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    if (!::GetClassInfoW(nullptr, row.lpszClassName, &wc))
        return FALSE;
    if (pWndClass)
    {
        *pWndClass = wc;
        pWndClass->hInstance = hModule;
    }
    nIndex = nRow;
    return TRUE;
}
}  // namespace

BOOL AFXAPI FindRichEditClass(int nMode, int& nIndex, WNDCLASSW* pWndClass)
{
    switch (nMode)
    {
    case qvtRichEditThisRow:
        if (nIndex < 0 || nIndex >= QVT_RICHEDIT_ROWS)
            return FALSE;
        return TryRow(nIndex, nIndex, pWndClass);

    case qvtRichEditDownToRow:
    {
        if (nIndex < 0 || nIndex >= QVT_RICHEDIT_ROWS)
            return FALSE;
        const int nLowest = nIndex;
        for (int nRow = QVT_RICHEDIT_ROWS - 1; nRow >= nLowest; --nRow)
            if (TryRow(nRow, nIndex, pWndClass))
                return TRUE;
        return FALSE;
    }

    case qvtRichEditAnyRow:
        nIndex = 0;
        for (int nRow = QVT_RICHEDIT_ROWS - 1; nRow >= 0; --nRow)
            if (TryRow(nRow, nIndex, pWndClass))
                return TRUE;
        return FALSE;
    }
    return FALSE;
}
