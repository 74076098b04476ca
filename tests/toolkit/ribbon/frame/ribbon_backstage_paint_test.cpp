// The backstage as its paint managers draw it on the screen, in theme 5
// from the colour scheme's images and in theme 12 in flat colours: entries
// idle, hot under the real pointer, active and disabled; the room each
// theme gives separators; page buttons hot and pressed by the real mouse;
// and the key tips of the menu and of a page's buttons.
#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/controls/button/QVTButtonThemeOffice2013.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageControls.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageView.h"
#include "toolkit/ribbon/backstage/QVTRibbonBackstageViewThemes.h"
#include "toolkit/ribbon/system/QVTRibbonSystemButton.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

#include <memory>

namespace {

const int kBackstagePaintSave = 3410;
const int kBackstagePaintBlank = 3411;
const int kBackstagePaintPrint = 3412;
const int kBackstagePaintInfo = 3420;
const int kBackstagePaintShare = 3421;
const int kBackstagePaintGo = 3430;

COLORREF BackstagePaintScreenPixel(CWnd* pWnd, CPoint pt)
{
    pWnd->ClientToScreen(&pt);
    ::GdiFlush();
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return clr;
}

// A frame of a scheme image as it is drawn over a rectangle of that size.
COLORREF BackstagePaintImagePixel(LPCTSTR lpszImage, CSize size, int nFrame, int nFrames,
                                  const CRect& rcMargins, CPoint pt)
{
    DibCanvas canvas(size.cx, size.cy, RGB(1, 2, 3));
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
    if (!pImage)
        return CLR_INVALID;
    pImage->DrawImage(CDC::FromHandle(canvas.dc.m_hDC), CRect(CPoint(0, 0), size),
                      pImage->GetSource(nFrame, nFrames), rcMargins);
    return canvas.At(pt.x, pt.y);
}

// The bars' status font made tall for a test, the standard one after.
class BackstagePaintTallStatusFont
{
public:
    explicit BackstagePaintTallStatusFont(CQVTPaintManager* pPaintManager) : m_pPaintManager(pPaintManager)
    {
        LOGFONT lf = {};
        lf.lfHeight = -ScaleY(30);
        lstrcpy(lf.lfFaceName, _T("Tahoma"));
        m_pPaintManager->GetStatusFontEntry().SetCustomFont(&lf);
    }
    ~BackstagePaintTallStatusFont()
    {
        m_pPaintManager->GetStatusFontEntry().SetCustomFont(nullptr);
        m_pPaintManager->RefreshMetrics();
    }
    BackstagePaintTallStatusFont(const BackstagePaintTallStatusFont&) = delete;
    BackstagePaintTallStatusFont& operator=(const BackstagePaintTallStatusFont&) = delete;

private:
    CQVTPaintManager* m_pPaintManager;
};

}  // namespace

