#include "toolkit/themes/frame/QVTFramePaintManager.h"

#include <algorithm>

#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/themes/frame/QVTFrameIni.h"

IMPLEMENT_DYNAMIC(CQVTFramePaintManager, CObject)

namespace {
const UINT kFramePaintCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
const DWORD kFramePaintAddToTitle = 0x4000;  // the frame puts the document name before its title
const LPCTSTR kFramePaintSection = _T("CommandBars.Frame");
}  // namespace

CQVTFramePaintManager::CQVTFramePaintManager(CQVTPaintManager* pPaintManager)
    : m_bAllowStatusBarInFrame(FALSE), m_bFrameStatusBar(TRUE),
      m_nCaptionHeight(::GetSystemMetrics(SM_CYCAPTION)), m_pPaintManager(pPaintManager),
      m_bExtendTabsIntoFrame(FALSE), m_bCaptionCenterAligned(FALSE), m_hIcon(nullptr), m_szIcon(0, 0),
      m_rcIconMargin(0, 0, 0, 0), m_rcCaptionButtonMargin(0, 0, 0, 0),
      m_szCaptionButton(::GetSystemMetrics(SM_CYSIZE), ::GetSystemMetrics(SM_CYSIZE)),
      m_szChildCaptionButton(::GetSystemMetrics(SM_CYSIZE), ::GetSystemMetrics(SM_CYSIZE))
{
}

CQVTFramePaintManager::~CQVTFramePaintManager() = default;

CRect CQVTFramePaintManager::GetCaptionRect(IQVTFrameHook* pFrameHook)
{
    const HWND hWnd = pFrameHook->GetSite();
    CRect rcWindow;
    CRect rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    rcWindow.OffsetRect(-rcWindow.TopLeft());
    const CRect rcBorders = CalcFrameBorders(pFrameHook);
    return CRect(rcBorders.left, rcBorders.top, rcWindow.right - rcBorders.right, rcClient.top);
}

CRect CQVTFramePaintManager::CalcFrameBorders(IQVTFrameHook* pFrameHook)
{
    const HWND hWnd = pFrameHook->GetSite();
    CRect rc(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_EXSTYLE)));
    const int nBorder = -rc.left;
    return CRect(nBorder, nBorder, nBorder, nBorder);
}

HICON AFX_CDECL CQVTFramePaintManager::GetFrameLargeIcon(HWND hWnd)
{
    HICON hIcon = reinterpret_cast<HICON>(::SendMessage(hWnd, WM_GETICON, ICON_BIG, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWnd, GCLP_HICON));
    return hIcon;
}

HICON AFX_CDECL CQVTFramePaintManager::GetFrameSmallIcon(HWND hWnd)
{
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_EXSTYLE));
    if ((dwExStyle & WS_EX_TOOLWINDOW) || !(dwStyle & WS_SYSMENU))
        return nullptr;
    HICON hIcon = reinterpret_cast<HICON>(::SendMessage(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon)
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWnd, GCLP_HICONSM));
    const BOOL bDialogFrame = (dwStyle & WS_CAPTION) == WS_DLGFRAME;
    if (!hIcon && !bDialogFrame && !(dwExStyle & WS_EX_DLGMODALFRAME))
    {
        DWORD_PTR dwResult = 0;
        if (::SendMessageTimeout(hWnd, WM_QUERYDRAGICON, 0, 0, SMTO_ABORTIFHUNG, 100, &dwResult))
            hIcon = reinterpret_cast<HICON>(dwResult);
    }
    if (!hIcon)
        hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    return hIcon;
}

namespace {
CSize FramePaintIconBitmapSize(HICON hIcon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(hIcon, &info))
        return CSize(0, 0);
    BITMAP bm = {};
    CSize sz(0, 0);
    if (info.hbmColor && ::GetObject(info.hbmColor, sizeof(bm), &bm))
        sz = CSize(bm.bmWidth, bm.bmHeight);
    else if (info.hbmMask && ::GetObject(info.hbmMask, sizeof(bm), &bm))
        sz = CSize(bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return sz;
}
}  // namespace

