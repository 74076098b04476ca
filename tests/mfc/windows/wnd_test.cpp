// Windows through real messages: handle maps, creation hooking, dispatch by
// handler signature, command routing, reflection and exception catching.
#include <afxwin.h>
#include <stdexcept>

#include "sondrel_gtest.h"

namespace {

const UINT ID_FIRST = 100;
const UINT ID_RANGE_LAST = 105;
const UINT ID_DISABLED = 110;
const UINT ID_EX = 120;
const UINT ID_BUTTON = 200;
const UINT WM_APP_THROW_MFC = WM_APP + 1;
const UINT WM_APP_THROW_STD = WM_APP + 2;
const UINT WM_APP_PLAIN = WM_APP + 3;
const UINT g_registeredMessage = ::RegisterWindowMessage(_T("SondrelWndTestMessage"));

void PumpPending()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

}  // namespace

class CBaseTestWnd : public CWnd
{
public:
    int m_nBaseCommand = 0;
    int m_nExCalls = 0;

protected:
    afx_msg void OnBaseCommand() { ++m_nBaseCommand; }
    afx_msg void OnExAtBase() { m_nExCalls += 10; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTestWnd, CWnd)
    ON_COMMAND(ID_FIRST, &CBaseTestWnd::OnBaseCommand)
    ON_COMMAND(ID_EX, &CBaseTestWnd::OnExAtBase)
END_MESSAGE_MAP()

class CTestWnd : public CBaseTestWnd
{
public:
    HWND m_hWndAtNcCreate = nullptr;
    bool m_bCreateSeen = false;
    bool m_bThrowInCreate = false;
    bool m_bDestroyed = false;
    UINT m_nSizeType = 99;
    int m_cx = 0, m_cy = 0;
    CPoint m_ptClick = CPoint(0, 0);
    UINT m_nClickFlags = 0;
    UINT_PTR m_nTimer = 0;
    UINT m_nKey = 0, m_nRepeat = 0;
    int m_nCommand = 0;
    UINT m_nRangeId = 0;
    int m_nDisabledCommand = 0;
    LRESULT m_lRegistered = 0;
    WPARAM m_wPlain = 0;
    int m_nParentClicks = 0;
    int m_nNotify = 0;
    UINT m_nNotifyRangeId = 0;
    bool m_bPostNcDestroy = false;

