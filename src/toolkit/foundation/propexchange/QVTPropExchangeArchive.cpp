#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CQVTPropExchangeArchive, CQVTPropExchange)

namespace {
// Looks at the next bytes of a loading archive without consuming them.
struct CArchivePeek : public CArchive
{
    static DWORD PeekDword(CArchive& ar)
    {
        void (CArchive::*pfnFill)(UINT) = &CArchivePeek::FillBuffer;
        BYTE* CArchive::*pCur = &CArchivePeek::m_lpBufCur;
        BYTE* CArchive::*pMax = &CArchivePeek::m_lpBufMax;
        if (static_cast<UINT>(ar.*pMax - ar.*pCur) < sizeof(DWORD))
            (ar.*pfnFill)(sizeof(DWORD));
        DWORD dw = 0;
        std::memcpy(&dw, ar.*pCur, sizeof dw);
        return dw;
    }
};

// Reads nBytes whose presence the stream has not vouched for: the memory
// grows with what actually arrives, so a forged count cannot reserve it.
BOOL ReadBounded(CArchive& ar, ULONGLONG nBytes, std::vector<BYTE>& data)
{
    data.clear();
    LONGLONG nRemaining = ar.GetRemainingLength();
    if (nRemaining >= 0 && static_cast<ULONGLONG>(nRemaining) < nBytes)
        return FALSE;
    const ULONGLONG kChunk = 64 * 1024;
    while (data.size() < nBytes)
    {
        size_t nOld = data.size();
        size_t nStep = static_cast<size_t>(std::min<ULONGLONG>(kChunk, nBytes - nOld));
        data.resize(nOld + nStep);
        UINT nRead = ar.Read(data.data() + nOld, static_cast<UINT>(nStep));
        if (nRead < nStep)
        {
            data.resize(nOld + nRead);
            return FALSE;
        }
    }
    return TRUE;
}

// Passes over nBytes of the stream, or to its end when it is shorter.
void SkipBytes(CArchive& ar, ULONGLONG nBytes)
{
    BYTE buffer[4096];
    while (nBytes > 0)
    {
        UINT nStep = static_cast<UINT>(std::min<ULONGLONG>(sizeof buffer, nBytes));
        UINT nRead = ar.Read(buffer, nStep);
        if (nRead == 0)
            return;
        nBytes -= nRead;
    }
}
}  // namespace

CQVTPropExchangeArchive::CQVTPropExchangeArchive(CArchive& ar) : m_ar(ar)
{
    m_bLoading = ar.IsLoading();
}

BOOL CQVTPropExchangeArchive::ExchangeProp(LPCTSTR /*pszPropName*/, VARTYPE vtProp, void* pvProp,
                                           const void* /*pvDefault*/)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
    {
        switch (vtProp)
        {
        case VT_I2:
            m_ar << *static_cast<short*>(pvProp);
            break;
        case VT_I4:
        case VT_BOOL:
            m_ar << *static_cast<int*>(pvProp);
            break;
        case VT_R4:
            m_ar << *static_cast<float*>(pvProp);
            break;
        case VT_R8:
            m_ar << *static_cast<double*>(pvProp);
            break;
        case VT_CY:
            m_ar.Write(pvProp, 8);
            break;
        case VT_UI1:
            m_ar << *static_cast<BYTE*>(pvProp);
            break;
        case VT_DATE:
            m_ar << *static_cast<COleDateTime*>(pvProp);
            break;
        case VT_VARIANT:
            m_ar << *static_cast<COleVariant*>(pvProp);
            break;
        case VT_QVT_STRING:
        {
            const CString& str = *static_cast<CString*>(pvProp);
            AfxWriteStringLength(m_ar, str.GetLength(), TRUE);
            m_ar.Write(str.GetString(), str.GetLength() * sizeof(WCHAR));
            break;
        }
        case VT_QVT_RECT:
            m_ar.Write(pvProp, 16);
            break;
        case VT_QVT_SIZE:
            m_ar.Write(pvProp, 8);
            break;
        default:
            // BSTRs and unknown codes have no place in the stream: nothing is
            // written and the caller learns the value was not kept.
            return FALSE;
        }
        return TRUE;
    }

    switch (vtProp)
    {
    case VT_I2:
        m_ar >> *static_cast<short*>(pvProp);
        break;
    case VT_I4:
    case VT_BOOL:
        m_ar >> *static_cast<int*>(pvProp);
        break;
    case VT_R4:
        m_ar >> *static_cast<float*>(pvProp);
        break;
    case VT_R8:
        m_ar >> *static_cast<double*>(pvProp);
        break;
    case VT_CY:
        m_ar.EnsureRead(pvProp, 8);
        break;
    case VT_UI1:
        m_ar >> *static_cast<BYTE*>(pvProp);
        break;
    case VT_DATE:
        m_ar >> *static_cast<COleDateTime*>(pvProp);
        break;
    case VT_VARIANT:
        m_ar >> *static_cast<COleVariant*>(pvProp);
        break;
    case VT_QVT_STRING:
    {
        int nCharSize = 0;
        UINT_PTR nLength = AfxReadStringLength(m_ar, nCharSize);
        std::vector<BYTE> data;
        if (!ReadBounded(m_ar, static_cast<ULONGLONG>(nLength) * nCharSize, data))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CString& str = *static_cast<CString*>(pvProp);
        if (nCharSize == sizeof(WCHAR))
        {
            str = CString(reinterpret_cast<const WCHAR*>(data.data()), static_cast<int>(nLength));
        }
        else if (nLength == 0)
        {
            str.Empty();
        }
        else
        {
            int nChars = ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(data.data()),
                                               static_cast<int>(nLength), nullptr, 0);
            LPWSTR p = str.GetBufferSetLength(nChars);
            ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(data.data()), static_cast<int>(nLength),
                                  p, nChars);
            str.ReleaseBuffer(nChars);
        }
        break;
    }
    case VT_QVT_RECT:
        m_ar.EnsureRead(pvProp, 16);
        break;
    case VT_QVT_SIZE:
        m_ar.EnsureRead(pvProp, 8);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

