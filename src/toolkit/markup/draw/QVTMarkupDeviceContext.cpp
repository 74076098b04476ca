#include "toolkit/markup/draw/QVTMarkupDeviceContext.h"

#include "toolkit/markup/values/QVTMarkupFont.h"

IMPLEMENT_DYNAMIC(CQVTMarkupDeviceContext, CObject)

CQVTMarkupDeviceContext::CQVTMarkupDeviceContext(HDC hDC, HDC hAttribDC)
    : m_hDC(hDC),
      m_hAttribDC(hAttribDC != nullptr ? hAttribDC : hDC), m_szWindowExt{1, 1}, m_szViewportExt{1, 1},
      m_dOpacity(1.0), m_hOldFont(nullptr), m_nSmoothingMode(0)
{
    ::GetWindowExtEx(m_hDC, &m_szWindowExt);
    ::GetViewportExtEx(m_hDC, &m_szViewportExt);
}

CQVTMarkupDeviceContext::~CQVTMarkupDeviceContext()
{
    SetFont(nullptr);
}

void CQVTMarkupDeviceContext::OffsetViewport(POINT pt)
{
    // The point is in logical units; the viewport origin moves in device units.
    POINT ptDevice = pt;
    if (m_szWindowExt.cx != 0 && m_szWindowExt.cy != 0)
    {
        ptDevice.x = ::MulDiv(pt.x, m_szViewportExt.cx, m_szWindowExt.cx);
        ptDevice.y = ::MulDiv(pt.y, m_szViewportExt.cy, m_szWindowExt.cy);
    }
    ::OffsetViewportOrgEx(m_hDC, ptDevice.x, ptDevice.y, nullptr);
    if (m_hAttribDC != m_hDC)
        ::OffsetViewportOrgEx(m_hAttribDC, ptDevice.x, ptDevice.y, nullptr);
}

int CQVTMarkupDeviceContext::SetSmoothingMode(int, int)
{
    return m_nSmoothingMode;
}

void CQVTMarkupDeviceContext::GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize)
{
    SIZE size = GetTextExtent(lpszText, nLength);
    pSize[0] = static_cast<float>(size.cx);
    pSize[1] = static_cast<float>(size.cy);
}

SIZE CQVTMarkupDeviceContext::GetTextExtent(LPCWSTR lpszText, int nLength)
{
    SIZE size = {0, 0};
    if (lpszText != nullptr && nLength > 0)
        ::GetTextExtentPoint32W(m_hAttribDC, lpszText, nLength, &size);
    else
    {
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(m_hAttribDC, &tm);
        size.cy = tm.tmHeight;
    }
    return size;
}

void CQVTMarkupDeviceContext::SetFont(CQVTMarkupFont* pFont)
{
    if (pFont == nullptr)
    {
        if (m_hOldFont != nullptr)
        {
            ::SelectObject(m_hDC, m_hOldFont);
            if (m_hAttribDC != m_hDC)
                ::SelectObject(m_hAttribDC, m_hOldFont);
            m_hOldFont = nullptr;
        }
        return;
    }
    HFONT hFont = pFont->GetFontHandle();
    if (hFont == nullptr)
        return;
    HGDIOBJ hOld = ::SelectObject(m_hDC, hFont);
    if (m_hAttribDC != m_hDC)
        ::SelectObject(m_hAttribDC, hFont);
    if (m_hOldFont == nullptr)
        m_hOldFont = static_cast<HFONT>(hOld);
}

BOOL CQVTMarkupDeviceContext::GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent)
{
    if (pFont == nullptr || pFont->GetFontHandle() == nullptr)
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(m_hAttribDC, pFont->GetFontHandle());
    TEXTMETRICW tm = {};
    BOOL bResult = ::GetTextMetricsW(m_hAttribDC, &tm);
    ::SelectObject(m_hAttribDC, hOld);
    if (!bResult)
        return FALSE;
    if (pnAscent != nullptr)
        *pnAscent = tm.tmAscent;
    if (pnDescent != nullptr)
        *pnDescent = tm.tmDescent;
    return TRUE;
}

void CQVTMarkupDeviceContext::IntersectClipRect(const RECT& rc)
{
    ::IntersectClipRect(m_hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CQVTMarkupDeviceContext::GetClipBox(RECT* pRect)
{
    if (::GetClipBox(m_hDC, pRect) == ERROR)
        ::SetRectEmpty(pRect);
}

void* CQVTMarkupDeviceContext::SaveClipRegion()
{
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    if (hRegion == nullptr)
        return nullptr;
    // A DC without a clip region answers 0: restore that as "no region".
    if (::GetClipRgn(m_hDC, hRegion) != 1)
    {
        ::DeleteObject(hRegion);
        return reinterpret_cast<void*>(static_cast<UINT_PTR>(1));
    }
    return hRegion;
}

void CQVTMarkupDeviceContext::RestoreClipRegion(void* pSaved)
{
    if (pSaved == nullptr)
        return;
    if (pSaved == reinterpret_cast<void*>(static_cast<UINT_PTR>(1)))
    {
        ::SelectClipRgn(m_hDC, nullptr);
        return;
    }
    HRGN hRegion = static_cast<HRGN>(pSaved);
    ::SelectClipRgn(m_hDC, hRegion);
    ::DeleteObject(hRegion);
}

HDC CQVTMarkupDeviceContext::GetDC()
{
    return m_hDC;
}

void CQVTMarkupDeviceContext::ReleaseDC(HDC) {}
