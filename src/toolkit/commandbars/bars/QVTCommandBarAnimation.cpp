#include "toolkit/commandbars/bars/QVTCommandBarAnimation.h"

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"

namespace {
HBITMAP CreateSection(HDC hDC, const CSize& size, DWORD** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = size.cx;
    bmi.bmiHeader.biHeight = -size.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    *ppBits = static_cast<DWORD*>(pBits);
    return hBitmap;
}

// Copies from one DC into a bitmap through a memory DC.
void CopyToBitmap(HBITMAP hTarget, int xDest, int yDest, HDC hSource, const CRect& rcSource)
{
    HDC hMemDC = ::CreateCompatibleDC(hSource);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hTarget);
    ::BitBlt(hMemDC, xDest, yDest, rcSource.Width(), rcSource.Height(), hSource, rcSource.left, rcSource.top,
             SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    ::GdiFlush();
}
}  // namespace

CQVTCommandBarAnimation::CAnimateInfo::~CAnimateInfo()
{
    if (hNew)
        ::DeleteObject(hNew);
    if (hOld)
        ::DeleteObject(hOld);
}

CQVTCommandBarAnimation::CQVTCommandBarAnimation(CQVTCommandBar* pBar)
    : m_pBar(pBar), m_bDirty(FALSE), m_nTimer(0), m_bAnimationEnabled(FALSE), m_bAlwaysBuffer(FALSE)
{
}

CQVTCommandBarAnimation::~CQVTCommandBarAnimation()
{
    OnDestroyWindow();
}

BOOL CQVTCommandBarAnimation::IsAnimationEnabled() const
{
    return m_pBar->IsAnimationEnabled();
}

void CQVTCommandBarAnimation::DrawBar(CDC* pDC, const CRect& rcClip)
{
    const int nSaved = pDC->SaveDC();
    pDC->IntersectClipRect(rcClip);
    m_pBar->DrawCommandBar(pDC, rcClip);
    pDC->RestoreDC(nSaved);
}

BOOL CQVTCommandBarAnimation::EnsureCache(const CRect& rcClient)
{
    if (m_bmpCache.GetSafeHandle())
        return FALSE;
    CClientDC dc(m_pBar);
    m_bmpCache.CreateCompatibleBitmap(&dc, std::max(1, rcClient.Width()), std::max(1, rcClient.Height()));
    return TRUE;
}

void CQVTCommandBarAnimation::OnPaint(CPaintDC& dc)
{
    CRect rcClient;
    m_pBar->GetClientRect(&rcClient);
    if (m_bmpCache.GetSafeHandle())
    {
        BITMAP bm = {};
        m_bmpCache.GetBitmap(&bm);
        if (bm.bmWidth != std::max(1, rcClient.Width()) || bm.bmHeight != std::max(1, rcClient.Height()))
            m_bmpCache.DeleteObject();
    }
    const CRect rcPaint(dc.m_ps.rcPaint);

    if (!m_bAlwaysBuffer && !IsAnimationEnabled())
    {
        m_bmpCache.DeleteObject();
        {
            CQVTBufferDC buffer(dc);
            DrawBar(&buffer, rcPaint);
        }
        RemoveAnimations();
        m_bDirty = FALSE;
        return;
    }

    if (m_bDirty || !m_bmpCache.GetSafeHandle())
    {
        const BOOL bNew = EnsureCache(rcClient);
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        CBitmap* pOld = memDC.SelectObject(&m_bmpCache);
        DrawBar(&memDC, bNew ? rcClient : rcPaint);
        dc.BitBlt(rcPaint.left, rcPaint.top, rcPaint.Width(), rcPaint.Height(), &memDC, rcPaint.left,
                  rcPaint.top, SRCCOPY);
        memDC.SelectObject(pOld);
        RemoveAnimations();
    }
    else
    {
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        CBitmap* pOld = memDC.SelectObject(&m_bmpCache);
        dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOld);
    }
    m_bDirty = FALSE;
}