    void PostNcDestroy() override { m_bPostNcDestroy = true; }

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs)
    {
        m_hWndAtNcCreate = m_hWnd;
        return CWnd::OnNcCreate(lpcs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_bCreateSeen = true;
        if (m_bThrowInCreate)
            AfxThrowNotSupportedException();
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnDestroy()
    {
        m_bDestroyed = true;
        CWnd::OnDestroy();
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        m_nSizeType = nType;
        m_cx = cx;
        m_cy = cy;
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_nClickFlags = nFlags;
        m_ptClick = point;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        m_nTimer = nIDEvent;
        KillTimer(nIDEvent);
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT)
    {
        m_nKey = nChar;
        m_nRepeat = nRepCnt;
    }
    afx_msg void OnCommandFirst() { ++m_nCommand; }
    afx_msg void OnRange(UINT nID) { m_nRangeId = nID; }
    afx_msg void OnDisabled() { ++m_nDisabledCommand; }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg BOOL OnEx(UINT)
    {
        m_nExCalls += 1;
        return FALSE;
    }  // let the base see it
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        m_lRegistered = (LRESULT)wParam;
        return 77;
    }
    afx_msg LRESULT OnPlain(WPARAM wParam, LPARAM)
    {
        m_wPlain = wParam;
        return 5;
    }
    afx_msg LRESULT OnThrowMfc(WPARAM, LPARAM) { AfxThrowNotSupportedException(); }
    afx_msg LRESULT OnThrowStd(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    afx_msg void OnButtonClicked() { ++m_nParentClicks; }
    afx_msg void OnCustomNotify(NMHDR*, LRESULT* pResult)
    {
        ++m_nNotify;
        *pResult = 42;
    }
    afx_msg void OnNotifyRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        m_nNotifyRangeId = nID;
        *pResult = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CBaseTestWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_COMMAND(ID_FIRST, &CTestWnd::OnCommandFirst)
    ON_COMMAND_RANGE(ID_FIRST + 1, ID_RANGE_LAST, &CTestWnd::OnRange)
    ON_COMMAND(ID_DISABLED, &CTestWnd::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, &CTestWnd::OnUpdateDisabled)
    ON_COMMAND_EX(ID_EX, &CTestWnd::OnEx)
    ON_REGISTERED_MESSAGE(g_registeredMessage, &CTestWnd::OnRegistered)
    ON_MESSAGE(WM_APP_PLAIN, &CTestWnd::OnPlain)
    ON_MESSAGE(WM_APP_THROW_MFC, &CTestWnd::OnThrowMfc)
    ON_MESSAGE(WM_APP_THROW_STD, &CTestWnd::OnThrowStd)
    ON_BN_CLICKED(ID_BUTTON, &CTestWnd::OnButtonClicked)
    ON_NOTIFY(NM_CLICK, ID_BUTTON, &CTestWnd::OnCustomNotify)
    ON_NOTIFY_RANGE(NM_DBLCLK, 300, 310, &CTestWnd::OnNotifyRange)
END_MESSAGE_MAP()

namespace {

// A button that handles its own click, and lets the parent see it too when
// asked to.
class CReflectingButton : public CWnd
{
public:
    int m_nClicks = 0;
    bool m_bPassOn = false;
    int m_nNotify = 0;
    HBRUSH m_hBrush = nullptr;
    int m_nCtlColor = 0;

protected:
    afx_msg BOOL OnClicked()
    {
        ++m_nClicks;
        return !m_bPassOn;
    }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT* pResult)
    {
        ++m_nNotify;
        *pResult = 9;
    }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        ++m_nCtlColor;
        EXPECT_NE(pDC, nullptr);
        EXPECT_EQ(nCtlColor, (UINT)CTLCOLOR_BTN);
        return m_hBrush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectingButton::OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, &CReflectingButton::OnNotifyClick)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

}  // namespace

class WndTest : public ::testing::Test
{
protected:
    CTestWnd* m_pWnd = nullptr;

    void SetUp() override
    {
        m_pWnd = new CTestWnd;
        ASSERT_TRUE(m_pWnd->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), _T("test"), WS_OVERLAPPEDWINDOW, 10,
                                     10, 300, 200, nullptr, nullptr));
    }

    void TearDown() override
    {
        if (m_pWnd->m_hWnd != nullptr)
            m_pWnd->DestroyWindow();
        delete m_pWnd;
        CWnd::DeleteTempMap();
    }

    void SendCommand(UINT nID, UINT nCode = 0, HWND hWndCtrl = nullptr)
    {
        m_pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(nID, nCode), (LPARAM)hWndCtrl);
    }
};

namespace {

TEST_F(WndTest, CreationHookAttachesBeforeTheFirstMessages)
{
    EXPECT_NE(m_pWnd->m_hWnd, nullptr);
    EXPECT_EQ(m_pWnd->m_hWndAtNcCreate, m_pWnd->m_hWnd);
    EXPECT_TRUE(m_pWnd->m_bCreateSeen);
    EXPECT_EQ(CWnd::FromHandlePermanent(m_pWnd->m_hWnd), m_pWnd);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtr(m_pWnd->m_hWnd, GWLP_WNDPROC), AfxGetAfxWndProc());
    EXPECT_EQ(::SendMessage(m_pWnd->m_hWnd, WM_QUERYAFXWNDPROC, 0, 0), 1);
}

