// Text values, and the shared keyword literals converters compare against.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupString : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupString)

public:
    CQVTMarkupString();
    // nLength -1 takes the whole terminated text.
    CQVTMarkupString(LPCWSTR lpszText, int nLength, DWORD dwFlags = 0);

    // A new value: empty for null or empty text; a lone space or line feed
    // stays that one character.
    static CQVTMarkupString* AFX_CDECL CreateValue(LPCWSTR lpszText, int nLength = -1);
    // The same, taking the text over instead of copying it.
    static CQVTMarkupString* AFX_CDECL CreateValue(CString&& strText);

    // Whether nothing but its one reference holds this value and nothing was
    // set on it: the builder then takes it again for its next literal.
    BOOL IsUnshared() const;
    // The text of a new value (as CreateValue), for such a value.
    void ResetText(LPCWSTR lpszText);

    LPCWSTR GetText() const { return m_strText.GetString(); }
    int GetLength() const { return m_strText.GetLength(); }

    UINT GetHashCode() override;
    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    // Keyword matching: the case-insensitive comparison of the platform.
    BOOL IsEqualNoCase(CQVTMarkupString* pOther);
    BOOL IsEqualNoCase(LPCWSTR lpszText) const;

private:
    void ComputeHashes();

    CString m_strText;
    UINT m_nHashCode;    // 0 until computed
    UINT m_nHashNoCase;  // 0 until computed
};

// The keyword literals, built at program start.
namespace QVTMarkupKeyword {
extern CQVTMarkupString AppStarting, Arrow, Auto, Baseline, Black, Bold, Bottom, Center, CharacterEllipsis,
    ClearType, Collapsed, Cross, DemiBold, Disabled, ExtraBlack, ExtraBold, ExtraLight, False, Fill, Hand,
    Heavy, Hidden, Horizontal, IBeam, Italic, Justify, Left, Light, Medium, No, NoWrap, None, Normal, Regular,
    Right, SemiBold, SizeAll, SizeNESW, SizeNS, SizeNWSE, SizeWE, Stretch, Strikethrough, Subscript,
    Superscript, TextBottom, TextTop, Thin, Top, True, UltraBold, Underline, Uniform, UniformToFill, UpArrow,
    Vertical, Visible, Wait, WordEllipsis, Wrap, WrapWithOverflow;
}  // namespace QVTMarkupKeyword
