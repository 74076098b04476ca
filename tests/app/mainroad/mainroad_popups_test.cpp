// The main window's popups as a user meets them: the Style popup of the
// quick-access row, Options beside the tabs and its Style submenu, the
// ribbon's context menu, the quick-access menu, Stop's and Continue's menus
// while recording and the file list's menu, each opened by a real click (a
// split button's by the first click on its caption, through the button's
// tip lying there), judged by the X server's picture of the screen, read
// from outside Wine (its items' texts on its face, never a black box, also
// while the pointer moves over it), and by what a click on an item does.
// The program runs with the system's menus fading, sliding and not
// animated. (A rounded popup's corner shadow, made a layered window, once
// covered each popup with a black box.)
#include <afxwin.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace popuproad {

const char16_t kOutputFolder[] = u"C:\\mainroad-popups\\";

// Colours of the ribbon's images besides the common ones.
const COLORREF kContinueTriangle = RGB(40, 160, 60);
const COLORREF kMp3Face = RGB(230, 120, 20);
// The style icon's aqua dot, the only aqua of the main window.
const COLORREF kStyleAquaDot = RGB(0, 170, 190);

const int kStyleBlue = 32801;
const int kStyleAqua = 32803;

DWORD ReadSetting(const char16_t* pszName, DWORD dwDefault)
{
    DWORD dwValue = dwDefault, cb = sizeof dwValue;
    if (::RegGetValueW(HKEY_CURRENT_USER, W(kSettingsKey), W(pszName), RRF_RT_REG_DWORD, nullptr, &dwValue,
                       &cb) != ERROR_SUCCESS)
        return dwDefault;
    return dwValue;
}

// The system's menu animation, its fade (a slide without it) and the drop
// shadows, as the next program started reads them.
void SetMenuAnimation(BOOL bOn, BOOL bFade = TRUE)
{
    ::SystemParametersInfoW(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(bOn)),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    ::SystemParametersInfoW(SPI_SETMENUFADE, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(bOn && bFade)),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    ::SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(bOn)),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

// The popup bars the program shows, top-most first.
std::vector<HWND> Popups(const SondrelProcess& program)
{
    return VisibleWindowsOfClass(program.Id(), u"QVTPopupBar");
}

void MouseRightClick()
{
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    Wait(40);
    SendMouse(MOUSEEVENTF_RIGHTUP);
}

int Luminance(COLORREF clr)
{
    return (GetRValue(clr) * 30 + GetGValue(clr) * 59 + GetBValue(clr) * 11) / 100;
}

// What the screen shows of a popup: how much of it is black, and the rows
// of its items' texts (dark ink on its light face), top to bottom, in
// screen coordinates.
struct PopupFace
{
    CRect rcScreen;
    int nPixels = 0;
    int nBlack = 0;
    std::vector<int> itemRows;
    std::string Describe() const
    {
        return std::to_string(rcScreen.Width()) + "x" + std::to_string(rcScreen.Height()) + " at " +
               std::to_string(rcScreen.left) + "," + std::to_string(rcScreen.top) + ", " +
               std::to_string(nBlack) + " of " + std::to_string(nPixels) + " pixels black, " +
               std::to_string(itemRows.size()) + " rows of text";
    }
};

PopupFace ReadPopup(HWND hPopup)
{
    PopupFace face;
    ::GetWindowRect(hPopup, &face.rcScreen);
    auto shot = ScreenPicture(face.rcScreen);
    const int cx = shot->Width(), cy = shot->Height();
    face.nPixels = cx * cy;
    std::vector<int> inkPerRow(cy, 0);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
        {
            const COLORREF clr = shot->At(x, y);
            if (clr == RGB(0, 0, 0))
                ++face.nBlack;
            // Text lies right of the icon column and inside the border.
            if (x > cx / 5 && x < cx - 4 && y > 1 && y < cy - 2 && Luminance(clr) < 110)
                ++inkPerRow[y];
        }
    // Runs of rows with ink are the items' texts; a separator is a single
    // line, too thin for text.
    for (int y = 0; y < cy;)
    {
        if (inkPerRow[y] == 0)
        {
            ++y;
            continue;
        }
        const int nTop = y;
        while (y < cy && inkPerRow[y] > 0)
            ++y;
        if (y - nTop >= 4)
            face.itemRows.push_back(face.rcScreen.top + (nTop + y) / 2);
    }
    return face;
}

