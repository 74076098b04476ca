#include "toolkit/themes/native/QVTCommandBarsNativeXPTheme.h"

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTDockBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

IMPLEMENT_DYNAMIC(CQVTCommandBarsNativeXPTheme, CQVTCommandBarsOffice2000Theme)

namespace {
// Parts and properties of the visual-style schema, by number.
enum
{
    nativeRebarBackground = 0,
    nativeRebarGripper = 1,
    nativeRebarGripperVert = 2,
    nativeRebarBand = 3,
    nativeToolbarBackground = 0,
    nativeToolbarButton = 1,
    nativeToolbarSplitButton = 3,
    nativeToolbarSplitDropDown = 4,
    nativeToolbarSeparator = 5,
    nativeToolbarSeparatorVert = 6,
    nativeComboDropDown = 1,
    nativeWindowSmallCaption = 2,
    nativeWindowSmallFrameLeft = 10,
    nativeWindowSmallFrameRight = 11,
    nativeWindowSmallFrameBottom = 12,
    nativeWindowMdiMinimize = 16,
    nativeWindowMdiClose = 20,
    nativeWindowMdiRestore = 22,
    nativeSpinUp = 1,
    nativeSpinDown = 2,
    nativeMenuPopupBackground = 9,
    nativeMenuPopupBorders = 10,
    nativeMenuPopupCheck = 11,
    nativeMenuPopupCheckBackground = 12,
    nativeMenuPopupGutter = 13,
    nativeMenuPopupItem = 14,
    nativeMenuPopupSeparator = 15,
    nativePropFlatMenus = 1001,
    nativePropBorderColor = 3801,
    nativePropTextColor = 3803,
    nativePropEdgeHighlight = 3805,
    nativePropEdgeShadow = 3806
};

// The dock-bar style bits of a dock bar filled plainly (the right one).
const DWORD kNativePlainDockBarStyle = 0x4000 | 0x0100;

// The commands of the MDI buttons on a menu bar.
const int kNativeMdiRestore = 9152;
const int kNativeMdiMinimize = 9153;

// A control's state for the combo box, spin and window classes.
int NativeControlState(BOOL bEnabled, BOOL bPressed, BOOL bHot)
{
    return !bEnabled ? 4 : bPressed ? 3 : bHot ? 2 : 1;
}

BOOL IsNativeVertical(int nPosition)
{
    return nPosition == qvtBarLeft || nPosition == qvtBarRight;
}
}  // namespace

CQVTCommandBarsNativeXPTheme::CQVTCommandBarsNativeXPTheme()
    : m_bThemedCheckBackground(TRUE), m_clrSeparatorDark(0), m_clrSeparatorLight(0), m_clrToolbarTextHot(0),
      m_clrToolbarTextPressed(0), m_bFlatMenu(TRUE)
{
    for (auto& pTheme : m_themes)
        pTheme = std::make_unique<CQVTWinThemeWrapper>(TRUE);
    m_bThemedStatusBar = TRUE;
    m_bThemedCheckBox = TRUE;
    m_bBoldCheckMarks = TRUE;
    m_nPopupBarText = COLOR_MENUTEXT;
}

CQVTCommandBarsNativeXPTheme::~CQVTCommandBarsNativeXPTheme() = default;

BOOL CQVTCommandBarsNativeXPTheme::IsThemeActive() const
{
    return m_themes[classRebar]->GetThemeHandle() && m_themes[classToolbar]->GetThemeHandle();
}

BOOL CQVTCommandBarsNativeXPTheme::IsMenuThemed() const
{
    return m_themes[classMenu]->GetThemeHandle() != nullptr;
}

BOOL CQVTCommandBarsNativeXPTheme::DrawPart(ThemeClass nClass, CDC* pDC, int nPart, int nState,
                                            const CRect& rc, const CRect* pClip)
{
    CQVTWinThemeWrapper& theme = *m_themes[nClass];
    if (!pDC || !theme.GetThemeHandle())
        return FALSE;
    return SUCCEEDED(theme.DrawThemeBackground(pDC->GetSafeHdc(), nPart, nState, rc, pClip));
}

