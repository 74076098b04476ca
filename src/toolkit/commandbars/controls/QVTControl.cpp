#include "toolkit/commandbars/controls/QVTControl.h"

#include <windowsx.h>

#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/accessibility/QVTAccessibleLocation.h"
#include "toolkit/foundation/draw/QVTDrawHelpers.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/foundation/stream/QVTSoundPlayer.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_SERIAL(CQVTControl, CQVTCmdTarget, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BEGIN_INTERFACE_MAP(CQVTControl, CQVTCmdTarget)
    INTERFACE_PART(CQVTControl, IID_IAccessible, Accessible)
END_INTERFACE_MAP()

void CQVTControl::CDocTemplateMap::Copy(const CDocTemplateMap& other)
{
    RemoveAll();
    POSITION pos = other.GetStartPosition();
    while (pos)
    {
        UINT nKey = 0;
        BOOL bValue = FALSE;
        other.GetNextAssoc(pos, nKey, bValue);
        SetAt(nKey, bValue);
    }
}

CQVTControl::CQVTControl()
    : m_nTag(0), m_nIndex(0), m_nId(0), m_nIconId(0), m_nHelpId(0), m_nCustomIconId(0), m_bWrap(FALSE),
      m_bBeginGroup(FALSE), m_bEnabled(TRUE), m_bChecked(FALSE), m_bSelected(FALSE), m_bPressed(FALSE),
      m_bTemporary(FALSE), m_rcRow(0, 0, 0, 0), m_rcControl(0, 0, 0, 0), m_dwHideFlags(0), m_dwFlags(0),
      m_pControls(nullptr), m_controlType(qvtControlError), m_pParent(nullptr), m_bUsageMark(FALSE),
      m_bDefaultItem(FALSE), m_buttonStyle(qvtButtonAutomatic), m_buttonCustomStyle(-1),
      m_buttonRibbonStyle(qvtButtonAutomatic), m_bCloseSubMenuOnClick(TRUE), m_pAction(nullptr), m_nWidth(0),
      m_nHeight(0), m_nExecuteOnPressInterval(0), m_szIcon(0, 0)
{
    EnableAutomation();
    CQVTPaintManager::AddRefInstance();
}

CQVTControl::~CQVTControl()
{
    SetAction(nullptr);
    CQVTPaintManager::ReleaseInstance();
}

// Texts.

CString CQVTControl::GetCaption() const
{
    if (!m_strCustomCaption.IsEmpty())
        return m_strCustomCaption;
    if (!m_strCaption.IsEmpty() || !m_pAction)
        return m_strCaption;
    return !m_pAction->GetCaption().IsEmpty() ? m_pAction->GetCaption() : m_pAction->GetTooltip();
}

CString CQVTControl::GetDescription() const
{
    if (m_strDescriptionText.IsEmpty() && m_pAction)
        return m_pAction->GetDescription();
    return m_strDescriptionText;
}

CString CQVTControl::GetTooltip() const
{
    if (m_strTooltipText.IsEmpty() && m_pAction)
        return m_pAction->GetTooltip();
    return m_strTooltipText;
}

CString CQVTControl::GetShortcutText() const
{
    if (!m_strShortcutText.IsEmpty())
        return m_strShortcutText;
    if (m_pAction && !m_pAction->GetShortcutText().IsEmpty())
        return m_pAction->GetShortcutText();
    return m_strShortcutTextAuto;
}

CString CQVTControl::GetDisplayedShortcutText() const
{
    if (!m_strCustomShortcutText.IsEmpty())
        return m_strCustomShortcutText;
    if (m_strShortcutText.IsEmpty() && m_pAction)
        return m_pAction->GetShortcutText();
    return m_strShortcutText;
}

CString CQVTControl::GetKeyboardTip() const
{
    if (m_strKeyboardTip.IsEmpty() && m_pAction)
        return m_pAction->GetKeyboardTip();
    return m_strKeyboardTip;
}

