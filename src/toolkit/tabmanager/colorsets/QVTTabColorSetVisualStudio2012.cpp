#include "toolkit/tabmanager/colorsets/QVTTabColorSetVisualStudio2012.h"

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/tabmanager/manager/QVTTabManager.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"
#include "toolkit/tabmanager/paint/QVTTabResourceImages.h"

using namespace QVTTabColors;

namespace {

typedef CQVTTabColorSetVisualStudio2012 Set2012;
const COLORREF kKeyNone = Set2012::kKeyNone;

// The keys of "TabManager" with their defaults for Office 2013 and for
// Visual Studio 2015 (and Windows 10).
struct TabManagerKey
{
    LPCTSTR lpszKey;
    CQVTPaintManagerColor Set2012::*pMember;
    COLORREF clrOffice2013;
    COLORREF clrVisualStudio2015;
};

const TabManagerKey kTabManagerKeys[] = {
    {_T("Button"), &Set2012::m_clrButton, 0xFFFFFF, 0xF2EEEE},
    {_T("ButtonPressed"), &Set2012::m_clrButtonPressed, 0xB56D3E, 0x98610E},
    {_T("ButtonHighlighted"), &Set2012::m_clrButtonHighlighted, 0xF2E1D5, 0xEA971C},
    {_T("ButtonHighlightedClose"), &Set2012::m_clrButtonHighlightedClose, 0xE3BDA3, 0xEFB052},
    {_T("ButtonSelected"), &Set2012::m_clrButtonSelected, 0x9A572B, 0xCC7A00},
    {_T("ButtonSelectedPressed"), &Set2012::m_clrButtonSelectedPressed, 0x9A572B, 0x98610E},
    {_T("ButtonSelectedHighlighted"), &Set2012::m_clrButtonSelectedHighlighted, 0x9A572B, 0xEA971C},
    {_T("ButtonBorderHot"), &Set2012::m_clrButtonBorderHot, kKeyNone, kKeyNone},
    {_T("Text"), &Set2012::m_clrText, 0x777777, 0x1E1E1E},
    {_T("TextPressed"), &Set2012::m_clrTextPressed, 0xB56D3E, 0xFFFFFF},
    {_T("TextHighlighted"), &Set2012::m_clrTextHighlighted, 0xF2E1D5, 0xFFFFFF},
    {_T("TextHighlightedClose"), &Set2012::m_clrTextHighlightedClose, 0x8A4719, 0xFFFFFF},
    {_T("TextSelected"), &Set2012::m_clrTextSelected, 0x9A572B, 0xFFFFFF},
    {_T("TextSelectedPressed"), &Set2012::m_clrTextSelectedPressed, 0x9A572B, 0xFFFFFF},
    {_T("TextSelectedHighlighted"), &Set2012::m_clrTextSelectedHighlighted, 0x9A572B, 0x000000},
    {_T("ActiveFilesGlyph"), &Set2012::m_clrActiveFilesGlyph, 0x777777, 0x717171},
    {_T("ActiveFilesGlyphPressed"), &Set2012::m_clrActiveFilesGlyphPressed, 0x8A4719, 0xFFFFFF},
    {_T("ActiveFilesGlyphHighlighted"), &Set2012::m_clrActiveFilesGlyphHighlighted, 0xB56D3E, 0xCC7A00},
    {_T("ActiveFilesBack"), &Set2012::m_clrActiveFilesBack, 0xFFFFFF, 0xF2EEEE},
    {_T("ActiveFilesBackPressed"), &Set2012::m_clrActiveFilesBackPressed, 0xE3BDA3, 0xCC7A00},
    {_T("ActiveFilesBackHighlighted"), &Set2012::m_clrActiveFilesBackHighlighted, 0xF2E1D5, 0xFFFFFF},
    {_T("FrameBorder"), &Set2012::m_clrFrameBorder, 0xFFFFFF, 0xF2EEEE},
    {_T("NonActiveButton"), &Set2012::m_clrNonActiveButton, 0xFFFFFF, kKeyNone},
    {_T("NonActiveButtonHighlighted"), &Set2012::m_clrNonActiveButtonHighlighted, 0xC8C8C8, kKeyNone},
    {_T("NonActiveButtonSelected"), &Set2012::m_clrNonActiveButtonSelected, 0x969696, 0xDBCECC},
    {_T("NonActiveButtonSelectedPressed"), &Set2012::m_clrNonActiveButtonSelectedPressed, 0x969696, 0xC5B9B7},
    {_T("NonActiveButtonSelectedHighlighted"), &Set2012::m_clrNonActiveButtonSelectedHighlighted, 0x969696,
     0xEDE7E6},
    {_T("NonActiveText"), &Set2012::m_clrNonActiveText, 0x777777, kKeyNone},
    {_T("NonActiveTextHighlighted"), &Set2012::m_clrNonActiveTextHighlighted, 0xC8C8C8, kKeyNone},
    {_T("NonActiveTextSelected"), &Set2012::m_clrNonActiveTextSelected, 0x969696, 0x706D6D},
    {_T("NonActiveTextSelectedPressed"), &Set2012::m_clrNonActiveTextSelectedPressed, 0x969696, 0x2D2D2D},
    {_T("NonActiveTextSelectedHighlighted"), &Set2012::m_clrNonActiveTextSelectedHighlighted, 0x969696,
     0x717171},
};

// The two faces gradients take from keys of their own.
const COLORREF kAutoHideFace[2] = {0xFFFFFF, 0xF2EEEE};
const COLORREF kHeaderFace[2] = {0xE6E6E6, 0xF2EEEE};

}  // namespace

