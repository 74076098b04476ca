#include "toolkit/controls/taskdialog/QVTTaskDialogLinkCtrl.h"
#include "toolkit/controls/QVTControlsResource.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQVTTaskDialogLinkCtrl, CStatic)

BEGIN_MESSAGE_MAP(CQVTTaskDialogLinkCtrl, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_SETTEXT, &CQVTTaskDialogLinkCtrl::OnSetText)
    ON_MESSAGE(WM_UPDATEUISTATE, &CQVTTaskDialogLinkCtrl::OnUpdateUIStateMessage)
END_MESSAGE_MAP()

CQVTTaskDialogLinkCtrl::CQVTTaskDialogLinkCtrl()
    : m_nFocused(-1), m_hHandCursor(::LoadCursor(nullptr, IDC_HAND)), m_clrBack((COLORREF)-1),
      m_clrText(::GetSysColor(COLOR_WINDOWTEXT)), m_bParseOnSubclass(TRUE)
{
    if (!m_hHandCursor)
        m_hHandCursor = QVTResourceManager()->LoadCursor(QVT_IDC_HAND);
}

CQVTTaskDialogLinkCtrl::~CQVTTaskDialogLinkCtrl()
{
    RemoveAllLinks();
}

void CQVTTaskDialogLinkCtrl::RemoveAllLinks()
{
    for (INT_PTR i = 0; i < m_arrLinks.GetSize(); ++i)
        delete m_arrLinks[i];
    m_arrLinks.RemoveAll();
    m_nFocused = -1;
}

CString AFX_CDECL CQVTTaskDialogLinkCtrl::ParseLinks(const CString& strText,
                                                     CArray<LINKITEM*, LINKITEM*>& arrLinks)
{
    static const TCHAR szOpener[] = _T("<a href=\"");
    static const TCHAR szCloser[] = _T("</a>");
    const int nOpener = _countof(szOpener) - 1;
    const int nCloser = _countof(szCloser) - 1;

    CString strResult(strText);
    int nSearch = 0;
    for (;;)
    {
        CString strLower(strResult);
        strLower.MakeLower();
        int nOpen = strLower.Find(szOpener, nSearch);
        if (nOpen < 0)
            break;
        // Each piece is looked for after the one before it, inside the span:
        // a malformed anchor stays as text and the search goes on past it.
        int nQuote1 = nOpen + nOpener - 1;
        int nClose = strLower.Find(szCloser, nQuote1 + 1);
        int nQuote2 = strResult.Find(_T('"'), nQuote1 + 1);
        int nLabel = nQuote2 < 0 ? -1 : strResult.Find(_T('>'), nQuote2 + 1);
        if (nClose < 0 || nQuote2 < 0 || nQuote2 > nClose || nLabel < 0 || nLabel > nClose)
        {
            nSearch = nOpen + 1;
            continue;
        }
        int nLabelEnd = strResult.Find(_T('<'), nLabel + 1);
        if (nLabelEnd < 0 || nLabelEnd > nClose)
            nLabelEnd = nClose;
        LINKITEM* pItem = new LINKITEM;
        pItem->strTarget = strResult.Mid(nQuote1 + 1, nQuote2 - nQuote1 - 1);
        pItem->strLabel = strResult.Mid(nLabel + 1, nLabelEnd - nLabel - 1);
        pItem->nStart = (UINT)nOpen;
        pItem->nIndex = (UINT)arrLinks.GetSize();
        arrLinks.Add(pItem);
        strResult = strResult.Left(nOpen) + pItem->strLabel + strResult.Mid(nClose + nCloser);
        nSearch = nOpen + pItem->strLabel.GetLength();
    }
    return strResult;
}

void CQVTTaskDialogLinkCtrl::SetLinkFont(CFont* pFont)
{
    LOGFONT lf;
    if (pFont && pFont->GetSafeHandle() && pFont->GetLogFont(&lf))
    {
        lf.lfUnderline = TRUE;
        m_fntLink.CreateFontIndirect(&lf);
    }
}

BOOL CQVTTaskDialogLinkCtrl::Create(const RECT& rect, CString& strText, CFont* pFont, CWnd* pParent)
{
    RemoveAllLinks();
    if (strText.IsEmpty() || !pFont || !pParent || !::IsWindow(pParent->m_hWnd))
        return FALSE;
    m_strDisplay = ParseLinks(strText, m_arrLinks);
    if (m_arrLinks.GetSize() == 0)
        return FALSE;
    m_bParseOnSubclass = FALSE;
    if (!CStatic::Create(m_strDisplay, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, pParent, 0))
        return FALSE;
    SetLinkFont(pFont);
    SetFont(pFont, FALSE);
    strText = m_strDisplay;
    return TRUE;
}

void CQVTTaskDialogLinkCtrl::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (!m_bParseOnSubclass)
        return;
    // An existing static: its text gives the links, its font the link font.
    CString strText;
    GetWindowText(strText);
    RemoveAllLinks();
    m_strDisplay = ParseLinks(strText, m_arrLinks);
    if (m_arrLinks.GetSize() > 0)
        SetLinkFont(GetFont());
}