void CQVTControl::SetCaption(LPCTSTR lpszCaption)
{
    CString strCaption(lpszCaption);
    CString strShortcutAuto;
    const int nTab = strCaption.Find(_T('\t'));
    if (nTab >= 0)
    {
        strShortcutAuto = strCaption.Mid(nTab + 1);
        strCaption = strCaption.Left(nTab);
    }
    const BOOL bCaptionChanged = strCaption != m_strCaption;
    const BOOL bShortcutChanged = strShortcutAuto != m_strShortcutTextAuto;
    m_strCaption = strCaption;
    m_strShortcutTextAuto = strShortcutAuto;
    if (bCaptionChanged)
        OnCaptionChanged();
    if (bCaptionChanged || bShortcutChanged)
        DelayLayoutParent();
}

void CQVTControl::SetCaption(UINT nIDString)
{
    CString strCaption;
    if (QVTResourceManager()->LoadString(&strCaption, nIDString))
        SetCaption(strCaption);
}

void CQVTControl::SetCustomCaption(LPCTSTR lpszCaption)
{
    m_strCustomCaption = lpszCaption;
    DelayLayoutParent();
}

void CQVTControl::SetShortcutText(LPCTSTR lpszShortcut)
{
    m_strShortcutText = lpszShortcut;
    DelayLayoutParent();
}

void CQVTControl::SetPrompt(LPCTSTR lpszPrompt)
{
    CString strPrompt(lpszPrompt);
    CStringArray parts;
    int nStart = 0;
    for (;;)
    {
        const int nNewLine = strPrompt.Find(_T('\n'), nStart);
        if (nNewLine < 0)
        {
            parts.Add(strPrompt.Mid(nStart));
            break;
        }
        parts.Add(strPrompt.Mid(nStart, nNewLine - nStart));
        nStart = nNewLine + 1;
    }
    if (parts.GetSize() == 1)
    {
        m_strTooltipText = strPrompt;
        m_strDescriptionText = strPrompt;
    }
    else
    {
        m_strDescriptionText = parts[0];
        m_strTooltipText = parts[1];
    }
    if (m_strCaption.IsEmpty())
    {
        m_strCaption = parts.GetSize() > 2 && !parts[2].IsEmpty() ? parts[2] : m_strTooltipText;
        OnCaptionChanged();
    }
    if (m_strKeyboardTip.IsEmpty() && parts.GetSize() > 3)
        m_strKeyboardTip = parts[3];
}

void CQVTControl::SetID(int nId)
{
    if (nId == m_nId)
        return;
    CString strPrompt;
    if (nId > 0 && QVTResourceManager()->LoadString(&strPrompt, static_cast<UINT>(nId)))
        SetPrompt(strPrompt);
    m_nId = nId;
}

CString CQVTControl::GetMnemonicCharacter() const
{
    const CString strCaption = GetCaption();
    const int nLength = strCaption.GetLength();
    for (int i = 0; i < nLength; ++i)
    {
        if (strCaption[i] != _T('&'))
            continue;
        // "&&" is a literal ampersand, and a trailing "&" marks nothing.
        if (i + 1 >= nLength)
            break;
        if (strCaption[i + 1] == _T('&'))
        {
            ++i;
            continue;
        }
        return strCaption.Mid(i + 1, 1);
    }
    return CString();
}

// State.

void CQVTControl::SetBeginGroup(BOOL bBeginGroup)
{
    if (m_bBeginGroup == bBeginGroup)
        return;
    m_bBeginGroup = bBeginGroup;
    DelayLayoutParent();
}

void CQVTControl::SetEnabled(int bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    OnEnabledChanged();
    RedrawParent();
}

void CQVTControl::SetChecked(int bChecked)
{
    if (m_bChecked == bChecked)
        return;
    m_bChecked = bChecked;
    RedrawParent();
}

void CQVTControl::SetRect(CRect rcControl)
{
    m_rcControl = rcControl;
}

void CQVTControl::SetHideFlags(DWORD dwFlags)
{
    m_dwHideFlags = dwFlags;
}

