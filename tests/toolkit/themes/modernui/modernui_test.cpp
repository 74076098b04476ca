// The flat frame through a test subclass over a test archive and INI: each
// button state's colours reach the named shapes, the borders take the frame
// colours, and broken styles, archives and values leave empty parts and
// defaults without an error. This program carries no built-in frame style,
// so the system frame meets a module without it here.
#include <afxwin.h>

#include <string>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/themes/frame_test_hook.h"
#include "tests/toolkit/themes/theme_test_helpers.h"
#include "toolkit/foundation/hook/QVTShadowManager.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/markup/context/QVTMarkupFunctions.h"
#include "toolkit/themes/frame/QVTFrameThemeOffice2007System.h"
#include "toolkit/themes/modernui/QVTCommandBarsModernUITheme.h"
#include "toolkit/themes/modernui/QVTFrameThemeModernUI.h"
#include "zip_bytes.h"

namespace {

const COLORREF kModernTestBack = RGB(1, 2, 3);

class ModernTestTheme : public CQVTCommandBarsModernUITheme
{
public:
    int GetThemeId() const override { return qvtThemeOffice2013; }
};

class ModernTestFrame : public CQVTFrameThemeModernUI
{
public:
    ModernTestFrame(CQVTPaintManager* pPaintManager, LPCTSTR lpszStyle)
        : CQVTFrameThemeModernUI(pPaintManager), m_strStyle(lpszStyle)
    {
    }
    CString GetStyleResourceName() const override { return m_strStyle; }

    CString m_strStyle;
};

// The flat theme and a test frame over the given INI and style.
struct ModernTestSetup
{
    ModernTestSetup(LPCTSTR lpszIni, LPCTSTR lpszStyle = _T("QVT_IDR_TEST_MODERNUI_STYLE"))
    {
        QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), lpszIni);
        pTheme = new ModernTestTheme();
        pFrame = new ModernTestFrame(pTheme, lpszStyle);
        pFrame->RefreshMetrics();
    }
    ~ModernTestSetup()
    {
        delete pFrame;
        pTheme->InternalRelease();
    }

    ModernTestTheme* pTheme;
    ModernTestFrame* pFrame;
};

struct ButtonColors
{
    COLORREF clrBackground;
    COLORREF clrOutline;
    COLORREF clrFill;
};

// The test button: a 12-pixel canvas centred in a 30 by 24 button, its
// outline at the canvas edge and its fill square inside.
ButtonColors DrawModernButton(CQVTFramePaintManager* pFrame, int nId, BOOL bSelected, BOOL bPressed,
                              BOOL bEnabled, BOOL bActive)
{
    DibCanvas canvas(30, 24, kModernTestBack);
    pFrame->DrawCaptionButton(&canvas.dc, CRect(0, 0, 30, 24), nId, bSelected, bPressed, bEnabled, bActive);
    return {canvas.At(2, 2), canvas.At(9, 12), canvas.At(15, 12)};
}

}  // namespace

