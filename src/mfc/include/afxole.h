// OLE support.
#pragma once
#include <afxdisp.h>

// Puts the object's verbs into the menu at position iMenuItem (replacing the
// item there), with command ids from nIDVerbMin to nIDVerbMax: one verb as a
// single item, several as a popup "<type> Object" of them, no object as a
// disabled "&Object" item; a convert item with nIDConvert when it is not 0.
// FALSE when the menu was left as it was.
BOOL AFXAPI AfxOleSetEditMenu(IOleObject* pObject, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin,
                              UINT nIDVerbMax = 0, UINT nIDConvert = 0);
