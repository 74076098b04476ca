#include "toolkit/themes/office/QVTCommandBarsOffice2003Theme.h"

#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/themes/office/QVTMessageBarThemeOffice2003.h"
#include "toolkit/themes/office/QVTStatusBarThemeOffice2003.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsOffice2003Theme, CQVTCommandBarsOfficeXPTheme)

namespace {
// Glyphs of the toolkit's glyph font.
const WCHAR kGlyphMoreSmall = 83;
const WCHAR kGlyphMoreSmallVertical = 85;
const WCHAR kGlyphMore = 99;
const WCHAR kGlyphCustomizeVertical = 102;
const WCHAR kGlyphCustomize = 104;

// The right dock bar (aligned right, bordered left) has no room for the
// screen-wide gradient and is filled with its dark colour.
const DWORD kDarkDockBarStyle = 0x4000 | 0x0100;

BOOL IsKeyboardSelection(int nValue)
{
    return nValue == 2 || nValue == 3;
}

BOOL IsVerticalPosition(int nPosition)
{
    return nPosition == qvtBarLeft || nPosition == qvtBarRight;
}

// One colour set of a visual-style colour scheme.
struct SchemeSet
{
    COLORREF dockBar[2];
    COLORREF toolBar[2];
    float fToolBar;
    COLORREF toolbarShadow;
    COLORREF floatingGripper;
    COLORREF popuped[2];
    COLORREF expandButton[2];
    float fExpandButton;
    COLORREF expandedGripper[2];
    float fExpandedGripper;
    COLORREF popupedSecond[2];
    COLORREF shadowManager;
    COLORREF face[2];
    COLORREF tearOff;
    // Colours 53, 51, 52, 12, 56, 30, 31, 32 (also 37, 50), 33, 36, 38, 39,
    // 40, 41, 43, 47.
    COLORREF table[16];
};

#define C(rgb) RGB(((rgb) >> 16) & 0xFF, ((rgb) >> 8) & 0xFF, (rgb)&0xFF)

const SchemeSet kBlue = {{C(0x9EBEF5), C(0xC4DAFA)},
                         {C(0xDDECFE), C(0x81A9E2)},
                         0.75f,
                         C(0x3B619C),
                         C(0x2A66C9),
                         {C(0xE3EFFF), C(0x93B5E7)},
                         {C(0x75A6F1), C(0x003591)},
                         0.75f,
                         {C(0xCBDDF6), C(0x79A1DC)},
                         0.5f,
                         {C(0xE3EFFE), C(0x81A9E2)},
                         C(0x161E36),
                         {C(0xE9ECF2), C(0x617AAC)},
                         C(0xA9C7F0),
                         {C(0xCBE1FC), C(0xD8E7FC), C(0x9EBEF5), C(0x9099AE), C(0xBDD3F7), C(0xC4DBF9),
                          C(0xFFEEC2), C(0x000080), C(0xFE803E), C(0xFFC06F), C(0x274176), C(0x6A8CCB),
                          C(0x6D96D0), C(0xF6F6F6), C(0x002D96), C(0x000000)}};

const SchemeSet kOlive = {{C(0xD9D9A7), C(0xF2F1E4)},
                          {C(0xF4F7DE), C(0xB7C691)},
                          0.3f,
                          C(0x608058),
                          C(0x74865E),
                          {C(0xECF0D5), C(0xC2CE9F)},
                          {C(0xB0C28C), C(0x60776B)},
                          0.3f,
                          {C(0xE6E6D1), C(0xA4B478)},
                          0.3f,
                          {C(0xECF0D5), C(0xB8C693)},
                          C(0x1F2219),
                          {C(0xF3F4F0), C(0x839071)},
                          C(0xC5D49F),
                          {C(0xD8E3B6), C(0xE2E7BF), C(0xABC08A), C(0x97A07B), C(0xDEE3BD), C(0xD1DEAD),
                           C(0xFFEEC2), C(0x3F5D38), C(0xFE803E), C(0xFFC06F), C(0x515E33), C(0x608058),
                           C(0x9FAE7A), C(0xF4F4EE), C(0x758D5E), C(0x000000)}};

const SchemeSet kSilver = {{C(0xD7D7E5), C(0xF3F3F7)},
                           {C(0xF9F9FF), C(0x9C9BB7)},
                           0.75f,
                           C(0x7C7C94),
                           C(0x7A7999),
                           {C(0xE9E7F1), C(0xBAB9CD)},
                           {C(0xB3B2C8), C(0x767492)},
                           0.75f,
                           {C(0xD7D7E2), C(0x8583A2)},
                           0.5f,
                           {C(0xE8E8F1), C(0xB0AEC5)},
                           C(0x242029),
                           {C(0xF7F5F9), C(0x7A7999)},
                           C(0xC0C0D3),
                           {C(0xD6D3E7), C(0xDFDFEA), C(0xB1B0C3), C(0x9B9AB3), C(0xD6D7E7), C(0xDBDAE4),
                            C(0xFFEEC2), C(0x4B4B6F), C(0xFE803E), C(0xFFC06F), C(0x545475), C(0x6E6D8F),
                            C(0xA8A7BE), C(0xFDFAFF), C(0x7C7C94), C(0x000000)}};

#undef C

// The gradient glyph's shape: intensities by row, 255 outside. A rounded
// square whose face lightens towards its upper left.
BYTE GlyphIntensity(int x, int y)
{
    const int dx = x < 2 ? 2 - x : x > 13 ? x - 13 : 0;
    const int dy = y < 2 ? 2 - y : y > 13 ? y - 13 : 0;
    if (dx * dx + dy * dy > 4)
        return 255;
    return static_cast<BYTE>(std::min(254, (x + y) * 8));
}
}  // namespace

