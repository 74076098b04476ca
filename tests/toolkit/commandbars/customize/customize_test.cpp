// Customize mode as a user meets it: controls dragged with the real mouse
// between two toolbars, copied with Ctrl, dropped onto themselves, into an
// empty bar and onto bars that refuse them; the drag cancelled by Escape, the
// right button and WM_QUIT; the cursor and the inverted insert mark read
// back from the screen; Alt+drag without a customize window; a control's
// edge dragged wider; and the drag surviving a target bar destroyed under it
// and a control that cannot be copied.
#include <afxwin.h>

#include <functional>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/QVTCommandBarsResource.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTMenuBar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlButton.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControlLists.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/customize/QVTCustomizeDropSource.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

const DWORD kCustomizeSettle = 60;

// A button whose class the framework cannot make again: a drop cannot copy it.
class CUncopyableButton : public CQVTControlButton
{
    DECLARE_DYNAMIC(CUncopyableButton)
};
IMPLEMENT_DYNAMIC(CUncopyableButton, CQVTControlButton)

// A button that records where it heard it was being dragged (into the
// test's list: a moved button is gone when the drag ends).
class CDragHearingButton : public CQVTControlButton
{
public:
    std::vector<CPoint>* m_pDragStarts = nullptr;
    void OnCustomizeDragOver(CQVTControl* pDataObject, CPoint point) override
    {
        if (pDataObject == this && m_pDragStarts)
            m_pDragStarts->push_back(point);
        CQVTControlButton::OnCustomizeDragOver(pDataObject, point);
    }
};

}  // namespace

// The application's customize window: it records the drag-control
// notifications that reach it.
class CTestCustomizeWindow : public CWnd
{
public:
    int m_nDragControlChanged = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == QVTWM_DRAGCONTROLCHANGED)
            ++m_nDragControlChanged;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

