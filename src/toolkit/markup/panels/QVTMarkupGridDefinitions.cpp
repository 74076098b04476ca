#include "toolkit/markup/panels/QVTMarkupGridDefinitions.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include <cmath>

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupGridLength, CQVTMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupDefinitionBase, CQVTMarkupFrameworkContentElement, u"DefinitionBase", nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupColumnDefinition, CQVTMarkupDefinitionBase, u"ColumnDefinition",
                      &CQVTMarkupColumnDefinition::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupRowDefinition, CQVTMarkupDefinitionBase, u"RowDefinition",
                      &CQVTMarkupRowDefinition::RegisterMarkupProperties)
IMPLEMENT_MARKUPCLASS(CQVTMarkupDefinitionCollection, CQVTMarkupCollection, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupColumnDefinitionCollection, CQVTMarkupDefinitionCollection, nullptr, nullptr)
IMPLEMENT_MARKUPCLASS(CQVTMarkupRowDefinitionCollection, CQVTMarkupDefinitionCollection, nullptr, nullptr)

CQVTMarkupDependencyProperty* CQVTMarkupColumnDefinition::m_pWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupColumnDefinition::m_pMinWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupColumnDefinition::m_pMaxWidthProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRowDefinition::m_pHeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRowDefinition::m_pMinHeightProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupRowDefinition::m_pMaxHeightProperty = nullptr;

// Grid length

BOOL CQVTMarkupGridLength::IsEqual(CQVTMarkupObject* pObject)
{
    CQVTMarkupGridLength* pOther = MarkupCast<CQVTMarkupGridLength>(pObject);
    return pOther != nullptr && pOther->m_dValue == m_dValue && pOther->m_unitType == m_unitType;
}

CQVTMarkupObject* CQVTMarkupGridLength::ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr || pString->GetLength() < 1)
        return nullptr;
    LPCWSTR lpszText = pString->GetText();
    const int nLength = pString->GetLength();
    if (nLength == 4 && pString->IsEqualNoCase(u"Auto"))
        return new CQVTMarkupGridLength(1.0, qvtGridAuto);
    const BOOL bStar = lpszText[nLength - 1] == u'*';
    if (bStar && nLength == 1)
        return new CQVTMarkupGridLength(1.0, qvtGridStar);
    double dValue = 0.0;
    if (!CQVTMarkupBuilder::ReadNumber(bStar ? CString(lpszText, nLength - 1).GetString() : lpszText,
                                       dValue) ||
        !std::isfinite(dValue))
        return nullptr;
    if (CQVTMarkupContext* pContext = GetConversionContext(pBuilder))
        dValue = pContext->ScaleXDouble(dValue);
    return new CQVTMarkupGridLength(dValue, bStar ? qvtGridStar : qvtGridPixel);
}

// Definitions

CQVTMarkupDefinitionBase::CQVTMarkupDefinitionBase(BOOL bColumn)
    : m_nMinSize(0), m_nSizeType(qvtLayoutNone), m_dMeasureSize(0.0), m_dSizeCache(0.0), m_nFinalOffset(0),
      m_bColumn(bColumn)
{
}

CQVTMarkupGridLength* CQVTMarkupDefinitionBase::GetUserSize()
{
    static CQVTMarkupGridLength* s_pOneStar = new CQVTMarkupGridLength(1.0, qvtGridStar);
    CQVTMarkupGridLength* pLength =
        MarkupCast<CQVTMarkupGridLength>(GetValue(m_bColumn ? CQVTMarkupColumnDefinition::m_pWidthProperty
                                                            : CQVTMarkupRowDefinition::m_pHeightProperty));
    return pLength != nullptr ? pLength : s_pOneStar;
}

int CQVTMarkupDefinitionBase::GetUserMinSize()
{
    CQVTMarkupInt* pValue =
        MarkupCast<CQVTMarkupInt>(GetValue(m_bColumn ? CQVTMarkupColumnDefinition::m_pMinWidthProperty
                                                     : CQVTMarkupRowDefinition::m_pMinHeightProperty));
    return pValue != nullptr ? pValue->GetValue() : 0;
}

