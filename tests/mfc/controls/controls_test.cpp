// Real controls under the test display: each wrapper against the control
// it creates, and owner drawing routed back to the control's object.
#include <afxcmn.h>

#include <algorithm>
#include <vector>

#include "controls_resource.h"
#include "sondrel_gtest.h"

class ControlsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&init);
    }

    void SetUp() override
    {
        ASSERT_TRUE(parent_.CreateEx(0, AfxRegisterWndClass(0), _T("Controls"), WS_OVERLAPPEDWINDOW, 0, 0,
                                     480, 360, nullptr, nullptr));
    }

    void TearDown() override
    {
        parent_.DestroyWindow();
        CWnd::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        CImageList::DeleteTempMap();
        CMenu::DeleteTempMap();
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    CWnd parent_;
    const CRect area_{10, 10, 300, 200};
};

namespace {

// A 32-bit DIB section of solid colours, one colour per cx-wide cell.
void MakeStrip(CBitmap& bitmap, int cx, int cy, const std::vector<COLORREF>& cells)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx * (int)cells.size();
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < info.bmiHeader.biWidth; ++x)
        {
            COLORREF c = cells[x / cx];
            pixels[y * info.bmiHeader.biWidth + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
}

int CALLBACK CompareDataDescending(LPARAM a, LPARAM b, LPARAM)
{
    return (int)(b - a);
}

TEST_F(ControlsTest, ListControlColumnsItemsAndSelection)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, area_, &parent_, 100));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_EQ(0, list.InsertColumn(0, _T("Name"), LVCFMT_LEFT, 120));
    EXPECT_EQ(1, list.InsertColumn(1, _T("Size"), LVCFMT_RIGHT, 60, 1));
    LVCOLUMN column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPTSTR>(_T("Kind"));
    column.cx = 50;
    EXPECT_EQ(2, list.InsertColumn(2, &column));
    ASSERT_NE(nullptr, list.GetHeaderCtrl());
    EXPECT_EQ(3, list.GetHeaderCtrl()->GetItemCount());
    EXPECT_EQ(60, list.GetColumnWidth(1));
    EXPECT_TRUE(list.SetColumnWidth(1, 70));
    EXPECT_EQ(70, list.GetColumnWidth(1));
    EXPECT_TRUE(list.DeleteColumn(2));
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
    HDITEM header = {};
    TCHAR headerText[32] = {};
    header.mask = HDI_TEXT;
    header.pszText = headerText;
    header.cchTextMax = 32;
    ASSERT_TRUE(list.GetHeaderCtrl()->GetItem(1, &header));
    EXPECT_EQ(CString(_T("Size")), CString(headerText));

    EXPECT_EQ(0, list.InsertItem(0, _T("alpha")));
    EXPECT_EQ(1, list.InsertItem(1, _T("beta"), 0));
    EXPECT_EQ(2, list.InsertItem(LVIF_TEXT | LVIF_PARAM, 2, _T("gamma"), 0, 0, 0, 30));
    EXPECT_EQ(0, list.InsertItem(0, _T("first")));  // inserted ahead of the others
    EXPECT_EQ(4, list.GetItemCount());
    EXPECT_TRUE(list.SetItemText(1, 1, _T("12 KB")));
    EXPECT_EQ(CString(_T("alpha")), list.GetItemText(1, 0));
    EXPECT_EQ(CString(_T("12 KB")), list.GetItemText(1, 1));
    EXPECT_TRUE(list.GetItemText(2, 1).IsEmpty());

    // Texts longer than the first buffer come back whole.
    CString longText;
    for (int i = 0; i < 70; ++i)
        longText += _T("0123456789");
    EXPECT_TRUE(list.SetItemText(2, 0, longText));
    EXPECT_EQ(longText, list.GetItemText(2, 0));
    TCHAR shortBuffer[6];
    EXPECT_EQ(5, list.GetItemText(1, 0, shortBuffer, 6));

    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(list.SetItemData(i, 10 * (i + 1)));
    EXPECT_EQ(30u, list.GetItemData(2));

    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_TRUE(list.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(2u, list.GetSelectedCount());
    EXPECT_EQ((UINT)LVIS_SELECTED, list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED));
    std::vector<int> selected;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos != nullptr)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{1, 3}), selected);
    EXPECT_EQ(3, list.GetNextItem(-1, LVNI_FOCUSED));

    // Sorting hands the callback the items' data.
    EXPECT_TRUE(list.SortItems(CompareDataDescending, 0));
    EXPECT_EQ(40u, list.GetItemData(0));
    EXPECT_EQ(CString(_T("first")), list.GetItemText(3, 0));

    CRect itemRect;
    ASSERT_TRUE(list.GetItemRect(1, &itemRect, LVIR_BOUNDS));
    EXPECT_GT(itemRect.Height(), 0);
    UINT flags = 0;
    EXPECT_EQ(1, list.HitTest(itemRect.CenterPoint(), &flags));
    EXPECT_NE(0u, flags & LVHT_ONITEM);
    CRect subRect;
    ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, subRect));
    EXPECT_EQ(70, subRect.Width());
    LVHITTESTINFO hit = {};
    hit.pt = subRect.CenterPoint();
    EXPECT_EQ(1, list.SubItemHitTest(&hit));
    EXPECT_EQ(1, hit.iSubItem);
    EXPECT_EQ(0, list.GetTopIndex());
    EXPECT_GT(list.GetCountPerPage(), 3);
    EXPECT_TRUE(list.EnsureVisible(3, FALSE));

    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    EXPECT_EQ((DWORD)(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES), list.GetExtendedStyle());
    EXPECT_TRUE(list.SetCheck(2));
    EXPECT_TRUE(list.GetCheck(2));
    EXPECT_FALSE(list.GetCheck(1));

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 0, 4));
    EXPECT_EQ(nullptr, list.SetImageList(&images, LVSIL_SMALL));
    EXPECT_EQ(&images, list.GetImageList(LVSIL_SMALL));
    list.SetImageList(nullptr, LVSIL_SMALL);

    EXPECT_TRUE(list.SetBkColor(RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), list.GetBkColor());
    EXPECT_TRUE(list.SetTextColor(RGB(4, 5, 6)));
    EXPECT_EQ(RGB(4, 5, 6), list.GetTextColor());
    EXPECT_TRUE(list.RedrawItems(0, 3));
    EXPECT_TRUE(list.Update(0));

    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());
}

