// The edit control on a bar: the spin arithmetic, a real edit window placed
// after the label, typing, focus and change notifications to the site, spin
// and buddy buttons under the mouse, the numbers-only filter against typed
// and pasted text, Escape putting the text back, and the hint.
#include <afxwin.h>
#include <afxext.h>
#include <shlwapi.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/common/common_test_support.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "tests/toolkit/tabmanager/tab_input.h"
#include "toolkit/commandbars/controls/QVTCommandBarEditCtrl.h"
#include "toolkit/commandbars/controls/QVTControlComboBox.h"
#include "toolkit/commandbars/controls/QVTControlComboBoxAutoCompleteWnd.h"
#include "toolkit/commandbars/controls/QVTControlEdit.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

namespace {

TEST(EditSpin, StepsToMultiplesWithinTheIntRange)
{
    EXPECT_EQ(CString(_T("10")), CQVTControlEdit::SpinText(_T("7"), 5, 1));
    EXPECT_EQ(CString(_T("5")), CQVTControlEdit::SpinText(_T("7"), 5, -1));
    EXPECT_EQ(CString(_T("1")), CQVTControlEdit::SpinText(_T(""), 1, 1));
    EXPECT_EQ(CString(_T("-1")), CQVTControlEdit::SpinText(_T("abc"), 1, -1));
    EXPECT_EQ(CString(_T("-5")), CQVTControlEdit::SpinText(_T("-7"), 5, 1));
    EXPECT_EQ(CString(_T("-10")), CQVTControlEdit::SpinText(_T("-7"), 5, -1));
    EXPECT_EQ(CString(_T("20")), CQVTControlEdit::SpinText(_T("0"), 20, 1));
    EXPECT_EQ(CString(_T("13")), CQVTControlEdit::SpinText(_T("12abc"), 1, 1));
    // Past the largest int it stays there, never wrapping to a negative value.
    EXPECT_EQ(CString(_T("2147483647")), CQVTControlEdit::SpinText(_T("2147483647"), 1, 1));
    EXPECT_EQ(CString(_T("2147483647")), CQVTControlEdit::SpinText(_T("2147483640"), 20, 1));
    EXPECT_EQ(CString(_T("2147483647")), CQVTControlEdit::SpinText(_T("99999999999999999999999"), 1, 1));
    EXPECT_EQ(CString(_T("-2147483648")), CQVTControlEdit::SpinText(_T("-2147483648"), 1, -1));
    EXPECT_EQ(CString(_T("-2147483648")), CQVTControlEdit::SpinText(_T("-99999999999999999999"), 5, -1));
}

// The site: records the control notifications and can answer spins.
class CEditSite : public CWnd
{
public:
    std::vector<UINT> m_codes;
    std::vector<int> m_deltas;
    LRESULT m_lSpinAnswer = 0;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == QVTWM_CONTROLNOTIFY)
        {
            const NMQVTCONTROL* pNM = reinterpret_cast<const NMQVTCONTROL*>(lParam);
            m_codes.push_back(pNM->code);
            *pResult = 0;
            if (pNM->code == QVT_EN_SPINUP || pNM->code == QVT_EN_SPINDOWN)
            {
                m_deltas.push_back(static_cast<const NMQVTEDITSPIN*>(pNM)->iDelta);
                *pResult = m_lSpinAnswer;
            }
            return TRUE;
        }
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
};

}  // namespace

