// The flat frames with this program's test style archives: the Visual
// Studio 2012 frame takes its caption colours from the keys once its style
// is found; the Windows 10 frame draws the restore button from the part of
// its state and registers the restore brushes; the Visual Studio 2015 frame
// edges hot and pressed buttons in their set's border colour.
#include <afxwin.h>

#include <memory>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"
#include "toolkit/markup/core/QVTMarkupObject.h"
#include "toolkit/themes/visualstudio/QVTCommandBarsVisualStudio2012Theme.h"
#include "toolkit/themes/visualstudio/QVTFrameThemeVisualStudio2012.h"
#include "toolkit/themes/windows10/QVTCommandBarsNativeWindows10Theme.h"
#include "toolkit/themes/windows10/QVTFrameThemeNativeWindows10.h"

namespace {

const COLORREF kFramesBack = RGB(1, 2, 3);

int FramesCount(const DibCanvas& canvas, COLORREF clr)
{
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            n += canvas.At(x, y) == clr;
    return n;
}

// The test style's button: a 12-pixel canvas centred in a 30 by 24 button,
// its outline at the canvas edge and its fill square inside.
struct FramesButton
{
    COLORREF clrBackground;
    COLORREF clrOutline;
    COLORREF clrFill;
};

FramesButton FramesDrawButton(CQVTFramePaintManager* pFrame, DibCanvas& canvas, int nId, BOOL bSelected,
                              BOOL bPressed, BOOL bActive)
{
    canvas.Clear(kFramesBack);
    pFrame->DrawCaptionButton(&canvas.dc, CRect(0, 0, 30, 24), nId, bSelected, bPressed, TRUE, bActive);
    return {canvas.At(2, 2), canvas.At(9, 12), canvas.At(15, 12)};
}

struct FramesKeys
{
    FramesKeys() { QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("VisualStudioKeys.ini")); }
    ~FramesKeys() { QVTResourceImages()->LoadIni(_T("Nowhere.ini")); }
};

TEST(VisualStudio2012Frame, FoundStyleTakesTheCaptionColoursFromTheKeys)
{
    FramesKeys keys;
    std::unique_ptr<CQVTPaintManager> pTheme(CQVTPaintManager::CreateTheme(15));
    CQVTFrameThemeVisualStudio2012* pFrame =
        DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2012, pTheme->GetFramePaintManager());
    ASSERT_TRUE(pFrame);
    EXPECT_TRUE(pFrame->IsStyleFound());
    ASSERT_NE(nullptr, pFrame->m_buttonClose.GetElement());
    EXPECT_EQ(RGB(11, 22, 33), pFrame->m_clrCaptionBackgroundActive.GetValue());
    EXPECT_EQ(RGB(239, 239, 242), pFrame->m_clrCaptionBackgroundInactive.GetValue())
        << "missing: the default";
    // The buttons draw: without a hot section the system's button colours.
    DibCanvas canvas(30, 24);
    const FramesButton hot = FramesDrawButton(pFrame, canvas, SC_CLOSE, TRUE, FALSE, TRUE);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), hot.clrBackground);
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), hot.clrFill);
}