TEST_F(ControlsTest, ComboBoxStringsAndItemData)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, area_, &parent_, 101));
    EXPECT_EQ(0, combo.AddString(_T("MP3")));
    EXPECT_EQ(1, combo.AddString(_T("WAV")));
    EXPECT_EQ(1, combo.InsertString(1, _T("AAC")));
    EXPECT_EQ(3, combo.GetCount());
    EXPECT_EQ(CB_ERR, combo.GetCurSel());

    int values[3] = {7, 8, 9};
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(CB_ERR, combo.SetItemDataPtr(i, &values[i]));
    EXPECT_EQ(&values[1], combo.GetItemDataPtr(1));
    EXPECT_NE(CB_ERR, combo.SetItemData(2, 0xfeedface12345678));
    EXPECT_EQ(0xfeedface12345678u, combo.GetItemData(2));

    EXPECT_EQ(2, combo.FindString(-1, _T("wa")));  // prefix, case-insensitive
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, _T("WA")));
    EXPECT_EQ(0, combo.FindStringExact(-1, _T("mp3")));
    EXPECT_EQ(1, combo.SelectString(-1, _T("AA")));
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_EQ(0, combo.SetCurSel(0));
    EXPECT_EQ(0, combo.GetCurSel());

    CString text;
    combo.GetLBText(1, text);
    EXPECT_EQ(CString(_T("AAC")), text);
    EXPECT_EQ(3, combo.GetLBTextLen(1));
    combo.GetLBText(17, text);  // out of range: empty, no throw
    EXPECT_TRUE(text.IsEmpty());

    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_NE(CB_ERR, combo.SetDroppedWidth(400));  // never narrower than the box
    EXPECT_EQ(400, combo.GetDroppedWidth());

    EXPECT_EQ(2, combo.DeleteString(0));
    combo.GetLBText(0, text);
    EXPECT_EQ(CString(_T("AAC")), text);
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
}

