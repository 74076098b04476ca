#include "toolkit/controls/hyperlink/QVTHyperLink.h"

#include <shellapi.h>

#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace QVTHyperLinkText {

// The shell's error codes with their texts.
const struct
{
    int nError;
    UINT nID;
} kErrorTexts[] = {
    {0, QVT_IDS_HYPERLINK_ERROR_OUT_OF_RESOURCES},
    {ERROR_FILE_NOT_FOUND, QVT_IDS_HYPERLINK_ERROR_FILE_NOT_FOUND},
    {ERROR_PATH_NOT_FOUND, QVT_IDS_HYPERLINK_ERROR_PATH_NOT_FOUND},
    {SE_ERR_ACCESSDENIED, QVT_IDS_HYPERLINK_ERROR_ACCESS_DENIED},
    {SE_ERR_OOM, QVT_IDS_HYPERLINK_ERROR_OUT_OF_MEMORY},
    {ERROR_BAD_FORMAT, QVT_IDS_HYPERLINK_ERROR_BAD_FORMAT},
    {SE_ERR_SHARE, QVT_IDS_HYPERLINK_ERROR_SHARE},
    {SE_ERR_ASSOCINCOMPLETE, QVT_IDS_HYPERLINK_ERROR_ASSOC_INCOMPLETE},
    {SE_ERR_DDETIMEOUT, QVT_IDS_HYPERLINK_ERROR_DDE_TIMEOUT},
    {SE_ERR_DDEFAIL, QVT_IDS_HYPERLINK_ERROR_DDE_FAIL},
    {SE_ERR_DDEBUSY, QVT_IDS_HYPERLINK_ERROR_DDE_BUSY},
    {SE_ERR_NOASSOC, QVT_IDS_HYPERLINK_ERROR_NO_ASSOC},
    {SE_ERR_DLLNOTFOUND, QVT_IDS_HYPERLINK_ERROR_DLL_NOT_FOUND},
};

}  // namespace QVTHyperLinkText

IMPLEMENT_DYNAMIC(CQVTHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CQVTHyperLink, CStatic)
    ON_WM_CREATE()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, &CQVTHyperLink::OnClicked)
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_GETDLGCODE, &CQVTHyperLink::OnGetDlgCode)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CQVTHyperLink::CQVTHyperLink()
    : m_bLaunchOnClick(1), m_bSubclassed(1), m_bUnderline(1), m_bHover(0), m_bVisited(0), m_bToolTipOn(1),
      m_hLinkCursor(nullptr), m_crLink(RGB(0, 0, 255)), m_crHover(RGB(255, 0, 0)),
      m_crVisited(RGB(128, 0, 128)), m_crBack(static_cast<COLORREF>(noBackColor))
{
    m_hLinkCursor = ::LoadCursorW(nullptr, IDC_HAND);
    if (m_hLinkCursor == nullptr)
        m_hLinkCursor = QVTResourceManager()->LoadCursor(QVT_IDC_HAND);
}

CQVTHyperLink::~CQVTHyperLink() = default;