BOOL CQVTCommandBarsNativeXPTheme::GetSystemFlatMenu() const
{
    BOOL bFlat = FALSE;
    if (!::SystemParametersInfoW(SPI_GETFLATMENU, 0, &bFlat, 0))
        return FALSE;
    return bFlat;
}

// Metrics.

void CQVTCommandBarsNativeXPTheme::RefreshMetrics()
{
    CQVTCommandBarsOffice2000Theme::RefreshMetrics();

    CWnd* pMainWnd = AfxGetMainWnd();
    const HWND hWnd = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    static const LPCWSTR kClasses[classCount] = {_T("REBAR"),  _T("TOOLBAR"), _T("COMBOBOX"),
                                                 _T("WINDOW"), _T("SPIN"),    _T("MENU")};
    for (int i = 0; i < classCount; ++i)
        m_themes[i]->OpenThemeData(hWnd, kClasses[i]);

    m_bFlatMenu = GetSystemFlatMenu();

    CQVTWinThemeWrapper& rebar = *m_themes[classRebar];
    CQVTWinThemeWrapper& toolbar = *m_themes[classToolbar];
    COLORREF clr = 0;
    m_clrSeparatorDark = rebar.GetThemeHandle() && SUCCEEDED(rebar.GetThemeColor(nativeRebarBand, 0,
                                                                                 nativePropEdgeShadow, &clr))
                             ? clr
                             : GetColor(COLOR_3DSHADOW);
    m_clrSeparatorLight =
        rebar.GetThemeHandle() &&
                SUCCEEDED(rebar.GetThemeColor(nativeRebarBand, 0, nativePropEdgeHighlight, &clr))
            ? clr
            : GetColor(COLOR_3DHIGHLIGHT);

    if (toolbar.GetThemeHandle() &&
        SUCCEEDED(toolbar.GetThemeColor(nativeToolbarBackground, 0, nativePropTextColor, &clr)))
        m_arrColor[COLOR_BTNTEXT].SetStandardValue(clr);
    auto toolbarText = [&](int nState) {
        COLORREF clrText = 0;
        if (toolbar.GetThemeHandle() &&
            SUCCEEDED(toolbar.GetThemeColor(nativeToolbarButton, nState, nativePropTextColor, &clrText)))
            return clrText;
        return GetColor(COLOR_BTNTEXT);
    };
    m_clrToolbarTextHot = toolbarText(2);
    m_clrToolbarTextPressed = toolbarText(3);

    // A theme that leaves menus raised highlights menu items in the
    // selection colour.
    if (!m_bFlatMenu && rebar.GetThemeHandle())
        m_bFlatMenu = rebar.GetThemeSysBool(nativePropFlatMenus);
    if (!m_bFlatMenu)
        m_arrColor[COLOR_MENUHILIGHT].SetStandardValue(GetColor(COLOR_HIGHLIGHT));
}

// Control faces.

int AFX_CDECL CQVTCommandBarsNativeXPTheme::GetToolbarButtonState(BOOL bSelected, BOOL bPressed,
                                                                  BOOL bEnabled, BOOL bChecked, BOOL bPopuped)
{
    if (!bEnabled)
        return bChecked ? 3 : 4;
    if (bPopuped)
        return 3;
    if (bChecked && !bPressed)
        return bSelected ? 6 : 5;
    if (!(bSelected && bPressed) && bPressed != 2 && bPressed != 3)
        return bSelected ? 2 : 1;
    return 3;
}