CQVTCommandBarsOffice2003Theme::CQVTCommandBarsOffice2003Theme()
    : m_bSchemeColors(FALSE), m_bNoDotHighlight(FALSE), m_bNoSeparatorHighlight(FALSE), m_nSeparatorIndent(4),
      m_hGlyphImageList(nullptr)
{
    SetMessageBarPaintManager(new CQVTMessageBarThemeOffice2003(this));
    SetStatusBarPaintManager(new CQVTStatusBarThemeOffice2003(this));
    m_bUseFadedIcons = FALSE;
    m_bIconsWithShadow = FALSE;
    m_bThemedStatusBar = TRUE;
    m_grcChecked.SetStandardValues(RGB(0xFF, 0xD5, 0x8C), RGB(0xFF, 0xAD, 0x55), 0.5f);
    m_grcPressed.SetStandardValues(RGB(0xFE, 0x8E, 0x4B), RGB(0xFF, 0xCF, 0x8B), 0.5f);
    m_grcSelected.SetStandardValues(RGB(0xFF, 0xF2, 0xC8), RGB(0xFF, 0xD4, 0x97), 0.5f);
}

CQVTCommandBarsOffice2003Theme::~CQVTCommandBarsOffice2003Theme()
{
    if (m_hGlyphImageList)
        ImageList_Destroy(m_hGlyphImageList);
}

BOOL CQVTCommandBarsOffice2003Theme::IsLowColorDisplay() const
{
    return CQVTColorManager::IsLowColorDisplay(nullptr);
}

BOOL CQVTCommandBarsOffice2003Theme::IsDockBarOnGlass(CQVTDockBar* pDockBar) const
{
    CQVTCommandBars* pCommandBars = pDockBar->GetCommandBars();
    return pDockBar->GetPosition() == qvtBarTop && pCommandBars && pCommandBars->IsFrameCompositionEnabled();
}

// Colours.

void CQVTCommandBarsOffice2003Theme::RefreshMetrics()
{
    CQVTCommandBarsOfficeXPTheme::RefreshMetrics();
    if (!m_themeStatusBar.GetThemeHandle())
        m_themeStatusBar.OpenThemeData(nullptr, _T("STATUS"));

    auto blend = [](COLORREF a, COLORREF b, int nWeight) {
        return CQVTColorManager::BlendColors(a, b, nWeight);
    };
    m_grcExpandedGripper.SetStandardValues(blend(GetColor(5), GetColor(42), 550), GetColor(42));
    m_grcToolBar.SetStandardValues(blend(GetColor(15), GetColor(5), 205), GetColor(15));
    m_grcDockBar.SetStandardValues(GetColor(15), blend(GetColor(15), GetColor(5), 205));
    m_clrToolbarShadow.SetStandardValue(GetColor(30));
    m_clrTearOff.SetStandardValue(GetColor(30));
    m_clrShadow.SetStandardValue(GetColor(16));
    m_grcPopuped.SetStandardValues(GetColor(41), blend(GetColor(5), GetColor(15), 550));
    m_grcPopupedSecond.SetStandardValues(GetColor(41), blend(GetColor(5), GetColor(15), 550));
    m_grcExpandButton.SetStandardValues(blend(GetColor(51), GetColor(16), 51), GetColor(16));
    m_arrColor[55].SetStandardValue(QVTColorManager()->GetColor(55));
    m_bSchemeColors = FALSE;

    if (IsLowColorDisplay())
    {
        for (CQVTPaintManagerColorGradient* pGradient :
             {&m_grcToolBar, &m_grcDockBar, &m_grcPopuped, &m_grcExpandButton})
            pGradient->SetStandardValue(GetColor(COLOR_3DFACE));
    }

    switch (GetCurrentSystemTheme())
    {
    case qvtSystemThemeBlue:
    case qvtSystemThemeRoyale:
    case qvtSystemThemeAero:
        ApplySchemeSet(qvtSystemThemeBlue);
        break;
    case qvtSystemThemeOlive:
        ApplySchemeSet(qvtSystemThemeOlive);
        break;
    case qvtSystemThemeSilver:
        ApplySchemeSet(qvtSystemThemeSilver);
        break;
    default:
        break;
    }

    if (m_bSchemeColors)
    {
        for (int nIndex : {35, 58, 60})
            m_arrColor[nIndex].SetStandardValue(RGB(0x8D, 0x8D, 0x8D));
        m_arrColor[61].SetStandardValue(m_clrShadow.GetStandardValue());
    }
    m_grcGripper.SetStandardValues(m_grcToolBar.clrLight.GetStandardValue(),
                                   m_grcToolBar.clrDark.GetStandardValue(), m_grcToolBar.fGradientFactor);
    CreateGradientGlyph();
}

