// A rebar whose bands are toolbars: each laid out as a docked horizontal
// bar, taken out of its dock bar and shown without its gripper, the band
// carrying the toolbar's id.
#pragma once

#include <afxwin.h>
#include <afxext.h>

class CQVTToolBar;

class CQVTReBar : public CReBar
{
    DECLARE_DYNAMIC(CQVTReBar)

public:
    BOOL AddToolBar(CQVTToolBar* pToolBar, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    // -1 when no band holds the toolbar.
    int FindBand(CQVTToolBar* pToolBar) const;
    BOOL DeleteToolBar(CQVTToolBar* pToolBar);
    CQVTToolBar* GetToolBar(int nBand) const;
};
