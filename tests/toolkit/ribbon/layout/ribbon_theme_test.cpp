// The ribbon command-bar theme on ordinary bars: split buttons, menus (icon
// column, separators, popup glyphs, the popup's cut corners), edit spin
// buttons, combo boxes and status bars drawn from the scheme's images, each
// pixel compared with the image frame its state asks for, drawn alone over
// what lies beside it.
#include <afxext.h>

#include <cstdlib>
#include <memory>

#include "sondrel_gtest.h"
#include "tests/support/dib_canvas.h"
#include "tests/toolkit/ribbon/ribbon_suite.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/commandbars/statusbar/QVTStatusBar.h"
#include "toolkit/ribbon/paint/QVTRibbonPaintManager.h"
#include "toolkit/commandbars/statusbar/QVTStatusBarPane.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/foundation/image/QVTResourceImages.h"
#include "toolkit/ribbon/paint/QVTRibbonTheme.h"
#include "toolkit/themes/elements/QVTStatusBarPaintManager.h"

namespace {

const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kBack = RGB(10, 200, 30);

// The pixel at pt of the image's frame drawn keyed over clrBack into a box
// of the size.
COLORREF FramePixel(LPCTSTR lpszImage, int nFrame, int nFrames, const CRect& rcMargins, CSize sz, CPoint pt,
                    COLORREF clrBack)
{
    CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
    if (!pImage)
        return 0xFFFFFFFF;
    DibCanvas canvas(sz.cx, sz.cy, clrBack);
    pImage->DrawImageColorKeyed(&canvas.dc, CRect(CPoint(0, 0), sz), pImage->GetSource(nFrame, nFrames),
                                rcMargins, kKey);
    return canvas.At(pt.x, pt.y);
}

// The control drawn alone over the background colour.
std::unique_ptr<DibCanvas> DrawAlone(CQVTControl* pControl)
{
    const CRect rc = pControl->GetRect();
    auto canvas = std::make_unique<DibCanvas>(rc.right + 4, rc.bottom + 4, kBack);
    pControl->Draw(&canvas->dc);
    return canvas;
}

CQVTRibbonTheme* Theme()
{
    return DYNAMIC_DOWNCAST(CQVTRibbonTheme, QVTPaintManager());
}

}  // namespace

class RibbonThemeParts : public CRibbonHostSuite<RibbonThemeParts>
{
public:
    static void SetUpTestSuite() { CreateSharedHost(CRect(40, 420, 860, 760)); }

protected:
    void SetUp() override
    {
        ResetHost(780, 280);
        ASSERT_NE(nullptr, Theme());
        m_pTools = s_pHost->GetCommandBars()->Add(_T("Tools"), qvtBarBottom);
        ASSERT_NE(nullptr, m_pTools);
    }
    void Layout()
    {
        s_pHost->GetCommandBars()->RecalcFrameLayout();
        PumpHost(20);
    }

    CQVTCommandBar* m_pTools = nullptr;
};

TEST_F(RibbonThemeParts, SplitButtonsShowTheSplitImagesOfTheirState)
{
    CQVTControl* pSplit = m_pTools->GetControls()->AddByType(qvtControlSplitButtonPopup, 4401);
    ASSERT_NE(nullptr, pSplit);
    pSplit->SetCaption(_T("Split"));
    Layout();
    const CRect rc = pSplit->GetRect();
    ASSERT_GT(rc.Height(), 8);
    ASSERT_LT(rc.Height(), QVTDpiScaler()->ScaleY(33));
    const int nSplit = QVTPaintManager()->GetSplitDropDownWidth();
    const CRect rcCommand(rc.left, rc.top, rc.right - nSplit, rc.bottom);
    const CRect rcDropDown(rc.right - nSplit, rc.top, rc.right, rc.bottom);
    const CPoint ptCommand(2, 2);
    const CPoint ptDropDown(2, rcDropDown.Height() - 3);

    std::unique_ptr<DibCanvas> canvas = DrawAlone(pSplit);
    EXPECT_EQ(kBack, canvas->At(rcCommand.left + ptCommand.x, rcCommand.top + ptCommand.y));
    EXPECT_EQ(kBack, canvas->At(rcDropDown.left + ptDropDown.x, rcDropDown.top + ptDropDown.y));

    // Hovered: frame 0 of both parts; pressed: frame 1.
    struct State
    {
        BOOL bPressed;
        int nCommand;
        int nDropDown;
    };
    const State states[] = {{FALSE, 0, 0}, {TRUE, 1, 1}};
    m_pTools->SetSelected(pSplit->GetIndex());
    ASSERT_EQ(1, pSplit->GetSelected());
    for (const State& state : states)
    {
        SCOPED_TRACE(state.nDropDown);
        pSplit->SetPressed(state.bPressed);
        canvas = DrawAlone(pSplit);
        const COLORREF clrCommand = FramePixel(_T("TOOLBARBUTTONSSPLIT22"), state.nCommand, 4,
                                               CRect(2, 2, 2, 2), rcCommand.Size(), ptCommand, kBack);
        const COLORREF clrDropDown = FramePixel(_T("TOOLBARBUTTONSSPLITDROPDOWN22"), state.nDropDown, 4,
                                                CRect(2, 2, 2, 2), rcDropDown.Size(), ptDropDown, kBack);
        EXPECT_NE(kBack, clrCommand);
        EXPECT_EQ(clrCommand, canvas->At(rcCommand.left + ptCommand.x, rcCommand.top + ptCommand.y));
        EXPECT_EQ(clrDropDown, canvas->At(rcDropDown.left + ptDropDown.x, rcDropDown.top + ptDropDown.y));
    }
    pSplit->SetPressed(FALSE);
    m_pTools->SetSelected(-1);
}

