// A class's cache of skin images: each loaded once through the skin file.
#pragma once

#include <afx.h>

#include <map>
#include <memory>
#include <string>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/skinframework/images/QVTSkinImage.h"

class CQVTSkinManagerResourceFile;

class CQVTSkinImages : public CQVTSynchronized
{
public:
    // The cached image, else the file's, cached under its name. A failed
    // load is not cached, so a later call tries again.
    CQVTSkinImage* GetImage(CQVTSkinManagerResourceFile* pResourceFile, const CString& strImageName,
                            BOOL bConvertAlpha = TRUE);
    void RemoveAll();

private:
    std::map<std::u16string, std::unique_ptr<CQVTSkinImage>> m_images;
};
