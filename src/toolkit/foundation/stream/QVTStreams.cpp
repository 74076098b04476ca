#include "toolkit/foundation/stream/QVTStreams.h"

#include <shlwapi.h>

#include "toolkit/foundation/core/QVTModuleHandle.h"
#include "toolkit/foundation/resource/QVTResource.h"

namespace {
const int kPathLength = 261;
const int kTypeLength = 50;
const int kNameLength = 50;

typedef IStream*(WINAPI* PFNSHCREATEMEMSTREAM)(const BYTE*, UINT);
typedef HRESULT(WINAPI* PFNSHCREATESTREAMONFILEA)(LPCSTR, DWORD, IStream**);
typedef HRESULT(WINAPI* PFNSHCREATESTREAMONFILEW)(LPCWSTR, DWORD, IStream**);

// The shell's stream functions, bound once per process.
struct ShlwapiStreams
{
    PFNSHCREATEMEMSTREAM pfnCreateMemStream = nullptr;
    PFNSHCREATESTREAMONFILEA pfnCreateStreamOnFileA = nullptr;
    PFNSHCREATESTREAMONFILEW pfnCreateStreamOnFileW = nullptr;

    ShlwapiStreams()
    {
        CQVTModuleHandle module;
        if (!module.Load(u"Shlwapi.dll"))
            return;
        module.GetProcAddress(&pfnCreateMemStream, "SHCreateMemStream");
        module.GetProcAddress(&pfnCreateStreamOnFileA, "SHCreateStreamOnFileA");
        module.GetProcAddress(&pfnCreateStreamOnFileW, "SHCreateStreamOnFileW");
        // The binding outlives the temporary holder: keep the library loaded.
        if (module.GetMode() == CQVTModuleHandle::modeLoaded)
            ::LoadLibraryW(u"Shlwapi.dll");
    }
};

const ShlwapiStreams& Shlwapi()
{
    static ShlwapiStreams streams;
    return streams;
}

struct ExtensionType
{
    LPCWSTR lpszExtension;
    LPCWSTR lpszType;
};

const ExtensionType kExtensionTypes[] = {
    {u".png", u"PNG"},
    {u".bmp", MAKEINTRESOURCEW(2)},
    {u".ico", MAKEINTRESOURCEW(3)},
    {u".htm", MAKEINTRESOURCEW(23)},
    {u".html", MAKEINTRESOURCEW(23)},
    {u".js", u"JS"},
    {u".vbs", u"VBS"},
};

LPCWSTR TypeOfExtension(LPCWSTR lpszName)
{
    if (IS_INTRESOURCE(lpszName))
        return nullptr;
    LPCWSTR pszDot = ::PathFindExtensionW(lpszName);
    if (pszDot == nullptr || *pszDot == 0)
        return nullptr;
    for (const ExtensionType& entry : kExtensionTypes)
    {
        if (::lstrcmpiW(pszDot, entry.lpszExtension) == 0)
            return entry.lpszType;
    }
    return nullptr;
}

// A positive decimal number written with digits only; 0 otherwise.
UINT ReadNumber(const WCHAR* pBegin, const WCHAR* pEnd)
{
    if (pBegin >= pEnd || pEnd - pBegin > 9)
        return 0;
    UINT nValue = 0;
    for (const WCHAR* p = pBegin; p < pEnd; ++p)
    {
        if (*p < u'0' || *p > u'9')
            return 0;
        nValue = nValue * 10 + static_cast<UINT>(*p - u'0');
    }
    return nValue;
}

// Copies [pBegin, pEnd) into a buffer of nSize characters.
BOOL CopySegment(WCHAR* pBuffer, int nSize, const WCHAR* pBegin, const WCHAR* pEnd)
{
    if (pEnd - pBegin >= nSize)
        return FALSE;
    memcpy(pBuffer, pBegin, (pEnd - pBegin) * sizeof(WCHAR));
    pBuffer[pEnd - pBegin] = 0;
    return TRUE;
}

// A segment as an integer resource id when it is a number, else as text.
HRESULT SetResourceText(WCHAR* pBuffer, int nSize, const WCHAR* pBegin, const WCHAR* pEnd, LPCWSTR& lpszOut)
{
    UINT nId = ReadNumber(pBegin, pEnd);
    if (nId > 0 && nId <= 0xFFFF)
    {
        lpszOut = MAKEINTRESOURCEW(nId);
        return S_OK;
    }
    if (!CopySegment(pBuffer, nSize, pBegin, pEnd))
        return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
    lpszOut = pBuffer;
    return S_OK;
}

// An absolute path: relative ones are taken against the program's folder.
HRESULT MakeAbsolute(LPCWSTR lpszPath, WCHAR (&szResult)[kPathLength])
{
    WCHAR szFolder[MAX_PATH * 2] = {};
    DWORD nLength = ::GetModuleFileNameW(nullptr, szFolder, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    ::PathRemoveFileSpecW(szFolder);
    size_t nFolder = _tcslen(szFolder);
    size_t nPath = _tcslen(lpszPath);
    if (nFolder + nPath + 1 >= kPathLength)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    WCHAR szCombined[MAX_PATH * 2] = {};
    if (::PathCombineW(szCombined, szFolder, lpszPath) == nullptr)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    if (_tcslen(szCombined) >= kPathLength)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    _tcscpy_s(szResult, szCombined);
    return S_OK;
}

HRESULT SetOwnModule(QVTStreamLocation* pLocation)
{
    DWORD nLength = ::GetModuleFileNameW(nullptr, pLocation->szPath, kPathLength);
    if (nLength == 0 || nLength >= kPathLength)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return S_OK;
}

HRESULT ParseResourceUrl(LPCWSTR pszRest, QVTStreamLocation* pLocation, LPCWSTR lpszType)
{
    const WCHAR* pEnd = pszRest + _tcslen(pszRest);
    const WCHAR* pLastSlash = nullptr;
    for (const WCHAR* p = pszRest; p < pEnd; ++p)
    {
        if (*p == u'/')
            pLastSlash = p;
    }

    HRESULT hr = S_OK;
    const WCHAR* pModuleEnd = nullptr;
    if (pLastSlash == nullptr)
    {
        for (const WCHAR* p = pszRest; p < pEnd; ++p)
        {
            if (*p == u'\\')
                return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
        if (*pszRest == u'#')
        {
            UINT nId = ReadNumber(pszRest + 1, pEnd);
            if (nId == 0 || nId > 0xFFFF)
                return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
            pLocation->lpszName = MAKEINTRESOURCEW(nId);
        }
        else
        {
            if (!CopySegment(pLocation->szName, kNameLength, pszRest, pEnd))
                return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
            pLocation->lpszName = pLocation->szName;
        }
    }
    else
    {
        hr = SetResourceText(pLocation->szName, kNameLength, pLastSlash + 1, pEnd, pLocation->lpszName);
        if (FAILED(hr))
            return hr;
        pModuleEnd = pLastSlash;
        const WCHAR* pTypeSlash = nullptr;
        for (const WCHAR* p = pszRest; p < pLastSlash; ++p)
        {
            if (*p == u'/')
                pTypeSlash = p;
        }
        if (pTypeSlash != nullptr && pTypeSlash > pszRest)
        {
            hr = SetResourceText(pLocation->szType, kTypeLength, pTypeSlash + 1, pLastSlash,
                                 pLocation->lpszType);
            if (FAILED(hr))
                return hr;
            pModuleEnd = pTypeSlash;
        }
    }

    if (pLocation->lpszType == nullptr)
    {
        LPCWSTR lpszKnown = lpszType != nullptr ? lpszType : TypeOfExtension(pLocation->lpszName);
        if (lpszKnown != nullptr && !IS_INTRESOURCE(lpszKnown))
        {
            if (_tcslen(lpszKnown) >= static_cast<size_t>(kTypeLength))
                return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
            _tcscpy_s(pLocation->szType, lpszKnown);
            pLocation->lpszType = pLocation->szType;
        }
        else
        {
            pLocation->lpszType = lpszKnown;
        }
    }

    if (pModuleEnd == nullptr || (pModuleEnd - pszRest == 1 && *pszRest == u'.'))
        return SetOwnModule(pLocation);
    WCHAR szModule[kPathLength] = {};
    if (!CopySegment(szModule, kPathLength, pszRest, pModuleEnd))
        return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
    return MakeAbsolute(szModule, pLocation->szPath);
}

HRESULT Wrap(IStream* pInner, IStream** ppStream)
{
    *ppStream = new CReadOnlyStreamWrapper(pInner);
    pInner->Release();
    return S_OK;
}

HRESULT StreamOnGlobalCopy(const void* pData, DWORD nSize, IStream** ppInner)
{
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_FIXED, nSize);
    if (hGlobal == nullptr)
        return E_OUTOFMEMORY;
    if (nSize > 0)
        memcpy(reinterpret_cast<void*>(hGlobal), pData, nSize);
    HRESULT hr = ::CreateStreamOnHGlobal(hGlobal, TRUE, ppInner);
    if (FAILED(hr))
    {
        ::GlobalFree(hGlobal);
        return hr;
    }
    ULARGE_INTEGER size;
    size.QuadPart = nSize;
    (*ppInner)->SetSize(size);
    return S_OK;
}

struct FindTypeContext
{
    LPCWSTR lpszName;
    WCHAR szType[kTypeLength];
    BOOL bFound;
};

BOOL CALLBACK FindTypeOfName(HMODULE hModule, LPWSTR lpszType, LONG_PTR lParam)
{
    FindTypeContext* pContext = reinterpret_cast<FindTypeContext*>(lParam);
    if (::FindResourceW(hModule, pContext->lpszName, lpszType) == nullptr)
        return TRUE;
    if (IS_INTRESOURCE(lpszType))
    {
        swprintf_s(pContext->szType, u"#%i", static_cast<int>(reinterpret_cast<UINT_PTR>(lpszType)));
    }
    else if (_tcslen(lpszType) < static_cast<size_t>(kTypeLength))
    {
        _tcscpy_s(pContext->szType, lpszType);
    }
    else
    {
        return TRUE;
    }
    pContext->bFound = TRUE;
    return FALSE;
}
}  // namespace

QVTStreamLocation& QVTStreamLocation::operator=(const QVTStreamLocation& other)
{
    if (this == &other)
        return *this;
    nKind = other.nKind;
    memcpy(szPath, other.szPath, sizeof(szPath));
    memcpy(szType, other.szType, sizeof(szType));
    memcpy(szName, other.szName, sizeof(szName));
    lpszType = other.lpszType == other.szType ? szType : other.lpszType;
    lpszName = other.lpszName == other.szName ? szName : other.lpszName;
    return *this;
}

HRESULT AFXAPI ParseStreamUrl(LPCWSTR lpszText, QVTStreamLocation* pLocation, LPCWSTR lpszType)
{
    if (lpszText == nullptr || pLocation == nullptr)
        return E_POINTER;
    *pLocation = QVTStreamLocation();
    static const WCHAR kFile[] = u"file://";
    static const WCHAR kRes[] = u"res://";
    if (_tcsncmp(lpszText, kRes, 6) == 0)
    {
        pLocation->nKind = QVTStreamLocation::kindResource;
        return ParseResourceUrl(lpszText + 6, pLocation, lpszType);
    }
    LPCWSTR lpszPath = _tcsncmp(lpszText, kFile, 7) == 0 ? lpszText + 7 : lpszText;
    pLocation->nKind = QVTStreamLocation::kindFile;
    return MakeAbsolute(lpszPath, pLocation->szPath);
}

HRESULT AFXAPI CreateStreamFromLocation(const QVTStreamLocation* pLocation, IStream** ppStream)
{
    if (pLocation == nullptr || ppStream == nullptr)
        return E_POINTER;
    switch (pLocation->nKind)
    {
    case QVTStreamLocation::kindFile:
        return CreateStreamOnFile(pLocation->szPath, ppStream);
    case QVTStreamLocation::kindResource:
        return CreateStreamFromResourceModule(pLocation, ppStream);
    default:
        return E_INVALIDARG;
    }
}

HRESULT AFXAPI CreateStreamOnFile(LPCWSTR lpszPath, IStream** ppStream)
{
    if (lpszPath == nullptr || ppStream == nullptr)
        return E_POINTER;
    *ppStream = nullptr;
    IStream* pInner = nullptr;
    const ShlwapiStreams& shell = Shlwapi();
    if (shell.pfnCreateStreamOnFileW != nullptr)
    {
        HRESULT hr = shell.pfnCreateStreamOnFileW(lpszPath, STGM_SHARE_DENY_WRITE, &pInner);
        if (SUCCEEDED(hr))
        {
            if (pInner == nullptr)
                return E_FAIL;
            return Wrap(pInner, ppStream);
        }
    }

    HANDLE hFile = ::CreateFileW(lpszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(::GetLastError());
    LARGE_INTEGER size = {};
    HRESULT hr = S_OK;
    if (!::GetFileSizeEx(hFile, &size))
        hr = HRESULT_FROM_WIN32(::GetLastError());
    else if (size.QuadPart >= 0xFFFFFFFFLL)
        hr = E_OUTOFMEMORY;
    else if (size.QuadPart == 0)
        hr = HRESULT_FROM_WIN32(ERROR_EMPTY);
    HGLOBAL hGlobal = nullptr;
    if (SUCCEEDED(hr))
    {
        DWORD nSize = static_cast<DWORD>(size.QuadPart);
        hGlobal = ::GlobalAlloc(GMEM_FIXED, nSize);
        DWORD nRead = 0;
        if (hGlobal == nullptr)
            hr = E_OUTOFMEMORY;
        else if (!::ReadFile(hFile, reinterpret_cast<void*>(hGlobal), nSize, &nRead, nullptr))
            hr = HRESULT_FROM_WIN32(::GetLastError());
        else if (nRead != nSize)
            hr = HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    }
    ::CloseHandle(hFile);
    if (SUCCEEDED(hr))
        hr = ::CreateStreamOnHGlobal(hGlobal, TRUE, &pInner);
    if (FAILED(hr))
    {
        if (hGlobal != nullptr)
            ::GlobalFree(hGlobal);
        return hr;
    }
    ULARGE_INTEGER streamSize;
    streamSize.QuadPart = static_cast<ULONGLONG>(size.QuadPart);
    pInner->SetSize(streamSize);
    return Wrap(pInner, ppStream);
}

HRESULT AFXAPI CreateStreamOnMemory(const void* pData, DWORD nSize, BOOL bCopy, IStream** ppStream)
{
    if (ppStream == nullptr || (pData == nullptr && nSize != 0))
        return E_POINTER;
    *ppStream = nullptr;
    IStream* pInner = nullptr;
    const ShlwapiStreams& shell = Shlwapi();
    if (!bCopy && shell.pfnCreateMemStream != nullptr)
        pInner = shell.pfnCreateMemStream(static_cast<const BYTE*>(pData), nSize);
    if (pInner == nullptr)
    {
        HRESULT hr = StreamOnGlobalCopy(pData, nSize, &pInner);
        if (FAILED(hr))
            return hr;
    }
    return Wrap(pInner, ppStream);
}

HRESULT AFXAPI CreateStreamOnResource(HMODULE hModule, LPCWSTR lpszName, LPCWSTR lpszType, BOOL bCopy,
                                      IStream** ppStream)
{
    if (ppStream == nullptr)
        return E_POINTER;
    *ppStream = nullptr;
    DWORD nSize = 0;
    const void* pData = CQVTResource::LockBounded(hModule, lpszName, lpszType, &nSize);
    if (pData == nullptr || nSize == 0)
        return E_FAIL;
    return CreateStreamOnMemory(pData, nSize, bCopy, ppStream);
}

HRESULT AFXAPI CreateStreamFromResourceModule(const QVTStreamLocation* pLocation, IStream** ppStream)
{
    if (pLocation == nullptr || ppStream == nullptr)
        return E_POINTER;
    *ppStream = nullptr;
    HMODULE hModule = ::LoadLibraryExW(pLocation->szPath, nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (hModule == nullptr)
        return HRESULT_FROM_WIN32(::GetLastError());
    LPCWSTR lpszType = pLocation->lpszType;
    FindTypeContext context = {pLocation->lpszName, {}, FALSE};
    if (lpszType == nullptr)
    {
        ::EnumResourceTypesW(hModule, &FindTypeOfName, reinterpret_cast<LONG_PTR>(&context));
        if (context.bFound)
            lpszType = context.szType;
    }
    HRESULT hr = lpszType != nullptr
                     ? CreateStreamOnResource(hModule, pLocation->lpszName, lpszType, TRUE, ppStream)
                     : E_FAIL;
    ::FreeLibrary(hModule);
    return hr;
}

// CReadOnlyStreamWrapper

CReadOnlyStreamWrapper::CReadOnlyStreamWrapper(IStream* pStream) : m_pStream(pStream), m_nRefCount(1)
{
    if (m_pStream != nullptr)
        m_pStream->AddRef();
}

CReadOnlyStreamWrapper::~CReadOnlyStreamWrapper()
{
    if (m_pStream != nullptr)
        m_pStream->Release();
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IStream) ||
        IsEqualIID(riid, IID_ISequentialStream))
    {
        *ppv = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    if (m_pStream == nullptr)
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return m_pStream->QueryInterface(riid, ppv);
}

ULONG STDMETHODCALLTYPE CReadOnlyStreamWrapper::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount));
}

