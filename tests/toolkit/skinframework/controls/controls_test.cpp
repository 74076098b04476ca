// The skinned controls as the screen shows them: a template dialog with one
// of each control, the skin's parts and states under the real pointer, the
// buttons the skin leaves alone, skins swapped, unloaded and lacking parts.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "real_input.h"
#include "screen_test_support.h"
#include "skin_test_support.h"
#include "toolkit/skinframework/controls/QVTSkinObjectStandardControls.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/metrics/QVTSkinManagerMetrics.h"

namespace {
enum : WORD
{
    kIdPush = 101,
    kIdCheck,
    kIdRadio,
    kIdGroup,
    kIdEdit,
    kIdList,
    kIdCombo,
    kIdListView,
    kIdTree,
    kIdScroll,
    kIdTab,
    kIdDate,
    kIdMonth,
    kIdToolBar,
    kIdProgress,
    kIdSpin,
    kIdHeader,
    kIdTrack,
    kIdStatus,
    kIdReBar,
    kIdOwnerDraw,
    kIdCommandLink,
};

const COLORREF kControlsOwnerDrawColor = RGB(10, 200, 30);

void ControlsAppend(std::vector<WORD>& words, const void* pData, size_t cb)
{
    const WORD* p = static_cast<const WORD*>(pData);
    words.insert(words.end(), p, p + cb / 2);
}

void ControlsAppendItem(std::vector<WORD>& words, LPCWSTR lpszClass, LPCWSTR lpszText, DWORD dwStyle, short x,
                        short y, short cx, short cy, WORD id)
{
    while (words.size() % 2 != 0)
        words.push_back(0);
    DLGITEMTEMPLATE item = {dwStyle | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
    ControlsAppend(words, &item, sizeof(item));
    for (const WCHAR* p = lpszClass; *p != 0; ++p)
        words.push_back(*p);
    words.push_back(0);
    for (const WCHAR* p = lpszText; *p != 0; ++p)
        words.push_back(*p);
    words.push_back(0);
    words.push_back(0);  // no creation data
}

// The track positions the scroll bar's parent read while the thumb moved.
std::vector<int> g_controlsTrackPositions;

INT_PTR CALLBACK ControlsDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL && LOWORD(wParam) == SB_THUMBTRACK && lParam != 0)
    {
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
        ::SendMessageW(reinterpret_cast<HWND>(lParam), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si));
        g_controlsTrackPositions.push_back(si.nTrackPos);
        return TRUE;
    }
    if (message == WM_DRAWITEM && wParam == kIdOwnerDraw)
    {
        const DRAWITEMSTRUCT* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        HBRUSH hBrush = ::CreateSolidBrush(kControlsOwnerDrawColor);
        ::FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
        ::DeleteObject(hBrush);
        return TRUE;
    }
    return FALSE;
}

