// CString (UTF-16) and CStringA (narrow, ANSI code page): one class template
// behind the two typedefs, with MFC's everyday API, plus the conversion
// helpers (CW2A, CA2W, CT2A ... and USES_CONVERSION with T2A/A2T/W2A/A2W).
//
// Each string owns its buffer (no sharing), so GetBuffer never has to copy
// on write and LockBuffer/UnlockBuffer have nothing to do.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "mfc/afxdefs.h"
#include "mfc/utf16crt.h"

// The collections' opaque iteration position; afx.h declares it for everyone.
struct __POSITION
{};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// The resource handle that holds a string table block (module state).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// The module whose string table holds nID, found through AfxFindResourceHandle.
HINSTANCE AFXAPI _AfxFindStringResourceHandle(UINT nID);
[[noreturn]] void AFXAPI AfxThrowMemoryException();

// The unbounded formatting engines behind Format (mfc/text).
int _AfxFormatToStringW(std::u16string& out, const char16_t* format, va_list args);
int _AfxFormatToStringA(std::string& out, const char* format, va_list args);

// Per-character-type operations, implemented once for char16_t and char.
template <typename C>
struct AfxStringTraits;

template <>
struct AfxStringTraits<char16_t>
{
    using Other = char;
    static int Compare(const char16_t* a, const char16_t* b);
    static int CompareNoCase(const char16_t* a, const char16_t* b);
    static int Collate(const char16_t* a, const char16_t* b);
    static int CollateNoCase(const char16_t* a, const char16_t* b);
    static void MakeUpper(char16_t* s, int n);
    static void MakeLower(char16_t* s, int n);
    static void MakeReverse(char16_t* s, int n);
    static bool IsSpace(char16_t c);
    static int FormatV(std::u16string& out, const char16_t* format, va_list args);
    static bool FormatMessage(std::u16string& out, const char16_t* format, const DWORD_PTR* args);
    // Converts from the other width (CP_ACP); returns the converted text.
    static std::u16string Convert(const char* s, int n);
    static bool LoadString(HINSTANCE hInstance, UINT nID, std::u16string& out);
    static BSTR AllocSysString(const char16_t* s, int n);
};

template <>
struct AfxStringTraits<char>
{
    using Other = char16_t;
    static int Compare(const char* a, const char* b);
    static int CompareNoCase(const char* a, const char* b);
    static int Collate(const char* a, const char* b);
    static int CollateNoCase(const char* a, const char* b);
    static void MakeUpper(char* s, int n);
    static void MakeLower(char* s, int n);
    static void MakeReverse(char* s, int n);
    static bool IsSpace(char c);
    static int FormatV(std::string& out, const char* format, va_list args);
    static bool FormatMessage(std::string& out, const char* format, const DWORD_PTR* args);
    static std::string Convert(const char16_t* s, int n);
    static bool LoadString(HINSTANCE hInstance, UINT nID, std::string& out);
    static BSTR AllocSysString(const char* s, int n);
};

// Arguments of FormatMessage travel as an array of pointer-sized values.
template <typename T>
inline DWORD_PTR _AfxMessageArg(T value)
{
    static_assert(!std::is_floating_point<T>::value, "FormatMessage inserts cannot be floating point");
    if constexpr (std::is_pointer<T>::value)
        return reinterpret_cast<DWORD_PTR>(value);
    else
        return static_cast<DWORD_PTR>(value);
}

template <typename BaseType>
class CStringT
{
    using Traits = AfxStringTraits<BaseType>;

public:
    typedef BaseType XCHAR;
    typedef BaseType* PXSTR;
    typedef const BaseType* PCXSTR;
    typedef typename Traits::Other YCHAR;
    typedef YCHAR* PYSTR;
    typedef const YCHAR* PCYSTR;