BOOL CQVTControl::IsVisible(DWORD dwSkipFlags) const
{
    if (m_pAction && !m_pAction->IsVisible())
        return FALSE;
    return (m_dwHideFlags & ~dwSkipFlags) == 0;
}

void CQVTControl::SetVisible(BOOL bVisible)
{
    const DWORD dwFlags = bVisible ? (m_dwHideFlags & ~qvtHideGeneric) : (m_dwHideFlags | qvtHideGeneric);
    if (dwFlags == m_dwHideFlags)
        return;
    SetHideFlags(dwFlags);
    DelayLayoutParent();
}

void CQVTControl::SetUsageMark(BOOL bMark)
{
    m_bUsageMark = bMark;
    if (!bMark && (m_dwHideFlags & qvtHideExpand))
        SetHideFlags(m_dwHideFlags & ~qvtHideExpand);
}

void CQVTControl::SetItemDefault(BOOL bDefault)
{
    if (m_bDefaultItem == bDefault)
        return;
    m_bDefaultItem = bDefault;
    DelayLayoutParent();
}

void CQVTControl::SetStyle(int nStyle)
{
    if (m_buttonStyle == nStyle)
        return;
    m_buttonStyle = nStyle;
    DelayLayoutParent();
}

void CQVTControl::SetWidth(int nWidth)
{
    if (m_nWidth == nWidth)
        return;
    m_nWidth = nWidth;
    DelayLayoutParent();
}

void CQVTControl::SetHeight(int nHeight)
{
    if (m_nHeight == nHeight)
        return;
    m_nHeight = nHeight;
    DelayLayoutParent();
}

int CQVTControl::GetEnabled() const
{
    if (m_pParent)
    {
        const int nOverride = m_pParent->IsControlEnabled(this);
        if (nOverride != -1)
            return nOverride;
    }
    if (m_bEnabled != -1)
        return m_bEnabled;
    // A control told to follow an action it no longer has stays usable.
    return m_pAction ? m_pAction->GetEnabled() : TRUE;
}

int CQVTControl::GetChecked() const
{
    if (m_bChecked != -1)
        return m_bChecked;
    return m_pAction ? m_pAction->GetChecked() : FALSE;
}

int CQVTControl::GetStyle() const
{
    if (m_buttonCustomStyle != -1)
        return m_buttonCustomStyle;
    if (m_buttonStyle != qvtButtonAutomatic)
        return m_buttonStyle;
    if (m_buttonRibbonStyle != qvtButtonAutomatic)
        return m_buttonRibbonStyle;
    return m_pParent ? m_pParent->GetDefaultButtonStyle() : qvtButtonAutomatic;
}

int CQVTControl::GetIconId() const
{
    if (m_nCustomIconId != 0)
        return m_nCustomIconId;
    if (m_nIconId > 0)
        return m_nIconId;
    if (m_pAction)
        return m_pAction->GetIconId() > 0 ? m_pAction->GetIconId() : m_pAction->GetID();
    return m_nId;
}

