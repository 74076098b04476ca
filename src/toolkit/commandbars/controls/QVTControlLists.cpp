#include "toolkit/commandbars/controls/QVTControlLists.h"

#include <afxadv.h>
#include <afxole.h>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"
#include "toolkit/tabmanager/manager/QVTTabClientWnd.h"
#include "toolkit/tabmanager/manager/QVTTabClientWorkspace.h"

IMPLEMENT_DYNCREATE(CQVTControlListBase, CQVTControlButton)
IMPLEMENT_SERIAL(CQVTControlWindowList, CQVTControlListBase, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlWorkspaceActions, CQVTControlListBase, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlRecentFileList, CQVTControlListBase, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)
IMPLEMENT_SERIAL(CQVTControlOleItems, CQVTControlListBase, VERSIONABLE_SCHEMA | QVT_LAYOUT_SCHEMA)

BOOL CQVTControlWindowList::s_bRadioWindowList = FALSE;

namespace {

const TCHAR kOleMenuPopup[] = _T("OLEMENUPOPUP");
// A window title or file name longer than this is cut: a menu item is no
// place for a page of text.
const int kMaxListCaption = 260;

CString ListsCutCaption(const CString& strText)
{
    if (strText.GetLength() <= kMaxListCaption)
        return strText;
    return strText.Left(kMaxListCaption - 3) + _T("...");
}

CMDIFrameWnd* ListsMdiFrame(CQVTCommandBar* pParent)
{
    CWnd* pSite = pParent ? pParent->GetSite() : nullptr;
    CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pSite);
    if (!pFrame || !::IsWindow(pFrame->m_hWndMDIClient))
        return nullptr;
    return pFrame;
}

}  // namespace

CString AFX_CDECL QVTFormatMenuCaption(int nNumber, const CString& strText)
{
    CString strDoubled = strText;
    strDoubled.Replace(_T("&"), _T("&&"));
    CString strCaption;
    if (nNumber <= 0)
        strCaption = strDoubled;
    else if (nNumber < 10)
        strCaption.Format(_T("&%i %s"), nNumber, strDoubled.GetString());
    else if (nNumber == 10)
        strCaption.Format(_T("1&0 %s"), strDoubled.GetString());
    else
        strCaption.Format(_T("%i %s"), nNumber, strDoubled.GetString());
    return strCaption;
}

// The lists' common part.

BOOL CQVTControlListBase::IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint, DWORD& dropEffect)
{
    if (pCommandBar && pCommandBar->GetType() == qvtBarTypePopup)
        return TRUE;
    dropEffect = qvtDropEffectNone;
    return FALSE;
}

template <class TPredicate>
void CQVTControlListBase::RemoveListItems(TPredicate isItem)
{
    // Only what a list added itself: a permanent control of a matching id
    // (a menu's own command) stays.
    while (CQVTControl* pNext = m_pControls->GetAt(m_nIndex + 1))
    {
        if (!pNext->IsTemporary() || !isItem(pNext))
            break;
        m_pControls->Remove(pNext);
    }
}

BOOL CQVTControlListBase::ShowPlaceholderForCustomizing()
{
    if (!m_pParent || !m_pParent->IsCustomizeMode())
        return FALSE;
    SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(qvtHideGeneric));
    return TRUE;
}

CQVTControl* CQVTControlListBase::AddListItem(int nType, int nId, int nAdded, LPCTSTR lpszParameter)
{
    CQVTControl* pItem = m_pControls->AddByType(nType, nId, lpszParameter, m_nIndex + 1 + nAdded, TRUE);
    if (pItem)
        pItem->SetFlags(pItem->GetFlags() | qvtFlagManualUpdate);
    return pItem;
}

// The window list.

CQVTControlWindowList::CQVTControlWindowList() : m_nFirstWindowId(QVT_ID_MDI_FIRSTCHILD)
{
    m_controlType = qvtControlButton;
}

