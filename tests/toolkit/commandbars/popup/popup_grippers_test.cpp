// The grippers of a popup as a user meets them: dragging the tear-off strip
// out makes a floating toolbar under the pointer (and hides it again back
// over the popup); dragging the resize strip of a popup holding a gallery
// sizes the gallery, in height only for a gallery of full-width items, and
// Escape puts the old size back. In the flat theme a menu's border opens
// towards the button that dropped it, and a double gripper is a two-icon
// column, and the menu's accessible parent is its button.
#include <afxwin.h>

#include <oleacc.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "real_input.h"
#include "tests/common/screen_test_support.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/managers/QVTMouseManager.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const UINT kTearOffId = 50010;
const int kPopupButtonId = 40450;
const int kGalleryId = 40460;

// A press at the first point, moves through the others, and the release,
// from a second thread while this one runs the gripper's loop; with
// bEscape, Escape comes before the release.
void DragThrough(std::initializer_list<POINT> points, bool bEscape = false)
{
    const DWORD dwUiThread = ::GetCurrentThreadId();
    std::vector<POINT> path(points);
    RunInputScript([&] {
        ScriptMouseMove(path.front(), 40);
        // The popup may hold the capture already: the pause lets the press
        // start the gripper's loop, which reads the pointer where it is.
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 200);
        if (!ScriptWaitForCapture(dwUiThread, true, 3000))
            return;
        for (size_t i = 1; i < path.size(); ++i)
            ScriptMouseMove(path[i], 120);
        if (bEscape)
        {
            SendKey(VK_ESCAPE, false);
            SendKey(VK_ESCAPE, true);
            ::Sleep(120);
        }
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 120);
    });
}

CRect ScreenRect(CWnd* pWnd, CRect rc)
{
    pWnd->ClientToScreen(&rc);
    return rc;
}

}  // namespace

// A site that counts the toolbars torn off its popups.
class CTearOffFrame : public CBarsFrame
{
public:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == QVTWM_TEAROFFTOOLBAR)
            ++m_nTornOff;
        return CBarsFrame::OnWndMsg(message, wParam, lParam, pResult);
    }

    int m_nTornOff = 0;
};

class PopupGrippers : public BarsFrameSuite<PopupGrippers, CTearOffFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(200, 150, 700, 550)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpMessages(20);
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, s_pFrame->GetCommandBars()->Add(_T("Owner"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        m_pButton = m_pToolBar->GetControls()->AddByType(qvtControlPopup, kPopupButtonId);
        ASSERT_NE(nullptr, m_pButton);
        m_pButton->SetCaption(_T("Open"));
        m_pButton->SetStyle(qvtButtonCaption);
        m_pPopup = DYNAMIC_DOWNCAST(CQVTPopupBar, m_pButton->GetCommandBar());
        ASSERT_NE(nullptr, m_pPopup);
        s_pFrame->GetCommandBars()->RecalcFrameLayout(FALSE);
        PumpMessages(20);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        PumpMessages(20);
        s_pFrame->ResetBars();
        if (m_pItems)
            m_pItems->InternalRelease();
        PumpMessages(20);
    }

    BOOL Open()
    {
        CQVTCommandBars::ClosePopups();
        PumpMessages(20);
        return m_pToolBar->SetPopuped(m_pButton->GetIndex()) &&
               PumpUntil([&] { return m_pPopup->GetSafeHwnd() && m_pPopup->IsWindowVisible(); });
    }
    // A resizable gallery of twelve items of the size, in the popup.
    CQVTControlGallery* AddGallery(CSize szItem)
    {
        m_pItems = new CQVTControlGalleryItems();
        m_pItems->SetItemSize(szItem);
        for (int i = 0; i < 12; ++i)
            m_pItems->AddItem(100 + i);
        auto* pGallery = static_cast<CQVTControlGallery*>(
            m_pPopup->GetControls()->Add(new CQVTControlGallery(), kGalleryId));
        pGallery->SetItems(m_pItems);
        pGallery->SetShowScrollBar(FALSE);
        pGallery->SetResizable(TRUE);
        pGallery->SetWidth(120);
        pGallery->SetHeight(80);
        return pGallery;
    }

    CQVTToolBar* m_pToolBar = nullptr;
    CQVTControl* m_pButton = nullptr;
    CQVTPopupBar* m_pPopup = nullptr;
    CQVTControlGalleryItems* m_pItems = nullptr;
};

