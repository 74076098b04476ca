#include "toolkit/tabmanager/appearances/QVTTabShape.h"
#include "toolkit/tabmanager/appearances/QVTTabThemeVisualStudio2012.h"

#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

int CQVTTabThemeVisualStudio2012::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2012;
}

int CQVTTabThemeOffice2013::GetDefaultColorSet() const
{
    return qvtTabColorOffice2013;
}

int CQVTTabThemeVisualStudio2015::GetDefaultColorSet() const
{
    return qvtTabColorVisualStudio2015;
}

int CQVTTabThemeNativeWindows10::GetDefaultColorSet() const
{
    return qvtTabColorNativeWindows10;
}

void CQVTTabThemeVisualStudio2012::DrawSingleButton(CDC* pDC, CQVTTabManagerItem* pItem)
{
    GetColorSet()->FillNavigateArea(pDC, pItem->GetRect(), pItem);
    m_pPaintManager->DrawSingleButtonIconAndText(pDC, pItem, pItem->GetRect(), TRUE);
}

void CQVTTabThemeVisualStudio2012::DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart)
{
    CQVTTabPaintManagerColorSet* pColorSet = GetColorSet();
    CRect rc(lpRect);
    switch (nPart)
    {
    case workspacePartBorder:
    {
        QVTTabDraw::FrameRect(pDC, rc, pColorSet->GetWorkspaceColor());
        CRect rcInner = rc;
        rcInner.DeflateRect(1, 1);
        QVTTabDraw::FrameRect(pDC, rcInner, pColorSet->GetWorkspaceColor());
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pColorSet->GetWorkspaceLineColor());
        break;
    }
    case workspacePartVSplitter:
        if (m_pPaintManager->m_bStaticFrame)
            lpRect->top -= 1;
        else
            ::InflateRect(lpRect, 2, 2);
        break;
    case workspacePartVSplitterFill:
        pDC->FillSolidRect(rc, pColorSet->GetHeaderColor());
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), pColorSet->GetFrameColor());
        break;
    case workspacePartHSplitterFill:
        pDC->FillSolidRect(rc, pColorSet->GetHeaderColor());
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, pColorSet->GetFrameColor());
        break;
    case workspacePartWorkspace:
        pDC->FillSolidRect(rc, pColorSet->GetWorkspaceColor());
        break;
    }
}