void CQVTControlWindowList::OnCalcDynamicSize(DWORD)
{
    if (!m_pControls)
        return;
    const UINT nFirst = m_nFirstWindowId;
    RemoveListItems([nFirst](CQVTControl* p) { return static_cast<UINT>(p->GetID()) >= nFirst; });
    CMDIFrameWnd* pFrame = ListsMdiFrame(m_pParent);
    if (ShowPlaceholderForCustomizing() || !pFrame)
    {
        SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(qvtHideGeneric));
        return;
    }
    SetHideFlags(m_dwHideFlags | qvtHideGeneric);
    const HWND hClient = pFrame->m_hWndMDIClient;
    const HWND hActive = reinterpret_cast<HWND>(::SendMessage(hClient, WM_MDIGETACTIVE, 0, 0));
    if (hActive)
    {
        // The client numbers its children from where the frame told it.
        const UINT nActiveId = static_cast<UINT>(::GetDlgCtrlID(hActive));
        if (nActiveId >= 1 && nActiveId <= 46)
            m_nFirstWindowId = 1;
        else if (nActiveId >= 32768 && nActiveId <= 32814)
            m_nFirstWindowId = 32768;
    }
    CString strPrompt;
    QVTResourceManager()->LoadString(&strPrompt, QVT_IDS_ACTIVATE_WINDOW);
    int nAdded = 0;
    for (UINT nId = m_nFirstWindowId; nAdded < kMaxWindows; ++nId)
    {
        HWND hChild = ::GetDlgItem(hClient, static_cast<int>(nId));
        if (!hChild)
            break;
        if (!::IsWindowVisible(hChild))
            continue;
        CString strTitle;
        CWnd::FromHandle(hChild)->GetWindowText(strTitle);
        CQVTControl* pItem = AddListItem(s_bRadioWindowList ? qvtControlRadioButton : qvtControlButton,
                                         static_cast<int>(nId), nAdded);
        if (!pItem)
            break;
        pItem->SetCaption(QVTFormatMenuCaption(nAdded + 1, ListsCutCaption(strTitle)));
        pItem->SetChecked(hChild == hActive);
        pItem->SetHelpId(QVT_IDS_ACTIVATE_WINDOW);
        pItem->SetPrompt(strPrompt);
        if (nAdded == 0)
        {
            pItem->SetBeginGroup(TRUE);
            if (m_dwFlags & qvtFlagWrapRow)
                pItem->SetFlags(pItem->GetFlags() | qvtFlagWrapRow);
        }
        ++nAdded;
    }
}

// The workspace actions.

CQVTControlWorkspaceActions::CQVTControlWorkspaceActions()
{
    m_controlType = qvtControlButton;
}

void CQVTControlWorkspaceActions::OnCalcDynamicSize(DWORD)
{
    if (!m_pControls)
        return;
    RemoveListItems([](CQVTControl* p) {
        const int nId = p->GetID();
        return (nId >= QVT_ID_WORKSPACE_MOVEPREVIOUS && nId <= QVT_ID_WORKSPACE_NEWVERTICAL) ||
               (nId >= QVT_ID_WORKSPACE_DETACH && nId <= QVT_ID_WORKSPACE_DETACH + 3);
    });
    CMDIFrameWnd* pFrame = ListsMdiFrame(m_pParent);
    CQVTTabClientWnd* pClient =
        pFrame ? DYNAMIC_DOWNCAST(CQVTTabClientWnd, CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient))
               : nullptr;
    if (ShowPlaceholderForCustomizing() || !pClient)
    {
        SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(qvtHideGeneric));
        return;
    }
    SetHideFlags(m_dwHideFlags | qvtHideGeneric);
    static const UINT kOrder[] = {QVT_ID_WORKSPACE_NEWHORIZONTAL, QVT_ID_WORKSPACE_NEWVERTICAL,
                                  QVT_ID_WORKSPACE_MOVEPREVIOUS, QVT_ID_WORKSPACE_MOVENEXT,
                                  QVT_ID_WORKSPACE_DETACH};
    int nAdded = 0;
    for (UINT nId : kOrder)
    {
        if (!pClient->IsWorkspaceCommandEnabled(nId))
            continue;
        CQVTControl* pItem = AddListItem(qvtControlButton, static_cast<int>(nId), nAdded);
        if (!pItem)
            break;
        pItem->SetBeginGroup(nAdded == 0 && m_bBeginGroup);
        ++nAdded;
    }
}

// The recent-file list.

CQVTControlRecentFileList::CQVTControlRecentFileList()
{
    m_controlType = qvtControlButton;
}

CRecentFileList* CQVTControlRecentFileList::GetRecentFileList()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pRecentFileList : nullptr;
}