void CQVTHyperLink::Redraw()
{
    if (m_hWnd != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQVTHyperLink::SetURL(LPCTSTR lpszURL)
{
    m_strURL = lpszURL != nullptr ? lpszURL : _T("");
    // The tip shows the address: a new address brings its own tip.
    m_strTip = m_strURL;
    if (m_strTip.IsEmpty() || m_hWnd == nullptr)
        return;
    if (m_wndToolTip.m_hWnd == nullptr)
    {
        if (!m_wndToolTip.Create(this))
            return;
        m_wndToolTip.AddTool(this, m_strTip);
        m_wndToolTip.Activate(m_bToolTipOn);
    }
    else
        m_wndToolTip.UpdateTipText(m_strTip, this);
}

CString CQVTHyperLink::GetURL() const
{
    return m_strURL;
}

void CQVTHyperLink::SetColors(COLORREF crLink, COLORREF crVisited, COLORREF crHover)
{
    m_crLink = crLink;
    m_crVisited = crVisited;
    m_crHover = crHover;
    Redraw();
}

COLORREF CQVTHyperLink::GetLinkColor() const
{
    return m_crLink;
}

COLORREF CQVTHyperLink::GetVisitedColor() const
{
    return m_crVisited;
}

COLORREF CQVTHyperLink::GetHoverColor() const
{
    return m_crHover;
}

void CQVTHyperLink::SetVisited(BOOL bVisited)
{
    m_bVisited = bVisited ? 1 : 0;
    Redraw();
}

BOOL CQVTHyperLink::IsVisited() const
{
    return m_bVisited;
}

void CQVTHyperLink::SetLinkCursor(HCURSOR hCursor)
{
    m_hLinkCursor = hCursor;
}

HCURSOR CQVTHyperLink::GetLinkCursor() const
{
    return m_hLinkCursor;
}

void CQVTHyperLink::SetUnderline(BOOL bUnderline)
{
    m_bUnderline = bUnderline ? 1 : 0;
    UpdateFont();
}

BOOL CQVTHyperLink::GetUnderline() const
{
    return m_bUnderline;
}

void CQVTHyperLink::SetBackColor(COLORREF crBack)
{
    m_crBack = crBack;
    Redraw();
}

COLORREF CQVTHyperLink::GetBackColor() const
{
    return m_crBack == static_cast<COLORREF>(noBackColor) ? GetColorByIndex(COLOR_BTNFACE) : m_crBack;
}

BOOL CQVTHyperLink::GotoURL(LPCTSTR lpszURL, int nShowCmd, LPCTSTR lpszParameters, LPCTSTR lpszDirectory)
{
    CString strURL = lpszURL != nullptr ? CString(lpszURL) : m_strURL;
    HINSTANCE hResult = ::ShellExecuteW(nullptr, _T("open"), strURL, lpszParameters, lpszDirectory, nShowCmd);
    const INT_PTR nResult = reinterpret_cast<INT_PTR>(hResult);
    if (nResult > 32)
        return TRUE;
    ReportError(static_cast<int>(nResult));
    return FALSE;
}

BOOL CQVTHyperLink::IsLinkStyle() const
{
    return (GetStyle() & 0xFF) < 3;
}

BOOL CQVTHyperLink::IsMouseOverText() const
{
    if (m_hWnd == nullptr)
        return FALSE;
    CString strText;
    GetWindowText(strText);
    CSize sizeText(0, 0);
    HDC hDC = ::GetDC(nullptr);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    ::GetTextExtentPoint32W(hDC, strText, strText.GetLength(), &sizeText);
    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(nullptr, hDC);

    CRect rc;
    GetWindowRect(&rc);
    switch (GetStyle() & 3)
    {
    case SS_LEFT:
        rc.right = rc.left + sizeText.cx;
        break;
    case SS_CENTER:
    {
        const int nInset = (rc.Width() - sizeText.cx) / 2;
        rc.left += nInset;
        rc.right -= nInset;
        break;
    }
    case SS_RIGHT:
        rc.left = rc.right - sizeText.cx;
        break;
    default:
        break;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    return rc.PtInRect(pt);
}

CString AFX_CDECL CQVTHyperLink::InsertErrorNumber(const CString& strFormat, int nError)
{
    CString strNumber;
    strNumber.Format(_T("%d"), nError);
    CString strText;
    BOOL bInserted = FALSE;
    const int nLength = strFormat.GetLength();
    for (int i = 0; i < nLength; ++i)
    {
        const TCHAR ch = strFormat[i];
        if (ch == _T('%') && i + 1 < nLength)
        {
            const TCHAR next = strFormat[i + 1];
            if (next == _T('%'))
            {
                strText += _T('%');
                ++i;
                continue;
            }
            if (next == _T('d') && !bInserted)
            {
                strText += strNumber;
                bInserted = TRUE;
                ++i;
                continue;
            }
        }
        strText += ch;
    }
    return strText;
}

CString AFX_CDECL CQVTHyperLink::GetErrorText(int nError)
{
    CString strText;
    for (const auto& entry : QVTHyperLinkText::kErrorTexts)
    {
        if (entry.nError == nError)
        {
            QVTResourceManager()->LoadString(&strText, entry.nID);
            return strText;
        }
    }
    QVTResourceManager()->LoadString(&strText, QVT_IDS_HYPERLINK_ERROR_UNKNOWN);
    return InsertErrorNumber(strText, nError);
}

void CQVTHyperLink::ReportError(int nError)
{
    CString strText = GetErrorText(nError);
    ::MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox(strText, MB_ICONEXCLAMATION);
}

void CQVTHyperLink::Init()
{
    if (IsLinkStyle())
    {
        if (m_strURL.IsEmpty())
            GetWindowText(m_strURL);
        SetURL(m_strURL);
    }
    ModifyStyle(0, SS_NOTIFY);
    UpdateFont();
}

void CQVTHyperLink::UpdateFont()
{
    if (m_hWnd == nullptr)
        return;
    CreateLinkFont(m_font, m_bUnderline);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), TRUE);
    Redraw();
}

void CQVTHyperLink::CreateLinkFont(CQVTFont& font, BOOL bUnderline)
{
    LOGFONT lf = {};
    HFONT hCurrent =
        m_hWnd != nullptr ? reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
    if (hCurrent == nullptr || ::GetObjectW(hCurrent, sizeof(lf), &lf) == 0)
        CQVTDrawHelpers::GetIconTitleLogFont(&lf);
    lf.lfUnderline = bUnderline ? 1 : 0;
    font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

BOOL CQVTHyperLink::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndToolTip.m_hWnd != nullptr && m_bToolTipOn)
        m_wndToolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

BOOL CQVTHyperLink::PreCreateWindow(CREATESTRUCT& cs)
{
    m_bSubclassed = 0;
    return CStatic::PreCreateWindow(cs);
}

void CQVTHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (m_bSubclassed)
        Init();
}

int CQVTHyperLink::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    Init();
    return 0;
}

LRESULT CQVTHyperLink::OnNcHitTest(CPoint)
{
    // A static is transparent to the mouse otherwise.
    return HTCLIENT;
}

