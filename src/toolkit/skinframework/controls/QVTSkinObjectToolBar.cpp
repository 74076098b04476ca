#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTGlyphFont.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/theme/QVTWinThemeWrapper.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"
#include "toolkit/skinframework/controls/QVTSkinObjectCommonControls.h"
#include "toolkit/skinframework/draw/QVTSkinDraw.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"

namespace {
LRESULT ToolBarCustomDraw(HWND hWnd, HDC hDC, DWORD dwStage, const RECT& rc, DWORD_PTR dwItem, UINT nState,
                          LPARAM lItemParam)
{
    HWND hParent = ::GetParent(hWnd);
    if (hParent == nullptr)
        return CDRF_DODEFAULT;
    NMTBCUSTOMDRAW nm = {};
    nm.nmcd.hdr.hwndFrom = hWnd;
    nm.nmcd.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hWnd));
    nm.nmcd.hdr.code = NM_CUSTOMDRAW;
    nm.nmcd.dwDrawStage = dwStage;
    nm.nmcd.hdc = hDC;
    nm.nmcd.rc = rc;
    nm.nmcd.dwItemSpec = dwItem;
    nm.nmcd.uItemState = nState;
    nm.nmcd.lItemlParam = lItemParam;
    return ::SendMessageW(hParent, WM_NOTIFY, nm.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// The image drawn embossed: a mask of what is not background, blitted in
// the highlight colour one pixel down and right, then in the shadow colour.
void ToolBarDrawEmbossed(CDC* pDC, HIMAGELIST hImageList, int nImage, int x, int y, int cx, int cy,
                         HBRUSH hHighlight, HBRUSH hShadow)
{
    CDC dcMask;
    if (!dcMask.CreateCompatibleDC(pDC))
        return;
    CBitmap bmpMask;
    if (!bmpMask.CreateBitmap(cx, cy, 1, 1, nullptr))
        return;
    CBitmap* pOldMask = dcMask.SelectObject(&bmpMask);
    dcMask.PatBlt(0, 0, cx, cy, WHITENESS);
    ::ImageList_Draw(hImageList, nImage, dcMask.GetSafeHdc(), 0, 0, ILD_MASK);
    const COLORREF clrOldText = pDC->SetTextColor(RGB(0, 0, 0));
    const COLORREF clrOldBack = pDC->SetBkColor(RGB(255, 255, 255));
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), hHighlight);
    pDC->BitBlt(x + 1, y + 1, cx, cy, &dcMask, 0, 0, 0xB8074A);
    ::SelectObject(pDC->GetSafeHdc(), hShadow);
    pDC->BitBlt(x, y, cx, cy, &dcMask, 0, 0, 0xB8074A);
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBack);
    dcMask.SelectObject(pOldMask);
}
}  // namespace

IMPLEMENT_DYNCREATE(CQVTSkinObjectToolBar, CQVTSkinObjectControl)

BEGIN_MESSAGE_MAP(CQVTSkinObjectToolBar, CQVTSkinObjectControl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CQVTSkinObjectToolBar::CQVTSkinObjectToolBar()
{
    m_strClassName = u"TOOLBAR";
}

BOOL CQVTSkinObjectToolBar::QueryDrawingEnabled()
{
    if (!CQVTSkinObjectControl::QueryDrawingEnabled())
        return FALSE;
    CQVTWinThemeWrapper wrapper(TRUE);
    if (m_pManager != nullptr && !(m_pManager->GetApplyOptions() & qvtSkinApplyFrames) &&
        wrapper.DwmIsCompositionEnabled() &&
        GetWindowPath(m_hWnd, FALSE).Find(u"/#32770/WorkerW/ReBarWindow32") >= 0)
        return FALSE;
    return TRUE;
}

BOOL CQVTSkinObjectToolBar::IsExplorerBand()
{
    if (m_nExplorerBand == -1)
    {
        m_nExplorerBand = 0;
        WCHAR szClass[257] = {};
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != nullptr && ::GetClassNameW(hParent, szClass, 257) > 0)
        {
            static const LPCTSTR kBands[] = {u"Breadcrumb Parent", u"TravelBand", u"msctls_progress32",
                                             u"Search Control"};
            for (LPCTSTR lpszBand : kBands)
                if (CString(szClass).CompareNoCase(lpszBand) == 0)
                    m_nExplorerBand = 1;
        }
    }
    return m_nExplorerBand == 1;
}

