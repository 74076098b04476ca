// Bars on the screen in the default 3-D theme, its double-gripper variant
// and the flat theme, sampled where their look is defined: grippers,
// separators, hot, pressed, checked and disabled buttons, and menu items
// with check marks and shortcut texts. Run at 96 and at 144 DPI.
#include <afxwin.h>

#include <cstdlib>

#include "sondrel_gtest.h"
#include "tests/support/solid_icon.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "tests/toolkit/themes/theme_test_helpers.h"

namespace {

using ThemeTest::Color;
using ThemeTest::X;
using ThemeTest::Y;

enum Button
{
    buttonPlain,
    buttonHot,
    buttonPressed,
    buttonChecked,
    buttonDisabled,
    buttonGrouped,
    buttonIcon,
    buttonIconDisabled,
    buttonCount
};

const COLORREF kIconColor = RGB(255, 0, 0);

// A plain red 16 x 16 icon (no alpha: a colour bitmap and an opaque mask)
// for a command.
void SetRedIcon(UINT nCommand)
{
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeSolidIcon(16, 16, kIconColor));
    QVTImageManager()->SetIcon(handle, nCommand, CSize(16, 16));
}

enum Item
{
    itemPlain,
    itemChecked,
    itemHot,
    itemShortcut,
    itemIcon,
    itemCount
};

}  // namespace

// One shown window for the whole program (hiding a shown window costs
// seconds here) holding a toolbar-like bar and a menu-like bar.
class BarPictures : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        SetRedIcon(100 + buttonIcon);
        SetRedIcon(100 + buttonIconDisabled);
        SetRedIcon(200 + itemIcon);
        // Shown without taking the activation: tests of other programs that
        // drive the keyboard or show tips run meanwhile.
        s_pHost = new CWnd();
        s_pHost->CreateEx(
            WS_EX_NOACTIVATE, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
            _T("Bars"), WS_POPUP | WS_CLIPCHILDREN, CRect(40, 320, 40 + X(600), 320 + Y(300)), nullptr, 0);
        s_pHost->SetWindowPos(nullptr, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    static void TearDownTestSuite()
    {
        s_pHost->DestroyWindow();
        delete s_pHost;
        s_pHost = nullptr;
    }

protected:
    void SetUp() override
    {
        m_pToolBar = MakeBar(qvtBarTypeNormal, qvtBarTop);
        const LPCTSTR captions[buttonCount] = {_T("Plain"), _T("Hot"),   _T("Down"), _T("Bold"),
                                               _T("Gray"),  _T("Group"), _T("Icon"), _T("Faded")};
        for (int i = 0; i < buttonCount; ++i)
        {
            CQVTControl* pButton = m_pToolBar->GetControls()->AddByType(qvtControlButton, 100 + i);
            pButton->SetCaption(captions[i]);
            pButton->SetStyle(i >= buttonIcon ? qvtButtonIconAndCaption : qvtButtonCaption);
        }
        ButtonAt(buttonGrouped)->SetBeginGroup(TRUE);

        m_pMenuBar = MakeBar(qvtBarTypePopup, qvtBarPopup);
        const LPCTSTR items[itemCount] = {_T("Plain item"), _T("Checked item"), _T("Hot item"),
                                          _T("Save\tCtrl+S"), _T("With icon")};
        for (int i = 0; i < itemCount; ++i)
            m_pMenuBar->GetControls()->AddByType(qvtControlButton, 200 + i)->SetCaption(items[i]);
        m_pMenuBar->GetControls()->GetAt(itemShortcut)->SetBeginGroup(TRUE);
    }
    void TearDown() override
    {
        m_pToolBar->InternalRelease();
        m_pMenuBar->InternalRelease();
    }

    CTestBar* MakeBar(int nType, int nPosition)
    {
        CTestBar* pBar = new CTestBar();
        pBar->SetType(nType);
        pBar->m_pParentWnd = s_pHost;
        pBar->Create(nPosition);
        return pBar;
    }
    CQVTControl* ButtonAt(int i) const { return m_pToolBar->GetControls()->GetAt(i); }
    CQVTControl* ItemAt(int i) const { return m_pMenuBar->GetControls()->GetAt(i); }

    // Installs a theme, lays both bars out, sets the states and paints.
    void Paint(int nTheme)
    {
        CQVTPaintManager::SetTheme(nTheme);
        const CSize szTool = m_pToolBar->Layout(X(580));
        m_pToolBar->MoveWindow(0, 0, X(580), szTool.cy);
        const CSize szMenu = m_pMenuBar->Layout(0);
        m_pMenuBar->MoveWindow(X(20), szTool.cy + Y(20), szMenu.cx, szMenu.cy);
        m_pMenuBar->Layout(0);

        ButtonAt(buttonHot)->OnSetSelected(1);
        ButtonAt(buttonPressed)->OnSetSelected(1);
        ButtonAt(buttonPressed)->SetPressed(1);
        ButtonAt(buttonChecked)->SetChecked(TRUE);
        ButtonAt(buttonDisabled)->SetEnabled(FALSE);
        ButtonAt(buttonIconDisabled)->SetEnabled(FALSE);
        ItemAt(itemChecked)->SetChecked(TRUE);
        ItemAt(itemHot)->OnSetSelected(1);

        for (CTestBar* pBar : {m_pToolBar, m_pMenuBar})
        {
            pBar->Redraw();
            pBar->UpdateWindow();
        }
    }
    // The middle row of a control's rectangle.
    static int Middle(CQVTControl* pControl) { return pControl->GetRect().CenterPoint().y; }

    static CWnd* s_pHost;
    CTestBar* m_pToolBar = nullptr;
    CTestBar* m_pMenuBar = nullptr;
};

