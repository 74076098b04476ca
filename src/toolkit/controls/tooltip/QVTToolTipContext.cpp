#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"
#include "toolkit/controls/tooltip/QVTToolTipHTML.h"
#include "toolkit/controls/tooltip/QVTToolTipLooks.h"
#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/core/QVTNonClientMetrics.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

#include <cstdlib>
#include <memory>

IMPLEMENT_DYNAMIC(CQVTToolTipContext, CQVTCmdTarget)

namespace {

LPTSTR DuplicateText(LPCTSTR lpszText)
{
    if (!lpszText)
        return nullptr;
    size_t nLength = (size_t)::lstrlen(lpszText);
    LPTSTR lpszCopy = static_cast<LPTSTR>(calloc(nLength + 1, sizeof(TCHAR)));
    if (lpszCopy)
        memcpy(lpszCopy, lpszText, nLength * sizeof(TCHAR));
    return lpszCopy;
}

BOOL IsCancelMessage(UINT message)
{
    if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
        (message >= WM_SYSKEYDOWN && message <= WM_SYSDEADCHAR))
        return TRUE;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        return TRUE;
    }
    return FALSE;
}

BOOL IsTrackedMouseMessage(UINT message)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
        return TRUE;
    }
    return FALSE;
}

BOOL IsMouseButtonHeld()
{
    return (::GetKeyState(VK_LBUTTON) & 0x8000) || (::GetKeyState(VK_RBUTTON) & 0x8000) ||
           (::GetKeyState(VK_MBUTTON) & 0x8000);
}

// A record the size of a TOOLINFO, so an owner that writes one stays inside.
union HitRecord
{
    QVT_TOOLTIPHITINFO hit;
    TTTOOLINFOW toolInfo;
};

void ToPlatformToolInfo(const QVT_TOOLTIPHITINFO& hit, TTTOOLINFOW& ti)
{
    ZeroMemory(&ti, sizeof(ti));
    ti.cbSize = sizeof(TTTOOLINFOW);
    ti.uFlags = hit.uFlags & ~0xC0000000u;
    ti.hwnd = hit.hwnd;
    ti.uId = hit.uId;
    ti.rect = hit.rect;
    ti.hinst = hit.hinst;
    ti.lpszText = hit.lpszText;
}

}  // namespace

CQVTToolTipContext::CQVTToolTipContext()
    : m_bShowTitleAndDescription(FALSE), m_nIconTitle(TTI_INFO), m_bShowImage(FALSE), m_nImageSize(1),
      m_nImageBase(0), m_nToolTipStyle(toolTipStandard), m_dwComCtlVersion(GetComCtlVersion()),
      m_nMaxTipWidth(0), m_dwToolTipStyle(TTS_NOPREFIX), m_rcMargin(0, 0, 0, 0), m_nDelayInitial(-1),
      m_nDelayReshow(-1), m_nDelayAutoPop(-1), m_pToolTip(nullptr), m_nLastHit(-1),
      m_clrTipBack((COLORREF)-1), m_clrTipText((COLORREF)-1), m_bStripEllipsis(TRUE)
{
    ZeroMemory(&m_lastInfo, sizeof(m_lastInfo));
    ZeroMemory(&m_lastInfoEx, sizeof(m_lastInfoEx));
    CQVTNonClientMetrics ncm;
    CreateFonts(&ncm.lfStatusFont);
}

CQVTToolTipContext::~CQVTToolTipContext()
{
    DestroyToolTip();
    FreeToolInfo(&m_lastInfo);
}

void CQVTToolTipContext::CreateFonts(const LOGFONT* pLogFont)
{
    LOGFONT lf = *pLogFont;
    lf.lfCharSet = QVTResourceManager()->GetFontCharset();
    lf.lfWeight = FW_NORMAL;
    m_fntToolTip.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntToolTipBold.CreateFontIndirect(&lf);
}

void CQVTToolTipContext::DestroyToolTip()
{
    if (!m_pToolTip)
        return;
    CWnd* pToolTip = m_pToolTip;
    m_pToolTip = nullptr;
    if (::IsWindow(pToolTip->m_hWnd))
        pToolTip->DestroyWindow();
    auto* pOwn = DYNAMIC_DOWNCAST(CQVTToolTipContextToolTip, pToolTip);
    if (!pOwn || !pOwn->DeleteWhenIdle())
        delete pToolTip;
    // The next tool is new to the next window.
    FreeToolInfo(&m_lastInfo);
    m_nLastHit = -1;
}

