// Resource images: a colour scheme's INI text resource with its typed values,
// and the images it names, decoded once into 32-bit pixels and drawn with
// nine-grid margins, alpha-blended or colour-keyed, mirrored on right-to-left
// DCs when asked.
#pragma once

#include <afxwin.h>

#include <unordered_map>
#include <vector>

#include "toolkit/foundation/core/QVTCmdTarget.h"
#include "toolkit/foundation/core/QVTCriticalSection.h"
#include "toolkit/foundation/draw/QVTBufferDC.h"

class CQVTNotifyConnection;
class CQVTResourceImages;

// Fired through the set's connection after an INI has been loaded.
const UINT QVT_NOTIFY_RESOURCE_IMAGES_CHANGED = 10575;

class CQVTResourceImage : public CQVTCmdTarget
{
public:
    explicit CQVTResourceImage(CQVTResourceImages* pImages);
    ~CQVTResourceImage() override;

    // Nine-grid stretch: the margins keep their size, edges and centre stretch.
    void DrawImage(CDC* pDC, const CRect& rcDest, CRect rcSrc, CRect rcSizingMargins = CRect(0, 0, 0, 0));
    void DrawImageStretched(CDC* pDC, const CRect& rcDest, const CRect& rcSrc);
    // The key colour (0xFFFFFFFF: none) is transparent.
    void DrawImageColorKeyed(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                             COLORREF clrKey);
    // Flag bit 0: a non-alpha image is blended with the key pixels transparent.
    void DrawImageKeyedAlpha(CDC* pDC, const CRect& rcDest, const CRect& rcSrc, const CRect& rcSizingMargins,
                             COLORREF clrKey, DWORD dwFlags);

    // Frame n of nCount frames stacked vertically.
    CRect GetSource(int nState = 0, int nCount = 1) const;
    // Draws that frame nine-grid stretched into rcDest; colour-keyed unless
    // the key is CLR_NONE.
    void DrawFrame(CDC* pDC, const CRect& rcDest, int nFrame, int nFrames, const CRect& rcSizingMargins,
                   COLORREF clrKey = CLR_NONE);
    CSize GetExtent() const { return CSize(m_nWidth, m_nHeight); }
    int GetHeight() const { return m_nHeight; }
    int GetWidth() const { return m_nWidth; }
    BOOL IsAlphaImage() const { return m_bAlpha; }
    BOOL IsPremultiplied() const { return m_bPremultiplied; }
    void SetMirrorInRtl(BOOL bMirror) { m_bMirrorInRtl = bMirror; }
    void Premultiply();

    // Loads a "PNG" or bitmap resource; FALSE when missing or unreadable.
    BOOL LoadFile(HMODULE hModule, LPCTSTR lpszResourceName);

private:
    void DrawPart(CDC* pDC, HDC hdcSrc, const CRect& rcDest, const CRect& rcSrc);

    std::vector<DWORD> m_pixels;  // top-down rows, blue-green-red-alpha
    BOOL m_bAlpha = FALSE;
    BOOL m_bPremultiplied = FALSE;
    BOOL m_bMirrorInRtl = FALSE;
    BOOL m_bFlipped = FALSE;  // the pixels are mirrored at present
    int m_nWidth = 0;
    int m_nHeight = 0;
    CQVTResourceImages* m_pImages;
};

class CQVTResourceImages : public CQVTCmdTarget
{
public:
    CQVTResourceImages();
    ~CQVTResourceImages() override;

    BOOL SetModule(HMODULE hModule, LPCTSTR lpszIniFileName = nullptr, BOOL bFreeOnRelease = FALSE);
    // The second INI, when there is one, adds to the values of the first.
    BOOL SetHandle(HMODULE hModule, LPCTSTR lpszIniFileName, LPCTSTR lpszIniFileName2, BOOL bFreeOnRelease);
    // Without a name: "OFFICE2007BLUE_INI", else the module's first INI.
    BOOL LoadIni(LPCTSTR lpszIniFileName);
    BOOL IsValid() const { return !m_values.empty(); }