TEST_F(WndTest, DestroyDetachesAndCallsPostNcDestroy)
{
    HWND hWnd = m_pWnd->m_hWnd;
    EXPECT_TRUE(m_pWnd->DestroyWindow());
    EXPECT_TRUE(m_pWnd->m_bDestroyed);
    EXPECT_TRUE(m_pWnd->m_bPostNcDestroy);
    EXPECT_EQ(m_pWnd->m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(WndTest, TemporaryObjectsAreReusedUntilTheTempMapGoes)
{
    HWND hWndRaw = ::CreateWindowEx(0, _T("STATIC"), _T("raw"), WS_CHILD, 0, 0, 10, 10, m_pWnd->m_hWnd,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(hWndRaw, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWndRaw), nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWndRaw);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hWndRaw);
    EXPECT_EQ(CWnd::FromHandle(hWndRaw), pTemp);
    CString text;
    pTemp->GetWindowText(text);
    EXPECT_EQ(text, CString(_T("raw")));

    // Idle-time clean-up deletes the wrapper, never the window.
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
    EXPECT_TRUE(::IsWindow(hWndRaw));
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    // A permanent object wins over any temporary one.
    CWnd owner;
    ASSERT_TRUE(owner.Attach(hWndRaw));
    EXPECT_EQ(CWnd::FromHandle(hWndRaw), &owner);
    CWnd second;
    EXPECT_FALSE(second.Attach(hWndRaw));  // one window, one object
    EXPECT_EQ(owner.Detach(), hWndRaw);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWndRaw), nullptr);
    ::DestroyWindow(hWndRaw);
}

TEST_F(WndTest, NullPointersGiveNullHandles)
{
    CWnd* pNull = nullptr;
    EXPECT_EQ(pNull->GetSafeHwnd(), nullptr);
    EXPECT_EQ((HWND)*m_pWnd, m_pWnd->m_hWnd);
}

TEST_F(WndTest, HandlersReceiveUnpackedArguments)
{
    m_pWnd->SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(123, 45));
    EXPECT_EQ(m_pWnd->m_nSizeType, (UINT)SIZE_MAXIMIZED);
    EXPECT_EQ(m_pWnd->m_cx, 123);
    EXPECT_EQ(m_pWnd->m_cy, 45);

    // Coordinates are signed: a click left of the client area is negative.
    m_pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM((WORD)(short)-5, 17));
    EXPECT_EQ(m_pWnd->m_ptClick.x, -5);
    EXPECT_EQ(m_pWnd->m_ptClick.y, 17);
    EXPECT_EQ(m_pWnd->m_nClickFlags, (UINT)(MK_LBUTTON | MK_SHIFT));

    m_pWnd->SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0));
    EXPECT_EQ(m_pWnd->m_nKey, (UINT)VK_F5);
    EXPECT_EQ(m_pWnd->m_nRepeat, 3u);

    EXPECT_EQ(m_pWnd->SendMessage(g_registeredMessage, 11, 0), 77);
    EXPECT_EQ(m_pWnd->m_lRegistered, 11);
    EXPECT_EQ(m_pWnd->SendMessage(WM_APP_PLAIN, 3, 0), 5);
    EXPECT_EQ(m_pWnd->m_wPlain, 3u);

    // A real timer through the queue.
    m_pWnd->SetTimer(17, 10);
    for (int i = 0; i < 100 && m_pWnd->m_nTimer == 0; ++i)
    {
        ::Sleep(10);
        PumpPending();
    }
    EXPECT_EQ(m_pWnd->m_nTimer, 17u);
}

