// Keyboard tips on a plain toolbar entered from the keyboard: their texts
// (mnemonics, second letters for shared first letters, texts that stay
// unique when letters run out), their windows (over the control, passed
// through by the mouse, translucent for a disabled target), narrowing by
// typed keys down to the command, and Escape going back a level.
#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "toolkit/commandbars/bars/QVTCommandBarsOptions.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/keytips/QVTCommandBarKeyboardTip.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"

namespace {

void Key(WORD wKey)
{
    SendKey(wKey, false);
    SendKey(wKey, true);
    PumpTranslated(60);
}

}  // namespace

class KeyboardTips : public BarsFrameSuite<KeyboardTips>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(200, 100, 900, 300)); }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        m_pBars = s_pFrame->GetCommandBars();
        m_pBars->GetCommandBarsOptions()->bShowKeyboardTips = TRUE;
        m_pToolBar = DYNAMIC_DOWNCAST(CQVTToolBar, m_pBars->Add(_T("Standard"), qvtBarTop));
        ASSERT_NE(nullptr, m_pToolBar);
        m_pToolBar->ShowExpandButton(FALSE);
        s_pFrame->SetForegroundWindow();
        s_pFrame->SetFocus();
        PumpTranslated(30);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pBars->HideKeyboardTips();
        PumpTranslated(30);
    }

    // Caption buttons of ids 100, 101, ...
    void AddButtons(const std::vector<CString>& captions)
    {
        UINT nId = 100;
        for (const CString& strCaption : captions)
        {
            CQVTControl* pControl = m_pToolBar->GetControls()->Add(new CQVTControlButton(), nId++);
            pControl->SetCaption(strCaption);
            pControl->SetStyle(qvtButtonCaption);
        }
        m_pToolBar->DelayLayout();
        m_pToolBar->OnRecalcLayout();
        m_pBars->RecalcFrameLayout(FALSE);
        PumpTranslated(30);
    }
    // Enters the toolbar from the keyboard and waits for its tips.
    bool EnterAndWaitForTips()
    {
        m_pBars->SetFocusedCommandBar(m_pToolBar);
        return PumpTranslatedUntil([&] { return m_pBars->GetKeyboardTipCount() > 0; }, 2000);
    }
    std::vector<CString> TipTexts() const
    {
        std::vector<CString> texts;
        for (int i = 0; i < m_pBars->GetKeyboardTipCount(); ++i)
            texts.push_back(m_pBars->GetKeyboardTip(i)->m_strTip);
        return texts;
    }
    CQVTCommandBarKeyboardTip* TipOf(int nId) const
    {
        for (int i = 0; i < m_pBars->GetKeyboardTipCount(); ++i)
        {
            CQVTControl* pControl = DYNAMIC_DOWNCAST(CQVTControl, m_pBars->GetKeyboardTip(i)->m_pTarget);
            if (pControl && pControl->GetID() == nId)
                return m_pBars->GetKeyboardTip(i);
        }
        return nullptr;
    }

    CQVTCommandBars* m_pBars = nullptr;
    CQVTToolBar* m_pToolBar = nullptr;
};

TEST_F(KeyboardTips, SharedFirstLettersGetSecondLettersFromTheCaptions)
{
    AddButtons({_T("Open"), _T("Options"), _T("Save"), _T("Save As"), _T("Send"), _T("&File"), _T("Print")});
    m_pToolBar->GetControls()->FindControl(106)->SetKeyboardTip(_T("zp"));
    ASSERT_TRUE(EnterAndWaitForTips());
    EXPECT_EQ(1, m_pBars->GetKeyboardTipsLevel(m_pToolBar));
    EXPECT_EQ(std::vector<CString>({_T("OP"), _T("OT"), _T("SA"), _T("SV"), _T("SE"), _T("F"), _T("ZP")}),
              TipTexts());
}

