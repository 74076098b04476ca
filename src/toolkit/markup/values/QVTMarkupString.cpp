#include "toolkit/markup/values/QVTMarkupString.h"

#include <utility>

IMPLEMENT_MARKUPCLASS(CQVTMarkupString, CQVTMarkupObject, nullptr, nullptr)

namespace QVTMarkupKeyword {
#define QVT_KEYWORD(name) CQVTMarkupString name(u"" #name, -1, CQVTMarkupObject::flagNoComInit);
QVT_KEYWORD(AppStarting)
QVT_KEYWORD(Arrow)
QVT_KEYWORD(Auto)
QVT_KEYWORD(Baseline)
QVT_KEYWORD(Black)
QVT_KEYWORD(Bold)
QVT_KEYWORD(Bottom)
QVT_KEYWORD(Center)
QVT_KEYWORD(CharacterEllipsis)
QVT_KEYWORD(ClearType)
QVT_KEYWORD(Collapsed)
QVT_KEYWORD(Cross)
QVT_KEYWORD(DemiBold)
QVT_KEYWORD(Disabled)
QVT_KEYWORD(ExtraBlack)
QVT_KEYWORD(ExtraBold)
QVT_KEYWORD(ExtraLight)
QVT_KEYWORD(False)
QVT_KEYWORD(Fill)
QVT_KEYWORD(Hand)
QVT_KEYWORD(Heavy)
QVT_KEYWORD(Hidden)
QVT_KEYWORD(Horizontal)
QVT_KEYWORD(IBeam)
QVT_KEYWORD(Italic)
QVT_KEYWORD(Justify)
QVT_KEYWORD(Left)
QVT_KEYWORD(Light)
QVT_KEYWORD(Medium)
QVT_KEYWORD(No)
QVT_KEYWORD(NoWrap)
QVT_KEYWORD(None)
QVT_KEYWORD(Normal)
QVT_KEYWORD(Regular)
QVT_KEYWORD(Right)
QVT_KEYWORD(SemiBold)
QVT_KEYWORD(SizeAll)
QVT_KEYWORD(SizeNESW)
QVT_KEYWORD(SizeNS)
QVT_KEYWORD(SizeNWSE)
QVT_KEYWORD(SizeWE)
QVT_KEYWORD(Stretch)
QVT_KEYWORD(Strikethrough)
QVT_KEYWORD(Subscript)
QVT_KEYWORD(Superscript)
QVT_KEYWORD(TextBottom)
QVT_KEYWORD(TextTop)
QVT_KEYWORD(Thin)
QVT_KEYWORD(Top)
QVT_KEYWORD(True)
QVT_KEYWORD(UltraBold)
QVT_KEYWORD(Underline)
QVT_KEYWORD(Uniform)
QVT_KEYWORD(UniformToFill)
QVT_KEYWORD(UpArrow)
QVT_KEYWORD(Vertical)
QVT_KEYWORD(Visible)
QVT_KEYWORD(Wait)
QVT_KEYWORD(WordEllipsis)
QVT_KEYWORD(Wrap)
QVT_KEYWORD(WrapWithOverflow)
#undef QVT_KEYWORD
}  // namespace QVTMarkupKeyword

namespace {
WCHAR UpperUnit(WCHAR c)
{
    WCHAR sz[2] = {c, 0};
    ::CharUpperW(sz);
    return sz[0];
}
}  // namespace

CQVTMarkupString::CQVTMarkupString() : m_nHashCode(0), m_nHashNoCase(0) {}

CQVTMarkupString::CQVTMarkupString(LPCWSTR lpszText, int nLength, DWORD dwFlags)
    : CQVTMarkupObject(dwFlags), m_nHashCode(0), m_nHashNoCase(0)
{
    if (lpszText == nullptr)
        return;
    if (nLength < 0)
        m_strText = lpszText;
    else
        m_strText = CString(lpszText, nLength);
}

