// CFile over Win32 file handles.
#include <afx.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

CTime TimeOrZero(const FILETIME& ft)
{
    return CTime::IsValidFILETIME(ft) ? CTime(ft) : CTime();
}

// A status with no name, times, size or attributes: what a failed query leaves.
void ClearStatus(CFileStatus& rStatus)
{
    ZeroMemory(rStatus.m_szFullName, sizeof rStatus.m_szFullName);
    rStatus.m_ctime = rStatus.m_mtime = rStatus.m_atime = CTime();
    rStatus.m_size = 0;
    rStatus.m_attribute = 0;
    rStatus.m_padding = 0;
}

// Times, size and attributes from either of the system's file records, which
// name these fields alike.
template <class FileInfo>
void FillStatus(CFileStatus& rStatus, const FileInfo& info)
{
    rStatus.m_ctime = TimeOrZero(info.ftCreationTime);
    rStatus.m_atime = TimeOrZero(info.ftLastAccessTime);
    rStatus.m_mtime = TimeOrZero(info.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(info.dwFileAttributes & 0xFF);
}

bool TimeToFileTime(const CTime& time, FILETIME& ft)
{
    if (time.GetTime() <= 0)
        return false;
    ULONGLONG ticks = static_cast<ULONGLONG>(time.GetTime()) * 10000000ULL + 116444736000000000ULL;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return true;
}

CString FullPath(LPCTSTR lpszFileName)
{
    WCHAR buffer[MAX_PATH * 2];
    DWORD length = ::GetFullPathNameW(lpszFileName, _countof(buffer), buffer, nullptr);
    if (length == 0 || length >= _countof(buffer))
        return CString(lpszFileName);
    return CString(buffer, static_cast<int>(length));
}

int LastSeparator(const CString& path)
{
    int slash = path.ReverseFind('\\');
    int other = path.ReverseFind('/');
    int colon = path.ReverseFind(':');
    return std::max(slash, std::max(other, colon));
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
    {
        // Destructors must not throw; a failing close is abandoned.
        Abort();
    }
}

void CFile::ThrowLastError() const
{
    LONG error = static_cast<LONG>(::GetLastError());
    CFileException::ThrowOsError(error,
                                 m_strFileName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strFileName));
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (pError != nullptr)
    {
        pError->m_cause = CFileException::none;
        pError->m_lOsError = 0;
        pError->m_strFileName.Empty();
    }
    if (lpszFileName == nullptr || *lpszFileName == 0)
    {
        if (pError != nullptr)
        {
            pError->m_cause = CFileException::badPath;
            pError->m_lOsError = ERROR_INVALID_NAME;
        }
        return FALSE;
    }
    if (m_hFile != hFileNull)
        Abort();

    // Text and binary are CStdioFile's business; the handle does not care.
    nOpenFlags &= ~static_cast<UINT>(typeBinary | typeText | typeUnicode);

    DWORD access = 0;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        if (pError != nullptr)
        {
            pError->m_cause = CFileException::invalidFile;
            pError->m_lOsError = ERROR_INVALID_PARAMETER;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }

    DWORD share = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareCompat:
    case shareExclusive:
        share = 0;
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        break;
    default:
        share = 0;
        break;
    }

    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, (nOpenFlags & modeNoInherit) == 0};

    DWORD disposition;
    if (nOpenFlags & modeCreate)
        disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        disposition = OPEN_EXISTING;

    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        attributes |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        attributes |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        attributes |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        attributes |= FILE_FLAG_SEQUENTIAL_SCAN;

    CString fullPath = FullPath(lpszFileName);
    HANDLE hFile = ::CreateFileW(fullPath, access, share, &security, disposition, attributes, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
    {
        if (pError != nullptr)
        {
            pError->m_lOsError = static_cast<LONG>(::GetLastError());
            pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = fullPath;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom > end)
        AfxThrowInvalidArgException();
    LARGE_INTEGER distance;
    distance.QuadPart = lOff;
    LARGE_INTEGER position = {};
    DWORD method = nFrom == begin ? FILE_BEGIN : nFrom == current ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(m_hFile, distance, &position, method))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::SeekToEnd()
{
    return Seek(0, end);
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError();
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    ENSURE_ARG(lpBuf != nullptr);
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        ThrowLastError();
    return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ENSURE_ARG(lpBuf != nullptr);
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr))
        ThrowLastError();
    // A short write without an error means the disk is full.
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!::LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32),
                    static_cast<DWORD>(dwCount), static_cast<DWORD>(dwCount >> 32)))
        ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!::UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32),
                      static_cast<DWORD>(dwCount), static_cast<DWORD>(dwCount >> 32)))
        ThrowLastError();
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!::FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    BOOL bError = FALSE;
    DWORD error = 0;
    if (m_hFile != hFileNull)
    {
        bError = !::CloseHandle(m_hFile);
        error = ::GetLastError();
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    CString name = m_strFileName;
    m_strFileName.Empty();
    if (bError)
        CFileException::ThrowOsError(static_cast<LONG>(error), name);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
    {
        ::CloseHandle(m_hFile);
        m_hFile = hFileNull;
    }
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CFile* CFile::Duplicate() const
{
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
    HANDLE hDuplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), m_hFile, ::GetCurrentProcess(), &hDuplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        ThrowLastError();
    CFile* pFile = new CFile(hDuplicate);
    pFile->m_bCloseOnDelete = TRUE;
    pFile->m_strFileName = m_strFileName;
    return pFile;
}

