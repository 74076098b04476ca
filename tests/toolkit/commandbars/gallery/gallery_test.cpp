// The gallery as a user meets it on a toolbar and in a popup: items laid out
// in rows under their labels, keyboard steps that skip labels, scrolling by
// wheel, keys and the scroll buttons, the preview notifications on hover and
// leave, its accessible items, and the pixels of items, labels and scroll
// column in the Office XP look.
#include <afxwin.h>

#include <oleacc.h>

#include <set>
#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"
#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"
#include "toolkit/themes/scrollbar/QVTScrollBarPaintManager.h"

namespace {

// Ids the site handles, so that the bars keep the controls enabled.
const int kGalleryId = 310;

}  // namespace

class Gallery : public BarsFrameSuite<Gallery, CNotifyRecordingFrame>
{
public:
    static void SetUpTestSuite()
    {
        CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
        CreateFrame(CRect(60, 420, 460, 720));
        s_pFrame->RecordCodes(qvtGalleryPreviewStart, qvtGalleryBeginDrag);
    }

protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_pFrame->GetSafeHwnd());
        s_pFrame->ResetBars();
        s_pFrame->m_codes.clear();
        m_pItems = new CQVTControlGalleryItems();
        m_pItems->SetItemSize(CSize(30, 20));
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = s_pFrame;
        ASSERT_TRUE(m_pBar->Create(qvtBarTop));
        m_pBar->MoveWindow(0, 0, 400, 200);
        // Made directly, a gallery opens no popup and shows a scroll bar.
        m_pGallery = static_cast<CQVTControlGallery*>(
            m_pBar->GetControls()->Add(new CQVTControlGallery(), kGalleryId));
        ASSERT_NE(nullptr, m_pGallery);
        m_pGallery->SetItems(m_pItems);
    }
    void TearDown() override
    {
        CQVTCommandBars::ClosePopups();
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        m_pItems->InternalRelease();
        PumpMessages(20);
    }

    // Places the gallery at a rectangle of the bar as a layout would.
    void Place(const CRect& rc)
    {
        m_pGallery->SetWidth(rc.Width());
        m_pGallery->SetHeight(rc.Height());
        m_pGallery->SetRect(rc);
    }
    // A label, then n items with ids from nFirstId.
    void AddGroup(LPCTSTR lpszLabel, int nFirstId, int nCount)
    {
        m_pItems->AddLabel(lpszLabel);
        for (int i = 0; i < nCount; ++i)
            m_pItems->AddItem(nFirstId + i);
    }
    CRect Pos(int nIndex) const { return m_pGallery->GetPositions()[static_cast<size_t>(nIndex)].rcItem; }
    // Keys while the gallery holds the bar's keyboard selection.
    void Focus()
    {
        m_pBar->SetTrackingMode(TRUE, FALSE, TRUE);
        m_pBar->SetSelected(m_pGallery->GetIndex(), CQVTCommandBar::selectByKeyboardForward);
    }
    BOOL Key(UINT nChar) { return m_pGallery->OnHookKeyDown(nChar, 0); }

    CQVTControlGalleryItems* m_pItems = nullptr;
    CTestBar* m_pBar = nullptr;
    CQVTControlGallery* m_pGallery = nullptr;
};

