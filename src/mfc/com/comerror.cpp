// _com_error and the functions that raise it.
#include <comdef.h>

#include <cstdio>

_com_error::_com_error(HRESULT hr, IErrorInfo* perrinfo, bool fAddRef) noexcept
    : m_hresult(hr), m_perrinfo(perrinfo), m_pszMsg(nullptr)
{
    if (m_perrinfo && fAddRef)
        m_perrinfo->AddRef();
}

_com_error::_com_error(const _com_error& that) noexcept
    : m_hresult(that.m_hresult), m_perrinfo(that.m_perrinfo), m_pszMsg(nullptr)
{
    if (m_perrinfo)
        m_perrinfo->AddRef();
}

_com_error::~_com_error() noexcept
{
    if (m_perrinfo)
        m_perrinfo->Release();
    if (m_pszMsg)
        LocalFree(m_pszMsg);
}

_com_error& _com_error::operator=(const _com_error& that) noexcept
{
    if (this != &that)
    {
        if (that.m_perrinfo)
            that.m_perrinfo->AddRef();
        if (m_perrinfo)
            m_perrinfo->Release();
        m_perrinfo = that.m_perrinfo;
        m_hresult = that.m_hresult;
        if (m_pszMsg)
        {
            LocalFree(m_pszMsg);
            m_pszMsg = nullptr;
        }
    }
    return *this;
}

IErrorInfo* _com_error::ErrorInfo() const noexcept
{
    if (m_perrinfo)
        m_perrinfo->AddRef();
    return m_perrinfo;
}

_bstr_t _com_error::Description() const
{
    BSTR text = nullptr;
    if (m_perrinfo)
        m_perrinfo->GetDescription(&text);
    return _bstr_t(text, false);
}

DWORD _com_error::HelpContext() const noexcept
{
    DWORD context = 0;
    if (m_perrinfo)
        m_perrinfo->GetHelpContext(&context);
    return context;
}

_bstr_t _com_error::HelpFile() const
{
    BSTR text = nullptr;
    if (m_perrinfo)
        m_perrinfo->GetHelpFile(&text);
    return _bstr_t(text, false);
}

_bstr_t _com_error::Source() const
{
    BSTR text = nullptr;
    if (m_perrinfo)
        m_perrinfo->GetSource(&text);
    return _bstr_t(text, false);
}

GUID _com_error::GUID() const noexcept
{
    ::GUID guid = GUID_NULL;
    if (m_perrinfo)
        m_perrinfo->GetGUID(&guid);
    return guid;
}

const TCHAR* _com_error::ErrorMessage() const noexcept
{
    if (m_pszMsg)
        return m_pszMsg;
    TCHAR* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, DWORD(m_hresult), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (length && text)
    {
        // The system's text ends in a line break, which a message box would show.
        while (length && (text[length - 1] == u'\r' || text[length - 1] == u'\n'))
            text[--length] = 0;
    }
    else
    {
        if (text)
            LocalFree(text);
        char narrow[64];
        WORD wCode = WCode();
        if (wCode)
            snprintf(narrow, sizeof narrow, "IDispatch error #%d", int(wCode));
        else
            snprintf(narrow, sizeof narrow, "Unknown error 0x%0X", unsigned(m_hresult));
        size_t n = strlen(narrow);
        text = static_cast<TCHAR*>(LocalAlloc(LMEM_FIXED, (n + 1) * sizeof(TCHAR)));
        if (!text)
            return u"";
        for (size_t i = 0; i <= n; ++i)
            text[i] = TCHAR(static_cast<unsigned char>(narrow[i]));
    }
    m_pszMsg = text;
    return m_pszMsg;
}

void WINAPI _com_issue_error(HRESULT hr)
{
    throw _com_error(hr);
}

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid)
{
    IErrorInfo* perrinfo = nullptr;
    if (punk)
    {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))))
        {
            if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &perrinfo) != S_OK)
                perrinfo = nullptr;
            support->Release();
        }
    }
    throw _com_error(hr, perrinfo, false);
}
