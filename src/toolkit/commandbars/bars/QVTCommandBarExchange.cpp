// The saved layout of bars: each kind's keys in the order the layout block
// holds them (bar, then toolbar, menu bar or popup bar), the numbering of
// popup bars that links them to their controls, and the merge of a loaded
// toolbar into the one the program made. (A further file of CQVTCommandBar
// and its kinds.)
#include <afxwin.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/QVTObjectRef.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

// Every bar.

void CQVTCommandBar::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    const UINT nSchema = pPX->GetSchema();
    PropExchangeInt(pPX, _T("Type"), m_barType, qvtBarTypeNormal);
    PropExchangeInt(pPX, _T("Position"), m_barPosition, qvtBarTop);
    int nBarID = static_cast<int>(m_nBarID);
    PropExchangeInt(pPX, _T("BarID"), nBarID, 0);
    m_nBarID = static_cast<UINT>(nBarID);
    int nFlags = static_cast<int>(m_dwFlags);
    PropExchangeInt(pPX, _T("Flags"), nFlags, 0);
    m_dwFlags = static_cast<DWORD>(nFlags);
    int nStyle = static_cast<int>(m_dwStyle);
    PropExchangeInt(pPX, _T("Style"), nStyle, 0);
    m_dwStyle = static_cast<DWORD>(nStyle);
    PropExchangeString(pPX, _T("Title"), m_strTitle, _T(""));
    PropExchangeBool(pPX, _T("Customizable"), m_bCustomizable, TRUE);
    PropExchangeIntScaledX(pPX, _T("MRUWidth"), m_nMRUWidth, 0);
    if (nSchema > 2)
    {
        SIZE szIcons = m_szIcons;
        PropExchangeSize(pPX, _T("IconSize"), szIcons, CSize(0, 0));
        m_szIcons = szIcons;
    }
    if (nSchema > 17)
    {
        SIZE szButtons = m_szButtons;
        PropExchangeSizeScaled(pPX, _T("ButtonSize"), szButtons, CSize(0, 0));
        m_szButtons = szButtons;
        PropExchangeBool(pPX, _T("ShowTextBelowIcons"), m_nTextBelowIcons, 2);
        BOOL bAnimation = IsAnimationEnabled();
        PropExchangeBool(pPX, _T("EnableAnimation"), bAnimation, FALSE);
        if (pPX->IsLoading())
            EnableAnimation(bAnimation);
    }
    if (nSchema > 18)
        PropExchangeInt(pPX, _T("DefaultButtonStyle"), m_buttonStyle, 0);
    if (pPX->IsLoading())
    {
        QVT_BARS_EXCHANGE_PARAM* pParam = QVTBarsExchangeParam(pPX);
        if (pParam && pParam->pCommandBars)
        {
            m_pCommandBars = pParam->pCommandBars;
            m_pControls->SetCommandBars(pParam->pCommandBars);
        }
    }
    CQVTPropExchangeSection section(pPX->GetSection(_T("Controls")));
    m_pControls->DoPropExchange(section.GetExchange());
}

void CQVTCommandBar::GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                            QVT_BARS_EXCHANGE_PARAM* pParam)
{
    if (!pCommandBarList || pCommandBarList->Contains(this))
        return;
    pCommandBarList->Add(this);
    // Popup bars have no id of their own: a number links them to the
    // controls that open them inside one block.
    if (!DYNAMIC_DOWNCAST(CQVTToolBar, this) && (m_nBarID == 0 || m_nBarID > 0xFFFFFF))
        m_nBarID = nID++;
    m_pControls->GenerateCommandBarList(nID, pCommandBarList, pParam);
}

void CQVTCommandBar::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList)
{
    m_pControls->RestoreCommandBarList(pCommandBarList);
}

// Toolbars.

