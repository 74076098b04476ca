// Sondrel under its own skin, as the run command starts it: the recorder's
// controls show the skin's parts (read on the screen, in the colours the
// skin generator gives the scheme of the default ribbon style) and answer
// the pointer, and the program still closes cleanly.
#include <afxwin.h>

#include <memory>
#include <string>

#include "mainroad_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"

using namespace mainroad;

namespace {

// The black scheme's palette (tools/skinfiles/make_skin_files.py), which
// the default ribbon style loads: the frame of buttons and drop buttons,
// the lit upper half of a face, a hot face's lower half, and the drop
// button's glyph.
const COLORREF kSkinFrame = RGB(60, 60, 66);
const COLORREF kSkinFaceLight = RGB(232, 232, 234);
const COLORREF kSkinHotFace = RGB(230, 195, 132);
const COLORREF kSkinGlyph = RGB(0, 0, 0);

HWND SkinTestButton(HWND hMain, const char16_t* pszText)
{
    for (HWND hButton : Descendants(hMain, u"Button"))
    {
        if (Text(hButton) == pszText)
            return hButton;
    }
    return nullptr;
}

CRect SkinTestRectIn(HWND hWnd, const CRect& rcShot)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    rc.OffsetRect(-rcShot.left, -rcShot.top);
    return rc;
}

}  // namespace

TEST(MainRoadSkin, RecorderControlsShowTheSkinsPartsAndTheProgramClosesCleanly)
{
    ResetProgramSettings(u"C:\\mainroad-skin\\");
    SondrelProcess program;
    ASSERT_TRUE(program.Start());
    HWND hMain = ShowMainWindow(program);
    ASSERT_NE(hMain, nullptr);
    HWND hProfiles = ChildById(hMain, kProfiles);
    HWND hRefresh = SkinTestButton(hMain, u"Refresh");
    ASSERT_NE(hProfiles, nullptr);
    ASSERT_NE(hRefresh, nullptr);
    // Away from every control first: nothing is lit.
    CRect rcMain;
    ::GetWindowRect(hMain, &rcMain);
    MouseMoveTo(POINT{rcMain.right + 40, rcMain.bottom + 40});
    Wait(500);

    {
        CRect rcShot;
        std::unique_ptr<DibCanvas> pShot = Shot(hMain, &rcShot);
        // The profile combo box's drop button: the skin's framed face with
        // its triangle, in the combo box's right end.
        const CRect rcCombo = SkinTestRectIn(hProfiles, rcShot);
        const CRect rcDrop(rcCombo.right - 24, rcCombo.top, rcCombo.right, rcCombo.bottom);
        CPoint pt;
        EXPECT_TRUE(FindColour(*pShot, rcDrop, kSkinFrame, 6, 20, &pt));
        EXPECT_TRUE(FindColour(*pShot, rcDrop, kSkinFaceLight, 6, 20, &pt));
        EXPECT_TRUE(FindColour(*pShot, rcDrop, kSkinGlyph, 30, 8, &pt));
        // A push button: the skin's frame and lit face, not yet hot.
        const CRect rcButton = SkinTestRectIn(hRefresh, rcShot);
        EXPECT_TRUE(FindColour(*pShot, rcButton, kSkinFrame, 6, 40, &pt));
        EXPECT_TRUE(FindColour(*pShot, rcButton, kSkinFaceLight, 6, 40, &pt));
        EXPECT_FALSE(FindColour(*pShot, rcButton, kSkinHotFace, 8, 20, &pt));
    }

    // The pointer over the button lights it with the skin's hot face.
    MouseMoveTo(WindowCentre(hRefresh));
    EXPECT_TRUE(WaitUntil(
        [&]() {
            CRect rcShot;
            std::unique_ptr<DibCanvas> pShot = Shot(hMain, &rcShot);
            CPoint pt;
            return FindColour(*pShot, SkinTestRectIn(hRefresh, rcShot), kSkinHotFace, 8, 20, &pt);
        },
        5000));

    AltF4(hMain);
    EXPECT_TRUE(program.WaitForExit(20000));
}