UINT CFile::GetBufferPtr(UINT nCommand, UINT, void** ppBufStart, void** ppBufMax)
{
    if (ppBufStart != nullptr)
        *ppBufStart = nullptr;
    if (ppBufMax != nullptr)
        *ppBufMax = nullptr;
    return 0;
}

CString CFile::GetFileName() const
{
    CString path = GetFilePath();
    return path.Mid(LastSeparator(path) + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName)
{
    m_strFileName = lpszNewName != nullptr ? FullPath(lpszNewName) : CString();
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    ClearStatus(rStatus);
    if (m_hFile == hFileNull)
        return FALSE;
    _tcsncpy_s(rStatus.m_szFullName, _countof(rStatus.m_szFullName), m_strFileName, _TRUNCATE);
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    FillStatus(rStatus, info);
    return TRUE;
}

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName, lpszNewName))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszOldName);
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszFileName);
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    ClearStatus(rStatus);
    if (lpszFileName == nullptr || *lpszFileName == 0)
        return FALSE;
    CString fullPath = FullPath(lpszFileName);
    _tcsncpy_s(rStatus.m_szFullName, _countof(rStatus.m_szFullName), fullPath, _TRUNCATE);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(fullPath, GetFileExInfoStandard, &data))
        return FALSE;
    FillStatus(rStatus, data);
    return TRUE;
}

void PASCAL CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status)
{
    DWORD current = ::GetFileAttributesW(lpszFileName);
    if (current == INVALID_FILE_ATTRIBUTES)
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszFileName);

    FILETIME created, accessed, modified;
    bool hasCreated = TimeToFileTime(status.m_ctime, created);
    bool hasAccessed = TimeToFileTime(status.m_atime, accessed);
    bool hasModified = TimeToFileTime(status.m_mtime, modified);
    if (hasCreated || hasAccessed || hasModified)
    {
        // A read-only file's times can only change before it becomes read-only.
        if (current & FILE_ATTRIBUTE_READONLY)
            ::SetFileAttributesW(lpszFileName, current & ~FILE_ATTRIBUTE_READONLY);
        HANDLE hFile = ::CreateFileW(lpszFileName, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszFileName);
        BOOL ok = ::SetFileTime(hFile, hasCreated ? &created : nullptr, hasAccessed ? &accessed : nullptr,
                                hasModified ? &modified : nullptr);
        DWORD error = ::GetLastError();
        ::CloseHandle(hFile);
        if (!ok)
            CFileException::ThrowOsError(static_cast<LONG>(error), lpszFileName);
    }
    DWORD wanted = status.m_attribute & (readOnly | hidden | system | archive);
    if (wanted == 0)
        wanted = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileAttributesW(lpszFileName, wanted))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), lpszFileName);
}
