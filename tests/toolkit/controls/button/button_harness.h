// A parent window with toolkit buttons, and the buttons drawn into DIBs.
#pragma once

#include "dib_canvas.h"
#include "real_input.h"
#include "toolkit/controls/button/QVTButton.h"

#include <cstdlib>
#include <memory>
#include <vector>

// The prefix this run uses has the visual style on unless told otherwise.
inline bool VisualStylesExpected()
{
    const char* pszValue = std::getenv("SONDREL_EXPECT_VISUAL_STYLES");
    return !pszValue || std::atoi(pszValue) != 0;
}

class CButtonParent : public CWnd
{
public:
    CButtonParent()
    {
        CreateEx(WS_EX_TOPMOST,
                 AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE)),
                 _T("buttons"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 560, 120, 400, 300, nullptr,
                 nullptr);
        SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
    }
    ~CButtonParent() override
    {
        m_buttons.clear();
        if (m_hWnd)
            DestroyWindow();
    }

    // Above windows that tests running beside this one put up meanwhile.
    void Raise() { SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

    // A button of the style at the rectangle; owned by the parent.
    CQVTButton* Add(LPCTSTR lpszCaption, DWORD dwStyle, CRect rc, UINT nID = 100)
    {
        m_buttons.push_back(std::make_unique<CQVTButton>());
        CQVTButton* pButton = m_buttons.back().get();
        if (!pButton->Create(lpszCaption, WS_CHILD | WS_VISIBLE | dwStyle, rc, this, nID))
            return nullptr;
        pButton->SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
        return pButton;
    }

    std::vector<std::unique_ptr<CQVTButton>> m_buttons;
    std::vector<std::pair<UINT, HWND>> m_commands;  // WM_COMMAND: (wParam, lParam)

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            m_commands.push_back({(UINT)wParam, (HWND)lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The button as WM_PRINTCLIENT draws it.
struct ButtonPicture : DibCanvas
{
    explicit ButtonPicture(CQVTButton* pButton) : DibCanvas(Size(pButton).cx, Size(pButton).cy, RGB(1, 2, 3))
    {
        pButton->SendMessage(WM_PRINTCLIENT, (WPARAM)dc.m_hDC, PRF_CLIENT);
    }
    static CSize Size(CQVTButton* pButton)
    {
        CRect rc;
        pButton->GetClientRect(&rc);
        return rc.Size();
    }
    // Pixels of the colour inside a rectangle.
    int CountIn(const CRect& rc, COLORREF clr) const
    {
        int n = 0;
        for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, Height()); ++y)
            for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, Width()); ++x)
                n += At(x, y) == clr;
        return n;
    }
    // The smallest rectangle holding the pixels of the colour.
    CRect BoundsOf(COLORREF clr) const
    {
        CRect bounds(Width(), Height(), 0, 0);
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (At(x, y) == clr)
                    bounds = CRect(std::min<int>(bounds.left, x), std::min<int>(bounds.top, y),
                                   std::max<int>(bounds.right, x + 1), std::max<int>(bounds.bottom, y + 1));
        return bounds;
    }
};

inline bool NearColor(COLORREF a, COLORREF b, int nTolerance = 2)
{
    return abs(GetRValue(a) - GetRValue(b)) <= nTolerance && abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}