void CQVTCommandBarsNativeXPTheme::DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed,
                                                 BOOL bEnabled, BOOL bChecked, BOOL bPopuped, int barType,
                                                 int barPosition)
{
    if (!IsThemeActive())
    {
        CQVTCommandBarsOffice2000Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked,
                                                      bPopuped, barType, barPosition);
        return;
    }
    if (barType == qvtBarTypePopup && !bChecked)
    {
        if (!bSelected && !bPressed)
            return;
        if (!DrawPart(classMenu, pDC, nativeMenuPopupItem, 2, rc))
            DrawRectangleByColors(pDC, rc, GetColor(COLOR_MENUHILIGHT), GetColor(COLOR_HIGHLIGHT));
        return;
    }
    if (barType == qvtBarTypePopup && barPosition == qvtBarPopup && bChecked && m_bThemedCheckBackground &&
        DrawPart(classMenu, pDC, nativeMenuPopupCheckBackground, bEnabled ? 2 : 1, rc))
        return;
    // An indeterminate button shows pressed while disabled, else as unchecked.
    if (bChecked == 2 && bEnabled)
        bChecked = FALSE;
    const int nState = GetToolbarButtonState(bSelected, bPressed, bEnabled, bChecked, bPopuped);
    if (!DrawPart(classToolbar, pDC, nativeToolbarButton, nState, rc))
        CQVTCommandBarsOffice2000Theme::DrawRectangle(pDC, rc, bSelected, bPressed, bEnabled, bChecked,
                                                      bPopuped, barType, barPosition);
}

void CQVTCommandBarsNativeXPTheme::DrawSplitButtonFrame(CDC* pDC, CQVTControl* pControl, CRect rc)
{
    if (!IsThemeActive())
    {
        CQVTCommandBarsOffice2000Theme::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    const int nSelected = pControl->GetSelected();
    const BOOL bPopuped = pControl->GetPopuped();
    int nChecked = pControl->GetChecked();
    if (nChecked == 2 && bEnabled)
        nChecked = FALSE;
    CRect rcCommand(rc), rcArrow(rc);
    rcCommand.right = rc.right - GetSplitDropDownWidth();
    rcArrow.left = rcCommand.right;
    const BOOL bCommand = DrawPart(
        classToolbar, pDC, nativeToolbarSplitButton,
        GetToolbarButtonState(nSelected, pControl->GetPressed(), bEnabled, nChecked, bPopuped), rcCommand);
    // Both halves in the button's one state: a pressed or checked button is
    // pressed or checked across its arrow too.
    const BOOL bArrow = bCommand && DrawPart(classToolbar, pDC, nativeToolbarSplitDropDown,
                                             GetToolbarButtonState(nSelected, pControl->GetPressed(),
                                                                   bEnabled, nChecked, bPopuped),
                                             rcArrow);
    if (!bArrow)
    {
        CQVTCommandBarsOffice2000Theme::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    DrawDropDownGlyph(pDC, pControl, CPoint(rcArrow.CenterPoint().x, rc.CenterPoint().y), nSelected, bPopuped,
                      bEnabled, FALSE);
}

void CQVTCommandBarsNativeXPTheme::DrawControlEntry(CDC* pDC, CQVTControl* pControl)
{
    if (!IsFlatBarPopupControl(pControl))
    {
        CQVTCommandBarsOffice2000Theme::DrawControlEntry(pDC, pControl);
        return;
    }
    if (pControl->GetSelected() || pControl->GetPopuped() || pControl->GetPressed())
        pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_HIGHLIGHT));
}

COLORREF CQVTCommandBarsNativeXPTheme::GetControlTextColor(CQVTControl* pControl)
{
    if (IsFlatBarPopupControl(pControl) &&
        (pControl->GetSelected() || pControl->GetPopuped() || pControl->GetPressed()))
        return GetColor(COLOR_HIGHLIGHTTEXT);
    return CQVTCommandBarsOffice2000Theme::GetControlTextColor(pControl);
}

BOOL CQVTCommandBarsNativeXPTheme::IsFlatBarPopupControl(CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    return IsThemeActive() && pBar && pControl->GetType() == qvtControlPopup &&
           pBar->GetType() == qvtBarTypeNormal && pBar->GetPosition() != qvtBarPopup && IsFlatBar(pBar);
}