BOOL CQVTControl::IsCaptionVisible() const
{
    if (m_pParent && m_pParent->GetType() == qvtBarTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    const int nStyle = GetStyle();
    if (nStyle == qvtButtonCaption || nStyle == qvtButtonIconAndCaption ||
        nStyle == qvtButtonIconAndCaptionBelow)
        return TRUE;
    if (nStyle == qvtButtonIcon)
        return FALSE;
    switch (m_controlType)
    {
    case qvtControlButton:
    case qvtControlButtonPopup:
    case qvtControlSplitButtonPopup:
        return GetImage(GetIconSize().cx) == nullptr;
    case qvtControlPopup:
    case qvtControlLabel:
    case qvtControlCheckBox:
    case qvtControlRadioButton:
        return TRUE;
    default:
        return FALSE;
    }
}

// Geometry and drawing.

CSize CQVTControl::GetButtonSize() const
{
    return m_pParent ? m_pParent->GetButtonSize() : CSize(0, 0);
}

CSize CQVTControl::GetIconSize() const
{
    if (m_szIcon.cx > 0 && m_szIcon.cy > 0)
        return m_szIcon;
    return m_pParent ? m_pParent->GetIconSize() : CSize(0, 0);
}

CSize CQVTControl::GetSize(CDC* pDC)
{
    return GetPaintManager()->DrawControl(pDC, this, FALSE);
}

CSize CQVTControl::Draw(CDC* pDC)
{
    return GetPaintManager()->DrawControl(pDC, this, TRUE);
}

CQVTImageManagerIcon* CQVTControl::GetImage(int nWidth) const
{
    const int nIconId = GetIconId();
    if (nIconId == 0)
        return nullptr;
    CQVTImageManager* pImageManager = GetImageManager();
    return pImageManager ? pImageManager->GetImage(static_cast<UINT>(nIconId), nWidth) : nullptr;
}

CQVTImageManager* CQVTControl::GetImageManager() const
{
    if (m_pParent)
        return m_pParent->GetImageManager();
    CQVTCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : nullptr;
    return pCommandBars ? pCommandBars->GetImageManager() : QVTImageManager();
}

CQVTPaintManager* CQVTControl::GetPaintManager() const
{
    if (m_pParent)
        return m_pParent->GetPaintManager();
    CQVTCommandBars* pCommandBars = m_pControls ? m_pControls->GetCommandBars() : nullptr;
    return pCommandBars ? pCommandBars->GetPaintManager() : QVTPaintManager();
}

CQVTCommandBars* CQVTControl::GetCommandBars() const
{
    if (m_pParent)
        return m_pParent->GetCommandBars();
    return m_pControls ? m_pControls->GetCommandBars() : nullptr;
}

void CQVTControl::DelayLayoutParent()
{
    if (m_pParent)
        m_pParent->DelayLayout();
}

void CQVTControl::RedrawParent(BOOL bAnimate)
{
    if (m_pParent && IsVisible())
        m_pParent->Redraw(m_rcControl, bAnimate);
}

BOOL CQVTControl::IsCursorOver() const
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    m_pParent->ScreenToClient(&pt);
    return m_rcControl.PtInRect(pt);
}

// Actions.

void CQVTControl::SetAction(CQVTControlAction* pAction)
{
    if (m_pAction == pAction)
        return;
    CQVTControlAction* pOld = m_pAction;
    m_pAction = pAction;
    if (pOld)
        pOld->RemoveControl(this);
    if (m_pAction)
        m_pAction->AddControl(this);
}

int CQVTControl::GetHelpContextId() const
{
    if (m_nHelpId > 0)
        return m_nHelpId;
    if (m_pAction)
        return m_pAction->GetHelpId() > 0 ? m_pAction->GetHelpId() : m_pAction->GetID();
    return m_nId;
}

void CQVTControl::PrepareForAction(int nId)
{
    // The action holds the texts and the enabled state from now on.
    m_bEnabled = -1;
    m_nId = nId;
    m_strCaption.Empty();
    m_strTooltipText.Empty();
    m_strDescriptionText.Empty();
    m_strCategory.Empty();
    m_strShortcutText.Empty();
    m_strKeyboardTip.Empty();
    m_strCustomShortcutText.Empty();
}

void CQVTControl::OnActionChanged(int nProperty)
{
    if (nProperty == 3)
        OnCaptionChanged();
    else if (nProperty == 0)
        OnEnabledChanged();
}

void CQVTControl::OnRemoved()
{
    SetAction(nullptr);
}

// Copies.

BOOL CQVTControl::Compare(CQVTControl* pOther)
{
    if (!pOther)
        return FALSE;
    return GetStyle() == pOther->GetStyle() && m_controlType == pOther->m_controlType &&
           m_nId == pOther->m_nId && m_dwFlags == pOther->m_dwFlags &&
           m_bBeginGroup == pOther->m_bBeginGroup && GetIconId() == pOther->GetIconId() &&
           m_strCaption == pOther->m_strCaption && m_strTooltipText == pOther->m_strTooltipText &&
           m_strDescriptionText == pOther->m_strDescriptionText &&
           m_strCustomCaption == pOther->m_strCustomCaption &&
           m_buttonCustomStyle == pOther->m_buttonCustomStyle && m_strParameter == pOther->m_strParameter &&
           (m_dwHideFlags & qvtHideCustomize) == (pOther->m_dwHideFlags & qvtHideCustomize) &&
           m_nWidth == pOther->m_nWidth;
}

