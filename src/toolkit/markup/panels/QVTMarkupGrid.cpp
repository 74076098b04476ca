#include "toolkit/markup/panels/QVTMarkupGrid.h"
#include "toolkit/markup/core/QVTMarkupAutomation.h"

#include <algorithm>
#include <cmath>

#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupSaturate.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupGrid, CQVTMarkupPanel, u"Grid", &CQVTMarkupGrid::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pColumnDefinitionsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pRowDefinitionsProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pColumnProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pRowProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pColumnSpanProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupGrid::m_pRowSpanProperty = nullptr;

namespace {
int ReadAttached(CQVTMarkupObject* pElement, CQVTMarkupDependencyProperty* pProperty, int nDefault)
{
    CQVTMarkupInt* pValue =
        pElement != nullptr ? MarkupCast<CQVTMarkupInt>(pElement->GetValue(pProperty)) : nullptr;
    return pValue != nullptr ? pValue->GetValue() : nDefault;
}

// The star factor a definition takes; a negative one counts as none.
double StarValue(CQVTMarkupDefinitionBase* pDefinition)
{
    return std::max(0.0, pDefinition->GetUserSize()->GetValue());
}

BOOL IsUserAuto(CQVTMarkupDefinitionBase* pDefinition)
{
    return pDefinition->GetUserSize()->GetUnitType() == qvtGridAuto;
}

BOOL IsUserStar(CQVTMarkupDefinitionBase* pDefinition)
{
    return pDefinition->GetUserSize()->GetUnitType() == qvtGridStar;
}

// The first step of the star distributions: each star definition's weight in
// MeasureSize and its sort key in SizeCache.
void PrepareStar(CQVTMarkupDefinitionBase* pDefinition)
{
    const double v = StarValue(pDefinition);
    if (v != 0.0)
    {
        const int nUserMax = pDefinition->GetUserMaxSize();
        const double dMax = pDefinition->HasUserMaxSize() && nUserMax >= pDefinition->m_nMinSize
                                ? nUserMax
                                : pDefinition->m_nMinSize;
        pDefinition->m_dMeasureSize = v;
        pDefinition->m_dSizeCache = dMax / v;
    }
    else
    {
        pDefinition->m_dMeasureSize = 0.0;
        pDefinition->m_dSizeCache = 0.0;
    }
}

// Sorts the star definitions by their key, turns each key into the weight of
// itself and all after it, and resolves each share of what is left.
// Returns the space the stars took.
double DistributeStars(std::vector<CQVTMarkupDefinitionBase*>& stars, double dAvailable, double dTaken,
                       BOOL bIntoSizeCache)
{
    std::sort(stars.begin(), stars.end(), [](CQVTMarkupDefinitionBase* a, CQVTMarkupDefinitionBase* b) {
        return a->m_dSizeCache < b->m_dSizeCache;
    });
    double dSum = 0.0;
    for (auto it = stars.rbegin(); it != stars.rend(); ++it)
    {
        dSum += (*it)->m_dMeasureSize;
        (*it)->m_dSizeCache = dSum;
    }
    double dUsed = 0.0;
    for (CQVTMarkupDefinitionBase* pDefinition : stars)
    {
        const double v = pDefinition->m_dMeasureSize;
        int nResolved = pDefinition->m_nMinSize;
        if (v != 0.0 && pDefinition->m_dSizeCache > 0.0)
        {
            nResolved = MarkupTruncate(v / pDefinition->m_dSizeCache * std::max(dAvailable - dTaken, 0.0));
            const int nUserMax = pDefinition->GetUserMaxSize();
            if (nResolved >= nUserMax)
                nResolved = nUserMax;
            nResolved = std::max(nResolved, pDefinition->m_nMinSize);
        }
        if (bIntoSizeCache)
            pDefinition->m_dSizeCache = nResolved;
        else
            pDefinition->m_dMeasureSize = nResolved;
        dTaken += nResolved;
        dUsed += nResolved;
    }
    return dUsed;
}
}  // namespace

