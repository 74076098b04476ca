// Common-control wrappers: image list, list view and its header, slider,
// progress bar and tooltip.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    virtual ~CImageList();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // From a bitmap resource cut into cx-wide images; crMask is the
    // transparent colour (CLR_NONE for none).
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);
    BOOL Create(CImageList* pImageList);

    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    HIMAGELIST GetSafeHandle() const { return AfxIsNullObject(this) ? nullptr : m_hImageList; }
    operator HIMAGELIST() const { return GetSafeHandle(); }

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    BOOL GetIconSize(int* pcx, int* pcy) const { return ImageList_GetIconSize(m_hImageList, pcx, pcy); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }

    // Index of the first new image, -1 on failure.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }
    BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE)
    {
        return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
    }
    BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE)
    {
        return ImageList_Copy(m_hImageList, iDst, pSrc->GetSafeHandle(), iSrc, uFlags);
    }

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);
    BOOL DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle = ILD_NORMAL,
                      DWORD dwRop = SRCCOPY, COLORREF rgbBack = CLR_DEFAULT, COLORREF rgbFore = CLR_DEFAULT,
                      DWORD fState = ILS_NORMAL, DWORD Frame = 0, COLORREF crEffect = CLR_DEFAULT);
    BOOL SetOverlayImage(int nImage, int nOverlay)
    {
        return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
    }

    BOOL BeginDrag(int nImage, CPoint ptHotSpot)
    {
        return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
    }
    static void PASCAL EndDrag() { ImageList_EndDrag(); }
    static BOOL PASCAL DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
    static BOOL PASCAL DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
    static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL PASCAL DragLeave(CWnd* pWndLock);
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot)
    {
        return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
    }
};

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_GETITEMW, nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem)
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_SETITEMW, nPos, (LPARAM)pHeaderItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    int InsertItem(int nPos, HDITEM* phdi)
    {
        return (int)::SendMessageW(m_hWnd, HDM_INSERTITEMW, nPos, (LPARAM)phdi);
    }
    BOOL DeleteItem(int nPos) { return (BOOL)::SendMessageW(m_hWnd, HDM_DELETEITEM, nPos, 0); }
    BOOL Layout(HDLAYOUT* pHeaderLayout)
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_LAYOUT, 0, (LPARAM)pHeaderLayout);
    }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo)
    {
        return (int)::SendMessageW(m_hWnd, HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    int OrderToIndex(int nOrder) const { return (int)::SendMessageW(m_hWnd, HDM_ORDERTOINDEX, nOrder, 0); }
    BOOL GetOrderArray(LPINT piArray, int iCount) const
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_GETORDERARRAY, iCount, (LPARAM)piArray);
    }
    BOOL SetOrderArray(int iCount, LPINT piArray)
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_SETORDERARRAY, iCount, (LPARAM)piArray);
    }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)::SendMessageW(m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
    }
    CImageList* GetImageList() const
    {
        return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, HDM_GETIMAGELIST, 0, 0));
    }

    // HDS owner-drawn items (HDF_OWNERDRAW).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Columns
    int InsertColumn(int nCol, const LVCOLUMN* pColumn)
    {
        return (int)::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, nCol, (LPARAM)pColumn);
    }
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETECOLUMN, nCol, 0); }
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_GETCOLUMNW, nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMN* pColumn)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETCOLUMNW, nCol, (LPARAM)pColumn);
    }
    int GetColumnWidth(int nCol) const { return (int)::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0));
    }
    BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1) const;
    BOOL SetColumnOrderArray(int iCount, LPINT piArray)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETCOLUMNORDERARRAY, iCount, (LPARAM)piArray);
    }
    CHeaderCtrl* GetHeaderCtrl() const;

    // Items
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    BOOL GetItem(LVITEM* pItem) const { return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEM* pItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                 UINT nStateMask, LPARAM lParam);
    int InsertItem(const LVITEM* pItem)
    {
        return (int)::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, (LPARAM)pItem);
    }
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                   LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEITEM, nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, LVITEM* pItem)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMSTATE, nItem, (LPARAM)pItem);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)::SendMessageW(m_hWnd, LVM_GETITEMSTATE, nItem, nMask);
    }
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
    BOOL SetCheck(int nItem, BOOL fCheck = TRUE)
    {
        return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    void SetItemCount(int nItems) { ::SendMessageW(m_hWnd, LVM_SETITEMCOUNT, nItems, 0); }
    BOOL SetItemCountEx(int iCount, DWORD dwFlags = LVSICF_NOINVALIDATEALL)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMCOUNT, iCount, dwFlags);
    }
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_FINDITEMW, nStart, (LPARAM)pFindInfo);
    }
    int GetStringWidth(LPCTSTR lpsz) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_GETSTRINGWIDTHW, 0, (LPARAM)lpsz);
    }

    // Selection
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }
    UINT GetSelectedCount() const { return (UINT)::SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    // Positions are item index + 1, null past the last selected item.
    POSITION GetFirstSelectedItemPosition() const
    {
        return (POSITION)(DWORD_PTR)(1 + GetNextItem(-1, LVIS_SELECTED));
    }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int item = (int)((DWORD_PTR)pos - 1);
        pos = (POSITION)(DWORD_PTR)(1 + GetNextItem(item, LVIS_SELECTED));
        return item;
    }
    int GetSelectionMark() const { return (int)::SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int iIndex) { return (int)::SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, iIndex); }
    int GetHotItem() const { return (int)::SendMessageW(m_hWnd, LVM_GETHOTITEM, 0, 0); }
    int SetHotItem(int iIndex) { return (int)::SendMessageW(m_hWnd, LVM_SETHOTITEM, iIndex, 0); }

    // Geometry and view
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, nItem, MAKELPARAM(bPartialOK, 0));
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMPOSITION, nItem, (LPARAM)lpPoint);
    }
    BOOL SetItemPosition(int nItem, POINT pt)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMPOSITION32, nItem, (LPARAM)&pt);
    }
    BOOL GetViewRect(LPRECT lpRect) const
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_GETVIEWRECT, 0, (LPARAM)lpRect);
    }
    BOOL GetOrigin(LPPOINT lpPoint) const
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_GETORIGIN, 0, (LPARAM)lpPoint);
    }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo)
    {
        return (int)::SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)pInfo);
    }
    BOOL Scroll(CSize size) { return (BOOL)::SendMessageW(m_hWnd, LVM_SCROLL, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_REDRAWITEMS, nFirst, nLast);
    }
    BOOL Update(int nItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_UPDATE, nItem, 0); }
    BOOL Arrange(UINT nCode) { return (BOOL)::SendMessageW(m_hWnd, LVM_ARRANGE, nCode, 0); }
    int GetTopIndex() const { return (int)::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    DWORD GetView() const { return (DWORD)::SendMessageW(m_hWnd, LVM_GETVIEW, 0, 0); }
    int SetView(int iView) { return (int)::SendMessageW(m_hWnd, LVM_SETVIEW, iView, 0); }
    CEdit* EditLabel(int nItem);
    CEdit* GetEditControl() const;

    // Appearance
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return (DWORD)::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    DWORD GetExtendedStyle() const
    {
        return (DWORD)::SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, LVM_SETIMAGELIST, nImageListType,
                                                                 (LPARAM)pImageList->GetSafeHandle()));
    }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, LVM_GETIMAGELIST, nImageList, 0));
    }
    COLORREF GetBkColor() const { return (COLORREF)::SendMessageW(m_hWnd, LVM_GETBKCOLOR, 0, 0); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, cr); }
    COLORREF GetTextColor() const { return (COLORREF)::SendMessageW(m_hWnd, LVM_GETTEXTCOLOR, 0, 0); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, cr); }
    COLORREF GetTextBkColor() const { return (COLORREF)::SendMessageW(m_hWnd, LVM_GETTEXTBKCOLOR, 0, 0); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, cr); }

    // Sorting: the callback gets the items' data values.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }
    // The callback gets the items' indexes.
    BOOL SortItemsEx(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SORTITEMSEX, dwData, (LPARAM)pfnCompare);
    }

    // LVS_OWNERDRAWFIXED list views draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetLineSize() const { return (int)::SendMessageW(m_hWnd, TBM_GETLINESIZE, 0, 0); }
    int SetLineSize(int nSize) { return (int)::SendMessageW(m_hWnd, TBM_SETLINESIZE, 0, nSize); }
    int GetPageSize() const { return (int)::SendMessageW(m_hWnd, TBM_GETPAGESIZE, 0, 0); }
    int SetPageSize(int nSize) { return (int)::SendMessageW(m_hWnd, TBM_SETPAGESIZE, 0, nSize); }
    int GetRangeMax() const { return (int)::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0); }
    int GetRangeMin() const { return (int)::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0); }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE)
    {
        ::SendMessageW(m_hWnd, TBM_SETRANGEMIN, bRedraw, nMin);
    }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE)
    {
        ::SendMessageW(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
    }
    // Set one end at a time: TBM_SETRANGE packs both into 16 bits.
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SetRangeMin(nMin, FALSE);
        SetRangeMax(nMax, bRedraw);
    }
    void GetSelection(int& nMin, int& nMax) const
    {
        nMin = (int)::SendMessageW(m_hWnd, TBM_GETSELSTART, 0, 0);
        nMax = (int)::SendMessageW(m_hWnd, TBM_GETSELEND, 0, 0);
    }
    void SetSelection(int nMin, int nMax)
    {
        ::SendMessageW(m_hWnd, TBM_SETSELSTART, FALSE, nMin);
        ::SendMessageW(m_hWnd, TBM_SETSELEND, TRUE, nMax);
    }
    void ClearSel(BOOL bRedraw = FALSE) { ::SendMessageW(m_hWnd, TBM_CLEARSEL, bRedraw, 0); }
    void GetChannelRect(LPRECT lprc) const { ::SendMessageW(m_hWnd, TBM_GETCHANNELRECT, 0, (LPARAM)lprc); }
    void GetThumbRect(LPRECT lprc) const { ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, (LPARAM)lprc); }
    int GetPos() const { return (int)::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0); }
    void SetPos(int nPos) { ::SendMessageW(m_hWnd, TBM_SETPOS, TRUE, nPos); }
    UINT GetNumTics() const { return (UINT)::SendMessageW(m_hWnd, TBM_GETNUMTICS, 0, 0); }
    DWORD* GetTicArray() const { return (DWORD*)::SendMessageW(m_hWnd, TBM_GETPTICS, 0, 0); }
    int GetTic(int nTic) const { return (int)::SendMessageW(m_hWnd, TBM_GETTIC, nTic, 0); }
    int GetTicPos(int nTic) const { return (int)::SendMessageW(m_hWnd, TBM_GETTICPOS, nTic, 0); }
    BOOL SetTic(int nTic) { return (BOOL)::SendMessageW(m_hWnd, TBM_SETTIC, 0, nTic); }
    void SetTicFreq(int nFreq) { ::SendMessageW(m_hWnd, TBM_SETTICFREQ, nFreq, 0); }
    void ClearTics(BOOL bRedraw = FALSE) { ::SendMessageW(m_hWnd, TBM_CLEARTICS, bRedraw, 0); }
    CWnd* GetBuddy(BOOL fLocation = TRUE) const
    {
        return CWnd::FromHandle((HWND)::SendMessageW(m_hWnd, TBM_GETBUDDY, fLocation, 0));
    }
    CWnd* SetBuddy(CWnd* pWndBuddy, BOOL fLocation = TRUE)
    {
        return CWnd::FromHandle(
            (HWND)::SendMessageW(m_hWnd, TBM_SETBUDDY, fLocation, (LPARAM)pWndBuddy->GetSafeHwnd()));
    }
    void VerifyPos() { ::SendMessageW(m_hWnd, TBM_SETPOS, FALSE, GetPos()); }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper)
    {
        ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
    }
    void SetRange32(int nLower, int nUpper) { ::SendMessageW(m_hWnd, PBM_SETRANGE32, nLower, nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range = {};
        ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&range);
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int GetPos() const { return (int)::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0); }
    int SetPos(int nPos) { return (int)::SendMessageW(m_hWnd, PBM_SETPOS, nPos, 0); }
    int OffsetPos(int nPos) { return (int)::SendMessageW(m_hWnd, PBM_DELTAPOS, nPos, 0); }
    int SetStep(int nStep) { return (int)::SendMessageW(m_hWnd, PBM_SETSTEP, nStep, 0); }
    int GetStep() const { return (int)::SendMessageW(m_hWnd, PBM_GETSTEP, 0, 0); }
    int StepIt() { return (int)::SendMessageW(m_hWnd, PBM_STEPIT, 0, 0); }
    BOOL SetMarquee(BOOL fMarqueeMode, int nInterval)
    {
        return (BOOL)::SendMessageW(m_hWnd, PBM_SETMARQUEE, fMarqueeMode, nInterval);
    }
    COLORREF SetBarColor(COLORREF clrBar)
    {
        return (COLORREF)::SendMessageW(m_hWnd, PBM_SETBARCOLOR, 0, clrBar);
    }
    COLORREF GetBarColor() const { return (COLORREF)::SendMessageW(m_hWnd, PBM_GETBARCOLOR, 0, 0); }
    COLORREF SetBkColor(COLORREF clrNew)
    {
        return (COLORREF)::SendMessageW(m_hWnd, PBM_SETBKCOLOR, 0, clrNew);
    }
    COLORREF GetBkColor() const { return (COLORREF)::SendMessageW(m_hWnd, PBM_GETBKCOLOR, 0, 0); }
    int SetState(int iState) { return (int)::SendMessageW(m_hWnd, PBM_SETSTATE, iState, 0); }
    int GetState() const { return (int)::SendMessageW(m_hWnd, PBM_GETSTATE, 0, 0); }
};

