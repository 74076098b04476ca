// The Office 2013 frame of theme 12 over its test archive (tools/framestyles)
// and the test INI: caption buttons in each state's colour set, the close
// button in its own sets, the caption's fill and bottom line, metrics and
// font from the keys; without its archive no parts and no error; and the
// black shadow a frame gets.
#include <afxwin.h>

#include <string>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/frame_test_hook.h"
#include "tests/toolkit/themes/office2013/office2013_support.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadow.h"
#include "toolkit/commandbars/frame/shadow/QVTFrameShadowManager.h"
#include "toolkit/themes/office2013/QVTFrameThemeOffice2013.h"

namespace {

using Office2013Test::TestIni;
using Office2013Test::Theme;

const COLORREF kFrameBack = RGB(1, 2, 3);
const COLORREF kFrameNone = 0xFFFFFFFF;

CQVTFrameThemeOffice2013* Frame()
{
    return DYNAMIC_DOWNCAST(CQVTFrameThemeOffice2013, Theme()->GetFramePaintManager());
}

struct Office2013ButtonColors
{
    COLORREF clrBackground;
    COLORREF clrOutline;
    COLORREF clrFill;
};

// The archive's button: a canvas of 12 units (scaled with the screen)
// centred in a 40 by 32 button, its outline at the canvas edge and its fill
// square inside.
Office2013ButtonColors DrawButton(CQVTFramePaintManager* pFrame, int nId, BOOL bSelected, BOOL bPressed,
                                  BOOL bEnabled, BOOL bActive)
{
    DibCanvas canvas(40, 32, kFrameBack);
    pFrame->DrawCaptionButton(&canvas.dc, CRect(0, 0, 40, 32), nId, bSelected, bPressed, bEnabled, bActive);
    const CSize szCanvas(ThemeTest::X(12), ThemeTest::Y(12));
    const CPoint ptCanvas((40 - szCanvas.cx) / 2, (32 - szCanvas.cy) / 2);
    return {canvas.At(1, 1), canvas.At(ptCanvas.x, ptCanvas.y + szCanvas.cy / 2),
            canvas.At(ptCanvas.x + ThemeTest::X(6), ptCanvas.y + ThemeTest::Y(7))};
}

// The frame of theme 12 looking for a style this program does not carry.
class Office2013FrameWithoutStyle : public CQVTFrameThemeOffice2013
{
public:
    using CQVTFrameThemeOffice2013::CQVTFrameThemeOffice2013;
    CString GetStyleResourceName() const override { return _T("NO_SUCH_STYLE"); }
};

}  // namespace

TEST(Office2013FramePaint, CaptionButtonsTakeEachStatesSetAndTheCloseButtonItsOwn)
{
    TestIni ini;
    Office2013Test::UseTheme();
    CQVTFrameThemeOffice2013* pFrame = Frame();
    ASSERT_NE(nullptr, pFrame);
    ASSERT_NE(nullptr, pFrame->m_buttonClose.GetElement()) << "the test archive's parts are loaded";
    const struct
    {
        const char* pszState;
        BOOL bSelected, bPressed, bEnabled, bActive;
        Office2013ButtonColors caption, close;
    } cases[] = {
        {"pressed",
         TRUE,
         TRUE,
         TRUE,
         TRUE,
         {RGB(163, 189, 227), RGB(163, 189, 227), RGB(25, 71, 138)},
         {RGB(163, 189, 227), RGB(163, 189, 227), RGB(25, 71, 138)}},
        {"hot",
         TRUE,
         FALSE,
         TRUE,
         TRUE,
         {RGB(213, 225, 242), RGB(213, 225, 242), RGB(62, 109, 181)},
         {RGB(232, 17, 35), RGB(213, 225, 242), RGB(62, 109, 181)}},
        {"active",
         FALSE,
         FALSE,
         TRUE,
         TRUE,
         {kFrameBack, RGB(255, 255, 255), RGB(119, 119, 119)},
         {kFrameBack, RGB(255, 255, 255), RGB(119, 119, 119)}},
        {"inactive",
         FALSE,
         FALSE,
         TRUE,
         FALSE,
         {kFrameBack, RGB(255, 255, 255), RGB(198, 198, 198)},
         {kFrameBack, RGB(255, 255, 255), RGB(198, 198, 198)}},
        {"disabled",
         FALSE,
         FALSE,
         FALSE,
         TRUE,
         {kFrameBack, RGB(255, 255, 255), RGB(198, 198, 198)},
         {kFrameBack, RGB(255, 255, 255), RGB(198, 198, 198)}},
    };
    for (int nId : {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CLOSE})
        for (const auto& c : cases)
        {
            SCOPED_TRACE(std::to_string(nId) + " " + c.pszState);
            const Office2013ButtonColors& expected = nId == SC_CLOSE ? c.close : c.caption;
            const Office2013ButtonColors drawn =
                DrawButton(pFrame, nId, c.bSelected, c.bPressed, c.bEnabled, c.bActive);
            EXPECT_EQ(expected.clrBackground, drawn.clrBackground);
            EXPECT_EQ(expected.clrOutline, drawn.clrOutline);
            EXPECT_EQ(expected.clrFill, drawn.clrFill);
        }
    // Until the ribbon has a backstage view, the caption never takes its sets.
    EXPECT_FALSE(pFrame->IsBackstageVisible(nullptr));
}

