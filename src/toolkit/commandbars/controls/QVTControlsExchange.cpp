// The saved layout of controls: each control's keys in the order the
// layout block holds them, the collections with their original copies, and
// the popup controls' links to their popup bars by number.
#include <afxwin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "toolkit/commandbars/actions/QVTControlAction.h"
#include "toolkit/commandbars/bars/QVTCommandBar.h"
#include "toolkit/commandbars/bars/QVTCommandBarList.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsExchange.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/image/QVTImageManager.h"

namespace {

// A document-template list as a blob: the count, then the ids.
void ExchangeDocTemplates(CQVTPropExchange* pPX, LPCTSTR lpszName, CQVTControl::CDocTemplateMap& map)
{
    if (pPX->IsStoring())
    {
        // Name-keyed stores leave an empty list out; the archive is read in
        // order and always holds it.
        if (map.IsEmpty() && pPX->CanOmitDefaults())
            return;
        std::vector<UINT> data;
        data.push_back(static_cast<UINT>(map.GetCount()));
        for (POSITION pos = map.GetStartPosition(); pos;)
        {
            UINT nId = 0;
            BOOL bValue = FALSE;
            map.GetNextAssoc(pos, nId, bValue);
            data.push_back(nId);
        }
        BYTE* pData = reinterpret_cast<BYTE*>(data.data());
        DWORD nBytes = static_cast<DWORD>(data.size() * sizeof(UINT));
        pPX->ExchangeBlob(lpszName, pData, nBytes);
        return;
    }
    map.RemoveAll();
    BYTE* pData = nullptr;
    DWORD nBytes = 0;
    if (!pPX->ExchangeBlob(lpszName, pData, nBytes) || !pData)
    {
        std::free(pData);
        return;
    }
    // The count is held to what the blob holds.
    if (nBytes >= sizeof(UINT))
    {
        UINT nCount = 0;
        std::memcpy(&nCount, pData, sizeof(UINT));
        nCount = std::min<UINT>(nCount, nBytes / sizeof(UINT) - 1);
        for (UINT i = 0; i < nCount; ++i)
        {
            UINT nId = 0;
            std::memcpy(&nId, pData + (i + 1) * sizeof(UINT), sizeof(UINT));
            map.SetAt(nId, TRUE);
        }
    }
    std::free(pData);
}

}  // namespace

// One control.

