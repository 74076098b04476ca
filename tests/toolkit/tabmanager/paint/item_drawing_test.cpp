// One item measured and drawn: fonts and vertical text in both directions,
// middle ellipses kept within the caption, lengths by layout, the focus
// rectangle, images turned on side strips, and the navigate buttons' glyphs.
#include <afxwin.h>

#include <set>

#include "dib_canvas.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/tabmanager/tab_test_host.h"
#include "toolkit/foundation/draw/QVTFontDC.h"
#include "toolkit/tabmanager/colorsets/QVTTabPaintManagerColorSet.h"
#include "tests/toolkit/tabmanager/appearances/painted_strip.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kInk = RGB(0, 0, 255);

// Pixels the text colour reached, anti-aliasing included.
std::set<std::pair<int, int>> Ink(const DibCanvas& canvas, const CRect& rc)
{
    std::set<std::pair<int, int>> ink;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            const COLORREF c = canvas.At(x, y);
            if (GetBValue(c) > 150 && GetRValue(c) < 130 && GetGValue(c) < 130)
                ink.insert({x, y});
        }
    return ink;
}

CRect Bounds(const std::set<std::pair<int, int>>& ink)
{
    CRect rc(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (const auto& p : ink)
    {
        rc.left = std::min<LONG>(rc.left, p.first);
        rc.top = std::min<LONG>(rc.top, p.second);
        rc.right = std::max<LONG>(rc.right, p.first + 1);
        rc.bottom = std::max<LONG>(rc.bottom, p.second + 1);
    }
    return rc;
}

// A strip at a position whose items are white with blue text.
struct InkStrip
{
    InkStrip(int nPosition, BOOL bDownward)
    {
        CQVTTabPaintManager* p = host.m_pPaintManager;
        p->m_bVerticalTextTopToBottom = bDownward;
        p->SetColor(qvtTabColorDefault);
        p->SetPosition(nPosition);
        p->RefreshMetrics();
        host.SetLayoutRect(CRect(0, 0, 300, 300));
        host.AddItems({_T("Caption of a tab"), _T("Other")});
        host.SetCurSel(0);
        Paint();
    }
    void Paint()
    {
        CQVTTabPaintManagerColorSet* pColors = host.m_pPaintManager->GetColorSet();
        for (CQVTPaintManagerColor* pColor :
             {&pColors->m_clrButton, &pColors->m_clrButtonSelected, &pColors->m_clrClientFace})
            pColor->SetCustomValue(kPaper);
        pColors->m_grcHeaderFace.clrLight.SetCustomValue(kPaper);
        pColors->m_grcHeaderFace.clrDark.SetCustomValue(kPaper);
        pColors->m_clrText.SetCustomValue(kInk);
        pColors->m_clrTextSelected.SetCustomValue(kInk);
        canvas.Clear(kPaper);
        host.PaintTo(&canvas.dc, CRect(0, 0, 300, 300));
    }
    CTabTestHost host;
    DibCanvas canvas{300, 300};
};

}  // namespace

TEST(TabItemDrawing, VerticalTextLandsInTheItemInBothDirections)
{
    InkStrip down(qvtTabPositionLeft, TRUE), up(qvtTabPositionLeft, FALSE);
    const CRect rcItem = down.host.GetItem(0)->GetRect();
    ASSERT_EQ(rcItem, up.host.GetItem(0)->GetRect());
    const auto inkDown = Ink(down.canvas, rcItem), inkUp = Ink(up.canvas, rcItem);
    ASSERT_GT(inkDown.size(), 40u);
    ASSERT_GT(inkUp.size(), 40u);
    // Nothing of the text outside its item, and the line runs down the item.
    EXPECT_EQ(inkDown.size(), Ink(down.canvas, CRect(0, 0, 300, 300)).size() -
                                  Ink(down.canvas, down.host.GetItem(1)->GetRect()).size());
    const CRect rcDown = Bounds(inkDown), rcUp = Bounds(inkUp);
    EXPECT_GT(rcDown.Height(), 3 * rcDown.Width());
    EXPECT_GT(rcUp.Height(), 3 * rcUp.Width());
    EXPECT_LE(std::abs(rcDown.CenterPoint().x - rcItem.CenterPoint().x), 3);
    EXPECT_LE(std::abs(rcUp.CenterPoint().x - rcItem.CenterPoint().x), 3);
    // Upward text is downward text turned half round.
    int nTurned = 0, nSame = 0;
    for (const auto& p : inkDown)
    {
        nTurned +=
            inkUp.count({rcUp.left + rcDown.right - 1 - p.first, rcUp.top + rcDown.bottom - 1 - p.second});
        nSame += inkUp.count(p);
    }
    EXPECT_GT(nTurned, static_cast<int>(inkDown.size()) / 2);
    EXPECT_GT(nTurned, nSame + static_cast<int>(inkDown.size()) / 10);

    // On top strips the same caption lies across.
    InkStrip across(qvtTabPositionTop, TRUE);
    const CRect rcAcross = Bounds(Ink(across.canvas, across.host.GetItem(0)->GetRect()));
    EXPECT_GT(rcAcross.Width(), 3 * rcAcross.Height());
}

