#include "real_input.h"
#include "site_dialog.h"

#include "tests/toolkit/commandbars/support/test_resources.h"
#include "toolkit/commandbars/controls/QVTControl.h"
#include "toolkit/commandbars/controls/QVTControls.h"

BEGIN_MESSAGE_MAP(CSiteDialog, CDialog)
    ON_COMMAND(ID_TEST_NEW, &CSiteDialog::OnNew)
    ON_COMMAND(ID_TEST_OPEN, &CSiteDialog::OnOpen)
    ON_COMMAND(ID_TEST_PRINT, &CSiteDialog::OnPrint)
    ON_UPDATE_COMMAND_UI(ID_TEST_OPEN, &CSiteDialog::OnUpdateOpen)
    ON_NOTIFY(QVT_CN_EXECUTE, ID_TEST_PRINT, &CSiteDialog::OnNotifyPrint)
    ON_MESSAGE(QVTWM_CONTROLNOTIFY, &CSiteDialog::OnControlNotify)
    ON_MESSAGE(QVTWM_BEFORECREATECONTROL, &CSiteDialog::OnBeforeCreateControl)
    ON_MESSAGE(QVTWM_AFTERCREATECONTROL, &CSiteDialog::OnAfterCreateControl)
    ON_MESSAGE(QVTWM_HOTCONTROLCHANGED, &CSiteDialog::OnHotControlChanged)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CSiteDialog::OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, &CSiteDialog::OnPopMessageString)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CSiteDialog::CSiteDialog() {}

CSiteDialog::~CSiteDialog()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CSiteDialog::CreateSite(BOOL bWithBar)
{
    m_bWithBar = bWithBar;
    if (!Create(IDD_TEST_SITE))
        return FALSE;
    SetWindowPos(&CWnd::wndTopMost, 40, 40, 720, 260, SWP_SHOWWINDOW);
    SetForegroundWindow();
    UpdateWindow();
    return TRUE;
}

void CSiteDialog::Reset(BOOL bWithBar)
{
    m_bWithBar = bWithBar;
    m_nNew = m_nOpen = m_nPrint = m_nPrintNotify = m_nSizes = 0;
    m_nBeforeCreate = m_nAfterCreate = m_nHotChanges = 0;
    m_statusTexts.clear();
    m_bOpenEnabled = TRUE;
    m_nOpenChecked = 0;
    m_lNotifyAnswer = 0;
    m_pfnOnNew = nullptr;
    m_pBar = nullptr;
    InitCommandBars();
    if (m_bWithBar)
    {
        m_pBar = new CTestBar();
        if (!GetCommandBars()->AddCommandBar(m_pBar, _T("Test"), qvtBarTop))
            m_pBar = nullptr;
        CMenu menu;
        if (m_pBar && menu.LoadMenu(IDR_TEST_MENU))
            m_pBar->LoadMenu(menu.GetSubMenu(0));
        GetCommandBars()->RecalcFrameLayout();
    }
    m_nSizes = 0;
    if (IsWindowVisible())
    {
        SetForegroundWindow();
        UpdateWindow();
    }
    PumpMessages();
}

BOOL CSiteDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    Reset(m_bWithBar);
    return TRUE;
}

CQVTControl* CSiteDialog::FindControl(UINT nId) const
{
    return m_pBar ? m_pBar->GetControls()->FindControl(static_cast<int>(nId)) : nullptr;
}

CPoint CSiteDialog::ScreenCenterOf(CQVTControl* pControl) const
{
    CPoint pt = pControl->GetRect().CenterPoint();
    m_pBar->ClientToScreen(&pt);
    return pt;
}

void CSiteDialog::OnNew()
{
    ++m_nNew;
    if (m_pfnOnNew)
        m_pfnOnNew(this);
}

void CSiteDialog::OnOpen()
{
    ++m_nOpen;
}

void CSiteDialog::OnPrint()
{
    ++m_nPrint;
}

void CSiteDialog::OnUpdateOpen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bOpenEnabled);
    pCmdUI->SetCheck(m_nOpenChecked);
}

void CSiteDialog::OnNotifyPrint(NMHDR*, LRESULT* pResult)
{
    ++m_nPrintNotify;
    *pResult = 1;
}

LRESULT CSiteDialog::OnControlNotify(WPARAM, LPARAM)
{
    return m_lNotifyAnswer;
}

LRESULT CSiteDialog::OnBeforeCreateControl(WPARAM, LPARAM)
{
    ++m_nBeforeCreate;
    return 0;
}

LRESULT CSiteDialog::OnAfterCreateControl(WPARAM, LPARAM lParam)
{
    const QVTCREATECONTROLSTRUCT* pCreate = reinterpret_cast<QVTCREATECONTROLSTRUCT*>(lParam);
    if (pCreate && pCreate->pControl)
        ++m_nAfterCreate;
    return 0;
}

LRESULT CSiteDialog::OnHotControlChanged(WPARAM, LPARAM)
{
    ++m_nHotChanges;
    return 0;
}

LRESULT CSiteDialog::OnSetMessageString(WPARAM, LPARAM lParam)
{
    m_statusTexts.push_back(reinterpret_cast<LPCTSTR>(lParam));
    return 0;
}

LRESULT CSiteDialog::OnPopMessageString(WPARAM, LPARAM)
{
    m_statusTexts.push_back(CString());
    return 0;
}

void CSiteDialog::OnSize(UINT nType, int cx, int cy)
{
    ++m_nSizes;
    CDialog::OnSize(nType, cx, cy);
}

void QueueClickAt(CPoint ptScreen)
{
    MouseMoveTo(ptScreen);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpMessages(20);
}