void CQVTCommandBarsOffice2003Theme::ApplySchemeSet(int nScheme)
{
    const SchemeSet& set = nScheme == qvtSystemThemeOlive    ? kOlive
                           : nScheme == qvtSystemThemeSilver ? kSilver
                                                             : kBlue;
    m_grcDockBar.SetStandardValues(set.dockBar[0], set.dockBar[1], 0.5f);
    m_grcToolBar.SetStandardValues(set.toolBar[0], set.toolBar[1], set.fToolBar);
    m_clrToolbarShadow.SetStandardValue(set.toolbarShadow);
    m_clrShadow.SetStandardValue(set.floatingGripper);
    m_grcPopuped.SetStandardValues(set.popuped[0], set.popuped[1], 0.5f);
    m_grcExpandButton.SetStandardValues(set.expandButton[0], set.expandButton[1], set.fExpandButton);
    m_grcExpandedGripper.SetStandardValues(set.expandedGripper[0], set.expandedGripper[1],
                                           set.fExpandedGripper);
    m_grcPopupedSecond.SetStandardValues(set.popupedSecond[0], set.popupedSecond[1], 0.5f);
    if (m_pShadowManager)
        m_pShadowManager->SetShadowColor(set.shadowManager);
    m_grcFace.SetStandardValues(set.face[0], set.face[1], 0.5f);
    m_clrTearOff.SetStandardValue(set.tearOff);

    const int indexes[] = {53, 51, 52, 12, 56, 30, 31, 32, 33, 36, 38, 39, 40, 41, 43, 47};
    for (int i = 0; i < static_cast<int>(std::size(indexes)); ++i)
        m_arrColor[indexes[i]].SetStandardValue(set.table[i]);
    m_arrColor[37].SetStandardValue(set.table[7]);
    m_arrColor[50].SetStandardValue(set.table[7]);
    m_bSchemeColors = TRUE;
}

void CQVTCommandBarsOffice2003Theme::CreateGradientGlyph()
{
    if (m_hGlyphImageList)
        ImageList_Destroy(m_hGlyphImageList);
    m_hGlyphImageList = nullptr;

    const COLORREF clrMask = RGB(0, 255, 0);
    const COLORREF clrLight = m_grcPopupedSecond.clrLight;
    const COLORREF clrDark = m_grcPopupedSecond.clrDark;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return;
    DWORD* pPixels = static_cast<DWORD*>(pBits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const BYTE nValue = GlyphIntensity(x, y);
            COLORREF clr = clrMask;
            if (nValue < 255)
            {
                auto channel = [nValue](int dark, int light) { return dark + (light - dark) * nValue / 255; };
                clr = RGB(channel(GetRValue(clrDark), GetRValue(clrLight)),
                          channel(GetGValue(clrDark), GetGValue(clrLight)),
                          channel(GetBValue(clrDark), GetBValue(clrLight)));
            }
            pPixels[y * 16 + x] = (GetRValue(clr) << 16) | (GetGValue(clr) << 8) | GetBValue(clr);
        }
    m_hGlyphImageList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (m_hGlyphImageList)
        ImageList_AddMasked(m_hGlyphImageList, hBitmap, clrMask);
    ::DeleteObject(hBitmap);
}

// Helpers.

CRect AFX_CDECL CQVTCommandBarsOffice2003Theme::ScreenWideRect(CRect rc)
{
    rc.right = std::max<LONG>(rc.right, rc.left + ::GetSystemMetrics(SM_CXSCREEN) / 2);
    return rc;
}

