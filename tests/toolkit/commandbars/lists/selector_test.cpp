// The grid selector as a user meets it in a toolbar: the pointer selects the
// cells under and left of it, and only those are drawn highlighted; dragging
// out with the button held grows the grid (never past its maximum), every
// change reaches the site as 4102 and the release executes; its three keys
// go through the stores to a second process, and stored counts and sizes
// that are 0, negative or huge are held to what the grid can show. And the
// markup label: bold text measures wider, and a disabled label draws in the
// theme's disabled colour.
#include <afxwin.h>

#include <vector>

#include "dib_canvas.h"
#include "tests/common/common_test_support.h"
#include "real_input.h"
#include "sondrel_gtest.h"
#include "test_app.h"
#include "tests/toolkit/commandbars/support/bars_frame_suite.h"
#include "tests/toolkit/foundation/propexchange/store_exchange.h"
#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/bars/QVTToolBar.h"
#include "toolkit/commandbars/controls/QVTControlMarkupLabel.h"
#include "toolkit/commandbars/controls/QVTControlSelector.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/dpi/QVTDpiScaler.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

const char16_t kSelectorChildVariable[] = u"SONDREL_SELECTOR_CHILD";
const TCHAR kSelectorStoreRoot[] = _T("Software\\Sondrel Tests\\Selector");

}  // namespace

class Selector : public BarsFrameSuite<Selector, CNotifyRecordingFrame>
{
public:
    static void SetUpTestSuite() { CreateFrame(CRect(60, 560, 1000, 900)); }

protected:
    void SetUp() override
    {
        RestoreFrame(CRect(60, 560, 1000, 900));
        s_pFrame->SetForegroundWindow();
        s_pFrame->RecordCodes(CQVTControlSelector::kSelectionChanged, CQVTControlSelector::kSelectionChanged);
        s_pFrame->m_codes.clear();
        m_pBar = DYNAMIC_DOWNCAST(CQVTToolBar, s_pFrame->GetCommandBars()->Add(_T("Grid"), qvtBarTop));
        ASSERT_NE(nullptr, m_pBar);
        m_pSelector = new CQVTControlSelector();
        m_pBar->GetControls()->Add(m_pSelector, 500);
        s_pFrame->GetCommandBars()->RecalcFrameLayout();
        PumpMessages(40);
    }
    void TearDown() override
    {
        s_pFrame->ResetBars();
        PumpMessages(20);
    }
    // The centre of a cell on the screen.
    POINT Cell(int nColumn, int nRow) const
    {
        const CSize szItem = m_pSelector->GetItemSize();
        CPoint pt(m_pSelector->GetRect().left + nColumn * szItem.cx + szItem.cx / 2,
                  m_pSelector->GetRect().top + nRow * szItem.cy + szItem.cy / 2);
        m_pBar->ClientToScreen(&pt);
        return pt;
    }

    CQVTToolBar* m_pBar = nullptr;
    CQVTControlSelector* m_pSelector = nullptr;
};

