// A real menu opened from a menu bar, and its icon column as the screen shows
// it, for the flat themes' drawing tests.
#pragma once

#include <afxwin.h>

#include <vector>

#include "dib_canvas.h"
#include "real_input.h"
#include "tests/common/screen_test_support.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace ThemeTest {

// Gives the menu bar's first item a menu of two commands, as a program makes
// it, and opens it without animation; the pointer is moved off so that no
// item is hot.
inline CQVTPopupBar* OpenFirstMenu(CQVTMenuBar* pMenuBar)
{
    CQVTControlPopup* pItem = DYNAMIC_DOWNCAST(CQVTControlPopup, pMenuBar->GetControl(0));
    CQVTCommandBars* pBars = pMenuBar->GetCommandBars();
    if (!pItem || !pBars)
        return nullptr;
    pBars->GetCommandBarsOptions()->animationType = 5;
    if (!pItem->GetCommandBar())
    {
        CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(pBars);
        UINT nId = 40790;
        for (LPCTSTR lpszCaption : {_T("&Open"), _T("&Save")})
            pPopup->GetControls()->AddByType(qvtControlButton, nId++)->SetCaption(lpszCaption);
        pItem->SetCommandBar(pPopup);
        pPopup->InternalRelease();
    }
    MouseMoveTo(CPoint(::GetSystemMetrics(SM_CXSCREEN) - 4, ::GetSystemMetrics(SM_CYSCREEN) - 4));
    PumpMessages(20);
    CQVTPopupBar* pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, pItem->GetCommandBar());
    if (!pPopup || !pMenuBar->SetPopuped(0))
        return nullptr;
    PumpUntil([pPopup] { return pPopup->GetSafeHwnd() && pPopup->IsWindowVisible(); }, 3000);
    PumpMessages(20);
    return pPopup;
}

// The icon column's pixels along the first item's middle row: as the screen
// shows them, and as the theme fills that column.
struct MenuColumn
{
    std::vector<COLORREF> shown;
    std::vector<COLORREF> filled;
};

inline MenuColumn ReadMenuColumn(CQVTPopupBar* pPopup)
{
    MenuColumn column;
    CQVTPaintManager* pPaintManager = pPopup->GetPaintManager();
    const CRect rcBorders = pPaintManager->GetScaledMargins(pPopup);
    const int x = rcBorders.left - QVTDpiScaler()->ScaleX(1);
    const int cx = pPaintManager->GetPopupBarGutterWidth(pPopup);
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    const int cy = rcClient.Height() - rcBorders.top - rcBorders.bottom;
    const int y = pPopup->GetControl(0)->GetRect().CenterPoint().y;
    if (cx <= 0 || cy <= 0)
        return column;
    // The popup has no frame: its window is its client area.
    const std::unique_ptr<DibCanvas> screen = screentest::Capture(pPopup->GetSafeHwnd());
    DibCanvas fill(x + cx, rcBorders.top + cy);
    pPaintManager->FillIconColumn(&fill.dc, x, rcBorders.top, cx, cy, FALSE);
    ::GdiFlush();
    for (int i = x; i < x + cx; ++i)
    {
        column.shown.push_back(screen->At(i, y));
        column.filled.push_back(fill.At(i, y));
    }
    return column;
}

}  // namespace ThemeTest
