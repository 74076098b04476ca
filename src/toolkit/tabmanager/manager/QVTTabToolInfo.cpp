#include "toolkit/tabmanager/manager/QVTTabToolInfo.h"

#include <cstdlib>

void AFXAPI QVTTabFillInToolInfo(TOOLINFO* pTI, CWnd* pWnd, const CRect& rc, INT_PTR nID, LPCTSTR lpszText,
                                 LPCTSTR /*lpszDescription*/)
{
    if (!pTI)
        return;
    pTI->hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    pTI->uId = static_cast<UINT_PTR>(nID);
    pTI->rect = rc;
    pTI->uFlags &= ~TTF_IDISHWND;
    const size_t nChars = static_cast<size_t>(lstrlenW(lpszText)) + 1;
    LPTSTR lpszCopy = static_cast<LPTSTR>(malloc(nChars * sizeof(TCHAR)));
    if (lpszCopy)
        memcpy(lpszCopy, lpszText, nChars * sizeof(TCHAR));
    pTI->lpszText = lpszCopy;
    // Filled when the toolkit's tooltip context exists: its extended record
    // carries the description (the item's caption) beside the text.
}