TEST(TabItemDrawing, FontsVerticalPairAndBoldSelection)
{
    CTabTestHost host;
    CQVTTabPaintManager* p = host.m_pPaintManager;
    LOGFONT lf = {};
    lf.lfHeight = -8;
    lstrcpyW(lf.lfFaceName, _T("Tahoma"));
    p->SetFontIndirect(&lf);
    LOGFONT got = {};
    p->GetNormalFont().GetLogFont(&got);
    EXPECT_EQ(-8, got.lfHeight);
    EXPECT_EQ(FW_NORMAL, got.lfWeight);
    p->GetVerticalFont().GetLogFont(&got);
    EXPECT_EQ(-11, got.lfHeight);
    EXPECT_EQ(2700, got.lfEscapement);
    EXPECT_EQ(900, got.lfOrientation);
    p->GetBoldFont().GetLogFont(&got);
    EXPECT_EQ(FW_BOLD, got.lfWeight);
    EXPECT_EQ(-8, got.lfHeight);

    p->m_bVerticalTextTopToBottom = FALSE;
    p->m_bBoldNormal = TRUE;
    lf.lfHeight = -14;
    p->SetFontIndirect(&lf);
    p->GetVerticalFont().GetLogFont(&got);
    EXPECT_EQ(900, got.lfEscapement);
    EXPECT_EQ(-14, got.lfHeight);
    EXPECT_EQ(FW_BOLD, got.lfWeight);

    // The bold pair only for the selected item of an active strip.
    p->m_bBoldNormal = FALSE;
    p->m_bBoldSelected = TRUE;
    p->SetFontIndirect(&lf);
    host.AddItems({_T("a"), _T("b")});
    host.SetCurSel(0);
    EXPECT_EQ(&p->GetBoldFont(), p->GetItemFont(&host, host.GetItem(0)));
    EXPECT_EQ(&p->GetNormalFont(), p->GetItemFont(&host, host.GetItem(1)));
    host.SetActive(FALSE);
    EXPECT_EQ(&p->GetNormalFont(), p->GetItemFont(&host, host.GetItem(0)));
    p->SetPosition(qvtTabPositionRight);
    EXPECT_EQ(&p->GetVerticalFont(), p->GetItemFont(&host, host.GetItem(0)));
    // Rotated strips turn it the other way.
    p->SetLayout(qvtTabLayoutRotated);
    EXPECT_EQ(&p->GetNormalFont(), p->GetItemFont(&host, host.GetItem(0)));
}

