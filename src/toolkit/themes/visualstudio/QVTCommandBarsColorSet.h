// The fixed colours of the Visual Studio 2012 looks: 54 entries, light or
// dark, written as the colours' custom values so that they win over the
// standard values the theme copies beside them.
#pragma once

#include "toolkit/foundation/color/QVTPaintManagerColor.h"

class CQVTCommandBarsColorSet
{
public:
    enum
    {
        colorCount = 54,
        // Each combo-box state takes five entries from its first: border,
        // back, drop-down separator line, drop-down back, marker.
        comboDisabled = 29,
        comboNormal = 34,
        comboSelected = 39,
        comboDropped = 44,
        comboBorder = 0,
        comboBack = 1,
        comboSeparator = 2,
        comboDropDownBack = 3,
        comboMarker = 4
    };

    virtual ~CQVTCommandBarsColorSet() {}
    virtual void RefreshColors() {}

    CQVTPaintManagerColor& operator[](int nIndex) { return m_arrColor[nIndex]; }
    const CQVTPaintManagerColor& operator[](int nIndex) const { return m_arrColor[nIndex]; }

    CQVTPaintManagerColor m_arrColor[colorCount];

protected:
    // Writes a table of custom values; -1 leaves an entry without colour.
    void SetCustomValues(const COLORREF (&values)[colorCount]);
};

class CQVTCommandBarsColorSetVisualStudio2012Light : public CQVTCommandBarsColorSet
{
public:
    void RefreshColors() override;
};

class CQVTCommandBarsColorSetVisualStudio2012Dark : public CQVTCommandBarsColorSet
{
public:
    void RefreshColors() override;
};
