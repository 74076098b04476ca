// A resource dialog run modally and driven by its own timer: data exchange
// both ways, validation that stops OK, idle-time command updates, the owner
// disabled during the modal loop; modeless and in-memory templates.
#include <afxwin.h>
#include <stdexcept>
#include <vector>

#include "dialogs_resource.h"
#include "sondrel_gtest.h"

namespace {

const UINT_PTR TIMER_SCRIPT = 1;

class CSettingsDlg : public CDialog
{
public:
    explicit CSettingsDlg(CWnd* pParent) : CDialog(IDD_SETTINGS, pParent) {}

    CString m_strName = _T("Alice");
    int m_nCount = 7;
    int m_bEnabled = TRUE;
    int m_nLevel = 1;
    int m_nFormat = 1;
    int m_nList = 2;
    int m_nSlider = 30;
    double m_dRate = 2.5;
    CWnd m_wndApply;

    // What the script saw.
    int m_nStep = 0;
    int m_nTicks = 0;
    int m_nUpdates = 0;
    int m_nApplied = 0;
    int m_nNameChanges = 0;
    bool m_bApplyAllowed = false;
    bool m_bOwnerDisabled = false;
    bool m_bLoadedOk = false;
    bool m_bApplyWasDisabled = false;
    CString m_strValidationMessage;
    bool m_bFocusOnFailedControl = false;
    HWND m_hWndOwner = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_APPLY, m_wndApply);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 20);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 99);
        DDX_Check(pDX, IDC_ENABLED, m_bEnabled);
        DDX_Radio(pDX, IDC_LOW, m_nLevel);
        DDX_CBIndex(pDX, IDC_FORMAT, m_nFormat);
        DDX_LBIndex(pDX, IDC_LIST, m_nList);
        DDX_Slider(pDX, IDC_SLIDER, m_nSlider);
        DDX_Text(pDX, IDC_RATE, m_dRate);
    }

    BOOL OnInitDialog() override
    {
        for (LPCTSTR item : {_T("WAV"), _T("MP3"), _T("OGG")})
        {
            SendDlgItemMessage(IDC_FORMAT, CB_ADDSTRING, 0, (LPARAM)item);
            SendDlgItemMessage(IDC_LIST, LB_ADDSTRING, 0, (LPARAM)item);
        }
        SendDlgItemMessage(IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        CDialog::OnInitDialog();
        SetTimer(TIMER_SCRIPT, 30, nullptr);
        return TRUE;
    }

    CString Text(int nID)
    {
        CString text;
        GetDlgItemText(nID, text);
        return text;
    }

    // One step per tick; a step that waits for idle work just returns.
    afx_msg void OnTimer(UINT_PTR)
    {
        if (++m_nTicks > 300)
        {
            EndDialog(IDABORT);  // never hang the suite
            return;
        }
        switch (m_nStep)
        {
        case 0:
            m_bOwnerDisabled = m_hWndOwner != nullptr && !::IsWindowEnabled(m_hWndOwner);
            m_bLoadedOk = Text(IDC_NAME) == _T("Alice") && Text(IDC_COUNT) == _T("7") &&
                          IsDlgButtonChecked(IDC_ENABLED) == BST_CHECKED &&
                          GetCheckedRadioButton(IDC_LOW, IDC_HIGH) == IDC_MID &&
                          SendDlgItemMessage(IDC_FORMAT, CB_GETCURSEL) == 1 &&
                          SendDlgItemMessage(IDC_LIST, LB_GETCURSEL) == 2 &&
                          SendDlgItemMessage(IDC_SLIDER, TBM_GETPOS) == 30 && Text(IDC_RATE) == _T("2.5") &&
                          m_nNameChanges == 0 && CWnd::FromHandlePermanent(m_wndApply.m_hWnd) == &m_wndApply;
            if (m_nUpdates == 0)
                return;  // wait for the first idle update
            m_bApplyWasDisabled = !m_wndApply.IsWindowEnabled();
            SetDlgItemText(IDC_NAME, _T("Bob"));  // the user types: EN_CHANGE
            m_nStep = 1;
            break;
        case 1:
            if (!m_wndApply.IsWindowEnabled())
                return;  // the idle update enables Apply
            m_wndApply.SendMessage(BM_CLICK);
            SetDlgItemText(IDC_COUNT, _T("500"));
            m_nStep = 2;
            PostMessage(WM_COMMAND, IDOK);  // validation fails with a message box
            break;
        case 2:
        {
            // Runs inside the message box's own loop.
            HWND hWndBox = FindMessageBox();
            if (hWndBox == nullptr)
                return;
            m_strValidationMessage = MessageBoxText(hWndBox);
            ::SendMessage(hWndBox, WM_COMMAND, IDOK, 0);
            m_nStep = 3;
            break;
        }
        case 3:
            m_bFocusOnFailedControl = ::GetFocus() == ::GetDlgItem(m_hWnd, IDC_COUNT);
            SetDlgItemText(IDC_COUNT, _T("12"));
            CheckDlgButton(IDC_ENABLED, BST_UNCHECKED);
            CheckRadioButton(IDC_LOW, IDC_HIGH, IDC_HIGH);
            SendDlgItemMessage(IDC_FORMAT, CB_SETCURSEL, 2);
            SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 0);
            SendDlgItemMessage(IDC_SLIDER, TBM_SETPOS, TRUE, 70);
            SetDlgItemText(IDC_RATE, _T("3.75"));
            m_nStep = 4;
            PostMessage(WM_COMMAND, IDOK);
            break;
        default:
            break;
        }
    }

    struct Search
    {
        HWND hWndDialog;
        HWND hWndFound;
    };

    static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
    {
        Search* p = reinterpret_cast<Search*>(lParam);
        TCHAR szClass[32] = {};
        ::GetClassName(hWnd, szClass, 32);
        if (hWnd != p->hWndDialog && lstrcmp(szClass, _T("#32770")) == 0 && ::IsWindowVisible(hWnd))
        {
            p->hWndFound = hWnd;
            return FALSE;
        }
        return TRUE;
    }

    HWND FindMessageBox()
    {
        Search search = {m_hWnd, nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, (LPARAM)&search);
        return search.hWndFound;
    }

    static CString MessageBoxText(HWND hWndBox)
    {
        // The prompt is the box's static text control.
        CString text;
        for (HWND hWndChild = ::GetWindow(hWndBox, GW_CHILD); hWndChild != nullptr;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
        {
            TCHAR szClass[32] = {};
            ::GetClassName(hWndChild, szClass, 32);
            if (lstrcmpi(szClass, _T("Static")) == 0)
            {
                CString part;
                CWnd::FromHandle(hWndChild)->GetWindowText(part);
                text += part;
            }
        }
        return text;
    }

    afx_msg void OnApply() { ++m_nApplied; }
    afx_msg void OnUpdateApply(CCmdUI* pCmdUI)
    {
        ++m_nUpdates;
        pCmdUI->Enable(m_bApplyAllowed);
    }
    afx_msg void OnNameChanged()
    {
        ++m_nNameChanges;
        m_bApplyAllowed = true;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_APPLY, &CSettingsDlg::OnApply)
    ON_UPDATE_COMMAND_UI(IDC_APPLY, &CSettingsDlg::OnUpdateApply)
    ON_EN_CHANGE(IDC_NAME, &CSettingsDlg::OnNameChanged)
END_MESSAGE_MAP()

}  // namespace

class DialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { AfxEndDeferRegisterClass(AFX_WNDCOMMCTLS_REG); }
};

namespace {

TEST_F(DialogTest, ModalDialogExchangesValidatesAndUpdatesIdle)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), _T("owner"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr));
    CSettingsDlg dlg(&owner);
    dlg.m_hWndOwner = owner.m_hWnd;

    ASSERT_EQ(dlg.DoModal(), IDOK);

    EXPECT_TRUE(dlg.m_bLoadedOk);
    EXPECT_TRUE(dlg.m_bOwnerDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());  // given back afterwards
    EXPECT_TRUE(dlg.m_bApplyWasDisabled);
    EXPECT_GT(dlg.m_nUpdates, 1);
    EXPECT_EQ(dlg.m_nApplied, 1);
    EXPECT_EQ(dlg.m_nNameChanges, 1);  // none from UpdateData itself
    EXPECT_NE(dlg.m_strValidationMessage.Find(_T("between 1 and 99")), -1);
    EXPECT_TRUE(dlg.m_bFocusOnFailedControl);

    EXPECT_EQ(dlg.m_strName, CString(_T("Bob")));
    EXPECT_EQ(dlg.m_nCount, 12);
    EXPECT_EQ(dlg.m_bEnabled, 0);
    EXPECT_EQ(dlg.m_nLevel, 2);
    EXPECT_EQ(dlg.m_nFormat, 2);
    EXPECT_EQ(dlg.m_nList, 0);
    EXPECT_EQ(dlg.m_nSlider, 70);
    EXPECT_DOUBLE_EQ(dlg.m_dRate, 3.75);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_wndApply.m_hWnd, nullptr);  // went with its window
    owner.DestroyWindow();
}

