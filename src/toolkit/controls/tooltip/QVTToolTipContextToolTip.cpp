#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"
#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/foundation/core/QVTMultiMonitor.h"
#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CQVTToolTipContextToolTip, CWnd)

namespace {

const TCHAR kClassName[] = _T("QVTToolTipContextToolTip");
const TCHAR kClassNameNoShadow[] = _T("QVTToolTipContextToolTipNoShadow");
const int kDefaultCursorHeight = 21;

// The window whose tip the thread's mouse hook guards.
DWORD HookSlot()
{
    static DWORD dwSlot = ::TlsAlloc();
    return dwSlot;
}

}  // namespace

BEGIN_MESSAGE_MAP(CQVTToolTipContextToolTip, CWnd)
    ON_MESSAGE(TTM_ACTIVATE, &CQVTToolTipContextToolTip::OnActivate)
    ON_MESSAGE(TTM_SETDELAYTIME, &CQVTToolTipContextToolTip::OnSetDelayTime)
    ON_MESSAGE(TTM_GETDELAYTIME, &CQVTToolTipContextToolTip::OnGetDelayTime)
    ON_MESSAGE(TTM_ADDTOOLW, &CQVTToolTipContextToolTip::OnAddTool)
    ON_MESSAGE(TTM_DELTOOLW, &CQVTToolTipContextToolTip::OnDelTool)
    ON_MESSAGE(TTM_RELAYEVENT, &CQVTToolTipContextToolTip::OnRelayEvent)
    ON_MESSAGE(TTM_SETTITLEW, &CQVTToolTipContextToolTip::OnSetTitle)
    ON_MESSAGE(TTM_UPDATETIPTEXTW, &CQVTToolTipContextToolTip::OnUpdateTipText)
    ON_MESSAGE(TTM_WINDOWFROMPOINT, &CQVTToolTipContextToolTip::OnWindowFromPoint)
    ON_MESSAGE(TTM_GETTOOLCOUNT, &CQVTToolTipContextToolTip::OnGetToolCount)
    ON_MESSAGE(TTM_POP, &CQVTToolTipContextToolTip::OnPop)
    ON_MESSAGE(CQVTToolTipContext::WM_QVT_TOOLTIPSETIMAGE, &CQVTToolTipContextToolTip::OnSetImage)
    ON_MESSAGE(WM_PRINTCLIENT, &CQVTToolTipContextToolTip::OnPrintClientMessage)
    ON_MESSAGE(WM_SETFONT, &CQVTToolTipContextToolTip::OnSetFontMessage)
    ON_MESSAGE(WM_GETFONT, &CQVTToolTipContextToolTip::OnGetFontMessage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVTToolTipContextToolTip::CQVTToolTipContextToolTip(CQVTToolTipContext* pContext)
    : m_pContext(pContext), m_bActive(FALSE), m_bToolShown(FALSE), m_hwndClicked(nullptr), m_uIdClicked(0),
      m_bClicked(FALSE), m_hwndPending(nullptr), m_uIdPending(0), m_bPending(FALSE), m_dwLastShowHide(0),
      m_nDelayInitial(500), m_nDelayReshow(200), m_nDelayAutoPop(0), m_nTimerShow(0), m_nTimerAutoPop(0),
      m_nTitleIcon(TTI_NONE), m_pImage(nullptr), m_bRegion(FALSE), m_hFont(nullptr), m_hMouseHook(nullptr),
      m_nBusy(0), m_bDeleteWhenIdle(FALSE), m_pHeldContext(nullptr)
{
}

CQVTToolTipContextToolTip::~CQVTToolTipContextToolTip()
{
    if (m_hWnd)
        DestroyWindow();
    RemoveHook();
    RemoveAllTools();
    if (m_pImage)
        m_pImage->InternalRelease();
}

BOOL CQVTToolTipContextToolTip::DeleteWhenIdle()
{
    if (m_nBusy == 0)
        return FALSE;
    m_bDeleteWhenIdle = TRUE;
    return TRUE;
}

void CQVTToolTipContextToolTip::HoldContext()
{
    if (m_pHeldContext || !m_pContext || m_nBusy == 0)
        return;
    m_pContext->InternalAddRef();
    m_pHeldContext = m_pContext;
}

void CQVTToolTipContextToolTip::LeaveBusy()
{
    if (--m_nBusy > 0)
        return;
    CQVTToolTipContext* pHeld = m_pHeldContext;
    m_pHeldContext = nullptr;
    if (m_bDeleteWhenIdle)
        delete this;
    // The last reference takes the context and, with it, this window.
    if (pHeld)
        pHeld->InternalRelease();
}

LRESULT CQVTToolTipContextToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CBusyScope busy(this);
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CQVTToolTipContextToolTip::Create(CWnd* pOwner, DWORD dwStyle)
{
    BOOL bShadow = !(dwStyle & CQVTToolTipContext::styleNoShadow) && QVTOSVersion()->IsWinXPOrGreater();
    LPCTSTR lpszClass = bShadow ? kClassName : kClassNameNoShadow;
    UINT nClassStyle = CS_SAVEBITS | CS_OWNDC | (bShadow ? CS_DROPSHADOW : 0);
    if (!CQVTDrawHelpers::RegisterWindowClass(nullptr, lpszClass, nClassStyle))
        return FALSE;
    // A click on the tip belongs to what lies under it. Wine hands a click
    // on a window that answers HTTRANSPARENT on only to its owner, and only
    // when the owner is the next window down: another window between them
    // (the tray's) swallowed the click on a button under its tip. The
    // server itself passes over a transparent layered window, which paints
    // as any other at full opacity.
    if (!CWnd::CreateEx(WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TRANSPARENT, lpszClass, nullptr,
                        WS_POPUP | dwStyle | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                        pOwner ? pOwner->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    ::SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
    return TRUE;
}

int CQVTToolTipContextToolTip::Scale(int nPixels) const
{
    return QVTDpiScaler()->ScaleX(nPixels);
}

void CQVTToolTipContextToolTip::RemoveAllTools()
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i)
        delete m_arrTools[i];
    m_arrTools.RemoveAll();
}

CQVTToolTipContextToolTip::TOOLITEM* CQVTToolTipContextToolTip::FindTool(HWND hWnd, UINT_PTR uId) const
{
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i)
        if (m_arrTools[i]->hwnd == hWnd && m_arrTools[i]->uId == uId)
            return m_arrTools[i];
    return nullptr;
}

