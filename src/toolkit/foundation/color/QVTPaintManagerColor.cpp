#include "toolkit/foundation/color/QVTPaintManagerColor.h"

#include <afx.h>

void CQVTPaintManagerColor::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<UINT>(m_clrStandardValue);
        ar << static_cast<UINT>(m_clrCustomValue);
    }
    else
    {
        UINT nStandard = 0, nCustom = 0;
        ar >> nStandard;
        ar >> nCustom;
        m_clrStandardValue = nStandard;
        m_clrCustomValue = nCustom;
    }
}

void CQVTPaintManagerColorGradient::Serialize(CArchive& ar)
{
    clrLight.Serialize(ar);
    clrDark.Serialize(ar);
    if (ar.IsStoring())
        ar << fGradientFactor;
    else
        ar >> fGradientFactor;
}

void CQVTPaintManagerColorGradient::SetStandardValues(COLORREF clrFirst, COLORREF clrSecond, float fFactor)
{
    clrLight.SetStandardValue(clrFirst);
    clrDark.SetStandardValue(clrSecond);
    fGradientFactor = fFactor;
}

void CQVTPaintManagerColorGradient::SetStandardValueFrom(const CQVTPaintManagerColorGradient& other)
{
    SetStandardValues(other.clrLight.GetValue(), other.clrDark.GetValue(), other.fGradientFactor);
}
