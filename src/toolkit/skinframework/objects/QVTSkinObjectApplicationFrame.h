// The skin object of top-level windows and of windows of classes the class
// map does not know: the frame with a menu bar laid out, drawn and tracked
// in its non-client area, and the system menu shown as a skinned popup.
#pragma once

#include <afxwin.h>

#include <memory>

#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"

class CQVTSkinPopupMenu;

class CQVTSkinObjectApplicationFrame : public CQVTSkinObjectFrame
{
    DECLARE_DYNCREATE(CQVTSkinObjectApplicationFrame)

public:
    CQVTSkinObjectApplicationFrame();
    ~CQVTSkinObjectApplicationFrame() override;

    void OnMenuChanged() override;
    void DrawFrame(CDC* pDC) override;
    BOOL OnSysCommandHook(UINT nID, LPARAM lParam) override;
    BOOL OnNcMouseMoveHook(CPoint ptScreen) override;
    UINT HitTestFrame(CPoint ptScreen) override;
    void OnWindowDetached(BOOL bAtDestruction) override;

    // The bar in window coordinates; empty without one.
    CRect GetMenuBarRect() const { return m_rcMenuBar; }
    CQVTSkinPopupMenu* GetMenuBar() const { return m_pMenuBar.get(); }
    // The system menu as a skinned popup at a screen point, with its default
    // item; FALSE when it was not shown.
    BOOL ShowSystemMenu(CPoint ptScreen, UINT nDefaultItem);

protected:
    BOOL IsMenusSkinned();
    BOOL HasMenuBar();
    void DrawMenuBarNow();

    afx_msg LRESULT OnAppNcCalcSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CRect m_rcMenuBar;
    std::unique_ptr<CQVTSkinPopupMenu> m_pMenuBar;
    BOOL m_bInMenuLoop = FALSE;
};