CRect AFX_CDECL CQVTCommandBarsOffice2003Theme::ParentRectInBar(CQVTCommandBar* pBar)
{
    CWnd* pParent = pBar->GetParent();
    CRect rc;
    pParent->GetWindowRect(&rc);
    pBar->ScreenToClient(&rc);
    return rc;
}

void CQVTCommandBarsOffice2003Theme::FillGradient(CDC* pDC, const CRect& rc,
                                                  const CQVTPaintManagerColorGradient& grc, BOOL bHorizontal)
{
    // A colour a scheme left out is no fill.
    if (grc.clrLight.GetValue() == CQVTPaintManagerColor::noColor ||
        grc.clrDark.GetValue() == CQVTPaintManagerColor::noColor)
        return;
    QVTDrawHelpers()->GradientFillWithFactor(pDC, rc, grc, bHorizontal);
}

void CQVTCommandBarsOffice2003Theme::FrameGradient(CDC* pDC, const CRect& rc,
                                                   const CQVTPaintManagerColorGradient& grc, int nFrame,
                                                   BOOL bHorizontal)
{
    FillGradient(pDC, rc, grc, bHorizontal);
    const COLORREF clr = GetColor(nFrame);
    if (clr != CQVTPaintManagerColor::noColor)
        pDC->Draw3dRect(rc, clr, clr);
}

void CQVTCommandBarsOffice2003Theme::DrawDot(CDC* pDC, int x, int y, COLORREF clrLight)
{
    if (!m_bNoDotHighlight)
        pDC->FillSolidRect(x + 1, y + 1, 2, 2, clrLight);
    pDC->FillSolidRect(x, y, 2, 2, GetColor(38));
}

// Bar backgrounds.

void CQVTCommandBarsOffice2003Theme::FillParentBackground(CDC* pDC, CQVTCommandBar* pBar,
                                                          const CRect& rcParent)
{
    CWnd* pParent = pBar->GetParent();
    CQVTDockBar* pDockBar = DYNAMIC_DOWNCAST(CQVTDockBar, pParent);
    if (pDockBar && (pDockBar->GetBarStyle() & kDarkDockBarStyle))
        pDC->FillSolidRect(rcParent, m_grcDockBar.clrDark);
    else
        FillGradient(pDC, ScreenWideRect(rcParent), m_grcDockBar, TRUE);
}

void CQVTCommandBarsOffice2003Theme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarPopup)
    {
        CQVTCommandBarsOfficeXPTheme::FillCommandBarEntry(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    if (IsFlatBar(pBar))
    {
        if (nPosition != qvtBarFloating && pBar->GetParent())
        {
            CQVTDCSaveState state(pDC);
            pDC->IntersectClipRect(rc);
            FillGradient(pDC, ScreenWideRect(ParentRectInBar(pBar)), m_grcDockBar, TRUE);
            return;
        }
        FillGradient(pDC, ScreenWideRect(rc), m_grcDockBar, TRUE);
        if (nPosition == qvtBarFloating)
        {
            const COLORREF clrBorder = GetColor(61);
            pDC->Draw3dRect(rc, clrBorder, clrBorder);
            CRect rcInner = rc;
            rcInner.DeflateRect(1, 1);
            pDC->Draw3dRect(rcInner, clrBorder, clrBorder);
            for (const CPoint& pt :
                 {CPoint(2, 2), CPoint(rcInner.right - 2, 2), CPoint(2, rcInner.bottom - 2),
                  CPoint(rcInner.right - 2, rcInner.bottom - 2)})
                pDC->SetPixel(pt, clrBorder);
        }
        return;
    }
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
        FillDockedHorizontalBar(pDC, pBar, rc);
    else if (IsVerticalPosition(nPosition))
        FillDockedVerticalBar(pDC, pBar, rc);
    else if (nPosition == qvtBarFloating && HasGradientFloatingFace(pBar))
        FillFloatingGradientBar(pDC, pBar, rc);
    else
        CQVTCommandBarsOfficeXPTheme::FillCommandBarEntry(pDC, pBar);
}

namespace {
// The bottom (or right) edge of the row of the bar's first visible control.
int FirstRowEnd(CQVTCommandBar* pBar, BOOL bVertical, int nDefault)
{
    for (int i = 0; i < pBar->GetControlCount(); ++i)
    {
        CQVTControl* pControl = pBar->GetControl(i);
        if (pControl && pControl->IsVisible())
            return bVertical ? pControl->GetRowRect().right : pControl->GetRowRect().bottom;
    }
    return nDefault;
}

void ExcludeCornerPixels(CDC* pDC, const CRect& rc)
{
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
    pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
}
}  // namespace

void CQVTCommandBarsOffice2003Theme::FillDockedHorizontalBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    if (pBar->GetParent())
        FillParentBackground(pDC, pBar, ParentRectInBar(pBar));

    CQVTDCSaveState state(pDC);
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + DpiX(3), rc.bottom);
    ExcludeCornerPixels(pDC, CRect(rc.left + DpiX(3), rc.top + 1, rc.right, rc.bottom - 1));

    CRect rcToolBar(rc.left, rc.top + 1, rc.right, FirstRowEnd(pBar, FALSE, rc.bottom - 2) + 1);
    rcToolBar.bottom = std::min(rcToolBar.bottom, rc.bottom - 1);
    FillGradient(pDC, rcToolBar, m_grcToolBar, FALSE);
    // Further rows of a wrapped toolbar take the dark colour, not a new gradient.
    if (rcToolBar.bottom < rc.bottom - 2)
        pDC->FillSolidRect(rc.left, rcToolBar.bottom, rc.Width(), rc.bottom - 2 - rcToolBar.bottom,
                           m_grcToolBar.clrDark);
    pDC->FillSolidRect(rc.left + DpiX(5), rc.bottom - 1, rc.Width() - DpiX(7), 1, m_clrToolbarShadow);
}

