// The ribbon as the screen shows it: pixels read back where the layout put
// the tab row, the selected tab, a group's caption and separator and the
// edges of a minimized ribbon, in the colours and images of the scheme,
// and in another scheme's once the INI changes under the same bar.
#include <afxext.h>

#include <memory>

#include "sondrel_gtest.h"
#include "tests/common/screen_test_support.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"
#include "toolkit/ribbon/tabs/QVTRibbonControlTab.h"
#include "toolkit/tabmanager/paint/QVTTabPaintManager.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Ini(LPCTSTR lpszKey)
{
    return QVTResourceImages()->GetIniColor(_T("Ribbon"), lpszKey, 0xFFFFFFFF);
}

// The pixel the image's frame puts at (x, y) of rcDest, drawn alone over a
// background.
COLORREF ImagePixel(LPCTSTR lpszImage, int nFrame, int nFrames, const CRect& rcMargins, CSize szDest,
                    CPoint pt, COLORREF clrBack)
{
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
    if (!pImage)
        return 0xFFFFFFFF;
    DibCanvas canvas(szDest.cx, szDest.cy, clrBack);
    pImage->DrawImageColorKeyed(&canvas.dc, CRect(CPoint(0, 0), szDest), pImage->GetSource(nFrame, nFrames),
                                rcMargins, kMagenta);
    return canvas.At(pt.x, pt.y);
}

}  // namespace

class RibbonPaint : public CRibbonHostSuite<RibbonPaint>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(60, 80, 900, 420)); }

protected:
    void SetUp() override { ResetHost(820, 300); }
};

TEST_F(RibbonPaint, FaceSelectedTabCaptionAndSeparatorComeFromTheScheme)
{
    for (LPCTSTR lpszScheme : {_T("OFFICE2007BLUE_INI"), _T("OFFICE2007BLACK_INI")})
    {
        SCOPED_TRACE(CStringA(lpszScheme).GetString());
        // Another scheme under the same bar: the theme takes the new INI.
        QVTPaintManager()->SetImageHandle(::GetModuleHandle(nullptr), lpszScheme);
        s_pHost->GetCommandBars()->RecalcFrameLayout();
        CStringArray missing;
        QVTResourceImages()->GetMissingImages(missing);
        std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pRibbon->GetSafeHwnd());

        const COLORREF clrFace = Ini(_T("RibbonFace"));
        const CRect rcRow = m_pRibbon->GetControlTab()->GetRect();
        const CRect rcLastTab = m_pRibbon->GetTab(2)->GetRect();
        ASSERT_LT(rcLastTab.right + 10, rcRow.right);
        EXPECT_EQ(clrFace, canvas->At(rcRow.right - 5, rcRow.CenterPoint().y));

        // The selected tab shows frame 3 of the tab image.
        CRect rcFace = m_pRibbon->GetTab(0)->GetRect();
        CQVTTabPaintManager::DeflateRectByPosition(rcFace, CRect(0, 1, -1, -1), 0);
        const CPoint ptSample(2, rcFace.Height() / 2);
        const COLORREF clrTab =
            ImagePixel(_T("RIBBONTAB"), 3, 6, CRect(5, 5, 5, 5), rcFace.Size(), ptSample, clrFace);
        EXPECT_EQ(clrTab, canvas->At(rcFace.left + ptSample.x, rcFace.top + ptSample.y));
        EXPECT_NE(clrFace, clrTab);

        // The group caption's text and the separator at the group's edge.
        CQVTRibbonGroup* pGroup = s_pHost->FindGroup(4002);
        const CRect rcCaption = pGroup->GetCaptionRect();
        EXPECT_GT(screentest::CountIn(*canvas, rcCaption, Ini(_T("GroupCaptionText"))), 0);
        const CRect rcGroup = pGroup->GetRect();
        const CRect rcSeparator(
            rcGroup.right - QVTDpiScaler()->ScaleX(1), rcGroup.top + QVTDpiScaler()->ScaleY(2),
            rcGroup.right + QVTDpiScaler()->ScaleX(2), rcGroup.bottom - QVTDpiScaler()->ScaleY(5));
        const CPoint ptMid(1, rcSeparator.Height() / 2);
        const COLORREF clrSeparator = ImagePixel(_T("RIBBONGROUPSEPARATOR"), 0, 1, CRect(0, 0, 0, 0),
                                                 rcSeparator.Size(), ptMid, kMagenta);
        if (clrSeparator != kMagenta)
        {
            EXPECT_EQ(clrSeparator, canvas->At(rcSeparator.left + ptMid.x, rcSeparator.top + ptMid.y));
        }

        // Nothing the ribbon drew asked for an image the scheme lacks.
        CStringArray missingAfter;
        QVTResourceImages()->GetMissingImages(missingAfter);
        for (INT_PTR i = 0; i < missingAfter.GetSize(); ++i)
            ADD_FAILURE() << CStringA(missingAfter[i]).GetString();
    }
}