CWnd* BarPictures::s_pHost = nullptr;

namespace {

TEST_F(BarPictures, RunsAtTheDpiOfItsPrefix)
{
    const char* pszDpi = std::getenv("SONDREL_EXPECTED_DPI");
    EXPECT_EQ(pszDpi ? atoi(pszDpi) : 96, QVTDpiScaler()->GetDpiX());
}

TEST_F(BarPictures, DefaultThemeRaisesHotButtonsSinksPressedOnesAndDithersCheckedOnes)
{
    Paint(qvtThemeOffice2000);
    CDibCapture bar(m_pToolBar);
    const COLORREF clrLight = Color(COLOR_3DHIGHLIGHT);
    const COLORREF clrShadow = Color(COLOR_3DSHADOW);
    const COLORREF clrFace = Color(COLOR_3DFACE);

    // A raised 6-pixel gripper; the first button starts after it.
    const int yGrip = bar.Height() / 2;
    EXPECT_EQ(clrLight, bar.At(X(3), yGrip));
    EXPECT_EQ(clrShadow, bar.At(X(6) - 1, yGrip));
    EXPECT_EQ(clrFace, bar.At(X(6), yGrip));
    EXPECT_EQ(X(2) + X(6), ButtonAt(buttonPlain)->GetRect().left);

    const CRect rcPlain = ButtonAt(buttonPlain)->GetRect();
    EXPECT_EQ(clrFace, bar.At(rcPlain.left, rcPlain.top));
    const CRect rcHot = ButtonAt(buttonHot)->GetRect();
    EXPECT_EQ(clrLight, bar.At(rcHot.left, rcHot.top));
    EXPECT_EQ(clrShadow, bar.At(rcHot.right - 1, rcHot.bottom - 1));
    const CRect rcDown = ButtonAt(buttonPressed)->GetRect();
    EXPECT_EQ(clrShadow, bar.At(rcDown.left, rcDown.top));
    EXPECT_EQ(clrLight, bar.At(rcDown.right - 1, rcDown.bottom - 1));

    // Checked and cold: light and face alternate inside a sunken edge.
    const CRect rcChecked = ButtonAt(buttonChecked)->GetRect();
    EXPECT_EQ(clrShadow, bar.At(rcChecked.left, rcChecked.top));
    const COLORREF a = bar.At(rcChecked.left + 2, rcChecked.top + 2);
    const COLORREF b = bar.At(rcChecked.left + 3, rcChecked.top + 2);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == clrLight && b == clrFace) || (a == clrFace && b == clrLight));

    // Disabled: grey caption over its light emboss.
    EXPECT_GT(bar.CountIn(ButtonAt(buttonDisabled)->GetRect(), Color(COLOR_GRAYTEXT)), 3);
    EXPECT_EQ(0, bar.CountIn(rcPlain, Color(COLOR_GRAYTEXT)));

    // A sunken two-pixel separator before the group.
    const CRect rcGroup = ButtonAt(buttonGrouped)->GetRect();
    EXPECT_EQ(rcGroup.left, ButtonAt(buttonDisabled)->GetRect().right + X(6));
    EXPECT_EQ(clrShadow, bar.At(rcGroup.left - X(4), Middle(ButtonAt(buttonGrouped))));
    EXPECT_EQ(clrLight, bar.At(rcGroup.left - X(2) - 1, Middle(ButtonAt(buttonGrouped))));
}