TEST_F(WndTest, CommandsRouteByIdRangeAndBaseMap)
{
    SendCommand(ID_FIRST);
    EXPECT_EQ(m_pWnd->m_nCommand, 1);
    EXPECT_EQ(m_pWnd->m_nBaseCommand, 0);  // the derived entry hides the base one

    SendCommand(ID_FIRST + 3);
    EXPECT_EQ(m_pWnd->m_nRangeId, ID_FIRST + 3);
    SendCommand(ID_RANGE_LAST + 1);
    EXPECT_EQ(m_pWnd->m_nRangeId, ID_FIRST + 3);

    // ON_COMMAND_EX returning FALSE reports the command as not handled, so
    // routing moves on to the next target (not to the base class's entry).
    EXPECT_FALSE(m_pWnd->OnCmdMsg(ID_EX, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_pWnd->m_nExCalls, 1);

    // A menu command whose update handler disables it is dropped.
    SendCommand(ID_DISABLED);
    EXPECT_EQ(m_pWnd->m_nDisabledCommand, 0);

    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    EXPECT_TRUE(m_pWnd->OnCmdMsg(ID_FIRST + 2, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, m_pWnd);
    EXPECT_FALSE(m_pWnd->OnCmdMsg(999, CN_COMMAND, nullptr, nullptr));
}

TEST_F(WndTest, UpdateHandlersDriveCommandUi)
{
    CCmdUI state;
    state.m_nID = ID_FIRST;
    // A handled command without an update handler is enabled; one without
    // any handler is disabled when asked to.
    HWND hWndButton = ::CreateWindowEx(0, _T("BUTTON"), _T("b"), WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10,
                                       m_pWnd->m_hWnd, (HMENU)(UINT_PTR)999, nullptr, nullptr);
    CWnd* pButton = CWnd::FromHandle(hWndButton);
    state.m_pOther = pButton;
    state.m_nID = 999;
    state.DoUpdate(m_pWnd, TRUE);
    EXPECT_FALSE(::IsWindowEnabled(hWndButton));
    state.m_nID = ID_FIRST;
    state.DoUpdate(m_pWnd, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(hWndButton));
    state.m_nID = ID_DISABLED;
    state.DoUpdate(m_pWnd, TRUE);
    EXPECT_FALSE(::IsWindowEnabled(hWndButton));
    state.SetText(_T("renamed"));
    CString text;
    pButton->GetWindowText(text);
    EXPECT_EQ(text, CString(_T("renamed")));
    ::DestroyWindow(hWndButton);
}

TEST_F(WndTest, NotificationsReflectToTheControlFirst)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create(_T("BUTTON"), _T("go"), WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), m_pWnd,
                              ID_BUTTON));
    // Subclassing a system control keeps its own procedure underneath.
    EXPECT_NE(*button.GetSuperWndProcAddr(), nullptr);

    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.m_nClicks, 1);
    EXPECT_EQ(m_pWnd->m_nParentClicks, 0);

    button.m_bPassOn = true;
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.m_nClicks, 2);
    EXPECT_EQ(m_pWnd->m_nParentClicks, 1);

    NMHDR nmhdr = {button.m_hWnd, ID_BUTTON, (UINT)NM_CLICK};
    EXPECT_EQ(m_pWnd->SendMessage(WM_NOTIFY, ID_BUTTON, (LPARAM)&nmhdr), 9);
    EXPECT_EQ(button.m_nNotify, 1);
    EXPECT_EQ(m_pWnd->m_nNotify, 0);

    // The control's colour comes from its reflected handler when it gives a
    // brush, else from the default.
    button.m_hBrush = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    HDC hDC = ::GetDC(button.m_hWnd);
    EXPECT_EQ(m_pWnd->SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)button.m_hWnd),
              (LRESULT)button.m_hBrush);
    EXPECT_EQ(button.m_nCtlColor, 1);
    ::ReleaseDC(button.m_hWnd, hDC);
    button.DestroyWindow();
}

TEST_F(WndTest, NotificationsWithoutReflectionReachTheParent)
{
    HWND hWndChild = ::CreateWindowEx(0, _T("STATIC"), _T(""), WS_CHILD, 0, 0, 10, 10, m_pWnd->m_hWnd,
                                      (HMENU)(UINT_PTR)ID_BUTTON, nullptr, nullptr);
    NMHDR nmhdr = {hWndChild, ID_BUTTON, (UINT)NM_CLICK};
    EXPECT_EQ(m_pWnd->SendMessage(WM_NOTIFY, ID_BUTTON, (LPARAM)&nmhdr), 42);
    EXPECT_EQ(m_pWnd->m_nNotify, 1);

    NMHDR ranged = {hWndChild, 305, (UINT)NM_DBLCLK};
    EXPECT_EQ(m_pWnd->SendMessage(WM_NOTIFY, 305, (LPARAM)&ranged), 7);
    EXPECT_EQ(m_pWnd->m_nNotifyRangeId, 305u);

    SendCommand(ID_BUTTON, BN_CLICKED, hWndChild);
    EXPECT_EQ(m_pWnd->m_nParentClicks, 1);
    ::DestroyWindow(hWndChild);
}