// A TOOLINFO with room for the text GetToolInfo copies back.
class CToolInfo : public TTTOOLINFOW
{
public:
    TCHAR szText[256];
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwStyle = 0, DWORD dwStyleEx = 0);

    // A zero tool id makes the window itself the tool (TTF_IDISHWND);
    // otherwise the tool is the rectangle in pWnd with that id.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFO lpToolInfo)
    {
        ::SendMessageW(m_hWnd, TTM_SETTOOLINFOW, 0, (LPARAM)lpToolInfo);
    }
    BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
    int GetToolCount() const { return (int)::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }

    void Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
    void RelayEvent(LPMSG lpMsg) { ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }
    void Update() { ::SendMessageW(m_hWnd, TTM_UPDATE, 0, 0); }
    int SetMaxTipWidth(int iWidth) { return (int)::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth); }
    int GetMaxTipWidth() const { return (int)::SendMessageW(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
    void SetDelayTime(UINT nDelay) { ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
    void SetDelayTime(DWORD dwDuration, int iTime)
    {
        ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
    }
    int GetDelayTime(DWORD dwDuration) const
    {
        return (int)::SendMessageW(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0);
    }
    void SetTipBkColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
    COLORREF GetTipBkColor() const { return (COLORREF)::SendMessageW(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0); }
    void SetTipTextColor(COLORREF clr) { ::SendMessageW(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }
    COLORREF GetTipTextColor() const { return (COLORREF)::SendMessageW(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0); }
    void SetMargin(LPRECT lprc) { ::SendMessageW(m_hWnd, TTM_SETMARGIN, 0, (LPARAM)lprc); }
    void GetMargin(LPRECT lprc) const { ::SendMessageW(m_hWnd, TTM_GETMARGIN, 0, (LPARAM)lprc); }
    BOOL SetTitle(UINT uIcon, LPCTSTR lpstrTitle)
    {
        return (BOOL)::SendMessageW(m_hWnd, TTM_SETTITLEW, uIcon, (LPARAM)lpstrTitle);
    }
    // Tracking tooltips (TTF_TRACK).
    void TrackActivate(BOOL bActivate, LPTOOLINFO lpToolInfo)
    {
        ::SendMessageW(m_hWnd, TTM_TRACKACTIVATE, bActivate, (LPARAM)lpToolInfo);
    }
    void TrackPosition(int x, int y) { ::SendMessageW(m_hWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y)); }

protected:
    void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
