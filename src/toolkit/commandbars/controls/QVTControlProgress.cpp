#include "toolkit/commandbars/controls/QVTControlProgress.h"

#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/elements/QVTProgressPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlProgress, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

CQVTControlProgress::CQVTControlProgress()
{
    m_nWidth = CQVTPaintManager::DpiX(100);
}

CQVTProgressPaintManager* CQVTControlProgress::GetProgressPaintManager()
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    return pPaintManager ? pPaintManager->GetProgressPaintManager() : nullptr;
}

CSize CQVTControlProgress::GetSize(CDC* /*pDC*/)
{
    int nHeight = m_nHeight;
    if (nHeight < 1)
    {
        CQVTProgressPaintManager* pProgress = GetProgressPaintManager();
        nHeight = pProgress ? pProgress->m_cyProgress : CQVTPaintManager::DpiY(16);
    }
    return CSize(m_nWidth, nHeight);
}

CSize CQVTControlProgress::Draw(CDC* pDC)
{
    CQVTProgressPaintManager* pProgress = GetProgressPaintManager();
    if (pProgress)
        pProgress->DrawProgress(pDC, this);
    return m_rcControl.Size();
}

void CQVTControlProgress::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControl::Copy(pSource, bRecursive);
    CQVTControlProgress* pProgress = DYNAMIC_DOWNCAST(CQVTControlProgress, pSource);
    if (!pProgress || pProgress == this)
        return;
    SetRange(pProgress->m_nLower, pProgress->m_nUpper);
    SetPos(pProgress->m_nPos);
}

CQVTControl* CQVTControlProgress::Clone(BOOL bRecursive)
{
    CQVTControlProgress* pClone = new CQVTControlProgress();
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTControlProgress::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControl::DoPropExchange(pPX);
    int nLower = m_nLower, nUpper = m_nUpper, nPos = m_nPos;
    PropExchangeInt(pPX, _T("Min"), nLower, 0);
    PropExchangeInt(pPX, _T("Max"), nUpper, 100);
    PropExchangeInt(pPX, _T("Pos"), nPos, 0);
    if (pPX->IsLoading())
    {
        SetRange(nLower, nUpper);
        SetPos(nPos);
    }
}