// A dialog from a template holding one of each control.
HWND ControlsCreateDialog()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                                 ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&icc);
    std::vector<WORD> words;
    DLGTEMPLATE dlg = {
        WS_POPUP | WS_BORDER | DS_SETFONT, WS_EX_NOACTIVATE | WS_EX_TOPMOST, 22, 0, 0, 400, 260};
    ControlsAppend(words, &dlg, sizeof(dlg));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.push_back(0);  // no title
    words.push_back(8);
    for (WCHAR ch : std::u16string(u"MS Shell Dlg"))
        words.push_back(ch);
    words.push_back(0);
    ControlsAppendItem(words, u"Button", u"Push", BS_PUSHBUTTON, 5, 30, 60, 16, kIdPush);
    ControlsAppendItem(words, u"Button", u"Check", BS_AUTOCHECKBOX, 70, 30, 60, 12, kIdCheck);
    ControlsAppendItem(words, u"Button", u"Radio", BS_AUTORADIOBUTTON, 135, 30, 60, 12, kIdRadio);
    ControlsAppendItem(words, u"Button", u"Group", BS_GROUPBOX, 200, 28, 60, 30, kIdGroup);
    ControlsAppendItem(words, u"Edit", u"text", ES_AUTOHSCROLL | WS_BORDER, 5, 50, 60, 14, kIdEdit);
    ControlsAppendItem(words, u"ListBox", u"", WS_BORDER | WS_VSCROLL, 70, 50, 60, 40, kIdList);
    ControlsAppendItem(words, u"ComboBox", u"", CBS_DROPDOWNLIST | WS_VSCROLL, 135, 62, 60, 80, kIdCombo);
    ControlsAppendItem(words, u"SysListView32", u"", LVS_REPORT | WS_BORDER, 5, 95, 100, 50, kIdListView);
    ControlsAppendItem(words, u"SysTreeView32", u"", WS_BORDER | TVS_HASLINES, 110, 95, 60, 50, kIdTree);
    ControlsAppendItem(words, u"ScrollBar", u"", SBS_HORZ, 175, 95, 80, 10, kIdScroll);
    ControlsAppendItem(words, u"SysTabControl32", u"", 0, 265, 30, 120, 60, kIdTab);
    ControlsAppendItem(words, u"SysDateTimePick32", u"", 0, 175, 110, 80, 14, kIdDate);
    ControlsAppendItem(words, u"SysMonthCal32", u"", 0, 265, 95, 130, 100, kIdMonth);
    ControlsAppendItem(words, u"ToolbarWindow32", u"", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 0,
                       200, 14, kIdToolBar);
    ControlsAppendItem(words, u"msctls_progress32", u"", 0, 5, 150, 100, 10, kIdProgress);
    ControlsAppendItem(words, u"msctls_updown32", u"", 0, 110, 150, 10, 20, kIdSpin);
    ControlsAppendItem(words, u"SysHeader32", u"", HDS_BUTTONS, 125, 150, 100, 12, kIdHeader);
    ControlsAppendItem(words, u"msctls_trackbar32", u"", TBS_AUTOTICKS, 5, 175, 120, 20, kIdTrack);
    ControlsAppendItem(words, u"msctls_statusbar32", u"", 0, 0, 0, 0, 0, kIdStatus);
    ControlsAppendItem(words, u"ReBarWindow32", u"", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 205, 0,
                       190, 14, kIdReBar);
    ControlsAppendItem(words, u"Button", u"", BS_OWNERDRAW, 135, 175, 40, 16, kIdOwnerDraw);
    ControlsAppendItem(words, u"Button", u"Link", BS_COMMANDLINK, 180, 175, 80, 30, kIdCommandLink);
    HWND hDlg = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr,
                                             &ControlsDialogProc, 0);
    if (hDlg == nullptr)
        return nullptr;

    HWND hToolBar = ::GetDlgItem(hDlg, kIdToolBar);
    ::SendMessageW(hToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = 501;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].iString = reinterpret_cast<INT_PTR>(u"Tool");
    buttons[1] = buttons[0];
    buttons[1].idCommand = 502;
    buttons[1].iString = reinterpret_cast<INT_PTR>(u"Other");
    ::SendMessageW(hToolBar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageW(hToolBar, TB_AUTOSIZE, 0, 0);

    HWND hTab = ::GetDlgItem(hDlg, kIdTab);
    for (LPCWSTR lpszText : {u"One", u"Two", u"Three"})
    {
        TCITEMW tab = {TCIF_TEXT};
        tab.pszText = const_cast<LPWSTR>(lpszText);
        ::SendMessageW(hTab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&tab));
    }
    HWND hHeader = ::GetDlgItem(hDlg, kIdHeader);
    for (LPCWSTR lpszText : {u"Name", u"Size"})
    {
        HDITEMW item = {HDI_TEXT | HDI_WIDTH | HDI_FORMAT};
        item.pszText = const_cast<LPWSTR>(lpszText);
        item.cxy = 60;
        item.fmt = HDF_STRING;
        ::SendMessageW(hHeader, HDM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
    }
    ::SendMessageW(::GetDlgItem(hDlg, kIdProgress), PBM_SETPOS, 60, 0);
    ::SendMessageW(::GetDlgItem(hDlg, kIdSpin), UDM_SETRANGE32, 0, 10);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 100, 20, 30, 0};
    ::SetScrollInfo(::GetDlgItem(hDlg, kIdScroll), SB_CTL, &si, TRUE);
    HWND hReBar = ::GetDlgItem(hDlg, kIdReBar);
    REBARBANDINFOW band = {sizeof(band), RBBIM_TEXT | RBBIM_STYLE | RBBIM_SIZE};
    band.fStyle = RBBS_GRIPPERALWAYS;
    band.lpText = const_cast<LPWSTR>(u"Band");
    band.cx = 150;
    ::SendMessageW(hReBar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    ::SetWindowPos(hDlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    screentest::Pump();
    return hDlg;
}

HWND g_hControlsDialog = nullptr;

HWND ControlsItem(WORD id)
{
    return ::GetDlgItem(g_hControlsDialog, id);
}

// A control's client rectangle within a capture of the dialog.
CRect ControlsClientIn(HWND hWnd, const CRect& rcClient)
{
    CRect rcDialog;
    ::GetWindowRect(g_hControlsDialog, &rcDialog);
    CPoint pt(0, 0);
    ::ClientToScreen(hWnd, &pt);
    CRect rc(rcClient);
    rc.OffsetRect(pt.x - rcDialog.left, pt.y - rcDialog.top);
    return rc;
}

CRect ControlsClient(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    return rc;
}

// The share (0 to 1) of the sample's pixels that a part drawn over the
// screen's picture leaves as they were: 1 when the screen shows the part.
double ControlsPartShare(const DibCanvas& shot, HWND hWnd, LPCTSTR lpszClass, int nPart, int nState,
                         const CRect& rcPart, const CRect& rcSample)
{
    CQVTSkinManagerSchema* pSchema = QVTSkinManager()->GetSchema();
    if (pSchema == nullptr)
        return 0;
    CQVTSkinManagerClass* pClass = pSchema->GetClass(lpszClass);
    if (pClass == nullptr)
        return 0;
    const CRect rcShot = ControlsClientIn(hWnd, ControlsClient(hWnd));
    DibCanvas expected(rcShot.Width(), rcShot.Height());
    ::BitBlt(expected.dc.m_hDC, 0, 0, rcShot.Width(), rcShot.Height(), shot.dc.m_hDC, rcShot.left, rcShot.top,
             SRCCOPY);
    pClass->DrawThemeBackground(&expected.dc, nPart, nState, rcPart);
    int nSame = 0;
    int nAll = 0;
    for (int y = rcSample.top; y < rcSample.bottom; ++y)
        for (int x = rcSample.left; x < rcSample.right; ++x)
        {
            ++nAll;
            nSame += expected.At(x, y) == shot.At(rcShot.left + x, rcShot.top + y) ? 1 : 0;
        }
    return nAll > 0 ? static_cast<double>(nSame) / nAll : 0;
}

// The share over the whole part.
double ControlsPartShare(const DibCanvas& shot, HWND hWnd, LPCTSTR lpszClass, int nPart, int nState,
                         const CRect& rcPart)
{
    return ControlsPartShare(shot, hWnd, lpszClass, nPart, nState, rcPart, rcPart);
}

// The left edge of a part, clear of any text.
CRect ControlsLeftEdge(const CRect& rc, int nWidth = 3)
{
    return CRect(rc.left, rc.top, rc.left + nWidth, rc.bottom);
}

// The dialog's background in a capture (a spot no control covers).
COLORREF ControlsBackground(const DibCanvas& shot)
{
    const CRect rc = ControlsClientIn(g_hControlsDialog, CRect(2, 60, 3, 61));
    return shot.At(rc.left, rc.top);
}

// Pixels of a control that differ between two captures, where the
// dialog's background may differ (the skin colours the parent).
int ControlsDiffer(const DibCanvas& before, const DibCanvas& after, HWND hWnd)
{
    const CRect rc = ControlsClientIn(hWnd, ControlsClient(hWnd));
    const COLORREF clrBefore = ControlsBackground(before);
    const COLORREF clrAfter = ControlsBackground(after);
    int nDiffer = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
        {
            const COLORREF a = before.At(x, y);
            const COLORREF b = after.At(x, y);
            nDiffer += a != b && !(a == clrBefore && b == clrAfter) ? 1 : 0;
        }
    return nDiffer;
}

struct ControlsSkin
{
    explicit ControlsSkin(LPCTSTR lpszIni = u"NormalBlue.ini")
    {
        EXPECT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), lpszIni));
        screentest::Pump();
    }
    ~ControlsSkin()
    {
        QVTSkinManager()->LoadSkin(nullptr, nullptr);
        screentest::Pump();
    }
};

}  // namespace

