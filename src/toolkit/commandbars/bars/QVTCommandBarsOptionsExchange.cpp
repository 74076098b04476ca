// The options' persistence: the keys in the order older stores hold them
// (later schemas only add), and the two command-id sets, which a section
// store keeps as counted "Item%i" values and an archive as a whole.
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"

#include <memory>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

// No bar set has this many commands: a larger stored count is forged.
const DWORD kMaxStoredCommandIds = 0x10000;

struct OptionsSectionRelease
{
    void operator()(CQVTPropExchange* pPX) const
    {
        if (pPX)
            pPX->InternalRelease();
    }
};

void ExchangeCommandIdsInArchive(CArchive& ar, CMap<UINT, UINT, BOOL, BOOL>& map)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(static_cast<DWORD_PTR>(map.GetCount()));
        POSITION pos = map.GetStartPosition();
        while (pos)
        {
            UINT nId = 0;
            BOOL bValue = FALSE;
            map.GetNextAssoc(pos, nId, bValue);
            ar << static_cast<DWORD>(nId) << static_cast<int>(bValue);
        }
        return;
    }
    map.RemoveAll();
    const DWORD_PTR nCount = ar.ReadCount();
    if (nCount > kMaxStoredCommandIds)
        AfxThrowArchiveException(CArchiveException::badIndex);
    for (DWORD_PTR i = 0; i < nCount; ++i)
    {
        DWORD dwId = 0;
        int nValue = 0;
        ar >> dwId >> nValue;
        map.SetAt(static_cast<UINT>(dwId), nValue);
    }
}

void ExchangeCommandIds(CQVTPropExchange* pPX, LPCTSTR lpszKey, CMap<UINT, UINT, BOOL, BOOL>& map)
{
    if (pPX->IsKindOf(RUNTIME_CLASS(CQVTPropExchangeArchive)))
    {
        CArchive* pArchive = pPX->GetArchive(lpszKey);
        if (!pArchive)
            return;
        ExchangeCommandIdsInArchive(*pArchive, map);
        pPX->ReleaseArchive(lpszKey, pArchive);
        return;
    }
    // A store that may omit defaults keeps no empty set.
    if (pPX->IsStoring() && pPX->CanOmitDefaults() && map.IsEmpty())
        return;
    std::unique_ptr<CQVTPropExchange, OptionsSectionRelease> section(pPX->GetSection(lpszKey));
    if (!section)
        return;
    if (pPX->IsStoring())
    {
        section->EmptySection();
        section->WriteCount(static_cast<DWORD>(map.GetCount()));
        POSITION pos = map.GetStartPosition();
        int nItem = 0;
        while (pos)
        {
            UINT nId = 0;
            BOOL bValue = FALSE;
            map.GetNextAssoc(pos, nId, bValue);
            CString strItem;
            strItem.Format(_T("Item%i"), nItem++);
            int nValue = static_cast<int>(nId);
            PropExchangeInt(section.get(), strItem, nValue, 0);
        }
        return;
    }
    map.RemoveAll();
    DWORD dwCount = section->ReadCount();
    if (dwCount > kMaxStoredCommandIds)
        dwCount = kMaxStoredCommandIds;
    for (DWORD i = 0; i < dwCount; ++i)
    {
        CString strItem;
        strItem.Format(_T("Item%i"), static_cast<int>(i));
        int nValue = 0;
        // The items end where the store ends, whatever the count claims.
        if (!PropExchangeIntNoDefault(section.get(), strItem, nValue))
            break;
        map.SetAt(static_cast<UINT>(nValue), TRUE);
    }
}

}  // namespace