TEST(TabItemDrawing, MiddleEllipsisKeepsBothEndsWithinTheCaption)
{
    DibCanvas canvas(400, 40);
    CQVTFont font;
    font.CreatePointFont(90, _T("Tahoma"));
    CQVTFontDC fontDC(&canvas.dc, &font);
    const CString strText = _T("abcdefghijklmnopqrstuvwxyz0123456789");
    const int nFull = canvas.dc.GetTextExtent(strText).cx;
    EXPECT_TRUE(CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strText, nFull, DT_NOPREFIX) ==
                strText);
    for (int nWidth : {nFull - 1, nFull / 2, 60, 30})
    {
        const CString strShort =
            CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strText, nWidth, DT_NOPREFIX);
        const int nDots = strShort.Find(_T("..."));
        ASSERT_GE(nDots, 0) << nWidth;
        const CString strLeft = strShort.Left(nDots), strRight = strShort.Mid(nDots + 3);
        EXPECT_TRUE(strText.Left(strLeft.GetLength()) == strLeft);
        EXPECT_TRUE(strText.Right(strRight.GetLength()) == strRight);
        EXPECT_LE(strLeft.GetLength() + strRight.GetLength(), strText.GetLength());
        EXPECT_LE(strLeft.GetLength() - strRight.GetLength(), 1);
        EXPECT_LE(canvas.dc.GetTextExtent(strShort).cx, nWidth);
    }
    // Narrower than the dots: the dots alone.
    EXPECT_TRUE(CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strText, 5, DT_NOPREFIX) ==
                _T("..."));
    EXPECT_TRUE(CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strText, -40, DT_NOPREFIX) ==
                _T("..."));
    // Prefixes are measured stripped unless the format keeps them.
    const CString strAmpersands = _T("&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&");
    const CString strStripped = CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strAmpersands, 40, 0);
    EXPECT_LE(strStripped.GetLength(), 20 + 3);
    // A caption of marks that take no room cannot push the count past its end.
    CString strZero(_T('W'));
    for (int i = 0; i < 300; ++i)
        strZero += static_cast<TCHAR>(0x200B);
    const CString strKept = CQVTTabPaintManager::MakeMiddleEllipsisText(&canvas.dc, strZero, 4, DT_NOPREFIX);
    EXPECT_LE(strKept.GetLength(), strZero.GetLength() + 3);

    // Paths are shortened by the system's path ellipsis, inside the rectangle.
    canvas.Clear(kPaper);
    canvas.dc.SetTextColor(kInk);
    canvas.dc.SetBkMode(TRANSPARENT);
    const CRect rc(10, 5, 120, 35);
    CQVTTabPaintManager::DrawTextMiddleEllipsis(&canvas.dc, _T("C:\\some\\long\\folder\\name\\file.wav"), rc,
                                                DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    const auto ink = Ink(canvas, CRect(0, 0, 400, 40));
    ASSERT_FALSE(ink.empty());
    EXPECT_TRUE(rc.PtInRect(Bounds(ink).TopLeft()));
    EXPECT_LE(Bounds(ink).right, rc.right);
}

TEST(TabItemDrawing, LengthsByLayout)
{
    CTabTestHost host;
    CQVTTabPaintManager* p = host.m_pPaintManager;
    host.AddItems({_T("A"), _T("A much wider caption"), _T("Mid caption")});
    host.GetItem(0)->SetImageIndex(0);
    const int nSmall = host.GetItem(0)->GetContentLength();
    const int nWide = host.GetItem(1)->GetContentLength();
    EXPECT_GT(nWide, nSmall);

    // Compressed: the selected item as long as the widest caption, the
    // others their image and 8.
    p->SetLayout(qvtTabLayoutCompressed);
    host.SetCurSel(0);
    EXPECT_EQ(nWide + 16, host.GetItem(0)->GetContentLength());
    EXPECT_EQ(16 + 8, host.GetItem(1)->GetContentLength());
    EXPECT_EQ(16 + 8, host.GetItem(2)->GetContentLength());
    // Fixed: every item the fixed length; minimum and maximum clamp.
    p->SetLayout(qvtTabLayoutFixed);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(70, host.GetItem(i)->GetContentLength());
    p->SetLayout(qvtTabLayoutAutoSize);
    p->m_nMinTabWidth = nWide + 5;
    host.Reposition();
    EXPECT_EQ(nWide + 5, host.GetItem(0)->GetContentLength());
    p->m_nMinTabWidth = 0;
    p->m_nMaxTabWidth = nSmall;
    host.Reposition();
    EXPECT_EQ(nSmall, host.GetItem(1)->GetContentLength());
    p->m_nMaxTabWidth = 0;
    // Extra length goes to every visible item, not to its content.
    p->m_nItemExtraLength = 21;
    host.Reposition();
    EXPECT_EQ(host.GetItem(2)->GetContentLength() + 21, host.GetItem(2)->GetButtonLength());
    host.GetItem(2)->SetVisible(FALSE);
    EXPECT_EQ(0, host.GetItem(2)->GetButtonLength());
}

TEST(TabItemDrawing, FocusRectangleOnlyWhenTheStripHasTheFocus)
{
    InkStrip strip(qvtTabPositionTop, TRUE);
    const CRect rc = strip.host.GetItem(0)->GetRect();
    const CPoint pt(rc.left + 3, rc.CenterPoint().y);
    const COLORREF clrUnfocused = strip.canvas.At(pt.x, pt.y);
    strip.host.m_bFocused = TRUE;
    strip.Paint();
    int nChanged = 0;
    for (int y = rc.top + 3; y < rc.bottom - 3; ++y)
        nChanged += strip.canvas.At(rc.left + 3, y) != clrUnfocused;
    EXPECT_GT(nChanged, 2);
    strip.host.m_pPaintManager->m_bDrawFocusRect = FALSE;
    strip.Paint();
    for (int y = rc.top + 3; y < rc.bottom - 3; ++y)
        EXPECT_EQ(Hex(kPaper), Hex(strip.canvas.At(rc.left + 3, y)));
}

