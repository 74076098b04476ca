// The recorder's format, profile, output folder and split choice.
#include "app/recorder/SondrelDlg.h"

#include <reason.h>

#include "app/formats/AudioFormats.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/MessageBox.h"
#include "app/program/WMInstaller.h"
#include "app/program/WMInstallerResource.h"
#include "app/program/resource.h"
#include "app/profiles/SondrelProfilesEditor.h"
#include "common/ApplicationBase.h"
#include "common/Logging.h"
#include "toolkit/controls/browse/QVTBrowseDialog.h"

// clang-format off
const SplitValue g_SplitSizes[SPLIT_SIZE_COUNT] = {
    {_T("0.25 "), 256, IDS_UNIT_MB},    {_T("0.5 "), 512, IDS_UNIT_MB},     {_T("1 "), 1024, IDS_UNIT_MB},
    {_T("2 "), 2048, IDS_UNIT_MB},      {_T("3 "), 3072, IDS_UNIT_MB},      {_T("4 "), 4096, IDS_UNIT_MB},
    {_T("5 "), 5120, IDS_UNIT_MB},      {_T("8 "), 8192, IDS_UNIT_MB},      {_T("12 "), 12288, IDS_UNIT_MB},
    {_T("16 "), 16384, IDS_UNIT_MB},    {_T("24 "), 24576, IDS_UNIT_MB},    {_T("32 "), 32768, IDS_UNIT_MB},
    {_T("64 "), 65536, IDS_UNIT_MB},    {_T("96 "), 98304, IDS_UNIT_MB},    {_T("128 "), 131072, IDS_UNIT_MB},
    {_T("160 "), 163840, IDS_UNIT_MB},  {_T("192 "), 196608, IDS_UNIT_MB},  {_T("224 "), 229376, IDS_UNIT_MB},
    {_T("256 "), 262144, IDS_UNIT_MB},
};

const SplitValue g_SplitDurations[SPLIT_DURATION_COUNT] = {
    {_T("10 "), 10, IDS_UNIT_SEC},      {_T("15 "), 15, IDS_UNIT_SEC},      {_T("20 "), 20, IDS_UNIT_SEC},
    {_T("30 "), 30, IDS_UNIT_SEC},      {_T("1 "), 60, IDS_UNIT_MIN},       {_T("1.5 "), 90, IDS_UNIT_MIN},
    {_T("2 "), 120, IDS_UNIT_MIN},      {_T("3 "), 180, IDS_UNIT_MIN},      {_T("4 "), 240, IDS_UNIT_MIN},
    {_T("5 "), 300, IDS_UNIT_MIN},      {_T("8 "), 480, IDS_UNIT_MIN},      {_T("10 "), 600, IDS_UNIT_MIN},
    {_T("15 "), 900, IDS_UNIT_MIN},     {_T("20 "), 1200, IDS_UNIT_MIN},    {_T("30 "), 1800, IDS_UNIT_MIN},
    {_T("60 "), 3600, IDS_UNIT_MIN},    {_T("90 "), 5400, IDS_UNIT_MIN},    {_T("120 "), 7200, IDS_UNIT_MIN},
    {_T("180 "), 10800, IDS_UNIT_MIN},  {_T("240 "), 14400, IDS_UNIT_MIN},
};
// clang-format on

namespace {

// The codecs' installer, modally; TRUE once it ran the redistributable.
BOOL RunWindowsMediaInstaller(CWnd* pParent)
{
    CWMInstaller dialog(pParent);
    return dialog.DoModal() == IDOK;
}

// Codecs that need a new start of Windows: planned, for a reconfiguration.
void RestartWindows()
{
    HANDLE hToken = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken))
    {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValue(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            ::AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, nullptr, nullptr);
        ::CloseHandle(hToken);
    }
    const DWORD dwReason =
        SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG;
    CSondrelDlg::s_pfnExitWindowsEx(EWX_REBOOT, dwReason);
}

}  // namespace

BOOL(WINAPI* CSondrelDlg::s_pfnExitWindowsEx)(UINT, DWORD) = &::ExitWindowsEx;

