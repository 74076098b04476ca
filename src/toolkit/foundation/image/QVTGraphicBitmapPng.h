// A PNG image decoded into a 32-bit top-down DIB section (blue, green, red,
// alpha; not premultiplied) that the toolkit draws and alpha-blends.
#pragma once

#include <afxwin.h>

class CQVTGraphicBitmapPng : public CBitmap
{
public:
    CQVTGraphicBitmapPng();
    ~CQVTGraphicBitmapPng() override;

    BOOL LoadFromFile(LPCTSTR lpszFileName);
    BOOL LoadFromResource(HMODULE hModule, HRSRC hResource);
    // The common body: decodes the file from its current position.
    BOOL LoadFromStream(CFile* pFile);

    // TRUE when the image had an alpha channel.
    BOOL IsAlpha() const { return m_bAlpha; }

protected:
    BOOL m_bAlpha;
};