BOOL CQVTToolTipContext::IsOwnWindow() const
{
    return m_pToolTip && m_pToolTip->IsKindOf(RUNTIME_CLASS(CQVTToolTipContextToolTip));
}

LRESULT CQVTToolTipContext::SendToToolTip(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_pToolTip || !::IsWindow(m_pToolTip->m_hWnd))
        return 0;
    return ::SendMessage(m_pToolTip->m_hWnd, message, wParam, lParam);
}

void CQVTToolTipContext::SetStyle(int nStyle)
{
    // Balloons need common controls 5.80.
    if (nStyle == toolTipBalloon && m_dwComCtlVersion < MAKELONG(80, 5))
        return;
    DWORD dwStyle = m_dwToolTipStyle & ~(styleFrame3D | styleNoShadow | styleOffice | styleOffice2013);
    if (nStyle == toolTipPlain)
        dwStyle |= styleFrame3D | styleNoShadow;
    else if (nStyle == toolTipOffice)
        dwStyle |= styleOffice;
    else if (nStyle == toolTipOffice2013)
        dwStyle |= styleOffice2013;
    if (nStyle == m_nToolTipStyle && dwStyle == m_dwToolTipStyle)
        return;
    m_nToolTipStyle = nStyle;
    m_dwToolTipStyle = dwStyle;
    DestroyToolTip();
}

void CQVTToolTipContext::ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd)
{
    DWORD dwStyle = (m_dwToolTipStyle & ~dwRemove) | dwAdd;
    if (dwStyle == m_dwToolTipStyle)
        return;
    m_dwToolTipStyle = dwStyle;
    DestroyToolTip();
}

void CQVTToolTipContext::SetDelayTime(DWORD dwDuration, int nTime)
{
    switch (dwDuration)
    {
    case TTDT_RESHOW:
        m_nDelayReshow = nTime;
        break;
    case TTDT_AUTOPOP:
        m_nDelayAutoPop = nTime;
        break;
    case TTDT_INITIAL:
        m_nDelayInitial = nTime;
        break;
    default:
        return;
    }
    DestroyToolTip();
}

void CQVTToolTipContext::SetFont(CFont* pFont)
{
    LOGFONT lf;
    if (!pFont || !pFont->GetSafeHandle() || !pFont->GetLogFont(&lf))
        return;
    lf.lfWeight = FW_NORMAL;
    m_fntToolTip.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntToolTipBold.CreateFontIndirect(&lf);
    DestroyToolTip();
}

void CQVTToolTipContext::SetMargin(const RECT& rcMargin)
{
    m_rcMargin = rcMargin;
    DestroyToolTip();
}

int CQVTToolTipContext::GetMaxTipWidth() const
{
    if (!m_bMaxTipWidthKnown)
    {
        m_nMaxTipWidth = ::GetSystemMetrics(SM_CXSCREEN) / 2;
        m_bMaxTipWidthKnown = TRUE;
    }
    return m_nMaxTipWidth;
}

void CQVTToolTipContext::SetMaxTipWidth(int nWidth)
{
    m_nMaxTipWidth = nWidth;
    m_bMaxTipWidthKnown = TRUE;
    DestroyToolTip();
}

void CQVTToolTipContext::SetShowImage(BOOL bShowImage, int nImageBase, int nImageSize)
{
    m_bShowImage = bShowImage;
    m_nImageBase = nImageBase;
    m_nImageSize = nImageSize;
    DestroyToolTip();
}

void CQVTToolTipContext::SetShowTitle(BOOL bShowTitle, int nTitleIcon)
{
    m_bShowTitleAndDescription = bShowTitle;
    m_nIconTitle = nTitleIcon;
}

void CQVTToolTipContext::SetTipBkColor(COLORREF clr)
{
    m_clrTipBack = clr;
    DestroyToolTip();
}

void CQVTToolTipContext::SetTipTextColor(COLORREF clr)
{
    m_clrTipText = clr;
    DestroyToolTip();
}

void CQVTToolTipContext::DeactivateToolTip()
{
    SendToToolTip(TTM_ACTIVATE, FALSE);
}