void CQVTTabColorSetVisualStudio2012::ApplyTabManagerKeys(BOOL bRead, Defaults defaults)
{
    const BOOL bOffice = defaults == defaultsOffice2013;
    auto value = [bRead](LPCTSTR lpszKey, COLORREF clrDefault) {
        return bRead ? QVTTabResourceColor(_T("TabManager"), lpszKey, clrDefault) : clrDefault;
    };
    for (const TabManagerKey& key : kTabManagerKeys)
        SetStandard(this->*key.pMember,
                    value(key.lpszKey, bOffice ? key.clrOffice2013 : key.clrVisualStudio2015));
    const COLORREF clrAutoHide = value(_T("AutoHideFace"), kAutoHideFace[bOffice ? 0 : 1]);
    SetStandard(m_grcAutoHideFace, clrAutoHide, clrAutoHide);
    const COLORREF clrHeader = value(_T("HeaderFace"), kHeaderFace[bOffice ? 0 : 1]);
    SetStandard(m_grcHeaderFace, clrHeader, clrHeader);
    SetStandard(m_clrSeparatorHighlight, m_clrFrameBorder);
}

void CQVTTabColorSetVisualStudio2012::ApplyTabClientKeys(COLORREF clrBack, COLORREF clrBorder,
                                                         BOOL bReadPaneFace, COLORREF clrPaneFace)
{
    SetStandard(m_clrTabClientBack, QVTTabResourceColor(_T("TabClient"), _T("Back"), clrBack));
    SetStandard(m_clrTabClientBorder, QVTTabResourceColor(_T("TabClient"), _T("Border"), clrBorder));
    const COLORREF clrPane = clrPaneFace == kKeyNone ? m_clrTabClientBack.GetValue() : clrPaneFace;
    SetStandard(m_clrPaneFace,
                bReadPaneFace ? QVTTabResourceColor(_T("TabManager"), _T("PaneFace"), clrPane) : clrPane);
}

void CQVTTabColorSetVisualStudio2012::RefreshMetrics()
{
    CQVTTabPaintManagerColorSet::RefreshMetrics();
    for (CQVTPaintManagerColor* pColor : {&m_clrNonActiveButtonPressed, &m_clrNonActiveTextPressed})
        SetStandard(*pColor, kKeyNone);
    ApplyTabManagerKeys(FALSE, defaultsVisualStudio2015);
    SetStandard(m_clrActiveFilesBackHighlighted, 0xF5DEC9);
    ApplyTabClientKeys(0xF2EEEE, 0xF2EEEE, TRUE, kKeyNone);
    SetStandard(m_grcSelectedFace, 0xCC7A00, 0xCC7A00);
    SetStandard(m_grcSelectedBorder, 0xF2EEEE, 0xF2EEEE);
}

void CQVTTabColorSetVisualStudio2012Dark::RefreshMetrics()
{
    CQVTTabColorSetVisualStudio2012::RefreshMetrics();
    SetStandard(m_clrButton, 0x302D2D);
    SetStandard(m_clrButtonPressed, 0x98610E);
    SetStandard(m_clrButtonHighlighted, 0xEA971C);
    SetStandard(m_clrButtonHighlightedClose, 0xEFB052);
    SetStandard(m_clrButtonSelected, 0xCC7A00);
    SetStandard(m_clrButtonSelectedPressed, 0x98610E);
    SetStandard(m_clrButtonSelectedHighlighted, 0xEFB052);
    SetStandard(m_clrText, 0xF1F1F1);
    for (CQVTPaintManagerColor* pColor :
         {&m_clrTextPressed, &m_clrTextHighlighted, &m_clrTextHighlightedClose, &m_clrTextSelected,
          &m_clrTextSelectedPressed, &m_clrTextSelectedHighlighted})
        SetStandard(*pColor, 0xFFFFFF);
    SetStandard(m_clrActiveFilesGlyph, 0xF1F1F1);
    SetStandard(m_clrActiveFilesGlyphPressed, 0xFFFFFF);
    SetStandard(m_clrActiveFilesGlyphHighlighted, 0xCC7A00);
    SetStandard(m_clrActiveFilesBack, 0x302D2D);
    SetStandard(m_clrActiveFilesBackPressed, 0xCC7A00);
    SetStandard(m_clrActiveFilesBackHighlighted, 0x403E3E);
    SetStandard(m_clrFrameBorder, 0x302D2D);
    SetStandard(m_clrSeparatorHighlight, 0x302D2D);
    SetStandard(m_clrNonActiveButtonSelected, 0x463F3F);
    SetStandard(m_clrNonActiveButtonSelectedPressed, 0x1C1B1B);
    SetStandard(m_clrNonActiveButtonSelectedHighlighted, 0x555555);
    SetStandard(m_clrNonActiveTextSelected, 0x706D6D);
    SetStandard(m_clrNonActiveTextSelectedPressed, 0xF1F1F1);
    SetStandard(m_clrNonActiveTextSelectedHighlighted, 0xF1F1F1);
    ApplyTabClientKeys(0x302D2D, 0x302D2D, FALSE, kKeyNone);
}

