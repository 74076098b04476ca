// The application menu as a user meets it: a click on the system button
// opens the menu with twelve recent files, a digit opens its file, and a
// click on a pin toggles it without opening the file.
#include <afxadv.h>

#include <algorithm>
#include <memory>

#include "real_input.h"
#include "solid_icon.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/controls/QVTPinableRecentFileList.h"
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/QVTRibbonResource.h"
#include "toolkit/ribbon/paint/QVTRibbonMarkupTheme.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"

namespace {

const int kMenuFirstMru = 57616;
const int kMenuButtonImageId = 3399;

// Whether a pixel is the pins' ink, a dark grey (the items' grounds are
// lighter).
bool MenuIsInk(COLORREF clr)
{
    auto grey = [](int n) { return n >= 40 && n <= 80; };
    return grey(GetRValue(clr)) && grey(GetGValue(clr)) && grey(GetBValue(clr));
}

// Dark pixels of a rectangle of a canvas.
int MenuCountInk(const DibCanvas& canvas, CRect rc)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += MenuIsInk(canvas.At(x, y));
    return n;
}

// Pixels of a rectangle of a canvas that are not the ground colour.
int MenuCountNot(const DibCanvas& canvas, CRect rc, COLORREF clr)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += canvas.At(x, y) != clr;
    return n;
}

class CMenuTestRecentFiles : public CQVTRibbonControlSystemRecentFileList
{
public:
    CRecentFileList* GetRecentFileList() override { return m_pList; }
    CRecentFileList* m_pList = nullptr;
};

}  // namespace

class RibbonSystemMenu : public CRibbonFrameSuite
{
protected:
    void SetUp() override
    {
        CRibbonFrameSuite::SetUp();
        // Twelve takes, the newest first; the fourth has "&" in its name.
        for (int i = 12; i >= 1; --i)
        {
            CString strPath;
            strPath.Format(i == 4 ? _T("C:\\Takes\\R&B %02d.wav") : _T("C:\\Takes\\take%02d.wav"), i);
            m_list.Add(strPath);
        }
        m_list.m_bShowPins = TRUE;
        m_list.AddItem(_T(""), -1);
        m_list.AddItem(_T(""), -1);

        m_pButton = m_pRibbon->AddSystemButton(0);
        m_pButton->SetCaption(_T("&File"));
        m_pButton->SetStyle(qvtButtonCaption);
        m_pMenu = new CQVTRibbonSystemPopupBar();
        m_pMenu->SetCommandBars(s_pHost->GetCommandBars());
        auto* pRecent = new CMenuTestRecentFiles();
        pRecent->m_pList = &m_list;
        m_pMenu->GetControls()->Add(pRecent, kMenuFirstMru);
        pRecent->SetCaption(_T("Recent Takes"));
        m_pButton->SetCommandBar(m_pMenu);
        m_pMenu->InternalRelease();
        s_pHost->ResizeClient(1200, 421);
        PumpHost(50);
    }

    bool OpenMenu()
    {
        MouseClickAt(s_pHost->ScreenRectOf(m_pButton).CenterPoint());
        return PumpFrameUntil([&] { return m_pMenu->IsVisible() != FALSE; });
    }
    std::vector<CQVTControl*> FileItems() const
    {
        std::vector<CQVTControl*> items;
        for (int i = 0; i < m_pMenu->GetControlCount(); ++i)
            if (m_pMenu->GetControl(i)->IsKindOf(RUNTIME_CLASS(CQVTRibbonControlSystemPopupBarListItem)))
                items.push_back(m_pMenu->GetControl(i));
        return items;
    }

    CQVTPinableRecentFileList m_list{0, _T("Recent Takes"), _T("File%d"), 12};
    CQVTRibbonControlSystemButton* m_pButton = nullptr;
    CQVTRibbonSystemPopupBar* m_pMenu = nullptr;
};