void CQVTCommandBarsOffice2003Theme::FillDockedVerticalBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    if (pBar->GetParent())
        FillParentBackground(pDC, pBar, ParentRectInBar(pBar));

    CQVTDCSaveState state(pDC);
    pDC->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + DpiY(3));
    ExcludeCornerPixels(pDC, CRect(rc.left + 1, rc.top + DpiY(3), rc.right - 1, rc.bottom));

    CRect rcToolBar(rc.left + 1, rc.top, FirstRowEnd(pBar, TRUE, rc.right - 2) + 1, rc.bottom);
    rcToolBar.right = std::min(rcToolBar.right, rc.right - 1);
    FillGradient(pDC, rcToolBar, m_grcToolBar, TRUE);
    if (rcToolBar.right < rc.right - 2)
        pDC->FillSolidRect(rcToolBar.right, rc.top, rc.right - 2 - rcToolBar.right, rc.Height(),
                           m_grcToolBar.clrDark);
    pDC->FillSolidRect(rc.right - 1, rc.top + DpiY(5), 1, rc.Height() - DpiY(7), m_clrToolbarShadow);
}

void CQVTCommandBarsOffice2003Theme::FillFloatingGradientBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    const COLORREF clrBorder = GetColor(61);
    pDC->FillSolidRect(rc, GetColor(30));
    pDC->Draw3dRect(rc, clrBorder, clrBorder);
    CRect rcInner = rc;
    rcInner.DeflateRect(1, 1);
    pDC->Draw3dRect(rcInner, clrBorder, clrBorder);

    int nTitle = 0;
    {
        CQVTFontDC font(pDC, GetCommandBarFont(pBar));
        nTitle = std::max(15, static_cast<int>(pDC->GetTextExtent(_T(" "), 1).cy)) + 2;
    }
    const CRect rcRows(rc.left + 2, rc.top + 2 + nTitle, rc.right - 2, rc.bottom - 2);

    // Each row of controls gets its own gradient; a row ends where the next
    // visible control that starts a row begins, the last at the margin.
    std::vector<int> rowTops;
    for (int i = 0; i < pBar->GetControlCount(); ++i)
    {
        CQVTControl* pControl = pBar->GetControl(i);
        if (!pControl || !pControl->IsVisible())
            continue;
        if (rowTops.empty() || pControl->GetWrap())
            rowTops.push_back(std::max<int>(pControl->GetRowRect().top, rcRows.top));
    }
    if (rowTops.empty())
        rowTops.push_back(rcRows.top);
    rowTops.front() = rcRows.top;
    for (size_t i = 0; i < rowTops.size(); ++i)
    {
        const int nBottom = i + 1 < rowTops.size() ? rowTops[i + 1] : rcRows.bottom;
        if (nBottom > rowTops[i])
            FillGradient(pDC, CRect(rcRows.left, rowTops[i], rcRows.right, nBottom), m_grcToolBar, FALSE);
    }
    for (const CPoint& pt : {CPoint(2, 2), CPoint(rcInner.right - 2, 2), CPoint(2, rcInner.bottom - 2),
                             CPoint(rcInner.right - 2, rcInner.bottom - 2)})
        pDC->SetPixel(pt, clrBorder);
}

BOOL CQVTCommandBarsOffice2003Theme::HasGradientFloatingFace(CQVTCommandBar* pBar)
{
    return pBar && pBar->GetPosition() == qvtBarFloating && !IsFlatBar(pBar) &&
           (pBar->GetFlags() & 0x0F) != 0;
}

