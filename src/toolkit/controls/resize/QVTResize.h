// Anchor-based layout of a dialog's children: each edge of a registered
// child follows a fraction of the parent's growth. Positions are kept as
// floats, so repeated resizing never drifts by rounding.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

class CQVTResize;

class CQVTResizeRect
{
public:
    CQVTResizeRect() : left(0), top(0), right(0), bottom(0) {}
    CQVTResizeRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    CQVTResizeRect(const RECT& rc)
        : left((float)rc.left), top((float)rc.top), right((float)rc.right), bottom((float)rc.bottom)
    {
    }

    CQVTResizeRect& operator+=(const CQVTResizeRect& rc)
    {
        left += rc.left;
        top += rc.top;
        right += rc.right;
        bottom += rc.bottom;
        return *this;
    }
    bool operator==(const CQVTResizeRect& rc) const
    {
        return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
    }
    bool operator!=(const CQVTResizeRect& rc) const { return !(*this == rc); }

    float left;
    float top;
    float right;
    float bottom;
};

class CQVTResizePoint
{
public:
    CQVTResizePoint(float fx, float fy) : x(fx), y(fy) {}

    float x;
    float y;
};

// One registered child.
class CQVTResizeItem
{
public:
    CQVTResizeItem(CWnd* pWnd, const CQVTResizeRect& rcAnchors, const CQVTResizeRect& rcRect, BOOL bAttached);
    virtual ~CQVTResizeItem();
    CQVTResizeItem(const CQVTResizeItem&) = delete;
    CQVTResizeItem& operator=(const CQVTResizeItem&) = delete;

    // Group boxes let the controls inside them paint through; TRUE when this
    // one was made transparent.
    virtual BOOL MakeTransparent(CQVTResize* pResize);

    BOOL m_bTransparent;         // made transparent: invalidated after every pass
    BOOL m_bAttached;            // m_pWnd was made here and is ours to free
    BOOL m_bInitialized;         // laid out at least once
    CWnd* m_pWnd;                // the child
    CQVTResizeRect m_rcAnchors;  // fraction of the growth each edge follows
    CQVTResizeRect m_rcRect;     // current position in float client coordinates
};

// The size grip.
class CQVTSizeIcon : public CScrollBar
{
public:
    CQVTSizeIcon();

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    HCURSOR m_hCursor;  // the diagonal sizing cursor
};

class CQVTResize
{
public:
    enum Flags
    {
        flagNoSizeIcon = 0x01,
        flagHorzFixed = 0x02,  // tracking width held at the last width
        flagVertFixed = 0x04,
        flagNoMinSize = 0x08,  // Init keeps the minimum size
        flagNoClipChildren = 0x10,
        flagNoTransparentGroup = 0x20,
    };
    enum
    {
        sizeIconID = 0x7FFF
    };

    CQVTResize(CWnd* pWnd, UINT nFlags = 0);
    virtual ~CQVTResize();
    CQVTResize(const CQVTResize&) = delete;
    CQVTResize& operator=(const CQVTResize&) = delete;

    void SetFlag(UINT nFlags) { m_nFlagsResize |= nFlags; }
    UINT GetFlags() const { return m_nFlagsResize; }

    // Registers a child, or adds the anchors to those of the item already
    // registered under a non-zero id.
    void SetControlAnchors(UINT nID, HWND hWnd, const CQVTResizeRect& rcAnchors);
    void SetControlAnchors(UINT nID, const CQVTResizeRect& rcAnchors)
    {
        SetControlAnchors(nID, nullptr, rcAnchors);
    }
    void SetControlAnchors(UINT nID, const CQVTResizePoint& ptTopLeft, const CQVTResizePoint& ptBottomRight);

    // Shifts every item by the offset without resizing it.
    void MoveControlsToSize(SIZE szOffset);
    void RemoveAllControls();
    BOOL SavePlacement(LPCTSTR pszSection);
    void GetMinMaxInfo(MINMAXINFO* pMMI);

    void SetPlacementSection(LPCTSTR pszSection) { m_strSection = pszSection; }
    const CString& GetPlacementSection() const { return m_strSection; }
    int GetItemCount() const { return (int)m_arrItems.GetSize(); }
    CQVTResizeItem* GetItem(int nIndex) const { return m_arrItems[nIndex]; }
    CQVTSizeIcon& GetSizeIcon() { return m_scSizeIcon; }

    virtual void Init();
    virtual void Size();

    // The window that callers correct directly when their bars move the
    // client area.
    CSize m_szWindow;  // client size at the last layout pass
    CSize m_szInit;    // client size when Init ran
    CSize m_szMin;     // 0 in a component: no lower limit on that axis
    CSize m_szMax;     // 0 in a component: no upper limit

protected:
    // May change the client size a pass lays out for.
    virtual void AdjustResizeRect(SIZE* pSize);
    // Lays out one item inside the batch. A failed batch call nulls the batch;
    // a null batch places the item at once.
    virtual BOOL Defer(HDWP& hdwp, CQVTResizeItem* pItem, int dx, int dy);

    // Ends the pass's batch; after a failed batch call, places every item.
    void EndBatch(HDWP hdwp, BOOL bBatch);
    void InvalidateTransparentItems();

    UINT m_nFlagsResize;
    CWnd* m_pwnd;          // the parent whose children are laid out
    CString m_strSection;  // profile section for the placement; empty: not saved
    CQVTSizeIcon m_scSizeIcon;
    CArray<CQVTResizeItem*, CQVTResizeItem*> m_arrItems;  // owned, in registration order
};