void CQVTControl::Copy(CQVTControl* pSource, BOOL bRecursive)
{
    if (!pSource || pSource == this)
        return;
    m_nId = pSource->m_nId;
    SetAction(pSource->m_pAction);
    m_nTag = pSource->m_nTag;
    m_dwFlags = pSource->m_dwFlags;
    m_controlType = pSource->m_controlType;
    m_strCaption = pSource->m_strCaption;
    m_strShortcutText = pSource->m_strShortcutText;
    m_strShortcutTextAuto = pSource->m_strShortcutTextAuto;
    m_strTooltipText = pSource->m_strTooltipText;
    m_strDescriptionText = pSource->m_strDescriptionText;
    m_strParameter = pSource->m_strParameter;
    m_strKeyboardTip = pSource->m_strKeyboardTip;
    m_strCustomShortcutText = pSource->m_strCustomShortcutText;
    m_nCustomIconId = pSource->m_nCustomIconId;
    m_nIconId = pSource->m_nIconId;
    m_nHelpId = pSource->m_nHelpId;
    m_bTemporary = pSource->m_bTemporary;
    m_strCustomCaption = pSource->m_strCustomCaption;
    m_strCategory = pSource->m_strCategory;
    m_dwHideFlags = pSource->m_dwHideFlags & ~static_cast<DWORD>(qvtHideTransient);
    m_bDefaultItem = pSource->m_bDefaultItem;
    m_bEnabled = pSource->m_bEnabled;
    m_bChecked = pSource->m_bChecked;
    m_buttonCustomStyle = pSource->m_buttonCustomStyle;
    m_buttonStyle = pSource->m_buttonStyle;
    m_nWidth = std::max(pSource->m_nWidth, GetCustomizeMinWidth());
    m_nHeight = pSource->m_nHeight;
    m_szIcon = pSource->m_szIcon;
    m_bBeginGroup = pSource->m_bBeginGroup;
    m_bCloseSubMenuOnClick = pSource->m_bCloseSubMenuOnClick;
    m_nExecuteOnPressInterval = pSource->m_nExecuteOnPressInterval;
    m_mapDocTemplatesAssigned.Copy(pSource->m_mapDocTemplatesAssigned);
    m_mapDocTemplatesExcluded.Copy(pSource->m_mapDocTemplatesExcluded);
    OnCaptionChanged();
}

CQVTControl* CQVTControl::Clone(BOOL bRecursive)
{
    CQVTControl* pClone = static_cast<CQVTControl*>(GetRuntimeClass()->CreateObject());
    if (pClone)
        pClone->Copy(this, bRecursive);
    return pClone;
}

// Input.

BOOL CQVTControl::IsCustomizeMode() const
{
    if (!m_pParent)
        return FALSE;
    if (m_pParent->IsCustomizable() && !(m_dwFlags & qvtFlagNoMovable))
        return TRUE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars && pCommandBars->IsCustomizeAnything();
}

void CQVTControl::OnLButtonDown(CPoint point)
{
    if (m_pParent && m_pParent->IsCustomizeMode() && !IsCustomizeMode())
        return;
    OnClick(FALSE, point);
}

BOOL CQVTControl::OnLButtonDblClk(CPoint point)
{
    OnClick(FALSE, point);
    return TRUE;
}

void CQVTControl::OnMouseHover()
{
    if (!m_pParent)
        return;
    if (m_pParent->SetPopuped(-1) && m_pParent->GetTrackingMode() == 2 &&
        m_pParent->GetPosition() != qvtBarPopup)
        m_pParent->SetTrackingMode(FALSE, TRUE, FALSE);
}