void AFX_CDECL CQVTMarkupGrid::RegisterMarkupProperties()
{
    CQVTMarkupColumnDefinitionCollection::EnsureMarkupClass();
    CQVTMarkupRowDefinitionCollection::EnsureMarkupClass();
    CQVTMarkupColumnDefinition::EnsureMarkupClass();
    CQVTMarkupRowDefinition::EnsureMarkupClass();
    CQVTMarkupInt::EnsureMarkupClass();
    CQVTMarkupType* pType = GetMarkupType();
    CQVTMarkupType* pIntType = CQVTMarkupInt::GetMarkupType();
    m_pColumnDefinitionsProperty = CQVTMarkupDependencyProperty::Register(
        u"ColumnDefinitions", CQVTMarkupColumnDefinitionCollection::GetMarkupType(), pType);
    m_pRowDefinitionsProperty = CQVTMarkupDependencyProperty::Register(
        u"RowDefinitions", CQVTMarkupRowDefinitionCollection::GetMarkupType(), pType);
    m_pColumnProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Column", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &OnCellChanged, 0));
    m_pRowProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"Row", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &OnCellChanged, 0));
    m_pColumnSpanProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"ColumnSpan", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &OnCellChanged, 0));
    m_pRowSpanProperty = CQVTMarkupDependencyProperty::RegisterAttached(
        u"RowSpan", pIntType, pType, new CQVTMarkupPropertyMetadata(nullptr, &OnCellChanged, 0));
}

void AFX_CDECL CQVTMarkupGrid::OnCellChanged(CQVTMarkupObject* pObject, CQVTMarkupPropertyChangedEventArgs*)
{
    CQVTMarkupUIElement* pElement = MarkupCast<CQVTMarkupUIElement>(pObject);
    if (pElement == nullptr)
        return;
    if (CQVTMarkupGrid* pGrid = MarkupCast<CQVTMarkupGrid>(pElement->GetVisualParent()))
        pGrid->InvalidateMeasure();
}

CQVTMarkupGrid::CQVTMarkupGrid()
    : m_pRows(new CQVTMarkupRowDefinitionCollection()),
      m_pColumns(new CQVTMarkupColumnDefinitionCollection()), m_nGroupHeads{kEmptyGroup, kEmptyGroup,
                                                                            kEmptyGroup, kEmptyGroup},
      m_bStarColumnCells(FALSE), m_bStarRowCells(FALSE), m_bAutoRowGroup3(FALSE), m_pColumnsInUse(nullptr),
      m_pRowsInUse(nullptr)
{
    m_pRows->SetLogicalParent(this);
    m_pColumns->SetLogicalParent(this);
}

CQVTMarkupGrid::~CQVTMarkupGrid()
{
    for (CQVTMarkupDefinitionCollection* pCollection :
         {static_cast<CQVTMarkupDefinitionCollection*>(m_pRows),
          static_cast<CQVTMarkupDefinitionCollection*>(m_pColumns)})
    {
        if (pCollection->GetLogicalParent() == this)
            pCollection->SetLogicalParent(nullptr);
        pCollection->InternalRelease();
    }
    if (m_pColumnsInUse != nullptr)
        m_pColumnsInUse->InternalRelease();
    if (m_pRowsInUse != nullptr)
        m_pRowsInUse->InternalRelease();
}

void CQVTMarkupGrid::SetPropertyObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupDependencyProperty* pProperty,
                                       CQVTMarkupObject* pValue)
{
    if (pProperty != nullptr && pProperty == m_pColumnDefinitionsProperty)
    {
        CQVTMarkupColumnDefinitionCollection* pColumns =
            MarkupCast<CQVTMarkupColumnDefinitionCollection>(pValue);
        if (pColumns == nullptr)
            CQVTMarkupBuilder::ThrowBuilderError(u"CQVTMarkupColumnDefinitionCollection class expected");
        pColumns->InternalAddRef();
        m_pColumns->SetLogicalParent(nullptr);
        m_pColumns->InternalRelease();
        m_pColumns = pColumns;
        m_pColumns->SetLogicalParent(this);
        return;
    }
    if (pProperty != nullptr && pProperty == m_pRowDefinitionsProperty)
    {
        CQVTMarkupRowDefinitionCollection* pRows = MarkupCast<CQVTMarkupRowDefinitionCollection>(pValue);
        if (pRows == nullptr)
            CQVTMarkupBuilder::ThrowBuilderError(u"CQVTMarkupRowDefinitionCollection class expected");
        pRows->InternalAddRef();
        m_pRows->SetLogicalParent(nullptr);
        m_pRows->InternalRelease();
        m_pRows = pRows;
        m_pRows->SetLogicalParent(this);
        return;
    }
    CQVTMarkupPanel::SetPropertyObject(pBuilder, pProperty, pValue);
}