    CStringT() noexcept = default;
    CStringT(const CStringT& other) { SetString(other.m_pszData, other.m_nLength); }
    CStringT(CStringT&& other) noexcept { Swap(other); }
    // A resource ID passed as MAKEINTRESOURCE loads that string, as in MFC.
    CStringT(PCXSTR psz)
    {
        if (IsResourceId(psz))
            LoadString(UINT(reinterpret_cast<ULONG_PTR>(psz)));
        else
            SetString(psz);
    }
    CStringT(PCYSTR psz)
    {
        if (IsResourceId(psz))
            LoadString(UINT(reinterpret_cast<ULONG_PTR>(psz)));
        else if (psz)
            AssignOther(psz, int(Length(psz)));
    }
    CStringT(PCXSTR pch, int nLength) { SetString(pch, nLength); }
    CStringT(PCYSTR pch, int nLength)
    {
        if (pch && nLength > 0)
            AssignOther(pch, nLength);
    }
    CStringT(XCHAR ch, int nRepeat = 1) { Fill(ch, nRepeat); }
    CStringT(YCHAR ch, int nRepeat = 1)
    {
        if (nRepeat > 0)
        {
            std::basic_string<YCHAR> run(size_t(nRepeat), ch);
            AssignOther(run.data(), nRepeat);
        }
    }
    ~CStringT() { Free(); }

    CStringT& operator=(const CStringT& other)
    {
        if (this != &other)
            SetString(other.m_pszData, other.m_nLength);
        return *this;
    }
    CStringT& operator=(CStringT&& other) noexcept
    {
        if (this != &other)
        {
            Free();
            Swap(other);
        }
        return *this;
    }
    CStringT& operator=(PCXSTR psz)
    {
        SetString(psz);
        return *this;
    }
    CStringT& operator=(PCYSTR psz)
    {
        CStringT converted(psz);
        return *this = std::move(converted);
    }
    CStringT& operator=(XCHAR ch)
    {
        SetString(&ch, 1);
        return *this;
    }
    CStringT& operator=(YCHAR ch)
    {
        CStringT converted(ch);
        return *this = std::move(converted);
    }

    CStringT& operator+=(const CStringT& s)
    {
        Append(s.m_pszData, s.m_nLength);
        return *this;
    }
    CStringT& operator+=(PCXSTR psz)
    {
        Append(psz);
        return *this;
    }
    CStringT& operator+=(PCYSTR psz)
    {
        CStringT converted(psz);
        return *this += converted;
    }
    CStringT& operator+=(XCHAR ch)
    {
        AppendChar(ch);
        return *this;
    }
    CStringT& operator+=(YCHAR ch)
    {
        CStringT converted(ch);
        return *this += converted;
    }

    // --- Access ---------------------------------------------------------------
    int GetLength() const noexcept { return m_nLength; }
    bool IsEmpty() const noexcept { return m_nLength == 0; }
    void Empty() noexcept { Free(); }
    PCXSTR GetString() const noexcept { return m_pszData; }
    operator PCXSTR() const noexcept { return m_pszData; }
    int GetAllocLength() const noexcept { return m_nAlloc; }

    XCHAR GetAt(int iChar) const
    {
        if (iChar < 0 || iChar > m_nLength)  // the terminator may be read
            AfxThrowInvalidArgException();
        return m_pszData[iChar];
    }
    XCHAR operator[](int iChar) const { return GetAt(iChar); }
    void SetAt(int iChar, XCHAR ch)
    {
        if (iChar < 0 || iChar >= m_nLength)
            AfxThrowInvalidArgException();
        m_pszData[iChar] = ch;
    }

    void SetString(PCXSTR psz) { SetString(psz, psz ? int(Length(psz)) : 0); }
    void SetString(PCXSTR pch, int nLength)
    {
        if (!pch || nLength <= 0)
        {
            Truncate(0);
            return;
        }
        if (pch >= m_pszData && pch <= m_pszData + m_nLength && m_nAlloc)
        {  // from our own buffer
            CStringT copy(pch, nLength);
            *this = std::move(copy);
            return;
        }
        Reserve(nLength, false);
        memcpy(m_pszData, pch, size_t(nLength) * sizeof(XCHAR));
        SetLength(nLength);
    }
    void Append(PCXSTR psz) { Append(psz, psz ? int(Length(psz)) : 0); }
    void Append(PCXSTR pch, int nLength)
    {
        if (!pch || nLength <= 0)
            return;
        if (pch >= m_pszData && pch <= m_pszData + m_nLength && m_nAlloc)
        {
            CStringT copy(pch, nLength);
            Append(copy.m_pszData, copy.m_nLength);
            return;
        }
        int old = m_nLength;
        Reserve(Grown(old, nLength), true);
        memcpy(m_pszData + old, pch, size_t(nLength) * sizeof(XCHAR));
        SetLength(old + nLength);
    }
    void Append(const CStringT& s) { Append(s.m_pszData, s.m_nLength); }
    void AppendChar(XCHAR ch)
    {
        int old = m_nLength;
        Reserve(Grown(old, 1), true);
        m_pszData[old] = ch;
        SetLength(old + 1);
    }
    void Truncate(int nNewLength)
    {
        if (nNewLength < 0)
            AfxThrowInvalidArgException();
        if (nNewLength < m_nLength)
            SetLength(nNewLength);
    }

