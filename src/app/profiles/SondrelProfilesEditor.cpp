#include "app/profiles/SondrelProfilesEditor.h"

#include "app/formats/AudioFormats.h"
#include "app/profiles/ProfilesEditorResource.h"
#include "app/profiles/SondrelProfileManager.h"
#include "app/program/MessageBox.h"
#include "app/program/resource.h"
#include "common/ApplicationBase.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

CString ProfileText(IMediaPropertyBag5* pProfile, LPCTSTR pszName)
{
    BSTR b = nullptr;
    if (!pProfile || FAILED(pProfile->GetString(CEngineString(pszName), 0, &b)))
        return CString();
    return TakeEngineString(b);
}

}  // namespace

CSondrelProfilesEditor::CSondrelProfilesEditor(CWnd* pParent)
{
    m_pParentWnd = pParent;
    // Through the resource manager, so that a language resource can replace it.
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_PROFILES_EDITOR);
    if (pTemplate != nullptr)
        InitModalIndirect(pTemplate, pParent);
}

BOOL CSondrelProfilesEditor::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_panel.Create(this, m_pManager);
    m_panel.RefreshList(TRUE);
    m_panel.ShowSelected();
    return TRUE;
}

BEGIN_MESSAGE_MAP(CSondrelProfilesPanel, CDialog)
    ON_LBN_SELCHANGE(IDC_PROFILE_LIST, &CSondrelProfilesPanel::OnSelChangeProfiles)
    ON_EN_CHANGE(IDC_PROFILE_NAME, &CSondrelProfilesPanel::OnTextChange)
    ON_EN_CHANGE(IDC_PROFILE_DESCRIPTION, &CSondrelProfilesPanel::OnTextChange)
    ON_BN_CLICKED(IDC_PROFILE_ADD, &CSondrelProfilesPanel::OnAddProfile)
    ON_BN_CLICKED(IDC_PROFILE_INSERT, &CSondrelProfilesPanel::OnInsertProfile)
    ON_BN_CLICKED(IDC_PROFILE_DELETE, &CSondrelProfilesPanel::OnDeleteProfile)
    ON_BN_CLICKED(IDC_PROFILE_UP, &CSondrelProfilesPanel::OnMoveUp)
    ON_BN_CLICKED(IDC_PROFILE_DOWN, &CSondrelProfilesPanel::OnMoveDown)
    ON_BN_CLICKED(IDC_PROFILE_SAVE, &CSondrelProfilesPanel::OnSaveProfiles)
    ON_BN_CLICKED(IDC_PROFILE_RESTORE, &CSondrelProfilesPanel::OnRestoreProfiles)
    ON_BN_CLICKED(IDC_PROFILE_APPLY, &CSondrelProfilesPanel::OnApplyProfile)
END_MESSAGE_MAP()

BOOL CSondrelProfilesPanel::Create(CWnd* pParent, CSondrelProfileManager* pManager)
{
    m_pManager = pManager;
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_PROFILES_PANEL);
    if (pTemplate == nullptr || !CreateIndirect(pTemplate, pParent))
        return FALSE;
    ShowWindow(SW_SHOW);
    m_pageAudio.Create(this, pManager);
    m_pageWM.Create(this, pManager);
    return TRUE;
}

BOOL CSondrelProfilesPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_btnUp.SetBitmap(CSize(16, 16), IDB_PROFILE_MOVE_UP);
    m_btnDown.SetBitmap(CSize(16, 16), IDB_PROFILE_MOVE_DOWN);
    return TRUE;
}

void CSondrelProfilesPanel::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROFILE_UP, m_btnUp);
    DDX_Control(pDX, IDC_PROFILE_DOWN, m_btnDown);
    DDX_Control(pDX, IDC_PROFILE_LIST, m_listProfiles);
    DDX_Control(pDX, IDC_PROFILE_NAME, m_editName);
    DDX_Control(pDX, IDC_PROFILE_DESCRIPTION, m_editDescription);
    DDX_Control(pDX, IDC_PROFILE_COUNTER, m_editCounter);
}

BOOL CSondrelProfilesPanel::IsWMFormat() const
{
    return m_pManager && m_pManager->GetCurrentFormat() == AUDIO_FORMAT_WMA;
}

void CSondrelProfilesPanel::RefreshList(BOOL bReloadPage)
{
    if (!m_pManager || !m_hWnd)
        return;
    m_bUpdating = TRUE;
    if (bReloadPage)
    {
        m_pageAudio.ShowWindow(SW_HIDE);
        m_pageWM.ShowWindow(SW_HIDE);
    }
    m_listProfiles.ResetContent();
    m_editName.SetWindowText(_T(""));
    m_editDescription.SetWindowText(_T(""));
    m_editCounter.SetWindowText(_T("0/0"));
    const int nCount = m_pManager->GetProfileCount();
    for (int i = 0; i < nCount; ++i)
    {
        CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(i));
        if (profile)
            m_listProfiles.AddString(ProfileText(profile.Get(), MEDIA_PROP_PROFILE_NAME));
    }
    if (bReloadPage)
    {
        if (IsWMFormat())
        {
            m_pageWM.FillCodecList();
            m_pageWM.ShowWindow(SW_SHOW);
        }
        else
        {
            m_pageAudio.FillCodecList();
            m_pageAudio.ShowWindow(SW_SHOW);
        }
    }
    ShowSelected();
    m_bUpdating = FALSE;
}

