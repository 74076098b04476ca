#include "toolkit/commandbars/controls/QVTControlComboBoxList.h"

#include <afxext.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTKeyboardManager.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlComboBoxList, CQVTControlComboBoxPopupBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
// Stored lists are read only as far as this; a forged count reads no further.
const int kMaxStoredComboItems = 10000;

BOOL IsComboListKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}
}  // namespace

BEGIN_MESSAGE_MAP(CQVTControlComboBoxList, CQVTControlComboBoxPopupBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQVTControlComboBoxList::CQVTControlComboBoxList()
    : m_dwStyle(0), m_nListIconId(-1), m_hWndList(nullptr), m_pfnListProc(nullptr), m_bTracking(FALSE)
{
    m_barType = 6;
}

CQVTControlComboBoxList::~CQVTControlComboBoxList()
{
    DestroyListBox();
}

void CQVTControlComboBoxList::DestroyListBox()
{
    if (m_hWndList && ::IsWindow(m_hWndList))
    {
        if (m_pfnListProc)
            ::SetWindowLongPtr(m_hWndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnListProc));
        ::RemoveProp(m_hWndList, _T("QVTComboList"));
        ::DestroyWindow(m_hWndList);
    }
    m_hWndList = nullptr;
    m_pfnListProc = nullptr;
}

void CQVTControlComboBoxList::OnDestroy()
{
    CQVTControlComboBoxPopupBar::OnDestroy();
}

LRESULT CQVTControlComboBoxList::SendList(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return m_hWndList ? ::SendMessage(m_hWndList, message, wParam, lParam) : LB_ERR;
}

void CQVTControlComboBoxList::CreateListBox()
{
    if (m_hWndList && ::IsWindow(m_hWndList))
        return;
    const DWORD dwStyle = m_dwStyle & ~WS_DLGFRAME;
    CQVTControlComboBox* pCombo = GetComboBox();
    CWnd* pSite = GetSite();
    const BOOL bOwnerDraw = (dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    if (bOwnerDraw && pSite && pSite->GetSafeHwnd())
    {
        // Made a child of the site first, so that the owner-draw messages
        // go there, then turned into a popup the site owns.
        m_hWndList = ::CreateWindowEx(0x280, _T("LISTBOX"), nullptr, dwStyle | 0x42200001, 0, 0, 0,
                                      CQVTPaintManager::DpiY(50), pSite->GetSafeHwnd(), nullptr,
                                      AfxGetInstanceHandle(), nullptr);
        if (m_hWndList)
        {
            ::SetWindowLongPtr(m_hWndList, GWL_STYLE,
                               (::GetWindowLongPtr(m_hWndList, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
            ::SetParent(m_hWndList, nullptr);
            ::SetWindowLongPtr(m_hWndList, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pSite->GetSafeHwnd()));
        }
    }
    else
        m_hWndList = ::CreateWindowEx(0x280, _T("LISTBOX"), nullptr, dwStyle | 0x82200000, 0, 0, 0,
                                      CQVTPaintManager::DpiY(50), pSite ? pSite->GetSafeHwnd() : nullptr,
                                      nullptr, AfxGetInstanceHandle(), nullptr);
    if (!m_hWndList)
        return;
    ::SetProp(m_hWndList, _T("QVTComboList"), reinterpret_cast<HANDLE>(this));
    m_pfnListProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(
        m_hWndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CQVTControlComboBoxList::ListWndProc)));
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
    {
        int nHeight = 0;
        if (m_nListIconId != -1)
        {
            CQVTImageManager* pImageManager = GetImageManager() ? GetImageManager() : QVTImageManager();
            CQVTImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(m_nListIconId));
            if (pIcon)
                nHeight = pIcon->GetHeight() + 4;
        }
        if (nHeight == 0)
        {
            HFONT hFont = reinterpret_cast<HFONT>(SendList(WM_GETFONT));
            LOGFONT lf = {};
            ::GetObject(hFont ? hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), sizeof(lf),
                        &lf);
            nHeight = std::abs(static_cast<int>(lf.lfHeight)) + 4;
        }
        SendList(LB_SETITEMHEIGHT, 0, nHeight);
    }
    (void)pCombo;
}

int CQVTControlComboBoxList::AddString(LPCTSTR lpszItem, DWORD_PTR dwData)
{
    CreateListBox();
    const int nIndex = static_cast<int>(SendList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)));
    if (nIndex >= 0 && dwData)
        SendList(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwData));
    return nIndex;
}

void CQVTControlComboBoxList::ResetContent()
{
    SendList(LB_RESETCONTENT);
}

