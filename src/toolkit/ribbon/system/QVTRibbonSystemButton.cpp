#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"

#include <afxadv.h>

#include <algorithm>
#include <vector>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/ribbon/QVTRibbonResource.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTRibbonControlSystemButton, CQVTControlPopup, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonSystemPopupBar, CQVTPopupBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonSystemPopupBarPage, CQVTPopupBar, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemPopupBarButton, CQVTControlButton,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemPopupBarListCaption, CQVTControl,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemPopupBarListItem, CQVTControlButton,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemPopupBarPinableListItem, CQVTRibbonControlSystemPopupBarListItem,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemRecentFileList, CQVTRibbonControlSystemPopupBarListCaption,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemRecentFileListFileItem, CQVTRibbonControlSystemPopupBarListItem,
                 VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTRibbonControlSystemRecentFileListPinableFileItem,
                 CQVTRibbonControlSystemPopupBarPinableListItem, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
int SystemScaleX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}

int SystemScaleY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

// The ribbon paint manager of whatever bar holds the control.
CQVTRibbonPaintManager* SystemRibbonPaintManagerOf(const CQVTControl* pControl)
{
    CQVTCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->IsRibbonBar())
        return static_cast<CQVTRibbonBar*>(pBar)->GetRibbonPaintManager();
    CQVTPaintManager* pPaintManager = pBar ? pBar->GetPaintManager() : nullptr;
    return pPaintManager ? pPaintManager->GetRibbonPaintManager() : nullptr;
}

// The bar that opened the popup bar, through its control.
CQVTCommandBar* SystemOpenerBarOf(const CQVTPopupBar* pPopup)
{
    CQVTControlPopup* pControl = pPopup->GetControlPopup();
    return pControl ? pControl->GetParent() : nullptr;
}
}  // namespace

// System button.

CQVTRibbonControlSystemButton::CQVTRibbonControlSystemButton() : m_bCloseOnDblClick(TRUE)
{
    SetFlags(0x18);
    EnableAutomation();
}

CQVTRibbonBar* CQVTRibbonControlSystemButton::GetRibbonBar() const
{
    return m_pParent && m_pParent->IsRibbonBar() ? static_cast<CQVTRibbonBar*>(m_pParent) : nullptr;
}

CString CQVTRibbonControlSystemButton::GetCaption() const
{
    CString strCaption = CQVTControlPopup::GetCaption();
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->IsMenuUpperCase())
        strCaption.MakeUpper();
    return strCaption;
}

CSize CQVTRibbonControlSystemButton::GetSize(CDC* pDC)
{
    CSize sz = CQVTControlPopup::GetSize(pDC);
    if (GetStyle() != qvtButtonAutomatic)
    {
        sz.cx = std::max(static_cast<int>(sz.cx), SystemScaleX(56));
        sz.cy = std::max(static_cast<int>(sz.cy), SystemScaleY(23));
    }
    return sz;
}

CSize CQVTRibbonControlSystemButton::Draw(CDC* pDC)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    CQVTRibbonPaintManager* pPaintManager = pRibbonBar ? pRibbonBar->GetRibbonPaintManager() : nullptr;
    if (pPaintManager)
        pPaintManager->DrawRibbonFrameSystemButton(pDC, this, GetRect());
    return GetRect().Size();
}

BOOL CQVTRibbonControlSystemButton::OnLButtonDblClk(CPoint point)
{
    // The first press opened the menu and it closed before this one
    // (Escape, a command): to the user this is a new press, which opens the
    // menu again; only a press on the open menu's button is a double-click.
    if (m_pCommandBar && !m_bPopuped && m_pParent && m_pParent->GetSafeHwnd())
    {
        m_pParent->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        return TRUE;
    }
    CQVTCommandBars::ClosePopups(GetCommandBars());
    CWnd* pSite = m_pParent ? m_pParent->GetSite() : nullptr;
    // On a top-level frame the double-click belongs to the window (it
    // closes there), not to the button.
    if (GetStyle() == qvtButtonAutomatic && pSite && pSite->GetSafeHwnd() &&
        !(pSite->GetStyle() & WS_CHILD) && m_bCloseOnDblClick)
        return TRUE;
    OnExecute();
    return TRUE;
}