void CQVTControlRecentFileList::OnCalcDynamicSize(DWORD)
{
    CRecentFileList* pList = GetRecentFileList();
    if (!m_pControls || !pList)
        return;
    const int nFirst = GetFirstMruID();
    const int nLast = nFirst + pList->GetSize();
    RemoveListItems([nFirst, nLast](CQVTControl* p) { return p->GetID() >= nFirst && p->GetID() < nLast; });
    if (ShowPlaceholderForCustomizing())
    {
        SetEnabled(TRUE);
        return;
    }
    if (pList->GetSize() == 0 || (*pList)[0].IsEmpty())
    {
        // No recent files: the placeholder says so, disabled.
        SetHideFlags(m_dwHideFlags & ~static_cast<DWORD>(qvtHideGeneric));
        SetEnabled(FALSE);
        return;
    }
    SetHideFlags(m_dwHideFlags | qvtHideGeneric);

    TCHAR szCurDir[MAX_PATH + 1] = {};
    const DWORD nCurDir = ::GetCurrentDirectory(MAX_PATH, szCurDir);
    CString strCurDir = nCurDir > 0 && nCurDir < MAX_PATH ? CString(szCurDir) : CString();
    if (!strCurDir.IsEmpty() && strCurDir.Right(1) != _T("\\"))
        strCurDir += _T('\\');
    CQVTPinableRecentFileList* pPinable = CQVTPinableRecentFileList::IsPinableList(pList)
                                              ? static_cast<CQVTPinableRecentFileList*>(pList)
                                              : nullptr;
    int nAdded = 0;
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        CString strName;
        if (!pList->GetDisplayName(strName, i, strCurDir, strCurDir.GetLength()))
            break;
        int nIconId = -1;
        // A pinnable list may hold fewer items than entries: its own array
        // bounds the lookup, not the entries' count.
        if (CQVTRecentFileListItem* pItem = pPinable ? pPinable->GetItem(i) : nullptr)
        {
            if (!pItem->m_strCaption.IsEmpty())
                strName = pItem->m_strCaption;
            nIconId = pItem->m_nIconId;
        }
        CQVTControl* pItem = AddListItem(qvtControlButton, nFirst + i, nAdded, (*pList)[i]);
        if (!pItem)
            break;
        pItem->SetCaption(QVTFormatMenuCaption(i + 1, ListsCutCaption(strName)));
        if (nIconId != -1)
            pItem->SetIconId(nIconId);
        if (nAdded == 0)
        {
            pItem->SetBeginGroup(m_nIndex > 0);
            if (m_dwFlags & qvtFlagWrapRow)
                pItem->SetFlags(pItem->GetFlags() | qvtFlagWrapRow);
        }
        ++nAdded;
    }
}

// The OLE verbs.

CQVTControlOleItems::CQVTControlOleItems()
{
    m_controlType = qvtControlButton;
}

IOleObject* CQVTControlOleItems::GetSelectedOleObject() const
{
    CFrameWnd* pFrame = m_pParent ? DYNAMIC_DOWNCAST(CFrameWnd, m_pParent->GetSite()) : nullptr;
    if (!pFrame)
        return nullptr;
    CFrameWnd* pActive = pFrame->GetActiveFrame();
    CView* pView = pActive ? pActive->GetActiveView() : nullptr;
    return pView ? pView->GetSelectedOleObject() : nullptr;
}

void CQVTControlOleItems::OnCalcDynamicSize(DWORD)
{
    if (!m_pControls)
        return;
    RemoveListItems([](CQVTControl* p) { return p->GetParameter() == kOleMenuPopup; });
    if (ShowPlaceholderForCustomizing())
        return;
    SetHideFlags(m_dwHideFlags | qvtHideGeneric);
    IOleObject* pObject = GetSelectedOleObject();
    if (!pObject)
        return;
    CMenu menu;
    if (!menu.CreatePopupMenu() || !menu.AppendMenu(MF_STRING, QVT_ID_OLE_VERB_FIRST, GetCaption()))
        return;
    AfxOleSetEditMenu(pObject, &menu, 0, QVT_ID_OLE_VERB_FIRST, QVT_ID_OLE_VERB_FIRST + 15);
    // Several verbs come as one popup item; a single verb makes no popup.
    if (menu.GetMenuItemCount() != 1 || !::GetSubMenu(menu.GetSafeHmenu(), 0))
        return;
    CString strCaption;
    menu.GetMenuString(0, strCaption, MF_BYPOSITION);
    CQVTPopupBar* pPopupBar = CQVTPopupBar::CreatePopupBar(GetCommandBars());
    if (!pPopupBar)
        return;
    CMenu* pSubMenu = CMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 0));
    pPopupBar->LoadMenu(pSubMenu);
    CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(
        CQVTControlPopup, m_pControls->AddByType(qvtControlPopup, 0, kOleMenuPopup, m_nIndex + 1, TRUE));
    if (pPopup)
    {
        pPopup->SetCommandBar(pPopupBar);
        pPopup->SetCaption(strCaption);
    }
    pPopupBar->InternalRelease();
}
