// Shared by the frame shadow tests: a frame that paints one colour and has a
// minimum size, the record of what UpdateLayeredWindow was handed, and the
// shadow made with the values a frame theme passes.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "real_input.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"

namespace frameshadowtest {

const COLORREF kFrameColour = RGB(40, 200, 60);
const UINT kDestroyYourself = WM_APP + 7;
const UINT kDropYourShadow = WM_APP + 8;

// A popup frame painted in one colour, 400 by 300 at least.
class CShadowedFrame : public CWnd
{
public:
    BOOL CreateFrame(const CRect& rc, DWORD dwStyle = WS_POPUP | WS_THICKFRAME | WS_VISIBLE)
    {
        LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
        return CreateEx(0, lpszClass, _T("Shadowed"), dwStyle, rc.left, rc.top, rc.Width(), rc.Height(),
                        nullptr, nullptr);
    }

    // Positions taken as asked: the system's own minimum size left out.
    BOOL m_bTakeAnyPosition = FALSE;
    int m_nLiveShadowsAtDestroy = -1;  // counted inside kDestroyYourself or kDropYourShadow

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = CPoint(400, 300);
            return 0;
        case WM_WINDOWPOSCHANGING:
            if (m_bTakeAnyPosition)
                return 0;
            break;
        case WM_ERASEBKGND:
        {
            CRect rc;
            GetClientRect(&rc);
            CBrush brush(kFrameColour);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
            return TRUE;
        }
        case kDropYourShadow:
            CQVTFrameShadowManager::GetInstance()->DisableShadow(m_hWnd);
            m_nLiveShadowsAtDestroy = CQVTFrameShadow::GetLiveCount();
            return 0;
        case kDestroyYourself:
            DestroyWindow();
            m_nLiveShadowsAtDestroy = CQVTFrameShadow::GetLiveCount();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// One call of UpdateLayeredWindow: where, how big, the constant alpha and
// the pixels (top row first, premultiplied BGRA).
struct CLayeredCall
{
    HWND hWnd;
    CPoint ptDst;
    CSize size;
    BYTE nConstantAlpha;
    std::vector<DWORD> pixels;

    BYTE AlphaAt(int x, int y) const { return static_cast<BYTE>(pixels[y * size.cx + x] >> 24); }
};

inline std::vector<CLayeredCall>& LayeredCalls()
{
    static std::vector<CLayeredCall> calls;
    return calls;
}

inline BOOL WINAPI RecordUpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc,
                                             POINT* pptSrc, COLORREF crKey, BLENDFUNCTION* pBlend,
                                             DWORD dwFlags)
{
    CLayeredCall call{hWnd,
                      pptDst ? CPoint(*pptDst) : CPoint(-1, -1),
                      psize ? CSize(*psize) : CSize(0, 0),
                      pBlend ? pBlend->SourceConstantAlpha : static_cast<BYTE>(0),
                      {}};
    HBITMAP hBitmap = static_cast<HBITMAP>(::GetCurrentObject(hdcSrc, OBJ_BITMAP));
    if (psize != nullptr && psize->cx > 0 && psize->cy > 0)
    {
        call.pixels.resize(static_cast<size_t>(psize->cx) * psize->cy);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = psize->cx;
        bmi.bmiHeader.biHeight = -psize->cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        ::GetDIBits(hdcSrc, hBitmap, 0, psize->cy, call.pixels.data(), &bmi, DIB_RGB_COLORS);
    }
    LayeredCalls().push_back(std::move(call));
    return ::UpdateLayeredWindow(hWnd, hdcDst, pptDst, psize, hdcSrc, pptSrc, crKey, pBlend, dwFlags);
}

// The last call for a window, or null.
inline const CLayeredCall* LastLayeredCall(HWND hWnd)
{
    const std::vector<CLayeredCall>& calls = LayeredCalls();
    for (size_t i = calls.size(); i-- > 0;)
        if (calls[i].hWnd == hWnd)
            return &calls[i];
    return nullptr;
}

// Records the manager's calls for the life of a test.
class CLayeredRecorder
{
public:
    CLayeredRecorder()
    {
        CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();
        m_pfnSaved = pManager->m_pfnUpdateLayeredWindow;
        pManager->m_pfnUpdateLayeredWindow = &RecordUpdateLayeredWindow;
        LayeredCalls().clear();
    }
    ~CLayeredRecorder()
    {
        CQVTFrameShadowManager::GetInstance()->m_pfnUpdateLayeredWindow = m_pfnSaved;
        LayeredCalls().clear();
    }

private:
    CQVTFrameShadowManager::PFNUPDATELAYEREDWINDOW m_pfnSaved;
};

// A frame theme that casts the flat themes' shadow: black, 5 pixels out
// with 3 of corner, half transparent.
class CShadowFramePaintManager : public CQVTFramePaintManager
{
public:
    CShadowFramePaintManager() : CQVTFramePaintManager(nullptr) {}

    HRGN CreateFrameRegion(IQVTFrameHook*, CSize) override { return nullptr; }
    void DrawFrame(CDC*, IQVTFrameHook*) override {}
    void DrawCaptionButton(CDC*, CRect, int, BOOL, BOOL, BOOL, BOOL, CQVTRibbonBar*) override {}
    using CQVTFramePaintManager::DrawCaptionButton;

    CQVTFrameShadow* CreateShadow(CWnd* pFrame) override
    {
        return CQVTFrameShadowManager::GetInstance()->EnableShadow(pFrame, RGB(0, 0, 0), 5, 3, CPoint(0, 0),
                                                                   128);
    }
};

// The frame's shadow as the frame hook asks its theme for it.
inline CQVTFrameShadow* CreateThemeShadow(HWND hWndFrame)
{
    CShadowFramePaintManager theme;
    return theme.CreateShadow(CWnd::FromHandle(hWndFrame));
}

inline BOOL CALLBACK CountShadowWindow(HWND hWnd, LPARAM lParam)
{
    WCHAR szTitle[32] = {};
    ::GetWindowTextW(hWnd, szTitle, 32);
    if (lstrcmpW(szTitle, u"QVTFrameShadow") == 0)
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// Windows of this thread with the shadows' title.
inline int CountShadowWindows()
{
    int nCount = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountShadowWindow, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

// True when hWndBelow comes after hWnd in the z-order.
inline bool IsBelow(HWND hWndBelow, HWND hWnd)
{
    for (HWND h = ::GetWindow(hWnd, GW_HWNDNEXT); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        if (h == hWndBelow)
            return true;
    return false;
}

}  // namespace frameshadowtest
