#include "toolkit/foundation/draw/QVTBufferDC.h"

BOOL CQVTDirectDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}

BOOL CQVTDirectDC::RectVisible(LPCRECT lpRect) const
{
    return ::RectVisible(m_hDC, lpRect);
}

BOOL CQVTDirectDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ::TextOutW(m_hDC, x, y, lpszString, nCount);
}

BOOL CQVTDirectDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                              LPINT lpDxWidths)
{
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

CSize CQVTDirectDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                                  LPINT lpnTabStopPositions, int nTabOrigin)
{
    LONG nExtent =
        ::TabbedTextOutW(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(nExtent), HIWORD(nExtent));
}

int CQVTDirectDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CQVTDirectDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat,
                             LPDRAWTEXTPARAMS lpDTParams)
{
    return ::DrawTextExW(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

BOOL CQVTDirectDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                              int nCount, int x, int y, int nWidth, int nHeight)
{
    return ::GrayStringW(m_hDC, pBrush ? static_cast<HBRUSH>(pBrush->GetSafeHandle()) : nullptr, lpfnOutput,
                         lpData, nCount, x, y, nWidth, nHeight);
}

int CQVTDirectDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData)
{
    return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

CQVTBufferDC::CQVTBufferDC(CPaintDC& paintDC) : m_hDestDC(paintDC.GetSafeHdc()), m_rect(paintDC.m_ps.rcPaint)
{
    Create(TRUE);
}

CQVTBufferDC::CQVTBufferDC(HDC hDestDC, const CRect& rect) : m_hDestDC(hDestDC), m_rect(rect)
{
    Create(FALSE);
}

void CQVTBufferDC::Create(BOOL bClip)
{
    HDC hMemDC = ::CreateCompatibleDC(m_hDestDC);
    if (!hMemDC)
        return;
    Attach(hMemDC);
    m_hBitmap = ::CreateCompatibleBitmap(m_hDestDC, m_rect.right, m_rect.bottom);
    if (!m_hBitmap)
        return;
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    if (bClip)
    {
        HRGN hRegion = ::CreateRectRgnIndirect(&m_rect);
        ::SelectClipRgn(m_hDC, hRegion);
        ::DeleteObject(hRegion);
    }
}

CQVTBufferDC::~CQVTBufferDC()
{
    if (!m_hBitmap)
        return;
    if (m_hDC && m_hDestDC)
        ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                 m_rect.top, SRCCOPY);
    if (m_hDC)
        ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteObject(m_hBitmap);
}

CQVTBufferDCEx::CQVTBufferDCEx(HDC hDestDC, const CRect& rect) : m_hDestDC(hDestDC), m_rect(rect)
{
    HDC hMemDC = ::CreateCompatibleDC(m_hDestDC);
    if (!hMemDC)
        return;
    Attach(hMemDC);
    m_hBitmap = ::CreateCompatibleBitmap(m_hDestDC, m_rect.Width(), m_rect.Height());
    if (!m_hBitmap)
        return;
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    ::SetViewportOrgEx(m_hDC, -m_rect.left, -m_rect.top, nullptr);
}

CQVTBufferDCEx::~CQVTBufferDCEx()
{
    if (!m_hBitmap)
        return;
    if (m_hDC)
    {
        ::SetViewportOrgEx(m_hDC, 0, 0, nullptr);
        if (m_hDestDC)
            ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, 0, 0,
                     SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
    }
    ::DeleteObject(m_hBitmap);
}

CQVTBitmapDC::~CQVTBitmapDC()
{
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}

void CQVTBitmapDC::SetBitmap(HBITMAP hBitmap)
{
    if (m_hOldBitmap)
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        m_hOldBitmap = nullptr;
    }
    m_hBitmap = hBitmap;
    if (hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

CQVTCompatibleDC::CQVTCompatibleDC(CDC* pDC, CBitmap* pBitmap)
{
    Init(pDC, pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : nullptr);
}

CQVTCompatibleDC::CQVTCompatibleDC(CDC* pDC, HBITMAP hBitmap)
{
    Init(pDC, hBitmap);
}

void CQVTCompatibleDC::Init(CDC* pDC, HBITMAP hBitmap)
{
    HDC hMemDC = ::CreateCompatibleDC(pDC ? pDC->GetSafeHdc() : nullptr);
    if (!hMemDC)
        return;
    Attach(hMemDC);
    m_hBitmap = hBitmap;
    if (hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

CQVTCompatibleDC::~CQVTCompatibleDC()
{
    if (m_hDC && m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
}
