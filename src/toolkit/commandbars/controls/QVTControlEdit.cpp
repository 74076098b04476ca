#include "toolkit/commandbars/controls/QVTControlEdit.h"

#include <afxext.h>
#include <richedit.h>

#include <algorithm>

#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxAutoCompleteWnd.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/color/QVTColorManager.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControlEdit, CQVTControl, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

namespace {
// The integer a text starts with, saturated at the ends of the int range.
LONGLONG ParseInteger(const CString& strText)
{
    LPCTSTR p = strText;
    while (*p == u' ' || *p == u'\t')
        ++p;
    BOOL bNegative = FALSE;
    if (*p == u'-' || *p == u'+')
        bNegative = *p++ == u'-';
    LONGLONG nValue = 0;
    for (; *p >= u'0' && *p <= u'9'; ++p)
        nValue = std::min<LONGLONG>(nValue * 10 + (*p - u'0'), static_cast<LONGLONG>(INT_MAX) + 1);
    return bNegative ? -nValue : nValue;
}

BOOL IsKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}
}  // namespace

CQVTControlEdit::CQVTControlEdit()
    : m_bLabel(FALSE), m_bReadOnly(FALSE), m_dwShellAutoCompleteFlags(0), m_bShowSpinButtons(FALSE),
      m_nBuddyButtonId(0), m_bNumbersOnly(FALSE)
{
    m_controlType = qvtControlEdit;
    m_nWidth = CQVTPaintManager::DpiX(100);
}

CQVTControlEdit::~CQVTControlEdit()
{
    m_pAutoComplete.reset();
    DestroyEditWindow();
}

CQVTControlEditCtrl* CQVTControlEdit::CreateEditCtrl()
{
    CQVTControlEditCtrl* pEdit = new CQVTControlEditCtrl();
    pEdit->m_pHost = this;
    return pEdit;
}

// Text.

void CQVTControlEdit::SetEditHint(LPCTSTR lpszHint)
{
    const CString strText = GetEditText();
    m_strEditHint = lpszHint ? lpszHint : _T("");
    if (strText.IsEmpty())
    {
        m_bHintShown = FALSE;
        if (m_pEdit && m_pEdit->GetSafeHwnd())
            m_pEdit->SetEditText(CString());
        SetText(CString());
    }
}

void CQVTControlEdit::SetReadOnly(BOOL bReadOnly)
{
    m_bReadOnly = bReadOnly;
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->SendMessage(EM_SETREADONLY, bReadOnly);
}

void CQVTControlEdit::SetNumbersOnly(BOOL bNumbersOnly)
{
    m_bNumbersOnly = bNumbersOnly;
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        QVTSetNumbersOnly(m_pEdit->GetSafeHwnd(), bNumbersOnly);
}

void CQVTControlEdit::SetShowSpinButtons(BOOL bShow)
{
    if (bShow == m_bShowSpinButtons)
        return;
    m_bShowSpinButtons = bShow;
    m_bLayoutDirty = TRUE;
    DelayLayoutParent();
}

void CQVTControlEdit::SetBuddyButtonId(int nId)
{
    if (nId == m_nBuddyButtonId)
        return;
    m_nBuddyButtonId = nId;
    m_bLayoutDirty = TRUE;
    DelayLayoutParent();
}

void CQVTControlEdit::ShowLabel(BOOL bShow)
{
    if (bShow == m_bLabel)
        return;
    m_bLabel = bShow;
    DelayLayoutParent();
}

BOOL CQVTControlEdit::SetShellAutoComplete(DWORD dwFlags)
{
    // Bound with the combo box's helper, which also follows the shell's
    // suggestion list.
    m_pAutoComplete.reset();
    m_dwShellAutoCompleteFlags = dwFlags;
    if (dwFlags == 0 || !m_pEdit || !m_pEdit->GetSafeHwnd())
        return TRUE;
    m_pAutoComplete = std::make_unique<CQVTControlComboBoxAutoCompleteWnd>();
    if (FAILED(m_pAutoComplete->ShellAutoComplete(m_pEdit->GetSafeHwnd(), dwFlags)))
    {
        m_pAutoComplete.reset();
        return FALSE;
    }
    return TRUE;
}