// Ends itself from OnInitDialog in the way the test names.
class CSelfEndingDlg : public CDialog
{
public:
    enum Mode
    {
        PostCancel,
        EndInInit,
        ThrowInInit
    };
    Mode m_mode;
    CString m_strBefore = _T("unchanged");
    bool m_bInitRan = false;

    CSelfEndingDlg(Mode mode) : CDialog(IDD_SETTINGS), m_mode(mode) {}

protected:
    BOOL OnInitDialog() override
    {
        m_bInitRan = true;
        CDialog::OnInitDialog();
        switch (m_mode)
        {
        case PostCancel:
            SetDlgItemText(IDC_NAME, _T("typed"));
            PostMessage(WM_COMMAND, IDCANCEL);
            break;
        case EndInInit:
            EndDialog(42);
            break;
        case ThrowInInit:
            PostMessage(WM_COMMAND, IDCANCEL);
            throw std::runtime_error("init failed");
        }
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strBefore); }
};

TEST_F(DialogTest, CancelLeavesTheMembersAlone)
{
    CSelfEndingDlg dlg(CSelfEndingDlg::PostCancel);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strBefore, CString(_T("unchanged")));
}

TEST_F(DialogTest, EndDialogDuringInitEndsTheModalRun)
{
    CSelfEndingDlg dlg(CSelfEndingDlg::EndInInit);
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_TRUE(dlg.m_bInitRan);
}

TEST_F(DialogTest, ExceptionInInitDialogIsCaught)
{
    CSelfEndingDlg dlg(CSelfEndingDlg::ThrowInInit);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, MissingTemplateFailsCleanly)
{
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(9999));
}

TEST_F(DialogTest, ModelessDialogFromTheResource)
{
    CSettingsDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Create(IDD_SETTINGS));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_EQ(caption, CString(_T("Settings")));
    CString name;
    dlg.GetDlgItemText(IDC_NAME, name);
    EXPECT_EQ(name, CString(_T("Alice")));  // OnInitDialog ran the exchange
    dlg.SetDlgItemText(IDC_NAME, _T("Carol"));
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strName, CString(_T("Carol")));
    dlg.KillTimer(TIMER_SCRIPT);
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// A template built in memory: the dialog and one push button.
std::vector<WORD> MakeTemplate(LPCTSTR lpszCaption)
{
    std::vector<WORD> t;
    auto putDword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto putString = [&t](LPCTSTR s) {
        do
        {
            t.push_back((WORD)*s);
        } while (*s++ != 0);
    };
    putDword(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
    putDword(0);     // extended style
    t.push_back(1);  // one item
    t.push_back(10);
    t.push_back(10);
    t.push_back(120);
    t.push_back(60);
    t.push_back(0);  // no menu
    t.push_back(0);  // standard class
    putString(lpszCaption);
    if (t.size() % 2)
        t.push_back(0);  // items are DWORD-aligned
    putDword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    putDword(0);
    t.push_back(10);
    t.push_back(10);
    t.push_back(50);
    t.push_back(14);
    t.push_back(IDOK);
    t.push_back(0xFFFF);
    t.push_back(0x0080);  // button class
    putString(_T("OK"));
    t.push_back(0);  // no creation data
    return t;
}

class CMemoryDlg : public CDialog
{
public:
    bool m_bInit = false;

protected:
    BOOL OnInitDialog() override
    {
        m_bInit = true;
        CDialog::OnInitDialog();
        PostMessage(WM_COMMAND, IDOK);
        return TRUE;
    }
};

TEST_F(DialogTest, InMemoryTemplatesModalAndModeless)
{
    std::vector<WORD> modalTemplate = MakeTemplate(_T("Modal"));
    CMemoryDlg modal;
    ASSERT_TRUE(modal.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(modalTemplate.data())));
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_TRUE(modal.m_bInit);

    std::vector<WORD> modelessTemplate = MakeTemplate(_T("Modeless"));
    CDialog modeless;
    ASSERT_TRUE(modeless.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(modelessTemplate.data())));
    CString caption;
    modeless.GetWindowText(caption);
    EXPECT_EQ(caption, CString(_T("Modeless")));
    EXPECT_NE(modeless.GetDlgItem(IDOK), nullptr);
    modeless.DestroyWindow();
}

}  // namespace

