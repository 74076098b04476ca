#include "toolkit/commandbars/controls/QVTControlComboBox.h"

#include <algorithm>

#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxAutoCompleteWnd.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlComboBox, CQVTControlPopup, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
// SHAutoComplete's flag that lets Tab complete.
const DWORD kAutoCompleteUseTab = 8;

BOOL IsComboKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}
}  // namespace

CQVTControlComboBox::CQVTControlComboBox(CQVTCommandBars* pCommandBars)
    : m_bDropDown(FALSE), m_nComboStyle(0), m_nLastSel(-1), m_nThumbWidth(0), m_bAutoComplete(FALSE),
      m_bDelete(FALSE), m_dwShellAutoCompleteFlags(0), m_bSelEndOk(FALSE), m_nDropDownItemCount(12),
      m_pAutoComplete(nullptr), m_nCurSel(-1), m_bIgnoreSelection(FALSE)
{
    m_controlType = qvtControlComboBox;
    m_nWidth = CQVTPaintManager::DpiX(100);
    auto* pList = new CQVTControlComboBoxList();
    pList->SetCommandBars(pCommandBars);
    SetCommandBar(pList);
    pList->InternalRelease();
    pList->CreateListBox();
}

CQVTControlComboBox::~CQVTControlComboBox()
{
    if (m_bFocused)
        CQVTMouseManager::GetThreadManager()->RemoveFocusedControl();
    delete m_pAutoComplete;
    m_pAutoComplete = nullptr;
    DestroyEditWindow();
}

CQVTControlComboBoxPopupBar* CQVTControlComboBox::GetComboPopup() const
{
    return DYNAMIC_DOWNCAST(CQVTControlComboBoxPopupBar, m_pCommandBar);
}

CQVTControlComboBoxList* CQVTControlComboBox::GetComboList() const
{
    return DYNAMIC_DOWNCAST(CQVTControlComboBoxList, m_pCommandBar);
}

CQVTControlComboBoxEditCtrl* CQVTControlComboBox::CreateEditCtrl()
{
    auto* pEdit = new CQVTControlComboBoxEditCtrl();
    pEdit->m_pHost = this;
    return pEdit;
}

// The list.

int CQVTControlComboBox::AddString(LPCTSTR lpszItem)
{
    CQVTControlComboBoxList* pList = GetComboList();
    return pList ? pList->AddString(lpszItem) : -1;
}

int CQVTControlComboBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (!pList || !pList->GetListBoxHwnd())
        return -1;
    return static_cast<int>(::SendMessage(pList->GetListBoxHwnd(), LB_INSERTSTRING,
                                          static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszItem)));
}

void CQVTControlComboBox::DeleteItem(int nIndex)
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (pList && pList->GetListBoxHwnd())
        ::SendMessage(pList->GetListBoxHwnd(), LB_DELETESTRING, static_cast<WPARAM>(nIndex), 0);
}

void CQVTControlComboBox::ResetContent()
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (pList)
        pList->ResetContent();
}

int CQVTControlComboBox::GetCount() const
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup ? std::max(pPopup->GetCount(), 0) : 0;
}

CString CQVTControlComboBox::GetLBText(int nIndex) const
{
    CString strText;
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (pPopup && nIndex >= 0 && nIndex < GetCount())
        pPopup->GetText(nIndex, strText);
    return strText;
}

void CQVTControlComboBox::SetItemData(int nIndex, DWORD_PTR dwData)
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (pList && pList->GetListBoxHwnd())
        ::SendMessage(pList->GetListBoxHwnd(), LB_SETITEMDATA, static_cast<WPARAM>(nIndex),
                      static_cast<LPARAM>(dwData));
}

DWORD_PTR CQVTControlComboBox::GetItemData(int nIndex) const
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (!pList || !pList->GetListBoxHwnd())
        return 0;
    const LRESULT lResult =
        ::SendMessage(pList->GetListBoxHwnd(), LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
    return lResult == LB_ERR ? 0 : static_cast<DWORD_PTR>(lResult);
}

int CQVTControlComboBox::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup ? pPopup->FindString(nStartAfter, lpszItem) : -1;
}