void CQVTRibbonControlSystemButton::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    CQVTRibbonBar* pRibbonBar = GetRibbonBar();
    if (pRibbonBar && GetStyle() == qvtButtonAutomatic && pRibbonBar->IsFrameThemeEnabled() &&
        DYNAMIC_DOWNCAST(CQVTRibbonSystemPopupBar, m_pCommandBar))
    {
        // The menu overlaps the lower part of the button.
        rc.bottom -= SystemScaleY(18);
        return;
    }
    if (GetStyle() != qvtButtonAutomatic)
        return;
    CQVTControlPopup::AdjustExcludeRect(rc, bVertical);
}

// Application menu.

BEGIN_MESSAGE_MAP(CQVTRibbonSystemPopupBar, CQVTPopupBar)
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CQVTRibbonSystemPopupBar::CQVTRibbonSystemPopupBar()
{
    SetShowGripper(FALSE);
    GetBorders();
}

CRect CQVTRibbonSystemPopupBar::GetBorders()
{
    CQVTPaintManager* pPaintManager = m_pCommandBars ? GetPaintManager() : nullptr;
    const BOOL bFlat = pPaintManager && pPaintManager->GetThemeId() >= 12;
    const CRect rc = bFlat ? CRect(2, 2, 2, 2) : CRect(6, 18, 6, 29);
    m_rcBorders = QVTDpiScaler()->ScaleRect(rc);
    return m_rcBorders;
}

void CQVTRibbonSystemPopupBar::FillCommandBarEntry(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CQVTRibbonPaintManager* pRibbonPaintManager =
        pPaintManager ? pPaintManager->GetRibbonPaintManager() : nullptr;
    if (pRibbonPaintManager)
        pRibbonPaintManager->FillSystemPopupBar(pDC, this);
    else
        CQVTPopupBar::FillCommandBarEntry(pDC);
}

CSize CQVTRibbonSystemPopupBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    GetBorders();
    std::vector<CQVTControl*> arrFoot;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CQVTControl* pControl = GetControl(i);
        if (pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemPopupBarButton)))
        {
            arrFoot.push_back(pControl);
            pControl->SetHideFlags(pControl->GetHideFlags() | qvtHideDockingPosition);
        }
    }
    const CSize sz = CQVTPopupBar::CalcDynamicLayout(nLength, dwMode);
    if (arrFoot.empty())
        return sz;

    // Right-aligned in the bottom band, in bar order from left to right.
    CWnd* pDCWnd = GetSafeHwnd() ? static_cast<CWnd*>(this) : CWnd::GetDesktopWindow();
    CClientDC dc(pDCWnd);
    CFont* pFont = GetPaintManager() ? GetPaintManager()->GetCommandBarFont(this) : nullptr;
    CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;
    int x = sz.cx - m_rcBorders.right + SystemScaleX(1);
    for (auto it = arrFoot.rbegin(); it != arrFoot.rend(); ++it)
    {
        CQVTControl* pControl = *it;
        pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(qvtHideDockingPosition));
        const CSize szButton = pControl->GetSize(&dc);
        pControl->SetRect(
            CRect(x - szButton.cx, sz.cy - m_rcBorders.bottom + SystemScaleY(4), x, sz.cy - SystemScaleY(3)));
        x -= szButton.cx + SystemScaleX(6);
    }
    if (pOldFont)
        dc.SelectObject(pOldFont);
    return sz;
}

LRESULT CQVTRibbonSystemPopupBar::OnNcHitTest(CPoint point)
{
    // The button under the menu keeps the mouse.
    CQVTControlPopup* pControl = m_pControlPopup;
    if (pControl && pControl->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemButton)) &&
        pControl->GetParent() && pControl->GetParent()->GetSafeHwnd())
    {
        CRect rc = pControl->GetRect();
        pControl->GetParent()->ClientToScreen(&rc);
        if (rc.PtInRect(point))
            return HTTRANSPARENT;
    }
    return CQVTPopupBar::OnNcHitTest(point);
}