TEST_F(RibbonPaint, AMinimizedRibbonClosesWithItsTwoEdgeLines)
{
    m_pRibbon->SetRibbonMinimized(TRUE);
    s_pHost->GetCommandBars()->RecalcFrameLayout();
    std::unique_ptr<DibCanvas> canvas = screentest::Capture(m_pRibbon->GetSafeHwnd());
    CRect rcClient;
    m_pRibbon->GetClientRect(&rcClient);
    const int x = rcClient.right - 20;
    EXPECT_EQ(Ini(_T("MinimizedFrameEdgeShadow")),
              canvas->At(x, rcClient.bottom - QVTDpiScaler()->ScaleY(2)));
    EXPECT_EQ(Ini(_T("MinimizedFrameEdgeHighLight")),
              canvas->At(x, rcClient.bottom - QVTDpiScaler()->ScaleY(1)));
}

TEST(RibbonResourceTheme, AFileButtonFrameCountOfZeroOrLessGivesThree)
{
    CQVTPaintManager::SetTheme(qvtThemeRibbon);
    CQVTPaintManager* pTheme = QVTPaintManager();
    CQVTRibbonPaintManager* pRibbon = pTheme->GetRibbonPaintManager();
    ASSERT_NE(nullptr, pRibbon);
    pTheme->SetImageHandle(::GetModuleHandle(nullptr), _T("NOFILEBUTTONFRAMES_INI"));
    ASSERT_TRUE(QVTResourceImages()->IsValid());
    EXPECT_EQ(RGB(10, 20, 30), pRibbon->m_clrRibbonFace);
    EXPECT_EQ(3, pRibbon->m_nFileButtonImageCount);
    EXPECT_EQ(0, pRibbon->GetGroupSpacing());
    pTheme->SetImageHandle(::GetModuleHandle(nullptr), _T("SEVENFILEBUTTONFRAMES_INI"));
    EXPECT_EQ(7, pRibbon->m_nFileButtonImageCount);
    // Keys the INI lacks take their defaults.
    EXPECT_EQ(QVTDpiScaler()->ScaleX(2), pRibbon->GetGroupSpacing());
    EXPECT_EQ(pRibbon->m_clrRibbonFace, pRibbon->m_clrRibbonInactiveFace);
    pTheme->SetImageHandle(::GetModuleHandle(nullptr), _T("OFFICE2007BLUE_INI"));
}

TEST_F(RibbonPaint, ToolbarsAndPopupsOfTheRibbonThemeHaveTheSchemesFacesAndCutCorners)
{
    CQVTCommandBar* pBar = s_pHost->GetCommandBars()->Add(_T("Tools"), qvtBarBottom);
    ASSERT_NE(nullptr, pBar);
    CQVTControl* pTool = pBar->GetControls()->AddByType(qvtControlButton, 4400);
    pTool->SetCaption(_T("Tool"));
    s_pHost->GetCommandBars()->RecalcFrameLayout();
    PumpHost(20);
    std::unique_ptr<DibCanvas> canvas = screentest::Capture(pBar->GetSafeHwnd());
    CRect rc;
    pBar->GetClientRect(&rc);
    ASSERT_GT(rc.Height(), 10);
    // Above the idle button: the expand button at the end has a face of its own.
    const CPoint pt(pTool->GetRect().CenterPoint().x, 1);
    CQVTResourceImage* pFace = QVTResourceImages()->LoadFile(_T("TOOLBARFACEHORIZONTAL"));
    ASSERT_NE(nullptr, pFace);
    DibCanvas face(rc.Width(), rc.Height(), kMagenta);
    pFace->DrawImage(&face.dc, rc, pFace->GetSource(0, 1), CRect(5, 5, 5, 5));
    EXPECT_EQ(face.At(pt.x, pt.y), canvas->At(pt.x, pt.y));

    // A popup's region leaves out exactly its four corner pixels.
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, AfxRegisterWndClass(0), _T("Tip"),
                               WS_POPUP, CRect(0, 0, 37, 19), nullptr, 0));
    CQVTRibbonTheme::SetPopupRegion(&popup);
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(popup.GetSafeHwnd(), hRegion));
    const int cx = QVTDpiScaler()->ScaleX(1);
    const int cy = QVTDpiScaler()->ScaleY(1);
    for (const CPoint& corner : {CPoint(0, 0), CPoint(36, 0), CPoint(0, 18), CPoint(36, 18)})
        EXPECT_FALSE(::PtInRegion(hRegion, corner.x, corner.y)) << corner.x << "," << corner.y;
    for (const CPoint& inside : {CPoint(cx, 0), CPoint(0, cy), CPoint(36 - cx, 18), CPoint(18, 9)})
        EXPECT_TRUE(::PtInRegion(hRegion, inside.x, inside.y)) << inside.x << "," << inside.y;
    ::DeleteObject(hRegion);
    popup.DestroyWindow();
}