namespace {

std::vector<int> CustomizeIds(CQVTCommandBar* pBar)
{
    std::vector<int> ids;
    // The toolbar's own expand button is no control of the user's.
    for (int i = 0; i < pBar->GetControlCount(); ++i)
        if (pBar->GetControl(i)->GetID() != QVT_ID_TOOLBAR_EXPAND)
            ids.push_back(pBar->GetControl(i)->GetID());
    return ids;
}

HCURSOR CustomizeCursorNow()
{
    CURSORINFO info = {sizeof(CURSORINFO)};
    ::GetCursorInfo(&info);
    return info.hCursor;
}

// Ctrl held or let go on the X display itself: Wine takes the modifiers of
// a pointer event from the display, so a Ctrl sent with SendInput alone is
// up again for the moves that follow.
bool CustomizeXCtrl(LPCTSTR lpszAction)
{
    CString strCommand = CString(u"/usr/bin/xdotool ") + lpszAction + u" Control_L";
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, strCommand.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

COLORREF CustomizeScreenPixel(POINT pt)
{
    HDC hDC = ::GetDC(nullptr);
    const COLORREF clr = ::GetPixel(hDC, pt.x, pt.y);
    ::ReleaseDC(nullptr, hDC);
    return clr;
}

// Removes a bar when a message reaches it (from a loop that dispatches).
class CCustomizeBarCutter : public CWnd
{
public:
    CQVTCommandBars* m_pBars = nullptr;
    CQVTCommandBar* m_pBar = nullptr;
    BOOL m_bCut = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP && m_pBar)
        {
            m_pBars->Remove(m_pBar);
            m_pBar = nullptr;
            m_bCut = TRUE;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

class Customize : public BarsFrameSuite<Customize>
{
public:
    static void SetUpTestSuite() { CreateFrame(kFrame, TRUE); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        RestoreFrame(kFrame);
        s_pFrame->SetForegroundWindow();
        m_pFirst = AddBar(_T("First"), 3, 100);
        m_pSecond = AddBar(_T("Second"), 3, 200);
        ASSERT_NE(nullptr, m_pFirst);
        ASSERT_NE(nullptr, m_pSecond);
        PumpMessages(40);
    }
    void TearDown() override
    {
        if (Bars()->GetDropSource())
            Bars()->GetDropSource()->SetCustomizeWindow(nullptr);
        if (m_customizeWindow.GetSafeHwnd())
            m_customizeWindow.DestroyWindow();
        Bars()->SetCustomizeMode(FALSE);
        CQVTCommandBars::ClosePopups();
        s_pFrame->ResetBars();
        PumpMessages(20);
    }
    static CQVTCommandBars* Bars() { return s_pFrame->GetCommandBars(); }
    static CQVTToolBar* AddBar(LPCTSTR lpszTitle, int nButtons, UINT nFirstId)
    {
        CQVTToolBar* pBar = DYNAMIC_DOWNCAST(CQVTToolBar, Bars()->Add(lpszTitle, qvtBarTop));
        if (!pBar)
            return nullptr;
        std::vector<UINT> ids;
        for (int i = 0; i < nButtons; ++i)
            ids.push_back(nFirstId + static_cast<UINT>(i));
        if (nButtons > 0)
            pBar->SetButtons(ids.data(), nButtons);
        for (int i = 0; i < pBar->GetControlCount(); ++i)
        {
            CString strCaption;
            strCaption.Format(_T("Button %d"), nFirstId + i);
            pBar->GetControl(i)->SetCaption(strCaption);
            pBar->GetControl(i)->SetStyle(qvtButtonCaption);
        }
        Bars()->RecalcFrameLayout();
        PumpMessages(20);
        return pBar;
    }
    // A menu bar over the toolbars, its one popup holding three commands.
    static CQVTMenuBar* AddMenuBar(CQVTControlPopup** ppFile)
    {
        CQVTMenuBar* pMenuBar =
            DYNAMIC_DOWNCAST(CQVTMenuBar, Bars()->Add(_T("Menu Bar"), qvtBarTop, RUNTIME_CLASS(CQVTMenuBar)));
        if (!pMenuBar)
            return nullptr;
        CQVTControlPopup* pFile =
            static_cast<CQVTControlPopup*>(pMenuBar->GetControls()->AddByType(qvtControlPopup, 0));
        pFile->SetCaption(_T("&File"));
        for (int nId = 400; nId < 403; ++nId)
        {
            CString strCaption;
            strCaption.Format(_T("Command %d"), nId);
            pFile->GetCommandBar()->GetControls()->AddByType(qvtControlButton, nId)->SetCaption(strCaption);
        }
        *ppFile = pFile;
        Bars()->RecalcFrameLayout();
        PumpMessages(20);
        return pMenuBar;
    }
    // The popup of the menu bar's item while it shows, from the script's thread.
    static CQVTCommandBar* ShownPopup(CQVTControlPopup* pFile)
    {
        const DWORD dwStart = ::GetTickCount();
        while (::GetTickCount() - dwStart < 2000)
        {
            CQVTCommandBar* pPopup = pFile->GetCommandBar();
            if (pPopup && pPopup->GetSafeHwnd() && ::IsWindowVisible(pPopup->GetSafeHwnd()) &&
                pPopup->GetControlCount() > 0 && !pPopup->GetControl(0)->GetRect().IsRectEmpty())
                return pPopup;
            ::Sleep(20);
        }
        return nullptr;
    }
    // Customize mode with the application's customize window open.
    void OpenCustomizeWindow(CQVTPopupBar* pContextMenu = nullptr)
    {
        ASSERT_TRUE(m_customizeWindow.CreateEx(0, AfxRegisterWndClass(0), _T("Customize"),
                                               WS_CHILD | WS_VISIBLE, CRect(0, 300, 60, 340), s_pFrame,
                                               1234));
        Bars()->GetDropSource()->SetCustomizeWindow(&m_customizeWindow, pContextMenu);
        Bars()->SetCustomizeMode(TRUE);
        PumpMessages(20);
    }
    static POINT Centre(CQVTCommandBar* pBar, int nIndex)
    {
        CRect rc = pBar->GetControl(nIndex)->GetRect();
        pBar->ClientToScreen(&rc);
        return rc.CenterPoint();
    }
    static POINT Offset(POINT pt, int dx, int dy) { return POINT{pt.x + dx, pt.y + dy}; }
    // A press, moves in steps to the end point, whatever the middle asks
    // for while the button is still down, and the release; from a second
    // thread while this one runs the loops.
    static void Drag(POINT ptFrom, POINT ptTo, std::function<void()> middle = nullptr, bool bRelease = true)
    {
        const DWORD dwUiThread = ::GetCurrentThreadId();
        RunInputScript([&] {
            ScriptMouseMove(ptFrom, kCustomizeSettle);
            ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kCustomizeSettle);
            if (!ScriptWaitForCapture(dwUiThread, true, 3000))
                return;
            ::Sleep(kCustomizeSettle);
            ScriptMouseMove(Offset(ptFrom, (ptTo.x - ptFrom.x) / 2, (ptTo.y - ptFrom.y) / 2),
                            kCustomizeSettle);
            ScriptMouseMove(ptTo, 150);
            if (middle)
                middle();
            if (bRelease)
                ScriptMouseButton(MOUSEEVENTF_LEFTUP, kCustomizeSettle);
            ScriptWaitForCapture(dwUiThread, false, 3000);
            if (!bRelease)
                ScriptMouseButton(MOUSEEVENTF_LEFTUP, kCustomizeSettle);
        });
        PumpMessages(60);
    }

    static const CRect kFrame;
    CQVTToolBar* m_pFirst = nullptr;
    CQVTToolBar* m_pSecond = nullptr;
    CTestCustomizeWindow m_customizeWindow;
};

const CRect Customize::kFrame(100, 100, 800, 460);

namespace {

TEST_F(Customize, DraggedButtonsMoveToTheInsertIndexAndCopyWithCtrl)
{
    OpenCustomizeWindow();
    const HCURSOR hMove = QVTResourceManager()->LoadCursor(QVT_IDC_COMMANDBARS_DRAGMOVE);
    const HCURSOR hCopy = QVTResourceManager()->LoadCursor(QVT_IDC_COMMANDBARS_DRAGCOPY);
    ASSERT_NE(nullptr, hMove);
    ASSERT_NE(nullptr, hCopy);
    ASSERT_NE(hMove, hCopy);

    // A move lands after the second button of the other bar: right of its centre.
    HCURSOR hDuringMove = nullptr;
    Drag(Centre(m_pFirst, 0), Offset(Centre(m_pSecond, 1), 6, 0),
         [&] { hDuringMove = CustomizeCursorNow(); });
    EXPECT_EQ(hMove, hDuringMove);
    EXPECT_EQ((std::vector<int>{101, 102}), CustomizeIds(m_pFirst));
    EXPECT_EQ((std::vector<int>{200, 201, 100, 202}), CustomizeIds(m_pSecond));
    EXPECT_EQ(m_pSecond->GetControl(2), Bars()->GetDragControl());

    // Pressing Ctrl mid-drag turns the move cursor into the copy cursor at
    // once; moves that go on with Ctrl held keep copying, and the drop
    // copies: the source keeps its button.
    HCURSOR hBeforeCtrl = nullptr;
    HCURSOR hAfterCtrl = nullptr;
    HCURSOR hHeld = nullptr;
    const POINT ptCopyTo = Offset(Centre(m_pSecond, 0), -6, 0);
    Drag(Centre(m_pFirst, 0), Offset(ptCopyTo, 0, 2), [&] {
        hBeforeCtrl = CustomizeCursorNow();
        CustomizeXCtrl(u"keydown");
        ::Sleep(100);
        hAfterCtrl = CustomizeCursorNow();
        ScriptMouseMove(Offset(ptCopyTo, -1, 0), kCustomizeSettle);
        ScriptMouseMove(ptCopyTo, 150);
        hHeld = CustomizeCursorNow();
    });
    CustomizeXCtrl(u"keyup");
    EXPECT_EQ(hMove, hBeforeCtrl);
    EXPECT_EQ(hCopy, hAfterCtrl);
    EXPECT_EQ(hCopy, hHeld);
    EXPECT_EQ((std::vector<int>{101, 102}), CustomizeIds(m_pFirst));
    EXPECT_EQ((std::vector<int>{101, 200, 201, 100, 202}), CustomizeIds(m_pSecond));

    // Ctrl let go mid-drag moves again, also after further moves.
    HCURSOR hReleased = nullptr;
    Drag(Centre(m_pFirst, 1), Offset(Centre(m_pSecond, 4), 6, 2), [&] {
        CustomizeXCtrl(u"keydown");
        ::Sleep(100);
        ScriptMouseMove(Offset(Centre(m_pSecond, 4), 5, 0), kCustomizeSettle);
        CustomizeXCtrl(u"keyup");
        ::Sleep(100);
        ScriptMouseMove(Offset(Centre(m_pSecond, 4), 6, 0), 150);
        hReleased = CustomizeCursorNow();
    });
    EXPECT_EQ(hMove, hReleased);
    EXPECT_EQ((std::vector<int>{101}), CustomizeIds(m_pFirst));
    EXPECT_EQ((std::vector<int>{101, 200, 201, 100, 202, 102}), CustomizeIds(m_pSecond));
}

// The dragged control hears once, on the first move, that its drag began at
// the press; its bar then holds no selection.
TEST_F(Customize, TheDraggedControlHearsOnceThatItsDragBegan)
{
    std::vector<CPoint> dragStarts;
    CDragHearingButton* pButton = new CDragHearingButton();
    pButton->m_pDragStarts = &dragStarts;
    m_pFirst->GetControls()->Add(pButton, 130);
    pButton->SetCaption(_T("Heard"));
    pButton->SetStyle(qvtButtonCaption);
    Bars()->RecalcFrameLayout();
    PumpMessages(40);
    OpenCustomizeWindow();
    const CPoint ptPress = Centre(m_pFirst, pButton->GetIndex());
    CPoint ptPressClient = ptPress;
    m_pFirst->ScreenToClient(&ptPressClient);
    int nSelectedDuring = 0;
    Drag(ptPress, Offset(Centre(m_pSecond, 2), 6, 0),
         [&] { nSelectedDuring = m_pFirst->GetSelectedIndex(); });
    EXPECT_EQ(std::vector<CPoint>{ptPressClient}, dragStarts);
    EXPECT_EQ(-1, nSelectedDuring);
    EXPECT_EQ((std::vector<int>{200, 201, 202, 130}), CustomizeIds(m_pSecond));
}

TEST_F(Customize, EscapeTheRightButtonAndAQuitCancelTheDrag)
{
    OpenCustomizeWindow();
    const auto first = CustomizeIds(m_pFirst);
    const auto second = CustomizeIds(m_pSecond);

    Drag(
        Centre(m_pFirst, 1), Offset(Centre(m_pSecond, 1), 6, 0), [] { KeyPress(VK_ESCAPE); }, false);
    EXPECT_EQ(first, CustomizeIds(m_pFirst));
    EXPECT_EQ(second, CustomizeIds(m_pSecond));
    EXPECT_TRUE(m_pSecond->GetInsertMark().IsRectEmpty());

    Drag(
        Centre(m_pFirst, 1), Offset(Centre(m_pSecond, 1), 6, 0),
        [] {
            ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, kCustomizeSettle);
            ScriptMouseButton(MOUSEEVENTF_RIGHTUP, kCustomizeSettle);
        },
        false);
    EXPECT_EQ(first, CustomizeIds(m_pFirst));
    EXPECT_EQ(second, CustomizeIds(m_pSecond));

    // WM_QUIT ends the drag and comes back for the application's loop.
    const DWORD dwUiThread = ::GetCurrentThreadId();
    const POINT ptFrom = Centre(m_pFirst, 1);
    const POINT ptTo = Offset(Centre(m_pSecond, 1), 6, 0);
    std::atomic<bool> bDone{false};
    WinThread script([&] {
        ScriptMouseMove(ptFrom, kCustomizeSettle);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kCustomizeSettle);
        if (ScriptWaitForCapture(dwUiThread, true, 3000))
        {
            ScriptMouseMove(ptTo, 150);
            ::PostThreadMessage(dwUiThread, WM_QUIT, 77, 0);
            ScriptWaitForCapture(dwUiThread, false, 3000);
        }
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, kCustomizeSettle);
        bDone = true;
    });
    int nQuitCode = -1;
    const DWORD dwStart = ::GetTickCount();
    while (!bDone && ::GetTickCount() - dwStart < 10000)
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                nQuitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    script.join();
    PumpMessages(40);
    EXPECT_EQ(77, nQuitCode);
    EXPECT_EQ(first, CustomizeIds(m_pFirst));
    EXPECT_EQ(second, CustomizeIds(m_pSecond));
}