int CQVTControlComboBox::FindStringExact(int nStartAfter, LPCTSTR lpszItem) const
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup ? pPopup->FindStringExact(nStartAfter, lpszItem) : -1;
}

int CQVTControlComboBox::GetCurSel() const
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    return pPopup ? pPopup->GetCurSel() : m_nCurSel;
}

void CQVTControlComboBox::SetCurSel(int nIndex)
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (pPopup)
        pPopup->SetCurSel(nIndex);
    else
        m_nCurSel = nIndex;
    m_bIgnoreSelection = TRUE;
    SetEditText(GetListBoxText());
    m_bIgnoreSelection = FALSE;
    RedrawParent();
}

CString CQVTControlComboBox::GetListBoxText() const
{
    const int nSel = GetCurSel();
    CString strText;
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (nSel >= 0 && pPopup)
        pPopup->GetText(nSel, strText);
    return strText;
}

void CQVTControlComboBox::UpdatePopupSelection()
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (m_bIgnoreSelection || !pPopup)
        return;
    const CString strText = GetText();
    const int nExact = pPopup->FindStringExact(-1, strText);
    if (nExact == -1)
    {
        const int nPrefix = pPopup->FindString(-1, strText);
        if (nPrefix != -1)
            pPopup->SetTopIndex(nPrefix);
        pPopup->SetCurSel(-1);
    }
    else
        pPopup->SetCurSel(nExact);
}

// Text.

CString CQVTControlComboBox::GetText() const
{
    return m_bDropDown ? GetEditText() : GetListBoxText();
}

void CQVTControlComboBox::SetEditHint(LPCTSTR lpszHint)
{
    const CString strText = GetEditText();
    ClearHint();
    m_strEditHint = lpszHint ? lpszHint : _T("");
    if (strText.IsEmpty())
        SetText(CString());
    RedrawParent();
}

void CQVTControlComboBox::SetDropDownListStyle(BOOL bEditable)
{
    if (bEditable == m_bDropDown)
        return;
    m_bDropDown = bEditable;
    if (!bEditable)
        DestroyEditWindow();
    m_bLayoutDirty = TRUE;
    DelayLayoutParent();
}

void CQVTControlComboBox::SetStyle(int nComboStyle)
{
    if (nComboStyle == m_nComboStyle)
        return;
    m_nComboStyle = nComboStyle;
    DelayLayoutParent();
}

void CQVTControlComboBox::SetThumbWidth(int nThumbWidth)
{
    if (nThumbWidth == m_nThumbWidth)
        return;
    m_nThumbWidth = nThumbWidth;
    m_bLayoutDirty = TRUE;
}

CRect CQVTControlComboBox::GetDropDownRect() const
{
    return CRect(m_rcControl.right - m_nThumbWidth, m_rcControl.top, m_rcControl.right, m_rcControl.bottom);
}

HRESULT CQVTControlComboBox::SetShellAutoComplete(DWORD dwFlags)
{
    delete m_pAutoComplete;
    m_pAutoComplete = nullptr;
    m_dwShellAutoCompleteFlags = dwFlags;
    if (!m_pEdit || !m_pEdit->GetSafeHwnd() || dwFlags == 0)
        return S_OK;
    m_pAutoComplete = new CQVTControlComboBoxAutoCompleteWnd();
    const HRESULT hr = m_pAutoComplete->ShellAutoComplete(m_pEdit->GetSafeHwnd(), dwFlags);
    if (FAILED(hr))
    {
        delete m_pAutoComplete;
        m_pAutoComplete = nullptr;
    }
    return hr;
}

// Colours.

// Placement.

void CQVTControlComboBox::SetRect(CRect rcControl)
{
    if (!m_bDropDown)
    {
        m_rcControl = rcControl;
        return;
    }
    if (!BeginEditPlacement(rcControl))
        return;
    m_rcControl = rcControl;
    UpdateEditWindow();
}

void CQVTControlComboBox::UpdateEditWindow()
{
    BOOL bCreated = FALSE;
    if (!PrepareEditWindow(bCreated))
        return;
    if (bCreated && m_dwShellAutoCompleteFlags)
        SetShellAutoComplete(m_dwShellAutoCompleteFlags);

    CRect rcEdit(m_rcControl);
    rcEdit.left += m_nLabelWidth + CQVTPaintManager::DpiX(4);
    rcEdit.top += CQVTPaintManager::DpiY(3);
    rcEdit.right -= m_nThumbWidth + CQVTPaintManager::DpiX(3);
    rcEdit.bottom -= CQVTPaintManager::DpiY(3);
    MoveEditWindow(rcEdit);
}