CQVTMarkupString* AFX_CDECL CQVTMarkupString::CreateValue(LPCWSTR lpszText, int nLength)
{
    if (lpszText == nullptr || nLength == 0 || *lpszText == 0)
        return new CQVTMarkupString();
    if ((lpszText[0] == u' ' || lpszText[0] == u'\n') && lpszText[1] == 0)
        return new CQVTMarkupString(lpszText, 1);
    return new CQVTMarkupString(lpszText, nLength);
}

CQVTMarkupString* AFX_CDECL CQVTMarkupString::CreateValue(CString&& strText)
{
    CQVTMarkupString* pValue = new CQVTMarkupString();
    if (!strText.IsEmpty() && strText[0] != 0)
        pValue->m_strText = std::move(strText);
    return pValue;
}

BOOL CQVTMarkupString::IsUnshared() const
{
    return m_dwRef == 1 && GetLogicalParent() == nullptr && GetProperties() == nullptr &&
           GetMarkupContext() == nullptr && GetAssociatedProperty() == nullptr &&
           GetSourceNode() == nullptr && GetSourceTag() == nullptr && !HasExtensions();
}

void CQVTMarkupString::ResetText(LPCWSTR lpszText)
{
    m_strText = lpszText != nullptr ? lpszText : u"";
    m_nHashCode = 0;
    m_nHashNoCase = 0;
}

void CQVTMarkupString::ComputeHashes()
{
    const int nLength = m_strText.GetLength();
    if (nLength == 0)
    {
        m_nHashCode = m_nHashNoCase = 0;
        return;
    }
    UINT h = 0;
    for (int i = 0; i < nLength; ++i)
        h = h * 33 + static_cast<UINT>(UpperUnit(m_strText[i]));
    m_nHashNoCase = h;
    m_nHashCode = h + static_cast<UINT>(m_strText[nLength - 1]);
}

UINT CQVTMarkupString::GetHashCode()
{
    if (m_nHashCode == 0)
        ComputeHashes();
    return m_nHashCode;
}

BOOL CQVTMarkupString::IsEqual(CQVTMarkupObject* pObject)
{
    CQVTMarkupString* pOther = MarkupCast<CQVTMarkupString>(pObject);
    if (pOther == nullptr)
        return FALSE;
    return GetHashCode() == pOther->GetHashCode() && GetLength() == pOther->GetLength() &&
           m_strText == pOther->m_strText;
}

BOOL CQVTMarkupString::IsEqualNoCase(CQVTMarkupString* pOther)
{
    if (pOther == nullptr)
        return FALSE;
    if (m_nHashNoCase == 0)
        ComputeHashes();
    if (pOther->m_nHashNoCase == 0)
        pOther->ComputeHashes();
    return m_nHashNoCase == pOther->m_nHashNoCase && GetLength() == pOther->GetLength() &&
           ::lstrcmpiW(GetText(), pOther->GetText()) == 0;
}

namespace {
bool IsPlainLetterOrDigit(WCHAR c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Texts of basic Latin letters and digits are told equal or not by their
// folded letters alone; only other texts need the platform's comparison,
// which was most of what converting a keyword cost. -1 when undecided.
int PlainEqualNoCase(LPCWSTR lpszA, LPCWSTR lpszB)
{
    for (;; ++lpszA, ++lpszB)
    {
        const WCHAR a = *lpszA, b = *lpszB;
        if (a == 0 || b == 0)
            return a == b ? 1 : (a == 0 ? IsPlainLetterOrDigit(b) : IsPlainLetterOrDigit(a)) ? 0 : -1;
        if (!IsPlainLetterOrDigit(a) || !IsPlainLetterOrDigit(b))
            return -1;
        if ((a | 0x20) != (b | 0x20))
            return 0;
    }
}
}  // namespace

BOOL CQVTMarkupString::IsEqualNoCase(LPCWSTR lpszText) const
{
    if (lpszText == nullptr)
        return FALSE;
    const int nPlain = PlainEqualNoCase(GetText(), lpszText);
    if (nPlain >= 0)
        return nPlain == 1;
    return ::lstrcmpiW(GetText(), lpszText) == 0;
}