BOOL CQVTToolTipContext::CreateToolTip(CWnd* pOwner)
{
    CWnd* pParentOwner = pOwner->GetParentOwner();
    if (!pParentOwner)
        pParentOwner = pOwner;
    DWORD dwStyle = m_dwToolTipStyle;

    if (m_nToolTipStyle == toolTipStandard || m_nToolTipStyle == toolTipBalloon)
    {
        std::unique_ptr<CToolTipCtrl> pCtrl(new CToolTipCtrl);
        DWORD dwCtrlStyle = TTS_ALWAYSTIP | TTS_NOPREFIX | (dwStyle & 0xFFFF);
        if (m_nToolTipStyle == toolTipBalloon)
            dwCtrlStyle |= TTS_BALLOON;
        // The toolkit's look bits mean nothing to the platform control.
        dwCtrlStyle &= ~(styleFrame3D | styleNoShadow | styleOffice | styleOffice2013);
        if (!pCtrl->Create(pParentOwner, dwCtrlStyle))
            return FALSE;
        m_pToolTip = pCtrl.release();
    }
    else
    {
        std::unique_ptr<CQVTToolTipContextToolTip> pTip;
        switch (m_nToolTipStyle)
        {
        case toolTipRichText:
            pTip.reset(new CRichEditToolTip(this));
            break;
        case toolTipLuna:
            pTip.reset(new CLunaToolTip(this));
            break;
        case toolTipOffice:
            pTip.reset(new COfficeToolTip(this));
            break;
        case toolTipHTML:
            pTip.reset(new CHTMLToolTip(this));
            break;
        case toolTipMarkup:
            pTip.reset(new CMarkupToolTip(this));
            break;
        case toolTipOffice2013:
            pTip.reset(new COffice2013ToolTip(this));
            break;
        default:
            pTip.reset(new CQVTToolTipContextToolTip(this));
            break;
        }
        if (!pTip->Create(pParentOwner, dwStyle | TTS_ALWAYSTIP | TTS_NOPREFIX))
            return FALSE;
        m_pToolTip = pTip.release();
    }

    SendToToolTip(WM_SETFONT, (WPARAM)m_fntToolTip.GetSafeHandle(), FALSE);
    SendToToolTip(TTM_SETMAXTIPWIDTH, 0, GetMaxTipWidth());
    SendToToolTip(TTM_SETMARGIN, 0, (LPARAM)&m_rcMargin);
    if (m_clrTipBack != (COLORREF)-1)
        SendToToolTip(TTM_SETTIPBKCOLOR, m_clrTipBack);
    if (m_clrTipText != (COLORREF)-1)
        SendToToolTip(TTM_SETTIPTEXTCOLOR, m_clrTipText);
    if (m_nDelayReshow != -1)
        SendToToolTip(TTM_SETDELAYTIME, TTDT_RESHOW, m_nDelayReshow);
    if (m_nDelayInitial != -1)
        SendToToolTip(TTM_SETDELAYTIME, TTDT_INITIAL, m_nDelayInitial);
    if (m_nDelayAutoPop != -1)
        SendToToolTip(TTM_SETDELAYTIME, TTDT_AUTOPOP, m_nDelayAutoPop);
    SendToToolTip(TTM_ACTIVATE, FALSE);
    return TRUE;
}

CString CQVTToolTipContext::PrepareText(LPCTSTR lpszText) const
{
    CString strText(lpszText ? lpszText : _T(""));
    if (!(m_dwToolTipStyle & TTS_NOPREFIX))
        CQVTDrawHelpers::StripMnemonics(strText);
    if (m_bStripEllipsis && strText.GetLength() >= 4 && strText.Right(3) == _T("..."))
        strText = strText.Left(strText.GetLength() - 3);
    return strText;
}

void CQVTToolTipContext::RelayToToolTip(const MSG* pMsg) const
{
    MSG msg = *pMsg;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
    {
        HWND hWndHit = ::WindowFromPoint(msg.pt);
        if (hWndHit && ::GetWindowThreadProcessId(hWndHit, nullptr) == ::GetCurrentThreadId())
        {
            CPoint pt(msg.pt);
            ::ScreenToClient(hWndHit, &pt);
            msg.hwnd = hWndHit;
            msg.lParam = MAKELPARAM(pt.x, pt.y);
        }
    }
    SendToToolTip(TTM_RELAYEVENT, 0, (LPARAM)&msg);
}