void CQVTControl::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    const UINT nSchema = pPX->GetSchema();
    const BOOL bLoading = pPX->IsLoading();
    PropExchangeInt(pPX, _T("Type"), m_controlType, qvtControlButton);
    int nId = m_nId;
    PropExchangeInt(pPX, _T("Id"), nId, -1);
    PropExchangeInt(pPX, _T("IconId"), m_nIconId, 0);
    PropExchangeBool(pPX, _T("BeginGroup"), m_bBeginGroup, FALSE);
    int nTag = static_cast<int>(m_nTag);
    PropExchangeInt(pPX, _T("Tag"), nTag, 0);
    int nFlags = static_cast<int>(m_dwFlags);
    PropExchangeInt(pPX, _T("Flags"), nFlags, 0);
    int nHideFlags = static_cast<int>(m_dwHideFlags);
    PropExchangeInt(pPX, _T("HideFlags"), nHideFlags, 0);
    PropExchangeString(pPX, _T("Caption"), m_strCaption, _T(""));
    PropExchangeString(pPX, _T("ShortcutText"), m_strShortcutText, _T(""));
    PropExchangeString(pPX, _T("TooltipText"), m_strTooltipText, _T(""));
    PropExchangeString(pPX, _T("DescriptionText"), m_strDescriptionText, _T(""));
    PropExchangeString(pPX, _T("Parameter"), m_strParameter, _T(""));
    PropExchangeInt(pPX, _T("CustomIconId"), m_nCustomIconId, 0);
    PropExchangeString(pPX, _T("CustomCaption"), m_strCustomCaption, _T(""));
    if (nSchema > 1)
        PropExchangeString(pPX, _T("Category"), m_strCategory, _T(""));
    if (m_nCustomIconId > 0)
    {
        CQVTPropExchangeSection section(pPX->GetSection(_T("CustomIcon")));
        CQVTImageManager* pImageManager = GetImageManager();
        if (pImageManager && section.GetExchange())
            pImageManager->DoPropExchangeIconSet(static_cast<UINT>(m_nCustomIconId), section.GetExchange());
    }
    if (nSchema > 3)
    {
        ExchangeDocTemplates(pPX, _T("DocTemplatesExcluded"), m_mapDocTemplatesExcluded);
        ExchangeDocTemplates(pPX, _T("DocTemplatesAssigned"), m_mapDocTemplatesAssigned);
        PropExchangeBool(pPX, _T("DefaultItem"), m_bDefaultItem, FALSE);
    }
    if (nSchema > 6)
        PropExchangeBool(pPX, _T("CloseSubMenuOnClick"), m_bCloseSubMenuOnClick, TRUE);
    if (nSchema > 7)
    {
        PropExchangeInt(pPX, _T("CustomStyle"), m_buttonCustomStyle, -1);
        // Before schema 18 no custom style was stored as 0.
        if (bLoading && nSchema < 18 && m_buttonCustomStyle == 0)
            m_buttonCustomStyle = -1;
    }
    if (nSchema > 16)
        PropExchangeInt(pPX, _T("HelpId"), m_nHelpId, 0);
    if (nSchema > 17)
        PropExchangeInt(pPX, _T("Style"), m_buttonStyle, 0);
    if (nSchema > 18)
    {
        PropExchangeIntScaledX(pPX, _T("Width"), m_nWidth, 0);
        PropExchangeIntScaledY(pPX, _T("Height"), m_nHeight, 0);
        PropExchangeInt(pPX, _T("ExecuteOnPressInterval"), m_nExecuteOnPressInterval, 0);
    }
    if (nSchema > 22)
        PropExchangeString(pPX, _T("ShortcutTextAuto"), m_strShortcutTextAuto, _T(""));
    if (nSchema > 23)
        PropExchangeString(pPX, _T("KeyboardTip"), m_strKeyboardTip, _T(""));
    if (nSchema > 25)
    {
        SIZE szIcon = m_szIcon;
        PropExchangeSize(pPX, _T("IconSize"), szIcon, CSize(0, 0));
        m_szIcon = szIcon;
    }
    if (nSchema >= 41)
        PropExchangeString(pPX, _T("CustomShortcutText"), m_strCustomShortcutText, _T(""));
    else if (bLoading)
        m_strCustomShortcutText.Empty();
    if (!bLoading)
        return;

    m_nTag = static_cast<DWORD_PTR>(static_cast<UINT>(nTag));
    m_dwFlags = static_cast<DWORD>(nFlags);
    m_dwHideFlags = static_cast<DWORD>(nHideFlags);
    m_nId = nId;
    QVT_BARS_EXCHANGE_PARAM* pParam = QVTBarsExchangeParam(pPX);
    CQVTCommandBars* pCommandBars = pParam ? pParam->pCommandBars : GetCommandBars();
    if (pCommandBars && nId > 0)
    {
        CQVTControlAction* pAction = pCommandBars->FindAction(nId);
        if (!pAction && pCommandBars->IsActionsEnabled())
            pAction = pCommandBars->CreateAction(nId);
        if (pAction)
            SetAction(pAction);
    }
    OnLoaded();
}

void CQVTControlButton::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTControl::DoPropExchange(pPX);
    if (pPX && pPX->GetSchema() < 18)
        PropExchangeInt(pPX, _T("Style"), m_buttonStyle, 0);
}

