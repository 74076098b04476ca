#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"

#include <algorithm>

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

void CQVTPinableRecentFileList::Add(LPCTSTR lpszPathName)
{
    // Where the entry comes from: its own place, or the last, which drops out.
    int nFound = m_nSize - 1;
    for (int i = 0; lpszPathName && i < m_nSize; ++i)
        if (m_arrNames[i].CompareNoCase(lpszPathName) == 0)
        {
            nFound = i;
            break;
        }
    CRecentFileList::Add(lpszPathName);
    if (m_nSize <= 0 || !lpszPathName || !*lpszPathName || m_arrNames[0].CompareNoCase(lpszPathName) != 0 ||
        m_arrItems.empty())
        return;
    if (nFound < GetItemCount())
    {
        std::rotate(m_arrItems.begin(), m_arrItems.begin() + nFound, m_arrItems.begin() + nFound + 1);
        return;
    }
    m_arrItems.insert(m_arrItems.begin(), std::make_unique<CQVTRecentFileListItem>());
    if (GetItemCount() > m_nSize)
        m_arrItems.resize(static_cast<size_t>(m_nSize));
}

void CQVTPinableRecentFileList::Remove(int nIndex)
{
    CRecentFileList::Remove(nIndex);
    if (nIndex >= 0 && nIndex < m_nSize && nIndex < GetItemCount())
        m_arrItems.erase(m_arrItems.begin() + nIndex);
}

CString CQVTPinableRecentFileList::GetPinnedEntryName(int nIndex) const
{
    CString strEntry;
    strEntry.Format(m_strEntryFormat, nIndex + 1);
    return strEntry + _T("Pinned");
}

void CQVTPinableRecentFileList::ReadList()
{
    CRecentFileList::ReadList();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        const BOOL bPinned =
            !m_arrNames[i].IsEmpty() && pApp->GetProfileInt(m_strSectionName, GetPinnedEntryName(i), 0) != 0;
        // A pin of an entry without an item yet needs one to live in.
        while (bPinned && GetItemCount() <= i)
            m_arrItems.push_back(std::make_unique<CQVTRecentFileListItem>());
        if (CQVTRecentFileListItem* pItem = GetItem(i))
            pItem->m_bPinned = bPinned;
    }
}

void CQVTPinableRecentFileList::WriteList()
{
    CRecentFileList::WriteList();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        const CQVTRecentFileListItem* pItem = GetItem(i);
        if (!m_arrNames[i].IsEmpty() && pItem && pItem->m_bPinned)
            pApp->WriteProfileInt(m_strSectionName, GetPinnedEntryName(i), 1);
        else
            pApp->WriteProfileString(m_strSectionName, GetPinnedEntryName(i), nullptr);
    }
}

BOOL AFX_CDECL CQVTPinableRecentFileList::IsPinableList(const CRecentFileList* pList)
{
    return pList && pList->m_strOriginal == kClassName;
}
