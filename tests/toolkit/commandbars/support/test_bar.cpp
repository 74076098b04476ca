#include "tests/toolkit/commandbars/support/test_bar.h"

#include <afxext.h>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/draw/QVTFontDC.h"

IMPLEMENT_DYNCREATE(CTestBar, CQVTCommandBar)

BEGIN_MESSAGE_MAP(CTestBar, CQVTCommandBar)
    ON_MESSAGE(WM_SIZEPARENT, &CTestBar::OnSizeParent)
END_MESSAGE_MAP()

BOOL CTestBar::Create(int nPosition)
{
    m_barPosition = nPosition;
    CWnd* pParent = GetCommandBars() ? GetCommandBars()->GetSite() : m_pParentWnd;
    if (!pParent || !pParent->GetSafeHwnd())
        return FALSE;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, lpszClass, m_strTitle, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 200, 30),
                    pParent, 0xE810);
}

void CTestBar::SetVisible(BOOL bVisible)
{
    m_bVisible = bVisible;
    if (GetSafeHwnd())
        ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
}

BOOL CTestBar::IsVisible() const
{
    return m_bVisible && GetSafeHwnd() && (GetStyle() & WS_VISIBLE);
}

CRect CTestBar::GetBorders()
{
    CRect rcBorder = GetMargins();
    if (IsGripperVisible() && GetSafeHwnd())
    {
        const CSize szGripper = GetPaintManager()->CalcCommandBarGripperSize(this);
        rcBorder.left += szGripper.cx;
        rcBorder.top += szGripper.cy;
    }
    return rcBorder;
}

CSize CTestBar::Layout(int nLength)
{
    m_nLayoutWidth = nLength;
    CClientDC dc(this);
    CQVTFontDC font(&dc, GetPaintManager()->GetCommandBarFont(this));
    if (m_barType == qvtBarTypePopup)
    {
        CSize sz;
        GetControls()->CalcPopupSize(sz, &dc, 0, nLength, GetBorders());
        return sz;
    }
    const DWORD dwMode = LM_HORZ | LM_HORZDOCK | LM_COMMIT | m_dwExtraLayoutMode;
    return GetControls()->CalcDynamicSize(&dc, nLength, dwMode, GetBorders());
}

void CTestBar::OnRecalcLayout()
{
    ++m_nRecalcCount;
    if (!GetSafeHwnd())
        return;
    CRect rc;
    GetClientRect(&rc);
    Layout(rc.Width());
    Redraw();
}

LRESULT CTestBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!IsVisible())
        return 0;
    const CRect rcAvail(pLayout->rect);
    const CSize sz = Layout(rcAvail.Width());
    const CRect rc(rcAvail.left, rcAvail.top, rcAvail.right, rcAvail.top + sz.cy);
    pLayout->rect.top += sz.cy;
    if (pLayout->hDWP)
        pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, nullptr, rc.left, rc.top, rc.Width(),
                                         rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw();
    return 0;
}

CDibCapture::CDibCapture(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    m_nWidth = rc.Width();
    m_nHeight = rc.Height();
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = m_nWidth;
    bmi.bmiHeader.biHeight = -m_nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_pBits = static_cast<DWORD*>(pBits);
    HDC hWindowDC = ::GetDC(pWnd->GetSafeHwnd());
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HGDIOBJ hOld = ::SelectObject(hMemDC, m_hBitmap);
    ::BitBlt(hMemDC, 0, 0, m_nWidth, m_nHeight, hWindowDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(pWnd->GetSafeHwnd(), hWindowDC);
    ::GdiFlush();
}

CDibCapture::~CDibCapture()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

COLORREF CDibCapture::At(int x, int y) const
{
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return CLR_INVALID;
    const DWORD p = m_pBits[y * m_nWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CDibCapture::CountIn(const CRect& rc, COLORREF clr) const
{
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nCount += At(x, y) == clr;
    return nCount;
}