TEST_F(WndTest, ExceptionsInHandlersAreCaughtAndTheWindowLivesOn)
{
    EXPECT_EQ(m_pWnd->SendMessage(WM_APP_THROW_MFC), 0);
    EXPECT_EQ(m_pWnd->SendMessage(WM_APP_THROW_STD), 0);
    // Posted through the queue and DispatchMessage as well.
    m_pWnd->PostMessage(WM_APP_THROW_STD);
    m_pWnd->PostMessage(WM_APP_THROW_MFC);
    PumpPending();
    EXPECT_TRUE(::IsWindow(m_pWnd->m_hWnd));
    EXPECT_EQ(m_pWnd->SendMessage(WM_APP_PLAIN, 1, 0), 5);
}

TEST(WndCreation, ExceptionInOnCreateFailsTheCreation)
{
    CTestWnd wnd;
    wnd.m_bThrowInCreate = true;
    EXPECT_FALSE(
        wnd.CreateEx(0, AfxRegisterWndClass(0), _T("fails"), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(wnd.m_bCreateSeen);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

class CSubclassed : public CWnd
{
public:
    int m_nSetText = 0;

protected:
    afx_msg LRESULT OnSetText(WPARAM, LPARAM)
    {
        ++m_nSetText;
        return Default();  // the edit control still stores the text
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassed, CWnd)
    ON_MESSAGE(WM_SETTEXT, &CSubclassed::OnSetText)
END_MESSAGE_MAP()

TEST_F(WndTest, SubclassedControlsKeepTheirBehaviour)
{
    HWND hWndEdit = ::CreateWindowEx(0, _T("EDIT"), _T(""), WS_CHILD, 0, 0, 80, 20, m_pWnd->m_hWnd,
                                     (HMENU)(UINT_PTR)301, nullptr, nullptr);
    WNDPROC original = (WNDPROC)::GetWindowLongPtr(hWndEdit, GWLP_WNDPROC);
    CSubclassed edit;
    ASSERT_TRUE(edit.SubclassDlgItem(301, m_pWnd));
    EXPECT_EQ(m_pWnd->GetDlgItem(301), &edit);
    m_pWnd->SetDlgItemText(301, _T("hello"));
    EXPECT_EQ(edit.m_nSetText, 1);
    CString text;
    EXPECT_EQ(m_pWnd->GetDlgItemText(301, text), 5);
    EXPECT_EQ(text, CString(_T("hello")));
    m_pWnd->SetDlgItemInt(301, (UINT)-42, TRUE);
    BOOL bTranslated = FALSE;
    EXPECT_EQ((int)m_pWnd->GetDlgItemInt(301, &bTranslated, TRUE), -42);
    EXPECT_TRUE(bTranslated);

    int nSetTextBefore = edit.m_nSetText;
    EXPECT_EQ(edit.UnsubclassWindow(), hWndEdit);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtr(hWndEdit, GWLP_WNDPROC), original);
    ::SetWindowText(hWndEdit, _T("x"));
    EXPECT_EQ(edit.m_nSetText, nSetTextBefore);
    ::DestroyWindow(hWndEdit);
}

TEST_F(WndTest, WrappersAndRelatives)
{
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, _T("child"), WS_VISIBLE, CRect(5, 6, 55, 36), m_pWnd, 400));
    EXPECT_EQ(child.GetParent(), m_pWnd);
    EXPECT_EQ(child.GetOwner(), m_pWnd);
    EXPECT_EQ(child.GetTopLevelParent(), m_pWnd);
    EXPECT_EQ(child.GetDlgCtrlID(), 400);
    EXPECT_EQ(m_pWnd->GetDescendantWindow(400), &child);

    CRect rcClient;
    child.GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Width(), 50);
    EXPECT_EQ(rcClient.Height(), 30);
    CRect rcScreen = rcClient;
    child.ClientToScreen(&rcScreen);
    child.ScreenToClient(&rcScreen);
    EXPECT_EQ(rcScreen, rcClient);

    EXPECT_TRUE(child.ModifyStyle(0, WS_DISABLED));
    EXPECT_FALSE(child.IsWindowEnabled());
    EXPECT_FALSE(child.ModifyStyle(0, WS_DISABLED));  // no change
    child.EnableWindow(TRUE);
    EXPECT_TRUE(child.IsWindowEnabled());
    child.SetWindowText(_T("renamed"));
    CString text;
    child.GetWindowText(text);
    EXPECT_EQ(text, CString(_T("renamed")));
    child.MoveWindow(1, 2, 20, 10);
    CRect rcWindow;
    child.GetWindowRect(&rcWindow);
    m_pWnd->ScreenToClient(&rcWindow);
    EXPECT_EQ(rcWindow.left, 1);
    EXPECT_EQ(rcWindow.Width(), 20);
    child.DestroyWindow();
}