// Owner-drawn, sorted by CompareItem, items are plain numbers.
class NumberCombo : public CComboBox
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        ++measured;
        lpMeasureItemStruct->itemHeight = 21;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        ++drawn;
        CDC::FromHandle(lpDrawItemStruct->hDC)->FillSolidRect(&lpDrawItemStruct->rcItem, RGB(0, 0, 0));
    }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override
    {
        ++compared;
        auto a = (int)lpCompareItemStruct->itemData1, b = (int)lpCompareItemStruct->itemData2;
        return a < b ? -1 : a > b ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override
    {
        deleted.push_back((int)lpDeleteItemStruct->itemData);
    }
    int measured = 0, drawn = 0, compared = 0;
    std::vector<int> deleted;
};

TEST_F(ControlsTest, OwnerDrawnComboBoxCallsItsVirtuals)
{
    NumberCombo combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT, area_,
                             &parent_, 111));
    EXPECT_GT(combo.measured, 0);
    EXPECT_EQ(21, combo.GetItemHeight(0));
    // Without CBS_HASSTRINGS the "string" is the item data.
    combo.AddString(reinterpret_cast<LPCTSTR>(30));
    combo.AddString(reinterpret_cast<LPCTSTR>(10));
    combo.AddString(reinterpret_cast<LPCTSTR>(20));
    EXPECT_GT(combo.compared, 0);
    EXPECT_EQ(10u, combo.GetItemData(0));
    EXPECT_EQ(30u, combo.GetItemData(2));
    combo.SetCurSel(1);
    parent_.ShowWindow(SW_SHOWNOACTIVATE);
    combo.UpdateWindow();
    Pump();
    EXPECT_GT(combo.drawn, 0);
    combo.DeleteString(0);
    EXPECT_EQ((std::vector<int>{10}), combo.deleted);
    combo.ResetContent();
    std::sort(combo.deleted.begin(), combo.deleted.end());
    EXPECT_EQ((std::vector<int>{10, 20, 30}), combo.deleted);
}

TEST_F(ControlsTest, ListBoxMultipleSelection)
{
    CListBox list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_NOTIFY | WS_VSCROLL, area_, &parent_, 102));
    for (int i = 0; i < 20; ++i)
    {
        CString item;
        item.Format(_T("item %d"), i);
        EXPECT_EQ(i, list.AddString(item));
    }
    EXPECT_EQ(20, list.GetCount());
    EXPECT_NE(LB_ERR, list.SetSel(2));
    EXPECT_NE(LB_ERR, list.SelItemRange(TRUE, 5, 8));
    EXPECT_EQ(5, list.GetSelCount());
    // Deselecting a single-item range must not select it.
    EXPECT_NE(LB_ERR, list.SelItemRange(FALSE, 6, 6));
    EXPECT_EQ(0, list.GetSel(6));
    int items[10] = {};
    ASSERT_EQ(4, list.GetSelItems(10, items));
    EXPECT_EQ(2, items[0]);
    EXPECT_EQ(5, items[1]);
    EXPECT_EQ(7, items[2]);
    EXPECT_EQ(8, items[3]);

    CString text;
    list.GetText(7, text);
    EXPECT_EQ(CString(_T("item 7")), text);
    list.GetText(99, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(12, list.FindStringExact(-1, _T("item 12")));
    EXPECT_NE(LB_ERR, list.SetItemData(3, 333));
    EXPECT_EQ(333u, list.GetItemData(3));

    CRect rect;
    ASSERT_NE(LB_ERR, list.GetItemRect(3, &rect));
    BOOL outside = TRUE;
    EXPECT_EQ(3u, list.ItemFromPoint(rect.CenterPoint(), outside));
    EXPECT_FALSE(outside);
    EXPECT_NE(LB_ERR, list.SetTopIndex(10));
    EXPECT_GT(list.GetTopIndex(), 0);
    EXPECT_EQ(19, list.DeleteString(0));
}