class EditOnABar : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pSite = new CEditSite();
        s_pSite->CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)),
                          _T("Edit site"), WS_POPUP | WS_BORDER | WS_VISIBLE, CRect(700, 40, 1100, 140),
                          nullptr, 0);
        PumpMessages(50);
    }
    static void TearDownTestSuite()
    {
        s_pSite->DestroyWindow();
        delete s_pSite;
    }
    void SetUp() override
    {
        CQVTPaintManager::SetTheme(qvtThemeOfficeXP);
        m_pBar = new CTestBar();
        m_pBar->m_pParentWnd = s_pSite;
        ASSERT_TRUE(m_pBar->Create(qvtBarTop));
        m_pBar->MoveWindow(0, 0, 390, 40);
        m_pEdit = static_cast<CQVTControlEdit*>(m_pBar->GetControls()->AddByType(qvtControlEdit, 3001));
        ASSERT_NE(nullptr, m_pEdit);
        m_pEdit->SetWidth(200);
        s_pSite->m_codes.clear();
        s_pSite->m_deltas.clear();
        s_pSite->m_lSpinAnswer = 0;
    }
    void TearDown() override
    {
        m_pBar->DestroyWindow();
        m_pBar->InternalRelease();
        PumpMessages(10);
    }
    void Layout()
    {
        m_pBar->Layout(390);
        PumpMessages(20);
    }
    HWND EditWindow() const
    {
        return m_pEdit->GetEditCtrl() ? m_pEdit->GetEditCtrl()->GetSafeHwnd() : nullptr;
    }
    CString WindowText() const
    {
        CString str;
        ::GetWindowText(EditWindow(), str.GetBuffer(256), 256);
        str.ReleaseBuffer();
        return str;
    }
    CPoint ScreenPoint(CPoint pt) const
    {
        m_pBar->ClientToScreen(&pt);
        return pt;
    }

    static CEditSite* s_pSite;
    CTestBar* m_pBar = nullptr;
    CQVTControlEdit* m_pEdit = nullptr;
};

CEditSite* EditOnABar::s_pSite = nullptr;