COLORREF CQVTCommandBarsNativeXPTheme::GetRectangleTextColor(BOOL bSelected, BOOL bPressed, BOOL bEnabled,
                                                             BOOL bChecked, BOOL bPopuped, int barType,
                                                             int barPosition)
{
    if (barType == qvtBarTypePopup && barPosition == qvtBarPopup && IsMenuThemed())
        return GetColor(bEnabled ? m_nPopupBarText : COLOR_GRAYTEXT);
    if (IsThemeActive() && barType != qvtBarTypePopup)
    {
        if (!bEnabled)
            return GetColor(COLOR_GRAYTEXT);
        if (!bSelected)
            return GetColor(COLOR_BTNTEXT);
        return bPressed ? m_clrToolbarTextPressed : m_clrToolbarTextHot;
    }
    return CQVTCommandBarsOffice2000Theme::GetRectangleTextColor(bSelected, bPressed, bEnabled, bChecked,
                                                                 bPopuped, barType, barPosition);
}

void CQVTCommandBarsNativeXPTheme::AdjustExcludeRect(CRect& rc, CQVTControl* pControl, BOOL bVertical)
{
    CQVTCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    if (IsThemeActive() && pBar && pBar->GetType() == qvtBarTypePopup &&
        pControl->GetType() != qvtControlComboBox)
    {
        rc.InflateRect(-DpiX(3), DpiY(3));
        return;
    }
    CQVTCommandBarsOffice2000Theme::AdjustExcludeRect(rc, pControl, bVertical);
}

int CQVTCommandBarsNativeXPTheme::GetPopupBarGutterWidth(CQVTCommandBar* pBar)
{
    const int nWidth = CQVTCommandBarsOffice2000Theme::GetPopupBarGutterWidth(pBar);
    return IsMenuThemed() ? nWidth + DpiX(3) : nWidth;
}

// Marks and the icon column.

void CQVTCommandBarsNativeXPTheme::DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    if (!DrawPart(classMenu, pDC, nativeMenuPopupCheck, bEnabled ? 1 : 2, rc))
        CQVTCommandBarsOffice2000Theme::DrawCheckMark(pDC, rc, clr, bEnabled);
}

void CQVTCommandBarsNativeXPTheme::DrawRadioMark(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled)
{
    if (!DrawPart(classMenu, pDC, nativeMenuPopupCheck, bEnabled ? 3 : 4, rc))
        CQVTCommandBarsOffice2000Theme::DrawRadioMark(pDC, rc, clr, bEnabled);
}

void CQVTCommandBarsNativeXPTheme::FillIconColumn(CDC* pDC, int x, int y, int cx, int cy, BOOL bTemporary)
{
    if (!DrawPart(classMenu, pDC, nativeMenuPopupGutter, 0, CRect(x, y, x + cx, y + cy)))
        CQVTCommandBarsOffice2000Theme::FillIconColumn(pDC, x, y, cx, cy, bTemporary);
}

// Bars.

BOOL CQVTCommandBarsNativeXPTheme::FillPopupBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    if (IsMenuThemed() && DrawPart(classMenu, pDC, nativeMenuPopupBorders, 0, rc))
    {
        CRect rcInner(rc);
        rcInner.DeflateRect(DpiX(3), DpiY(3));
        DrawPart(classMenu, pDC, nativeMenuPopupBackground, 0, rcInner);
        return TRUE;
    }
    if (m_bFlatMenu)
    {
        DrawRectangleByColors(pDC, rc, GetColor(COLOR_3DSHADOW), GetColor(COLOR_MENU));
        return TRUE;
    }
    pDC->FillSolidRect(rc, GetColor(COLOR_MENU));
    Draw3dRect(pDC, rc, COLOR_3DFACE, COLOR_3DDKSHADOW);
    CRect rcInner(rc);
    rcInner.DeflateRect(1, 1);
    DrawRaisedEdge(pDC, rcInner);
    return TRUE;
}

void CQVTCommandBarsNativeXPTheme::FillDockedBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    CWnd* pParent = pBar->GetParent();
    BOOL bBackground = FALSE;
    if (pBar->GetPosition() == qvtBarTop && pParent && pParent->GetSafeHwnd())
    {
        // The rebar's background lines up across the bars of the dock bar.
        CRect rcParent;
        pParent->GetClientRect(&rcParent);
        pParent->ClientToScreen(&rcParent);
        pBar->ScreenToClient(&rcParent);
        bBackground = DrawPart(classRebar, pDC, nativeRebarBackground, 0, rcParent, &rc);
    }
    if (!bBackground)
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    DrawPart(classRebar, pDC, nativeRebarBand, 0, rc);
    if (!IsFlatBar(pBar))
        pDC->Draw3dRect(rc, m_clrSeparatorLight, m_clrSeparatorDark);
}

