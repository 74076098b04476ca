// The framework's advanced helpers: the recent-file list of an application.
#pragma once

#include <afxwin.h>

// The longest path the list takes (the system's own limit for a path).
#define AFX_MRU_MAX_PATH 32767
// Display names are cut to this length by default.
#define AFX_ABBREV_FILENAME_LEN 30

class CRecentFileList
{
public:
    // Entries read from and written to the profile section under names made
    // from the entry format ("File%d", counted from 1); command ids from
    // nStart.
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
    virtual ~CRecentFileList();
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return m_nSize; }
    // An empty string outside the list.
    CString& operator[](int nIndex);

    // The path goes to the top, once; empty and over-long paths are refused.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The entry as a menu shows it: the file name alone when it lies in the
    // current folder (lpszCurDir ends with a backslash), cut to the display
    // length otherwise; FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;          // entries the list holds
    CString* m_arrNames;  // full paths, the newest first; empty past the last
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;  // command id of the first entry
    int m_nMaxDisplayLength;
    CString m_strOriginal;  // the menu text of the item the list replaces

private:
    CString m_strEmpty;
};

// The file name of a path without its folder; 0 on success, else the size
// the buffer needs.
UINT AFXAPI AfxGetFileTitle(LPCTSTR lpszPathName, LPTSTR lpszTitle, UINT nMax);
