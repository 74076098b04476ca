#include "toolkit/controls/button/QVTButton.h"
#include "toolkit/controls/button/QVTButtonTheme.h"
#include "toolkit/controls/button/QVTButtonThemeOffice2013.h"
#include "toolkit/controls/button/QVTButtonThemeResource.h"
#include "toolkit/controls/button/QVTButtonThemeUltraFlat.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"

IMPLEMENT_DYNCREATE(CQVTButton, CButton)

BEGIN_MESSAGE_MAP(CQVTButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTButton::OnPrintClientMessage)
    ON_MESSAGE(BM_SETSTYLE, &CQVTButton::OnSetStyle)
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(BM_SETCHECK, &CQVTButton::OnSetCheck)
    ON_MESSAGE(BM_SETSTATE, &CQVTButton::OnSetState)
    ON_MESSAGE(WM_SETTEXT, &CQVTButton::OnSetText)
    ON_WM_ENABLE()
    ON_MESSAGE(WM_UPDATEUISTATE, &CQVTButton::OnUpdateUIStateMessage)
    ON_MESSAGE(CQVTButton::WM_QVT_SETBUTTONTHEME, &CQVTButton::OnSetTheme)
END_MESSAGE_MAP()

BEGIN_INTERFACE_MAP(CQVTButton, CButton)
    INTERFACE_PART(CQVTButton, IID_IQVTCmdTargetProvider, CmdTargetProvider)
END_INTERFACE_MAP()

CQVTButton::CQVTButton()
    : m_nPushedState(0), m_bHot(FALSE), m_pTheme(nullptr), m_bChecked(0), m_bUseVisualStyle(TRUE),
      m_dwImageAlignment(0xF00), m_nBorderGap(QVTDpiScaler()->ScaleX(4)), m_bEnableMarkup(FALSE),
      m_nImageGap(QVTDpiScaler()->ScaleX(3)), m_nImageTextRelation(relationImageBeforeText), m_pIcon(nullptr),
      m_szImage(0, 0), m_bShowFocus(TRUE), m_pToolTipContext(new CQVTToolTipContext),
      m_pMarkupContext(nullptr), m_pMarkupUIElement(nullptr), m_bDpiScaling(FALSE), m_bDpiScalingSet(FALSE)
{
    SetTheme(0);
}

CQVTButton::~CQVTButton()
{
    if (m_pTheme)
        m_pTheme->InternalRelease();
    m_pTheme = nullptr;
    MarkupReleaseElement(m_pMarkupUIElement);
    MarkupReleaseContext(m_pMarkupContext);
    if (m_pIcon)
        m_pIcon->InternalRelease();
    m_pIcon = nullptr;
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
    m_pToolTipContext = nullptr;
}

BOOL CQVTButton::IsPushButton() const
{
    if (!m_hWnd)
        return TRUE;
    DWORD dwStyle = GetStyle();
    DWORD dwKind = dwStyle & 0xF;
    return dwKind == BS_PUSHBUTTON || dwKind == BS_DEFPUSHBUTTON || dwKind == BS_OWNERDRAW ||
           (dwStyle & BS_PUSHLIKE);
}

UINT CQVTButton::GetPushedState() const
{
    return m_nPushedState;
}

BOOL CQVTButton::IsHighlighted() const
{
    return m_bHot || (m_hWnd && ::GetCapture() == m_hWnd);
}

BOOL CQVTButton::GetChecked() const
{
    if (m_hWnd && !IsPushButton())
        return (BOOL)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0);
    return m_bChecked;
}

void CQVTButton::SetChecked(BOOL bChecked)
{
    if (m_hWnd && !IsPushButton())
    {
        ::SendMessage(m_hWnd, BM_SETCHECK, bChecked, 0);
        return;
    }
    m_bChecked = bChecked;
    if (m_hWnd)
        Invalidate(FALSE);
}

