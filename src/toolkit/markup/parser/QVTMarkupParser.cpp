#include "toolkit/markup/parser/QVTMarkupParser.h"

#include <vector>

#include "toolkit/foundation/stream/QVTTextDecoder.h"
#include "toolkit/foundation/xml/QVTXmlDispatch.h"

namespace {
const HRESULT kUndeclaredPrefix = static_cast<HRESULT>(0xC00CE01D);
const WCHAR kXamlNamespace[] = u"http://schemas.microsoft.com/winfx/2006/xaml";

bool IsXmlSpace(WCHAR c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

CString WithoutLineBreaks(const CString& strText)
{
    CString strResult(strText);
    strResult.Remove(u'\r');
    strResult.Remove(u'\n');
    return strResult;
}
}  // namespace

CQVTMarkupParser::CQVTMarkupParser()
    : m_hrComInit(::CoInitialize(nullptr)), m_hrError(S_OK), m_bParseDetails(FALSE), m_nLine(0), m_nColumn(0),
      m_bRetrying(FALSE)
{
}

CQVTMarkupParser::~CQVTMarkupParser()
{
    m_pDocument = nullptr;
    if (m_hrComInit == S_OK || m_hrComInit == S_FALSE)
        ::CoUninitialize();
}

void CQVTMarkupParser::ClearError()
{
    m_hrError = S_OK;
    m_bParseDetails = FALSE;
    m_nLine = m_nColumn = 0;
    m_strReason.Empty();
    m_strSource.Empty();
}

void CQVTMarkupParser::SetSystemError(HRESULT hr)
{
    m_hrError = hr;
    m_bParseDetails = FALSE;
    m_strReason = GetSystemMessage(hr);
}

CString AFX_CDECL CQVTMarkupParser::GetSystemMessage(HRESULT hr)
{
    return CString(_com_error(hr).ErrorMessage());
}

HRESULT AFX_CDECL CQVTMarkupParser::CreateTextStream(LPCWSTR pText, size_t nLength, BOOL bMark,
                                                     IStream** ppStream)
{
    *ppStream = nullptr;
    const size_t nMark = bMark ? 2 : 0;
    if (nLength > (SIZE_MAX - nMark) / sizeof(WCHAR))
        return E_OUTOFMEMORY;
    const size_t nBytes = nMark + nLength * sizeof(WCHAR);
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, nBytes != 0 ? nBytes : 1);
    if (hBlock == nullptr)
        return HRESULT_FROM_WIN32(::GetLastError());
    BYTE* pBytes = static_cast<BYTE*>(::GlobalLock(hBlock));
    if (pBytes == nullptr)
    {
        ::GlobalFree(hBlock);
        return HRESULT_FROM_WIN32(::GetLastError());
    }
    if (bMark)
    {
        pBytes[0] = 0xFF;
        pBytes[1] = 0xFE;
    }
    if (nLength != 0)
        memcpy(pBytes + nMark, pText, nLength * sizeof(WCHAR));
    ::GlobalUnlock(hBlock);
    HRESULT hr = ::CreateStreamOnHGlobal(hBlock, TRUE, ppStream);
    if (FAILED(hr))
        ::GlobalFree(hBlock);
    return hr;
}

BOOL CQVTMarkupParser::LoadText(LPCWSTR pBegin, LPCWSTR pEnd)
{
    m_pDocument = nullptr;
    ClearError();
    if (pBegin == nullptr || pEnd == nullptr || pEnd <= pBegin)
        return FALSE;
    // A leading run of high bytes counts as a byte-order mark when it has an
    // even number of bytes.
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(pBegin);
    const size_t nBytes = static_cast<size_t>(pEnd - pBegin) * sizeof(WCHAR);
    size_t nRun = 0;
    while (nRun < nBytes && pBytes[nRun] >= 128)
        ++nRun;
    LPCWSTR p = pBegin;
    if (nRun % 2 == 0)
        p += nRun / 2;
    while (p < pEnd && IsXmlSpace(*p))
        ++p;
    if (p >= pEnd || *p != u'<')
        return FALSE;

    // Text that brings its own byte-order mark gets no second one, which
    // the XML loader would take for content before the root.
    IStream* pStream = nullptr;
    HRESULT hr = CreateTextStream(pBegin, static_cast<size_t>(pEnd - pBegin), *pBegin != 0xFEFF, &pStream);
    if (FAILED(hr))
    {
        SetSystemError(hr);
        return FALSE;
    }
    BOOL bLoaded = LoadDocument(pStream);
    pStream->Release();
    return bLoaded;
}

BOOL CQVTMarkupParser::LoadDocument(IStream* pStream)
{
    m_pDocument = nullptr;
    ClearError();
    if (pStream == nullptr)
    {
        SetSystemError(E_POINTER);
        return FALSE;
    }
    if (Load(pStream))
        return TRUE;
    if (m_bRetrying)
        return FALSE;
    m_bRetrying = TRUE;
    BOOL bLoaded = FALSE;
    if (IStream* pRepaired = CreateRepairStream(pStream))
    {
        bLoaded = LoadDocument(pRepaired);
        pRepaired->Release();
    }
    m_bRetrying = FALSE;
    return bLoaded;
}