void CQVTControlComboBox::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    CQVTControlPopup::SetHideFlags(dwFlags);
    UpdateVisibility();
    DelayLayoutParent();
}

BOOL CQVTControlComboBox::IsCaptionVisible() const
{
    return m_nComboStyle == 1 && !GetCaption().IsEmpty();
}

void CQVTControlComboBox::OnThemeChanged()
{
    m_bLayoutDirty = TRUE;
}

void CQVTControlComboBox::OnCalcDynamicSize(DWORD /*dwMode*/)
{
    // As an edit: the window follows the control's visibility.
    UpdateVisibility();
}

int CQVTControlComboBox::GetCustomizeMinWidth() const
{
    return m_nLabelWidth + m_nThumbWidth + CQVTPaintManager::DpiX(5);
}

// Drawing.

CSize CQVTControlComboBox::Draw(CDC* pDC)
{
    return CQVTControlPopup::Draw(pDC);
}

void CQVTControlComboBox::DrawEditText(CDC* pDC, CRect rcText)
{
    if (m_bDropDown)
        return;
    CQVTPaintManager* pPaintManager = GetPaintManager();
    const BOOL bEnabled = GetEnabled() != 0;
    const BOOL bFocused = bEnabled && m_bFocused;
    if (bFocused)
    {
        CRect rcFill(rcText.left - 1, rcText.top + 1, rcText.right - 1, rcText.bottom - 1);
        pDC->FillSolidRect(rcFill, pPaintManager->GetColor(COLOR_HIGHLIGHT));
    }
    if (m_nEditIconId > 0)
    {
        CQVTImageManager* pImageManager = GetImageManager() ? GetImageManager() : QVTImageManager();
        const CSize szIcon = GetIconSize();
        CQVTImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(m_nEditIconId), szIcon.cx);
        if (pIcon)
            pPaintManager->DrawImage(pDC, CPoint(rcText.left, rcText.CenterPoint().y - szIcon.cy / 2), szIcon,
                                     pIcon, FALSE, FALSE, bEnabled, FALSE, FALSE, FALSE);
        rcText.left += szIcon.cx + CQVTPaintManager::DpiX(2);
    }
    CString strText = GetListBoxText();
    int nTextIndex = bFocused ? COLOR_HIGHLIGHTTEXT : bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
    if (strText.IsEmpty() && bEnabled && !bFocused)
    {
        strText = GetEditHint();
        nTextIndex = COLOR_GRAYTEXT;
    }
    const COLORREF clrText = pPaintManager->GetEditTextColor(nTextIndex, pPaintManager->GetColor(nTextIndex));
    CQVTFontDC font(pDC, pPaintManager->GetRegularFont(), clrText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void CQVTControlComboBox::DrawListItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CQVTControlComboBoxList* pList = GetComboList();
    if (!lpDrawItemStruct || !pList || static_cast<int>(lpDrawItemStruct->itemID) < 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CQVTPaintManager* pPaintManager = GetPaintManager();
    CRect rc(lpDrawItemStruct->rcItem);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    COLORREF clrText;
    if (bSelected)
    {
        pPaintManager->DrawRectangle(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup, qvtBarPopup);
        clrText = pPaintManager->GetRectangleTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup,
                                                       qvtBarPopup);
    }
    else
    {
        pDC->FillSolidRect(rc, pPaintManager->GetColor(COLOR_WINDOW));
        clrText = pPaintManager->GetRectangleTextColor(FALSE, FALSE, TRUE, FALSE, FALSE, qvtBarTypePopup,
                                                       qvtBarPopup);
    }
    CRect rcText(rc);
    if (pList->GetListIconId() != -1)
    {
        CQVTImageManager* pImageManager = GetImageManager() ? GetImageManager() : QVTImageManager();
        CQVTImageManagerIcon* pIcon =
            pImageManager->GetImage(static_cast<UINT>(pList->GetListIconId() + lpDrawItemStruct->itemID));
        if (pIcon)
        {
            const CSize sz = pIcon->GetExtent();
            pPaintManager->DrawImage(pDC, CPoint(rc.left + 2, rc.CenterPoint().y - sz.cy / 2), sz, pIcon,
                                     bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
            rcText.left += 2 + sz.cx + 2;
        }
    }
    rcText.left += 3;
    CString strText;
    pList->GetText(static_cast<int>(lpDrawItemStruct->itemID), strText);
    CQVTFontDC font(pDC, pPaintManager->GetRegularFont(), clrText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// Focus and keys.

void CQVTControlComboBox::SetFocused(BOOL bFocused)
{
    if (bFocused == m_bFocused)
        return;
    CQVTObjectRef<CQVTControl> keepAlive(this);
    m_bFocused = bFocused;
    if (bFocused)
        CQVTMouseManager::GetThreadManager()->AddFocusedControl();
    else
        CQVTMouseManager::GetThreadManager()->RemoveFocusedControl();
    if (bFocused)
    {
        m_nLastSel = GetCurSel();
        m_bSelEndOk = FALSE;
        if (m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() != m_pEdit->GetSafeHwnd())
            m_pEdit->SetFocus();
        if (m_pParent)
        {
            m_pParent->SetTrackingMode(TRUE, FALSE, FALSE);
            m_pParent->SetSelected(m_nIndex, CQVTCommandBar::selectByMouse);
        }
    }
    else
    {
        if (!m_bSelEndOk && !m_bPopuped && !m_pEdit)
        {
            SetCurSel(m_nLastSel);
            NotifySite(QVT_CBN_SELENDCANCEL);
        }
        if (HasFocus())
        {
            HWND hWndBack = ::IsWindow(m_hwndFocusBefore) ? m_hwndFocusBefore : nullptr;
            if (!hWndBack && m_pParent && m_pParent->GetSite())
                hWndBack = m_pParent->GetSite()->GetSafeHwnd();
            ::SetFocus(hWndBack);
        }
        m_hwndFocusBefore = nullptr;
    }
    NotifySite(bFocused ? QVT_CBN_SETFOCUS : QVT_CBN_KILLFOCUS);
    RedrawParent();
}

void CQVTControlComboBox::OnEditSetFocus(HWND hWndPrevious)
{
    if (m_bHintShown && m_pEdit)
    {
        m_bHintShown = FALSE;
        m_pEdit->SetEditText(CString());
        RefreshColors();
    }
    m_strLastText = GetEditText();
    UpdatePopupSelection();
    m_bDelete = TRUE;
    if (!m_hwndFocusBefore)
    {
        m_hwndFocusBefore = hWndPrevious;
        if (!m_hwndFocusBefore && m_pParent && m_pParent->GetSite())
            m_hwndFocusBefore = m_pParent->GetSite()->GetSafeHwnd();
    }
    if (!m_bPopuped)
        CQVTCommandBars::ClosePopups(GetCommandBars());
    SetFocused(TRUE);
    if (m_pAutoComplete)
        m_pAutoComplete->SetupHooks();
}

void CQVTControlComboBox::OnEditKillFocus()
{
    CQVTObjectRef<CQVTControl> keepAlive(this);
    if (GetEditText().IsEmpty())
        SetText(CString());
    SetFocused(FALSE);
    if (m_bPopuped && m_pParent)
        m_pParent->SetPopuped(-1);
    if (m_pAutoComplete)
        m_pAutoComplete->ResetHooks();
}

void CQVTControlComboBox::OnEditChanged()
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (!m_bIgnoreSelection && m_bAutoComplete && !m_bDelete && m_pEdit && m_pEdit->GetSafeHwnd() && pPopup)
    {
        const CString strText = GetEditText();
        int nStart = 0, nEnd = 0;
        m_pEdit->GetSel(nStart, nEnd);
        if (!strText.IsEmpty() && nStart == nEnd && nEnd == strText.GetLength())
        {
            const int nFound = pPopup->FindString(-1, strText);
            if (nFound != -1)
            {
                CString strFound;
                pPopup->GetText(nFound, strFound);
                SetEditText(strFound);
                m_pEdit->SetSel(strText.GetLength(), strFound.GetLength());
                m_pEdit->SendMessage(EM_SCROLLCARET);
            }
        }
    }
    m_bDelete = TRUE;
    UpdatePopupSelection();
    NotifySite(QVT_CBN_EDITCHANGE);
}

void CQVTControlComboBox::OnSelChanged()
{
    m_bIgnoreSelection = TRUE;
    SetEditText(GetListBoxText());
    m_bIgnoreSelection = FALSE;
    RedrawParent();
    NotifySite(QVT_CBN_SELCHANGE);
}

void CQVTControlComboBox::OnExecute()
{
    CQVTObjectRef<CQVTControl> keepAlive(this);
    if (GetCurSel() != -1 && (m_bPopuped || (!m_bDropDown && m_bFocused)))
        NotifySite(QVT_CBN_SELENDOK);
    m_bSelEndOk = TRUE;
    m_nLastSel = GetCurSel();
    CQVTControl::OnExecute();
}

void CQVTControlComboBox::SelectEditText()
{
    if (m_pEdit && m_pEdit->GetSafeHwnd())
    {
        m_pEdit->SetSel(0, -1);
        m_pEdit->SendMessage(EM_SCROLLCARET);
    }
}

BOOL CQVTControlComboBox::OnSetPopup(BOOL bPopup)
{
    CQVTObjectRef<CQVTControl> keepAlive(this);
    if (bPopup)
    {
        m_bSelEndOk = FALSE;
        m_nLastSel = GetCurSel();
        if (m_pAutoComplete && ::IsWindow(m_pAutoComplete->GetDropDown()))
            ::ShowWindow(m_pAutoComplete->GetDropDown(), SW_HIDE);
        if (m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() != m_pEdit->GetSafeHwnd())
            m_pEdit->SetFocus();
    }
    else if (!m_bSelEndOk)
    {
        if (!m_bFocused && !m_bDropDown)
            SetCurSel(m_nLastSel);
        NotifySite(QVT_CBN_SELENDCANCEL);
    }
    return CQVTControlPopup::OnSetPopup(bPopup);
}

void CQVTControlComboBox::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (m_pEdit && m_pEdit->IsImeComposing())
        return;
    if (!m_pParent)
        return;
    CQVTObjectRef<CQVTControl> keepAlive(this);
    if (m_pParent->IsCustomizeMode())
    {
        m_pParent->SetPopuped(-1);
        CustomizeStartDrag(pt);
        return;
    }
    if (bKeyboard && GetEnabled())
    {
        if (m_bFocused)
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    if (m_bFocused && m_bPopuped)
    {
        m_pParent->SetPopuped(-1);
        return;
    }
    CQVTControlPopup::OnClick(bKeyboard, pt);
}

int CQVTControlComboBox::EditKeyDown(UINT nChar, LPARAM lParam)
{
    if (!m_pEdit || !m_pEdit->GetSafeHwnd())
        return FALSE;
    const BOOL bCtrl = IsComboKeyDown(VK_CONTROL);
    const BOOL bEditingKey = nChar == VK_BACK || (nChar >= VK_PRIOR && nChar <= VK_DELETE) ||
                             (bCtrl && (nChar == 'C' || nChar == 'V' || nChar == 'X' || nChar == 'Z'));
    if (!bEditingKey)
        return 2;
    MSG msg = {m_pEdit->GetSafeHwnd(), WM_KEYDOWN, nChar, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::GetCursorPos(&msg.pt);
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    return TRUE;
}

BOOL CQVTControlComboBox::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    if (!GetFocused())
        return FALSE;
    CQVTObjectRef<CQVTControl> keepAlive(this);
    m_bDelete = nChar == VK_DELETE || nChar == VK_BACK;
    if (m_pEdit && m_pEdit->IsImeComposing())
        return 2;
    const BOOL bAlt = IsComboKeyDown(VK_MENU), bCtrl = IsComboKeyDown(VK_CONTROL);
    switch (nChar)
    {
    case VK_TAB:
        if (!(m_dwShellAutoCompleteFlags & kAutoCompleteUseTab))
            return TRUE;
        break;
    case VK_RETURN:
        return FALSE;
    case VK_ESCAPE:
        if (m_pParent && m_bPopuped)
            m_pParent->SetPopuped(-1);
        SetCurSel(m_nLastSel);
        SetEditText(m_strLastText);
        SetFocused(FALSE);
        return m_pParent && m_pParent->IsPopupBar();
    default:
        break;
    }
    if (m_pEdit && bAlt && !bCtrl)
    {
        CQVTCommandBars* pCommandBars = GetCommandBars();
        if (pCommandBars && pCommandBars->ProcessAltKey(nChar))
            return TRUE;
    }
    if ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt))
    {
        OnClick(FALSE, GetDropDownRect().CenterPoint());
        return TRUE;
    }
    const BOOL bNavigation = nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_UP || nChar == VK_DOWN;
    if (bNavigation && !bAlt && m_pAutoComplete && ::IsWindowVisible(m_pAutoComplete->GetDropDown()))
    {
        MSG msg = {m_pAutoComplete->GetDropDown(),         WM_KEYDOWN, nChar, lParam,
                   static_cast<DWORD>(::GetMessageTime()), {}};
        ::IsDialogMessage(m_pAutoComplete->GetDropDown(), &msg);
        return TRUE;
    }
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (pPopup && ((bNavigation && !bAlt) || !m_pEdit))
    {
        pPopup->ProcessHookKeyDown(this, nChar, lParam);
        return TRUE;
    }
    return EditKeyDown(nChar, lParam);
}

