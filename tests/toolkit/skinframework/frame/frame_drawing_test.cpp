// The skin frame on real windows: caption, borders, bars and the smallest
// size from the skin, the region open where the caption image is
// transparent, the caption buttons each style gets, scroll-bar layout over
// the whole int range, the inactive caption and the client's colours, Alt in
// a framed child, a template dialog, frames of another thread while skins
// change, a printed tool window, and skins or captions that give the frame
// little to work with.
#include <climits>

#include "tests/toolkit/skinframework/skin_test_support.h"
#include "dib_canvas.h"
#include "frame_test_support.h"
#include "real_input.h"
#include "win_thread.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"

namespace {
const DWORD kSkinFrameDrawStyle = WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL;

// The caption pixel a frame of that width shows at (x, y), from the skin.
COLORREF SkinFrameDrawCaptionPixel(CQVTSkinObjectFrame* pFrame, int cx, int x, int y)
{
    return SkinFrameRenderedPixel(u"WINDOW", 1, 1, CSize(cx, pFrame->GetBorders().top), CPoint(x, y));
}
}  // namespace

TEST(SkinFrameDrawing, CaptionBordersAndBarsComeFromTheSkin)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), kSkinFrameDrawStyle);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    PumpMessages(50);
    pFrame->RedrawFrame();

    CQVTSkinManagerMetrics* pMetrics = pFrame->GetMetrics();
    const CRect rcBorders = pFrame->GetBorders();
    CRect rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    const int cx = rcWindow.Width(), cy = rcWindow.Height();
    EXPECT_GT(rcBorders.top, rcBorders.left) << "the caption lies in the top border";
    EXPECT_EQ(cx - rcBorders.left - rcBorders.right - pMetrics->m_cxVScroll, rcClient.Width());
    EXPECT_EQ(cy - rcBorders.top - rcBorders.bottom - pMetrics->m_cyHScroll, rcClient.Height());

    // The caption's top rows and its middle, and the left edge.
    EXPECT_EQ(SkinFrameDrawCaptionPixel(pFrame, cx, cx / 2, 2), SkinFrameWindowPixel(hWnd, cx / 2, 2));
    EXPECT_EQ(SkinFrameDrawCaptionPixel(pFrame, cx, cx / 2, rcBorders.top - 2),
              SkinFrameWindowPixel(hWnd, cx / 2, rcBorders.top - 2));
    EXPECT_NE(::GetSysColor(COLOR_ACTIVECAPTION), SkinFrameWindowPixel(hWnd, cx / 2, 2));
    const CSize szLeft(rcBorders.left, cy - rcBorders.top - rcBorders.bottom);
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 7, 1, szLeft, CPoint(rcBorders.left / 2, 20)),
              SkinFrameWindowPixel(hWnd, rcBorders.left / 2, rcBorders.top + 20));

    // The vertical bar's second arrow, drawn normal (the pointer is away).
    const QVT_SKIN_SCROLLBARPOSINFO& bar = *pFrame->GetScrollBarPosInfo(SB_VERT);
    ASSERT_TRUE(bar.fVisible);
    EXPECT_EQ(rcWindow.Width() - rcBorders.right, bar.rc.right);
    const CSize szArrow(bar.pxRight - bar.pxLeft, bar.pxBottom - bar.pxDownArrow);
    const CPoint ptArrow(szArrow.cx / 2, szArrow.cy / 2);
    EXPECT_EQ(SkinFrameRenderedPixel(u"SCROLLBAR", 1, 5, szArrow, ptArrow),
              SkinFrameWindowPixel(hWnd, bar.pxLeft + ptArrow.x, bar.pxDownArrow + ptArrow.y));

    // Hit testing answers the skin's elements.
    const auto& buttons = pFrame->GetCaptionButtons();
    ASSERT_FALSE(buttons.empty());
    const CPoint ptClose = SkinFrameToScreen(hWnd, buttons[0]->m_rcButton.CenterPoint());
    EXPECT_EQ(HTCLOSE, ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)));
    const CPoint ptBar = SkinFrameToScreen(hWnd, CPoint(bar.pxLeft + 2, (bar.pxTop + bar.pxBottom) / 2));
    EXPECT_EQ(HTVSCROLL, ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptBar.x, ptBar.y)));
    const CPoint ptCaption = SkinFrameToScreen(hWnd, CPoint(cx / 2, rcBorders.top / 2));
    EXPECT_EQ(HTCAPTION, ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptCaption.x, ptCaption.y)));

    // The smallest size is as wide as the caption's height for each button,
    // a system button and both window edges, and as high as both borders.
    MINMAXINFO info = {};
    ::SendMessageW(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(static_cast<int>(buttons.size()) * rcBorders.top + ::GetSystemMetrics(SM_CYSIZE) +
                  2 * ::GetSystemMetrics(SM_CXEDGE),
              info.ptMinTrackSize.x);
    EXPECT_EQ(rcBorders.top + rcBorders.bottom, info.ptMinTrackSize.y);
    ::DestroyWindow(hWnd);
}