void CQVTCommandBarsOffice2003Theme::FillDockBar(CDC* pDC, CQVTDockBar* pDockBar)
{
    if (!pDockBar || !pDockBar->GetSafeHwnd())
        return;
    CRect rc;
    pDockBar->GetClientRect(&rc);
    if (IsDockBarOnGlass(pDockBar))
        pDC->FillSolidRect(rc, RGB(0, 0, 0));
    else if (pDockBar->GetBarStyle() & kDarkDockBarStyle)
        pDC->FillSolidRect(rc, m_grcDockBar.clrDark);
    else
        FillGradient(pDC, ScreenWideRect(rc), m_grcDockBar, TRUE);
}

void CQVTCommandBarsOffice2003Theme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    FillGradient(pDC, CRect(x, y, x + cx, y + cy), bTemporary ? m_grcExpandedGripper : m_grcGripper, TRUE);
}

// Control faces.

void CQVTCommandBarsOffice2003Theme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                                   int barPosition)
{
    const BOOL bInPopup = barType == qvtBarTypePopup || barPosition == qvtBarPopup;
    if (bPopuped && !bInPopup)
    {
        FrameGradient(pDC, rc, m_grcPopuped, 43, FALSE);
        return;
    }
    if (!m_bSchemeColors || bInPopup)
    {
        CQVTCommandBarsOfficeXPTheme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked,
                                                    bPopuped, barType, barPosition);
        return;
    }
    const BOOL bLeftToRight = IsVerticalPosition(barPosition);
    if (!bEnabled)
    {
        if (IsKeyboardSelection(bSelected))
            FrameGradient(pDC, rc, bChecked ? m_grcPressed : m_grcSelected, 50, bLeftToRight);
        else if (bChecked)
            FrameGradient(pDC, rc, m_grcChecked, 58, bLeftToRight);
        return;
    }
    if (!bSelected && !bPressed)
    {
        if (bChecked == 2)
        {
            pDC->FillSolidRect(rc, GetColor(51));
            pDC->Draw3dRect(rc, GetColor(50), GetColor(50));
        }
        else if (bChecked)
            FrameGradient(pDC, rc, m_grcChecked, 37, bLeftToRight);
        return;
    }
    if (IsKeyboardSelection(bPressed))
        FrameGradient(pDC, rc, m_grcPressed, 50, bLeftToRight);
    else if (bPressed && !bSelected)
        FrameGradient(pDC, rc, m_grcSelected, 32, bLeftToRight);
    else if (bSelected && !bPressed && !bChecked)
        FrameGradient(pDC, rc, m_grcSelected, 32, bLeftToRight);
    else
        FrameGradient(pDC, rc, m_grcPressed, 50, bLeftToRight);
}

// Grippers and separators.

CSize CQVTCommandBarsOffice2003Theme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsDialogBar())
        return DrawSmallGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    if (nPosition == qvtBarPopup || nPosition == qvtBarFloating)
        return CQVTCommandBarsOfficeXPTheme::DrawCommandBarGripper(pDC, pBar, bDraw);
    CRect rc;
    if (pBar->GetSafeHwnd())
        pBar->GetClientRect(&rc);
    const COLORREF clrLight = GetColor(COLOR_WINDOW);
    if (nPosition == qvtBarTop || nPosition == qvtBarBottom)
    {
        if (bDraw && pDC)
            for (int y = rc.top + DpiY(5); y < rc.Height() - DpiY(7); y += DpiY(4))
                DrawDot(pDC, rc.left + DpiX(6), y, clrLight);
        return CSize(DpiX(6), 0);
    }
    if (IsVerticalPosition(nPosition))
    {
        if (bDraw && pDC)
            for (int x = rc.left + DpiX(4); x < rc.Width() - DpiX(5); x += DpiX(4))
                DrawDot(pDC, x, rc.top + DpiY(6), clrLight);
        return CSize(0, DpiY(9));
    }
    return CSize(0, 0);
}

CSize CQVTCommandBarsOffice2003Theme::DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    const int nIconHeight = pBar ? pBar->GetIconSize().cy : 16;
    const CSize sz(DpiX(8), std::max(DpiY(25), nIconHeight + DpiY(6)));
    if (!bDraw || !pDC || !pBar || !pBar->GetSafeHwnd())
        return sz;
    CRect rc;
    pBar->GetClientRect(&rc);
    rc.DeflateRect(DpiX(3), DpiY(3));
    rc.bottom = rc.top + sz.cy;
    // The dialog bar is active while the focus is inside it.
    HWND hFocus = ::GetFocus();
    const BOOL bActive = hFocus && (hFocus == pBar->GetSafeHwnd() || ::IsChild(pBar->GetSafeHwnd(), hFocus));
    if (!bActive)
        FillGradient(pDC, rc, m_grcToolBar, FALSE);
    else if (m_bSchemeColors)
        FillGradient(pDC, rc, m_grcChecked, FALSE);
    else
        pDC->FillSolidRect(rc, GetColor(36));
    for (int y = rc.top + DpiY(4); y < rc.bottom - DpiY(5); y += DpiY(4))
    {
        pDC->FillSolidRect(DpiX(6), y + 1, 2, 2, GetColor(COLOR_WINDOW));
        pDC->FillSolidRect(DpiX(5), y, 2, 2, GetColor(38));
    }
    return sz;
}

