// A captioned block of commands on a ribbon tab. Its controls live in the
// ribbon bar's one control list, directly before the group's option button,
// and are also listed here; each layout pass arranges them in columns (or
// in small toolbar rows for a grouping group) and shrinks them level by
// level when the ribbon is too narrow, down to one popup button that
// stands for the whole group.
//
// The layout pass lives in QVTRibbonGroupLayout.cpp: it is most of the class
// and shares only the layout record with the rest.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBar;
class CQVTControl;
class CQVTPropExchange;
class CQVTRibbonBar;
class CQVTRibbonGroup;
class CQVTRibbonGroups;
class CQVTRibbonPaintManager;
class CQVTRibbonTab;

// The dialog launcher in a group's caption band.
class CQVTRibbonGroupOption : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonGroupOption)

public:
    CQVTRibbonGroupOption();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void SetBeginGroup(BOOL) override {}

    CQVTRibbonGroup* m_pGroup;  // not owned
};

// The button that stands for a collapsed group; it opens the group in a
// popup.
class CQVTRibbonGroupControlPopup : public CQVTControlPopup
{
    DECLARE_SERIAL(CQVTRibbonGroupControlPopup)

public:
    CQVTRibbonGroupControlPopup();
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnUnderlineActivate() override;
    BOOL IsVisible(DWORD dwSkipFlags = 0) const override;
    void SetBeginGroup(BOOL) override {}

    CQVTRibbonGroup* m_pGroup;  // not owned
};

// Hide flag of controls whose group is not on the current tab.
const DWORD QVT_RIBBON_HIDE_GROUP = 0x80;
// Control flag of controls beside the tab strip, set by the bar's layout.
const DWORD QVT_RIBBON_FLAG_BESIDE_TABS = 0x100;

class CQVTRibbonGroup : public CQVTCmdTarget
{
    DECLARE_SERIAL(CQVTRibbonGroup)

public:
    CQVTRibbonGroup();
    ~CQVTRibbonGroup() override;

    // Controls; an index below 0 or beyond the count appends.
    CQVTControl* Add(int nType, int nId, LPCTSTR lpszCaption = nullptr, int nBefore = -1,
                     BOOL bTemporary = FALSE);
    CQVTControl* AddControl(CQVTControl* pControl, int nId, LPCTSTR lpszParameter = nullptr, int nBefore = -1,
                            BOOL bTemporary = FALSE);
    CQVTControl* AddClone(CQVTControl* pControl, int nBefore = -1, BOOL bRecursive = TRUE);
    void Remove(CQVTControl* pControl);
    // Throws the framework's invalid-argument exception out of range.
    void RemoveAt(int nIndex);
    void RemoveAll();
    int IndexOf(const CQVTControl* pControl) const;
    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    // Throws the framework's invalid-argument exception out of range.
    CQVTControl* GetAt(int nIndex) const;
    // Fills the group from a toolbar resource; FALSE when it is missing or
    // cannot be read.
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE);

    void SetCaption(LPCTSTR lpszCaption);
    CString GetCaption() const { return m_strCaption; }
    void SetID(int nId) { m_nId = nId; }
    int GetID() const { return m_nId; }
    void SetIconId(int nId) { m_nIconId = nId; }
    int GetIconId() const { return m_nIconId; }
    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    BOOL IsHighlighted() const;
    BOOL IsOptionButtonVisible() const { return m_bShowOptionButton; }
    void ShowOptionButton(BOOL bShow);
    void SetControlsGrouping(BOOL bGrouping);
    BOOL IsControlsGrouping() const { return m_bControlsGrouping; }
    void SetControlsCentering(BOOL bCentering);
    BOOL IsControlsCentering() const { return m_bControlsCentering; }
    void SetReduceLimit(int nLimit) { m_nReduceLimit = nLimit; }
    int GetReduceLimit() const { return m_nReduceLimit; }
    void SetEqualLabelWidth(BOOL bEqual) { m_bEqualLabelWidth = bEqual; }
    BOOL IsReduced() const { return m_bCollapsed; }
    int GetGroupingRows() const { return m_nGroupingRows; }

    CRect GetRect() const { return m_rcGroup; }
    CRect GetCaptionRect() const;
    int GetIndex() const { return m_nIndex; }
    CQVTRibbonGroups* GetGroups() const { return m_pGroups; }
    CQVTRibbonTab* GetParentTab() const;
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }
    CQVTCommandBar* GetParent() const { return m_pParent; }
    CQVTRibbonGroupOption* GetControlGroupOption() const { return m_pControlGroupOption; }
    CQVTRibbonGroupControlPopup* GetControlGroupPopup() const { return m_pControlGroupPopup; }
    CQVTRibbonPaintManager* GetRibbonPaintManager() const;

    // The group's state and geometry, in slot order.
    virtual void SetRect(CRect rc);
    virtual void Copy(CQVTRibbonGroup* pGroup);
    virtual void Draw(CDC* pDC, CRect rcClipBox);
    virtual void DoPropExchange(CQVTPropExchange* pPX);
    virtual void ArrangeInRow(CDC* pDC);
    virtual void OnAdded();
    virtual void OnRemoved();
    virtual int GetCaptionWidth(CDC* pDC);
    virtual void OnBeforeCalcSize(CDC* pDC);
    virtual void OnAfterCalcSize();
    virtual int CalcWidth(CDC* pDC);
    virtual BOOL ReduceLevel(int nLevel, int nAmount);
    virtual BOOL ExpandGallery(int nAmount);
    virtual void Reposition(int nWidth, CPoint ptOrigin);

    // The layout collection links the group (CQVTRibbonGroups).
    void Attach(CQVTRibbonGroups* pGroups, CQVTRibbonBar* pRibbonBar, CQVTCommandBar* pParent);
    void SetIndex(int nIndex) { m_nIndex = nIndex; }

