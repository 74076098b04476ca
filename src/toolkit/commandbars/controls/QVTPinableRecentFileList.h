// A recent-file list whose entries can be pinned, with a caption and an icon
// per item; the recent-file list control shows those. Its framework part
// carries the menu text "PinableRecentFileList", by which a control tells it
// from a plain list.
#pragma once

#include <afxadv.h>

#include <memory>
#include <vector>

class CQVTRecentFileListItem
{
public:
    CString m_strCaption;  // shown instead of the file's display name when set
    int m_nIconId = -1;    // image of the item; -1 none
    BOOL m_bPinned = FALSE;
};

class CQVTPinableRecentFileList : public CRecentFileList
{
public:
    static const TCHAR kClassName[];

    CQVTPinableRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                              int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);

    // Items stand for the entries by index and move with them; the list may
    // hold fewer items than entries.
    CQVTRecentFileListItem* AddItem(LPCTSTR lpszCaption, int nIconId);
    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    // Null outside the item array, which may be shorter than the entries.
    CQVTRecentFileListItem* GetItem(int nIndex) const;
    void RemoveAllItems() { m_arrItems.clear(); }

    void Add(LPCTSTR lpszPathName) override;
    void Remove(int nIndex) override;
    // The entries with their pins, each beside its entry ("File1Pinned").
    void ReadList() override;
    void WriteList() override;

    // Whether a list is one of these.
    static BOOL AFX_CDECL IsPinableList(const CRecentFileList* pList);

    BOOL m_bShowPins;  // the pins show beside the items

private:
    CString GetPinnedEntryName(int nIndex) const;

    std::vector<std::unique_ptr<CQVTRecentFileListItem>> m_arrItems;
};