BOOL CQVTSkinObjectToolBar::OnEraseBkgnd(CDC* pDC)
{
    const DWORD dwStyle = GetStyle();
    if (!(dwStyle & (TBSTYLE_TRANSPARENT | TBSTYLE_CUSTOMERASE)) && IsPartSkinned(1))
        return static_cast<BOOL>(EraseWithClassBrush(pDC->GetSafeHdc()));
    return static_cast<BOOL>(Default());
}

void CQVTSkinObjectToolBar::OnPaint()
{
    if (!IsPartSkinned(1))
    {
        Default();
        return;
    }
    const DWORD dwStyle = GetStyle();
    HWND hTips = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, TB_GETTOOLTIPS, 0, 0));
    if ((dwStyle & TBSTYLE_TOOLTIPS) && hTips != nullptr)
    {
        const int nCount = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i)
        {
            TBBUTTON button = {};
            if (!::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(&button)) ||
                (button.fsState & TBSTATE_HIDDEN) || (button.fsStyle & BTNS_SEP))
                continue;
            TTTOOLINFOW info = {};
            info.cbSize = 72;
            info.hwnd = m_hWnd;
            info.uId = static_cast<UINT_PTR>(button.idCommand);
            ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&info.rect));
            ::SendMessageW(hTips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    CQVTSkinObjectPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC memDC(dc.GetSafeHdc(), rc);
    DrawToolBar(&memDC);
}

void CQVTSkinObjectToolBar::DrawToolBar(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (IsExplorerBand())
    {
        CQVTSkinObjectControl::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
        return;
    }
    QVTSkinFillSolidRect(pDC->GetSafeHdc(), rc, GetColor(COLOR_BTNFACE));
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(pDC->GetSafeHdc(), hFont) : nullptr;
    const LRESULT lPrePaint = ToolBarCustomDraw(m_hWnd, pDC->GetSafeHdc(), CDDS_PREPAINT, rc, 0, 0, 0);
    if (!(lPrePaint & CDRF_SKIPDEFAULT))
        DrawButtons(pDC);
    if (lPrePaint & CDRF_NOTIFYPOSTPAINT)
        ToolBarCustomDraw(m_hWnd, pDC->GetSafeHdc(), CDDS_POSTPAINT, rc, 0, 0, 0);
    if (hOldFont != nullptr)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);
}

void CQVTSkinObjectToolBar::DrawButtons(CDC* pDC)
{
    if (GetWindowPath(m_hWnd, FALSE).Find(u"/#32770/ViewControlClass") >= 0)
    {
        HWND hOwner = ::GetParent(m_hWnd);
        if (hOwner != nullptr)
        {
            CRect rcOwner;
            ::GetClientRect(hOwner, &rcOwner);
            HDC hOwnerDC = ::GetDC(hOwner);
            QVTSkinFillSolidRect(hOwnerDC, rcOwner, GetColor(COLOR_BTNFACE));
            ::ReleaseDC(hOwner, hOwnerDC);
        }
    }
    const BOOL bAnsi =
        ::SendMessageW(m_hWnd, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(m_hWnd), NF_QUERY) == NFR_ANSI;
    const DWORD dwParentStyle = static_cast<DWORD>(::GetWindowLongW(::GetParent(m_hWnd), GWL_STYLE));
    CQVTSkinManagerClass* pClass = GetSkinClass();
    const int nCount = static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i)
    {
        TBBUTTON button = {};
        if (!::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&button)) ||
            (button.fsState & TBSTATE_HIDDEN))
            continue;
        if (button.fsStyle & BTNS_SEP)
        {
            CRect rcButton;
            ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&rcButton));
            if (pClass == nullptr)
                continue;
            if (!(dwParentStyle & 0x1000) && !(dwParentStyle & 0x4000))
                pClass->DrawThemeBackground(pDC, 5, 1, rcButton);
            else
                pClass->DrawThemeBackground(pDC, 6, 1,
                                            CRect(rcButton.left, rcButton.top,
                                                  rcButton.left + rcButton.Height(),
                                                  rcButton.top + rcButton.Width()));
            continue;
        }
        DrawButton(pDC, button, i, bAnsi);
    }
}