BOOL CQVTToolTipContextToolTip::IsSameTool(const TOOLITEM* pTool, HWND hWnd, UINT_PTR uId) const
{
    return pTool && pTool->hwnd == hWnd && pTool->uId == uId;
}

HWND CQVTToolTipContextToolTip::WindowFromPoint(CPoint ptScreen) const
{
    HWND hWnd = ::WindowFromPoint(ptScreen);
    // Windows that are part of a larger tool stand for their parent.
    if (hWnd && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) &&
        ::SendMessage(hWnd, CQVTToolTipContext::WM_QVT_TOOLTIPPARENTTOOL, 0, 0) == 1)
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

CQVTToolTipContextToolTip::TOOLITEM* CQVTToolTipContextToolTip::ToolFromPoint(CPoint ptScreen) const
{
    HWND hWndUnder = WindowFromPoint(ptScreen);
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i)
    {
        TOOLITEM* pTool = m_arrTools[i];
        if (pTool->uFlags & TTF_IDISHWND)
        {
            CRect rc;
            HWND hTool = (HWND)pTool->uId;
            if (::IsWindow(hTool) && ::GetWindowRect(hTool, &rc) && rc.PtInRect(ptScreen))
                return pTool;
            continue;
        }
        if (pTool->hwnd != hWndUnder || !::IsWindow(pTool->hwnd))
            continue;
        CRect rc(pTool->rect);
        ::MapWindowPoints(pTool->hwnd, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
        rc.NormalizeRect();
        if (rc.PtInRect(ptScreen))
            return pTool;
    }
    return nullptr;
}