void CQVTControlPopup::DoPropExchange(CQVTPropExchange* pPX)
{
    CQVTControlButton::DoPropExchange(pPX);
    if (!pPX)
        return;
    int nCommandBarId = m_pCommandBar ? static_cast<int>(m_pCommandBar->GetBarID()) : 0;
    PropExchangeInt(pPX, _T("CommandBarId"), nCommandBarId, 0);
    if (pPX->IsLoading())
        m_nCommandBarId = nCommandBarId;
    const UINT nSchema = pPX->GetSchema();
    if (nSchema >= 5 && nSchema < 18)
        PropExchangeInt(pPX, _T("Style"), m_buttonStyle, 0);
}

void CQVTControlPopup::GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                              QVT_BARS_EXCHANGE_PARAM* pParam)
{
    if (m_pCommandBar && !IsTemporary())
        m_pCommandBar->GenerateCommandBarList(nID, pCommandBarList, pParam);
}

namespace {

// Popup bars nest no deeper than this in a loaded layout: deeper chains
// would take the recursive walks over popups past the stack.
const int kMaxLoadedPopupDepth = 32;

// Whether the bar, through its popup controls (linked, or still waiting for
// their link by number), leads to the target bar or nests too deep.
BOOL PopupChainReaches(CQVTCommandBar* pFrom, CQVTCommandBar* pTarget, CQVTCommandBarList* pCommandBarList)
{
    std::vector<std::pair<CQVTCommandBar*, int>> pending(1, {pFrom, 1});
    std::vector<CQVTCommandBar*> visited;
    while (!pending.empty())
    {
        CQVTCommandBar* pBar = pending.back().first;
        const int nDepth = pending.back().second;
        pending.pop_back();
        if (pBar == pTarget || nDepth > kMaxLoadedPopupDepth)
            return TRUE;
        if (std::find(visited.begin(), visited.end(), pBar) != visited.end())
            continue;
        visited.push_back(pBar);
        for (CQVTControls* pControls :
             {pBar->GetControls(), static_cast<CQVTControls*>(pBar->GetControls()->GetOriginalControls())})
        {
            for (int i = 0; pControls && i < pControls->GetCount(); ++i)
            {
                CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControls->GetAt(i));
                if (!pPopup)
                    continue;
                CQVTCommandBar* pNext = pPopup->GetCommandBar();
                if (!pNext && pPopup->GetCommandBarId() != 0)
                    pNext = pCommandBarList->FindCommandBar(static_cast<UINT>(pPopup->GetCommandBarId()));
                if (pNext)
                    pending.emplace_back(pNext, nDepth + 1);
            }
        }
    }
    return FALSE;
}

}  // namespace

void CQVTControlPopup::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList)
{
    RestoreLink(pCommandBarList, m_pParent);
}

void CQVTControlPopup::RestoreLink(CQVTCommandBarList* pCommandBarList, CQVTCommandBar* pHolder)
{
    if (m_nCommandBarId == 0 || !pCommandBarList)
        return;
    CQVTCommandBar* pBar = pCommandBarList->FindCommandBar(static_cast<UINT>(m_nCommandBarId));
    m_nCommandBarId = 0;
    // A link that leads back to the bar holding this control would make
    // every walk over popups endless: refused, as is one that cannot be
    // checked.
    if (!pBar || !CanTakeLoadedBar(pBar) || !pHolder || PopupChainReaches(pBar, pHolder, pCommandBarList))
        return;
    SetCommandBar(pBar);
}

BOOL CQVTControlPopup::CanTakeLoadedBar(CQVTCommandBar* pBar) const
{
    return pBar && pBar->IsPopupBar();
}

// Collections.

BOOL CQVTControls::IsControlSaved(CQVTControl* pControl) const
{
    return pControl && !pControl->IsTemporary();
}