    // --- Buffer access ----------------------------------------------------------
    PXSTR GetBuffer()
    {
        Reserve(m_nLength, true);
        return m_pszData;
    }
    PXSTR GetBuffer(int nMinBufferLength)
    {
        if (nMinBufferLength < 0)
            AfxThrowInvalidArgException();
        Reserve(std::max(nMinBufferLength, m_nLength), true);
        return m_pszData;
    }
    PXSTR GetBufferSetLength(int nLength)
    {
        if (nLength < 0)
            AfxThrowInvalidArgException();
        Reserve(nLength, true);
        SetLength(nLength);
        return m_pszData;
    }
    // -1: the text ends at its first null (never beyond the buffer).
    void ReleaseBuffer(int nNewLength = -1)
    {
        if (!m_nAlloc)
        {
            m_nLength = 0;
            return;
        }
        if (nNewLength < 0)
        {
            nNewLength = 0;
            while (nNewLength < m_nAlloc && m_pszData[nNewLength])
                ++nNewLength;
        }
        SetLength(std::min(nNewLength, m_nAlloc));
    }
    void ReleaseBufferSetLength(int nNewLength)
    {
        if (nNewLength < 0)
            AfxThrowInvalidArgException();
        ReleaseBuffer(nNewLength);
    }
    PXSTR LockBuffer() { return GetBuffer(); }
    void UnlockBuffer() noexcept {}
    void Preallocate(int nLength) { Reserve(std::max(nLength, m_nLength), true); }
    void FreeExtra()
    {
        if (m_nAlloc > m_nLength)
        {
            if (m_nLength == 0)
            {
                Free();
                return;
            }
            CStringT copy(m_pszData, m_nLength);
            *this = std::move(copy);
        }
    }

    // --- Comparison ---------------------------------------------------------------
    int Compare(PCXSTR psz) const { return Traits::Compare(m_pszData, Safe(psz)); }
    int CompareNoCase(PCXSTR psz) const { return Traits::CompareNoCase(m_pszData, Safe(psz)); }
    int Collate(PCXSTR psz) const { return Traits::Collate(m_pszData, Safe(psz)); }
    int CollateNoCase(PCXSTR psz) const { return Traits::CollateNoCase(m_pszData, Safe(psz)); }

    // --- Searching ----------------------------------------------------------------
    int Find(XCHAR ch, int iStart = 0) const noexcept
    {
        if (iStart < 0 || iStart >= m_nLength)
            return -1;
        for (int i = iStart; i < m_nLength; ++i)
            if (m_pszData[i] == ch)
                return i;
        return -1;
    }
    int Find(PCXSTR pszSub, int iStart = 0) const noexcept
    {
        if (!pszSub || iStart < 0 || iStart > m_nLength)
            return -1;
        int n = int(Length(pszSub));
        for (int i = iStart; i + n <= m_nLength; ++i)
            if (std::char_traits<XCHAR>::compare(m_pszData + i, pszSub, size_t(n)) == 0)
                return i;
        return -1;
    }
    int ReverseFind(XCHAR ch) const noexcept
    {
        for (int i = m_nLength - 1; i >= 0; --i)
            if (m_pszData[i] == ch)
                return i;
        return -1;
    }
    int FindOneOf(PCXSTR pszCharSet) const noexcept
    {
        if (!pszCharSet)
            return -1;
        for (int i = 0; i < m_nLength; ++i)
            if (InSet(m_pszData[i], pszCharSet))
                return i;
        return -1;
    }

