// The device-context interface markup draws through, over plain GDI. This
// part holds what layout and the render walk need: fonts and text metrics,
// the viewport origin, clipping and the smoothing state.
#pragma once

#include <afxwin.h>

class CQVTMarkupBrush;
class CQVTMarkupFont;

class CQVTMarkupDeviceContext : public CObject
{
    DECLARE_DYNAMIC(CQVTMarkupDeviceContext)

public:
    // hAttribDC measures text; null means the output DC.
    CQVTMarkupDeviceContext(HDC hDC, HDC hAttribDC);
    ~CQVTMarkupDeviceContext() override;

    virtual void OffsetViewport(POINT pt);
    // GDI has no smoothing: the stored mode stays 0.
    virtual int SetSmoothingMode(int nMode, int nTextFlag);
    virtual void GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize);
    virtual SIZE GetTextExtent(LPCWSTR lpszText, int nLength);
    // Null puts back the font the DC held before the first selection.
    virtual void SetFont(CQVTMarkupFont* pFont);
    virtual BOOL GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent);
    virtual void IntersectClipRect(const RECT& rc);
    virtual void GetClipBox(RECT* pRect);
    // An opaque copy of the clip, for RestoreClipRegion.
    virtual void* SaveClipRegion();
    virtual void RestoreClipRegion(void* pSaved);
    virtual HDC GetDC();
    virtual void ReleaseDC(HDC hDC);

    double GetOpacity() const { return m_dOpacity; }
    void SetOpacity(double dOpacity) { m_dOpacity = dOpacity; }

protected:
    HDC m_hDC;        // output
    HDC m_hAttribDC;  // measuring
    SIZE m_szWindowExt;
    SIZE m_szViewportExt;
    double m_dOpacity;
    HFONT m_hOldFont;  // selected before the first SetFont, null when none
    int m_nSmoothingMode;
};