void CQVTControls::DoPropExchange(CQVTPropExchange* pPX)
{
    if (!pPX)
        return;
    CQVTPropExchangeEnumeratorPtr enumerator(pPX->GetEnumerator(_T("Control")));
    if (pPX->IsStoring())
    {
        std::vector<CQVTControl*> saved;
        for (CQVTControl* pControl : m_arrControls)
            if (IsControlSaved(pControl))
                saved.push_back(pControl);
        POSITION pos = enumerator->GetPosition(static_cast<DWORD>(saved.size()));
        for (size_t i = 0; i < saved.size() && pos; ++i)
        {
            CQVTPropExchangeSection section(enumerator->GetNext(pos));
            CObject* pObject = saved[i];
            if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTControl)))
                AfxThrowArchiveException(CArchiveException::badClass);
            saved[i]->DoPropExchange(section.GetExchange());
        }
        QVT_BARS_EXCHANGE_PARAM* pParam = QVTBarsExchangeParam(pPX);
        BOOL bOriginals =
            pParam && pParam->bSaveOriginalControls && m_pOriginalControls && !m_bOriginalControls;
        PropExchangeBool(pPX, _T("OriginalControls"), bOriginals, FALSE);
        if (bOriginals)
        {
            CQVTPropExchangeSection section(pPX->GetSection(_T("OriginalControls")));
            m_pOriginalControls->DoPropExchange(section.GetExchange());
        }
        BOOL bCustomized = FALSE;
        PropExchangeBool(pPX, _T("CustomizedControls"), bCustomized, FALSE);
        return;
    }

    RemoveBeforeLoad();
    POSITION pos = enumerator->GetPosition(0);
    while (pos)
    {
        CQVTPropExchangeSection section(enumerator->GetNext(pos));
        CObject* pObject = nullptr;
        if (!section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CQVTControl)))
            AfxThrowArchiveException(CArchiveException::badClass);
        CQVTControl* pControl = DYNAMIC_DOWNCAST(CQVTControl, pObject);
        if (!pControl)
        {
            delete pObject;
            AfxThrowArchiveException(CArchiveException::badClass);
        }
        pControl->m_pControls = this;
        pControl->m_pParent = m_pParent;
        try
        {
            pControl->DoPropExchange(section.GetExchange());
        }
        catch (CException*)
        {
            pControl->InternalRelease();
            throw;
        }
        AddControl(pControl);
    }
    BOOL bOriginals = FALSE;
    PropExchangeBool(pPX, _T("OriginalControls"), bOriginals, FALSE);
    if (bOriginals)
    {
        // Originals hold no originals of their own: a block that says so is
        // forged, and nesting it would recurse without end.
        if (m_bOriginalControls)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CQVTOriginalControls* pOriginals = new CQVTOriginalControls();
        pOriginals->m_pCommandBars = GetCommandBars();
        SetOriginalControls(pOriginals);
        CQVTPropExchangeSection section(pPX->GetSection(_T("OriginalControls")));
        pOriginals->DoPropExchange(section.GetExchange());
    }
    BOOL bCustomized = FALSE;
    PropExchangeBool(pPX, _T("CustomizedControls"), bCustomized, FALSE);
}

void CQVTControls::GenerateCommandBarList(DWORD& nID, CQVTCommandBarList* pCommandBarList,
                                          QVT_BARS_EXCHANGE_PARAM* pParam)
{
    for (CQVTControl* pControl : m_arrControls)
        pControl->GenerateCommandBarList(nID, pCommandBarList, pParam);
    if (m_pOriginalControls && pParam && pParam->bSaveOriginalControls)
        m_pOriginalControls->GenerateCommandBarList(nID, pCommandBarList, pParam);
}

void CQVTControls::RestoreCommandBarList(CQVTCommandBarList* pCommandBarList, CQVTCommandBar* pHolder)
{
    // Originals and template menus have no parent of their own: the bar
    // that keeps them holds their popups.
    if (!pHolder)
        pHolder = m_pParent;
    for (CQVTControl* pControl : m_arrControls)
    {
        CQVTControlPopup* pPopup = DYNAMIC_DOWNCAST(CQVTControlPopup, pControl);
        if (pPopup)
            pPopup->RestoreLink(pCommandBarList, pHolder);
        else
            pControl->RestoreCommandBarList(pCommandBarList);
    }
    if (m_pOriginalControls)
        m_pOriginalControls->RestoreCommandBarList(pCommandBarList, pHolder);
}
