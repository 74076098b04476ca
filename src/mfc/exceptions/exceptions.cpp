// The exception classes, their messages and the AfxThrow functions.
#include <afx.h>

#include <string>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

namespace {

thread_local AFX_EXCEPTION_LINK* t_linkTop = nullptr;

bool HeldByCatchHandler(const CException* pException)
{
    for (AFX_EXCEPTION_LINK* link = t_linkTop; link != nullptr; link = link->m_pLinkPrev)
    {
        if (link->m_pException == pException)
            return true;
    }
    return false;
}

// Copies a message into a caller's buffer, truncating; FALSE if none fits.
BOOL CopyMessage(const std::u16string& text, LPTSTR lpszError, UINT nMaxError)
{
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    size_t count = std::min<size_t>(text.size(), nMaxError - 1);
    text.copy(reinterpret_cast<char16_t*>(lpszError), count);
    lpszError[count] = 0;
    return TRUE;
}

std::u16string Text(LPCTSTR text)
{
    return text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// Replaces %1 with the file name, or with a neutral phrase when there is none.
std::u16string WithFileName(const char16_t* pattern, const std::u16string& fileName)
{
    std::u16string name = fileName.empty() ? std::u16string(u"an unnamed file") : fileName;
    std::u16string result(pattern);
    size_t at = result.find(u"%1");
    if (at != std::u16string::npos)
        result.replace(at, 2, name);
    return result;
}

}  // namespace

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK() : m_pLinkPrev(t_linkTop)
{
    t_linkTop = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    t_linkTop = m_pLinkPrev;
    if (m_pException != nullptr)
        m_pException->Delete();
}

void AFXAPI AfxReleaseCaughtException(CException* pException)
{
    for (AFX_EXCEPTION_LINK* link = t_linkTop; link != nullptr; link = link->m_pLinkPrev)
    {
        if (link->m_pException == pException)
            link->m_pException = nullptr;
    }
}

CException::CException() : m_bAutoDelete(TRUE) {}

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

void CException::Delete()
{
    // A CATCH handler still holding this object frees it when it ends.
    if (m_bAutoDelete > 0 && !HeldByCatchHandler(this))
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError != nullptr && nMaxError > 0)
        lpszError[0] = 0;
    return FALSE;
}

// The application's message box, when the application layer is linked in.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) __attribute__((weak));

int CException::ReportError(UINT nType, UINT nMessageID)
{
    WCHAR buffer[512];
    CString message;
    if (GetErrorMessage(buffer, _countof(buffer), nullptr))
        message = buffer;
    else if (nMessageID != 0)
        message.LoadString(nMessageID);
    if (message.IsEmpty())
        message = _T("No error message is available.");
    // The text overload by name: with afxwin.h in view AfxMessageBox is overloaded.
    int(AFXAPI * applicationMessageBox)(LPCTSTR, UINT, UINT) = AfxMessageBox;
    if (applicationMessageBox)
        return applicationMessageBox(message, nType, 0);
    return ::MessageBoxW(::GetActiveWindow(), message, nullptr, nType);
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return CopyMessage(Text(GetDefaultMessage()), lpszError, nMaxError);
}

LPCTSTR CSimpleException::GetDefaultMessage() const
{
    return _T("An unknown error has occurred.");
}

LPCTSTR CMemoryException::GetDefaultMessage() const
{
    return _T("Out of memory.");
}

LPCTSTR CNotSupportedException::GetDefaultMessage() const
{
    return _T("An unsupported operation was attempted.");
}

LPCTSTR CInvalidArgException::GetDefaultMessage() const
{
    return _T("Encountered an improper argument.");
}

LPCTSTR CResourceException::GetDefaultMessage() const
{
    return _T("A required resource was unavailable.");
}

LPCTSTR CUserException::GetDefaultMessage() const
{
    return _T("The operation was cancelled.");
}

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
{
    Construct(cause, lOsError, lpszArchiveName);
}