TEST(Office2013FramePaint, CaptionFillMetricsAndFontComeFromTheKeys)
{
    {
        TestIni ini;
        Office2013Test::UseTheme();
        CQVTFrameThemeOffice2013* pFrame = Frame();
        ASSERT_NE(nullptr, pFrame);
        EXPECT_EQ(ThemeTest::Y(30), pFrame->GetCaptionHeight());
        LOGFONT lf = {};
        ASSERT_TRUE(::GetObject(pFrame->m_fontCaption.GetSafeHandle(), sizeof(lf), &lf));
        EXPECT_EQ(-ThemeTest::Y(15), lf.lfHeight);
        EXPECT_EQ(FW_NORMAL, lf.lfWeight);
        EXPECT_EQ(CString(_T("Segoe UI")), CString(lf.lfFaceName));

        // The caption: its fill, and its bottom row in the caption border colour.
        DibCanvas canvas(200, 40, kFrameBack);
        pFrame->FillCaptionBackground(&canvas.dc, CRect(0, 0, 200, 30), nullptr, TRUE);
        EXPECT_EQ(RGB(200, 100, 50), canvas.At(100, 10));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(100, 29));
        EXPECT_EQ(RGB(200, 100, 50), canvas.At(100, 28));
        EXPECT_EQ(kFrameBack, canvas.At(100, 30));
        pFrame->FillCaptionBackground(&canvas.dc, CRect(0, 0, 200, 30), nullptr, FALSE);
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(100, 10));
    }
    // Without keys, the defaults.
    Office2013Test::UseTheme();
    CQVTFrameThemeOffice2013* pFrame = Frame();
    EXPECT_EQ(ThemeTest::Y(26), pFrame->GetCaptionHeight());
    EXPECT_EQ(RGB(43, 87, 154), pFrame->m_clrFrameBorderActive.GetValue());
    EXPECT_EQ(RGB(131, 131, 131), pFrame->m_clrFrameBorderInactive.GetValue());
    EXPECT_EQ(RGB(68, 68, 68), pFrame->m_clrCaptionTextActive.GetValue());
    EXPECT_EQ(kFrameNone, pFrame->m_csCaptionButtonActive.m_clrBackground.GetValue());
    LOGFONT lf = {};
    ASSERT_TRUE(::GetObject(pFrame->m_fontCaption.GetSafeHandle(), sizeof(lf), &lf));
    EXPECT_EQ(-ThemeTest::Y(12), lf.lfHeight);
}

TEST(Office2013FramePaint, WithoutItsStyleNoPartsNoErrorAndTheKeysStillRead)
{
    TestIni ini;
    Office2013Test::UseTheme();
    Office2013FrameWithoutStyle frame(Theme());
    frame.RefreshMetrics();
    EXPECT_EQ(nullptr, frame.m_buttonClose.GetElement());
    EXPECT_EQ(nullptr, frame.m_frameBorderTop.GetElement());
    const Office2013ButtonColors drawn = DrawButton(&frame, SC_CLOSE, TRUE, FALSE, TRUE, TRUE);
    EXPECT_EQ(kFrameBack, drawn.clrBackground);
    EXPECT_EQ(kFrameBack, drawn.clrFill);
    EXPECT_EQ(ThemeTest::Y(30), frame.GetCaptionHeight());
    EXPECT_EQ(RGB(232, 17, 35), frame.m_csCloseButtonHot.m_clrBackground.GetValue());
    TestFrameHook hook(CRect(1, 30, 1, 1), CSize(300, 200));
    EXPECT_EQ(CRect(1, 1, 1, 1), frame.CalcFrameBorders(&hook));
}

TEST(Office2013FramePaint, AFrameGetsABlackShadowFiveAndThreePixelsWide)
{
    Office2013Test::UseTheme();
    CQVTFrameShadowManager* pManager = CQVTFrameShadowManager::GetInstance();
    if (!pManager->IsShadowSupported())
        GTEST_SKIP() << "no layered windows";
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(WS_EX_NOACTIVATE, AfxRegisterWndClass(0), _T("Frame"), WS_POPUP | WS_VISIBLE,
                               CRect(400, 300, 600, 450), nullptr, 0));
    CQVTFrameShadow* pShadow = Frame()->CreateShadow(&frame);
    ASSERT_NE(nullptr, pShadow);
    EXPECT_EQ(pShadow, pManager->GetShadow(frame.GetSafeHwnd()));
    EXPECT_EQ(RGB(0, 0, 0), pShadow->GetShadowColor());
    EXPECT_EQ(ThemeTest::X(5), pShadow->GetOuterSize());
    EXPECT_EQ(ThemeTest::X(3), pShadow->GetInnerSize());
    pManager->DisableShadow(&frame);
    frame.DestroyWindow();
}