TEST_F(PopupGrippers, TearingOffMakesAFloatingToolbarUnderThePointerUnlessDroppedBackOnTheStrip)
{
    m_pPopup->SetTearOffPopup(_T("Torn"), kTearOffId, 200);
    for (int i = 0; i < 3; ++i)
    {
        CString strCaption;
        strCaption.Format(_T("Entry %d"), i);
        m_pPopup->GetControls()->Add(new CQVTControlButton(), 40451 + i)->SetCaption(strCaption);
    }
    ASSERT_TRUE(Open());
    const CRect rcStrip = ScreenRect(m_pPopup, m_pPopup->GetTearOffGripperRect());
    ASSERT_FALSE(rcStrip.IsRectEmpty());
    const CPoint ptStrip = rcStrip.CenterPoint();
    // Just inside the strip grown by 10 pixels no toolbar shows.
    const CPoint ptNear(ptStrip.x, rcStrip.bottom + QVTDpiScaler()->ScaleY(10) - 1);
    const CPoint ptFar(ptStrip.x + 60, rcStrip.bottom + 160);

    // Out and back onto the strip: the toolbar was made and hides again (a
    // hidden torn-off bar leaves the bars); the popup stays open.
    s_pFrame->m_nTornOff = 0;
    DragThrough({ptStrip, ptFar, ptNear});
    EXPECT_EQ(1, s_pFrame->m_nTornOff);
    CQVTCommandBar* pHidden = s_pFrame->GetCommandBars()->GetToolBar(kTearOffId);
    EXPECT_TRUE(!pHidden || !pHidden->IsWindowVisible());
    EXPECT_TRUE(m_pPopup->GetSafeHwnd() && m_pPopup->IsWindowVisible());
    EXPECT_FALSE(CQVTMouseManager::GetThreadManager()->IsInDragLoop());

    // Out and released there: a floating toolbar with copies of the
    // entries, its top centre 10 pixels above the pointer; the popup closed.
    ASSERT_TRUE(Open());
    DragThrough({ptStrip, ptFar});
    CQVTToolBar* pTorn = DYNAMIC_DOWNCAST(CQVTToolBar, s_pFrame->GetCommandBars()->GetToolBar(kTearOffId));
    ASSERT_NE(nullptr, pTorn);
    EXPECT_TRUE(pTorn->IsFloating());
    EXPECT_TRUE(pTorn->IsWindowVisible());
    EXPECT_FALSE(m_pPopup->GetSafeHwnd() && m_pPopup->IsWindowVisible());
    EXPECT_TRUE(pTorn->IsTearOff());
    EXPECT_NE(nullptr, pTorn->GetControls()->FindControl(40452));
    CRect rcTorn;
    pTorn->GetWindowRect(&rcTorn);
    EXPECT_EQ(ptFar.y - QVTDpiScaler()->ScaleY(10), rcTorn.top);
    EXPECT_EQ(ptFar.x - rcTorn.Width() / 2, rcTorn.left);
}

TEST_F(PopupGrippers, TheResizeStripSizesTheGalleryAndEscapePutsItBack)
{
    CQVTControlGallery* pGallery = AddGallery(CSize(30, 20));
    ASSERT_TRUE(Open());
    EXPECT_EQ(CQVTPopupBar::resizeBoth, m_pPopup->GetResizeMode());
    CRect rcStrip = ScreenRect(m_pPopup, m_pPopup->GetResizeGripperRect());
    EXPECT_EQ(QVTDpiScaler()->ScaleY(11), rcStrip.Height());
    CSize szStart = pGallery->GetRect().Size();
    CPoint ptFrom = rcStrip.CenterPoint();
    DragThrough({ptFrom, ptFrom + CSize(40, 30)});
    EXPECT_EQ(szStart.cx + 40, pGallery->GetWidth());
    EXPECT_EQ(szStart.cy + 30, pGallery->GetHeight());
    EXPECT_EQ(szStart + CSize(40, 30), pGallery->GetRect().Size());

    // Escape ends the loop with the size from before it.
    const int nWidth = pGallery->GetWidth();
    const int nHeight = pGallery->GetHeight();
    rcStrip = ScreenRect(m_pPopup, m_pPopup->GetResizeGripperRect());
    ptFrom = rcStrip.CenterPoint();
    DragThrough({ptFrom, ptFrom + CSize(-30, 20)}, true);
    EXPECT_EQ(nWidth, pGallery->GetWidth());
    EXPECT_EQ(nHeight, pGallery->GetHeight());
}