void CFileException::Construct(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
{
    m_cause = cause;
    m_lOsError = lOsError;
    m_strFileName = lpszArchiveName != nullptr ? lpszArchiveName : _T("");
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const char16_t* const messages[] = {
        u"No error occurred.",
        u"An unknown error occurred while accessing %1.",
        u"%1 was not found.",
        u"%1 contains an incorrect path.",
        u"%1 could not be opened because there are too many open files.",
        u"Access to %1 was denied.",
        u"An incorrect file handle was associated with %1.",
        u"%1 could not be removed because it is the current directory.",
        u"%1 could not be created because the directory is full.",
        u"Seek failed on %1.",
        u"A hardware I/O error was reported while accessing %1.",
        u"A sharing violation occurred while accessing %1.",
        u"A locking violation occurred while accessing %1.",
        u"Disk full while accessing %1.",
        u"An attempt was made to access %1 past its end.",
    };
    if (pnHelpContext != nullptr)
        *pnHelpContext = static_cast<UINT>(m_cause);
    int cause = (m_cause >= 0 && m_cause < static_cast<int>(_countof(messages))) ? m_cause : genericException;
    return CopyMessage(WithFileName(messages[cause], Text(m_strFileName)), lpszError, nMaxError);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError)
{
    switch (static_cast<DWORD>(lOsError))
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_NETWORK_ACCESS_DENIED:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
    case ERROR_INVALID_ACCESS:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
    case ERROR_SEEK:
        return badSeek;
    case ERROR_NOT_READY:
    case ERROR_BAD_UNIT:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
    case ERROR_SHARING_BUFFER_EXCEEDED:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

int PASCAL CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno)
    {
    case 0:
        return none;
    case 2:  // ENOENT
        return fileNotFound;
    case 20:  // ENOTDIR
    case 36:  // ENAMETOOLONG
        return badPath;
    case 23:  // ENFILE
    case 24:  // EMFILE
        return tooManyOpenFiles;
    case 1:   // EPERM
    case 13:  // EACCES
    case 17:  // EEXIST
    case 30:  // EROFS
        return accessDenied;
    case 9:  // EBADF
        return invalidFile;
    case 16:  // EBUSY
        return sharingViolation;
    case 28:  // ENOSPC
        return diskFull;
    case 29:  // ESPIPE
        return badSeek;
    case 5:  // EIO
        return hardIO;
    default:
        return genericException;
    }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName)
{
    AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName != nullptr ? lpszArchiveName : _T(""))
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const char16_t* const messages[] = {
        u"No error occurred.",
        u"An unexpected error occurred while reading %1.",
        u"An attempt was made to write to %1 while reading it.",
        u"An unexpected end of file was encountered while reading %1.",
        u"An attempt was made to read from %1 while writing it.",
        u"%1 has a bad format.",
        u"%1 contained an unexpected object.",
        u"%1 contains an incorrect schema.",
        u"The buffer of %1 is full.",
    };
    if (pnHelpContext != nullptr)
        *pnHelpContext = static_cast<UINT>(m_cause);
    int cause = (m_cause >= 0 && m_cause < static_cast<int>(_countof(messages))) ? m_cause : genericException;
    return CopyMessage(WithFileName(messages[cause], Text(m_strFileName)), lpszError, nMaxError);
}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                    static_cast<DWORD>(m_sc), 0, lpszError, nMaxError, nullptr);
    if (length == 0)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "OLE error 0x%08X.", static_cast<unsigned>(m_sc));
        std::u16string text;
        for (const char* p = buffer; *p != 0; ++p)
            text.push_back(static_cast<char16_t>(*p));
        return CopyMessage(text, lpszError, nMaxError);
    }
    // System messages end with a line break the callers do not want.
    while (length > 0 && (lpszError[length - 1] == '\n' || lpszError[length - 1] == '\r'))
        lpszError[--length] = 0;
    return TRUE;
}

SCODE PASCAL COleException::Process(const CException* pAnyException)
{
    if (pAnyException == nullptr)
        return E_UNEXPECTED;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException)))
        return E_NOTIMPL;
    return E_UNEXPECTED;
}

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_strDescription(lpszDescription != nullptr ? lpszDescription : _T("")),
      m_dwHelpContext(nHelpID), m_scError(0)
{
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = m_dwHelpContext;
    return CopyMessage(Text(m_strDescription), lpszError, nMaxError);
}

void PASCAL COleDispatchException::Process(EXCEPINFO* pInfo, const CException* pAnyException)
{
    if (pInfo == nullptr)
        return;
    std::memset(pInfo, 0, sizeof *pInfo);
    if (pAnyException != nullptr && pAnyException->IsKindOf(RUNTIME_CLASS(COleDispatchException)))
    {
        const auto* e = static_cast<const COleDispatchException*>(pAnyException);
        pInfo->wCode = e->m_wCode;
        pInfo->dwHelpContext = e->m_dwHelpContext;
        pInfo->scode = e->m_wCode == 0 ? e->m_scError : 0;
        if (!e->m_strDescription.IsEmpty())
            pInfo->bstrDescription = ::SysAllocString(e->m_strDescription);
        if (!e->m_strSource.IsEmpty())
            pInfo->bstrSource = ::SysAllocString(e->m_strSource);
        if (!e->m_strHelpFile.IsEmpty())
            pInfo->bstrHelpFile = ::SysAllocString(e->m_strHelpFile);
        return;
    }
    WCHAR message[512];
    if (pAnyException != nullptr && pAnyException->GetErrorMessage(message, _countof(message), nullptr))
        pInfo->bstrDescription = ::SysAllocString(message);
    pInfo->scode = COleException::Process(pAnyException);
}

namespace {

// Thrown without allocating: there may be no memory left for a new one.
CMemoryException& StaticMemoryException()
{
    static CMemoryException instance(FALSE);
    return instance;
}

}  // namespace

void AFXAPI AfxThrowMemoryException()
{
    throw &StaticMemoryException();
}

void AFXAPI AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AFXAPI AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AFXAPI AfxThrowResourceException()
{
    throw new CResourceException;
}

void AFXAPI AfxThrowUserException()
{
    throw new CUserException;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    throw new COleException(sc);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID)
{
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID)
{
    CString description;
    description.LoadString(nDescriptionID);
    throw new COleDispatchException(description, nHelpID == (UINT)-1 ? nDescriptionID : nHelpID, wCode);
}