void CQVTToolTipContext::RelayToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Owners relay every message they get; only these concern a tip, and the
    // cursor's position costs a trip to the window server.
    if (!IsTrackedMouseMessage(message) && !IsCancelMessage(message))
        return;
    if (!pOwner || !::IsWindow(pOwner->m_hWnd))
        return;
    MSG msg;
    ZeroMemory(&msg, sizeof(msg));
    msg.hwnd = pOwner->m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    ::GetCursorPos(&msg.pt);
    FilterToolTipMessage(pOwner, &msg);
}

void CQVTToolTipContext::FilterToolTipMessage(CWnd* pOwner, MSG* pMsg)
{
    if (!pOwner || !::IsWindow(pOwner->m_hWnd) || !pMsg)
        return;
    UINT message = pMsg->message;
    if (!IsTrackedMouseMessage(message) || IsMouseButtonHeld())
    {
        if (IsCancelMessage(message))
            DeactivateToolTip();
        return;
    }

    // A tip of an inactive application goes, unless its tool asked to stay.
    if (m_pToolTip && ::IsWindow(m_pToolTip->m_hWnd) && m_pToolTip->IsWindowVisible() &&
        !CQVTDrawHelpers::IsApplicationActive(pOwner->m_hWnd) && !(m_lastInfo.uFlags & hitShowWhenInactive))
    {
        DeactivateToolTip();
        return;
    }

    CWnd* pParentOwner = pOwner->GetParentOwner();
    if (!pParentOwner)
        pParentOwner = pOwner;
    if (m_pToolTip && (!::IsWindow(m_pToolTip->m_hWnd) ||
                       ::GetWindow(m_pToolTip->m_hWnd, GW_OWNER) != pParentOwner->m_hWnd))
        DestroyToolTip();
    if (!m_pToolTip && !CreateToolTip(pOwner))
        return;

    HitRecord record;
    ZeroMemory(&record, sizeof(record));
    QVT_TOOLTIPHITINFO_EX extended;
    ZeroMemory(&extended, sizeof(extended));
    QVT_TOOLTIPHITINFO& hit = record.hit;
    BOOL bExtended = m_bShowTitleAndDescription || m_bShowImage;
    hit.cbSize = bExtended ? hitSizeEx : hitSize;
    if (bExtended)
        hit.pExtended = &extended;
    CPoint pt(pMsg->pt);
    pOwner->ScreenToClient(&pt);
    INT_PTR nHit = OnToolHitTest(pOwner, pt, &record.toolInfo);
    // The owner may have written a TOOLINFO over the record's tail.
    if (!bExtended)
        hit.pExtended = nullptr;
    else if (hit.pExtended != &extended)
        hit.pExtended = &extended;

    if (m_bShowTitleAndDescription && extended.lpszDescription && extended.lpszTitle &&
        ::lstrcmp(extended.lpszDescription, extended.lpszTitle) == 0)
    {
        free(extended.lpszDescription);
        extended.lpszDescription = nullptr;
    }

    BOOL bSameTool =
        nHit == m_nLastHit && (nHit == -1 || (hit.uId == m_lastInfo.uId && hit.hwnd == m_lastInfo.hwnd &&
                                              ::EqualRect(&hit.rect, &m_lastInfo.rect)));
    if (bSameTool)
    {
        FreeToolInfo(&hit);
        RelayToToolTip(pMsg);
        return;
    }
    NewTool(pOwner, hit, nHit);
    RelayToToolTip(pMsg);

    // Keep the hit, with its copies.
    FreeToolInfo(&m_lastInfo);
    m_lastInfo = hit;
    m_lastInfoEx = extended;
    m_lastInfo.pExtended = bExtended ? &m_lastInfoEx : nullptr;
    m_nLastHit = nHit;
}

INT_PTR CQVTToolTipContext::OnToolHitTest(CWnd* pOwner, CPoint point, TOOLINFO* pToolInfo)
{
    return pOwner->OnToolHitTest(point, pToolInfo);
}