// Placement.

void CQVTControlEdit::SetRect(CRect rcControl)
{
    if (!BeginEditPlacement(rcControl))
        return;
    m_rcControl = rcControl;
    UpdateEditWindow();
}

void CQVTControlEdit::UpdateEditWindow()
{
    BOOL bCreated = FALSE;
    if (!PrepareEditWindow(bCreated))
        return;
    if (bCreated)
    {
        if (m_bNumbersOnly)
            QVTSetNumbersOnly(m_pEdit->GetSafeHwnd(), TRUE);
        if (m_dwShellAutoCompleteFlags)
            SetShellAutoComplete(m_dwShellAutoCompleteFlags);
    }
    m_pEdit->SendMessage(EM_SETREADONLY, m_bReadOnly);

    CRect rcEdit(m_rcControl);
    rcEdit.left += m_nLabelWidth + CQVTPaintManager::DpiX(4);
    rcEdit.top += CQVTPaintManager::DpiY(3);
    rcEdit.bottom -= CQVTPaintManager::DpiY(3);
    rcEdit.right -= CQVTPaintManager::DpiX(3) + (m_nBuddyButtonId > 0 ? CQVTPaintManager::DpiX(18) : 0) +
                    (m_bShowSpinButtons ? CQVTPaintManager::DpiX(17) : 0);
    MoveEditWindow(rcEdit);
}

CRect CQVTControlEdit::GetSpinButtonsRect() const
{
    if (!m_bShowSpinButtons)
        return CRect(0, 0, 0, 0);
    return CRect(m_rcControl.right - CQVTPaintManager::DpiX(18), m_rcControl.top + 1, m_rcControl.right - 1,
                 m_rcControl.bottom - 1);
}

CRect CQVTControlEdit::GetBuddyButtonRect() const
{
    if (m_nBuddyButtonId <= 0)
        return CRect(0, 0, 0, 0);
    CRect rc(m_rcControl.right - CQVTPaintManager::DpiX(19), m_rcControl.top + 1, m_rcControl.right - 1,
             m_rcControl.bottom - 1);
    if (m_bShowSpinButtons)
        rc.OffsetRect(-CQVTPaintManager::DpiX(17), 0);
    return rc;
}

void CQVTControlEdit::DrawEditIcon(CDC* pDC, CRect rc)
{
    if (m_nEditIconId <= 0)
        return;
    CQVTImageManager* pImageManager = GetImageManager() ? GetImageManager() : QVTImageManager();
    const CSize szIcon = GetIconSize();
    CQVTImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(m_nEditIconId), szIcon.cx);
    if (!pIcon)
        return;
    pIcon->DrawInStateSized(pDC, CPoint(rc.left, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon,
                            GetEnabled() ? 0 : 1);
}

// Colours.

// Focus.

void CQVTControlEdit::SetFocused(BOOL bFocused)
{
    if (bFocused == m_bFocused)
        return;
    m_bFocused = bFocused;
    if (bFocused)
    {
        if (m_pEdit && m_pEdit->GetSafeHwnd() && ::GetFocus() != m_pEdit->GetSafeHwnd())
            m_pEdit->SetFocus();
        if (m_pParent)
        {
            m_pParent->SetTrackingMode(TRUE, FALSE, FALSE);
            m_pParent->SetSelected(m_nIndex, 0);
        }
    }
    else
    {
        if (HasFocus())
        {
            HWND hWndBack = ::IsWindow(m_hwndFocusBefore) ? m_hwndFocusBefore : nullptr;
            if (!hWndBack && m_pParent && m_pParent->GetSite())
                hWndBack = m_pParent->GetSite()->GetSafeHwnd();
            ::SetFocus(hWndBack);
        }
        m_hwndFocusBefore = nullptr;
        if (m_pParent && !m_pParent->IsPopupBar() && m_pParent->IsTrackingMode())
            m_pParent->SetTrackingMode(FALSE, TRUE, FALSE);
    }
    NotifySite(bFocused ? EN_SETFOCUS : EN_KILLFOCUS);
    RedrawParent();
}

