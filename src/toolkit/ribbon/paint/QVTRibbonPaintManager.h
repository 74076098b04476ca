// The drawing back end of the ribbon: every part of the ribbon bar that is
// not an ordinary command-bar control (caption strip, tab row, group area,
// groups, collapsed-group buttons, option buttons, quick-access buttons,
// context headers, scroll buttons, system button) is drawn by one of its
// operations. It owns the ribbon's metrics and the tab paint manager of the
// ribbon's tabs. One belongs to each command-bar paint manager, made on
// first demand; the concrete looks derive from it.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

class CQVTCommandBar;
class CQVTControl;
class CQVTPopupBar;
class CQVTResourceImage;
class CQVTResourceImages;
class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonTab;
class CQVTRibbonTabContextHeader;
class CQVTTabPaintManager;

typedef std::vector<CQVTRibbonTabContextHeader*> CQVTRibbonTabContextHeaders;

class CQVTRibbonPaintManager : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTRibbonPaintManager)

public:
    explicit CQVTRibbonPaintManager(CQVTPaintManager* pPaintManager);
    ~CQVTRibbonPaintManager() override;

    // The operations every look answers, in their binding order.
    virtual void RefreshMetrics();
    virtual void DrawGroup(CDC* pDC, CQVTRibbonGroup* pGroup) = 0;
    virtual CSize DrawObject(CDC* pDC, int nValue, CQVTControl* pControl);
    virtual void FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups) = 0;
    virtual CSize DrawControlGroupPopup(CDC* pDC, CQVTControl* pControl, BOOL bDraw) = 0;
    virtual void FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar) = 0;
    virtual CSize DrawControlGroupOption(CDC* pDC, CQVTControl* pControl, BOOL bDraw) = 0;
    virtual void DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                                    const CQVTRibbonTabContextHeaders& headers) = 0;
    virtual void DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab) = 0;
    virtual void DrawContextTabBackground(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc) = 0;
    virtual void FillGroupPopupBackground(CDC* pDC, CQVTRibbonGroup* pGroup) = 0;
    virtual void DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) = 0;
    virtual void DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) = 0;
    virtual void DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl) = 0;
    virtual void DrawRibbonQuickAccessMoreButton(CDC* pDC, CQVTControl* pControl) = 0;
    virtual void DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc) = 0;
    virtual void DrawRibbonScrollButton(CDC* pDC, CQVTControl* pControl, BOOL bScrollLeft) = 0;
    virtual void FillTabPopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar);
    virtual void DrawReserved() {}
    virtual void FillMorePopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar) = 0;
    virtual void FillSystemPopupBar(CDC* pDC, CQVTCommandBar* pPopupBar) = 0;
    virtual CSize DrawSystemPopupBarButton(CDC* pDC, CQVTControl* pControl) = 0;
    virtual BOOL DrawRibbonGroupControlButton(CDC* pDC, CQVTControl* pControl) = 0;
    virtual void FillGroupPopupToolBar(CDC* pDC, CQVTRibbonGroup* pGroup);
    virtual int GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const = 0;
    virtual CSize GetOptionButtonSize() const = 0;
    virtual CQVTTabPaintManager* CreateTabPaintManager();

    // The global resource image set and its images; null when missing.
    CQVTResourceImages* GetImages() const;
    CQVTResourceImage* LoadImage(LPCTSTR lpszImageName) const;

    // A third of a large collapsed-group button: at least 18.
    int GetRowHeight() const;
    BOOL IsControlOnGlass(CQVTControl* pControl) const;
    static BOOL AFX_CDECL IsRectOnGlassCaption(const CQVTRibbonBar* pRibbonBar, CRect rc);
    void DrawCaptionTextOnGlass(CDC* pDC, CRect rc, const CString& strText, CWnd* pFrame, BOOL bActive);
    void DrawFrameIcon(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc, HICON hIcon);

    CQVTPaintManager* GetPaintManager() const { return m_pPaintManager; }
    CQVTTabPaintManager* GetTabPaintManager() const { return m_pTabPaintManager; }
    CFont* GetGroupCaptionFont() { return m_fontGroupCaption.GetFont(); }
    int GetGroupCaptionHeight() const { return m_nGroupCaptionHeight; }
    int GetGroupSpacing() const { return m_nGroupSpacing; }
    int GetTabsHeight() const;
    // Whether hovering a group highlights it.
    virtual BOOL IsGroupHighlightEnabled() const { return TRUE; }
    // Whether a press on the tab row beside the tabs drags the window.
    virtual BOOL IsTabRowMovesWindow() const { return TRUE; }

public:
    BOOL m_bReserved;   // set at construction, read by nothing of the ribbon
    BOOL m_bFlatFrame;  // a ribbon on glass also paints the tab-row band image
    CQVTPaintManagerFont m_fontGroupCaption;
    COLORREF m_clrRecentFileListEdgeShadow;
    COLORREF m_clrRecentFileListEdgeHighLight;
    int m_nControlRowHeight;  // the owner's control height plus 4 px
    int m_nGroupSpacing;      // scaled horizontally
    int m_nGroupCaptionHeight;
    COLORREF m_clrRibbonFace;  // ribbon and tab popup bar background
    COLORREF m_clrRibbonBorder;
    COLORREF m_clrGroupCaptionText;
    COLORREF m_clrRibbonInactiveFace;
    COLORREF m_clrFileButtonText;
    COLORREF m_clrMinimizedFrameEdgeHighLight;
    COLORREF m_clrMinimizedFrameEdgeShadow;
    CRect m_rcFileButtonMargin;   // system button margins, scaled
    int m_nFileButtonImageCount;  // state frames of the system button image

protected:
    CQVTPaintManager* m_pPaintManager;        // the command-bar theme that made this; not owned
    CQVTTabPaintManager* m_pTabPaintManager;  // owned, one reference
    HICON m_hCachedIcon;                      // the frame icon last drawn on glass
    BOOL m_bCachedIconAlpha;                  // whether that icon carries real alpha
};

// The name of a context colour code in image names; empty for anything but
// 1..7.
LPCTSTR AFXAPI QVTRibbonContextColorName(int nColor);