BOOL CQVTControlComboBox::OnHookMouseWheel(WPARAM wParam, LPARAM lParam)
{
    CQVTControlComboBoxPopupBar* pPopup = GetComboPopup();
    if (m_bPopuped || m_pAutoComplete || !pPopup)
        return FALSE;
    const short nDelta = GET_WHEEL_DELTA_WPARAM(wParam);
    pPopup->ProcessHookKeyDown(this, nDelta > 0 ? VK_UP : VK_DOWN, lParam);
    return TRUE;
}

void CQVTControlComboBox::OnMouseMove(CPoint point)
{
    if (!m_bSelected || !GetEnabled())
        return;
    const int nState = GetDropDownRect().PtInRect(point) ? selectedDropDown : selectedText;
    if (nState != m_bSelected)
    {
        m_bSelected = nState;
        RedrawParent(FALSE);
    }
}

BOOL CQVTControlComboBox::OnSetSelected(int bSelected)
{
    const BOOL bResult = CQVTControlPopup::OnSetSelected(bSelected);
    if (bSelected == 0 && !m_bPopuped)
        SetFocused(FALSE);
    return bResult;
}

void CQVTControlComboBox::OnUnderlineActivate()
{
    SetFocused(TRUE);
}

void CQVTControlComboBox::OnEnabledChanged()
{
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->EnableWindow(GetEnabled() ? TRUE : FALSE);
    RefreshColors();
}