TEST_F(Gallery, ItemsFillRowsUnderTheirLabelsAndOddSizesStayInside)
{
    m_pGallery->SetShowScrollBar(FALSE);
    AddGroup(_T("First"), 1, 5);
    AddGroup(_T("Second"), 10, 2);
    Place(CRect(10, 5, 10 + 100, 5 + 150));

    // Three 30-pixel items fit a 100-pixel row; the label spans it.
    const int cyLabel = m_pItems->GetItem(0)->GetSize().cy;
    EXPECT_EQ(CRect(10, 5, 110, 5 + cyLabel), Pos(0));
    const int y0 = 5 + cyLabel + CQVTPaintManager::DpiY(1);
    EXPECT_EQ(CRect(10, y0, 40, y0 + 20), Pos(1));
    EXPECT_EQ(CRect(70, y0, 100, y0 + 20), Pos(3));
    EXPECT_EQ(CRect(10, y0 + 20, 40, y0 + 40), Pos(4)) << "the fourth item starts a row";
    EXPECT_TRUE(m_pGallery->GetPositions()[4].bBeginRow);
    // The next label comes under the unfinished row.
    EXPECT_EQ(y0 + 40, Pos(6).top);
    EXPECT_EQ(Pos(8).bottom - 5, m_pGallery->GetContentHeight());

    // Without labels they take no room and are never hit.
    m_pGallery->SetShowLabels(FALSE);
    EXPECT_TRUE(::IsRectEmpty(&m_pGallery->GetPositions()[0].rcItem));
    EXPECT_EQ(CRect(10, 5, 40, 25), Pos(1));
    EXPECT_EQ(1, m_pGallery->HitTestItem(CPoint(11, 6)));

    // An item of width 0 takes the whole row, one wider than the gallery a
    // row of its own, one of height 0 is never hit.
    m_pItems->RemoveAll();
    EXPECT_EQ(0, m_pGallery->GetContentHeight());
    m_pItems->AddItem(1)->SetSize(CSize(0, 12));
    m_pItems->AddItem(2)->SetSize(CSize(500, 10));
    m_pItems->AddItem(3);
    m_pItems->AddItem(4)->SetSize(CSize(30, 0));
    EXPECT_EQ(CRect(10, 5, 110, 17), Pos(0));
    EXPECT_EQ(CRect(10, 17, 510, 27), Pos(1));
    EXPECT_EQ(CRect(10, 27, 40, 47), Pos(2));
    EXPECT_EQ(-1, m_pGallery->HitTestItem(CPoint(Pos(3).left, Pos(3).top)));
    EXPECT_EQ(CRect(10, 17, 110, 27), m_pGallery->GetItemRect(1)) << "clipped to the items";
}

TEST_F(Gallery, KeysStepOverLabelsAndWrapOnlyWhenNoOtherControlTakesTheFocus)
{
    m_pGallery->SetShowScrollBar(FALSE);
    AddGroup(_T("First"), 1, 5);
    AddGroup(_T("Second"), 10, 2);
    Place(CRect(0, 0, 100, 150));
    Focus();
    ASSERT_TRUE(m_pGallery->GetFocused());
    EXPECT_EQ(1, m_pGallery->GetSelectedItem()) << "entered forward: the first item";

    EXPECT_TRUE(Key(VK_RIGHT));
    EXPECT_EQ(2, m_pGallery->GetSelectedItem());
    EXPECT_TRUE(Key(VK_DOWN));
    EXPECT_EQ(5, m_pGallery->GetSelectedItem()) << "the item below";
    EXPECT_TRUE(Key(VK_RIGHT));
    EXPECT_EQ(4, m_pGallery->GetSelectedItem()) << "the row's end wraps to its start";
    EXPECT_TRUE(Key(VK_END));
    EXPECT_EQ(8, m_pGallery->GetSelectedItem());
    EXPECT_TRUE(Key(VK_LEFT));
    EXPECT_EQ(7, m_pGallery->GetSelectedItem());
    EXPECT_TRUE(Key(VK_UP));
    EXPECT_EQ(4, m_pGallery->GetSelectedItem()) << "the label between is skipped";
    EXPECT_TRUE(Key(VK_HOME));
    EXPECT_EQ(1, m_pGallery->GetSelectedItem());

    // Tab past the last item hands over to the bar.
    EXPECT_TRUE(Key(VK_END));
    EXPECT_FALSE(Key(VK_TAB));
    EXPECT_EQ(8, m_pGallery->GetSelectedItem());

    // Alone in its bar, Down from the last row wraps to the first item.
    EXPECT_TRUE(Key(VK_DOWN));
    EXPECT_EQ(1, m_pGallery->GetSelectedItem());
    // With a control after it, the bar moves on instead.
    m_pBar->GetControls()->AddByType(qvtControlButton, 320);
    EXPECT_TRUE(Key(VK_END));
    EXPECT_FALSE(Key(VK_DOWN));
    EXPECT_FALSE(Key('A'));

    // Nothing to select in an empty gallery.
    m_pItems->RemoveAll();
    EXPECT_EQ(-1, m_pGallery->GetSelectedItem());
    Key(VK_HOME);
    EXPECT_EQ(-1, m_pGallery->GetSelectedItem());
    m_pBar->SetTrackingMode(FALSE);
}