void CQVTToolTipContext::NewTool(CWnd* pOwner, QVT_TOOLTIPHITINFO& hit, INT_PTR nHit)
{
    if (m_lastInfo.cbSize != 0 && m_nLastHit != -1)
    {
        TTTOOLINFOW tiOld;
        ToPlatformToolInfo(m_lastInfo, tiOld);
        SendToToolTip(TTM_DELTOOLW, 0, (LPARAM)&tiOld);
    }
    if (nHit == -1)
    {
        SendToToolTip(TTM_ACTIVATE, FALSE);
        return;
    }

    QVT_TOOLTIPHITINFO_EX* pExtended = hit.pExtended;
    CString strText = PrepareText(hit.lpszText);
    TTTOOLINFOW ti;
    ToPlatformToolInfo(hit, ti);
    ti.lpszText = strText.GetBuffer();
    SendToToolTip(TTM_ADDTOOLW, 0, (LPARAM)&ti);

    // Looks that render their own markup or documents take no title.
    BOOL bTitles = m_nToolTipStyle != toolTipRichText && m_nToolTipStyle != toolTipHTML &&
                   m_nToolTipStyle != toolTipMarkup &&
                   (m_nToolTipStyle != toolTipStandard || m_dwComCtlVersion >= MAKELONG(80, 5));
    if (bTitles)
    {
        if (m_bShowTitleAndDescription && pExtended && pExtended->lpszDescription && pExtended->lpszTitle)
        {
            CString strTitle = PrepareText(pExtended->lpszTitle);
            SendToToolTip(TTM_SETTITLEW, m_nIconTitle, (LPARAM)(LPCTSTR)strTitle);
            CString strDescription(pExtended->lpszDescription);
            ti.lpszText = strDescription.GetBuffer();
            SendToToolTip(TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
            strDescription.ReleaseBuffer();
        }
        else
        {
            SendToToolTip(TTM_SETTITLEW, TTI_NONE, (LPARAM) _T(""));
        }
    }
    strText.ReleaseBuffer();

    if (IsOwnWindow())
    {
        CQVTImageManagerIcon* pIcon = nullptr;
        if (m_bShowImage && pExtended && pExtended->pImageManager)
            pIcon = pExtended->pImageManager->GetImage((UINT)(m_nImageBase + hit.uId), m_nImageSize);
        SendToToolTip(WM_QVT_TOOLTIPSETIMAGE, 0, (LPARAM)pIcon);
    }

    if ((hit.uFlags & hitShowWhenInactive) || CQVTDrawHelpers::IsApplicationActive(pOwner->m_hWnd))
    {
        SendToToolTip(TTM_ACTIVATE, TRUE);
        ::SetWindowPos(m_pToolTip->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void AFX_CDECL CQVTToolTipContext::FillInToolInfo(QVT_TOOLTIPHITINFO* pInfo, HWND hWnd, const RECT& rc,
                                                  INT_PTR nHit, LPCTSTR lpszToolTip)
{
    if (!pInfo)
        return;
    pInfo->hwnd = hWnd;
    pInfo->rect = rc;
    pInfo->uId = (UINT_PTR)nHit;
    free(pInfo->lpszText);
    pInfo->lpszText = DuplicateText(lpszToolTip ? lpszToolTip : _T(""));
}

void AFX_CDECL CQVTToolTipContext::FillInToolInfoEx(QVT_TOOLTIPHITINFO* pInfo, HWND hWnd, const RECT& rc,
                                                    INT_PTR nHit, LPCTSTR lpszToolTip,
                                                    LPCTSTR lpszDescription, CQVTImageManager* pImageManager)
{
    FillInToolInfo(pInfo, hWnd, rc, nHit, lpszToolTip);
    if (!pInfo || pInfo->cbSize < hitSizeEx || !pInfo->pExtended)
        return;
    QVT_TOOLTIPHITINFO_EX* pExtended = pInfo->pExtended;
    pExtended->pImageManager = pImageManager;
    if (lpszToolTip && *lpszToolTip && lpszDescription && *lpszDescription)
    {
        free(pExtended->lpszTitle);
        free(pExtended->lpszDescription);
        pExtended->lpszTitle = DuplicateText(lpszToolTip);
        pExtended->lpszDescription = DuplicateText(lpszDescription);
    }
}

void AFX_CDECL CQVTToolTipContext::FreeToolInfo(QVT_TOOLTIPHITINFO* pInfo)
{
    if (!pInfo)
        return;
    free(pInfo->lpszText);
    pInfo->lpszText = nullptr;
    if (pInfo->cbSize >= hitSizeEx && pInfo->pExtended)
    {
        free(pInfo->pExtended->lpszTitle);
        free(pInfo->pExtended->lpszDescription);
        pInfo->pExtended->lpszTitle = nullptr;
        pInfo->pExtended->lpszDescription = nullptr;
    }
}
