// What lets a dialog carry command bars: it owns the dialog's command bars,
// hands them the dialog's messages and queued keys, and saves and loads
// their state. The dialog template CQVTDialogBase holds one.
#pragma once

#include <afxwin.h>

class CQVTCommandBars;

class CQVTDialogBaseImpl
{
public:
    CQVTDialogBaseImpl();
    virtual ~CQVTDialogBaseImpl();
    CQVTDialogBaseImpl(const CQVTDialogBaseImpl&) = delete;
    CQVTDialogBaseImpl& operator=(const CQVTDialogBaseImpl&) = delete;

    // Makes the bars (from the class; null: CQVTCommandBars) with the dialog
    // as site and their four dock bars; a previous set is released.
    virtual BOOL InitCommandBars(CRuntimeClass* pCommandBarsClass = nullptr);
    virtual void SaveCommandBars(LPCTSTR lpszProfileName);
    virtual void LoadCommandBars(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offered every message before the dialog's own handling; TRUE stops it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual CWnd* GetWindow() const = 0;

    CQVTCommandBars* GetCommandBars() const { return m_pCommandBars; }

protected:
    CQVTCommandBars* m_pCommandBars;  // owned
};