    // --- Extraction ---------------------------------------------------------------
    CStringT Mid(int iFirst) const { return Mid(iFirst, m_nLength - iFirst); }
    CStringT Mid(int iFirst, int nCount) const
    {
        if (iFirst < 0)
            iFirst = 0;
        if (nCount < 0)
            nCount = 0;
        if (iFirst > m_nLength)
            return CStringT();
        if (nCount > m_nLength - iFirst)
            nCount = m_nLength - iFirst;
        if (iFirst == 0 && nCount == m_nLength)
            return *this;
        return CStringT(m_pszData + iFirst, nCount);
    }
    CStringT Left(int nCount) const
    {
        nCount = std::max(0, std::min(nCount, m_nLength));
        return CStringT(m_pszData, nCount);
    }
    CStringT Right(int nCount) const
    {
        nCount = std::max(0, std::min(nCount, m_nLength));
        return CStringT(m_pszData + m_nLength - nCount, nCount);
    }
    CStringT SpanIncluding(PCXSTR pszCharSet) const
    {
        int n = 0;
        while (n < m_nLength && pszCharSet && InSet(m_pszData[n], pszCharSet))
            ++n;
        return Left(n);
    }
    CStringT SpanExcluding(PCXSTR pszCharSet) const
    {
        int n = 0;
        while (n < m_nLength && !(pszCharSet && InSet(m_pszData[n], pszCharSet)))
            ++n;
        return Left(n);
    }
    // The next token after iStart; iStart becomes -1 when none is left.
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const
    {
        if (iStart < 0)
            AfxThrowInvalidArgException();
        if (!pszTokens || !*pszTokens)
        {
            if (iStart < m_nLength)
            {
                CStringT rest(m_pszData + iStart, m_nLength - iStart);
                iStart = m_nLength + 1;  // the next call ends the loop
                return rest;
            }
        }
        else
        {
            int i = iStart;
            while (i < m_nLength && InSet(m_pszData[i], pszTokens))
                ++i;
            if (i < m_nLength)
            {
                int end = i;
                while (end < m_nLength && !InSet(m_pszData[end], pszTokens))
                    ++end;
                iStart = end + 1;
                return CStringT(m_pszData + i, end - i);
            }
        }
        iStart = -1;
        return CStringT();
    }

    // --- Modification ---------------------------------------------------------------
    int Replace(XCHAR chOld, XCHAR chNew)
    {
        int count = 0;
        if (chOld == chNew)
            return 0;
        for (int i = 0; i < m_nLength; ++i)
            if (m_pszData[i] == chOld)
            {
                m_pszData[i] = chNew;
                ++count;
            }
        return count;
    }
    int Replace(PCXSTR pszOld, PCXSTR pszNew)
    {
        int nOld = pszOld ? int(Length(pszOld)) : 0;
        if (nOld == 0)
            return 0;
        int nNew = pszNew ? int(Length(pszNew)) : 0;
        int count = 0;
        for (int i = Find(pszOld); i >= 0; i = Find(pszOld, i + nOld))
            ++count;
        if (count == 0)
            return 0;
        CStringT result;
        result.Reserve(m_nLength + count * (nNew - nOld), false);
        int from = 0;
        for (int i = Find(pszOld); i >= 0; i = Find(pszOld, i + nOld))
        {
            result.Append(m_pszData + from, i - from);
            result.Append(pszNew, nNew);
            from = i + nOld;
        }
        result.Append(m_pszData + from, m_nLength - from);
        *this = std::move(result);
        return count;
    }
    int Remove(XCHAR chRemove)
    {
        int to = 0;
        for (int i = 0; i < m_nLength; ++i)
            if (m_pszData[i] != chRemove)
                m_pszData[to++] = m_pszData[i];
        int removed = m_nLength - to;
        if (removed)
            SetLength(to);
        return removed;
    }
    int Insert(int iIndex, XCHAR ch) { return Insert(iIndex, &ch, 1); }
    int Insert(int iIndex, PCXSTR psz) { return Insert(iIndex, psz, psz ? int(Length(psz)) : 0); }
    int Delete(int iIndex, int nCount = 1)
    {
        if (iIndex < 0)
            iIndex = 0;
        if (nCount < 0)
            nCount = 0;
        if (iIndex >= m_nLength)
            return m_nLength;
        nCount = std::min(nCount, m_nLength - iIndex);
        if (nCount > 0)
        {
            memmove(m_pszData + iIndex, m_pszData + iIndex + nCount,
                    size_t(m_nLength - iIndex - nCount) * sizeof(XCHAR));
            SetLength(m_nLength - nCount);
        }
        return m_nLength;
    }

