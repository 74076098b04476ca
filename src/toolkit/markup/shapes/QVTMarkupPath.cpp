#include "toolkit/markup/shapes/QVTMarkupPath.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/draw/QVTMarkupDrawingContext.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupKeywords.h"
#include "toolkit/markup/values/QVTMarkupThickness.h"
#include "toolkit/markup/values/QVTMarkupValues.h"
#include "toolkit/markup/values/QVTMarkupPathData.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupPath, CQVTMarkupShape, u"Path", &CQVTMarkupPath::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupPath::m_pDataProperty = nullptr;

using namespace QVTMarkupAutomation;

void AFX_CDECL CQVTMarkupPath::RegisterMarkupProperties()
{
    CQVTMarkupPathData::EnsureMarkupClass();
    m_pDataProperty = CQVTMarkupDependencyProperty::Register(
        u"Data", CQVTMarkupPathData::GetMarkupType(), GetMarkupType(),
        new CQVTMarkupPropertyMetadata(nullptr, QVT_MARKUP_AFFECTS_MEASURE));
}

void CQVTMarkupPath::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    if (CQVTMarkupPathData* pData = MarkupCast<CQVTMarkupPathData>(pContent))
    {
        pData->InternalAddRef();
        SetValue(m_pDataProperty, pData);
        return;
    }
    CQVTMarkupShape::SetContentObject(pBuilder, pContent);
}

CQVTMarkupPathData* CQVTMarkupPath::GetData()
{
    return MarkupCast<CQVTMarkupPathData>(GetValue(m_pDataProperty));
}

SIZE CQVTMarkupPath::MeasureOverride(CQVTMarkupDrawingContext*, SIZE szAvailable)
{
    CQVTMarkupPathData* pData = GetData();
    if (pData == nullptr || pData->GetCount() == 0)
        return SIZE{0, 0};
    return MeasureBounds(pData->GetBounds(), szAvailable, FALSE);
}

void CQVTMarkupPath::OnRender(CQVTMarkupDrawingContext* pDC)
{
    CQVTMarkupStroke stroke;
    GetStroke(&stroke);
    CQVTMarkupBrush* pFill = GetFill();
    CQVTMarkupPathData* pData = GetData();
    if ((stroke.pBrush == nullptr && pFill == nullptr) || pData == nullptr)
        return;
    if (!IsStretched())
    {
        pDC->DrawPath(pData, &stroke, pFill);
        return;
    }
    CQVTMarkupAutoPtr stretched(pData->GetStretchedData(GetRenderSize()));
    pDC->DrawPath(static_cast<CQVTMarkupPathData*>(stretched.Get()), &stroke, pFill);
}