void CQVTControlEdit::OnEditSetFocus(HWND hWndPrevious)
{
    if (m_bHintShown)
    {
        m_bHintShown = FALSE;
        m_pEdit->SetEditText(CString());
        RefreshColors();
    }
    m_strTextAtFocus = GetEditText();
    if (!m_hwndFocusBefore)
    {
        m_hwndFocusBefore = hWndPrevious;
        if (!m_hwndFocusBefore && m_pParent && m_pParent->GetSite())
            m_hwndFocusBefore = m_pParent->GetSite()->GetSafeHwnd();
    }
    CQVTCommandBars::ClosePopups(GetCommandBars());
    SetFocused(TRUE);
}

void CQVTControlEdit::OnEditKillFocus()
{
    SetFocused(FALSE);
    if (GetEditText().IsEmpty())
        SetText(CString());
}

void CQVTControlEdit::OnEditChanged()
{
    NotifySite(EN_CHANGE);
}

BOOL CQVTControlEdit::IsFocusable() const
{
    return m_pEdit && m_pEdit->GetSafeHwnd();
}

void CQVTControlEdit::OnUnderlineActivate()
{
    // The keyboard tips of the owning bars go first.
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars)
        pCommandBars->HideKeyboardTips();
    SetFocused(TRUE);
}

BOOL CQVTControlEdit::OnSetSelected(int bSelected)
{
    const BOOL bResult = CQVTControl::OnSetSelected(bSelected);
    if (bSelected == 0)
        SetFocused(FALSE);
    RefreshColors();
    return bResult;
}

// Spinning.

CString AFX_CDECL CQVTControlEdit::SpinText(const CString& strText, int nStep, int nDirection)
{
    if (nStep <= 0)
        nStep = 1;
    nDirection = nDirection < 0 ? -1 : 1;
    LONGLONG nValue = ParseInteger(strText) + static_cast<LONGLONG>(nStep) * nDirection;
    // Back towards where it came from, to the nearest multiple of the step.
    const LONGLONG nRest = ((nValue % nStep) + nStep) % nStep;
    if (nRest)
        nValue += nDirection > 0 ? -nRest : nStep - nRest;
    nValue = std::max<LONGLONG>(INT_MIN, std::min<LONGLONG>(INT_MAX, nValue));
    CString strValue;
    strValue.Format(_T("%i"), static_cast<int>(nValue));
    return strValue;
}

void CQVTControlEdit::OnSpin(int nStep, int nDirection)
{
    if (m_pParent)
    {
        NMQVTEDITSPIN nm = {};
        nm.iDelta = nStep * nDirection;
        if (NotifySite(m_pParent->GetOwnerSite(), nDirection > 0 ? QVT_EN_SPINUP : QVT_EN_SPINDOWN, &nm))
            return;
    }
    SetText(SpinText(GetEditText(), nStep, nDirection));
    NotifySite(QVT_CN_EXECUTE);
}

void CQVTControlEdit::SetSelectedPart(int nPart)
{
    if (nPart == m_bSelected)
        return;
    m_bSelected = nPart;
    RedrawParent(FALSE);
}