TEST_F(RibbonThemeParts, MenusHaveTheSchemesColumnSeparatorGlyphAndCutCorners)
{
    CQVTPopupBar* pPopup = CQVTPopupBar::CreatePopupBar(s_pHost->GetCommandBars());
    ASSERT_NE(nullptr, pPopup);
    pPopup->SetShowGripper(TRUE);
    pPopup->GetControls()->AddByType(qvtControlButton, 4410)->SetCaption(_T("Open"));
    CQVTControl* pSecond = pPopup->GetControls()->AddByType(qvtControlButton, 4411);
    pSecond->SetCaption(_T("Close"));
    pSecond->SetBeginGroup(TRUE);
    CQVTControl* pMore = pPopup->GetControls()->AddByType(qvtControlPopup, 4412);
    ASSERT_NE(nullptr, pMore);
    pMore->SetCaption(_T("Recent files"));
    ASSERT_TRUE(pPopup->PopupAt(200, 150));
    PumpHost(20);
    CRect rcClient;
    pPopup->GetClientRect(&rcClient);
    auto canvas = std::make_unique<DibCanvas>(rcClient.Width(), rcClient.Height(), kBack);
    pPopup->DrawCommandBar(&canvas->dc, rcClient);
    CQVTRibbonTheme* pTheme = Theme();

    // The window's region leaves out its four corner pixels.
    CRect rcWindow;
    pPopup->GetWindowRect(&rcWindow);
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(pPopup->GetSafeHwnd(), hRegion));
    const int w = rcWindow.Width() - 1;
    const int h = rcWindow.Height() - 1;
    for (const CPoint& corner : {CPoint(0, 0), CPoint(w, 0), CPoint(0, h), CPoint(w, h)})
        EXPECT_FALSE(::PtInRegion(hRegion, corner.x, corner.y)) << corner.x << "," << corner.y;
    EXPECT_TRUE(::PtInRegion(hRegion, w / 2, 0));
    ::DeleteObject(hRegion);

    // The icon column in the gripper colour, edged by the shadow line and a
    // light one; items without icons leave it bare.
    const int nGutter = pTheme->GetPopupBarGutterWidth(pPopup);
    const CRect rcFirst = pPopup->GetControls()->GetAt(0)->GetRect();
    const int y = rcFirst.CenterPoint().y;
    int nEdge = -1;
    for (int x = rcFirst.left + nGutter + 4; x > rcFirst.left; --x)
        if (canvas->At(x, y) == RGB(245, 245, 245) && canvas->At(x - 1, y) == pTheme->m_clrMenuGripperShadow)
        {
            nEdge = x;
            break;
        }
    ASSERT_GT(nEdge, 0);
    EXPECT_EQ(COLORREF(pTheme->m_clrMenuGripper), canvas->At(nEdge - 4, y));

    // The separator before the second item: a line in the separator colour
    // and a light one under it, right of the column.
    const CRect rcSecond = pSecond->GetRect();
    const int xLine = (nEdge + rcSecond.right) / 2;
    const int yLine = rcSecond.top - QVTDpiScaler()->ScaleY(2);
    EXPECT_EQ(pTheme->m_clrMenuSeparator, canvas->At(xLine, yLine));
    EXPECT_EQ(RGB(245, 245, 245), canvas->At(xLine, yLine + 1));

    // The popup glyph, fourteen pixels from the item's right edge, centred;
    // its second frame while the item is disabled.
    const CRect rcMore = pMore->GetRect();
    const int nGlyphFrame = pMore->GetEnabled() ? 0 : 1;
    CQVTResourceImage* pGlyph = QVTResourceImages()->LoadFile(_T("MENUPOPUPGLYPH"));
    ASSERT_NE(nullptr, pGlyph);
    const CRect rcSource = pGlyph->GetSource(nGlyphFrame, 2);
    const CSize sz(QVTDpiScaler()->ScaleX(rcSource.Width()), QVTDpiScaler()->ScaleY(rcSource.Height()));
    const CPoint ptGlyph(rcMore.right - QVTDpiScaler()->ScaleX(14),
                         rcMore.top + (rcMore.Height() - sz.cy) / 2);
    const COLORREF clrBeside = canvas->At(ptGlyph.x - 2, ptGlyph.y);
    int nMatching = 0;
    int nInk = 0;
    for (int gy = 0; gy < sz.cy; ++gy)
        for (int gx = 0; gx < sz.cx; ++gx)
        {
            const COLORREF clr = FramePixel(_T("MENUPOPUPGLYPH"), nGlyphFrame, 2, CRect(0, 0, 0, 0), sz,
                                            CPoint(gx, gy), clrBeside);
            nInk += clr != clrBeside;
            nMatching += clr != clrBeside && canvas->At(ptGlyph.x + gx, ptGlyph.y + gy) == clr;
        }
    EXPECT_GT(nInk, 3);
    EXPECT_EQ(nInk, nMatching);
    pPopup->SetTrackingMode(FALSE);
    pPopup->InternalRelease();
}