TEST_F(PopupGrippers, AGalleryOfFullWidthItemsResizesInHeightOnly)
{
    CQVTControlGallery* pGallery = AddGallery(CSize(0, 20));
    ASSERT_TRUE(Open());
    EXPECT_EQ(CQVTPopupBar::resizeHeight, m_pPopup->GetResizeMode());
    const CRect rcStrip = ScreenRect(m_pPopup, m_pPopup->GetResizeGripperRect());
    EXPECT_EQ(QVTDpiScaler()->ScaleY(8), rcStrip.Height());
    const int nWidth = pGallery->GetWidth();
    const CSize szStart = pGallery->GetRect().Size();
    const CPoint ptFrom = rcStrip.CenterPoint();
    DragThrough({ptFrom, ptFrom + CSize(40, 30)});
    EXPECT_EQ(nWidth, pGallery->GetWidth());
    EXPECT_EQ(szStart.cy + 30, pGallery->GetHeight());
}

TEST_F(PopupGrippers, TheFlatThemeOpensAMenusBorderTowardsItsButtonAndDoublesADoubleGripperColumn)
{
    const int nTheme = QVTPaintManager()->GetCurrentTheme();
    CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
    CQVTPaintManager* pTheme = QVTPaintManager();
    for (int i = 0; i < 2; ++i)
        m_pPopup->GetControls()->Add(new CQVTControlButton(), 40451 + i)->SetCaption(_T("Entry"));
    ASSERT_TRUE(Open());
    PumpMessages(100);
    CRect rcButton = m_pButton->GetRect();
    m_pToolBar->ClientToScreen(&rcButton);
    // The menu opens just below its button; moved a pixel up, it meets it.
    CRect rcPopup;
    m_pPopup->GetWindowRect(&rcPopup);
    ASSERT_EQ(rcButton.bottom, rcPopup.top);
    rcPopup.OffsetRect(0, -1);
    m_pPopup->SetWindowPos(nullptr, rcPopup.left, rcPopup.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rcJoin;
    ASSERT_TRUE(rcJoin.IntersectRect(rcPopup, rcButton));
    rcJoin.OffsetRect(-rcPopup.left, -rcPopup.top);
    std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pPopup->GetSafeHwnd());
    // The top row: open over the button (less a pixel at each end), border
    // elsewhere.
    EXPECT_EQ(pTheme->GetColor(30), canvas->At(rcJoin.left + 1, 0));
    EXPECT_EQ(pTheme->GetColor(30), canvas->At(rcJoin.right - 2, 0));
    EXPECT_EQ(pTheme->GetColor(43), canvas->At(rcJoin.left, 0));
    EXPECT_EQ(pTheme->GetColor(43), canvas->At(rcJoin.right - 1, 0));
    EXPECT_EQ(pTheme->GetColor(43), canvas->At(rcPopup.Width() - 1, 0));

    const int cxIcon = pTheme->GetPopupBarButtonSize(m_pPopup).cx;
    EXPECT_EQ(cxIcon + QVTDpiScaler()->ScaleX(1), pTheme->GetPopupBarGutterWidth(m_pPopup));
    m_pPopup->SetDoubleGripper(TRUE);
    EXPECT_EQ(2 * cxIcon + QVTDpiScaler()->ScaleX(1), pTheme->GetPopupBarGutterWidth(m_pPopup));
    CQVTCommandBars::ClosePopups();
    CQVTPaintManager::SetTheme(nTheme);
}

TEST_F(PopupGrippers, AMenusAccessibleParentIsTheButtonThatDroppedIt)
{
    m_pPopup->GetControls()->Add(new CQVTControlButton(), 40451)->SetCaption(_T("Entry"));
    ASSERT_TRUE(Open());
    IAccessible* pMenu = nullptr;
    ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(m_pPopup->GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                                 IID_IAccessible, reinterpret_cast<void**>(&pMenu)));
    IDispatch* pParent = nullptr;
    ASSERT_EQ(S_OK, pMenu->get_accParent(&pParent));
    IAccessible* pButton = nullptr;
    ASSERT_EQ(S_OK, pParent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&pButton)));
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR bstrName = nullptr;
    ASSERT_EQ(S_OK, pButton->get_accName(self, &bstrName));
    EXPECT_EQ(CString(_T("Open")), CString(bstrName));
    ::SysFreeString(bstrName);
    pButton->Release();
    pParent->Release();
    pMenu->Release();
}
