// How the backstage view draws its menu: the metrics of its entries, the
// background and each entry, and the key tips; the view owns one and swaps
// it when the command-bar theme changes.
#pragma once

#include <afxwin.h>

class CQVTControl;
class CQVTPaintManager;
class CQVTRibbonBackstageView;

class CQVTRibbonBackstagePaintManager
{
public:
    CQVTRibbonBackstagePaintManager() = default;
    virtual ~CQVTRibbonBackstagePaintManager() = default;
    CQVTRibbonBackstagePaintManager(const CQVTRibbonBackstagePaintManager&) = delete;
    CQVTRibbonBackstagePaintManager& operator=(const CQVTRibbonBackstagePaintManager&) = delete;

    // Nothing here: each theme draws these.
    virtual void FillBackstage(CDC* pDC, CQVTRibbonBackstageView* pView) {}
    virtual void DrawControl(CDC* pDC, CQVTRibbonBackstageView* pView, CQVTControl* pControl) {}
    virtual void DrawKeyTip(CDC* pDC, CQVTPaintManager* pPaintManager, CQVTControl* pControl);

    // At the screen's DPI.
    virtual int GetCommandHeight() const;
    virtual int GetTabHeight() const;
    virtual int GetMenuMargin() const;
    virtual int GetCommandGap() const;
    virtual int GetTabGap() const;
    virtual int GetTextIndent() const;
    virtual int GetImageGap() const;
    virtual int GetSeparatorHeight() const;

    // The key-tip box at the point: at least 16 by 15, the text centred in it.
    static void AFX_CDECL DrawKeyTipBox(CDC* pDC, CPoint ptTopLeft, const CString& strTip, CFont* pFont,
                                        COLORREF clrBack, BOOL bEnabled);

protected:
    // At 96 DPI.
    int m_nMenuMargin = 6;  // between the menu's edges and a command
    int m_nCommandGap = 2;
    int m_nCommandHeight = 26;
    int m_nTabHeight = 37;
    int m_nTabGap = 1;
    int m_nTextIndent = 15;  // from an entry's left edge to its image or text
    int m_nImageGap = 7;     // between an entry's image and its text
    int m_nSeparatorHeight = 0;
};
