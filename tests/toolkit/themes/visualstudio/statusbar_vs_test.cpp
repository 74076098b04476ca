// The Visual Studio 2012 status bar: its accent colours over the base keys,
// the text-gray default that follows the background read, and the dotted
// gripper's dots where a user sees them.
#include <afxwin.h>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/visualstudio/QVTStatusBarThemeVisualStudio2012.h"

namespace {

TEST(StatusBarVisualStudio2012, AccentColoursWinOverTheBaseKeys)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    CQVTStatusBarThemeVisualStudio2012 theme(nullptr);
    theme.RefreshMetrics();
    EXPECT_EQ(RGB(1, 120, 208), theme.m_clrBackground.GetValue());
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), theme.m_clrBackground.GetStandardValue()) << "base key beneath";
    EXPECT_EQ(RGB(1, 120, 208), theme.m_clrTextGray.GetValue());
    EXPECT_EQ(RGB(84, 191, 255), theme.m_clrGripperLite.GetValue());
    EXPECT_EQ(RGB(0, 91, 158), theme.m_clrGripperDark.GetValue());

    ASSERT_TRUE(QVTResourceImages()->SetModule(::GetModuleHandleW(nullptr), _T("VisualStudioKeys.ini")));
    theme.RefreshMetrics();
    EXPECT_EQ(RGB(5, 6, 7), theme.m_clrBackground.GetValue());
    EXPECT_EQ(RGB(5, 6, 7), theme.m_clrTextGray.GetValue()) << "text gray defaults to the background read";
    EXPECT_EQ(RGB(0, 0, 0), theme.m_clrGripperDark.GetValue()) << "a word is black";
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

TEST(StatusBarVisualStudio2012, GripperDotsFormATriangleInTheCorner)
{
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
    CQVTStatusBarThemeVisualStudio2012 theme(nullptr);
    theme.RefreshMetrics();
    const COLORREF clrDark = RGB(0, 91, 158), clrLite = RGB(84, 191, 255), clrBack = RGB(1, 2, 3);
    DibCanvas canvas(60, 40, clrBack);
    theme.DrawGripper(&canvas.dc, CRect(0, 0, 60, 40));

    const int nDot = CQVTPaintManager::DpiX(1), nPitch = CQVTPaintManager::DpiX(2);
    const int xLast = 60 - CQVTPaintManager::DpiX(6), yLast = 40 - CQVTPaintManager::DpiY(6);
    int nDark = 0, nLite = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
        {
            nDark += canvas.At(x, y) == clrDark;
            nLite += canvas.At(x, y) == clrLite;
        }
    // Ten dots of each colour; at 96 DPI the light copy covers none of the dark.
    EXPECT_EQ(10 * nDot * nDot, nLite);
    EXPECT_GT(nDark, 0);
    for (int nRow = 0; nRow < 4; ++nRow)
        for (int nCol = 0; nCol < 4; ++nCol)
        {
            const int x = xLast - nCol * nPitch, y = yLast - nRow * nPitch;
            const BOOL bDot = nCol < 4 - nRow;
            EXPECT_EQ(bDot ? clrLite : clrBack, canvas.At(x + nDot, y + nDot)) << nRow << "," << nCol;
            if (nDot == 1)
            {
                EXPECT_EQ(bDot ? clrDark : clrBack, canvas.At(x, y)) << nRow << "," << nCol;
            }
        }
    EXPECT_EQ(clrBack, canvas.At(xLast + nPitch, yLast)) << "nothing right of the last dot";
    QVTResourceImages()->LoadIni(_T("Nowhere.ini"));
}

}  // namespace
