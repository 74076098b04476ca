// The colour values every theme stores: a standard colour with an optional
// custom override, and a two-colour gradient made of two such values.
#pragma once

#include <afx.h>

class CArchive;

class CQVTPaintManagerColor
{
public:
    static const COLORREF noColor = 0xFFFFFFFF;

    CQVTPaintManagerColor() = default;
    CQVTPaintManagerColor(COLORREF clrStandard) : m_clrStandardValue(clrStandard) {}
    virtual ~CQVTPaintManagerColor() {}

    // The standard value, then the custom value, each as a 4-byte word.
    virtual void Serialize(CArchive& ar);

    // The custom value when one is set, else the standard value.
    COLORREF GetValue() const { return IsCustomValue() ? m_clrCustomValue : m_clrStandardValue; }
    operator COLORREF() const { return GetValue(); }

    COLORREF GetStandardValue() const { return m_clrStandardValue; }
    void SetStandardValue(COLORREF clr) { m_clrStandardValue = clr; }
    COLORREF GetCustomValue() const { return m_clrCustomValue; }
    void SetCustomValue(COLORREF clr) { m_clrCustomValue = clr; }
    BOOL IsCustomValue() const { return m_clrCustomValue != noColor; }
    void SetDefaultValue() { m_clrCustomValue = noColor; }

    COLORREF m_clrStandardValue = noColor;
    COLORREF m_clrCustomValue = noColor;
};

class CQVTPaintManagerColorGradient
{
public:
    CQVTPaintManagerColorGradient() = default;
    CQVTPaintManagerColorGradient(COLORREF clr) : clrLight(clr), clrDark(clr) {}
    virtual ~CQVTPaintManagerColorGradient() {}

    // The first colour, the second colour, then the factor as 4 bytes.
    virtual void Serialize(CArchive& ar);

    void SetStandardValues(COLORREF clrFirst, COLORREF clrSecond, float fFactor = 0.5f);
    void SetStandardValue(COLORREF clr) { SetStandardValues(clr, clr, 0.5f); }
    // Takes the other's effective colours as standard values, and its factor.
    void SetStandardValueFrom(const CQVTPaintManagerColorGradient& other);

    CQVTPaintManagerColor clrLight;
    CQVTPaintManagerColor clrDark;
    float fGradientFactor = 0.5f;
};