TEST_F(RibbonSystemMenu, MenuListsTwelveFilesAndADigitOpensItsFile)
{
    ASSERT_FALSE(m_pButton->GetRect().IsRectEmpty());
    ASSERT_TRUE(OpenMenu());
    std::vector<CQVTControl*> items = FileItems();
    ASSERT_EQ(12u, items.size());
    EXPECT_EQ(CString(_T("&4 R&&B 04.wav")), items[3]->GetCaption());
    EXPECT_EQ(CString(_T("take10.wav")), items[9]->GetCaption());
    EXPECT_TRUE(items[0]->IsVisible());

    SendKey('3', false);
    SendKey('3', true);
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kMenuFirstMru + 2}, s_pHost->m_commands);
    EXPECT_TRUE(PumpFrameUntil([&] { return !m_pMenu->IsVisible(); }));
}

TEST_F(RibbonSystemMenu, AltShowsTheButtonsTipOverItsCentre)
{
    CQVTCommandBars* pBars = s_pHost->GetCommandBars();
    SendKey(VK_MENU, false);
    SendKey(VK_MENU, true);
    ASSERT_TRUE(PumpFrameUntil([&] { return pBars->GetKeyboardTipCount() > 0; }));
    CQVTCommandBarKeyboardTip* pTip = nullptr;
    for (int i = 0; i < pBars->GetKeyboardTipCount(); ++i)
        if (pBars->GetKeyboardTip(i)->m_pTarget == m_pButton)
            pTip = pBars->GetKeyboardTip(i);
    ASSERT_NE(nullptr, pTip);
    EXPECT_EQ(CString(_T("F")), pTip->m_strTip);
    CRect rcTip;
    pTip->GetWindowRect(&rcTip);
    EXPECT_TRUE(rcTip.PtInRect(s_pHost->ScreenRectOf(m_pButton).CenterPoint()));
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
    PumpHost(60);
}

TEST_F(RibbonSystemMenu, ClickOnAPinTogglesItAndOpensNothing)
{
    ASSERT_TRUE(OpenMenu());
    std::vector<CQVTControl*> items = FileItems();
    ASSERT_EQ(12u, items.size());
    auto* pSecond = DYNAMIC_DOWNCAST(CQVTRibbonControlSystemPopupBarPinableListItem, items[1]);
    ASSERT_NE(nullptr, pSecond);
    // The pin's 16 pixels as the screen shows them: the pin lying on its
    // side has its needle at the left, the pushed-in one its needle at the
    // bottom.
    const CRect rcItemClient = pSecond->GetRect();
    const CPoint ptPin(rcItemClient.right - ScaleX(22), rcItemClient.CenterPoint().y - ScaleY(8));
    const CRect rcNeedleLeft(ptPin.x, ptPin.y + 5, ptPin.x + 3, ptPin.y + 11);
    const CRect rcNeedleBottom(ptPin.x + 4, ptPin.y + 13, ptPin.x + 12, ptPin.y + 16);
    std::unique_ptr<DibCanvas> before = screentest::Capture(m_pMenu->GetSafeHwnd());
    EXPECT_GT(MenuCountInk(*before, rcNeedleLeft), 0);
    EXPECT_EQ(0, MenuCountInk(*before, rcNeedleBottom));

    CRect rcPin = pSecond->GetPinRect();
    m_pMenu->ClientToScreen(&rcPin);
    MouseMoveTo(rcPin.CenterPoint());
    PumpHost(60);
    MouseClickAt(rcPin.CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return m_list.GetItem(1)->m_bPinned != FALSE; }));
    EXPECT_TRUE(pSecond->GetChecked());
    EXPECT_TRUE(s_pHost->m_commands.empty());
    PumpHost(100);
    std::unique_ptr<DibCanvas> after = screentest::Capture(m_pMenu->GetSafeHwnd());
    EXPECT_EQ(0, MenuCountInk(*after, rcNeedleLeft));
    EXPECT_GT(MenuCountInk(*after, rcNeedleBottom), 0);

    // A click on the rest of the line opens the file.
    CRect rcItem = pSecond->GetRect();
    m_pMenu->ClientToScreen(&rcItem);
    MouseClickAt(CPoint(rcItem.left + 20, rcItem.CenterPoint().y));
    ASSERT_TRUE(PumpFrameUntil([&] { return !s_pHost->m_commands.empty(); }));
    EXPECT_EQ(std::vector<int>{kMenuFirstMru + 1}, s_pHost->m_commands);
}

