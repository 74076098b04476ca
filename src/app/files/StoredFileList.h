// "filelist.xml": the paths of the recorder's file list between runs, as
// "Files\Count" and one "Files\File-<i>\Path" per row, in the list's order.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class CStoredFileList
{
public:
    // The stored paths in order. A missing or unreadable file gives none; a
    // Count beyond the entries present stops at the last entry there is, and
    // entries without a path are left out.
    static void Load(LPCTSTR pszFile, CStringArray& paths);
    // Replaces the file with these paths; a failed write keeps the old file
    // and is logged.
    static void Save(LPCTSTR pszFile, const CStringArray& paths);
};
