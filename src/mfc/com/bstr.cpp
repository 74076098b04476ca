// _bstr_t: a shared BSTR with a lazily made ANSI copy.
#include <comdef.h>

#include <cstring>
#include <new>

struct _bstr_t::Data_t
{
    BSTR wstr;
    char* volatile str = nullptr;
    volatile LONG refs = 1;

    explicit Data_t(BSTR owned) noexcept : wstr(owned) {}
    ~Data_t()
    {
        SysFreeString(wstr);
        delete[] str;
    }
    void AddRef() noexcept { InterlockedIncrement(&refs); }
    void Release() noexcept
    {
        if (InterlockedDecrement(&refs) == 0)
            delete this;
    }
};

namespace {

BSTR CopyOrThrow(const OLECHAR* s, UINT length)
{
    BSTR copy = SysAllocStringLen(s, length);
    if (!copy)
        _com_issue_error(E_OUTOFMEMORY);
    return copy;
}

UINT Utf16Length(const OLECHAR* s)
{
    UINT n = 0;
    while (s[n])
        ++n;
    return n;
}

}  // namespace

BSTR WINAPI _com_util::ConvertStringToBSTR(const char* pSrc)
{
    if (!pSrc)
        return nullptr;
    int length = int(strlen(pSrc));
    int needed = length ? MultiByteToWideChar(CP_ACP, 0, pSrc, length, nullptr, 0) : 0;
    if (length && needed <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
    BSTR result = SysAllocStringLen(nullptr, needed);
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    if (needed)
        MultiByteToWideChar(CP_ACP, 0, pSrc, length, result, needed);
    result[needed] = 0;
    return result;
}

char* WINAPI _com_util::ConvertBSTRToString(BSTR pSrc)
{
    if (!pSrc)
        return nullptr;
    int length = int(SysStringLen(pSrc));
    int needed = length ? WideCharToMultiByte(CP_ACP, 0, pSrc, length, nullptr, 0, nullptr, nullptr) : 0;
    if (length && needed <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
    char* result = new (std::nothrow) char[needed + 1];
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    if (needed)
        WideCharToMultiByte(CP_ACP, 0, pSrc, length, result, needed, nullptr, nullptr);
    result[needed] = 0;
    return result;
}

_bstr_t::_bstr_t(const _bstr_t& s) noexcept : m_Data(s.m_Data)
{
    if (m_Data)
        m_Data->AddRef();
}

_bstr_t::_bstr_t(const char* s) : m_Data(nullptr)
{
    BSTR converted = _com_util::ConvertStringToBSTR(s);
    m_Data = new Data_t(converted);
}

_bstr_t::_bstr_t(const OLECHAR* s) : m_Data(nullptr)
{
    m_Data = new Data_t(s ? CopyOrThrow(s, Utf16Length(s)) : nullptr);
}

_bstr_t::_bstr_t(const _variant_t& var) : m_Data(nullptr)
{
    if (V_VT(&var) == VT_BSTR)
    {
        *this = _bstr_t(V_BSTR(&var), true);
        return;
    }
    _variant_t converted;
    converted.ChangeType(VT_BSTR, &var);
    *this = _bstr_t(converted.Detach().bstrVal, false);
}

_bstr_t::_bstr_t(BSTR bstr, bool fCopy) : m_Data(nullptr)
{
    if (fCopy && bstr)
        bstr = CopyOrThrow(bstr, SysStringLen(bstr));
    m_Data = new Data_t(bstr);
}

void _bstr_t::_Free() noexcept
{
    if (m_Data)
    {
        m_Data->Release();
        m_Data = nullptr;
    }
}

_bstr_t& _bstr_t::operator=(const _bstr_t& s) noexcept
{
    if (m_Data != s.m_Data)
    {
        if (s.m_Data)
            s.m_Data->AddRef();
        _Free();
        m_Data = s.m_Data;
    }
    return *this;
}

_bstr_t& _bstr_t::operator=(_bstr_t&& s) noexcept
{
    if (this != &s)
    {
        _Free();
        m_Data = s.m_Data;
        s.m_Data = nullptr;
    }
    return *this;
}

_bstr_t& _bstr_t::operator=(const char* s)
{
    return *this = _bstr_t(s);
}

_bstr_t& _bstr_t::operator=(const OLECHAR* s)
{
    return *this = _bstr_t(s);
}

_bstr_t& _bstr_t::operator=(const _variant_t& var)
{
    return *this = _bstr_t(var);
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& s)
{
    return *this = *this + s;
}

_bstr_t _bstr_t::operator+(const _bstr_t& s) const
{
    UINT left = length(), right = s.length();
    if (!m_Data || !m_Data->wstr)
        return s.m_Data && s.m_Data->wstr ? s : _bstr_t(static_cast<const OLECHAR*>(nullptr));
    BSTR joined = SysAllocStringLen(nullptr, left + right);
    if (!joined)
        _com_issue_error(E_OUTOFMEMORY);
    memcpy(joined, m_Data->wstr, left * sizeof(OLECHAR));
    if (right)
        memcpy(joined + left, s.m_Data->wstr, right * sizeof(OLECHAR));
    joined[left + right] = 0;
    return _bstr_t(new Data_t(joined));
}

_bstr_t operator+(const char* s1, const _bstr_t& s2)
{
    return _bstr_t(s1) + s2;
}

_bstr_t operator+(const OLECHAR* s1, const _bstr_t& s2)
{
    return _bstr_t(s1) + s2;
}

_bstr_t::operator const OLECHAR*() const noexcept
{
    return m_Data ? m_Data->wstr : nullptr;
}

_bstr_t::operator OLECHAR*() const noexcept
{
    return m_Data ? m_Data->wstr : nullptr;
}

_bstr_t::operator const char*() const
{
    if (!m_Data || !m_Data->wstr)
        return nullptr;
    char* str = m_Data->str;
    if (str)
        return str;
    // Copies on several threads may race to make it: the first one wins.
    char* made = _com_util::ConvertBSTRToString(m_Data->wstr);
    char* previous = static_cast<char*>(
        InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&m_Data->str), made, nullptr));
    if (previous)
    {
        delete[] made;
        return previous;
    }
    return made;
}

