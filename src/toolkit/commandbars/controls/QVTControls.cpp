#include "toolkit/commandbars/controls/QVTControls.h"

#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlCustom.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlExtended.h"
#include "toolkit/commandbars/controls/QVTControlLists.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

IMPLEMENT_DYNCREATE(CQVTControls, CQVTCmdTarget)
IMPLEMENT_DYNCREATE(CQVTOriginalControls, CQVTControls)

double CQVTControls::s_dMaxPopupWidth = 1.0 / 3.0;

CQVTControls::CQVTControls()
    : m_pParent(nullptr), m_pCommandBars(nullptr), m_pOriginalControls(nullptr), m_bOriginalControls(FALSE)
{
    EnableAutomation();
}

CQVTControls::~CQVTControls()
{
    RemoveAll();
    SetOriginalControls(nullptr);
}

CQVTCommandBars* CQVTControls::GetCommandBars() const
{
    CQVTCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    return pCommandBars ? pCommandBars : m_pCommandBars;
}

CWnd* CQVTControls::GetSite() const
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    if (pCommandBars && pCommandBars->GetSite())
        return pCommandBars->GetSite();
    return m_pParent ? m_pParent->GetOwnerSite() : nullptr;
}

CQVTControl* CQVTControls::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrControls[static_cast<size_t>(nIndex)];
}

void CQVTControls::SetParent(CQVTCommandBar* pParent)
{
    m_pParent = pParent;
    if (!m_arrControls.empty())
        RefreshIndexes();
}

void CQVTControls::RefreshIndexes()
{
    for (size_t i = 0; i < m_arrControls.size(); ++i)
    {
        CQVTControl* pControl = m_arrControls[i];
        pControl->m_nIndex = static_cast<int>(i);
        pControl->m_pControls = this;
        pControl->SetParent(m_pParent);
    }
    if (m_pParent)
        m_pParent->OnControlsChanged();
}

void CQVTControls::OnControlAdded(CQVTControl*)
{
    RefreshIndexes();
}

void CQVTControls::OnControlRemoved(CQVTControl* pControl)
{
    pControl->m_pControls = nullptr;
    pControl->OnRemoved();
    pControl->SetParent(nullptr);
    RefreshIndexes();
}

// Adding.

CQVTControl* CQVTControls::InsertControl(CQVTControl* pControl, int nBefore)
{
    if (!pControl)
        return nullptr;
    if (nBefore >= 0 && nBefore < GetCount())
        m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
    else
        m_arrControls.push_back(pControl);
    OnControlAdded(pControl);
    return pControl;
}

CQVTControl* CQVTControls::Add(CQVTControl* pControl, int nId, LPCTSTR lpszParameter, int nBefore,
                               BOOL bTemporary)
{
    if (!pControl)
        return nullptr;
    pControl->m_strParameter = lpszParameter;
    pControl->m_bTemporary = bTemporary;
    if (!pControl->GetAction())
    {
        CQVTCommandBars* pCommandBars = GetCommandBars();
        CQVTControlAction* pAction = pCommandBars ? pCommandBars->FindAction(nId) : nullptr;
        const BOOL bNoAction =
            nId <= 0 || nId >= static_cast<int>(QVT_ID_MAX_ACTION) ||
            (nId >= static_cast<int>(QVT_ID_TOOLKIT_FIRST) && nId <= static_cast<int>(QVT_ID_TOOLKIT_LAST)) ||
            (nId >= static_cast<int>(QVT_ID_WINDOWLIST) && nId <= static_cast<int>(QVT_ID_FILE_MRU));
        if (!pAction && pCommandBars && pCommandBars->IsActionsEnabled() && !bNoAction)
            pAction = pCommandBars->CreateAction(nId);
        if (pAction)
            pControl->SetAction(pAction);
        else
            pControl->SetID(nId);
    }
    return InsertControl(pControl, nBefore);
}