// Life in the bar.

void CQVTControlComboBox::SetParent(CQVTCommandBar* pParent)
{
    CQVTControlPopup::SetParent(pParent);
    CQVTControlComboBoxList* pList = GetComboList();
    if (pList && pParent && !pList->GetCommandBars())
        pList->SetCommandBars(pParent->GetCommandBars());
    CWnd* pSite = pParent ? pParent->GetSite() : nullptr;
    if (pList && pList->GetListBoxHwnd() && pSite && pSite->GetSafeHwnd())
        ::SetWindowLongPtr(pList->GetListBoxHwnd(), GWLP_HWNDPARENT,
                           reinterpret_cast<LONG_PTR>(pSite->GetSafeHwnd()));
    if (!pParent)
        DestroyEditWindow();
}

void CQVTControlComboBox::OnRemoved()
{
    UpdateVisibility();
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->ShowWindow(SW_HIDE);
    CQVTControlPopup::OnRemoved();
    if (!m_pControls)
        DestroyEditWindow();
}

void CQVTControlComboBox::OnActionChanged(int nProperty)
{
    CQVTControlPopup::OnActionChanged(nProperty);
    if (nProperty == 2)
        UpdateVisibility();
    else if (nProperty == 4 && GetEditText().IsEmpty())
        SetText(CString());
}

