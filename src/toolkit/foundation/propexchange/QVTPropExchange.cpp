#include "toolkit/foundation/propexchange/QVTPropExchange.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"

IMPLEMENT_DYNAMIC(CQVTPropExchange, CQVTCmdTarget)

namespace {
// The most items an enumerator hands out on load.
const DWORD kMaxLoadedItems = 100000;

// Half a second in days: dates closer than this count as equal.
const double kHalfSecond = 5.787037037037037e-6;

// Numbers in stored text are ASCII; anything else cannot be part of one.
std::string NarrowAscii(LPCWSTR psz)
{
    std::string out;
    if (psz == nullptr)
        return out;
    for (; *psz; ++psz)
        out += (*psz < 0x80) ? static_cast<char>(*psz) : '?';
    return out;
}

CString WidenAscii(const char* psz)
{
    CString out;
    for (; *psz; ++psz)
        out += static_cast<WCHAR>(static_cast<unsigned char>(*psz));
    return out;
}

// The shortest text that reads back as the same value, so values that fit in
// six digits keep the short form older files used.
template <class T>
CString FloatText(T value, int nMaxDigits)
{
    char buf[64];
    for (int nDigits = 6; nDigits <= nMaxDigits; ++nDigits)
    {
        std::snprintf(buf, sizeof buf, "%.*g", nDigits, static_cast<double>(value));
        if (static_cast<T>(std::strtod(buf, nullptr)) == value || std::isnan(static_cast<double>(value)))
            break;
    }
    return WidenAscii(buf);
}

BOOL ParseInts(const CString& strValue, long* pValues, int nCount)
{
    std::string text = NarrowAscii(strValue);
    int nRead = nCount == 4 ? std::sscanf(text.c_str(), "%li, %li, %li, %li", &pValues[0], &pValues[1],
                                          &pValues[2], &pValues[3])
                            : std::sscanf(text.c_str(), "%li, %li", &pValues[0], &pValues[1]);
    return nRead == nCount;
}

void ReplaceAll(CString& str, LPCWSTR pszOld, LPCWSTR pszNew)
{
    str.Replace(pszOld, pszNew);
}

struct FreeBytes
{
    void operator()(BYTE* p) const { std::free(p); }
};
// Bytes from malloc, as blobs and memory files hold them.
using HeapBytes = std::unique_ptr<BYTE, FreeBytes>;

// Ends an archive without the flush its destructor would try.
struct AbortArchive
{
    void operator()(CArchive* p) const
    {
        p->Abort();
        delete p;
    }
};

// Types whose value is nothing but its bytes: compared and copied as such.
bool IsPlainValueType(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_BOOL:
    case VT_UI1:
    case VT_QVT_RECT:
    case VT_QVT_SIZE:
        return true;
    default:
        return false;
    }
}
}  // namespace

CQVTPropExchange::CQVTPropExchange()
    : m_pOwner(nullptr), m_pCallerData(nullptr), m_bLoading(FALSE), m_dwData(43), m_bChildSection(FALSE),
      m_bEmptySection(FALSE), m_bInitialized(FALSE), m_bUseDefaultOnLoad(TRUE), m_bUseDefaultOnSave(TRUE)
{
}

CQVTPropExchange::~CQVTPropExchange() = default;

void CQVTPropExchange::InitSection(CQVTPropExchange* pSection)
{
    pSection->m_bChildSection = TRUE;
    pSection->m_dwData = m_dwData;
    pSection->m_pOwner = m_pOwner;
    pSection->m_bEmptySection = m_bEmptySection;
    pSection->m_bUseDefaultOnLoad = m_bUseDefaultOnLoad;
    pSection->m_bUseDefaultOnSave = m_bUseDefaultOnSave;
}

int CQVTPropExchange::GetVarTypeSize(VARTYPE vt)
{
    switch (vt)
    {
    case VT_I2:
        return 2;
    case VT_I4:
        return 4;
    case VT_R4:
        return 4;
    case VT_R8:
        return 8;
    case VT_CY:
        return 8;
    case VT_DATE:
        return 16;
    case VT_BSTR:
        return 8;
    case VT_BOOL:
        return 4;
    case VT_VARIANT:
        return 24;
    case VT_UI1:
        return 1;
    case VT_QVT_RECT:
        return 16;
    case VT_QVT_SIZE:
        return 8;
    default:
        return 0;
    }
}