namespace {

TEST_F(EditOnABar, TheWindowSitsInTheBarAfterTheLabel)
{
    m_pEdit->SetCaption(_T("Name"));
    m_pEdit->ShowLabel(TRUE);
    m_pEdit->SetShowSpinButtons(TRUE);
    Layout();
    ASSERT_TRUE(::IsWindow(EditWindow()));
    EXPECT_EQ(m_pBar->GetSafeHwnd(), ::GetParent(EditWindow()));
    EXPECT_EQ(qvtControlEdit, m_pEdit->GetType());
    const CRect rc = m_pEdit->GetRect();
    EXPECT_EQ(200, rc.Width());
    EXPECT_GT(m_pEdit->GetLabelWidth(), 0) << "the caption's room";
    CRect rcEdit;
    ::GetWindowRect(EditWindow(), &rcEdit);
    m_pBar->ScreenToClient(&rcEdit);
    EXPECT_EQ(rc.left + m_pEdit->GetLabelWidth() + CQVTPaintManager::DpiX(4), rcEdit.left);
    EXPECT_EQ(rc.right - CQVTPaintManager::DpiX(3) - CQVTPaintManager::DpiX(17), rcEdit.right)
        << "room for spins";
    EXPECT_TRUE(::GetWindowLong(EditWindow(), GWL_STYLE) & WS_VISIBLE);

    // Hidden with the control, and gone with the bar.
    m_pEdit->SetVisible(FALSE);
    EXPECT_FALSE(::GetWindowLong(EditWindow(), GWL_STYLE) & WS_VISIBLE);
    m_pEdit->SetVisible(TRUE);
    m_pEdit->OnCalcDynamicSize(LM_VERTDOCK);
    EXPECT_FALSE(m_pEdit->IsVisible()) << "no edits on vertical bars";
    m_pEdit->OnCalcDynamicSize(LM_HORZDOCK);
    EXPECT_TRUE(m_pEdit->IsVisible());
}

TEST_F(EditOnABar, TypedTextReachesTheControlAndTheSiteHearsOfIt)
{
    Layout();
    s_pSite->SetForegroundWindow();
    CRect rcEdit;
    ::GetWindowRect(EditWindow(), &rcEdit);
    MouseClickAt(rcEdit.CenterPoint());
    PumpMessages(50);
    EXPECT_TRUE(m_pEdit->GetFocused());
    EXPECT_EQ(EditWindow(), ::GetFocus());
    KeyPress('4');
    KeyPress('2');
    PumpMessages(50);
    EXPECT_EQ(CString(_T("42")), m_pEdit->GetEditText());
    ASSERT_FALSE(s_pSite->m_codes.empty());
    EXPECT_EQ(static_cast<UINT>(EN_SETFOCUS), s_pSite->m_codes.front());
    EXPECT_EQ(2, std::count(s_pSite->m_codes.begin(), s_pSite->m_codes.end(), static_cast<UINT>(EN_CHANGE)));

    // Escape, as the keyboard manager hands it on, puts back the text the
    // edit had when it took the focus, and gives the focus back.
    EXPECT_FALSE(m_pEdit->OnHookKeyDown(VK_ESCAPE, 0)) << "handled only in popup bars";
    EXPECT_EQ(CString(), m_pEdit->GetEditText());
    EXPECT_FALSE(m_pEdit->GetFocused());
    EXPECT_NE(EditWindow(), ::GetFocus());
    EXPECT_EQ(static_cast<UINT>(EN_KILLFOCUS), s_pSite->m_codes.back());
}

TEST_F(EditOnABar, SpinButtonsStepTheNumberUnlessTheSiteDoesIt)
{
    m_pEdit->SetShowSpinButtons(TRUE);
    Layout();
    m_pEdit->SetEditText(_T("7"));
    m_pEdit->OnSpin(5, 1);
    EXPECT_EQ(CString(_T("10")), m_pEdit->GetEditText());
    m_pEdit->OnSpin(5, -1);
    EXPECT_EQ(CString(_T("5")), m_pEdit->GetEditText());
    EXPECT_EQ((std::vector<int>{5, -5}), s_pSite->m_deltas);
    EXPECT_EQ(QVT_EN_SPINUP, s_pSite->m_codes[0]);
    EXPECT_EQ(QVT_CN_EXECUTE, s_pSite->m_codes[1]);

    s_pSite->m_lSpinAnswer = 1;
    m_pEdit->OnSpin(1, 1);
    EXPECT_EQ(CString(_T("5")), m_pEdit->GetEditText()) << "the site took the step";
    s_pSite->m_lSpinAnswer = 0;

    // A click on the upper spin button steps once by one.
    s_pSite->m_codes.clear();
    const CRect rcSpin = m_pEdit->GetSpinButtonsRect();
    const CPoint ptUp = ScreenPoint(CPoint(rcSpin.CenterPoint().x, rcSpin.top + rcSpin.Height() / 4));
    TabInput::Drive([&](DWORD dwUi) {
        TabInput::Down(ptUp);
        ScriptWaitForCapture(dwUi, true);
        ScriptMouseButton(MOUSEEVENTF_LEFTUP, 40);
        ScriptWaitForCapture(dwUi, false);
    });
    EXPECT_EQ(CString(_T("6")), m_pEdit->GetEditText());
    EXPECT_EQ(0, m_pEdit->GetPressed());

    // A read-only edit does not spin.
    m_pEdit->SetReadOnly(TRUE);
    m_pEdit->OnClick(FALSE, rcSpin.CenterPoint());
    EXPECT_EQ(CString(_T("6")), m_pEdit->GetEditText());
}

TEST_F(EditOnABar, NumbersOnlyRefusesLettersTypedOrPastedButKeepsEditingKeys)
{
    m_pEdit->SetNumbersOnly(TRUE);
    Layout();
    s_pSite->SetForegroundWindow();
    CRect rcEdit;
    ::GetWindowRect(EditWindow(), &rcEdit);
    MouseClickAt(rcEdit.CenterPoint());
    PumpMessages(50);
    KeyPress('5');
    KeyPress('A');
    KeyPress('6');
    PumpMessages(30);
    EXPECT_EQ(CString(_T("56")), WindowText()) << "the letter is ignored";

    auto PutOnClipboard = [&](LPCTSTR lpszText) {
        ASSERT_TRUE(::OpenClipboard(s_pSite->GetSafeHwnd()));
        ::EmptyClipboard();
        const size_t nBytes = (::lstrlenW(lpszText) + 1) * sizeof(WCHAR);
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
        memcpy(::GlobalLock(hData), lpszText, nBytes);
        ::GlobalUnlock(hData);
        ::SetClipboardData(CF_UNICODETEXT, hData);
        ::CloseClipboard();
    };
    // Ctrl+V of "12a" changes nothing; the pointer stays put so the
    // modifier holds.
    PutOnClipboard(_T("12a"));
    SendKey(VK_CONTROL, false);
    ::Sleep(30);
    KeyPress('V');
    SendKey(VK_CONTROL, true);
    PumpMessages(50);
    EXPECT_EQ(CString(_T("56")), WindowText());
    ::SendMessage(EditWindow(), WM_PASTE, 0, 0);
    EXPECT_EQ(CString(_T("56")), WindowText());

    PutOnClipboard(_T("78"));
    ::SendMessage(EditWindow(), EM_SETSEL, 1, 1);
    ::SendMessage(EditWindow(), WM_PASTE, 0, 0);
    EXPECT_EQ(CString(_T("5786")), WindowText()) << "digits paste where the caret is";

    KeyPress(VK_END);
    KeyPress(VK_BACK);
    PumpMessages(30);
    EXPECT_EQ(CString(_T("578")), WindowText()) << "Backspace still deletes";

    // A long pasted text with one letter far inside is refused as well.
    CString strLong(_T('1'), 20000);
    strLong.SetAt(15000, _T('x'));
    PutOnClipboard(strLong);
    ::SendMessage(EditWindow(), WM_PASTE, 0, 0);
    EXPECT_EQ(CString(_T("578")), WindowText());
}

TEST_F(EditOnABar, TheHintShowsInAnEmptyEditWithoutFocus)
{
    m_pEdit->SetEditHint(_T("Search"));
    Layout();
    EXPECT_EQ(CString(_T("Search")), WindowText());
    EXPECT_EQ(CString(), m_pEdit->GetEditText()) << "the hint counts as empty";
    m_pEdit->SetText(_T("abc"));
    EXPECT_EQ(CString(_T("abc")), WindowText());
    m_pEdit->SetText(_T(""));
    EXPECT_EQ(CString(_T("Search")), WindowText());
    m_pEdit->SetFocused(TRUE);
    PumpMessages(20);
    EXPECT_EQ(CString(), WindowText()) << "focus clears the hint";
    m_pEdit->SetFocused(FALSE);
}

}  // namespace