void CQVTControlComboBox::OnActionChanging(int nProperty)
{
    if (nProperty == 4 && m_bHintShown && m_pEdit && m_pEdit->GetSafeHwnd())
    {
        m_bHintShown = FALSE;
        m_pEdit->SetEditText(CString());
    }
}

BOOL CQVTControlComboBox::Compare(CQVTControl* pOther)
{
    return DYNAMIC_DOWNCAST(CQVTControlComboBox, pOther) && CQVTControlPopup::Compare(pOther);
}

void CQVTControlComboBox::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControlComboBox* pCombo = DYNAMIC_DOWNCAST(CQVTControlComboBox, pSource);
    if (pCombo && pCombo != this)
    {
        m_nComboStyle = pCombo->m_nComboStyle;
        m_dwEditStyle = pCombo->m_dwEditStyle;
        SetEditText(pCombo->GetEditText());
        m_strEditHint = pCombo->m_strEditHint;
        SetDropDownListStyle(pCombo->m_bDropDown);
        m_bAutoComplete = pCombo->m_bAutoComplete;
        m_dwShellAutoCompleteFlags = pCombo->m_dwShellAutoCompleteFlags;
        m_nEditIconId = pCombo->m_nEditIconId;
        m_nDropDownItemCount = pCombo->m_nDropDownItemCount;
        m_nTextLimit = pCombo->m_nTextLimit;
    }
    // The list is copied, not shared: each box has its own list box.
    CQVTCommandBar* pOwnList = m_pCommandBar;
    if (pOwnList)
        pOwnList->InternalAddRef();
    CQVTControlPopup::Copy(pSource, FALSE);
    if (pCombo && pOwnList && pCombo->m_pCommandBar && pOwnList != pCombo->m_pCommandBar)
    {
        pOwnList->Copy(pCombo->m_pCommandBar, bRecursive);
        SetCommandBar(pOwnList);
    }
    if (pOwnList)
        pOwnList->InternalRelease();
}

