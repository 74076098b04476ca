#include "tests/toolkit/ribbon/ribbon_host.h"

#include <commctrl.h>

#include "tests/support/solid_icon.h"
#include "tests/toolkit/ribbon/ribbon_test_ids.h"
#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/commandbars/controls/QVTControls.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/foundation/image/QVTImageManagerIcon.h"
#include "toolkit/themes/resource/QVTResourceTheme.h"

namespace {

void SetTestIcon(CQVTImageManager* pImageManager, UINT nId, int nSize)
{
    CQVTImageManagerRasterImageHandle handle;
    handle.AttachIcon(MakeSolidIcon(nSize, nSize, RGB(40 + nId % 7 * 30, 90, 160)));
    pImageManager->SetIcon(handle, nId, CSize(nSize, nSize));
}

struct TabChangeRecord
{
    NMQVTCONTROL nm;
    CQVTRibbonTab* pTab;
};

}  // namespace

void PumpHost(DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    do
    {
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (!AfxPreTranslateMessage(&msg))
            {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
        if (dwMilliseconds)
            ::Sleep(5);
    } while (::GetTickCount() - dwStart < dwMilliseconds);
}

void CRibbonHost::RegisterIcons(CQVTImageManager* pImageManager)
{
    for (UINT nId = ID_RIBBON_RECORD; nId <= ID_RIBBON_ABOUT; ++nId)
        SetTestIcon(pImageManager, nId, 16);
    for (UINT nId = ID_RIBBON_RECORD; nId <= ID_RIBBON_PREVIOUS; ++nId)
        SetTestIcon(pImageManager, nId, 32);
}

CRibbonHost::CRibbonHost() {}

CRibbonHost::~CRibbonHost()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CRibbonHost::CreateHost(const CRect& rcScreen, BOOL bActivate)
{
    m_bActivate = bActivate;
    if (!Create(IDD_RIBBON_HOST))
        return FALSE;
    SetWindowPos(&CWnd::wndTopMost, rcScreen.left, rcScreen.top, rcScreen.Width(), rcScreen.Height(),
                 SWP_SHOWWINDOW | (bActivate ? 0 : SWP_NOACTIVATE));
    if (bActivate)
        SetForegroundWindow();
    UpdateWindow();
    PumpHost(50);
    return TRUE;
}

BOOL CRibbonHost::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_bActivate)
        ModifyStyleEx(0, WS_EX_NOACTIVATE);
    Reset();
    return TRUE;
}

void CRibbonHost::Reset(LPCTSTR lpszScheme)
{
    m_changing.clear();
    m_changed.clear();
    m_nMinimizeMessages = 0;
    m_nInitialUpdates = 0;
    m_lRefuseChange = 0;
    m_asked.clear();
    m_made.clear();
    m_nOwnControlId = 0;
    m_pOwnControl = nullptr;
    m_nPopupId = 0;

    CQVTPaintManager::SetTheme(qvtThemeRibbon);
    CQVTPaintManager* pTheme = QVTPaintManager();
    pTheme->SetImageHandle(::GetModuleHandle(nullptr), lpszScheme);

    m_pRibbon = nullptr;
    InitCommandBars();
    CQVTCommandBars* pCommandBars = GetCommandBars();
    m_pRibbon = static_cast<CQVTRibbonBar*>(
        pCommandBars->Add(_T("The Ribbon"), qvtBarTop, RUNTIME_CLASS(CQVTRibbonBar)));
    if (!m_pRibbon)
        return;
    RegisterIcons(m_pRibbon->GetImageManager());

    CQVTRibbonTab* pHome = m_pRibbon->AddTab(IDS_RIBBON_HOME);
    CQVTRibbonGroup* pRecord = pHome->AddGroup(IDS_RIBBON_GROUP_RECORD);
    pRecord->Add(qvtControlButton, ID_RIBBON_RECORD, _T("Record"));
    pRecord->Add(qvtControlButton, ID_RIBBON_PAUSE, _T("Pause"));
    pRecord->Add(qvtControlButton, ID_RIBBON_STOP, _T("Stop"));
    CQVTRibbonGroup* pPlayback = pHome->AddGroup(_T("Playback"), 4002);
    pPlayback->Add(qvtControlButton, ID_RIBBON_PLAY, _T("Play"));
    pPlayback->Add(qvtControlButton, ID_RIBBON_NEXT, _T("Next"));
    pPlayback->Add(qvtControlButton, ID_RIBBON_PREVIOUS, _T("Previous"));
    CQVTRibbonGroup* pFiles = pHome->AddGroup(_T("Files"), 4003);
    pFiles->Add(qvtControlButton, ID_RIBBON_RENAME, _T("Rename"));
    pFiles->Add(qvtControlButton, ID_RIBBON_DELETE, _T("Delete"));
    pFiles->Add(qvtControlButton, ID_RIBBON_INFO, _T("Information"));
    pFiles->ShowOptionButton(TRUE);

    CQVTRibbonTab* pOptions = m_pRibbon->AddTab(IDS_RIBBON_OPTIONS);
    CQVTRibbonGroup* pOutput = pOptions->AddGroup(_T("Output"), 4004);
    pOutput->Add(qvtControlButton, ID_RIBBON_FOLDER, _T("Folder"));
    pOutput->Add(qvtControlButton, ID_RIBBON_PROFILE, _T("Profile"));
    pOutput->Add(qvtControlButton, ID_RIBBON_SPLITTIME, _T("Split by time"));

    CQVTRibbonTab* pHelp = m_pRibbon->AddTab(IDS_RIBBON_HELP);
    CQVTRibbonGroup* pHelpGroup = pHelp->AddGroup(_T("Help"), 4005);
    pHelpGroup->Add(qvtControlButton, ID_RIBBON_HELPTOPICS, _T("Help topics"));
    pHelpGroup->Add(qvtControlButton, ID_RIBBON_ABOUT, _T("About"));

    m_pRibbon->EnableFrameTheme();
    m_pRibbon->SetCurrentTab(0);
    pCommandBars->RecalcFrameLayout();
    m_changing.clear();
    m_changed.clear();
    if (IsWindowVisible())
        UpdateWindow();
    PumpHost();
}