TEST(ModernFrame, EachButtonStateColoursTheNamedShapes)
{
    ModernTestSetup setup(_T("ModernTest.ini"));
    ASSERT_NE(nullptr, setup.pFrame->m_buttonClose.GetElement());
    const struct
    {
        BOOL bSelected, bPressed, bEnabled, bActive;
        ButtonColors expected;
    } cases[] = {
        {TRUE, TRUE, TRUE, TRUE, {RGB(0, 90, 180), RGB(0, 40, 80), RGB(255, 255, 0)}},
        {FALSE, FALSE, TRUE, TRUE, {RGB(230, 240, 250), RGB(20, 60, 160), RGB(10, 20, 30)}},
        {FALSE, FALSE, TRUE, FALSE, {RGB(200, 200, 200), RGB(150, 150, 150), RGB(100, 100, 100)}},
        {FALSE, FALSE, FALSE, TRUE, {RGB(200, 200, 200), RGB(150, 150, 150), RGB(100, 100, 100)}},
        // The INI has no hot section: the system's button colours.
        {TRUE,
         FALSE,
         TRUE,
         TRUE,
         {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNTEXT)}},
    };
    for (int nId : {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
        for (const auto& c : cases)
        {
            const ButtonColors drawn =
                DrawModernButton(setup.pFrame, nId, c.bSelected, c.bPressed, c.bEnabled, c.bActive);
            const std::string strCase = std::to_string(nId) + " " + std::to_string(c.bSelected) +
                                        std::to_string(c.bPressed) + std::to_string(c.bEnabled) +
                                        std::to_string(c.bActive);
            EXPECT_EQ(c.expected.clrBackground, drawn.clrBackground) << strCase;
            EXPECT_EQ(c.expected.clrOutline, drawn.clrOutline) << strCase;
            EXPECT_EQ(c.expected.clrFill, drawn.clrFill) << strCase;
        }
    const ButtonColors none = DrawModernButton(setup.pFrame, SC_CONTEXTHELP, FALSE, FALSE, TRUE, TRUE);
    EXPECT_EQ(kModernTestBack, none.clrBackground);
}

TEST(ModernFrame, BordersAndCaptionTakeTheFrameColoursAndMetrics)
{
    ModernTestSetup setup(_T("ModernTest.ini"));
    ModernTestFrame* pFrame = setup.pFrame;
    EXPECT_EQ(ThemeTest::Y(27), pFrame->GetCaptionHeight());
    EXPECT_EQ(CRect(ThemeTest::X(2), 0, ThemeTest::X(3), 0), pFrame->m_rcIconMargin);
    EXPECT_EQ(CSize(ThemeTest::X(30), ThemeTest::Y(21)), pFrame->GetCaptionButtonSize());
    EXPECT_TRUE(pFrame->m_bCaptionCenterAligned);
    EXPECT_EQ(RGB(250, 250, 250), pFrame->m_clrCaptionTextActive.GetValue());
    EXPECT_EQ(RGB(250, 250, 250), pFrame->m_clrTitleTextActive.GetValue());
    EXPECT_EQ(RGB(90, 90, 90), pFrame->m_clrCaptionTextInactive.GetValue());
    LOGFONT lf = {};
    ASSERT_TRUE(::GetObject(pFrame->m_fontCaption.GetSafeHandle(), sizeof(lf), &lf));
    EXPECT_EQ(-ThemeTest::Y(15), lf.lfHeight);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_EQ(CString(_T("Tahoma")), CString(lf.lfFaceName));

    pFrame->m_clrCaptionBackgroundActive.SetStandardValue(RGB(1, 100, 1));
    pFrame->m_clrCaptionBackgroundInactive.SetStandardValue(RGB(100, 1, 1));
    TestFrameHook hook(CRect(1, 28, 1, 1), CSize(200, 150));
    EXPECT_EQ(CRect(1, 1, 1, 1), pFrame->CalcFrameBorders(&hook));
    for (BOOL bActive : {TRUE, FALSE})
    {
        hook.active = bActive;
        DibCanvas canvas(200, 150, kModernTestBack);
        pFrame->DrawFrame(&canvas.dc, &hook);
        const COLORREF clrBorder = bActive ? RGB(10, 80, 200) : RGB(120, 120, 120);
        EXPECT_EQ(clrBorder, canvas.At(0, 90)) << bActive;
        EXPECT_EQ(clrBorder, canvas.At(199, 90)) << bActive;
        EXPECT_EQ(clrBorder, canvas.At(100, 149)) << bActive;
        EXPECT_EQ(clrBorder, canvas.At(0, 2)) << bActive;
        EXPECT_EQ(kModernTestBack, canvas.At(100, 90)) << bActive;
        EXPECT_EQ(bActive ? RGB(1, 100, 1) : RGB(100, 1, 1), canvas.At(100, 14)) << bActive;
    }
    HRGN hRegion = pFrame->CreateFrameRegion(&hook, CSize(200, 150));
    CRect rcBox;
    ::GetRgnBox(hRegion, &rcBox);
    EXPECT_EQ(CRect(0, 0, 200, 150), rcBox);
    ::DeleteObject(hRegion);

    ::SetWindowLongPtrW(hook.hwnd, GWL_STYLE, ::GetWindowLongPtrW(hook.hwnd, GWL_STYLE) | WS_MAXIMIZE);
    EXPECT_NE(CRect(1, 1, 1, 1), pFrame->CalcFrameBorders(&hook));
    TestFrameHook child(CRect(4, 28, 4, 4), CSize(200, 150));
    ::SetWindowLongPtrW(child.hwnd, GWL_EXSTYLE, WS_EX_MDICHILD);
    EXPECT_EQ(CRect(::GetSystemMetrics(SM_CXFRAME), ThemeTest::Y(1), ::GetSystemMetrics(SM_CXFRAME),
                    ::GetSystemMetrics(SM_CYFRAME)),
              pFrame->CalcFrameBorders(&child));
}

TEST(ModernFrame, BrokenStylesArchivesAndValuesGiveEmptyPartsAndDefaults)
{
    // Values that do not parse keep the defaults; a style made for another
    // look draws nothing.
    {
        ModernTestSetup setup(_T("BadModern.ini"));
        EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION), setup.pFrame->GetCaptionHeight());
        EXPECT_EQ(CRect(0, 0, 0, 0), setup.pFrame->m_rcIconMargin);
        EXPECT_EQ(CSize(::GetSystemMetrics(SM_CYSIZE), ::GetSystemMetrics(SM_CYSIZE)),
                  setup.pFrame->GetCaptionButtonSize());
        EXPECT_FALSE(setup.pFrame->m_bCaptionCenterAligned);
        EXPECT_EQ(COLORREF(CQVTPaintManagerColor::noColor), setup.pFrame->m_clrFrameBorderActive.GetValue());
        EXPECT_EQ(COLORREF(CQVTPaintManagerColor::noColor), setup.pFrame->m_clrCaptionTextActive.GetValue());
        const CQVTColorSetCaptionButton& active = setup.pFrame->m_csCaptionButtonActive;
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), active.m_clrBackground.GetValue());
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), active.m_clrBorder.GetValue());
        EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), active.m_clrFill.GetValue());
        TestFrameHook hook(CRect(1, 28, 1, 1), CSize(200, 150));
        DibCanvas canvas(200, 150, kModernTestBack);
        setup.pFrame->DrawFrame(&canvas.dc, &hook);
        EXPECT_EQ(0, 200 * 150 - canvas.CountOf(kModernTestBack));
    }
    // A style that is not an archive, and one that is not there.
    for (LPCTSTR lpszStyle : {_T("NOTAZIP_STYLE"), _T("NOSUCH_STYLE")})
    {
        ModernTestSetup setup(_T("ModernTest.ini"), lpszStyle);
        EXPECT_TRUE(setup.pFrame->m_bPartsLoaded);
        EXPECT_EQ(nullptr, setup.pFrame->m_frameBorderTop.GetElement());
        EXPECT_EQ(kModernTestBack,
                  DrawModernButton(setup.pFrame, SC_CLOSE, FALSE, FALSE, TRUE, TRUE).clrBackground);
    }
    // An archive without the restore button and with a close button that
    // does not parse: those two draw nothing, the others draw.
    ModernTestSetup setup(_T("ModernTest.ini"), _T("NOSUCH_STYLE"));
    const std::string strButton =
        "<Border xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' Background='Red'/>";
    const zipbytes::Bytes bytes =
        zipbytes::MakeZip({{"Frame/ButtonMinimize.xaml", strButton, true},
                           {"Frame/ButtonMaximize.xaml", strButton, false},
                           {"Frame/ButtonClose.xaml", "<Border><Unclosed></Border>", true}});
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(bytes.data(), static_cast<DWORD>(bytes.size()));
    ASSERT_NE(nullptr, hArchive);
    setup.pFrame->LoadParts(hArchive, setup.pTheme->GetMarkupContext());
    QVTZipCloseArchive(hArchive);
    EXPECT_EQ(RGB(255, 0, 0),
              DrawModernButton(setup.pFrame, SC_MINIMIZE, FALSE, FALSE, TRUE, TRUE).clrBackground);
    EXPECT_EQ(RGB(255, 0, 0),
              DrawModernButton(setup.pFrame, SC_MAXIMIZE, FALSE, FALSE, TRUE, TRUE).clrBackground);
    EXPECT_EQ(kModernTestBack,
              DrawModernButton(setup.pFrame, SC_RESTORE, FALSE, FALSE, TRUE, TRUE).clrBackground);
    EXPECT_EQ(kModernTestBack,
              DrawModernButton(setup.pFrame, SC_CLOSE, FALSE, FALSE, TRUE, TRUE).clrBackground);
    EXPECT_EQ(nullptr, QVTZipOpenArchive("PK not a zip", 12));
}