void CQVTCommandBarAnimation::RedrawRect(LPCRECT lpRect, BOOL bAnimate)
{
    if (!m_pBar->GetSafeHwnd())
        return;
    if (!lpRect)
    {
        m_bmpCache.DeleteObject();
        m_bDirty = TRUE;
        m_pBar->InvalidateRect(nullptr, FALSE);
        return;
    }
    CRect rcClient;
    m_pBar->GetClientRect(&rcClient);
    CRect rc;
    if (!rc.IntersectRect(lpRect, rcClient))
        return;
    if (!m_bmpCache.GetSafeHandle() || !IsAnimationEnabled())
    {
        m_bDirty = TRUE;
        m_pBar->InvalidateRect(rc, FALSE);
        return;
    }

    // The new image of the whole client area, drawn only inside rc.
    CClientDC dc(m_pBar);
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    CBitmap bmpNew;
    bmpNew.CreateCompatibleBitmap(&dc, std::max(1, rcClient.Width()), std::max(1, rcClient.Height()));
    CBitmap* pOldBitmap = memDC.SelectObject(&bmpNew);
    DrawBar(&memDC, rc);

    CDC cacheDC;
    cacheDC.CreateCompatibleDC(&dc);
    CBitmap* pOldCache = cacheDC.SelectObject(&m_bmpCache);

    if (bAnimate)
    {
        std::unique_ptr<CAnimateInfo> pInfo(new CAnimateInfo());
        pInfo->rc = rc;
        pInfo->hNew = CreateSection(dc.GetSafeHdc(), rc.Size(), &pInfo->pNewBits);
        pInfo->hOld = CreateSection(dc.GetSafeHdc(), rc.Size(), &pInfo->pOldBits);
        BOOL bKeep = pInfo->hNew && pInfo->hOld;
        if (bKeep)
        {
            CopyToBitmap(pInfo->hNew, 0, 0, memDC.GetSafeHdc(), rc);
            CopyToBitmap(pInfo->hOld, 0, 0, cacheDC.GetSafeHdc(), rc);
            bKeep = memcmp(pInfo->pNewBits, pInfo->pOldBits, sizeof(DWORD) * rc.Width() * rc.Height()) != 0;
        }
        cacheDC.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &memDC, rc.left, rc.top, SRCCOPY);
        if (bKeep)
        {
            for (size_t i = m_animations.size(); i-- > 0;)
                if (m_animations[i]->rc == rc)
                    m_animations.erase(m_animations.begin() + static_cast<std::ptrdiff_t>(i));
            m_animations.push_back(std::move(pInfo));
            if (!m_nTimer)
                m_nTimer = m_pBar->SetTimer(TIMER_ANIMATION, ANIMATION_INTERVAL, nullptr);
            DrawStep(m_animations.back().get());
        }
    }
    else
    {
        for (size_t i = m_animations.size(); i-- > 0;)
        {
            CAnimateInfo* pInfo = m_animations[i].get();
            CRect rcOverlap;
            if (pInfo->rc == rc)
                m_animations.erase(m_animations.begin() + static_cast<std::ptrdiff_t>(i));
            else if (rcOverlap.IntersectRect(pInfo->rc, rc))
                pInfo->arrExcluded.push_back(rc);
        }
        cacheDC.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &memDC, rc.left, rc.top, SRCCOPY);
        dc.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &memDC, rc.left, rc.top, SRCCOPY);
    }
    cacheDC.SelectObject(pOldCache);
    memDC.SelectObject(pOldBitmap);
    if (m_animations.empty())
        StopTimer();
}

void CQVTCommandBarAnimation::DrawStep(CAnimateInfo* pInfo)
{
    CClientDC dc(m_pBar);
    for (const CRect& rcExcluded : pInfo->arrExcluded)
        dc.ExcludeClipRect(rcExcluded);
    const CRect& rc = pInfo->rc;
    if (pInfo->nStep < LAST_STEP)
    {
        const DWORD w = static_cast<DWORD>(pInfo->nStep * 255 / LAST_STEP);
        DWORD* pFrameBits = nullptr;
        HBITMAP hFrame = CreateSection(dc.GetSafeHdc(), rc.Size(), &pFrameBits);
        if (hFrame)
        {
            const int nCount = rc.Width() * rc.Height();
            const BYTE* pNew = reinterpret_cast<const BYTE*>(pInfo->pNewBits);
            const BYTE* pOld = reinterpret_cast<const BYTE*>(pInfo->pOldBits);
            BYTE* pOut = reinterpret_cast<BYTE*>(pFrameBits);
            for (int i = 0; i < nCount * 4; ++i)
                pOut[i] = static_cast<BYTE>((pNew[i] * w + pOld[i] * (255 - w)) / 256);
            HDC hMemDC = ::CreateCompatibleDC(dc.GetSafeHdc());
            HGDIOBJ hOld = ::SelectObject(hMemDC, hFrame);
            ::BitBlt(dc.GetSafeHdc(), rc.left, rc.top, rc.Width(), rc.Height(), hMemDC, 0, 0, SRCCOPY);
            ::SelectObject(hMemDC, hOld);
            ::DeleteDC(hMemDC);
            ::DeleteObject(hFrame);
        }
    }
    else if (m_bmpCache.GetSafeHandle())
    {
        CDC cacheDC;
        cacheDC.CreateCompatibleDC(&dc);
        CBitmap* pOld = cacheDC.SelectObject(&m_bmpCache);
        dc.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &cacheDC, rc.left, rc.top, SRCCOPY);
        cacheDC.SelectObject(pOld);
    }
    ++pInfo->nStep;
}

void CQVTCommandBarAnimation::OnAnimate()
{
    for (size_t i = 0; i < m_animations.size();)
    {
        DrawStep(m_animations[i].get());
        if (m_animations[i]->nStep > LAST_STEP)
            m_animations.erase(m_animations.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    if (m_animations.empty())
        StopTimer();
}

void CQVTCommandBarAnimation::StopTimer()
{
    if (m_nTimer && m_pBar->GetSafeHwnd())
        m_pBar->KillTimer(TIMER_ANIMATION);
    m_nTimer = 0;
}

void CQVTCommandBarAnimation::RemoveAnimations()
{
    m_animations.clear();
    StopTimer();
}

void CQVTCommandBarAnimation::OnDestroyWindow()
{
    m_bmpCache.DeleteObject();
    RemoveAnimations();
}
