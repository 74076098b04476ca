// The backstage's page buttons and the tabs that own them: the digit key
// tips given in Z order, the tips shown and a button pressed by index, the
// button themes by number, and the resource theme's frames, shadow,
// separator strips and glyph drawn into DIBs from the colour schemes'
// backstage images, which every scheme must carry.
#include <afxwin.h>

#include <memory>
#include <vector>

#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageButtonThemes.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageViewThemes.h"

namespace {

const COLORREF kBackstageCanvas = RGB(1, 2, 3);

// A page window holding backstage buttons, plain buttons and separators,
// and recording the commands its buttons send.
class CBackstageDrawPage : public CWnd
{
public:
    CBackstageDrawPage()
    {
        CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                 AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW)),
                 _T("page"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 500, 400, nullptr, nullptr);
    }
    ~CBackstageDrawPage() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    CQVTRibbonBackstageButton* AddBackstageButton(const CRect& rc, UINT nID, DWORD dwStyle = BS_PUSHBUTTON)
    {
        auto pButton = std::make_unique<CQVTRibbonBackstageButton>();
        pButton->Create(_T(""), WS_CHILD | WS_VISIBLE | dwStyle, rc, this, nID);
        m_buttons.push_back(std::move(pButton));
        return static_cast<CQVTRibbonBackstageButton*>(m_buttons.back().get());
    }
    CQVTButton* AddPlainButton(const CRect& rc, UINT nID)
    {
        auto pButton = std::make_unique<CQVTButton>();
        pButton->Create(_T(""), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rc, this, nID);
        m_buttons.push_back(std::move(pButton));
        return m_buttons.back().get();
    }
    CQVTRibbonBackstageSeparator* AddSeparator(const CRect& rc)
    {
        m_separators.push_back(std::make_unique<CQVTRibbonBackstageSeparator>());
        m_separators.back()->Create(this, rc, 0);
        return m_separators.back().get();
    }

    std::vector<std::unique_ptr<CQVTButton>> m_buttons;
    std::vector<std::unique_ptr<CQVTRibbonBackstageSeparator>> m_separators;
    std::vector<UINT> m_commands;  // ids of the buttons' clicks

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            m_commands.push_back(LOWORD(wParam));
        // The buttons' background: what a theme leaves undrawn stays this.
        if (message == WM_CTLCOLORBTN)
            return (LRESULT)m_brushBack.GetSafeHandle();
        return CWnd::WindowProc(message, wParam, lParam);
    }

    CBrush m_brushBack{kBackstageCanvas};
};

void BackstagePump()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// The button as WM_PRINTCLIENT draws it, over a colour no image has.
struct BackstageButtonPicture : DibCanvas
{
    explicit BackstageButtonPicture(CQVTButton* pButton)
        : DibCanvas(ClientOf(pButton).Width(), ClientOf(pButton).Height(), kBackstageCanvas)
    {
        pButton->SendMessage(WM_PRINTCLIENT, (WPARAM)dc.m_hDC, PRF_CLIENT);
    }
    static CRect ClientOf(CQVTButton* pButton)
    {
        CRect rc;
        pButton->GetClientRect(&rc);
        return rc;
    }
};

// One image frame drawn alone into a canvas the button's size.
struct BackstageImageReference : DibCanvas
{
    BackstageImageReference(CSize size, LPCTSTR lpszImage, const CRect& rcDest, int nFrame, int nFrames,
                            const CRect& rcMargins)
        : DibCanvas(size.cx, size.cy, kBackstageCanvas)
    {
        CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
        if (pImage)
            pImage->DrawImageColorKeyed(CDC::FromHandle(dc.m_hDC), rcDest, pImage->GetSource(nFrame, nFrames),
                                        rcMargins, RGB(255, 0, 255));
    }
};

}  // namespace

class RibbonBackstageButtons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("OFFICE2007BLUE_INI"));
    }
    void TearDown() override { QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr); }
};