TEST_F(WndTest, DescendantsReceiveBroadcasts)
{
    CTestWnd child;
    ASSERT_TRUE(child.Create(nullptr, _T("c"), WS_VISIBLE, CRect(0, 0, 10, 10), m_pWnd, 401));
    HWND hWndGrandChild = ::CreateWindowEx(0, _T("STATIC"), _T(""), WS_CHILD, 0, 0, 5, 5, child.m_hWnd,
                                           nullptr, nullptr, nullptr);
    m_pWnd->SendMessageToDescendants(WM_APP_PLAIN, 9, 0, TRUE, TRUE);
    EXPECT_EQ(child.m_wPlain, 9u);
    ::DestroyWindow(hWndGrandChild);
    child.DestroyWindow();
}

TEST(WndClasses, GeneratedClassNamesAreShared)
{
    CString first = AfxRegisterWndClass(CS_HREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    CString second = AfxRegisterWndClass(CS_HREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    CString other = AfxRegisterWndClass(CS_VREDRAW);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    WNDCLASS wc;
    EXPECT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), first, &wc));
    EXPECT_EQ(wc.style, (UINT)CS_HREDRAW);
}

}  // namespace

namespace {

// An owner-drawn button that paints itself through the reflected message.
class COwnerDrawButton : public CWnd
{
public:
    int m_nDraws = 0;
    UINT m_nDrawnId = 0;

protected:
    afx_msg void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        ++m_nDraws;
        m_nDrawnId = lpDrawItemStruct->CtlID;
        ::FillRect(lpDrawItemStruct->hDC, &lpDrawItemStruct->rcItem, (HBRUSH)::GetStockObject(GRAY_BRUSH));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerDrawButton, CWnd)
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

class CReflectingSlider : public CWnd
{
public:
    UINT m_nCode = 99;
    UINT m_nPos = 0;

protected:
    afx_msg void HScroll(UINT nSBCode, UINT nPos)
    {
        m_nCode = nSBCode;
        m_nPos = nPos;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingSlider, CWnd)
    ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

TEST_F(WndTest, OwnerDrawAndScrollMessagesReflectToTheControl)
{
    m_pWnd->ShowWindow(SW_SHOW);
    COwnerDrawButton button;
    ASSERT_TRUE(
        button.Create(_T("BUTTON"), _T(""), WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 20), m_pWnd, 501));
    button.Invalidate();
    button.UpdateWindow();  // the system sends WM_DRAWITEM to the parent
    EXPECT_GE(button.m_nDraws, 1);
    EXPECT_EQ(button.m_nDrawnId, 501u);

    AfxEndDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    CReflectingSlider slider;
    ASSERT_TRUE(slider.Create(TRACKBAR_CLASS, _T(""), WS_VISIBLE, CRect(0, 30, 100, 50), m_pWnd, 502));
    m_pWnd->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 33), (LPARAM)slider.m_hWnd);
    EXPECT_EQ(slider.m_nCode, (UINT)TB_THUMBTRACK);
    EXPECT_EQ(slider.m_nPos, 33u);
    slider.DestroyWindow();
    button.DestroyWindow();
}

TEST_F(WndTest, DeletingTheObjectDestroysItsWindow)
{
    CWnd* pChild = new CWnd;
    ASSERT_TRUE(pChild->Create(nullptr, _T(""), WS_VISIBLE, CRect(0, 0, 10, 10), m_pWnd, 503));
    HWND hWndChild = pChild->m_hWnd;
    delete pChild;
    EXPECT_FALSE(::IsWindow(hWndChild));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWndChild), nullptr);
}