namespace {

class CStringsDlg : public CDialog
{
public:
    CStringsDlg() : CDialog(IDD_SETTINGS) {}
    CString m_strFormat;
    CString m_strList;
    int m_nCount = 0;
    bool m_bExact = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_bExact)
            DDX_CBStringExact(pDX, IDC_FORMAT, m_strFormat);
        else
            DDX_CBString(pDX, IDC_FORMAT, m_strFormat);
        DDX_LBString(pDX, IDC_LIST, m_strList);
    }
    BOOL OnInitDialog() override
    {
        // Dialog-init records: 16-bit CB_ADDSTRING and LB_ADDSTRING with ANSI text.
        static const BYTE init[] = {0xEF, 0x03, 0x03, 0x04, 4, 0, 0, 0,   'W', 'A', 'V', 0,  // IDC_FORMAT
                                    0xEF, 0x03, 0x03, 0x04, 5, 0, 0, 0,   'W', 'A', 'V', 'E', 0, 0xF0,
                                    0x03, 0x01, 0x04, 4,    0, 0, 0, 'M', 'P', '3', 0,  // IDC_LIST
                                    0xF0, 0x03, 0x01, 0x04, 4, 0, 0, 0,   'O', 'G', 'G', 0,   0, 0};
        ExecuteDlgInit((LPVOID)init);
        return CDialog::OnInitDialog();
    }
};

TEST_F(DialogTest, StringExchangeWithListsFilledFromDialogInit)
{
    CStringsDlg dlg;
    dlg.m_strFormat = _T("WAVE");
    dlg.m_strList = _T("OGG");
    ASSERT_TRUE(dlg.Create(IDD_SETTINGS));
    EXPECT_EQ(dlg.SendDlgItemMessage(IDC_FORMAT, CB_GETCOUNT), 2);
    EXPECT_EQ(dlg.SendDlgItemMessage(IDC_LIST, LB_GETCOUNT), 2);
    // Loading selects by prefix, as the list box does.
    EXPECT_EQ(dlg.SendDlgItemMessage(IDC_FORMAT, CB_GETCURSEL), 1);
    EXPECT_EQ(dlg.SendDlgItemMessage(IDC_LIST, LB_GETCURSEL), 1);

    dlg.m_strFormat = _T("WAV");
    dlg.m_bExact = true;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.SendDlgItemMessage(IDC_FORMAT, CB_GETCURSEL), 0);  // exact match, not "WAVE"

    dlg.SendDlgItemMessage(IDC_FORMAT, CB_SETCURSEL, 1);
    dlg.SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 0);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strFormat, CString(_T("WAVE")));
    EXPECT_EQ(dlg.m_strList, CString(_T("MP3")));
    dlg.KillTimer(TIMER_SCRIPT);
    dlg.DestroyWindow();
}

}  // namespace
