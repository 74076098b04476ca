// Skin objects of the standard controls: button, edit, list box, list view,
// tree view, scroll bar, tab control, combo box, date-time picker and month
// calendar.
#pragma once

#include <afxwin.h>

#include <commctrl.h>

#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"

class CQVTSkinObjectButton : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectButton)

public:
    CQVTSkinObjectButton();

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    BOOL OnWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL OnDefWindowProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL IsHandledAtDefaultProc(UINT message) override;
    virtual void DrawControl(CDC* pDC, CRect rc);

    int GetButtonType();
    BOOL IsButtonSkinned();
    void PaintButton(CDC* pDC);
    void SetMouseOver(BOOL bMouseOver);

    BYTE m_nTypeOverride = 255;
    BOOL m_bMouseOver = FALSE;
    BOOL m_bPushed = FALSE;

protected:
    void DrawContent(CDC* pDC, const CRect& rcClient, int nType, int nPart, int nState);
    LRESULT DefaultHidden();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonCreate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInvalidatingMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonEnable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnButtonUpdateUIState(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectEdit : public CQVTSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CQVTSkinObjectEdit)

public:
    CQVTSkinObjectEdit();
    UINT GetClientBrushMessage() override;
    void DrawFrame(CDC* pDC) override;
};

class CQVTSkinObjectListBox : public CQVTSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CQVTSkinObjectListBox)

public:
    CQVTSkinObjectListBox();
};

class CQVTSkinObjectListView : public CQVTSkinObjectComCtl32Control
{
    DECLARE_DYNCREATE(CQVTSkinObjectListView)

public:
    CQVTSkinObjectListView();
    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void ApplyColors(BOOL bSkin);

protected:
    afx_msg LRESULT OnListCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnListScroll(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectTreeView : public CQVTSkinObjectComCtl32Control
{
    DECLARE_DYNCREATE(CQVTSkinObjectTreeView)

public:
    CQVTSkinObjectTreeView();
    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void ApplyColors(BOOL bSkin, BOOL bLines);

protected:
    afx_msg LRESULT OnTreeCreate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectScrollBar : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectScrollBar)

public:
    CQVTSkinObjectScrollBar();

    void OnDraw(CDC* pDC);
    BOOL IsSizeBox();

    SCROLLBARPOSINFO m_spiCtl;

protected:
    afx_msg LRESULT OnScrollCreate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScrollButtonDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetScrollInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetScrollInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScrollEnable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnScrollSetFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectTab : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectTab)

public:
    CQVTSkinObjectTab();

    CRect GetTabRowArea();
    void DrawItems(CDC* pDC);
    void DrawItem(CDC* pDC, int nItem, int nCount, int nSelected, BOOL bFocusShown);

    int m_nHotItem = -1;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectComboBox : public CQVTSkinObjectControl
{
    DECLARE_DYNCREATE(CQVTSkinObjectComboBox)

public:
    CQVTSkinObjectComboBox();

    UINT GetClientBrushMessage() override;
    virtual void DrawControl(CDC* pDC);
    void SetMouseOver(BOOL bMouseOver);
    int GetDrawState();

    BOOL m_bMouseOver = FALSE;
    BOOL m_bSystemPainting = FALSE;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnComboCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInvalidatingMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectDateTime : public CQVTSkinObjectComboBox
{
    DECLARE_DYNCREATE(CQVTSkinObjectDateTime)

public:
    CQVTSkinObjectDateTime();

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void RefreshMetrics() override;
    UINT GetClientBrushMessage() override;
    void DrawFrame(CDC* pDC) override;
    void DrawControl(CDC* pDC) override;
    // The skin draws the drop button (by the common controls' version).
    BOOL IsButtonSkinned();

protected:
    afx_msg LRESULT OnDateCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDateButtonDown(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CQVTSkinObjectMonthCal : public CQVTSkinObjectFrame
{
    DECLARE_DYNCREATE(CQVTSkinObjectMonthCal)

public:
    CQVTSkinObjectMonthCal();
    void RefreshMetrics() override;
};
