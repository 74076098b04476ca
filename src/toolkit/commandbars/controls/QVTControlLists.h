// The list controls that stand in a menu as one placeholder and, each time
// the menu is laid out, hide themselves and put one temporary item per open
// window, workspace command, recent file or OLE verb popup after themselves;
// in customize mode the placeholder shows instead, so it can be moved. They
// go only into menus.
#pragma once

#include "toolkit/commandbars/controls/QVTControlButton.h"

class CRecentFileList;

// "&3 text": the caption of a list's numbered item, its ampersands doubled;
// 10 takes the 0 as mnemonic, larger numbers none, 0 no number at all.
CString AFX_CDECL QVTFormatMenuCaption(int nNumber, const CString& strText);

// Common to the lists: only popup bars take them.
class CQVTControlListBase : public CQVTControlButton
{
    DECLARE_DYNCREATE(CQVTControlListBase)

public:
    BOOL IsCustomizeDragOverAvail(CQVTCommandBar* pCommandBar, CPoint point, DWORD& dropEffect) override;

protected:
    // Removes the items of the last layout that follow the placeholder.
    template <class TPredicate>
    void RemoveListItems(TPredicate isItem);
    // In customize mode: the placeholder shows (and takes no list); TRUE then.
    BOOL ShowPlaceholderForCustomizing();
    CQVTControl* AddListItem(int nType, int nId, int nAdded, LPCTSTR lpszParameter = nullptr);
};

class CQVTControlWindowList : public CQVTControlListBase
{
    DECLARE_SERIAL(CQVTControlWindowList)

public:
    CQVTControlWindowList();
    void OnCalcDynamicSize(DWORD dwMode) override;

    // Menus list at most this many windows.
    static const int kMaxWindows = 9;
    // Items are radio buttons instead of checked buttons (process-wide).
    static BOOL s_bRadioWindowList;

protected:
    UINT m_nFirstWindowId;  // id of the MDI client's first child
};

class CQVTControlWorkspaceActions : public CQVTControlListBase
{
    DECLARE_SERIAL(CQVTControlWorkspaceActions)

public:
    CQVTControlWorkspaceActions();
    void OnCalcDynamicSize(DWORD dwMode) override;
};

class CQVTControlRecentFileList : public CQVTControlListBase
{
    DECLARE_SERIAL(CQVTControlRecentFileList)

public:
    CQVTControlRecentFileList();
    void OnCalcDynamicSize(DWORD dwMode) override;

    // The application's list; null: none.
    virtual CRecentFileList* GetRecentFileList();
    virtual int GetFirstMruID() { return QVT_ID_FILE_MRU_FIRST; }
};

class CQVTControlOleItems : public CQVTControlListBase
{
    DECLARE_SERIAL(CQVTControlOleItems)

public:
    CQVTControlOleItems();
    void OnCalcDynamicSize(DWORD dwMode) override;

    // The selected OLE object of the frame's active view; null when none.
    virtual IOleObject* GetSelectedOleObject() const;
};