void CQVTFramePaintManager::DrawFrameIcon(CDC* pDC, IQVTFrameHook* pFrameHook, CRect& rc)
{
    HICON hIcon = m_hIcon;
    CSize szIcon = m_szIcon;
    if (hIcon)
    {
        if (szIcon.cx == 0 && szIcon.cy == 0)
            szIcon = FramePaintIconBitmapSize(hIcon);
    }
    else
    {
        hIcon = GetFrameSmallIcon(pFrameHook->GetSite());
        szIcon = CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    }
    if (!hIcon)
        return;
    const int x = rc.left + m_rcIconMargin.left;
    const int y = rc.top + (rc.Height() - szIcon.cy) / 2;
    // A mirrored DC would draw the icon mirrored too.
    const DWORD dwLayout = pDC->GetLayout();
    if (dwLayout & LAYOUT_RTL)
        pDC->SetLayout(dwLayout | LAYOUT_BITMAPORIENTATIONPRESERVED);
    ::DrawIconEx(pDC->GetSafeHdc(), x, y, hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    if (dwLayout & LAYOUT_RTL)
        pDC->SetLayout(dwLayout);
    rc.left += m_rcIconMargin.left + szIcon.cx + m_rcIconMargin.right;
}

void CQVTFramePaintManager::DrawCaptionButtons(CDC* pDC, IQVTFrameHook* pFrameHook, CRect& rc)
{
    CQVTControls* pButtons = pFrameHook->GetCaptionButtons();
    if (!pButtons)
        return;
    const BOOL bActive = pFrameHook->IsFrameActive();
    for (int i = 0; i < pButtons->GetCount(); ++i)
    {
        CQVTControl* pButton = pButtons->GetAt(i);
        if (!pButton || !pButton->IsVisible())
            continue;
        const CRect rcButton = pButton->GetRect();
        const BOOL bEnabled = pButton->GetEnabled() && bActive;
        DrawCaptionButton(pDC, rcButton, pButton->GetID(), pButton->GetSelected(), pButton->GetPressed(),
                          bEnabled, bActive, pFrameHook->GetRibbonBar());
        rc.right = std::min(rc.right, rcButton.left);
    }
}

void CQVTFramePaintManager::DrawCaptionButton(CDC* pDC, CRect rc, int nId, BOOL bSelected, BOOL bPressed,
                                              BOOL bEnabled, BOOL bActive)
{
    DrawCaptionButton(pDC, rc, nId, bSelected, bPressed, bEnabled, bActive, nullptr);
}

CSize CQVTFramePaintManager::GetCaptionButtonSize(int nId, HWND hWnd)
{
    if (hWnd && (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD))
        return m_szChildCaptionButton;
    return m_szCaptionButton;
}

CSize CQVTFramePaintManager::GetCaptionButtonSize()
{
    return m_szCaptionButton;
}

CRect CQVTFramePaintManager::GetCaptionButtonMargin()
{
    return m_rcCaptionButtonMargin;
}

int CQVTFramePaintManager::GetCaptionHeight()
{
    return m_nCaptionHeight;
}

void CQVTFramePaintManager::RefreshMetrics()
{
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    int values[4] = {};
    if (QVTFrameIni::ReadInts(kFramePaintSection, _T("IconMargin"), values, 4))
        m_rcIconMargin.SetRect(pScaler->ScaleX(values[0]), pScaler->ScaleY(values[1]),
                               pScaler->ScaleX(values[2]), pScaler->ScaleY(values[3]));
    if (QVTFrameIni::ReadInts(kFramePaintSection, _T("CaptionButtonMargin"), values, 4))
        m_rcCaptionButtonMargin.SetRect(pScaler->ScaleX(values[0]), pScaler->ScaleY(values[1]),
                                        pScaler->ScaleX(values[2]), pScaler->ScaleY(values[3]));
    if (QVTFrameIni::ReadInts(kFramePaintSection, _T("CaptionButtonSize"), values, 2))
        m_szCaptionButton = CSize(pScaler->ScaleX(values[0]), pScaler->ScaleY(values[1]));
    if (QVTFrameIni::ReadInts(kFramePaintSection, _T("CaptionHeight"), values, 1))
        m_nCaptionHeight = pScaler->ScaleY(values[0]);
    if (QVTFrameIni::ReadInts(kFramePaintSection, _T("CaptionCenterAligned"), values, 1))
        m_bCaptionCenterAligned = values[0] != 0;
}

void CQVTFramePaintManager::DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive,
                                            CQVTRibbonBar* pRibbonBar)
{
    if (!pFrame || !pFrame->GetSafeHwnd())
        return;
    const UINT nFormat = kFramePaintCaptionFormat | (m_bCaptionCenterAligned ? DT_CENTER : 0);
    CString strText;
    pFrame->GetWindowText(strText);

    const BOOL bRibbonCaption = pRibbonBar && pRibbonBar->IsFrameThemeEnabled();
    COLORREF clrText;
    COLORREF clrTitle;
    if (bRibbonCaption)
    {
        clrText =
            bActive ? m_clrRibbonCaptionTextActive.GetValue() : m_clrRibbonCaptionTextInactive.GetValue();
        clrTitle = bActive ? m_clrRibbonTitleTextActive.GetValue() : clrText;
        const int nLimit = pRibbonBar->GetQuickAccessRect().right;
        if (rc.left < nLimit)
        {
            CRect rcClient;
            pFrame->GetClientRect(&rcClient);
            const int nGrow = nLimit + 5 - rc.left;
            const int nMaxRight =
                rcClient.Width() - 3 * GetCaptionButtonSize().cx - QVTDpiScaler()->ScaleX(5);
            rc.left = nLimit + 5;
            rc.right = std::min(rc.right + nGrow, std::max(rc.right, nMaxRight));
        }
    }
    else
    {
        clrText = bActive ? m_clrCaptionTextActive.GetValue() : m_clrCaptionTextInactive.GetValue();
        clrTitle = bActive ? m_clrTitleTextActive.GetValue() : clrText;
    }
    if (clrText == CQVTPaintManagerColor::noColor)
        clrText = ::GetSysColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    if (clrTitle == CQVTPaintManagerColor::noColor)
        clrTitle = clrText;

    CFont* pOldFont = m_fontCaption.GetSafeHandle() ? pDC->SelectObject(m_fontCaption.GetFont()) : nullptr;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);

    CString strTitle;
    if (CFrameWnd* pFrameWnd = DYNAMIC_DOWNCAST(CFrameWnd, pFrame))
        strTitle = pFrameWnd->GetTitle();
    const BOOL bSplit = (pFrame->GetStyle() & kFramePaintAddToTitle) && !strTitle.IsEmpty() &&
                        strText.GetLength() > strTitle.GetLength() &&
                        strText.Right(strTitle.GetLength()) == strTitle &&
                        !(pFrame->GetExStyle() & WS_EX_LAYOUTRTL);
    if (bSplit)
    {
        const CString strLeading = strText.Left(strText.GetLength() - strTitle.GetLength());
        pDC->DrawText(strLeading, rc, (nFormat & ~DT_CENTER) | DT_LEFT);
        rc.left += pDC->GetTextExtent(strLeading, strLeading.GetLength()).cx + 2;
        if (rc.Width() >= 5)
        {
            pDC->SetTextColor(clrTitle);
            pDC->DrawText(strTitle, rc, (nFormat & ~DT_CENTER) | DT_LEFT);
        }
    }
    else
    {
        pDC->DrawText(strText, rc, nFormat);
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}

void CQVTFramePaintManager::DrawCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive)
{
    DrawCaptionText(pDC, rc, pFrame, bActive, nullptr);
}

void CQVTFramePaintManager::FillCaptionBackground(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive)
{
    COLORREF clr =
        bActive ? m_clrCaptionBackgroundActive.GetValue() : m_clrCaptionBackgroundInactive.GetValue();
    if (clr == CQVTPaintManagerColor::noColor)
        clr = ::GetSysColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    pDC->FillSolidRect(rc, clr);
}

CQVTFrameShadow* CQVTFramePaintManager::CreateShadow(CWnd* pFrame)
{
    // The base frame casts none: themes with a shadow ask the shadow
    // manager for it (CQVTFrameShadowManager::EnableShadow).
    return nullptr;
}