BOOL CQVTControl::OnSetSelected(int bSelected)
{
    if (bSelected == m_bSelected || !m_pParent)
        return FALSE;
    if ((bSelected == 2 || bSelected == 3) && m_pParent->GetSelectedIndex() != m_nIndex)
        m_pParent->SetPopuped(-1);
    m_bSelected = bSelected;
    m_pParent->OnControlSelected(bSelected, this);
    if (!GetEnabled() && (bSelected == 1 || bSelected > 3))
        return TRUE;
    RedrawParent(bSelected == 0);
    return TRUE;
}

void CQVTControl::OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point)
{
    if (!m_pParent)
        return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
}

BOOL CQVTControl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // An automation property changed: show it.
    if (nCode == static_cast<int>(CN_EVENT) && nID == 1)
    {
        RedrawParent(FALSE);
        return TRUE;
    }
    return CQVTCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Execution.

LRESULT CQVTControl::NotifySite(UINT code)
{
    if (!m_pParent)
        return 0;
    NMQVTCONTROL nm = {};
    return NotifySite(m_pParent->GetOwnerSite(), code, &nm);
}

LRESULT CQVTControl::NotifySite(CWnd* pSite, UINT code, NMHDR* pNM)
{
    if (!pSite || !pSite->GetSafeHwnd() || !pNM)
        return 0;
    pNM->hwndFrom = nullptr;
    pNM->idFrom = static_cast<UINT_PTR>(m_nId);
    pNM->code = code;
    static_cast<NMQVTCONTROL*>(pNM)->pControl = this;
    LRESULT lResult =
        pSite->SendMessage(QVTWM_CONTROLNOTIFY, static_cast<WPARAM>(m_nId), reinterpret_cast<LPARAM>(pNM));
    if (lResult != 0 || !m_pParent)
        return lResult;
    AFX_NOTIFY notify = {&lResult, pNM};
    pSite->OnCmdMsg(static_cast<UINT>(m_nId), static_cast<int>(MAKELONG(code, WM_NOTIFY)), &notify, nullptr);
    return lResult;
}

void CQVTControl::ExecuteCommand()
{
    if (!m_pParent)
        return;
    CWnd* pSite = m_pParent->GetOwnerSite();
    if (!pSite || !pSite->GetSafeHwnd())
        return;
    NMQVTCONTROL nm = {};
    if (NotifySite(pSite, QVT_CN_EXECUTE, &nm) == 0)
        pSite->SendMessage(WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(m_nId)), 0);
}

void CQVTControl::OnExecute()
{
    if (!m_pParent)
        return;
    QVTSoundPlayer()->PlaySystemSound(CQVTSoundPlayer::soundMenuCommand);
    m_bPressed = m_pParent->GetPosition() == qvtBarPopup ? 0 : 2;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && m_nId != 0)
        pCommandBars->SetCommandUsed(static_cast<UINT>(m_nId));
    CQVTPopupBar* pPopupParent = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pParent);
    if (pCommandBars && pPopupParent && pPopupParent->GetControlPopup() &&
        pPopupParent->GetControlPopup()->GetID() >= 0)
        pCommandBars->SetCommandUsed(static_cast<UINT>(pPopupParent->GetControlPopup()->GetID()));

    CQVTControlRef keepAlive(this);
    CQVTCommandBar* pRoot = m_pParent->GetRootParent();
    if (pRoot->GetCommandResult() || pRoot->IsNoNotify())
    {
        // A popup tracked for its command: the id goes back, nothing is sent.
        int* pResult = pRoot->GetCommandResult();
        if (pResult)
            *pResult = m_nId;
        if (pRoot->IsTrackingMode() && pRoot->IsRecursePopup())
            pRoot->OnTrackLost();
        else
            CQVTCommandBars::ClosePopups(pCommandBars);
        return;
    }
    if (m_bCloseSubMenuOnClick)
        CQVTCommandBars::ClosePopups(GetCommandBars());
    if (m_nId != 0)
    {
        ExecuteCommand();
        if ((!m_bCloseSubMenuOnClick || m_bPressed) && m_pParent)
        {
            m_bPressed = 0;
            m_pParent->OnIdleUpdate(TRUE, 0);
            RedrawParent(TRUE);
        }
    }
}