TEST(SkinFrameDrawing, RegionOpensWhereTheCaptionIsTransparentAndFollowsTheSkin)
{
    HWND hWnd = nullptr, hSecond = nullptr;
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    // A red window below shows through where the frame is cut away.
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = ::CreateSolidBrush(RGB(255, 0, 0));
    wc.lpszClassName = u"SkinFrameRedBelow";
    ::RegisterClassW(&wc);
    HWND hBelow = ::CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, u"", WS_POPUP, 0, 0, 600, 500,
                                    nullptr, nullptr, nullptr, nullptr);
    ::SetWindowPos(hBelow, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(hBelow);
    {
        SkinFrameLoadedSkin skin;
        hWnd = SkinFrameCreate(SkinFrameWindowClass(), kSkinFrameDrawStyle);
        PumpMessages(100);
        hSecond = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, TRUE, 200, 150);
        CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
        ASSERT_NE(nullptr, pFrame);
        EXPECT_TRUE(pFrame->IsRegionSet());
        ASSERT_NE(ERROR, ::GetWindowRgn(hWnd, hRgn));
        // The caption image's corners: three, two and one magenta pixels in
        // its first rows, at both ends.
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        const int cx = rcWindow.Width(), cy = rcWindow.Height();
        EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
        EXPECT_FALSE(::PtInRegion(hRgn, 2, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, 3, 0));
        EXPECT_FALSE(::PtInRegion(hRgn, 1, 1));
        EXPECT_TRUE(::PtInRegion(hRgn, 2, 1));
        EXPECT_TRUE(::PtInRegion(hRgn, 0, 3));
        EXPECT_FALSE(::PtInRegion(hRgn, cx - 1, 0));
        EXPECT_FALSE(::PtInRegion(hRgn, cx - 3, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, cx - 4, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, 0, cy - 1));
        EXPECT_TRUE(::PtInRegion(hRgn, cx / 2, cy / 2));
        // On the screen: the window is shaped by its region.
        HDC hScreen = ::GetDC(nullptr);
        EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hScreen, rcWindow.left, rcWindow.top));
        EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(hScreen, rcWindow.right - 1, rcWindow.top));
        EXPECT_EQ(SkinFrameWindowPixel(hWnd, 3, 0), ::GetPixel(hScreen, rcWindow.left + 3, rcWindow.top));
        EXPECT_NE(RGB(255, 0, 0), ::GetPixel(hScreen, rcWindow.left + 3, rcWindow.top));
        ::ReleaseDC(nullptr, hScreen);

        // A new size moves the right corner with the edge.
        ::SetWindowPos(hWnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_NE(ERROR, ::GetWindowRgn(hWnd, hRgn));
        EXPECT_FALSE(::PtInRegion(hRgn, 399, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, 396, 0));

        // Another scheme of the skin repaints every skinned window.
        const COLORREF clrBlue = SkinFrameWindowPixel(hWnd, 200, 2);
        const COLORREF clrBlueSecond = SkinFrameWindowPixel(hSecond, 100, 2);
        ASSERT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlack2.ini"));
        PumpMessages(50);
        CQVTSkinObjectFrame* pSecond = SkinFrameOf(hSecond);
        ASSERT_NE(nullptr, pSecond);
        EXPECT_EQ(SkinFrameDrawCaptionPixel(pFrame, 400, 200, 2), SkinFrameWindowPixel(hWnd, 200, 2));
        EXPECT_EQ(SkinFrameDrawCaptionPixel(pSecond, 200, 100, 2), SkinFrameWindowPixel(hSecond, 100, 2));
        EXPECT_NE(clrBlue, SkinFrameWindowPixel(hWnd, 200, 2));
        EXPECT_NE(clrBlueSecond, SkinFrameWindowPixel(hSecond, 100, 2));
    }
    // Unloaded: the system's frame and no region.
    PumpMessages(50);
    EXPECT_EQ(ERROR, ::GetWindowRgn(hWnd, hRgn));
    EXPECT_EQ(ERROR, ::GetWindowRgn(hSecond, hRgn));
    CRect rcSystem(0, 0, 100, 100);
    ::AdjustWindowRectEx(&rcSystem, kSkinFrameDrawStyle, FALSE, WS_EX_NOACTIVATE);
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(400 - (rcSystem.Width() - 100) - ::GetSystemMetrics(SM_CXVSCROLL), rcClient.Width());
    ::DeleteObject(hRgn);
    ::DestroyWindow(hWnd);
    ::DestroyWindow(hSecond);
    ::DestroyWindow(hBelow);
    ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
    ::DeleteObject(wc.hbrBackground);
}

