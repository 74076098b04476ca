// The modal window of the toolkit's own task dialog: an in-memory template,
// the framework's modal loop, the title and style, the notifications through
// the configuration's callback, and the platform's task-dialog messages, so
// that callers drive it as they drive the platform's dialog.
#pragma once

#include "toolkit/controls/taskdialog/QVTTaskDialogClient.h"

class CQVTTaskDialogFrame : public CQVTTaskDialogClient
{
    DECLARE_DYNAMIC(CQVTTaskDialogFrame)

public:
    enum
    {
        timerCallback = 1,
        templateSize = 50,
    };

    explicit CQVTTaskDialogFrame(QVTTaskDialogAPI::TASKDIALOGCONFIG* pConfig);
    ~CQVTTaskDialogFrame() override;

    // -1 when the template cannot be made; else the pressed button's id.
    INT_PTR DoModal() override;

    virtual CString GetWindowTitle() const;
    virtual DWORD GetDialogStyle() const;

    QVTTaskDialogAPI::TASKDIALOGCONFIG* GetConfig() const { return m_pConfig; }

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnNavigatePage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClickButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMarqueeProgressBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetProgressBarState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetProgressBarRange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetProgressBarPos(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetProgressBarMarquee(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetElementText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClickRadioButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEnableButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEnableRadioButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClickVerification(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetButtonElevationRequiredState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateIcon(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // The child with the id when it is a button, else null.
    HWND GetButtonChild(int nID) const;
    BOOL IsRadioButton(HWND hWnd) const;

    LPDLGTEMPLATE m_lpDlgTemplate;  // malloc'ed, zeroed; style words only
    DWORD m_dwTickCount;            // origin of the timer notifications
    UINT m_nTimerInterval;
};
