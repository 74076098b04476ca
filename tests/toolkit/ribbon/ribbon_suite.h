// A test suite that shares one shown ribbon host: hiding a shown window
// costs seconds on the test display, so the window stays for the suite
// and each test starts from new bars at a client size of its choosing.
#pragma once

#include "sondrel_gtest.h"
#include "tests/toolkit/ribbon/ribbon_host.h"

template <class TSuite>
class CRibbonHostSuite : public ::testing::Test
{
public:
    static void TearDownTestSuite()
    {
        delete s_pHost;
        s_pHost = nullptr;
    }

protected:
    static void CreateSharedHost(const CRect& rcScreen, BOOL bActivate = FALSE)
    {
        s_pHost = new CRibbonHost();
        s_pHost->CreateHost(rcScreen, bActivate);
    }
    // New bars with the main window's ribbon at the client size.
    void ResetHost(int cx, int cy)
    {
        ASSERT_NE(nullptr, s_pHost->GetSafeHwnd());
        s_pHost->Reset();
        s_pHost->ResizeClient(cx, cy);
        m_pRibbon = s_pHost->GetRibbon();
        ASSERT_NE(nullptr, m_pRibbon);
    }

    static CRibbonHost* s_pHost;
    CQVTRibbonBar* m_pRibbon = nullptr;
};
template <class TSuite>
CRibbonHost* CRibbonHostSuite<TSuite>::s_pHost = nullptr;
