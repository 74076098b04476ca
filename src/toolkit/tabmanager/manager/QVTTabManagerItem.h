// One tab of a strip: caption, tooltip, image, colour and the state the
// layout gives it. Items are reference counted; the strip holds one
// reference on each and asks the host for everything it shows.
#pragma once

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/tabmanager/manager/QVTTabManagerNavigateButtons.h"

class CQVTTabManager;
class CQVTImageManagerIcon;
class CQVTMarkupUIElement;

class CQVTTabManagerItem : public CQVTCmdTarget
{
    DECLARE_DYNCREATE(CQVTTabManagerItem)
    friend class CQVTTabManager;
    friend class CQVTTabPaintManager;
    friend class CQVTTabPaintManagerTheme;

public:
    CQVTTabManagerItem();
    ~CQVTTabManagerItem() override;

    // The owner's answer (GetItemCaption); the stored caption without one.
    virtual CString GetCaption() const;
    virtual void SetVisible(BOOL bVisible);
    // The item leaves its strip: its own buttons go.
    virtual void OnRemoved();

    void SetCaption(LPCTSTR lpszCaption);
    const CString& GetCaptionText() const { return m_strCaption; }
    CString GetTooltip() const { return m_strToolTip; }
    void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }

    COLORREF GetColor() const;
    void SetColor(COLORREF clr) { m_clrItem = clr; }
    COLORREF GetRawColor() const { return m_clrItem; }

    HWND GetHandle() const { return m_hHandle; }
    void SetHandle(HWND hHandle) { m_hHandle = hHandle; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    int GetImageIndex() const { return m_nImage; }
    void SetImageIndex(int nImage) { m_nImage = nImage; }

    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    BOOL IsVisible() const { return m_bVisible; }
    BOOL IsClosable() const { return m_bClosable; }
    void SetClosable(BOOL bClosable) { m_bClosable = bClosable; }
    BOOL IsSelected() const;
    BOOL IsHighlighted() const;
    BOOL IsPressed() const;

    int GetIndex() const { return m_nIndex; }
    CQVTTabManager* GetTabManager() const { return m_pTabManager; }
    CRect GetRect() const { return m_rcItem; }
    // Stores the rectangle; the item's own buttons lose theirs until the
    // next drawing places them.
    void SetRect(const CRect& rcItem);
    // Length along the row as laid out, and the length the content needs.
    int GetButtonLength() const { return m_nButtonLength; }
    int GetContentLength() const { return m_nContentLength; }
    BOOL IsTruncated() const { return m_nButtonLength < m_nContentLength; }
    int GetItemRow() const { return m_nItemRow; }

    // The owner's click (selection), nothing without an owner.
    void Select();
    void Reposition();
    // Draws the icon in the item's state; square images of side strips are
    // turned when the paint manager asks for it.
    void DrawImage(CDC* pDC, const CRect& rcIcon, CQVTImageManagerIcon* pImage);

    CQVTTabManagerNavigateButtons& GetNavigateButtons() { return m_arrNavigateButtons; }
    CQVTMarkupUIElement* GetMarkupUIElement() const { return m_pMarkupUIElement; }

protected:
    int m_nButtonLength = 0;   // extent along the row as the layout set it
    int m_nContentLength = 0;  // extent the caption and image would need
    int m_nImage = -1;         // image id the host draws; -1 none
    int m_nIndex = -1;         // position in the owner, -1 until added
    BOOL m_bEnabled = TRUE;
    BOOL m_bVisible = TRUE;
    HWND m_hHandle = nullptr;  // the window a tab client keeps behind the tab
    DWORD_PTR m_dwData = 0;    // returned by the owner's GetItemData
    DWORD_PTR m_dwReserved = 0;
    CRect m_rcItem;
    CString m_strCaption;
    CString m_strToolTip;
    COLORREF m_clrItem = 0;  // a COLORREF or an automatic tab colour
    CQVTTabManager* m_pTabManager = nullptr;
    int m_nItemRow = 0;                                  // row of a multi-row strip, 0 otherwise
    BOOL m_bClosable = TRUE;                             // close buttons act and show only when set
    CQVTTabManagerNavigateButtons m_arrNavigateButtons;  // the item's own close button
    CQVTMarkupUIElement* m_pMarkupUIElement = nullptr;   // the caption as markup
};
