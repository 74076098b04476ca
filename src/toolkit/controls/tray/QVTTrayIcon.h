// One icon in the taskbar's notification area, kept through
// Shell_NotifyIcon. Its messages arrive at a hidden window of its own, which
// turns a right click into the tray menu and a double click into the default
// command for the owner window, and adds the icon again when the taskbar is
// made anew. It also minimises an owner window into the tray (re-parented
// under a hidden window, so that it has no taskbar button) and restores it.
#pragma once

#include <afxwin.h>
#include <shellapi.h>

#include <memory>

class CQVTTrayIcon : public CWnd
{
public:
    enum
    {
        // The callback message of the icon, also offered to the owner first.
        WM_TRAYICON_NOTIFY = 0x273D
    };

    CQVTTrayIcon();
    ~CQVTTrayIcon() override;

    // The menu resource of the tray id gives the tray menu; the default item
    // is a command id or, by position, a position in its first sub-menu.
    // The result of adding the icon.
    virtual BOOL Create(LPCTSTR lpszTip, CWnd* pOwner, UINT nIconId);
    virtual BOOL Create(LPCTSTR lpszTip, CWnd* pOwner, UINT nIconId, UINT nTrayId, UINT nDefaultItem,
                        BOOL bDefaultByPosition);
    virtual BOOL AddIconAgain();
    // Parents the window under the hidden window; TRUE on success.
    virtual BOOL HideToParent(CWnd* pWnd);
    virtual void SetTooltipText(LPCTSTR lpszText);
    virtual BOOL SetIconResource(UINT nIconId);
    // 1 when handled.
    virtual LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

    BOOL AddIcon();
    BOOL RemoveIcon();
    BOOL HideIcon();
    BOOL ShowIcon();
    BOOL SetIcon(HICON hIcon);
    BOOL SetTipText(LPCTSTR lpszText);
    void MinimizeToTray(CWnd* pWnd);
    void RestoreFromTray(CWnd* pWnd);
    BOOL GetTrayWindowRect(CRect& rc) const;

    BOOL IsHidden() const { return m_bHidden; }
    BOOL IsRemoved() const { return m_bRemoved; }
    const NOTIFYICONDATAW& GetNotifyData() const { return m_nid; }

protected:
    afx_msg LRESULT OnTrayIconNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

    // Shell_NotifyIcon with the notify data.
    BOOL Notify(DWORD dwMessage);
    // The icons' state flags (hiding without removing) need shell32 5 or
    // later.
    static BOOL AFX_CDECL HasStateSupport();
    BOOL ShowTrayMenu();
    BOOL SendDefaultCommand();

    UINT m_nFlagsToAdd;         // uFlags of NIM_ADD
    UINT m_nIconId;             // the icon shown
    UINT m_nDefaultItem;        // double-click command (or position), the menu's bold item
    BOOL m_bDefaultByPosition;  // m_nDefaultItem is a position in the menu
    BOOL m_bHidden;             // in the tray but hidden, or not in the tray
    BOOL m_bRemoved;            // not in the tray
    BOOL m_bAddPending;         // the last add failed: a work-area change retries it
    HWND m_hwndOwner;           // receives the commands and notifications
    CWnd m_wndHiddenParent;     // made on first use
    int m_nTipCapacity;         // characters of a tip, its terminator included
    CString m_strTip;
    HICON m_hIcon;  // owned
    NOTIFYICONDATAW m_nid;
};