void CRibbonHost::ResizeClient(int cx, int cy)
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcClient;
    GetClientRect(&rcClient);
    SetWindowPos(nullptr, 0, 0, cx + rcWindow.Width() - rcClient.Width(),
                 cy + rcWindow.Height() - rcClient.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetCommandBars()->RecalcFrameLayout();
    PumpHost();
}

CQVTRibbonGroup* CRibbonHost::FindGroup(int nId) const
{
    for (int i = 0; i < m_pRibbon->GetTabCount(); ++i)
    {
        CQVTRibbonGroup* pGroup = m_pRibbon->GetTab(i)->FindGroup(nId);
        if (pGroup)
            return pGroup;
    }
    return nullptr;
}

CQVTControl* CRibbonHost::FindControl(int nId) const
{
    return m_pRibbon->GetControls()->FindControl(nId);
}

CPoint CRibbonHost::ScreenPointOf(const CRect& rcClient) const
{
    CPoint pt = rcClient.CenterPoint();
    m_pRibbon->ClientToScreen(&pt);
    return pt;
}

BOOL CRibbonHost::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == QVTWM_CONTROLNOTIFY && lParam)
    {
        const NMHDR* pNM = reinterpret_cast<const NMHDR*>(lParam);
        if (pNM->code == static_cast<UINT>(TCN_SELCHANGING))
        {
            m_changing.push_back(reinterpret_cast<const TabChangeRecord*>(lParam)->pTab);
            *pResult = m_lRefuseChange;
            return TRUE;
        }
        if (pNM->code == static_cast<UINT>(TCN_SELCHANGE))
        {
            m_changed.push_back(reinterpret_cast<const TabChangeRecord*>(lParam)->pTab);
            *pResult = 0;
            return TRUE;
        }
    }
    if (message == QVTWM_BEFORECREATECONTROL && lParam)
    {
        auto* pCreate = reinterpret_cast<QVTCREATECONTROLSTRUCT*>(lParam);
        m_asked.push_back(pCreate->nID);
        if (pCreate->nID == m_nOwnControlId)
            pCreate->pControl = m_pOwnControl;
        if (pCreate->nID == m_nPopupId)
            pCreate->controlType = qvtControlPopup;
        *pResult = 0;
        return TRUE;
    }
    if (message == QVTWM_AFTERCREATECONTROL && lParam)
    {
        auto* pCreate = reinterpret_cast<QVTCREATECONTROLSTRUCT*>(lParam);
        m_made.push_back({pCreate->nID, pCreate->pControl});
        *pResult = 0;
        return TRUE;
    }
    if (message == QVTWM_RIBBONMINIMIZE)
        ++m_nMinimizeMessages;
    if (message == QVTWM_RIBBONINITIALUPDATE)
        ++m_nInitialUpdates;
    return CQVTDialogBase<CDialog>::OnWndMsg(message, wParam, lParam, pResult);
}