TEST(RibbonBackstageImages, EverySchemeCarriesTheBackstageImages)
{
    const LPCTSTR schemes[] = {_T("OFFICE2007BLUE_INI"), _T("OFFICE2007BLACK_INI"), _T("OFFICE2007AQUA_INI"),
                               _T("OFFICE2007SILVER_INI")};
    const LPCTSTR images[] = {
        _T("BACKSTAGEBUTTON"),      _T("BACKSTAGEBUTTONSHADOW"), _T("BACKSTAGEPANESEPARATOR"),
        _T("BACKSTAGEBUTTONGLYPH"), _T("BackstageTopBorder"),    _T("BackstageMenuBackground"),
        _T("BackstageMenuCommand"), _T("BackstageMenuPage"),     _T("BackstageMenuPageGlyph")};
    for (LPCTSTR lpszScheme : schemes)
    {
        ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), lpszScheme));
        for (LPCTSTR lpszImage : images)
        {
            SCOPED_TRACE(CStringA(CString(lpszScheme) + _T(" ") + lpszImage).GetString());
            CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
            ASSERT_NE(nullptr, pImage);
            EXPECT_GT(pImage->GetWidth(), 0);
            EXPECT_GT(pImage->GetHeight(), 0);
        }
    }
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
}

TEST_F(RibbonBackstageButtons, PageButtonsGetDigitTipsInZOrderAndArePressedByIndex)
{
    CBackstageDrawPage page;
    page.AddPlainButton(CRect(0, 0, 40, 20), 500);
    page.AddSeparator(CRect(0, 22, 100, 24));
    std::vector<CQVTRibbonBackstageButton*> buttons;
    for (int i = 0; i < 12; ++i)
        buttons.push_back(page.AddBackstageButton(CRect(0, 30 + 25 * i, 100, 50 + 25 * i), 600 + i));
    page.AddPlainButton(CRect(200, 0, 240, 20), 501);

    CQVTRibbonBackstageTab tab(page.m_hWnd);
    tab.AssignPageKeyTips();
    // Only the first digit of the count: "1" again for the eleventh and twelfth.
    const CString strExpected = _T("0123456789")
                                _T("11");
    ASSERT_EQ(12, tab.GetPageKeyTipCount());
    for (int i = 0; i < 12; ++i)
    {
        EXPECT_EQ(strExpected[i], tab.GetPageKeyTip(i)) << i;
        EXPECT_EQ(CString(strExpected[i]), buttons[i]->GetKeyTip()) << i;
    }
    EXPECT_EQ(0, tab.GetPageKeyTip(12));
    EXPECT_EQ(0, tab.GetPageKeyTip(-1));

    tab.ShowPageKeyTips(TRUE);
    for (CQVTRibbonBackstageButton* pButton : buttons)
        EXPECT_TRUE(pButton->IsShowKeyTip());
    tab.ShowPageKeyTips(FALSE);
    EXPECT_FALSE(buttons[11]->IsShowKeyTip());

    // The click is posted: it arrives once the page's thread pumps.
    tab.PressPageButton(3);
    EXPECT_TRUE(page.m_commands.empty());
    BackstagePump();
    EXPECT_EQ(std::vector<UINT>{603}, page.m_commands);
    EXPECT_THROW(tab.PressPageButton(12), CInvalidArgException*);
    EXPECT_THROW(tab.PressPageButton(-1), CInvalidArgException*);

    // Assigned again, the arrays start afresh: a removed button is gone.
    buttons[0]->DestroyWindow();
    tab.AssignPageKeyTips();
    ASSERT_EQ(11, tab.GetPageKeyTipCount());
    EXPECT_EQ(_T('0'), tab.GetPageKeyTip(0));
    EXPECT_EQ(CString(_T("0")), buttons[1]->GetKeyTip());

    // A tab without a page, or a clone, has no buttons.
    std::unique_ptr<CQVTControl, void (*)(CQVTControl*)> pClone(tab.Clone(),
                                                                [](CQVTControl* p) { p->InternalRelease(); });
    CQVTRibbonBackstageTab* pCloneTab = DYNAMIC_DOWNCAST(CQVTRibbonBackstageTab, pClone.get());
    ASSERT_NE(nullptr, pCloneTab);
    EXPECT_EQ(nullptr, pCloneTab->GetPageHwnd());
    pCloneTab->AssignPageKeyTips();
    EXPECT_EQ(0, pCloneTab->GetPageKeyTipCount());
}

TEST_F(RibbonBackstageButtons, ThemesByNumberAndTheButtonsOwnFallback)
{
    CBackstageDrawPage page;
    CQVTRibbonBackstageButton* pButton = page.AddBackstageButton(CRect(10, 10, 130, 42), 700);
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonBackstageButtonThemeResource*>(pButton->GetTheme()));
    pButton->SetTheme(12);
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonBackstageButtonThemeOffice2013*>(pButton->GetTheme()));
    pButton->SetTheme(16);
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonBackstageButtonThemeVisualStudio2015*>(pButton->GetTheme()));
    pButton->SetTheme(17);
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonBackstageButtonThemeNativeWindows10*>(pButton->GetTheme()));
    pButton->SetTheme(5);
    EXPECT_EQ(5, pButton->GetTheme()->GetThemeKind());
    EXPECT_FALSE(pButton->IsSystemLook());
    // The message that sets a theme by number reaches the override too.
    pButton->SendMessage(CQVTButton::WM_QVT_SETBUTTONTHEME, 12);
    EXPECT_NE(nullptr, dynamic_cast<CQVTRibbonBackstageButtonThemeOffice2013*>(pButton->GetTheme()));
}

