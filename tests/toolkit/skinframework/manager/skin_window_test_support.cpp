#include "skin_window_test_support.h"

#include <commctrl.h>

#include "toolkit/skinframework/objects/QVTSkinObject.h"

int g_skinTestOwnProcCalls = 0;
WNDPROC SkinTestForeignSubclass::s_pfnNext = nullptr;
LRESULT SkinTestForeignSubclass::s_nSinkRemovedAnswer = 0;
LRESULT SkinTestForeignSubclass::s_nQueryStateAnswer = 0;
WPARAM SkinTestForeignSubclass::s_wSinkRemoved = 0;
LPARAM SkinTestForeignSubclass::s_lSinkRemoved = 0;

namespace {
LRESULT CALLBACK SkinTestOwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP)
    {
        ++g_skinTestOwnProcCalls;
        return kSkinTestOwnProcAnswer;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LPCTSTR SkinTestRegister(LPCTSTR lpszName, WNDPROC pfnProc)
{
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(::GetModuleHandleW(nullptr), lpszName, &wc))
    {
        wc.lpfnWndProc = pfnProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = lpszName;
        ::RegisterClassW(&wc);
    }
    return lpszName;
}

void SkinTestAppend(std::vector<WORD>& words, const void* pData, size_t cb)
{
    const WORD* p = static_cast<const WORD*>(pData);
    words.insert(words.end(), p, p + cb / 2);
}

void SkinTestAppendItem(std::vector<WORD>& words, DWORD dwStyle, short x, short y, WORD id,
                        std::initializer_list<WORD> cls)
{
    while (words.size() % 2 != 0)
        words.push_back(0);
    DLGITEMTEMPLATE item = {dwStyle | WS_CHILD | WS_VISIBLE, 0, x, y, 60, 14, id};
    SkinTestAppend(words, &item, sizeof(item));
    words.insert(words.end(), cls);
    words.push_back(0);  // no title
    words.push_back(0);  // no creation data
}
}  // namespace

LPCTSTR SkinTestSystemClass()
{
    static WNDPROC pfnSystem =
        reinterpret_cast<WNDPROC>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"));
    return SkinTestRegister(u"SkinTestSystemWindow", pfnSystem);
}

LPCTSTR SkinTestOwnClass()
{
    return SkinTestRegister(u"SkinTestOwnWindow", &SkinTestOwnProc);
}

HWND SkinTestCreateWindow(LPCTSTR lpszClass, DWORD dwStyle, HWND hParent)
{
    return ::CreateWindowExW(WS_EX_NOACTIVATE, lpszClass, u"", dwStyle, 10, 10, 120, 80, hParent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND SkinTestCreateTemplateDialog()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    std::vector<WORD> words;
    DLGTEMPLATE dlg = {WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 3, 0, 0, 200, 100};
    SkinTestAppend(words, &dlg, sizeof(dlg));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.push_back(0);  // no title
    words.push_back(8);
    for (WCHAR ch : std::u16string(u"MS Shell Dlg"))
        words.push_back(ch);
    words.push_back(0);
    SkinTestAppendItem(words, BS_PUSHBUTTON, 5, 5, 1, {0xFFFF, 0x0080});
    SkinTestAppendItem(words, ES_AUTOHSCROLL, 5, 25, 2, {0xFFFF, 0x0081});
    std::initializer_list<WORD> listView = {u'S', u'y', u's', u'L', u'i', u's', u't',
                                            u'V', u'i', u'e', u'w', u'3', u'2', 0};
    while (words.size() % 2 != 0)
        words.push_back(0);
    DLGITEMTEMPLATE item = {WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 5, 45, 100, 40, 3};
    SkinTestAppend(words, &item, sizeof(item));
    words.insert(words.end(), listView);
    words.push_back(0);
    words.push_back(0);
    return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                        reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr, nullptr, 0);
}

void SkinTestPump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SkinTestForeignSubclass::Install(HWND hWnd)
{
    s_pfnNext = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinTestForeignProc)));
}

LRESULT CALLBACK SkinTestForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOOKMANAGER_SINKREMOVED)
    {
        SkinTestForeignSubclass::s_wSinkRemoved = wParam;
        SkinTestForeignSubclass::s_lSinkRemoved = lParam;
        // Taking the manager's procedure out of this chain: the next one
        // becomes the procedure it replaced.
        if (SkinTestForeignSubclass::s_nSinkRemovedAnswer != 0)
            SkinTestForeignSubclass::s_pfnNext = reinterpret_cast<WNDPROC>(lParam);
        return SkinTestForeignSubclass::s_nSinkRemovedAnswer;
    }
    if (message == WM_SKINFRAMEWORK_QUERYSTATE)
        return SkinTestForeignSubclass::s_nQueryStateAnswer;
    return ::CallWindowProcW(SkinTestForeignSubclass::s_pfnNext, hWnd, message, wParam, lParam);
}
