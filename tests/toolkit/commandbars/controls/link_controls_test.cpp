// The link and bitmap controls on a toolbar, as a user meets them: the link
// in its colour, red and with the hand under the mouse, grey when disabled,
// opening its address without a command to the site; the bitmap as large
// as its image, drawn where the control lies, and inert to clicks.
#include <afxwin.h>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/support/solid_icon.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlBitmap.h"
#include "toolkit/commandbars/controls/QVTControlHyperlink.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

namespace {

const int kLinkId = 310;
const int kBitmapId = 311;
const COLORREF kBitmapColor = RGB(10, 200, 60);

}  // namespace

// Counts what the link was asked to open, without a shell.
class CCountingHyperlink : public CQVTControlHyperlink
{
public:
    void OnExecute() override
    {
        ++m_nOpened;
        m_strOpened = m_strTooltipText;
    }
    void OnClick(BOOL bKeyboard, CPoint pt) override
    {
        ++m_nClicks;
        CQVTControlHyperlink::OnClick(bKeyboard, pt);
    }
    int m_nClicks = 0;
    int m_nOpened = 0;
    CString m_strOpened;
};

class LinkControls : public BarsFrameSuite<LinkControls>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(300, 80, 800, 330)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pBars = s_pFrame->GetCommandBars();
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        CQVTImageManagerRasterImageHandle handle;
        handle.AttachIcon(MakeSolidIcon(40, 24, kBitmapColor));
        m_pBars->GetImageManager()->SetIcon(handle, kBitmapId, CSize(40, 24));

        CQVTControls* pControls = m_pToolBar->GetControls();
        m_pLink = new CCountingHyperlink();
        pControls->Add(m_pLink, kLinkId);
        m_pLink->SetCaption(_T("Visit the site"));
        m_pLink->SetTooltip(_T("https://www.quorvane.example/"));
        m_pLink->SetFlags(qvtFlagManualUpdate);
        m_pBitmap = new CQVTControlBitmap();
        pControls->Add(m_pBitmap, kBitmapId);
        m_pToolBar->DelayLayout();
        m_pBars->RecalcFrameLayout(FALSE);
        m_pToolBar->OnRecalcLayout();
        s_pFrame->SetForegroundWindow();
        PumpTranslated(50);
    }
    void TearDown() override
    {
        MouseMoveTo(CPoint(5, 5));
        PumpTranslated(30);
    }

    CPoint ScreenPoint(CPoint pt) const
    {
        m_pToolBar->ClientToScreen(&pt);
        return pt;
    }
    // Pixels of the colour inside the control's rectangle on the screen.
    int CountInControl(CQVTControl* pControl, COLORREF clr) const
    {
        auto canvas = screentest::Capture(m_pToolBar->GetSafeHwnd());
        CRect rcBar;
        m_pToolBar->GetWindowRect(&rcBar);
        CRect rc = pControl->GetRect();
        m_pToolBar->ClientToScreen(&rc);
        rc.OffsetRect(-rcBar.TopLeft());
        return screentest::CountIn(*canvas, rc, clr);
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
    CCountingHyperlink* m_pLink = nullptr;
    CQVTControlBitmap* m_pBitmap = nullptr;
};

TEST_F(LinkControls, TheLinkTurnsRedUnderTheMouseAndOpensItsAddressWithoutACommand)
{
    // As wide as its caption in the bar's font.
    CClientDC dc(m_pToolBar);
    CFont* pOld = dc.SelectObject(m_pBars->GetPaintManager()->GetRegularFont());
    const CSize szText = dc.GetTextExtent(_T("Visit the site"));
    dc.SelectObject(pOld);
    EXPECT_EQ(szText.cx, m_pLink->GetRect().Width());

    MouseMoveTo(CPoint(5, 5));
    PumpTranslated(50);
    EXPECT_GT(CountInControl(m_pLink, CQVTControlHyperlink::clrLink), 5);
    EXPECT_EQ(0, CountInControl(m_pLink, CQVTControlHyperlink::clrLinkHot));

    MouseMoveTo(ScreenPoint(m_pLink->GetRect().CenterPoint()));
    PumpTranslated(80);
    EXPECT_TRUE(m_pLink->GetSelected());
    EXPECT_GT(CountInControl(m_pLink, CQVTControlHyperlink::clrLinkHot), 5);
    EXPECT_EQ(0, CountInControl(m_pLink, CQVTControlHyperlink::clrLink));
    CURSORINFO cursor = {sizeof(cursor)};
    ::GetCursorInfo(&cursor);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), cursor.hCursor);

    MouseLeftDown();
    MouseLeftUp();
    PumpTranslated(80);
    EXPECT_EQ(1, m_pLink->m_nClicks);
    EXPECT_EQ(1, m_pLink->m_nOpened);
    EXPECT_EQ(CString(_T("https://www.quorvane.example/")), m_pLink->m_strOpened);
    EXPECT_TRUE(s_pFrame->m_commands.empty());
}

TEST_F(LinkControls, ADisabledLinkIsGrey)
{
    m_pLink->SetEnabled(FALSE);
    m_pToolBar->Invalidate();
    PumpTranslated(30);
    EXPECT_GT(CountInControl(m_pLink, ::GetSysColor(COLOR_GRAYTEXT)), 5);
    EXPECT_EQ(0, CountInControl(m_pLink, CQVTControlHyperlink::clrLink));
}

TEST_F(LinkControls, TheBitmapIsItsImageAndIgnoresClicks)
{
    EXPECT_EQ(CSize(40, 24), m_pBitmap->GetRect().Size());
    EXPECT_EQ(40 * 24, CountInControl(m_pBitmap, kBitmapColor));
    EXPECT_EQ(qvtControlLabel, m_pBitmap->GetType());

    MouseMoveTo(ScreenPoint(m_pBitmap->GetRect().CenterPoint()));
    PumpTranslated(50);
    EXPECT_FALSE(m_pBitmap->GetSelected());
    MouseLeftDown();
    MouseLeftUp();
    PumpTranslated(50);
    EXPECT_TRUE(s_pFrame->m_commands.empty());

    // Without an image it takes no room.
    CQVTControlBitmap* pEmpty = new CQVTControlBitmap();
    m_pToolBar->GetControls()->Add(pEmpty, 399);
    CClientDC dc(m_pToolBar);
    EXPECT_EQ(CSize(0, 0), pEmpty->GetSize(&dc));
}