TEST_F(RibbonSystemMenu, OneClickReopensTheMenuAfterEscapeOrACommand)
{
    // Each reopening press comes within the double-click time of the press
    // that opened the menu, as a quick user's does.
    const UINT nSavedTime = ::GetDoubleClickTime();
    ::SetDoubleClickTime(3000);
    const CPoint ptButton = s_pHost->ScreenRectOf(m_pButton).CenterPoint();

    ASSERT_TRUE(OpenMenu());
    SendKey(VK_ESCAPE, false);
    SendKey(VK_ESCAPE, true);
    ASSERT_TRUE(PumpFrameUntil([&] { return !m_pMenu->IsVisible(); }));
    EXPECT_TRUE(OpenMenu());

    SendKey('2', false);
    SendKey('2', true);
    ASSERT_TRUE(PumpFrameUntil([&] { return !m_pMenu->IsVisible(); }));
    EXPECT_EQ(std::vector<int>{kMenuFirstMru + 1}, s_pHost->m_commands);
    EXPECT_TRUE(OpenMenu());

    // A second press on the open menu's button is still a double-click: it
    // closes the menu.
    MouseClickAt(ptButton);
    PumpHost(300);
    EXPECT_FALSE(m_pMenu->IsVisible());
    ::SetDoubleClickTime(nSavedTime);
}

TEST_F(RibbonSystemMenu, MarkupThemeDrawsTheButtonByFrameAndStyleAndAgainOverTheMenu)
{
    CQVTRibbonThemeOffice2007System theme(QVTPaintManager());
    theme.RefreshMetrics();
    ASSERT_TRUE(theme.IsPartsLoaded());
    const COLORREF clrGround = RGB(1, 2, 3);
    const CRect rcCaption = m_pButton->GetRect();
    DibCanvas canvas(rcCaption.right + 8, rcCaption.bottom + 8, clrGround);

    // Off the themed frame the caption kind is an ordinary tool-bar button,
    // without the caption part's highlight fill.
    const COLORREF clrPart = ::GetSysColor(COLOR_HIGHLIGHT);
    m_pRibbon->EnableFrameTheme(FALSE);
    theme.DrawRibbonFrameSystemButton(&canvas.dc, m_pButton, rcCaption);
    EXPECT_NE(clrPart, canvas.At(rcCaption.left + 2, rcCaption.top + 2));
    m_pRibbon->EnableFrameTheme(TRUE);
    canvas.Clear(clrGround);
    theme.DrawRibbonFrameSystemButton(&canvas.dc, m_pButton, rcCaption);
    EXPECT_EQ(clrPart, canvas.At(rcCaption.left + 2, rcCaption.top + 2));

    // The image kind on the themed frame: the frame's large icon centred when
    // the button has no image, the button's vector image when it has one.
    m_pButton->SetStyle(qvtButtonAutomatic);
    s_pHost->ResizeClient(1200, 422);
    PumpHost(50);
    const CRect rcButton(0, 0, 60, 60);
    DibCanvas icon(60, 60, clrGround);
    theme.DrawRibbonFrameSystemButton(&icon.dc, m_pButton, rcButton);
    EXPECT_EQ(0, MenuCountNot(icon, rcButton, clrGround));
    HICON hRed = MakeSolidIcon(32, 32, RGB(220, 0, 0));
    HICON hOld = s_pHost->SetIcon(hRed, TRUE);
    const int nIcon = ::GetSystemMetrics(SM_CXICON);
    theme.DrawRibbonFrameSystemButton(&icon.dc, m_pButton, rcButton);
    EXPECT_EQ(RGB(220, 0, 0), icon.At(30, 30));
    EXPECT_EQ(clrGround, icon.At((60 - nIcon) / 2 - 1, 30));
    EXPECT_EQ(RGB(220, 0, 0), icon.At((60 - nIcon) / 2, 30));

    ASSERT_TRUE(m_pButton->GetImageManager()->SetVectorIconFromResource(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCE(QVT_IDR_RIBBON_PIN_PINNED), _T("RT_XAML"),
        kMenuButtonImageId, 32));
    m_pButton->SetIconId(kMenuButtonImageId);
    icon.Clear(clrGround);
    theme.DrawRibbonFrameSystemButton(&icon.dc, m_pButton, rcButton);
    EXPECT_EQ(0, icon.CountOf(RGB(220, 0, 0)));
    EXPECT_GT(icon.CountOf(RGB(0x3C, 0x3C, 0x3C)), 20);
    m_pButton->SetIconId(0);

    // The open menu overlaps the button's lower part; filling the menu
    // draws the button there again, and the recent files' column takes the
    // ribbon's face.
    CQVTControl* pRecent = m_pMenu->GetControl(0);
    m_pMenu->GetControls()->Add(new CQVTControlButton(), 3301, nullptr, 0)->SetCaption(_T("&Open"));
    pRecent->SetFlags(pRecent->GetFlags() | qvtFlagWrapRow);
    ASSERT_TRUE(OpenMenu());
    CRect rcMenu;
    m_pMenu->GetWindowRect(&rcMenu);
    CRect rcOverButton = s_pHost->ScreenRectOf(m_pButton);
    ASSERT_GT(rcOverButton.bottom, rcMenu.top);
    rcOverButton.OffsetRect(-rcMenu.left, -rcMenu.top);
    CRect rcClient;
    m_pMenu->GetClientRect(&rcClient);
    DibCanvas menu(rcClient.Width(), rcClient.Height(), clrGround);
    theme.m_clrRibbonFace = RGB(10, 200, 10);
    theme.FillSystemPopupBar(&menu.dc, m_pMenu);
    CRect rcOverlap;
    ASSERT_TRUE(rcOverlap.IntersectRect(rcOverButton, rcClient));
    EXPECT_GT(MenuCountNot(menu, rcOverlap, clrGround), 0);
    EXPECT_EQ(RGB(220, 0, 0), menu.At(rcOverButton.CenterPoint().x, rcOverlap.top));
    const CRect rcColumn = pRecent->GetRowRect();
    ASSERT_FALSE(rcColumn.IsRectEmpty());
    EXPECT_EQ(RGB(10, 200, 10), menu.At(rcColumn.CenterPoint().x, rcColumn.CenterPoint().y));
    EXPECT_NE(RGB(10, 200, 10),
              menu.At(m_pMenu->GetControl(0)->GetRect().CenterPoint().x, rcColumn.CenterPoint().y));
    s_pHost->SetIcon(hOld, TRUE);
    ::DestroyIcon(hRed);
}