TEST_F(WndTest, CenterWindowCentersAChildInItsParent)
{
    CRect rcParent;
    m_pWnd->GetClientRect(&rcParent);
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, _T(""), WS_VISIBLE, CRect(0, 0, 40, 20), m_pWnd, 504));
    child.CenterWindow();
    CRect rc;
    child.GetWindowRect(&rc);
    m_pWnd->ScreenToClient(&rc);
    EXPECT_EQ(rc.left, rcParent.Width() / 2 - 20);
    EXPECT_EQ(rc.top, rcParent.Height() / 2 - 10);
    child.DestroyWindow();
}

struct ThreadCheck
{
    HWND hWnd;
    bool bPermanentSeen;
    bool bThreadKnown;
    CWinThread* pThread;
    HANDLE hReady;
};

UINT AFX_CDECL CheckFromOtherThread(LPVOID pParam)
{
    ThreadCheck* pCheck = static_cast<ThreadCheck*>(pParam);
    // Handle maps belong to their thread: here the window has only a
    // temporary wrapper.
    pCheck->bPermanentSeen = CWnd::FromHandlePermanent(pCheck->hWnd) != nullptr;
    pCheck->bThreadKnown = AfxGetThread() != nullptr;
    pCheck->pThread = AfxGetThread();
    CWnd* pTemp = CWnd::FromHandle(pCheck->hWnd);
    pCheck->bThreadKnown = pCheck->bThreadKnown && pTemp != nullptr && pTemp->m_hWnd == pCheck->hWnd;
    ::SetEvent(pCheck->hReady);
    return 0;
}

TEST_F(WndTest, HandleMapsAreKeptPerThread)
{
    ThreadCheck check = {m_pWnd->m_hWnd, true, false, nullptr, ::CreateEvent(nullptr, TRUE, FALSE, nullptr)};
    CWinThread* pThread =
        AfxBeginThread(CheckFromOtherThread, &check, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(check.hReady, 10000), WAIT_OBJECT_0);
    ::WaitForSingleObject(pThread->m_hThread, 10000);
    EXPECT_FALSE(check.bPermanentSeen);
    EXPECT_TRUE(check.bThreadKnown);
    EXPECT_EQ(check.pThread, pThread);
    EXPECT_EQ(CWnd::FromHandlePermanent(m_pWnd->m_hWnd), m_pWnd);
    delete pThread;
    ::CloseHandle(check.hReady);
}

}  // namespace

namespace {

// A bar that takes a strip off the top of its parent's layout.
class CTopBar : public CWnd
{
protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect rc(pLayout->rect.left, pLayout->rect.top, pLayout->rect.right, pLayout->rect.top + 20);
        if (pLayout->hDWP != nullptr)
            pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, m_hWnd, nullptr, rc.left, rc.top, rc.Width(),
                                             rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        pLayout->rect.top += 20;
        pLayout->sizeTotal.cy += 20;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTopBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTopBar::OnSizeParent)
END_MESSAGE_MAP()

// Counts the moves that reach it.
class CCountingPane : public CWnd
{
public:
    int m_nMoves = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_WINDOWPOSCHANGING)
            ++m_nMoves;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(WndTest, RepositionBarsGivesTheRestToThePaneAndLeavesAPaneInPlaceAlone)
{
    CTopBar bar;
    CCountingPane pane;
    ASSERT_TRUE(
        bar.Create(nullptr, _T(""), WS_VISIBLE, CRect(0, 0, 1, 1), m_pWnd, AFX_IDW_CONTROLBAR_FIRST + 1));
    ASSERT_TRUE(pane.Create(nullptr, _T(""), WS_VISIBLE, CRect(0, 0, 1, 1), m_pWnd, AFX_IDW_PANE_FIRST));
    CRect rcClient;
    m_pWnd->GetClientRect(&rcClient);

    CRect rcQuery;
    m_pWnd->RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, AFX_IDW_PANE_FIRST,
                           CWnd::reposQuery, &rcQuery);
    EXPECT_EQ(rcQuery.top, rcClient.top + 20);

