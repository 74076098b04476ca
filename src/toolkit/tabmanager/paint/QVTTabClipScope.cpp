#include "toolkit/tabmanager/paint/QVTTabClipScope.h"

#include <vector>

CQVTTabClipScope::CQVTTabClipScope(CDC* pDC) : m_pDC(pDC)
{
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    if (hRegion && ::GetClipRgn(pDC->GetSafeHdc(), hRegion) == 1)
        m_hSaved = hRegion;
    else if (hRegion)
        ::DeleteObject(hRegion);
}

CQVTTabClipScope::~CQVTTabClipScope()
{
    ::SelectClipRgn(m_pDC->GetSafeHdc(), m_hSaved);
    if (m_hSaved)
        ::DeleteObject(m_hSaved);
}

void CQVTTabClipScope::Intersect(const CRect& rc)
{
    m_pDC->IntersectClipRect(rc);
}

void CQVTTabClipScope::Exclude(const CRect& rc)
{
    m_pDC->ExcludeClipRect(rc);
}

void CQVTTabClipScope::IntersectPolygon(const POINT* pts, int nCount)
{
    // Regions are in device units.
    std::vector<POINT> arrDevice(pts, pts + nCount);
    ::LPtoDP(m_pDC->GetSafeHdc(), arrDevice.data(), nCount);
    HRGN hPolygon = ::CreatePolygonRgn(arrDevice.data(), nCount, WINDING);
    if (!hPolygon)
        return;
    ::ExtSelectClipRgn(m_pDC->GetSafeHdc(), hPolygon, RGN_AND);
    ::DeleteObject(hPolygon);
}