// A popup that is not a black box on the screen: no more than a sliver of
// black, and the expected number of item rows. Its face.
PopupFace ExpectReadable(HWND hPopup, size_t nItems, const char* pszWhich)
{
    const PopupFace face = ReadPopup(hPopup);
    EXPECT_LT(face.nBlack * 10, face.nPixels) << pszWhich << ": " << face.Describe();
    EXPECT_EQ(nItems, face.itemRows.size()) << pszWhich << ": " << face.Describe();
    return face;
}

class MainRoadPopups : public ::testing::Test
{
protected:
    void SetUp() override { ResetProgramSettings(kOutputFolder); }

    bool StartProgram()
    {
        if (!m_program.Start())
            return false;
        m_hMain = ShowMainWindow(m_program);
        if (!m_hMain)
            return false;
        Wait(200);
        return true;
    }

    // Waits for the number of popups the program shows.
    std::vector<HWND> WaitForPopups(size_t nCount, DWORD dwTimeout = 5000)
    {
        std::vector<HWND> popups;
        WaitUntil(
            [&] {
                popups = Popups(m_program);
                return popups.size() == nCount;
            },
            dwTimeout);
        return popups;
    }

    // A popup's face once its animation has had its time, and again with
    // the pointer moved across its items.
    PopupFace CheckPopup(HWND hPopup, size_t nItems, const char* pszWhich)
    {
        Wait(700);
        PopupFace face = ExpectReadable(hPopup, nItems, pszWhich);
        for (int y : face.itemRows)
        {
            MouseMoveTo(CPoint(face.rcScreen.left + face.rcScreen.Width() / 2, y));
            Wait(150);
        }
        // Back to the first item, so that no submenu stays open.
        if (!face.itemRows.empty())
            MouseMoveTo(CPoint(face.rcScreen.left + face.rcScreen.Width() / 2, face.itemRows.front()));
        Wait(400);
        ExpectReadable(hPopup, nItems, pszWhich);
        return face;
    }

    void ClickItem(const PopupFace& face, size_t nItem)
    {
        ASSERT_LT(nItem, face.itemRows.size());
        ClickAt(CPoint(face.rcScreen.left + face.rcScreen.Width() / 2, face.itemRows[nItem]));
    }

    // The style icon on the quick-access row.
    bool FindStyleIcon(CPoint* pScreen, CRect* prcScreen = nullptr)
    {
        return FindRibbonIcon(m_hMain, kStyleAquaDot, pScreen, prcScreen, 4);
    }
    bool FindIcon(COLORREF clr, CPoint* pScreen, CRect* prcScreen = nullptr)
    {
        return FindRibbonIcon(m_hMain, clr, pScreen, prcScreen);
    }

    // A colour's patch on the quick-access row, level with the style icon.
    bool FindQuickAccessIcon(COLORREF clr, int yRow, CPoint* pScreen, CRect* prcScreen)
    {
        CRect rcWindow;
        auto shot = Shot(m_hMain, &rcWindow);
        const int y = yRow - rcWindow.top;
        CPoint pt;
        CRect rcPatch;
        if (!FindColourPatch(*shot, CRect(0, std::max(0, y - 12), shot->Width(), y + 12), clr, 6, 20, &pt,
                             &rcPatch))
            return false;
        *pScreen = pt + rcWindow.TopLeft();
        *prcScreen = rcPatch + rcWindow.TopLeft();
        return true;
    }