CSize CQVTCommandBarsOffice2003Theme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                              CQVTControl* pControl, BOOL bDraw)
{
    const int nPosition = pBar->GetPosition();
    const BOOL bPopup = pBar->GetType() == qvtBarTypePopup || nPosition == qvtBarPopup;
    const BOOL bWrap = pControl && pControl->GetWrap();
    if (nPosition == qvtBarFloating && pBar->GetType() != qvtBarTypePopup && bWrap)
        return CSize(DpiX(6), 0);
    if (bPopup || !bDraw)
        return CQVTCommandBarsOfficeXPTheme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);

    const COLORREF clrDark = GetColor(39);
    const COLORREF clrLight = GetColor(COLOR_BTNHIGHLIGHT);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const int nIndentX = DpiX(m_nSeparatorIndent);
    const int nIndentY = DpiY(m_nSeparatorIndent);
    if (!IsVerticalPosition(nPosition))
    {
        if (!bWrap)
        {
            const int x = rcControl.left - DpiX(4);
            VerticalLine(pDC, x, rcRow.top + nIndentY, rcRow.bottom - nIndentY, clrDark);
            if (!m_bNoSeparatorHighlight)
                VerticalLine(pDC, x + 1, rcRow.top + nIndentY + 1, rcRow.bottom - nIndentY + 1, clrLight);
        }
        else
        {
            const int y = rcRow.top - DpiY(4);
            HorizontalLine(pDC, rcRow.left + nIndentX, y, rcRow.right, clrDark);
            HorizontalLine(pDC, rcRow.left + nIndentX + 1, y + 1, rcRow.right, clrLight);
        }
    }
    else if (!bWrap)
    {
        const int y = rcControl.top - DpiY(4);
        HorizontalLine(pDC, rcRow.left + nIndentX, y, rcRow.right - nIndentX, clrDark);
        if (!m_bNoSeparatorHighlight)
            HorizontalLine(pDC, rcRow.left + nIndentX + 1, y + 1, rcRow.right - nIndentX + 1, clrLight);
    }
    else
    {
        const int x = rcRow.right + DpiX(2);
        VerticalLine(pDC, x, rcRow.top + nIndentY, rcRow.bottom, clrDark);
        VerticalLine(pDC, x + 1, rcRow.top + nIndentY + 1, rcRow.bottom, clrLight);
    }
    return CSize(0, 0);
}

CRect CQVTCommandBarsOffice2003Theme::GetScaledMargins(CQVTCommandBar* pBar)
{
    if (pBar && (pBar->GetPosition() == qvtBarTop || pBar->GetPosition() == qvtBarBottom))
        return CRect(DpiX(4), DpiY(2), DpiX(2), DpiY(2));
    return CQVTCommandBarsOfficeXPTheme::GetScaledMargins(pBar);
}

CSize CQVTCommandBarsOffice2003Theme::DrawPopupBarStrip(CDC* pDC, CRect rc, BOOL bActive, BOOL bDraw)
{
    if (!bDraw || !pDC)
        return CSize(0, DpiY(9));
    CRect rcStrip(1, 1, rc.right + 1, rc.Height() + 1);
    pDC->FillSolidRect(rcStrip, GetColor(41));
    rcStrip.DeflateRect(1, 1);
    if (bActive)
        DrawBorderFill(pDC, rcStrip, 32, 31);
    else
        pDC->FillSolidRect(rcStrip, m_clrTearOff);
    const int nCenter = rcStrip.CenterPoint().x;
    const int nHalf = rcStrip.Width() < DpiX(84) ? std::max(0, rcStrip.Width() / 2 - DpiX(10)) : DpiX(32);
    for (int x = nCenter - nHalf; x < nCenter + nHalf; x += DpiX(4))
    {
        pDC->FillSolidRect(x + 1, DpiY(5), 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
        pDC->FillSolidRect(x, DpiY(4), 2, 2, GetColor(38));
    }
    return CSize(0, DpiY(9));
}

// The expand button and the "more" button.

void CQVTCommandBarsOffice2003Theme::DrawExpandGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr,
                                                     BOOL bVertical)
{
    CRect rc = pControl->GetRect();
    rc.DeflateRect(2, 2);
    if (!bVertical)
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphCustomize,
                                  CRect(rc.left, rc.bottom - rc.Width(), rc.right, rc.bottom), clr);
    else
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphCustomizeVertical,
                                  CRect(rc.right - rc.Height(), rc.top, rc.right, rc.bottom), clr);
}