TEST_F(RibbonBackstageButtons, ResourceFramesFollowTheButtonsState)
{
    CBackstageDrawPage page;
    CQVTRibbonBackstageButton* pButton = page.AddBackstageButton(CRect(10, 10, 130, 42), 700);
    const CSize size(120, 32);
    const CRect rcAll(CPoint(0, 0), size);
    const CPoint ptCentre(60, 16);
    auto frameColour = [&](int nFrame) {
        return BackstageImageReference(size, _T("BACKSTAGEBUTTON"), rcAll, nFrame, 5, CRect(4, 4, 4, 4))
            .At(ptCentre.x, ptCentre.y);
    };
    // The frames must differ for the states to be told apart.
    ASSERT_NE(frameColour(0), frameColour(2));
    ASSERT_NE(frameColour(1), frameColour(2));
    ASSERT_NE(frameColour(0), frameColour(3));

    EXPECT_EQ(frameColour(0), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    pButton->SetCapture();  // hot
    EXPECT_EQ(frameColour(2), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    pButton->SetChecked(TRUE);  // hot and checked: the checked frame
    EXPECT_EQ(frameColour(1), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    pButton->SendMessage(BM_SETSTATE, TRUE);  // pushed wins over checked
    EXPECT_EQ(frameColour(2), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    ::ReleaseCapture();
    pButton->SendMessage(BM_SETSTATE, FALSE);
    pButton->SetChecked(FALSE);
    pButton->EnableWindow(FALSE);
    EXPECT_EQ(frameColour(3), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    pButton->EnableWindow(TRUE);
    pButton->SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(frameColour(4), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    pButton->SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);

    // A flat button draws nothing while idle, its face once hot.
    pButton->SetFlatStyle(TRUE);
    EXPECT_EQ(size.cx * size.cy, BackstageButtonPicture(pButton).CountOf(kBackstageCanvas));
    pButton->SetCapture();
    EXPECT_EQ(frameColour(2), BackstageButtonPicture(pButton).At(ptCentre.x, ptCentre.y));
    ::ReleaseCapture();
    pButton->SetFlatStyle(FALSE);

    // The shadow takes the foot's two rows from the face, while enabled.
    pButton->SetUseShadow(TRUE);
    const int cyShadow = QVTDpiScaler()->ScaleY(2);
    const CRect rcFace(0, 0, size.cx, size.cy - cyShadow);
    const CRect rcShadow(0, size.cy - cyShadow, size.cx, size.cy);
    BackstageImageReference face(size, _T("BACKSTAGEBUTTON"), rcFace, 0, 5, CRect(4, 4, 4, 4));
    BackstageImageReference shadow(size, _T("BACKSTAGEBUTTONSHADOW"), rcShadow, 0, 1, CRect(3, 0, 3, 0));
    BackstageButtonPicture shadowed(pButton);
    for (int y = 0; y < size.cy; ++y)
    {
        const COLORREF clrExpected = y < rcFace.bottom ? face.At(ptCentre.x, y) : shadow.At(ptCentre.x, y);
        EXPECT_EQ(clrExpected, shadowed.At(ptCentre.x, y)) << y;
    }
    pButton->EnableWindow(FALSE);
    BackstageImageReference disabled(size, _T("BACKSTAGEBUTTON"), rcAll, 3, 5, CRect(4, 4, 4, 4));
    EXPECT_EQ(disabled.At(ptCentre.x, size.cy - 3),
              BackstageButtonPicture(pButton).At(ptCentre.x, size.cy - 3));
}

TEST_F(RibbonBackstageButtons, TabStyleButtonsDrawTheSeparatorsThatCrossThem)
{
    CBackstageDrawPage page;
    CQVTRibbonBackstageButton* pButton = page.AddBackstageButton(CRect(10, 10, 130, 42), 700);
    page.AddSeparator(CRect(50, 0, 60, 100));     // crosses: its right edge at client x 49
    page.AddSeparator(CRect(90, 200, 100, 300));  // below the button
    pButton->SetFlatStyle(TRUE);                  // idle: nothing but the strips

    EXPECT_EQ(120 * 32, BackstageButtonPicture(pButton).CountOf(kBackstageCanvas));
    pButton->SetTabStyle(TRUE);
    BackstageButtonPicture strips(pButton);
    const int cxStrip = QVTDpiScaler()->ScaleX(1);
    const CRect rcStrips = strips.BoundsOfAllBut(kBackstageCanvas);
    EXPECT_EQ(50 - cxStrip, rcStrips.left);
    EXPECT_EQ(50, rcStrips.right);
    EXPECT_EQ(0, rcStrips.top);
    EXPECT_EQ(32, rcStrips.bottom);
    // The separator's line, not the image's transparent edge.
    EXPECT_EQ(BackstageImageReference(CSize(120, 32), _T("BACKSTAGEPANESEPARATOR"), CRect(0, -10, 3, 90), 0,
                                      1, CRect(0, 30, 0, 30))
                  .At(0, 16),
              strips.At(49, 16));

    // Hot, the glyph stands at the right end, vertically centred.
    pButton->SetFlatStyle(FALSE);
    BackstageButtonPicture plain(pButton);
    pButton->SetCapture();
    pButton->SetTabStyle(FALSE);
    BackstageButtonPicture hotPlain(pButton);
    pButton->SetTabStyle(TRUE);
    BackstageButtonPicture hotTab(pButton);
    ::ReleaseCapture();
    CQVTResourceImage* pGlyph = QVTResourceImages()->LoadFile(_T("BACKSTAGEBUTTONGLYPH"));
    ASSERT_NE(nullptr, pGlyph);
    const CSize szGlyph(QVTDpiScaler()->ScaleX(pGlyph->GetWidth()),
                        QVTDpiScaler()->ScaleY(pGlyph->GetHeight()));
    const CRect rcGlyph(CPoint(120 - szGlyph.cx, (32 - szGlyph.cy) / 2), szGlyph);
    int nChanged = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 120; ++x)
            if (hotPlain.At(x, y) != hotTab.At(x, y))
            {
                ++nChanged;
                EXPECT_TRUE(rcGlyph.PtInRect(CPoint(x, y)) || (x >= 50 - cxStrip && x < 50)) << x << "," << y;
            }
    EXPECT_GT(nChanged, 0);
}

TEST(RibbonBackstageFlatColours, TheSetsColoursWinAndTheKinKeepOfficesDisabledText)
{
    // Without the keys: each family's defaults, the kin keeping Office 2013's
    // disabled text.
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
    CQVTRibbonBackstageViewThemeOffice2013 office;
    CQVTRibbonBackstageViewThemeVisualStudio2015 studio;
    CQVTRibbonBackstageViewThemeNativeWindows10 windows10;
    EXPECT_EQ(RGB(43, 87, 154), office.m_clrButtonBackNormal);
    EXPECT_EQ(RGB(255, 243, 156), studio.m_clrButtonBackNormal);
    EXPECT_EQ(RGB(115, 97, 57), windows10.m_clrButtonTextHighlighted);
    EXPECT_EQ(office.m_clrButtonTextDisabled, studio.m_clrButtonTextDisabled);
    EXPECT_EQ(office.m_clrButtonTextDisabled, windows10.m_clrButtonTextDisabled);

    // With them, all three read the set's seven colours.
    ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("BACKSTAGETEST_COLORS_INI")));
    CQVTRibbonBackstageViewThemeOffice2013 officeSet;
    CQVTRibbonBackstageViewThemeVisualStudio2015 studioSet;
    for (const CQVTRibbonBackstageViewThemeOffice2013* pTheme :
         {static_cast<const CQVTRibbonBackstageViewThemeOffice2013*>(&officeSet),
          static_cast<const CQVTRibbonBackstageViewThemeOffice2013*>(&studioSet)})
    {
        EXPECT_EQ(RGB(20, 40, 60), pTheme->m_clrButtonBackNormal);
        EXPECT_EQ(RGB(200, 100, 0), pTheme->m_clrButtonBackSelected);
        EXPECT_EQ(RGB(0, 120, 240), pTheme->m_clrButtonBackHighlighted);
        EXPECT_EQ(RGB(250, 250, 0), pTheme->m_clrButtonTextNormal);
        EXPECT_EQ(RGB(0, 250, 250), pTheme->m_clrButtonTextSelected);
        EXPECT_EQ(RGB(250, 0, 250), pTheme->m_clrButtonTextHighlighted);
        EXPECT_EQ(RGB(90, 90, 90), pTheme->m_clrButtonTextDisabled);
    }
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), nullptr);
}
