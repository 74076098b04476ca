#include <afxadv.h>

#include <algorithm>

namespace {

int AfxMruBoundSize(int nSize)
{
    // A list is a menu's worth of entries: a count from a caller or a stored
    // setting is held to what a menu can show.
    return std::max(0, std::min(nSize, 16));
}

CString AfxMruFileName(const CString& strPath)
{
    const int nSlash = std::max(strPath.ReverseFind(_T('\\')), strPath.ReverseFind(_T('/')));
    const int nColon = strPath.ReverseFind(_T(':'));
    return strPath.Mid(std::max(nSlash, nColon) + 1);
}

}  // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(AfxMruBoundSize(nSize)), m_arrNames(nullptr), m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat), m_nStart(nStart), m_nMaxDisplayLength(std::max(nMaxDispLen, 4))
{
    m_arrNames = new CString[m_nSize > 0 ? m_nSize : 1];
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

CString& CRecentFileList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
    {
        m_strEmpty.Empty();
        return m_strEmpty;
    }
    return m_arrNames[nIndex];
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName || m_nSize <= 0)
        return;
    const CString strPath(lpszPathName);
    if (strPath.GetLength() > AFX_MRU_MAX_PATH)
        return;
    // An entry already listed moves up; otherwise the last one drops out.
    int nFound = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i)
    {
        if (m_arrNames[i].CompareNoCase(strPath) == 0)
        {
            nFound = i;
            break;
        }
    }
    for (int i = nFound; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; ++i)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const
{
    strName.Empty();
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[nIndex];
    const CString strFile = AfxMruFileName(strPath);
    // In the current folder itself (not below it) the name alone tells it.
    if (lpszCurDir && nCurDir > 0 && strPath.GetLength() > nCurDir &&
        strPath.Left(nCurDir).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0 &&
        strPath.Mid(nCurDir).FindOneOf(_T("\\/")) < 0)
    {
        strName = strPath.Mid(nCurDir);
        return TRUE;
    }
    if (strPath.GetLength() <= m_nMaxDisplayLength)
    {
        strName = strPath;
        return TRUE;
    }
    // Too long: the start of the path, an ellipsis, and the file name.
    if (strFile.GetLength() + 4 >= m_nMaxDisplayLength)
    {
        strName = bAtLeastName ? strFile : strFile.Left(m_nMaxDisplayLength);
        return TRUE;
    }
    const int nHead = m_nMaxDisplayLength - strFile.GetLength() - 4;
    strName = strPath.Left(nHead) + _T("...\\") + strFile;
    return TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        CString strPath = pApp->GetProfileString(m_strSectionName, strEntry, _T(""));
        // An over-long stored path is no path the list can have written.
        if (strPath.GetLength() > AFX_MRU_MAX_PATH)
            strPath.Empty();
        m_arrNames[i] = strPath;
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, i + 1);
        pApp->WriteProfileString(m_strSectionName, strEntry,
                                 m_arrNames[i].IsEmpty() ? nullptr : m_arrNames[i].GetString());
    }
}

UINT AFXAPI AfxGetFileTitle(LPCTSTR lpszPathName, LPTSTR lpszTitle, UINT nMax)
{
    if (!lpszPathName)
        return 0;
    const CString strTitle = AfxMruFileName(CString(lpszPathName));
    const UINT nNeeded = static_cast<UINT>(strTitle.GetLength()) + 1;
    if (!lpszTitle || nMax < nNeeded)
        return nNeeded;
    memcpy(lpszTitle, strTitle.GetString(), nNeeded * sizeof(TCHAR));
    return 0;
}
