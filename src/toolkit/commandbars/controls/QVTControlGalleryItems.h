// The items a gallery shows: pictures, texts and group labels, with the
// size of an ordinary item and the image manager their pictures come from.
// A collection is shared by every gallery that shows it (copies of one
// gallery on several bars); each change tells them to lay out again.
#pragma once

#include <afxwin.h>

#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"

class CQVTControlGallery;
class CQVTControlGalleryItems;
class CQVTImageManager;
class CQVTImageManagerIcon;

class CQVTControlGalleryItem : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTControlGalleryItem)

public:
    CQVTControlGalleryItem();
    ~CQVTControlGalleryItem() override;

    // The item's own size, else the collection's; a width of 0 takes the
    // whole row.
    virtual CSize GetSize();
    virtual void Draw(CDC* pDC, CQVTControlGallery* pGallery, CRect rcItem, BOOL bEnabled, BOOL bSelected,
                      BOOL bPressed, BOOL bChecked);
    // -1: the picture is the one of the id.
    virtual int GetImageIndex() const { return m_nImage; }
    // TRUE when the item took the click itself.
    virtual BOOL OnClick() { return FALSE; }

    CQVTImageManagerIcon* GetImage();

    int GetID() const { return m_nId; }
    void SetID(int nId) { m_nId = nId; }
    void SetImageIndex(int nImage) { m_nImage = nImage; }
    CString GetCaption() const { return m_strCaption; }
    void SetCaption(LPCTSTR lpszCaption);
    CString GetDescription() const { return m_strDescription; }
    void SetDescription(LPCTSTR lpszDescription) { m_strDescription = lpszDescription; }
    CString GetToolTip() const { return m_strToolTip; }
    void SetToolTip(LPCTSTR lpszToolTip) { m_strToolTip = lpszToolTip; }
    BOOL IsLabel() const { return m_bLabel; }
    BOOL GetEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    void SetSize(CSize szItem);
    int GetImageWidth() const { return m_nImageWidth; }
    void SetImageWidth(int nWidth) { m_nImageWidth = nWidth; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    CQVTControlGalleryItems* GetItems() const { return m_pItems; }

protected:
    friend class CQVTControlGalleryItems;

    int m_nId;
    int m_nImage;  // index in the image manager, -1 the id's
    CString m_strCaption;
    CString m_strDescription;
    CString m_strToolTip;
    BOOL m_bLabel;      // a group heading, never selectable
    BOOL m_bEnabled;    // disabled items are drawn grey and never hit
    CSize m_szItem;     // (0, 0): the collection's item size
    int m_nImageWidth;  // width asked of the image manager, 0 its first
    DWORD_PTR m_dwData;
    CQVTControlGalleryItems* m_pItems;  // owning collection, null once removed
};

class CQVTControlGalleryItems : public CQVTCmdTarget
{
    DECLARE_DYNAMIC(CQVTControlGalleryItems)

public:
    CQVTControlGalleryItems();
    ~CQVTControlGalleryItems() override;

    // Every gallery that shows the collection; a gallery links itself.
    void AddGallery(CQVTControlGallery* pGallery);
    void RemoveGallery(CQVTControlGallery* pGallery);

    // An item of the given id and picture index (-1: the id's) at the end.
    CQVTControlGalleryItem* AddItem(int nId, int nImage = -1);
    CQVTControlGalleryItem* AddItem(LPCTSTR lpszCaption, int nId, int nImage = -1);
    CQVTControlGalleryItem* AddLabel(LPCTSTR lpszCaption);
    // Takes over the caller's reference; -1 appends.
    CQVTControlGalleryItem* InsertItem(int nIndex, CQVTControlGalleryItem* pItem);
    void Remove(int nIndex);
    void RemoveAll();

    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    // Null outside the list.
    CQVTControlGalleryItem* GetItem(int nIndex) const;

    CSize GetItemSize() const { return m_szItem; }
    void SetItemSize(CSize szItem);
    // A reference is taken; null gives the collection an empty manager.
    void SetImageManager(CQVTImageManager* pImageManager);
    CQVTImageManager* GetImageManager() const { return m_pImageManager; }
    // Set: a selection change redraws only the two item rectangles.
    BOOL IsClipItems() const { return m_bClipItems; }
    void SetClipItems(BOOL bClipItems) { m_bClipItems = bClipItems; }

    // TRUE when the collection drew the item itself.
    virtual BOOL OnDrawItem(CDC* pDC, CQVTControlGallery* pGallery, CQVTControlGalleryItem* pItem,
                            CRect rcItem, BOOL bEnabled, BOOL bSelected, BOOL bPressed, BOOL bChecked)
    {
        return FALSE;
    }

    // The linked galleries lay out again and forget their selection.
    void OnItemsChanged();
    // The linked galleries redraw.
    void RedrawGalleries();

protected:
    std::vector<CQVTControlGalleryItem*> m_arrItems;  // one reference each
    std::vector<CQVTControlGallery*> m_arrGalleries;  // linked, not owned
    CSize m_szItem;                                   // size of an ordinary item
    CQVTImageManager* m_pImageManager;                // one reference
    BOOL m_bClipItems;
};