TEST_F(RibbonSystemMenu, InTheme12TheMenuOnScreenHasTwoPixelBordersAndNoFootBand)
{
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("FLATTEST_WHITE_INI"));
    CQVTPaintManager::SetTheme(qvtThemeOffice2013);
    s_pHost->ResizeClient(1200, 422);
    PumpHost(50);
    ASSERT_TRUE(OpenMenu());
    const int nBorder = ScaleX(2);
    EXPECT_EQ(CRect(nBorder, ScaleY(2), nBorder, ScaleY(2)), m_pMenu->GetMargins());
    CRect rcClient;
    m_pMenu->GetClientRect(&rcClient);
    int nBottom = 0;
    for (int i = 0; i < m_pMenu->GetControlCount(); ++i)
        if (m_pMenu->GetControl(i)->IsVisible())
            nBottom = std::max(nBottom, static_cast<int>(m_pMenu->GetControl(i)->GetRect().bottom));
    EXPECT_EQ(nBorder, m_pMenu->GetControl(0)->GetRect().left);
    EXPECT_EQ(ScaleY(2), m_pMenu->GetControl(0)->GetRect().top);
    EXPECT_EQ(rcClient.bottom - ScaleY(2), nBottom);

    // On the screen: the menu's frame colour at its edge, its ground inside
    // the border, and the list's caption line right after the border.
    std::unique_ptr<DibCanvas> screen = screentest::Capture(m_pMenu->GetSafeHwnd());
    const int y = m_pMenu->GetControl(0)->GetRect().CenterPoint().y;
    EXPECT_EQ(RGB(200, 30, 30), screen->At(0, y));
    EXPECT_EQ(RGB(200, 30, 30), screen->At(rcClient.right - 1, y));
    EXPECT_EQ(RGB(200, 30, 30), screen->At(rcClient.CenterPoint().x, rcClient.bottom - 1));
    EXPECT_EQ(RGB(250, 250, 210), screen->At(nBorder - 1, y));
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
}

