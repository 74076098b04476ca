// The columns and rows of a grid: their lengths (automatic, pixels or a star
// share of the rest), limits, and the working values the grid's layout keeps
// in them.
#pragma once

#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkContentElement.h"

enum QVTMarkupGridUnitType
{
    qvtGridAuto = 0,
    qvtGridPixel = 1,
    qvtGridStar = 2,
};

// The size types a definition takes during layout, as bits.
enum QVTMarkupLayoutSizeType
{
    qvtLayoutNone = 0,
    qvtLayoutPixel = 1,
    qvtLayoutAuto = 2,
    qvtLayoutStar = 4,
};

class CQVTMarkupGridLength : public CQVTMarkupObject
{
    DECLARE_MARKUPCLASS(CQVTMarkupGridLength)

public:
    CQVTMarkupGridLength() : m_dValue(0.0), m_unitType(qvtGridPixel) {}
    CQVTMarkupGridLength(double dValue, QVTMarkupGridUnitType unitType)
        : m_dValue(dValue), m_unitType(unitType)
    {
    }

    double GetValue() const { return m_dValue; }
    QVTMarkupGridUnitType GetUnitType() const { return m_unitType; }
    BOOL IsEqual(CQVTMarkupObject* pObject) override;
    // "Auto", "*", "<number>*" or "<number>", numbers DPI-scaled.
    CQVTMarkupObject* ConvertFrom(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pSource) override;

private:
    double m_dValue;
    QVTMarkupGridUnitType m_unitType;
};

class CQVTMarkupDefinitionBase : public CQVTMarkupFrameworkContentElement
{
    DECLARE_MARKUPCLASS(CQVTMarkupDefinitionBase)

public:
    explicit CQVTMarkupDefinitionBase(BOOL bColumn = FALSE);

    BOOL IsColumn() const { return m_bColumn; }
    // Width or Height; one star when unset.
    CQVTMarkupGridLength* GetUserSize();
    int GetUserMinSize();
    // 2147483647 when unset.
    int GetUserMaxSize();
    BOOL HasUserMaxSize();
    int GetPreferredSize() const;
    void UpdateMinSize(int nValue) { m_nMinSize = std::max(m_nMinSize, nValue); }
    void OnBeforeLayout();

    int m_nMinSize;   // the layout minimum
    int m_nSizeType;  // QVTMarkupLayoutSizeType bits
    double m_dMeasureSize;
    double m_dSizeCache;  // scratch of the distributions; the final size after arranging
    int m_nFinalOffset;   // start in the arranged grid

protected:
    // Every size property's change relayouts the grid the definition is in.
    static void AFX_CDECL OnDefinitionChanged(CQVTMarkupObject* pObject,
                                              CQVTMarkupPropertyChangedEventArgs* pArgs);

    // What scripts see of either kind: the length as a whole number, written
    // as pixels; its unit, written keeping the whole number; the limits.
    long GetSizeMember();
    void SetSizeMember(long nValue);
    long GetUnitTypeMember();
    void SetUnitTypeMember(long nValue);
    long GetMinSizeMember();
    void SetMinSizeMember(long nValue);
    long GetMaxSizeMember();
    void SetMaxSizeMember(long nValue);

private:
    CQVTMarkupDependencyProperty* GetSizeProperty() const;
    CQVTMarkupDependencyProperty* GetMinSizeProperty() const;
    CQVTMarkupDependencyProperty* GetMaxSizeProperty() const;

    BOOL m_bColumn;  // selects the column or the row properties
};

class CQVTMarkupColumnDefinition : public CQVTMarkupDefinitionBase
{
    DECLARE_MARKUPCLASS(CQVTMarkupColumnDefinition)

public:
    CQVTMarkupColumnDefinition() : CQVTMarkupDefinitionBase(TRUE) {}

    static CQVTMarkupDependencyProperty* m_pWidthProperty;
    static CQVTMarkupDependencyProperty* m_pMinWidthProperty;
    static CQVTMarkupDependencyProperty* m_pMaxWidthProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupRowDefinition : public CQVTMarkupDefinitionBase
{
    DECLARE_MARKUPCLASS(CQVTMarkupRowDefinition)

public:
    CQVTMarkupRowDefinition() : CQVTMarkupDefinitionBase(FALSE) {}

    static CQVTMarkupDependencyProperty* m_pHeightProperty;
    static CQVTMarkupDependencyProperty* m_pMinHeightProperty;
    static CQVTMarkupDependencyProperty* m_pMaxHeightProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();

private:
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupDefinitionCollection : public CQVTMarkupCollection
{
    DECLARE_MARKUPCLASS(CQVTMarkupDefinitionCollection)

public:
    explicit CQVTMarkupDefinitionCollection(CQVTMarkupType* pItemType = nullptr);
    // Null for an index outside the items.
    CQVTMarkupDefinitionBase* GetAt(int nIndex) const;

protected:
    // The grid that holds the collection relayouts.
    void OnChanged() override;

private:
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupColumnDefinitionCollection : public CQVTMarkupDefinitionCollection
{
    DECLARE_MARKUPCLASS(CQVTMarkupColumnDefinitionCollection)

public:
    CQVTMarkupColumnDefinitionCollection();
};

class CQVTMarkupRowDefinitionCollection : public CQVTMarkupDefinitionCollection
{
    DECLARE_MARKUPCLASS(CQVTMarkupRowDefinitionCollection)

public:
    CQVTMarkupRowDefinitionCollection();
};