_bstr_t::operator char*() const
{
    return const_cast<char*>(static_cast<const char*>(*this));
}

bool _bstr_t::operator!() const noexcept
{
    return !m_Data || !m_Data->wstr;
}

BSTR _bstr_t::copy(bool fCopy) const
{
    BSTR wstr = m_Data ? m_Data->wstr : nullptr;
    if (!fCopy || !wstr)
        return wstr;
    return CopyOrThrow(wstr, SysStringLen(wstr));
}

unsigned int _bstr_t::length() const noexcept
{
    return m_Data ? SysStringLen(m_Data->wstr) : 0;
}

void _bstr_t::Assign(BSTR s)
{
    *this = _bstr_t(s, true);
}

void _bstr_t::_Unshare()
{
    if (!m_Data)
    {
        m_Data = new Data_t(nullptr);
        return;
    }
    if (m_Data->refs == 1)
    {
        // The caller may change the BSTR: drop the ANSI copy made from it.
        delete[] m_Data->str;
        m_Data->str = nullptr;
        return;
    }
    *this = _bstr_t(m_Data->wstr, true);
}

BSTR& _bstr_t::GetBSTR()
{
    _Unshare();
    return m_Data->wstr;
}

BSTR* _bstr_t::GetAddress()
{
    _Free();
    m_Data = new Data_t(nullptr);
    return &m_Data->wstr;
}

void _bstr_t::Attach(BSTR s)
{
    Data_t* data = new Data_t(s);
    _Free();
    m_Data = data;
}

BSTR _bstr_t::Detach()
{
    if (!m_Data)
        return nullptr;
    BSTR result;
    if (m_Data->refs == 1)
    {
        result = m_Data->wstr;
        m_Data->wstr = nullptr;
    }
    else
    {
        result = copy(true);
    }
    _Free();
    return result;
}

int _bstr_t::_Compare(const _bstr_t& str) const noexcept
{
    if (m_Data == str.m_Data)
        return 0;
    UINT left = length(), right = str.length();
    const OLECHAR* a = *this;
    const OLECHAR* b = str;
    UINT common = left < right ? left : right;
    for (UINT i = 0; i < common; ++i)
    {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return left == right ? 0 : (left < right ? -1 : 1);
}
