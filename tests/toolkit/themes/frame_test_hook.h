// What the frame paint managers ask of a frame hook, answered for a plain
// window of the test: its borders and caption are what the test sets, so
// the managers draw into a DIB as the hook would have them draw.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/frame/QVTFramePaintManager.h"

class TestFrameHook : public IQVTFrameHook
{
public:
    // A hidden top-level window whose non-client area is the given insets.
    TestFrameHook(CRect rcInsets, CSize size, DWORD dwStyle = WS_OVERLAPPEDWINDOW, DWORD dwExStyle = 0)
    {
        static ATOM atom = RegisterClass();
        hwnd = ::CreateWindowExW(dwExStyle, MAKEINTATOM(atom), u"Frame", dwStyle, 0, 0, size.cx, size.cy,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SetPropW(hwnd, u"TestInsets", new CRect(rcInsets));
        ::SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE);
        captionHeight = rcInsets.top;
    }
    ~TestFrameHook() override
    {
        delete static_cast<CRect*>(::RemovePropW(hwnd, u"TestInsets"));
        ::DestroyWindow(hwnd);
    }

    HWND GetSite() const override { return hwnd; }
    BOOL IsFrameActive() const override { return active; }
    BOOL IsDwmEnabled() const override { return FALSE; }
    BOOL IsCaptionVisible() const override { return captionVisible; }
    int GetCaptionHeight() const override { return captionHeight; }
    BOOL IsFrameHasStatusBar(int* pnHeight) const override
    {
        if (pnHeight)
            *pnHeight = statusBarHeight;
        return statusBarHeight > 0;
    }
    CQVTRibbonBar* GetRibbonBar() const override { return nullptr; }
    CQVTFrameShadow* GetFrameShadow() const override { return nullptr; }
    CQVTControls* GetCaptionButtons() const override { return buttons; }
    void DrawRibbonFrameCaption(CDC*) override { ++ribbonCaptionDraws; }

    CRect WindowRect() const
    {
        CRect rc;
        ::GetWindowRect(hwnd, &rc);
        return rc;
    }

    HWND hwnd = nullptr;
    BOOL active = TRUE;
    BOOL captionVisible = TRUE;
    int captionHeight = 0;
    int statusBarHeight = 0;
    CQVTControls* buttons = nullptr;
    int ribbonCaptionDraws = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        if (nMessage == WM_NCCALCSIZE)
        {
            const CRect* pInsets = static_cast<const CRect*>(::GetPropW(hWnd, u"TestInsets"));
            RECT* pRect = reinterpret_cast<RECT*>(lParam);
            if (pInsets)
            {
                pRect->left += pInsets->left;
                pRect->top += pInsets->top;
                pRect->right -= pInsets->right;
                pRect->bottom -= pInsets->bottom;
            }
            return 0;
        }
        return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
    }
    static ATOM RegisterClass()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &TestFrameHook::WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = u"SondrelTestFrameHookWindow";
        return ::RegisterClassW(&wc);
    }
};

// The rectangles a region is made of, in the order GDI keeps them.
inline std::vector<CRect> RegionRects(HRGN hRegion)
{
    std::vector<CRect> rects;
    const DWORD nSize = ::GetRegionData(hRegion, 0, nullptr);
    std::vector<BYTE> data(nSize);
    RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
    if (nSize && ::GetRegionData(hRegion, nSize, pData))
    {
        const RECT* pRects = reinterpret_cast<const RECT*>(pData->Buffer);
        for (DWORD i = 0; i < pData->rdh.nCount; ++i)
            rects.emplace_back(pRects[i]);
    }
    return rects;
}