TEST_F(Customize, ADropOntoItselfChangesNothingUnlessDraggedSidewaysPastItsCentre)
{
    OpenCustomizeWindow();
    const auto ids = CustomizeIds(m_pFirst);
    Drag(Centre(m_pFirst, 1), Offset(Centre(m_pFirst, 1), 3, 0));
    EXPECT_EQ(ids, CustomizeIds(m_pFirst));
    EXPECT_FALSE(m_pFirst->GetControl(1)->GetBeginGroup());

    Drag(Centre(m_pFirst, 1), Offset(Centre(m_pFirst, 1), 10, 0));
    EXPECT_EQ(ids, CustomizeIds(m_pFirst));
    EXPECT_TRUE(m_pFirst->GetControl(1)->GetBeginGroup());
}

TEST_F(Customize, AnEmptyBarTakesADropAtItsStart)
{
    CQVTToolBar* pEmpty = AddBar(_T("Empty"), 0, 300);
    ASSERT_NE(nullptr, pEmpty);
    OpenCustomizeWindow();
    CRect rcEmpty;
    pEmpty->GetWindowRect(&rcEmpty);
    ASSERT_FALSE(rcEmpty.IsRectEmpty());

    // The mark stands at the bar's start while the drag is over it.
    CRect rcClient;
    pEmpty->GetClientRect(&rcClient);
    CRect rcMarkSeen;
    Drag(Centre(m_pFirst, 2), rcEmpty.CenterPoint(), [&] { rcMarkSeen = pEmpty->GetInsertMark(); });
    EXPECT_EQ(CRect(rcClient.left + 2, rcClient.top + 2, rcClient.left + 8, rcClient.bottom - 2), rcMarkSeen);
    EXPECT_EQ((std::vector<int>{102}), CustomizeIds(pEmpty));
    EXPECT_EQ((std::vector<int>{100, 101}), CustomizeIds(m_pFirst));
}