TEST_F(BarPictures, DoubleGripperThemeLeavesTenPixels)
{
    Paint(qvtThemeVisualStudio6);
    CDibCapture bar(m_pToolBar);
    const int yGrip = bar.Height() / 2;
    EXPECT_EQ(Color(COLOR_3DHIGHLIGHT), bar.At(X(3), yGrip));
    EXPECT_EQ(Color(COLOR_3DHIGHLIGHT), bar.At(X(7), yGrip));
    EXPECT_EQ(Color(COLOR_3DSHADOW), bar.At(X(10) - 1, yGrip));
    EXPECT_EQ(X(2) + X(10), ButtonAt(buttonPlain)->GetRect().left);
}

TEST_F(BarPictures, FlatThemeFramesHotPressedAndCheckedButtonsInTheirColours)
{
    Paint(qvtThemeOfficeXP);
    CDibCapture bar(m_pToolBar);
    // Dotted 8-pixel gripper on the toolbar face, inside a face-coloured frame.
    EXPECT_EQ(X(2) + X(8), ButtonAt(buttonPlain)->GetRect().left);
    EXPECT_EQ(Color(COLOR_3DFACE), bar.At(0, bar.Height() / 2));
    EXPECT_EQ(Color(30), bar.At(1, bar.Height() / 2));
    EXPECT_GT(bar.CountIn(CRect(X(3), 0, X(6), bar.Height()), Color(38)), 3);

    struct Expected
    {
        int nButton;
        int nBorder;
        int nFill;
    };
    const Expected expected[] = {{buttonHot, 32, 31}, {buttonPressed, 50, 33}, {buttonChecked, 37, 36}};
    for (const Expected& e : expected)
    {
        const CRect rc = ButtonAt(e.nButton)->GetRect();
        EXPECT_EQ(Color(e.nBorder), bar.At(rc.left, rc.top)) << e.nButton;
        EXPECT_EQ(Color(e.nFill), bar.At(rc.left + 1, rc.top + 1)) << e.nButton;
    }
    const CRect rcPlain = ButtonAt(buttonPlain)->GetRect();
    EXPECT_EQ(Color(30), bar.At(rcPlain.left + 1, rcPlain.top + 1));
    EXPECT_GT(bar.CountIn(ButtonAt(buttonDisabled)->GetRect(), Color(60)), 3);

    // A one-pixel separator line.
    const CQVTControl* pGroup = ButtonAt(buttonGrouped);
    EXPECT_EQ(Color(39), bar.At(pGroup->GetRect().left - X(4), pGroup->GetRect().CenterPoint().y));
}

