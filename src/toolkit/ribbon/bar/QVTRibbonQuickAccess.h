// The quick-access toolbar's menu items and popups: one item of the
// customize menu per source command, which adds or removes the command's
// copy, and the popup of the more button that holds copies of the controls
// the caption row had no room for.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"

class CQVTRibbonBar;
class CQVTRibbonQuickAccessControls;

// One source command in the customize menu
// (CQVTRibbonBar::CControlQuickAccessCommand): checked while its copy is in
// the quick-access toolbar.
class CQVTRibbonBarControlQuickAccessCommand : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonBarControlQuickAccessCommand)

public:
    CQVTRibbonBarControlQuickAccessCommand();
    ~CQVTRibbonBarControlQuickAccessCommand() override;

    // Holds a reference on the source and on its copy while the item lives.
    void SetCommand(CQVTRibbonQuickAccessControls* pQuickAccess, CQVTControl* pSource, CQVTControl* pCopy);
    void OnExecute() override;

    CQVTControl* GetSource() const { return m_pSource; }
    CQVTControl* GetCopy() const { return m_pCopy; }

protected:
    CQVTRibbonQuickAccessControls* m_pQuickAccess;  // not owned; the ribbon's
    CQVTControl* m_pSource;                         // one reference
    CQVTControl* m_pCopy;                           // one reference; null when the toolbar has none
};

// The popup of the more button: the controls that did not fit, then the
// customize button.
class CQVTRibbonBarMorePopupToolBar : public CQVTPopupToolBar
{
    DECLARE_SERIAL(CQVTRibbonBarMorePopupToolBar)

public:
    CQVTRibbonBarMorePopupToolBar();
    void SetRibbonBar(CQVTRibbonBar* pRibbonBar) { m_pRibbonBar = pRibbonBar; }
    CQVTRibbonBar* GetRibbonBar() const { return m_pRibbonBar; }

    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    void DrawCommandBar(CDC* pDC, CRect rcClipBox) override;

protected:
    CQVTRibbonBar* m_pRibbonBar;  // not owned; outlives its popups
};