BOOL CQVTPropExchange::IsSamePropValue(VARTYPE vt, const void* pv1, const void* pv2)
{
    if (pv1 == pv2)
        return TRUE;
    if (pv1 == nullptr || pv2 == nullptr || vt < 2 || vt > 101)
        return FALSE;
    if (IsPlainValueType(vt))
        return std::memcmp(pv1, pv2, GetVarTypeSize(vt)) == 0;
    switch (vt)
    {
    case VT_DATE:
    {
        const COleDateTime& d1 = *static_cast<const COleDateTime*>(pv1);
        const COleDateTime& d2 = *static_cast<const COleDateTime*>(pv2);
        if (d1.GetStatus() != d2.GetStatus())
            return FALSE;
        if (d1.GetStatus() == COleDateTime::valid)
            return std::fabs(d1.m_dt - d2.m_dt) < kHalfSecond;
        return d1.GetStatus() == COleDateTime::null;
    }
    case VT_BSTR:
    {
        LPCWSTR p1 = *static_cast<const BSTR*>(pv1);
        LPCWSTR p2 = static_cast<LPCWSTR>(pv2);
        if (p1 == nullptr)
            p1 = u"";
        return _tcscmp(p1, p2) == 0;
    }
    case VT_VARIANT:
        try
        {
            return *static_cast<const COleVariant*>(pv1) == *static_cast<const VARIANT*>(pv2);
        }
        catch (CException* e)
        {
            e->Delete();
            return FALSE;
        }
    case VT_QVT_STRING:
        return _tcscmp(static_cast<const CString*>(pv1)->GetString(), static_cast<LPCWSTR>(pv2)) == 0;
    default:
        return FALSE;
    }
}

BOOL CQVTPropExchange::CopyPropValue(VARTYPE vt, void* pvDest, const void* pvSrc)
{
    if (pvSrc == nullptr || pvDest == nullptr)
        return FALSE;
    if (IsPlainValueType(vt))
    {
        std::memcpy(pvDest, pvSrc, GetVarTypeSize(vt));
        return TRUE;
    }
    switch (vt)
    {
    case VT_DATE:
        *static_cast<COleDateTime*>(pvDest) = *static_cast<const COleDateTime*>(pvSrc);
        return TRUE;
    case VT_BSTR:
        *static_cast<BSTR*>(pvDest) = ::SysAllocString(static_cast<LPCOLESTR>(pvSrc));
        return TRUE;
    case VT_VARIANT:
        try
        {
            *static_cast<COleVariant*>(pvDest) = *static_cast<const VARIANT*>(pvSrc);
            return TRUE;
        }
        catch (CException* e)
        {
            e->Delete();
            return FALSE;
        }
    case VT_QVT_STRING:
        *static_cast<CString*>(pvDest) = static_cast<LPCWSTR>(pvSrc);
        return TRUE;
    default:
        return FALSE;
    }
}

void CQVTPropExchange::EscapeControlChars(CString& str)
{
    ReplaceAll(str, u"\\", u"\\\\");
    ReplaceAll(str, u"\n", u"\\n");
    ReplaceAll(str, u"\r", u"\\r");
    ReplaceAll(str, u"\t", u"\\t");
}

void CQVTPropExchange::UnescapeControlChars(CString& str)
{
    if (str.Find(u'\\') < 0)
        return;
    ReplaceAll(str, u"\\\\", u"\x01\x01");
    ReplaceAll(str, u"\\n", u"\n");
    ReplaceAll(str, u"\\r", u"\r");
    ReplaceAll(str, u"\\t", u"\t");
    ReplaceAll(str, u"\x01\x01", u"\\");
}