    CString GetIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault) const;
    COLORREF GetIniColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault) const;
    int GetIniInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault) const;
    CRect GetIniRect(LPCTSTR lpszSection, LPCTSTR lpszKey, const CRect& rcDefault) const;
    CSize GetIniSize(LPCTSTR lpszSection, LPCTSTR lpszKey, const CSize& szDefault) const;

    // The image, loaded once per INI; null (also cached) when it cannot be.
    CQVTResourceImage* LoadFile(LPCTSTR lpszImageFile);
    // The image while the set is loaded, else null.
    CQVTResourceImage* LoadValidFile(LPCTSTR lpszImageFile)
    {
        return IsValid() ? LoadFile(lpszImageFile) : nullptr;
    }
    // Loads the image and draws one of its frames (CQVTResourceImage::DrawFrame);
    // FALSE when there is no such image.
    BOOL DrawImageFrame(CDC* pDC, LPCTSTR lpszImageFile, const CRect& rcDest, int nFrame, int nFrames,
                        const CRect& rcSizingMargins, COLORREF clrKey = CLR_NONE);
    void RemoveAllImages();
    // The names asked for since the images were last released that have no
    // image: what a scheme lacks for the code that draws with it.
    void GetMissingImages(CStringArray& arrNames);
    CQVTNotifyConnection* GetConnection();

    HMODULE GetHandle() const { return m_hModule; }
    const CString& GetIniFileName() const { return m_strIniFileName; }
    BOOL IsPremultiplyImages() const { return m_bPremultiplyImages; }

    // Adds the values of 8-bit INI text (lines end at a CR).
    void ParseIniText(const BYTE* pText, DWORD nSize);

private:
    friend class CQVTResourceImage;

    struct IniValue
    {
        CString strSection;
        CString strKey;
        CString strValue;
    };

    static UINT AFX_CDECL HashKey(LPCTSTR lpszSection, LPCTSTR lpszKey);
    const CString* FindValue(LPCTSTR lpszSection, LPCTSTR lpszKey) const;
    BOOL ParseIniResource(LPCTSTR lpszResourceName);
    // The drawing buffer, at least cx by cy; null when it cannot be made.
    DWORD* GetWorkBits(int cx, int cy, int& nStride);

    CString m_strIniFileName;  // as last requested, "." turned into "_"
    HMODULE m_hModule = nullptr;
    BOOL m_bFreeOnRelease = FALSE;
    CQVTCriticalSection m_lock;  // the image map and every drawing
    BOOL m_bPremultiplyImages = FALSE;
    CQVTBitmapDC m_dc;                // blit source, holds the work DIB
    HBITMAP m_hWorkBitmap = nullptr;  // top-down 32-bit drawing buffer
    DWORD* m_pWorkBits = nullptr;
    int m_nWorkSide = 0;
    CQVTNotifyConnection* m_pConnection = nullptr;
    // Hash of section and key -> the values that share it.
    std::unordered_map<UINT, std::vector<IniValue>> m_values;
    CMap<CString, LPCTSTR, CQVTResourceImage*, CQVTResourceImage*> m_mapImages;
};

CQVTResourceImages* AFXAPI QVTResourceImages();

// The process-wide set's values; the default while it has no INI name.
COLORREF AFXAPI GetResourceImagesIniColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF clrDefault);
int AFXAPI GetResourceImagesIniInt(LPCTSTR lpszSection, LPCTSTR lpszKey, int nDefault);
CRect AFXAPI GetResourceImagesIniRect(LPCTSTR lpszSection, LPCTSTR lpszKey, const CRect& rcDefault);
CSize AFXAPI GetResourceImagesIniSize(LPCTSTR lpszSection, LPCTSTR lpszKey, const CSize& szDefault);
CString AFXAPI GetResourceImagesIniString(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszDefault);