CString CQVTToolTipContextToolTip::GetToolText(const TOOLITEM* pTool)
{
    if (!pTool)
        return CString();
    if (!pTool->bTextCallback)
        return pTool->strText;
    // The owner gives the text now.
    NMTTDISPINFOW info;
    ZeroMemory(&info, sizeof(info));
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = pTool->uId;
    info.hdr.code = TTN_GETDISPINFOW;
    info.uFlags = pTool->uFlags;
    info.lpszText = info.szText;
    ::SendMessage(pTool->hwnd, WM_NOTIFY, (WPARAM)pTool->uId, (LPARAM)&info);
    if (info.lpszText && IS_INTRESOURCE(info.lpszText))
    {
        CString strText;
        if (info.hinst)
        {
            WCHAR szText[1024] = {};
            ::LoadStringW(info.hinst, (UINT)(UINT_PTR)info.lpszText, szText, _countof(szText));
            strText = szText;
        }
        return strText;
    }
    return info.lpszText ? CString(info.lpszText) : CString();
}

COLORREF CQVTToolTipContextToolTip::GetTipTextColor() const
{
    if (m_pContext->GetTipTextColor() != (COLORREF)-1)
        return m_pContext->GetTipTextColor();
    if (GetStyle() & CQVTToolTipContext::styleOffice)
        return RGB(0x4C, 0x4C, 0x4C);
    return ::GetSysColor(COLOR_INFOTEXT);
}

COLORREF CQVTToolTipContextToolTip::GetTipBackColor() const
{
    if (m_pContext->GetTipBkColor() != (COLORREF)-1)
        return m_pContext->GetTipBkColor();
    return ::GetSysColor(COLOR_INFOBK);
}

CRect CQVTToolTipContextToolTip::GetContentRect(CRect rc) const
{
    const CRect& rcMargin = m_pContext->GetMargin();
    int nPad = Scale(3);
    rc.left += rcMargin.left + nPad;
    rc.top += rcMargin.top + nPad;
    rc.right -= rcMargin.right + nPad;
    rc.bottom -= rcMargin.bottom + nPad;
    return rc;
}

