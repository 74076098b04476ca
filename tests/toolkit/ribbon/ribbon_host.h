// The ribbon tests' site: a dialog with command bars carrying a ribbon like
// the recorder's main window (Home, Options and Help tabs with recording,
// playback and file groups), drawn by a resource theme from one of the
// program's colour schemes, and recording what the ribbon tells its site.
#pragma once

#include <afxwin.h>

#include <utility>
#include <vector>

#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/ribbon/bar/QVTRibbonBar.h"
#include "toolkit/ribbon/groups/QVTRibbonGroup.h"
#include "toolkit/ribbon/groups/QVTRibbonGroups.h"
#include "toolkit/ribbon/tabs/QVTRibbonTab.h"

class CRibbonHost : public CQVTDialogBase<CDialog>
{
public:
    CRibbonHost();
    ~CRibbonHost() override;

    // Shown top-most at the screen rectangle; without activation unless asked.
    BOOL CreateHost(const CRect& rcScreen, BOOL bActivate = FALSE);
    // New bars with the main window's ribbon, the scheme installed, records
    // cleared.
    void Reset(LPCTSTR lpszScheme = _T("OFFICE2007BLUE_INI"));
    // The site's client width and height change; the bars lay out again.
    void ResizeClient(int cx, int cy);
    CQVTRibbonBar* GetRibbon() const { return m_pRibbon; }
    CQVTRibbonGroup* FindGroup(int nId) const;
    CQVTControl* FindControl(int nId) const;
    // A centre of a rectangle of the ribbon, on the screen.
    CPoint ScreenPointOf(const CRect& rcClient) const;

    // What the site was told and what it answers.
    std::vector<CQVTRibbonTab*> m_changing;  // tabs proposed, in order
    std::vector<CQVTRibbonTab*> m_changed;
    int m_nMinimizeMessages = 0;
    int m_nInitialUpdates = 0;
    LRESULT m_lRefuseChange = 0;
    // Controls asked for and reported made, by id; the site hands over its
    // own control for one id and asks for another type for another.
    std::vector<UINT> m_asked;
    std::vector<std::pair<UINT, CQVTControl*>> m_made;
    UINT m_nOwnControlId = 0;
    CQVTControl* m_pOwnControl = nullptr;
    UINT m_nPopupId = 0;

    // Large (32 px) icons for these commands, small ones for all.
    static void RegisterIcons(CQVTImageManager* pImageManager);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CQVTRibbonBar* m_pRibbon = nullptr;
    BOOL m_bActivate = FALSE;  // the window takes the activation
};

// Lengths at the display's DPI, as the ribbon lays them out.
inline int ScaleX(int n)
{
    return QVTDpiScaler()->ScaleX(n);
}
inline int ScaleY(int n)
{
    return QVTDpiScaler()->ScaleY(n);
}

// Dispatches what waits for the thread for at least the time.
void PumpHost(DWORD dwMilliseconds = 0);