TEST(RibbonResourceTheme, EverySchemeHoldsEveryImageTheRibbonDraws)
{
    const LPCTSTR kImages[] = {_T("RIBBONGROUPCLIENT"),
                               _T("RIBBONGROUPCAPTION"),
                               _T("RIBBONGROUPSEPARATOR"),
                               _T("RIBBONGROUPBUTTON"),
                               _T("RIBBONGROUPBUTTONICON"),
                               _T("RIBBONGROUPQUICKACCESS"),
                               _T("RIBBONOPTIONBUTTON"),
                               _T("RIBBONTAB"),
                               _T("RIBBONTABSEPARATOR"),
                               _T("RIBBONGROUPS"),
                               _T("RIBBONGROUPPOPUPBACKGROUND"),
                               _T("RIBBONTABBACKGROUNDDWM"),
                               _T("RIBBONQUICKACCESSFRAME"),
                               _T("RIBBONQUICKACCESSAREA"),
                               _T("RIBBONQUICKACCESSAREADWM"),
                               _T("RIBBONQUICKACCESSBUTTON"),
                               _T("RIBBONQUICKACCESSMORE"),
                               _T("RIBBONGROUPSSCROLLLEFT"),
                               _T("RIBBONGROUPSSCROLLRIGHT"),
                               _T("RIBBONGROUPSSCROLLLEFTGLYPH"),
                               _T("RIBBONGROUPSSCROLLRIGHTGLYPH"),
                               _T("RIBBONSYSTEMMENU"),
                               _T("RIBBONSYSTEMMENUBUTTON"),
                               _T("FRAMETOPLEFT"),
                               _T("FRAMETOPCENTER"),
                               _T("FRAMETOPRIGHT"),
                               _T("FRAMESYSTEMBUTTON"),
                               _T("FRAMESYSTEMBUTTON52"),
                               _T("FILEBUTTON"),
                               _T("SYSTEMICONSEPARATOR"),
                               _T("MOREPOPUPBARFRAME"),
                               _T("POPUPBARFRAME"),
                               _T("CONTEXTTABSEPARATOR"),
                               _T("CONTEXTTABGROUPCLIENT"),
                               _T("CONTEXTTABGROUPCAPTION"),
                               _T("TOOLBARBUTTONSSPECIALSINGLE"),
                               _T("TOOLBARBUTTONSSPECIALLEFT"),
                               _T("TOOLBARBUTTONSSPECIALCENTER"),
                               _T("TOOLBARBUTTONSSPECIALRIGHT"),
                               _T("TOOLBARBUTTONS22"),
                               _T("TOOLBARBUTTONS50"),
                               _T("MENUCHECKEDITEM"),
                               _T("MENUSELECTEDITEM22"),
                               _T("MENUSELECTEDITEM54"),
                               _T("MENUSELECTEDDISABLEDITEM22"),
                               _T("MENUSELECTEDDISABLEDITEM54"),
                               _T("TOOLBARBUTTONCHECKBOX"),
                               _T("TOOLBARBUTTONRADIOBUTTON"),
                               _T("MENUCHECKEDITEMMARK"),
                               _T("TOOLBARFACEHORIZONTAL"),
                               _T("TOOLBARFACEVERTICAL"),
                               _T("TOOLTIPFRAME"),
                               _T("TOOLBARBUTTONSSPLIT22"),
                               _T("TOOLBARBUTTONSSPLIT50"),
                               _T("TOOLBARBUTTONSSPLITDROPDOWN22"),
                               _T("TOOLBARBUTTONSSPLITDROPDOWN50"),
                               _T("TOOLBARBUTTONSSPECIALSPLITLEFT"),
                               _T("TOOLBARBUTTONSSPECIALSPLITCENTER"),
                               _T("TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER"),
                               _T("TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT"),
                               _T("MENUSPLITITEM"),
                               _T("MENUSPLITDROPDOWN"),
                               _T("MENUPOPUPGLYPH"),
                               _T("TOOLBARBUTTONSCOMBODROPDOWN"),
                               _T("TOOLBARBUTTONSPINARROWSVERTICAL"),
                               _T("TOOLBARBUTTONSPINARROWGLYPHS"),
                               _T("CONTROLGALLERYSCROLLARROWGLYPHS"),
                               _T("POPUPBARRESIZEGRIPPERFACE"),
                               _T("POPUPBARRESIZEGRIPPERWIDTH"),
                               _T("POPUPBARRESIZEGRIPPERHEIGHT"),
                               _T("TOOLBAREXPANDBUTTONVERTICAL"),
                               _T("TOOLBAREXPANDBUTTONHORIZONTAL"),
                               _T("STATUSBARLIGHT"),
                               _T("STATUSBARDARK"),
                               _T("STATUSBARDEVIDER"),
                               _T("STATUSBARSEPARATOR"),
                               _T("STATUSBARSWITCHES"),
                               _T("STATUSBARGRIPPER")};
    const LPCTSTR kContextImages[] = {_T("CONTEXTTAB%s"),
                                      _T("CONTEXTTAB%sHEADER"),
                                      _T("CONTEXTTAB%sBACKGROUND"),
                                      _T("CONTEXTTAB%sCLIENT"),
                                      _T("CONTEXTTAB%sGROUPCLIENT"),
                                      _T("CONTEXTTAB%sGROUPBUTTON"),
                                      _T("CONTEXTTAB%sGROUPPOPUPBACKGROUND")};
    CQVTPaintManager::SetTheme(qvtThemeRibbon);
    for (LPCTSTR lpszScheme : {_T("OFFICE2007BLUE_INI"), _T("OFFICE2007BLACK_INI"), _T("OFFICE2007AQUA_INI"),
                               _T("OFFICE2007SILVER_INI")})
    {
        SCOPED_TRACE(CStringA(lpszScheme).GetString());
        QVTPaintManager()->SetImageHandle(::GetModuleHandle(nullptr), lpszScheme);
        ASSERT_TRUE(QVTResourceImages()->IsValid());
        for (LPCTSTR lpszImage : kImages)
            EXPECT_NE(nullptr, QVTResourceImages()->LoadFile(lpszImage)) << CStringA(lpszImage).GetString();
        for (int nColor = 1; nColor <= 7; ++nColor)
        {
            for (LPCTSTR lpszFormat : kContextImages)
            {
                CString strImage;
                strImage.Format(lpszFormat, QVTRibbonContextColorName(nColor));
                EXPECT_NE(nullptr, QVTResourceImages()->LoadFile(strImage)) << CStringA(strImage).GetString();
            }
        }
    }
    QVTPaintManager()->SetImageHandle(::GetModuleHandle(nullptr), _T("OFFICE2007BLUE_INI"));
}