TEST_F(BarPictures, MenuItemsShowCheckMarksHighlightsAndShortcutTexts)
{
    for (int nTheme : {qvtThemeOffice2000, qvtThemeOfficeXP})
    {
        Paint(nTheme);
        CDibCapture menu(m_pMenuBar);
        const CRect rcChecked = ItemAt(itemChecked)->GetRect();
        const CRect rcHot = ItemAt(itemHot)->GetRect();
        const CRect rcShortcut = ItemAt(itemShortcut)->GetRect();
        const CRect rcPlain = ItemAt(itemPlain)->GetRect();
        // Items are as wide as their column.
        EXPECT_EQ(rcPlain.Width(), rcShortcut.Width()) << nTheme;
        const int nColumn = QVTPaintManager()->GetPopupBarGutterWidth(m_pMenuBar);
        const CRect rcMarkColumn(rcChecked.left, rcChecked.top, rcChecked.left + nColumn, rcChecked.bottom);
        const CRect rcPlainColumn(rcPlain.left, rcPlain.top, rcPlain.left + nColumn, rcPlain.bottom);
        if (nTheme == qvtThemeOffice2000)
        {
            EXPECT_GT(menu.CountIn(rcMarkColumn, Color(COLOR_BTNTEXT)), 4);
            EXPECT_EQ(0, menu.CountIn(rcPlainColumn, Color(COLOR_BTNTEXT)));
            // The hot item's text part is filled with the highlight.
            EXPECT_EQ(Color(COLOR_HIGHLIGHT), menu.At(rcHot.right - 2, rcHot.top + 1));
        }
        else
        {
            // The icon column, the framed check and a dark mark on colour 36.
            EXPECT_EQ(Color(30), menu.At(rcPlain.left + 1, rcPlain.CenterPoint().y));
            EXPECT_GT(menu.CountIn(rcMarkColumn, Color(36)), 4);
            EXPECT_GT(menu.CountIn(rcMarkColumn, RGB(0, 0, 0)), 2);
            EXPECT_EQ(Color(32), menu.At(rcHot.left, rcHot.top));
            EXPECT_EQ(Color(31), menu.At(rcHot.right - 3, rcHot.top + 2));
            // A one-pixel separator above the group.
            EXPECT_EQ(Color(39), menu.At(rcShortcut.right - X(4), rcShortcut.top - Y(2)));
        }
        // The shortcut stands right-aligned, apart from the caption.
        const int nTextColor = nTheme == qvtThemeOffice2000 ? COLOR_BTNTEXT : 44;
        const CRect rcRightPart(rcShortcut.right - X(19) - X(30), rcShortcut.top, rcShortcut.right - X(19),
                                rcShortcut.bottom);
        EXPECT_GT(menu.CountIn(rcRightPart, Color(nTextColor)), 3) << nTheme;
        // Right of the shortcut only the item's own margin is left.
        const CRect rcMargin(rcShortcut.right - X(19) + X(2), rcShortcut.top, rcShortcut.right - X(4),
                             rcShortcut.bottom);
        EXPECT_EQ(0, menu.CountIn(rcMargin, Color(nTextColor))) << nTheme;
    }
}

TEST_F(BarPictures, IconsShowBesideCaptionsAndFadeWhenDisabled)
{
    for (int nTheme : {qvtThemeOffice2000, qvtThemeVisualStudio6, qvtThemeOfficeXP})
    {
        Paint(nTheme);
        CDibCapture bar(m_pToolBar);
        const CRect rcIcon = ButtonAt(buttonIcon)->GetRect();
        // The icon stands at the left, the caption after it.
        const CRect rcLeft(rcIcon.left, rcIcon.top, rcIcon.left + X(3) + X(16) + 1, rcIcon.bottom);
        EXPECT_GE(bar.CountIn(rcLeft, kIconColor), X(16) * Y(16) * 3 / 4) << nTheme;
        EXPECT_EQ(0,
                  bar.CountIn(CRect(rcLeft.right + 1, rcIcon.top, rcIcon.right, rcIcon.bottom), kIconColor));
        EXPECT_EQ(0, bar.CountIn(ButtonAt(buttonIconDisabled)->GetRect(), kIconColor)) << nTheme;
        EXPECT_GT(bar.CountIn(ButtonAt(buttonIconDisabled)->GetRect(),
                              Color(nTheme == qvtThemeOfficeXP ? 60 : COLOR_GRAYTEXT)),
                  3);

        CDibCapture menu(m_pMenuBar);
        const CRect rcItem = ItemAt(itemIcon)->GetRect();
        const int nColumn = QVTPaintManager()->GetPopupBarGutterWidth(m_pMenuBar);
        EXPECT_GE(
            menu.CountIn(CRect(rcItem.left, rcItem.top, rcItem.left + nColumn, rcItem.bottom), kIconColor),
            X(16) * Y(16) * 3 / 4)
            << nTheme;
    }
}

}  // namespace