void CQVTPropExchange::UnescapeControlChars(LPWSTR pszText)
{
    if (pszText == nullptr || _tcschr(pszText, u'\\') == nullptr)
        return;
    CString str(pszText);
    UnescapeControlChars(str);
    // The result is never longer than the original.
    std::memcpy(pszText, str.GetString(), (str.GetLength() + 1) * sizeof(WCHAR));
}

BOOL CQVTPropExchange::DateToText(const COleDateTime& dt, CString& strValue)
{
    strValue.Empty();
    if (dt.GetStatus() == COleDateTime::null)
        return TRUE;
    if (dt.GetStatus() != COleDateTime::valid)
    {
        if (!strValue.LoadString(0xD800) || strValue.IsEmpty())
            strValue = u"Invalid DateTime";
        return TRUE;
    }
    UDATE ud = {};
    if (FAILED(::VarUdateFromDate(dt.m_dt, 0, &ud)))
        return FALSE;
    double dWhole = 0;
    double dFraction = std::modf(dt.m_dt, &dWhole);
    char buf[64];
    const SYSTEMTIME& st = ud.st;
    if (dWhole == 0)
        std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
    else if (dFraction == 0)
        std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", st.wYear, st.wDay, st.wMonth);
    else
        std::snprintf(buf, sizeof buf, "%04u-%02u-%02uT%02u:%02u:%02u", st.wYear, st.wDay, st.wMonth,
                      st.wHour, st.wMinute, st.wSecond);
    strValue = WidenAscii(buf);
    return TRUE;
}