TEST_F(RibbonSystemMenu, ThePageOpensFlushWithTheCommandAreaAndAtLeastAsTall)
{
    auto* pPage = new CQVTRibbonSystemPopupBarPage();
    pPage->SetCommandBars(s_pHost->GetCommandBars());
    pPage->GetControls()->AddByType(qvtControlButton, 3303)->SetCaption(_T("Export as MP3"));
    CQVTControl* pItem = m_pMenu->GetControls()->AddByType(qvtControlPopup, 3302, nullptr, 0);
    pItem->SetCaption(_T("&Export"));
    static_cast<CQVTControlPopup*>(pItem)->SetCommandBar(pPage);
    pPage->InternalRelease();
    m_pMenu->GetControl(1)->SetFlags(m_pMenu->GetControl(1)->GetFlags() | qvtFlagWrapRow);

    ASSERT_TRUE(OpenMenu());
    CRect rcItem = pItem->GetRect();
    m_pMenu->ClientToScreen(&rcItem);
    MouseClickAt(rcItem.CenterPoint());
    ASSERT_TRUE(PumpFrameUntil([&] { return pPage->IsVisible() != FALSE; }));
    CRect rcMenu;
    m_pMenu->GetWindowRect(&rcMenu);
    CRect rcMenuClient;
    m_pMenu->GetClientRect(&rcMenuClient);
    CRect rcPage;
    pPage->GetWindowRect(&rcPage);
    const CRect rcBorders = m_pMenu->GetBorders();
    EXPECT_EQ(rcMenu.top + rcBorders.top + ScaleY(1), rcPage.top);
    EXPECT_EQ(rcItem.right + ScaleX(1), rcPage.left);
    EXPECT_GE(rcPage.Height(), rcMenuClient.Height() - rcBorders.top - rcBorders.bottom - ScaleY(2));
    EXPECT_EQ(rcPage.Height(), pPage->GetLastHeight());
    // Taller than its one command needs.
    EXPECT_GT(rcPage.Height(), ScaleY(60));
}

TEST_F(RibbonSystemMenu, TheButtonUnderTheMenuKeepsTheMouse)
{
    // The round button of the themed frame: the menu covers its lower part.
    m_pButton->SetStyle(qvtButtonAutomatic);
    ASSERT_TRUE(m_pRibbon->IsFrameThemeEnabled());
    s_pHost->ResizeClient(1200, 422);
    PumpHost(50);
    ASSERT_TRUE(OpenMenu());
    CRect rcMenu;
    m_pMenu->GetWindowRect(&rcMenu);
    const CRect rcButton = s_pHost->ScreenRectOf(m_pButton);
    CRect rcOverlap;
    ASSERT_TRUE(rcOverlap.IntersectRect(rcMenu, rcButton));
    const CPoint ptOverlap = rcOverlap.CenterPoint();
    EXPECT_EQ(m_pRibbon->GetSafeHwnd(), ::WindowFromPoint(ptOverlap));
    EXPECT_EQ(m_pMenu->GetSafeHwnd(), ::WindowFromPoint(CPoint(rcButton.right + 20, ptOverlap.y)));
}

TEST_F(RibbonSystemMenu, InTheRibbonThemeTheMenuStandsOnItsImage)
{
    ASSERT_TRUE(OpenMenu());
    CRect rcClient;
    m_pMenu->GetClientRect(&rcClient);
    // The foot band holds no item here: only the menu's own image.
    const CPoint ptBand(rcClient.CenterPoint().x, rcClient.bottom - ScaleY(10));
    const COLORREF clrGround = RGB(1, 2, 3);
    DibCanvas menu(rcClient.Width(), rcClient.Height(), clrGround);
    m_pRibbon->GetRibbonPaintManager()->FillSystemPopupBar(&menu.dc, m_pMenu);
    EXPECT_NE(clrGround, menu.At(ptBand.x, ptBand.y));
    EXPECT_NE(clrGround, menu.At(rcClient.CenterPoint().x, rcClient.CenterPoint().y));
    std::unique_ptr<DibCanvas> screen = screentest::Capture(m_pMenu->GetSafeHwnd());
    EXPECT_EQ(menu.At(ptBand.x, ptBand.y), screen->At(ptBand.x, ptBand.y));
}
