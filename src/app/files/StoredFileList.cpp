#include "app/files/StoredFileList.h"

#include <algorithm>
#include <vector>

#include "common/Logging.h"
#include "common/XmlSettingsFile.h"

namespace {

const TCHAR kFilesNode[] = _T("Files");
const TCHAR kEntryPrefix[] = _T("File-");

// The i of every "File-<i>" element present below nCount, in ascending order
// and each once: the list's order is the entries' numbers, not the document's.
void StoredEntries(CXmlSettingsFile& file, int nCount, std::vector<int>& entries)
{
    CStringArray names;
    file.GetChildNames(kFilesNode, names);
    const int nPrefix = (int)(sizeof(kEntryPrefix) / sizeof(TCHAR)) - 1;
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
        if (bDigits && nIndex < nCount)
            entries.push_back((int)nIndex);
    }
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
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
        // Only the entries the document holds are looked up: a forged count
        // or entry number would otherwise walk billions of absent ones.
        std::vector<int> entries;
        StoredEntries(file, nCount, entries);
        for (int i : entries)
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