// Attached cell properties

int AFX_CDECL CQVTMarkupGrid::GetColumn(CQVTMarkupObject* pElement)
{
    return ReadAttached(pElement, m_pColumnProperty, 0);
}

int AFX_CDECL CQVTMarkupGrid::GetRow(CQVTMarkupObject* pElement)
{
    return ReadAttached(pElement, m_pRowProperty, 0);
}

int AFX_CDECL CQVTMarkupGrid::GetColumnSpan(CQVTMarkupObject* pElement)
{
    return std::max(ReadAttached(pElement, m_pColumnSpanProperty, 1), 1);
}

int AFX_CDECL CQVTMarkupGrid::GetRowSpan(CQVTMarkupObject* pElement)
{
    return std::max(ReadAttached(pElement, m_pRowSpanProperty, 1), 1);
}

void AFX_CDECL CQVTMarkupGrid::SetColumn(CQVTMarkupObject* pElement, int nValue)
{
    if (pElement != nullptr)
        pElement->SetValue(m_pColumnProperty, new CQVTMarkupInt(nValue));
}

void AFX_CDECL CQVTMarkupGrid::SetRow(CQVTMarkupObject* pElement, int nValue)
{
    if (pElement != nullptr)
        pElement->SetValue(m_pRowProperty, new CQVTMarkupInt(nValue));
}

void AFX_CDECL CQVTMarkupGrid::SetColumnSpan(CQVTMarkupObject* pElement, int nValue)
{
    if (pElement != nullptr)
        pElement->SetValue(m_pColumnSpanProperty, new CQVTMarkupInt(nValue));
}

void AFX_CDECL CQVTMarkupGrid::SetRowSpan(CQVTMarkupObject* pElement, int nValue)
{
    if (pElement != nullptr)
        pElement->SetValue(m_pRowSpanProperty, new CQVTMarkupInt(nValue));
}

// Measure

SIZE CQVTMarkupGrid::MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable)
{
    if (m_pColumns->GetCount() == 0 && m_pRows->GetCount() == 0)
    {
        // Without definitions the grid overlays its children.
        m_cells.clear();
        SIZE szDesired = {0, 0};
        for (int i = 0; i < GetChildCount(); ++i)
        {
            CQVTMarkupUIElement* pChild = GetChild(i);
            if (pChild == nullptr)
                continue;
            pChild->Measure(pDC, szAvailable);
            szDesired.cx = std::max(szDesired.cx, pChild->GetDesiredSize().cx);
            szDesired.cy = std::max(szDesired.cy, pChild->GetDesiredSize().cy);
        }
        return szDesired;
    }
    ValidateDefinitionsStructure();
    ValidateDefinitionsLayout(m_pColumnsInUse, szAvailable.cx > kStarLimit);
    ValidateDefinitionsLayout(m_pRowsInUse, szAvailable.cy > kStarLimit);
    ValidateCells();

    const int nCount = static_cast<int>(m_cells.size());
    MeasureCellsGroup(pDC, m_nGroupHeads[0], FALSE, FALSE);
    if (!m_bAutoRowGroup3)
    {
        if (m_bStarRowCells)
        {
            ResolveStar(m_pRowsInUse, szAvailable.cy);
            MeasureCellsGroup(pDC, m_nGroupHeads[1], FALSE, FALSE);
        }
        if (m_bStarColumnCells)
        {
            ResolveStar(m_pColumnsInUse, szAvailable.cx);
            MeasureCellsGroup(pDC, m_nGroupHeads[2], FALSE, FALSE);
        }
    }
    else if (m_nGroupHeads[1] > nCount)
    {
        if (m_bStarColumnCells)
        {
            ResolveStar(m_pColumnsInUse, szAvailable.cx);
            MeasureCellsGroup(pDC, m_nGroupHeads[2], FALSE, FALSE);
        }
        if (m_bStarRowCells)
            ResolveStar(m_pRowsInUse, szAvailable.cy);
    }
    else
    {
        MeasureCellsGroup(pDC, m_nGroupHeads[1], FALSE, TRUE);
        if (m_bStarColumnCells)
        {
            ResolveStar(m_pColumnsInUse, szAvailable.cx);
            MeasureCellsGroup(pDC, m_nGroupHeads[2], FALSE, FALSE);
        }
        if (m_bStarRowCells)
            ResolveStar(m_pRowsInUse, szAvailable.cy);
        MeasureCellsGroup(pDC, m_nGroupHeads[1], TRUE, FALSE);
    }
    MeasureCellsGroup(pDC, m_nGroupHeads[3], FALSE, FALSE);
    return SIZE{CalculateDesiredSize(m_pColumnsInUse), CalculateDesiredSize(m_pRowsInUse)};
}