CQVTControl* CQVTControls::CreateControlByType(int nType, int nId, BOOL bTemporary, BOOL bFromMenu,
                                               LPCTSTR lpszMenuCaption)
{
    switch (nType)
    {
    case qvtControlButton:
        if (nId == QVT_ID_TOOLBARLIST)
            return new CQVTControlToolbars();
        if (nId == QVT_ID_WINDOWLIST)
            return new CQVTControlWindowList();
        if (nId == QVT_ID_WORKSPACE_ACTIONS)
            return new CQVTControlWorkspaceActions();
        if ((nId == QVT_ID_FILE_MRU && !bTemporary) || (bFromMenu && nId == QVT_ID_FILE_MRU_FIRST))
            return new CQVTControlRecentFileList();
        if (bFromMenu && nId == QVT_ID_OLE_VERB_FIRST &&
            CString(lpszMenuCaption) == _T("<<OLE VERBS GO HERE>>"))
            return new CQVTControlOleItems();
        return new CQVTControlButton();
    case qvtControlPopup:
    case qvtControlButtonPopup:
    case qvtControlSplitButtonPopup:
        return new CQVTControlPopup();
    case qvtControlLabel:
        return new CQVTControlLabel();
    case qvtControlCheckBox:
        return new CQVTControlCheckBox();
    case qvtControlRadioButton:
        return new CQVTControlRadioButton();
    case qvtControlCustom:
        return new CQVTControlCustom();
    case qvtControlEdit:
        return new CQVTControlEdit();
    case qvtControlGallery:
        return new CQVTControlGallery();
    case qvtControlComboBox:
        return new CQVTControlComboBox(GetCommandBars());
    default:
        return nullptr;
    }
}

CQVTCommandBar* CQVTControls::RequestPopupBar(UINT nId, CString& strCaption, CString* pParameter)
{
    QVTCREATEBARSTRUCT cs = {};
    cs.bPopup = TRUE;
    cs.lpcstrCaption = strCaption;
    cs.nID = nId;
    if (pParameter)
        cs.strParameter = *pParameter;
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(QVTWM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs)) != 0)
    {
        if (pParameter)
            *pParameter = cs.strParameter;
        if (cs.lpcstrCaption)
            strCaption = cs.lpcstrCaption;
        // The site's bar comes with the reference the control takes over.
        if (DYNAMIC_DOWNCAST(CQVTPopupBar, cs.pCommandBar))
            return cs.pCommandBar;
        if (cs.pCommandBar)
            cs.pCommandBar->InternalRelease();
    }
    return CQVTPopupBar::CreatePopupBar(GetCommandBars());
}

CQVTControl* CQVTControls::AddByType(int nType, int nId, LPCTSTR lpszParameter, int nBefore, BOOL bTemporary)
{
    if (nType < qvtControlButton || nType > qvtControlRadioButton)
        return nullptr;
    CQVTControl* pControl = CreateControlByType(nType, nId, bTemporary, FALSE, nullptr);
    if (!pControl)
        return nullptr;
    CString strParameter(lpszParameter);
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControl);
    // A combo box comes with its own list.
    if (pPopup && !pPopup->GetCommandBar())
    {
        CQVTCommandBar* pBar = nullptr;
        if (nId > 0)
        {
            CMenu menu;
            HMENU hSubMenu = nullptr;
            CString strCaption;
            if (QVTResourceManager()->LoadMenu(&menu, static_cast<UINT>(nId)))
            {
                hSubMenu = ::GetSubMenu(menu.GetSafeHmenu(), 0);
                QVTResourceManager()->GetMenuString(&menu, 0, strCaption, MF_BYPOSITION);
            }
            pBar = RequestPopupBar(static_cast<UINT>(nId), strCaption, &strParameter);
            pPopup->SetCaption(strCaption);
            if (hSubMenu)
                pBar->LoadMenu(CMenu::FromHandle(hSubMenu), TRUE);
            if (menu.GetSafeHmenu())
                menu.DestroyMenu();
        }
        else
            pBar = CQVTPopupBar::CreatePopupBar(GetCommandBars());
        pPopup->SetCommandBar(pBar);
        pBar->InternalRelease();
    }
    // A custom control goes on reporting the button's type.
    if (nType != qvtControlCustom)
        pControl->m_controlType = nType;
    return Add(pControl, nId, strParameter, nBefore, bTemporary);
}

CQVTControl* CQVTControls::AddCopy(CQVTControl* pSource, int nBefore, BOOL bRecursive)
{
    if (!pSource)
        return nullptr;
    CQVTControl* pControl = static_cast<CQVTControl*>(pSource->GetRuntimeClass()->CreateObject());
    if (!pControl)
        return nullptr;
    InsertControl(pControl, nBefore);
    pControl->Copy(pSource, bRecursive);
    return pControl;
}