    CStringT& Trim() { return TrimRight().TrimLeft(); }
    CStringT& Trim(XCHAR chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
    CStringT& Trim(PCXSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }
    CStringT& TrimLeft()
    {
        return TrimLeftWhere([](XCHAR c) { return Traits::IsSpace(c); });
    }
    CStringT& TrimLeft(XCHAR chTarget)
    {
        return TrimLeftWhere([chTarget](XCHAR c) { return c == chTarget; });
    }
    CStringT& TrimLeft(PCXSTR pszTargets)
    {
        if (!pszTargets || !*pszTargets)
            return *this;
        return TrimLeftWhere([pszTargets](XCHAR c) { return InSet(c, pszTargets); });
    }
    CStringT& TrimRight()
    {
        return TrimRightWhere([](XCHAR c) { return Traits::IsSpace(c); });
    }
    CStringT& TrimRight(XCHAR chTarget)
    {
        return TrimRightWhere([chTarget](XCHAR c) { return c == chTarget; });
    }
    CStringT& TrimRight(PCXSTR pszTargets)
    {
        if (!pszTargets || !*pszTargets)
            return *this;
        return TrimRightWhere([pszTargets](XCHAR c) { return InSet(c, pszTargets); });
    }

    CStringT& MakeUpper()
    {
        if (m_nLength)
            Traits::MakeUpper(m_pszData, m_nLength);
        return *this;
    }
    CStringT& MakeLower()
    {
        if (m_nLength)
            Traits::MakeLower(m_pszData, m_nLength);
        return *this;
    }
    CStringT& MakeReverse()
    {
        if (m_nLength)
            Traits::MakeReverse(m_pszData, m_nLength);
        return *this;
    }

    // --- Formatting -----------------------------------------------------------------
    // CString arguments may be passed as they are; they travel as pointers.
    template <typename... A>
    void Format(PCXSTR pszFormat, A&&... args)
    {
        FormatImpl(pszFormat, _AfxFormatArg(std::forward<A>(args))...);
    }
    template <typename... A>
    void Format(UINT nFormatID, A&&... args)
    {
        CStringT format;
        format.LoadString(nFormatID);
        FormatImpl(format.GetString(), _AfxFormatArg(std::forward<A>(args))...);
    }
    template <typename... A>
    void AppendFormat(PCXSTR pszFormat, A&&... args)
    {
        AppendFormatImpl(pszFormat, _AfxFormatArg(std::forward<A>(args))...);
    }
    template <typename... A>
    void AppendFormat(UINT nFormatID, A&&... args)
    {
        CStringT format;
        format.LoadString(nFormatID);
        AppendFormatImpl(format.GetString(), _AfxFormatArg(std::forward<A>(args))...);
    }
    // A bad format (%n, a null format) leaves the string empty.
    void FormatV(PCXSTR pszFormat, va_list args)
    {
        std::basic_string<XCHAR> out;
        if (!pszFormat || Traits::FormatV(out, pszFormat, args) < 0)
            out.clear();
        SetString(out.data(), int(out.size()));
    }
    void AppendFormatV(PCXSTR pszFormat, va_list args)
    {
        std::basic_string<XCHAR> out;
        if (pszFormat && Traits::FormatV(out, pszFormat, args) >= 0)
            Append(out.data(), int(out.size()));
    }

    // FormatMessage inserts (%1, %2!d! ...); arguments are pointers or integers.
    template <typename... A>
    void FormatMessage(PCXSTR pszFormat, A&&... args)
    {
        DWORD_PTR values[sizeof...(A) + 1] = {_AfxMessageArg(_AfxFormatArg(std::forward<A>(args)))..., 0};
        FormatMessageArray(pszFormat, values);
    }
    template <typename... A>
    void FormatMessage(UINT nFormatID, A&&... args)
    {
        CStringT format;
        format.LoadString(nFormatID);
        DWORD_PTR values[sizeof...(A) + 1] = {_AfxMessageArg(_AfxFormatArg(std::forward<A>(args)))..., 0};
        FormatMessageArray(format.GetString(), values);
    }
    // Reads as many pointer-sized arguments as the highest insert number.
    void FormatMessageV(PCXSTR pszFormat, va_list* pArgList)
    {
        int highest = HighestInsert(pszFormat);
        std::vector<DWORD_PTR> values(size_t(highest) + 1, 0);
        for (int i = 0; i < highest; ++i)
            values[size_t(i)] = va_arg(*pArgList, DWORD_PTR);
        FormatMessageArray(pszFormat, values.data());
    }

    // --- Resources and conversions ------------------------------------------------
    BOOL LoadString(UINT nID) { return LoadString(_AfxFindStringResourceHandle(nID), nID); }
    BOOL LoadString(HINSTANCE hInstance, UINT nID)
    {
        std::basic_string<XCHAR> text;
        if (!Traits::LoadString(hInstance, nID, text))
            return FALSE;
        SetString(text.data(), int(text.size()));
        return TRUE;
    }
    BSTR AllocSysString() const
    {
        BSTR b = Traits::AllocSysString(m_pszData, m_nLength);
        if (!b)
            AfxThrowMemoryException();
        return b;
    }
    BSTR SetSysString(BSTR* pbstr) const
    {
        BSTR b = AllocSysString();
        if (pbstr)
        {
            SysFreeString(*pbstr);
            *pbstr = b;
        }
        return b;
    }

    // --- Operators ------------------------------------------------------------------
    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        return Concat(a.m_pszData, a.m_nLength, b.m_pszData, b.m_nLength);
    }
    friend CStringT operator+(const CStringT& a, PCXSTR b)
    {
        return Concat(a.m_pszData, a.m_nLength, b, b ? int(Length(b)) : 0);
    }
    friend CStringT operator+(PCXSTR a, const CStringT& b)
    {
        return Concat(a, a ? int(Length(a)) : 0, b.m_pszData, b.m_nLength);
    }
    friend CStringT operator+(const CStringT& a, XCHAR b) { return Concat(a.m_pszData, a.m_nLength, &b, 1); }
    friend CStringT operator+(XCHAR a, const CStringT& b) { return Concat(&a, 1, b.m_pszData, b.m_nLength); }
    friend CStringT operator+(const CStringT& a, PCYSTR b) { return a + CStringT(b); }
    friend CStringT operator+(PCYSTR a, const CStringT& b) { return CStringT(a) + b; }
    friend CStringT operator+(const CStringT& a, YCHAR b) { return a + CStringT(b); }
    friend CStringT operator+(YCHAR a, const CStringT& b) { return CStringT(a) + b; }