TEST(SkinFrameDrawing, CaptionButtonsFollowTheStyle)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, FALSE);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    struct Row
    {
        DWORD dwStyle, dwExStyle;
        std::vector<std::pair<UINT, int>> buttons;  // command, part
    };
    const Row rows[] = {
        {WS_OVERLAPPEDWINDOW, 0, {{SC_CLOSE, 18}, {SC_MAXIMIZE, 17}, {SC_MINIMIZE, 15}}},
        {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, {{SC_CLOSE, 19}}},
        {WS_POPUP | WS_CAPTION, 0, {}},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, {{SC_CLOSE, 18}, {SC_CONTEXTHELP, 23}}},
        {WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, 0, {{SC_CLOSE, 18}, {SC_RESTORE, 21}, {SC_MINIMIZE, 15}}},
        {WS_POPUP | WS_BORDER, 0, {}},
        // Last: the system keeps WS_MINIMIZE once it is set.
        {WS_OVERLAPPEDWINDOW | WS_MINIMIZE, 0, {{SC_CLOSE, 18}, {SC_MAXIMIZE, 17}, {SC_RESTORE, 21}}},
    };
    for (const Row& row : rows)
    {
        ::SetWindowLongW(hWnd, GWL_STYLE, static_cast<LONG>(row.dwStyle));
        ::SetWindowLongW(hWnd, GWL_EXSTYLE, static_cast<LONG>(row.dwExStyle | WS_EX_NOACTIVATE));
        pFrame->UpdateButtons();
        const auto& buttons = pFrame->GetCaptionButtons();
        ASSERT_EQ(row.buttons.size(), buttons.size()) << std::hex << row.dwStyle << " " << row.dwExStyle;
        for (size_t i = 0; i < buttons.size(); ++i)
        {
            EXPECT_EQ(row.buttons[i].first, buttons[i]->m_nCommand) << i << " " << std::hex << row.dwStyle;
            EXPECT_EQ(row.buttons[i].second, buttons[i]->m_nClassPart) << i << " " << std::hex << row.dwStyle;
        }
    }

    ::DestroyWindow(hWnd);

    // A tool window's one button is square; a grey system-menu close
    // disables it, and a disabled button is never hit.
    hWnd = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, FALSE);
    pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    ::SetWindowLongW(hWnd, GWL_STYLE, static_cast<LONG>(WS_OVERLAPPEDWINDOW));
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
    pFrame->RedrawFrame();
    ASSERT_EQ(1u, pFrame->GetCaptionButtons().size());
    const CRect rcTool = pFrame->GetCaptionButtons()[0]->m_rcButton;
    EXPECT_EQ(rcTool.Width(), rcTool.Height());
    EXPECT_GT(rcTool.Width(), 0);
    ::SetWindowLongW(hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_NOACTIVATE));
    ::EnableMenuItem(::GetSystemMenu(hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    pFrame->RedrawFrame();
    ASSERT_EQ(3u, pFrame->GetCaptionButtons().size());
    const CQVTSkinObjectFrame::CCaptionButton* pClose = pFrame->GetCaptionButtons()[0].get();
    EXPECT_EQ(static_cast<UINT>(SC_CLOSE), pClose->m_nCommand);
    EXPECT_FALSE(pClose->m_bEnabled);
    EXPECT_FALSE(pClose->HitTest(pClose->m_rcButton.CenterPoint()));
    ::DestroyWindow(hWnd);
}

TEST(SkinFrameDrawing, ScrollBarLayoutHoldsOverTheWholeIntRange)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, FALSE);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    const int nArrow = pFrame->GetMetrics()->m_cyVScroll;
    CRect rcBar(0, 0, 17, 300);
    auto layout = [&](int nMin, int nMax, UINT nPage, int nPos) {
        QVT_SKIN_SCROLLBARPOSINFO spi = {};
        spi.fVert = TRUE;
        spi.nBar = SB_VERT;
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, nPage, nPos, 0};
        pFrame->CalcScrollBarInfo(&rcBar, &spi, &si);
        return spi;
    };

    // INT_MIN..INT_MAX: a range of 2^32, with the thumb where the position says.
    QVT_SKIN_SCROLLBARPOSINFO spi = layout(INT_MIN, INT_MAX, 0, 0);
    EXPECT_EQ(nArrow, spi.cpxThumb) << "page 0: the thumb is one arrow long";
    EXPECT_GT(spi.pxPopup, 100);
    EXPECT_NEAR(spi.pxMin + spi.pxPopup / 2, spi.pxThumbTop, 1);
    EXPECT_EQ(spi.pxMin + spi.pxPopup, layout(INT_MIN, INT_MAX, 0, INT_MAX).pxThumbTop);
    EXPECT_EQ(spi.pxMin, layout(INT_MIN, INT_MAX, 0, INT_MIN).pxThumbTop);
    EXPECT_EQ(INT_MIN, CQVTSkinObjectFrame::PixelToScrollPos(&spi, spi.pxMin));
    EXPECT_EQ(INT_MAX, CQVTSkinObjectFrame::PixelToScrollPos(&spi, spi.pxMin + spi.pxPopup));
    const int nMiddle = CQVTSkinObjectFrame::PixelToScrollPos(&spi, spi.pxMin + spi.pxPopup / 2);
    EXPECT_LT(std::abs(static_cast<long long>(nMiddle)), 0x100000000LL / spi.pxPopup);
    // The largest page covers half of that range.
    QVT_SKIN_SCROLLBARPOSINFO half = layout(INT_MIN, INT_MAX, 0x80000000u, 0);
    EXPECT_EQ(0x7FFFFFFF, half.page);
    EXPECT_NEAR((half.pxDownArrow - half.pxUpArrow) / 2, half.cpxThumb, 1);

    // 0..INT_MAX with a page: the last position keeps the page in view.
    QVT_SKIN_SCROLLBARPOSINFO paged = layout(0, INT_MAX, 1000, 0);
    EXPECT_EQ(INT_MAX - 999, CQVTSkinObjectFrame::PixelToScrollPos(&paged, paged.pxMin + paged.pxPopup));
    EXPECT_EQ(paged.pxMin + paged.pxPopup, layout(0, INT_MAX, 1000, INT_MAX - 999).pxThumbTop);

    // Nothing to scroll: the thumb sits one pixel before the track.
    EXPECT_EQ(spi.pxMin - 1, layout(0, 0, 0, 0).pxThumbTop);
    EXPECT_EQ(nArrow, layout(0, 0, 0, 0).cpxThumb);
    EXPECT_EQ(spi.pxMin - 1, layout(0, 9, 10, 0).pxThumbTop);
    EXPECT_EQ(spi.pxMin - 1, layout(5, 4, 3, 0).pxThumbTop) << "a maximum below the minimum";
    ::DestroyWindow(hWnd);
}