    void WalkEveryPopup();
    bool OpenSplitMenu(COLORREF clrIcon, const char* pszWhich, PopupFace* pFace);
    void WalkStopMenu();

    SondrelProcess m_program;
    HWND m_hMain = nullptr;
};

void MainRoadPopups::WalkEveryPopup()
{
    // The Style popup of the quick-access row: four styles; Blue acts.
    CPoint ptStyle;
    ASSERT_TRUE(FindStyleIcon(&ptStyle)) << "no style icon on the quick-access row";
    ClickAt(ptStyle);
    std::vector<HWND> popups = WaitForPopups(1);
    ASSERT_EQ(1u, popups.size()) << "the Style popup does not open";
    PopupFace style = CheckPopup(popups[0], 4, "Style");
    ClickItem(style, 0);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ReadSetting(u"RibbonStyle", 0) == kStyleBlue; }, 5000))
        << "Blue style did not take: " << ReadSetting(u"RibbonStyle", 0);
    Wait(300);

    // Options beside the tabs, at the window's right: Style and Minimize to
    // tray; Style opens its own four styles, Aqua acts, and Minimize to tray
    // turns the setting on.
    CRect rcMain;
    ::GetWindowRect(m_hMain, &rcMain);
    const int nTabRow = ptStyle.y + 25;
    CPoint ptOptions;
    bool bOptionsOpen = false;
    // The tab row lies under the caption row, about a row's height down;
    // Options is the first control left of About at the right end.
    for (int dy = 0; dy <= 24 && !bOptionsOpen; dy += 6)
        for (int dx = 40; dx <= 100 && !bOptionsOpen; dx += 10)
        {
            ptOptions = CPoint(rcMain.right - dx, nTabRow + dy);
            ClickAt(ptOptions);
            bOptionsOpen = WaitUntil([&] { return Popups(m_program).size() == 1; }, 700);
            if (!bOptionsOpen)
            {
                // A stray click may have opened the about box.
                if (HWND hAbout = WaitForWindow(m_program.Id(), u"About Sondrel", 300))
                {
                    ::PostMessageW(hAbout, WM_CLOSE, 0, 0);
                    Wait(500);
                }
            }
        }
    ASSERT_TRUE(bOptionsOpen) << "Options opens nothing";
    popups = WaitForPopups(1);
    PopupFace options = CheckPopup(popups[0], 2, "Options");
    ASSERT_EQ(2u, options.itemRows.size());
    MouseMoveTo(CPoint(options.rcScreen.left + options.rcScreen.Width() / 2, options.itemRows[0]));
    std::vector<HWND> chain = WaitForPopups(2);
    ASSERT_EQ(2u, chain.size()) << "Options' Style opens no submenu";
    HWND hSubmenu = chain[0] == popups[0] ? chain[1] : chain[0];
    Wait(700);
    PopupFace submenu = ExpectReadable(hSubmenu, 4, "Options' Style");
    ClickItem(submenu, 2);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ReadSetting(u"RibbonStyle", 0) == kStyleAqua; }, 5000))
        << "Aqua did not take: " << ReadSetting(u"RibbonStyle", 0);
    Wait(300);
    ClickAt(ptOptions);
    popups = WaitForPopups(1);
    ASSERT_EQ(1u, popups.size());
    options = CheckPopup(popups[0], 2, "Options");
    ASSERT_EQ(0u, ReadSetting(u"MinimizeToTray", 0));
    ClickItem(options, 1);
    EXPECT_TRUE(WaitUntil([&] { return ReadSetting(u"MinimizeToTray", 0) == 1; }, 5000))
        << "Minimize to tray did not take";
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));
    Wait(300);

    // The ribbon's context menu on a format button: Add to Quick Access
    // Toolbar puts the format's icon on the quick-access row.
    CPoint ptMp3;
    CRect rcStyleIcon;
    ASSERT_TRUE(FindStyleIcon(&ptStyle, &rcStyleIcon));
    ASSERT_TRUE(FindIcon(kMp3Face, &ptMp3)) << "no MP3 button on the Formats tab";
    MouseMoveTo(ptMp3);
    Wait(100);
    MouseRightClick();
    popups = WaitForPopups(1);
    ASSERT_EQ(1u, popups.size()) << "the ribbon's context menu does not open";
    // Add, the bars' list (the ribbon, checked), Customize..., Show below,
    // Minimize the Ribbon.
    PopupFace context = CheckPopup(popups[0], 5, "ribbon context menu");
    ClickItem(context, 0);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));
    CPoint ptQuickMp3;
    CRect rcQuickMp3;
    ASSERT_TRUE(
        WaitUntil([&] { return FindQuickAccessIcon(kMp3Face, ptStyle.y, &ptQuickMp3, &rcQuickMp3); }, 5000))
        << "MP3 is not on the quick-access row";

    // The ribbon's menu on the tab row, at the Files tab, without Add (a tab
    // is no command); Escape closes it.
    MouseMoveTo(CPoint(rcMain.left + 30, ptOptions.y));
    Wait(100);
    MouseRightClick();
    popups = WaitForPopups(1);
    ASSERT_EQ(1u, popups.size()) << "the tab row's context menu does not open";
    CheckPopup(popups[0], 4, "tab row's context menu");
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));

    // The quick-access menu, from the drop-down button at the row's end:
    // Show Below the Ribbon moves the row under the ribbon.
    bool bQuickOpen = false;
    for (int dx = 6; dx <= 34 && !bQuickOpen; dx += 4)
    {
        ClickAt(CPoint(rcQuickMp3.right + dx, ptQuickMp3.y));
        bQuickOpen = WaitUntil([&] { return Popups(m_program).size() == 1; }, 700);
    }
    ASSERT_TRUE(bQuickOpen) << "the quick-access drop-down opens nothing";
    popups = WaitForPopups(1);
    // Its title, the row's two commands (Style, MP3), More Commands, Show
    // Below and Minimize the Ribbon.
    PopupFace quick = CheckPopup(popups[0], 6, "quick-access menu");
    ASSERT_GE(quick.itemRows.size(), 2u);
    ClickItem(quick, quick.itemRows.size() - 2);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));
    CPoint ptMoved;
    EXPECT_TRUE(WaitUntil([&] { return FindStyleIcon(&ptMoved) && ptMoved.y > ptStyle.y + 50; }, 5000))
        << "the quick-access row did not move below the ribbon";
}