void CSondrelProfilesPanel::ShowSelected()
{
    if (!m_pManager || !m_hWnd)
        return;
    const BOOL bWasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    const int nCount = m_pManager->GetProfileCount();
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    CEngineRef<IMediaPropertyBag5> profile(m_pManager->GetProfile(nSelected));
    if (profile && nCount > 0)
    {
        m_editName.SetWindowText(ProfileText(profile.Get(), MEDIA_PROP_PROFILE_NAME));
        m_editDescription.SetWindowText(ProfileText(profile.Get(), MEDIA_PROP_PROFILE_DESCRIPTION));
        CString strCounter;
        strCounter.Format(_T("%d/%d"), nSelected + 1, nCount);
        m_editCounter.SetWindowText(strCounter);
        m_listProfiles.SetCurSel(nSelected);
        if (IsWMFormat())
            m_pageWM.SelectCurrent();
        else
            m_pageAudio.SelectCurrent();
    }
    m_bUpdating = bWasUpdating;
}

void CSondrelProfilesPanel::ApplyNameAndDescription()
{
    CEngineRef<IMediaPropertyBag5> profile(m_pManager ? m_pManager->GetProfile(-1) : nullptr);
    if (!profile || m_bUpdating)
        return;
    CString strName, strDescription;
    m_editName.GetWindowText(strName);
    m_editDescription.GetWindowText(strDescription);
    profile->SetString(CEngineString(MEDIA_PROP_PROFILE_NAME), 0, CEngineString(strName),
                       MEDIA_PROPFLAG_PROFILE);
    profile->SetString(CEngineString(MEDIA_PROP_PROFILE_DESCRIPTION), 0, CEngineString(strDescription),
                       MEDIA_PROPFLAG_PROFILE);
    m_pManager->SetProfile(profile.Get(), -1);
    const int nEntry = m_listProfiles.GetCurSel();
    if (nEntry >= 0)
    {
        m_listProfiles.InsertString(nEntry, strName);
        m_listProfiles.DeleteString(nEntry + 1);
    }
    m_listProfiles.SetCurSel(m_pManager->GetCurrentProfileIndex());
}

void CSondrelProfilesPanel::OnSelChangeProfiles()
{
    m_pManager->SetCurrentProfileIndex(m_listProfiles.GetCurSel());
    ShowSelected();
}

void CSondrelProfilesPanel::OnTextChange()
{
    if (!m_bUpdating)
        ApplyNameAndDescription();
}

void CSondrelProfilesPanel::OnAddProfile()
{
    m_pManager->AddDefaultProfile(-1);
    m_pManager->SetCurrentProfileIndex(m_pManager->GetProfileCount() - 1);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnInsertProfile()
{
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    m_pManager->AddDefaultProfile(nSelected + 1);
    m_pManager->SetCurrentProfileIndex(nSelected + 1);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnDeleteProfile()
{
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    m_pManager->RemoveProfile(nSelected);
    if (m_pManager->GetProfileCount() <= nSelected)
        m_pManager->SetCurrentProfileIndex(0);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnMoveUp()
{
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    if (nSelected < 1)
        return;
    m_pManager->MoveProfile(nSelected - 1, -1);
    m_pManager->SetCurrentProfileIndex(nSelected - 1);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnMoveDown()
{
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    if (nSelected >= m_pManager->GetProfileCount() - 1)
        return;
    m_pManager->MoveProfile(nSelected + 1, -1);
    m_pManager->SetCurrentProfileIndex(nSelected + 1);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnSaveProfiles()
{
    CString strWhy;
    if (!m_pManager->SaveProfiles(&strWhy))
    {
        CString strText = LoadAppString(IDS_PROFILES_NOT_SAVED);
        if (!strWhy.IsEmpty())
            strText += _T("\r\n\r\n") + strWhy;
        ShowMessageBox(nullptr, strText, LoadAppString(IDS_TITLE_ERROR), SMB_ERROR_OK, this);
    }
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnRestoreProfiles()
{
    const int nSelected = m_pManager->GetCurrentProfileIndex();
    m_pManager->RestoreProfiles();
    if (m_pManager->GetProfileCount() <= nSelected)
        m_pManager->SetCurrentProfileIndex(0);
    RefreshList(FALSE);
}

void CSondrelProfilesPanel::OnApplyProfile()
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}
