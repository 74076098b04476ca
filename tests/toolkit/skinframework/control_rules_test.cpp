// The rules the skinned controls paint by: part and state choices, the
// bounded arithmetic of progress bars and track bars, and control texts read
// whole at any length.
#include <commctrl.h>

#include "sondrel_gtest.h"
#include "toolkit/skinframework/controls/QVTSkinControlRules.h"

namespace {
CString ControlRulesLongText(int nLength)
{
    CString strText;
    for (int i = 0; i < nLength; ++i)
        strText += static_cast<TCHAR>(u'a' + i % 26);
    return strText;
}

HWND ControlRulesCreate(LPCTSTR lpszClass, DWORD dwStyle)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return ::CreateWindowExW(0, lpszClass, u"", WS_POPUP | dwStyle, 0, 0, 300, 40, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

TEST(SkinControlRules, ButtonPartsAndStatesByTypeAndInput)
{
    int nPart = 0;
    int nState = 0;
    struct Case
    {
        DWORD dwStyle;
        BOOL bHot, bPushed;
        int nCheck;
        BOOL bEnabled;
        int nPart, nState;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, FALSE, FALSE, 0, TRUE, 1, 1},
        {BS_DEFPUSHBUTTON, FALSE, FALSE, 0, TRUE, 1, 5},
        {BS_DEFPUSHBUTTON, TRUE, FALSE, 0, TRUE, 1, 2},
        {BS_PUSHBUTTON, TRUE, TRUE, 0, TRUE, 1, 3},
        {BS_PUSHBUTTON, TRUE, TRUE, 0, FALSE, 1, 4},
        {BS_AUTOCHECKBOX | BS_PUSHLIKE, FALSE, FALSE, 1, TRUE, 1, 3},
        {BS_AUTORADIOBUTTON, FALSE, FALSE, 1, TRUE, 2, 5},
        {BS_RADIOBUTTON, TRUE, FALSE, 0, TRUE, 2, 2},
        {BS_AUTOCHECKBOX, FALSE, TRUE, 1, TRUE, 3, 7},
        {BS_AUTOCHECKBOX, FALSE, FALSE, 0, FALSE, 3, 4},
        // The indeterminate state takes states 9 to 12.
        {BS_AUTO3STATE, FALSE, FALSE, BST_INDETERMINATE, TRUE, 3, 9},
        {BS_3STATE, TRUE, FALSE, BST_INDETERMINATE, TRUE, 3, 10},
        {BS_3STATE, FALSE, FALSE, BST_INDETERMINATE, FALSE, 3, 12},
        {BS_GROUPBOX, TRUE, FALSE, 0, TRUE, 4, 1},
        {BS_GROUPBOX, FALSE, FALSE, 0, FALSE, 4, 2},
        {BS_SPLITBUTTON, FALSE, FALSE, 0, TRUE, 1, 1},
        {BS_DEFSPLITBUTTON, FALSE, FALSE, 0, TRUE, 1, 5},
    };
    for (const Case& c : cases)
    {
        const int nType = QVTSkinButtonType(c.dwStyle, 255);
        QVTSkinButtonPartState(nType, c.dwStyle, c.bHot, c.bPushed, c.nCheck, c.bEnabled, &nPart, &nState);
        EXPECT_EQ(c.nPart, nPart) << "style " << c.dwStyle;
        EXPECT_EQ(c.nState, nState) << "style " << c.dwStyle << " hot " << c.bHot << " check " << c.nCheck;
    }
    EXPECT_EQ(qvtSkinButtonRadio, QVTSkinButtonType(BS_PUSHBUTTON, qvtSkinButtonRadio))
        << "the override wins";
    EXPECT_FALSE(QVTSkinIsButtonSkinned(QVTSkinButtonType(BS_OWNERDRAW, 255)));
    EXPECT_FALSE(QVTSkinIsButtonSkinned(QVTSkinButtonType(BS_COMMANDLINK, 255)));
    EXPECT_FALSE(QVTSkinIsButtonSkinned(QVTSkinButtonType(BS_DEFCOMMANDLINK, 255)));
    EXPECT_TRUE(QVTSkinIsButtonSkinned(QVTSkinButtonType(BS_DEFSPLITBUTTON, 255)));

    EXPECT_EQ(static_cast<DWORD>(BS_CENTER | BS_VCENTER), QVTSkinButtonAlignment(qvtSkinButtonPush, 0));
    EXPECT_EQ(static_cast<DWORD>(BS_LEFT | BS_VCENTER), QVTSkinButtonAlignment(qvtSkinButtonCheckBox, 0));
    EXPECT_EQ(static_cast<DWORD>(BS_RIGHT | BS_TOP),
              QVTSkinButtonAlignment(qvtSkinButtonCheckBox, BS_RIGHT | BS_TOP));
}

TEST(SkinControlRules, ProgressArithmeticIsBoundedForEveryRangeAndChunk)
{
    EXPECT_EQ(50, QVTSkinProgressFilled(100, 5, 0, 10));
    EXPECT_EQ(100, QVTSkinProgressFilled(100, 10, 0, 10));
    // Empty and reversed ranges fill nothing; positions outside are held in.
    EXPECT_EQ(0, QVTSkinProgressFilled(100, 5, 5, 5));
    EXPECT_EQ(0, QVTSkinProgressFilled(100, 5, 10, 0));
    EXPECT_EQ(100, QVTSkinProgressFilled(100, 50, 0, 10));
    EXPECT_EQ(0, QVTSkinProgressFilled(100, -50, 0, 10));
    EXPECT_EQ(50, QVTSkinProgressFilled(100, 0, INT_MIN, INT_MAX)) << "a full 32-bit range overflows no int";
    // A range of one value fills smoothly.
    EXPECT_EQ(100, QVTSkinProgressFilled(100, 1, 0, 1));

    EXPECT_EQ(0, QVTSkinProgressChunkCount(0, 8, 2));
    EXPECT_EQ(1, QVTSkinProgressChunkCount(1, 8, 2));
    EXPECT_EQ(1, QVTSkinProgressChunkCount(8, 8, 2));
    EXPECT_EQ(2, QVTSkinProgressChunkCount(11, 8, 2));
    // A chunk plus space of 0 (or less) is a pixel per chunk, no division by 0.
    EXPECT_EQ(7, QVTSkinProgressChunkCount(7, 0, 0));
    EXPECT_EQ(7, QVTSkinProgressChunkCount(7, -3, -1));

    EXPECT_EQ(10, QVTSkinProgressAdvance(0, 1, 8, 2, 100));
    EXPECT_EQ(20, QVTSkinProgressAdvance(0, 2, 8, 2, 100));
    EXPECT_EQ(0, QVTSkinProgressAdvance(95, 1, 8, 2, 100)) << "passing the end wraps to the start";
    EXPECT_EQ(1, QVTSkinProgressAdvance(0, 1, 0, 0, 100));
    EXPECT_EQ(0, QVTSkinProgressAdvance(0, 1, 8, 2, 0));
}

TEST(SkinControlRules, TrackBarPixelsAndTicksAreBounded)
{
    EXPECT_EQ(10, QVTSkinTrackBarValueToPixel(10, 101, 0, 0, 100));
    EXPECT_EQ(60, QVTSkinTrackBarValueToPixel(10, 101, 50, 0, 100));
    EXPECT_EQ(110, QVTSkinTrackBarValueToPixel(10, 101, 100, 0, 100));
    // Equal and reversed bounds map to the start, never start - 1.
    EXPECT_EQ(10, QVTSkinTrackBarValueToPixel(10, 101, 7, 7, 7));
    EXPECT_EQ(10, QVTSkinTrackBarValueToPixel(10, 101, 5, 9, 1));
    EXPECT_EQ(10, QVTSkinTrackBarValueToPixel(10, 0, 5, 0, 10)) << "a channel of no pixels";
    EXPECT_EQ(110, QVTSkinTrackBarValueToPixel(10, 101, 500, 0, 100)) << "past the maximum";
    EXPECT_EQ(10, QVTSkinTrackBarValueToPixel(10, 101, INT_MIN, INT_MIN, INT_MAX));

    int nDrawn = 0;
    for (int i = 0; i < 10; ++i)
        nDrawn += QVTSkinTrackBarIsTickDrawn(i, 0) ? 1 : 0;
    EXPECT_EQ(10, nDrawn) << "frequency 0 draws every tick";
    nDrawn = 0;
    for (int i = 0; i < 10; ++i)
        nDrawn += QVTSkinTrackBarIsTickDrawn(i, 3) ? 1 : 0;
    EXPECT_EQ(4, nDrawn);
    EXPECT_TRUE(QVTSkinTrackBarIsTickDrawn(5, -2));
}

TEST(SkinControlRules, SpinHalvesAndTabItems)
{
    const RECT rc = {0, 0, 20, 40};
    EXPECT_EQ(2, QVTSkinSpinHitTest(rc, POINT{5, 5}, FALSE)) << "upper half";
    EXPECT_EQ(1, QVTSkinSpinHitTest(rc, POINT{5, 35}, FALSE)) << "lower half";
    EXPECT_EQ(0, QVTSkinSpinHitTest(rc, POINT{5, 20}, FALSE)) << "the middle";
    EXPECT_EQ(0, QVTSkinSpinHitTest(rc, POINT{25, 5}, FALSE)) << "outside";
    EXPECT_EQ(1, QVTSkinSpinHitTest(rc, POINT{2, 5}, TRUE));
    EXPECT_EQ(2, QVTSkinSpinHitTest(rc, POINT{18, 5}, TRUE));

    EXPECT_EQ(3, QVTSkinSpinState(1, 1, 1, TRUE)) << "pressed and hot";
    EXPECT_EQ(2, QVTSkinSpinState(1, 0, 1, TRUE)) << "pressed, the pointer moved off";
    EXPECT_EQ(2, QVTSkinSpinState(1, 1, 0, TRUE));
    EXPECT_EQ(1, QVTSkinSpinState(1, 1, 2, TRUE)) << "hot while the other half is pressed";
    EXPECT_EQ(4, QVTSkinSpinState(1, 1, 1, FALSE));

    EXPECT_EQ(6, QVTSkinTabItemPart(0, 3, FALSE, FALSE));
    EXPECT_EQ(5, QVTSkinTabItemPart(1, 3, FALSE, FALSE));
    EXPECT_EQ(7, QVTSkinTabItemPart(2, 3, FALSE, FALSE));
    EXPECT_EQ(5, QVTSkinTabItemPart(2, 3, TRUE, FALSE));
    EXPECT_EQ(5, QVTSkinTabItemState(TRUE, FALSE, FALSE));
    EXPECT_EQ(5, QVTSkinTabItemState(FALSE, TRUE, TRUE));
    EXPECT_EQ(3, QVTSkinTabItemState(FALSE, TRUE, FALSE));
    EXPECT_EQ(2, QVTSkinTabItemState(FALSE, FALSE, TRUE));
}

TEST(SkinControlRules, ControlTextsAreReadWholeAtAnyLength)
{
    const CString strLong = ControlRulesLongText(5000);

    HWND hToolBar = ControlRulesCreate(TOOLBARCLASSNAME, 0);
    ASSERT_NE(nullptr, hToolBar);
    ::SendMessageW(hToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = 41;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].iString = reinterpret_cast<INT_PTR>(static_cast<LPCWSTR>(strLong));
    buttons[1].iBitmap = I_IMAGENONE;
    buttons[1].idCommand = 42;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].iString = -1;
    ASSERT_TRUE(::SendMessageW(hToolBar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons)));
    EXPECT_EQ(strLong, QVTSkinGetToolBarButtonText(hToolBar, 41, FALSE));
    EXPECT_EQ(CString(strLong.Left(300)), QVTSkinGetToolBarButtonText(hToolBar, 41, TRUE).Left(300));
    EXPECT_TRUE(QVTSkinGetToolBarButtonText(hToolBar, 42, FALSE).IsEmpty()) << "a button without text";
    EXPECT_TRUE(QVTSkinGetToolBarButtonText(hToolBar, 99, FALSE).IsEmpty()) << "no such button";
    ::DestroyWindow(hToolBar);

    HWND hTab = ControlRulesCreate(WC_TABCONTROLW, 0);
    ASSERT_NE(nullptr, hTab);
    TCITEMW tab = {};
    tab.mask = TCIF_TEXT | TCIF_IMAGE;
    tab.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strLong));
    tab.iImage = 3;
    ASSERT_EQ(0, ::SendMessageW(hTab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab)));
    CString strRead;
    int nImage = -1;
    EXPECT_TRUE(QVTSkinGetTabItem(hTab, 0, &strRead, &nImage));
    EXPECT_EQ(strLong, strRead);
    EXPECT_EQ(3, nImage);
    EXPECT_FALSE(QVTSkinGetTabItem(hTab, 5, &strRead, &nImage));
    ::DestroyWindow(hTab);

    HWND hHeader = ControlRulesCreate(WC_HEADERW, 0);
    ASSERT_NE(nullptr, hHeader);
    HDITEMW header = {};
    header.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
    header.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strLong));
    header.fmt = HDF_STRING | HDF_SORTUP;
    header.cxy = 80;
    ASSERT_EQ(0, ::SendMessageW(hHeader, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&header)));
    HDITEMW headerRead = {};
    EXPECT_TRUE(QVTSkinGetHeaderItem(hHeader, 0, &strRead, &headerRead));
    EXPECT_EQ(strLong, strRead);
    EXPECT_TRUE(headerRead.fmt & HDF_SORTUP);
    EXPECT_EQ(80, headerRead.cxy);
    ::DestroyWindow(hHeader);

    HWND hReBar = ControlRulesCreate(REBARCLASSNAMEW, 0);
    ASSERT_NE(nullptr, hReBar);
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_TEXT | RBBIM_STYLE;
    band.fStyle = RBBS_GRIPPERALWAYS;
    band.lpText = const_cast<LPWSTR>(static_cast<LPCWSTR>(strLong));
    ASSERT_TRUE(
        ::SendMessageW(hReBar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));
    REBARBANDINFOW bandRead = {};
    EXPECT_TRUE(QVTSkinGetReBarBand(hReBar, 0, &strRead, &bandRead));
    EXPECT_EQ(strLong, strRead);
    EXPECT_TRUE(bandRead.fStyle & RBBS_GRIPPERALWAYS);
    ::DestroyWindow(hReBar);
}