DWORD CQVTButton::GetTextAlignment() const
{
    DWORD dwStyle = m_hWnd ? GetStyle() : 0;
    if ((dwStyle & 0x300) && (dwStyle & 0xC00))
        return dwStyle & 0xF00;
    DWORD dwVert = (dwStyle & 0xC00) ? (dwStyle & 0xC00) : BS_VCENTER;
    DWORD dwHorz = (dwStyle & 0x300) ? (dwStyle & 0x300) : (IsPushButton() ? BS_CENTER : BS_LEFT);
    return dwVert | dwHorz;
}

UINT CQVTButton::GetTextFormat() const
{
    return DT_SINGLELINE;
}

DWORD CQVTButton::GetImageAlignment() const
{
    return m_dwImageAlignment;
}

void CQVTButton::SetImageAlignment(DWORD dwAlignment)
{
    if (dwAlignment == m_dwImageAlignment)
        return;
    m_dwImageAlignment = dwAlignment;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQVTButton::SetTextImageRelation(int nRelation)
{
    if (nRelation == m_nImageTextRelation)
        return;
    m_nImageTextRelation = nRelation;
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CQVTButton::IsDpiScalingEnabled() const
{
    return m_bDpiScalingSet ? m_bDpiScaling : CQVTDpiScaler::IsImageScalingEnabled();
}

void CQVTButton::SetDpiScaling(BOOL bEnable)
{
    m_bDpiScaling = bEnable;
    m_bDpiScalingSet = TRUE;
}

CSize CQVTButton::GetImageSize() const
{
    if (!m_pIcon)
        return CSize(0, 0);
    if (m_pIcon->IsVectorIcon())
        return m_szImage;
    CSize size(m_pIcon->GetWidth(), m_pIcon->GetHeight());
    if (IsDpiScalingEnabled())
        size = QVTDpiScaler()->ScaleSize(size);
    return size;
}

void CQVTButton::DrawImage(CDC* pDC, CRect rc)
{
    if (!m_pIcon)
        return;
    int nState;
    if (m_hWnd && !IsWindowEnabled())
        nState = qvtImageDisabled;
    else if (!IsHighlighted() && !GetChecked() && !GetPushedState())
        nState = qvtImageNormal;
    else if (GetChecked())
        nState = qvtImageChecked;
    else if (GetPushedState())
        nState = qvtImagePressed;
    else
        nState = qvtImageHot;
    m_pIcon->DrawInStateSized(pDC, rc.TopLeft(), rc.Size(), nState);
}

CRect CQVTButton::GetButtonRect() const
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    return rc;
}

void CQVTButton::SetThemeObject(CQVTButtonTheme* pTheme)
{
    // A button always has a theme.
    if (!pTheme)
        return;
    if (m_pTheme && m_pTheme != pTheme)
        m_pTheme->InternalRelease();
    m_pTheme = pTheme;
    m_bUseVisualStyle = pTheme->GetThemeKind() == 0;
    pTheme->RefreshMetrics(this);
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CQVTButton::SetTheme(int nTheme)
{
    CQVTButtonTheme* pTheme = nullptr;
    switch (nTheme)
    {
    case 1:
        pTheme = new CQVTButtonThemeFlat;
        break;
    case 2:
        pTheme = new CQVTButtonThemeUltraFlat;
        break;
    case 3:
        pTheme = new CQVTButtonThemeOffice2000;
        break;
    case 4:
        pTheme = new CQVTButtonThemeOfficeXP;
        break;
    case 5:
        pTheme = new CQVTButtonThemeOffice2003;
        break;
    case 7:
        pTheme = new CQVTButtonThemeResource;
        break;
    case 12:
        pTheme = new CQVTButtonThemeOffice2013;
        break;
    case 13:
    case 14:
        pTheme = new CQVTButtonThemeVisualStudio2012(TRUE);
        break;
    case 15:
        pTheme = new CQVTButtonThemeVisualStudio2012(FALSE);
        break;
    case 16:
        pTheme = new CQVTButtonThemeVisualStudio2015;
        break;
    case 17:
        pTheme = new CQVTButtonThemeNativeWindows10;
        break;
    default:
        pTheme = new CQVTButtonTheme;
        break;
    }
    if (m_pTheme)
        m_pTheme->InternalRelease();
    m_pTheme = pTheme;
    // Only the standard numbers may use the system's visual style.
    m_bUseVisualStyle = nTheme == 0 || nTheme == 6;
    RefreshMetrics();
    return TRUE;
}

void CQVTButton::SetFlatStyle(BOOL bFlatStyle)
{
    if (m_bFlatStyle == bFlatStyle)
        return;
    m_bFlatStyle = bFlatStyle;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQVTButton::SetUseShadow(BOOL bShadow)
{
    if (m_bShadow == bShadow)
        return;
    m_bShadow = bShadow;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQVTButton::RefreshMetrics()
{
    m_pTheme->RefreshMetrics(this);
    if (m_hWnd && ::IsWindow(m_hWnd))
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CQVTButton::SetIconObject(CQVTImageManagerIcon* pIcon, CSize size, BOOL bRedraw)
{
    if (m_pIcon)
        m_pIcon->InternalRelease();
    m_pIcon = pIcon;
    m_szImage = (pIcon && pIcon->IsVectorIcon()) ? size : CSize(0, 0);
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
}

BOOL CQVTButton::SetIcon(CSize size, const CQVTImageManagerRasterImageHandle& imageNormal,
                         const CQVTImageManagerRasterImageHandle& imageHot, BOOL bRedraw)
{
    if (imageNormal.IsEmpty())
        return FALSE;
    if (size == CSize(0, 0))
        size = imageNormal.GetExtent();
    CQVTImageManagerIcon* pIcon = new CQVTImageManagerIcon(0, size.cx, size.cy);
    if (!pIcon->SetNormalImage(imageNormal))
    {
        pIcon->InternalRelease();
        return FALSE;
    }
    if (!imageHot.IsEmpty())
        pIcon->SetHotImage(imageHot);
    SetIconObject(pIcon, size, bRedraw);
    return TRUE;
}

BOOL CQVTButton::SetIcon(CSize size, LPCTSTR lpszNormal, LPCTSTR lpszHot, BOOL bRedraw)
{
    CQVTImageManagerRasterImageHandle imageNormal, imageHot;
    if (!imageNormal.LoadIconResource(lpszNormal, size, TRUE, 0))
        return FALSE;
    if (lpszHot && !imageHot.LoadIconResource(lpszHot, size, TRUE, 0))
        return FALSE;
    return SetIcon(size, imageNormal, imageHot, bRedraw);
}

BOOL CQVTButton::SetIcon(CSize size, UINT nIDNormal, UINT nIDHot, BOOL bRedraw)
{
    return SetIcon(size, MAKEINTRESOURCE(nIDNormal), nIDHot ? MAKEINTRESOURCE(nIDHot) : nullptr, bRedraw);
}

BOOL CQVTButton::SetIcon(CSize size, HICON hIconNormal, HICON hIconHot, BOOL bRedraw)
{
    if (!hIconNormal)
        return FALSE;
    CQVTImageManagerRasterImageHandle imageNormal, imageHot;
    imageNormal.AttachIcon(::CopyIcon(hIconNormal));
    if (hIconHot)
        imageHot.AttachIcon(::CopyIcon(hIconHot));
    return SetIcon(size, imageNormal, imageHot, bRedraw);
}

BOOL CQVTButton::SetBitmap(CSize size, UINT nID, BOOL bRedraw)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CQVTImageManager::LoadBitmapFromResource(MAKEINTRESOURCE(nID), &bAlpha);
    if (!hBitmap)
        return FALSE;
    CQVTImageManagerRasterImageHandle imageNormal, imageHot;
    if (bAlpha)
    {
        imageNormal.AttachBitmap(hBitmap);
    }
    else
    {
        // A bitmap without alpha becomes an icon, its mask colour transparent.
        HICON hIcon = CQVTDrawHelpers::IconFromBitmapMasked(hBitmap);
        ::DeleteObject(hBitmap);
        if (!hIcon)
            return FALSE;
        imageNormal.AttachIcon(hIcon);
    }
    return SetIcon(size, imageNormal, imageHot, bRedraw);
}

CString CQVTButton::GetButtonText() const
{
    CString strText;
    if (m_hWnd)
        GetWindowText(strText);
    return strText;
}

COLORREF CQVTButton::GetTextColor() const
{
    int nKind = m_pTheme ? m_pTheme->GetThemeKind() : 0;
    if (!m_pTheme || nKind == 2 || nKind == 3 || nKind == 7)
        return ::GetSysColor(COLOR_BTNTEXT);
    return (COLORREF)-1;
}

COLORREF CQVTButton::GetBackColor() const
{
    return ::GetSysColor(COLOR_BTNFACE);
}

void CQVTButton::EnableMarkup(BOOL bEnable)
{
    m_bEnableMarkup = bEnable;
    MarkupReleaseElement(m_pMarkupUIElement);
    MarkupReleaseContext(m_pMarkupContext);
    if (bEnable)
        m_pMarkupContext = MarkupCreateContext(m_hWnd, TRUE);
    UpdateMarkup();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CQVTButton::UpdateMarkup()
{
    if (!m_bEnableMarkup)
        return;
    // A caption that is not markup leaves no element: the plain text shows.
    MarkupReleaseElement(m_pMarkupUIElement);
    m_pMarkupUIElement = MarkupParseText(m_pMarkupContext, GetButtonText());
}

void CQVTButton::NotifyParent()
{
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), notifyCode), (LPARAM)m_hWnd);
}

void CQVTButton::DrawButton(CDC* pDC)
{
    m_pTheme->DrawButton(pDC, this);
}

void CQVTButton::OnDraw(CDC* pDC)
{
    CRect rc = GetButtonRect();
    HFONT hFont = (HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0);
    if (GetButtonStyle() == BS_GROUPBOX)
    {
        HGDIOBJ hOldFont = hFont ? ::SelectObject(pDC->m_hDC, hFont) : nullptr;
        pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
        pDC->SetBkMode(TRANSPARENT);
        DrawButton(pDC);
        if (hOldFont)
            ::SelectObject(pDC->m_hDC, hOldFont);
        return;
    }
    CQVTBufferDC dc(pDC->m_hDC, rc);
    HBRUSH hBrush = nullptr;
    if (CWnd* pParent = GetParent())
        hBrush = (HBRUSH)pParent->SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)m_hWnd);
    if (hBrush)
        ::FillRect(dc.m_hDC, &rc, hBrush);
    else
        dc.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
    HGDIOBJ hOldFont = hFont ? ::SelectObject(dc.m_hDC, hFont) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    DrawButton(&dc);
    if (hOldFont)
        ::SelectObject(dc.m_hDC, hOldFont);
}