void CQVTTabColorSetVisualStudio2015::RefreshMetrics()
{
    CQVTTabColorSetVisualStudio2012::RefreshMetrics();
    ApplyTabManagerKeys(TRUE, defaultsVisualStudio2015);
    ApplyTabClientKeys(0x6A4935, 0x6A4935, TRUE, 0xE9DBD6);
}

void CQVTTabColorSetNativeWindows10::RefreshMetrics()
{
    CQVTTabColorSetVisualStudio2012::RefreshMetrics();
    ApplyTabManagerKeys(TRUE, defaultsVisualStudio2015);
    ApplyTabClientKeys(0xF2EEEE, 0xF2EEEE, TRUE, kKeyNone);
}

COLORREF CQVTTabColorSetVisualStudio2012::GetClientColor(CQVTTabManager* /*pTabManager*/)
{
    return m_clrPaneFace;
}

COLORREF CQVTTabColorSetVisualStudio2012::GetItemColor(CQVTTabManagerItem* pItem)
{
    if (pItem->IsSelected())
        return IsStripActive(pItem) ? m_clrButtonSelected : m_clrNonActiveButtonSelected;
    if (pItem->IsPressed())
        return m_clrButtonPressed;
    if (pItem->IsHighlighted())
        return m_clrButtonHighlighted;
    return m_clrButton;
}

void CQVTTabColorSetVisualStudio2012::GetCloseButtonColors(CQVTTabManagerNavigateButton* pButton,
                                                           COLORREF& clrBack, COLORREF& clrGlyph)
{
    const BOOL bPressed = pButton->IsPressed(), bHot = pButton->IsHighlighted();
    CQVTTabManagerItem* pItem = pButton->GetItem();
    if (pButton->IsItemSelected())
    {
        if (IsStripActive(pItem))
        {
            clrBack = bPressed ? m_clrButtonSelectedPressed
                      : bHot   ? m_clrButtonSelectedHighlighted
                               : m_clrButtonSelected;
            clrGlyph = bPressed ? m_clrTextSelectedPressed
                       : bHot   ? m_clrTextSelectedHighlighted
                                : m_clrTextSelected;
        }
        else
        {
            clrBack = bPressed ? m_clrNonActiveButtonSelectedPressed
                      : bHot   ? m_clrNonActiveButtonSelectedHighlighted
                               : m_clrNonActiveButtonSelected;
            clrGlyph = bPressed ? m_clrNonActiveTextSelectedPressed
                       : bHot   ? m_clrNonActiveTextSelectedHighlighted
                                : m_clrNonActiveTextSelected;
        }
        return;
    }
    if (bPressed || bHot)
    {
        clrBack = bPressed ? m_clrButtonPressed : m_clrButtonHighlightedClose;
        clrGlyph = bPressed ? m_clrTextPressed : m_clrTextHighlightedClose;
        return;
    }
    // On an item that is not selected the glyph shows only while it is hot.
    const BOOL bItemHot = pButton->IsItemHighlighted();
    clrBack = bItemHot ? m_clrButtonHighlighted : m_clrButton;
    clrGlyph = bItemHot ? m_clrTextHighlighted : m_clrButton;
}

void CQVTTabColorSetVisualStudio2012::FillNavigateButton(CDC* pDC, CQVTTabManagerNavigateButton* pButton,
                                                         CRect& rc)
{
    const BOOL bPressed = pButton->IsPressed(), bHot = pButton->IsHighlighted();
    COLORREF clrBack, clrGlyph;
    if (pButton->IsStripButton())
    {
        clrBack = bPressed ? m_clrActiveFilesBackPressed
                  : bHot   ? m_clrActiveFilesBackHighlighted
                           : m_clrActiveFilesBack;
        clrGlyph = bPressed ? m_clrActiveFilesGlyphPressed
                   : bHot   ? m_clrActiveFilesGlyphHighlighted
                            : m_clrActiveFilesGlyph;
    }
    else
        GetCloseButtonColors(pButton, clrBack, clrGlyph);
    if (clrBack != kKeyNone)
        pDC->FillSolidRect(rc, clrBack);
    pButton->DrawEntry(pDC, rc, clrGlyph, pButton->IsEnabled());
    if ((bHot || bPressed) && m_clrButtonBorderHot.GetValue() != kKeyNone)
        pDC->Draw3dRect(rc, m_clrButtonBorderHot, m_clrButtonBorderHot);
}