BOOL CQVTPropExchange::TextToDate(LPCTSTR pszText, COleDateTime& dt)
{
    std::string text = NarrowAscii(pszText);
    unsigned short f[6] = {};
    int nRead =
        std::sscanf(text.c_str(), "%hu-%hu-%huT%hu:%hu:%hu", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
    if (nRead == 3 || nRead == 5 || nRead == 6)
    {
        SYSTEMTIME st = {};
        st.wYear = f[0];
        st.wDay = f[1];
        st.wMonth = f[2];
        st.wHour = f[3];
        st.wMinute = f[4];
        st.wSecond = f[5];
        double dValue = 0;
        if (!::SystemTimeToVariantTime(&st, &dValue))
            return FALSE;
        SYSTEMTIME back = {};
        if (!::VariantTimeToSystemTime(dValue, &back))
            return FALSE;
        if (back.wYear != st.wYear || back.wMonth != st.wMonth || back.wDay != st.wDay ||
            back.wHour != st.wHour || back.wMinute != st.wMinute || back.wSecond != st.wSecond)
            return FALSE;
        dt.m_dt = dValue;
        dt.SetStatus(COleDateTime::valid);
        return TRUE;
    }
    unsigned short t[3] = {};
    nRead = std::sscanf(text.c_str(), "%hu:%hu:%hu", &t[0], &t[1], &t[2]);
    if (nRead != 2 && nRead != 3)
        return FALSE;
    dt.m_dt = (t[0] * 3600.0 + t[1] * 60.0 + t[2]) / 86400.0;
    dt.SetStatus(COleDateTime::valid);
    return TRUE;
}

BOOL CQVTPropExchange::ValueToText(VARTYPE vtProp, const void* pvProp, CString& strValue)
{
    char buf[128];
    switch (vtProp)
    {
    case VT_I2:
        std::snprintf(buf, sizeof buf, "%i", static_cast<int>(*static_cast<const WORD*>(pvProp)));
        break;
    case VT_I4:
    case VT_BOOL:
        std::snprintf(buf, sizeof buf, "%i", *static_cast<const int*>(pvProp));
        break;
    case VT_UI1:
        std::snprintf(buf, sizeof buf, "%i", static_cast<int>(*static_cast<const BYTE*>(pvProp)));
        break;
    case VT_R4:
        strValue = FloatText(*static_cast<const float*>(pvProp), 9);
        return TRUE;
    case VT_R8:
        strValue = FloatText(*static_cast<const double*>(pvProp), 17);
        return TRUE;
    case VT_DATE:
        return DateToText(*static_cast<const COleDateTime*>(pvProp), strValue);
    case VT_VARIANT:
    {
        const VARIANT& var = *static_cast<const VARIANT*>(pvProp);
        if (var.vt == VT_DATE)
        {
            COleDateTime dt;
            dt.m_dt = var.date;
            dt.SetStatus(COleDateTime::valid);
            return DateToText(dt, strValue);
        }
        VARIANT text;
        ::VariantInit(&text);
        if (FAILED(::VariantChangeTypeEx(&text, const_cast<VARIANT*>(&var), 0, 0, VT_BSTR)))
            return FALSE;
        strValue = text.bstrVal ? text.bstrVal : u"";
        ::VariantClear(&text);
        return TRUE;
    }
    case VT_QVT_STRING:
        strValue = *static_cast<const CString*>(pvProp);
        EscapeControlChars(strValue);
        return TRUE;
    case VT_QVT_RECT:
    {
        const RECT& rc = *static_cast<const RECT*>(pvProp);
        std::snprintf(buf, sizeof buf, "%i, %i, %i, %i", static_cast<int>(rc.left), static_cast<int>(rc.top),
                      static_cast<int>(rc.right), static_cast<int>(rc.bottom));
        break;
    }
    case VT_QVT_SIZE:
    {
        const SIZE& sz = *static_cast<const SIZE*>(pvProp);
        std::snprintf(buf, sizeof buf, "%i, %i", static_cast<int>(sz.cx), static_cast<int>(sz.cy));
        break;
    }
    default:
        return FALSE;
    }
    strValue = WidenAscii(buf);
    return TRUE;
}

BOOL CQVTPropExchange::TextToValue(VARTYPE vtProp, const CString& strValue, void* pvProp,
                                   const void* pvDefault)
{
    switch (vtProp)
    {
    case VT_I2:
        *static_cast<short*>(pvProp) = static_cast<short>(_wtoi(strValue));
        return TRUE;
    case VT_I4:
    case VT_BOOL:
        *static_cast<int*>(pvProp) = _wtoi(strValue);
        return TRUE;
    case VT_UI1:
        *static_cast<BYTE*>(pvProp) = static_cast<BYTE>(_wtoi(strValue));
        return TRUE;
    case VT_R4:
        *static_cast<float*>(pvProp) =
            static_cast<float>(std::strtod(NarrowAscii(strValue).c_str(), nullptr));
        return TRUE;
    case VT_R8:
        *static_cast<double*>(pvProp) = std::strtod(NarrowAscii(strValue).c_str(), nullptr);
        return TRUE;
    case VT_DATE:
        return TextToDate(strValue, *static_cast<COleDateTime*>(pvProp));
    case VT_VARIANT:
    {
        COleDateTime dt;
        try
        {
            if (!strValue.IsEmpty() && TextToDate(strValue, dt))
            {
                VARIANT var;
                ::VariantInit(&var);
                var.vt = VT_DATE;
                var.date = dt.m_dt;
                *static_cast<COleVariant*>(pvProp) = var;
            }
            else
            {
                *static_cast<COleVariant*>(pvProp) = COleVariant(strValue);
            }
        }
        catch (CException* e)
        {
            e->Delete();
            return FALSE;
        }
        return TRUE;
    }
    case VT_QVT_STRING:
    {
        CString& str = *static_cast<CString*>(pvProp);
        str = strValue;
        UnescapeControlChars(str);
        return TRUE;
    }
    case VT_QVT_RECT:
    {
        long v[4] = {};
        if (!ParseInts(strValue, v, 4))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        RECT& rc = *static_cast<RECT*>(pvProp);
        rc.left = static_cast<LONG>(v[0]);
        rc.top = static_cast<LONG>(v[1]);
        rc.right = static_cast<LONG>(v[2]);
        rc.bottom = static_cast<LONG>(v[3]);
        return TRUE;
    }
    case VT_QVT_SIZE:
    {
        long v[2] = {};
        if (!ParseInts(strValue, v, 2))
            return CopyPropValue(vtProp, pvProp, pvDefault);
        SIZE& sz = *static_cast<SIZE*>(pvProp);
        sz.cx = static_cast<LONG>(v[0]);
        sz.cy = static_cast<LONG>(v[1]);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CQVTPropExchange::ExchangePropAsText(CString& strValue, VARTYPE vtProp, void* pvProp,
                                          const void* pvDefault)
{
    if (IsLoading())
        return TextToValue(vtProp, strValue, pvProp, pvDefault);
    return ValueToText(vtProp, pvProp, strValue);
}

BOOL CQVTPropExchange::ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    if (!IsLoading())
    {
        CString strText;
        if (pData != nullptr && nBytes > 0)
        {
            LPWSTR p = strText.GetBufferSetLength(static_cast<int>(nBytes * 2));
            for (DWORD i = 0; i < nBytes; ++i)
            {
                *p++ = static_cast<WCHAR>(u'A' + (pData[i] & 0x0F));
                *p++ = static_cast<WCHAR>(u'A' + (pData[i] >> 4));
            }
            strText.ReleaseBuffer(static_cast<int>(nBytes * 2));
        }
        return ExchangeProp(pszPropName, VT_QVT_STRING, &strText, u"");
    }

    CString strText;
    if (!ExchangeProp(pszPropName, VT_QVT_STRING, &strText, nullptr))
        return FALSE;
    int nLength = strText.GetLength();
    if (nLength == 0)
    {
        nBytes = 0;
        return TRUE;
    }
    if (nLength % 2 != 0)
        return FALSE;
    DWORD nCount = static_cast<DWORD>(nLength / 2);
    LPCWSTR p = strText.GetString();
    for (int i = 0; i < nLength; ++i)
    {
        if (p[i] < u'A' || p[i] > u'P')
            return FALSE;
    }
    if (pData == nullptr)
    {
        pData = static_cast<BYTE*>(std::malloc(nCount));
        if (pData == nullptr)
            return FALSE;
        nBytes = nCount;
    }
    else if (nBytes < nCount)
    {
        return FALSE;
    }
    for (DWORD i = 0; i < nCount; ++i)
        pData[i] = static_cast<BYTE>(16 * (p[2 * i + 1] - u'A') + (p[2 * i] - u'A'));
    return TRUE;
}

BOOL CQVTPropExchange::ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                            CRuntimeClass* pDefaultClass)
{
    if (!IsLoading())
    {
        if (pClass == nullptr)
            return FALSE;
        CString strName(pClass->m_lpszClassName);
        CString strDefault;
        if (pDefaultClass != nullptr)
            strDefault = CString(pDefaultClass->m_lpszClassName);
        return ExchangeProp(pszPropName, VT_QVT_STRING, &strName,
                            pDefaultClass != nullptr ? strDefault.GetString() : nullptr);
    }
    CString strName;
    if (!ExchangeProp(pszPropName, VT_QVT_STRING, &strName, nullptr))
    {
        pClass = pDefaultClass;
        return TRUE;
    }
    CStringA strNarrow(strName);
    pClass = CRuntimeClass::FromName(strNarrow.GetString());
    return pClass != nullptr;
}

BOOL CQVTPropExchange::ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime)
{
    if (!IsLoading())
    {
        if (pObject == nullptr)
            return FALSE;
        CRuntimeClass* pClass = pObject->GetRuntimeClass();
        ExchangeRuntimeClass(u"Class", pClass, pObjectRuntime);
        return TRUE;
    }
    CRuntimeClass* pClass = nullptr;
    ExchangeRuntimeClass(u"Class", pClass, pObjectRuntime);
    if (pClass == nullptr)
        return FALSE;
    // A stored name may be anything: only classes of the expected family are
    // ever constructed.
    if (pObjectRuntime != nullptr && !pClass->IsDerivedFrom(pObjectRuntime))
        return FALSE;
    if (pClass->m_pfnCreateObject == nullptr)
        return FALSE;
    CObject* pNew = pClass->CreateObject();
    if (pNew == nullptr)
        return FALSE;
    pObject = pNew;
    return TRUE;
}

CArchive* CQVTPropExchange::GetArchive(LPCTSTR pszPropName)
{
    // The archive owns nothing: ReleaseArchive frees its memory file and
    // bytes. Until it is handed out, they are owned here.
    if (!IsLoading())
    {
        auto pFile = std::make_unique<CMemFile>(1024);
        CArchive* pArchive = new CArchive(pFile.get(), CArchive::store, 4096);
        pFile.release();
        return pArchive;
    }
    BYTE* pData = nullptr;
    DWORD nBytes = 0;
    const BOOL bRead = ExchangeBlob(pszPropName, pData, nBytes);
    HeapBytes data(pData);
    if (!bRead || nBytes == 0)
        return nullptr;
    auto pFile = std::make_unique<CMemFile>(data.get(), nBytes, 0);
    CArchive* pArchive = new CArchive(pFile.get(), CArchive::load, 4096);
    pFile.release();
    data.release();
    return pArchive;
}

void CQVTPropExchange::ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive)
{
    if (pArchive == nullptr)
        return;
    CMemFile* pMemFile = dynamic_cast<CMemFile*>(pArchive->GetFile());
    if (pMemFile == nullptr)
        return;
    // Whatever the flush or the exchange of the bytes throws, the archive,
    // its memory file and the bytes go (in that order).
    HeapBytes data;
    std::unique_ptr<CMemFile> file(pMemFile);
    std::unique_ptr<CArchive, AbortArchive> archive(pArchive);
    if (IsLoading())
    {
        data.reset(file->Detach());
        return;
    }
    archive->Flush();
    DWORD nBytes = static_cast<DWORD>(file->GetLength());
    data.reset(file->Detach());
    BYTE* pBytes = data.get();
    ExchangeBlob(pszPropName, pBytes, nBytes);
}

