// MFC's exception classes. Exceptions are thrown as heap pointers
// (throw new CFileException(...)), caught as CException* and released with
// Delete(), which leaves static (non-auto-delete) instances alone.
#pragma once

#include <windows.h>
#include "mfc/afxdefs.h"
#include "mfc/object.h"
#include "mfc/cstring.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    CException();
    explicit CException(BOOL bAutoDelete);
    virtual ~CException() = default;

    void Delete();

    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

// Exceptions that carry only a fixed message; they may be preallocated.
class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException() = default;
    explicit CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete) {}

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

protected:
    // The message shown when no resource string is available.
    virtual LPCTSTR GetDefaultMessage() const;
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException() = default;
    explicit CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCTSTR GetDefaultMessage() const override;
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException() = default;
    explicit CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCTSTR GetDefaultMessage() const override;
};

class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;
    explicit CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCTSTR GetDefaultMessage() const override;
};

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException() = default;
    explicit CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCTSTR GetDefaultMessage() const override;
};

// Thrown after the user has already been told (e.g. by a validation message).
class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException() = default;
    explicit CUserException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

protected:
    LPCTSTR GetDefaultMessage() const override;
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = CFileException::none, LONG lOsError = -1,
                            LPCTSTR lpszArchiveName = nullptr);
    void Construct(int cause = CFileException::none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    static int PASCAL OsErrorToException(LONG lOsError);
    static int PASCAL ErrnoToException(int nErrno);
    [[noreturn]] static void PASCAL ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);
    [[noreturn]] static void PASCAL ThrowErrno(int nErrno, LPCTSTR lpszFileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };

    explicit CArchiveException(int cause = CArchiveException::none, LPCTSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

class COleException : public CException
{
    DECLARE_DYNAMIC(COleException)
public:
    COleException() : m_sc(S_OK) {}
    explicit COleException(SCODE sc) : m_sc(sc) {}

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    // The SCODE that best describes any exception, for returning from COM methods.
    static SCODE PASCAL Process(const CException* pAnyException);

    SCODE m_sc;
};

class COleDispatchException : public CException
{
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    static void PASCAL Process(EXCEPINFO* pInfo, const CException* pAnyException);

    WORD m_wCode;
    CString m_strDescription;
    DWORD m_dwHelpContext;
    CString m_strHelpFile;
    CString m_strSource;
    SCODE m_scError;
};

[[noreturn]] void AFXAPI AfxThrowMemoryException();
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] void AFXAPI AfxThrowResourceException();
[[noreturn]] void AFXAPI AfxThrowUserException();
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID,
                                                      UINT nHelpID = (UINT)-1);

// MFC's exception macros over C++ try/catch. As in MFC, an exception caught
// by CATCH is deleted when the handler ends unless THROW_LAST() or THROW(e)
// passes it on; plain catch (CException* e) handlers call e->Delete()
// themselves. A Delete() inside a CATCH handler is left to the handler's end,
// so the object is never freed twice.
struct AFX_EXCEPTION_LINK
{
    AFX_EXCEPTION_LINK* m_pLinkPrev;
    CException* m_pException = nullptr;
    AFX_EXCEPTION_LINK();
    ~AFX_EXCEPTION_LINK();
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
};
// Detaches an exception from every CATCH handler of this thread that holds it.
void AFXAPI AfxReleaseCaughtException(CException* pException);
template <class T>
[[noreturn]] inline void AfxThrowExceptionPointer(T* pException)
{
    AfxReleaseCaughtException(pException);
    throw pException;
}

#define TRY                                                                                                  \
    {                                                                                                        \
        AFX_EXCEPTION_LINK _afxExceptionLink;                                                                \
        try                                                                                                  \
        {
#define CATCH(class_name, e)                                                                                 \
    }                                                                                                        \
    catch (class_name * e)                                                                                   \
    {                                                                                                        \
        _afxExceptionLink.m_pException = e;
#define AND_CATCH(class_name, e)                                                                             \
    }                                                                                                        \
    catch (class_name * e)                                                                                   \
    {                                                                                                        \
        _afxExceptionLink.m_pException = e;
#define END_CATCH                                                                                            \
    }                                                                                                        \
    }
#define CATCH_ALL(e)                                                                                         \
    }                                                                                                        \
    catch (CException * e)                                                                                   \
    {                                                                                                        \
        _afxExceptionLink.m_pException = e;
#define AND_CATCH_ALL(e)                                                                                     \
    }                                                                                                        \
    catch (CException * e)                                                                                   \
    {                                                                                                        \
        _afxExceptionLink.m_pException = e;
#define END_CATCH_ALL                                                                                        \
    }                                                                                                        \
    }
#define END_TRY                                                                                              \
    }                                                                                                        \
    catch (CException * _afxTryException)                                                                    \
    {                                                                                                        \
        _afxExceptionLink.m_pException = _afxTryException;                                                   \
    }                                                                                                        \
    }
#define THROW(e) ::AfxThrowExceptionPointer(e)
#define THROW_LAST()                                                                                         \
    do                                                                                                       \
    {                                                                                                        \
        _afxExceptionLink.m_pException = nullptr;                                                            \
        throw;                                                                                               \
    } while (0)
