#include "toolkit/themes/resource/QVTProgressResourceTheme.h"

#include "toolkit/commandbars/controls/QVTProgressBase.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"
#include "toolkit/themes/resource/QVTResourceThemeColors.h"

IMPLEMENT_DYNAMIC(CQVTProgressResourceTheme, CQVTProgressPaintManager)

namespace {
using QVTResourceThemeColors::kKey;
const int kEndCap = 4;  // the chunk image's last pixels, drawn after the done part
}  // namespace

CQVTProgressResourceTheme::CQVTProgressResourceTheme(CQVTPaintManager* pPaintManager)
    : CQVTProgressPaintManager(pPaintManager)
{
}

void CQVTProgressResourceTheme::DrawProgress(CDC* pDC, CQVTProgressBase* pProgress)
{
    CQVTResourceTheme* pTheme = DYNAMIC_DOWNCAST(CQVTResourceTheme, m_pPaintManager);
    CQVTResourceImages* pImages = pTheme ? pTheme->GetResourceImages() : nullptr;
    CQVTResourceImage* pTrack =
        pImages && pImages->IsValid() ? pTheme->LoadImage(_T("PROGRESSTRACK")) : nullptr;
    CQVTResourceImage* pChunk = pTrack ? pTheme->LoadImage(_T("PROGRESSCHUNK")) : nullptr;
    if (!pDC || !pProgress || !pTrack || !pChunk)
    {
        CQVTProgressPaintManager::DrawProgress(pDC, pProgress);
        return;
    }
    CRect rc = pProgress->GetProgressRect();
    pTrack->DrawImageColorKeyed(pDC, rc, pTrack->GetSource(0, 1), CRect(2, 2, 2, 2), kKey);

    rc.DeflateRect(2, 2);
    if (rc.IsRectEmpty())
        return;
    int nLower = 0, nUpper = 0;
    pProgress->GetRange(nLower, nUpper);
    // Equal or reversed bounds and positions outside them stay inside the bar.
    const int nFill = GetFillWidth(rc.Width(), pProgress->GetPos(), nLower, nUpper);
    const CRect rcSource = pChunk->GetSource(0, 1);
    const int cxBody = std::max(0, rcSource.Width() - kEndCap);
    if (nFill > 0 && cxBody > 0)
    {
        CRect rcBodySource(rcSource.left, rcSource.top, rcSource.left + cxBody, rcSource.bottom);
        // A short fill shows the right end of the body.
        if (nFill < cxBody)
            rcBodySource.left = rcBodySource.right - nFill;
        pChunk->DrawImageColorKeyed(pDC, CRect(rc.left, rc.top, rc.left + nFill, rc.bottom), rcBodySource,
                                    CRect(2, 2, 2, 2), kKey);
    }
    const int nRoom = rc.right - (rc.left + nFill);
    if (nRoom > 1 && rcSource.Width() >= kEndCap)
    {
        const int cxCap = std::min(nRoom, kEndCap);
        const CRect rcCapSource(rcSource.right - kEndCap, rcSource.top, rcSource.right - kEndCap + cxCap,
                                rcSource.bottom);
        pChunk->DrawImageColorKeyed(pDC, CRect(rc.left + nFill, rc.top, rc.left + nFill + cxCap, rc.bottom),
                                    rcCapSource, CRect(0, 2, 0, 2), kKey);
    }
}