TEST_F(RibbonThemeParts, ExpandedMenuGrippersTakeTheSchemesRibbonColours)
{
    // Hidden commands a menu shows after expanding sit on this gradient.
    CQVTRibbonTheme* pTheme = Theme();
    CQVTResourceImages* pImages = pTheme->GetResourceImages();
    ASSERT_TRUE(pImages && pImages->IsValid());
    const COLORREF clrLight =
        pImages->GetIniColor(_T("Ribbon"), _T("MenuPopupExpandedGripperLight"), 0xFFFFFFFF);
    const COLORREF clrDark =
        pImages->GetIniColor(_T("Ribbon"), _T("MenuPopupExpandedGripperDark"), 0xFFFFFFFF);
    EXPECT_NE(0xFFFFFFFFu, clrLight);
    EXPECT_NE(0xFFFFFFFFu, clrDark);
    EXPECT_EQ(clrLight, pTheme->m_grcMenuExpandedGripper.clrLight.GetStandardValue());
    EXPECT_EQ(clrDark, pTheme->m_grcMenuExpandedGripper.clrDark.GetStandardValue());
}

TEST_F(RibbonThemeParts, SpinButtonsShowTheFrameOfThePartUnderThePointer)
{
    CQVTControlEdit* pEdit =
        DYNAMIC_DOWNCAST(CQVTControlEdit, m_pTools->GetControls()->AddByType(qvtControlEdit, 4420));
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetWidth(120);
    pEdit->SetShowSpinButtons(TRUE);
    Layout();
    const CRect rcSpin = pEdit->GetSpinButtonsRect();
    ASSERT_GT(rcSpin.Height(), 6);
    const int nMiddle = rcSpin.top + rcSpin.Height() / 2;
    const CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, nMiddle);
    const CRect rcDown(rcSpin.left, nMiddle, rcSpin.right, rcSpin.bottom);
    const CPoint pt(1, 1);
    auto expectFrames = [&](int nUp, int nDown) {
        std::unique_ptr<DibCanvas> canvas = DrawAlone(pEdit);
        const COLORREF clrBack = canvas->At(rcSpin.left - 2, rcSpin.CenterPoint().y);
        EXPECT_EQ(FramePixel(_T("TOOLBARBUTTONSPINARROWSVERTICAL"), nUp, 10, CRect(2, 2, 2, 2), rcUp.Size(),
                             pt, clrBack),
                  canvas->At(rcUp.left + pt.x, rcUp.top + pt.y))
            << nUp;
        EXPECT_EQ(FramePixel(_T("TOOLBARBUTTONSPINARROWSVERTICAL"), nDown, 10, CRect(2, 2, 2, 2),
                             rcDown.Size(), pt, clrBack),
                  canvas->At(rcDown.left + pt.x, rcDown.top + pt.y))
            << nDown;
    };
    expectFrames(0, 5);
    m_pTools->SetSelected(pEdit->GetIndex());
    pEdit->OnSetSelected(CQVTControlEdit::partSpinUp);
    expectFrames(2, 6);
    pEdit->SetPressed(CQVTControlEdit::partSpinUp);
    expectFrames(3, 6);
    pEdit->SetPressed(0);
    pEdit->OnSetSelected(CQVTControlEdit::partSpinDown);
    expectFrames(1, 7);
    pEdit->SetPressed(CQVTControlEdit::partSpinDown);
    expectFrames(1, 8);
    pEdit->SetPressed(0);
    m_pTools->SetSelected(-1);
    pEdit->SetEnabled(FALSE);
    expectFrames(4, 9);
}