void CQVTCommandBarsOptions::DoPropExchange(CQVTPropExchange* pPX, BOOL bUserOnly)
{
    if (!pPX)
        return;
    int nSchema = pPX->IsStoring() ? 43 : static_cast<int>(pPX->GetSchema());
    PropExchangeInt(pPX, _T("Schema"), nSchema, 43);
    if (pPX->IsLoading())
        pPX->SetSchema(static_cast<UINT>(nSchema));

    PropExchangeBool(pPX, _T("AlwaysShowFullMenus"), bAlwaysShowFullMenus, TRUE);
    PropExchangeBool(pPX, _T("ShowFullAfterDelay"), bShowFullAfterDelay, TRUE);
    PropExchangeBool(pPX, _T("ToolBarScreenTips"), bToolBarScreenTips, TRUE);
    PropExchangeBool(pPX, _T("ToolBarAccelTips"), bToolBarAccelTips, FALSE);
    PropExchangeBool(pPX, _T("LargeIcons"), bLargeIcons, FALSE);
    if (nSchema > 7)
        ExchangeCommandIds(pPX, _T("UsedCommands"), m_mapUsedCommands);
    if (nSchema > 7 || bUserOnly)
        PropExchangeInt(pPX, _T("Animation"), animationType, 0);
    if (bUserOnly)
        return;

    PropExchangeBool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
    PropExchangeBool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
    SIZE szNone = {0, 0};
    PropExchangeSize(pPX, _T("IconsSize"), szIcons, szNone);
    PropExchangeSize(pPX, _T("LargeIconsSize"), szLargeIcons, szNone);
    ExchangeCommandIds(pPX, _T("HiddenCommands"), m_mapHiddenCommands);

    // The icon options belong to the bars' paint manager.
    CQVTPaintManager* pPaintManager = m_pCommandBars ? m_pCommandBars->GetPaintManager() : QVTPaintManager();
    BOOL bIconsWithShadow = pPaintManager->m_bIconsWithShadow;
    BOOL bUseDisabledIcons = pPaintManager->m_bUseDisabledIcons;
    BOOL bUseFadedIcons = pPaintManager->m_bUseFadedIcons;
    PropExchangeBool(pPX, _T("IconsWithShadow"), bIconsWithShadow, FALSE);
    PropExchangeBool(pPX, _T("UseDisabledIcons"), bUseDisabledIcons, TRUE);
    PropExchangeBool(pPX, _T("UseFadedIcons"), bUseFadedIcons, TRUE);
    if (pPX->IsLoading())
    {
        pPaintManager->m_bIconsWithShadow = bIconsWithShadow;
        pPaintManager->m_bUseDisabledIcons = bUseDisabledIcons;
        pPaintManager->m_bUseFadedIcons = bUseFadedIcons;
    }

    if (nSchema > 7)
    {
        PropExchangeBool(pPX, _T("SyncFloatingBars"), bSyncFloatingBars, TRUE);
        PropExchangeBool(pPX, _T("ShowExpandButtonAlways"), bShowExpandButtonAlways, TRUE);
        PropExchangeBool(pPX, _T("DblClickFloat"), bDblClickFloat, FALSE);
        PropExchangeBool(pPX, _T("ShowTextBelowIcons"), bShowTextBelowIcons, FALSE);
        PropExchangeBool(pPX, _T("AltDragCustomization"), bAltDragCustomization, TRUE);
        PropExchangeBool(pPX, _T("AutoHideUnusedPopups"), bAutoHideUnusedPopups, TRUE);
        PropExchangeSize(pPX, _T("PopupIconsSize"), szPopupIcons, szNone);
    }
    if (nSchema > 8)
    {
        PropExchangeInt(pPX, _T("KeyboardCuesUse"), keyboardCuesUse, 1);
        PropExchangeInt(pPX, _T("KeyboardCuesShow"), m_nShowKeyboardCues, 0);
        if (pPX->IsLoading())
            ShowKeyboardCues(m_nShowKeyboardCues);
    }
    if (nSchema > 38)
    {
        PropExchangeBool(pPX, _T("AutoScaleDpiGalleryItems"), bAutoScaleDpiGalleryItems, TRUE);
        PropExchangeBool(pPX, _T("AutoScaleDpiToolbarIcons"), bAutoScaleDpiToolbarIcons, TRUE);
    }
    if (nSchema > 42)
    {
        BOOL bDpiScaling = bAutoScaleDpiToolbarIcons;
        PropExchangeBool(pPX, _T("AutoScaleDpiToolbarIcons"), bDpiScaling, TRUE);
        PropExchangeBool(pPX, _T("AutoScaleDpiToolbarIconsModified"), bAutoScaleDpiToolbarIconsModified,
                         FALSE);
        if (pPX->IsLoading() && bAutoScaleDpiToolbarIconsModified)
            SetDpiScaling(bDpiScaling);
    }
}

void CQVTCommandBarsOptions::Serialize(CArchive& ar)
{
    CQVTPropExchangeArchive px(ar);
    DoPropExchange(&px, FALSE);
}

// The bars' profile section of the options.

void CQVTCommandBars::SaveOptions(LPCTSTR lpszProfileName)
{
    CString strSection;
    strSection.Format(_T("%s-Options"), lpszProfileName);
    CQVTPropExchangeSection section(FALSE, strSection);
    if (!section.GetExchange())
        return;
    section->EmptySection();
    m_pOptions->DoPropExchange(section.GetExchange(), TRUE);
}

void CQVTCommandBars::LoadOptions(LPCTSTR lpszProfileName)
{
    CString strSection;
    strSection.Format(_T("%s-Options"), lpszProfileName);
    CQVTPropExchangeSection section(TRUE, strSection);
    if (!section.GetExchange())
        return;
    m_pOptions->DoPropExchange(section.GetExchange(), TRUE);
}