class SkinControls : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QVTSkinManager()->EnableThreadHook();
        g_hControlsDialog = ControlsCreateDialog();
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, g_hControlsDialog);
        MouseMoveTo(POINT{700, 500});
    }
};

TEST_F(SkinControls, EveryControlHasItsObject)
{
    const struct
    {
        WORD id;
        CRuntimeClass* pClass;
    } expected[] = {
        {kIdPush, RUNTIME_CLASS(CQVTSkinObjectButton)},
        {kIdEdit, RUNTIME_CLASS(CQVTSkinObjectEdit)},
        {kIdList, RUNTIME_CLASS(CQVTSkinObjectListBox)},
        {kIdCombo, RUNTIME_CLASS(CQVTSkinObjectComboBox)},
        {kIdListView, RUNTIME_CLASS(CQVTSkinObjectListView)},
        {kIdTree, RUNTIME_CLASS(CQVTSkinObjectTreeView)},
        {kIdScroll, RUNTIME_CLASS(CQVTSkinObjectScrollBar)},
        {kIdTab, RUNTIME_CLASS(CQVTSkinObjectTab)},
        {kIdDate, RUNTIME_CLASS(CQVTSkinObjectDateTime)},
        {kIdMonth, RUNTIME_CLASS(CQVTSkinObjectMonthCal)},
        {kIdToolBar, RUNTIME_CLASS(CQVTSkinObjectToolBar)},
        {kIdProgress, RUNTIME_CLASS(CQVTSkinObjectProgress)},
        {kIdSpin, RUNTIME_CLASS(CQVTSkinObjectSpin)},
        {kIdHeader, RUNTIME_CLASS(CQVTSkinObjectHeader)},
        {kIdTrack, RUNTIME_CLASS(CQVTSkinObjectTrackBar)},
        {kIdStatus, RUNTIME_CLASS(CQVTSkinObjectStatusBar)},
        {kIdReBar, RUNTIME_CLASS(CQVTSkinObjectReBar)},
    };
    for (const auto& entry : expected)
    {
        CQVTSkinObject* pObject = QVTSkinManager()->Lookup(ControlsItem(entry.id));
        ASSERT_NE(nullptr, pObject) << entry.id;
        EXPECT_STREQ(entry.pClass->m_lpszClassName, pObject->GetRuntimeClass()->m_lpszClassName);
    }
    // The aliases share their target's entry.
    CQVTSkinObjectClassMap* pMap = QVTSkinManager()->GetClassMap();
    EXPECT_EQ(pMap->Lookup(u"Edit"), pMap->Lookup(u"TMemo"));
    EXPECT_EQ(pMap->Lookup(u"msctls_trackbar32"), pMap->Lookup(u"TTrackBar"));
    EXPECT_EQ(pMap->Lookup(u"ScrollBar"), pMap->Lookup(u"ATL:ScrollBar"));
}