TEST(Windows10Frame, RestoreButtonTakesThePartOfItsStateAndTheBrushesAreRegistered)
{
    FramesKeys keys;
    std::unique_ptr<CQVTPaintManager> pTheme(CQVTPaintManager::CreateTheme(17));
    CQVTFrameThemeNativeWindows10* pFrame =
        DYNAMIC_DOWNCAST(CQVTFrameThemeNativeWindows10, pTheme->GetFramePaintManager());
    ASSERT_TRUE(pFrame);
    ASSERT_TRUE(pFrame->AreRestorePartsLoaded());
    EXPECT_NE(nullptr, pFrame->m_buttonMinimize.GetElement());
    EXPECT_EQ(nullptr, pFrame->m_buttonRestore.GetElement()) << "no single restore part";

    const struct
    {
        BOOL bSelected, bPressed, bActive;
        COLORREF clrMarker;
        COLORREF clrBackground;
    } cases[] = {{FALSE, FALSE, TRUE, RGB(10, 11, 12), kFramesBack},
                 {FALSE, FALSE, FALSE, RGB(13, 14, 15), kFramesBack},
                 {TRUE, FALSE, TRUE, RGB(16, 17, 18), RGB(213, 225, 242)},
                 {TRUE, TRUE, TRUE, RGB(19, 20, 21), RGB(163, 189, 227)}};
    const COLORREF markers[] = {RGB(10, 11, 12), RGB(13, 14, 15), RGB(16, 17, 18), RGB(19, 20, 21)};
    DibCanvas canvas(30, 24);
    for (const auto& c : cases)
    {
        const FramesButton drawn =
            FramesDrawButton(pFrame, canvas, SC_RESTORE, c.bSelected, c.bPressed, c.bActive);
        for (COLORREF clrMarker : markers)
            EXPECT_EQ(clrMarker == c.clrMarker, FramesCount(canvas, clrMarker) > 0)
                << c.bSelected << c.bPressed << c.bActive << " marker " << clrMarker;
        EXPECT_EQ(c.clrBackground, drawn.clrBackground) << c.bSelected << c.bPressed << c.bActive;
    }
    // The other buttons keep their own parts.
    FramesDrawButton(pFrame, canvas, SC_MAXIMIZE, TRUE, TRUE, TRUE);
    for (COLORREF clrMarker : markers)
        EXPECT_EQ(0, FramesCount(canvas, clrMarker));

    CQVTCommandBarsNativeWindows10Theme* pWindows =
        DYNAMIC_DOWNCAST(CQVTCommandBarsNativeWindows10Theme, pTheme.get());
    CQVTMarkupStaticExtension* pRoot = pWindows->GetMarkupContext()->GetExtensionRoot();
    for (LPCWSTR lpszPath :
         {u"Theme.Colors.Frame.ButtonRestoreActiveBrush", u"Theme.Colors.Frame.ButtonRestoreInactiveBrush",
          u"Theme.Colors.Frame.ButtonRestoreHotBrush", u"Theme.Colors.Frame.ButtonRestorePressedBrush"})
    {
        CQVTMarkupObject* pValue = pRoot->FindValue(lpszPath);
        EXPECT_NE(nullptr, pValue) << CStringA(lpszPath).GetString();
        if (pValue)
            pValue->InternalRelease();
    }
}

TEST(VisualStudio2015Frame, HotAndPressedButtonsAreEdgedInTheirBorderColour)
{
    FramesKeys keys;
    std::unique_ptr<CQVTPaintManager> pTheme(CQVTPaintManager::CreateTheme(16));
    CQVTFramePaintManager* pFrame = pTheme->GetFramePaintManager();
    ASSERT_TRUE(DYNAMIC_DOWNCAST(CQVTFrameThemeVisualStudio2015, pFrame));
    const COLORREF clrHotBorder = RGB(1, 100, 1), clrCloseHotBorder = RGB(2, 50, 2);
    DibCanvas canvas(30, 24);
    for (int nId : {SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
    {
        const COLORREF clrEdge = nId == SC_CLOSE ? clrCloseHotBorder : clrHotBorder;
        FramesDrawButton(pFrame, canvas, nId, TRUE, FALSE, TRUE);
        EXPECT_EQ(clrEdge, canvas.At(0, 5)) << nId << " left";
        EXPECT_EQ(clrEdge, canvas.At(15, 23)) << nId << " bottom";
        EXPECT_EQ(nId != SC_CLOSE, canvas.At(29, 5) == clrEdge) << nId << " right";
        EXPECT_NE(clrEdge, canvas.At(15, 0)) << nId << " top";
    }
    // Pressed: the pressed set's border; plain: no edges.
    FramesDrawButton(pFrame, canvas, SC_MINIMIZE, TRUE, TRUE, TRUE);
    EXPECT_EQ(RGB(163, 189, 227), canvas.At(0, 5));
    FramesDrawButton(pFrame, canvas, SC_MINIMIZE, FALSE, FALSE, TRUE);
    EXPECT_EQ(0, FramesCount(canvas, clrHotBorder));
    EXPECT_NE(RGB(163, 189, 227), canvas.At(0, 5));
}

}  // namespace