void CQVTControlEdit::RunSpinLoop(int nPart)
{
    CQVTCommandBar* pBar = m_pParent;
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    // The spin may remove the control: it lives until the loop is done.
    CQVTControlRef keep(this);
    CQVTCommandBarRef keepBar(pBar);
    const HWND hWndBar = pBar->GetSafeHwnd();
    const int nDirection = nPart == partSpinUp ? 1 : -1;
    pBar->SetSelected(m_nIndex, 0);
    m_bSelected = nPart;
    m_bPressed = nPart;
    RedrawParent(FALSE);
    OnSpin(1, nDirection);
    pBar->SetCapture();
    ::SetTimer(hWndBar, TIMER_SPIN, 530, nullptr);

    DWORD dwHoldStart = ::GetTickCount();
    BOOL bFirstTick = TRUE;
    while (::IsWindow(hWndBar) && ::GetCapture() == hWndBar)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWndBar)
        {
            CPoint point(msg.pt);
            ::ScreenToClient(hWndBar, &point);
            CRect rcPart = GetSpinButtonsRect();
            const int nMiddle = rcPart.top + rcPart.Height() / 2;
            if (nPart == partSpinUp)
                rcPart.bottom = nMiddle;
            else
                rcPart.top = nMiddle;
            const int nPressed = rcPart.PtInRect(point) ? nPart : 0;
            if (nPressed != m_bPressed)
            {
                m_bPressed = nPressed;
                dwHoldStart = ::GetTickCount();
                RedrawParent(FALSE);
            }
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == hWndBar && msg.wParam == TIMER_SPIN)
        {
            if (m_bPressed)
            {
                const DWORD dwUnits = (::GetTickCount() - dwHoldStart) / 1024;
                OnSpin(dwUnits < 2 ? 1 : dwUnits < 5 ? 5 : 20, nDirection);
            }
            if (bFirstTick)
            {
                bFirstTick = FALSE;
                ::SetTimer(hWndBar, TIMER_SPIN, 100, nullptr);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (::IsWindow(hWndBar))
    {
        ::KillTimer(hWndBar, TIMER_SPIN);
        if (::GetCapture() == hWndBar)
            ::ReleaseCapture();
    }
    m_bPressed = 0;
    m_bSelected = partEdit;
    RedrawParent(FALSE);
    if (::IsWindow(hWndBar) && pBar->GetPosition() != qvtBarPopup)
        pBar->SetTrackingMode(FALSE, TRUE, FALSE);
}

void CQVTControlEdit::RunBuddyLoop()
{
    CQVTCommandBar* pBar = m_pParent;
    if (!pBar || !pBar->GetSafeHwnd())
        return;
    CQVTControlRef keep(this);
    CQVTCommandBarRef keepBar(pBar);
    const HWND hWndBar = pBar->GetSafeHwnd();
    pBar->SetSelected(m_nIndex, 0);
    SetSelectedPart(partBuddy);
    pBar->SetCapture();
    while (::IsWindow(hWndBar) && ::GetCapture() == hWndBar)
    {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hWndBar)
        {
            CPoint point(msg.pt);
            ::ScreenToClient(hWndBar, &point);
            SetSelectedPart(GetBuddyButtonRect().PtInRect(point) ? partBuddy : partEdit);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (::IsWindow(hWndBar) && ::GetCapture() == hWndBar)
        ::ReleaseCapture();
    const BOOL bClick = m_bSelected == partBuddy;
    SetSelectedPart(partEdit);
    if (bClick)
        NotifySite(QVT_EN_BUDDYBUTTONCLICK);
}

// Input.

void CQVTControlEdit::OnClick(BOOL bKeyboard, CPoint pt)
{
    if (m_pParent && m_pParent->IsCustomizeMode())
    {
        CustomizeStartDrag(pt);
        return;
    }
    if (bKeyboard)
    {
        if (HasFocus())
            OnExecute();
        else
            SetFocused(TRUE);
        return;
    }
    if (GetEnabled() && !m_bReadOnly && m_bShowSpinButtons && GetSpinButtonsRect().PtInRect(pt))
    {
        const CRect rc = GetSpinButtonsRect();
        RunSpinLoop(pt.y < rc.top + rc.Height() / 2 ? partSpinUp : partSpinDown);
        return;
    }
    if (GetEnabled() && m_nBuddyButtonId > 0 && GetBuddyButtonRect().PtInRect(pt))
    {
        RunBuddyLoop();
        return;
    }
    SetFocused(TRUE);
}

void CQVTControlEdit::OnMouseMove(CPoint point)
{
    if (!GetEnabled() || !m_bSelected)
        return;
    int nPart = m_bSelected;
    const CRect rcSpin = GetSpinButtonsRect();
    if (rcSpin.PtInRect(point))
        nPart = point.y < rcSpin.top + rcSpin.Height() / 2 ? partSpinUp : partSpinDown;
    else if (GetBuddyButtonRect().PtInRect(point))
        nPart = partBuddy;
    else if (nPart == partSpinUp || nPart == partSpinDown || nPart == partBuddy)
        nPart = partEdit;
    SetSelectedPart(nPart);
}

void CQVTControlEdit::OnMouseHover()
{
    // Only while no control of the thread holds the focus.
    if (CQVTMouseManager::GetThreadManager()->GetFocusedControlCount() == 0)
        CQVTControl::OnMouseHover();
}

BOOL CQVTControlEdit::OnHookKeyDown(UINT nChar, LPARAM lParam)
{
    // What a key answers: not taken, taken, or left to the window.
    const BOOL kNotHandled = FALSE, kHandled = TRUE, kToWindow = 2;
    if (!m_bFocused || !m_pEdit || !m_pEdit->GetSafeHwnd())
        return kNotHandled;
    if (m_pEdit->IsImeComposing())
        return kToWindow;
    const BOOL bCtrl = IsKeyDown(VK_CONTROL), bAlt = IsKeyDown(VK_MENU);
    switch (nChar)
    {
    case VK_TAB:
    case VK_RETURN:
        return kNotHandled;
    case VK_ESCAPE:
        SetEditText(m_strTextAtFocus);
        SetFocused(FALSE);
        return m_pParent && m_pParent->IsPopupBar() ? kHandled : kNotHandled;
    case VK_UP:
    case VK_DOWN:
        if (!bAlt && GetEnabled() && !m_bReadOnly && m_bShowSpinButtons)
        {
            OnSpin(1, nChar == VK_UP ? 1 : -1);
            if (HasFocus())
            {
                m_pEdit->SetSel(0, -1);
                m_pEdit->SendMessage(EM_SCROLLCARET);
            }
            return kHandled;
        }
        break;
    default:
        break;
    }
    if (bAlt && !bCtrl)
    {
        CQVTCommandBars* pCommandBars = GetCommandBars();
        return pCommandBars && pCommandBars->ProcessAltKey(nChar) ? kHandled : kNotHandled;
    }
    const BOOL bEditingKey = nChar == VK_BACK || (nChar >= VK_PRIOR && nChar <= VK_DELETE) ||
                             (bCtrl && (nChar == 'C' || nChar == 'V' || nChar == 'X' || nChar == 'Z'));
    if (!bEditingKey)
        return kToWindow;
    // As a dialog would hand it on: the key and the character it makes.
    MSG msg = {m_pEdit->GetSafeHwnd(), WM_KEYDOWN, nChar, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::GetCursorPos(&msg.pt);
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
    return kHandled;
}

// Life in the bar.

void CQVTControlEdit::OnEnabledChanged()
{
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->EnableWindow(GetEnabled() ? TRUE : FALSE);
    RefreshColors();
}

BOOL CQVTControlEdit::IsCaptionVisible() const
{
    return m_bLabel;
}

BOOL CQVTControlEdit::Compare(CQVTControl* pOther)
{
    return DYNAMIC_DOWNCAST(CQVTControlEdit, pOther) && CQVTControl::Compare(pOther);
}

void CQVTControlEdit::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    m_dwHideFlags = dwFlags;
    UpdateVisibility();
    DelayLayoutParent();
}

void CQVTControlEdit::OnCalcDynamicSize(DWORD dwMode)
{
    SetHideFlags((dwMode & LM_VERTDOCK) ? (m_dwHideFlags | qvtHideDockingPosition)
                                        : (m_dwHideFlags & ~qvtHideDockingPosition));
}

void CQVTControlEdit::OnThemeChanged()
{
    m_bLayoutDirty = TRUE;
}

void CQVTControlEdit::SetParent(CQVTCommandBar* pParent)
{
    CQVTControl::SetParent(pParent);
    if (!pParent)
    {
        GetEditText();
        DestroyEditWindow();
    }
}

void CQVTControlEdit::OnRemoved()
{
    UpdateVisibility();
    if (m_pEdit && m_pEdit->GetSafeHwnd())
        m_pEdit->ShowWindow(SW_HIDE);
    CQVTControl::OnRemoved();
}

void CQVTControlEdit::OnActionChanged(int nProperty)
{
    CQVTControl::OnActionChanged(nProperty);
    if (nProperty == 2)
        UpdateVisibility();
    else if (nProperty == 4 && GetEditText().IsEmpty())
        SetText(CString());
}

void CQVTControlEdit::OnActionChanging(int nProperty)
{
    if (nProperty == 4 && m_bHintShown && m_pEdit && m_pEdit->GetSafeHwnd())
    {
        m_bHintShown = FALSE;
        m_pEdit->SetEditText(CString());
    }
}

void CQVTControlEdit::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    CQVTControl::Copy(pSource, bRecursive);
    CQVTControlEdit* pEdit = DYNAMIC_DOWNCAST(CQVTControlEdit, pSource);
    if (!pEdit || pEdit == this)
        return;
    m_dwEditStyle = pEdit->m_dwEditStyle;
    SetEditText(pEdit->GetEditText());
    m_bLabel = pEdit->m_bLabel;
    m_bReadOnly = pEdit->m_bReadOnly;
    m_strEditHint = pEdit->m_strEditHint;
    m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
    m_bShowSpinButtons = pEdit->m_bShowSpinButtons;
    m_nTextLimit = pEdit->m_nTextLimit;
    m_nBuddyButtonId = pEdit->m_nBuddyButtonId;
}

CQVTControl* CQVTControlEdit::Clone(BOOL bRecursive)
{
    CQVTControlEdit* pClone = new CQVTControlEdit();
    pClone->Copy(this, bRecursive);
    return pClone;
}

void CQVTControlEdit::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTControl::DoPropExchange(pPX);
    const UINT nSchema = pPX->GetSchema();
    if (nSchema > 5)
    {
        PropExchangeBool(pPX, _T("HasLabel"), m_bLabel, FALSE);
        PropExchangeIntScaledX(pPX, _T("Width"), m_nWidth, 0);
    }
    if (nSchema > 7)
        PropExchangeBool(pPX, _T("ReadOnly"), m_bReadOnly, FALSE);
    if (nSchema > 8)
    {
        PropExchangeString(pPX, _T("EditHint"), m_strEditHint, _T(""));
        int nFlags = static_cast<int>(m_dwShellAutoCompleteFlags);
        PropExchangeInt(pPX, _T("ShellAutoCompleteFlags"), nFlags, 0);
        m_dwShellAutoCompleteFlags = static_cast<DWORD>(nFlags);
    }
    if (nSchema > 16)
    {
        int nStyle = static_cast<int>(m_dwEditStyle);
        PropExchangeInt(pPX, _T("EditStyle"), nStyle, 0);
        m_dwEditStyle = static_cast<DWORD>(nStyle);
    }
    if (nSchema > 18)
        PropExchangeBool(pPX, _T("ShowSpinButtons"), m_bShowSpinButtons, FALSE);
    if (nSchema > 34)
        PropExchangeInt(pPX, _T("TextLimit"), m_nTextLimit, 0);
    if (nSchema > 36)
        PropExchangeInt(pPX, _T("EditIconId"), m_nEditIconId, 0);
    if (nSchema >= 38)
        PropExchangeInt(pPX, _T("BuddyButtonId"), m_nBuddyButtonId, 0);
    if (pPX->IsLoading())
        SetShellAutoComplete(m_dwShellAutoCompleteFlags);
}