ULONG STDMETHODCALLTYPE CReadOnlyStreamWrapper::Release()
{
    LONG nCount = ::InterlockedDecrement(&m_nRefCount);
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    return m_pStream->Read(pv, cb, pcbRead);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Write(const void*, ULONG, ULONG* pcbWritten)
{
    if (pcbWritten != nullptr)
        *pcbWritten = 0;
    return E_ACCESSDENIED;
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                                       ULARGE_INTEGER* plibNewPosition)
{
    return m_pStream->Seek(dlibMove, dwOrigin, plibNewPosition);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::SetSize(ULARGE_INTEGER)
{
    return E_ACCESSDENIED;
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::CopyTo(IStream* pstm, ULARGE_INTEGER cb,
                                                         ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten)
{
    return m_pStream->CopyTo(pstm, cb, pcbRead, pcbWritten);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Commit(DWORD)
{
    return E_ACCESSDENIED;
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Revert()
{
    return E_ACCESSDENIED;
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                                             DWORD dwLockType)
{
    return m_pStream->LockRegion(libOffset, cb, dwLockType);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                                               DWORD dwLockType)
{
    return m_pStream->UnlockRegion(libOffset, cb, dwLockType);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Stat(STATSTG* pstatstg, DWORD grfStatFlag)
{
    return m_pStream->Stat(pstatstg, grfStatFlag);
}

HRESULT STDMETHODCALLTYPE CReadOnlyStreamWrapper::Clone(IStream** ppstm)
{
    if (ppstm == nullptr)
        return E_POINTER;
    *ppstm = nullptr;
    IStream* pClone = nullptr;
    HRESULT hr = m_pStream->Clone(&pClone);
    if (FAILED(hr))
        return hr;
    if (pClone == nullptr)
        return E_FAIL;
    return Wrap(pClone, ppstm);
}