TEST_F(SkinControls, EachControlShowsTheSkinsParts)
{
    const COLORREF clrSystemFace = ::GetSysColor(COLOR_BTNFACE);
    HWND hStatus = ControlsItem(kIdStatus);
    ::SendMessageW(hStatus, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u"Ready"));
    ControlsSkin skin;
    auto shot = screentest::Capture(g_hControlsDialog);

    HWND hPush = ControlsItem(kIdPush);
    EXPECT_GE(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 1, ControlsClient(hPush),
                                ControlsLeftEdge(ControlsClient(hPush))),
              0.9)
        << "push button";

    HWND hCheck = ControlsItem(kIdCheck);
    const CRect rcCheck = ControlsClient(hCheck);
    SIZE size = {13, 13};
    QVTSkinManager()->GetSchema()->GetClass(u"BUTTON")->GetThemePartSize(3, 1, nullptr, qvtSkinSizeTrue,
                                                                         &size);
    const CRect rcGlyph(0, (rcCheck.Height() - size.cy) / 2, size.cx,
                        (rcCheck.Height() - size.cy) / 2 + size.cy);
    EXPECT_GE(ControlsPartShare(*shot, hCheck, u"BUTTON", 3, 1, rcGlyph), 0.9) << "check box glyph";

    HWND hProgress = ControlsItem(kIdProgress);
    const CRect rcProgress = ControlsClient(hProgress);
    const CRect rcEmpty(rcProgress.right * 8 / 10, 2, rcProgress.right - 3, rcProgress.bottom - 2);
    EXPECT_GE(ControlsPartShare(*shot, hProgress, u"PROGRESS", 1, 1, rcProgress, rcEmpty), 0.9)
        << "the bar past the position";
    const CRect rcFilled(3, 3, rcProgress.right / 2, rcProgress.bottom - 3);
    EXPECT_LT(ControlsPartShare(*shot, hProgress, u"PROGRESS", 1, 1, rcProgress, rcFilled), 0.9)
        << "chunks over the bar up to the position";

    HWND hTrack = ControlsItem(kIdTrack);
    CRect rcChannel;
    ::SendMessageW(hTrack, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&rcChannel));
    CRect rcChannelEnd(rcChannel.right - 12, rcChannel.top, rcChannel.right, rcChannel.bottom);
    EXPECT_GE(ControlsPartShare(*shot, hTrack, u"TRACKBAR", 1, 1, rcChannel, rcChannelEnd), 0.9) << "channel";
    CRect rcThumb;
    ::SendMessageW(hTrack, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rcThumb));
    EXPECT_GE(ControlsPartShare(*shot, hTrack, u"TRACKBAR", 4, 1, rcThumb), 0.9) << "thumb";

    HWND hHeader = ControlsItem(kIdHeader);
    CRect rcItem;
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcItem));
    EXPECT_GE(ControlsPartShare(*shot, hHeader, u"HEADER", 1, 1, rcItem, ControlsLeftEdge(rcItem)), 0.9)
        << "header item";

    HWND hTab = ControlsItem(kIdTab);
    const CRect rcTab = ControlsClient(hTab);
    CRect rcTabItem;
    ::SendMessageW(hTab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcTabItem));
    const CRect rcPane(rcTab.left, rcTabItem.bottom + 2, rcTab.right, rcTab.bottom);
    const CRect rcPaneCorner(rcPane.left, rcPane.bottom - 4, rcPane.left + 4, rcPane.bottom);
    EXPECT_GE(ControlsPartShare(*shot, hTab, u"TAB", 9, 1, rcPane, rcPaneCorner), 0.9) << "tab pane";

    HWND hSpin = ControlsItem(kIdSpin);
    const CRect rcSpin = ControlsClient(hSpin);
    const CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, rcSpin.bottom / 2);
    EXPECT_GE(ControlsPartShare(*shot, hSpin, u"SPIN", 1, 1, rcUp), 0.9) << "up arrow";

    HWND hCombo = ControlsItem(kIdCombo);
    const CRect rcCombo = ControlsClient(hCombo);
    const CRect rcDrop(rcCombo.right - ::GetSystemMetrics(SM_CXVSCROLL), rcCombo.top + 1, rcCombo.right,
                       rcCombo.bottom - 1);
    EXPECT_GE(ControlsPartShare(*shot, hCombo, u"COMBOBOX", 1, 1, rcDrop), 0.9) << "drop-down button";

    // The picker here has a client edge: it draws its own drop button, and
    // its date, into the skin's buffer.
    HWND hDate = ControlsItem(kIdDate);
    ASSERT_TRUE(::GetWindowLongW(hDate, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    const CRect rcDate = ControlsClient(hDate);
    const CRect rcDateButton(rcDate.right - ::GetSystemMetrics(SM_CXVSCROLL), rcDate.top + 1,
                             rcDate.right - 1, rcDate.bottom - 1);
    EXPECT_LT(ControlsPartShare(*shot, hDate, u"COMBOBOX", 1, 1, rcDateButton), 0.9) << "the system's button";
    const CRect rcDateText = ControlsClientIn(hDate, CRect(2, 2, rcDateButton.left - 2, rcDate.bottom - 2));
    EXPECT_GT(screentest::InkIn(*shot, rcDateText, QVTSkinManager()->GetMetrics()->GetColor(COLOR_WINDOW)),
              10)
        << "the date the system painted";

    // The toolbar fills with the skin's face colour, not the system's.
    const COLORREF clrFace = QVTSkinManager()->GetMetrics()->GetColor(COLOR_BTNFACE);
    ASSERT_NE(clrFace, clrSystemFace) << "the skin's face colour tells the two apart";
    HWND hToolBar = ControlsItem(kIdToolBar);
    const CRect rcToolBar = ControlsClientIn(hToolBar, ControlsClient(hToolBar));
    EXPECT_EQ(clrFace, shot->At(rcToolBar.right - 3, rcToolBar.top + 2));
    // So does the status bar, its text over the skin's face.
    const CRect rcStatus = ControlsClientIn(hStatus, ControlsClient(hStatus));
    EXPECT_EQ(clrFace, shot->At(rcStatus.right - 60, rcStatus.CenterPoint().y));
    const CRect rcReady(rcStatus.left, rcStatus.top, rcStatus.left + 60, rcStatus.bottom);
    EXPECT_GT(screentest::CountIn(*shot, rcReady, QVTSkinManager()->GetMetrics()->GetColor(COLOR_BTNTEXT)),
              10)
        << "the status text";
    ::SendMessageW(hStatus, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u""));
}

TEST_F(SkinControls, HoverAndPressFollowTheRealPointer)
{
    ControlsSkin skin;
    HWND hPush = ControlsItem(kIdPush);
    const CRect rcPush = ControlsClient(hPush);
    MouseMoveTo(WindowCentre(hPush));
    auto shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 2, rcPush, ControlsLeftEdge(rcPush)), 0.9)
        << "hot";
    EXPECT_LT(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 1, rcPush, ControlsLeftEdge(rcPush)), 0.9)
        << "the hot image differs from the normal one";

    MouseLeftDown();
    shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 3, rcPush, ControlsLeftEdge(rcPush)), 0.9)
        << "pressed while the button is held";
    MouseLeftUp();

    HWND hSpin = ControlsItem(kIdSpin);
    const CRect rcSpin = ControlsClient(hSpin);
    CRect rcSpinScreen;
    ::GetWindowRect(hSpin, &rcSpinScreen);
    MouseMoveTo(POINT{rcSpinScreen.CenterPoint().x, rcSpinScreen.top + 3});
    shot = screentest::Capture(g_hControlsDialog);
    const CRect rcUp(rcSpin.left, rcSpin.top, rcSpin.right, rcSpin.bottom / 2);
    const CRect rcDown(rcSpin.left, rcSpin.bottom / 2, rcSpin.right, rcSpin.bottom);
    EXPECT_GE(ControlsPartShare(*shot, hSpin, u"SPIN", 1, 2, rcUp), 0.9) << "the upper arrow hot";
    EXPECT_GE(ControlsPartShare(*shot, hSpin, u"SPIN", 2, 1, rcDown), 0.9) << "the lower arrow normal";

    MouseMoveTo(POINT{700, 500});
    shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 1, rcPush, ControlsLeftEdge(rcPush)), 0.9)
        << "normal again once the pointer left";
}