TEST(SkinFrameDrawing, SkinWithoutFramePartsAndCaptionsOfAnyLength)
{
    SkinTempFolder folder;
    folder.WriteText(u"Bare.ini", u"[Globals]\r\nBorderSize = 1\r\n");
    ASSERT_TRUE(QVTSkinManager()->LoadSkin(folder.Path(), u"Bare.ini"));
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), kSkinFrameDrawStyle);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    PumpMessages(50);
    pFrame->RedrawFrame();
    // No frame image: the caption is filled, nothing is cut away.
    EXPECT_EQ(pFrame->GetColor(COLOR_ACTIVECAPTION), SkinFrameWindowPixel(hWnd, 160, 2));
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(hWnd, hRgn) != ERROR)
    {
        EXPECT_TRUE(::PtInRegion(hRgn, 0, 0));
        EXPECT_TRUE(::PtInRegion(hRgn, 319, 0));
    }
    ::DeleteObject(hRgn);
    ASSERT_EQ(3u, pFrame->GetCaptionButtons().size());
    const CRect rcClose = pFrame->GetCaptionButtons()[0]->m_rcButton;
    const COLORREF clrClose = SkinFrameWindowPixel(hWnd, rcClose.CenterPoint().x, rcClose.CenterPoint().y);

    // A caption far longer than the frame ends before the buttons.
    std::u16string strLong(100000, u'W');
    ::SetWindowTextW(hWnd, strLong.c_str());
    pFrame->RedrawFrame();
    EXPECT_EQ(clrClose, SkinFrameWindowPixel(hWnd, rcClose.CenterPoint().x, rcClose.CenterPoint().y));
    const CPoint ptClose = SkinFrameToScreen(hWnd, rcClose.CenterPoint());
    EXPECT_EQ(HTCLOSE, ::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)));
    ::SetWindowTextW(hWnd, u"");
    pFrame->RedrawFrame();
    ::DestroyWindow(hWnd);
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
}