void CSondrelDlg::OnSelectFormat(UINT nCommandId)
{
    int nFormat = FindAudioFormatByCommand((int)nCommandId);
    if (nFormat >= 0)
    {
        if (nFormat != AUDIO_FORMAT_WMA || m_pProfileManager->GetWMCodecCount() > 0)
        {
            m_pProfileManager->SetCurrentFormat(nFormat);
        }
        else if (RunWindowsMediaInstaller(this))
        {
            m_pProfileManager->LoadWMV();
            if (m_pProfileManager->GetWMCodecCount() > 0)
            {
                ShowMessageBox(nullptr, LoadAppString(IDS_WM_INSTALLED), LoadAppString(IDS_TITLE_INFORMATION),
                               SMB_INFO_OK, this);
                m_pProfileManager->SetCurrentFormat(nFormat);
            }
            else if (ShowMessageBox(nullptr, LoadAppString(IDS_WM_RESTART),
                                    LoadAppString(IDS_TITLE_INFORMATION), SMB_INFO_YESNO, this) == IDYES)
            {
                RestartWindows();
            }
        }
    }
    OnChangeFormat();
    RefreshDescInfo();
}

void CSondrelDlg::OnChangeFormat()
{
    APP_LOG_START(_T("OnChangeFormat"));
    m_comboProfiles.ResetContent();
    int nCount = m_pProfileManager->GetProfileCount();
    for (int i = 0; i < nCount; ++i)
    {
        CEngineRef<IMediaPropertyBag5> profile(m_pProfileManager->GetProfile(i));
        CString strName;
        if (profile)
        {
            BSTR bstrName = nullptr;
            profile->GetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, &bstrName);
            strName = TakeEngineString(bstrName);
        }
        m_comboProfiles.AddString(strName);
    }
    m_comboProfiles.SetCurSel(m_pProfileManager->GetCurrentProfileIndex());
    APP_LOG_END(_T("OnChangeFormat"));
}

void CSondrelDlg::OnProfileSelChange()
{
    m_pProfileManager->SetCurrentProfileIndex(m_comboProfiles.GetCurSel());
}

void CSondrelDlg::OnEditProfiles()
{
    CSondrelProfilesEditor editor(this);
    editor.m_pManager = m_pProfileManager;
    // Edits stay in the manager however the editor closes: the list is
    // read again whatever it answers.
    editor.DoModal();
    OnChangeFormat();
}

void CSondrelDlg::OnBrowseFolder()
{
    CQVTBrowseDialog dialog(this);
    dialog.m_bi.lpszTitle = _T("Select output directory");
    dialog.m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;
    if (m_pParent)
        dialog.SetSelPath(m_pParent->GetOutputFolder());
    if (dialog.DoModal() != IDOK)
        return;
    CString strFolder = dialog.GetSelPath();
    // A drive root already ends with its separator.
    if (strFolder.GetLength() > 3)
        strFolder += _T("\\");
    if (m_pParent)
        m_pParent->SetOutputFolder(strFolder);
    m_editOutputFolder.SetWindowText(strFolder);
}

void CSondrelDlg::OnSplitCheck()
{
    BOOL bSplit = m_checkSplit.GetCheck() == BST_CHECKED;
    if (bSplit)
    {
        m_radioByDuration.SetCheck(BST_CHECKED);
        m_radioBySize.SetCheck(BST_UNCHECKED);
    }
    else
    {
        m_radioByDuration.SetCheck(BST_UNCHECKED);
        m_radioBySize.SetCheck(BST_UNCHECKED);
    }
    m_radioByDuration.EnableWindow(bSplit);
    m_radioBySize.EnableWindow(bSplit);
    m_comboSplitValue.EnableWindow(bSplit);
    FillSplitValues();
}

void CSondrelDlg::FillSplitValues()
{
    m_comboSplitValue.ResetContent();
    const SplitValue* pValues = nullptr;
    int nCount = 0, nDefault = 0;
    if (m_radioBySize.GetCheck() == BST_CHECKED)
    {
        pValues = g_SplitSizes;
        nCount = SPLIT_SIZE_COUNT;
        nDefault = SPLIT_SIZE_DEFAULT;
    }
    else if (m_radioByDuration.GetCheck() == BST_CHECKED)
    {
        pValues = g_SplitDurations;
        nCount = SPLIT_DURATION_COUNT;
        nDefault = SPLIT_DURATION_DEFAULT;
    }
    for (int i = 0; i < nCount; ++i)
    {
        int nEntry = m_comboSplitValue.AddString(CString(pValues[i].pszNumber) +
                                                 LoadAppString(pValues[i].nUnitString));
        m_comboSplitValue.SetItemData(nEntry, (DWORD_PTR)pValues[i].nValue);
    }
    if (nCount > 0)
        m_comboSplitValue.SetCurSel(nDefault);
}