class CBackstagePaintPage : public CWnd
{
public:
    BOOL CreatePage(CWnd* pOwner)
    {
        return CreateEx(
            0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW)),
            _T("Page"), WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 300, 200), pOwner, 0);
    }
    CQVTRibbonBackstageButton* AddButton(int nTheme, const CRect& rc, UINT nID)
    {
        m_buttons.push_back(std::make_unique<CQVTRibbonBackstageButton>());
        CQVTRibbonBackstageButton* pButton = m_buttons.back().get();
        pButton->SetTheme(nTheme);
        pButton->Create(_T("Go"), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rc, this, nID);
        return pButton;
    }
    void DestroyPage()
    {
        for (auto& pButton : m_buttons)
            if (pButton->GetSafeHwnd())
                pButton->DestroyWindow();
        if (m_hWnd)
            DestroyWindow();
    }

    std::vector<std::unique_ptr<CQVTRibbonBackstageButton>> m_buttons;
    std::vector<UINT> m_commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            m_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class RibbonBackstagePaint : public CRibbonFrameSuite
{
protected:
    void SetUp() override
    {
        CRibbonFrameSuite::SetUp();
        m_pButton = m_pRibbon->AddSystemButton(0);
        m_pButton->SetCaption(_T("&File"));
        m_pButton->SetStyle(qvtButtonCaption);
        m_pView = new CQVTRibbonBackstageView();
        m_pView->SetCommandBars(s_pHost->GetCommandBars());
        m_pButton->SetCommandBar(m_pView);
        m_pView->InternalRelease();
        s_pHost->ResizeClient(1200, 421);
        PumpHost(50);
        m_page.CreatePage(s_pHost);
    }
    void TearDown() override
    {
        if (m_pView->GetSafeHwnd())
            m_pView->SetTrackingMode(FALSE);
        PumpHost(20);
        m_page.DestroyPage();
        CRibbonFrameSuite::TearDown();
    }

    CQVTControl* AddEntry(CQVTControl* pControl, LPCTSTR lpszCaption, int nId)
    {
        m_pView->GetControls()->Add(pControl, nId);
        pControl->SetCaption(lpszCaption);
        return pControl;
    }
    bool OpenView()
    {
        MouseClickAt(s_pHost->ScreenRectOf(m_pButton).CenterPoint());
        return PumpFrameUntil([&] { return m_pView->IsVisible() != FALSE; });
    }
    CPoint ScreenPointOf(CQVTControl* pControl) const
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        m_pView->ClientToScreen(&pt);
        return pt;
    }
    // A point of the entry clear of its caption, image and glyph.
    COLORREF EntryPixel(CQVTControl* pControl) const
    {
        const CRect rc = pControl->GetRect();
        return BackstagePaintScreenPixel(m_pView, CPoint(rc.left + ScaleX(4), rc.top + rc.Height() / 2));
    }
    void HoverAndPaint(POINT ptScreen)
    {
        MouseMoveTo(ptScreen);
        PumpHost(80);
    }
    // A point of a page button clear of its caption.
    static COLORREF ButtonPixel(CWnd* pButton)
    {
        CRect rc;
        pButton->GetClientRect(&rc);
        return BackstagePaintScreenPixel(pButton, CPoint(ScaleX(4), rc.Height() / 2));
    }

    CQVTRibbonControlSystemButton* m_pButton = nullptr;
    CQVTRibbonBackstageView* m_pView = nullptr;
    CBackstagePaintPage m_page;
};