// Opens a split button's menu as a user does: the pointer rests on the
// button's icon (found by its colour) until the button's tip shows under
// it, then goes down onto the tip, over the caption that opens the menu,
// and clicks once. Checks the menu; false when no menu opens.
bool MainRoadPopups::OpenSplitMenu(COLORREF clrIcon, const char* pszWhich, PopupFace* pFace)
{
    // Off the ribbon first: a tooltip shows a copy of the icon under the
    // pointer, which the search must not take for the button.
    CRect rcMain;
    ::GetWindowRect(m_hMain, &rcMain);
    MouseMoveTo(CPoint(rcMain.left + rcMain.Width() / 2, rcMain.bottom - 60));
    Wait(1500);
    CPoint ptIcon;
    CRect rcIcon;
    if (!WaitUntil([&] { return FindIcon(clrIcon, &ptIcon, &rcIcon); }, 15000))
        return false;
    MouseMoveTo(CPoint(ptIcon.x, rcIcon.top));
    std::vector<HWND> tips;
    if (!WaitUntil(
            [&] {
                tips = VisibleWindowsOfClass(m_program.Id(), u"QVTToolTipContextToolTip");
                return !tips.empty();
            },
            5000))
    {
        ADD_FAILURE() << pszWhich << ": the button shows no tip";
        return false;
    }
    const CPoint ptCaption(ptIcon.x, rcIcon.bottom + 12);
    CRect rcTip;
    ::GetWindowRect(tips[0], &rcTip);
    EXPECT_TRUE(rcTip.PtInRect(ptCaption)) << pszWhich << ": the tip does not lie under the click";
    ClickAt(ptCaption);
    if (!WaitUntil([&] { return Popups(m_program).size() == 1; }, 3000))
        return false;
    const std::vector<HWND> popups = WaitForPopups(1);
    if (popups.size() != 1)
        return false;
    *pFace = CheckPopup(popups[0], 2, pszWhich);
    return pFace->itemRows.size() == 2;
}