void CQVTCommandBarsNativeXPTheme::FillFloatingBar(CDC* pDC, CQVTCommandBar* pBar, const CRect& rc)
{
    if (pBar->GetType() == qvtBarTypePopup)
        pDC->FillSolidRect(rc, GetColor(COLOR_MENU));
    else
    {
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        DrawPart(classToolbar, pDC, nativeToolbarBackground, 0, rc);
    }
    const int cx = DpiX(3), cy = DpiY(3);
    DrawPart(classWindow, pDC, nativeWindowSmallFrameLeft, 1,
             CRect(rc.left, rc.top, rc.left + cx, rc.bottom));
    DrawPart(classWindow, pDC, nativeWindowSmallFrameRight, 1,
             CRect(rc.right - cx, rc.top, rc.right, rc.bottom));
    DrawPart(classWindow, pDC, nativeWindowSmallFrameBottom, 1,
             CRect(rc.left, rc.bottom - cy, rc.right, rc.bottom));
}

void CQVTCommandBarsNativeXPTheme::FillCommandBarEntry(CDC* pDC, CQVTCommandBar* pBar)
{
    if (!IsThemeActive())
    {
        CQVTCommandBarsOffice2000Theme::FillCommandBarEntry(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    switch (pBar->GetPosition())
    {
    case qvtBarPopup:
        FillPopupBar(pDC, pBar, rc);
        break;
    case qvtBarFloating:
        FillFloatingBar(pDC, pBar, rc);
        break;
    default:
        FillDockedBar(pDC, pBar, rc);
        break;
    }
}

void CQVTCommandBarsNativeXPTheme::FillDockBar(CDC* pDC, CQVTDockBar* pDockBar)
{
    if (!pDockBar || !pDockBar->GetSafeHwnd())
        return;
    CRect rc;
    pDockBar->GetClientRect(&rc);
    CWnd* pParent = pDockBar->GetParent();
    // The dock bars show the one rebar background of the frame; the one
    // styled as the Office themes' dark dock bar (the right one) is plain.
    if (pParent && pParent->GetSafeHwnd() && (pDockBar->GetBarStyle() & kNativePlainDockBarStyle) == 0)
    {
        CRect rcParent;
        pParent->GetClientRect(&rcParent);
        pParent->ClientToScreen(&rcParent);
        pDockBar->ScreenToClient(&rcParent);
        if (DrawPart(classRebar, pDC, nativeRebarBackground, 0, rcParent, &rc))
            return;
    }
    CQVTCommandBarsOffice2000Theme::FillDockBar(pDC, pDockBar);
}

CSize CQVTCommandBarsNativeXPTheme::DrawCommandBarGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (!IsThemeActive() || pBar->IsSmallGripper())
        return CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(pDC, pBar, bDraw);
    const int nPosition = pBar->GetPosition();
    CRect rcClient;
    if (pBar->GetSafeHwnd())
        pBar->GetClientRect(&rcClient);
    if (nPosition == qvtBarPopup)
    {
        if (bDraw && IsMenuThemed() && pBar->GetType() == qvtBarTypePopup)
            DrawPart(
                classMenu, pDC, nativeMenuPopupGutter, 0,
                CRect(DpiX(3), DpiY(3), DpiX(3) + GetPopupBarGutterWidth(pBar), rcClient.bottom - DpiY(3)));
        return CSize(0, 0);
    }
    if (nPosition == qvtBarFloating)
    {
        const CSize sz = CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(pDC, pBar, FALSE);
        if (!bDraw || !pDC)
            return sz;
        const CRect rcTitle(DpiX(3), DpiY(3), rcClient.right - DpiX(3), DpiY(3) + sz.cy);
        if (!DrawPart(classWindow, pDC, nativeWindowSmallCaption, 1, rcTitle))
            return CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(pDC, pBar, bDraw);
        CQVTFontDC font(pDC, GetSmallCaptionFont(), GetColor(COLOR_CAPTIONTEXT));
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        CRect rcText(rcTitle.left + DpiX(2), rcTitle.top, rcTitle.right - 2 * rcTitle.Height(),
                     rcTitle.bottom);
        pDC->DrawText(pBar->GetTitle(), rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        pDC->SetBkMode(nOldMode);
        return sz;
    }
    const BOOL bVertical = IsNativeVertical(nPosition);
    if (bDraw && pDC)
    {
        const CRect rcGripper = bVertical ? CRect(DpiX(2), DpiY(2), rcClient.right - DpiX(2), DpiY(8))
                                          : CRect(DpiX(2), DpiY(2), DpiX(8), rcClient.bottom - DpiY(2));
        if (!DrawPart(classRebar, pDC, bVertical ? nativeRebarGripperVert : nativeRebarGripper, 1, rcGripper))
            return CQVTCommandBarsOffice2000Theme::DrawCommandBarGripper(pDC, pBar, bDraw);
    }
    return bVertical ? CSize(0, DpiY(8)) : CSize(DpiX(8), 0);
}

CSize CQVTCommandBarsNativeXPTheme::DrawSmallGripper(CDC* pDC, CQVTCommandBar* pBar, BOOL bDraw)
{
    if (!IsThemeActive())
        return CQVTCommandBarsOffice2000Theme::DrawSmallGripper(pDC, pBar, bDraw);
    const CSize sz(DpiX(8), std::max(DpiY(22), GetTextHeight() + DpiY(4)));
    if (bDraw && pDC &&
        !DrawPart(classRebar, pDC, nativeRebarGripper, 1, CRect(DpiX(2), DpiY(3), DpiX(8), sz.cy)))
        CQVTCommandBarsOffice2000Theme::DrawSmallGripper(pDC, pBar, bDraw);
    return sz;
}

CSize CQVTCommandBarsNativeXPTheme::DrawCommandBarSeparator(CDC* pDC, CQVTCommandBar* pBar,
                                                            CQVTControl* pControl, BOOL bDraw)
{
    if (!bDraw || !pControl || !IsThemeActive())
        return CQVTCommandBarsOffice2000Theme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    const CRect rcControl = pControl->GetRect();
    const CRect rcRow = pControl->GetRowRect();
    const BOOL bWrap = pControl->GetWrap();
    BOOL bDrawn = FALSE;
    if (pBar->GetType() == qvtBarTypePopup)
    {
        if (!bWrap)
            bDrawn = DrawPart(classMenu, pDC, nativeMenuPopupSeparator, 0,
                              CRect(rcControl.left + GetPopupBarGutterWidth(pBar), rcControl.top - DpiY(6),
                                    rcControl.right, rcControl.top - DpiY(1)));
    }
    else
    {
        // Separators run across the bar: a horizontal bar's part stands upright.
        const BOOL bVertical = IsNativeVertical(pBar->GetPosition());
        const BOOL bAcross = bVertical == bWrap;
        const int nPart = bAcross ? nativeToolbarSeparator : nativeToolbarSeparatorVert;
        CRect rc;
        if (!bVertical)
            rc = !bWrap ? CRect(rcControl.left - DpiX(6), rcRow.top, rcControl.left, rcRow.bottom)
                        : CRect(rcRow.left, rcRow.top - DpiY(6), rcRow.right, rcRow.top);
        else
            rc = !bWrap ? CRect(rcRow.left, rcControl.top - DpiY(6), rcRow.right, rcControl.top)
                        : CRect(rcRow.right, rcRow.top, rcRow.right + DpiX(6), rcRow.bottom);
        bDrawn = DrawPart(classToolbar, pDC, nPart, 0, rc);
    }
    if (!bDrawn)
        return CQVTCommandBarsOffice2000Theme::DrawCommandBarSeparator(pDC, pBar, pControl, bDraw);
    return CSize(0, 0);
}

CSize CQVTCommandBarsNativeXPTheme::DrawSpecialControl(CDC* pDC, int nKind, CQVTControl* pControl,
                                                       CQVTCommandBar* pBar, BOOL bDraw, LPVOID lpParam)
{
    if ((nKind == qvtSpecialClose || nKind == qvtSpecialDropDown) && m_themes[classToolbar]->GetThemeHandle())
        return CQVTPaintManager::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
    return CQVTCommandBarsOffice2000Theme::DrawSpecialControl(pDC, nKind, pControl, pBar, bDraw, lpParam);
}

// Fields and buttons of controls.

void CQVTCommandBarsNativeXPTheme::DrawControlMarlettCaption(CDC* pDC, CQVTControl* pControl)
{
    const int nId = pControl->GetID();
    const int nPart = nId == kNativeMdiRestore    ? nativeWindowMdiRestore
                      : nId == kNativeMdiMinimize ? nativeWindowMdiMinimize
                                                  : nativeWindowMdiClose;
    const int nState =
        NativeControlState(GetEffectiveEnabled(pControl), pControl->GetPressed(), pControl->GetSelected());
    if (!DrawPart(classWindow, pDC, nPart, nState, pControl->GetRect()))
        CQVTCommandBarsOffice2000Theme::DrawControlMarlettCaption(pDC, pControl);
}

void CQVTCommandBarsNativeXPTheme::DrawComboDropDownButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected,
                                                           BOOL bPopuped)
{
    if (!DrawPart(classComboBox, pDC, nativeComboDropDown, NativeControlState(bEnabled, bPopuped, bSelected),
                  rc))
        CQVTCommandBarsOffice2000Theme::DrawComboDropDownButton(pDC, rc, bEnabled, bSelected, bPopuped);
}

CSize CQVTCommandBarsNativeXPTheme::DrawControlComboBox(CDC* pDC, CQVTControl* pControl, BOOL bDraw)
{
    const CSize sz = CQVTCommandBarsOffice2000Theme::DrawControlComboBox(pDC, pControl, bDraw);
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControl);
    CQVTWinThemeWrapper& combo = *m_themes[classComboBox];
    if (!bDraw || !pCombo || !combo.GetThemeHandle())
        return sz;
    // The field's frame in the combo box class's border colour.
    COLORREF clrBorder = 0;
    const BOOL bEnabled = GetEffectiveEnabled(pControl);
    if (SUCCEEDED(
            combo.GetThemeColor(nativeComboDropDown, bEnabled ? 1 : 4, nativePropBorderColor, &clrBorder)))
    {
        const CRect rc = pControl->GetRect();
        const CRect rcBox(rc.left + pCombo->GetLabelWidth(), rc.top, rc.right, rc.bottom);
        pDC->Draw3dRect(rcBox, clrBorder, clrBorder);
    }
    return sz;
}

void CQVTCommandBarsNativeXPTheme::DrawEditSpinButtons(CDC* pDC, CQVTControlEdit* pEdit)
{
    const CRect rc = pEdit->GetSpinButtonsRect();
    const int nMiddle = rc.top + rc.Height() / 2;
    const CRect rcUp(rc.left, rc.top, rc.right, nMiddle), rcDown(rc.left, nMiddle, rc.right, rc.bottom);
    const BOOL bEnabled = GetEffectiveEnabled(pEdit);
    const int nSelected = pEdit->GetSelected();
    const int nPressed = pEdit->GetPressed();
    auto state = [&](int nPart) {
        return NativeControlState(bEnabled, nPressed == nPart, nSelected == nPart);
    };
    if (!DrawPart(classSpin, pDC, nativeSpinUp, state(CQVTControlEdit::partSpinUp), rcUp) ||
        !DrawPart(classSpin, pDC, nativeSpinDown, state(CQVTControlEdit::partSpinDown), rcDown))
        CQVTCommandBarsOffice2000Theme::DrawEditSpinButtons(pDC, pEdit);
}