void CQVTPropExchange::EmptySection()
{
    m_bEmptySection = TRUE;
}

void CQVTPropExchange::WriteCount(DWORD dwCount)
{
    int nCount = static_cast<int>(dwCount);
    PropExchangeInt(this, u"Count", nCount, 0);
}

DWORD CQVTPropExchange::ReadCount()
{
    int nCount = 0;
    PropExchangeInt(this, u"Count", nCount, 0);
    return static_cast<DWORD>(nCount);
}

void CQVTPropExchange::WriteBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes)
{
    ExchangeBlob(pszPropName, pData, nBytes);
}

DWORD CQVTPropExchange::ReadBlock(LPCTSTR pszPropName, LPBYTE pData, DWORD nBytes)
{
    BYTE* pStored = nullptr;
    DWORD nStored = 0;
    if (!ExchangeBlob(pszPropName, pStored, nStored))
    {
        std::free(pStored);
        return 0;
    }
    DWORD nResult = 0;
    if (nStored <= nBytes && pData != nullptr)
    {
        if (nStored > 0)
            std::memcpy(pData, pStored, nStored);
        nResult = nStored;
    }
    std::free(pStored);
    return nResult;
}

BOOL CQVTPropExchange::CanOmitDefaults() const
{
    return TRUE;
}

