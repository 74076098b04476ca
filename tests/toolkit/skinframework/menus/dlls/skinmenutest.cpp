// A module of its own that shows a popup menu the plain way: the
// interception must reach its import of TrackPopupMenu too.
#include <windows.h>

extern "C" BOOL WINAPI SkinMenuTestTrack(HMENU hMenu, UINT nFlags, int x, int y, HWND hWnd)
{
    return ::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWnd, nullptr);
}