void CQVTMarkupGrid::ValidateDefinitionsStructure()
{
    auto choose = [](CQVTMarkupDefinitionCollection*& pInUse, CQVTMarkupDefinitionCollection* pUser,
                     BOOL bColumn) {
        if (pInUse != nullptr)
            pInUse->InternalRelease();
        if (pUser->GetCount() > 0)
        {
            pUser->InternalAddRef();
            pInUse = pUser;
            return;
        }
        // One implicit star definition.
        if (bColumn)
        {
            pInUse = new CQVTMarkupColumnDefinitionCollection();
            pInUse->Add(new CQVTMarkupColumnDefinition());
        }
        else
        {
            pInUse = new CQVTMarkupRowDefinitionCollection();
            pInUse->Add(new CQVTMarkupRowDefinition());
        }
    };
    choose(m_pColumnsInUse, m_pColumns, TRUE);
    choose(m_pRowsInUse, m_pRows, FALSE);
}

void AFX_CDECL CQVTMarkupGrid::ValidateDefinitionsLayout(CQVTMarkupDefinitionCollection* pDefinitions,
                                                         BOOL bStarsAsAuto)
{
    for (int i = 0; i < pDefinitions->GetCount(); ++i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        pDefinition->OnBeforeLayout();
        int nUserMin = pDefinition->GetUserMinSize();
        const int nUserMax = pDefinition->GetUserMaxSize();
        int nUserSize = INT_MAX;
        CQVTMarkupGridLength* pLength = pDefinition->GetUserSize();
        switch (pLength->GetUnitType())
        {
        case qvtGridAuto:
            pDefinition->m_nSizeType = qvtLayoutAuto;
            break;
        case qvtGridPixel:
            pDefinition->m_nSizeType = qvtLayoutPixel;
            nUserSize = MarkupTruncate(pLength->GetValue());
            nUserMin = std::max(nUserMin, std::min(nUserSize, nUserMax));
            break;
        default:
            pDefinition->m_nSizeType = bStarsAsAuto ? qvtLayoutAuto : qvtLayoutStar;
            break;
        }
        pDefinition->UpdateMinSize(nUserMin);
        pDefinition->m_dMeasureSize = std::max(std::min(nUserSize, nUserMax), nUserMin);
    }
}

void CQVTMarkupGrid::ValidateCells()
{
    const int nCount = GetChildCount();
    m_cells.assign(nCount, CCell{0, 0, 1, 1, 0, 0, kEmptyGroup});
    for (int& nHead : m_nGroupHeads)
        nHead = kEmptyGroup;
    m_bStarColumnCells = m_bStarRowCells = m_bAutoRowGroup3 = FALSE;
    const int nColumns = m_pColumnsInUse->GetCount(), nRows = m_pRowsInUse->GetCount();
    for (int i = nCount - 1; i >= 0; --i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        CCell& cell = m_cells[i];
        // A negative index would reach before the definitions: it is the first.
        cell.nColumn = std::clamp(GetColumn(pChild), 0, nColumns - 1);
        cell.nRow = std::clamp(GetRow(pChild), 0, nRows - 1);
        cell.nColumnSpan = std::min(GetColumnSpan(pChild), nColumns - cell.nColumn);
        cell.nRowSpan = std::min(GetRowSpan(pChild), nRows - cell.nRow);
        cell.nColumnTypes = GetLengthTypeForRange(m_pColumnsInUse, cell.nColumn, cell.nColumnSpan);
        cell.nRowTypes = GetLengthTypeForRange(m_pRowsInUse, cell.nRow, cell.nRowSpan);
        m_bStarColumnCells |= (cell.nColumnTypes & qvtLayoutStar) != 0;
        m_bStarRowCells |= (cell.nRowTypes & qvtLayoutStar) != 0;
        int nGroup = 0;
        if (cell.nRowTypes & qvtLayoutStar)
            nGroup = (cell.nColumnTypes & qvtLayoutAuto) && !(cell.nColumnTypes & qvtLayoutStar) ? 1 : 3;
        else if (cell.nColumnTypes & qvtLayoutStar)
        {
            nGroup = 2;
            m_bAutoRowGroup3 |= (cell.nRowTypes & qvtLayoutAuto) != 0;
        }
        cell.nNext = m_nGroupHeads[nGroup];
        m_nGroupHeads[nGroup] = i;
    }
}