CQVTControl* CQVTControls::AddMenuItem(CMenu* pMenu, int nPosition)
{
    if (!pMenu || !::IsMenu(pMenu->GetSafeHmenu()))
        return nullptr;
    HMENU hMenu = pMenu->GetSafeHmenu();
    HMENU hSubMenu = ::GetSubMenu(hMenu, nPosition);
    UINT nId = ::GetMenuItemID(hMenu, nPosition);
    const BOOL bDefault = static_cast<int>(::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED)) == nPosition;
    if (nId == QVT_ID_MDI_FIRSTCHILD)
        return nullptr;

    CString strCaption;
    QVTResourceManager()->GetMenuString(pMenu, static_cast<UINT>(nPosition), strCaption, MF_BYPOSITION);
    if (hSubMenu)
        nId = TakeSubMenuCommandId(strCaption);

    QVTCREATECONTROLSTRUCT cs = {};
    cs.nID = nId;
    cs.pControl = nullptr;
    cs.bToolBar = FALSE;
    cs.nIndex = nPosition;
    cs.pMenu = pMenu;
    cs.pCommandBar = m_pParent;
    cs.strCaption = strCaption;
    cs.controlType = hSubMenu ? qvtControlPopup : qvtControlButton;
    cs.buttonStyle = qvtButtonAutomatic;

    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(QVTWM_BEFORECREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) != 0)
    {
        strCaption = cs.strCaption;
        nId = cs.nID;
    }

    CQVTControl* pControl = cs.pControl;
    if (!pControl)
    {
        pControl = CreateMenuItemControl(cs, nId, strCaption, hSubMenu);
        if (!pControl)
            return nullptr;
        MENUITEMINFO mii = {sizeof(MENUITEMINFO)};
        mii.fMask = MIIM_DATA;
        if (::GetMenuItemInfo(hMenu, static_cast<UINT>(nPosition), TRUE, &mii))
            pControl->m_nTag = mii.dwItemData;
    }
    AttachMenuItemCommand(pControl, nId, strCaption);
    if (bDefault)
        pControl->m_bDefaultItem = TRUE;
    m_arrControls.push_back(pControl);
    OnControlAdded(pControl);

    if (pSite && pSite->GetSafeHwnd())
    {
        cs.pControl = pControl;
        pSite->SendMessage(QVTWM_AFTERCREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs));
    }
    return pControl;
}

// A submenu's caption may end in a tab and its command id; only a number
// that fits a command id counts, and it leaves the caption.
UINT AFX_CDECL CQVTControls::TakeSubMenuCommandId(CString& strCaption)
{
    const int nTab = strCaption.Find(_T('\t'));
    if (nTab < 0)
        return 0;
    const CString strNumber = strCaption.Mid(nTab + 1);
    if (strNumber.IsEmpty() || strNumber.GetLength() > 9 ||
        strNumber.SpanIncluding(_T("0123456789")) != strNumber)
        return 0;
    UINT nNumber = 0;
    for (int i = 0; i < strNumber.GetLength(); ++i)
        nNumber = nNumber * 10 + static_cast<UINT>(strNumber[i] - _T('0'));
    strCaption = strCaption.Left(nTab);
    return nNumber;
}

// The control of the kind the site left; a popup gets its bar from the
// submenu, or from the item's own menu resource.
CQVTControl* CQVTControls::CreateMenuItemControl(const QVTCREATECONTROLSTRUCT& cs, UINT nId,
                                                 CString& strCaption, HMENU hSubMenu)
{
    if (cs.controlType == qvtControlCustom)
        return nullptr;
    CQVTControl* pControl =
        CreateControlByType(cs.controlType, static_cast<int>(nId), FALSE, TRUE, strCaption);
    if (!pControl)
        return nullptr;
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControl);
    if (pPopup)
    {
        CQVTCommandBar* pBar = RequestPopupBar(nId, strCaption, nullptr);
        pBar->SetTitle(strCaption);
        if (hSubMenu)
            pBar->LoadMenu(CMenu::FromHandle(hSubMenu), FALSE);
        else if (nId > 0)
        {
            // A popup the site chose for a plain item shows the item's
            // own menu resource.
            CMenu menu;
            if (QVTResourceManager()->LoadMenu(&menu, nId))
            {
                HMENU hOwn = ::GetSubMenu(menu.GetSafeHmenu(), 0);
                if (hOwn)
                    pBar->LoadMenu(CMenu::FromHandle(hOwn), FALSE);
                menu.DestroyMenu();
            }
        }
        pPopup->SetCommandBar(pBar);
        pBar->InternalRelease();
    }
    pControl->m_controlType = cs.controlType;
    if (cs.buttonStyle != qvtButtonAutomatic)
        pControl->SetStyle(cs.buttonStyle);
    return pControl;
}

