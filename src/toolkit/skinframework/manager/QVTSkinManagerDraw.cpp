// The drawing routines' forms that paint with the loaded skin. Both hold
// the manager's lock shared for the whole drawing: a skin loading on
// another thread frees the metrics and the schema under its exclusive lock.
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

BOOL AFXAPI QVTSkinDrawEdge(HDC hDC, LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    CQVTSkinManager* pManager = QVTSkinManager();
    CQVTReadLock lock(pManager->GetLock());
    if (!pManager->IsSkinLoaded())
        return FALSE;
    return QVTSkinDrawEdge(pManager->GetMetrics(), hDC, lpRect, nEdge, nFlags);
}

BOOL AFXAPI QVTSkinDrawFrameControl(HDC hDC, LPRECT lpRect, UINT nType, UINT nState)
{
    CQVTSkinManager* pManager = QVTSkinManager();
    CQVTReadLock lock(pManager->GetLock());
    if (!pManager->IsSkinLoaded())
        return FALSE;
    CQVTSkinManagerSchema* pSchema = pManager->GetSchema();
    if (pSchema == nullptr)
        return FALSE;
    CQVTReadLock schemaLock(pSchema->GetLock());
    return QVTSkinDrawFrameControl(pSchema, hDC, lpRect, nType, nState);
}
