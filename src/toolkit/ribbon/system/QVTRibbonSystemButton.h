// The ribbon's system button at the left of the tab row, and the
// application menu it opens: a column of commands, an optional recent-file
// list whose items are rebuilt from the application's list on every layout
// (numbered, optionally with pins), and a row of buttons along its foot.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/bars/QVTPopupBar.h"
#include "toolkit/commandbars/controls/QVTControlPopup.h"

class CQVTImageManager;
class CQVTPinableRecentFileList;
class CQVTRibbonBar;
class CRecentFileList;

class CQVTRibbonControlSystemButton : public CQVTControlPopup
{
    DECLARE_SERIAL(CQVTRibbonControlSystemButton)

public:
    CQVTRibbonControlSystemButton();

    CString GetCaption() const override;
    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    BOOL OnLButtonDblClk(CPoint point) override;
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;

    // A double-click on the button of a top-level frame only closes the
    // popups while this is set.
    void SetCloseOnDblClick(BOOL bClose) { m_bCloseOnDblClick = bClose; }
    BOOL IsCloseOnDblClick() const { return m_bCloseOnDblClick; }
    CQVTRibbonBar* GetRibbonBar() const;

protected:
    BOOL m_bCloseOnDblClick;
};

// The application menu.
class CQVTRibbonSystemPopupBar : public CQVTPopupBar
{
    DECLARE_SERIAL(CQVTRibbonSystemPopupBar)

public:
    CQVTRibbonSystemPopupBar();

    // (6, 18, 6, 29) below the flat themes, else 2 all round; scaled, and
    // stored as the bar's margins.
    CRect GetBorders();
    CRect GetMargins() const override { return m_rcBorders; }
    void FillCommandBarEntry(CDC* pDC) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

protected:
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()
};

// A sub-menu of the application menu: flush with its command area.
class CQVTRibbonSystemPopupBarPage : public CQVTPopupBar
{
    DECLARE_SERIAL(CQVTRibbonSystemPopupBarPage)

public:
    CQVTRibbonSystemPopupBarPage();

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;
    int GetLastHeight() const { return m_nLastHeight; }

protected:
    CQVTRibbonSystemPopupBar* GetSystemPopupBar() const;

    int m_nLastHeight;
};

// A button of the application menu's foot row.
class CQVTRibbonControlSystemPopupBarButton : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonControlSystemPopupBarButton)

public:
    CQVTRibbonControlSystemPopupBarButton();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    CSize GetButtonSize() const override;
    CSize GetIconSize() const override;

protected:
    BOOL IsInSystemPopupBar() const;
};

// A caption line over a list pane.
class CQVTRibbonControlSystemPopupBarListCaption : public CQVTControl
{
    DECLARE_SERIAL(CQVTRibbonControlSystemPopupBarListCaption)

public:
    CQVTRibbonControlSystemPopupBarListCaption();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;

protected:
    CSize m_szControl;
};

// One line of a list pane. With the number shown, a caption "&1 name" draws
// its "&1" in a column of its own.
class CQVTRibbonControlSystemPopupBarListItem : public CQVTControlButton
{
    DECLARE_SERIAL(CQVTRibbonControlSystemPopupBarListItem)

public:
    CQVTRibbonControlSystemPopupBarListItem();

    CSize GetSize(CDC* pDC) override;
    CSize Draw(CDC* pDC) override;
    void SetShowNumber(BOOL bShow) { m_bShowNumber = bShow; }
    BOOL IsShowNumber() const { return m_bShowNumber; }

protected:
    // Draws the background; answers where the text starts and ends.
    virtual void DrawItemBackground(CDC* pDC, CRect& rcText);
    void DrawItemText(CDC* pDC, CRect rcText);

    CSize m_szControl;
    BOOL m_bShowNumber;
};

// A list line with a pin at its right end. Selection state 5: the mouse is
// over the pin.
class CQVTRibbonControlSystemPopupBarPinableListItem : public CQVTRibbonControlSystemPopupBarListItem
{
    DECLARE_SERIAL(CQVTRibbonControlSystemPopupBarPinableListItem)

public:
    enum
    {
        selectedPin = 5,
        idPinned = 1000,
        idUnpinned = 1001
    };

    CQVTRibbonControlSystemPopupBarPinableListItem();
    ~CQVTRibbonControlSystemPopupBarPinableListItem() override;

    CSize Draw(CDC* pDC) override;
    void OnLButtonUp(CPoint point) override;
    void OnMouseMove(CPoint point) override;
    BOOL OnSetSelected(int bSelected) override;

    // The rightmost 28 pixels of the item.
    CRect GetPinRect() const;
    CQVTImageManager* GetPinImages() const { return m_pPinImages; }

protected:
    void DrawItemBackground(CDC* pDC, CRect& rcText) override;

    CQVTImageManager* m_pPinImages;  // owned
};

class CQVTRibbonControlSystemRecentFileListFileItem : public CQVTRibbonControlSystemPopupBarListItem
{
    DECLARE_SERIAL(CQVTRibbonControlSystemRecentFileListFileItem)

public:
};

// A recent file whose checked state is its pin in the pinnable list.
class CQVTRibbonControlSystemRecentFileListPinableFileItem
    : public CQVTRibbonControlSystemPopupBarPinableListItem
{
    DECLARE_SERIAL(CQVTRibbonControlSystemRecentFileListPinableFileItem)

public:
    CQVTRibbonControlSystemRecentFileListPinableFileItem();
    void SetChecked(int bChecked) override;
    void SetFile(int nIndex, CQVTPinableRecentFileList* pList)
    {
        m_nFileIndex = nIndex;
        m_pPinableList = pList;
    }
    int GetFileIndex() const { return m_nFileIndex; }

protected:
    int m_nFileIndex;
    CQVTPinableRecentFileList* m_pPinableList;  // not owned
};

// The recent-file list: a caption that, on every layout, puts one item per
// recent file behind itself.
class CQVTRibbonControlSystemRecentFileList : public CQVTRibbonControlSystemPopupBarListCaption
{
    DECLARE_SERIAL(CQVTRibbonControlSystemRecentFileList)

public:
    typedef CQVTRibbonControlSystemRecentFileListFileItem CControlFileItem;
    typedef CQVTRibbonControlSystemRecentFileListPinableFileItem CControlPinableFileItem;

    void OnCalcDynamicSize(DWORD dwMode) override;

    // The application's list; null: none.
    virtual CRecentFileList* GetRecentFileList();
    virtual int GetFirstMruID();
    // Ampersands doubled; "&<n> " before items 1 to 9.
    static CString AFX_CDECL FormatRecentFileCaption(LPCTSTR lpszText, int nIndex);
};
