// An OLE object's verbs in a menu, through oledlg.
#include <afxole.h>

#include <oledlg.h>

BOOL AFXAPI AfxOleSetEditMenu(IOleObject* pObject, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin,
                              UINT nIDVerbMax, UINT nIDConvert)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return FALSE;
    // oledlg inserts where the placeholder item stood: the item goes first.
    if (iMenuItem < pMenu->GetMenuItemCount())
        pMenu->DeleteMenu(iMenuItem, MF_BYPOSITION);
    HMENU hPopup = nullptr;
    return ::OleUIAddVerbMenuW(pObject, nullptr, pMenu->GetSafeHmenu(), iMenuItem, nIDVerbMin, nIDVerbMax,
                               nIDConvert != 0, nIDConvert, &hPopup);
}