TEST(SkinFrameDrawing, InactiveCaptionAndTheClientsColoursFromTheSkin)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    PumpMessages(50);
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    const int cx = rcWindow.Width();
    const CSize szCaption(cx, pFrame->GetBorders().top);
    ::SendMessageW(hWnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(pFrame->IsActive());
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 1, 2, szCaption, CPoint(cx / 2, 2)),
              SkinFrameWindowPixel(hWnd, cx / 2, 2));
    ::SendMessageW(hWnd, WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(pFrame->IsActive());
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 1, 1, szCaption, CPoint(cx / 2, 2)),
              SkinFrameWindowPixel(hWnd, cx / 2, 2));

    // The class's system-colour brush erases with the skin's colour, and
    // stays the class's own.
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::UpdateWindow(hWnd);
    const CRect rcBorders = pFrame->GetBorders();
    EXPECT_EQ(pFrame->GetColor(COLOR_WINDOW),
              SkinFrameWindowPixel(hWnd, rcBorders.left + 10, rcBorders.top + 10));
    EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_WINDOW + 1), ::GetClassLongPtrW(hWnd, GCLP_HBRBACKGROUND));

    // A static gets the skin's dialog brush and text colour; an edit, with
    // its skin object, the skin's window brush.
    CQVTSkinManagerMetrics* pMetrics = pFrame->GetMetrics();
    HWND hStatic =
        ::CreateWindowExW(0, u"Static", u"text", WS_CHILD, 5, 5, 60, 20, hWnd, nullptr, nullptr, nullptr);
    HWND hEdit = ::CreateWindowExW(0, u"Edit", u"", WS_CHILD, 5, 30, 60, 20, hWnd, nullptr, nullptr, nullptr);
    HDC hDC = ::GetDC(hStatic);
    EXPECT_EQ(reinterpret_cast<LRESULT>(pMetrics->m_brushButtonFace.GetSafeHandle()),
              ::SendMessageW(hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                             reinterpret_cast<LPARAM>(hStatic)));
    EXPECT_EQ(pFrame->GetColor(COLOR_BTNTEXT), ::GetTextColor(hDC));
    EXPECT_EQ(pFrame->GetColor(COLOR_BTNFACE), ::GetBkColor(hDC));
    EXPECT_EQ(reinterpret_cast<LRESULT>(pMetrics->m_brushWindow.GetSafeHandle()),
              ::SendMessageW(hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                             reinterpret_cast<LPARAM>(hEdit)));
    ::ReleaseDC(hStatic, hDC);
    ::DestroyWindow(hWnd);
}

