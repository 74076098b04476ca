// A list of bars, one reference each; the bars' context menus are such a
// list whose popups know they are context menus.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTCommandBar;
class CQVTCommandBars;

class CQVTCommandBarList : public CQVTCmdTarget
{
public:
    CQVTCommandBarList() = default;
    ~CQVTCommandBarList() override;

    // Takes a reference.
    virtual void Add(CQVTCommandBar* pBar);
    int GetCount() const { return static_cast<int>(m_arrBars.size()); }
    CQVTCommandBar* GetAt(int nIndex) const;
    BOOL Contains(const CQVTCommandBar* pBar) const;
    CQVTCommandBar* FindCommandBar(UINT nId) const;
    void RemoveAll();

protected:
    std::vector<CQVTCommandBar*> m_arrBars;
};

class CQVTCommandBarsContextMenus : public CQVTCommandBarList
{
public:
    explicit CQVTCommandBarsContextMenus(CQVTCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

    // A popup bar added here is marked as a context menu.
    void Add(CQVTCommandBar* pPopup) override;

private:
    CQVTCommandBars* m_pCommandBars;
};
