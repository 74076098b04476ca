#include "frame_test_support.h"

#include <map>

#include "tests/toolkit/skinframework/skin_test_support.h"
#include "dib_canvas.h"
#include "toolkit/skinframework/schema/QVTSkinManagerClass.h"
#include "toolkit/skinframework/schema/QVTSkinManagerSchema.h"

IMPLEMENT_DYNCREATE(CSkinFrameCountedObject, CQVTSkinObjectFrame)
int CSkinFrameCountedObject::s_nLive = 0;
SkinFrameLog g_skinFrameLog;

namespace {
// The procedure in a struct: as a template argument of its own, gcc would
// ignore its calling convention.
struct SkinFrameNextProc
{
    WNDPROC pfn;
};
std::map<HWND, SkinFrameNextProc> g_skinFrameNext;

LRESULT CALLBACK SkinFrameRecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = g_skinFrameNext.find(hWnd);
    WNDPROC pfnNext = it != g_skinFrameNext.end() ? it->second.pfn : nullptr;
    switch (message)
    {
    case WM_SYSCOMMAND:
        // Recorded, and kept from the system: a click on close must not close.
        g_skinFrameLog.sysCommands.push_back(static_cast<UINT>(wParam & 0xFFF0));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        SkinFrameScroll scroll = {message, LOWORD(wParam), static_cast<short>(HIWORD(wParam))};
        CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
        if (pFrame != nullptr && pFrame->GetTrackInfo() != nullptr &&
            (scroll.code == SB_THUMBTRACK || scroll.code == SB_THUMBPOSITION))
            scroll.pos = pFrame->GetTrackInfo()->posOld;
        g_skinFrameLog.scrolls.push_back(scroll);
        return 0;
    }
    case WM_APP:
        if (g_skinFrameLog.onApp)
            g_skinFrameLog.onApp(hWnd);
        return 0;
    case WM_NCDESTROY:
    {
        const LRESULT lResult = pfnNext ? ::CallWindowProcW(pfnNext, hWnd, message, wParam, lParam) : 0;
        g_skinFrameNext.erase(hWnd);
        return lResult;
    }
    default:
        break;
    }
    return pfnNext ? ::CallWindowProcW(pfnNext, hWnd, message, wParam, lParam)
                   : ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LPCTSTR SkinFrameRegister(LPCTSTR lpszName)
{
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(::GetModuleHandleW(nullptr), lpszName, &wc))
    {
        wc.lpfnWndProc =
            reinterpret_cast<WNDPROC>(::GetProcAddress(::GetModuleHandleW(u"user32.dll"), "DefWindowProcW"));
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = lpszName;
        ::RegisterClassW(&wc);
    }
    return lpszName;
}
}  // namespace

int SkinFrameLog::Count(UINT code) const
{
    int n = 0;
    for (const SkinFrameScroll& scroll : scrolls)
        n += scroll.code == code ? 1 : 0;
    return n;
}

LPCTSTR SkinFrameWindowClass()
{
    return SkinFrameRegister(u"SkinFrameTestWindow");
}

LPCTSTR SkinFrameCountedClass()
{
    static LPCTSTR lpszName = [] {
        LPCTSTR lpsz = SkinFrameRegister(u"SkinFrameCountedWindow");
        QVTSkinManager()->GetClassMap()->AddClass(lpsz, RUNTIME_CLASS(CSkinFrameCountedObject));
        return lpsz;
    }();
    return lpszName;
}

HWND SkinFrameCreate(LPCTSTR lpszClass, DWORD dwStyle, DWORD dwExStyle, BOOL bShow, int cx, int cy,
                     HMENU hMenu, HWND hParent)
{
    QVTSkinManager()->EnableThreadHook();
    const int x = hParent != nullptr ? 0 : 40;
    HWND hWnd = ::CreateWindowExW(dwExStyle | WS_EX_NOACTIVATE, lpszClass, u"", dwStyle & ~WS_VISIBLE, x, x,
                                  cx, cy, hParent, hMenu, ::GetModuleHandleW(nullptr), nullptr);
    if (hWnd == nullptr)
        return nullptr;
    g_skinFrameNext[hWnd].pfn = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinFrameRecordingProc)));
    if (bShow)
    {
        ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::UpdateWindow(hWnd);
    }
    return hWnd;
}

CQVTSkinObjectFrame* SkinFrameOf(HWND hWnd)
{
    CQVTSkinObject* pObject = QVTSkinManager()->Lookup(hWnd);
    if (pObject == nullptr || !pObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
        return nullptr;
    return static_cast<CQVTSkinObjectFrame*>(pObject);
}

CPoint SkinFrameToScreen(HWND hWnd, CPoint ptWindow)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    return ptWindow + rc.TopLeft();
}

COLORREF SkinFrameWindowPixel(HWND hWnd, int x, int y)
{
    HDC hDC = ::GetWindowDC(hWnd);
    const COLORREF clr = ::GetPixel(hDC, x, y);
    ::ReleaseDC(hWnd, hDC);
    return clr;
}

COLORREF SkinFrameRenderedPixel(LPCTSTR lpszClass, int nPart, int nState, CSize size, CPoint pt)
{
    CQVTSkinManagerSchema* pSchema = QVTSkinManager()->GetSchema();
    CQVTSkinManagerClass* pClass = pSchema != nullptr ? pSchema->GetClass(lpszClass) : nullptr;
    if (pClass == nullptr || size.cx <= 0 || size.cy <= 0)
        return CLR_INVALID;
    DibCanvas canvas(size.cx, size.cy, RGB(1, 2, 3));
    CRect rc(CPoint(0, 0), size);
    pClass->DrawThemeBackground(&canvas.dc, nPart, nState, rc);
    return canvas.At(pt.x, pt.y);
}

SkinFrameLoadedSkin::SkinFrameLoadedSkin(LPCTSTR lpszIni)
{
    EXPECT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), lpszIni));
}

SkinFrameLoadedSkin::~SkinFrameLoadedSkin()
{
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
}