int CQVTControlComboBoxList::GetCurSel() const
{
    return static_cast<int>(SendList(LB_GETCURSEL));
}

int CQVTControlComboBoxList::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    return static_cast<int>(
        SendList(LB_FINDSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CQVTControlComboBoxList::FindStringExact(int nStartAfter, LPCTSTR lpszItem) const
{
    return static_cast<int>(
        SendList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszItem)));
}

int CQVTControlComboBoxList::SetTopIndex(int nIndex)
{
    return static_cast<int>(SendList(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex)));
}

void CQVTControlComboBoxList::SetCurSel(int nIndex)
{
    SendList(LB_SETCURSEL, static_cast<WPARAM>(nIndex));
}

void CQVTControlComboBoxList::GetText(int nIndex, CString& strText) const
{
    strText.Empty();
    const LRESULT nLength = SendList(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex));
    if (nLength == LB_ERR || nLength < 0)
        return;
    std::vector<TCHAR> buffer(static_cast<size_t>(nLength) + 1, 0);
    if (SendList(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.data())) != LB_ERR)
        strText = buffer.data();
}

int CQVTControlComboBoxList::GetCount() const
{
    return static_cast<int>(SendList(LB_GETCOUNT));
}

BOOL CQVTControlComboBoxList::ProcessHookKeyDown(CQVTControlComboBox* pComboBox, UINT nChar, LPARAM lParam)
{
    if (!pComboBox || !m_hWndList)
        return FALSE;
    const BOOL bAlt = IsComboListKeyDown(VK_MENU);
    const BOOL bEdit = pComboBox->GetEditCtrl() && pComboBox->GetEditCtrl()->GetSafeHwnd();
    const int nOld = GetCurSel();
    if (bEdit)
    {
        if (bAlt || (nChar != VK_PRIOR && nChar != VK_NEXT && nChar != VK_UP && nChar != VK_DOWN))
            return FALSE;
        ::SendMessage(m_hWndList, WM_KEYDOWN, nChar, lParam);
    }
    else
    {
        if ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt))
            return FALSE;
        ::SendMessage(m_hWndList, WM_KEYDOWN, nChar, lParam);
        // Typed letters search the list, as in a dialog.
        MSG msgChar;
        if (::PeekMessage(&msgChar, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE))
            ::SendMessage(m_hWndList, WM_CHAR, msgChar.wParam, msgChar.lParam);
    }
    if (GetCurSel() != nOld)
    {
        pComboBox->OnSelChanged();
        pComboBox->SelectEditText();
    }
    return TRUE;
}

BOOL CQVTControlComboBoxList::Popup(CQVTControl* pControlPopup, BOOL /*bSelectFirst*/)
{
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pControlPopup);
    CreateListBox();
    if (!pCombo || !m_hWndList)
        return FALSE;
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    m_pControlPopup = pCombo;
    CQVTPaintManager* pPaintManager = pCombo->GetPaintManager();
    SendList(WM_SETFONT, reinterpret_cast<WPARAM>(pPaintManager->GetRegularFont()->GetSafeHandle()), FALSE);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(QVTWM_INITPOPUP, 0, reinterpret_cast<LPARAM>(this));

    const LONG_PTR nRtl = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    LONG_PTR nExStyle = ::GetWindowLongPtr(m_hWndList, GWL_EXSTYLE);
    CQVTCommandBar* pParent = pCombo->GetParent();
    if (pParent && pParent->IsLayoutRTL())
        nExStyle = (nExStyle & ~WS_EX_LAYOUTRTL) | nRtl;
    else
        nExStyle &= ~nRtl;
    ::SetWindowLongPtr(m_hWndList, GWL_EXSTYLE, nExStyle);

    SetTrackingMode(TRUE, FALSE, FALSE);
    const int nItemHeight = static_cast<int>(SendList(LB_GETITEMHEIGHT));
    const int nLines = std::max(1, std::min(pCombo->GetDropDownItemCount(), GetCount()));
    const int nHeight = CQVTPaintManager::DpiY(4) + nLines * std::max(nItemHeight, 1);
    const int nWidth = GetMRUWidth() > 0 ? GetMRUWidth() : pCombo->GetRect().Width();
    UpdateLocation();
    const CRect rc = CalcPopupRect(m_ptPopup, CSize(nWidth, nHeight));
    ::SetWindowPos(m_hWndList, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::EnableWindow(m_hWndList, TRUE);
    return TRUE;
}