BOOL CQVTPropExchange::PrefersBinaryData() const
{
    return FALSE;
}

BOOL CQVTPropExchange::OnBeforeExchange()
{
    m_bInitialized = TRUE;
    return TRUE;
}

CQVTPropExchangeEnumerator* CQVTPropExchange::GetEnumerator(LPCTSTR pszItemName)
{
    return new CQVTPropExchangeEnumerator(this, pszItemName);
}

void CQVTPropExchange::ExchangeSchema()
{
    int nSchema = static_cast<int>(m_dwData);
    PropExchangeInt(this, u"Schema", nSchema, 32);
    m_dwData = static_cast<UINT>(nSchema);
}

// Section holder

CQVTPropExchangeSection::CQVTPropExchangeSection(BOOL bLoading, LPCTSTR pszSection) : m_pPX(nullptr)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pszRegistryKey != nullptr)
    {
        m_pPX = new CQVTPropExchangeRegistry(bLoading, nullptr, pszSection);
    }
    else
    {
        CQVTPropExchangeIniFile* pIni = new CQVTPropExchangeIniFile(bLoading, nullptr, pszSection);
        if (pApp != nullptr && pApp->m_pszProfileName != nullptr)
            pIni->SetIniFileName(pApp->m_pszProfileName);
        m_pPX = pIni;
    }
}