TEST_F(SkinControls, OwnerDrawnAndCommandLinkButtonsPaintAsUnskinned)
{
    auto before = screentest::Capture(g_hControlsDialog);
    std::unique_ptr<DibCanvas> after;
    {
        ControlsSkin skin;
        after = screentest::Capture(g_hControlsDialog);
    }
    // The system paints them, over the background the skinned dialog gives.
    for (WORD id : {kIdOwnerDraw, kIdCommandLink})
        EXPECT_EQ(0, ControlsDiffer(*before, *after, ControlsItem(id))) << "button " << id;
    HWND hOwner = ControlsItem(kIdOwnerDraw);
    const CRect rcOwner = ControlsClientIn(hOwner, ControlsClient(hOwner));
    EXPECT_EQ(kControlsOwnerDrawColor, after->At(rcOwner.CenterPoint().x, rcOwner.CenterPoint().y));
}

TEST_F(SkinControls, AnotherSchemaRepaintsAndUnloadingRestoresTheSystemLook)
{
    HWND hPush = ControlsItem(kIdPush);
    const CRect rcPush = ControlsClient(hPush);
    const CRect rcEdge = ControlsLeftEdge(rcPush);
    auto system = screentest::Capture(g_hControlsDialog);
    {
        ControlsSkin blue(u"NormalBlue.ini");
        auto shot = screentest::Capture(g_hControlsDialog);
        EXPECT_GE(ControlsPartShare(*shot, hPush, u"BUTTON", 1, 1, rcPush, rcEdge), 0.9);
        // The other schema is loaded over the first; every control repaints.
        ASSERT_TRUE(QVTSkinManager()->LoadSkin(SkinModulePath(), u"NormalBlack2.ini"));
        screentest::Pump();
        // Read from the screen without a forced repaint: the load itself repainted.
        CRect rcDialog;
        ::GetWindowRect(g_hControlsDialog, &rcDialog);
        DibCanvas screen(rcDialog.Width(), rcDialog.Height());
        HDC hScreen = ::GetDC(nullptr);
        ::BitBlt(screen.dc.m_hDC, 0, 0, rcDialog.Width(), rcDialog.Height(), hScreen, rcDialog.left,
                 rcDialog.top, SRCCOPY);
        ::ReleaseDC(nullptr, hScreen);
        EXPECT_GE(ControlsPartShare(screen, hPush, u"BUTTON", 1, 1, rcPush, rcEdge), 0.9)
            << "black push button";
        HWND hProgress = ControlsItem(kIdProgress);
        const CRect rcProgress = ControlsClient(hProgress);
        EXPECT_GE(ControlsPartShare(
                      screen, hProgress, u"PROGRESS", 1, 1, rcProgress,
                      CRect(rcProgress.right * 8 / 10, 2, rcProgress.right - 3, rcProgress.bottom - 2)),
                  0.9)
            << "black progress bar";
    }
    auto restored = screentest::Capture(g_hControlsDialog);
    for (WORD id : {kIdPush, kIdCheck, kIdProgress, kIdTrack, kIdHeader, kIdSpin, kIdToolBar, kIdStatus})
        EXPECT_EQ(0, ControlsDiffer(*system, *restored, ControlsItem(id)))
            << "control " << id << " back in the system look";
}

TEST_F(SkinControls, SkinsLackingPartsLeaveControlsToTheSystem)
{
    auto system = screentest::Capture(g_hControlsDialog);
    SkinTempFolder folder;
    folder.WriteText(u"Test.ini", u"[Button.PushButton]\r\nBgType = BorderFill\r\nFillColor = 0 0 255\r\n"
                                  u"BorderColor = 255 0 0\r\nBorderSize = 1\r\n");
    ASSERT_TRUE(QVTSkinManager()->LoadSkin(folder.Path(), u"Test.ini"));
    auto shot = screentest::Capture(g_hControlsDialog);
    HWND hPush = ControlsItem(kIdPush);
    const CRect rcPush = ControlsClientIn(hPush, ControlsClient(hPush));
    EXPECT_EQ(RGB(255, 0, 0), shot->At(rcPush.left, rcPush.CenterPoint().y)) << "the part the skin has";
    EXPECT_EQ(RGB(0, 0, 255), shot->At(rcPush.left + 3, rcPush.top + 3));
    // The system's shapes blend their edges into the parent's new background:
    // a few pixels of one in a hundred.
    for (WORD id : {kIdProgress, kIdTrack, kIdHeader, kIdSpin, kIdTab})
    {
        const CRect rc = ControlsClient(ControlsItem(id));
        EXPECT_LE(ControlsDiffer(*system, *shot, ControlsItem(id)), rc.Width() * rc.Height() / 100)
            << "control " << id << " drawn by the system";
    }
    QVTSkinManager()->LoadSkin(nullptr, nullptr);
    screentest::Pump();
}