BOOL CQVTControlComboBoxList::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    CQVTObjectRef<CQVTCommandBar> keepAlive(this);
    const BOOL bChanged = CQVTCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
    if (!bChanged)
        return FALSE;
    CQVTControlComboBox* pCombo = GetComboBox();
    CQVTMouseManager* pMouseManager = CQVTMouseManager::GetThreadManager();
    if (bMode)
    {
        m_bTracking = TRUE;
        if (m_hWndList)
            pMouseManager->AddTrustedWindow(m_hWndList);
        if (pCombo)
        {
            pCombo->UpdatePopupSelection();
            pCombo->NotifySite(QVT_CBN_DROPDOWN);
        }
        return TRUE;
    }
    m_bTracking = FALSE;
    if (pCombo)
        pCombo->NotifySite(QVT_CBN_CLOSEUP);
    if (m_hWndList)
    {
        ::ShowWindow(m_hWndList, SW_HIDE);
        pMouseManager->RemoveTrustedWindow(m_hWndList);
    }
    CQVTCommandBar* pParent = pCombo ? pCombo->GetParent() : nullptr;
    if (pParent && pParent->GetPopupedIndex() == pCombo->GetIndex())
        pParent->SetPopuped(-1);
    m_pControlPopup = nullptr;
    return TRUE;
}

int CQVTControlComboBoxList::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    CQVTControlComboBox* pCombo = GetComboBox();
    if (!pCombo)
        return keyNotForBar;
    if (pCombo->GetEditCtrl() && pCombo->GetEditCtrl()->IsImeComposing())
        return keyNotForBar;
    switch (nChar)
    {
    case VK_ESCAPE:
        if (!pCombo->GetFocused())
        {
            SetTrackingMode(FALSE);
            return keyHandled;
        }
        return keyNotForBar;
    case VK_TAB:
        return keyNotForBar;
    case VK_RETURN:
    {
        CQVTObjectRef<CQVTControl> keepCombo(pCombo);
        pCombo->OnExecute();
        return keyHandled;
    }
    default:
        break;
    }
    return ProcessHookKeyDown(pCombo, nChar, lParam) ? keyHandled : keyNotForBar;
}

LRESULT CALLBACK CQVTControlComboBoxList::ListWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pList = reinterpret_cast<CQVTControlComboBoxList*>(::GetProp(hWnd, _T("QVTComboList")));
    if (!pList || !pList->m_pfnListProc)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    const WNDPROC pfnListProc = pList->m_pfnListProc;
    try
    {
        BOOL bHandled = FALSE;
        const LRESULT lResult = pList->OnListMessage(message, wParam, lParam, bHandled);
        if (bHandled)
            return lResult;
    }
    catch (CException* e)
    {
        e->Delete();
        return 0;
    }
    catch (...)
    {
        return 0;
    }
    return ::CallWindowProc(pfnListProc, hWnd, message, wParam, lParam);
}

LRESULT CQVTControlComboBoxList::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    CQVTControlComboBox* pCombo = GetComboBox();
    bHandled = TRUE;
    switch (message)
    {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    {
        const DWORD dwHit = static_cast<DWORD>(SendList(LB_ITEMFROMPOINT, 0, lParam));
        const int nItem = static_cast<int>(LOWORD(dwHit));
        if (HIWORD(dwHit) == 0 && nItem != GetCurSel())
            SetCurSel(nItem);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_LBUTTONUP:
        if (pCombo)
        {
            CQVTObjectRef<CQVTControl> keepCombo(pCombo);
            pCombo->OnSelChanged();
            pCombo->OnExecute();
        }
        return 0;
    case WM_NCPAINT:
        DrawListFrame(m_hWndList);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        PaintList(m_hWndList);
        return 0;
    case WM_REFLECT_BASE + WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    case WM_REFLECT_BASE + WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    case WM_NCDESTROY:
    {
        const WNDPROC pfnListProc = m_pfnListProc;
        ::RemoveProp(m_hWndList, _T("QVTComboList"));
        ::SetWindowLongPtr(m_hWndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnListProc));
        const HWND hWnd = m_hWndList;
        m_hWndList = nullptr;
        m_pfnListProc = nullptr;
        return ::CallWindowProc(pfnListProc, hWnd, message, wParam, lParam);
    }
    default:
        bHandled = FALSE;
        return 0;
    }
}

void CQVTControlComboBoxList::DrawListFrame(HWND hWnd)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    HDC hDC = ::GetWindowDC(hWnd);
    if (!hDC)
        return;
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    rc.OffsetRect(-rc.left, -rc.top);
    CDC* pDC = CDC::FromHandle(hDC);
    pDC->Draw3dRect(rc, pPaintManager->GetColor(53), pPaintManager->GetColor(53));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, pPaintManager->GetColor(COLOR_WINDOW), pPaintManager->GetColor(COLOR_WINDOW));
    ::ReleaseDC(hWnd, hDC);
    // The scroll bar, when there is one, is the system's.
    if (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_VSCROLL)
        ::CallWindowProc(m_pfnListProc, hWnd, WM_NCPAINT, 1, 0);
}