TEST_F(ControlsTest, SliderRangesBeyondSixteenBits)
{
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, area_, &parent_, 103));
    slider.SetRange(-100, 70000, TRUE);
    int low = 0, high = 0;
    slider.GetRange(low, high);
    EXPECT_EQ(-100, low);
    EXPECT_EQ(70000, high);
    slider.SetPos(65536);
    EXPECT_EQ(65536, slider.GetPos());
    slider.SetPos(90000);
    EXPECT_EQ(70000, slider.GetPos());  // clamped
    slider.SetRangeMax(50);
    slider.SetRangeMin(0);
    EXPECT_EQ(50, slider.GetRangeMax());
    slider.SetPageSize(10);
    EXPECT_EQ(10, slider.GetPageSize());
    slider.SetLineSize(2);
    EXPECT_EQ(2, slider.GetLineSize());
    slider.ClearTics();
    EXPECT_TRUE(slider.SetTic(25));
    EXPECT_EQ(3u, slider.GetNumTics());  // both ends and the one set
    slider.SetTicFreq(10);
    CRect channel, thumb;
    slider.GetChannelRect(&channel);
    slider.GetThumbRect(&thumb);
    EXPECT_GT(channel.Width(), thumb.Width());
    EXPECT_FALSE(thumb.IsRectEmpty());
}

TEST_F(ControlsTest, ProgressBarSteps)
{
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, area_, &parent_, 104));
    progress.SetRange32(0, 100000);
    int low = -1, high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(100000, high);
    EXPECT_EQ(0, progress.SetPos(40000));
    EXPECT_EQ(40000, progress.OffsetPos(5));
    EXPECT_EQ(40005, progress.GetPos());
    progress.SetStep(1000);
    EXPECT_EQ(40005, progress.StepIt());
    EXPECT_EQ(41005, progress.GetPos());
    progress.SetRange(0, 10);
    EXPECT_EQ(10, progress.GetPos());  // clamped into the new range
    EXPECT_EQ(CLR_DEFAULT, progress.SetBarColor(RGB(0, 200, 0)));
    EXPECT_EQ(RGB(0, 200, 0), progress.SetBarColor(CLR_DEFAULT));
}

TEST_F(ControlsTest, ImageListAddsAndDrawsIntoADib)
{
    CImageList images;
    ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32 | ILC_MASK, 0, 4));
    EXPECT_EQ(&images, CImageList::FromHandle(images.GetSafeHandle()));
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), key = RGB(255, 0, 255);
    CBitmap strip;
    MakeStrip(strip, 8, 8, {red, blue, key});
    EXPECT_EQ(0, images.Add(&strip, key));
    EXPECT_EQ(3, images.GetImageCount());
    int cx = 0, cy = 0;
    EXPECT_TRUE(images.GetIconSize(&cx, &cy));
    EXPECT_EQ(8, cx);
    IMAGEINFO info = {};
    ASSERT_TRUE(images.GetImageInfo(1, &info));
    EXPECT_EQ(8, CRect(info.rcImage).Width());

    // Draw into a white DIB: image 1 is blue, image 2 all transparent.
    CBitmap target;
    MakeStrip(target, 32, 8, {RGB(255, 255, 255)});
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&target);
    EXPECT_TRUE(images.Draw(&dc, 1, CPoint(0, 0), ILD_NORMAL));
    EXPECT_TRUE(images.Draw(&dc, 2, CPoint(8, 0), ILD_TRANSPARENT));
    EXPECT_TRUE(images.DrawEx(&dc, 0, CPoint(16, 0), CSize(8, 8), CLR_NONE, CLR_NONE, ILD_NORMAL));
    EXPECT_EQ(blue, dc.GetPixel(3, 3));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(11, 3));
    EXPECT_EQ(red, dc.GetPixel(20, 4));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(28, 4));
    EXPECT_TRUE(images.DrawIndirect(&dc, 0, CPoint(24, 0), CSize(8, 8), CPoint(0, 0)));
    EXPECT_EQ(red, dc.GetPixel(28, 4));
    dc.SelectObject(old);

    HICON icon = images.ExtractIcon(0);
    EXPECT_NE(nullptr, icon);
    EXPECT_EQ(3, images.Add(icon));
    ::DestroyIcon(icon);
    EXPECT_TRUE(images.Remove(0));
    EXPECT_EQ(3, images.GetImageCount());
    EXPECT_TRUE(images.SetImageCount(5));
    EXPECT_EQ(5, images.GetImageCount());

    // Detached, the handle is wrapped by a temporary until idle time.
    HIMAGELIST handle = images.Detach();
    CImageList* temporary = CImageList::FromHandle(handle);
    EXPECT_NE(&images, temporary);
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(handle));
    CImageList::DeleteTempMap();
    EXPECT_EQ(5, ImageList_GetImageCount(handle));
    images.Attach(handle);
    EXPECT_TRUE(images.DeleteImageList());
    EXPECT_EQ(nullptr, images.GetSafeHandle());
}