TEST_F(RibbonThemeParts, StatusBarsAreLightThenDarkBehindTheDivider)
{
    CQVTStatusBar statusBar;
    ASSERT_TRUE(statusBar.Create(s_pHost));
    const UINT indicators[] = {0, IDS_RIBBON_HOME, IDS_RIBBON_OPTIONS};
    ASSERT_TRUE(statusBar.SetIndicators(indicators, 3));
    statusBar.GetPane(0)->SetWidth(200);
    statusBar.GetPane(1)->SetWidth(80);
    statusBar.GetPane(2)->SetWidth(80);
    statusBar.GetPane(1)->SetDarkFace(TRUE);
    statusBar.GetPane(2)->SetDarkFace(TRUE);
    statusBar.MoveWindow(0, 200, 700, 24);
    CRect rcClient;
    statusBar.GetClientRect(&rcClient);
    ASSERT_GT(rcClient.Height(), 10);
    DibCanvas canvas(rcClient.Width(), rcClient.Height(), kBack);
    QVTPaintManager()->GetStatusBarPaintManager()->FillStatusBar(&canvas.dc, &statusBar);

    const int nDark = statusBar.GetPane(1)->GetRect().left;
    ASSERT_GT(nDark, 20);
    CQVTResourceImage* pDivider = QVTResourceImages()->LoadFile(_T("STATUSBARDEVIDER"));
    ASSERT_NE(nullptr, pDivider);
    const int cxDivider = QVTDpiScaler()->ScaleX(pDivider->GetSource(0, 1).Width());
    const int yMid = rcClient.Height() / 2;
    auto stretched = [&](LPCTSTR lpszImage, int cx, int x) {
        CQVTResourceImage* pImage = QVTResourceImages()->LoadFile(lpszImage);
        DibCanvas one(cx, rcClient.Height(), kBack);
        pImage->DrawImageStretched(&one.dc, CRect(0, 0, cx, rcClient.Height()), pImage->GetSource(0, 1));
        return one.At(x, yMid);
    };
    EXPECT_EQ(stretched(_T("STATUSBARLIGHT"), nDark, 10), canvas.At(10, yMid));
    EXPECT_EQ(stretched(_T("STATUSBARDEVIDER"), cxDivider, cxDivider / 2),
              canvas.At(nDark + cxDivider / 2, yMid));
    const int cxDark = rcClient.Width() - nDark - cxDivider;
    EXPECT_EQ(stretched(_T("STATUSBARDARK"), cxDark, cxDark - 10), canvas.At(rcClient.Width() - 10, yMid));
    EXPECT_NE(canvas.At(10, yMid), canvas.At(rcClient.Width() - 10, yMid));

    // The theme's status bar is at least 22 pixels high and keeps a pixel
    // below its panes.
    EXPECT_GE(statusBar.CalcFixedLayout(TRUE, TRUE).cy, QVTDpiScaler()->ScaleY(22));
    EXPECT_LE(statusBar.GetPane(1)->GetRect().bottom, rcClient.bottom - QVTDpiScaler()->ScaleY(1));
    statusBar.DestroyWindow();
}

