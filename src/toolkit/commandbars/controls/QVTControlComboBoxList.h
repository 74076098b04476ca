#pragma once

#include "toolkit/commandbars/controls/QVTControlComboBoxPopupBar.h"

// The list popup hosting a real list box.
class CQVTControlComboBoxList : public CQVTControlComboBoxPopupBar
{
    DECLARE_SERIAL(CQVTControlComboBoxList)

public:
    CQVTControlComboBoxList();
    ~CQVTControlComboBoxList() override;

    virtual void CreateListBox();
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    int GetCurSel() const override;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const override;
    int FindStringExact(int nStartAfter, LPCTSTR lpszItem) const override;
    int SetTopIndex(int nIndex) override;
    void SetCurSel(int nIndex) override;
    void GetText(int nIndex, CString& strText) const override;
    BOOL ProcessHookKeyDown(CQVTControlComboBox* pComboBox, UINT nChar, LPARAM lParam) override;
    int GetCount() const override;

    BOOL Popup(CQVTControl* pControlPopup, BOOL bSelectFirst = FALSE) override;
    BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    void Copy(CQVTCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CQVTCommandBar* Clone(BOOL bRecursive = FALSE) override;
    // "ListIconId", then the entries under "Items".
    virtual void DoPropExchange(CQVTPropExchange* pPX);

    // Entries, through the list box (made when missing).
    int AddString(LPCTSTR lpszItem, DWORD_PTR dwData = 0);
    void ResetContent();

    void SetListBoxStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetListBoxStyle() const { return m_dwStyle; }
    void SetListIconId(int nId) { m_nListIconId = nId; }
    int GetListIconId() const { return m_nListIconId; }
    HWND GetListBoxHwnd() const { return m_hWndList; }

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    static LRESULT CALLBACK ListWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void PaintList(HWND hWnd);
    void DrawListFrame(HWND hWnd);
    void DestroyListBox();
    LRESULT SendList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    DWORD m_dwStyle;        // list-box style
    int m_nListIconId;      // entry i shows icon m_nListIconId + i; -1 none
    HWND m_hWndList;        // the list box, a popup of its own
    WNDPROC m_pfnListProc;  // the list box's procedure before ours
    BOOL m_bTracking;
};
