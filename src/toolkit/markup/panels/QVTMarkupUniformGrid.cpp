#include "toolkit/markup/panels/QVTMarkupUniformGrid.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include <cmath>

#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupUniformGrid, CQVTMarkupPanel, u"UniformGrid",
                      &CQVTMarkupUniformGrid::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupUniformGrid::m_pFirstColumnProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUniformGrid::m_pColumnsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupUniformGrid::m_pRowsProperty = nullptr;

void AFX_CDECL CQVTMarkupUniformGrid::RegisterMarkupProperties()
{
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    m_pFirstColumnProperty = CQVTMarkupDependencyProperty::Register(
        u"FirstColumn", pIntType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(0), QVT_MARKUP_AFFECTS_MEASURE));
    m_pColumnsProperty = CQVTMarkupDependencyProperty::Register(
        u"Columns", pIntType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(0), QVT_MARKUP_AFFECTS_MEASURE));
    m_pRowsProperty = CQVTMarkupDependencyProperty::Register(
        u"Rows", pIntType, pType,
        new CQVTMarkupPropertyMetadata(new CQVTMarkupInt(0), QVT_MARKUP_AFFECTS_MEASURE));
}

CQVTMarkupUniformGrid::CQVTMarkupUniformGrid() : m_nColumns(1), m_nRows(1), m_nFirstColumn(0) {}

void CQVTMarkupUniformGrid::UpdateComputedValues()
{
    auto read = [this](CQVTMarkupDependencyProperty* pProperty) {
        CQVTMarkupInt* pValue = MarkupCast<CQVTMarkupInt>(GetValue(pProperty));
        // Negative counts mean nothing: they are taken as unset, never divided by.
        return pValue != nullptr ? std::max(pValue->GetValue(), 0) : 0;
    };
    __int64 nColumns = read(m_pColumnsProperty);
    __int64 nRows = read(m_pRowsProperty);
    __int64 nFirst = read(m_pFirstColumnProperty);
    if (nFirst >= nColumns)
        nFirst = 0;
    if (nRows == 0 || nColumns == 0)
    {
        __int64 n = 0;
        for (int i = 0; i < GetChildCount(); ++i)
        {
            CQVTMarkupUIElement* pChild = GetChild(i);
            if (pChild != nullptr && pChild->GetVisibility() != qvtVisibilityCollapsed)
                ++n;
        }
        n = std::max<__int64>(n, 1);
        if (nRows != 0)
            nColumns = (n + nRows - 1) / nRows;
        else if (nColumns < 1)
        {
            nRows = static_cast<__int64>(std::sqrt(static_cast<double>(n)));
            while (nRows * nRows > n)
                --nRows;
            if (nRows * nRows >= n)
                nColumns = nRows;
            else
                nRows = nColumns = nRows + 1;
        }
        else
            nRows = (nFirst + n + nColumns - 1) / nColumns;
    }
    m_nColumns = MarkupSaturate(std::max<__int64>(nColumns, 1));
    m_nRows = MarkupSaturate(std::max<__int64>(nRows, 1));
    m_nFirstColumn = MarkupSaturate(nFirst);
}

SIZE CQVTMarkupUniformGrid::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    UpdateComputedValues();
    const SIZE szCell = {szAvailable.cx / m_nColumns, szAvailable.cy / m_nRows};
    int nMaxWidth = 0, nMaxHeight = 0;
    BOOL bAny = FALSE;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        bAny = TRUE;
        pChild->Measure(pDC, szCell);
        nMaxWidth = std::max(nMaxWidth, pChild->GetDesiredSize().cx);
        nMaxHeight = std::max(nMaxHeight, pChild->GetDesiredSize().cy);
    }
    if (!bAny)
        return SIZE{0, 0};
    return SIZE{MarkupSaturate(__int64(m_nColumns) * nMaxWidth),
                MarkupSaturate(__int64(m_nRows) * nMaxHeight)};
}

SIZE CQVTMarkupUniformGrid::ArrangeOverride(SIZE szFinal)
{
    const int nCellWidth = szFinal.cx / m_nColumns, nCellHeight = szFinal.cy / m_nRows;
    __int64 x = __int64(m_nFirstColumn) * nCellWidth, y = 0;
    for (int i = 0; i < GetChildCount(); ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        pChild->Arrange(RECT{MarkupSaturate(x), MarkupSaturate(y), MarkupSaturate(x + nCellWidth),
                             MarkupSaturate(y + nCellHeight)});
        if (pChild->GetVisibility() == qvtVisibilityCollapsed)
            continue;
        x += nCellWidth;
        if (x + nCellWidth > szFinal.cx)
        {
            x = 0;
            y += nCellHeight;
        }
    }
    return szFinal;
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupUniformGrid, CQVTMarkupPanel)
    DISP_PROPERTY_EX_ID(CQVTMarkupUniformGrid, "Columns", 600, GetColumnsProperty, SetColumnsProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupUniformGrid, "Rows", 601, GetRowsProperty, SetRowsProperty, VT_I4)
    DISP_PROPERTY_EX_ID(CQVTMarkupUniformGrid, "FirstColumn", 602, GetFirstColumnProperty,
                        SetFirstColumnProperty, VT_I4)
END_DISPATCH_MAP()

long CQVTMarkupUniformGrid::GetColumnsProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pColumnsProperty, 0);
}

void CQVTMarkupUniformGrid::SetColumnsProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pColumnsProperty, nValue);
}

long CQVTMarkupUniformGrid::GetRowsProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pRowsProperty, 0);
}

void CQVTMarkupUniformGrid::SetRowsProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pRowsProperty, nValue);
}

long CQVTMarkupUniformGrid::GetFirstColumnProperty()
{
    return QVTMarkupAutomation::GetInt(this, m_pFirstColumnProperty, 0);
}

void CQVTMarkupUniformGrid::SetFirstColumnProperty(long nValue)
{
    QVTMarkupAutomation::SetInt(this, m_pFirstColumnProperty, nValue);
}