TEST(SystemFrame, AModuleWithoutTheStyleDrawsEmptyPartsWithoutFailing)
{
    QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("ModernTest.ini"));
    CQVTPaintManager* pTheme = CQVTPaintManager::CreateTheme(qvtThemeOfficeXP);
    auto* pFrame = DYNAMIC_DOWNCAST(CQVTFrameThemeOffice2007System, pTheme->GetFramePaintManager());
    ASSERT_NE(nullptr, pFrame);
    for (int i = 0; i < CQVTFrameThemeOffice2007System::partCount; ++i)
        EXPECT_EQ(nullptr, pFrame->GetStylePart(i)->GetElement());
    TestFrameHook hook(CRect(4, 30, 4, 4), CSize(200, 150), WS_POPUP | WS_CAPTION);
    DibCanvas canvas(200, 150, kModernTestBack);
    pFrame->DrawFrame(&canvas.dc, &hook);
    EXPECT_EQ(kModernTestBack, canvas.At(0, 90));
    DibCanvas button(20, 20, kModernTestBack);
    pFrame->DrawCaptionButton(&button.dc, CRect(0, 0, 20, 20), SC_CLOSE, TRUE, TRUE, TRUE, TRUE);
    EXPECT_EQ(20 * 20, button.CountOf(kModernTestBack));
    // The buffered caption takes the plain caption colour, not black.
    EXPECT_EQ(::GetSysColor(COLOR_ACTIVECAPTION), canvas.At(185, 15));
    pTheme->InternalRelease();
}