BOOL CQVTMarkupDefinitionBase::HasUserMaxSize()
{
    return MarkupCast<CQVTMarkupInt>(GetValue(m_bColumn ? CQVTMarkupColumnDefinition::m_pMaxWidthProperty
                                                        : CQVTMarkupRowDefinition::m_pMaxHeightProperty)) !=
           nullptr;
}

int CQVTMarkupDefinitionBase::GetUserMaxSize()
{
    CQVTMarkupInt* pValue =
        MarkupCast<CQVTMarkupInt>(GetValue(m_bColumn ? CQVTMarkupColumnDefinition::m_pMaxWidthProperty
                                                     : CQVTMarkupRowDefinition::m_pMaxHeightProperty));
    return pValue != nullptr ? pValue->GetValue() : INT_MAX;
}

int CQVTMarkupDefinitionBase::GetPreferredSize() const
{
    if (m_nSizeType == qvtLayoutAuto)
        return m_nMinSize;
    const double dPreferred = std::max<double>(m_dMeasureSize, m_nMinSize);
    return dPreferred >= INT_MAX ? INT_MAX : static_cast<int>(dPreferred);
}

void CQVTMarkupDefinitionBase::OnBeforeLayout()
{
    m_nMinSize = 0;
    m_nSizeType = qvtLayoutNone;
    m_dMeasureSize = 0.0;
}

void AFX_CDECL CQVTMarkupDefinitionBase::OnDefinitionChanged(CQVTMarkupObject* pObject,
                                                             CQVTMarkupPropertyChangedEventArgs*)
{
    if (MarkupCast<CQVTMarkupDefinitionBase>(pObject) == nullptr || pObject->GetLogicalParent() == nullptr)
        return;
    if (CQVTMarkupGrid* pGrid = MarkupCast<CQVTMarkupGrid>(pObject->GetLogicalParent()->GetLogicalParent()))
        pGrid->InvalidateMeasure();
}

void AFX_CDECL CQVTMarkupColumnDefinition::RegisterMarkupProperties()
{
    CQVTMarkupGridLength::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"Width", CQVTMarkupGridLength::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupGridLength(1.0, qvtGridStar), &OnDefinitionChanged, 0));
    m_pMinWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"MinWidth", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &OnDefinitionChanged, QVT_MARKUP_SCALE_X));
    m_pMaxWidthProperty = CQVTMarkupDependencyProperty::Register(
        u"MaxWidth", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &OnDefinitionChanged, QVT_MARKUP_SCALE_X));
}

void AFX_CDECL CQVTMarkupRowDefinition::RegisterMarkupProperties()
{
    CQVTMarkupGridLength::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    m_pHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"Height", CQVTMarkupGridLength::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupGridLength(1.0, qvtGridStar), &OnDefinitionChanged, 0));
    m_pMinHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"MinHeight", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &OnDefinitionChanged, QVT_MARKUP_SCALE_Y));
    m_pMaxHeightProperty = CQVTMarkupDependencyProperty::Register(
        u"MaxHeight", CQVTMarkupInt::GetMarkupType(), pType,
        new CQVTMarkupPropertyMetadata(nullptr, &OnDefinitionChanged, QVT_MARKUP_SCALE_Y));
}

// Collections

CQVTMarkupDefinitionCollection::CQVTMarkupDefinitionCollection(CQVTMarkupType* pItemType)
    : CQVTMarkupCollection(pItemType != nullptr ? pItemType : CQVTMarkupDefinitionBase::GetMarkupType())
{
}

CQVTMarkupDefinitionBase* CQVTMarkupDefinitionCollection::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? static_cast<CQVTMarkupDefinitionBase*>(m_arrItems[nIndex])
                                              : nullptr;
}

void CQVTMarkupDefinitionCollection::OnChanged()
{
    if (CQVTMarkupGrid* pGrid = MarkupCast<CQVTMarkupGrid>(GetLogicalParent()))
        pGrid->InvalidateMeasure();
}

CQVTMarkupColumnDefinitionCollection::CQVTMarkupColumnDefinitionCollection()
    : CQVTMarkupDefinitionCollection(CQVTMarkupColumnDefinition::GetMarkupType())
{
}