// Page popup.

CQVTRibbonSystemPopupBarPage::CQVTRibbonSystemPopupBarPage() : m_nLastHeight(0) {}

CQVTRibbonSystemPopupBar* CQVTRibbonSystemPopupBarPage::GetSystemPopupBar() const
{
    return DYNAMIC_DOWNCAST(CQVTRibbonSystemPopupBar, SystemOpenerBarOf(this));
}

void CQVTRibbonSystemPopupBarPage::AdjustExcludeRect(CRect& rc, BOOL bVertical)
{
    CQVTRibbonSystemPopupBar* pMenu = GetSystemPopupBar();
    if (!pMenu || !pMenu->GetSafeHwnd())
    {
        CQVTPopupBar::AdjustExcludeRect(rc, bVertical);
        return;
    }
    // The rectangle is in the menu's client co-ordinates.
    rc.top = pMenu->GetBorders().top + SystemScaleY(1);
    rc.right += SystemScaleX(1);
}

CSize CQVTRibbonSystemPopupBarPage::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize sz = CQVTPopupBar::CalcDynamicLayout(nLength, dwMode);
    CQVTRibbonSystemPopupBar* pMenu = GetSystemPopupBar();
    if (pMenu && pMenu->GetSafeHwnd())
    {
        CRect rcClient;
        pMenu->GetClientRect(&rcClient);
        const CRect rcBorders = pMenu->GetBorders();
        sz.cy = std::max(static_cast<int>(sz.cy),
                         rcClient.Height() - rcBorders.top - rcBorders.bottom - SystemScaleY(2));
    }
    m_nLastHeight = sz.cy;
    return sz;
}

// Foot buttons.

CQVTRibbonControlSystemPopupBarButton::CQVTRibbonControlSystemPopupBarButton() {}

BOOL CQVTRibbonControlSystemPopupBarButton::IsInSystemPopupBar() const
{
    return m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CQVTRibbonSystemPopupBar));
}

CSize CQVTRibbonControlSystemPopupBarButton::GetSize(CDC* pDC)
{
    CQVTPaintManager* pPaintManager = IsInSystemPopupBar() ? GetPaintManager() : nullptr;
    if (!pPaintManager)
        return CQVTControlButton::GetSize(pDC);
    return pPaintManager->DrawControlToolBarParent(pDC, this, FALSE);
}

CSize CQVTRibbonControlSystemPopupBarButton::Draw(CDC* pDC)
{
    CQVTRibbonPaintManager* pPaintManager = IsInSystemPopupBar() ? SystemRibbonPaintManagerOf(this) : nullptr;
    if (!pPaintManager)
        return CQVTControlButton::Draw(pDC);
    return pPaintManager->DrawSystemPopupBarButton(pDC, this);
}

CSize CQVTRibbonControlSystemPopupBarButton::GetButtonSize() const
{
    return CSize(SystemScaleX(22), SystemScaleY(22));
}

CSize CQVTRibbonControlSystemPopupBarButton::GetIconSize() const
{
    return CSize(16, 16);
}

// List caption.

CQVTRibbonControlSystemPopupBarListCaption::CQVTRibbonControlSystemPopupBarListCaption()
    : m_szControl(SystemScaleX(300), SystemScaleY(27))
{
}

CSize CQVTRibbonControlSystemPopupBarListCaption::GetSize(CDC*)
{
    return m_szControl;
}