// While recording, Stop's drop-down menu: Stop recording stops; in a second
// recording Pause recording pauses, and Continue's menu then stops.
void MainRoadPopups::WalkStopMenu()
{
    for (int nRound = 0; nRound < 2; ++nRound)
    {
        CPoint ptRecord;
        ASSERT_TRUE(WaitUntil([&] { return FindIcon(kRecordDot, &ptRecord); }, 10000));
        Wait(1500);
        ClickAt(ptRecord);
        PopupFace menu;
        ASSERT_TRUE(OpenSplitMenu(kStopSquare, "Stop's menu", &menu))
            << "Stop's menu does not open on the first click on its caption";
        if (nRound == 0)
        {
            ClickItem(menu, 1);
            EXPECT_TRUE(WaitUntil([&] { return FindIcon(kRecordDot, &ptRecord); }, 15000))
                << "Stop recording did not stop";
            continue;
        }
        ClickItem(menu, 0);
        ASSERT_TRUE(OpenSplitMenu(kContinueTriangle, "Continue's menu", &menu))
            << "Pause recording did not pause, or Continue's menu does not open";
        ClickItem(menu, 1);
        EXPECT_TRUE(WaitUntil([&] { return FindIcon(kRecordDot, &ptRecord); }, 15000))
            << "Stop recording on Continue's menu did not stop";
    }

    // The file list's menu on the last recording's row; Escape closes it.
    HWND hList = ChildById(m_hMain, kFileList);
    ASSERT_TRUE(hList != nullptr);
    MouseMoveTo(ListRowRect(hList, ListCount(hList) - 1).CenterPoint());
    Wait(100);
    MouseRightClick();
    const std::vector<HWND> popups = WaitForPopups(1);
    ASSERT_EQ(1u, popups.size()) << "the file list's menu does not open";
    CheckPopup(popups[0], 9, "file list's menu");
    Key(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return Popups(m_program).empty(); }, 5000));

    AltF4(m_hMain);
    EXPECT_TRUE(m_program.WaitForExit(30000));
}

}  // namespace popuproad

using namespace popuproad;

TEST_F(MainRoadPopups, EveryPopupShowsItsItemsAndActsWithTheSystemsMenuAnimation)
{
    // Menus that animate and fade, as the user's preferences may ask
    // (Wine's own defaults have them off).
    SetMenuAnimation(TRUE);
    BOOL bAnimation = FALSE, bFade = FALSE;
    ::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    ::SystemParametersInfoW(SPI_GETMENUFADE, 0, &bFade, 0);
    ASSERT_TRUE(bAnimation && bFade);
    ASSERT_TRUE(StartProgram());
    WalkEveryPopup();
    WalkStopMenu();
}

TEST_F(MainRoadPopups, EveryPopupShowsItsItemsAndActsWithMenusThatSlide)
{
    SetMenuAnimation(TRUE, FALSE);
    BOOL bAnimation = FALSE, bFade = TRUE;
    ::SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    ::SystemParametersInfoW(SPI_GETMENUFADE, 0, &bFade, 0);
    ASSERT_TRUE(bAnimation && !bFade);
    ASSERT_TRUE(StartProgram());
    WalkEveryPopup();
    WalkStopMenu();
}

TEST_F(MainRoadPopups, EveryPopupShowsItsItemsAndActsWithoutMenuAnimation)
{
    SetMenuAnimation(FALSE);
    ASSERT_TRUE(StartProgram());
    WalkEveryPopup();
    WalkStopMenu();
}
