#include "toolkit/markup/panels/QVTMarkupWrapPanel.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupWrapPanel, CQVTMarkupPanel, u"WrapPanel",
                      &CQVTMarkupWrapPanel::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupWrapPanel::m_pOrientationProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupWrapPanel::m_pItemWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupWrapPanel::m_pItemHeightProperty = nullptr;

void AFX_CDECL CQVTMarkupWrapPanel::RegisterMarkupProperties()
{
    CQVTMarkupEnum::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pOrientationProperty = CQVTMarkupDependencyProperty::Register(
        u"Orientation", CQVTMarkupEnum::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertMarkupOrientation, QVT_MARKUP_AFFECTS_MEASURE));
    m_pItemWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"ItemWidth", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_X));
    m_pItemHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"ItemHeight", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE | QVT_MARKUP_SCALE_Y));
}

QVTMarkupOrientation CQVTMarkupWrapPanel::GetOrientation()
{
    return static_cast<QVTMarkupOrientation>(
        GetMarkupEnumValue(GetValue(m_pOrientationProperty), qvtOrientationHorizontal));
}

void CQVTMarkupWrapPanel::SetOrientation(QVTMarkupOrientation orientation)
{
    SetValue(m_pOrientationProperty, new CQVTMarkupEnum(orientation));
}

void CQVTMarkupWrapPanel::GetItemSize(CQVTMarkupUIElement* pChild, BOOL bHorizontal, __int64& nMain,
                                      __int64& nCross)
{
    CQVTMarkupInt* pItemWidth = MarkupCast<CQVTMarkupInt>(GetValue(m_pItemWidthProperty));
    CQVTMarkupInt* pItemHeight = MarkupCast<CQVTMarkupInt>(GetValue(m_pItemHeightProperty));
    const SIZE szChild = pChild->GetDesiredSize();
    const __int64 nWidth = pItemWidth != nullptr ? pItemWidth->GetValue() : szChild.cx;
    const __int64 nHeight = pItemHeight != nullptr ? pItemHeight->GetValue() : szChild.cy;
    nMain = bHorizontal ? nWidth : nHeight;
    nCross = bHorizontal ? nHeight : nWidth;
}

SIZE CQVTMarkupWrapPanel::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    const BOOL bHorizontal = GetOrientation() == qvtOrientationHorizontal;
    CQVTMarkupInt* pItemWidth = MarkupCast<CQVTMarkupInt>(GetValue(m_pItemWidthProperty));
    CQVTMarkupInt* pItemHeight = MarkupCast<CQVTMarkupInt>(GetValue(m_pItemHeightProperty));
    const SIZE szConstraint = {pItemWidth != nullptr ? pItemWidth->GetValue() : szAvailable.cx,
                               pItemHeight != nullptr ? pItemHeight->GetValue() : szAvailable.cy};
    const __int64 nAvailableMain = bHorizontal ? szAvailable.cx : szAvailable.cy;
    __int64 nLineMain = 0, nLineCross = 0, nMaxMain = 0, nCrossTotal = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        pChild->Measure(pDC, szConstraint);
        __int64 nMain = 0, nCross = 0;
        GetItemSize(pChild, bHorizontal, nMain, nCross);
        if (nAvailableMain < nLineMain + nMain)
        {
            nMaxMain = std::max(nMaxMain, nLineMain);
            nCrossTotal += nLineCross;
            nLineMain = nMain;
            nLineCross = nCross;
        }
        else
        {
            nLineMain += nMain;
            nLineCross = std::max(nLineCross, nCross);
        }
    }
    const int nMain = MarkupSaturate(std::max(nMaxMain, nLineMain));
    const int nCross = MarkupSaturate(nCrossTotal + nLineCross);
    return bHorizontal ? SIZE{nMain, nCross} : SIZE{nCross, nMain};
}

SIZE CQVTMarkupWrapPanel::ArrangeOverride(SIZE szFinal)
{
    const BOOL bHorizontal = GetOrientation() == qvtOrientationHorizontal;
    const __int64 nLimit = bHorizontal ? szFinal.cx : szFinal.cy;
    int nLineStart = 0;
    __int64 nLineMain = 0, nLineCross = 0, nCrossOffset = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        __int64 nMain = 0, nCross = 0;
        GetItemSize(pChild, bHorizontal, nMain, nCross);
        if (nLineMain + nMain > nLimit)
        {
            ArrangeLine(MarkupSaturate(nCrossOffset), MarkupSaturate(nLineCross), nLineStart, i, bHorizontal);
            nCrossOffset += nLineCross;
            nLineStart = i;
            nLineMain = nMain;
            nLineCross = nCross;
        }
        else
        {
            nLineMain += nMain;
            nLineCross = std::max(nLineCross, nCross);
        }
    }
    ArrangeLine(MarkupSaturate(nCrossOffset), MarkupSaturate(nLineCross), nLineStart, GetChildCount(),
                bHorizontal);
    return szFinal;
}

void CQVTMarkupWrapPanel::ArrangeLine(int nCrossOffset, int nLineCross, int nFirst, int nEnd,
                                      BOOL bHorizontal)
{
    __int64 nPosition = 0;
    for (int i = nFirst; i < nEnd; ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        __int64 nMain = 0, nCross = 0;
        GetItemSize(pChild, bHorizontal, nMain, nCross);
        const int nStart = MarkupSaturate(nPosition), nStop = MarkupSaturate(nPosition + nMain);
        if (bHorizontal)
            pChild->Arrange(
                RECT{nStart, nCrossOffset, nStop, MarkupSaturate(__int64(nCrossOffset) + nLineCross)});
        else
            pChild->Arrange(
                RECT{nCrossOffset, nStart, MarkupSaturate(__int64(nCrossOffset) + nLineCross), nStop});
        nPosition += nMain;
    }
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupWrapPanel, CQVTMarkupPanel)
    DISP_PROPERTY_EX_ID(CQVTMarkupWrapPanel, "Orientation", 600, GetOrientationProperty,
                        SetOrientationProperty, VT_I4)
END_DISPATCH_MAP()

long CQVTMarkupWrapPanel::GetOrientationProperty()
{
    return GetOrientation();
}

void CQVTMarkupWrapPanel::SetOrientationProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pOrientationProperty, nValue);
}