TEST_F(Customize, ABarThatIsNotCustomizableRefusesDropsUnlessEverythingIs)
{
    OpenCustomizeWindow();
    m_pSecond->SetCustomizable(FALSE);
    const auto second = CustomizeIds(m_pSecond);
    Drag(Centre(m_pFirst, 0), Offset(Centre(m_pSecond, 0), 6, 0));
    EXPECT_EQ(second, CustomizeIds(m_pSecond));

    Bars()->SetCustomizeAnything(TRUE);
    Drag(Centre(m_pFirst, 0), Offset(Centre(m_pSecond, 0), 6, 0));
    Bars()->SetCustomizeAnything(FALSE);
    EXPECT_EQ(4u, CustomizeIds(m_pSecond).size());
}

// A vertical bar in two columns: a drop lands in the column under the
// point, the second one beginning at its first control's left edge.
TEST_F(Customize, ADropOnAVerticalBarLandsInTheColumnUnderThePoint)
{
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(Bars());
    const CRect rcs[] = {{0, 0, 100, 20}, {0, 20, 100, 40}, {100, 0, 200, 20}, {100, 20, 200, 40}};
    for (int i = 0; i < 4; ++i)
    {
        CQVTControl* pControl = pPopup->GetControls()->AddByType(qvtControlButton, 500 + i);
        pControl->SetRect(rcs[i]);
        pControl->SetWrap(i == 2);
    }
    struct
    {
        CPoint pt;
        int nIndex;
    } const cases[] = {{{99, 35}, 1}, {{100, 35}, 3}, {{5, 5}, 0}, {{195, 5}, 2}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
        BOOL bAfter = FALSE;
        CRect rcMark;
        EXPECT_EQ(c.nIndex, pPopup->CalcInsertPosition(m_pFirst->GetControl(0), c.pt, bAfter, rcMark));
    }
    pPopup->InternalRelease();
}

