#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"

const TCHAR CQVTPinableRecentFileList::kClassName[] = _T("PinableRecentFileList");

CQVTPinableRecentFileList::CQVTPinableRecentFileList(UINT nStart, LPCTSTR lpszSection,
                                                     LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen)
    : CRecentFileList(nStart, lpszSection, lpszEntryFormat, nSize, nMaxDispLen), m_bShowPins(FALSE)
{
    m_strOriginal = kClassName;
}

CQVTRecentFileListItem* CQVTPinableRecentFileList::AddItem(LPCTSTR lpszCaption, int nIconId)
{
    auto pItem = std::make_unique<CQVTRecentFileListItem>();
    pItem->m_strCaption = lpszCaption;
    pItem->m_nIconId = nIconId;
    m_arrItems.push_back(std::move(pItem));
    return m_arrItems.back().get();
}

CQVTRecentFileListItem* CQVTPinableRecentFileList::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    return m_arrItems[static_cast<size_t>(nIndex)].get();
}

BOOL AFX_CDECL CQVTPinableRecentFileList::IsPinableList(const CRecentFileList* pList)
{
    return pList && pList->m_strOriginal == kClassName;
}