int AFX_CDECL CQVTMarkupGrid::GetLengthTypeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                                    int nCount)
{
    int nTypes = qvtLayoutNone;
    for (int i = nStart; i < nStart + nCount; ++i)
    {
        if (CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i))
            nTypes |= pDefinition->m_nSizeType;
    }
    return nTypes;
}

int AFX_CDECL CQVTMarkupGrid::GetMeasureSizeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                                     int nCount)
{
    double dSize = 0.0;
    for (int i = nStart; i < nStart + nCount; ++i)
    {
        if (CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i))
            dSize += pDefinition->m_nSizeType == qvtLayoutAuto ? pDefinition->m_nMinSize
                                                               : pDefinition->m_dMeasureSize;
    }
    return MarkupTruncate(dSize);
}

int AFX_CDECL CQVTMarkupGrid::GetFinalSizeForRange(CQVTMarkupDefinitionCollection* pDefinitions, int nStart,
                                                   int nCount)
{
    __int64 nSize = 0;
    for (int i = nStart; i < nStart + nCount; ++i)
    {
        if (CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i))
            nSize += MarkupTruncate(pDefinition->m_dSizeCache);
    }
    return MarkupSaturate(nSize);
}

void CQVTMarkupGrid::MeasureCell(CQVTMarkupDrawingContext* pDC, int nCell, BOOL bForceUnboundedHeight)
{
    const CCell& cell = m_cells[nCell];
    const BOOL bAutoColumns = (cell.nColumnTypes & qvtLayoutAuto) && !(cell.nColumnTypes & qvtLayoutStar);
    const BOOL bAutoRows = (cell.nRowTypes & qvtLayoutAuto) && !(cell.nRowTypes & qvtLayoutStar);
    const int nWidth = bAutoColumns ? QVT_MARKUP_UNBOUNDED
                                    : GetMeasureSizeForRange(m_pColumnsInUse, cell.nColumn, cell.nColumnSpan);
    const int nHeight = bForceUnboundedHeight || bAutoRows
                            ? QVT_MARKUP_UNBOUNDED
                            : GetMeasureSizeForRange(m_pRowsInUse, cell.nRow, cell.nRowSpan);
    if (CQVTMarkupUIElement* pChild = GetChild(nCell))
        pChild->Measure(pDC, SIZE{nWidth, nHeight});
}

void CQVTMarkupGrid::MeasureCellsGroup(CQVTMarkupDrawingContext* pDC, int nHead, BOOL bIgnoreDesiredWidth,
                                       BOOL bForceUnboundedHeight)
{
    const int nCount = static_cast<int>(m_cells.size());
    if (nHead >= nCount)
        return;
    std::vector<SPANKEY> spans;
    for (int i = nHead; i >= 0 && i < nCount; i = m_cells[i].nNext)
    {
        MeasureCell(pDC, i, bForceUnboundedHeight);
        CQVTMarkupUIElement* pChild = GetChild(i);
        const SIZE szDesired = pChild != nullptr ? pChild->GetDesiredSize() : SIZE{0, 0};
        const CCell& cell = m_cells[i];
        if (!bIgnoreDesiredWidth)
        {
            if (cell.nColumnSpan == 1)
                m_pColumnsInUse->GetAt(cell.nColumn)->UpdateMinSize(szDesired.cx);
            else
                spans.push_back(SPANKEY{cell.nColumnSpan, cell.nColumn, TRUE, szDesired.cx});
        }
        if (!bForceUnboundedHeight)
        {
            if (cell.nRowSpan == 1)
                m_pRowsInUse->GetAt(cell.nRow)->UpdateMinSize(szDesired.cy);
            else
                spans.push_back(SPANKEY{cell.nRowSpan, cell.nRow, FALSE, szDesired.cy});
        }
    }
    for (const SPANKEY& span : spans)
        EnsureMinSizeInDefinitionRange(span.bColumn ? m_pColumnsInUse : m_pRowsInUse, span.nStart,
                                       span.nCount, span.nRequested);
}