TEST_F(SkinControls, DefaultReachesTheControlsOwnProcedure)
{
    ControlsSkin skin;
    HWND hCheck = ControlsItem(kIdCheck);
    ::SendMessageW(hCheck, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(hCheck, BM_GETCHECK, 0, 0));
    HWND hPush = ControlsItem(kIdPush);
    ::SetWindowTextW(hPush, u"Renamed");
    WCHAR szText[32] = {};
    ::GetWindowTextW(hPush, szText, 32);
    EXPECT_EQ(CString(u"Renamed"), CString(szText));
    EXPECT_TRUE(::GetWindowLongW(hPush, GWL_STYLE) & WS_VISIBLE) << "shown again after the hidden default";
    ::SendMessageW(hPush, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(::SendMessageW(hPush, BM_GETSTATE, 0, 0) & BST_PUSHED);
    ::SendMessageW(hPush, BM_SETSTATE, FALSE, 0);
    HWND hProgress = ControlsItem(kIdProgress);
    ::SendMessageW(hProgress, PBM_SETPOS, 35, 0);
    EXPECT_EQ(35, ::SendMessageW(hProgress, PBM_GETPOS, 0, 0));
    HWND hTrack = ControlsItem(kIdTrack);
    ::SendMessageW(hTrack, TBM_SETTICFREQ, 0, 0);
    ::SendMessageW(hTrack, TBM_SETPOS, TRUE, 4);
    EXPECT_EQ(4, ::SendMessageW(hTrack, TBM_GETPOS, 0, 0));
    // Bad values paint without fault: no tick frequency, empty and reversed ranges.
    ::SendMessageW(hProgress, PBM_SETRANGE32, 5, 5);
    screentest::Capture(g_hControlsDialog);
    ::SendMessageW(hProgress, PBM_SETRANGE32, 10, 0);
    ::SendMessageW(hTrack, TBM_SETRANGEMIN, FALSE, 7);
    ::SendMessageW(hTrack, TBM_SETRANGEMAX, TRUE, 7);
    screentest::Capture(g_hControlsDialog);
    EXPECT_TRUE(::IsWindow(hTrack));
    ::SendMessageW(hProgress, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(hProgress, PBM_SETPOS, 60, 0);
    ::SendMessageW(hTrack, TBM_SETRANGE, TRUE, MAKELONG(0, 100));
    ::SendMessageW(hTrack, TBM_SETPOS, TRUE, 0);
    ::SetWindowTextW(hPush, u"Push");
    ::SendMessageW(hCheck, BM_SETCHECK, BST_UNCHECKED, 0);
}

namespace {
LRESULT CALLBACK ControlsMdiFrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hClient = ::FindWindowExW(hWnd, nullptr, u"MDIClient", nullptr);
    return ::DefFrameProcW(hWnd, hClient, message, wParam, lParam);
}

LRESULT CALLBACK ControlsMdiChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(hWnd, message, wParam, lParam);
}
}  // namespace

TEST_F(SkinControls, MdiClientJoinsItsFrameAndLeavesIt)
{
    ControlsSkin skin;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ControlsMdiFrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = u"SkinControlsMdiFrame";
    ::RegisterClassW(&wc);
    wc.lpfnWndProc = &ControlsMdiChildProc;
    wc.lpszClassName = u"SkinControlsMdiChild";
    ::RegisterClassW(&wc);
    // Inside the shared dialog: the system arranges only visible children.
    HWND hFrame = ::CreateWindowExW(0, u"SkinControlsMdiFrame", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 300,
                                    250, 250, 150, g_hControlsDialog, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hFrame);
    CLIENTCREATESTRUCT ccs = {nullptr, 100};
    HWND hClient = ::CreateWindowExW(0, u"MDIClient", u"", WS_CHILD | WS_VISIBLE, 0, 0, 240, 140, hFrame,
                                     nullptr, wc.hInstance, &ccs);
    ASSERT_NE(nullptr, hClient);
    CQVTSkinObject* pFrameObject = QVTSkinManager()->Lookup(hFrame);
    CQVTSkinObject* pClientObject = QVTSkinManager()->Lookup(hClient);
    ASSERT_NE(nullptr, pClientObject);
    EXPECT_TRUE(pClientObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectMDIClient)));
    EXPECT_TRUE(pClientObject->IsSubclassed()) << "an MDI client is always subclassed";
    if (pFrameObject != nullptr && pFrameObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
    {
        EXPECT_EQ(pClientObject, static_cast<CQVTSkinObjectFrame*>(pFrameObject)->m_pMDIClient);
    }

    HWND hChildren[2] = {};
    for (HWND& hChild : hChildren)
        hChild = ::CreateMDIWindowW(u"SkinControlsMdiChild", u"child", WS_VISIBLE, 0, 0, 100, 80, hClient,
                                    wc.hInstance, 0);
    ::SendMessageW(hClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    CRect rcFirst;
    CRect rcSecond;
    CRect rcBoth;
    ::GetWindowRect(hChildren[0], &rcFirst);
    ::GetWindowRect(hChildren[1], &rcSecond);
    EXPECT_FALSE(rcBoth.IntersectRect(rcFirst, rcSecond)) << "the system's tiling ran";

    ::DestroyWindow(hClient);
    if (pFrameObject != nullptr && pFrameObject->IsKindOf(RUNTIME_CLASS(CQVTSkinObjectFrame)))
    {
        EXPECT_EQ(nullptr, static_cast<CQVTSkinObjectFrame*>(pFrameObject)->m_pMDIClient)
            << "the frame forgets a client that is gone";
    }
    ::DestroyWindow(hFrame);
}

TEST_F(SkinControls, ScrollBarThumbDragReportsTrackPositions)
{
    ControlsSkin skin;
    HWND hScroll = ControlsItem(kIdScroll);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 100, 20, 0, 0};
    ::SetScrollInfo(hScroll, SB_CTL, &si, TRUE);
    screentest::Pump();
    CRect rcScroll;
    ::GetWindowRect(hScroll, &rcScroll);
    // The thumb of a bar at 0 lies right after the first arrow.
    const int cxArrow = QVTSkinManager()->GetMetrics()->m_cxHScroll;
    const POINT ptThumb = {rcScroll.left + cxArrow + 4, rcScroll.CenterPoint().y};
    g_controlsTrackPositions.clear();
    const DWORD dwThread = ::GetCurrentThreadId();
    MouseMoveTo(ptThumb);
    ASSERT_TRUE(RunInputScript([&] {
        ScriptMouseButton(MOUSEEVENTF_LEFTDOWN);
        ScriptWaitForCapture(dwThread, true);
        for (int dx = 5; dx <= 40; dx += 5)
            ScriptMouseMove(POINT{ptThumb.x + dx, ptThumb.y});
        ScriptMouseButton(MOUSEEVENTF_LEFTUP);
    }));
    ASSERT_FALSE(g_controlsTrackPositions.empty()) << "the parent saw the thumb move";
    EXPECT_GT(g_controlsTrackPositions.back(), 0) << "the drag's position, not the bar's";
    for (size_t i = 1; i < g_controlsTrackPositions.size(); ++i)
        EXPECT_GE(g_controlsTrackPositions[i], g_controlsTrackPositions[i - 1]);
    si.nPos = 0;
    ::SetScrollInfo(hScroll, SB_CTL, &si, TRUE);
}