protected:
    // One button of a toolbar resource, offered to the site first.
    CQVTControl* LoadToolBarControl(UINT nId, BOOL bBeginGroup);
    // One entry per visible control of a layout pass.
    struct LayoutEntry
    {
        CRect rcControl;
        CRect rcColumn;
        CSize szControl;
        BOOL bHidden = FALSE;
        BOOL bRowStart = FALSE;
        BOOL bBeginGroup = FALSE;
        BOOL bColumnStart = FALSE;
        int nStyle = 0;
        CQVTControl* pControl = nullptr;
    };
    struct LayoutRecord
    {
        std::vector<LayoutEntry> entries;
        int nCaptionWidth = 0;
        int nControlsWidth = 0;
        BOOL bCollapsedAtStart = FALSE;
        CDC* pDC = nullptr;
    };

    // Steps of the layout pass.
    int CalcColumnsWidth();
    int CalcGroupingWidth();
    int ControlsAreaHeight() const;
    int GetGroupsRowHeight() const;
    // A run of nRows entries ending (backwards) at a start entry that fits
    // the test; the index of its first entry, or -1.
    template <class TTest>
    int FindReducibleRun(int nRows, TTest test) const;
    void SetEntryStyle(LayoutEntry& entry, int nStyle);
    int GetLargeIconWidth() const;
    int GetBarIndexOfControl(int nIndex) const;
    CQVTControls* GetBarControls() const;
    void InsertIntoBar(CQVTControl* pControl, int nIndex);
    void UpdateOwnControls();
    // The "Control" items of the group's saved layout.
    void ExchangeControls(CQVTPropExchange* pPX);

    BOOL m_bControlsCentering;
    BOOL m_bControlsGrouping;
    CString m_strCaption;
    int m_nReserved;              // -1; nothing reads it
    CQVTRibbonGroups* m_pGroups;  // owning collection
    CRect m_rcGroup;
    std::vector<CQVTControl*> m_arrControls;  // one reference each
    CQVTCommandBar* m_pParent;                // the ribbon, or a popup toolbar showing the group
    CQVTRibbonBar* m_pRibbonBar;
    int m_nId;
    int m_nIconId;
    CQVTRibbonGroupOption* m_pControlGroupOption;       // one reference
    CQVTRibbonGroupControlPopup* m_pControlGroupPopup;  // one reference
    BOOL m_bCollapsed;                                  // reduced to the popup button
    BOOL m_bShowOptionButton;
    BOOL m_bVisible;
    int m_nReduceLimit;   // a level L is allowed only when the limit is above L
    int m_nGroupingRows;  // rows of a grouping group, 2 or 3
    BOOL m_bEqualLabelWidth;
    std::unique_ptr<LayoutRecord> m_pLayout;  // only during a layout pass
    int m_nIndex;                             // in the collection
};