TEST_F(Gallery, ScrollingClampsAndBringsALabelIntoViewWithItsItem)
{
    for (int nGroup = 0; nGroup < 4; ++nGroup)
        AddGroup(_T("Group"), nGroup * 10 + 1, 6);
    Place(CRect(0, 0, 90 + m_pGallery->GetBorders().right, 60));
    const int nItemsHeight = m_pGallery->GetItemsRect().Height();
    const int nMax = m_pGallery->GetContentHeight() - nItemsHeight;
    ASSERT_GT(nMax, 100);

    m_pGallery->OnHookMouseWheel(MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(60, m_pGallery->GetScrollPos()) << "three item heights";
    m_pGallery->OnHookMouseWheel(MAKEWPARAM(0, WHEEL_DELTA), 0);
    m_pGallery->OnHookMouseWheel(MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(0, m_pGallery->GetScrollPos());
    m_pGallery->SetScrollPos(100000);
    EXPECT_EQ(nMax, m_pGallery->GetScrollPos());

    // Keyboard selection scrolls the item in; from below, its group's label
    // comes along when both fit.
    Focus();
    m_pGallery->SetScrollPos(nMax);
    m_pGallery->SetSelectedItem(15);
    EXPECT_EQ(Pos(14).top, m_pGallery->GetScrollPos()) << "the second group's label at the top";
    m_pGallery->SetSelectedItem(27);
    EXPECT_EQ(Pos(27).bottom - nItemsHeight, m_pGallery->GetScrollPos()) << "scrolled down to its bottom";

    // An animated step smaller than a pixel still moves.
    const int nPos = m_pGallery->GetScrollPos();
    m_pGallery->AnimateScrollPos(nPos - 1);
    EXPECT_EQ(nPos - 1, m_pGallery->GetScrollPos());
    EXPECT_FALSE(m_pGallery->IsAnimating());

    // The scroll bar's range is the content.
    SCROLLINFO si = {sizeof(si)};
    m_pGallery->GetScrollInfo(&si);
    EXPECT_EQ(m_pGallery->GetContentHeight() - 1, si.nMax);
    EXPECT_EQ(static_cast<UINT>(nItemsHeight), si.nPage);
    m_pItems->RemoveAll();
    m_pGallery->GetScrollInfo(&si);
    EXPECT_EQ(0, si.nMax);
    EXPECT_EQ(0, m_pGallery->GetScrollPos());
    m_pBar->SetTrackingMode(FALSE);
}

TEST_F(Gallery, APressBecomesADragPastFourPixelsAndExecutionEndsThePreview)
{
    m_pGallery->SetShowScrollBar(FALSE);
    for (int i = 0; i < 6; ++i)
        m_pItems->AddItem(i + 1);
    Place(CRect(0, 0, 100, 60));
    const CPoint pt = m_pGallery->GetItemRect(1).CenterPoint();
    m_pGallery->OnMouseMove(pt);
    m_pBar->SetSelected(m_pGallery->GetIndex(), CQVTCommandBar::selectByMouse);
    m_pGallery->OnMouseHover();
    ASSERT_TRUE(m_pGallery->IsPreviewActive());
    m_pGallery->OnClick(FALSE, pt);
    m_pGallery->OnMouseMove(pt + CSize(CQVTPaintManager::DpiX(4), 0));
    EXPECT_EQ(std::vector<UINT>({qvtGalleryPreviewStart, qvtGalleryPreviewChange}), s_pFrame->m_codes)
        << "four pixels are still a press";
    m_pGallery->OnMouseMove(pt + CSize(CQVTPaintManager::DpiX(4) + 1, 0));
    EXPECT_EQ(qvtGalleryBeginDrag, s_pFrame->m_codes.back());
    // Released, the item executes and the preview ends as applied.
    m_pGallery->OnLButtonUp(pt);
    EXPECT_EQ(std::vector<UINT>({qvtGalleryPreviewStart, qvtGalleryPreviewChange, qvtGalleryBeginDrag,
                                 qvtGalleryPreviewApply}),
              s_pFrame->m_codes);
    EXPECT_FALSE(m_pGallery->IsPreviewActive());
    EXPECT_EQ(std::vector<UINT>({static_cast<UINT>(kGalleryId)}), s_pFrame->m_commands);
}

TEST_F(Gallery, StoredOptionsComeBackAndAMissingBorderKeyMeansBorders)
{
    EXPECT_FALSE(m_pGallery->GetShowBorders()) << "a new gallery has none";
    m_pGallery->SetShowLabels(FALSE);
    m_pGallery->SetMargin(1, 2, 3, 4);
    m_pGallery->SetResizable(TRUE);
    CString strFile;
    ::GetTempPath(MAX_PATH, strFile.GetBuffer(MAX_PATH));
    strFile.ReleaseBuffer();
    strFile += _T("gallery_state_test.xml");
    {
        CQVTPropExchangeXMLNode px(FALSE, nullptr, _T("Gallery"));
        px.SetSchema(24);
        m_pGallery->DoPropExchange(&px);
        ASSERT_TRUE(px.SaveToFile(strFile));
    }
    CQVTControlGallery copy;
    {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, _T("Gallery"));
        ASSERT_TRUE(px.LoadFromFile(strFile));
        px.SetSchema(24);
        copy.DoPropExchange(&px);
    }
    EXPECT_FALSE(copy.GetShowLabels());
    EXPECT_EQ(CRect(1, 2, 3, 4), copy.GetMargin());
    EXPECT_TRUE(copy.IsResizable());
    // The saved state left out ShowBorders (FALSE, not the default): kept.
    EXPECT_FALSE(copy.GetShowBorders());
    // A state without the key turns borders on.
    CStdioFile file(strFile, CFile::modeCreate | CFile::modeWrite);
    file.WriteString(_T("<Gallery><ShowLabels>0</ShowLabels></Gallery>"));
    file.Close();
    {
        CQVTPropExchangeXMLNode px(TRUE, nullptr, _T("Gallery"));
        ASSERT_TRUE(px.LoadFromFile(strFile));
        px.SetSchema(24);
        copy.DoPropExchange(&px);
    }
    EXPECT_TRUE(copy.GetShowBorders());
    EXPECT_FALSE(copy.IsResizable());
    ::DeleteFile(strFile);
}

TEST_F(Gallery, ItemsAreAccessibleChildren)
{
    m_pItems->AddLabel(_T("&Colours"));
    m_pItems->AddItem(_T("&Red"), 7);
    m_pItems->AddItem(_T(""), 8)->SetDescription(_T("Green tone"));
    Place(CRect(0, 0, 120, 60));
    m_pGallery->SetCheckedItem(8);

    LONG nCount = 0;
    EXPECT_EQ(S_OK, m_pGallery->GetAccessibleChildCount(&nCount));
    EXPECT_EQ(3, nCount);
    VARIANT child;
    child.vt = VT_I4;
    BSTR bstrName = nullptr;
    child.lVal = 2;
    ASSERT_EQ(S_OK, m_pGallery->GetAccessibleName(child, &bstrName));
    EXPECT_TRUE(CString(bstrName) == _T("Red"));
    ::SysFreeString(bstrName);
    child.lVal = 3;
    ASSERT_EQ(S_OK, m_pGallery->GetAccessibleName(child, &bstrName));
    EXPECT_TRUE(CString(bstrName) == _T("Green tone"));
    ::SysFreeString(bstrName);

    VARIANT var;
    EXPECT_EQ(S_OK, m_pGallery->GetAccessibleRole(child, &var));
    EXPECT_EQ(ROLE_SYSTEM_LISTITEM, var.lVal);
    EXPECT_EQ(S_OK, m_pGallery->AccessibleSelect(SELFLAG_TAKEFOCUS, child));
    EXPECT_EQ(2, m_pGallery->GetSelectedItem());
    EXPECT_EQ(S_OK, m_pGallery->GetAccessibleState(child, &var));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED,
              var.lVal);

    LONG x = 0, y = 0, cx = 0, cy = 0;
    EXPECT_EQ(S_OK, m_pGallery->AccessibleLocation(&x, &y, &cx, &cy, child));
    CRect rc = m_pGallery->GetItemRect(2);
    m_pBar->ClientToScreen(&rc);
    EXPECT_EQ(rc, CRect(x, y, x + cx, y + cy));
    VARIANT hit;
    EXPECT_EQ(S_OK, m_pGallery->AccessibleHitTest(rc.left + 1, rc.top + 1, &hit));
    EXPECT_EQ(3, hit.lVal);

    child.lVal = 4;
    EXPECT_EQ(E_INVALIDARG, m_pGallery->AccessibleSelect(SELFLAG_TAKEFOCUS, child));
    EXPECT_EQ(E_INVALIDARG, m_pGallery->GetAccessibleRole(child, &var));
    child.lVal = CHILDID_SELF;
    EXPECT_EQ(S_OK, m_pGallery->GetAccessibleRole(child, &var));
    EXPECT_EQ(ROLE_SYSTEM_LIST, var.lVal);
}