CQVTControl* CQVTControlComboBox::Clone(BOOL bRecursive)
{
    auto* pClone = new CQVTControlComboBox(GetCommandBars());
    pClone->Copy(this, bRecursive);
    return pClone;
}

BOOL CQVTControlComboBox::CanTakeLoadedBar(CQVTCommandBar* pBar) const
{
    return DYNAMIC_DOWNCAST(CQVTControlComboBoxPopupBar, pBar) && CQVTControlPopup::CanTakeLoadedBar(pBar);
}

void CQVTControlComboBox::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControlPopup::DoPropExchange(pPX);
    const UINT nSchema = pPX->GetSchema();
    BOOL bDropDown = m_bDropDown;
    PropExchangeBool(pPX, _T("DropDown"), bDropDown, TRUE);
    int nWidth = m_nWidth;
    PropExchangeIntScaledX(pPX, _T("Width"), nWidth, 0);
    PropExchangeInt(pPX, _T("ComboStyle"), m_nComboStyle, 0);
    DWORD dwShellFlags = m_dwShellAutoCompleteFlags;
    if (nSchema > 8)
    {
        PropExchangeString(pPX, _T("EditHint"), m_strEditHint, _T(""));
        int nFlags = static_cast<int>(dwShellFlags);
        PropExchangeInt(pPX, _T("ShellAutoCompleteFlags"), nFlags, 0);
        dwShellFlags = static_cast<DWORD>(nFlags);
        PropExchangeBool(pPX, _T("AutoComplete"), m_bAutoComplete, FALSE);
        PropExchangeInt(pPX, _T("EditIconId"), m_nEditIconId, 0);
        PropExchangeInt(pPX, _T("DropDownItemCount"), m_nDropDownItemCount, 12);
    }
    if (nSchema > 16)
    {
        int nStyle = static_cast<int>(m_dwEditStyle);
        PropExchangeInt(pPX, _T("EditStyle"), nStyle, 0);
        m_dwEditStyle = static_cast<DWORD>(nStyle);
    }
    if (nSchema > 34)
        PropExchangeInt(pPX, _T("TextLimit"), m_nTextLimit, 0);
    if (pPX->IsLoading())
    {
        SetDropDownListStyle(bDropDown);
        SetShellAutoComplete(dwShellFlags);
        m_dwShellAutoCompleteFlags = dwShellFlags;
    }
}
