#include "toolkit/skinframework/images/QVTSkinImages.h"

#include "toolkit/skinframework/files/QVTSkinManagerResourceFile.h"

CQVTSkinImage* CQVTSkinImages::GetImage(CQVTSkinManagerResourceFile* pResourceFile,
                                        const CString& strImageName, BOOL bConvertAlpha)
{
    if (pResourceFile == nullptr || strImageName.IsEmpty())
        return nullptr;
    std::u16string key(strImageName.GetString(), static_cast<size_t>(strImageName.GetLength()));
    {
        CQVTReadLock lock(m_lock);
        auto it = m_images.find(key);
        if (it != m_images.end())
            return it->second.get();
    }
    CQVTWriteLock lock(m_lock);
    auto it = m_images.find(key);
    if (it != m_images.end())
        return it->second.get();
    std::unique_ptr<CQVTSkinImage> pImage(pResourceFile->LoadImage(strImageName, bConvertAlpha));
    if (!pImage)
        return nullptr;
    CQVTSkinImage* pResult = pImage.get();
    m_images[key] = std::move(pImage);
    return pResult;
}

void CQVTSkinImages::RemoveAll()
{
    CQVTWriteLock lock(m_lock);
    m_images.clear();
}
