// CFileFind: directory searches with the framework's look-ahead semantics.
#include <afx.h>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_hContext(nullptr), m_bHasFound(FALSE), m_bHasNext(FALSE), m_chDirSeparator('\\')
{
    ZeroMemory(&m_found, sizeof m_found);
    ZeroMemory(&m_next, sizeof m_next);
}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hContext != nullptr && m_hContext != INVALID_HANDLE_VALUE)
        ::FindClose(m_hContext);
    m_hContext = nullptr;
    m_bHasFound = FALSE;
    m_bHasNext = FALSE;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD)
{
    Close();
    CString pattern = pstrName != nullptr && *pstrName != 0 ? CString(pstrName) : CString(_T("*.*"));

    // The root is the full path of the folder searched, without the pattern.
    WCHAR full[MAX_PATH * 2];
    DWORD length = ::GetFullPathNameW(pattern, _countof(full), full, nullptr);
    CString fullPattern =
        (length > 0 && length < _countof(full)) ? CString(full, static_cast<int>(length)) : pattern;
    int separator = std::max(fullPattern.ReverseFind('\\'), fullPattern.ReverseFind('/'));
    if (separator >= 0)
    {
        m_chDirSeparator = fullPattern[separator];
        m_strRoot = fullPattern.Left(separator);
        // Keep "C:\" whole: a bare "C:" names the drive's current folder.
        if (m_strRoot.GetLength() == 2 && m_strRoot[1] == ':')
            m_strRoot += m_chDirSeparator;
    }

    m_hContext = ::FindFirstFileW(pattern, &m_next);
    if (m_hContext == INVALID_HANDLE_VALUE)
    {
        DWORD error = ::GetLastError();
        m_hContext = nullptr;
        m_strRoot.Empty();
        ::SetLastError(error);
        return FALSE;
    }
    m_bHasNext = TRUE;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hContext == nullptr || !m_bHasNext)
        return FALSE;
    m_found = m_next;
    m_bHasFound = TRUE;
    m_bHasNext = ::FindNextFileW(m_hContext, &m_next);
    return m_bHasNext;
}

ULONGLONG CFileFind::GetLength() const
{
    if (!m_bHasFound)
        return 0;
    return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow;
}

CString CFileFind::GetFileName() const
{
    return m_bHasFound ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_bHasFound)
        return CString();
    CString path = m_strRoot;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\' && path[path.GetLength() - 1] != '/')
        path += m_chDirSeparator;
    return path + GetFileName();
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFileFind::GetFileURL() const
{
    if (!m_bHasFound)
        return CString();
    return CString(_T("file://")) + GetFilePath();
}

CString CFileFind::GetRoot() const
{
    return m_bHasFound ? m_strRoot : CString();
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasFound || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasFound || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_found.ftLastAccessTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasFound || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_found.ftCreationTime;
    return TRUE;
}

namespace {

BOOL ToCTime(const FILETIME& ft, CTime& refTime)
{
    if (!CTime::IsValidFILETIME(ft))
        return FALSE;
    refTime = CTime(ft);
    return TRUE;
}

}  // namespace

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    return m_bHasFound && ToCTime(m_found.ftLastWriteTime, refTime);
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const
{
    return m_bHasFound && ToCTime(m_found.ftLastAccessTime, refTime);
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const
{
    return m_bHasFound && ToCTime(m_found.ftCreationTime, refTime);
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHasFound && (m_found.dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const
{
    if (!m_bHasFound || !IsDirectory())
        return FALSE;
    const WCHAR* name = m_found.cFileName;
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}