TEST(SkinFrameDrawing, AltReleasedInAFramedChildOpensTheTopLevelMenu)
{
    SkinFrameLoadedSkin skin;
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuW(hMenu, MF_STRING, 1, u"&File");
    HWND hTop = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, FALSE, 320, 260, hMenu);
    // A window with a menu gets the application frame, which skins its bar.
    EXPECT_NE(nullptr, SkinFrameOf(hTop));
    HWND hChild =
        SkinFrameCreate(SkinFrameWindowClass(), WS_CHILD | WS_BORDER, 0, FALSE, 100, 60, nullptr, hTop);
    ASSERT_NE(nullptr, SkinFrameOf(hChild));
    g_skinFrameLog.Clear();
    ::SendMessageW(hChild, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    ::SendMessageW(hChild, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001u));
    ASSERT_EQ(1u, g_skinFrameLog.sysCommands.size());
    EXPECT_EQ(static_cast<UINT>(SC_KEYMENU), g_skinFrameLog.sysCommands[0]);
    EXPECT_FALSE(CQVTSkinObjectFrame::IsAltPressed());
    g_skinFrameLog.Clear();
    ::DestroyWindow(hTop);
}

TEST(SkinFrameDrawing, TemplateDialogIsFramedAndRepaintsItsCaptionText)
{
    SkinFrameLoadedSkin skin;
    // A dialog of the system's dialog class, with a static and a button.
    std::vector<WORD> words;
    auto append = [&words](const void* pData, size_t cb) {
        const WORD* p = static_cast<const WORD*>(pData);
        words.insert(words.end(), p, p + cb / 2);
    };
    DLGTEMPLATE dlg = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, WS_EX_NOACTIVATE, 2, 0, 0, 200, 100};
    append(&dlg, sizeof(dlg));
    for (WORD w : {0, 0, 0, 8})
        words.push_back(w);
    for (WCHAR ch : std::u16string(u"MS Shell Dlg"))
        words.push_back(ch);
    words.push_back(0);
    for (WORD wClass : {WORD(0x0082), WORD(0x0080)})
    {
        while (words.size() % 2 != 0)
            words.push_back(0);
        DLGITEMTEMPLATE item = {
            WS_CHILD | WS_VISIBLE, 0, 5, static_cast<short>(wClass == 0x0082 ? 5 : 30), 60, 14, wClass};
        append(&item, sizeof(item));
        for (WORD w : {WORD(0xFFFF), wClass, WORD(0), WORD(0)})
            words.push_back(w);
    }
    HWND hDlg = ::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr, nullptr, 0);
    ASSERT_NE(nullptr, hDlg);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hDlg);
    ASSERT_NE(nullptr, pFrame) << "a dialog without a menu gets the frame";
    ::SetWindowPos(hDlg, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages(100);
    CRect rcWindow;
    ::GetWindowRect(hDlg, &rcWindow);
    const CRect rcBorders = pFrame->GetBorders();
    const CSize szCaption(rcWindow.Width(), rcBorders.top);
    const CPoint ptText(rcBorders.left + 12, rcBorders.top / 2 + 1);
    const COLORREF clrPlain = SkinFrameRenderedPixel(u"WINDOW", 1, 1, szCaption, ptText);
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 1, 1, szCaption, CPoint(rcWindow.Width() / 2, 2)),
              SkinFrameWindowPixel(hDlg, rcWindow.Width() / 2, 2));

    // The text drawn by the skin's caption font and colour over the skin's
    // caption, after the system's own handling of the new text.
    ::SetWindowTextW(hDlg, u"\u2588\u2588\u2588\u2588\u2588\u2588");
    bool bText = false;
    for (int x = rcBorders.left; x < rcWindow.Width() / 2 && !bText; ++x)
        bText = SkinFrameWindowPixel(hDlg, x, ptText.y) == pFrame->GetColor(COLOR_CAPTIONTEXT);
    EXPECT_TRUE(bText);
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 1, 1, szCaption, CPoint(rcWindow.Width() / 2, 2)),
              SkinFrameWindowPixel(hDlg, rcWindow.Width() / 2, 2));
    EXPECT_NE(clrPlain, pFrame->GetColor(COLOR_CAPTIONTEXT));
    ::DestroyWindow(hDlg);
}

