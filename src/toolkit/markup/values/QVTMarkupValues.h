// The small value classes: integers, doubles, booleans, enumeration values,
// colours and colour keys. Equal when type and value are equal.
#pragma once

#include "toolkit/markup/core/QVTMarkupType.h"

class CQVTMarkupInt : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupInt)

public:
    explicit CQVTMarkupInt(int nValue = 0) : m_nValue(nValue) {}
    int GetValue() const { return m_nValue; }
    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    // The leading whole number of the text, DPI-scaled for length properties.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

private:
    int m_nValue;
};

class CQVTMarkupDouble : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupDouble)

public:
    explicit CQVTMarkupDouble(double dValue = 0.0) : m_dValue(dValue) {}
    double GetValue() const { return m_dValue; }
    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

private:
    double m_dValue;
};

class CQVTMarkupBool : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupBool)

public:
    explicit CQVTMarkupBool(BOOL bValue = FALSE) : m_bValue(bValue ? 1 : 0) {}
    BOOL GetValue() const { return m_bValue; }
    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    UINT GetHashCode() override { return static_cast<UINT>(m_bValue); }
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

    // Fresh objects each call.
    static CQVTMarkupBool* AFX_CDECL CreateTrue() { return new CQVTMarkupBool(TRUE); }
    static CQVTMarkupBool* AFX_CDECL CreateFalse() { return new CQVTMarkupBool(FALSE); }

private:
    BOOL m_bValue;
};

// Enumeration texts are converted by the property's own converter.
class CQVTMarkupEnum : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupEnum)

public:
    explicit CQVTMarkupEnum(int nValue = 0) : m_nValue(nValue) {}
    int GetValue() const { return m_nValue; }
    BOOL IsEqual(CQVTMarkupObject* pObject) override;

private:
    int m_nValue;
};

// 0xAABBGGRR: a COLORREF under an alpha byte.
class CQVTMarkupColor : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupColor)

public:
    CQVTMarkupColor() : m_dwValue(0xFF000000) {}
    CQVTMarkupColor(BYTE bAlpha, COLORREF clr) : m_dwValue((DWORD(bAlpha) << 24) | (clr & 0xFFFFFF)) {}
    explicit CQVTMarkupColor(COLORREF clr) : m_dwValue(0xFF000000 | (clr & 0xFFFFFF)) {}

    DWORD GetValue() const { return m_dwValue; }
    COLORREF GetColorRef() const { return m_dwValue & 0xFFFFFF; }
    BYTE GetAlpha() const { return static_cast<BYTE>(m_dwValue >> 24); }

    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;

    // "#RRGGBB", "#AARRGGBB" or one of the named colours (case-insensitive).
    static BOOL AFX_CDECL ParseColor(LPCWSTR lpszText, DWORD& dwValue);
    // The named colours: 140 web colours and "Transparent".
    static BOOL AFX_CDECL LookupColorName(LPCWSTR lpszName, DWORD& dwValue);
    static int AFX_CDECL GetColorNameCount();
    static LPCWSTR AFX_CDECL GetColorName(int nIndex);

protected:
    void SetColorValue(DWORD dwValue) { m_dwValue = dwValue; }

private:
    DWORD m_dwValue;
};

// A system colour index standing for the colour itself in resource lookups.
class CQVTMarkupColorKey : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupColorKey)

public:
    explicit CQVTMarkupColorKey(int nKey = 0) : m_nKey(nKey) {}
    int GetKey() const { return m_nKey; }

private:
    int m_nKey;
};