BOOL CQVTToolTipContextToolTip::IsOwnerRightToLeft(const TOOLITEM* pTool) const
{
    return pTool && ::IsWindow(pTool->hwnd) && (::GetWindowLong(pTool->hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}

CSize CQVTToolTipContextToolTip::GetImageSize() const
{
    if (!m_pImage)
        return CSize(0, 0);
    // Icons take the size the context asks for; bitmaps their own.
    if (m_pImage->IsVectorIcon() || m_pImage->GetNormalImage().GetIcon() || m_pImage->GetExtent().cx <= 0)
    {
        if (m_pContext->GetImageSize() == 0)
            return CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
        return CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    }
    return m_pImage->GetExtent();
}

BOOL CQVTToolTipContextToolTip::CalcLayout(CDC* pDC, TOOLITEM* pTool, LAYOUT& layout)
{
    layout = LAYOUT();
    layout.strBody = GetToolText(pTool);
    if (layout.strBody.IsEmpty())
        return FALSE;

    const CRect& rcMargin = m_pContext->GetMargin();
    int nPad = Scale(3);
    int nFrameX = rcMargin.left + rcMargin.right + 2 * nPad;
    int nFrameY = rcMargin.top + rcMargin.bottom + 2 * nPad;
    BOOL bTitle = !m_strTitle.IsEmpty();

    CSize szImage = GetImageSize();
    layout.szImage = szImage;
    BOOL bSmallImage = szImage.cy > 0 && szImage.cy <= Scale(16);
    BOOL bTallImage = szImage.cy > Scale(16);
    int nColumn = bTallImage ? szImage.cx + Scale(5) : 0;

    // Title: one bold line.
    CSize szTitleBlock(0, 0);
    CSize szTitle(0, 0);
    int nTitleX = Scale(2) + (bSmallImage ? szImage.cx + Scale(1) : 0);
    if (bTitle)
    {
        CQVTFontDC font(pDC, &m_pContext->GetBoldFont());
        CRect rcCalc(0, 0, 0, 0);
        pDC->DrawText(m_strTitle, &rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        szTitle = rcCalc.Size();
        szTitleBlock = CSize(nTitleX + szTitle.cx + Scale(4), szTitle.cy + Scale(10));
    }

    // Body: the text word-wrapped at the maximum width.
    int nMaxWidth = m_pContext->GetMaxTipWidth() - nFrameX - nColumn;
    if (bTitle)
        nMaxWidth -= Scale(25);
    nMaxWidth = std::max(nMaxWidth, Scale(16));
    CQVTFontDC font(pDC, &m_pContext->GetFont());
    CRect rcBody(0, 0, nMaxWidth, 0);
    pDC->DrawText(layout.strBody, &rcBody, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    CSize szBody = rcBody.Size();

    int nBodyX, nBodyY;
    if (bTitle)
    {
        nBodyX = Scale(10);
        nBodyY = szTitle.cy + Scale(12);
    }
    else
    {
        nBodyX = bSmallImage ? szImage.cx + Scale(3) : 0;
        nBodyY = 0;
    }
    int nBodyRight = nBodyX + szBody.cx + (bTitle ? Scale(15) : 0);
    int nWidth = std::max(szTitleBlock.cx, nBodyRight) + nColumn;
    int nHeight = std::max(nBodyY + szBody.cy, bTallImage ? szImage.cy : (bSmallImage ? szImage.cy : 0));
    if (bTitle)
        nHeight = std::max(nHeight, szTitleBlock.cy + szBody.cy);

    CPoint ptOrigin(rcMargin.left + nPad, rcMargin.top + nPad);
    layout.rcTitle = CRect(CPoint(ptOrigin.x + nColumn + nTitleX, ptOrigin.y + Scale(2)), szTitle);
    layout.rcBody = CRect(CPoint(ptOrigin.x + nColumn + nBodyX, ptOrigin.y + nBodyY), szBody);
    if (szImage.cx > 0)
        layout.rcImage = CRect(ptOrigin, szImage);
    layout.szTip = CSize(nWidth + nFrameX, nHeight + nFrameY);

    // Right-to-left owners read the tip mirrored.
    if (IsOwnerRightToLeft(pTool))
    {
        auto mirror = [&](CRect& rc) {
            if (rc.IsRectNull())
                return;
            int nLeft = layout.szTip.cx - rc.right;
            rc.OffsetRect(nLeft - rc.left, 0);
        };
        mirror(layout.rcTitle);
        mirror(layout.rcBody);
        mirror(layout.rcImage);
    }
    return TRUE;
}

CSize CQVTToolTipContextToolTip::CalcToolSize(CDC* pDC, TOOLITEM* pTool)
{
    LAYOUT layout;
    if (!CalcLayout(pDC, pTool, layout))
        return CSize(0, 0);
    return layout.szTip;
}

void CQVTToolTipContextToolTip::DrawBackground(CDC* pDC, TOOLITEM*, CRect rc)
{
    pDC->FillSolidRect(rc, GetTipBackColor());
    COLORREF clrTopLeft =
        (GetStyle() & CQVTToolTipContext::styleFrame3D) ? ::GetSysColor(COLOR_3DFACE) : RGB(0, 0, 0);
    pDC->Draw3dRect(rc, clrTopLeft, RGB(0, 0, 0));
}

void CQVTToolTipContextToolTip::DrawTool(CDC* pDC, TOOLITEM* pTool, CRect)
{
    LAYOUT layout;
    if (!CalcLayout(pDC, pTool, layout))
        return;
    BOOL bRTL = IsOwnerRightToLeft(pTool);
    UINT nRTL = bRTL ? (DT_RTLREADING | DT_RIGHT) : 0;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetTipTextColor());
    if (m_pImage && !layout.rcImage.IsRectEmpty())
        m_pImage->DrawSized(pDC, layout.rcImage.TopLeft(), layout.rcImage.Size());
    if (!m_strTitle.IsEmpty())
    {
        CQVTFontDC font(pDC, &m_pContext->GetBoldFont());
        pDC->DrawText(m_strTitle, layout.rcTitle, DT_SINGLELINE | DT_NOPREFIX | nRTL);
    }
    CQVTFontDC font(pDC, &m_pContext->GetFont());
    pDC->DrawText(layout.strBody, layout.rcBody, DT_WORDBREAK | DT_NOPREFIX | nRTL);
}

void CQVTToolTipContextToolTip::OnShow(BOOL) {}

void CQVTToolTipContextToolTip::Paint(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    TOOLITEM* pTool = m_bToolShown ? &m_toolShown : nullptr;
    DrawBackground(pDC, pTool, rc);
    if (pTool)
        DrawTool(pDC, pTool, rc);
}

void CQVTToolTipContextToolTip::OnPaint()
{
    CPaintDC dc(this);
    Paint(&dc);
}

LRESULT CQVTToolTipContextToolTip::OnPrintClientMessage(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle((HDC)wParam);
    if (pDC)
        Paint(pDC);
    return 0;
}

BOOL CQVTToolTipContextToolTip::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CQVTToolTipContextToolTip::OnNcHitTest(CPoint)
{
    return HTTRANSPARENT;
}

int CQVTToolTipContextToolTip::OnMouseActivate(CWnd*, UINT, UINT)
{
    return MA_NOACTIVATE;
}

void CQVTToolTipContextToolTip::OnMouseMove(UINT, CPoint)
{
    Hide();
}

LRESULT CQVTToolTipContextToolTip::OnSetFontMessage(WPARAM wParam, LPARAM)
{
    m_hFont = (HFONT)wParam;
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnGetFontMessage(WPARAM, LPARAM)
{
    return (LRESULT)m_hFont;
}

LRESULT CQVTToolTipContextToolTip::OnActivate(WPARAM wParam, LPARAM)
{
    m_bActive = wParam != 0;
    if (!m_bActive)
        Hide();
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnSetDelayTime(WPARAM wParam, LPARAM lParam)
{
    int nTime = (short)LOWORD(lParam);
    switch (wParam)
    {
    case TTDT_AUTOMATIC:
        m_nDelayInitial = nTime < 0 ? 500 : nTime;
        m_nDelayReshow = nTime < 0 ? 200 : nTime / 5;
        m_nDelayAutoPop = nTime < 0 ? 0 : nTime * 10;
        break;
    case TTDT_RESHOW:
        m_nDelayReshow = nTime < 0 ? 200 : nTime;
        break;
    case TTDT_AUTOPOP:
        m_nDelayAutoPop = nTime < 0 ? 0 : nTime;
        break;
    case TTDT_INITIAL:
        m_nDelayInitial = nTime < 0 ? 500 : nTime;
        break;
    }
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnGetDelayTime(WPARAM wParam, LPARAM)
{
    switch (wParam)
    {
    case TTDT_RESHOW:
        return m_nDelayReshow;
    case TTDT_AUTOPOP:
        return m_nDelayAutoPop;
    case TTDT_INITIAL:
        return m_nDelayInitial;
    }
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnAddTool(WPARAM, LPARAM lParam)
{
    const TTTOOLINFOW* pInfo = reinterpret_cast<const TTTOOLINFOW*>(lParam);
    if (!pInfo || pInfo->cbSize < TTTOOLINFOW_V1_SIZE)
        return FALSE;
    TOOLITEM* pTool = FindTool(pInfo->hwnd, pInfo->uId);
    if (!pTool)
    {
        pTool = new TOOLITEM;
        m_arrTools.Add(pTool);
    }
    pTool->uFlags = pInfo->uFlags;
    pTool->hwnd = pInfo->hwnd;
    pTool->uId = pInfo->uId;
    pTool->rect = pInfo->rect;
    pTool->bTextCallback = pInfo->lpszText == LPSTR_TEXTCALLBACKW;
    pTool->strText.Empty();
    if (!pTool->bTextCallback && pInfo->lpszText)
    {
        if (IS_INTRESOURCE(pInfo->lpszText))
        {
            WCHAR szText[1024] = {};
            if (pInfo->hinst)
                ::LoadStringW(pInfo->hinst, (UINT)(UINT_PTR)pInfo->lpszText, szText, _countof(szText));
            pTool->strText = szText;
        }
        else
        {
            pTool->strText = pInfo->lpszText;
        }
    }
    return TRUE;
}

LRESULT CQVTToolTipContextToolTip::OnDelTool(WPARAM, LPARAM lParam)
{
    const TTTOOLINFOW* pInfo = reinterpret_cast<const TTTOOLINFOW*>(lParam);
    if (!pInfo)
        return 0;
    for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i)
    {
        TOOLITEM* pTool = m_arrTools[i];
        if (pTool->hwnd != pInfo->hwnd || pTool->uId != pInfo->uId)
            continue;
        if (m_bToolShown && IsSameTool(&m_toolShown, pTool->hwnd, pTool->uId))
            Hide();
        if (m_bPending && m_hwndPending == pTool->hwnd && m_uIdPending == pTool->uId)
        {
            m_bPending = FALSE;
            if (m_nTimerShow)
                KillTimer(timerShow);
            m_nTimerShow = 0;
        }
        delete pTool;
        m_arrTools.RemoveAt(i);
        break;
    }
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnUpdateTipText(WPARAM, LPARAM lParam)
{
    const TTTOOLINFOW* pInfo = reinterpret_cast<const TTTOOLINFOW*>(lParam);
    if (!pInfo)
        return 0;
    TOOLITEM* pTool = FindTool(pInfo->hwnd, pInfo->uId);
    if (!pTool)
        return 0;
    pTool->bTextCallback = pInfo->lpszText == LPSTR_TEXTCALLBACKW;
    pTool->strText = (pTool->bTextCallback || !pInfo->lpszText || IS_INTRESOURCE(pInfo->lpszText))
                         ? CString()
                         : CString(pInfo->lpszText);
    if (m_bToolShown && IsSameTool(&m_toolShown, pTool->hwnd, pTool->uId))
    {
        m_toolShown.strText = pTool->strText;
        m_toolShown.bTextCallback = pTool->bTextCallback;
        Invalidate(FALSE);
    }
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnSetTitle(WPARAM wParam, LPARAM lParam)
{
    m_nTitleIcon = (int)wParam;
    m_strTitle = lParam ? CString(reinterpret_cast<LPCTSTR>(lParam)) : CString();
    return TRUE;
}

LRESULT CQVTToolTipContextToolTip::OnWindowFromPoint(WPARAM, LPARAM lParam)
{
    const POINT* pPoint = reinterpret_cast<const POINT*>(lParam);
    return pPoint ? (LRESULT)WindowFromPoint(*pPoint) : 0;
}

LRESULT CQVTToolTipContextToolTip::OnGetToolCount(WPARAM, LPARAM)
{
    return m_arrTools.GetSize();
}

LRESULT CQVTToolTipContextToolTip::OnPop(WPARAM, LPARAM)
{
    Hide();
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnSetImage(WPARAM, LPARAM lParam)
{
    CQVTImageManagerIcon* pImage = reinterpret_cast<CQVTImageManagerIcon*>(lParam);
    if (pImage == m_pImage)
        return 0;
    if (pImage)
        pImage->InternalAddRef();
    if (m_pImage)
        m_pImage->InternalRelease();
    m_pImage = pImage;
    return 0;
}

LRESULT CQVTToolTipContextToolTip::OnRelayEvent(WPARAM, LPARAM lParam)
{
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    if (pMsg)
        RelayEvent(pMsg);
    return 0;
}

void CQVTToolTipContextToolTip::RelayEvent(const MSG* pMsg)
{
    if (!m_bActive)
        return;
    UINT message = pMsg->message;
    BOOL bMouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL) ||
                  (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
    if (!bMouse)
        return;
    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    TOOLITEM* pTool = ToolFromPoint(ptScreen);

    if (message == WM_LBUTTONDOWN || message == WM_NCLBUTTONDOWN)
    {
        // A clicked tool shows no tip until another tool's tip has shown.
        if (pTool)
        {
            m_bClicked = TRUE;
            m_hwndClicked = pTool->hwnd;
            m_uIdClicked = pTool->uId;
        }
        Hide();
        return;
    }
    if ((::GetKeyState(VK_LBUTTON) & 0x8000) || (::GetKeyState(VK_RBUTTON) & 0x8000) ||
        (::GetKeyState(VK_MBUTTON) & 0x8000))
        pTool = nullptr;

    if (!pTool)
    {
        Hide();
        return;
    }
    if (m_bToolShown && IsSameTool(&m_toolShown, pTool->hwnd, pTool->uId))
        return;
    if (m_bClicked && pTool->hwnd == m_hwndClicked && pTool->uId == m_uIdClicked)
        return;
    if (m_bPending && pTool->hwnd == m_hwndPending && pTool->uId == m_uIdPending)
        return;
    // Leaving one tip for another counts as a hide now.
    Hide();
    if (::GetTickCount() - m_dwLastShowHide >= (DWORD)m_nDelayReshow)
    {
        m_bPending = TRUE;
        m_hwndPending = pTool->hwnd;
        m_uIdPending = pTool->uId;
        m_nTimerShow = SetTimer(timerShow, (UINT)std::max(m_nDelayInitial, 1), nullptr);
    }
    else
    {
        Show(pTool);
    }
}

int CQVTToolTipContextToolTip::CursorHeight() const
{
    HCURSOR hCursor = ::GetCursor();
    ICONINFO info;
    if (!hCursor || !::GetIconInfo(hCursor, &info))
        return kDefaultCursorHeight;
    int nResult = kDefaultCursorHeight;
    BITMAP bm;
    if (info.hbmMask && ::GetObject(info.hbmMask, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0)
    {
        // A monochrome cursor stacks its AND mask over its XOR mask.
        BOOL bMono = info.hbmColor == nullptr;
        int nHeight = bMono ? bm.bmHeight / 2 : bm.bmHeight;
        int nStride = ((bm.bmWidth + 31) / 32) * 4;
        std::vector<BYTE> bits((size_t)nStride * bm.bmHeight);
        struct
        {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } bmi = {};
        bmi.header.biSize = sizeof(BITMAPINFOHEADER);
        bmi.header.biWidth = bm.bmWidth;
        bmi.header.biHeight = -bm.bmHeight;
        bmi.header.biPlanes = 1;
        bmi.header.biBitCount = 1;
        HDC hDC = ::GetDC(nullptr);
        int nRows = ::GetDIBits(hDC, info.hbmMask, 0, bm.bmHeight, bits.data(),
                                reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, hDC);
        if (nRows == bm.bmHeight)
        {
            int nBottom = 0;
            for (int y = 0; y < nHeight; ++y)
            {
                for (int x = 0; x < bm.bmWidth; ++x)
                {
                    BOOL bAndClear = !(bits[(size_t)y * nStride + x / 8] & (0x80 >> (x % 8)));
                    BOOL bXorSet =
                        bMono && (bits[(size_t)(y + nHeight) * nStride + x / 8] & (0x80 >> (x % 8)));
                    if (bAndClear || bXorSet)
                    {
                        nBottom = y + 1;
                        break;
                    }
                }
            }
            if (nBottom > 0)
                nResult = std::max(0, nBottom - (int)info.yHotspot);
        }
    }
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return nResult;
}

void CQVTToolTipContextToolTip::Show(TOOLITEM* pTool)
{
    m_toolShown = *pTool;
    m_bToolShown = TRUE;
    CSize szTip;
    {
        CClientDC dc(this);
        szTip = CalcToolSize(&dc, &m_toolShown);
    }
    // Measuring may dispatch messages that take the window away.
    if (IsAbandoned())
        return;
    if (szTip.cx <= 0 || szTip.cy <= 0)
    {
        Hide();
        return;
    }

    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    CPoint pt(ptCursor.x, ptCursor.y + CursorHeight());
    if (IsOwnerRightToLeft(pTool))
        pt.x -= szTip.cx;
    if ((pTool->uFlags & TTF_ABSOLUTE) && !(pTool->uFlags & TTF_IDISHWND))
    {
        CRect rcTool(pTool->rect);
        ::MapWindowPoints(pTool->hwnd, nullptr, reinterpret_cast<LPPOINT>(&rcTool), 2);
        pt = CPoint(rcTool.left, rcTool.bottom);
    }
    CRect rcTip(pt, szTip);
    CRect rcWork = QVTMultiMonitor()->GetWorkAreaFromPoint(ptCursor);
    if (rcTip.right > rcWork.right)
        rcTip.OffsetRect(rcWork.right - rcTip.right, 0);
    if (rcTip.left < rcWork.left)
        rcTip.OffsetRect(rcWork.left - rcTip.left, 0);
    if (rcTip.bottom > rcWork.bottom)
        rcTip.OffsetRect(0, (ptCursor.y - rcTip.Height()) - rcTip.top);
    if (rcTip.top < rcWork.top)
        rcTip.OffsetRect(0, rcWork.top - rcTip.top);

    ShowWindow(SW_HIDE);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rcTip.left, rcTip.top, rcTip.Width(), rcTip.Height(),
                   SWP_NOACTIVATE);

    NMHDR nm;
    nm.hwndFrom = m_hWnd;
    nm.idFrom = pTool->uId;
    nm.code = TTN_SHOW;
    ::SendMessage(pTool->hwnd, WM_NOTIFY, (WPARAM)pTool->uId, (LPARAM)&nm);
    if (!::IsWindow(m_hWnd) || !m_bToolShown)
        return;

    if (GetStyle() & CQVTToolTipContext::styleOffice)
    {
        // Each corner cut by one pixel.
        int cx = rcTip.Width(), cy = rcTip.Height();
        POINT pts[] = {{1, 0},       {cx - 1, 0}, {cx, 1},     {cx, cy - 1},
                       {cx - 1, cy}, {1, cy},     {0, cy - 1}, {0, 1}};
        SetWindowRgn(::CreatePolygonRgn(pts, _countof(pts), WINDING), FALSE);
        m_bRegion = TRUE;
    }
    else if (m_bRegion)
    {
        SetWindowRgn(nullptr, FALSE);
        m_bRegion = FALSE;
    }
    ShowWindow(SW_SHOWNOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    m_dwLastShowHide = ::GetTickCount();
    m_bClicked = FALSE;
    InstallHook();
    if (m_nDelayAutoPop > 0)
        m_nTimerAutoPop = SetTimer(timerAutoPop, (UINT)m_nDelayAutoPop, nullptr);
    OnShow(TRUE);
}

void CQVTToolTipContextToolTip::Hide()
{
    RemoveHook();
    m_bPending = FALSE;
    if (m_nTimerShow && m_hWnd)
        KillTimer(timerShow);
    m_nTimerShow = 0;
    if (m_nTimerAutoPop && m_hWnd)
        KillTimer(timerAutoPop);
    m_nTimerAutoPop = 0;
    BOOL bWasShown = m_bToolShown;
    m_bToolShown = FALSE;
    if (m_hWnd && ::IsWindowVisible(m_hWnd))
    {
        ShowWindow(SW_HIDE);
        bWasShown = TRUE;
    }
    if (bWasShown)
    {
        m_dwLastShowHide = ::GetTickCount();
        OnShow(FALSE);
    }
}

void CQVTToolTipContextToolTip::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == timerShow)
    {
        KillTimer(timerShow);
        m_nTimerShow = 0;
        if (!m_bPending)
            return;
        m_bPending = FALSE;
        CPoint pt;
        ::GetCursorPos(&pt);
        TOOLITEM* pTool = ToolFromPoint(pt);
        if (pTool && pTool->hwnd == m_hwndPending && pTool->uId == m_uIdPending && m_bActive)
            Show(pTool);
    }
    else if (nIDEvent == timerAutoPop)
    {
        Hide();
    }
}

void CQVTToolTipContextToolTip::OnDestroy()
{
    Hide();
    RemoveAllTools();
    CWnd::OnDestroy();
}

void CQVTToolTipContextToolTip::InstallHook()
{
    if (m_hMouseHook)
        return;
    CQVTToolTipContextToolTip* pOther = static_cast<CQVTToolTipContextToolTip*>(::TlsGetValue(HookSlot()));
    if (pOther && pOther != this)
        pOther->RemoveHook();
    m_hMouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
    if (m_hMouseHook)
        ::TlsSetValue(HookSlot(), this);
}

void CQVTToolTipContextToolTip::RemoveHook()
{
    if (!m_hMouseHook)
        return;
    ::UnhookWindowsHookEx(m_hMouseHook);
    m_hMouseHook = nullptr;
    if (::TlsGetValue(HookSlot()) == this)
        ::TlsSetValue(HookSlot(), nullptr);
}

LRESULT CALLBACK CQVTToolTipContextToolTip::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    try
    {
        CQVTToolTipContextToolTip* pTip = static_cast<CQVTToolTipContextToolTip*>(::TlsGetValue(HookSlot()));
        if (nCode == HC_ACTION && pTip && pTip->m_bToolShown && lParam)
        {
            const MOUSEHOOKSTRUCT* pHook = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
            HWND hWndUnder = pTip->WindowFromPoint(pHook->pt);
            const TOOLITEM& tool = pTip->m_toolShown;
            BOOL bOverTool = hWndUnder == tool.hwnd || hWndUnder == pTip->m_hWnd ||
                             ((tool.uFlags & TTF_IDISHWND) && hWndUnder == (HWND)tool.uId);
            if (!bOverTool)
                pTip->Hide();
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