TEST_F(RibbonPaint, WithoutAnImageSetNothingIsDrawnAndOnlyTheOptionButtonHasASize)
{
    CQVTRibbonPaintManager* pRibbon = m_pRibbon->GetRibbonPaintManager();
    CQVTRibbonGroup* pFiles = s_pHost->FindGroup(4003);
    CClientDC dc(m_pRibbon);
    EXPECT_NE(CSize(0, 0), pRibbon->DrawControlGroupPopup(&dc, pFiles->GetControlGroupPopup(), FALSE));
    QVTResourceImages()->LoadIni(_T("NO_SUCH_SCHEME_INI"));
    ASSERT_FALSE(QVTResourceImages()->IsValid());
    EXPECT_EQ(CSize(0, 0), pRibbon->DrawControlGroupPopup(&dc, pFiles->GetControlGroupPopup(), FALSE));
    EXPECT_EQ(CSize(QVTDpiScaler()->ScaleX(15), QVTDpiScaler()->ScaleY(14)),
              pRibbon->DrawControlGroupOption(&dc, pFiles->GetControlGroupOption(), FALSE));
    EXPECT_EQ(CSize(0, 0), pRibbon->GetOptionButtonSize());
    // Drawing leaves every pixel alone.
    DibCanvas canvas(300, 200, RGB(1, 2, 3));
    pRibbon->DrawGroup(&canvas.dc, pFiles);
    pRibbon->FillGroupsArea(&canvas.dc, m_pRibbon->GetCurrentTab(), CRect(0, 0, 300, 200));
    EXPECT_EQ(300 * 200, canvas.CountOf(RGB(1, 2, 3)));
    QVTPaintManager()->SetImageHandle(::GetModuleHandle(nullptr), _T("OFFICE2007BLUE_INI"));
}
