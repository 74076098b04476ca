// The ordered groups of one ribbon tab, and the layout of the group row:
// groups shrink level by level, rightmost first, until they fit; when space
// is left one group may widen its gallery; what still does not fit scrolls.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTPropExchange;
class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonTab;

class CQVTRibbonGroups : public CQVTCmdTarget
{
    DECLARE_DYNCREATE(CQVTRibbonGroups)

public:
    CQVTRibbonGroups();
    ~CQVTRibbonGroups() override;

    CQVTRibbonGroup* Add(LPCTSTR lpszCaption, int nId);
    CQVTRibbonGroup* InsertAt(int nIndex, LPCTSTR lpszCaption, int nId);
    // Takes the caller's reference.
    void InsertGroup(int nIndex, CQVTRibbonGroup* pGroup);
    void Remove(CQVTRibbonGroup* pGroup);
    void RemoveAll();
    void Copy(CQVTRibbonGroups* pSource);

    int GetCount() const { return static_cast<int>(m_arrGroups.size()); }
    // Null out of range.
    CQVTRibbonGroup* GetAt(int nIndex) const;
    CQVTRibbonGroup* HitTest(CPoint point) const;
    CQVTRibbonTab* GetParentTab() const { return m_pParentTab; }
    void SetParentTab(CQVTRibbonTab* pTab) { m_pParentTab = pTab; }
    CQVTRibbonBar* GetRibbonBar() const;
    int GetScrollOffset() const { return m_nScrollOffset; }

    // Lays the groups out in nWidth from (margins left - scroll, margins top).
    void CalcLayout(CDC* pDC, int nWidth, DWORD dwMode, CRect rcMargins);
    void DoPropExchange(CQVTPropExchange* pPX);

    // Shrinks groups until the widths fit nAvailable, or widens one gallery
    // when they leave room; widths are updated in place.
    void ReduceGroups(CDC* pDC, std::vector<int>& arrWidths, int nAvailable);

protected:
    void RefreshIndexes();

    std::vector<CQVTRibbonGroup*> m_arrGroups;  // one reference each
    CQVTRibbonTab* m_pParentTab;
    int m_nScrollOffset;  // horizontal offset the last layout applied
};