CSize CQVTRibbonControlSystemPopupBarListCaption::Draw(CDC* pDC)
{
    const CRect rc = GetRect();
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager)
        return m_szControl;
    CFont* pOldFont = pDC->SelectObject(pPaintManager->GetRegularBoldFont());
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(pPaintManager->GetControlTextColor(this));
    CRect rcText(rc.left + SystemScaleX(7), rc.top + SystemScaleY(4), rc.right, rc.bottom - SystemScaleY(5));
    pDC->DrawText(GetCaption(), rcText, DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
    if (CQVTRibbonPaintManager* pRibbon = SystemRibbonPaintManagerOf(this))
    {
        pDC->FillSolidRect(rc.left, rc.bottom - SystemScaleY(6), rc.Width(), 1,
                           pRibbon->m_clrRecentFileListEdgeShadow);
        pDC->FillSolidRect(rc.left, rc.bottom - SystemScaleY(5), rc.Width(), 1,
                           pRibbon->m_clrRecentFileListEdgeHighLight);
    }
    return m_szControl;
}

// List item.

CQVTRibbonControlSystemPopupBarListItem::CQVTRibbonControlSystemPopupBarListItem()
    : m_szControl(SystemScaleX(300), SystemScaleY(21)), m_bShowNumber(FALSE)
{
}

CSize CQVTRibbonControlSystemPopupBarListItem::GetSize(CDC*)
{
    return m_szControl;
}

void CQVTRibbonControlSystemPopupBarListItem::DrawItemBackground(CDC* pDC, CRect& rcText)
{
    if (CQVTPaintManager* pPaintManager = GetPaintManager())
        pPaintManager->DrawControlEntry(pDC, this);
    rcText = GetRect();
}

void CQVTRibbonControlSystemPopupBarListItem::DrawItemText(CDC* pDC, CRect rcText)
{
    CQVTPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager)
        return;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(pPaintManager->GetControlTextColor(this));
    rcText.left += SystemScaleX(7);
    CQVTImageManager* pImageManager = GetIconId() > 0 ? GetImageManager() : nullptr;
    CQVTImageManagerIcon* pImage = pImageManager ? pImageManager->GetImage(GetIconId(), 16) : nullptr;
    if (pImage)
    {
        const CSize szIcon = pPaintManager->GetControlIconSize(pImage, CSize(16, 16), this, GetRect().Size());
        pImage->DrawSized(pDC, CPoint(rcText.left, (rcText.top + rcText.bottom - szIcon.cy) / 2), szIcon);
        rcText.left += szIcon.cx + SystemScaleX(4);
    }
    CString strCaption = GetCaption();
    if (m_bShowNumber && strCaption.GetLength() > 2 && strCaption[0] == _T('&') && strCaption[2] == _T(' '))
    {
        // The "&" makes the digit the mnemonic; the number has its column.
        CRect rcNumber = rcText;
        pDC->DrawText(strCaption.Left(2), rcNumber, DT_SINGLELINE | DT_VCENTER);
        strCaption = strCaption.Mid(3);
        rcText.left += pDC->GetTextExtent(_T("0"), 1).cx + SystemScaleX(7);
    }
    pDC->DrawText(strCaption, rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    pDC->SetBkMode(nOldMode);
}

CSize CQVTRibbonControlSystemPopupBarListItem::Draw(CDC* pDC)
{
    CRect rcText;
    DrawItemBackground(pDC, rcText);
    DrawItemText(pDC, rcText);
    return m_szControl;
}

// Pinnable list item.

CQVTRibbonControlSystemPopupBarPinableListItem::CQVTRibbonControlSystemPopupBarPinableListItem()
    : m_pPinImages(new CQVTImageManager())
{
    HMODULE hModule = AfxGetResourceHandle();
    const HMODULE hFound = ::FindResource(hModule, MAKEINTRESOURCE(QVT_IDR_RIBBON_PIN_PINNED), _T("RT_XAML"))
                               ? hModule
                               : ::GetModuleHandle(nullptr);
    m_pPinImages->SetVectorIconFromResource(hFound, MAKEINTRESOURCE(QVT_IDR_RIBBON_PIN_PINNED), _T("RT_XAML"),
                                            idPinned, SystemScaleX(16));
    m_pPinImages->SetVectorIconFromResource(hFound, MAKEINTRESOURCE(QVT_IDR_RIBBON_PIN_UNPINNED),
                                            _T("RT_XAML"), idUnpinned, SystemScaleX(16));
}

