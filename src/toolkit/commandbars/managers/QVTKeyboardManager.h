// While a bar tracks (an open menu, a menu bar driven from the keyboard) the
// keys meant for it arrive at whatever window has the focus. The thread's
// keyboard manager hooks the thread's keyboard and sent messages and offers
// every key-down to the tracking bars first; losing the application's
// activation closes the popups. One manager per thread, made on first use.
#pragma once

#include <afxwin.h>

#include <vector>

class CQVTHookManagerHookAble;

class CQVTKeyboardManager : public CNoTrackObject
{
public:
    CQVTKeyboardManager();
    ~CQVTKeyboardManager() override;

    // The calling thread's manager.
    static CQVTKeyboardManager* AFX_CDECL GetThreadManager();

    // Adds an object that wants the keys (once); the hooks go in with the
    // first.
    void HookKeyboard(CQVTHookManagerHookAble* pHookAble);
    // The hooks go with the last.
    void UnhookKeyboard(CQVTHookManagerHookAble* pHookAble);
    // Offers a message to the objects, the last added first; TRUE eats it.
    // A tracking bar keeps the keyboard: when nobody answers, it is eaten.
    // The objects get no window with it, which tells it from the messages
    // of windows they hook.
    BOOL ProcessKeyboardHooks(UINT message, WPARAM wParam, LPARAM lParam = 0);
    BOOL IsKeyboardHooked() const { return !m_arrHookAbles.empty(); }
    BOOL IsHooked(CQVTHookManagerHookAble* pHookAble) const;

private:
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
    // TRUE eats the key.
    BOOL OnKeyboardHook(WPARAM wParam, LPARAM lParam);

    HHOOK m_hHookKeyboard;                                 // WH_KEYBOARD of the thread, null when off
    HHOOK m_hHookCallWndProc;                              // WH_CALLWNDPROC of the thread, null when off
    AFX_MODULE_STATE* m_pModuleState;                      // of the module that added the last object
    std::vector<CQVTHookManagerHookAble*> m_arrHookAbles;  // each at most once
};
