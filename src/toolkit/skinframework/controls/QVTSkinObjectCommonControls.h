// Skin objects of the common controls that draw their whole client from the
// skin: toolbar, progress bar, up-down, header, track bar, status bar,
// rebar and MDI client.
#pragma once

#include <afxwin.h>

#include <commctrl.h>

#include <map>

#include "toolkit/skinframework/objects/QVTSkinObject.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"

// What every skinned control shares: the part probe that decides between
// the skin's drawing and the system's, and the buffered paint.
// The frame skins the controls' borders and non-client scroll bars.
class CQVTSkinObjectControl : public CQVTSkinObjectFrame
{
    DECLARE_DYNAMIC(CQVTSkinObjectControl)

public:
    // TRUE when a skin is loaded, drawing is on and the skin class draws
    // nPart (a skin lacking it leaves the control to the system).
    BOOL IsPartSkinned(int nPart);
    // Default() followed by a repaint of the whole client without erase.
    LRESULT DefaultInvalidate();
    void InvalidateClient() { ::InvalidateRect(m_hWnd, nullptr, FALSE); }
    // The brush the parent answers to a control-colour message.
    HBRUSH GetParentBrush(UINT nMessage, HDC hDC);
    // Fills with the skin's brush when the class brush is a system colour,
    // else the default erase.
    LRESULT EraseWithClassBrush(HDC hDC);
    BOOL RequestLeaveNotice();
    int ScaleX(int nValue);
    int ScaleY(int nValue);
    // The client as the skin draws it; controls the system draws whole
    // have nothing of their own.
    virtual void OnDraw(CDC* pDC);

protected:
    // The shared bodies of the erase, paint and print handlers of controls
    // whose client the skin draws whole while it has nPart, and the system
    // otherwise. bBuffer: painting goes through a buffer of the client.
    BOOL EraseUnlessSkinned(CDC* pDC, int nPart);
    void PaintSkinned(int nPart, BOOL bBuffer);
    LRESULT PrintSkinned(WPARAM wParam, LPARAM lParam, int nPart);

    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectToolBar : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectToolBar)

public:
    CQVTSkinObjectToolBar();

    BOOL QueryDrawingEnabled() override;
    BOOL IsExplorerBand();
    void DrawToolBar(CDC* pDC);
    void DrawButtons(CDC* pDC);
    void DrawButton(CDC* pDC, const TBBUTTON& button, int nIndex, BOOL bAnsi);
    BOOL HasAlpha(HIMAGELIST hImageList);

    int m_nExplorerBand = -1;
    std::map<HIMAGELIST, DWORD> m_alphaCache;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectProgress : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectProgress)

public:
    CQVTSkinObjectProgress();

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void OnDraw(CDC* pDC) override;
    // Chunk and space sizes in pixels for a bar of that thickness.
    void GetChunkSizes(int nThickness, int* pnChunk, int* pnSpace);
    void AdvanceMarquee(int nSteps);

    int m_nMarqueeOffset = 0;
    int m_nMarqueePeriod = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMarquee(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectSpin : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectSpin)

public:
    CQVTSkinObjectSpin();

    void OnDraw(CDC* pDC) override;
    BOOL IsSpinEnabled();
    int HitTest(CPoint point);
    void SetHot(int nHot);

    int m_nHot = 0;
    int m_nPressed = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectHeader : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectHeader)

public:
    CQVTSkinObjectHeader();

    void OnDraw(CDC* pDC) override;
    void DrawItem(CDC* pDC, int nIndex, CRect rcItem, int nState);
    int HitTest(CPoint point, UINT* pnFlags);
    void SetHot(int nHot);

    BOOL m_bPressed = FALSE;
    int m_nHot = -1;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectTrackBar : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectTrackBar)

public:
    CQVTSkinObjectTrackBar();

    void OnDraw(CDC* pDC) override;
    void LayoutTrackBar();
    void DrawTicks(CDC* pDC);
    void DrawChannel(CDC* pDC);
    void DrawThumb(CDC* pDC);
    int ValueToPixel(int nValue);
    LRESULT NotifyCustomDraw(CDC* pDC, DWORD dwStage, DWORD_PTR dwItem, const CRect& rc);

    int m_nTickFrequency = 1;
    CRect m_rcChannel;
    CRect m_rcThumb;
    int m_nThumbLength = 0;
    DWORD m_dwLayoutStyle = 0;
    BOOL m_bHot = FALSE;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnSetTicFreq(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectStatusBar : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectStatusBar)

public:
    CQVTSkinObjectStatusBar();
    void RefreshMetrics() override;
    void OnDraw(CDC* pDC) override;

protected:
    // One part: its pane, icon and text (left, centred and right pieces
    // between tabs), or the owner's drawing.
    void DrawStatusPart(CDC* pDC, CQVTSkinManagerClass* pClass, int nPart, const CRect& rcPart,
                        BOOL bGripperPane);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectReBar : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectReBar)

public:
    CQVTSkinObjectReBar();
    void OnDraw(CDC* pDC) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectMDIClient : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectMDIClient)

public:
    CQVTSkinObjectMDIClient();

    void OnWindowAttached(LPCREATESTRUCT lpcs, BOOL bAtCreation) override;
    void OnWindowDetached(BOOL bAtDestruction) override;
    BOOL IsHandledAtDefaultProc(UINT message) override;

    BOOL m_bArranging = FALSE;
    CQVTSkinObjectFrame* m_pParentFrame = nullptr;  // a reference held

protected:
    afx_msg LRESULT OnArrange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClientScroll(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClientScrollBoth(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClientNcActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClientSize(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