CQVTPropExchangeSection::CQVTPropExchangeSection(CQVTPropExchange* pPX) : m_pPX(pPX) {}

CQVTPropExchangeSection::~CQVTPropExchangeSection()
{
    if (m_pPX != nullptr)
        m_pPX->InternalRelease();
}

// Counted enumerator

CQVTPropExchangeEnumerator::CQVTPropExchangeEnumerator(CQVTPropExchange* pContainer, LPCTSTR pszItemName)
    : m_pContainer(pContainer), m_strItemName(pszItemName != nullptr ? pszItemName : u""), m_nCount(0)
{
}

CQVTPropExchangeEnumerator::~CQVTPropExchangeEnumerator() = default;

POSITION CQVTPropExchangeEnumerator::GetPosition(DWORD dwCount, BOOL bCountOperations)
{
    m_nCount = dwCount;
    if (m_pContainer == nullptr)
        return nullptr;
    if (!bCountOperations)
    {
        int nCount = static_cast<int>(m_nCount);
        PropExchangeInt(m_pContainer, u"Count", nCount, 0);
        m_nCount = static_cast<DWORD>(nCount);
    }
    else if (m_pContainer->IsLoading())
    {
        m_nCount = m_pContainer->ReadCount();
    }
    else
    {
        m_pContainer->WriteCount(m_nCount);
    }
    // No stored collection is this large: a forged count would only make the
    // caller walk millions of empty items.
    if (m_pContainer->IsLoading() && m_nCount > kMaxLoadedItems)
        m_nCount = 0;
    return m_nCount != 0 ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
}

CQVTPropExchange* CQVTPropExchangeEnumerator::GetNext(POSITION& pos)
{
    UINT_PTR nPosition = reinterpret_cast<UINT_PTR>(pos);
    CString strSection;
    strSection.Format(u"%s%i", m_strItemName.GetString(), static_cast<int>(nPosition - 1));
    CQVTPropExchange* pSection = m_pContainer->GetSection(strSection);
    ++nPosition;
    pos = nPosition > GetCount() ? nullptr : reinterpret_cast<POSITION>(nPosition);
    return pSection;
}

DWORD CQVTPropExchangeEnumerator::GetCount()
{
    return m_nCount > 0x7FFFFFFF ? 0x7FFFFFFF : m_nCount;
}

// Typed helpers

BOOL AFX_CDECL PropExchangeBool(CQVTPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_BOOL, &bValue, &bDefault);
}

BOOL AFX_CDECL PropExchangeByte(CQVTPropExchange* pPX, LPCTSTR pszPropName, BYTE& nValue, BYTE nDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_UI1, &nValue, &nDefault);
}

BOOL AFX_CDECL PropExchangeShort(CQVTPropExchange* pPX, LPCTSTR pszPropName, short& nValue, short nDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_I2, &nValue, &nDefault);
}

BOOL AFX_CDECL PropExchangeInt(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_I4, &nValue, &nDefault);
}

BOOL AFX_CDECL PropExchangeIntNoDefault(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_I4, &nValue, nullptr);
}

BOOL AFX_CDECL PropExchangeSize(CQVTPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue, SIZE szDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_QVT_SIZE, &szValue, &szDefault);
}

BOOL AFX_CDECL PropExchangeString(CQVTPropExchange* pPX, LPCTSTR pszPropName, CString& strValue,
                                  LPCTSTR pszDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_QVT_STRING, &strValue, pszDefault);
}

BOOL AFX_CDECL PropExchangeStringNoDefault(CQVTPropExchange* pPX, LPCTSTR pszPropName, CString& strValue)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_QVT_STRING, &strValue, nullptr);
}

BOOL AFX_CDECL PropExchangeBstr(CQVTPropExchange* pPX, LPCTSTR pszPropName, BSTR& bstrValue,
                                LPCOLESTR pszDefault)
{
    return pPX != nullptr && pPX->ExchangeProp(pszPropName, VT_BSTR, &bstrValue, pszDefault);
}

