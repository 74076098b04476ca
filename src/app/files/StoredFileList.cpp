#include "app/files/StoredFileList.h"

#include <algorithm>

#include "common/Logging.h"
#include "common/XmlSettingsFile.h"

namespace {

const TCHAR kFilesNode[] = _T("Files");
const TCHAR kEntryPrefix[] = _T("File-");

// The largest i of the "File-<i>" elements present, -1 when there is none.
int LastStoredEntry(CXmlSettingsFile& file)
{
    CStringArray names;
    file.GetChildNames(kFilesNode, names);
    const int nPrefix = (int)(sizeof(kEntryPrefix) / sizeof(TCHAR)) - 1;
    int nLast = -1;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        const CString& strName = names[i];
        if (strName.GetLength() <= nPrefix || strName.Left(nPrefix) != kEntryPrefix)
            continue;
        long long nIndex = 0;
        BOOL bDigits = TRUE;
        for (int c = nPrefix; c < strName.GetLength() && bDigits; ++c)
        {
            TCHAR ch = strName[c];
            bDigits = ch >= _T('0') && ch <= _T('9');
            if (bDigits && nIndex <= INT_MAX)
                nIndex = nIndex * 10 + (ch - _T('0'));
        }
        if (bDigits && nIndex <= INT_MAX && nIndex > nLast)
            nLast = (int)nIndex;
    }
    return nLast;
}

}  // namespace

void CStoredFileList::Load(LPCTSTR pszFile, CStringArray& paths)
{
    paths.RemoveAll();
    try
    {
        CXmlSettingsFile file(pszFile, FALSE);
        int nCount = 0;
        if (!file.GetInt(kFilesNode, _T("Count"), nCount) || nCount <= 0)
            return;
        // A forged count would walk billions of absent entries.
        int nEnd = std::min(nCount, LastStoredEntry(file) + 1);
        for (int i = 0; i < nEnd; ++i)
        {
            CString strNode;
            strNode.Format(_T("%s\\%s%i"), kFilesNode, kEntryPrefix, i);
            CString strPath;
            if (file.GetString(strNode, _T("Path"), strPath) && !strPath.IsEmpty())
                paths.Add(strPath);
        }
    }
    catch (_com_error& e)
    {
        APP_LOG(_T("Load %s: fail (0x%08X)"), pszFile, (unsigned)e.Error());
    }
}

void CStoredFileList::Save(LPCTSTR pszFile, const CStringArray& paths)
{
    try
    {
        // The settings file writes itself beside the old one when it goes,
        // and puts it in place only when whole.
        CXmlSettingsFile file(pszFile, TRUE);
        CString strCount;
        strCount.Format(_T("%ld"), (long)paths.GetSize());
        file.SetString(kFilesNode, _T("Count"), strCount);
        for (INT_PTR i = 0; i < paths.GetSize(); ++i)
        {
            CString strNode;
            strNode.Format(_T("%s\\%s%i"), kFilesNode, kEntryPrefix, (int)i);
            file.SetString(strNode, _T("Path"), paths[i]);
        }
    }
    catch (_com_error& e)
    {
        APP_LOG(_T("Save %s: fail (0x%08X)"), pszFile, (unsigned)e.Error());
    }
}