void AFX_CDECL CQVTMarkupGrid::EnsureMinSizeInDefinitionRange(CQVTMarkupDefinitionCollection* pDefinitions,
                                                              int nStart, int nCount, int nRequested)
{
    if (nRequested == 0 || nCount <= 0)
        return;
    std::vector<CQVTMarkupDefinitionBase*> range;
    double dRangeMin = 0, dRangePreferred = 0, dRangeMax = 0, dMaxMax = 0;
    int nAutoCount = 0;
    for (int i = nStart; i < nStart + nCount; ++i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        if (pDefinition == nullptr)
            continue;
        range.push_back(pDefinition);
        const double dMax = pDefinition->HasUserMaxSize()
                                ? std::max(pDefinition->m_nMinSize, pDefinition->GetUserMaxSize())
                                : pDefinition->m_nMinSize;
        pDefinition->m_dSizeCache = dMax;
        dRangeMin += pDefinition->m_nMinSize;
        dRangePreferred += pDefinition->GetPreferredSize();
        dRangeMax += dMax;
        dMaxMax = std::max(dMaxMax, dMax);
        nAutoCount += IsUserAuto(pDefinition) ? 1 : 0;
    }
    const int nDefinitions = static_cast<int>(range.size());
    if (nDefinitions == 0 || nRequested <= dRangeMin)
        return;
    if (nRequested <= dRangePreferred)
    {
        std::sort(range.begin(), range.end(), [](CQVTMarkupDefinitionBase* a, CQVTMarkupDefinitionBase* b) {
            const BOOL bAutoA = IsUserAuto(a), bAutoB = IsUserAuto(b);
            if (bAutoA != bAutoB)
                return bAutoA > bAutoB;
            return bAutoA ? a->m_nMinSize < b->m_nMinSize : a->GetPreferredSize() < b->GetPreferredSize();
        });
        double dToDistribute = nRequested;
        for (int i = 0; i < nAutoCount; ++i)
            dToDistribute -= range[i]->m_nMinSize;
        for (int i = nAutoCount; i < nDefinitions; ++i)
        {
            const double dNewMin =
                std::min(dToDistribute / (nDefinitions - i), double(range[i]->GetPreferredSize()));
            if (dNewMin > range[i]->m_nMinSize)
                range[i]->UpdateMinSize(MarkupTruncate(dNewMin));
            dToDistribute -= dNewMin;
        }
    }
    else if (nRequested <= dRangeMax)
    {
        std::sort(range.begin(), range.end(), [](CQVTMarkupDefinitionBase* a, CQVTMarkupDefinitionBase* b) {
            const BOOL bAutoA = IsUserAuto(a), bAutoB = IsUserAuto(b);
            if (bAutoA != bAutoB)
                return bAutoA < bAutoB;
            return a->m_dSizeCache < b->m_dSizeCache;
        });
        double dToDistribute = nRequested - dRangePreferred;
        const int nNonAuto = nDefinitions - nAutoCount;
        for (int i = 0; i < nNonAuto; ++i)
        {
            const int nPreferred = range[i]->GetPreferredSize();
            range[i]->UpdateMinSize(MarkupTruncate(
                std::min(nPreferred + dToDistribute / (nNonAuto - i), range[i]->m_dSizeCache)));
            dToDistribute -= range[i]->m_nMinSize - nPreferred;
        }
        for (int i = nNonAuto; i < nDefinitions; ++i)
        {
            const int nOldMin = range[i]->m_nMinSize;
            range[i]->UpdateMinSize(MarkupTruncate(
                std::min(nOldMin + dToDistribute / (nDefinitions - i), range[i]->m_dSizeCache)));
            dToDistribute -= range[i]->m_nMinSize - nOldMin;
        }
    }
    else
    {
        const double dEqual = double(nRequested) / nDefinitions;
        const double dDivisor = nDefinitions * dMaxMax - dRangeMax;
        if (dMaxMax <= dEqual || dDivisor <= 0)
        {
            for (CQVTMarkupDefinitionBase* pDefinition : range)
                pDefinition->UpdateMinSize(MarkupTruncate(dEqual));
        }
        else
        {
            // Smaller definitions grow faster.
            for (CQVTMarkupDefinitionBase* pDefinition : range)
                pDefinition->UpdateMinSize(MarkupTruncate((dMaxMax - pDefinition->m_dSizeCache) *
                                                              (nRequested - dRangeMax) / dDivisor +
                                                          pDefinition->m_dSizeCache));
        }
    }
}

