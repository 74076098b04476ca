// The ribbon drawn from the process-wide resource image set: every part is
// a named bitmap of the set, stretched with nine-grid margins, its frames
// stacked by state; colours and a few metrics come from the set's INI text,
// section "Ribbon". Without a loaded set nothing is drawn.
#pragma once

#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"

class CQVTRibbonThemeResource : public CQVTRibbonPaintManager
{
public:
    explicit CQVTRibbonThemeResource(CQVTPaintManager* pPaintManager);

    void RefreshMetrics() override;
    void DrawGroup(CDC* pDC, CQVTRibbonGroup* pGroup) override;
    void FillGroupsArea(CDC* pDC, CQVTRibbonTab* pTab, CRect rcGroups) override;
    CSize DrawControlGroupPopup(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void FillRibbonBar(CDC* pDC, CQVTRibbonBar* pRibbonBar) override;
    CSize DrawControlGroupOption(CDC* pDC, CQVTControl* pControl, BOOL bDraw) override;
    void DrawContextHeaders(CDC* pDC, CQVTRibbonBar* pRibbonBar,
                            const CQVTRibbonTabContextHeaders& headers) override;
    void DrawRibbonTab(CDC* pDC, CQVTRibbonTab* pTab) override;
    void DrawContextTabBackground(CDC* pDC, CQVTRibbonBar* pRibbonBar, CRect rc) override;
    void FillGroupPopupBackground(CDC* pDC, CQVTRibbonGroup* pGroup) override;
    void DrawRibbonFrameCaptionBar(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawRibbonFrameCaption(CDC* pDC, CQVTRibbonBar* pRibbonBar, BOOL bActive) override;
    void DrawRibbonQuickAccessButton(CDC* pDC, CQVTControl* pControl) override;
    void DrawRibbonQuickAccessMoreButton(CDC* pDC, CQVTControl* pControl) override;
    void DrawRibbonFrameSystemButton(CDC* pDC, CQVTControl* pControl, CRect rc) override;
    void DrawRibbonScrollButton(CDC* pDC, CQVTControl* pControl, BOOL bScrollLeft) override;
    void FillMorePopupToolBar(CDC* pDC, CQVTCommandBar* pPopupBar) override;
    void FillSystemPopupBar(CDC* pDC, CQVTCommandBar* pPopupBar) override;
    CSize DrawSystemPopupBarButton(CDC* pDC, CQVTControl* pControl) override;
    BOOL DrawRibbonGroupControlButton(CDC* pDC, CQVTControl* pControl) override;
    int GetRibbonCaptionHeight(const CQVTRibbonBar* pRibbonBar) const override;
    CSize GetOptionButtonSize() const override;
    // The quick-access area of the caption row.
    virtual void DrawRibbonFrameQuickAccess(CDC* pDC, CQVTRibbonBar* pRibbonBar);

protected:
    BOOL IsImagesLoaded() const;
    // Frame nFrame of nFrames of the named image into rc; FALSE when the
    // image is missing. Keyed: magenta is transparent.
    BOOL DrawImageFrame(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames, CRect rcMargins,
                        BOOL bKeyed, BOOL bMirrorInRtl = FALSE);
    // Keyed on glass: alpha-blended with magenta transparent.
    BOOL DrawImageFrameOnGlass(CDC* pDC, LPCTSTR lpszImage, CRect rc, int nFrame, int nFrames,
                               CRect rcMargins, BOOL bGlass, BOOL bMirrorInRtl = FALSE);
    int GetTabContextColor(const CQVTRibbonTab* pTab) const;
};
