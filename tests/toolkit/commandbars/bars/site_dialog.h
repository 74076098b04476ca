// The site the bar tests run in: a modeless dialog with command bars, a test
// bar loaded from the shared menu, and command and update handlers that
// record what reaches them.
#pragma once

#include <afxwin.h>

#include <vector>

#include "real_input.h"
#include "sondrel_gtest.h"
#include "tests/toolkit/commandbars/support/test_bar.h"
#include "toolkit/commandbars/bars/QVTCommandBars.h"
#include "toolkit/commandbars/dialog/QVTDialogBase.h"

class CSiteDialog : public CQVTDialogBase<CDialog>
{
public:
    CSiteDialog();
    ~CSiteDialog() override;

    // The dialog, shown at a fixed place, with its bars and one test bar
    // holding the buttons of the shared menu.
    BOOL CreateSite(BOOL bWithBar = TRUE);
    // New bars (with or without the test bar) and cleared records, for the
    // next test: hiding a shown window costs seconds here, so tests share one.
    void Reset(BOOL bWithBar = TRUE);
    CTestBar* GetBar() const { return m_pBar; }
    CQVTControl* FindControl(UINT nId) const;
    // The control's centre in screen coordinates.
    CPoint ScreenCenterOf(CQVTControl* pControl) const;

    // What the handlers saw and what they answer.
    int m_nNew = 0;
    int m_nOpen = 0;
    int m_nPrint = 0;
    int m_nPrintNotify = 0;
    int m_nSizes = 0;
    int m_nBeforeCreate = 0;
    int m_nAfterCreate = 0;
    int m_nHotChanges = 0;
    std::vector<CString> m_statusTexts;
    BOOL m_bOpenEnabled = TRUE;
    int m_nOpenChecked = 0;
    LRESULT m_lNotifyAnswer = 0;
    // Runs inside the command handler of "New", once per execution.
    void (*m_pfnOnNew)(CSiteDialog*) = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnNew();
    afx_msg void OnOpen();
    afx_msg void OnPrint();
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI);
    afx_msg void OnNotifyPrint(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBeforeCreateControl(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAfterCreateControl(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHotControlChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    BOOL m_bWithBar = TRUE;
    CTestBar* m_pBar = nullptr;
};

// A test suite whose tests share one shown site (hiding it costs seconds
// here), made when the suite starts; each suite (the template's argument)
// has a site of its own.
template <class TSuite>
class SiteDialogSuite : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_pDialog = new CSiteDialog();
        s_pDialog->CreateSite();
    }
    static void TearDownTestSuite()
    {
        delete s_pDialog;
        s_pDialog = nullptr;
    }

protected:
    static CSiteDialog* s_pDialog;
};

template <class TSuite>
CSiteDialog* SiteDialogSuite<TSuite>::s_pDialog = nullptr;

// A click queued whole, press and release, before anything is dispatched:
// the button's press loop takes the release from the queue itself.
void QueueClickAt(CPoint ptScreen);