namespace {

CString EditClipboardText()
{
    CString strText;
    if (!::OpenClipboard(nullptr))
        return strText;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (hData)
    {
        strText = static_cast<LPCWSTR>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return strText;
}

}  // namespace

TEST_F(EditOnABar, ARightClickOffersCutCopyAndPasteAndRunsTheChosenOne)
{
    Layout();
    s_pSite->SetForegroundWindow();
    CRect rcEdit;
    ::GetWindowRect(EditWindow(), &rcEdit);
    MouseClickAt(rcEdit.CenterPoint());
    PumpMessages(50);
    ASSERT_EQ(EditWindow(), ::GetFocus());
    KeyPress('4');
    KeyPress('2');
    ::SendMessage(EditWindow(), EM_SETSEL, 0, -1);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    // The menu opens under the pointer; C chooses Copy.
    const DWORD dwUiThread = ::GetCurrentThreadId();
    RunInputScript([&] {
        ScriptMouseMove(rcEdit.CenterPoint(), 40);
        ScriptMouseButton(MOUSEEVENTF_RIGHTDOWN, 40);
        ScriptMouseButton(MOUSEEVENTF_RIGHTUP, 40);
        ScriptWaitForCapture(dwUiThread, true, 3000);
        ::Sleep(300);
        SendKey('C', false);
        SendKey('C', true);
        ScriptWaitForCapture(dwUiThread, false, 3000);
    });
    PumpMessages(50);
    EXPECT_EQ(CString(_T("42")), EditClipboardText());
    EXPECT_EQ(CString(_T("42")), WindowText()) << "copied, not cut";
}

TEST_F(EditOnABar, ShellCompletionIsBoundToTheWindowAtRunTime)
{
    // Before the window exists the flags wait for it.
    EXPECT_TRUE(m_pEdit->SetShellAutoComplete(SHACF_FILESYSTEM));
    Layout();
    ASSERT_TRUE(::IsWindow(EditWindow()));
    EXPECT_EQ(static_cast<DWORD>(SHACF_FILESYSTEM), m_pEdit->GetShellAutoCompleteFlags());
    // Without the shell's function the binding fails; with it, it holds.
    CQVTControlComboBoxAutoCompleteWnd::s_lpszLibrary = _T("no_such_library.dll");
    EXPECT_FALSE(m_pEdit->SetShellAutoComplete(SHACF_FILESYSTEM));
    CQVTControlComboBoxAutoCompleteWnd::s_lpszLibrary = _T("shlwapi.dll");
    EXPECT_TRUE(m_pEdit->SetShellAutoComplete(SHACF_FILESYSTEM));
    EXPECT_TRUE(m_pEdit->SetShellAutoComplete(0));
    EXPECT_EQ(0u, m_pEdit->GetShellAutoCompleteFlags());
}