BOOL CQVTSkinObjectToolBar::HasAlpha(HIMAGELIST hImageList)
{
    if (hImageList == nullptr || GetComCtlVersion() < 0x60000)
        return FALSE;
    auto it = m_alphaCache.find(hImageList);
    if (it != m_alphaCache.end())
        return it->second != 0;
    DWORD dwAlpha = 0;
    IMAGEINFO info = {};
    if (::ImageList_GetImageInfo(hImageList, 0, &info) && info.hbmImage != nullptr &&
        ::ImageList_GetBkColor(hImageList) == CLR_NONE)
    {
        BITMAP bm = {};
        if (::GetObjectW(info.hbmImage, sizeof(bm), &bm) && bm.bmBitsPixel == 32)
        {
            DWORD dwFound = 0;
            HBITMAP hAlpha = CQVTImageManager::ConvertToAlphaBitmap(info.hbmImage, &dwFound);
            if (hAlpha != nullptr)
            {
                dwAlpha = dwFound != 0 ? 1 : 0;
                ::DeleteObject(hAlpha);
            }
        }
    }
    m_alphaCache[hImageList] = dwAlpha;
    return dwAlpha != 0;
}

void CQVTSkinObjectToolBar::DrawButton(CDC* pDC, const TBBUTTON& button, int nIndex, BOOL bAnsi)
{
    CQVTSkinManagerClass* pClass = GetSkinClass();
    CRect rcButton;
    ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rcButton));
    const BOOL bHot = static_cast<int>(::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0)) == nIndex;
    const BOOL bPressed = (button.fsState & TBSTATE_PRESSED) != 0;
    const BOOL bChecked = (button.fsState & TBSTATE_CHECKED) != 0;
    const BOOL bEnabled = (button.fsState & TBSTATE_ENABLED) != 0;
    UINT nItemState = (bHot ? CDIS_HOT : 0) | (bPressed ? CDIS_SELECTED : 0) | (bChecked ? CDIS_CHECKED : 0) |
                      (bEnabled ? 0 : CDIS_DISABLED);
    const LRESULT lItem =
        ToolBarCustomDraw(m_hWnd, pDC->GetSafeHdc(), CDDS_ITEMPREPAINT, rcButton,
                          static_cast<DWORD_PTR>(button.idCommand), nItemState, button.dwData);
    if (lItem & CDRF_SKIPDEFAULT)
        return;
    const int nState = !bEnabled ? 4 : bPressed ? 3 : bChecked ? 5 : bHot ? 2 : 1;
    const DWORD dwExStyle = static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
    const BOOL bDropDown = (button.fsStyle & BTNS_DROPDOWN) != 0;
    const BOOL bWholeDropDown = (button.fsStyle & BTNS_WHOLEDROPDOWN) != 0;
    const BOOL bSplit = (dwExStyle & TBSTYLE_EX_DRAWDDARROWS) && bDropDown && !bWholeDropDown;
    const int nArrow = ::GetSystemMetrics(SM_CYMENUCHECK);
    if (pClass != nullptr)
    {
        if (bSplit)
        {
            CRect rcMain(rcButton);
            rcMain.right -= nArrow;
            pClass->DrawThemeBackground(pDC, 3, nState, rcMain);
            pClass->DrawThemeBackground(pDC, 4, nState,
                                        CRect(rcMain.right, rcButton.top, rcButton.right, rcButton.bottom));
        }
        else
            pClass->DrawThemeBackground(pDC, 1, nState, rcButton);
    }

    CRect rcImageArea(rcButton);
    CRect rcTextArea(rcButton);
    if (bSplit || bWholeDropDown)
    {
        rcImageArea.right -= 5;
        rcTextArea.right -= bSplit ? nArrow : 5;
    }
    const BOOL bShift = (bPressed || bChecked) && !(lItem & 0x40000);
    if (bShift)
    {
        rcImageArea.OffsetRect(1, 1);
        rcTextArea.OffsetRect(1, 1);
    }
    const DWORD dwStyle = GetStyle();
    const BOOL bList = (dwStyle & TBSTYLE_LIST) != 0;

    // The image: hot list for a hot or checked button, disabled list or a
    // greyed normal image for a disabled one.
    HIMAGELIST hNormal = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0));
    HIMAGELIST hImages = hNormal;
    BOOL bGrey = FALSE;
    if (!bEnabled)
    {
        HIMAGELIST hDisabled =
            reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0));
        if (hDisabled != nullptr)
            hImages = hDisabled;
        else
            bGrey = TRUE;
    }
    else if (bHot || bChecked)
    {
        HIMAGELIST hHot = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETHOTIMAGELIST, 0, 0));
        if (hHot != nullptr)
            hImages = hHot;
    }
    int cxImage = ScaleX(16);
    int cyImage = ScaleY(16);
    if (hImages != nullptr)
        ::ImageList_GetIconSize(hImages, &cxImage, &cyImage);
    const BOOL bHasImage = hImages != nullptr && button.iBitmap >= 0 && button.iBitmap != I_IMAGENONE &&
                           button.iBitmap < ::ImageList_GetImageCount(hImages);
    CString strText = QVTSkinGetToolBarButtonText(m_hWnd, button.idCommand, bAnsi);
    const int nBorder = ::GetSystemMetrics(SM_CXBORDER);
    rcImageArea.DeflateRect(nBorder, nBorder);
    int xImage = 0;
    int yImage = 0;
    if (bList)
    {
        const DWORD dwPadding = static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETPADDING, 0, 0));
        xImage = rcImageArea.left + LOWORD(dwPadding) / 2;
        yImage = rcImageArea.top + (rcImageArea.Height() - cyImage) / 2;
        rcTextArea.left = xImage + (bHasImage ? cxImage + ScaleX(2) : 0);
    }
    else
    {
        const DWORD dwPadding = static_cast<DWORD>(::SendMessageW(m_hWnd, TB_GETPADDING, 0, 0));
        xImage = rcImageArea.left + (rcImageArea.Width() - cxImage) / 2;
        yImage = rcImageArea.top + (strText.IsEmpty() ? (rcImageArea.Height() - cyImage) / 2
                                                      : static_cast<int>(HIWORD(dwPadding)) / 2);
        rcTextArea.top = yImage + cyImage + 1;
    }
    if (bHasImage)
    {
        if (!bGrey)
        {
            IMAGELISTDRAWPARAMS params = {};
            params.cbSize = sizeof(params);
            params.himl = hImages;
            params.i = button.iBitmap;
            params.hdcDst = pDC->GetSafeHdc();
            params.x = xImage;
            params.y = yImage;
            params.rgbBk = GetColor(COLOR_BTNFACE);
            params.rgbFg = CLR_DEFAULT;
            params.fStyle = ILD_TRANSPARENT;
            ::ImageList_DrawIndirect(&params);
        }
        else if (HasAlpha(hImages))
        {
            IMAGELISTDRAWPARAMS params = {};
            params.cbSize = sizeof(params);
            params.himl = hImages;
            params.i = button.iBitmap;
            params.hdcDst = pDC->GetSafeHdc();
            params.x = xImage;
            params.y = yImage;
            params.rgbBk = CLR_NONE;
            params.rgbFg = CLR_DEFAULT;
            params.fStyle = ILD_TRANSPARENT;
            params.fState = ILS_SATURATE;
            ::ImageList_DrawIndirect(&params);
        }
        else
        {
            CQVTSkinManagerMetrics* pMetrics = GetMetrics();
            HBRUSH hHighlight = pMetrics != nullptr ? pMetrics->GetBrush(COLOR_BTNHIGHLIGHT)
                                                    : ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
            HBRUSH hShadow = pMetrics != nullptr ? pMetrics->GetBrush(COLOR_BTNSHADOW)
                                                 : ::GetSysColorBrush(COLOR_BTNSHADOW);
            ToolBarDrawEmbossed(pDC, hImages, button.iBitmap, xImage, yImage, cxImage, cyImage, hHighlight,
                                hShadow);
        }
    }
    if (!strText.IsEmpty())
    {
        const int nRows = static_cast<int>(::SendMessageW(m_hWnd, TB_GETTEXTROWS, 0, 0));
        UINT nFlags = 0;
        if (nRows <= 1)
            nFlags = bList ? 0x8024 : 0x8021;
        else
            nFlags = bList ? 0xA034 : 0xA011;
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
        pDC->DrawText(strText, rcTextArea, nFlags);
    }
    if (bWholeDropDown && !bSplit)
    {
        CRect rcGlyph(rcButton.right - ScaleX(14), rcButton.top, rcButton.right, rcButton.bottom);
        if (bPressed)
            rcGlyph.OffsetRect(1, 1);
        QVTGlyphFont()->DrawGlyph(pDC, static_cast<WCHAR>(77), rcGlyph, GetColor(COLOR_BTNTEXT));
    }
    if (lItem & CDRF_NOTIFYPOSTPAINT)
        ToolBarCustomDraw(m_hWnd, pDC->GetSafeHdc(), CDDS_ITEMPOSTPAINT, rcButton,
                          static_cast<DWORD_PTR>(button.idCommand), nItemState, button.dwData);
}