TEST_F(ControlsTest, BitmapsAndImageListsFromResources)
{
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(IDB_CONTROLS_STRIP));
    BITMAP info;
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(16, info.bmWidth);
    EXPECT_EQ(8, info.bmHeight);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(_T("NO_SUCH_BITMAP")));
    EXPECT_EQ(nullptr, missing.GetSafeHandle());

    // Cut into 8-wide images; magenta is see-through.
    CImageList images;
    ASSERT_TRUE(images.Create(IDB_CONTROLS_STRIP, 8, 1, RGB(255, 0, 255)));
    EXPECT_EQ(2, images.GetImageCount());
    CBitmap target;
    MakeStrip(target, 16, 8, {RGB(255, 255, 255)});
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap* old = dc.SelectObject(&target);
    EXPECT_TRUE(images.Draw(&dc, 0, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_TRUE(images.Draw(&dc, 1, CPoint(8, 0), ILD_TRANSPARENT));
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(4, 4));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(8, 0));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(12, 4));
    dc.SelectObject(old);
}

TEST_F(ControlsTest, EditSelectionLinesAndLimits)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, area_, &parent_, 105));
    edit.SetWindowText(_T("first line\r\nsecond"));
    EXPECT_EQ(2, edit.GetLineCount());
    TCHAR buffer[8];
    EXPECT_EQ(7, edit.GetLine(0, buffer, 8));  // truncated and terminated
    EXPECT_EQ(CString(_T("first l")), CString(buffer));
    EXPECT_EQ(12, edit.LineIndex(1));
    EXPECT_EQ(6, edit.LineLength(12));

    edit.SetSel(0, 5);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(5, end);
    edit.ReplaceSel(_T("1st"), TRUE);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(CString(_T("1st line\r\nsecond")), text);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    edit.GetWindowText(text);
    EXPECT_EQ(CString(_T("first line\r\nsecond")), text);

    edit.LimitText(4);
    EXPECT_EQ(4u, edit.GetLimitText());
    EXPECT_TRUE(edit.SetReadOnly());
    EXPECT_NE(0u, edit.GetStyle() & ES_READONLY);
    edit.SetModify(FALSE);
    EXPECT_FALSE(edit.GetModify());
}

class OwnerDrawButton : public CButton
{
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        ++drawn;
        CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
        dc->FillSolidRect(&lpDrawItemStruct->rcItem, RGB(0, 255, 0));
    }
    int drawn = 0;
};

TEST_F(ControlsTest, ButtonsStaticsAndOwnerDrawing)
{
    CButton check;
    ASSERT_TRUE(check.Create(_T("Check"), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 100, 30),
                             &parent_, 106));
    EXPECT_EQ((UINT)BS_AUTOCHECKBOX, check.GetButtonStyle());
    EXPECT_EQ(BST_UNCHECKED, check.GetCheck());
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, check.GetCheck());
    check.SetState(TRUE);
    EXPECT_NE(0u, check.GetState() & BST_PUSHED);

    CStatic label;
    ASSERT_TRUE(label.Create(_T(""), WS_CHILD | WS_VISIBLE | SS_ICON, CRect(10, 40, 42, 72), &parent_));
    HICON icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    label.SetIcon(icon);
    EXPECT_EQ(icon, label.GetIcon());

    // WM_DRAWITEM goes to the parent, which hands it back to the button.
    parent_.ShowWindow(SW_SHOWNOACTIVATE);
    OwnerDrawButton owner;
    ASSERT_TRUE(owner.Create(_T("Draw"), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(120, 10, 200, 40),
                             &parent_, 107));
    owner.Invalidate();
    owner.UpdateWindow();
    Pump();
    EXPECT_GT(owner.drawn, 0);
    CClientDC dc(&owner);
    EXPECT_EQ(&owner, dc.GetWindow());
    EXPECT_EQ(RGB(0, 255, 0), dc.GetPixel(5, 5));
}

