// The small buttons of a tab strip: the two scroll arrows and the close
// button at the end of the header, and the close button an item may carry.
// They place themselves and track their own clicks; the tab paint manager
// and its colour set draw them.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

class CQVTTabManager;
class CQVTTabManagerItem;

class CQVTTabManagerNavigateButton
{
public:
    enum ButtonId
    {
        buttonLeft = 0,   // left, or up on a vertical strip
        buttonRight = 1,  // right, or down
        buttonClose = 2,
    };
    enum DisplayMode
    {
        displayHidden = 0,
        displayAuto = 1,
        displayAlways = 2,
    };

    CQVTTabManagerNavigateButton(CQVTTabManager* pManager, UINT nID, int nDisplayMode,
                                 CQVTTabManagerItem* pItem = nullptr);
    virtual ~CQVTTabManagerNavigateButton();
    CQVTTabManagerNavigateButton(const CQVTTabManagerNavigateButton&) = delete;
    CQVTTabManagerNavigateButton& operator=(const CQVTTabManagerNavigateButton&) = delete;

    // Takes the button's extent off a header length when it shows.
    virtual void AdjustWidth(int& nLength);
    virtual CSize GetSize() const;
    // The auto-repeating capture loop of a press; TRUE when the button went
    // up with the pointer inside.
    virtual BOOL PerformClick(CWnd* pWnd, CPoint pt);
    // Places the button at the far end of rc and takes its room from rc.
    virtual void Reposition(CRect& rc);
    // The glyph, in the colour; solid while enabled, outlined otherwise.
    virtual void DrawEntry(CDC* pDC, CRect rc, COLORREF clr, BOOL bEnabled);
    // bTick: a repeat step while held; FALSE: released inside.
    virtual void OnExecute(BOOL bTick);

    void Draw(CDC* pDC);

    UINT GetID() const { return m_nID; }
    int GetDisplayMode() const { return m_nDisplayMode; }
    void SetDisplayMode(int nMode) { m_nDisplayMode = nMode; }
    CRect GetRect() const { return m_rcButton; }
    void SetRect(const CRect& rc) { m_rcButton = rc; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled) { m_bEnabled = bEnabled; }
    BOOL IsPressed() const { return m_bPressed; }
    CString GetTooltip() const { return m_strToolTip; }
    void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    CQVTTabManagerItem* GetItem() const { return m_pItem; }
    CQVTTabManager* GetTabManager() const { return m_pManager; }

    // What colour sets choose colours by.
    BOOL IsHighlighted() const;
    BOOL IsItemHighlighted() const;
    BOOL IsItemSelected() const;
    BOOL IsStripButton() const { return m_pItem == nullptr; }
    BOOL IsManagerActive() const;

    // Expires with the button, so that a loop whose messages destroyed it
    // can tell.
    std::weak_ptr<int> GetLifetime() const { return m_pLifetime; }

protected:
    UINT m_nID;          // ButtonId
    int m_nDisplayMode;  // DisplayMode
    CQVTTabManager* m_pManager;
    CRect m_rcButton;  // empty while hidden
    BOOL m_bEnabled = TRUE;
    BOOL m_bPressed = FALSE;  // held down with the pointer inside
    CString m_strToolTip;
    CQVTTabManagerItem* m_pItem;  // the item of an item's close button
    std::shared_ptr<int> m_pLifetime = std::make_shared<int>(0);
};

// Owns its buttons.
class CQVTTabManagerNavigateButtons
{
public:
    CQVTTabManagerNavigateButtons() = default;
    ~CQVTTabManagerNavigateButtons() { RemoveAll(); }
    CQVTTabManagerNavigateButtons(const CQVTTabManagerNavigateButtons&) = delete;
    CQVTTabManagerNavigateButtons& operator=(const CQVTTabManagerNavigateButtons&) = delete;

    void Add(CQVTTabManagerNavigateButton* pButton) { m_arrButtons.emplace_back(pButton); }
    void RemoveAll() { m_arrButtons.clear(); }
    int GetSize() const { return static_cast<int>(m_arrButtons.size()); }
    // Throws the framework's invalid-argument exception out of range.
    CQVTTabManagerNavigateButton* GetAt(int nIndex) const;
    CQVTTabManagerNavigateButton* operator[](int nIndex) const { return GetAt(nIndex); }

private:
    std::vector<std::unique_ptr<CQVTTabManagerNavigateButton>> m_arrButtons;
};