void CQVTToolBar::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTCommandBar::DoPropExchange(pPX);
    if (!pPX)
        return;
    const UINT nSchema = pPX->GetSchema();
    PropExchangeBool(pPX, _T("BuiltIn"), m_bBuiltIn, TRUE);
    PropExchangeBool(pPX, _T("TearOff"), m_bTearOff, FALSE);
    if (nSchema > 6)
        PropExchangeBool(pPX, _T("Closeable"), m_bCloseable, TRUE);
    if (nSchema > 7)
        PropExchangeBool(pPX, _T("ContextMenuPresent"), m_bContextMenuPresent, TRUE);
    if (nSchema > 16)
        PropExchangeBool(pPX, _T("CustomizeDialogPresent"), m_bCustomizeDialogPresent, TRUE);
    else if (pPX->IsLoading() && m_barType == qvtBarTypeMenuBar)
        m_bCloseable = FALSE;
}

void CQVTToolBar::MergeLoadedBar(CQVTToolBar* pLoaded, BOOL bSilent, int nAnswer)
{
    if (!pLoaded || pLoaded == this)
        return;
    CQVTOriginalControls* pLoadedOriginals = pLoaded->GetControls()->GetOriginalControls();
    CQVTOriginalControls* pOwnOriginals = m_pControls->GetOriginalControls();
    // What the site set up stays: the place and window are this bar's.
    const int nPosition = m_barPosition;
    CQVTCommandBars* pCommandBars = m_pCommandBars;
    CQVTObjectRef<CQVTControls> keepOriginals(pOwnOriginals);
    BOOL bKeepOwnOriginals = FALSE;

    if (pLoadedOriginals && pOwnOriginals && !pLoadedOriginals->HasSameControls(pOwnOriginals))
    {
        // The program's definition changed since the layout was saved.
        if (pLoaded->GetControls()->HasSameControls(pLoadedOriginals))
            return;
        if (bSilent || nAnswer == IDYES)
            return;
        if (nAnswer != IDNO)
        {
            CString strFormat;
            if (!QVTResourceManager()->LoadString(&strFormat, QVT_IDS_TOOLBAR_CHANGED))
                strFormat =
                    _T("Due to a software update the toolbar '%s' has changed. Would you like to reset "
                       "your customized toolbar and load the new one?");
            CString strMessage;
            strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strTitle));
            CWnd* pSite = pCommandBars ? pCommandBars->GetSite() : GetSite();
            if (::MessageBox(pSite ? pSite->GetSafeHwnd() : nullptr, strMessage, AfxGetAppName(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES)
                return;
        }
        bKeepOwnOriginals = TRUE;
    }
    else if (!pLoadedOriginals && pOwnOriginals)
        bKeepOwnOriginals = TRUE;

    if (bKeepOwnOriginals && pOwnOriginals)
        pOwnOriginals->InternalAddRef();
    Copy(pLoaded, FALSE);
    if (bKeepOwnOriginals && pOwnOriginals)
        m_pControls->SetOriginalControls(pOwnOriginals);
    m_barPosition = nPosition;
    m_pCommandBars = pCommandBars;
    m_pControls->SetParent(this);
    DelayLayout();
}

// Popup bars.

void CQVTPopupBar::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTCommandBar::DoPropExchange(pPX);
    if (!pPX)
        return;
    const UINT nSchema = pPX->GetSchema();
    PropExchangeBool(pPX, _T("TearOffPopup"), m_bTearOffPopup, FALSE);
    PropExchangeString(pPX, _T("TearOffCaption"), m_strTearOffCaption, _T(""));
    int nTearOffId = static_cast<int>(m_nTearOffId);
    PropExchangeInt(pPX, _T("TearOffId"), nTearOffId, 0);
    m_nTearOffId = static_cast<UINT>(nTearOffId);
    PropExchangeIntScaledX(pPX, _T("TearOffWidth"), m_nTearOffWidth, 0);
    if (nSchema > 3)
    {
        RECT rcBorders = m_rcBorders;
        PropExchangeRectScaled(pPX, _T("Borders"), rcBorders, CRect(2, 4, 2, 4));
        m_rcBorders = rcBorders;
        PropExchangeBool(pPX, _T("ShowShadow"), m_bShowShadow, TRUE);
    }
    if (nSchema > 8)
        PropExchangeBool(pPX, _T("DoubleGripper"), m_bDoubleGripper, FALSE);
    if (nSchema > 18)
        PropExchangeBool(pPX, _T("ContextMenu"), m_bContextMenu, FALSE);
    if (pPX->IsLoading() && nSchema < 20)
        SetShowGripper(TRUE);
}

