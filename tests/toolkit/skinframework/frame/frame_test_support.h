// Windows for the skin frame's tests: a class of user32's own procedure
// (subclassed by the manager) with a recording procedure on top, a frame
// object that counts its lives, and pixels read back from windows and from
// the skin's parts drawn alone.
#pragma once

#include <afxwin.h>

#include <functional>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinObjectFrame.h"

class CSkinFrameCountedObject : public CQVTSkinObjectFrame
{
    DECLARE_DYNCREATE(CSkinFrameCountedObject)

public:
    CSkinFrameCountedObject() { ++s_nLive; }
    ~CSkinFrameCountedObject() override { --s_nLive; }
    static int s_nLive;
};

// What the test windows' own procedure saw.
struct SkinFrameScroll
{
    UINT message;  // WM_HSCROLL or WM_VSCROLL
    UINT code;
    int pos;  // a thumb message's whole position, from the running loop
};

struct SkinFrameLog
{
    std::vector<UINT> sysCommands;
    std::vector<SkinFrameScroll> scrolls;
    // Runs when WM_APP arrives.
    std::function<void(HWND)> onApp;

    void Clear()
    {
        sysCommands.clear();
        scrolls.clear();
        onApp = nullptr;
    }
    int Count(UINT code) const;
};
extern SkinFrameLog g_skinFrameLog;

// A class whose procedure is user32's DefWindowProcW: its windows get the
// plain frame (no class-map entry, no menu).
LPCTSTR SkinFrameWindowClass();
// The same procedure, mapped to CSkinFrameCountedObject.
LPCTSTR SkinFrameCountedClass();

// A window at (40, 40) with the recording procedure on top of the
// manager's; shown without activation unless bShow is FALSE.
HWND SkinFrameCreate(LPCTSTR lpszClass, DWORD dwStyle, DWORD dwExStyle = 0, BOOL bShow = TRUE, int cx = 320,
                     int cy = 260, HMENU hMenu = nullptr, HWND hParent = nullptr);
CQVTSkinObjectFrame* SkinFrameOf(HWND hWnd);
CPoint SkinFrameToScreen(HWND hWnd, CPoint ptWindow);

// What the window shows at a point of its window rectangle.
COLORREF SkinFrameWindowPixel(HWND hWnd, int x, int y);
// What a part of the loaded skin draws at a point of a rectangle that size.
COLORREF SkinFrameRenderedPixel(LPCTSTR lpszClass, int nPart, int nState, CSize size, CPoint pt);

// A skin of the program's module loaded for one test.
struct SkinFrameLoadedSkin
{
    explicit SkinFrameLoadedSkin(LPCTSTR lpszIni = u"NormalBlue.ini");
    ~SkinFrameLoadedSkin();
};