// The bars' action of the id (made when actions are on), else the id and
// caption themselves.
void CQVTControls::AttachMenuItemCommand(CQVTControl* pControl, UINT nId, const CString& strCaption)
{
    CQVTCommandBars* pCommandBars = GetCommandBars();
    CQVTControlAction* pAction = nullptr;
    if (!pControl->GetAction() && pCommandBars && nId >= 1 && nId < QVT_ID_MAX_ACTION)
    {
        pAction = pCommandBars->FindAction(static_cast<int>(nId));
        if (!pAction && pCommandBars->IsActionsEnabled())
            pAction = pCommandBars->CreateAction(static_cast<int>(nId));
    }
    if (pAction)
    {
        pControl->SetAction(pAction);
        if (pAction->GetCaption().IsEmpty())
            pAction->SetCaption(strCaption);
    }
    else if (!pControl->GetAction())
    {
        pControl->SetID(static_cast<int>(nId));
        pControl->SetCaption(strCaption);
    }
}

// Finding.

CQVTControl* CQVTControls::FindControl(int nId) const
{
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->GetID() == nId)
            return pControl;
    return nullptr;
}

CQVTControl* CQVTControls::FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (CQVTControl* pControl : m_arrControls)
    {
        const BOOL bTypeMatches = nType == 0 || pControl->GetType() == nType;
        const BOOL bIdMatches = nId == -1 || pControl->GetID() == nId;
        if (bTypeMatches && bIdMatches && (!bVisible || pControl->IsVisible()))
            return pControl;
        if (bRecursive)
        {
            CQVTCommandBar* pBar = pControl->GetCommandBar();
            CQVTControls* pControls = pBar ? pBar->GetControls() : nullptr;
            CQVTControl* pFound = pControls ? pControls->FindControl(nType, nId, bVisible, TRUE) : nullptr;
            if (pFound)
                return pFound;
        }
    }
    return nullptr;
}

int CQVTControls::GetNextIndex(int nIndex, int nDirection, BOOL bSkipFlagged, BOOL bSkipTemporary,
                               BOOL bKeyboardMode) const
{
    const int nCount = GetCount();
    if (nCount == 0 || (nDirection != 1 && nDirection != -1))
        return -1;
    const DWORD dwMask = bKeyboardMode ? qvtHidePopup : (qvtHidePopup | qvtHideExpand);
    if (nIndex == -1 && nDirection == -1)
        nIndex = nCount;
    BOOL bWrapped = FALSE;
    const BOOL bStartedOutside = nIndex == -1 || nIndex == nCount;
    int i = nIndex;
    for (int nSteps = 0; nSteps <= nCount + 1; ++nSteps)
    {
        i += nDirection;
        if (i < 0 || i >= nCount)
        {
            // Starting at -1 going forward runs off the end without a wrap.
            if (bWrapped || (bStartedOutside && nIndex == -1 && nDirection == 1))
                return -1;
            bWrapped = TRUE;
            i = nDirection > 0 ? 0 : nCount - 1;
        }
        CQVTControl* pControl = m_arrControls[static_cast<size_t>(i)];
        if (!pControl->IsVisible(dwMask))
            continue;
        if (bSkipFlagged && (pControl->GetFlags() & qvtFlagSkipFocus))
            continue;
        if (bSkipTemporary && pControl->IsTemporary())
            continue;
        return i;
    }
    return -1;
}

int CQVTControls::GetVisibleCount(BOOL bAll) const
{
    int nCount = 0;
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->IsVisible(bAll ? 0 : qvtHideWrap))
            ++nCount;
    return nCount;
}

CQVTControl* CQVTControls::GetVisibleControl(int nIndex, BOOL bAll) const
{
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->IsVisible(bAll ? 0 : qvtHideWrap) && nIndex-- == 0)
            return pControl;
    return nullptr;
}

CQVTControl* CQVTControls::HitTest(CPoint point) const
{
    for (CQVTControl* pControl : m_arrControls)
        if (pControl->IsVisible() && pControl->GetRect().PtInRect(point))
            return pControl;
    return nullptr;
}

// Removing and re-typing.

