#include "toolkit/markup/panels/QVTMarkupStackPanel.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupStackPanel, CQVTMarkupPanel, u"StackPanel",
                      &CQVTMarkupStackPanel::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupStackPanel::m_pOrientationProperty = nullptr;

namespace {
const QVTMARKUPKEYWORD kOrientations[] = {{u"Horizontal", qvtOrientationHorizontal},
                                          {u"Vertical", qvtOrientationVertical}};

}  // namespace

CQVTMarkupObject* AFX_CDECL ConvertMarkupOrientation(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                     CQVTMarkupDependencyProperty*)
{
    return ConvertMarkupKeyword(pSource, kOrientations);
}

void AFX_CDECL CQVTMarkupStackPanel::RegisterMarkupProperties()
{
    CQVTMarkupEnum::EnsureMarkupClass();
    m_pOrientationProperty = CQVTMarkupDependencyProperty::Register(
        u"Orientation", CQVTMarkupEnum::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, &ConvertMarkupOrientation, QVT_MARKUP_AFFECTS_MEASURE));
}

QVTMarkupOrientation CQVTMarkupStackPanel::GetOrientation()
{
    return static_cast<QVTMarkupOrientation>(
        GetMarkupEnumValue(GetValue(m_pOrientationProperty), qvtOrientationVertical));
}

void CQVTMarkupStackPanel::SetOrientation(QVTMarkupOrientation orientation)
{
    SetValue(m_pOrientationProperty, new CQVTMarkupEnum(orientation));
}

SIZE CQVTMarkupStackPanel::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    const BOOL bHorizontal = GetOrientation() == qvtOrientationHorizontal;
    SIZE szConstraint = szAvailable;
    if (bHorizontal)
        szConstraint.cx = QVT_MARKUP_UNBOUNDED;
    else
        szConstraint.cy = QVT_MARKUP_UNBOUNDED;
    __int64 nWidth = 0, nHeight = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        pChild->Measure(pDC, szConstraint);
        const SIZE szChild = pChild->GetDesiredSize();
        if (bHorizontal)
        {
            nWidth += szChild.cx;
            nHeight = std::max<__int64>(nHeight, szChild.cy);
        }
        else
        {
            nWidth = std::max<__int64>(nWidth, szChild.cx);
            nHeight += szChild.cy;
        }
    }
    return SIZE{MarkupSaturate(nWidth), MarkupSaturate(nHeight)};
}

SIZE CQVTMarkupStackPanel::ArrangeOverride(SIZE szFinal)
{
    const BOOL bHorizontal = GetOrientation() == qvtOrientationHorizontal;
    __int64 nOffset = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        const SIZE szChild = pChild->GetDesiredSize();
        // The cross extent is never smaller than the child's own.
        if (bHorizontal)
            pChild->Arrange(RECT{MarkupSaturate(nOffset), 0, MarkupSaturate(nOffset + szChild.cx),
                                 std::max(szFinal.cy, szChild.cy)});
        else
            pChild->Arrange(RECT{0, MarkupSaturate(nOffset), std::max(szFinal.cx, szChild.cx),
                                 MarkupSaturate(nOffset + szChild.cy)});
        nOffset += bHorizontal ? szChild.cx : szChild.cy;
    }
    return szFinal;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupStackPanel, CQVTMarkupPanel)
    DISP_PROPERTY_EX_ID(CQVTMarkupStackPanel, "Orientation", 600, GetOrientationProperty,
                        SetOrientationProperty, VT_I4)
END_DISPATCH_MAP()

long CQVTMarkupStackPanel::GetOrientationProperty()
{
    return GetOrientation();
}

void CQVTMarkupStackPanel::SetOrientationProperty(long nValue)
{
    QVTMarkupAutomation::SetEnum(this, m_pOrientationProperty, nValue);
}