TEST_F(KeyboardTips, TipWindowsSitOverTheirControlsAndLetTheMouseThrough)
{
    AddButtons({_T("Open"), _T("Gray")});
    CQVTControl* pGray = m_pToolBar->GetControls()->FindControl(101);
    pGray->SetFlags(pGray->GetFlags() | qvtFlagManualUpdate);
    pGray->SetEnabled(FALSE);
    ASSERT_TRUE(EnterAndWaitForTips());
    CQVTCommandBarKeyboardTip* pOpen = TipOf(100);
    ASSERT_NE(nullptr, pOpen);
    ASSERT_NE(nullptr, pOpen->GetSafeHwnd());
    EXPECT_TRUE(pOpen->IsWindowVisible());
    EXPECT_TRUE(pOpen->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(pOpen->GetExStyle() & WS_EX_LAYERED);
    EXPECT_EQ(HTTRANSPARENT, pOpen->SendMessage(WM_NCHITTEST, 0, 0));
    // Anchored 12 px into the control and 11 px above its bottom.
    CRect rcControl = m_pToolBar->GetControls()->FindControl(100)->GetRect();
    m_pToolBar->ClientToScreen(&rcControl);
    CRect rcTip;
    pOpen->GetWindowRect(&rcTip);
    EXPECT_EQ(rcControl.left + QVTDpiScaler()->ScaleX(12), rcTip.left);
    EXPECT_EQ(rcControl.bottom - QVTDpiScaler()->ScaleY(11), rcTip.top);
    EXPECT_GE(rcTip.Width(), QVTDpiScaler()->ScaleX(16));
    EXPECT_GE(rcTip.Height(), QVTDpiScaler()->ScaleY(15));

    // The disabled target's tip is translucent, and typing it runs nothing.
    CQVTCommandBarKeyboardTip* pGrayTip = TipOf(101);
    ASSERT_NE(nullptr, pGrayTip);
    ASSERT_TRUE(pGrayTip->GetExStyle() & WS_EX_LAYERED);
    BYTE bAlpha = 0;
    DWORD dwFlags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(pGrayTip->GetSafeHwnd(), nullptr, &bAlpha, &dwFlags));
    EXPECT_EQ(150, bAlpha);
    EXPECT_TRUE(dwFlags & LWA_ALPHA);
    Key('G');
    EXPECT_TRUE(s_pFrame->m_commands.empty());
    EXPECT_EQ(2, m_pBars->GetKeyboardTipCount());
    EXPECT_TRUE(m_pToolBar->IsTrackingMode());
}

TEST_F(KeyboardTips, TypingNarrowsTheTipsAndTheLastKeyRunsTheCommand)
{
    AddButtons({_T("Open"), _T("Options"), _T("Save")});
    ASSERT_TRUE(EnterAndWaitForTips());
    // A key no tip has changes nothing.
    Key('Q');
    EXPECT_EQ(3, m_pBars->GetKeyboardTipCount());
    EXPECT_EQ(0, m_pBars->GetKeyboardTipsTyped());
    Key('O');
    EXPECT_EQ(std::vector<CString>({_T("OP"), _T("OT")}), TipTexts());
    EXPECT_EQ(1, m_pBars->GetKeyboardTipsTyped());
    Key('T');
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({101}), s_pFrame->m_commands);
    EXPECT_EQ(0, m_pBars->GetKeyboardTipCount());
}

TEST_F(KeyboardTips, TwelveControlsWithoutFreeLettersKeepUniqueReachableTips)
{
    std::vector<CString> captions(12, CString(_T("S")));
    AddButtons(captions);
    ASSERT_TRUE(EnterAndWaitForTips());
    std::vector<CString> texts = TipTexts();
    ASSERT_EQ(12u, texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
    {
        EXPECT_EQ(2, texts[i].GetLength()) << i;
        for (size_t j = 0; j < texts.size(); ++j)
            if (i != j)
            {
                EXPECT_NE(texts[i], texts[j]) << i << " " << j;
            }
    }
    // The last control is reached by its keys.
    CQVTCommandBarKeyboardTip* pLast = TipOf(111);
    ASSERT_NE(nullptr, pLast);
    const CString strLast = pLast->m_strTip;
    Key('S');
    EXPECT_EQ(12, m_pBars->GetKeyboardTipCount());
    Key(static_cast<WORD>(strLast[1]));
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !s_pFrame->m_commands.empty(); }, 2000));
    EXPECT_EQ(std::vector<UINT>({111}), s_pFrame->m_commands);
}

TEST_F(KeyboardTips, EscapeGoesBackALevelThenLeaves)
{
    AddButtons({_T("Open"), _T("Save")});
    ASSERT_TRUE(EnterAndWaitForTips());
    m_pBars->ShowKeyboardTips(m_pToolBar, 2);
    EXPECT_EQ(2, m_pBars->GetKeyboardTipsLevel(m_pToolBar));
    Key(VK_ESCAPE);
    EXPECT_EQ(1, m_pBars->GetKeyboardTipsLevel(m_pToolBar));
    EXPECT_EQ(2, m_pBars->GetKeyboardTipCount());
    EXPECT_TRUE(m_pToolBar->IsTrackingMode());
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_pToolBar->IsTrackingMode());
    EXPECT_EQ(0, m_pBars->GetKeyboardTipCount());

    // Tips off in the options: none.
    m_pBars->GetCommandBarsOptions()->bShowKeyboardTips = FALSE;
    m_pBars->SetFocusedCommandBar(m_pToolBar);
    PumpTranslated(100);
    EXPECT_TRUE(m_pToolBar->IsTrackingMode());
    EXPECT_EQ(0, m_pBars->GetKeyboardTipCount());
}