TEST_F(SkinControls, TextsOfAnyLengthPaint)
{
    ControlsSkin skin;
    CString strLong;
    for (int i = 0; i < 6000; ++i)
        strLong += static_cast<TCHAR>(u'A' + i % 26);
    LPWSTR lpszLong = const_cast<LPWSTR>(static_cast<LPCWSTR>(strLong));
    HWND hTab = ControlsItem(kIdTab);
    TCITEMW tab = {TCIF_TEXT};
    tab.pszText = lpszLong;
    ::SendMessageW(hTab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&tab));
    HWND hHeader = ControlsItem(kIdHeader);
    HDITEMW item = {HDI_TEXT};
    item.pszText = lpszLong;
    ::SendMessageW(hHeader, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    HWND hToolBar = ControlsItem(kIdToolBar);
    TBBUTTONINFOW button = {sizeof(button), TBIF_TEXT};
    button.pszText = lpszLong;
    ::SendMessageW(hToolBar, TB_SETBUTTONINFOW, 501, reinterpret_cast<LPARAM>(&button));
    HWND hReBar = ControlsItem(kIdReBar);
    REBARBANDINFOW band = {sizeof(band), RBBIM_TEXT};
    band.lpText = lpszLong;
    ::SendMessageW(hReBar, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    HWND hList = ControlsItem(kIdListView);
    LVCOLUMNW column = {LVCF_TEXT | LVCF_WIDTH};
    column.cx = 120;
    column.pszText = lpszLong;
    ::SendMessageW(hList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    LVITEMW row = {LVIF_TEXT};
    row.pszText = lpszLong;
    ::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));

    auto shot = screentest::Capture(g_hControlsDialog);
    for (HWND hWnd : {hTab, hHeader, hToolBar, hReBar, hList})
        EXPECT_TRUE(::IsWindow(hWnd));
    CRect rcItem;
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcItem));
    EXPECT_GE(ControlsPartShare(*shot, hHeader, u"HEADER", 1, 1, rcItem, ControlsLeftEdge(rcItem)), 0.9)
        << "the item behind its long text";

    tab.pszText = const_cast<LPWSTR>(u"Two");
    ::SendMessageW(hTab, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&tab));
    item.pszText = const_cast<LPWSTR>(u"Name");
    ::SendMessageW(hHeader, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    button.pszText = const_cast<LPWSTR>(u"Tool");
    ::SendMessageW(hToolBar, TB_SETBUTTONINFOW, 501, reinterpret_cast<LPARAM>(&button));
    band.lpText = const_cast<LPWSTR>(u"Band");
    ::SendMessageW(hReBar, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    ::SendMessageW(hList, LVM_DELETEALLITEMS, 0, 0);
}

TEST_F(SkinControls, HeaderTabAndTrackBarFollowThePointer)
{
    ControlsSkin skin;
    HWND hHeader = ControlsItem(kIdHeader);
    CRect rcItem;
    ::SendMessageW(hHeader, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
    CRect rcHeader;
    ::GetWindowRect(hHeader, &rcHeader);
    MouseMoveTo(POINT{rcHeader.left + rcItem.CenterPoint().x, rcHeader.top + rcItem.CenterPoint().y});
    auto shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hHeader, u"HEADER", 1, 2, rcItem, ControlsLeftEdge(rcItem)), 0.9)
        << "hot header item";
    MouseLeftDown();
    shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hHeader, u"HEADER", 1, 3, rcItem, ControlsLeftEdge(rcItem)), 0.9)
        << "pressed header item";
    MouseLeftUp();
    ::Sleep(::GetDoubleClickTime() + 50);

    // A press right of the last item sets no pressed state.
    CQVTSkinObjectHeader* pHeader = static_cast<CQVTSkinObjectHeader*>(QVTSkinManager()->Lookup(hHeader));
    ASSERT_NE(nullptr, pHeader);
    MouseMoveTo(POINT{rcHeader.right - 3, rcHeader.CenterPoint().y});
    MouseLeftDown();
    EXPECT_FALSE(pHeader->m_bPressed);
    MouseLeftUp();

    HWND hTab = ControlsItem(kIdTab);
    CRect rcTabItem;
    ::SendMessageW(hTab, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcTabItem));
    CRect rcTab;
    ::GetWindowRect(hTab, &rcTab);
    MouseMoveTo(POINT{rcTab.left + rcTabItem.CenterPoint().x, rcTab.top + rcTabItem.CenterPoint().y});
    shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hTab, u"TAB", 7, 2, rcTabItem, ControlsLeftEdge(rcTabItem, 2)), 0.9)
        << "the last tab hot";

    HWND hTrack = ControlsItem(kIdTrack);
    CRect rcThumb;
    ::SendMessageW(hTrack, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rcThumb));
    CRect rcTrack;
    ::GetWindowRect(hTrack, &rcTrack);
    MouseMoveTo(POINT{rcTrack.left + rcThumb.CenterPoint().x, rcTrack.top + rcThumb.CenterPoint().y});
    shot = screentest::Capture(g_hControlsDialog);
    EXPECT_GE(ControlsPartShare(*shot, hTrack, u"TRACKBAR", 4, 2, rcThumb), 0.9) << "hot thumb";
}