INT_PTR CQVTButton::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    if (m_strTooltip.IsEmpty())
        return -1;
    CRect rc = GetButtonRect();
    rc.DeflateRect(QVTDpiScaler()->ScaleX(2), QVTDpiScaler()->ScaleY(2));
    if (!rc.PtInRect(point))
        return -1;
    CQVTToolTipContext::FillInToolInfoEx(pTI, m_hWnd, rc, 1, m_strTooltip, GetButtonText());
    return 1;
}

BOOL CQVTButton::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE)
        RefreshMetrics();
    // The caption's markup sees the message first: its hyperlinks work.
    if (m_pMarkupUIElement)
    {
        LRESULT lResult = 0;
        if (MarkupRelayElementMessage(m_pMarkupUIElement, message, wParam, lParam, &lResult))
        {
            if (pResult)
                *pResult = lResult;
            return TRUE;
        }
    }
    if (m_pToolTipContext)
        m_pToolTipContext->RelayToolTipMessage(this, message, wParam, lParam);
    return CButton::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT CQVTButton::DefaultWithoutPainting()
{
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bVisible)
        ::SetWindowLong(m_hWnd, GWL_STYLE, GetStyle() & ~WS_VISIBLE);
    LRESULT lResult = Default();
    if (bVisible && ::IsWindow(m_hWnd))
        ::SetWindowLong(m_hWnd, GWL_STYLE, GetStyle() | WS_VISIBLE);
    return lResult;
}