TEST_F(Customize, TheInsertMarkIsInvertedOnScreenAtTheComputedBand)
{
    OpenCustomizeWindow();
    CPoint ptOver = Offset(Centre(m_pSecond, 1), 6, 0);
    CPoint ptClient = ptOver;
    m_pSecond->ScreenToClient(&ptClient);
    BOOL bAfter = FALSE;
    CRect rcMark;
    ASSERT_EQ(1, m_pSecond->CalcInsertPosition(m_pFirst->GetControl(0), ptClient, bAfter, rcMark));
    ASSERT_TRUE(bAfter);
    ASSERT_FALSE(rcMark.IsRectEmpty());
    // The mark of a horizontal bar: a vertical line 2 pixels in from its left.
    CPoint ptLine(rcMark.left + 2, rcMark.CenterPoint().y);
    m_pSecond->ClientToScreen(&ptLine);
    const COLORREF clrBefore = CustomizeScreenPixel(ptLine);
    COLORREF clrDuring = clrBefore;
    CRect rcSeen;
    Drag(
        Centre(m_pFirst, 0), ptOver,
        [&] {
            rcSeen = m_pSecond->GetInsertMark();
            clrDuring = CustomizeScreenPixel(ptLine);
            KeyPress(VK_ESCAPE);
        },
        false);
    EXPECT_EQ(rcMark, rcSeen);
    EXPECT_EQ((clrBefore ^ ::GetSysColor(COLOR_3DFACE)) & 0xFFFFFF, clrDuring & 0xFFFFFF);
    EXPECT_EQ(clrBefore, CustomizeScreenPixel(ptLine));
}