namespace {

TEST_F(Selector, HoveringSelectsDraggingOutGrowsTheGridAndTheReleaseExecutes)
{
    ASSERT_EQ(CSize(5, 4), m_pSelector->GetGridSize());
    const CSize szItem = m_pSelector->GetItemSize();
    EXPECT_EQ(CSize(5 * szItem.cx, 4 * szItem.cy), m_pSelector->GetRect().Size());

    RunInputScript([&] { ScriptMouseMove(Cell(2, 1), 100); });
    EXPECT_EQ(CSize(3, 2), m_pSelector->GetSelection());
    ASSERT_FALSE(s_pFrame->m_codes.empty());
    EXPECT_EQ(CQVTControlSelector::kSelectionChanged, s_pFrame->m_codes.back());
    // Exactly those cells are drawn highlighted: three columns of two rows.
    const CRect rcGrid = m_pSelector->GetRect();
    DibCanvas canvas(rcGrid.right, rcGrid.bottom);
    m_pSelector->Draw(&canvas.dc);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(::GetSysColor(c < 3 && r < 2 ? COLOR_HIGHLIGHT : COLOR_WINDOW),
                      canvas.At(rcGrid.left + c * szItem.cx + szItem.cx / 2,
                                rcGrid.top + r * szItem.cy + szItem.cy / 2))
                << c << "," << r;

    // Out to the right, level with the second row, with the button held:
    // the grid grows to reach the pointer and the selection follows it.
    const POINT ptOut = Cell(9, 1);
    RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 80);
        ScriptMouseMove(ptOut, 200);
    });
    EXPECT_EQ(CSize(10, 4), m_pSelector->GetGridSize());
    EXPECT_EQ(CSize(10, 2), m_pSelector->GetSelection());
    s_pFrame->m_commands.clear();
    RunInputScript([&] { ScriptMouseButton(MOUSEEVENTF_LEFTUP, 100); });
    EXPECT_EQ(CSize(10, 2), m_pSelector->GetLastSelection());
    EXPECT_EQ(std::vector<UINT>{500}, s_pFrame->m_commands);

    // Far past the maximum the grid stops at twelve columns.
    const POINT ptFar{Cell(0, 1).x + 30 * szItem.cx, Cell(0, 1).y};
    RunInputScript([&] {
        ScriptMouseMove(Cell(1, 1), 80);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 80);
        ScriptMouseMove(ptFar, 200);
    });
    EXPECT_EQ(12, m_pSelector->GetGridSize().cx);
    RunInputScript([&] { ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60); });

    // Far below, the grid stops at twelve rows (the screen's last line lies
    // more than twelve rows below the grid's top).
    const POINT ptBelow{Cell(1, 0).x, ::GetSystemMetrics(SM_CYSCREEN) - 2};
    ASSERT_GT(ptBelow.y - Cell(0, 0).y, 13 * szItem.cy);
    RunInputScript([&] {
        ScriptMouseMove(Cell(1, 1), 80);
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN, 80);
        ScriptMouseMove(ptBelow, 200);
    });
    EXPECT_EQ(CSize(12, 12), m_pSelector->GetGridSize());
    RunInputScript([&] { ScriptMouseButton(MOUSEEVENTF_LEFTUP, 60); });
}

void SelectorSetStoredKeys(CQVTControlSelector& selector)
{
    selector.SetItemsCount(CSize(3, 2));
    selector.SetItemsMax(CSize(7, 9));
    selector.SetItemSize(CSize(20, 18));
}

TEST(SelectorKeys, GoThroughEveryStoreToASecondProcess)
{
    KeptTestApp(_T("SelectorTest"), _T("Sondrel Tests"));
    ComScope com;
    for (Store store : kStores)
    {
        CQVTControlSelector selector;
        SelectorSetStoredKeys(selector);
        ExchangeThroughStore(store, FALSE, StorePlace(store, _T("sondrel-selector"), _T("Grid")),
                             kSelectorStoreRoot, _T("Selector"),
                             [&](CQVTPropExchange* pPX) { selector.DoPropExchange(pPX); });
    }
    EXPECT_EQ(0u,
              commontest::RunSelf("SelectorKeys.ReadBackInTheSecondProcess", kSelectorChildVariable, u"1"));
}

TEST(SelectorKeys, ReadBackInTheSecondProcess)
{
    if (commontest::Environment(kSelectorChildVariable).empty())
        GTEST_SKIP() << "runs in the second process";
    KeptTestApp(_T("SelectorTest"), _T("Sondrel Tests"));
    ComScope com;
    for (Store store : kStores)
    {
        CQVTControlSelector selector;
        ExchangeThroughStore(store, TRUE, StorePlace(store, _T("sondrel-selector"), _T("Grid")),
                             kSelectorStoreRoot, _T("Selector"),
                             [&](CQVTPropExchange* pPX) { selector.DoPropExchange(pPX); });
        EXPECT_EQ(CSize(3, 2), selector.GetItemsCount()) << static_cast<int>(store);
        EXPECT_EQ(CSize(7, 9), selector.GetItemsMax()) << static_cast<int>(store);
        EXPECT_EQ(CSize(20, 18), selector.GetItemSize()) << static_cast<int>(store);
        EXPECT_EQ(CSize(3, 2), selector.GetGridSize()) << static_cast<int>(store);
    }
}

