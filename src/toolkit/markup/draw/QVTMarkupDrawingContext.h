// The surface markup elements measure and draw on: it owns one device
// context object and keeps the little state the render pass needs between
// operations (the current font, a cached clip box).
#pragma once

#include <afxwin.h>

#include <memory>

class CQVTMarkupContext;
class CQVTMarkupDeviceContext;
class CQVTMarkupFont;

class CQVTMarkupDrawingContext
{
public:
    // Measuring: over a memory DC compatible with the screen, owned.
    explicit CQVTMarkupDrawingContext(CQVTMarkupContext* pContext);
    // Drawing on the caller's DC; a null attribute DC means the output DC.
    CQVTMarkupDrawingContext(CQVTMarkupContext* pContext, HDC hDC, HDC hAttribDC = nullptr);
    virtual ~CQVTMarkupDrawingContext();

    CQVTMarkupDrawingContext(const CQVTMarkupDrawingContext&) = delete;
    CQVTMarkupDrawingContext& operator=(const CQVTMarkupDrawingContext&) = delete;

    // When true, measuring never reuses stored desired sizes.
    virtual BOOL BypassesLayoutCache() { return FALSE; }

    SIZE GetTextExtent(LPCWSTR lpszText, int nLength);
    void GetTextExtentF(LPCWSTR lpszText, int nLength, float* pSize);
    void SetFont(CQVTMarkupFont* pFont);
    CQVTMarkupFont* GetFont() const { return m_pFont; }
    BOOL GetFontMetrics(CQVTMarkupFont* pFont, int* pnAscent, int* pnDescent);

    double GetOpacity() const;
    void SetOpacity(double dOpacity);
    int SetSmoothingMode(int nMode);
    int SetSmoothingModeAndTextFlag(int nMode, int nTextFlag);

    void OffsetViewport(POINT pt);
    void IntersectClipRect(const RECT& rc);
    void* SaveClipRegion();
    void RestoreClipRegion(void* pSaved);
    // The cached clip box, in the current viewport's coordinates.
    const RECT& GetClipBox() const { return m_rcClipBox; }

    HDC GetDC();
    void ReleaseDC(HDC hDC);

    HDC GetOutputDC() const { return m_hDC; }
    HDC GetAttribDC() const { return m_hAttribDC; }
    CQVTMarkupContext* GetMarkupContext() const { return m_pContext; }
    CQVTMarkupDeviceContext* GetDeviceContext() const { return m_pDeviceContext.get(); }

private:
    void Initialize();
    void UpdateClipBox();

    HDC m_hDC;
    HDC m_hAttribDC;
    CQVTMarkupFont* m_pFont;  // counted while selected
    RECT m_rcClipBox;
    BOOL m_bOwnsDC;
    std::unique_ptr<CQVTMarkupDeviceContext> m_pDeviceContext;
    CQVTMarkupContext* m_pContext;  // not counted
    int m_nTextFlag;
};