void CQVTControl::TrackClick(CRect rcTrack)
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return;
    if (rcTrack.IsRectEmpty())
        rcTrack = m_rcControl;
    CQVTCommandBar* pBar = m_pParent;
    CQVTControlRef keepAlive(this);
    CQVTCommandBarRef keepBar(pBar);

    pBar->SetPopuped(-1);
    pBar->SetSelected(m_nIndex);
    m_bPressed = 1;
    RedrawParent(TRUE);

    pBar->SetCapture();
    const int nInterval = m_nExecuteOnPressInterval;
    if (nInterval > 0)
    {
        pBar->SetTimer(TIMER_EXECUTE_ON_PRESS, static_cast<UINT>(nInterval), nullptr);
        ExecuteCommand();
    }

    BOOL bClick = FALSE;
    BOOL bMoved = FALSE;
    BOOL bQuit = FALSE;
    int nQuitCode = 0;
    while (m_pParent == pBar && ::GetCapture() == pBar->GetSafeHwnd())
    {
        MSG msg;
        const BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (!bGot || msg.message == WM_QUIT)
        {
            // The application is quitting: stop, and leave the quit for the
            // loop that owns it.
            bQuit = TRUE;
            nQuitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            bClick = m_bSelected && (!bMoved || rcTrack.PtInRect(pt));
            break;
        }
        if (msg.message == WM_TIMER && msg.wParam == TIMER_EXECUTE_ON_PRESS &&
            msg.hwnd == pBar->GetSafeHwnd())
        {
            if (m_bSelected)
                ExecuteCommand();
            continue;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == pBar->GetSafeHwnd())
        {
            bMoved = TRUE;
            const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            const int bSelected = rcTrack.PtInRect(pt) ? 1 : 0;
            if (bSelected != m_bSelected)
            {
                OnSetSelected(bSelected);
                RedrawParent(TRUE);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }

    if (pBar->GetSafeHwnd())
        pBar->KillTimer(TIMER_EXECUTE_ON_PRESS);
    const BOOL bInPopup = pBar->GetPosition() == qvtBarPopup;
    if (!bClick || nInterval > 0)
        m_bPressed = 0;
    else
        m_bPressed = bInPopup ? 0 : 2;
    if (::GetCapture() == pBar->GetSafeHwnd())
        ::ReleaseCapture();
    if (nInterval <= 0 && m_bSelected && m_pParent == pBar)
    {
        pBar->SetSelected(-1);
        m_bSelected = 0;
    }

    if (!bClick)
        RedrawParent(TRUE);
    else if (nInterval <= 0)
    {
        if (m_pParent == pBar)
        {
            OnExecute();
            if (m_bPressed)
            {
                m_bPressed = 0;
                RedrawParent(TRUE);
            }
        }
    }
    else if (bInPopup && m_bCloseSubMenuOnClick)
    {
        m_bPressed = 0;
        OnExecute();
    }
    else
        RedrawParent(TRUE);

    if (bQuit)
        ::PostQuitMessage(nQuitCode);
}

// Accessibility.

namespace {
HRESULT AllocText(const CString& str, BSTR* pbstr)
{
    if (!pbstr)
        return E_POINTER;
    *pbstr = ::SysAllocString(str);
    return *pbstr || str.IsEmpty() ? S_OK : E_OUTOFMEMORY;
}
}  // namespace

CString CQVTControl::GetAccessibleText() const
{
    CString strText = GetCaption();
    CQVTDrawHelpers::StripMnemonics(strText);
    const CString strShortcut = GetShortcutText();
    if (!strShortcut.IsEmpty())
        strText += _T('\t') + strShortcut;
    return strText;
}

IDispatch* CQVTControl::GetAccessibleDispatch()
{
    m_xAccessible.AddRef();
    return &m_xAccessible;
}

HRESULT CQVTControl::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_POINTER;
    *ppdispParent = nullptr;
    if (!m_pParent)
        return E_FAIL;
    m_pParent->m_xAccessible.AddRef();
    *ppdispParent = &m_pParent->m_xAccessible;
    return S_OK;
}

