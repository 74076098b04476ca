// The drawing of status bars: the face, sunken pane borders and group
// separators, button panes, pane texts with icons, markup and alignment,
// switch panes and the size gripper; with the "STATUS" visual style when
// the paint manager asks for it.
#pragma once

#include <afxwin.h>
#include <uxtheme.h>

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

class CQVTPaintManager;
class CQVTStatusBar;
class CQVTStatusBarPane;
class CQVTStatusBarSwitchPane;

class CQVTStatusBarPaintManager : public CObject
{
    DECLARE_DYNAMIC(CQVTStatusBarPaintManager)

public:
    explicit CQVTStatusBarPaintManager(CQVTPaintManager* pPaintManager);

    virtual void FillStatusBar(CDC* pDC, CQVTStatusBar* pBar);
    virtual void DrawStatusBarPaneEntry(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane);
    virtual void DrawPaneButton(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane);
    // Without a DC only measures: the switches' total width.
    virtual int DrawSwitchPane(CDC* pDC, CRect rcItem, CQVTStatusBarSwitchPane* pPane);
    virtual void DrawPaneBorder(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane, BOOL bGripperPane);
    virtual void DrawPaneSeparator(CDC* pDC, CRect rcItem, CQVTStatusBarPane* pPane);
    virtual void DrawGripper(CDC* pDC, CRect rcClient);
    virtual void RefreshMetrics();
    virtual COLORREF GetPaneTextColor(CQVTStatusBarPane* pPane);

    CQVTPaintManager* m_pPaintManager;
    CQVTPaintManagerColor m_clrBackground;
    CQVTPaintManagerColor m_clrText;
    CQVTPaintManagerColor m_clrTextGray;
    CQVTPaintManagerColor m_clrGripperLite;
    CQVTPaintManagerColor m_clrGripperDark;

protected:
    // The paint manager's "STATUS" style handle when it draws status bars
    // with visual styles and the style is open; null otherwise.
    HTHEME GetStatusTheme() const;
};
