#include "toolkit/themes/office/QVTVisualStudio6Theme.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"

IMPLEMENT_DYNAMIC(CQVTVisualStudio6Theme, CQVTCommandBarsOffice2000Theme)

CSize CQVTVisualStudio6Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const int nPosition = pBar->GetPosition();
    if (pBar->IsSmallGripper() || nPosition == qvtBarFloating)
        return CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(pDC, pBar, bDraw);
    CRect rcClient;
    if (pBar->GetSafeHwnd())
        pBar->GetClientRect(&rcClient);
    if (nPosition == qvtBarLeft || nPosition == qvtBarRight)
    {
        if (bDraw && pDC)
        {
            DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(3), rcClient.Width() - DpiX(3), DpiY(6)));
            DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(7), rcClient.Width() - DpiX(3), DpiY(10)));
        }
        return CSize(0, DpiY(10));
    }
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
    {
        if (bDraw && pDC)
        {
            DrawRaisedEdge(pDC, CRect(DpiX(3), DpiY(3), DpiX(6), rcClient.Height() - DpiY(3)));
            DrawRaisedEdge(pDC, CRect(DpiX(7), DpiY(3), DpiX(10), rcClient.Height() - DpiY(3)));
        }
        return CSize(DpiX(10), 0);
    }
    return CSize(0, 0);
}