void CQVTControlComboBoxList::PaintList(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(hWnd, &ps);
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CDC* pDC = CDC::FromHandle(hDC);
    CDC dcMemory;
    CBitmap bitmap;
    if (dcMemory.CreateCompatibleDC(pDC) &&
        bitmap.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height()))
    {
        CBitmap* pOld = dcMemory.SelectObject(&bitmap);
        dcMemory.FillSolidRect(rcClient, GetPaintManager()->GetColor(COLOR_WINDOW));
        ::CallWindowProc(m_pfnListProc, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(dcMemory.GetSafeHdc()), 0);
        pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMemory, 0, 0, SRCCOPY);
        dcMemory.SelectObject(pOld);
    }
    else
        ::CallWindowProc(m_pfnListProc, hWnd, WM_PAINT, reinterpret_cast<WPARAM>(hDC), 0);
    ::EndPaint(hWnd, &ps);
}

void CQVTControlComboBoxList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CQVTControlComboBox* pCombo = GetComboBox();
    if (pCombo)
        pCombo->DrawListItem(lpDrawItemStruct);
}

void CQVTControlComboBoxList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CQVTControlComboBox* pCombo = GetComboBox();
    if (pCombo)
        pCombo->MeasureListItem(lpMeasureItemStruct);
}

void CQVTControlComboBoxList::Copy(CQVTCommandBar* pCommandBar, BOOL /*bRecursive*/)
{
    CQVTControlComboBoxList* pList = DYNAMIC_DOWNCAST(CQVTControlComboBoxList, pCommandBar);
    if (!pList || pList == this)
        return;
    m_nListIconId = pList->m_nListIconId;
    m_dwStyle = pList->m_dwStyle;
    m_pCommandBars = pList->m_pCommandBars;
    CreateListBox();
    ResetContent();
    const int nCount = pList->GetCount();
    for (int i = 0; i < nCount; ++i)
    {
        CString strText;
        pList->GetText(i, strText);
        AddString(strText, static_cast<DWORD_PTR>(pList->SendList(LB_GETITEMDATA, static_cast<WPARAM>(i))));
    }
}

CQVTCommandBar* CQVTControlComboBoxList::Clone(BOOL bRecursive)
{
    auto* pClone = new CQVTControlComboBoxList();
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTControlComboBoxList::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControlComboBoxPopupBar::DoPropExchange(pPX);
    if (pPX->GetSchema() >= 24)
        PropExchangeInt(pPX, _T("ListIconId"), m_nListIconId, -1);
    CQVTPropExchangeSection section(pPX->GetSection(_T("Items")));
    CQVTPropExchange* pItems = section.GetExchange();
    if (!pItems)
        return;
    const BOOL bData = pPX->GetSchema() >= 37;
    if (pPX->IsStoring())
    {
        int nCount = m_hWndList ? std::max(GetCount(), 0) : 0;
        PropExchangeInt(pItems, _T("Count"), nCount, 0);
        for (int i = 0; i < nCount; ++i)
        {
            CString strItem;
            GetText(i, strItem);
            CString strKey;
            strKey.Format(_T("Item%i"), i);
            PropExchangeString(pItems, strKey, strItem, _T(""));
            if (bData)
            {
                int nData = static_cast<int>(SendList(LB_GETITEMDATA, static_cast<WPARAM>(i)));
                strKey.Format(_T("ItemData%i"), i);
                PropExchangeInt(pItems, strKey, nData, 0);
            }
        }
        return;
    }
    int nCount = 0;
    PropExchangeInt(pItems, _T("Count"), nCount, 0);
    // A negative or huge count is read as far as it can be trusted.
    nCount = std::max(0, std::min(nCount, kMaxStoredComboItems));
    CreateListBox();
    ResetContent();
    for (int i = 0; i < nCount; ++i)
    {
        CString strItem;
        CString strKey;
        strKey.Format(_T("Item%i"), i);
        PropExchangeString(pItems, strKey, strItem, _T(""));
        int nData = 0;
        if (bData)
        {
            strKey.Format(_T("ItemData%i"), i);
            PropExchangeInt(pItems, strKey, nData, 0);
        }
        AddString(strItem, static_cast<DWORD_PTR>(static_cast<DWORD>(nData)));
    }
}