void CQVTControls::Remove(CQVTControl* pControl)
{
    if (!pControl || pControl->m_pControls != this)
        return;
    if (m_pParent && pControl->GetSelected() && m_pParent->GetSelectedIndex() == pControl->GetIndex())
        m_pParent->SetSelected(-1);
    const int nIndex = pControl->GetIndex();
    if (nIndex < 0 || nIndex >= GetCount() || m_arrControls[static_cast<size_t>(nIndex)] != pControl)
        return;
    if (OnControlRemoving(pControl))
        return;
    m_arrControls.erase(m_arrControls.begin() + nIndex);
    OnControlRemoved(pControl);
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
}

void CQVTControls::Remove(int nIndex)
{
    Remove(GetAt(nIndex));
}

void CQVTControls::RemoveAll()
{
    for (int i = GetCount() - 1; i >= 0; --i)
        Remove(GetAt(i));
}

CQVTControl* CQVTControls::SetControlTypeAt(int nIndex, int nType)
{
    return SetControlType(GetAt(nIndex), nType);
}

CQVTControl* CQVTControls::SetControlType(CQVTControl* pControl, int nType)
{
    if (!pControl || pControl->m_pControls != this)
        return nullptr;
    auto isPopupKind = [](int n) {
        return n == qvtControlPopup || n == qvtControlButtonPopup || n == qvtControlSplitButtonPopup;
    };
    if (isPopupKind(pControl->GetType()) && isPopupKind(nType))
    {
        pControl->m_controlType = nType;
        return pControl;
    }
    CQVTControl* pNew = AddByType(nType, 0, nullptr, pControl->GetIndex() + 1);
    if (!pNew)
        return nullptr;
    pNew->CQVTControl::Copy(pControl, FALSE);
    pNew->m_controlType = nType;
    Remove(pControl);
    return pNew;
}

// Copies.

void CQVTControls::Copy(CQVTControls* pSource, BOOL bRecursive)
{
    if (!pSource || pSource == this)
        return;
    RemoveAll();
    for (CQVTControl* pControl : pSource->m_arrControls)
        if (!pControl->IsTemporary())
            AddCopy(pControl, -1, bRecursive);
    SetOriginalControls(
        pSource->m_pOriginalControls
            ? static_cast<CQVTOriginalControls*>(pSource->m_pOriginalControls->Duplicate(bRecursive))
            : nullptr);
}

CQVTControls* CQVTControls::Duplicate(BOOL bRecursive)
{
    CQVTControls* pCopy = static_cast<CQVTControls*>(GetRuntimeClass()->CreateObject());
    if (!pCopy)
        return nullptr;
    pCopy->m_pCommandBars = GetCommandBars();
    for (CQVTControl* pControl : m_arrControls)
        if (!pControl->IsTemporary())
            pCopy->AddCopy(pControl, -1, bRecursive);
    if (m_pOriginalControls)
        pCopy->SetOriginalControls(
            static_cast<CQVTOriginalControls*>(m_pOriginalControls->Duplicate(bRecursive)));
    return pCopy;
}

void CQVTControls::CreateOriginalControls()
{
    CQVTOriginalControls* pOriginals = new CQVTOriginalControls();
    pOriginals->m_pCommandBars = GetCommandBars();
    for (CQVTControl* pControl : m_arrControls)
        if (!pControl->IsTemporary())
            pOriginals->AddCopy(pControl, -1, TRUE);
    SetOriginalControls(pOriginals);
}

void CQVTControls::SetOriginalControls(CQVTOriginalControls* pOriginalControls)
{
    if (m_pOriginalControls == pOriginalControls)
        return;
    if (m_pOriginalControls)
        m_pOriginalControls->InternalRelease();
    m_pOriginalControls = pOriginalControls;
}

BOOL CQVTControls::IsChanged() const
{
    return !m_pOriginalControls || !HasSameControls(m_pOriginalControls);
}

BOOL CQVTControls::HasSameControls(const CQVTControls* pOther) const
{
    std::vector<CQVTControl*> mine;
    std::vector<CQVTControl*> theirs;
    for (CQVTControl* pControl : m_arrControls)
        if (!pControl->IsTemporary())
            mine.push_back(pControl);
    for (CQVTControl* pControl : pOther->m_arrControls)
        if (!pControl->IsTemporary())
            theirs.push_back(pControl);
    if (mine.size() != theirs.size())
        return FALSE;
    for (size_t i = 0; i < mine.size(); ++i)
        if (!mine[i]->Compare(theirs[i]))
            return FALSE;
    return TRUE;
}