    friend bool operator==(const CStringT& a, const CStringT& b) noexcept
    {
        return a.m_nLength == b.m_nLength &&
               std::char_traits<XCHAR>::compare(a.m_pszData, b.m_pszData, size_t(a.m_nLength)) == 0;
    }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator==(const CStringT& a, PCYSTR b) { return a == CStringT(b); }
    friend bool operator==(PCYSTR a, const CStringT& b) { return CStringT(a) == b; }
    friend bool operator==(const CStringT& a, XCHAR b) { return a.m_nLength == 1 && a.m_pszData[0] == b; }
    friend bool operator==(XCHAR a, const CStringT& b) { return b == a; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, PCYSTR b) { return !(a == b); }
    friend bool operator!=(PCYSTR a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, XCHAR b) { return !(a == b); }
    friend bool operator!=(XCHAR a, const CStringT& b) { return !(a == b); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b) < 0; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.Compare(b) > 0; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.Compare(b) <= 0; }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator<=(PCXSTR a, const CStringT& b) { return b.Compare(a) >= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.Compare(b) >= 0; }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }
    friend bool operator>=(PCXSTR a, const CStringT& b) { return b.Compare(a) <= 0; }

    static int StringLength(PCXSTR psz) noexcept { return psz ? int(Length(psz)) : 0; }