// The menu bar.

void CQVTMenuBar::DoPropExchange(CQVTPropExchange* pPX)
{
    if (pPX && pPX->IsStoring() && m_pMDIMenus && m_pMDIMenus->GetCount() > 0 &&
        m_nIDResourceCurrent != m_nIDResource)
    {
        // The bar's own menu is what is saved as its controls.
        SwitchMDIMenu(m_nIDResource);
        m_bSwitchedForSave = TRUE;
    }
    CQVTToolBar::DoPropExchange(pPX);
    if (!pPX)
        return;
    int nResourceId = static_cast<int>(m_nIDResource);
    PropExchangeInt(pPX, _T("ResourceId"), nResourceId, 0);
    m_nIDResource = static_cast<UINT>(nResourceId);

    if (pPX->IsStoring())
    {
        std::vector<std::pair<UINT, CQVTMenuBarMDIMenuInfo*>> menus;
        for (POSITION pos = m_pMDIMenus ? m_pMDIMenus->GetStartPosition() : nullptr; pos;)
        {
            UINT nIDMenu = 0;
            CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
            m_pMDIMenus->GetNextAssoc(pos, nIDMenu, pInfo);
            if (pInfo && pInfo->m_pControls && pInfo->m_pControls->GetCount() > 0)
                menus.emplace_back(nIDMenu, pInfo);
        }
        pPX->WriteCount(static_cast<DWORD>(menus.size()));
        for (size_t i = 0; i < menus.size(); ++i)
        {
            CString strSection;
            strSection.Format(_T("%s%i"), _T("MDIMenu"), static_cast<int>(i));
            CQVTPropExchangeSection section(pPX->GetSection(strSection));
            int nId = static_cast<int>(menus[i].first);
            PropExchangeInt(section.GetExchange(), _T("Id"), nId, 0);
            menus[i].second->m_pControls->DoPropExchange(section.GetExchange());
        }
        return;
    }
    if (pPX->GetSchema() < 5)
        return;
    // No program has this many document templates: a forged count is held
    // to it, and a short block ends the read with an exception anyway.
    const DWORD nCount = std::min<DWORD>(pPX->ReadCount(), 4096);
    for (DWORD i = 0; i < nCount; ++i)
    {
        CString strSection;
        strSection.Format(_T("%s%i"), _T("MDIMenu"), static_cast<int>(i));
        CQVTPropExchangeSection section(pPX->GetSection(strSection));
        int nId = 0;
        PropExchangeInt(section.GetExchange(), _T("Id"), nId, 0);
        // Menu resources have 16-bit ids; anything else would be taken for a
        // resource name.
        if (nId <= 0 || nId > 0xFFFF)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CQVTMenuBarMDIMenuInfo* pInfo = new CQVTMenuBarMDIMenuInfo(GetCommandBars(), static_cast<UINT>(nId));
        m_pMDIMenus->SetAt(static_cast<UINT>(nId), pInfo);
        pInfo->m_pControls->DoPropExchange(section.GetExchange());
    }
}

void CQVTMenuBar::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList)
{
    CQVTToolBar::RestoreCommandBarList(pCommandBarList);
    for (POSITION pos = m_pMDIMenus ? m_pMDIMenus->GetStartPosition() : nullptr; pos;)
    {
        UINT nIDMenu = 0;
        CQVTMenuBarMDIMenuInfo* pInfo = nullptr;
        m_pMDIMenus->GetNextAssoc(pos, nIDMenu, pInfo);
        if (pInfo && pInfo->m_pControls)
            pInfo->m_pControls->RestoreCommandBarList(pCommandBarList, this);
    }
}

void CQVTMenuBar::RefreshAfterSave()
{
    if (!m_bSwitchedForSave)
        return;
    m_bSwitchedForSave = FALSE;
    CQVTCommandBars* pCommandBars = GetCommandBars();
    const UINT nTemplate = pCommandBars ? pCommandBars->GetActiveDocTemplate() : 0;
    if (nTemplate != 0 && nTemplate != m_nIDResourceCurrent)
        SwitchMDIMenu(nTemplate);
}
