// The scroll-bar looks of the base themes: the classic 3-D bar, the bar in
// the system's visual style (classic when styles are off), the flat and
// ultra-flat bars, and the Office 2000 and Office XP variants.
#pragma once

#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

class CQVTScrollBarThemeWindowsClassic : public CQVTScrollBarPaintManager
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeWindowsClassic)

public:
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

protected:
    void DrawClassicArrows(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts,
                           BOOL bVert);
    // The track in the owner's scroll-bar brush, the pressed page area
    // before the thumb inverted, and with bThumb the raised thumb.
    void DrawClassicTrack(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts,
                          BOOL bThumb);
};

class CQVTScrollBarThemeWindowsUx : public CQVTScrollBarThemeWindowsClassic
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeWindowsUx)

public:
    CQVTScrollBarThemeWindowsUx();
    ~CQVTScrollBarThemeWindowsUx() override;

    void RefreshMetrics() override;
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

    // The "SCROLLBAR" visual style is open.
    BOOL IsThemed() const { return m_pTheme && m_pTheme->GetThemeHandle() != nullptr; }

protected:
    void DrawUxArrows(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    void DrawUxTrack(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    void DrawUxThumb(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);

    CQVTWinThemeWrapper* m_pTheme;  // owned
};

class CQVTScrollBarThemeFlat : public CQVTScrollBarThemeWindowsUx
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeFlat)

public:
    void RefreshMetrics() override;
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowGlyphsVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawTrackVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbHorz(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawThumbVert(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawSizeBox(CDC* pDC, CQVTScrollBase* pScrollBar) override;

protected:
    void DrawFlatArrows(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts);
    void DrawFlatGlyphs(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
    void DrawFlatThumb(CDC* pDC, const QVT_SCROLLBAR_PARTS& parts);
};

class CQVTScrollBarThemeUltraFlat : public CQVTScrollBarThemeFlat
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeUltraFlat)

public:
    void RefreshMetrics() override;
};

class CQVTScrollBarThemeOffice2000 : public CQVTScrollBarThemeWindowsUx
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeOffice2000)

public:
    void DrawArrowButtonsHorz(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;
    void DrawArrowButtonsVert(CDC* pDC, CQVTScrollBase* pScrollBar,
                              const QVT_SCROLLBAR_PARTS& parts) override;

protected:
    void DrawOfficeArrows(CDC* pDC, CQVTScrollBase* pScrollBar, const QVT_SCROLLBAR_PARTS& parts, BOOL bVert);
};

class CQVTScrollBarThemeOfficeXP : public CQVTScrollBarThemeWindowsUx
{
    DECLARE_DYNAMIC(CQVTScrollBarThemeOfficeXP)

public:
    void RefreshMetrics() override;
};
