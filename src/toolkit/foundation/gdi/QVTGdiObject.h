// The toolkit's fonts and brushes: each holds either a shared object of the
// process-wide caches or a GDI object of its own, and is used like the
// framework's CFont and CBrush.
#pragma once

#include <afxwin.h>

#include "toolkit/foundation/gdi/QVTGdiObjectCache.h"

class CQVTGdiObject : public CObject
{
    DECLARE_DYNAMIC(CQVTGdiObject)

public:
    ~CQVTGdiObject() override;

    // The descriptor of the shared entry, or null without one.
    virtual QVTGDIOBJECTDESCRIPTOR* GetDescriptor() const;

    // Lets go of what is held, then holds the entry (whose reference it takes).
    void SetCachedReference(CQVTCachedGdiObjectReferenceBase* pReference);
    // Releases the shared entry, then deletes a handle of the object's own.
    // TRUE when there was nothing to delete.
    virtual BOOL DeleteObject();

    // The shared object, else the embedded one.
    CGdiObject* GetGdiObject() const;
    HGDIOBJ GetHandle() const;
    HGDIOBJ GetSafeHandle() const { return AfxIsNullObject(this) ? nullptr : GetHandle(); }

    // Counts this object once on its entry's descriptor.
    void MarkPermanent();

    CQVTCachedGdiObjectReferenceBase* GetCachedReference() const { return m_pCachedReference; }

protected:
    explicit CQVTGdiObject(CGdiObject* pEmbeddedObject);

    CQVTCachedGdiObjectReferenceBase* m_pCachedReference = nullptr;
    CGdiObject* m_pObjectInUse;
    LONG m_bMarked = FALSE;
};

class CQVTFont : public CQVTGdiObject
{
    DECLARE_DYNAMIC(CQVTFont)

public:
    CQVTFont();
    ~CQVTFont() override;

    // Each returns TRUE when a font is held afterwards; on failure the font
    // holds nothing.
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // Sizes in tenths of a point, through the DC's vertical resolution (the
    // screen's without a DC).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);

    // The byte count of a LOGFONT, or 0 without a font.
    int GetLogFont(LOGFONT* pLogFont);

    BOOL DeleteObject() override;

    CFont* GetFont() const { return static_cast<CFont*>(GetGdiObject()); }
    operator HFONT() const { return static_cast<HFONT>(GetSafeHandle()); }

private:
    CFont m_font;
    HGDIOBJ m_hLogFontHandle = nullptr;
    LOGFONT m_logFont;
};

class CQVTBrush : public CQVTGdiObject
{
    DECLARE_DYNAMIC(CQVTBrush)

public:
    CQVTBrush();
    ~CQVTBrush() override;

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    // FALSE for a null bitmap or one without a handle.
    BOOL CreatePatternBrush(CBitmap* pBitmap);

    CBrush* GetBrush() const { return static_cast<CBrush*>(GetGdiObject()); }
    operator HBRUSH() const { return static_cast<HBRUSH>(GetSafeHandle()); }

private:
    CBrush m_brush;
    void* m_pReserved = nullptr;
};