HRESULT CQVTControl::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    *pcountChildren = GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT CQVTControl::GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_POINTER;
    *ppdispChild = nullptr;
    CQVTCommandBar* pBar = GetCommandBar();
    if (!pBar || GetChildIndex(&varChild) != 1)
        return E_INVALIDARG;
    pBar->m_xAccessible.AddRef();
    *ppdispChild = &pBar->m_xAccessible;
    return S_OK;
}

HRESULT CQVTControl::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    CString strName = GetCaption();
    CQVTDrawHelpers::StripMnemonics(strName);
    if (strName.IsEmpty())
        return AllocText(GetTooltip(), pszName);
    return AllocText(GetAccessibleText(), pszName);
}

HRESULT CQVTControl::GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    return AllocText(GetDescription(), pszDescription);
}

HRESULT CQVTControl::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_POINTER;
    ::VariantInit(pvarRole);
    if (GetChildIndex(&varChild) != 0 || !m_pParent || !m_pParent->GetSafeHwnd())
        return E_INVALIDARG;
    pvarRole->vt = VT_I4;
    const int nBarType = m_pParent->GetType();
    if (nBarType == qvtBarTypeNormal || nBarType == qvtBarTypeRibbon)
        pvarRole->lVal = GetCommandBar() ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON;
    else
        pvarRole->lVal = ROLE_SYSTEM_MENUITEM;
    return S_OK;
}

HRESULT CQVTControl::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    if (!pvarState)
        return E_POINTER;
    ::VariantInit(pvarState);
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    LONG lState = STATE_SYSTEM_FOCUSABLE;
    if (m_bSelected > 0)
        lState |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_HOTTRACKED;
    if (!m_pParent || !m_pParent->IsVisible() || !IsVisible())
        lState |= STATE_SYSTEM_INVISIBLE;
    if (!GetEnabled())
        lState |= STATE_SYSTEM_UNAVAILABLE;
    if (GetChecked())
        lState |= STATE_SYSTEM_CHECKED;
    if (GetPressed())
        lState |= STATE_SYSTEM_PRESSED;
    if (GetCommandBar())
        lState |= STATE_SYSTEM_HASPOPUP;
    pvarState->vt = VT_I4;
    pvarState->lVal = lState;
    return S_OK;
}

HRESULT CQVTControl::GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    return AllocText(GetMnemonicCharacter(), pszKeyboardShortcut);
}

HRESULT CQVTControl::GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    return AllocText(_T("Click"), pszDefaultAction);
}

HRESULT CQVTControl::AccessibleSelect(LONG, VARIANT varChild)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    if (!m_pParent)
        return E_FAIL;
    m_pParent->SetTrackingMode(TRUE, FALSE, FALSE);
    m_pParent->SetSelected(m_nIndex, 1);
    return S_OK;
}

HRESULT CQVTControl::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                        VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    if (!IsVisible() || !m_pParent || !m_pParent->GetSafeHwnd())
        return S_OK;
    CRect rc = m_rcControl;
    m_pParent->ClientToScreen(&rc);
    return QVTAccessibleLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
}

HRESULT CQVTControl::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_POINTER;
    ::VariantInit(pvarChild);
    CPoint pt;
    if (!m_pParent || !m_pParent->GetSafeHwnd() || !QVTAccessibleHitPoint(m_pParent, xLeft, yTop, pt))
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return m_rcControl.PtInRect(pt) ? S_OK : S_FALSE;
}

HRESULT CQVTControl::AccessibleDoDefaultAction(VARIANT varChild)
{
    if (GetChildIndex(&varChild) != 0)
        return E_INVALIDARG;
    OnClick(TRUE, CPoint(0, 0));
    return S_OK;
}