// Paints its update region through CPaintDC, as OnPaint handlers do.
class PaintedWnd : public CWnd
{
public:
    int painted = 0;
    CRect lastPaint;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ++painted;
        lastPaint = dc.m_ps.rcPaint;
        EXPECT_EQ(this, dc.GetWindow());
        dc.FillSolidRect(&dc.m_ps.rcPaint, RGB(0, 0, 200));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(ControlsTest, PaintClientAndWindowDCs)
{
    PaintedWnd painted;
    ASSERT_TRUE(painted.Create(AfxRegisterWndClass(0), _T(""), WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 80),
                               &parent_, 110));
    parent_.ShowWindow(SW_SHOWNOACTIVATE);
    painted.UpdateWindow();
    Pump();
    ASSERT_GT(painted.painted, 0);
    EXPECT_TRUE(painted.lastPaint == CRect(0, 0, 100, 60));
    {
        CClientDC client(&painted);
        EXPECT_EQ(RGB(0, 0, 200), client.GetPixel(50, 30));
        EXPECT_EQ(RGB(0, 0, 200), client.GetPixel(99, 59));
        client.FillSolidRect(0, 0, 10, 10, RGB(200, 0, 0));
    }
    CWindowDC window(&painted);  // no border: the same origin as the client area
    EXPECT_EQ(RGB(200, 0, 0), window.GetPixel(9, 9));
    EXPECT_EQ(RGB(0, 0, 200), window.GetPixel(10, 10));

    // After EndPaint nothing is left to paint.
    int before = painted.painted;
    painted.UpdateWindow();
    EXPECT_EQ(before, painted.painted);
}

TEST_F(ControlsTest, ScrollBarRangeAndPage)
{
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(10, 10, 200, 30), &parent_, 108));
    bar.SetScrollRange(0, 200);
    int low = -1, high = -1;
    bar.GetScrollRange(&low, &high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(200, high);
    SCROLLINFO info = {};
    info.fMask = SIF_PAGE;
    info.nPage = 50;
    bar.SetScrollInfo(&info);
    EXPECT_EQ(151, bar.GetScrollLimit());
    EXPECT_EQ(0, bar.SetScrollPos(500));
    EXPECT_EQ(151, bar.GetScrollPos());  // clamped to the limit
    ASSERT_TRUE(bar.GetScrollInfo(&info, SIF_ALL));
    EXPECT_EQ(50u, info.nPage);
    EXPECT_TRUE(bar.EnableScrollBar(ESB_DISABLE_BOTH));
}

TEST_F(ControlsTest, ToolTipTools)
{
    CButton button;
    ASSERT_TRUE(button.Create(_T("Tip"), WS_CHILD | WS_VISIBLE, CRect(10, 10, 80, 30), &parent_, 109));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&parent_, TTS_ALWAYSTIP));
    EXPECT_TRUE(tips.AddTool(&button, _T("Press me")));
    EXPECT_TRUE(tips.AddTool(&parent_, _T("Area"), CRect(100, 100, 150, 150), 42));
    EXPECT_EQ(2, tips.GetToolCount());

    CString text;
    tips.GetText(text, &button);
    EXPECT_EQ(CString(_T("Press me")), text);
    tips.UpdateTipText(_T("Now press"), &button);
    tips.GetText(text, &button);
    EXPECT_EQ(CString(_T("Now press")), text);

    CToolInfo info;
    ASSERT_TRUE(tips.GetToolInfo(info, &parent_, 42));
    EXPECT_EQ(CString(_T("Area")), CString(info.szText));
    EXPECT_TRUE(CRect(info.rect) == CRect(100, 100, 150, 150));
    TTTOOLINFOW hit = {};
    EXPECT_TRUE(tips.HitTest(&parent_, CPoint(120, 120), &hit));
    EXPECT_EQ(42u, hit.uId);
    EXPECT_FALSE(tips.HitTest(&parent_, CPoint(5, 300), &hit));

    tips.SetMaxTipWidth(200);
    EXPECT_EQ(200, tips.GetMaxTipWidth());
    tips.SetTipBkColor(RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), tips.GetTipBkColor());
    tips.SetDelayTime(TTDT_INITIAL, 123);
    EXPECT_EQ(123, tips.GetDelayTime(TTDT_INITIAL));
    tips.DelTool(&button);
    EXPECT_EQ(1, tips.GetToolCount());
}

