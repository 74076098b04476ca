// The frame tests share one active host; each test starts from new bars
// with the twenty-command quick-access toolbar.
#pragma once

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/frame/ribbon_frame_host.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"

// Pumps through the bars' pre-translation, as the program's loop does.
template <class TCondition>
bool PumpFrameUntil(TCondition condition, DWORD dwTimeout = 3000)
{
    const DWORD dwStart = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - dwStart > dwTimeout)
            return condition();
        PumpHost(10);
    }
    return true;
}

// A click whose press and release are queued together: a button that
// tracks the press in a loop of its own finds the release waiting.
inline void QueuedClickAt(POINT ptScreen)
{
    MouseMoveTo(ptScreen);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpHost(60);
}

class CRibbonFrameSuite : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_pHost = new CFrameHost();
        s_pHost->CreateHost(CRect(20, 60, 1260, 560), TRUE);
    }
    static void TearDownTestSuite()
    {
        delete s_pHost;
        s_pHost = nullptr;
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pHost->GetSafeHwnd());
        s_pHost->ResetFrame(1200, 420);
        m_pRibbon = s_pHost->GetRibbon();
        s_pHost->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        s_pHost->SetForegroundWindow();
        PumpHost(50);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups(s_pHost->GetCommandBars());
        MouseMoveTo(CPoint(5, 1000));
        PumpHost(20);
    }

    static CFrameHost* s_pHost;
    CQVTRibbonBar* m_pRibbon = nullptr;
};