// A gallery alone in a popup bar, then a button under it, opened at a
// screen point of the site.
class GalleryPopup : public Gallery
{
protected:
    void SetUp() override
    {
        Gallery::SetUp();
        // Two groups of four rows of five.
        m_pItems->AddLabel(_T("Warm"));
        for (int i = 0; i < 20; ++i)
            m_pItems->AddItem(10 + i);
        m_pItems->AddLabel(_T("Cool"));
        for (int i = 0; i < 20; ++i)
            m_pItems->AddItem(40 + i);
        m_pPopup = CQVTPopupBar::CreatePopupBar(s_pFrame->GetCommandBars());
        m_pPopupGallery = static_cast<CQVTControlGallery*>(
            m_pPopup->GetControls()->Add(new CQVTControlGallery(), kGalleryId));
        ASSERT_NE(nullptr, m_pPopupGallery);
        m_pPopupGallery->SetItems(m_pItems);
        m_pPopupGallery->SetWidth(150 +
                                  CQVTPaintManager::GetInstance()->GetScrollBarPaintManager()->m_cxVScroll);
        m_pPopupGallery->SetHeight(90);
        m_pPopup->GetControls()->AddByType(qvtControlButton, 321)->SetCaption(_T("More"));
    }
    void TearDown() override
    {
        if (m_pPopup->GetSafeHwnd())
            m_pPopup->SetTrackingMode(FALSE);
        m_pPopup->InternalRelease();
        Gallery::TearDown();
    }
    void Open(BOOL bSelectFirst)
    {
        s_pFrame->SetForegroundWindow();
        CRect rcFrame;
        s_pFrame->GetWindowRect(&rcFrame);
        ASSERT_TRUE(m_pPopup->PopupAt(rcFrame.left + 20, rcFrame.top + 20, nullptr, bSelectFirst));
        PumpTranslated(50);
    }
    CPoint ScreenOf(const CRect& rcClient) const
    {
        CPoint pt = rcClient.CenterPoint();
        m_pPopup->ClientToScreen(&pt);
        return pt;
    }

