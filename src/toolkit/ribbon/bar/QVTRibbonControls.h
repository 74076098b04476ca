// The ribbon's two control collections: the bar's own list, which knows the
// controls the ribbon makes for itself and copies only the rest, and the
// quick-access toolbar's controls, each of which is also shown in the
// bar's list before the customize button.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/controls/QVTControls.h"

class CQVTRibbonBar;

class CQVTRibbonControls : public CQVTControls
{
    DECLARE_DYNCREATE(CQVTRibbonControls)

public:
    void Copy(CQVTControls* pSource, BOOL bRecursive = FALSE) override;
    BOOL OnControlRemoving(CQVTControl* pControl) override;
    // Groups, tabs and quick-access controls are copied by their owners.
    virtual BOOL IsControlCopyable(CQVTControl* pControl) const;
    // The controls the ribbon makes and places itself.
    virtual BOOL IsSystemControl(CQVTControl* pControl) const;
    // The bar's layout holds only the free controls: groups and the quick
    // access toolbar save theirs, and the rest the ribbon makes itself.
    BOOL IsControlSaved(CQVTControl* pControl) const override;
    void RemoveBeforeLoad() override;

    CQVTRibbonBar* GetRibbonBar() const;
};

class CQVTRibbonQuickAccessControls : public CQVTControls
{
    DECLARE_DYNCREATE(CQVTRibbonQuickAccessControls)

public:
    CQVTRibbonQuickAccessControls();

    // The control joins the bar's list too; the bar's list numbers it.
    void OnControlAdded(CQVTControl* pControl) override;
    void RefreshIndexes() override;
    void Remove(CQVTControl* pControl) override;
    void Copy(CQVTControls* pSource, BOOL bRecursive = FALSE) override;
    void RemoveAllQuickAccess();
    BOOL Contains(const CQVTControl* pControl) const;
    // The copy of the source control this toolbar holds, or null.
    CQVTControl* FindDuplicate(const CQVTControl* pSource) const;

    void SetRibbonBar(CQVTRibbonBar* pRibbonBar) { m_pRibbonBar = pRibbonBar; }
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }

protected:
    CQVTRibbonBar* m_pRibbonBar;
};