private:
    template <typename Ch>
    static size_t Length(const Ch* s) noexcept
    {
        return std::char_traits<Ch>::length(s);
    }
    template <typename Ch>
    static bool IsResourceId(const Ch* p) noexcept
    {
        return p && (reinterpret_cast<ULONG_PTR>(p) >> 16) == 0;
    }
    static PCXSTR Safe(PCXSTR p) noexcept { return p ? p : EmptyText(); }
    static PXSTR EmptyText() noexcept
    {
        static XCHAR nil[1] = {0};
        return nil;
    }
    static bool InSet(XCHAR c, PCXSTR set) noexcept
    {
        for (; *set; ++set)
            if (*set == c)
                return true;
        return false;
    }
    static int Grown(int length, int extra)
    {
        if (extra > INT_MAX / 2 - length)
            AfxThrowMemoryException();
        return length + extra;
    }
    static CStringT Concat(PCXSTR a, int na, PCXSTR b, int nb)
    {
        CStringT r;
        r.Reserve(Grown(na, nb), false);
        r.Append(a, na);
        r.Append(b, nb);
        return r;
    }

    // Room for nLength characters and the terminator.
    void Reserve(int nLength, bool keep)
    {
        if (nLength <= m_nAlloc && m_nAlloc)
            return;
        int capacity = m_nAlloc ? std::max(nLength, m_nAlloc + m_nAlloc / 2) : std::max(nLength, 7);
        XCHAR* data = new (std::nothrow) XCHAR[size_t(capacity) + 1];
        if (!data)
            AfxThrowMemoryException();
        int kept = keep ? m_nLength : 0;
        if (kept)
            memcpy(data, m_pszData, size_t(kept) * sizeof(XCHAR));
        data[kept] = 0;
        if (m_nAlloc)
            delete[] m_pszData;
        m_pszData = data;
        m_nAlloc = capacity;
        m_nLength = kept;
    }
    void SetLength(int n) noexcept
    {
        m_nLength = n;
        if (m_nAlloc)
            m_pszData[n] = 0;
    }
    void Free() noexcept
    {
        // Asks the pointer itself: through inlined moves the compiler loses
        // that m_nAlloc is 0 exactly for the shared empty text.
        if (m_pszData != EmptyText())
            delete[] m_pszData;
        m_pszData = EmptyText();
        m_nLength = 0;
        m_nAlloc = 0;
    }
    void Swap(CStringT& other) noexcept
    {
        std::swap(m_pszData, other.m_pszData);
        std::swap(m_nLength, other.m_nLength);
        std::swap(m_nAlloc, other.m_nAlloc);
    }
    void Fill(XCHAR ch, int nRepeat)
    {
        if (nRepeat <= 0)
            return;
        Reserve(nRepeat, false);
        for (int i = 0; i < nRepeat; ++i)
            m_pszData[i] = ch;
        SetLength(nRepeat);
    }
    void AssignOther(PCYSTR p, int n)
    {
        auto converted = Traits::Convert(p, n);
        SetString(converted.data(), int(converted.size()));
    }
    int Insert(int iIndex, PCXSTR pch, int n)
    {
        if (iIndex < 0)
            iIndex = 0;
        if (iIndex > m_nLength)
            iIndex = m_nLength;
        if (n <= 0)
            return m_nLength;
        if (pch >= m_pszData && pch <= m_pszData + m_nLength && m_nAlloc)
        {
            CStringT copy(pch, n);
            return Insert(iIndex, copy.m_pszData, n);
        }
        int old = m_nLength;
        Reserve(Grown(old, n), true);
        memmove(m_pszData + iIndex + n, m_pszData + iIndex, size_t(old - iIndex) * sizeof(XCHAR));
        memcpy(m_pszData + iIndex, pch, size_t(n) * sizeof(XCHAR));
        SetLength(old + n);
        return m_nLength;
    }
    template <typename Pred>
    CStringT& TrimLeftWhere(Pred pred)
    {
        int i = 0;
        while (i < m_nLength && pred(m_pszData[i]))
            ++i;
        if (i)
            Delete(0, i);
        return *this;
    }
    template <typename Pred>
    CStringT& TrimRightWhere(Pred pred)
    {
        int n = m_nLength;
        while (n > 0 && pred(m_pszData[n - 1]))
            --n;
        if (n != m_nLength)
            SetLength(n);
        return *this;
    }
    void FormatImpl(PCXSTR pszFormat, ...)
    {
        va_list args;
        va_start(args, pszFormat);
        FormatV(pszFormat, args);
        va_end(args);
    }
    void AppendFormatImpl(PCXSTR pszFormat, ...)
    {
        va_list args;
        va_start(args, pszFormat);
        AppendFormatV(pszFormat, args);
        va_end(args);
    }
    void FormatMessageArray(PCXSTR pszFormat, const DWORD_PTR* values)
    {
        std::basic_string<XCHAR> out;
        if (!pszFormat || !Traits::FormatMessage(out, pszFormat, values))
            AfxThrowMemoryException();  // as MFC reports a failed FormatMessage
        SetString(out.data(), int(out.size()));
    }
    static int HighestInsert(PCXSTR p)
    {
        int highest = 0;
        for (; p && *p; ++p)
        {
            if (*p != XCHAR('%'))
                continue;
            if (p[1] >= XCHAR('1') && p[1] <= XCHAR('9'))
            {
                int n = int(p[1] - XCHAR('0'));
                if (p[2] >= XCHAR('0') && p[2] <= XCHAR('9'))
                    n = n * 10 + int(p[2] - XCHAR('0'));
                highest = std::max(highest, n);
            }
            if (p[1])
                ++p;
        }
        return highest;
    }

    XCHAR* m_pszData = EmptyText();
    int m_nLength = 0;
    int m_nAlloc = 0;  // 0: m_pszData is the shared empty text, never written
};

