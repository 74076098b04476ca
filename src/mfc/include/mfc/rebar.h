// A rebar of the common controls as a control bar: bands that hold child
// windows, along the top of a frame, sized by the rebar's own height.
#pragma once

#include <commctrl.h>

#include "mfc/controlbar.h"

#define AFX_IDW_REBAR 0xE804

class CBitmap;

// The rebar window itself, reached through its messages.
class CReBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CReBarCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetBandCount() const;
    BOOL GetBandInfo(UINT uBand, REBARBANDINFO* prbbi) const;
    BOOL SetBandInfo(UINT uBand, REBARBANDINFO* prbbi);
    BOOL InsertBand(UINT uIndex, REBARBANDINFO* prbbi);
    BOOL DeleteBand(UINT uBand);
    int IDToIndex(UINT uBandID) const;
    UINT GetBarHeight() const;
};

class CReBar : public CControlBar
{
    DECLARE_DYNAMIC(CReBar)

public:
    CReBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    CReBarCtrl& GetReBarCtrl() const
    {
        return *const_cast<CReBarCtrl*>(reinterpret_cast<const CReBarCtrl*>(this));
    }
    // A band holding the window, as wide and high as the window is.
    BOOL AddBar(CWnd* pBar, LPCTSTR pszText = nullptr, CBitmap* pbmp = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    BOOL AddBarBand(CWnd* pBar, REBARBANDINFO& rbbi);
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
