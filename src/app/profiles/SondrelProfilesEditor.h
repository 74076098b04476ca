// The profiles editor: a modal dialog over the current format's profiles.
// Its one child, the panel, lists them with name, description and a
// position counter, adds, inserts, deletes, moves, saves and restores them,
// and shows the settings page of the selected profile. Every edit acts at
// once on the manager's profiles; only "Save profiles" writes the file.
#pragma once

#include <afxwin.h>

#include "app/profiles/AudioProfilesEditor.h"
#include "app/profiles/WMAudioProfilesEditor.h"
#include "toolkit/controls/button/QVTButton.h"

class CSondrelProfileManager;

class CSondrelProfilesPanel : public CDialog
{
public:
    BOOL Create(CWnd* pParent, CSondrelProfileManager* pManager);
    // Refills the list and the boxes; with bReloadPage the format's page
    // is filled and shown too.
    void RefreshList(BOOL bReloadPage);
    void ShowSelected();
    void ApplyNameAndDescription();

    CSondrelProfileManager* m_pManager = nullptr;
    BOOL m_bUpdating = FALSE;
    CQVTButton m_btnUp;
    CQVTButton m_btnDown;
    CListBox m_listProfiles;
    CEdit m_editName;
    CEdit m_editDescription;
    CEdit m_editCounter;
    CAudioProfilesEditor m_pageAudio;
    CWMAudioProfilesEditor m_pageWM;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Escape never closes the panel.
    void OnCancel() override {}
    void OnOK() override {}

    afx_msg void OnSelChangeProfiles();
    afx_msg void OnTextChange();
    afx_msg void OnAddProfile();
    afx_msg void OnInsertProfile();
    afx_msg void OnDeleteProfile();
    afx_msg void OnMoveUp();
    afx_msg void OnMoveDown();
    afx_msg void OnSaveProfiles();
    afx_msg void OnRestoreProfiles();
    afx_msg void OnApplyProfile();
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsWMFormat() const;
};

class CSondrelProfilesEditor : public CDialog
{
public:
    explicit CSondrelProfilesEditor(CWnd* pParent = nullptr);

    CSondrelProfileManager* m_pManager = nullptr;
    CSondrelProfilesPanel m_panel;

protected:
    BOOL OnInitDialog() override;
};