TEST_F(Customize, AltDragMovesAButtonWithoutACustomizeWindow)
{
    ASSERT_TRUE(Bars()->IsCustomizeAvail());
    ASSERT_FALSE(Bars()->IsCustomizeMode());
    const POINT ptFrom = Centre(m_pFirst, 0);
    const POINT ptTo = Offset(Centre(m_pSecond, 2), 6, 0);
    const DWORD dwUiThread = ::GetCurrentThreadId();
    BOOL bModeDuring = FALSE;
    RunInputScript([&] {
        ScriptMouseMove(ptFrom, kCustomizeSettle);
        SendKey(VK_MENU, false);
        ::Sleep(kCustomizeSettle);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, kCustomizeSettle);
        if (ScriptWaitForCapture(dwUiThread, true, 3000))
        {
            ScriptMouseMove(ptTo, 150);
            bModeDuring = Bars()->IsCustomizeMode();
        }
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, kCustomizeSettle);
        ScriptWaitForCapture(dwUiThread, false, 3000);
        SendKey(VK_MENU, true);
        ::Sleep(150);
        // Alt alone may open the window menu: close whatever opened.
        KeyPress(VK_ESCAPE);
        ::Sleep(kCustomizeSettle);
    });
    PumpMessages(60);
    EXPECT_TRUE(bModeDuring);
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    EXPECT_EQ((std::vector<int>{101, 102}), CustomizeIds(m_pFirst));
    EXPECT_EQ((std::vector<int>{200, 201, 202, 100}), CustomizeIds(m_pSecond));
}

TEST_F(Customize, TheCustomizeWindowHearsOfTheDragControlKeepsTheSiteOpenAndShowsItsMenu)
{
    CQVTPopupBar* pMenu = CQVTPopupBar::CreatePopupBar(Bars());
    pMenu->GetControls()->Add(new CQVTControlButton(), 150);
    pMenu->GetControl(0)->SetCaption(_T("Reset"));
    OpenCustomizeWindow(pMenu);
    pMenu->InternalRelease();

    Bars()->SetDragControl(m_pFirst->GetControl(1));
    EXPECT_EQ(1, m_customizeWindow.m_nDragControlChanged);
    s_pFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(s_pFrame->GetSafeHwnd()));

    // A right click makes the control under it the drag control and opens
    // the customize window's menu there.
    BOOL bMenuShown = FALSE;
    const POINT ptControl = Centre(m_pSecond, 2);
    RunInputScript([&] {
        ScriptMouseMove(ptControl, kCustomizeSettle);
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, kCustomizeSettle);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 300);
        bMenuShown = pMenu->GetSafeHwnd() && ::IsWindowVisible(pMenu->GetSafeHwnd());
        // Keys pass through customize mode's popups: the frame closes them.
        s_pFrame->PostMessage(WM_CANCELMODE);
        ::Sleep(kCustomizeSettle);
    });
    EXPECT_TRUE(bMenuShown);
    EXPECT_EQ(m_pSecond->GetControl(2), Bars()->GetDragControl());
}