BOOL CQVTPropExchangeArchive::ExchangeBlob(LPCTSTR /*pszPropName*/, BYTE*& pData, DWORD& nBytes)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
    {
        DWORD nCount = pData != nullptr ? nBytes : 0;
        m_ar.WriteCount(nCount);
        if (nCount > 0)
            m_ar.Write(pData, nCount);
        return TRUE;
    }
    DWORD_PTR nCount = m_ar.ReadCount();
    if (nCount > 0xFFFFFFFFu)
        return FALSE;
    if (pData != nullptr)
    {
        if (nBytes < nCount)
        {
            // Refused, but passed over: every later value is read from its own place.
            SkipBytes(m_ar, nCount);
            return FALSE;
        }
        return m_ar.Read(pData, static_cast<UINT>(nCount)) == nCount;
    }
    std::vector<BYTE> data;
    if (!ReadBounded(m_ar, nCount, data))
        return FALSE;
    pData = static_cast<BYTE*>(std::malloc(nCount ? nCount : 1));
    if (pData == nullptr)
        return FALSE;
    if (nCount > 0)
        std::memcpy(pData, data.data(), nCount);
    nBytes = static_cast<DWORD>(nCount);
    return TRUE;
}

BOOL CQVTPropExchangeArchive::ExchangeRuntimeClass(LPCTSTR /*pszPropName*/, CRuntimeClass*& pClass,
                                                   CRuntimeClass* pDefaultClass)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!m_bLoading)
    {
        if (pClass == nullptr)
            return FALSE;
        m_ar.WriteClass(pClass);
        return TRUE;
    }
    pClass = m_ar.ReadClass(pDefaultClass, &m_dwData);
    return pClass != nullptr;
}

BOOL CQVTPropExchangeArchive::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime)
{
    if (!CQVTPropExchange::ExchangeObjectInstance(pObject, pObjectRuntime))
        return FALSE;
    if (!m_bLoading)
        m_ar.MapObject(nullptr);
    m_ar.CheckCount();
    m_ar.MapObject(pObject);
    return TRUE;
}

CArchive* CQVTPropExchangeArchive::GetArchive(LPCTSTR /*pszPropName*/)
{
    return &m_ar;
}

void CQVTPropExchangeArchive::ReleaseArchive(LPCTSTR /*pszPropName*/, CArchive* /*pArchive*/) {}

CQVTPropExchange* CQVTPropExchangeArchive::GetSection(LPCTSTR /*pszSection*/)
{
    CQVTPropExchangeArchive* pSection = new CQVTPropExchangeArchive(m_ar);
    InitSection(pSection);
    return pSection;
}

void CQVTPropExchangeArchive::WriteCount(DWORD dwCount)
{
    m_ar.WriteCount(dwCount);
}

DWORD CQVTPropExchangeArchive::ReadCount()
{
    DWORD_PTR n = m_ar.ReadCount();
    return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(n);
}

void CQVTPropExchangeArchive::WriteBlock(LPCTSTR /*pszPropName*/, LPBYTE pData, DWORD nBytes)
{
    m_ar.Write(pData, nBytes);
}

DWORD CQVTPropExchangeArchive::ReadBlock(LPCTSTR /*pszPropName*/, LPBYTE pData, DWORD nBytes)
{
    return m_ar.Read(pData, nBytes);
}

BOOL CQVTPropExchangeArchive::CanOmitDefaults() const
{
    return FALSE;
}

BOOL CQVTPropExchangeArchive::PrefersBinaryData() const
{
    return TRUE;
}

void CQVTPropExchangeArchive::ExchangeSchema()
{
    if (!m_bLoading)
    {
        m_ar << static_cast<UINT>(kSchemaMagic);
        m_ar << static_cast<UINT>(m_dwData);
        return;
    }
    if (CArchivePeek::PeekDword(m_ar) != kSchemaMagic)
    {
        // Written before the schema existed: the first value starts here.
        m_dwData = 17;
        return;
    }
    UINT dw = 0;
    m_ar >> dw;
    m_ar >> dw;
    m_dwData = dw;
}