TEST_F(RibbonBackstagePaint, FlatThemeFillsEntriesByStateAndGivesSeparatorsTheirRoom)
{
    m_pView->SetTheme(12);
    auto* pTheme = dynamic_cast<CQVTRibbonBackstageViewThemeOffice2013*>(m_pView->GetBackstagePaintManager());
    ASSERT_NE(nullptr, pTheme);
    CQVTControl* pSave = AddEntry(new CQVTRibbonBackstageCommand(), _T("Save"), kBackstagePaintSave);
    CQVTControl* pBlank = AddEntry(new CQVTRibbonBackstageCommand(), _T(""), kBackstagePaintBlank);
    CQVTControl* pSeparator = AddEntry(new CQVTRibbonBackstageMenuSeparator(), _T(""), 0);
    CQVTRibbonBackstageButton* pGo = m_page.AddButton(12, CRect(20, 40, 140, 72), kBackstagePaintGo);
    auto* pInfo = static_cast<CQVTRibbonBackstageTab*>(
        AddEntry(new CQVTRibbonBackstageTab(m_page.m_hWnd), _T("Info"), kBackstagePaintInfo));
    CQVTControl* pPrint = AddEntry(new CQVTRibbonBackstageCommand(), _T("Print"), kBackstagePaintPrint);
    pPrint->SetEnabled(FALSE);
    ASSERT_TRUE(OpenView());

    // No gaps; a separator takes 21 pixels.
    EXPECT_EQ(ScaleY(37), pSave->GetRect().Height());
    EXPECT_EQ(pSave->GetRect().bottom, pBlank->GetRect().top);
    EXPECT_EQ(ScaleY(21), pSeparator->GetRect().Height());
    EXPECT_EQ(pSeparator->GetRect().bottom, pInfo->GetRect().top);

    EXPECT_EQ(pTheme->m_clrButtonBackNormal, EntryPixel(pSave));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal, EntryPixel(pBlank));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal, EntryPixel(pPrint));
    // The separator's line across its middle, inset by the text indent.
    const CRect rcSeparator = pSeparator->GetRect();
    const int yLine = rcSeparator.top + rcSeparator.Height() / 2;
    EXPECT_EQ(pTheme->m_clrButtonTextDisabled,
              BackstagePaintScreenPixel(m_pView, CPoint(rcSeparator.left + ScaleX(20), yLine)));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal,
              BackstagePaintScreenPixel(m_pView, CPoint(rcSeparator.left + ScaleX(5), yLine)));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal,
              BackstagePaintScreenPixel(m_pView, CPoint(rcSeparator.left + ScaleX(20), yLine + ScaleY(3))));

    // Straight from the system button, the entry under the real pointer is
    // hot, and stays so while the pointer rests there; the one it left
    // goes back.
    HoverAndPaint(ScreenPointOf(pSave));
    EXPECT_EQ(pSave, m_pView->GetHotControl());
    EXPECT_EQ(pTheme->m_clrButtonBackHighlighted, EntryPixel(pSave));
    PumpHost(150);
    EXPECT_EQ(pTheme->m_clrButtonBackHighlighted, EntryPixel(pSave));
    HoverAndPaint(ScreenPointOf(pBlank));
    EXPECT_EQ(pTheme->m_clrButtonBackHighlighted, EntryPixel(pBlank));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal, EntryPixel(pSave));

    // A command pressed by the real mouse is focused, and drawn hot; let
    // go over the separator, it runs nothing.
    MouseMoveTo(ScreenPointOf(pSave));
    MouseLeftDown();
    PumpHost(80);
    EXPECT_EQ(pSave, m_pView->GetFocusedControl());
    EXPECT_EQ(pTheme->m_clrButtonBackHighlighted, EntryPixel(pSave));
    MouseMoveTo(ScreenPointOf(pSeparator));
    MouseLeftUp();
    PumpHost(80);
    EXPECT_TRUE(s_pHost->m_commands.empty());
    EXPECT_EQ(pTheme->m_clrButtonBackHighlighted, EntryPixel(pSave));
    EXPECT_EQ(pTheme->m_clrButtonBackNormal, EntryPixel(pBlank));

    // The active tab, once the pointer left it.
    MouseClickAt(ScreenPointOf(pInfo));
    ASSERT_TRUE(PumpFrameUntil([&] { return m_pView->GetActiveTab() == pInfo; }));
    HoverAndPaint(ScreenPointOf(pBlank));
    HoverAndPaint(WindowCentre(pGo->m_hWnd));
    EXPECT_EQ(pTheme->m_clrButtonBackSelected, EntryPixel(pInfo));

    // The page's button under the real pointer, then pressed, then clicked.
    auto* pGoTheme = dynamic_cast<CQVTButtonThemeOffice2013*>(pGo->GetTheme());
    ASSERT_NE(nullptr, pGoTheme);
    EXPECT_EQ((COLORREF)pGoTheme->m_clrBackHilite, ButtonPixel(pGo));
    MouseLeftDown();
    PumpHost(80);
    EXPECT_EQ((COLORREF)pGoTheme->m_clrBackPushed, ButtonPixel(pGo));
    MouseLeftUp();
    ASSERT_TRUE(PumpFrameUntil([&] { return !m_page.m_commands.empty(); }));
    EXPECT_EQ(std::vector<UINT>{kBackstagePaintGo}, m_page.m_commands);
}

