#include "toolkit/commandbars/controls/QVTControlGalleryItems.h"

#include <algorithm>

#include "toolkit/commandbars/controls/QVTControlGallery.h"
#include "toolkit/foundation/image/QVTImageManager.h"
#include "toolkit/themes/elements/QVTControlGalleryPaintManager.h"
#include "toolkit/themes/paintmanager/QVTPaintManager.h"

IMPLEMENT_DYNAMIC(CQVTControlGalleryItem, CQVTCmdTarget)
IMPLEMENT_DYNAMIC(CQVTControlGalleryItems, CQVTCmdTarget)

CQVTControlGalleryItem::CQVTControlGalleryItem()
    : m_nId(0), m_nImage(-1), m_bLabel(FALSE), m_bEnabled(TRUE), m_szItem(0, 0), m_nImageWidth(0),
      m_dwData(0), m_pItems(nullptr)
{
}

CQVTControlGalleryItem::~CQVTControlGalleryItem() {}

CSize CQVTControlGalleryItem::GetSize()
{
    if (m_szItem != CSize(0, 0))
        return m_szItem;
    // Labels span the row at a text line's height unless sized.
    if (m_bLabel)
        return CSize(0, CQVTPaintManager::DpiY(19));
    return m_pItems ? m_pItems->GetItemSize() : CSize(0, 0);
}

void CQVTControlGalleryItem::SetSize(CSize szItem)
{
    if (m_szItem == szItem)
        return;
    m_szItem = szItem;
    if (m_pItems)
        m_pItems->OnItemsChanged();
}

void CQVTControlGalleryItem::SetCaption(LPCTSTR lpszCaption)
{
    if (m_strCaption == lpszCaption)
        return;
    m_strCaption = lpszCaption;
    if (m_pItems)
        m_pItems->RedrawGalleries();
}

void CQVTControlGalleryItem::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    if (m_pItems)
        m_pItems->RedrawGalleries();
}

CQVTImageManagerIcon* CQVTControlGalleryItem::GetImage()
{
    if (!m_pItems || !m_pItems->GetImageManager())
        return nullptr;
    const int nImage = GetImageIndex();
    return m_pItems->GetImageManager()->GetImage(static_cast<UINT>(nImage >= 0 ? nImage : m_nId),
                                                 m_nImageWidth);
}

void CQVTControlGalleryItem::Draw(CDC* pDC, CQVTControlGallery* pGallery, CRect rcItem, BOOL bEnabled,
                                  BOOL bSelected, BOOL bPressed, BOOL bChecked)
{
    CQVTPaintManager* pPaintManager = pGallery ? pGallery->GetPaintManager() : nullptr;
    CQVTControlGalleryPaintManager* pGalleryPaintManager =
        pPaintManager ? pPaintManager->GetGalleryPaintManager() : nullptr;
    if (!pDC || !pGalleryPaintManager)
        return;
    if (m_bLabel)
        pGalleryPaintManager->DrawLabel(pDC, this, rcItem);
    else
        pGalleryPaintManager->DrawItem(pDC, rcItem, this, bEnabled, bSelected, bPressed, bChecked, pGallery);
}

CQVTControlGalleryItems::CQVTControlGalleryItems()
    : m_szItem(CQVTPaintManager::DpiX(20), CQVTPaintManager::DpiY(20)),
      m_pImageManager(new CQVTImageManager()), m_bClipItems(TRUE)
{
}

CQVTControlGalleryItems::~CQVTControlGalleryItems()
{
    // Galleries still linked keep a reference, so none is left here.
    for (CQVTControlGalleryItem* pItem : m_arrItems)
    {
        pItem->m_pItems = nullptr;
        pItem->InternalRelease();
    }
    m_arrItems.clear();
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
}

void CQVTControlGalleryItems::AddGallery(CQVTControlGallery* pGallery)
{
    if (pGallery && std::find(m_arrGalleries.begin(), m_arrGalleries.end(), pGallery) == m_arrGalleries.end())
        m_arrGalleries.push_back(pGallery);
}

void CQVTControlGalleryItems::RemoveGallery(CQVTControlGallery* pGallery)
{
    m_arrGalleries.erase(std::remove(m_arrGalleries.begin(), m_arrGalleries.end(), pGallery),
                         m_arrGalleries.end());
}

CQVTControlGalleryItem* CQVTControlGalleryItems::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    return m_arrItems[static_cast<size_t>(nIndex)];
}

CQVTControlGalleryItem* CQVTControlGalleryItems::InsertItem(int nIndex, CQVTControlGalleryItem* pItem)
{
    if (!pItem)
        return nullptr;
    if (nIndex < 0 || nIndex > GetItemCount())
        nIndex = GetItemCount();
    pItem->m_pItems = this;
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    OnItemsChanged();
    return pItem;
}

CQVTControlGalleryItem* CQVTControlGalleryItems::AddItem(int nId, int nImage)
{
    auto* pItem = new CQVTControlGalleryItem();
    pItem->m_nId = nId;
    pItem->m_nImage = nImage;
    return InsertItem(-1, pItem);
}

CQVTControlGalleryItem* CQVTControlGalleryItems::AddItem(LPCTSTR lpszCaption, int nId, int nImage)
{
    auto* pItem = new CQVTControlGalleryItem();
    pItem->m_nId = nId;
    pItem->m_nImage = nImage;
    pItem->m_strCaption = lpszCaption;
    return InsertItem(-1, pItem);
}

CQVTControlGalleryItem* CQVTControlGalleryItems::AddLabel(LPCTSTR lpszCaption)
{
    auto* pItem = new CQVTControlGalleryItem();
    pItem->m_bLabel = TRUE;
    pItem->m_strCaption = lpszCaption;
    return InsertItem(-1, pItem);
}

void CQVTControlGalleryItems::Remove(int nIndex)
{
    CQVTControlGalleryItem* pItem = GetItem(nIndex);
    if (!pItem)
        return;
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    pItem->m_pItems = nullptr;
    OnItemsChanged();
    pItem->InternalRelease();
}

void CQVTControlGalleryItems::RemoveAll()
{
    if (m_arrItems.empty())
        return;
    std::vector<CQVTControlGalleryItem*> items;
    items.swap(m_arrItems);
    for (CQVTControlGalleryItem* pItem : items)
        pItem->m_pItems = nullptr;
    OnItemsChanged();
    for (CQVTControlGalleryItem* pItem : items)
        pItem->InternalRelease();
}

void CQVTControlGalleryItems::SetItemSize(CSize szItem)
{
    if (m_szItem == szItem)
        return;
    m_szItem = szItem;
    OnItemsChanged();
}

void CQVTControlGalleryItems::SetImageManager(CQVTImageManager* pImageManager)
{
    if (pImageManager == m_pImageManager)
        return;
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager ? pImageManager : new CQVTImageManager();
    if (pImageManager)
        pImageManager->InternalAddRef();
    RedrawGalleries();
}

void CQVTControlGalleryItems::OnItemsChanged()
{
    const std::vector<CQVTControlGallery*> galleries = m_arrGalleries;
    for (CQVTControlGallery* pGallery : galleries)
        pGallery->OnItemsChanged();
}

void CQVTControlGalleryItems::RedrawGalleries()
{
    for (CQVTControlGallery* pGallery : m_arrGalleries)
        pGallery->RedrawParent(FALSE);
}
