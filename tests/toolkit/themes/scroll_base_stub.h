// A scroll base the drawing tests set up by hand: its rectangle, range,
// orientation, enabled state and the part shown hot or pressed.
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/controls/scrollbar/QVTScrollBase.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

class ScrollBaseStub : public CQVTScrollBase
{
public:
    explicit ScrollBaseStub(CQVTScrollBarPaintManager* pTheme) : m_pTheme(pTheme) {}

    void Set(const CRect& rc, BOOL bVert, int nMin, int nMax, UINT nPage, int nPos)
    {
        m_rc = rc;
        m_spi.fVert = bVert;
        m_si = {sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, nPage, nPos, 0};
        UpdateScrollBarInfo();
    }
    void SetSizeBox(const CRect& rc)
    {
        m_spi.fSizebox = TRUE;
        m_spi.rc = rc;
    }
    // The part shown pressed, as while the tracking loop runs over it.
    void Press(int nPart)
    {
        m_pSBTrack = std::make_unique<QVT_SCROLLBAR_TRACKINFO>();
        *m_pSBTrack = {};
        m_pSBTrack->fHitOld = TRUE;
        m_pSBTrack->bTrackThumb = nPart == qvtScrollHitThumb;
        m_spi.ht = nPart;
    }
    void Release() { m_pSBTrack.reset(); }

    CWnd* GetParentWindow() const override { return nullptr; }
    BOOL IsEnabled() const override { return m_bEnabled; }
    CQVTScrollBarPaintManager* GetScrollBarPaintManager() const override { return m_pTheme; }
    void GetScrollBarRect(CRect& rc) override { rc = m_rc; }
    void GetScrollInfo(SCROLLINFO* pSI) override { *pSI = m_si; }
    void RedrawScrollBar() override {}
    void DoScroll(int, int) override {}

    BOOL m_bEnabled = TRUE;

private:
    CQVTScrollBarPaintManager* m_pTheme;
    CRect m_rc;
    SCROLLINFO m_si = {};
};