TEST_F(Customize, DraggingAnEditsRightEdgeWidensIt)
{
    CQVTControlEdit* pEdit = new CQVTControlEdit();
    m_pFirst->GetControls()->Add(pEdit, 110);
    pEdit->SetWidth(80);
    Bars()->RecalcFrameLayout();
    PumpMessages(40);
    OpenCustomizeWindow();
    Bars()->SetDragControl(pEdit);
    PumpMessages(20);
    CRect rc = pEdit->GetRect();
    m_pFirst->ClientToScreen(&rc);
    // The right edge follows the pointer.
    const POINT ptEdge{rc.right - 1, rc.CenterPoint().y};
    Drag(ptEdge, Offset(ptEdge, 40, 0));
    EXPECT_EQ(ptEdge.x + 40 - rc.left, pEdit->GetWidth());
    EXPECT_EQ(pEdit, Bars()->GetDragControl());

    // Escape leaves the width alone.
    const int nWidth = pEdit->GetWidth();
    rc = pEdit->GetRect();
    m_pFirst->ClientToScreen(&rc);
    const POINT ptEdgeNow{rc.right - 1, rc.CenterPoint().y};
    Drag(
        ptEdgeNow, Offset(ptEdgeNow, 30, 0), [] { KeyPress(VK_ESCAPE); }, false);
    EXPECT_EQ(nWidth, pEdit->GetWidth());
}

TEST_F(Customize, ATargetDestroyedUnderTheDragAndAnUncopyableControlLeaveTheSourceWhole)
{
    OpenCustomizeWindow();
    // A window of this thread removes the target bar when the script asks,
    // from inside the drag loop's dispatching.
    CCustomizeBarCutter cutter;
    ASSERT_TRUE(cutter.CreateEx(0, AfxRegisterWndClass(0), _T("Cutter"), WS_CHILD, CRect(0, 0, 1, 1),
                                s_pFrame, 1235));
    cutter.m_pBars = Bars();
    cutter.m_pBar = m_pSecond;
    const POINT ptOver = Offset(Centre(m_pSecond, 1), 6, 0);
    Drag(Centre(m_pFirst, 1), ptOver, [&] {
        cutter.PostMessage(WM_APP);
        ::Sleep(150);
        ScriptMouseMove(Offset(ptOver, 2, 0), kCustomizeSettle);
    });
    EXPECT_TRUE(cutter.m_bCut);
    EXPECT_EQ(-1, Bars()->FindIndex(m_pSecond));
    EXPECT_EQ((std::vector<int>{100, 101, 102}), CustomizeIds(m_pFirst));
    cutter.DestroyWindow();

    // A control whose class cannot be made again stays where it was.
    CQVTToolBar* pThird = AddBar(_T("Third"), 2, 300);
    ASSERT_NE(nullptr, pThird);
    m_pFirst->GetControls()->Add(new CUncopyableButton(), 120);
    m_pFirst->GetControl(3)->SetCaption(_T("Fixed"));
    m_pFirst->GetControl(3)->SetStyle(qvtButtonCaption);
    Bars()->RecalcFrameLayout();
    PumpMessages(40);
    Drag(Centre(m_pFirst, 3), Offset(Centre(pThird, 0), 6, 0));
    EXPECT_EQ((std::vector<int>{100, 101, 102, 120}), CustomizeIds(m_pFirst));
    EXPECT_EQ((std::vector<int>{300, 301}), CustomizeIds(pThird));
}