CQVTMarkupRowDefinitionCollection::CQVTMarkupRowDefinitionCollection()
    : CQVTMarkupDefinitionCollection(CQVTMarkupRowDefinition::GetMarkupType())
{
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupColumnDefinition, CQVTMarkupDefinitionBase)
    DISP_PROPERTY_EX_ID(CQVTMarkupColumnDefinition, "Width", 500, GetSizeMember, SetSizeMember, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupColumnDefinition, "MinWidth", 501, GetMinSizeMember, SetMinSizeMember,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupColumnDefinition, "MaxWidth", 502, GetMaxSizeMember, SetMaxSizeMember,
                        VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupColumnDefinition, "UnitType", 503, GetUnitTypeMember, SetUnitTypeMember,
                        VT_I4)
END_DISPATCH_MAP()

BEGIN_DISPATCH_MAP(CQVTMarkupRowDefinition, CQVTMarkupDefinitionBase)
    DISP_PROPERTY_EX_ID(CQVTMarkupRowDefinition, "Height", 500, GetSizeMember, SetSizeMember, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupRowDefinition, "MinHeight", 501, GetMinSizeMember, SetMinSizeMember, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupRowDefinition, "MaxHeight", 502, GetMaxSizeMember, SetMaxSizeMember, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupRowDefinition, "UnitType", 503, GetUnitTypeMember, SetUnitTypeMember, VT_I4)
END_DISPATCH_MAP()

BEGIN_DISPATCH_MAP(CQVTMarkupDefinitionCollection, CQVTMarkupCollection)
    QVT_MARKUP_COLLECTION_DISPATCH(CQVTMarkupDefinitionCollection)
END_DISPATCH_MAP()

CQVTMarkupDependencyProperty* CQVTMarkupDefinitionBase::GetSizeProperty() const
{
    return m_bColumn ? CQVTMarkupColumnDefinition::m_pWidthProperty
                     : CQVTMarkupRowDefinition::m_pHeightProperty;
}

CQVTMarkupDependencyProperty* CQVTMarkupDefinitionBase::GetMinSizeProperty() const
{
    return m_bColumn ? CQVTMarkupColumnDefinition::m_pMinWidthProperty
                     : CQVTMarkupRowDefinition::m_pMinHeightProperty;
}

CQVTMarkupDependencyProperty* CQVTMarkupDefinitionBase::GetMaxSizeProperty() const
{
    return m_bColumn ? CQVTMarkupColumnDefinition::m_pMaxWidthProperty
                     : CQVTMarkupRowDefinition::m_pMaxHeightProperty;
}

long CQVTMarkupDefinitionBase::GetSizeMember()
{
    return MarkupTruncate(GetUserSize()->GetValue());
}

void CQVTMarkupDefinitionBase::SetSizeMember(long nValue)
{
    SetValue(GetSizeProperty(), new CQVTMarkupGridLength(nValue, qvtGridPixel));
}

long CQVTMarkupDefinitionBase::GetUnitTypeMember()
{
    return GetUserSize()->GetUnitType();
}

void CQVTMarkupDefinitionBase::SetUnitTypeMember(long nValue)
{
    if (nValue < qvtGridAuto || nValue > qvtGridStar)
        AfxThrowOleException(E_INVALIDARG);
    SetValue(GetSizeProperty(), new CQVTMarkupGridLength(MarkupTruncate(GetUserSize()->GetValue()),
                                                         static_cast<QVTMarkupGridUnitType>(nValue)));
}

long CQVTMarkupDefinitionBase::GetMinSizeMember()
{
    return GetUserMinSize();
}

void CQVTMarkupDefinitionBase::SetMinSizeMember(long nValue)
{
    QVTMarkupAutomation::SetInt(this, GetMinSizeProperty(), nValue);
}

long CQVTMarkupDefinitionBase::GetMaxSizeMember()
{
    return GetUserMaxSize();
}

void CQVTMarkupDefinitionBase::SetMaxSizeMember(long nValue)
{
    QVTMarkupAutomation::SetInt(this, GetMaxSizeProperty(), nValue);
}
