// The flat sets from Visual Studio 2012 on: fixed light and dark colours,
// and the Visual Studio 2015 and Windows 10 sets that read the resource
// image set's "TabManager" section, each key with its default (Office 2013,
// which also draws its own way, has a file of its own). All of them colour
// strips that are not active apart. The variants stay with the base: each
// only sets other colours in RefreshMetrics.
#pragma once

#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"

class CQVTTabColorSetVisualStudio2012 : public CQVTTabPaintManagerColorSet
{
public:
    // A key whose colour is "none": nothing is drawn with it.
    static constexpr COLORREF kKeyNone = 0xFFFFFFFF;

    void RefreshMetrics() override;
    COLORREF GetClientColor(CQVTTabManager* pTabManager) override;
    COLORREF GetItemColor(CQVTTabManagerItem* pItem) override;
    void FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton, CRect& rc) override;

    CQVTPaintManagerColor m_clrNonActiveButton;
    CQVTPaintManagerColor m_clrNonActiveButtonPressed;
    CQVTPaintManagerColor m_clrNonActiveButtonHighlighted;
    CQVTPaintManagerColor m_clrNonActiveButtonSelected;
    CQVTPaintManagerColor m_clrNonActiveButtonSelectedPressed;
    CQVTPaintManagerColor m_clrNonActiveButtonSelectedHighlighted;
    CQVTPaintManagerColor m_clrNonActiveText;
    CQVTPaintManagerColor m_clrNonActiveTextPressed;
    CQVTPaintManagerColor m_clrNonActiveTextHighlighted;
    CQVTPaintManagerColor m_clrNonActiveTextSelected;
    CQVTPaintManagerColor m_clrNonActiveTextSelectedPressed;
    CQVTPaintManagerColor m_clrNonActiveTextSelectedHighlighted;

protected:
    enum Defaults
    {
        defaultsVisualStudio2015,
        defaultsOffice2013,
    };
    // Every key of the "TabManager" table, read from the resource image set
    // (bRead) or taken at its default.
    void ApplyTabManagerKeys(BOOL bRead, Defaults defaults);
    // "Back" and "Border" of "TabClient", then "PaneFace" defaulting to the back.
    void ApplyTabClientKeys(COLORREF clrBack, COLORREF clrBorder, BOOL bReadPaneFace, COLORREF clrPaneFace);
    // Background and glyph of an item's close button by its state.
    virtual void GetCloseButtonColors(CQVTTabManagerNavigateButton* pButton, COLORREF& clrBack,
                                      COLORREF& clrGlyph);
};

class CQVTTabColorSetVisualStudio2012Dark : public CQVTTabColorSetVisualStudio2012
{
public:
    void RefreshMetrics() override;
};

class CQVTTabColorSetVisualStudio2015 : public CQVTTabColorSetVisualStudio2012
{
public:
    void RefreshMetrics() override;
};

class CQVTTabColorSetNativeWindows10 : public CQVTTabColorSetVisualStudio2012
{
public:
    void RefreshMetrics() override;
};
