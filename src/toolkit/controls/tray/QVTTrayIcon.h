// One icon in the taskbar's notification area, kept through
// Shell_NotifyIcon. Its messages arrive at a hidden window of its own, which
// turns a right click into the tray menu and a double click into the default
// command for the owner window, and adds the icon again when the taskbar is
// made anew. It can cycle an animation of icons with their tips, and
// minimises an owner window into the tray (re-parented under a hidden
// window, so that it has no taskbar button) and restores it.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>
#include <shellapi.h>

// One frame of the animation: an owned icon and its tip (the tray's own
// tip when empty).
struct TRAYICONDATA
{
    HICON hIcon;
    CString strTip;
};

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
    // Ends the animation: the tip text and the icon resource come back.
    virtual void StopAnimation();
    virtual void StartAnimation(UINT nMilliseconds);
    // Replaces the animation's frames with the icons (and their tips, when
    // given); FALSE at the first icon that cannot be loaded, the frames
    // loaded so far kept.
    virtual BOOL SetAnimationIcons(const UINT* pIconIds, int nCount, const CString* pTips = nullptr);
    virtual BOOL SetAnimationIcons(const UINT* pIconIds, const CString* pTips, int nCount);
    virtual BOOL AddIconAgain();
    // Parents the window under the hidden window; TRUE on success.
    virtual BOOL HideToParent(CWnd* pWnd);
    virtual void RemoveAnimationIcons();
    virtual void SetTooltipText(LPCTSTR lpszText);
    virtual BOOL SetIconResource(UINT nIconId);
    virtual void StopAnimation(int);
    virtual void StartAnimation(UINT nTimerId, UINT nMilliseconds);
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
    BOOL IsAddPending() const { return m_bAddPending; }
    const NOTIFYICONDATAW& GetNotifyData() const { return m_nid; }
    int GetAnimationCount() const { return static_cast<int>(m_listAnimation.GetCount()); }
    UINT GetAnimationIndex() const { return m_nAnimationIndex; }
    // The notify data's size: Windows XP's shell takes the record without
    // its last member.
    static DWORD AFX_CDECL GetNotifyDataSize(BOOL bWindowsXP);

protected:
    afx_msg LRESULT OnTrayIconNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

    // Shell_NotifyIcon with the notify data; tests see and refuse the calls
    // here.
    virtual BOOL Notify(DWORD dwMessage);
    // One frame of the animation, then the index moves on (wrapping).
    void StepAnimation();
    // A destroyed icon's handle may come back for another icon: the notify
    // data forgets it, so that SetIcon does not take the new one for it.
    void DestroyOwnedIcon(HICON hIcon);
    // The icons' state flags (hiding without removing) need shell32 5 or
    // later.
    static BOOL AFX_CDECL HasStateSupport();
    BOOL ShowTrayMenu();
    BOOL SendDefaultCommand();

    UINT m_nFlagsToAdd;         // uFlags of NIM_ADD
    UINT m_nIconId;             // the icon shown while no animation runs
    UINT m_nAnimationTimerId;   // the window timer of the animation
    UINT m_nAnimationIndex;     // the next frame to show
    UINT m_nDefaultItem;        // double-click command (or position), the menu's bold item
    BOOL m_bDefaultByPosition;  // m_nDefaultItem is a position in the menu
    BOOL m_bHidden;             // in the tray but hidden, or not in the tray
    BOOL m_bRemoved;            // not in the tray
    BOOL m_bAddPending;         // the last add failed: a work-area change retries it
    HWND m_hwndOwner;           // receives the commands and notifications
    CWnd m_wndHiddenParent;     // made on first use
    int m_nTipCapacity;         // characters of a tip, its terminator included
    CString m_strTip;
    HICON m_hIcon;                                             // owned
    CList<TRAYICONDATA, const TRAYICONDATA&> m_listAnimation;  // frames; their icons owned
    NOTIFYICONDATAW m_nid;
};