    m_pWnd->RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, AFX_IDW_PANE_FIRST);
    CRect rcBar, rcPane;
    bar.GetWindowRect(&rcBar);
    pane.GetWindowRect(&rcPane);
    m_pWnd->ScreenToClient(&rcBar);
    m_pWnd->ScreenToClient(&rcPane);
    EXPECT_EQ(rcBar.Height(), 20);
    EXPECT_EQ(rcBar.Width(), rcClient.Width());
    EXPECT_EQ(rcPane.top, 20);
    EXPECT_EQ(rcPane.bottom, rcClient.bottom);
    EXPECT_EQ(rcPane.Width(), rcClient.Width());

    const int nMoves = pane.m_nMoves;
    m_pWnd->RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, AFX_IDW_PANE_FIRST);
    EXPECT_EQ(pane.m_nMoves, nMoves);
    pane.DestroyWindow();
    bar.DestroyWindow();
}

}  // namespace

namespace {

class CRangeWnd : public CWnd
{
public:
    UINT m_nChangedId = 0;
    int m_nNotifyEx = 0;
    BOOL m_bNotifyHandled = FALSE;
    UINT m_nUpdatedId = 0;

protected:
    afx_msg void OnEditChanged(UINT nID) { m_nChangedId = nID; }
    afx_msg BOOL OnRightClick(UINT, NMHDR*, LRESULT* pResult)
    {
        ++m_nNotifyEx;
        *pResult = 3;
        return m_bNotifyHandled;
    }
    afx_msg void OnUpdateRange(CCmdUI* pCmdUI)
    {
        m_nUpdatedId = pCmdUI->m_nID;
        pCmdUI->Enable(pCmdUI->m_nID % 2 == 0);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRangeWnd, CWnd)
    ON_CONTROL_RANGE(EN_CHANGE, 600, 610, &CRangeWnd::OnEditChanged)
    ON_NOTIFY_EX(NM_RCLICK, 620, &CRangeWnd::OnRightClick)
    ON_UPDATE_COMMAND_UI_RANGE(700, 710, &CRangeWnd::OnUpdateRange)
END_MESSAGE_MAP()

TEST(WndRanges, ControlRangesNotifyExAndUpdateRanges)
{
    CRangeWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, AfxRegisterWndClass(0), _T("ranges"), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND hWndEdit = ::CreateWindowEx(0, _T("EDIT"), _T(""), WS_CHILD, 0, 0, 40, 20, wnd.m_hWnd,
                                     (HMENU)(UINT_PTR)605, nullptr, nullptr);
    ::SetWindowText(hWndEdit, _T("typed"));  // the edit control sends EN_CHANGE itself
    EXPECT_EQ(wnd.m_nChangedId, 605u);

    NMHDR nmhdr = {hWndEdit, 620, (UINT)NM_RCLICK};
    wnd.SendMessage(WM_NOTIFY, 620, (LPARAM)&nmhdr);
    EXPECT_EQ(wnd.m_nNotifyEx, 1);
    AFX_NOTIFY notify = {nullptr, &nmhdr};
    LRESULT lResult = 0;
    notify.pResult = &lResult;
    // FALSE from an _EX handler means "not handled".
    EXPECT_FALSE(wnd.OnCmdMsg(620, (int)MAKELONG(NM_RCLICK, WM_NOTIFY), &notify, nullptr));
    wnd.m_bNotifyHandled = TRUE;
    EXPECT_TRUE(wnd.OnCmdMsg(620, (int)MAKELONG(NM_RCLICK, WM_NOTIFY), &notify, nullptr));
    EXPECT_EQ(lResult, 3);

    CCmdUI state;
    CWnd control;
    control.Attach(hWndEdit);
    state.m_pOther = &control;
    state.m_nID = 703;
    EXPECT_TRUE(state.DoUpdate(&wnd, FALSE));
    EXPECT_EQ(wnd.m_nUpdatedId, 703u);
    EXPECT_FALSE(::IsWindowEnabled(hWndEdit));
    state.m_nID = 704;
    state.DoUpdate(&wnd, FALSE);
    EXPECT_TRUE(::IsWindowEnabled(hWndEdit));
    control.Detach();
    ::DestroyWindow(hWndEdit);
    wnd.DestroyWindow();
}

}  // namespace