TEST_F(RibbonThemeParts, ComboBoxesShowTheDropDownFrameOfTheirState)
{
    CQVTControlComboBox* pCombo =
        DYNAMIC_DOWNCAST(CQVTControlComboBox, m_pTools->GetControls()->AddByType(qvtControlComboBox, 4440));
    ASSERT_NE(nullptr, pCombo);
    pCombo->SetWidth(140);
    Layout();
    const CRect rc = pCombo->GetRect();
    const CRect rcButton(rc.right - pCombo->GetThumbWidth(), rc.top, rc.right, rc.bottom);
    ASSERT_GT(rcButton.Width(), 6);
    const CPoint pt(2, 2);
    auto expectFrame = [&](int nFrame) {
        std::unique_ptr<DibCanvas> canvas = DrawAlone(pCombo);
        const COLORREF clrField = QVTPaintManager()->GetControlEditBackColor(pCombo);
        EXPECT_EQ(FramePixel(_T("TOOLBARBUTTONSCOMBODROPDOWN"), nFrame, 5, CRect(2, 2, 2, 2), rcButton.Size(),
                             pt, clrField),
                  canvas->At(rcButton.left + pt.x, rcButton.top + pt.y))
            << nFrame;
        // The field in the edit colour, framed in the theme's edit border.
        EXPECT_EQ(clrField, canvas->At(rc.left + pCombo->GetLabelWidth() + 2, rc.CenterPoint().y + 3));
    };
    expectFrame(0);
    m_pTools->SetSelected(pCombo->GetIndex());
    ASSERT_EQ(1, pCombo->GetSelected());
    // A drop-down list has no edit part: the whole button lights.
    pCombo->SetDropDownListStyle(FALSE);
    expectFrame(2);
    pCombo->SetDropDownListStyle(TRUE);
    expectFrame(pCombo->GetFocused() ? 2 : 1);
    m_pTools->SetSelected(-1);
    pCombo->SetEnabled(FALSE);
    expectFrame(4);
}

TEST_F(RibbonThemeParts, ResizeGrippersMarkTheCornerOrTheMiddle)
{
    const int cx = 200;
    const int cy = QVTDpiScaler()->ScaleY(11);
    CQVTResourceImage* pFace = QVTResourceImages()->LoadFile(_T("POPUPBARRESIZEGRIPPERFACE"));
    ASSERT_NE(nullptr, pFace);
    DibCanvas face(cx, cy, kBack);
    pFace->DrawImage(&face.dc, CRect(0, 0, cx, cy), pFace->GetSource(0, 1), CRect(1, 1, 1, 1));
    // Where the gripper differs from its bare face: the mark.
    auto markBounds = [&](int nFlags) {
        DibCanvas canvas(cx, cy, kBack);
        QVTPaintManager()->DrawPopupResizeGripper(&canvas.dc, CRect(0, 0, cx, cy), nFlags);
        CRect bounds(cx, cy, 0, 0);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (canvas.At(x, y) != face.At(x, y))
                    bounds.UnionRect(bounds.IsRectEmpty() ? CRect(x, y, x + 1, y + 1) : bounds,
                                     CRect(x, y, x + 1, y + 1));
        return bounds;
    };
    const CRect rcCorner = markBounds(0);
    ASSERT_FALSE(rcCorner.IsRectEmpty());
    EXPECT_GT(rcCorner.left, cx / 2);
    EXPECT_LE(cx - rcCorner.right, 1);
    const CRect rcMiddle = markBounds(2);
    ASSERT_FALSE(rcMiddle.IsRectEmpty());
    EXPECT_LE(std::abs(rcMiddle.CenterPoint().x - cx / 2), QVTDpiScaler()->ScaleX(2));
}

TEST_F(RibbonThemeParts, GroupedButtonsOfAGroupDrawTheRibbonsJoinedFaces)
{
    CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(0)->AddGroup(_T("Grouped"), 4402);
    pGroup->SetControlsGrouping(TRUE);
    CQVTControl* pFirst = pGroup->Add(qvtControlButton, ID_RIBBON_PLAY);
    ASSERT_NE(nullptr, pFirst);
    pGroup->Add(qvtControlButton, ID_RIBBON_NEXT);
    Layout();
    const CRect rc = pFirst->GetRect();
    ASSERT_FALSE(rc.IsRectEmpty());
    // The entry the theme draws for the button is the ribbon's left-end
    // face, not the plain button rectangle.
    CQVTPaintManager* pTheme = m_pRibbon->GetPaintManager();
    DibCanvas entry(rc.right, rc.bottom, kBack);
    DibCanvas face(rc.right, rc.bottom, kBack);
    pTheme->DrawControlEntry(&entry.dc, pFirst);
    ASSERT_TRUE(pTheme->GetRibbonPaintManager()->DrawRibbonGroupControlButton(&face.dc, pFirst));
    int nDrawn = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            ASSERT_EQ(face.At(x, y), entry.At(x, y)) << x << "," << y;
            nDrawn += face.At(x, y) != kBack;
        }
    EXPECT_GT(nDrawn, 0);
}