    CQVTPopupBar* m_pPopup = nullptr;
    CQVTControlGallery* m_pPopupGallery = nullptr;
};

namespace {

void SendWheel(int nDelta)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(nDelta);
    ::SendInput(1, &input, sizeof(input));
}

}  // namespace

TEST_F(GalleryPopup, HoverStartsThePreviewMovesChangeItAndLeavingCancelsIt)
{
    Open(FALSE);
    const CRect rcFirst = m_pPopupGallery->GetItemRect(1);
    MouseMoveTo(ScreenOf(rcFirst));
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetSelectedItem() == 1; }));
    // The preview starts once the pointer rests.
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->IsPreviewActive(); }));
    EXPECT_EQ(std::vector<UINT>({qvtGalleryPreviewStart, qvtGalleryPreviewChange}), s_pFrame->m_codes);

    MouseMoveTo(ScreenOf(m_pPopupGallery->GetItemRect(2)));
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetSelectedItem() == 2; }));
    // Onto the button below: the gallery's selection hides and the preview ends.
    CQVTControl* pMore = m_pPopup->GetControl(1);
    MouseMoveTo(ScreenOf(pMore->GetRect()));
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !m_pPopupGallery->IsPreviewActive(); }));
    EXPECT_TRUE(m_pPopupGallery->IsSelectionHidden());
    EXPECT_EQ(std::vector<UINT>({qvtGalleryPreviewStart, qvtGalleryPreviewChange, qvtGalleryPreviewChange,
                                 qvtGalleryPreviewChange, qvtGalleryPreviewCancel}),
              s_pFrame->m_codes);
}

