#include "toolkit/foundation/core/QVTOSVersion.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"

// The edit.

IMPLEMENT_DYNCREATE(CQVTSkinObjectEdit, CQVTSkinObjectUser32Control)

CQVTSkinObjectEdit::CQVTSkinObjectEdit()
{
    m_strClassName = u"EDIT";
    m_nCtlColorMessage = WM_CTLCOLOREDIT;
}

UINT CQVTSkinObjectEdit::GetClientBrushMessage()
{
    if (!::IsWindowEnabled(m_hWnd) || (::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

void CQVTSkinObjectEdit::DrawFrame(CDC* pDC)
{
    // An up-down buddy overlapping the edit by two pixels keeps its own
    // drawing there.
    HWND hNext = ::GetWindow(m_hWnd, GW_HWNDNEXT);
    if (hNext != nullptr && ::IsWindowVisible(hNext))
    {
        CRect rcWindow;
        CRect rcNext;
        ::GetWindowRect(m_hWnd, &rcWindow);
        ::GetWindowRect(hNext, &rcNext);
        CRect rcOverlap;
        if (rcOverlap.IntersectRect(rcWindow, rcNext) && rcOverlap.Width() == QVTDpiScaler()->ScaleX(2))
        {
            rcOverlap.OffsetRect(-rcWindow.left, -rcWindow.top);
            pDC->ExcludeClipRect(rcOverlap);
        }
    }
    CQVTSkinObjectUser32Control::DrawFrame(pDC);
}

// The list box.

IMPLEMENT_DYNCREATE(CQVTSkinObjectListBox, CQVTSkinObjectUser32Control)

CQVTSkinObjectListBox::CQVTSkinObjectListBox()
{
    m_strClassName = u"LISTBOX";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

// The list view.

IMPLEMENT_DYNCREATE(CQVTSkinObjectListView, CQVTSkinObjectComCtl32Control)

BEGIN_MESSAGE_MAP(CQVTSkinObjectListView, CQVTSkinObjectComCtl32Control)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectListView::OnListCreate)
    ON_MESSAGE(WM_HSCROLL, &CQVTSkinObjectListView::OnListScroll)
    ON_MESSAGE(WM_VSCROLL, &CQVTSkinObjectListView::OnListScroll)
END_MESSAGE_MAP()

CQVTSkinObjectListView::CQVTSkinObjectListView()
{
    m_strClassName = u"LISTVIEW";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

void CQVTSkinObjectListView::ApplyColors(BOOL bSkin)
{
    const COLORREF clrWindow = bSkin ? GetColor(COLOR_WINDOW) : ::GetSysColor(COLOR_WINDOW);
    const COLORREF clrText = bSkin ? GetColor(COLOR_WINDOWTEXT) : ::GetSysColor(COLOR_WINDOWTEXT);
    ::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(clrWindow));
    ::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(clrWindow));
    ::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(clrText));
}

LRESULT CQVTSkinObjectListView::OnListCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnCreate(wParam, lParam);
    if (lResult != -1 && IsSkinEnabled())
        ApplyColors(TRUE);
    return lResult;
}

void CQVTSkinObjectListView::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ApplyColors(bNewState);
    CQVTSkinObjectComCtl32Control::OnSkinChanged(bPrevState, bNewState);
}

LRESULT CQVTSkinObjectListView::OnListScroll(WPARAM wParam, LPARAM lParam)
{
    const UINT nCode = LOWORD(wParam);
    if (lParam == 0 && (nCode == SB_THUMBPOSITION || nCode == SB_THUMBTRACK) && QVTOSVersion()->IsWin9x())
    {
        const UINT message = GetCurrentMessage()->message;
        const int nBar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
        const DWORD dwSpacing = static_cast<DWORD>(::SendMessageW(m_hWnd, LVM_GETITEMSPACING, TRUE, 0));
        const int nStep = message == WM_HSCROLL ? LOWORD(dwSpacing) : HIWORD(dwSpacing);
        const int nDelta =
            (static_cast<int>(static_cast<short>(HIWORD(wParam))) - ::GetScrollPos(m_hWnd, nBar)) * nStep;
        ::SendMessageW(m_hWnd, LVM_SCROLL, message == WM_HSCROLL ? nDelta : 0,
                       message == WM_HSCROLL ? 0 : nDelta);
        return 0;
    }
    return CQVTSkinObjectFrame::OnScroll(wParam, lParam);
}

// The tree view.

IMPLEMENT_DYNCREATE(CQVTSkinObjectTreeView, CQVTSkinObjectComCtl32Control)

BEGIN_MESSAGE_MAP(CQVTSkinObjectTreeView, CQVTSkinObjectComCtl32Control)
    ON_MESSAGE(WM_CREATE, &CQVTSkinObjectTreeView::OnTreeCreate)
END_MESSAGE_MAP()

CQVTSkinObjectTreeView::CQVTSkinObjectTreeView()
{
    m_strClassName = u"TREEVIEW";
    m_nCtlColorMessage = WM_CTLCOLORLISTBOX;
}

void CQVTSkinObjectTreeView::ApplyColors(BOOL bSkin, BOOL bLines)
{
    ::SendMessageW(m_hWnd, TVM_SETBKCOLOR, 0, bSkin ? static_cast<LPARAM>(GetColor(COLOR_WINDOW)) : -1);
    ::SendMessageW(m_hWnd, TVM_SETTEXTCOLOR, 0, bSkin ? static_cast<LPARAM>(GetColor(COLOR_WINDOWTEXT)) : -1);
    if (bLines)
        ::SendMessageW(m_hWnd, TVM_SETLINECOLOR, 0,
                       bSkin ? static_cast<LPARAM>(GetColor(COLOR_GRAYTEXT))
                             : static_cast<LPARAM>(CLR_DEFAULT));
}

LRESULT CQVTSkinObjectTreeView::OnTreeCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CQVTSkinObjectFrame::OnCreate(wParam, lParam);
    if (lResult != -1 && IsSkinEnabled())
        ApplyColors(TRUE, FALSE);
    return lResult;
}

void CQVTSkinObjectTreeView::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ApplyColors(bNewState, TRUE);
    CQVTSkinObjectComCtl32Control::OnSkinChanged(bPrevState, bNewState);
}

// The month calendar.

IMPLEMENT_DYNCREATE(CQVTSkinObjectMonthCal, CQVTSkinObjectFrame)

CQVTSkinObjectMonthCal::CQVTSkinObjectMonthCal() {}

void CQVTSkinObjectMonthCal::RefreshMetrics()
{
    CQVTSkinObjectFrame::RefreshMetrics();
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd))
        return;
    const struct
    {
        int nWhich;
        int nColor;
    } kColors[] = {{MCSC_BACKGROUND, COLOR_WINDOW},     {MCSC_MONTHBK, COLOR_WINDOW},
                   {MCSC_TEXT, COLOR_WINDOWTEXT},       {MCSC_TITLEBK, COLOR_ACTIVECAPTION},
                   {MCSC_TITLETEXT, COLOR_CAPTIONTEXT}, {MCSC_TRAILINGTEXT, COLOR_GRAYTEXT}};
    for (const auto& entry : kColors)
        ::SendMessageW(m_hWnd, MCM_SETCOLOR, static_cast<WPARAM>(entry.nWhich),
                       static_cast<LPARAM>(GetColor(entry.nColor)));
}
