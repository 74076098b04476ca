// Pictures of the markup Image element, loaded by the kind of device context
// that draws them: under GDI always an icon of an image manager; under GDI+
// any format GDI+ decodes from a file or resource stream, animated GIFs
// included, with the image manager for command ids, bitmaps and icons.
#pragma once

#include <afxwin.h>

#include "toolkit/markup/draw/QVTGdiPlus.h"

#include <vector>

class CQVTImageManager;
class CQVTImageManagerIcon;
class CQVTMarkupContext;

// What an image needs of the element that shows it.
class IQVTMarkupDeviceDependentImageSite
{
public:
    virtual ~IQVTMarkupDeviceDependentImageSite() = default;
    virtual CQVTMarkupContext* GetMarkupContext() = 0;
    // The element redraws itself.
    virtual void OnImageChanged() = 0;
};

class CQVTMarkupDeviceDependentImage : public CObject
{
    DECLARE_DYNAMIC(CQVTMarkupDeviceDependentImage)

public:
    explicit CQVTMarkupDeviceDependentImage(IQVTMarkupDeviceDependentImageSite* pSite);
    ~CQVTMarkupDeviceDependentImage() override;

    // Loads a new picture in place of the last; the width picks among the
    // widths an image-manager icon offers. TRUE when a picture was obtained.
    virtual BOOL Load(LPCWSTR lpszSource, int nWidth) = 0;

    IQVTMarkupDeviceDependentImageSite* GetSite() const { return m_pSite; }
    UINT GetWidth() const { return m_nWidth; }
    UINT GetHeight() const { return m_nHeight; }
    BOOL IsImageManagerImage() const { return m_bImageManagerImage; }
    // The decoded picture, or null.
    virtual Gdiplus::GpImage* GetGdiPlusImage() const { return nullptr; }
    // The image-manager icon, or null.
    CQVTImageManagerIcon* GetIcon() const { return m_pIcon; }

protected:
    void ReleaseIcon();
    // A manager of the image's own, with the mask colour of the site's
    // context, holding the file's picture under command id 0.
    CQVTImageManager* CreatePrivateImageManager();
    // Takes the icon of the command at the width from the manager (the image
    // keeps one reference on each); FALSE when there is none.
    BOOL TakeIcon(CQVTImageManager* pImageManager, UINT nCommand, int nWidth);
    // A resource named "#id" or by name, as a bitmap or else an icon, into a
    // private manager under command id 0.
    BOOL LoadResourceIcon(LPCWSTR lpszName, int nWidth);

    IQVTMarkupDeviceDependentImageSite* m_pSite;  // not counted
    UINT m_nWidth;
    UINT m_nHeight;
    BOOL m_bImageManagerImage;
    CQVTImageManager* m_pImageManager;  // counted: private, or the context's
    CQVTImageManagerIcon* m_pIcon;      // counted
};

class CQVTMarkupGdiImage : public CQVTMarkupDeviceDependentImage
{
    DECLARE_DYNAMIC(CQVTMarkupGdiImage)

public:
    explicit CQVTMarkupGdiImage(IQVTMarkupDeviceDependentImageSite* pSite);

    // "file://" paths (".ico" files as icons, other files as bitmaps),
    // "res://" bitmaps or icons, else a command id of the context's manager.
    BOOL Load(LPCWSTR lpszSource, int nWidth) override;
};

class CQVTMarkupGdiPlusImage : public CQVTMarkupDeviceDependentImage
{
    DECLARE_DYNAMIC(CQVTMarkupGdiPlusImage)

public:
    explicit CQVTMarkupGdiPlusImage(IQVTMarkupDeviceDependentImageSite* pSite);
    ~CQVTMarkupGdiPlusImage() override;

    // Digits: a command id of the context's manager. Anything else: a
    // location decoded by GDI+; a resource GDI+ cannot decode goes to the
    // image manager.
    BOOL Load(LPCWSTR lpszSource, int nWidth) override;
    Gdiplus::GpImage* GetGdiPlusImage() const override { return m_image.Get(); }

    UINT GetFrameCount() const { return m_nFrameCount; }
    // The frame the next timer tick shows.
    UINT GetCurrentFrame() const { return m_nCurrentFrame; }
    BOOL IsAnimating() const { return m_nTimerId != 0; }

    // Pictures larger than this on either side are refused.
    static const UINT kMaxSide = 16384;

private:
    void ReleaseAll();
    void SetUpAnimation();
    // Shows the current frame and arms the timer for the next one.
    void ShowFrame();
    void StopTimer();
    static void CALLBACK OnFrameTimer(HWND hWnd, UINT nMessage, UINT_PTR nId, DWORD dwTime);

    QVTGdiPlus::CGpImage m_image;
    UINT m_nFrameCount;          // 0 for a still picture
    UINT m_nCurrentFrame;        // the next frame to show
    std::vector<UINT> m_delays;  // hundredths of a second per frame; empty without the property
    BOOL m_bHasDelays;
    UINT_PTR m_nTimerId;  // 0 when no frame timer runs
};