TEST_F(SkinControls, ButtonTabsShowTheSelectedOnePressedOverNoPane)
{
    ControlsSkin skin;
    for (DWORD dwFlat : {0u, static_cast<DWORD>(TCS_FLATBUTTONS)})
    {
        SCOPED_TRACE(dwFlat);
        HWND hTab = ::CreateWindowExW(0, WC_TABCONTROLW, u"", WS_CHILD | WS_VISIBLE | TCS_BUTTONS | dwFlat,
                                      10, 330, 240, 44, g_hControlsDialog, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, hTab);
        for (LPCWSTR lpszText : {u"One", u"Two", u"Three"})
        {
            TCITEMW tab = {TCIF_TEXT};
            tab.pszText = const_cast<LPWSTR>(lpszText);
            ::SendMessageW(hTab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&tab));
        }
        ::SendMessageW(hTab, TCM_SETCURSEL, 1, 0);
        CRect rcItems[3];
        for (int i = 0; i < 3; ++i)
            ::SendMessageW(hTab, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rcItems[i]));
        // The pointer rests on the last button: an unselected one stays normal.
        CPoint ptThree = rcItems[2].CenterPoint();
        ::ClientToScreen(hTab, &ptThree);
        MouseMoveTo(ptThree);
        auto shot = screentest::Capture(g_hControlsDialog);
        const CRect rcTwoEdge = ControlsLeftEdge(rcItems[1]);
        EXPECT_GE(ControlsPartShare(*shot, hTab, u"BUTTON", 1, 3, rcItems[1], rcTwoEdge), 0.9) << "selected";
        EXPECT_LT(ControlsPartShare(*shot, hTab, u"BUTTON", 1, 1, rcItems[1], rcTwoEdge), 0.9)
            << "pressed, not normal";
        for (int i : {0, 2})
            EXPECT_GE(
                ControlsPartShare(*shot, hTab, u"BUTTON", 1, 1, rcItems[i], ControlsLeftEdge(rcItems[i])),
                0.9)
                << "unselected " << i;
        // Below the row the parent's background: no pane.
        const CRect rcClient = ControlsClient(hTab);
        const CRect rcBelow =
            ControlsClientIn(hTab, CRect(0, rcItems[0].bottom + 4, rcClient.right, rcClient.bottom));
        ASSERT_FALSE(rcBelow.IsRectEmpty());
        EXPECT_EQ(rcBelow.Width() * rcBelow.Height(),
                  screentest::CountIn(*shot, rcBelow, ControlsBackground(*shot)));
        ::DestroyWindow(hTab);
        MouseMoveTo(POINT{700, 500});
    }
}

TEST_F(SkinControls, MarqueeStepsAndADisabledBuddy)
{
    ControlsSkin skin;
    HWND hMarquee = ::CreateWindowExW(0, PROGRESS_CLASSW, u"", WS_CHILD | WS_VISIBLE | PBS_MARQUEE, 10, 380,
                                      200, 14, g_hControlsDialog, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hMarquee);
    auto* pProgress = static_cast<CQVTSkinObjectProgress*>(QVTSkinManager()->Lookup(hMarquee));
    ASSERT_NE(nullptr, pProgress);
    int nChunk = 0;
    int nSpace = 0;
    CRect rc;
    ::GetClientRect(hMarquee, &rc);
    pProgress->GetChunkSizes(rc.Height(), &nChunk, &nSpace);
    ASSERT_GT(nChunk + nSpace, 0);
    // A period of 50 ms moves two steps a tick, 51 ms one.
    EXPECT_EQ(1, ::SendMessageW(hMarquee, PBM_SETMARQUEE, TRUE, 50));
    int nBefore = pProgress->m_nMarqueeOffset;
    ::SendMessageW(hMarquee, WM_TIMER, 102, 0);
    EXPECT_EQ(nBefore + 2 * (nChunk + nSpace), pProgress->m_nMarqueeOffset);
    ::SendMessageW(hMarquee, PBM_SETMARQUEE, TRUE, 51);
    nBefore = pProgress->m_nMarqueeOffset;
    ::SendMessageW(hMarquee, WM_TIMER, 102, 0);
    EXPECT_EQ(nBefore + nChunk + nSpace, pProgress->m_nMarqueeOffset);
    ::SendMessageW(hMarquee, PBM_STEPIT, 0, 0);
    EXPECT_EQ(nBefore + 2 * (nChunk + nSpace), pProgress->m_nMarqueeOffset);
    for (int i = 0; i < 100; ++i)
        ::SendMessageW(hMarquee, PBM_STEPIT, 0, 0);
    EXPECT_LT(pProgress->m_nMarqueeOffset, rc.Width()) << "the run wraps to the start";
    ::SendMessageW(hMarquee, PBM_SETMARQUEE, FALSE, 0);
    ::DestroyWindow(hMarquee);

    // A spin whose buddy is disabled shows both arrows disabled.
    HWND hEdit = ControlsItem(kIdEdit);
    HWND hSpin = ControlsItem(kIdSpin);
    ::SendMessageW(hSpin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hEdit), 0);
    ::EnableWindow(hEdit, FALSE);
    auto shot = screentest::Capture(g_hControlsDialog);
    const CRect rcSpin = ControlsClient(hSpin);
    EXPECT_GE(ControlsPartShare(*shot, hSpin, u"SPIN", 1, 4, CRect(0, 0, rcSpin.right, rcSpin.bottom / 2)),
              0.9);
    EXPECT_GE(ControlsPartShare(*shot, hSpin, u"SPIN", 2, 4,
                                CRect(0, rcSpin.bottom / 2, rcSpin.right, rcSpin.bottom)),
              0.9);
    ::EnableWindow(hEdit, TRUE);
    ::SendMessageW(hSpin, UDM_SETBUDDY, 0, 0);
}