CQVTTaskDialogLinkCtrl::LINKITEM* CQVTTaskDialogLinkCtrl::GetFocusedLink() const
{
    return (m_nFocused >= 0 && m_nFocused < m_arrLinks.GetSize()) ? m_arrLinks[m_nFocused] : nullptr;
}

void CQVTTaskDialogLinkCtrl::LayoutText(CDC* pDC, BOOL bDraw)
{
    for (INT_PTR i = 0; i < m_arrLinks.GetSize(); ++i)
        m_arrLinks[i]->arrParts.RemoveAll();
    CRect rcClient;
    GetClientRect(&rcClient);
    CFont* pNormal = GetFont();
    CFont* pLinkFont = m_fntLink.GetFont();
    if (!pLinkFont || !pLinkFont->GetSafeHandle())
        pLinkFont = pNormal;
    CFont* pOldFont = pNormal ? pDC->SelectObject(pNormal) : nullptr;
    int nLineHeight = pDC->GetTextExtent(_T("XXX"), 3).cy;

    // Runs cut at the link boundaries: (start, length, link or -1).
    struct Run
    {
        int nStart;
        int nLength;
        int nLink;
    };
    CArray<Run, const Run&> runs;
    int nPos = 0;
    for (INT_PTR i = 0; i < m_arrLinks.GetSize(); ++i)
    {
        LINKITEM* pLink = m_arrLinks[i];
        if ((int)pLink->nStart > nPos)
            runs.Add(Run{nPos, (int)pLink->nStart - nPos, -1});
        runs.Add(Run{(int)pLink->nStart, pLink->strLabel.GetLength(), (int)i});
        nPos = (int)pLink->nStart + pLink->strLabel.GetLength();
    }
    if (nPos < m_strDisplay.GetLength())
        runs.Add(Run{nPos, m_strDisplay.GetLength() - nPos, -1});

    BOOL bHideFocus = (SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0;
    int x = rcClient.left, y = rcClient.top;
    for (INT_PTR r = 0; r < runs.GetSize(); ++r)
    {
        const Run& run = runs[r];
        BOOL bLink = run.nLink >= 0;
        pDC->SelectObject(bLink ? pLinkFont : pNormal);
        pDC->SetTextColor(bLink ? clrLink : m_clrText);
        int i = run.nStart, nEnd = run.nStart + run.nLength;
        while (i < nEnd)
        {
            TCHAR ch = m_strDisplay[i];
            if (ch == _T('\n'))
            {
                x = rcClient.left;
                y += nLineHeight;
                ++i;
                continue;
            }
            // One word, with the blanks after it.
            int j = i;
            while (j < nEnd && m_strDisplay[j] != _T(' ') && m_strDisplay[j] != _T('\t') &&
                   m_strDisplay[j] != _T('\n'))
                ++j;
            while (j < nEnd && (m_strDisplay[j] == _T(' ') || m_strDisplay[j] == _T('\t')))
                ++j;
            CString strWord = m_strDisplay.Mid(i, j - i);
            CSize sz = pDC->GetTextExtent(strWord);
            if (x > rcClient.left && x + sz.cx > rcClient.right)
            {
                // The word goes to the next line without its leading blank.
                x = rcClient.left;
                y += nLineHeight;
                strWord.TrimLeft();
                sz = pDC->GetTextExtent(strWord);
            }
            CRect rcPart(x, y, x + sz.cx, y + nLineHeight);
            if (bDraw)
                pDC->TextOut(x, y, strWord);
            if (bLink)
            {
                LINKITEM* pLink = m_arrLinks[run.nLink];
                // One rectangle per line piece.
                INT_PTR nParts = pLink->arrParts.GetSize();
                if (nParts > 0 && pLink->arrParts[nParts - 1].top == y)
                    pLink->arrParts[nParts - 1].right = rcPart.right;
                else
                    pLink->arrParts.Add(rcPart);
            }
            x += sz.cx;
            i = j;
        }
    }
    if (bDraw && !bHideFocus && ::GetFocus() == m_hWnd)
    {
        if (LINKITEM* pFocused = GetFocusedLink())
        {
            pDC->SetTextColor(m_clrText);
            for (INT_PTR p = 0; p < pFocused->arrParts.GetSize(); ++p)
                pDC->DrawFocusRect(pFocused->arrParts[p]);
        }
    }
    if (pOldFont)
        pDC->SelectObject(pOldFont);
}

void CQVTTaskDialogLinkCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    CQVTBufferDC dc(dcPaint.m_hDC, rc);
    HBRUSH hBrush = nullptr;
    if (m_clrBack == (COLORREF)-1 && GetParent())
        hBrush = (HBRUSH)GetParent()->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC, (LPARAM)m_hWnd);
    if (hBrush)
        ::FillRect(dc.m_hDC, &rc, hBrush);
    else
        dc.FillSolidRect(rc, m_clrBack == (COLORREF)-1 ? ::GetSysColor(COLOR_3DFACE) : m_clrBack);
    dc.SetBkMode(TRANSPARENT);
    LayoutText(&dc, TRUE);
}

BOOL CQVTTaskDialogLinkCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

int CQVTTaskDialogLinkCtrl::LinkFromPoint(CPoint point) const
{
    for (INT_PTR i = 0; i < m_arrLinks.GetSize(); ++i)
        for (INT_PTR p = 0; p < m_arrLinks[i]->arrParts.GetSize(); ++p)
            if (m_arrLinks[i]->arrParts[p].PtInRect(point))
                return (int)i;
    return -1;
}

LRESULT CQVTTaskDialogLinkCtrl::OnNcHitTest(CPoint point)
{
    // Clicks beside the links go to the dialog beneath.
    ScreenToClient(&point);
    return LinkFromPoint(point) >= 0 ? HTCLIENT : HTTRANSPARENT;
}

BOOL CQVTTaskDialogLinkCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_hHandCursor)
    {
        ::SetCursor(m_hHandCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CQVTTaskDialogLinkCtrl::SetFocusedLink(int nIndex)
{
    if (nIndex == m_nFocused)
        return;
    m_nFocused = nIndex;
    Invalidate(FALSE);
}

void CQVTTaskDialogLinkCtrl::OnLButtonDown(UINT, CPoint point)
{
    int nLink = LinkFromPoint(point);
    SetFocusedLink(nLink);
    if (nLink >= 0)
        SetFocus();
}

void CQVTTaskDialogLinkCtrl::OnLButtonUp(UINT, CPoint point)
{
    if (m_nFocused >= 0 && LinkFromPoint(point) == m_nFocused)
        ClickFocusedLink();
}

void CQVTTaskDialogLinkCtrl::ClickFocusedLink()
{
    CWnd* pOwner = GetOwner();
    if (!pOwner)
        pOwner = GetParent();
    if (pOwner)
        pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), (LPARAM)m_hWnd);
}

void CQVTTaskDialogLinkCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CStatic::OnSetFocus(pOldWnd);
    if (m_nFocused < 0 && m_arrLinks.GetSize() > 0)
        SetFocusedLink(0);
    Invalidate(FALSE);
}

void CQVTTaskDialogLinkCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CStatic::OnKillFocus(pNewWnd);
    SetFocusedLink(-1);
}

UINT CQVTTaskDialogLinkCtrl::OnGetDlgCode()
{
    const MSG* pMsg = reinterpret_cast<const MSG*>(GetCurrentMessage()->lParam);
    if (!pMsg)
        return DLGC_UNDEFPUSHBUTTON;
    if (pMsg->message == WM_CHAR)
    {
        if (pMsg->wParam == VK_TAB)
            return DLGC_WANTTAB;
        if (pMsg->wParam == VK_RETURN)
            return DLGC_WANTCHARS;
        return DLGC_UNDEFPUSHBUTTON;
    }
    if (pMsg->message != WM_KEYDOWN)
        return DLGC_UNDEFPUSHBUTTON;
    switch (pMsg->wParam)
    {
    case VK_RETURN:
    case VK_SPACE:
        return m_nFocused >= 0 ? DLGC_WANTMESSAGE : DLGC_UNDEFPUSHBUTTON;
    case VK_TAB:
        if (::GetKeyState(VK_SHIFT) & 0x8000)
        {
            if (m_nFocused >= 1)
            {
                SetFocusedLink(m_nFocused - 1);
                return DLGC_WANTTAB;
            }
            return DLGC_UNDEFPUSHBUTTON;
        }
        if (m_nFocused + 1 < m_arrLinks.GetSize())
        {
            SetFocusedLink(m_nFocused + 1);
            return DLGC_WANTTAB;
        }
        return DLGC_UNDEFPUSHBUTTON;
    }
    return DLGC_UNDEFPUSHBUTTON;
}

void CQVTTaskDialogLinkCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if ((nChar == VK_RETURN || nChar == VK_SPACE) && m_nFocused >= 0)
    {
        ClickFocusedLink();
        return;
    }
    CStatic::OnKeyDown(nChar, nRepCnt, nFlags);
}

LRESULT CQVTTaskDialogLinkCtrl::OnSetText(WPARAM, LPARAM lParam)
{
    RemoveAllLinks();
    m_strDisplay = ParseLinks(lParam ? CString(reinterpret_cast<LPCTSTR>(lParam)) : CString(), m_arrLinks);
    LRESULT lResult = DefWindowProc(WM_SETTEXT, 0, (LPARAM)(LPCTSTR)m_strDisplay);
    Invalidate(FALSE);
    return lResult;
}

LRESULT CQVTTaskDialogLinkCtrl::OnUpdateUIStateMessage(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    Invalidate(FALSE);
    return lResult;
}