TEST(SkinFrameDrawing, FrameOfAnotherThreadGivesUpItsRegionWhenTheSkinGoes)
{
    SkinFrameLoadedSkin skin;
    HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hOther = nullptr;
    WinThread thread([&] {
        hOther = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, 0, FALSE);
        ::SetEvent(hReady);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::DestroyWindow(hOther);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hReady, 60000));
    ASSERT_NE(nullptr, hOther);
    ASSERT_NE(nullptr, SkinFrameOf(hOther));
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(hOther, hRgn));
    // The notice is posted to the other thread's subclassed window.
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
    const DWORD dwStart = ::GetTickCount();
    while (::GetWindowRgn(hOther, hRgn) != ERROR && ::GetTickCount() - dwStart < 60000)
        ::Sleep(10);
    EXPECT_EQ(ERROR, ::GetWindowRgn(hOther, hRgn));
    ::DeleteObject(hRgn);
    ::PostThreadMessageW(::GetWindowThreadProcessId(hOther, nullptr), WM_QUIT, 0, 0);
    thread.join();
    ::CloseHandle(hReady);
}

namespace {
// Waits until the frame of another thread shows the loaded skin's caption
// at a point, as the skin draws a caption of the frame's height: that thread
// lays its frame out and paints when it takes the skin's notice. The limit
// only guards against a hang.
bool SkinFrameAwaitCaption(HWND hWnd, CQVTSkinObjectFrame* pFrame, CPoint pt)
{
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    const DWORD dwStart = ::GetTickCount();
    for (;;)
    {
        const CSize szCaption(rcWindow.Width(), pFrame->GetBorders().top);
        if (SkinFrameWindowPixel(hWnd, pt.x, pt.y) == SkinFrameRenderedPixel(u"WINDOW", 1, 1, szCaption, pt))
            return true;
        if (::GetTickCount() - dwStart > 60000)
            return false;
        ::Sleep(10);
    }
}

// The frame of another thread printed while a skin change stands where the
// new skin is published.
HWND g_hSkinFramePrinted = nullptr;
DibCanvas* g_pSkinFramePrint = nullptr;

void AFXAPI SkinFramePrintWhilePublished()
{
    DWORD_PTR nResult = 0;
    ::SendMessageTimeoutW(g_hSkinFramePrinted, WM_PRINT,
                          reinterpret_cast<WPARAM>(g_pSkinFramePrint->dc.m_hDC), PRF_NONCLIENT, SMTO_NORMAL,
                          60000, &nResult);
}
}  // namespace