TEST_F(ControlsTest, MenusBuiltAndLoaded)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    EXPECT_TRUE(popup.AppendMenu(MF_STRING, 1, _T("&One")));
    EXPECT_TRUE(popup.AppendMenu(MF_STRING, 2, _T("&Two")));
    EXPECT_TRUE(popup.AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 3, _T("&Zero")));
    EXPECT_EQ(4u, popup.GetMenuItemCount());
    EXPECT_EQ(3u, popup.GetMenuItemID(0));
    CString label;
    EXPECT_EQ(4, popup.GetMenuString(2, label, MF_BYCOMMAND));
    EXPECT_EQ(CString(_T("&Two")), label);
    EXPECT_EQ(0, popup.GetMenuString(99, label, MF_BYCOMMAND));
    EXPECT_TRUE(label.IsEmpty());

    EXPECT_EQ((UINT)MF_UNCHECKED, popup.CheckMenuItem(1, MF_CHECKED));
    EXPECT_NE(0u, popup.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(popup.CheckMenuRadioItem(1, 3, 2, MF_BYCOMMAND));
    EXPECT_EQ(0u, popup.GetMenuState(1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ((UINT)MF_ENABLED, popup.EnableMenuItem(2, MF_GRAYED));
    EXPECT_NE(0u, popup.GetMenuState(2, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup.ModifyMenu(3, MF_BYCOMMAND | MF_STRING, 4, _T("&Four")));
    EXPECT_EQ(4u, popup.GetMenuItemID(0));
    EXPECT_TRUE(popup.SetDefaultItem(4));
    EXPECT_EQ(4u, popup.GetDefaultItem(0));
    MENUITEMINFO item = {sizeof(item)};
    item.fMask = MIIM_ID;
    ASSERT_TRUE(popup.GetMenuItemInfo(1, &item, TRUE));
    EXPECT_EQ(1u, item.wID);
    EXPECT_TRUE(popup.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_TRUE(popup.RemoveMenu(2, MF_BYPOSITION));
    EXPECT_EQ(2u, popup.GetMenuItemCount());

    // A popup attached to a bar is reached through a temporary wrapper.
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    HMENU popupHandle = popup.Detach();
    EXPECT_TRUE(bar.AppendMenu(MF_POPUP, (UINT_PTR)popupHandle, _T("&Items")));
    CMenu* sub = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(popupHandle, sub->GetSafeHmenu());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(popupHandle));
    EXPECT_EQ(&bar, CMenu::FromHandlePermanent(bar.m_hMenu));
    CMenu::DeleteTempMap();
    EXPECT_TRUE(::IsMenu(popupHandle));  // the wrapper went, the menu stayed

    CMenu loaded;
    ASSERT_TRUE(loaded.LoadMenu(IDR_CONTROLS_MENU));
    EXPECT_EQ(2u, loaded.GetMenuItemCount());
    loaded.GetMenuString(1, label, MF_BYPOSITION);
    EXPECT_EQ(CString(_T("&View")), label);
    EXPECT_EQ((UINT)ID_VIEW_LARGE, loaded.GetSubMenu(1)->GetMenuItemID(1));
    HMENU loadedHandle = loaded.m_hMenu;
    EXPECT_TRUE(loaded.DestroyMenu());
    EXPECT_FALSE(::IsMenu(loadedHandle));

    CMenu* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHmenu());
}

}  // namespace