TEST_F(GalleryPopup, WheelKeysAndTheScrollArrowScroll)
{
    Open(TRUE);
    ASSERT_EQ(1, m_pPopupGallery->GetSelectedItem()) << "opened by keyboard: the first item";
    const int cyItem = m_pItems->GetItemSize().cy;

    // The wheel over the popup: three item heights.
    MouseMoveTo(ScreenOf(m_pPopupGallery->GetItemRect(1)));
    SendWheel(-WHEEL_DELTA);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetScrollPos() == 3 * cyItem; }));
    SendWheel(WHEEL_DELTA);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetScrollPos() == 0; }));

    // End selects the last item and scrolls it in; Home brings the first
    // group's label back with the first item.
    KeyPress(VK_END);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetSelectedItem() == 41; }));
    const CRect rcItems = m_pPopupGallery->GetItemsRect();
    EXPECT_EQ(rcItems.bottom, m_pPopupGallery->GetItemRect(41).bottom);
    KeyPress(VK_HOME);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetSelectedItem() == 1; }));
    EXPECT_EQ(0, m_pPopupGallery->GetScrollPos());

    // A click on the down arrow scrolls one item height.
    CRect rcScroll;
    m_pPopupGallery->GetScrollBarRect(rcScroll);
    CPoint ptArrow(rcScroll.CenterPoint().x, rcScroll.bottom - 4);
    m_pPopup->ClientToScreen(&ptArrow);
    MouseMoveTo(ptArrow);
    // Press and release queued together feed the arrow's press loop.
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpTranslatedUntil([&] { return m_pPopupGallery->GetScrollPos() == cyItem; }));
}

TEST_F(GalleryPopup, ItemsLabelsAndScrollBarDrawInTheOfficeXPLook)
{
    m_pPopupGallery->SetCheckedItem(12);
    Open(FALSE);
    CQVTPaintManager* pPaintManager = m_pPopup->GetPaintManager();
    ASSERT_EQ(qvtThemeOfficeXP, pPaintManager->GetCurrentTheme());
    CDibCapture capture(m_pPopup);
    const CRect rcLabel = m_pPopupGallery->GetItemRect(0);
    // The label's face, its bottom line, and its bold caption.
    EXPECT_EQ(pPaintManager->GetColor(56), capture.At(rcLabel.right - 3, rcLabel.top + 2));
    EXPECT_EQ(pPaintManager->GetColor(52), capture.At(rcLabel.right - 3, rcLabel.bottom - 1));
    EXPECT_GT(capture.CountIn(CRect(rcLabel.left + CQVTPaintManager::DpiX(10), rcLabel.top,
                                    rcLabel.CenterPoint().x, rcLabel.bottom),
                              pPaintManager->GetColor(44)),
              0);

    // The checked item as the theme draws a checked rectangle; the others
    // on the gallery's face.
    const CRect rcChecked = m_pPopupGallery->GetItemRect(3);
    CBitmap bitmap;
    CClientDC screen(m_pPopup);
    bitmap.CreateCompatibleBitmap(&screen, rcChecked.Width(), rcChecked.Height());
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    pPaintManager->DrawRectangle(&dc, CRect(0, 0, rcChecked.Width(), rcChecked.Height()), FALSE, FALSE, TRUE,
                                 TRUE, FALSE, qvtBarTypeNormal, qvtBarPopup);
    const COLORREF clrChecked = dc.GetPixel(rcChecked.Width() / 2, rcChecked.Height() / 2);
    dc.SelectObject(pOld);
    EXPECT_EQ(clrChecked, capture.At(rcChecked.CenterPoint().x, rcChecked.CenterPoint().y));
    const CRect rcItems = m_pPopupGallery->GetItemsRect();
    EXPECT_EQ(pPaintManager->GetColor(41),
              capture.At(rcItems.right - 2, m_pPopupGallery->GetItemRect(1).top + 2))
        << "the face right of the last column";

    // The scroll bar: its arrows drawn at the right edge, in the scroll-bar
    // paint manager's colours rather than the face.
    CRect rcScroll;
    m_pPopupGallery->GetScrollBarRect(rcScroll);
    EXPECT_EQ(pPaintManager->GetScrollBarPaintManager()->m_cxVScroll, rcScroll.Width());
    EXPECT_NE(pPaintManager->GetColor(41), capture.At(rcScroll.left + 1, rcScroll.top + 1));
    std::set<COLORREF> arrowColours;
    for (int y = rcScroll.top; y < rcScroll.top + rcScroll.Width(); ++y)
        for (int x = rcScroll.left; x < rcScroll.right; ++x)
            arrowColours.insert(capture.At(x, y));
    EXPECT_GE(arrowColours.size(), 3u) << "an arrow glyph in the first button";
}
