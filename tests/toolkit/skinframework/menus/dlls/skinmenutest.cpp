// A module of its own that shows a popup menu and asks for an item's place
// the plain way: the interception must reach its imports too.
#include <windows.h>

extern "C" BOOL WINAPI SkinMenuTestTrack(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd)
{
    return ::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWnd, nullptr);
}

extern "C" BOOL WINAPI SkinMenuTestItemRect(HWND hWnd, HMENU hMenu, UINT nItem, LPRECT pRect)
{
    return ::GetMenuItemRect(hWnd, hMenu, nItem, pRect);
}
