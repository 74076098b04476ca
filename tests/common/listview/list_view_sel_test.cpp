// The selection list view on a real window: each row's colours, selected or
// not, and its font, read from the screen; files dropped on the list reach
// its parent.
#include "sondrel_gtest.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/ListViewSel.h"
#include "tests/common/common_test_support.h"
#include "tests/common/screen_test_support.h"

using namespace screentest;

namespace {

const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kYellow = RGB(255, 230, 0);
const COLORREF kBlue = RGB(0, 0, 160);
const COLORREF kGreen = RGB(0, 150, 0);

}  // namespace

// The list's parent: it records the files it is given.
class ListParent : public CWnd
{
public:
    std::vector<std::u16string> m_files;
    HDROP m_hDrop = nullptr;

protected:
    afx_msg void OnDropFiles(HDROP hDrop)
    {
        m_hDrop = hDrop;
        UINT count = DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i)
        {
            WCHAR name[MAX_PATH] = {};
            DragQueryFileW(hDrop, i, name, MAX_PATH);
            m_files.push_back(reinterpret_cast<const char16_t*>(name));
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListParent, CWnd)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

namespace {

// A drop handle as the shell makes it: DROPFILES and a double-zero list.
HDROP MakeDrop(const std::vector<std::u16string>& files)
{
    std::u16string list;
    for (const std::u16string& file : files)
        list += file + u'\0';
    list += u'\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * 2);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt.x = 10;
    drop->pt.y = 10;
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), list.data(), list.size() * 2);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace

class ListViewSelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, AfxRegisterWndClass(0),
                                      _T("list parent"), WS_POPUP | WS_VISIBLE, 60, 780, 320, 180, nullptr,
                                      nullptr));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                                  CRect(0, 0, 320, 180), &m_parent, 100));
        m_list.InsertColumn(0, _T("Name"), LVCFMT_LEFT, 300);
        const LPCTSTR texts[] = {_T("Plain row"), _T("Coloured row"), _T("Record-001.mp3"),
                                 _T("Record-001.mp3")};
        for (int i = 0; i < 4; ++i)
            m_list.InsertItem(i, texts[i]);
        m_coloured.m_bTextColorSet = TRUE;
        m_coloured.m_clrText = kRed;
        m_coloured.m_clrSelectedText = kYellow;
        m_coloured.m_bBackgroundSet = TRUE;
        m_coloured.m_clrBackground = kBlue;
        m_coloured.m_clrSelectedBackground = kGreen;
        m_list.SetItemData(1, reinterpret_cast<DWORD_PTR>(&m_coloured));
        m_bold.SetFont(_T("Tahoma"), -13, FW_BOLD);
        m_list.SetItemData(2, reinterpret_cast<DWORD_PTR>(&m_bold));
        m_background = ::GetSysColor(COLOR_WINDOW);
    }
    void TearDown() override
    {
        if (m_list.m_hWnd)
            m_list.DestroyWindow();
        if (m_parent.m_hWnd)
            m_parent.DestroyWindow();
    }

    // The row's rectangle within the captured window.
    CRect Row(int item)
    {
        CRect rect;
        m_list.GetItemRect(item, &rect, LVIR_BOUNDS);
        rect.right = 300;
        return rect;
    }

    ListParent m_parent;
    CListViewSel m_list;
    CSelection m_coloured;
    CSelection m_bold;
    COLORREF m_background = 0;
};

TEST_F(ListViewSelTest, RowsTakeTheirOwnColours)
{
    std::unique_ptr<DibCanvas> shot = Capture(m_parent.m_hWnd);
    CRect plain = Row(0), coloured = Row(1);
    EXPECT_EQ(CountIn(*shot, plain, kBlue), 0);
    EXPECT_GT(CountIn(*shot, coloured, kBlue), coloured.Width() * coloured.Height() / 4);
    EXPECT_GT(CountIn(*shot, coloured, kRed), 10);
    EXPECT_EQ(CountIn(*shot, coloured, kGreen), 0);

    // Selected: the selected colours at the next paint (behind the label,
    // where the list puts its selection).
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    shot = Capture(m_parent.m_hWnd);
    EXPECT_GT(CountIn(*shot, coloured, kGreen), 600);
    EXPECT_GT(CountIn(*shot, coloured, kYellow), 10);
    EXPECT_EQ(CountIn(*shot, coloured, kBlue), 0);
    EXPECT_EQ(CountIn(*shot, coloured, kRed), 0);

    // A selected row without a record keeps the list's own selection look.
    m_list.SetItemState(1, 0, LVIS_SELECTED);
    m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    shot = Capture(m_parent.m_hWnd);
    EXPECT_EQ(CountIn(*shot, plain, kGreen), 0);
    EXPECT_GT(CountIn(*shot, coloured, kBlue), coloured.Width() * coloured.Height() / 4);
}

TEST_F(ListViewSelTest, ARowFontDrawsWiderInkUntilReset)
{
    std::unique_ptr<DibCanvas> shot = Capture(m_parent.m_hWnd);
    int boldInk = InkIn(*shot, Row(2), m_background);
    int plainInk = InkIn(*shot, Row(3), m_background);
    EXPECT_GT(plainInk, 20);
    EXPECT_GT(boldInk, plainInk + plainInk / 5);
    // The font alone: the row keeps the list's colours.
    EXPECT_EQ(CountIn(*shot, Row(2), kBlue), 0);

    m_bold.ResetFont();
    EXPECT_FALSE(m_bold.m_bFontSet);
    shot = Capture(m_parent.m_hWnd);
    EXPECT_EQ(InkIn(*shot, Row(2), m_background), plainInk);
}

TEST_F(ListViewSelTest, DroppedFilesReachTheParent)
{
    std::vector<std::u16string> files = {u"C:\\Music\\Record-001.mp3",
                                         u"D:\\\x0417\x0432\x0443\x043A \x0031.wav"};
    HDROP drop = MakeDrop(files);
    m_list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(m_parent.m_hDrop, drop);
    EXPECT_EQ(m_parent.m_files, files);
    DragFinish(drop);
}