TEST(TabItemDrawing, SquareImagesTurnOnSideStripsWhenAsked)
{
    // A 16x16 image, red in its top-left quarter, green elsewhere.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 32, BI_RGB};
    DWORD* pBits = nullptr;
    HBITMAP hPicture =
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pBits), nullptr, 0);
    ASSERT_NE(nullptr, hPicture);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pBits[(15 - y) * 16 + x] = x < 8 && y < 8 ? 0xFFFF0000 : 0xFF00FF00;
    CQVTImageManager images;
    const UINT nCommand = 7;
    ASSERT_TRUE(images.SetIconsFromBitmap(hPicture, &nCommand, 1, CSize(16, 16), qvtImageNormal, TRUE));
    ::DeleteObject(hPicture);
    CQVTImageManagerIcon* pIcon = images.GetImage(nCommand, 16);
    ASSERT_NE(nullptr, pIcon);

    for (BOOL bRotate : {FALSE, TRUE})
        for (int nPosition : {qvtTabPositionLeft, qvtTabPositionTop})
        {
            SCOPED_TRACE(testing::Message() << "rotate " << bRotate << " position " << nPosition);
            CTabTestHost host;
            host.m_pPaintManager->m_bRotateImageOnVerticalDraw = bRotate;
            host.m_pPaintManager->SetPosition(nPosition);
            host.AddItems({_T("a")});
            DibCanvas canvas(40, 40, RGB(0, 0, 255));
            host.GetItem(0)->DrawImage(&canvas.dc, CRect(10, 10, 26, 26), pIcon);
            const bool bTurned = bRotate && nPosition == qvtTabPositionLeft;
            // Turned a quarter clockwise, the red quarter is at the top right.
            EXPECT_EQ(Hex(RGB(255, 0, 0)), Hex(canvas.At(bTurned ? 22 : 13, 13)));
            EXPECT_EQ(Hex(RGB(0, 255, 0)), Hex(canvas.At(bTurned ? 13 : 22, 13)));
            EXPECT_EQ(Hex(RGB(0, 0, 255)), Hex(canvas.At(5, 5)));
        }
}

TEST(TabItemDrawing, ArrowGlyphsFilledOutlinedAndMirroredRightToLeft)
{
    CTabTestHost host;
    // The glyph's ink, and the mean column of it as the DC was laid out.
    auto inkOf = [&](UINT nID, BOOL bEnabled, BOOL bRightToLeft, double* pCentre) {
        DibCanvas canvas(40, 40, kPaper);
        if (bRightToLeft)
            ::SetLayout(canvas.dc.GetSafeHdc(), LAYOUT_RTL);
        host.FindNavigateButton(nID)->DrawEntry(&canvas.dc, CRect(4, 4, 36, 36), kInk, bEnabled);
        if (bRightToLeft)
            ::SetLayout(canvas.dc.GetSafeHdc(), 0);
        const auto ink = Ink(canvas, CRect(0, 0, 40, 40));
        double dSum = 0;
        for (const auto& p : ink)
            dSum += p.first;
        *pCentre = ink.empty() ? 0 : dSum / ink.size();
        if (bRightToLeft)
            *pCentre = 39 - *pCentre;
        return ink;
    };
    double dFilledLeft, dFilledRight, dOutlinedLeft, dMirrored;
    const auto filled = inkOf(0, TRUE, FALSE, &dFilledLeft);
    inkOf(1, TRUE, FALSE, &dFilledRight);
    const auto outlined = inkOf(0, FALSE, FALSE, &dOutlinedLeft);
    ASSERT_GT(filled.size(), 30u);
    ASSERT_GT(outlined.size(), 10u);
    // The disabled arrow is the same triangle with its middle left empty.
    int nHole = 0;
    for (const auto& p : filled)
        nHole += !outlined.count(p);
    EXPECT_GE(nHole, 4);
    EXPECT_LT(outlined.size(), filled.size());
    // A left arrow's weight lies right of its centre (the broad end).
    EXPECT_GT(dFilledLeft, 20.5);
    EXPECT_LT(dFilledRight, 19.5);
    // On a right-to-left DC the left arrow is drawn as a right arrow, which
    // the mirroring turns back to point to the start of the row.
    inkOf(0, TRUE, TRUE, &dMirrored);
    EXPECT_GT(dMirrored, 20.5);
}