BOOL CQVTButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQVTButton::UpdateHot(CPoint point)
{
    BOOL bHot = GetButtonRect().PtInRect(point);
    if (bHot == m_bHot)
        return;
    m_bHot = bHot;
    Invalidate(FALSE);
    if (m_bHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
}

void CQVTButton::OnMouseMove(UINT, CPoint point)
{
    if (GetButtonStyle() == BS_GROUPBOX)
        return;
    Default();
    UpdateHot(point);
}

void CQVTButton::OnMouseLeave()
{
    if (GetButtonStyle() == BS_GROUPBOX)
        return;
    UpdateHot(CPoint(-1, -1));
}

void CQVTButton::OnSetFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
    UpdateWindow();
}

void CQVTButton::OnKillFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
    UpdateWindow();
}

void CQVTButton::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

LRESULT CQVTButton::OnPrintClientMessage(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return Default();
    CDC* pDC = CDC::FromHandle((HDC)wParam);
    if (pDC)
        OnDraw(pDC);
    return 1;
}

LRESULT CQVTButton::OnSetStyle(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    Invalidate(FALSE);
    UpdateWindow();
    return lResult;
}

void CQVTButton::OnCaptureChanged(CWnd*)
{
    Default();
    Invalidate(FALSE);
    UpdateWindow();
}