BOOL AFX_CDECL PropExchangeRectScaled(CQVTPropExchange* pPX, LPCTSTR pszPropName, RECT& rcValue,
                                      RECT rcDefault)
{
    if (pPX == nullptr)
        return FALSE;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    if (pPX->IsLoading())
    {
        RECT rc = pScaler->UnscaleRect(rcValue);
        BOOL bResult = pPX->ExchangeProp(pszPropName, VT_QVT_RECT, &rc, &rcDefault);
        rcValue = pScaler->ScaleRect(rc);
        return bResult;
    }
    const LONG kUnset = static_cast<LONG>(0x80000000);
    RECT rc = rcValue;
    if (!(rc.left == kUnset && rc.top == kUnset && rc.right == kUnset && rc.bottom == kUnset))
        rc = pScaler->UnscaleRect(rcValue);
    return pPX->ExchangeProp(pszPropName, VT_QVT_RECT, &rc, &rcDefault);
}

BOOL AFX_CDECL PropExchangeSizeScaled(CQVTPropExchange* pPX, LPCTSTR pszPropName, SIZE& szValue,
                                      SIZE szDefault)
{
    if (pPX == nullptr)
        return FALSE;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    SIZE sz = pScaler->UnscaleSize(szValue);
    BOOL bResult = pPX->ExchangeProp(pszPropName, VT_QVT_SIZE, &sz, &szDefault);
    if (pPX->IsLoading())
        szValue = pScaler->ScaleSize(sz);
    return bResult;
}

namespace {

// An int stored unscaled and held scaled along one axis of the screen.
BOOL ExchangeIntScaled(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault, bool bVertical)
{
    if (pPX == nullptr)
        return FALSE;
    CQVTDpiScaler* pScaler = QVTDpiScaler();
    int n = bVertical ? pScaler->UnscaleY(nValue) : pScaler->UnscaleX(nValue);
    if (!pPX->IsLoading())
        return pPX->ExchangeProp(pszPropName, VT_I4, &n, nullptr);
    BOOL bResult = pPX->ExchangeProp(pszPropName, VT_I4, &n, &nDefault);
    nValue = bVertical ? pScaler->ScaleY(n) : pScaler->ScaleX(n);
    return bResult;
}

}  // namespace

BOOL AFX_CDECL PropExchangeIntScaledX(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault)
{
    return ExchangeIntScaled(pPX, pszPropName, nValue, nDefault, false);
}

BOOL AFX_CDECL PropExchangeIntScaledY(CQVTPropExchange* pPX, LPCTSTR pszPropName, int& nValue, int nDefault)
{
    return ExchangeIntScaled(pPX, pszPropName, nValue, nDefault, true);
}

BOOL AFX_CDECL PropExchangeRuntimeClass(CQVTPropExchange* pPX, LPCTSTR pszPropName, CRuntimeClass*& pClass,
                                        CRuntimeClass* pDefaultClass)
{
    return pPX != nullptr && pPX->ExchangeRuntimeClass(pszPropName, pClass, pDefaultClass);
}

BOOL AFX_CDECL ExchangeBlobRaw(CQVTPropExchange* pPX, LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes)
{
    return pPX != nullptr && pPX->ExchangeBlob(pszPropName, pData, nBytes);
}

BOOL AFX_CDECL PropExchangeSerializeObject(CQVTPropExchange* pPX, LPCTSTR pszPropName, CObject* pObject)
{
    if (pPX == nullptr || pObject == nullptr)
        return FALSE;
    CArchive* pArchive = pPX->GetArchive(pszPropName);
    if (pArchive == nullptr)
        return FALSE;
    try
    {
        pObject->Serialize(*pArchive);
    }
    catch (...)
    {
        // Damaged bytes must not leak the archive over them.
        pPX->ReleaseArchive(pszPropName, pArchive);
        throw;
    }
    pPX->ReleaseArchive(pszPropName, pArchive);
    return TRUE;
}