TEST_F(RibbonBackstagePaint, ResourceThemeDrawsTheSchemesImagesByState)
{
    ASSERT_NE(nullptr,
              dynamic_cast<CQVTRibbonBackstageViewThemeResource*>(m_pView->GetBackstagePaintManager()));
    CQVTControl* pSave = AddEntry(new CQVTRibbonBackstageCommand(), _T("Save"), kBackstagePaintSave);
    CQVTControl* pBlank = AddEntry(new CQVTRibbonBackstageCommand(), _T(""), kBackstagePaintBlank);
    CQVTControl* pSeparator = AddEntry(new CQVTRibbonBackstageMenuSeparator(), _T(""), 0);
    CQVTRibbonBackstageButton* pGo = m_page.AddButton(7, CRect(20, 40, 140, 72), kBackstagePaintGo);
    CQVTRibbonBackstageButton* pStay = m_page.AddButton(7, CRect(20, 90, 140, 122), kBackstagePaintGo + 1);
    auto* pInfo = static_cast<CQVTRibbonBackstageTab*>(
        AddEntry(new CQVTRibbonBackstageTab(m_page.m_hWnd), _T("&Info"), kBackstagePaintInfo));
    pInfo->SetItemDefault(TRUE);
    auto* pShare = static_cast<CQVTRibbonBackstageTab*>(
        AddEntry(new CQVTRibbonBackstageTab(nullptr), _T("Share"), kBackstagePaintShare));
    ASSERT_TRUE(OpenView());
    ASSERT_EQ(pInfo, m_pView->GetActiveTab());

    // Separators take no room.
    EXPECT_EQ(pSave->GetRect().bottom + ScaleY(2), pBlank->GetRect().top);
    EXPECT_EQ(pBlank->GetRect().bottom + ScaleY(2), pInfo->GetRect().top);
    (void)pSeparator;

    const CRect rcMargins(2, 2, 2, 2);
    auto entryImagePixel = [&](CQVTControl* pControl, LPCTSTR lpszImage, int nFrame, int nFrames) {
        const CRect rc = pControl->GetRect();
        return BackstagePaintImagePixel(lpszImage, rc.Size(), nFrame, nFrames, rcMargins,
                                        CPoint(ScaleX(4), rc.Height() / 2));
    };
    const COLORREF clrIdleCommand = EntryPixel(pSave);
    HoverAndPaint(ScreenPointOf(pSave));
    EXPECT_EQ(entryImagePixel(pSave, _T("BackstageMenuCommand"), 0, 3), EntryPixel(pSave));
    EXPECT_NE(clrIdleCommand, EntryPixel(pSave));
    HoverAndPaint(ScreenPointOf(pBlank));
    EXPECT_EQ(entryImagePixel(pBlank, _T("BackstageMenuCommand"), 0, 3), EntryPixel(pBlank));
    EXPECT_EQ(clrIdleCommand, EntryPixel(pSave));

    // The active tab, and a hot one beside it.
    HoverAndPaint(ScreenPointOf(pShare));
    EXPECT_EQ(entryImagePixel(pInfo, _T("BackstageMenuPage"), 1, 4), EntryPixel(pInfo));
    EXPECT_EQ(entryImagePixel(pShare, _T("BackstageMenuPage"), 0, 4), EntryPixel(pShare));

    // Page buttons: the hot frame under the pointer, the idle one beside it.
    const CSize szButton(120, 32);
    auto buttonImagePixel = [&](int nFrame) {
        return BackstagePaintImagePixel(_T("BACKSTAGEBUTTON"), szButton, nFrame, 5, CRect(4, 4, 4, 4),
                                        CPoint(ScaleX(4), szButton.cy / 2));
    };
    HoverAndPaint(WindowCentre(pGo->m_hWnd));
    EXPECT_EQ(buttonImagePixel(2), ButtonPixel(pGo));
    EXPECT_EQ(buttonImagePixel(0), ButtonPixel(pStay));
    MouseLeftDown();
    PumpHost(80);
    EXPECT_EQ(buttonImagePixel(2), ButtonPixel(pGo));
    MouseLeftUp();
    ASSERT_TRUE(PumpFrameUntil([&] { return !m_page.m_commands.empty(); }));
    EXPECT_EQ(std::vector<UINT>{kBackstagePaintGo}, m_page.m_commands);

    // Alt shows the menu's tips at the entries' corners; the tab's letter
    // the page buttons' tips at theirs, in the view's colour, all sized by
    // the bars' key-tip font (a tall one here).
    BackstagePaintTallStatusFont tallFont(m_pView->GetPaintManager());
    m_pView->SetFocus();
    MouseMoveTo(CPoint(5, 1000));
    SendKey(VK_MENU, false);
    SendKey(VK_MENU, true);
    PumpHost(80);
    const COLORREF clrTip = m_pView->GetPaintManager()->GetColor(24);
    const CPoint ptSaveTip = pSave->GetRect().TopLeft() + CSize(ScaleX(2), ScaleY(2));
    EXPECT_EQ(clrTip, BackstagePaintScreenPixel(m_pView, ptSaveTip));
    const CPoint ptLow(ScaleX(2), ScaleY(24));
    EXPECT_EQ(clrTip, BackstagePaintScreenPixel(m_pView, pSave->GetRect().TopLeft() + ptLow));
    SendKey('I', false);
    SendKey('I', true);
    PumpHost(80);
    ASSERT_TRUE(pGo->IsShowKeyTip());
    EXPECT_EQ(m_pView->GetKeyTipBackColor(), BackstagePaintScreenPixel(pGo, CPoint(ScaleX(2), ScaleY(2))));
    EXPECT_EQ(m_pView->GetKeyTipBackColor(), BackstagePaintScreenPixel(pStay, CPoint(ScaleX(2), ScaleY(2))));
    EXPECT_EQ(m_pView->GetKeyTipBackColor(), BackstagePaintScreenPixel(pGo, ptLow));

    // A disabled active tab shows the disabled frame.
    pInfo->SetEnabled(FALSE);
    m_pView->Invalidate();
    PumpHost(80);
    EXPECT_EQ(entryImagePixel(pInfo, _T("BackstageMenuPage"), 3, 4), EntryPixel(pInfo));
}