void CQVTCommandBarsOffice2003Theme::DrawHiddenGlyph(CDC* pDC, CQVTControl* pControl, COLORREF clr,
                                                     BOOL bVertical)
{
    CRect rc = pControl->GetRect();
    rc.DeflateRect(2, 2);
    if (!bVertical)
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphMoreSmall, CRect(rc.left, rc.top, rc.right, rc.top + rc.Width()),
                                  clr);
    else
        QVTGlyphFont()->DrawGlyph(pDC, kGlyphMoreSmallVertical,
                                  CRect(rc.left, rc.top, rc.left + rc.Height(), rc.bottom), clr);
}

void CQVTCommandBarsOffice2003Theme::DrawExpandButton(CDC* pDC, CQVTControl* pControl, CQVTCommandBar* pBar,
                                                      BOOL bHiddenControls)
{
    const BOOL bVertical = pBar && IsVerticalPosition(pBar->GetPosition());
    const CRect rc = pControl->GetRect();
    const BOOL bPopuped = pControl->GetPopuped();
    const BOOL bHot = pControl->GetSelected() != 0;
    {
        // The outer corners are rounded off and the inner edge line left to the bar.
        CQVTDCSaveState state(pDC);
        pDC->IntersectClipRect(rc);
        if (!bVertical)
        {
            pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
            pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
            pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.bottom);
        }
        else
        {
            pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom);
            pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom);
            pDC->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + 1);
        }
        if (bPopuped)
        {
            if (m_bSchemeColors)
                FillGradient(pDC, rc, m_grcPressed, FALSE);
            else
                pDC->FillSolidRect(rc, GetColor(36));
        }
        else if (!bHot)
            FillGradient(pDC, rc, m_grcExpandButton, bVertical);
        else if (m_bSchemeColors)
            FillGradient(pDC, rc, m_grcSelected, FALSE);
        else
            pDC->FillSolidRect(rc, GetColor(31));
    }
    // The glyphs once one pixel right and down in the light colour, then in place.
    const COLORREF clrGlyph = GetColor(bHot && !bPopuped ? 45 : 46);
    for (int nPass = 0; nPass < 2; ++nPass)
    {
        const CPoint ptOld = pDC->OffsetViewportOrg(nPass == 0 ? 1 : 0, nPass == 0 ? 1 : 0);
        const COLORREF clr = nPass == 0 ? GetColor(COLOR_BTNHIGHLIGHT) : clrGlyph;
        DrawExpandGlyph(pDC, pControl, clr, bVertical);
        if (bHiddenControls)
            DrawHiddenGlyph(pDC, pControl, clr, bVertical);
        pDC->SetViewportOrg(ptOld);
    }
}

CSize CQVTCommandBarsOffice2003Theme::DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl,
                                                         CQVTCommandBar* pBar, BOOL bDraw, LPVOID lpParam)
{
    if (!pControl)
        return CSize(0, 0);
    if (nKind == qvtSpecialToolbarExpand)
    {
        const BOOL bVertical = pBar && IsVerticalPosition(pBar->GetPosition());
        if (bDraw)
            DrawExpandButton(pDC, pControl, pBar, lpParam && *static_cast<BOOL*>(lpParam));
        else if (lpParam)
        {
            const CSize szBar = *static_cast<CSize*>(lpParam);
            pControl->SetRect(!bVertical ? CRect(szBar.cx - DpiX(12), 1, szBar.cx, szBar.cy)
                                         : CRect(0, szBar.cy - DpiY(12), szBar.cx, szBar.cy));
        }
        return CSize(0, 0);
    }
    if (nKind == qvtSpecialMore)
    {
        if (bDraw)
        {
            DrawControlEntry(pDC, pControl);
            const CRect rc = pControl->GetRect();
            if (m_hGlyphImageList)
                ImageList_Draw(m_hGlyphImageList, 0, pDC->GetSafeHdc(), rc.CenterPoint().x - 8,
                               rc.CenterPoint().y - 8, ILD_TRANSPARENT);
            QVTGlyphFont()->DrawGlyph(pDC, kGlyphMore, rc, RGB(0, 0, 0));
        }
        return CSize(0, DpiY(18));
    }
    return CQVTCommandBarsOfficeXPTheme::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}