// The menu bar takes a button dropped beside its popup item; dragged over
// that item, the popup opens and takes a button dropped into it.
TEST_F(Customize, AMenuBarAndItsOpenPopupTakeButtonsFromAToolbar)
{
    CQVTControlPopup* pFile = nullptr;
    CQVTMenuBar* pMenuBar = AddMenuBar(&pFile);
    ASSERT_NE(nullptr, pMenuBar);
    OpenCustomizeWindow();
    CRect rcFile = pFile->GetRect();
    pMenuBar->ClientToScreen(&rcFile);
    Drag(Centre(m_pFirst, 0), CPoint(rcFile.right + 12, rcFile.CenterPoint().y));
    ASSERT_NE(nullptr, pMenuBar->GetControls()->FindControl(100));
    EXPECT_EQ(pFile->GetIndex() + 1, pMenuBar->GetControls()->FindControl(100)->GetIndex());
    EXPECT_EQ((std::vector<int>{101, 102}), CustomizeIds(m_pFirst));

    // Into the popup, below the middle of its second command.
    BOOL bPopupShown = FALSE;
    Drag(Centre(m_pFirst, 0), rcFile.CenterPoint(), [&] {
        CQVTCommandBar* pPopup = ShownPopup(pFile);
        bPopupShown = pPopup != nullptr;
        if (!pPopup)
            return;
        CRect rcItem = pPopup->GetControl(1)->GetRect();
        pPopup->ClientToScreen(&rcItem);
        ScriptMouseMove(CPoint(rcItem.CenterPoint().x, rcItem.CenterPoint().y + 2), kCustomizeSettle);
        ScriptMouseMove(CPoint(rcItem.CenterPoint().x, rcItem.CenterPoint().y + 3), 150);
    });
    ASSERT_TRUE(bPopupShown);
    EXPECT_EQ((std::vector<int>{400, 401, 101, 402}), CustomizeIds(pFile->GetCommandBar()));
    EXPECT_EQ((std::vector<int>{102}), CustomizeIds(m_pFirst));
}

// A window list belongs in menus: a toolbar refuses it, the open popup of
// the menu bar takes it.
TEST_F(Customize, AWindowListIsRefusedByAToolbarAndTakenByAMenu)
{
    CQVTControlPopup* pFile = nullptr;
    CQVTMenuBar* pMenuBar = AddMenuBar(&pFile);
    ASSERT_NE(nullptr, pMenuBar);
    auto addList = [&] {
        CQVTControl* pList = new CQVTControlWindowList();
        m_pFirst->GetControls()->Add(pList, QVT_ID_WINDOWLIST);
        pList->SetCaption(_T("Windows"));
        pList->SetStyle(qvtButtonCaption);
        Bars()->RecalcFrameLayout();
        PumpMessages(40);
        return pList;
    };
    OpenCustomizeWindow();
    CQVTControl* pList = addList();
    ASSERT_TRUE(pList->IsVisible());
    ASSERT_FALSE(pList->GetRect().IsRectEmpty());

    // Over a toolbar the cursor says no, and the drop there leaves the bar
    // as it was (the list, dropped nowhere, leaves its bar).
    const HCURSOR hNoDrop = QVTResourceManager()->LoadCursor(QVT_IDC_COMMANDBARS_DRAGNONE);
    HCURSOR hOverToolbar = nullptr;
    const auto second = CustomizeIds(m_pSecond);
    Drag(Centre(m_pFirst, pList->GetIndex()), Offset(Centre(m_pSecond, 1), 6, 0),
         [&] { hOverToolbar = CustomizeCursorNow(); });
    EXPECT_EQ(hNoDrop, hOverToolbar);
    EXPECT_EQ(second, CustomizeIds(m_pSecond));
    EXPECT_EQ((std::vector<int>{100, 101, 102}), CustomizeIds(m_pFirst));

    pList = addList();
    CRect rcFile = pFile->GetRect();
    pMenuBar->ClientToScreen(&rcFile);
    BOOL bPopupShown = FALSE;
    Drag(Centre(m_pFirst, pList->GetIndex()), rcFile.CenterPoint(), [&] {
        CQVTCommandBar* pPopup = ShownPopup(pFile);
        bPopupShown = pPopup != nullptr;
        if (!pPopup)
            return;
        CRect rcItem = pPopup->GetControl(0)->GetRect();
        pPopup->ClientToScreen(&rcItem);
        ScriptMouseMove(CPoint(rcItem.CenterPoint().x, rcItem.CenterPoint().y + 2), kCustomizeSettle);
        ScriptMouseMove(CPoint(rcItem.CenterPoint().x, rcItem.CenterPoint().y + 3), 150);
    });
    ASSERT_TRUE(bPopupShown);
    EXPECT_EQ((std::vector<int>{400, QVT_ID_WINDOWLIST, 401, 402}), CustomizeIds(pFile->GetCommandBar()));
    EXPECT_EQ((std::vector<int>{100, 101, 102}), CustomizeIds(m_pFirst));
}

}  // namespace