CQVTRibbonControlSystemPopupBarPinableListItem::~CQVTRibbonControlSystemPopupBarPinableListItem()
{
    m_pPinImages->InternalRelease();
}

CRect CQVTRibbonControlSystemPopupBarPinableListItem::GetPinRect() const
{
    CRect rc = GetRect();
    rc.left = std::max(rc.left, rc.right - SystemScaleX(28));
    return rc;
}

void CQVTRibbonControlSystemPopupBarPinableListItem::DrawItemBackground(CDC* pDC, CRect& rcText)
{
    CRect rc = GetRect();
    if (GetSelected() == selectedPin)
        rc.right -= SystemScaleX(28);
    if (CQVTPaintManager* pPaintManager = GetPaintManager())
        pPaintManager->DrawRectangle(pDC, rc, GetSelected(), GetPressed(), GetEnabled(), FALSE, FALSE,
                                     m_pParent ? m_pParent->GetType() : 0,
                                     m_pParent ? m_pParent->GetPosition() : 0);
    rcText = GetRect();
    rcText.right -= SystemScaleX(28);
}

CSize CQVTRibbonControlSystemPopupBarPinableListItem::Draw(CDC* pDC)
{
    CRect rcText;
    DrawItemBackground(pDC, rcText);
    DrawItemText(pDC, rcText);
    const CRect rc = GetRect();
    // GetChecked takes the action's state when the control's own is unset.
    CQVTImageManagerIcon* pImage = m_pPinImages->GetImage(GetChecked() ? idPinned : idUnpinned, 16);
    if (pImage)
    {
        CSize szIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
        if (!pImage->IsVectorIcon() && GetPaintManager())
            szIcon = GetPaintManager()->GetControlIconSize(pImage, CSize(16, 16), this, rc.Size());
        const CPoint pt((2 * rc.right - SystemScaleX(28)) / 2 - SystemScaleX(8),
                        (rc.top + rc.bottom) / 2 - SystemScaleY(8));
        pImage->DrawSized(pDC, pt, szIcon);
    }
    return m_szControl;
}

void CQVTRibbonControlSystemPopupBarPinableListItem::OnLButtonUp(CPoint point)
{
    // The pin toggles and opens nothing.
    if (GetPinRect().PtInRect(point))
    {
        SetChecked(!GetChecked());
        return;
    }
    CQVTRibbonControlSystemPopupBarListItem::OnLButtonUp(point);
}

void CQVTRibbonControlSystemPopupBarPinableListItem::OnMouseMove(CPoint point)
{
    const BOOL bInPin = GetPinRect().PtInRect(point);
    if (m_bSelected && m_bSelected != selectedPin && bInPin)
    {
        m_bSelected = selectedPin;
        RedrawParent(FALSE);
    }
    else if (m_bSelected == selectedPin && !bInPin && GetRect().PtInRect(point))
    {
        m_bSelected = 1;
        RedrawParent(FALSE);
    }
}

BOOL CQVTRibbonControlSystemPopupBarPinableListItem::OnSetSelected(int bSelected)
{
    if (!CQVTRibbonControlSystemPopupBarListItem::OnSetSelected(bSelected))
        return FALSE;
    if ((bSelected == 1 || bSelected > 3) && m_pParent && m_pParent->GetSafeHwnd())
    {
        CPoint pt;
        ::GetCursorPos(&pt);
        m_pParent->ScreenToClient(&pt);
        if (GetPinRect().PtInRect(pt))
            m_bSelected = selectedPin;
    }
    return TRUE;
}

// Recent-file items.

CQVTRibbonControlSystemRecentFileListPinableFileItem::CQVTRibbonControlSystemRecentFileListPinableFileItem()
    : m_nFileIndex(0), m_pPinableList(nullptr)
{
}

