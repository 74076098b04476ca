#include "toolkit/markup/transforms/QVTMarkupTransform.h"

#include "toolkit/markup/core/QVTMarkupAutomation.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/draw/QVTMarkupTransformationMatrix.h"
#include "toolkit/markup/elements/QVTMarkupUIElement.h"
#include "toolkit/markup/transforms/QVTMarkupRenderTransform.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupTransform, CQVTMarkupObject, nullptr, nullptr)

using namespace QVTGdiPlus;

// Transform base

CQVTMarkupTransform::CQVTMarkupTransform() : m_pOwner(nullptr) {}

double CQVTMarkupTransform::GetDouble(CQVTMarkupDependencyProperty* pProperty)
{
    return QVTMarkupAutomation::GetDouble(this, pProperty, 0.0);
}

CQVTMarkupDependencyProperty* CQVTMarkupTransform::RegisterDoubleProperty(LPCWSTR lpszName,
                                                                          CQVTMarkupType* pOwner,
                                                                          DWORD dwFlags)
{
    CQVTMarkupDouble::EnsureMarkupClass();
    return CQVTMarkupDependencyProperty::Register(lpszName, CQVTMarkupDouble::GetMarkupType(), pOwner,
                                                  new CQVTMarkupPropertyMetadata(nullptr, dwFlags));
}

void CQVTMarkupTransform::OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty,
                                            CQVTMarkupObject* pOldValue, CQVTMarkupObject* pNewValue)
{
    CQVTMarkupRenderTransform* pHolder = MarkupCast<CQVTMarkupRenderTransform>(m_pOwner);
    if (CQVTMarkupUIElement* pElement =
            MarkupCast<CQVTMarkupUIElement>(pHolder != nullptr ? pHolder->GetOwner() : nullptr))
        pElement->InvalidateMeasure();
    CQVTMarkupObject::OnPropertyChanged(pProperty, pOldValue, pNewValue);
}

void CQVTMarkupTransform::SetOwnerObject(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOwner)
{
    m_pOwner = pOwner;
    CQVTMarkupObject::SetOwnerObject(pProperty, pOwner);
}

CQVTMarkupTransformationMatrix* CQVTMarkupTransform::CreateMatrix(CQVTMarkupTransformationMatrix*)
{
    return nullptr;
}

// GDI+ transforms

CQVTMarkupTransformationMatrix* CQVTMarkupGdiPlusTransformObjectImpl::CreateGdiPlusMatrix(
    CQVTMarkupTransformationMatrix* pCurrent)
{
    CQVTMarkupGdiPlusTransformationMatrix* pGdiPlus =
        DYNAMIC_DOWNCAST(CQVTMarkupGdiPlusTransformationMatrix, pCurrent);
    if (pGdiPlus == nullptr)
        return nullptr;
    CGpMatrix matrix = CloneMatrix(pGdiPlus->GetMatrix());
    if (!matrix || !ApplyTo(matrix))
        return nullptr;
    return new CQVTMarkupGdiPlusTransformationMatrix(matrix.Detach());
}