LRESULT CQVTButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    Default();
    m_bChecked = wParam == BST_CHECKED;
    Invalidate(FALSE);
    return 0;
}

LRESULT CQVTButton::OnSetState(WPARAM wParam, LPARAM)
{
    DefaultWithoutPainting();
    m_nPushedState = wParam != 0;
    Invalidate(FALSE);
    return 0;
}

LRESULT CQVTButton::OnSetText(WPARAM, LPARAM)
{
    LRESULT lResult = DefaultWithoutPainting();
    UpdateMarkup();
    Invalidate(FALSE);
    return lResult;
}

void CQVTButton::OnEnable(BOOL)
{
    Invalidate(FALSE);
    UpdateWindow();
}

LRESULT CQVTButton::OnUpdateUIStateMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = ::DefWindowProc(m_hWnd, WM_UPDATEUISTATE, wParam, lParam);
    Invalidate(FALSE);
    return lResult;
}

LRESULT CQVTButton::OnSetTheme(WPARAM wParam, LPARAM)
{
    SetTheme((int)wParam);
    return 0;
}

STDMETHODIMP_(ULONG) CQVTButton::XCmdTargetProvider::AddRef()
{
    METHOD_PROLOGUE(CQVTButton, CmdTargetProvider)
    return pThis->ExternalAddRef();
}

STDMETHODIMP_(ULONG) CQVTButton::XCmdTargetProvider::Release()
{
    METHOD_PROLOGUE(CQVTButton, CmdTargetProvider)
    return pThis->ExternalRelease();
}

STDMETHODIMP CQVTButton::XCmdTargetProvider::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    METHOD_PROLOGUE(CQVTButton, CmdTargetProvider)
    return (HRESULT)pThis->ExternalQueryInterface(&iid, ppvObj);
}

CCmdTarget* STDMETHODCALLTYPE CQVTButton::XCmdTargetProvider::GetCmdTarget()
{
    METHOD_PROLOGUE(CQVTButton, CmdTargetProvider)
    return pThis;
}
