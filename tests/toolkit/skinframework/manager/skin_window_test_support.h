// Windows for the manager's tests: classes with a system procedure or our
// own, a dialog made from a template without a dialog procedure, a foreign
// subclasser, and a message pump.
#pragma once

#include <afxwin.h>

#include <vector>

// A class of user32's own DefWindowProcW (looked up by name: the plain name
// resolves to an import thunk in our module).
LPCTSTR SkinTestSystemClass();
// A class whose procedure lies in this program.
LPCTSTR SkinTestOwnClass();
// The calls and answer of the own class's procedure.
extern int g_skinTestOwnProcCalls;
const LRESULT kSkinTestOwnProcAnswer = 1234;

HWND SkinTestCreateWindow(LPCTSTR lpszClass, DWORD dwStyle = WS_POPUP, HWND hParent = nullptr);
// A template dialog with a push button, an edit and a list view, created
// without a dialog procedure (so DefDlgProcW is its window procedure).
HWND SkinTestCreateTemplateDialog();
void SkinTestPump();

// A subclasser put on top of the skin manager's procedure; it answers
// WM_HOOKMANAGER_SINKREMOVED and WM_SKINFRAMEWORK_QUERYSTATE as told.
struct SkinTestForeignSubclass
{
    static void Install(HWND hWnd);
    static WNDPROC s_pfnNext;
    static LRESULT s_nSinkRemovedAnswer;
    static LRESULT s_nQueryStateAnswer;
    static WPARAM s_wSinkRemoved;
    static LPARAM s_lSinkRemoved;
};
LRESULT CALLBACK SkinTestForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