void AFX_CDECL CQVTMarkupGrid::ResolveStar(CQVTMarkupDefinitionCollection* pDefinitions, double dAvailable)
{
    double dTaken = 0.0;
    std::vector<CQVTMarkupDefinitionBase*> stars;
    for (int i = 0; i < pDefinitions->GetCount(); ++i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        switch (pDefinition->m_nSizeType)
        {
        case qvtLayoutPixel:
            dTaken += pDefinition->m_dMeasureSize;
            break;
        case qvtLayoutAuto:
            dTaken += pDefinition->m_nMinSize;
            break;
        case qvtLayoutStar:
            PrepareStar(pDefinition);
            stars.push_back(pDefinition);
            break;
        default:
            break;
        }
    }
    if (!stars.empty())
        DistributeStars(stars, dAvailable, dTaken, FALSE);
}

int AFX_CDECL CQVTMarkupGrid::CalculateDesiredSize(CQVTMarkupDefinitionCollection* pDefinitions)
{
    __int64 nSize = 0;
    for (int i = 0; i < pDefinitions->GetCount(); ++i)
        nSize += pDefinitions->GetAt(i)->m_nMinSize;
    return MarkupSaturate(nSize);
}

// Arrange

SIZE CQVTMarkupGrid::ArrangeOverride(SIZE szFinal)
{
    const int nCount = GetChildCount();
    if ((m_pColumns->GetCount() == 0 && m_pRows->GetCount() == 0) || m_cells.empty() ||
        m_pColumnsInUse == nullptr || m_pRowsInUse == nullptr)
    {
        for (int i = 0; i < nCount; ++i)
        {
            if (CQVTMarkupUIElement* pChild = GetChild(i))
                pChild->Arrange(RECT{0, 0, szFinal.cx, szFinal.cy});
        }
        return szFinal;
    }
    SetFinalSize(m_pColumnsInUse, szFinal.cx);
    SetFinalSize(m_pRowsInUse, szFinal.cy);
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupUIElement* pChild = GetChild(i);
        if (pChild == nullptr)
            continue;
        if (i >= static_cast<int>(m_cells.size()))
        {
            // A child added since the last measure has no cell yet.
            pChild->Arrange(RECT{0, 0, szFinal.cx, szFinal.cy});
            continue;
        }
        const CCell& cell = m_cells[i];
        const int x = m_pColumnsInUse->GetAt(cell.nColumn)->m_nFinalOffset;
        const int y = m_pRowsInUse->GetAt(cell.nRow)->m_nFinalOffset;
        pChild->Arrange(
            RECT{x, y,
                 MarkupSaturate(__int64(x) +
                                GetFinalSizeForRange(m_pColumnsInUse, cell.nColumn, cell.nColumnSpan)),
                 MarkupSaturate(__int64(y) + GetFinalSizeForRange(m_pRowsInUse, cell.nRow, cell.nRowSpan))});
    }
    return szFinal;
}