typedef CStringT<char16_t> CStringW;
typedef CStringT<char> CStringA;
typedef CStringW CString;

// Extracts the iSubString-th field of lpszFullString separated by chSep.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString,
                                TCHAR chSep = u'\n');

// --- Conversion helpers ---------------------------------------------------------
// Each holds its converted text for its own lifetime (use them as temporaries
// within one expression, or as named objects).
class CW2A
{
public:
    CW2A(LPCWSTR psz, UINT nCodePage = CP_ACP) { Init(psz, nCodePage); }
    operator LPSTR() const noexcept { return m_psz; }
    CW2A(const CW2A&) = delete;
    CW2A& operator=(const CW2A&) = delete;

private:
    void Init(LPCWSTR psz, UINT nCodePage);
    std::string m_text;
    LPSTR m_psz = nullptr;
};

class CA2W
{
public:
    CA2W(LPCSTR psz, UINT nCodePage = CP_ACP) { Init(psz, nCodePage); }
    operator LPWSTR() const noexcept { return m_psz; }
    CA2W(const CA2W&) = delete;
    CA2W& operator=(const CA2W&) = delete;

private:
    void Init(LPCSTR psz, UINT nCodePage);
    std::u16string m_text;
    LPWSTR m_psz = nullptr;
};

// Same-width "conversions" only hand the pointer on.
template <typename Ch>
class CAfxPassThrough
{
public:
    CAfxPassThrough(const Ch* psz, UINT = CP_ACP) noexcept : m_psz(const_cast<Ch*>(psz)) {}
    operator Ch*() const noexcept { return m_psz; }

private:
    Ch* m_psz;
};

typedef CAfxPassThrough<WCHAR> CW2W;
typedef CAfxPassThrough<char> CA2A;
typedef CW2A CT2A;
typedef CW2A CT2CA;
typedef CW2A CW2CA;
typedef CA2W CA2T;
typedef CA2W CA2CT;
typedef CA2W CA2CW;
typedef CW2W CW2T;
typedef CW2W CW2CT;
typedef CW2W CT2W;
typedef CW2W CT2CW;
typedef CW2W CT2CT;
typedef CW2W CT2T;

// USES_CONVERSION with T2A and friends: the converted strings live until the
// enclosing scope ends, as the stack buffers of the classic macros did.
class CAfxConversionArena
{
public:
    LPSTR ToNarrow(LPCWSTR psz, UINT nCodePage = CP_ACP);
    LPWSTR ToWide(LPCSTR psz, UINT nCodePage = CP_ACP);

private:
    std::vector<std::unique_ptr<char[]>> m_narrow;
    std::vector<std::unique_ptr<WCHAR[]>> m_wide;
};

#define USES_CONVERSION                                                                                      \
    CAfxConversionArena _afxConversionArena;                                                                 \
    (void)_afxConversionArena
#define USES_CONVERSION_EX USES_CONVERSION
#define W2A(lpw) (_afxConversionArena.ToNarrow(lpw))
#define A2W(lpa) (_afxConversionArena.ToWide(lpa))
#define W2CA(lpw) ((LPCSTR)W2A(lpw))
#define A2CW(lpa) ((LPCWSTR)A2W(lpa))
#define T2A(lpt) W2A(lpt)
#define A2T(lpa) A2W(lpa)
#define T2CA(lpt) W2CA(lpt)
#define A2CT(lpa) A2CW(lpa)
#define T2W(lpt) ((LPWSTR)(lpt))
#define W2T(lpw) ((LPWSTR)(lpw))
#define T2CW(lpt) ((LPCWSTR)(lpt))
#define W2CT(lpw) ((LPCWSTR)(lpw))
#define T2OLE(lpt) T2W(lpt)
#define OLE2T(lpo) W2T(lpo)
#define T2COLE(lpt) T2CW(lpt)
#define OLE2CT(lpo) W2CT(lpo)
