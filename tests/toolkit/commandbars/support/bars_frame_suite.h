// A test suite whose tests share one bars frame: a shown frame costs Wine
// seconds to hide, so the frame lives from the suite's start to its end and
// each test renews only what lies inside it. Each suite (the template's
// argument) has a frame of its own, of the site class it names.
#pragma once

#include <afxwin.h>

#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame.h"

template <class TSuite, class TFrame = CBarsFrame>
class BarsFrameSuite : public ::testing::Test
{
public:
    static void TearDownTestSuite()
    {
        delete s_pFrame;
        s_pFrame = nullptr;
    }

protected:
    // From the suite's SetUpTestSuite: the frame at a screen rectangle, with
    // a handler for the customize command if asked and a menu resource.
    static void CreateFrame(const CRect& rc, BOOL bHandleCustomize = FALSE, UINT nIDMenu = 0)
    {
        s_pFrame = new TFrame();
        s_pFrame->m_bHandleCustomize = bHandleCustomize;
        s_pFrame->CreateSite(rc, nIDMenu);
    }
    // The frame back at its rectangle and on top, without activating it (a
    // test may have moved or covered it), with fresh bars.
    static void RestoreFrame(const CRect& rc)
    {
        s_pFrame->SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE);
        s_pFrame->ResetBars();
    }

    static TFrame* s_pFrame;
};

template <class TSuite, class TFrame>
TFrame* BarsFrameSuite<TSuite, TFrame>::s_pFrame = nullptr;