void AFX_CDECL CQVTMarkupGrid::SetFinalSize(CQVTMarkupDefinitionCollection* pDefinitions, int nFinal)
{
    const int nCount = pDefinitions->GetCount();
    std::vector<CQVTMarkupDefinitionBase*> work;
    std::vector<CQVTMarkupDefinitionBase*> stars;
    double dTaken = 0.0;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        if (IsUserStar(pDefinition))
        {
            PrepareStar(pDefinition);
            stars.push_back(pDefinition);
        }
    }
    // Stars at the front in index order, the others behind them from the last.
    work = stars;
    for (int i = nCount - 1; i >= 0; --i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        if (IsUserStar(pDefinition))
            continue;
        const int nUserSize = IsUserAuto(pDefinition)
                                  ? pDefinition->m_nMinSize
                                  : MarkupTruncate(pDefinition->GetUserSize()->GetValue());
        pDefinition->m_dSizeCache =
            std::max(pDefinition->m_nMinSize, std::min(nUserSize, pDefinition->GetUserMaxSize()));
        dTaken += pDefinition->m_dSizeCache;
        work.push_back(pDefinition);
    }
    if (!stars.empty())
        dTaken += DistributeStars(stars, nFinal, dTaken, TRUE);
    if (dTaken > nFinal)
    {
        // Too little room: definitions shrink toward their minimum in the
        // work list's order.
        std::sort(work.begin(), work.begin() + stars.size(),
                  [](CQVTMarkupDefinitionBase* a, CQVTMarkupDefinitionBase* b) {
                      return a->m_dSizeCache - a->m_nMinSize < b->m_dSizeCache - b->m_nMinSize;
                  });
        double dRemaining = nFinal - dTaken;
        for (size_t i = 0; i < work.size(); ++i)
        {
            CQVTMarkupDefinitionBase* pDefinition = work[i];
            const double dOld = pDefinition->m_dSizeCache;
            const double dFinalSize = std::min(
                dOld, std::max(dOld + dRemaining / double(work.size() - i), double(pDefinition->m_nMinSize)));
            dRemaining -= dFinalSize - dOld;
            pDefinition->m_dSizeCache = dFinalSize;
        }
    }
    __int64 nOffset = 0;
    for (int i = 0; i < nCount; ++i)
    {
        CQVTMarkupDefinitionBase* pDefinition = pDefinitions->GetAt(i);
        pDefinition->m_nFinalOffset = MarkupSaturate(nOffset);
        nOffset += MarkupTruncate(pDefinition->m_dSizeCache);
    }
}

// Automation

BEGIN_DISPATCH_MAP(CQVTMarkupGrid, CQVTMarkupPanel)
    DISP_PROPERTY_EX_ID(CQVTMarkupGrid, "ColumnDefinitions", 600, GetColumnDefinitionsProperty,
                        SetNotSupported, VT_DISPATCH)
    DISP_PROPERTY_EX_ID(CQVTMarkupGrid, "RowDefinitions", 601, GetRowDefinitionsProperty, SetNotSupported,
                        VT_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "GetColumn", 602, GetColumnMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "SetColumn", 603, SetColumnMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "GetRow", 604, GetRowMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "SetRow", 605, SetRowMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "GetColumnSpan", 606, GetColumnSpanMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "SetColumnSpan", 607, SetColumnSpanMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "GetRowSpan", 608, GetRowSpanMethod, VT_I4, VTS_DISPATCH)
    DISP_FUNCTION_ID(CQVTMarkupGrid, "SetRowSpan", 609, SetRowSpanMethod, VT_EMPTY, VTS_DISPATCH VTS_I4)
END_DISPATCH_MAP()

LPDISPATCH CQVTMarkupGrid::GetColumnDefinitionsProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pColumns);
}

LPDISPATCH CQVTMarkupGrid::GetRowDefinitionsProperty()
{
    return QVTMarkupAutomation::DispatchOf(m_pRows);
}

long CQVTMarkupGrid::GetColumnMethod(LPDISPATCH pElement)
{
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE);
    return pObject != nullptr ? GetColumn(pObject) : 0;
}

void CQVTMarkupGrid::SetColumnMethod(LPDISPATCH pElement, long nValue)
{
    if (CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE))
        SetColumn(pObject, static_cast<int>(nValue));
}

long CQVTMarkupGrid::GetRowMethod(LPDISPATCH pElement)
{
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE);
    return pObject != nullptr ? GetRow(pObject) : 0;
}

void CQVTMarkupGrid::SetRowMethod(LPDISPATCH pElement, long nValue)
{
    if (CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE))
        SetRow(pObject, static_cast<int>(nValue));
}

long CQVTMarkupGrid::GetColumnSpanMethod(LPDISPATCH pElement)
{
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE);
    return pObject != nullptr ? GetColumnSpan(pObject) : 0;
}

void CQVTMarkupGrid::SetColumnSpanMethod(LPDISPATCH pElement, long nValue)
{
    if (CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE))
        SetColumnSpan(pObject, static_cast<int>(nValue));
}

long CQVTMarkupGrid::GetRowSpanMethod(LPDISPATCH pElement)
{
    CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE);
    return pObject != nullptr ? GetRowSpan(pObject) : 0;
}

void CQVTMarkupGrid::SetRowSpanMethod(LPDISPATCH pElement, long nValue)
{
    if (CQVTMarkupObject* pObject = CQVTMarkupObject::FromDispatch(pElement, FALSE))
        SetRowSpan(pObject, static_cast<int>(nValue));
}