TEST(MarkupThemePart, CaptionSettersChangeOnlyNamedTextBlocks)
{
    CQVTMarkupContext* pContext = MarkupCreateContext(nullptr, FALSE);
    const std::string strPart =
        "<StackPanel xmlns='http://schemas.microsoft.com/winfx/2006/xaml/presentation' "
        "xmlns:x='http://schemas.microsoft.com/winfx/2006/xaml' Orientation='Horizontal'>"
        "<TextBlock x:Name='CaptionText' Text='a' Foreground='Black'/><Border x:Name='Caption' "
        "Width='5'/></StackPanel>";
    const zipbytes::Bytes bytes = zipbytes::MakeZip({{"part.xaml", strPart, true}});
    HQVTZIPARCHIVE hArchive = QVTZipOpenArchive(bytes.data(), static_cast<DWORD>(bytes.size()));
    CQVTMarkupThemePart part;
    ASSERT_TRUE(part.LoadPart(hArchive, "part.xaml", pContext));
    QVTZipCloseArchive(hArchive);

    const CSize szBefore = part.Measure(1000, 1000);
    part.SetCaptionText(_T("A much longer caption"));
    part.SetCaptionTextFontSize(30);
    const CSize szAfter = part.Measure(1000, 1000);
    EXPECT_GT(szAfter.cx, szBefore.cx + 50);
    EXPECT_GT(szAfter.cy, szBefore.cy + 10);
    part.SetCaptionTextForeground(RGB(255, 0, 0));
    DibCanvas canvas(szAfter.cx + 10, szAfter.cy + 10);
    part.Render(&canvas.dc, CRect(CPoint(0, 0), szAfter));
    EXPECT_GT(canvas.CountOf(RGB(255, 0, 0)), 20);
    // "Caption" is no text block: its setters leave it be.
    part.SetCaption(_T("ignored"));
    part.SetCaptionFontSize(40);
    part.SetCaptionFontFamily(_T("Tahoma"));
    EXPECT_EQ(szAfter, part.Measure(1000, 1000));
    part.Clear();
    MarkupReleaseContext(pContext);
}

TEST(ModernTheme, PopupsLoseTheirMarginsAndForcedShadows)
{
    ModernTestTheme* pTheme = new ModernTestTheme();
    EXPECT_NE(nullptr, pTheme->GetMarkupContext());
    EXPECT_EQ(QVTResourceImages(), pTheme->GetResourceImages());
    EXPECT_EQ(0, pTheme->GetShadowManager()->GetShadowOptions() & CQVTShadowManager::shadowAlways);
    EXPECT_FALSE(pTheme->m_bIconsWithShadow);
    EXPECT_TRUE(pTheme->m_bFlatMenuBar);
    pTheme->InternalRelease();
}