BOOL CQVTHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hLinkCursor != nullptr && IsLinkStyle() && IsMouseOverText())
    {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CQVTHyperLink::OnMouseMove(UINT nFlags, CPoint point)
{
    // No leave notice is asked for: the timer notices the pointer leaving.
    if (IsLinkStyle() && IsMouseOverText())
        SetTimer(timerHover, hoverPollMs, nullptr);
    CStatic::OnMouseMove(nFlags, point);
}

void CQVTHyperLink::OnTimer(UINT_PTR nIDEvent)
{
    if (IsLinkStyle() && nIDEvent == timerHover)
    {
        const BYTE bHover = IsMouseOverText() ? 1 : 0;
        if (bHover != m_bHover)
        {
            m_bHover = bHover;
            Redraw();
        }
        if (!m_bHover)
            KillTimer(timerHover);
    }
    CStatic::OnTimer(nIDEvent);
}

HBRUSH CQVTHyperLink::CtlColor(CDC* pDC, UINT)
{
    if (!IsLinkStyle())
        return nullptr;
    HBRUSH hBrush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    CWnd* pParent = GetParent();
    if (m_crBack == static_cast<COLORREF>(noBackColor) && pParent != nullptr)
        hBrush = reinterpret_cast<HBRUSH>(::DefWindowProcW(pParent->m_hWnd, WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(pDC->m_hDC),
                                                           reinterpret_cast<LPARAM>(m_hWnd)));
    if (m_bHover || ::GetFocus() == m_hWnd)
        pDC->SetTextColor(m_crHover);
    else if (m_bVisited)
        pDC->SetTextColor(m_crVisited);
    else
        pDC->SetTextColor(m_crLink);
    pDC->SetBkMode(TRANSPARENT);
    return hBrush;
}

void CQVTHyperLink::FollowLink()
{
    if (m_bLaunchOnClick)
        m_bVisited = GotoURL(nullptr, SW_SHOW, nullptr, nullptr) ? 1 : 0;
    else
        m_bVisited = 1;
    Redraw();
    if (m_wndToolTip.m_hWnd != nullptr && m_wndToolTip.IsWindowVisible())
        m_wndToolTip.Pop();
}

BOOL CQVTHyperLink::OnClicked()
{
    // Only link statics navigate, and a click beside the text is no click
    // on the link: neither opens it nor reaches the parent.
    if (!IsLinkStyle())
        return TRUE;
    const BOOL bFromKey = m_bKeyClick;
    m_bKeyClick = FALSE;
    if (!bFromKey && !IsMouseOverText())
        return TRUE;
    FollowLink();
    return FALSE;
}

void CQVTHyperLink::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CStatic::OnKeyDown(nChar, nRepCnt, nFlags);
    if (nChar != VK_SPACE && nChar != VK_RETURN)
        return;
    // A held key repeats its press: the link opens once per press.
    if (nFlags & KF_REPEAT)
        return;
    if (!IsLinkStyle())
        return;
    // Reported to the parent as the click it stands for; a parent of the
    // framework reflects it back to OnClicked first.
    m_bKeyClick = TRUE;
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), STN_CLICKED),
                             reinterpret_cast<LPARAM>(m_hWnd));
    if (m_bKeyClick)
    {
        // Nobody reflected it.
        m_bKeyClick = FALSE;
        FollowLink();
    }
}

LRESULT CQVTHyperLink::OnGetDlgCode(WPARAM, LPARAM lParam)
{
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (pMsg != nullptr)
    {
        if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE))
            return DLGC_WANTALLKEYS;
        if (pMsg->message == WM_CHAR && pMsg->wParam == VK_RETURN)
            return DLGC_WANTCHARS;
    }
    return DLGC_UNDEFPUSHBUTTON;
}

void CQVTHyperLink::OnSetFocus(CWnd* pOldWnd)
{
    CStatic::OnSetFocus(pOldWnd);
    Invalidate();
}

void CQVTHyperLink::OnKillFocus(CWnd* pNewWnd)
{
    CStatic::OnKillFocus(pNewWnd);
    Invalidate();
}

BOOL CQVTHyperLink::OnEraseBkgnd(CDC* pDC)
{
    if (m_crBack == static_cast<COLORREF>(noBackColor))
        return CStatic::OnEraseBkgnd(pDC);
    return TRUE;
}

void CQVTHyperLink::OnPaint()
{
    if (m_crBack == static_cast<COLORREF>(noBackColor) || (GetExStyle() & WS_EX_TRANSPARENT))
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CDC dcBuffer;
    CBitmap bitmap;
    if (!dcBuffer.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
        return;
    CBitmap* pOldBitmap = dcBuffer.SelectObject(&bitmap);
    dcBuffer.FillSolidRect(rcClient, GetBackColor());
    // The static paints into a DC handed to it.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dcBuffer.m_hDC), 0);
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcBuffer, 0, 0, SRCCOPY);
    dcBuffer.SelectObject(pOldBitmap);
}

void CQVTHyperLink::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CStatic::OnWindowPosChanged(lpwndpos);
    Redraw();
}