TEST(SelectorKeys, StoredZeroNegativeAndHugeValuesAreHeldToTheGrid)
{
    ComScope com;
    const CString strFile = StorePlace(Store::Xml, _T("sondrel-selector-forged"), _T(""));
    CStdioFile file(strFile, CFile::modeCreate | CFile::modeWrite);
    file.WriteString(_T("<Selector><ItemsCount>0,-4</ItemsCount><ItemsMax>2000000000,2000000000</ItemsMax>")
                     _T("<ItemSize>0,2000000000</ItemSize></Selector>"));
    file.Close();
    CQVTControlSelector selector;
    CQVTPropExchangeXMLNode px(TRUE, nullptr, _T("Selector"));
    ASSERT_TRUE(px.LoadFromFile(strFile));
    selector.DoPropExchange(&px);
    EXPECT_EQ(CSize(1, 1), selector.GetItemsCount());
    EXPECT_EQ(CSize(CQVTControlSelector::kMaxCells, CQVTControlSelector::kMaxCells), selector.GetItemsMax());
    EXPECT_EQ(CSize(1, CQVTControlSelector::kMaxItemSize), selector.GetItemSize());
    // The grid's extent stays a sane number.
    EXPECT_EQ(CSize(1, CQVTControlSelector::kMaxItemSize), selector.GetSize(nullptr));
    selector.SetItemSize(CSize(-3, 0));
    EXPECT_EQ(CSize(1, 1), selector.GetItemSize());
    ::DeleteFile(strFile);
}

TEST_F(Selector, AMarkupLabelMeasuresBoldWiderAndDrawsDisabledInTheDisabledColour)
{
    CQVTControlMarkupLabel* pPlain = new CQVTControlMarkupLabel();
    CQVTControlMarkupLabel* pBold = new CQVTControlMarkupLabel();
    m_pBar->GetControls()->Add(pPlain, 501);
    m_pBar->GetControls()->Add(pBold, 502);
    pPlain->SetCaption(_T("<TextBlock>Recording level</TextBlock>"));
    pBold->SetCaption(_T("<TextBlock FontWeight='Bold'>Recording level</TextBlock>"));
    ASSERT_NE(nullptr, pPlain->GetMarkup());
    ASSERT_NE(nullptr, pBold->GetMarkup());
    CClientDC dc(m_pBar);
    const CSize szPlain = pPlain->GetSize(&dc);
    const CSize szBold = pBold->GetSize(&dc);
    EXPECT_GT(szPlain.cx, 0);
    EXPECT_GT(szBold.cx, szPlain.cx);

    // Drawn disabled onto white: the text's pixels are the disabled colour.
    pPlain->SetEnabled(FALSE);
    pPlain->SetRect(CRect(0, 0, szPlain.cx, szPlain.cy));
    const COLORREF clrDisabled = m_pBar->GetPaintManager()->GetRectangleTextColor(
        FALSE, FALSE, FALSE, FALSE, FALSE, m_pBar->GetType(), m_pBar->GetPosition());
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = szPlain.cx;
    bmi.bmiHeader.biHeight = -szPlain.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ASSERT_NE(nullptr, hBitmap);
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    HGDIOBJ hOld = ::SelectObject(memDC.GetSafeHdc(), hBitmap);
    memDC.FillSolidRect(0, 0, szPlain.cx, szPlain.cy, RGB(255, 255, 255));
    pPlain->Draw(&memDC);
    ::GdiFlush();
    int nDisabled = 0, nOther = 0;
    const DWORD* pPixels = static_cast<const DWORD*>(pBits);
    for (int i = 0; i < szPlain.cx * szPlain.cy; ++i)
    {
        const DWORD px = pPixels[i] & 0xFFFFFF;
        const COLORREF clr = RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
        if (clr == clrDisabled)
            ++nDisabled;
        else if (clr != RGB(255, 255, 255))
            ++nOther;
    }
    ::SelectObject(memDC.GetSafeHdc(), hOld);
    ::DeleteObject(hBitmap);
    EXPECT_GT(nDisabled, 10);
}

}  // namespace