TEST(SkinFrameDrawing, FrameOfAnotherThreadRepaintsWhileSkinsComeAndGo)
{
    SkinFrameLoadedSkin skin;
    HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hOther = nullptr;
    WinThread thread([&] {
        hOther = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW | WS_VSCROLL);
        ::SetEvent(hReady);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::DestroyWindow(hOther);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hReady, 60000));
    ASSERT_NE(nullptr, hOther);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hOther);
    ASSERT_NE(nullptr, pFrame);
    CRect rcWindow;
    ::GetWindowRect(hOther, &rcWindow);
    const CPoint ptCaption(rcWindow.Width() / 2, 2);
    // A load frees the schema the other thread draws with: each waits for
    // the other, and the notice posted repaints the other thread's frame.
    for (int nRound = 0; nRound < 6; ++nRound)
    {
        LPCTSTR lpszIni = nRound % 2 == 0 ? u"NormalBlack2.ini" : u"NormalBlue.ini";
        ASSERT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), lpszIni));
        EXPECT_TRUE(SkinFrameAwaitCaption(hOther, pFrame, ptCaption)) << nRound;
        ::InvalidateRect(hOther, nullptr, TRUE);
    }

    // Drawn the moment a skin is published, the scroll bar is the skin's
    // whole: its sizes and colours are made before.
    DibCanvas published(rcWindow.Width(), rcWindow.Height(), RGB(1, 2, 3));
    g_hSkinFramePrinted = hOther;
    g_pSkinFramePrint = &published;
    CQVTSkinManager::s_pfnBeforeColorRefresh = &SkinFramePrintWhilePublished;
    const BOOL bLoaded = QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlack2.ini");
    CQVTSkinManager::s_pfnBeforeColorRefresh = nullptr;
    ASSERT_TRUE(bLoaded);
    EXPECT_TRUE(SkinFrameAwaitCaption(hOther, pFrame, ptCaption));
    DibCanvas settled(rcWindow.Width(), rcWindow.Height(), RGB(1, 2, 3));
    ::SendMessageW(hOther, WM_PRINT, reinterpret_cast<WPARAM>(settled.dc.m_hDC), PRF_NONCLIENT);
    const CRect rcBar = pFrame->GetScrollBarPosInfo(SB_VERT)->rc;
    ASSERT_GT(rcBar.Width(), 0);
    int nDiffer = 0;
    for (int y = rcBar.top; y < rcBar.bottom; ++y)
        for (int x = rcBar.left; x < rcBar.right; ++x)
            nDiffer += published.At(x, y) != settled.At(x, y);
    EXPECT_EQ(0, nDiffer);

    ::PostThreadMessageW(::GetWindowThreadProcessId(hOther, nullptr), WM_QUIT, 0, 0);
    thread.join();
    ::CloseHandle(hReady);
}

TEST(SkinFrameDrawing, PrintedToolWindowShowsOnlyTheSmallCloseButton)
{
    SkinFrameLoadedSkin skin;
    HWND hWnd = SkinFrameCreate(SkinFrameWindowClass(), WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, FALSE);
    CQVTSkinObjectFrame* pFrame = SkinFrameOf(hWnd);
    ASSERT_NE(nullptr, pFrame);
    CRect rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    DibCanvas canvas(rcWindow.Width(), rcWindow.Height(), RGB(1, 2, 3));
    ::SendMessageW(hWnd, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()), PRF_NONCLIENT);
    ASSERT_EQ(1u, pFrame->GetCaptionButtons().size());
    const CRect rcClose = pFrame->GetCaptionButtons()[0]->m_rcButton;
    ASSERT_FALSE(rcClose.IsRectEmpty());
    const CSize szCaption(rcWindow.Width(), pFrame->GetBorders().top);
    const CPoint ptInButton(rcClose.Width() / 3, rcClose.Height() / 3);
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 19, 1, rcClose.Size(), ptInButton),
              canvas.At(rcClose.left + ptInButton.x, rcClose.top + ptInButton.y));
    // Where a second button would stand, the small caption.
    const CPoint ptBeside(rcClose.left - rcClose.Width() + ptInButton.x, rcClose.top + ptInButton.y);
    EXPECT_EQ(SkinFrameRenderedPixel(u"WINDOW", 2, 1, szCaption, ptBeside),
              canvas.At(ptBeside.x, ptBeside.y));
    ::DestroyWindow(hWnd);
}