void CQVTRibbonControlSystemRecentFileListPinableFileItem::SetChecked(int bChecked)
{
    const BOOL bChanged = m_bChecked != bChecked;
    m_bChecked = bChecked;
    if (bChanged)
        RedrawParent(TRUE);
    // The pinnable list may hold fewer items than entries.
    if (CQVTRecentFileListItem* pItem = m_pPinableList ? m_pPinableList->GetItem(m_nFileIndex) : nullptr)
        pItem->m_bPinned = bChecked ? TRUE : FALSE;
}

// Recent-file list.

CRecentFileList* CQVTRibbonControlSystemRecentFileList::GetRecentFileList()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pRecentFileList : nullptr;
}

int CQVTRibbonControlSystemRecentFileList::GetFirstMruID()
{
    return QVT_ID_FILE_MRU_FIRST;
}

CString CQVTRibbonControlSystemRecentFileList::FormatRecentFileCaption(LPCTSTR lpszText, int nIndex)
{
    CString strText(lpszText ? lpszText : _T(""));
    strText.Replace(_T("&"), _T("&&"));
    if (nIndex < 1 || nIndex > 9)
        return strText;
    CString strCaption;
    strCaption.Format(_T("&%i %s"), nIndex, static_cast<LPCTSTR>(strText));
    return strCaption;
}

void CQVTRibbonControlSystemRecentFileList::OnCalcDynamicSize(DWORD)
{
    CRecentFileList* pList = GetRecentFileList();
    if (!pList || !pList->m_arrNames || !m_pControls)
        return;
    const int nFirst = GetFirstMruID();
    const int nLast = nFirst + pList->GetSize();
    // The items of the previous layout go first.
    while (m_nIndex + 1 < m_pControls->GetCount())
    {
        CQVTControl* pNext = m_pControls->GetAt(m_nIndex + 1);
        if (pNext->GetID() < nFirst || pNext->GetID() > nLast)
            break;
        m_pControls->Remove(pNext);
    }
    if (m_pParent && m_pParent->IsCustomizeMode())
    {
        SetHideFlags(0);
        SetEnabled(TRUE);
        return;
    }
    CQVTPinableRecentFileList* pPinable = CQVTPinableRecentFileList::IsPinableList(pList)
                                              ? static_cast<CQVTPinableRecentFileList*>(pList)
                                              : nullptr;
    const BOOL bShowPins = pPinable && pPinable->m_bShowPins;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        const CString strPath = pList->m_arrNames[i];
        if (strPath.IsEmpty())
            break;
        TCHAR szTitle[260] = {};
        CString strName;
        if (::AfxGetFileTitle(strPath, szTitle, 260) == 0)
            strName = szTitle;
        CQVTRecentFileListItem* pFileItem = pPinable ? pPinable->GetItem(i) : nullptr;
        if (pFileItem && !pFileItem->m_strCaption.IsEmpty())
            strName = pFileItem->m_strCaption;

        CQVTRibbonControlSystemPopupBarListItem* pItem = nullptr;
        if (bShowPins)
        {
            auto* pPinItem = new CControlPinableFileItem();
            pPinItem->SetFile(i, pPinable);
            pItem = pPinItem;
        }
        else
        {
            pItem = new CControlFileItem();
        }
        pItem->SetShowNumber(TRUE);
        m_pControls->Add(pItem, nFirst + i, nullptr, m_nIndex + 1 + i, TRUE);
        if (pFileItem)
        {
            if (bShowPins)
                pItem->SetChecked(pFileItem->m_bPinned);
            if (pItem->GetIconId() != pFileItem->m_nIconId)
            {
                pItem->SetIconId(pFileItem->m_nIconId);
                pItem->RedrawParent(FALSE);
            }
        }
        pItem->SetCaption(FormatRecentFileCaption(strName, i + 1));
        pItem->SetFlags(0x48);
        pItem->SetTooltip(strPath);
        pItem->SetParameter(strPath);
        pItem->SetDescription(_T(""));
    }
}