BOOL CQVTMarkupParser::Load(IStream* pStream)
{
    IDispatchPtr pDocument =
        CreateXmlDocument(FALSE, nullptr, QVT_XML_FORCEDRESYNC | QVT_XML_NEWPARSER | QVT_XML_PROHIBITDTD,
                          QVT_XML_ALLOWDOCUMENTFUNCTION | QVT_XML_ALLOWXSLTSCRIPT | QVT_XML_RESOLVEEXTERNALS |
                              QVT_XML_SERVERHTTPREQUEST | QVT_XML_VALIDATEONPARSE);
    if (pDocument == nullptr)
    {
        SetSystemError(static_cast<HRESULT>(0x80040111));
        return FALSE;
    }
    XmlPutProperty(pDocument, u"async", _variant_t(false));
    XmlPutProperty(pDocument, u"preserveWhiteSpace", _variant_t(true));
    XmlPutProperty(pDocument, u"validateOnParse", _variant_t(false));
    XmlPutProperty(pDocument, u"resolveExternals", _variant_t(false));

    LARGE_INTEGER start = {};
    pStream->Seek(start, STREAM_SEEK_SET, nullptr);
    VARIANT source;
    source.vt = VT_UNKNOWN;
    source.punkVal = pStream;
    VARIANT result;
    HRESULT hr = XmlInvoke(pDocument, u"load", DISPATCH_METHOD, {_variant_t(source)}, &result);
    const BOOL bSuccess = SUCCEEDED(hr) && result.vt == VT_BOOL && result.boolVal != VARIANT_FALSE;
    ::VariantClear(&result);
    if (bSuccess)
    {
        m_pDocument = pDocument;
        return TRUE;
    }
    IDispatchPtr pError = XmlGetObject(pDocument, u"parseError");
    long nCode = 0;
    if (pError == nullptr || !XmlGetLong(pError, u"errorCode", nCode))
    {
        SetSystemError(FAILED(hr) ? hr : E_FAIL);
        return FALSE;
    }
    m_hrError = static_cast<HRESULT>(nCode);
    if (nCode < 0 || hr == S_OK)
    {
        m_bParseDetails = TRUE;
        XmlGetLong(pError, u"line", m_nLine);
        XmlGetLong(pError, u"linepos", m_nColumn);
        XmlGetString(pError, u"reason", m_strReason);
        XmlGetString(pError, u"srcText", m_strSource);
    }
    else
    {
        SetSystemError(hr);
    }
    return FALSE;
}

IStream* CQVTMarkupParser::CreateRepairStream(IStream* pStream)
{
    if (m_hrError != kUndeclaredPrefix || m_strReason.Find(u"'x'") < 0)
        return nullptr;
    STATSTG stat = {};
    if (FAILED(pStream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFF0)
        return nullptr;
    const DWORD nSize = static_cast<DWORD>(stat.cbSize.QuadPart);
    std::vector<BYTE> bytes(static_cast<size_t>(nSize) + 2, 0);
    LARGE_INTEGER start = {};
    ULONG nRead = 0;
    if (FAILED(pStream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(pStream->Read(bytes.data(), nSize, &nRead)) || nRead != nSize)
        return nullptr;
    std::vector<WCHAR> wide(static_cast<size_t>(nSize) + 2, 0);
    DWORD nLength = static_cast<DWORD>(wide.size());
    if (!DecodeTextToWide(bytes.data(), nSize, wide.data(), &nLength))
        return nullptr;
    CString strText(wide.data(), static_cast<int>(nLength));

    CString strRepaired;
    if (!DeclareXamlPrefix(strText, strRepaired))
        return nullptr;
    const BOOL bMark = strRepaired.IsEmpty() || strRepaired[0] != 0xFEFF;
    IStream* pRepaired = nullptr;
    if (FAILED(CreateTextStream(strRepaired.GetString(), static_cast<size_t>(strRepaired.GetLength()), bMark,
                                &pRepaired)))
        return nullptr;
    return pRepaired;
}

BOOL AFX_CDECL CQVTMarkupParser::DeclareXamlPrefix(const CString& strText, CString& strRepaired)
{
    int nOpen = strText.Find(u'<');
    if (nOpen >= 0 && nOpen + 1 < strText.GetLength() && strText[nOpen + 1] == u'?')
        nOpen = strText.Find(u'<', nOpen + 1);
    if (nOpen < 0)
        return FALSE;
    int nEnd = nOpen;
    // A self-closing root ends its name at the slash.
    while (nEnd < strText.GetLength() && !IsXmlSpace(strText[nEnd]) && strText[nEnd] != u'>' &&
           strText[nEnd] != u'/')
        ++nEnd;
    if (nEnd >= strText.GetLength())
        return FALSE;
    strRepaired = strText.Left(nEnd) + u" xmlns:x='" + kXamlNamespace + u"'" + strText.Mid(nEnd);
    return TRUE;
}

CString AFX_CDECL CQVTMarkupParser::FormatXmlError(HRESULT hr, LPCWSTR lpszReason, long nLine, long nColumn,
                                                   LPCWSTR lpszSource)
{
    CString strReason = WithoutLineBreaks(lpszReason != nullptr ? lpszReason : u"");
    CString strSource = WithoutLineBreaks(lpszSource != nullptr ? lpszSource : u"");
    if (strReason.IsEmpty())
        strReason = u"{reason unknown}";
    if (strSource.IsEmpty())
        strSource = u"{source unknown}";
    CString strMessage;
    strMessage.Format(u"XML Error [0x%08X] '%ls' at %i:%i '%ls'", static_cast<unsigned>(hr),
                      strReason.GetString(), static_cast<int>(nLine), static_cast<int>(nColumn),
                      strSource.GetString());
    return strMessage;
}

CString CQVTMarkupParser::GetErrorMessage() const
{
    if (m_hrError >= 0)
        return CString(u"No Error");
    if (m_bParseDetails)
        return FormatXmlError(m_hrError, m_strReason, m_nLine, m_nColumn, m_strSource);
    return m_strReason;
}
